#include "report/base/RLTypes.h"

#include "report/base/RLUtils.h"

#include <cmath>

TRLPageSetup::TRLPageSetup(TRLPageSetupOwner *owner) : m_owner(owner) {}

void TRLPageSetup::SetPaperSize(TRLPaperSize size)
{
    if (size >= RLPaperSizeCount || size == m_paperSize)
        return;
    m_paperSize = size;
    if (size != fpCustom)
        copyTableSize();
    changed();
}

bool TRLPageSetup::acceptsSize(double current, double mm) const
{
    if (!(mm > 0) || !std::isfinite(mm) || mm == current)
        return false;
    // Stored values arrive in any order, so the size may still be a table one at that moment.
    return m_loading || m_paperSize == fpCustom;
}

void TRLPageSetup::SetPaperHeight(double mm)
{
    if (!acceptsSize(m_paperHeight, mm))
        return;
    m_paperHeight = mm;
    changed();
}

void TRLPageSetup::SetPaperWidth(double mm)
{
    if (!acceptsSize(m_paperWidth, mm))
        return;
    m_paperWidth = mm;
    changed();
}

void TRLPageSetup::SetOrientation(TRLPageOrientation orientation)
{
    if (orientation == m_orientation || (orientation != poPortrait && orientation != poLandscape))
        return;
    m_orientation = orientation;
    changed();
}

void TRLPageSetup::Assign(const TRLPageSetup &source)
{
    // Through the setters, so a custom size only lands on a custom setup.
    SetPaperSize(source.PaperSize());
    SetOrientation(source.Orientation());
    SetPaperWidth(source.PaperWidth());
    SetPaperHeight(source.PaperHeight());
    m_forceEmulation = source.ForceEmulation();
}

double TRLPageSetup::pageWidthMm() const
{
    return m_orientation == poLandscape ? m_paperHeight : m_paperWidth;
}

double TRLPageSetup::pageHeightMm() const
{
    return m_orientation == poLandscape ? m_paperWidth : m_paperHeight;
}

void TRLPageSetup::endLoading()
{
    m_loading = false;
    if (m_paperSize != fpCustom)
        copyTableSize();
    changed();
}

void TRLPageSetup::copyTableSize()
{
    const TRLPaperInfo &info = RLPaperInfo(m_paperSize);
    m_paperWidth = info.Width;
    m_paperHeight = info.Height;
}

void TRLPageSetup::changed()
{
    if (m_owner && !m_loading)
        m_owner->PageSetupChanged();
}

TRLMargins::TRLMargins(TRLMarginsOwner *owner) : m_owner(owner) {}

void TRLMargins::setMargin(double &field, double mm)
{
    // A NaN would differ from itself and wake the owner on every assignment.
    if (mm == field || !std::isfinite(mm))
        return;
    field = mm;
    if (m_owner && !m_loading)
        m_owner->MarginsChanged();
}

void TRLMargins::SetLeftMargin(double mm) { setMargin(m_left, mm); }
void TRLMargins::SetTopMargin(double mm) { setMargin(m_top, mm); }
void TRLMargins::SetRightMargin(double mm) { setMargin(m_right, mm); }
void TRLMargins::SetBottomMargin(double mm) { setMargin(m_bottom, mm); }

bool TRLMargins::isDefault() const
{
    return m_left == m_defaultLeft && m_top == m_defaultTop && m_right == m_defaultRight
        && m_bottom == m_defaultBottom;
}

void TRLMargins::setValuesAndDefaults(double left, double top, double right, double bottom)
{
    m_left = m_defaultLeft = left;
    m_top = m_defaultTop = top;
    m_right = m_defaultRight = right;
    m_bottom = m_defaultBottom = bottom;
}

void TRLMargins::Assign(const TRLMargins &source)
{
    SetLeftMargin(source.LeftMargin());
    SetTopMargin(source.TopMargin());
    SetRightMargin(source.RightMargin());
    SetBottomMargin(source.BottomMargin());
}

QMargins TRLMargins::toPixels() const
{
    return QMargins(MMToPixels(m_left), MMToPixels(m_top), MMToPixels(m_right), MMToPixels(m_bottom));
}

void TRLMargins::endLoading()
{
    m_loading = false;
    if (m_owner)
        m_owner->MarginsChanged();
}
