#include "report/RLMemo.h"

#include "report/base/RLRecentlyUsed.h"
#include "report/base/RLUtils.h"
#include "report/page/RLMetaFile.h"
#include "report/page/RLTextMeasure.h"

#include <QRegularExpression>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

const QRegularExpression &lineBreak()
{
    static const QRegularExpression re(QStringLiteral("\r\n|\n|\r"));
    return re;
}

// Rows of one paragraph (no line breaks in it).
void breakParagraph(QString line, int width, const std::function<int(const QString &)> &textWidth,
                    QStringList &rows)
{
    auto fits = [&](int length) { return textWidth(line.left(length) + u' ') <= width; };
    while (!fits(int(line.size()))) {
        // The first character that does not fit.
        int low = 0, high = int(line.size());
        while (low < high) {
            const int mid = (low + high + 1) / 2;
            if (fits(mid))
                low = mid;
            else
                high = mid - 1;
        }
        const int size = int(line.size());
        int position = low;
        // Blanks that do not fit end the row where they start: look from the word after them.
        while (position < size && isBlank(line.at(position)))
            ++position;
        if (position == size) {
            line.truncate(low);
            break;
        }
        // A first word wider than the row stays whole on a row of its own; left to itself, the
        // search would break at the line's last blank and pile every other word onto that row.
        int wordEnd = 0;
        while (wordEnd < size && isBlank(line.at(wordEnd)))
            ++wordEnd;
        while (wordEnd < size && !isBlank(line.at(wordEnd)))
            ++wordEnd;
        if (position < wordEnd) {
            position = wordEnd;
            while (position < size && isBlank(line.at(position)))
                ++position;
            if (position == size)
                break;
        }
        if (!findWordBreak(line, position))
            break;
        rows << line.left(position);
        while (position < int(line.size()) && isBlank(line.at(position)))
            ++position;
        line = line.mid(position);
    }
    rows << line;
}

// Height of a text's rows at 96 dpi. A memo measures its text at every change of font, colour,
// alignment or text and again when its band prints, and breaking a long text costs a shaping for
// every step of each row's search: the last few texts measured are kept, as they come out the
// same for the same text, width and font.
int rowsHeight(const QString &text, const QFont &font, int width, bool wordWrap)
{
    struct Measure
    {
        QString text;
        QFont font;
        int width;
        bool wordWrap;
        bool operator==(const Measure &) const = default;
    };
    thread_local TRLRecentlyUsed<Measure, int> kept(16);
    return kept.Get({text, font, width, wordWrap}, [&] {
        const std::shared_ptr<TRLTextMeasure> measure = TRLTextMeasure::Recorded(font);
        const QStringList rows =
            RLBreakRows(text, width, wordWrap, [&](const QString &t) { return measure->Width(t); });
        return int(rows.size()) * measure->Height();
    });
}

} // namespace

QStringList RLBreakRows(const QString &text, int width, bool wordWrap,
                        const std::function<int(const QString &)> &textWidth)
{
    const QStringList paragraphs = text.split(lineBreak());
    if (!wordWrap)
        return paragraphs;
    QStringList rows;
    for (const QString &para : paragraphs)
        breakParagraph(para, width, textWidth, rows);
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
    const QString text = Caption();
    return text.isEmpty() ? QStringList() : text.split(lineBreak());
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

QSize TRLCustomMultiLine::CalcSize() const
{
    if (!AutoSize())
        return TRLCustomControl::CalcSize();
    const int height = rowsHeight(m_caption.Measured(this), Font(), PrintRect().Width(), m_wordWrap);
    return QSize(Width(), height + Borders()->DrawnExtent(TRLBorders::Top, TRLBorders::Bottom, 1));
}

void TRLCustomMultiLine::Print()
{
    TRLGraphicSurface *surface = BeginPrint();
    const TRLRect r = PrintRect();
    SetSurfaceFont(surface);
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
        const int x = RLTextOriginX(alignment, r, s, surface->TextWidth(spaced));
        surface->TextRect(rowRect, x, y, row, RLTextAlignmentCode(alignment), mtlTop,
                          MetaTextFlagUnclipped | MetaTextFlagKeepWhole);
        y = rowRect.Bottom;
        if (y >= r.Bottom)
            break;
    }
}
