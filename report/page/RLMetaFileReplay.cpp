// Replaying recorded objects onto a QPainter. Pages may come from a hostile file, so every loop
// here is bounded by what can be seen on the device, whatever the coordinates say.
#include "report/page/RLMetaFile.h"

#include "report/base/RLRecentlyUsed.h"
#include "report/page/RLMetaFileMath.h"
#include "report/page/RLPenCells.h"
#include "report/page/RLRowSpacing.h"
#include "report/page/RLTextMeasure.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>


namespace {

// Device coordinates stay far outside any real page but well inside int arithmetic.
constexpr int deviceLimit = 1 << 24;
// Glyphs larger than this are no text anyone prints; they only cost time and memory.
constexpr int maxFontPixels = 8192;

int toDevice(qint64 value)
{
    return int(std::clamp<qint64>(value, -deviceLimit, deviceLimit));
}

// The sixteen raster pen modes in meta order (meta value - 1).
const QPainter::CompositionMode penModes[] = {
    QPainter::RasterOp_ClearDestination,         QPainter::RasterOp_SetDestination,
    QPainter::CompositionMode_Destination,       QPainter::RasterOp_NotDestination,
    QPainter::CompositionMode_SourceOver,        QPainter::RasterOp_NotSource,
    QPainter::RasterOp_SourceOrNotDestination,   QPainter::RasterOp_SourceAndNotDestination,
    QPainter::RasterOp_NotSourceOrDestination,   QPainter::RasterOp_NotSourceAndDestination,
    QPainter::RasterOp_SourceOrDestination,      QPainter::RasterOp_NotSourceAndNotDestination,
    QPainter::RasterOp_SourceAndDestination,     QPainter::RasterOp_NotSourceOrNotDestination,
    QPainter::RasterOp_SourceXorDestination,     QPainter::RasterOp_NotSourceXorDestination,
};

void applyPenMode(QPainter *painter, TRLMetaPenMode mode)
{
    const size_t index = size_t(mode) - 1;
    QPainter::CompositionMode composition = QPainter::CompositionMode_SourceOver;
    // Printers and PDF know no raster operations; there the pen simply paints.
    if (index < std::size(penModes) && painter->paintEngine()
        && painter->paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
        composition = penModes[index];
    painter->setCompositionMode(composition);
}

QPen canvasPen(const TRLReplayCanvas &canvas, const TRLMetaPen &meta)
{
    QPen pen(meta.Color.ToQColor(), canvas.MapPenWidth(meta.Width), meta.QtStyle(), Qt::SquareCap, Qt::MiterJoin);
    return pen;
}

QPolygon mappedPoints(const TRLReplayCanvas &canvas, const TRLMetaPointArray &points)
{
    QPolygon mapped;
    mapped.reserve(points.size());
    for (const QPoint &p : points)
        mapped.append(canvas.MapPoint(p));
    return mapped;
}

// The part [t0, t1] of the segment a + t * (cos, sin), 0 <= t <= length, that lies in area;
// false when none does.
bool visiblePart(const QPointF &a, long double cosA, long double sinA, long double length, const QRectF &area,
                 long double &t0, long double &t1)
{
    t0 = 0;
    t1 = length;
    const long double p[4] = {-cosA, cosA, -sinA, sinA};
    const long double q[4] = {a.x() - area.left(), area.right() - a.x(), a.y() - area.top(), area.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const long double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    return t0 <= t1;
}

// Thick patterned sloping lines: devices draw dashes of thick pens in their own way, so the
// pattern is walked by hand to look the same everywhere.
void drawPatternedLine(QPainter *painter, const QRect &workArea, const QLineF &line, int width,
                       const TRLPenPattern &pattern, const QColor &colour)
{
    painter->setPen(QPen(colour, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    const QPointF a = line.p1();
    const long double dx = static_cast<long double>(line.dx());
    const long double dy = static_cast<long double>(line.dy());
    const long double exact = std::sqrt(dx * dx + dy * dy);
    const qint64 length = RLRound(exact);
    if (length <= 0)
        return;
    const long double cosA = dx / exact;
    const long double sinA = dy / exact;

    // Only the stretch that can show is walked, starting at a whole pattern so the dashes fall
    // where a walk from the very start would put them.
    long double t0, t1;
    const QRectF area = QRectF(workArea).adjusted(-width, -width, width, width);
    if (!visiblePart(a, cosA, sinA, static_cast<long double>(length), area, t0, t1))
        return;
    qint64 period = 0;
    for (int i = 0; i < pattern.Count; ++i)
        period += 4LL * width * pattern.Units[i];
    qint64 position = (qint64(t0) / period) * period;
    const auto pointAt = [&](qint64 distance) {
        return QPointF(qreal(a.x() + distance * cosA), qreal(a.y() + distance * sinA));
    };
    for (int index = 0; position < length && position <= t1; index = (index + 1) % pattern.Count) {
        const qint64 next = std::min(position + 4LL * width * pattern.Units[index], length);
        if (index % 2 == 0) // strokes and gaps alternate, strokes first
            painter->drawLine(pointAt(position), pointAt(next));
        position = next;
    }
}

TRLPenStroke strokeFor(const TRLReplayCanvas &canvas, const TRLMetaPen &pen)
{
    return TRLPenStroke(canvas.DeviceMap(), pen.Width, canvas.MapPenWidth(pen.Width), pen.Style, canvas.WorkArea());
}

// A stroke in the pen's colour; under a brush that is not clear the gaps of a thick patterned
// line show the brush.
void paintStroke(TRLReplayCanvas &canvas, const TRLPenStroke &stroke, const TRLMetaPen &pen,
                 const TRLMetaBrush *under = nullptr)
{
    if (pen.QtStyle() == Qt::NoPen)
        return;
    QPainter *painter = canvas.Painter();
    const QColor colour = pen.Color.ToQColor();
    const int width = canvas.MapPenWidth(pen.Width);
    const TRLPenPattern pattern = TRLPenPattern::Of(pen.Style);
    const bool walked = !pattern.IsSolid() && width > 1;
    if (walked && under && under->Style != mbsClear) {
        if (!stroke.Whole().isEmpty())
            painter->fillPath(stroke.Whole(), under->Color.ToQColor());
        painter->setPen(QPen(under->Color.ToQColor(), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        for (const QLineF &line : stroke.Sloping())
            painter->drawLine(line);
    }
    if (!stroke.Cells().isEmpty())
        painter->fillPath(stroke.Cells(), colour);
    if (!stroke.Sloping().empty()) {
        if (walked) {
            for (const QLineF &line : stroke.Sloping())
                drawPatternedLine(painter, canvas.WorkArea(), line, width, pattern, colour);
        } else {
            painter->setPen(QPen(colour, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            for (const QLineF &line : stroke.Sloping())
                painter->drawLine(line);
        }
    }
    if (!stroke.Thin().empty()) {
        painter->setPen(canvasPen(canvas, pen));
        for (const QLine &line : stroke.Thin())
            painter->drawLine(line);
    }
}

// A filled shape under its outline: the outline is painted over the fill as its cells say.
void fillShape(TRLReplayCanvas &canvas, const TRLMetaBrush &brush, const auto &fill)
{
    if (brush.Style == mbsClear)
        return;
    QPainter *painter = canvas.Painter();
    painter->setPen(Qt::NoPen);
    const QBrush wanted = brush.ToQBrush();
    // QPainter takes every new brush for a change, and the PDF writer then repeats it.
    if (painter->brush() != wanted)
        painter->setBrush(wanted);
    fill(painter);
}

// The four sides of a rectangle whose Right and Bottom are exclusive.
QPolygon rectangleSides(const TRLRect &r)
{
    const int right = std::max(r.Left, RLMeta::added(r.Right, -1));
    const int bottom = std::max(r.Top, RLMeta::added(r.Bottom, -1));
    return QPolygon({QPoint(r.Left, r.Top), QPoint(right, r.Top), QPoint(right, bottom), QPoint(r.Left, bottom)});
}

// Point sizes stay points on every device: scaled by fy, then corrected for the resolution the
// size was given for against the device's.
int canvasPointSize(const TRLReplayCanvas &canvas, const TRLMetaFont &meta)
{
    const long double given = meta.PixelsPerInch != 0 ? meta.PixelsPerInch : 96;
    const long double device = canvas.FontPixelsPerInch() != 0 ? canvas.FontPixelsPerInch() : 96;
    const int size = RLRound(static_cast<long double>(meta.Size) * canvas.FactorY() * given / device);
    const int largest = std::max(1, int(maxFontPixels * 72 / device));
    return std::clamp(size, 1, largest);
}

} // namespace

// A page has few fonts: each is made once while a canvas lives, its texts measured by the
// thread's shared measure of that font on this device.
struct TRLReplayCanvas::TextCache
{
    struct Font
    {
        QString name;
        int size;
        quint8 style;
        TRLMetaFontPitch pitch;
        QFont font; // as the painter holds it
        std::shared_ptr<TRLTextMeasure> measure;
    };
    // Hostile pages could hold a font per text; past this many the fonts start afresh.
    static constexpr size_t maxFonts = 32;

    std::vector<Font> fonts;
    int current = -1; // the font set on the painter
};

namespace {

using TextCache = TRLReplayCanvas::TextCache;

// Puts the text's font on the painter, unless it is there already.
int useFont(TRLReplayCanvas &canvas, const TRLTextObject &text)
{
    TextCache &cache = canvas.Texts();
    QPainter *painter = canvas.Painter();
    const QString name = text.FontName();
    const int size = canvasPointSize(canvas, text.Font);
    const quint8 style = text.Font.Style & (mfsBold | mfsItalic | mfsUnderline | mfsStrikeOut);
    for (size_t i = 0; i < cache.fonts.size(); ++i) {
        const TextCache::Font &f = cache.fonts[i];
        if (f.size == size && f.style == style && f.pitch == text.Font.Pitch && f.name == name) {
            if (cache.current != int(i)) {
                painter->setFont(f.font);
                cache.current = int(i);
            }
            return int(i);
        }
    }
    if (cache.fonts.size() >= TextCache::maxFonts)
        cache.fonts.clear();
    painter->setFont(TRLTextMeasure::CanvasFont(name, size, style, text.Font.Pitch));
    cache.fonts.push_back({name, size, style, text.Font.Pitch, painter->font(),
                           TRLTextMeasure::For(painter->font(), painter->device())});
    cache.current = int(cache.fonts.size()) - 1;
    return cache.current;
}

// Whether the ink of the text started at (x, baseline) stays inside the box, a device pixel to
// spare left and right for the rounding of glyph positions. Such a text needs no clip.
bool inkInside(const QRect &ink, qint64 x, qint64 baseline, const TRLRect &box)
{
    if (ink.isEmpty())
        return true;
    return x + ink.left() - 1 >= box.Left && x + ink.right() + 1 < box.Right && baseline + ink.top() >= box.Top
        && baseline + ink.bottom() < box.Bottom;
}

// The same picture comes back on every page of a report (a crest, a logo). Decoding it once and
// handing out the same image lets the PDF and print engines store it once, too.
QImage cachedPicture(const QByteArray &data)
{
    constexpr size_t entries = 8;
    constexpr qsizetype largest = 4 * 1024 * 1024;
    if (data.size() > largest)
        return TRLImageObject::PictureFromData(data);
    thread_local TRLRecentlyUsed<QByteArray, QImage> pictures(entries); // the printing thread has its own
    return pictures.Get(data, [&] { return TRLImageObject::PictureFromData(data); });
}

} // namespace

// ---------------------------------------------------------------------------------------------

TRLReplayCanvas::TRLReplayCanvas(QPainter *painter, int offsetX, int offsetY, double factorX, double factorY,
                                 const QRect &clip, int fontPixelsPerInch)
    : m_painter(painter), m_offsetX(offsetX), m_offsetY(offsetY),
      m_factorX(std::isfinite(factorX) ? factorX : 1.0), m_factorY(std::isfinite(factorY) ? factorY : 1.0),
      m_fontPixelsPerInch(fontPixelsPerInch), m_texts(std::make_unique<TextCache>())
{
    m_painter->save();
    const QPaintDevice *device = m_painter->device();
    if (m_fontPixelsPerInch <= 0)
        m_fontPixelsPerInch = device && device->logicalDpiY() > 0 ? device->logicalDpiY() : 96;
    m_workArea = device ? QRect(0, 0, device->width(), device->height()) : QRect(0, 0, 1, 1);
    bool invertible = false;
    const QTransform inverse = m_painter->worldTransform().inverted(&invertible);
    if (invertible)
        m_workArea = inverse.mapRect(m_workArea).intersected(QRect(-deviceLimit, -deviceLimit, 2 * deviceLimit,
                                                                   2 * deviceLimit));
    if (clip.isValid())
        m_clip = TRLRect::FromQRect(clip);
}

TRLReplayCanvas::~TRLReplayCanvas()
{
    m_painter->restore();
}

int TRLReplayCanvas::MapX(int x) const
{
    return toDevice(qint64(m_offsetX) + RLMeta::scaled(x, m_factorX));
}

int TRLReplayCanvas::MapY(int y) const
{
    return toDevice(qint64(m_offsetY) + RLMeta::scaled(y, m_factorY));
}

TRLRect TRLReplayCanvas::MapRect(const TRLRect &r) const
{
    TRLRect mapped(MapX(r.Left), MapY(r.Top), MapX(r.Right), MapY(r.Bottom));
    if (mapped.Right <= mapped.Left)
        mapped.Right = mapped.Left + 1;
    if (mapped.Bottom <= mapped.Top)
        mapped.Bottom = mapped.Top + 1;
    return mapped;
}

int TRLReplayCanvas::MapPenWidth(int width) const
{
    // Wider than the device is as wide as it gets.
    const int widest = 2 * std::max(m_workArea.width(), m_workArea.height()) + 2;
    return std::min(RLMeta::scaledPenWidth(width, m_factorX), widest);
}

void TRLReplayCanvas::PushClip(const TRLRect &deviceRect)
{
    m_clipStack.push_back(m_clip);
    m_clip = deviceRect;
    m_clipPending = true;
}

void TRLReplayCanvas::PopClip()
{
    // A page with more resets than sets keeps its clipping rather than inventing one.
    if (m_clipStack.empty())
        return;
    m_clip = m_clipStack.back();
    m_clipStack.pop_back();
    m_clipPending = true;
}

bool TRLReplayCanvas::ClipTemporarily(const TRLRect &deviceRect)
{
    TRLRect clip = deviceRect;
    if (!m_clip.IsEmpty()) {
        clip = TRLRect(std::max(clip.Left, m_clip.Left), std::max(clip.Top, m_clip.Top),
                       std::min(clip.Right, m_clip.Right), std::min(clip.Bottom, m_clip.Bottom));
        if (clip.IsEmpty())
            return false;
    }
    m_painter->setClipRect(clip.ToQRect(), Qt::ReplaceClip);
    m_painterClip = clip;
    m_painterClipKnown = true;
    m_clipPending = false;
    return true;
}

void TRLReplayCanvas::syncClip() const
{
    if (!m_clipPending)
        return;
    m_clipPending = false;
    if (m_painterClipKnown && m_painterClip == m_clip)
        return;
    // Replacing the clip needs no switching off first: each is a state of its own in a PDF.
    if (m_clip.IsEmpty())
        m_painter->setClipping(false);
    else
        m_painter->setClipRect(m_clip.ToQRect(), Qt::ReplaceClip);
    m_painterClip = m_clip;
    m_painterClipKnown = true;
}

// ---------------------------------------------------------------------------------------------

void TRLPixelObject::PaintTo(TRLReplayCanvas &canvas) const
{
    QPainter *painter = canvas.Painter();
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter->fillRect(canvas.MapRect(BoundsRect).ToQRect(), Color.ToQColor());
}

void TRLLineObject::PaintTo(TRLReplayCanvas &canvas) const
{
    applyPenMode(canvas.Painter(), Pen.Mode);
    TRLPenStroke stroke = strokeFor(canvas, Pen);
    stroke.Add(FromPoint, ToPoint);
    paintStroke(canvas, stroke, Pen, &Brush);
}

void TRLRectangleObject::PaintTo(TRLReplayCanvas &canvas) const
{
    applyPenMode(canvas.Painter(), Pen.Mode);
    const QRect box = canvas.MapRect(BoundsRect).ToQRect();
    fillShape(canvas, Brush, [&](QPainter *painter) { painter->fillRect(box, painter->brush()); });
    TRLPenStroke stroke = strokeFor(canvas, Pen);
    stroke.AddPolygon(rectangleSides(BoundsRect), true);
    paintStroke(canvas, stroke, Pen);
}

void TRLEllipseObject::PaintTo(TRLReplayCanvas &canvas) const
{
    applyPenMode(canvas.Painter(), Pen.Mode);
    const QRect box = canvas.MapRect(BoundsRect).ToQRect();
    fillShape(canvas, Brush, [&](QPainter *painter) { painter->drawEllipse(box); });
    if (Pen.QtStyle() == Qt::NoPen)
        return;
    // The curve runs along the middle of its cells, as a line's sloping parts do.
    const QPolygon sides = rectangleSides(BoundsRect);
    const TRLPenStroke stroke = strokeFor(canvas, Pen);
    QPainter *painter = canvas.Painter();
    painter->setPen(canvasPen(canvas, Pen));
    painter->setBrush(Qt::NoBrush);
    painter->drawEllipse(QRectF(stroke.Centre(sides.at(0)), stroke.Centre(sides.at(2))));
}

void TRLFillRectObject::PaintTo(TRLReplayCanvas &canvas) const
{
    QPainter *painter = canvas.Painter();
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter->fillRect(canvas.MapRect(BoundsRect).ToQRect(), Brush.ToQBrush());
}

void TRLPolygonObject::PaintTo(TRLReplayCanvas &canvas) const
{
    applyPenMode(canvas.Painter(), Pen.Mode);
    const QPolygon area = mappedPoints(canvas, Points);
    fillShape(canvas, Brush, [&](QPainter *painter) { painter->drawPolygon(area); });
    TRLPenStroke stroke = strokeFor(canvas, Pen);
    stroke.AddPolygon(Points, true);
    paintStroke(canvas, stroke, Pen);
}

void TRLPolylineObject::PaintTo(TRLReplayCanvas &canvas) const
{
    applyPenMode(canvas.Painter(), Pen.Mode);
    TRLPenStroke stroke = strokeFor(canvas, Pen);
    stroke.AddPolygon(Points, false);
    paintStroke(canvas, stroke, Pen);
}

void TRLImageObject::PaintTo(TRLReplayCanvas &canvas) const
{
    const QImage picture = cachedPicture(Data);
    if (picture.isNull())
        return;
    TRLRect r = canvas.MapRect(BoundsRect);
    // Repeating pictures (bar codes) must not be stretched by a fraction of their width.
    if (WholeWidths && picture.width() > 0)
        r.Right = r.Left + (r.Width() / picture.width()) * picture.width() + 1;
    QPainter *painter = canvas.Painter();
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter->drawImage(r.ToQRect(), picture);
}

void TRLSetClipRectObject::PaintTo(TRLReplayCanvas &canvas) const
{
    // A recorded clip of no width or height means no clipping (mapping would make it one pixel).
    const bool none = BoundsRect.Right == BoundsRect.Left || BoundsRect.Bottom == BoundsRect.Top;
    canvas.PushClip(none ? TRLRect() : canvas.MapRect(BoundsRect));
}

void TRLResetClipRectObject::PaintTo(TRLReplayCanvas &canvas) const
{
    canvas.PopClip();
}

QString TRLTextObject::DisplayText() const
{
    const TRLGraphicSurface *surface = Surface();
    if (!surface || !Text.contains(QLatin1Char('{')))
        return Text;
    const TRLGraphicStorage *storage = surface->Storage();
    QString out;
    int from = 0;
    while (true) {
        const int open = Text.indexOf(QLatin1Char('{'), from);
        const int close = open < 0 ? -1 : Text.indexOf(QLatin1Char('}'), open + 1);
        if (close < 0)
            break;
        const QString name = Text.mid(open + 1, close - open - 1);
        out += QStringView(Text).mid(from, open - from);
        if (surface->Macros().Contains(name))
            out += surface->Macros().Value(name);
        else if (storage && storage->Header().Contains(name))
            out += storage->Header().Value(name);
        else
            out += QStringView(Text).mid(open, close - open + 1);
        from = close + 1;
    }
    out += QStringView(Text).mid(from);
    return out;
}

namespace {

// Where a text starts on the device: its left edge (a right-aligned or centred text where its
// exact width puts it, unrounded), its top and its baseline.
struct TextPlace
{
    qreal left;
    int top;
    int baseline;
};

TextPlace placeText(const TRLTextObject &t, const TRLReplayCanvas &canvas, TRLTextMeasure &measure,
                    const QString &text, const TRLRect &r)
{
    const QPoint origin = canvas.MapPoint(t.Origin);
    const qint64 blank = measure.Blank();
    const qint64 textHeight = measure.Height();
    // Half a blank of lead on the left balances the blank measured after the text.
    qreal x;
    switch (t.Alignment) {
    case mtaRight: x = qreal(blank / 2 + r.Right) - measure.ExactSpacedWidth(text); break;
    case mtaCenter: x = qreal(blank / 2) + (qreal(r.Left) + r.Right - measure.ExactSpacedWidth(text)) / 2; break;
    default: x = qreal(blank / 2 + qint64(origin.x())); break;
    }
    qint64 y;
    switch (t.Layout) {
    case mtlBottom: y = r.Bottom - textHeight; break;
    case mtlCenter: y = (qint64(r.Top) + r.Bottom - textHeight) / 2; break;
    default: y = origin.y(); break;
    }
    const int top = toDevice(y);
    return {std::clamp<qreal>(x, -deviceLimit, deviceLimit), top, toDevice(qint64(top) + measure.Ascent())};
}

// Justified rows end at the box's right edge and left-aligned ones do not cross it, whatever
// this device's widths make of them: the spacing that does so, or none when the row stays as it is.
std::optional<TRLRowSpacing> rowSpread(const TRLTextObject &t, TRLTextMeasure &measure, const QString &text, qreal left,
                                       const TRLRect &r)
{
    if (t.Alignment == mtaLeft) {
        if (left + measure.Width(text) + 1 <= r.Right)
            return std::nullopt;
    } else if (t.Alignment != mtaJustify) {
        return std::nullopt;
    }
    TRLRowSpacing spacing = RLSpaceRow(text, measure, left, r.Right, t.Alignment == mtaJustify);
    if (!spacing.Spread())
        return std::nullopt;
    return spacing;
}

// Whether the text's ink leaves its box. Most texts sit well inside: their characters' ink tells
// so without laying the text out again; the others are measured whole.
bool inkLeavesBox(TRLTextMeasure &measure, const QString &text, qreal start, int baseline, const TRLRect &r)
{
    const int advance = std::clamp(measure.Width(text), 0, deviceLimit);
    const qint64 left = RLRound(start);
    const std::optional<QRect> bound = measure.InkBound(text, advance);
    if (bound && inkInside(*bound, left, baseline, r))
        return false;
    return !inkInside(measure.Ink(text), left, baseline, r);
}

} // namespace

void TRLTextObject::PaintTo(TRLReplayCanvas &canvas) const
{
    QPainter *painter = canvas.Painter();
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    const TextCache::Font &font = canvas.Texts().fonts[size_t(useFont(canvas, *this))];
    TRLTextMeasure &measure = *font.measure;
    const QString text = DisplayText();

    const TRLRect r = canvas.MapRect(BoundsRect);
    const TextPlace at = placeText(*this, canvas, measure, text, r);
    const std::optional<TRLRowSpacing> spacing = rowSpread(*this, measure, text, at.left, r);

    // Every clip is a state change of its own on a printer or in a PDF: only ink that would leave
    // the box needs one. A background keeps it: renderers smooth a clipped fill's edges otherwise.
    const bool clipped = !(TextOptions & MetaTextFlagUnclipped);
    const bool clipping =
        clipped && (Brush.Style != mbsClear || spacing || inkLeavesBox(measure, text, at.left, at.baseline, r));
    if (clipping && !canvas.ClipTemporarily(r))
        return;
    if (Brush.Style != mbsClear) {
        int wide;
        if (spacing) {
            wide = int(std::clamp<qreal>(std::ceil(spacing->End) - at.left, 0, 2 * deviceLimit));
        } else {
            wide = std::min(measure.Width(text), 2 * deviceLimit);
        }
        const QRect behind = clipped ? r.ToQRect() : QRect(RLRound(at.left), at.top, wide, measure.Height());
        painter->fillRect(behind, Brush.ToQBrush());
    }
    painter->setPen(Font.Color.ToQColor());
    if (spacing) {
        // The whole row as one text, its blanks in it, so that the words are found and copied.
        QFont spaced = font.font;
        spaced.setWordSpacing(spacing->WordSpacing);
        painter->setFont(spaced);
        if (spacing->Condense != 1) {
            const QTransform before = painter->worldTransform();
            painter->translate(spacing->Start, at.baseline);
            painter->scale(spacing->Condense, 1);
            painter->drawText(QPointF(0, 0), spacing->Text);
            painter->setWorldTransform(before);
        } else {
            painter->drawText(QPointF(spacing->Start, at.baseline), spacing->Text);
        }
        painter->setFont(font.font);
    } else {
        painter->drawText(QPointF(at.left, at.baseline), text);
    }
    if (clipping)
        canvas.RestoreClip();
}
