// The graphic objects: their stored bodies, copying, offsetting and scaling.
#include "report/page/RLMetaFile.h"

#include "report/base/RLRecentlyUsed.h"
#include "report/page/RLMetaFileMath.h"
#include "report/page/RLMetaFilePageFormat.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <vector>

using RLMeta::added;
using RLMeta::scaled;
using RLMeta::scaledPenWidth;

namespace {

std::atomic<int> drawGroupCounter{0};

// Qt's pen and brush styles by meta value (index 0 is meta 1); the first entry is the default.
const Qt::PenStyle penStyles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                  Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen};
const Qt::BrushStyle brushStyles[] = {Qt::SolidPattern, Qt::NoBrush,     Qt::HorPattern,   Qt::VerPattern,
                                      Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};

template <class T, size_t N, class Meta>
T fromMeta(const T (&table)[N], Meta meta)
{
    const size_t index = size_t(meta) - 1;
    return index < N ? table[index] : table[0];
}

template <class T, size_t N>
quint8 toMeta(const T (&table)[N], T value)
{
    for (size_t i = 0; i < N; ++i)
        if (table[i] == value)
            return quint8(i + 1);
    return 1;
}

TRLRect scaledRect(const TRLRect &r, double fx, double fy)
{
    return TRLRect(scaled(r.Left, fx), scaled(r.Top, fy), scaled(r.Right, fx), scaled(r.Bottom, fy));
}

QPoint scaledPoint(const QPoint &p, double fx, double fy)
{
    return QPoint(scaled(p.x(), fx), scaled(p.y(), fy));
}

QPoint offsetPoint(const QPoint &p, int dx, int dy)
{
    return QPoint(added(p.x(), dx), added(p.y(), dy));
}

void scalePoints(TRLMetaPointArray &points, double fx, double fy)
{
    for (QPoint &p : points)
        p = scaledPoint(p, fx, fy);
}

void offsetPoints(TRLMetaPointArray &points, int dx, int dy)
{
    for (QPoint &p : points)
        p = offsetPoint(p, dx, dy);
}

// Report pixels of the font's size on the page it was recorded for.
qint64 fontPixels(const TRLMetaFont &font)
{
    const qint64 perInch = font.PixelsPerInch != 0 ? font.PixelsPerInch : 96;
    return std::abs(qint64(font.Size)) * perInch / 72;
}

// The page's larger side; an unsized page may be as large as the largest paper (B0, 1414 mm).
qint64 pageExtent(const TRLGraphicSurface *page)
{
    const qint64 extent = page ? std::max(page->Width(), page->Height()) : 0;
    return extent > 0 ? extent : 5344;
}

} // namespace

int NextDrawGroup()
{
    return ++drawGroupCounter;
}

TRLMetaColor TRLMetaColor::FromQColor(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return TRLMetaColor{quint8(rgb.red()), quint8(rgb.green()), quint8(rgb.blue())};
}

void TRLMetaPen::FromQPen(const QPen &pen, TRLMetaPenMode mode)
{
    Color = TRLMetaColor::FromQColor(pen.color());
    Mode = mode;
    Style = TRLMetaPenStyle(toMeta(penStyles, pen.style()));
    Width = pen.width();
}

Qt::PenStyle TRLMetaPen::QtStyle() const
{
    return fromMeta(penStyles, Style);
}

void TRLMetaBrush::FromQBrush(const QBrush &brush)
{
    Color = TRLMetaColor::FromQColor(brush.color());
    Style = TRLMetaBrushStyle(toMeta(brushStyles, brush.style()));
}

Qt::BrushStyle TRLMetaBrush::QtStyle() const
{
    return fromMeta(brushStyles, Style);
}

QBrush TRLMetaBrush::ToQBrush() const
{
    return QBrush(Color.ToQColor(), QtStyle());
}

// ---------------------------------------------------------------------------------------------

int TRLNameValueList::indexOf(const QString &name) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        const QString &item = m_items.at(i);
        // The name is what comes before the first '=': a value may hold more of them.
        if (item.indexOf(QLatin1Char('=')) == name.size()
            && QStringView(item).left(name.size()).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString TRLNameValueList::Value(const QString &name) const
{
    const int i = indexOf(name);
    return i < 0 ? QString() : m_items.at(i).mid(name.size() + 1);
}

int TRLNameValueList::IntValue(const QString &name, int fallback) const
{
    bool ok = false;
    const int value = Value(name).trimmed().toInt(&ok);
    return ok ? value : fallback;
}

double TRLNameValueList::FloatValue(const QString &name, double fallback) const
{
    bool ok = false;
    const double value = Value(name).trimmed().toDouble(&ok); // always a point, whatever the locale
    return ok && std::isfinite(value) ? value : fallback;
}

void TRLNameValueList::SetValue(const QString &name, const QString &value)
{
    const QString item = name + QLatin1Char('=') + value;
    const int i = indexOf(name);
    if (i < 0)
        m_items.append(item);
    else
        m_items[i] = item;
}

// ---------------------------------------------------------------------------------------------

TRLGraphicObject::TRLGraphicObject(TRLGraphicSurface *surface)
    : DrawGroup(drawGroupCounter.load()), m_surface(surface)
{
    if (m_surface)
        m_surface->m_objects.push_back(this);
}

TRLGraphicObject::~TRLGraphicObject()
{
    if (m_surface)
        m_surface->detach(this);
}

TRLGraphicObject *TRLGraphicObject::Create(quint8 code, TRLGraphicSurface *surface)
{
    switch (code) {
    case PixelKind: return new TRLPixelObject(surface);
    case LineKind: return new TRLLineObject(surface);
    case RectangleKind: return new TRLRectangleObject(surface);
    case TextKind: return new TRLTextObject(surface);
    case FillRectKind: return new TRLFillRectObject(surface);
    case EllipseKind: return new TRLEllipseObject(surface);
    case PolygonKind: return new TRLPolygonObject(surface);
    case PolylineKind: return new TRLPolylineObject(surface);
    case ImageKind: return new TRLImageObject(surface);
    case SetClipRectKind: return new TRLSetClipRectObject(surface);
    case ResetClipRectKind: return new TRLResetClipRectObject(surface);
    default: return nullptr;
    }
}

TRLGraphicObject *TRLGraphicObject::Clone(TRLGraphicSurface *surface) const
{
    TRLGraphicObject *copy = Create(Code(), surface);
    copy->Assign(*this);
    return copy;
}

void TRLGraphicObject::SaveToStream(TRLPageWriter &writer) const
{
    writer.writeUInt8(Code());
    const int lengthAt = writer.beginBlock();
    saveBody(writer);
    writer.endBlock(lengthAt);
}

void TRLGraphicObject::LoadFromStream(TRLPageReader &reader)
{
    loadBody(reader);
}

void TRLGraphicObject::saveBody(TRLPageWriter &writer) const
{
    writer.writeRect(BoundsRect);
    writer.writeInt32(DrawGroup);
    writer.writeInt32(SourceControlId);
}

void TRLGraphicObject::loadBody(TRLPageReader &reader)
{
    BoundsRect = reader.readRect();
    DrawGroup = reader.readInt32();
    SourceControlId = reader.readInt32();
}

void TRLGraphicObject::Assign(const TRLGraphicObject &source)
{
    BoundsRect = source.BoundsRect;
    DrawGroup = source.DrawGroup;
    SourceControlId = source.SourceControlId;
    Tag = source.Tag;
}

void TRLGraphicObject::Offset(int dx, int dy)
{
    BoundsRect = TRLRect(added(BoundsRect.Left, dx), added(BoundsRect.Top, dy), added(BoundsRect.Right, dx),
                         added(BoundsRect.Bottom, dy));
}

void TRLGraphicObject::Inflate(double xFactor, double yFactor)
{
    BoundsRect = scaledRect(BoundsRect, xFactor, yFactor);
}

// Kinds. Assign relies on the caller pairing objects of one kind (Clone does); a mismatch is
// a programming error that static_cast would hide, so it is checked.
#define RL_SAME_KIND(Type, source) \
    Q_ASSERT(source.Code() == Code()); \
    const auto &other = static_cast<const Type &>(source)

void TRLPixelObject::Assign(const TRLGraphicObject &source)
{
    TRLGraphicObject::Assign(source);
    RL_SAME_KIND(TRLPixelObject, source);
    Color = other.Color;
}

void TRLPixelObject::saveBody(TRLPageWriter &writer) const
{
    TRLGraphicObject::saveBody(writer);
    writer.writeColor(Color);
}

void TRLPixelObject::loadBody(TRLPageReader &reader)
{
    TRLGraphicObject::loadBody(reader);
    Color = reader.readColor();
}

void TRLShapeObject::Assign(const TRLGraphicObject &source)
{
    TRLGraphicObject::Assign(source);
    RL_SAME_KIND(TRLShapeObject, source);
    Pen = other.Pen;
    Brush = other.Brush;
}

void TRLShapeObject::Inflate(double xFactor, double yFactor)
{
    TRLGraphicObject::Inflate(xFactor, yFactor);
    Pen.Width = scaledPenWidth(Pen.Width, xFactor);
}

void TRLShapeObject::savePenAndBrush(TRLPageWriter &writer) const
{
    writer.writePen(Pen);
    writer.writeBrush(Brush);
}

void TRLShapeObject::loadPenAndBrush(TRLPageReader &reader)
{
    Pen = reader.readPen();
    Brush = reader.readBrush();
}

void TRLShapeObject::saveBody(TRLPageWriter &writer) const
{
    TRLGraphicObject::saveBody(writer);
    savePenAndBrush(writer);
}

void TRLShapeObject::loadBody(TRLPageReader &reader)
{
    TRLGraphicObject::loadBody(reader);
    loadPenAndBrush(reader);
}

void TRLLineObject::Assign(const TRLGraphicObject &source)
{
    TRLShapeObject::Assign(source);
    RL_SAME_KIND(TRLLineObject, source);
    FromPoint = other.FromPoint;
    ToPoint = other.ToPoint;
}

void TRLLineObject::Offset(int dx, int dy)
{
    TRLGraphicObject::Offset(dx, dy);
    FromPoint = offsetPoint(FromPoint, dx, dy);
    ToPoint = offsetPoint(ToPoint, dx, dy);
}

void TRLLineObject::Inflate(double xFactor, double yFactor)
{
    TRLShapeObject::Inflate(xFactor, yFactor);
    FromPoint = scaledPoint(FromPoint, xFactor, yFactor);
    ToPoint = scaledPoint(ToPoint, xFactor, yFactor);
}

void TRLLineObject::saveBody(TRLPageWriter &writer) const
{
    TRLGraphicObject::saveBody(writer);
    writer.writePoint(FromPoint);
    writer.writePoint(ToPoint);
    savePenAndBrush(writer);
}

void TRLLineObject::loadBody(TRLPageReader &reader)
{
    TRLGraphicObject::loadBody(reader);
    FromPoint = reader.readPoint();
    ToPoint = reader.readPoint();
    loadPenAndBrush(reader);
}

void TRLTextObject::Assign(const TRLGraphicObject &source)
{
    TRLGraphicObject::Assign(source);
    RL_SAME_KIND(TRLTextObject, source);
    Alignment = other.Alignment;
    Layout = other.Layout;
    Origin = other.Origin;
    TextOptions = other.TextOptions;
    Text = other.Text;
    Brush = other.Brush;
    Font = other.Font;
    // The name id points into the source page's list: enter the name into this page's list.
    if (Surface() && other.Surface() && Surface() != other.Surface())
        SetFontName(other.FontName());
}

void TRLTextObject::Offset(int dx, int dy)
{
    TRLGraphicObject::Offset(dx, dy);
    Origin = offsetPoint(Origin, dx, dy);
}

void TRLTextObject::Inflate(double xFactor, double yFactor)
{
    TRLGraphicObject::Inflate(xFactor, yFactor);
    Origin = scaledPoint(Origin, xFactor, yFactor);
    Font.Size = scaled(Font.Size, yFactor);
}

QString TRLTextObject::FontName() const
{
    const QStringList &fonts = Surface() ? Surface()->Fonts() : QStringList();
    return Font.NameId >= 0 && Font.NameId < fonts.size() ? fonts.at(Font.NameId) : QString();
}

void TRLTextObject::SetFontName(const QString &name)
{
    if (Surface())
        Font.NameId = Surface()->FontNameId(name);
}

void TRLTextObject::saveBody(TRLPageWriter &writer) const
{
    TRLGraphicObject::saveBody(writer);
    writer.writeUInt8(Alignment);
    writer.writeUInt8(Layout);
    writer.writePoint(Origin);
    writer.writeUInt16(TextOptions);
    writer.writeString(Text);
    writer.writeBrush(Brush);
    writer.writeFont(Font);
}

void TRLTextObject::loadBody(TRLPageReader &reader)
{
    TRLGraphicObject::loadBody(reader);
    Alignment = TRLMetaTextAlignment(reader.readUInt8());
    Layout = TRLMetaTextLayout(reader.readUInt8());
    Origin = reader.readPoint();
    TextOptions = reader.readUInt16();
    Text = reader.readString();
    Brush = reader.readBrush();
    Font = reader.readFont();
    // A glyph taller than the page is no text anyone printed; replaying it costs memory and time.
    if (Font.PixelsPerInch < 0 || fontPixels(Font) > pageExtent(Surface()))
        TRLPageReader::fail();
}

void TRLFillRectObject::Assign(const TRLGraphicObject &source)
{
    TRLGraphicObject::Assign(source);
    RL_SAME_KIND(TRLFillRectObject, source);
    Brush = other.Brush;
}

void TRLFillRectObject::saveBody(TRLPageWriter &writer) const
{
    TRLGraphicObject::saveBody(writer);
    writer.writeBrush(Brush);
}

void TRLFillRectObject::loadBody(TRLPageReader &reader)
{
    TRLGraphicObject::loadBody(reader);
    Brush = reader.readBrush();
}

void TRLPolygonObject::Assign(const TRLGraphicObject &source)
{
    TRLShapeObject::Assign(source);
    RL_SAME_KIND(TRLPolygonObject, source);
    Points = other.Points;
}

void TRLPolygonObject::Offset(int dx, int dy)
{
    TRLGraphicObject::Offset(dx, dy);
    offsetPoints(Points, dx, dy);
}

void TRLPolygonObject::Inflate(double xFactor, double yFactor)
{
    TRLShapeObject::Inflate(xFactor, yFactor);
    scalePoints(Points, xFactor, yFactor);
}

void TRLPolygonObject::saveBody(TRLPageWriter &writer) const
{
    TRLShapeObject::saveBody(writer);
    writer.writePoints(Points);
}

void TRLPolygonObject::loadBody(TRLPageReader &reader)
{
    TRLShapeObject::loadBody(reader);
    Points = reader.readPoints();
}

void TRLPolylineObject::Assign(const TRLGraphicObject &source)
{
    TRLGraphicObject::Assign(source);
    RL_SAME_KIND(TRLPolylineObject, source);
    Pen = other.Pen;
    Points = other.Points;
}

void TRLPolylineObject::Offset(int dx, int dy)
{
    TRLGraphicObject::Offset(dx, dy);
    offsetPoints(Points, dx, dy);
}

void TRLPolylineObject::Inflate(double xFactor, double yFactor)
{
    TRLGraphicObject::Inflate(xFactor, yFactor);
    scalePoints(Points, xFactor, yFactor);
    Pen.Width = scaledPenWidth(Pen.Width, xFactor);
}

void TRLPolylineObject::saveBody(TRLPageWriter &writer) const
{
    TRLGraphicObject::saveBody(writer);
    writer.writePen(Pen);
    writer.writePoints(Points);
}

void TRLPolylineObject::loadBody(TRLPageReader &reader)
{
    TRLGraphicObject::loadBody(reader);
    Pen = reader.readPen();
    Points = reader.readPoints();
}

void TRLImageObject::Assign(const TRLGraphicObject &source)
{
    TRLGraphicObject::Assign(source);
    RL_SAME_KIND(TRLImageObject, source);
    Data = other.Data;
    WholeWidths = other.WholeWidths;
}

void TRLImageObject::saveBody(TRLPageWriter &writer) const
{
    TRLGraphicObject::saveBody(writer);
    writer.writeBytes(Data);
    writer.writeUInt8(WholeWidths ? 1 : 0);
}

void TRLImageObject::loadBody(TRLPageReader &reader)
{
    TRLGraphicObject::loadBody(reader);
    Data = reader.readBytes();
    WholeWidths = reader.readUInt8() != 0;
}

namespace {

QByteArray encodePicture(const QImage &picture)
{
    // BMP keeps no transparency: what is transparent shows the white paper, as it would printed.
    QImage opaque = picture;
    if (picture.hasAlphaChannel()) {
        opaque = QImage(picture.size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        QPainter painter(&opaque);
        painter.drawImage(0, 0, picture);
    }
    // Written on its own: image writers may seek back into what they wrote.
    QByteArray bitmap;
    QBuffer buffer(&bitmap);
    buffer.open(QIODevice::WriteOnly);
    opaque.save(&buffer, "BMP");
    return QByteArrayLiteral("BMP") + bitmap;
}

} // namespace

QByteArray TRLImageObject::PictureData(const QImage &picture)
{
    if (picture.isNull())
        return QByteArrayLiteral("NIL");
    // A report's crest or logo is recorded again on every page and every slip; an image keeps its
    // cache key until its pixels change, so its bytes are made once. A slip has a picture for each
    // arrow and crest of both copies, each an image of its own.
    thread_local TRLRecentlyUsed<qint64, QByteArray> kept(
        64, 8 * 1024 * 1024, [](const QByteArray &data) { return std::size_t(data.size()); });
    return kept.Get(picture.cacheKey(), [&] { return encodePicture(picture); });
}

QImage TRLImageObject::PictureFromData(const QByteArray &data)
{
    const QByteArray tag = data.left(3);
    const char *format = tag == "BMP" ? "BMP" : tag == "ICO" ? "ICO" : nullptr;
    if (!format)
        return QImage();
    QByteArray body = data.mid(3);
    QBuffer buffer(&body);
    buffer.open(QIODevice::ReadOnly);
    // A hostile header may promise a picture far larger than the page could ever show. The icon
    // reader cannot read after being asked the size, so a second reader does the reading.
    const QSize size = QImageReader(&buffer, format).size();
    if (size.isValid() && qint64(size.width()) * size.height() > MaxPixels)
        return QImage();
    buffer.seek(0);
    QImageReader reader(&buffer, format);
    reader.setAllocationLimit(64); // megabytes
    return reader.read();
}
