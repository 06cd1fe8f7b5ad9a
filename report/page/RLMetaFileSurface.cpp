// TRLGraphicSurface: recording, page values, merging and copying of recorded pages.
#include "report/page/RLMetaFile.h"

#include "report/base/RLExceptions.h"
#include "report/base/RLRecentlyUsed.h"
#include "report/base/RLUtils.h"
#include "report/page/RLMetaFileMath.h"
#include "report/page/RLMetaFilePageFormat.h"
#include "report/page/RLTextMeasure.h"

#include <QIODevice>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <vector>


namespace {

const QString orientationKey = QStringLiteral("Orientation");
const QString paperWidthKey = QStringLiteral("PaperWidth");
const QString paperHeightKey = QStringLiteral("PaperHeight");

// Objects as thin as a line still cover one pixel column or row when drawn; they must count as
// inside the area they are drawn in.
bool touches(const TRLRect &object, const TRLRect &area)
{
    if (area.IsEmpty())
        return false;
    const qint64 right = std::max<qint64>(object.Right, qint64(object.Left) + 1);
    const qint64 bottom = std::max<qint64>(object.Bottom, qint64(object.Top) + 1);
    return object.Left < area.Right && right > area.Left && object.Top < area.Bottom && bottom > area.Top;
}

} // namespace

TRLGraphicSurface::TRLGraphicSurface()
    : m_brush(Qt::white, Qt::SolidPattern), m_fontColor(Qt::black), m_pen(Qt::black)
{
    m_pen.setWidth(0);
}

TRLGraphicSurface::~TRLGraphicSurface()
{
    if (m_storage)
        m_storage->takeFromCache(this);
    std::vector<TRLGraphicObject *> objects;
    objects.swap(m_objects);
    for (TRLGraphicObject *object : objects) {
        object->m_surface = nullptr;
        delete object;
    }
}

void TRLGraphicSurface::detach(TRLGraphicObject *object)
{
    // Objects usually go from the end (a failed recording), so search backwards.
    const auto it = std::find(m_objects.rbegin(), m_objects.rend(), object);
    if (it != m_objects.rend())
        m_objects.erase(std::next(it).base());
}

template <class T>
T *TRLGraphicSurface::record(const TRLRect &bounds)
{
    Open();
    m_modified = true;
    T *object = new T(this);
    object->BoundsRect = bounds;
    return object;
}

void TRLGraphicSurface::recordFont(TRLMetaFont &meta)
{
    // Sizes are taken in report pixels: 96 per inch.
    meta.PixelsPerInch = 96;
    meta.CharSet = 0;
    meta.Color = TRLMetaColor::FromQColor(m_fontColor);
    meta.Size = TRLTextMeasure::RecordedPoints(m_font);
    meta.Height = m_font.pixelSize() > 0 ? -m_font.pixelSize() : -RLRound(m_font.pointSizeF() * 96.0L / 72);
    meta.NameId = FontNameId(m_font.family());
    meta.Pitch = TRLTextMeasure::RecordedPitch(m_font);
    meta.Style = TRLTextMeasure::RecordedStyle(m_font);
}

int TRLGraphicSurface::FontNameId(const QString &name)
{
    for (int i = 0; i < m_fonts.size(); ++i)
        if (m_fonts.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    m_fonts.append(name);
    return int(m_fonts.size() - 1);
}

void TRLGraphicSurface::FillRect(const TRLRect &rect)
{
    record<TRLFillRectObject>(rect)->Brush.FromQBrush(m_brush);
}

void TRLGraphicSurface::Rectangle(int left, int top, int right, int bottom)
{
    auto *object = record<TRLRectangleObject>(TRLRect(left, top, right, bottom));
    object->Pen.FromQPen(m_pen, m_penMode);
    object->Brush.FromQBrush(m_brush);
}

void TRLGraphicSurface::Polygon(const TRLMetaPointArray &points)
{
    // The extreme points themselves, not widened: the box of a point array.
    const TRLRect bounds = pointsExtent(points);
    auto *object = record<TRLPolygonObject>(bounds);
    object->Pen.FromQPen(m_pen, m_penMode);
    object->Brush.FromQBrush(m_brush);
    object->Points = points;
}

void TRLGraphicSurface::TextRect(const TRLRect &rect, int x, int y, const QString &text, quint8 alignment,
                                 quint8 layout, quint16 textOptions)
{
    auto *object = record<TRLTextObject>(rect);
    object->Alignment = TRLMetaTextAlignment(alignment);
    object->Layout = TRLMetaTextLayout(layout);
    object->Origin = QPoint(x, y);
    object->TextOptions = textOptions;
    object->Text = text;
    object->Brush.FromQBrush(m_brush);
    recordFont(object->Font);
}

void TRLGraphicSurface::Draw(int x, int y, const QImage &graphic, bool wholeWidths)
{
    StretchDraw(TRLRect(x, y, RLMeta::added(x, graphic.width()), RLMeta::added(y, graphic.height())), graphic,
                wholeWidths);
}

void TRLGraphicSurface::StretchDraw(const TRLRect &rect, const QImage &graphic, bool wholeWidths)
{
    // Replay would refuse it and leave a blank where the picture was: refuse it now, aloud.
    if (qint64(graphic.width()) * graphic.height() > TRLImageObject::MaxPixels)
        throw TRLException(QStringLiteral("Imagem grande demais para impressão: %1 x %2 pixels (máximo %3 megapixels)")
                               .arg(graphic.width())
                               .arg(graphic.height())
                               .arg(TRLImageObject::MaxPixels / (1024 * 1024)));
    auto *object = record<TRLImageObject>(rect);
    object->Data = TRLImageObject::PictureData(graphic);
    object->WholeWidths = wholeWidths;
}

void TRLGraphicSurface::FitDraw(const TRLRect &rect, const QImage &graphic, bool center)
{
    if (graphic.isNull())
        return; // no proportions to keep
    StretchDraw(fitAspectRect(graphic.size(), rect, center), graphic, false);
}

void TRLGraphicSurface::CropDraw(const TRLRect &rect, const QImage &graphic, bool center)
{
    const TRLCroppedPicture crop = cropPicture(rect, graphic, center);
    if (!crop.Picture.isNull())
        StretchDraw(crop.Rect, crop.Picture, false);
}

void TRLGraphicSurface::SetClipRect(const TRLRect &rect)
{
    record<TRLSetClipRectObject>(rect);
    m_clipStack.push_back(m_clipRect);
    m_clipRect = rect;
}

void TRLGraphicSurface::ResetClipRect()
{
    record<TRLResetClipRectObject>(m_clipRect);
    if (!m_clipStack.empty()) {
        m_clipRect = m_clipStack.back();
        m_clipStack.pop_back();
    }
}

void TRLGraphicSurface::Open()
{
    if (m_opened)
        return;
    m_opened = true;
    m_penPos = QPoint(m_margins.Left, m_margins.Top);
    m_sourceControlId = 0;
    m_clipRect = TRLRect(0, 0, m_width, m_height);
    m_clipStack.clear();
}

void TRLGraphicSurface::Clear()
{
    std::vector<TRLGraphicObject *> objects;
    objects.swap(m_objects);
    for (TRLGraphicObject *object : objects) {
        object->m_surface = nullptr;
        delete object;
    }
    m_fonts.clear();
    m_macros.Clear();
    m_penPos = QPoint(0, 0);
    m_modified = true;
    m_sourceControlId = 0;
}

// Texts are measured in the font the page records, as every device will draw it.
struct TRLGraphicSurface::TextMeasure
{
    QFont font; // as set on the surface
    std::shared_ptr<TRLTextMeasure> measure;
};

TRLTextMeasure &TRLGraphicSurface::measure() const
{
    if (!m_measure)
        m_measure = std::make_unique<TextMeasure>();
    TextMeasure &m = *m_measure;
    if (!m.measure || m.font != m_font) {
        m.font = m_font;
        m.measure = TRLTextMeasure::Recorded(m_font);
    }
    return *m.measure;
}

int TRLGraphicSurface::TextWidth(const QString &text) const
{
    return measure().Width(text);
}

int TRLGraphicSurface::TextHeight(const QString &text) const
{
    Q_UNUSED(text);
    return measure().Height();
}

void TRLGraphicSurface::MergeSurface(int x, int y, const TRLGraphicSurface &source)
{
    // Counted first: merging a surface into itself must not copy its own copies.
    const size_t count = source.m_objects.size();
    for (size_t i = 0; i < count; ++i)
        source.m_objects[i]->Clone(this)->Offset(x, y);
    m_modified = true;
}

void TRLGraphicSurface::CopyRect(const TRLRect &dest, const TRLGraphicSurface &source, const TRLRect &sourceRect)
{
    // An empty source extent has no scale of its own: keep the size on that axis.
    const auto extent = [](int from, int to) { return double(qint64(to) - from); };
    const double sourceWidth = extent(sourceRect.Left, sourceRect.Right);
    const double sourceHeight = extent(sourceRect.Top, sourceRect.Bottom);
    const double fx = sourceWidth != 0 ? extent(dest.Left, dest.Right) / sourceWidth : 1.0;
    const double fy = sourceHeight != 0 ? extent(dest.Top, dest.Bottom) / sourceHeight : 1.0;
    const int dx = RLMeta::clampToInt(qint64(dest.Left) - RLMeta::scaled(sourceRect.Left, fx));
    const int dy = RLMeta::clampToInt(qint64(dest.Top) - RLMeta::scaled(sourceRect.Top, fy));
    const size_t count = source.m_objects.size();
    SetClipRect(dest);
    try {
        for (size_t i = 0; i < count; ++i) {
            const TRLGraphicObject *object = source.m_objects[i];
            if (!touches(object->BoundsRect, sourceRect))
                continue;
            TRLGraphicObject *copy = object->Clone(this);
            copy->Inflate(fx, fy);
            copy->Offset(dx, dy);
        }
    } catch (...) {
        ResetClipRect();
        throw;
    }
    ResetClipRect();
}

bool TRLGraphicSurface::FindCutRow(int &row) const
{
    int candidate = row;
    bool changed = true;
    while (changed && candidate > 0) {
        changed = false;
        for (const TRLGraphicObject *object : m_objects) {
            if (object->Code() != TRLGraphicObject::TextKind)
                continue;
            if (!(static_cast<const TRLTextObject *>(object)->TextOptions & MetaTextFlagKeepWhole))
                continue;
            const TRLRect &r = object->BoundsRect;
            if (r.Top < candidate && candidate < r.Bottom) {
                candidate = r.Top;
                changed = true;
            }
        }
    }
    row = candidate;
    return candidate > 0;
}

QByteArray TRLGraphicSurface::SaveToBytes() const
{
    QByteArray out;
    TRLPageWriter writer(out);
    writer.writeRaw(RLPageSignature, sizeof RLPageSignature);
    writer.writeInt32(m_width);
    writer.writeInt32(m_height);
    writer.writeInt32(m_macros.Count());
    for (int i = 0; i < m_macros.Count(); ++i)
        writer.writeString(m_macros.Item(i));
    writer.writeInt32(int(m_fonts.size()));
    for (const QString &name : m_fonts)
        writer.writeString(name);
    writer.writeInt32(int(m_objects.size()));
    for (const TRLGraphicObject *object : m_objects)
        object->SaveToStream(writer);
    return out;
}

void TRLGraphicSurface::SaveToStream(QIODevice *stream) const
{
    const QByteArray bytes = SaveToBytes();
    if (stream->write(bytes) != bytes.size())
        throw TRLException(stream->errorString());
}

void TRLGraphicSurface::LoadFromStream(QIODevice *stream, qint64 limit)
{
    TRLPageReader reader(stream, limit);
    load(reader);
}

void TRLGraphicSurface::LoadFromBytes(const QByteArray &bytes)
{
    TRLPageReader reader(bytes);
    load(reader);
}

void TRLGraphicSurface::load(TRLPageReader &reader)
{
    Clear();
    try {
        // Read byte by byte up to the end-of-file mark, as a page of another kind may be shorter.
        char signature[20];
        int length = 0;
        while (length < int(sizeof signature)) {
            signature[length] = char(reader.readUInt8());
            if (signature[length++] == 26)
                break;
        }
        if (length != int(sizeof RLPageSignature) || memcmp(signature, RLPageSignature, sizeof RLPageSignature) != 0)
            TRLPageReader::fail();
        m_width = reader.readInt32();
        m_height = reader.readInt32();
        for (qint32 n = reader.readCount(4); n > 0; --n)
            m_macros.AddItem(reader.readString());
        for (qint32 n = reader.readCount(4); n > 0; --n)
            m_fonts.append(reader.readString());
        // Every object takes at least its code and its length.
        for (qint32 n = reader.readCount(5); n > 0; --n) {
            const quint8 code = reader.readUInt8();
            const qint32 bodyLength = reader.readInt32();
            TRLGraphicObject *object = TRLGraphicObject::Create(code, this);
            if (!object) {
                reader.skip(bodyLength);
                continue;
            }
            const qint64 outerEnd = reader.beginBlock(bodyLength);
            object->LoadFromStream(reader);
            reader.endBlock(outerEnd);
        }
    } catch (...) {
        Clear();
        throw;
    }
    // What was just read equals what is stored.
    m_modified = false;
}

void TRLGraphicSurface::PaintTo(TRLReplayCanvas &canvas) const
{
    for (const TRLGraphicObject *object : m_objects)
        object->PaintTo(canvas);
}

void TRLGraphicSurface::PaintTo(QPainter *painter, int offsetX, int offsetY, double factorX, double factorY) const
{
    TRLReplayCanvas canvas(painter, offsetX, offsetY, factorX, factorY);
    PaintTo(canvas);
}

void TRLGraphicSurface::SetStorage(TRLGraphicStorage *storage)
{
    if (storage == m_storage)
        return;
    if (m_storage)
        m_storage->takeFromCache(this);
    m_storage = storage;
    m_pageIndex = -1; // a page number of another store means nothing here
}

int TRLGraphicSurface::Orientation() const
{
    return m_macros.IntValue(orientationKey, 1);
}

void TRLGraphicSurface::SetOrientation(int orientation)
{
    m_macros.SetIntValue(orientationKey, orientation);
}

double TRLGraphicSurface::PaperWidth() const
{
    return m_macros.FloatValue(paperWidthKey);
}

void TRLGraphicSurface::SetPaperWidth(double mm)
{
    m_macros.SetFloatValue(paperWidthKey, mm);
}

double TRLGraphicSurface::PaperHeight() const
{
    return m_macros.FloatValue(paperHeightKey);
}

void TRLGraphicSurface::SetPaperHeight(double mm)
{
    m_macros.SetFloatValue(paperHeightKey, mm);
}
