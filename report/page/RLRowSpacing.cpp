#include "report/page/RLRowSpacing.h"

#include "report/page/RLTextMeasure.h"

#include <algorithm>
#include <cmath>

TRLRowSpacing RLSpaceRow(const QString &row, TRLTextMeasure &measure, qreal x, qreal right, bool justify)
{
    const auto blank = [](QChar c) { return c == QLatin1Char(' '); };
    qsizetype first = 0;
    while (first < row.size() && blank(row.at(first)))
        ++first;
    qsizetype end = row.size();
    while (end > first && blank(row.at(end - 1)))
        --end;

    TRLRowSpacing out;
    out.Text = row.mid(first, end - first);
    out.Start = x + (first > 0 ? measure.ExactWidth(QStringView(row).left(first)) : 0);
    const qreal natural = measure.ExactWidth(out.Text);
    out.End = out.Start + natural;
    const qsizetype gaps = std::count_if(out.Text.begin(), out.Text.end(), blank);
    if (out.Text.isEmpty() || !std::isfinite(right) || !std::isfinite(out.End))
        return out;
    if (out.End <= right && (!justify || gaps == 0))
        return out;
    const qreal room = right - out.Start;
    const qreal space = measure.ExactBlank();
    // Narrowest a blank of the row may become; the tightest gap (a kerned pair such as " A" is
    // narrower than a blank) sets the limit for all.
    qreal tightest = space;
    if (gaps > 0 && natural > room) {
        qsizetype word = 0;
        while (word < out.Text.size()) {
            qsizetype runStart = word;
            while (runStart < out.Text.size() && !blank(out.Text.at(runStart)))
                ++runStart;
            qsizetype runEnd = runStart;
            while (runEnd < out.Text.size() && blank(out.Text.at(runEnd)))
                ++runEnd;
            if (runStart == out.Text.size())
                break;
            qsizetype next = runEnd;
            while (next < out.Text.size() && !blank(out.Text.at(next)))
                ++next;
            const QStringView text(out.Text);
            const qreal run = measure.ExactWidth(text.mid(word, next - word)) - measure.ExactWidth(text.mid(word, runStart - word))
                - measure.ExactWidth(text.mid(runEnd, next - runEnd));
            tightest = std::min(tightest, run / qreal(runEnd - runStart));
            word = runEnd;
        }
    }
    const qreal narrowest = space * RLNarrowestGap;
    // Spread, or narrowed between words down to the narrowest gap.
    if (gaps > 0 && (room - natural) / qreal(gaps) >= narrowest - tightest) {
        out.WordSpacing = (room - natural) / qreal(gaps);
        out.End = right;
        return out;
    }
    // Glyphs condensed, the tightest gap at the narrowest once scaled:
    // f * (natural + gaps * (narrowest / f - tightest)) = room.
    const qreal glyphs = natural - gaps * tightest;
    const qreal condense = glyphs > 0 ? (room - gaps * narrowest) / glyphs : 0;
    if (!(condense >= RLMostCondensed && condense < 1))
        return out;
    out.Condense = condense;
    out.WordSpacing = gaps > 0 ? narrowest / condense - tightest : 0;
    out.End = right;
    return out;
}
