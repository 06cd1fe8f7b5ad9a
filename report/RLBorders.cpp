#include "report/RLBorders.h"

#include "report/RLControl.h"
#include "report/page/RLMetaFile.h"

TRLBorders::TRLBorders(TRLCustomControl *owner) : m_owner(owner) {}

void TRLBorders::setDraw(Side side, bool on)
{
    m_draw[side] = on;
    if (!on)
        m_fixed[side] = false;
    const int drawn = int(m_draw[0]) + int(m_draw[1]) + int(m_draw[2]) + int(m_draw[3]);
    if (!((drawn == 4 && m_sides == sdAll) || (drawn == 0 && m_sides == sdNone)))
        m_sides = sdCustom;
    changed();
}

void TRLBorders::setFixed(Side side, bool on)
{
    m_fixed[side] = on;
    changed();
}

void TRLBorders::SetWidth(int width)
{
    m_width = width;
    changed();
}

void TRLBorders::SetColor(const QColor &color)
{
    m_color = color;
    changed();
}

void TRLBorders::SetStyle(Qt::BrushStyle style)
{
    m_style = style;
    changed();
}

void TRLBorders::SetSides(TRLBorderSides sides)
{
    m_sides = sides;
    if (sides == sdNone) {
        for (int i = 0; i < 4; ++i)
            m_draw[i] = m_fixed[i] = false;
    } else if (sides == sdAll) {
        for (bool &d : m_draw)
            d = true;
    }
    changed();
}

void TRLBorders::Assign(const TRLBorders &other)
{
    for (int i = 0; i < 4; ++i) {
        m_draw[i] = other.m_draw[i];
        m_fixed[i] = other.m_fixed[i];
    }
    m_width = other.m_width;
    m_color = other.m_color;
    m_style = other.m_style;
    m_sides = other.m_sides;
    changed();
}

bool TRLBorders::IsDrawn(Side side) const
{
    // A side of no width draws nothing, so it reserves no room either.
    if (!m_draw[side] || m_width <= 0)
        return false;
    if (m_fixed[side])
        return true;
    const TRLPrintContext *context = m_owner ? m_owner->PrintContext() : nullptr;
    return !context || context->PrintQuality() == pqFullFeature;
}

bool TRLBorders::IsAnyDrawn() const
{
    return IsDrawn(Left) || IsDrawn(Top) || IsDrawn(Right) || IsDrawn(Bottom);
}

TRLRect TRLBorders::Shrink(const TRLRect &rect, int extra) const
{
    const int w = m_width + extra;
    TRLRect r = rect;
    if (IsDrawn(Left))
        r.Left += w;
    if (IsDrawn(Top))
        r.Top += w;
    if (IsDrawn(Right))
        r.Right -= w;
    if (IsDrawn(Bottom))
        r.Bottom -= w;
    return r;
}

int TRLBorders::DrawnExtent(Side a, Side b, int extra) const
{
    return (IsDrawn(a) ? m_width + extra : 0) + (IsDrawn(b) ? m_width + extra : 0);
}

void TRLBorders::Paint(TRLGraphicSurface *surface, const TRLRect &r) const
{
    if (!IsAnyDrawn())
        return;
    const int w = m_width;
    // The sides are solid whatever Style says; Style is only kept.
    surface->SetPen(QPen(m_color, 1, Qt::SolidLine));
    surface->SetBrush(QBrush(m_color, Qt::SolidPattern));
    if (IsDrawn(Left))
        surface->Rectangle(r.Left, r.Top, r.Left + w, r.Bottom);
    if (IsDrawn(Top))
        surface->Rectangle(r.Left, r.Top, r.Right, r.Top + w);
    if (IsDrawn(Right))
        surface->Rectangle(r.Right - w, r.Top, r.Right, r.Bottom);
    if (IsDrawn(Bottom))
        surface->Rectangle(r.Left, r.Bottom - w, r.Right, r.Bottom);
}

void TRLBorders::changed()
{
    if (m_owner)
        m_owner->BordersChanged();
}
