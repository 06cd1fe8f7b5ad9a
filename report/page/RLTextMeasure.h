#pragma once
// Texts measured one way: preparation in report pixels, replay on its device and the checks of
// what a printed box holds all ask here. A font is measured as a recorded page keeps it (family,
// whole points, style, pitch), so what preparation measured is what every device draws, and
// every width is the shaped width rounded the engine's way.

#include "report/page/RLMetaFileObjects.h"
#include "report/page/RLTextAdvances.h"

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringView>

#include <memory>
#include <optional>

class QPaintDevice;

class TRLTextMeasure
{
public:
    // The font replay draws a recorded font in.
    static QFont CanvasFont(const QString &family, int points, quint8 style, TRLMetaFontPitch pitch);
    // What a page records of a widget font: its whole points, style bits and pitch.
    static int RecordedPoints(const QFont &font);
    static quint8 RecordedStyle(const QFont &font);
    static TRLMetaFontPitch RecordedPitch(const QFont &font);
    // The widget font as a page records it and replay draws it.
    static QFont RecordedFont(const QFont &font);

    // The measures of a font drawn on a device, shared by every caller of this thread. Kept for
    // a few fonts: a report uses a handful, and a hostile page cannot make them grow.
    static std::shared_ptr<TRLTextMeasure> For(const QFont &font, const QPaintDevice *device);
    // A widget font as recorded, on a device of this resolution: the report's, or a printer's.
    // In report pixels the font keeps its exact size (10 points are 13.33 pixels, where a 96-dpi
    // device would round them to 13): widths are taken where every point is 100 pixels and scaled
    // down, heights are the report's.
    static std::shared_ptr<TRLTextMeasure> Recorded(const QFont &font, int dpi = 96);

    // Widths measured on the device and multiplied by scale; heights from heightDevice.
    TRLTextMeasure(const QFont &font, const QPaintDevice *device, qreal scale = 1,
                   const QPaintDevice *heightDevice = nullptr);
    ~TRLTextMeasure();

    qreal ExactWidth(QStringView text);
    // With one blank after it, which places right-aligned and centred texts.
    qreal ExactSpacedWidth(QStringView text);
    int Width(QStringView text);
    int SpacedWidth(QStringView text);
    int Blank() const { return m_blank; }
    qreal ExactBlank() const { return m_exactBlank; }
    int Height() const { return m_height; }
    int Ascent() const { return m_ascent; }
    const QFont &Font() const { return m_font; }
    const QFontMetrics &Metrics() const { return m_metrics; }

    // The ink, for measures taken on their own device (scale 1). A box holding the text's ink from the start of its baseline, worked out from its
    // characters' own ink; none for characters it cannot vouch for.
    std::optional<QRect> InkBound(QStringView text, int advance);
    // The ink of the text laid out whole, with underline and strike-out.
    QRect Ink(const QString &text);

private:
    struct CharInk
    {
        QRect ink;
        int advance = 0;
        bool known = false;
    };

    qreal shaped(const QString &text);

    const QFont m_font;
    const QFontMetrics m_metrics;
    const QFontMetricsF m_exact;
    const qreal m_scale;
    TRLTextAdvances m_advances;
    const bool m_additive; // texts are their characters: no letter or word spacing, no capitals
    const qreal m_exactBlank;
    const int m_blank;
    const int m_height;
    const int m_ascent;
    std::vector<CharInk> m_chars; // by character, filled as met
    struct Kept;
    std::unique_ptr<Kept> m_kept;
};

// Size of a line of text in report pixels, in the font as a page records it; with an angle, the
// size of the box around it turned.
QSize textExtent(const QString &text, const QFont &font, double angle = 0);
