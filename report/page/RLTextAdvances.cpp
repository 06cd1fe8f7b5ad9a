#include "report/page/RLTextAdvances.h"

#include "report/base/RLRecentlyUsed.h"

#include <QPaintDevice>

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

std::optional<qreal> TRLTextAdvances::Width(QStringView text, const QFontMetricsF &metrics)
{
    qreal sum = 0;
    char16_t previous = 0;
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
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

std::shared_ptr<TRLTextAdvances> TRLTextAdvances::For(const QFont &font, const QPaintDevice *device)
{
    constexpr size_t maxTables = 32;
    if (font.letterSpacing() != 0 || font.wordSpacing() != 0 || font.capitalization() != QFont::MixedCase)
        return nullptr;
    // The same font shapes to other widths at another resolution.
    const QString key = font.toString() + QLatin1Char('|') + QString::number(font.kerning()) + QLatin1Char('|')
                        + QString::number(int(font.hintingPreference())) + QLatin1Char('|')
                        + QString::number(device ? device->devType() : 0) + QLatin1Char('|')
                        + QString::number(device ? device->logicalDpiX() : 0) + QLatin1Char('|')
                        + QString::number(device ? device->logicalDpiY() : 0);
    thread_local TRLRecentlyUsed<QString, std::shared_ptr<TRLTextAdvances>> tables(maxTables);
    return tables.Get(key, [&] { return std::make_shared<TRLTextAdvances>(key); });
}
