#include "report/page/RLRowSpacing.h"

#include <algorithm>
#include <cmath>

TRLRowSpacing RLSpaceRow(const QString &row, const QFontMetricsF &metrics, qreal x, qreal right, bool justify)
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
    out.Start = x + (first > 0 ? metrics.horizontalAdvance(row.left(first)) : 0);
    const qreal natural = metrics.horizontalAdvance(out.Text);
    out.End = out.Start + natural;
    const qsizetype gaps = std::count_if(out.Text.begin(), out.Text.end(), blank);
    if (gaps == 0 || !std::isfinite(right) || !std::isfinite(out.End))
        return out;
    if (!justify && out.End <= right)
        return out;
    // A blank narrowed to nothing is as far as spacing goes; a row that still does not fit crosses.
    const qreal spacing = std::max((right - out.End) / qreal(gaps), -metrics.horizontalAdvance(QLatin1Char(' ')));
    out.WordSpacing = spacing;
    out.End += spacing * qreal(gaps);
    return out;
}
