#include "report/page/RLTextAdvances.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Controls, the no-break space and the soft hyphen have rules of their own in layout.
bool simple(char16_t c)
{
    return c >= 0x20 && c <= 0xFF && !(c >= 0x7F && c <= 0xA0) && c != 0xAD;
}

} // namespace

std::optional<qreal> TRLTextAdvances::Width(QStringView text, const QFontMetricsF &metrics, bool trailingBlank)
{
    qreal sum = 0;
    char16_t previous = 0;
    const qsizetype length = text.size() + (trailingBlank ? 1 : 0);
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t c = i < text.size() ? text[i].unicode() : u' ';
        if (!simple(c))
            return std::nullopt;
        sum += advance(c, metrics);
        if (previous && !additive(previous, c, metrics))
            return std::nullopt;
        previous = c;
    }
    return sum;
}

qreal TRLTextAdvances::advance(char16_t c, const QFontMetricsF &metrics)
{
    if (m_advances.empty())
        m_advances.assign(count, std::numeric_limits<qreal>::quiet_NaN());
    qreal &a = m_advances[c - first];
    if (std::isnan(a))
        a = metrics.horizontalAdvance(QString(QChar(c)));
    return a;
}

bool TRLTextAdvances::additive(char16_t a, char16_t b, const QFontMetricsF &metrics)
{
    if (m_pairs.empty())
        m_pairs.assign(size_t(count) * count, 0);
    quint8 &known = m_pairs[size_t(a - first) * count + (b - first)];
    if (!known) {
        const QChar pair[] = {QChar(a), QChar(b)};
        known = metrics.horizontalAdvance(QString(pair, 2)) == advance(a, metrics) + advance(b, metrics) ? 1 : 2;
    }
    return known == 1;
}
