#include "report/RLLabel.h"

#include "report/base/RLUtils.h"
#include "report/page/RLMetaFile.h"
#include "report/page/RLTextMeasure.h"

void TRLTextCaption::Write(const QString &text, bool preparing)
{
    m_print = text;
    if (!preparing)
        m_design = text;
}

QString TRLTextCaption::Measured(const TRLCustomControl *control) const
{
    if (control->IsPreparing())
        return m_print;
    return m_design.isEmpty() ? control->Name() : m_design;
}

bool TRLTextCaption::Evaluate(TRLCustomControl *control, const TRLBeforeTextEvent &beforePrint)
{
    TRLPrintContext *context = control->PrintContext();
    QString text = context && context->PrintsBlankTexts() ? QString() : m_design;
    bool printIt = true;
    if (beforePrint)
        beforePrint(control, text, printIt);
    if (context)
        context->FilterText(control, text, printIt);
    m_print = text;
    return printIt;
}

int RLTextOriginX(TRLTextAlignment alignment, const TRLRect &r, int blankWidth, int textWidth)
{
    switch (alignment) {
    case taRightJustify: return blankWidth / 2 + r.Right - textWidth;
    case taCenter: return blankWidth / 2 + (r.Left + r.Right - textWidth) / 2;
    default: return blankWidth / 2 + r.Left;
    }
}

quint8 RLTextAlignmentCode(TRLTextAlignment alignment)
{
    switch (alignment) {
    case taRightJustify: return mtaRight;
    case taCenter: return mtaCenter;
    case taJustify: return mtaJustify;
    default: return mtaLeft;
    }
}

quint8 RLTextLayoutCode(TRLTextLayout layout)
{
    switch (layout) {
    case tlBottom: return mtlBottom;
    case tlCenter: return mtlCenter;
    default: return mtlTop;
    }
}

TRLCustomLabel::TRLCustomLabel(QObject *owner) : TRLCustomControl(owner)
{
    initAutoSize(true);
    initBounds(65, 17);
}

void TRLCustomLabel::SetCaption(const QString &caption)
{
    m_caption.Write(caption, IsPreparing());
    AdjustBounds();
}

QSize TRLCustomLabel::CalcSize() const
{
    if (!AutoSize())
        return TRLCustomControl::CalcSize();
    const std::shared_ptr<TRLTextMeasure> measure = TRLTextMeasure::Recorded(Font());
    return QSize(measure->SpacedWidth(m_caption.Measured(this)) + Borders()->DrawnExtent(TRLBorders::Left, TRLBorders::Right, 1),
                 measure->Height() + Borders()->DrawnExtent(TRLBorders::Top, TRLBorders::Bottom, 1));
}

void TRLCustomLabel::Print()
{
    TRLGraphicSurface *surface = BeginPrint();
    const QString caption = m_caption.PrintText();
    if (caption.isEmpty())
        return;
    const TRLRect r = PrintRect();
    SetSurfaceFont(surface);
    const QString spaced = caption + QLatin1Char(' ');
    const int s = surface->TextWidth(QStringLiteral(" "));
    // Only right and centred texts start where their width puts them.
    const bool measured = Alignment() == taRightJustify || Alignment() == taCenter;
    const int wt = measured ? surface->TextWidth(spaced) : 0;
    const int ht = surface->TextHeight(spaced);
    const int x = RLTextOriginX(Alignment(), r, s, wt);
    int y = r.Top;
    if (Layout() == tlCenter)
        y = (r.Top + r.Bottom - ht) / 2;
    else if (Layout() == tlBottom)
        y = r.Bottom - ht;
    surface->SetBrush(QBrush(Color(), Qt::NoBrush));
    // Unclipped when the label sizes itself; always kept whole across a page split.
    const quint16 options = AutoSize() ? (MetaTextFlagUnclipped | MetaTextFlagKeepWhole) : MetaTextFlagKeepWhole;
    surface->TextRect(r, x, y, caption, RLTextAlignmentCode(Alignment()), RLTextLayoutCode(Layout()), options);
}
