#include "report/page/RLTextMeasure.h"

#include "report/base/RLRecentlyUsed.h"
#include "report/base/RLUtils.h"

#include <QImage>
#include <QPaintDevice>

#include <algorithm>
#include <climits>

namespace {

// Characters whose own ink bounds a text's ink: the Latin letters, figures and signs.
constexpr char16_t lastBoundedChar = 0x24F;
// Texts shaped whole are kept for the next time up to this length; longer ones are rare and
// would make a hostile page's texts weigh.
constexpr qsizetype longestKeptText = 256;
// Where a point is 100 pixels: fonts of whole points get whole pixel sizes, which the toolkit
// does not round.
constexpr int exactDpi = 7200;

struct MeasureKey
{
    QFont font;
    int type;
    int dpiX;
    int dpiY;
    bool operator==(const MeasureKey &) const = default;
};

QImage deviceAt(int dpi)
{
    if (dpi == 96)
        return reportMeasureBitmap();
    QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
    device.setDotsPerMeterX(RLRound(dpi / 0.0254L));
    device.setDotsPerMeterY(RLRound(dpi / 0.0254L));
    return device;
}

} // namespace

// Whole-shaped widths and inks of the texts met last, which come back on every page and slip.
struct TRLTextMeasure::Kept
{
    TRLRecentlyUsed<QString, qreal> widths{128};
    TRLRecentlyUsed<QString, QRect> inks{64};
};

QFont TRLTextMeasure::CanvasFont(const QString &family, int points, quint8 style, TRLMetaFontPitch pitch)
{
    QFont font;
    if (!family.isEmpty())
        font.setFamily(family);
    font.setPointSize(std::max(1, points));
    font.setBold(style & mfsBold);
    font.setItalic(style & mfsItalic);
    font.setUnderline(style & mfsUnderline);
    font.setStrikeOut(style & mfsStrikeOut);
    if (pitch == mfpFixed)
        font.setFixedPitch(true);
    else if (pitch == mfpVariable)
        font.setFixedPitch(false);
    return font;
}

int TRLTextMeasure::RecordedPoints(const QFont &font)
{
    // Sizes are taken in report pixels: 96 per inch.
    if (font.pixelSize() > 0)
        return RLRound(font.pixelSize() * 72.0L / 96);
    return RLRound(font.pointSizeF());
}

quint8 TRLTextMeasure::RecordedStyle(const QFont &font)
{
    return quint8((font.bold() ? mfsBold : 0) | (font.italic() ? mfsItalic : 0) | (font.underline() ? mfsUnderline : 0)
                  | (font.strikeOut() ? mfsStrikeOut : 0));
}

TRLMetaFontPitch TRLTextMeasure::RecordedPitch(const QFont &font)
{
    return font.fixedPitch() ? mfpFixed : mfpDefault;
}

QFont TRLTextMeasure::RecordedFont(const QFont &font)
{
    return CanvasFont(font.family(), RecordedPoints(font), RecordedStyle(font), RecordedPitch(font));
}

std::shared_ptr<TRLTextMeasure> TRLTextMeasure::For(const QFont &font, const QPaintDevice *device)
{
    constexpr size_t maxFonts = 32;
    thread_local TRLRecentlyUsed<MeasureKey, std::shared_ptr<TRLTextMeasure>> measures(maxFonts);
    // The same font shapes to other widths at another resolution or on another kind of device.
    const MeasureKey key{font, device ? device->devType() : 0, device ? device->logicalDpiX() : 0,
                         device ? device->logicalDpiY() : 0};
    return measures.Get(key, [&] { return std::make_shared<TRLTextMeasure>(font, device); });
}

std::shared_ptr<TRLTextMeasure> TRLTextMeasure::Recorded(const QFont &font, int dpi)
{
    // One stand-in device per resolution and thread; measures only read its resolution.
    thread_local TRLRecentlyUsed<int, std::shared_ptr<QImage>> devices(4);
    const auto device = [&](int resolution) {
        return devices.Get(resolution, [&] { return std::make_shared<QImage>(deviceAt(resolution)); });
    };
    const QFont recorded = RecordedFont(font);
    if (dpi != 96)
        return For(recorded, device(dpi).get());
    constexpr size_t maxFonts = 32;
    thread_local TRLRecentlyUsed<QFont, std::shared_ptr<TRLTextMeasure>> measures(maxFonts);
    return measures.Get(recorded, [&] {
        const std::shared_ptr<QImage> fine = device(exactDpi);
        const std::shared_ptr<QImage> report = device(96);
        return std::make_shared<TRLTextMeasure>(recorded, fine.get(), 96.0 / exactDpi, report.get());
    });
}

TRLTextMeasure::TRLTextMeasure(const QFont &font, const QPaintDevice *device, qreal scale,
                               const QPaintDevice *heightDevice)
    : m_font(device ? QFont(font, device) : font), m_metrics(m_font, device), m_exact(m_font, device), m_scale(scale),
      m_additive(font.letterSpacing() == 0 && font.wordSpacing() == 0 && font.capitalization() == QFont::MixedCase),
      m_exactBlank(m_exact.horizontalAdvance(QLatin1Char(' ')) * scale), m_blank(RLRound(m_exactBlank)),
      m_height(heightDevice ? QFontMetrics(font, heightDevice).height() : m_metrics.height()),
      m_ascent(heightDevice ? QFontMetrics(font, heightDevice).ascent() : m_metrics.ascent()),
      m_kept(std::make_unique<Kept>())
{
}

TRLTextMeasure::~TRLTextMeasure() = default;

qreal TRLTextMeasure::shaped(const QString &text)
{
    if (text.size() > longestKeptText)
        return m_exact.horizontalAdvance(text) * m_scale;
    return m_kept->widths.Get(text, [&] { return m_exact.horizontalAdvance(text) * m_scale; });
}

qreal TRLTextMeasure::ExactWidth(QStringView text)
{
    if (m_additive)
        if (const std::optional<qreal> added = m_advances.Width(text, m_exact))
            return *added * m_scale;
    return shaped(text.toString());
}

qreal TRLTextMeasure::ExactSpacedWidth(QStringView text)
{
    if (m_additive)
        if (const std::optional<qreal> added = m_advances.Width(text, m_exact, true))
            return *added * m_scale;
    return shaped(text.toString() + QLatin1Char(' '));
}

int TRLTextMeasure::Width(QStringView text)
{
    return RLRound(ExactWidth(text));
}

int TRLTextMeasure::SpacedWidth(QStringView text)
{
    return RLRound(ExactSpacedWidth(text));
}

// Each glyph starts at or after the text's start and ends its advance at or before the text's
// end. Kerning and rounding move glyphs by a little, hence the margin.
std::optional<QRect> TRLTextMeasure::InkBound(QStringView text, int advance)
{
    if (text.isEmpty() || m_font.underline() || m_font.strikeOut())
        return std::nullopt;
    if (m_chars.empty())
        m_chars.resize(size_t(lastBoundedChar) + 1);
    int left = INT_MAX, top = INT_MAX, bottom = INT_MIN, overhang = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u < 0xA0) || u > lastBoundedChar)
            return std::nullopt;
        CharInk &glyph = m_chars[u];
        if (!glyph.known)
            glyph = {m_metrics.boundingRect(c), m_metrics.horizontalAdvance(c), true};
        if (glyph.ink.isEmpty())
            continue;
        left = std::min(left, glyph.ink.left());
        top = std::min(top, glyph.ink.top());
        bottom = std::max(bottom, glyph.ink.bottom());
        overhang = std::max(overhang, glyph.ink.right() + 1 - glyph.advance);
    }
    if (top == INT_MAX)
        return QRect(); // blanks only: no ink
    const int across = 2 + m_height / 32;
    return QRect(QPoint(left - across, top - 1), QPoint(advance + overhang + across, bottom + 1));
}

QRect TRLTextMeasure::Ink(const QString &text)
{
    const auto whole = [&] {
        QRect ink = m_metrics.boundingRect(text);
        if (m_font.underline() || m_font.strikeOut())
            ink |= QRect(0, -m_metrics.ascent(), Width(text),
                         m_metrics.ascent() + std::max(m_metrics.descent(), m_metrics.underlinePos() + m_metrics.lineWidth()) + 1);
        return ink;
    };
    if (text.size() > longestKeptText)
        return whole();
    return m_kept->inks.Get(text, whole);
}

QSize textExtent(const QString &text, const QFont &font, double angle)
{
    const std::shared_ptr<TRLTextMeasure> measure = TRLTextMeasure::Recorded(font);
    const int width = measure->Width(text);
    const int height = measure->Height();
    if (angle == 0)
        return QSize(width, height);
    QVector<QPoint> corners{{0, 0}, {width, 0}, {width, height}, {0, height}};
    rotatePoints(corners, angle);
    const TRLRect box = pointsExtent(corners);
    return QSize(box.Width(), box.Height());
}
