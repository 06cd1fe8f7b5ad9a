#include "report/RLMemo.h"

#include "report/RLReport.h"
#include "report/output/RLMetaFile.h"

#include <QRegularExpression>

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Rows of one paragraph (no line breaks in it).
void breakParagraph(const QString &para, int width, const std::function<int(const QString &)> &textWidth,
                    QStringList &rows)
{
    auto fits = [&](const QString &row) { return textWidth(row + QLatin1Char(' ')) <= width; };
    QString row;
    int i = 0;
    const int n = int(para.size());
    while (i < n) {
        // The next word with the blanks before it.
        int wordStart = i;
        while (wordStart < n && isBlank(para[wordStart]))
            ++wordStart;
        int wordEnd = wordStart;
        while (wordEnd < n && !isBlank(para[wordEnd]))
            ++wordEnd;
        const QString blanks = para.mid(i, wordStart - i);
        QString word = para.mid(wordStart, wordEnd - wordStart);
        i = wordEnd;
        if (word.isEmpty()) { // trailing blanks
            if (fits(row + blanks))
                row += blanks;
            break;
        }
        if (fits(row + blanks + word)) {
            row += blanks + word;
            continue;
        }
        // The row breaks at the blanks before this word, which vanish there.
        if (!row.isEmpty()) {
            rows << row;
            row.clear();
        } else if (fits(blanks + word)) {
            row = blanks + word;
            continue;
        }
        // A word wider than the row is cut where it must be, at least one character per row.
        while (!fits(word)) {
            int take = 1;
            while (take < int(word.size()) && fits(word.left(take + 1)))
                ++take;
            if (take >= int(word.size()))
                break;
            rows << word.left(take);
            word = word.mid(take);
        }
        row = word;
    }
    rows << row;
}

} // namespace

QStringList RLBreakRows(const QString &text, int width, bool wordWrap,
                        const std::function<int(const QString &)> &textWidth)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    const QStringList paragraphs = text.split(lineBreak);
    if (!wordWrap)
        return paragraphs;
    QStringList rows;
    for (const QString &para : paragraphs) {
        if (para.isEmpty())
            rows << QString();
        else
            breakParagraph(para, width, textWidth, rows);
    }
    return rows;
}

TRLCustomMultiLine::TRLCustomMultiLine(QObject *owner) : TRLCustomControl(owner)
{
    initAutoSize(true);
    SetBehavior(beSiteExpander);
    initBounds(185, 89);
}

void TRLCustomMultiLine::SetCaption(const QString &text)
{
    m_caption.Write(text, IsPreparing());
    AdjustBounds();
}

QStringList TRLCustomMultiLine::Lines() const
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    const QString text = Caption();
    return text.isEmpty() ? QStringList() : text.split(lineBreak);
}

void TRLCustomMultiLine::SetLines(const QStringList &lines)
{
    SetCaption(lines.join(QLatin1Char('\n')));
}

void TRLCustomMultiLine::SetWordWrap(bool on)
{
    m_wordWrap = on;
    AdjustBounds();
}

QString TRLCustomMultiLine::measuredText() const
{
    if (IsPreparing())
        return m_caption.PrintText();
    return m_caption.Design().isEmpty() ? Name() : m_caption.Design();
}

QSize TRLCustomMultiLine::CalcSize() const
{
    if (!AutoSize())
        return TRLCustomControl::CalcSize();
    const int width = PrintRect().Width();
    const QFont font = Font();
    const QStringList rows = RLBreakRows(measuredText(), width, m_wordWrap,
                                         [&](const QString &t) { return RLTextSize(font, t).width(); });
    int height = 0;
    for (const QString &row : rows)
        height += RLTextSize(font, row + QLatin1Char(' ')).height();
    return QSize(Width(), height + Borders()->DrawnExtent(TRLBorders::Top, TRLBorders::Bottom, 1));
}

bool TRLCustomMultiLine::DoBeforePrint()
{
    QString text;
    const bool printIt = RLEvaluateText(this, m_caption.Design(), BeforePrint, text);
    m_caption.SetPrintText(text);
    return printIt;
}

void TRLCustomMultiLine::BeforeMeasureHeight()
{
    m_caption.SetPrintText(m_caption.Design());
}

void TRLCustomMultiLine::Print()
{
    TRLGraphicSurface *surface = RequireParentSurface();
    MarkSurface(surface);
    PrintCommonPart(surface, BoundsRect());
    const TRLRect r = PrintRect();
    surface->SetFont(Font());
    surface->SetFontColor(FontColor());
    surface->SetBrush(Transparent() ? QBrush(Color(), Qt::NoBrush) : QBrush(Color(), Qt::SolidPattern));
    const QStringList rows = RLBreakRows(m_caption.PrintText(), r.Width(), m_wordWrap,
                                         [&](const QString &t) { return surface->TextWidth(t); });
    const int s = surface->TextWidth(QStringLiteral(" "));
    int y = r.Top;
    for (int i = 0; i < int(rows.size()); ++i) {
        const QString &row = rows[i];
        const QString spaced = row + QLatin1Char(' ');
        const int h = surface->TextHeight(spaced);
        // A row that would end below the box is left out; one that fits exactly still prints.
        if (i > 0 && m_integralHeight && y + h > r.Bottom)
            break;
        const TRLRect rowRect(r.Left, y, r.Right, qMin(y + h, r.Bottom));
        TRLTextAlignment alignment = Alignment();
        if (alignment == taJustify && i == int(rows.size()) - 1)
            alignment = taLeftJustify;
        const int wt = surface->TextWidth(spaced);
        int x = r.Left + s / 2;
        if (alignment == taRightJustify)
            x = r.Right + s / 2 - wt;
        else if (alignment == taCenter)
            x = (r.Left + r.Right - wt) / 2 + s / 2;
        if (!row.isEmpty())
            surface->TextRect(rowRect, x, y, row, RLTextAlignmentCode(alignment), mtlTop,
                              MetaTextFlagUnclipped | MetaTextFlagKeepWhole);
        y = rowRect.Bottom;
        if (y >= r.Bottom)
            break;
    }
}
