#pragma once
// Widths of Latin-1 texts added up from their characters' shaped advances. Shaping a whole text
// costs as much as the rest of a label's print, and the amounts of a data report are new on
// every record. A pair of neighbours is trusted once the shaped pair was found to be the sum of
// its two characters (no kerning, no ligature); any other text is shaped whole, as before.

#include <QFontMetricsF>
#include <QStringView>

#include <optional>
#include <vector>

class TRLTextAdvances
{
public:
    // The width the toolkit would shape the text to (with one blank after it when asked), or
    // nothing when it has to be shaped whole. Shaped widths are whole 64ths of a pixel, so the
    // sum is exact. One table serves one font on one device.
    std::optional<qreal> Width(QStringView text, const QFontMetricsF &metrics, bool trailingBlank = false);

private:
    static constexpr char16_t first = 0x20, last = 0xFF;
    static constexpr int count = last - first + 1;

    qreal advance(char16_t c, const QFontMetricsF &metrics);
    bool additive(char16_t a, char16_t b, const QFontMetricsF &metrics);

    std::vector<qreal> m_advances; // NaN until measured
    std::vector<quint8> m_pairs;   // 0 not tried, 1 adds up, 2 does not
};
