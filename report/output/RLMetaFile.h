#pragma once
// Recorded pages: report controls draw onto a TRLGraphicSurface, which records one graphic object
// per call instead of painting; a TRLGraphicStorage keeps the finished pages in a temporary page
// file (five in memory) and hands them back to output, which replays them onto a QPainter.

#include "report/RLTypes.h"

#include <QBrush>
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPen>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QtGlobal>

#include <QObject>

#include <memory>
#include <vector>

class QFile;
class QIODevice;
class QPainter;
class TRLGraphicSurface;
class TRLGraphicStorage;
class TRLPageReader;
class TRLPageWriter;
class TRLReplayCanvas;

// Steps the engine-wide drawing-group counter and returns its new value; every report control
// calls it once before drawing so that all its objects share one group.
int NextDrawGroup();

// ---------------------------------------------------------------------------------------------
// Attribute records of the objects. Every enumeration is one stored byte numbered from 1; a byte
// outside its range is kept as it is and falls back to the default when mapped to Qt.

enum TRLMetaPenMode : quint8 {
    mpmBlack = 1, mpmWhite, mpmNop, mpmNot, mpmCopy, mpmNotCopy, mpmMergePenNot, mpmMaskPenNot,
    mpmMergeNotPen, mpmMaskNotPen, mpmMerge, mpmNotMerge, mpmMask, mpmNotMask, mpmXor, mpmNotXor
};
enum TRLMetaPenStyle : quint8 { mpsSolid = 1, mpsDash, mpsDot, mpsDashDot, mpsDashDotDot, mpsClear };
enum TRLMetaBrushStyle : quint8 {
    mbsSolid = 1, mbsClear, mbsHorizontal, mbsVertical, mbsFDiagonal, mbsBDiagonal, mbsCross, mbsDiagCross
};
enum TRLMetaFontPitch : quint8 { mfpDefault = 1, mfpVariable, mfpFixed };
// Bits of TRLMetaFont::Style; only the low four are kept.
enum TRLMetaFontStyle : quint8 { mfsBold = 1, mfsItalic = 2, mfsUnderline = 4, mfsStrikeOut = 8 };

enum TRLMetaTextAlignment : quint8 { mtaLeft = 1, mtaRight, mtaCenter, mtaJustify };
enum TRLMetaTextLayout : quint8 { mtlTop = 1, mtlBottom, mtlCenter };
// Bits of TRLTextObject::TextOptions.
enum TRLMetaTextFlag : quint16 {
    MetaTextFlagUnclipped = 1, // drawn at its origin without clipping to BoundsRect
    MetaTextFlagKeepWhole = 4, // a band split across pages must not cut through it
};

struct TRLMetaColor
{
    quint8 Red = 0;
    quint8 Green = 0;
    quint8 Blue = 0;

    static TRLMetaColor FromQColor(const QColor &color);
    QColor ToQColor() const { return QColor(Red, Green, Blue); }
    bool operator==(const TRLMetaColor &o) const { return Red == o.Red && Green == o.Green && Blue == o.Blue; }
};

struct TRLMetaPen
{
    TRLMetaColor Color;
    TRLMetaPenMode Mode = mpmCopy;
    TRLMetaPenStyle Style = mpsSolid;
    qint32 Width = 0; // report pixels; 0 is the thinnest line the device draws

    void FromQPen(const QPen &pen, TRLMetaPenMode mode = mpmCopy);
    Qt::PenStyle QtStyle() const;
    bool operator==(const TRLMetaPen &o) const
    {
        return Color == o.Color && Mode == o.Mode && Style == o.Style && Width == o.Width;
    }
};

struct TRLMetaBrush
{
    TRLMetaColor Color;
    TRLMetaBrushStyle Style = mbsSolid;

    void FromQBrush(const QBrush &brush);
    Qt::BrushStyle QtStyle() const;
    QBrush ToQBrush() const;
    bool operator==(const TRLMetaBrush &o) const { return Color == o.Color && Style == o.Style; }
};

// The name lives in the page's font list (see TRLTextObject::FontName).
struct TRLMetaFont
{
    qint32 PixelsPerInch = 72; // the resolution for which Height was given
    quint8 CharSet = 0;
    TRLMetaColor Color;
    qint32 Height = 0;
    qint32 NameId = 0;
    TRLMetaFontPitch Pitch = mfpDefault;
    qint32 Size = 0; // points
    quint8 Style = 0;

    bool operator==(const TRLMetaFont &o) const
    {
        return PixelsPerInch == o.PixelsPerInch && CharSet == o.CharSet && Color == o.Color && Height == o.Height
            && NameId == o.NameId && Pitch == o.Pitch && Size == o.Size && Style == o.Style;
    }
};

using TRLMetaPointArray = QVector<QPoint>;

// An ordered list of name=value texts, looked up by name without regard to case: the page macros
// and the store header.
class TRLNameValueList
{
public:
    int Count() const { return m_items.size(); }
    const QString &Item(int index) const { return m_items.at(index); } // "name=value"
    void AddItem(const QString &item) { m_items.append(item); }
    bool Contains(const QString &name) const { return indexOf(name) >= 0; }
    QString Value(const QString &name) const;
    void SetValue(const QString &name, const QString &value);
    void Clear() { m_items.clear(); }

private:
    int indexOf(const QString &name) const;
    QStringList m_items;
};

// ---------------------------------------------------------------------------------------------
// Graphic objects. Creating one appends it to its surface; deleting it takes it out again.

class TRLGraphicObject
{
public:
    // Codes by which a stored page names the kinds.
    enum Kind : quint8 {
        PixelKind = 1, LineKind, RectangleKind, TextKind, FillRectKind, EllipseKind, PolygonKind,
        PolylineKind, ImageKind, SetClipRectKind, ResetClipRectKind
    };

    explicit TRLGraphicObject(TRLGraphicSurface *surface);
    virtual ~TRLGraphicObject();
    TRLGraphicObject(const TRLGraphicObject &) = delete;
    TRLGraphicObject &operator=(const TRLGraphicObject &) = delete;

    TRLGraphicSurface *Surface() const { return m_surface; }
    virtual Kind Code() const = 0;

    void SaveToStream(TRLPageWriter &writer) const;
    void LoadFromStream(TRLPageReader &reader); // throws TRLException on bad bytes
    virtual void PaintTo(TRLReplayCanvas &canvas) const = 0;
    // Copies every field of an object of the same kind (the surface stays).
    virtual void Assign(const TRLGraphicObject &source);
    virtual void Offset(int dx, int dy);
    virtual void Inflate(double xFactor, double yFactor);
    // A new object of the same kind on another surface, assigned from this one.
    TRLGraphicObject *Clone(TRLGraphicSurface *surface) const;

    // Creates an empty object of the given kind on the surface, or none for an unknown code.
    static TRLGraphicObject *Create(quint8 code, TRLGraphicSurface *surface);

    TRLRect BoundsRect;
    qint32 DrawGroup = 0;
    qint32 SourceControlId = 0;
    qint32 Tag = 0; // not stored

protected:
    virtual void saveBody(TRLPageWriter &writer) const;
    virtual void loadBody(TRLPageReader &reader);

private:
    friend class TRLGraphicSurface;
    TRLGraphicSurface *m_surface;
};

class TRLPixelObject : public TRLGraphicObject
{
public:
    using TRLGraphicObject::TRLGraphicObject;
    Kind Code() const override { return PixelKind; }
    void PaintTo(TRLReplayCanvas &canvas) const override;
    void Assign(const TRLGraphicObject &source) override;

    TRLMetaColor Color;

protected:
    void saveBody(TRLPageWriter &writer) const override;
    void loadBody(TRLPageReader &reader) override;
};

class TRLLineObject : public TRLGraphicObject
{
public:
    using TRLGraphicObject::TRLGraphicObject;
    Kind Code() const override { return LineKind; }
    void PaintTo(TRLReplayCanvas &canvas) const override;
    void Assign(const TRLGraphicObject &source) override;
    void Offset(int dx, int dy) override;
    void Inflate(double xFactor, double yFactor) override;

    QPoint FromPoint;
    QPoint ToPoint;
    TRLMetaPen Pen;
    TRLMetaBrush Brush;

protected:
    void saveBody(TRLPageWriter &writer) const override;
    void loadBody(TRLPageReader &reader) override;
};

class TRLRectangleObject : public TRLGraphicObject
{
public:
    using TRLGraphicObject::TRLGraphicObject;
    Kind Code() const override { return RectangleKind; }
    void PaintTo(TRLReplayCanvas &canvas) const override;
    void Assign(const TRLGraphicObject &source) override;
    void Inflate(double xFactor, double yFactor) override;

    TRLMetaPen Pen;
    TRLMetaBrush Brush;

protected:
    void saveBody(TRLPageWriter &writer) const override;
    void loadBody(TRLPageReader &reader) override;
};

class TRLTextObject : public TRLGraphicObject
{
public:
    using TRLGraphicObject::TRLGraphicObject;
    Kind Code() const override { return TextKind; }
    void PaintTo(TRLReplayCanvas &canvas) const override;
    void Assign(const TRLGraphicObject &source) override;
    void Offset(int dx, int dy) override;
    void Inflate(double xFactor, double yFactor) override;

    // The font name is kept in the surface's font list; these look it up and enter it.
    QString FontName() const;
    void SetFontName(const QString &name);
    // Text with its macros replaced by the page's and the store's values.
    QString DisplayText() const;

    TRLMetaTextAlignment Alignment = mtaLeft;
    TRLMetaTextLayout Layout = mtlTop;
    QPoint Origin;
    quint16 TextOptions = MetaTextFlagUnclipped | MetaTextFlagKeepWhole;
    QString Text;
    TRLMetaBrush Brush;
    TRLMetaFont Font;

protected:
    void saveBody(TRLPageWriter &writer) const override;
    void loadBody(TRLPageReader &reader) override;
};

class TRLFillRectObject : public TRLGraphicObject
{
public:
    using TRLGraphicObject::TRLGraphicObject;
    Kind Code() const override { return FillRectKind; }
    void PaintTo(TRLReplayCanvas &canvas) const override;
    void Assign(const TRLGraphicObject &source) override;

    TRLMetaBrush Brush;

protected:
    void saveBody(TRLPageWriter &writer) const override;
    void loadBody(TRLPageReader &reader) override;
};

class TRLEllipseObject : public TRLGraphicObject
{
public:
    using TRLGraphicObject::TRLGraphicObject;
    Kind Code() const override { return EllipseKind; }
    void PaintTo(TRLReplayCanvas &canvas) const override;
    void Assign(const TRLGraphicObject &source) override;
    void Inflate(double xFactor, double yFactor) override;

    TRLMetaPen Pen;
    TRLMetaBrush Brush;

protected:
    void saveBody(TRLPageWriter &writer) const override;
    void loadBody(TRLPageReader &reader) override;
};

class TRLPolygonObject : public TRLGraphicObject
{
public:
    using TRLGraphicObject::TRLGraphicObject;
    Kind Code() const override { return PolygonKind; }
    void PaintTo(TRLReplayCanvas &canvas) const override;
    void Assign(const TRLGraphicObject &source) override;
    void Offset(int dx, int dy) override;
    void Inflate(double xFactor, double yFactor) override;

    TRLMetaPen Pen;
    TRLMetaBrush Brush;
    TRLMetaPointArray Points;

protected:
    void saveBody(TRLPageWriter &writer) const override;
    void loadBody(TRLPageReader &reader) override;
};

class TRLPolylineObject : public TRLGraphicObject
{
public:
    using TRLGraphicObject::TRLGraphicObject;
    Kind Code() const override { return PolylineKind; }
    void PaintTo(TRLReplayCanvas &canvas) const override;
    void Assign(const TRLGraphicObject &source) override;
    void Offset(int dx, int dy) override;
    void Inflate(double xFactor, double yFactor) override;

    TRLMetaPen Pen;
    TRLMetaPointArray Points;

protected:
    void saveBody(TRLPageWriter &writer) const override;
    void loadBody(TRLPageReader &reader) override;
};

class TRLImageObject : public TRLGraphicObject
{
public:
    using TRLGraphicObject::TRLGraphicObject;
    Kind Code() const override { return ImageKind; }
    void PaintTo(TRLReplayCanvas &canvas) const override;
    void Assign(const TRLGraphicObject &source) override;

    // "NIL", "BMP" + a BMP file or "ICO" + an ICO file.
    static QByteArray PictureData(const QImage &picture);
    static QImage PictureFromData(const QByteArray &data);

    QByteArray Data;
    bool WholeWidths = false;

protected:
    void saveBody(TRLPageWriter &writer) const override;
    void loadBody(TRLPageReader &reader) override;
};

class TRLSetClipRectObject : public TRLGraphicObject
{
public:
    using TRLGraphicObject::TRLGraphicObject;
    Kind Code() const override { return SetClipRectKind; }
    void PaintTo(TRLReplayCanvas &canvas) const override;
};

class TRLResetClipRectObject : public TRLGraphicObject
{
public:
    using TRLGraphicObject::TRLGraphicObject;
    Kind Code() const override { return ResetClipRectKind; }
    void PaintTo(TRLReplayCanvas &canvas) const override;
};

// ---------------------------------------------------------------------------------------------
// Where a page is replayed: device x = OffsetX + round(x * FactorX), likewise for y. Keeps the
// clip stack of the set/reset clip objects; clipping is applied to the painter as it changes.
class TRLReplayCanvas
{
public:
    // The initial clip is the given device rectangle (none when empty). FontPixelsPerInch is the
    // resolution the painter's fonts are sized for; 0 takes the device's vertical resolution.
    TRLReplayCanvas(QPainter *painter, int offsetX, int offsetY, double factorX, double factorY,
                    const QRect &clip = QRect(), int fontPixelsPerInch = 0);
    ~TRLReplayCanvas(); // removes the clipping it applied

    QPainter *Painter() const { return m_painter; }
    int OffsetX() const { return m_offsetX; }
    int OffsetY() const { return m_offsetY; }
    double FactorX() const { return m_factorX; }
    double FactorY() const { return m_factorY; }
    int FontPixelsPerInch() const { return m_fontPixelsPerInch; }

    int MapX(int x) const;
    int MapY(int y) const;
    QPoint MapPoint(const QPoint &p) const { return QPoint(MapX(p.x()), MapY(p.y())); }
    // Corners mapped alone; an empty result grows to one pixel on that axis.
    TRLRect MapRect(const TRLRect &r) const;
    int MapPenWidth(int width) const;

    void PushClip(const TRLRect &deviceRect);
    void PopClip();
    const TRLRect &ClipRect() const { return m_clip; }
    // A visible area in device pixels that bounds the work for hostile coordinates.
    QRect WorkArea() const { return m_workArea; }

private:
    void applyClip();

    QPainter *m_painter;
    int m_offsetX;
    int m_offsetY;
    double m_factorX;
    double m_factorY;
    int m_fontPixelsPerInch;
    TRLRect m_clip; // empty: no clipping
    std::vector<TRLRect> m_clipStack;
    QRect m_workArea;
};

// ---------------------------------------------------------------------------------------------
// One recorded page in report pixels (origin at the paper's top-left corner).
class TRLGraphicSurface
{
public:
    TRLGraphicSurface();
    ~TRLGraphicSurface();
    TRLGraphicSurface(const TRLGraphicSurface &) = delete;
    TRLGraphicSurface &operator=(const TRLGraphicSurface &) = delete;

    // Recording: each call opens the surface, sets Modified and appends exactly one object.
    void FillRect(const TRLRect &rect);
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRLRect &rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    void Polygon(const TRLMetaPointArray &points);
    void TextRect(const TRLRect &rect, int x, int y, const QString &text, quint8 alignment = mtaLeft,
                  quint8 layout = mtlTop, quint16 textOptions = MetaTextFlagUnclipped | MetaTextFlagKeepWhole);
    void Draw(int x, int y, const QImage &graphic, bool wholeWidths = false);
    void StretchDraw(const TRLRect &rect, const QImage &graphic, bool wholeWidths = false);
    void FitDraw(const TRLRect &rect, const QImage &graphic, bool center);
    void CropDraw(const TRLRect &rect, const QImage &graphic, bool center);
    void SetClipRect(const TRLRect &rect);
    void ResetClipRect();

    void Open();
    void Close() { m_opened = false; }
    void Clear();

    int TextWidth(const QString &text) const;
    int TextHeight(const QString &text) const;

    void MergeSurface(int x, int y, const TRLGraphicSurface &source);
    void CopyRect(const TRLRect &dest, const TRLGraphicSurface &source, const TRLRect &sourceRect);
    // Moves row up until no keep-whole text is cut by it; true when the row stays above 0.
    bool FindCutRow(int &row) const;

    int ObjectCount() const { return int(m_objects.size()); }
    TRLGraphicObject *Objects(int index) const { return m_objects.at(size_t(index)); }

    void SaveToStream(QIODevice *stream) const;
    QByteArray SaveToBytes() const;
    // Clears first; throws TRLException("File is corrupted!") on any bad or missing byte.
    // limit bounds the bytes the page may take (-1: the rest of the stream).
    void LoadFromStream(QIODevice *stream, qint64 limit = -1);
    void LoadFromBytes(const QByteArray &bytes);

    // Replays every object; the canvas carries offset, factors and clipping.
    void PaintTo(TRLReplayCanvas &canvas) const;
    void PaintTo(QPainter *painter, int offsetX, int offsetY, double factorX, double factorY) const;

    TRLGraphicStorage *Storage() const { return m_storage; }
    void SetStorage(TRLGraphicStorage *storage);
    int PageIndex() const { return m_pageIndex; }
    void SetPageIndex(int index) { m_pageIndex = index; }

    int Width() const { return m_width; }
    void SetWidth(int width) { m_width = width; }
    int Height() const { return m_height; }
    void SetHeight(int height) { m_height = height; }
    QPoint PenPos() const { return m_penPos; }
    void SetPenPos(const QPoint &pos) { m_penPos = pos; }
    const TRLRect &Margins() const { return m_margins; }
    void SetMargins(const TRLRect &margins) { m_margins = margins; }
    bool Opened() const { return m_opened; }
    bool Modified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }

    const QBrush &Brush() const { return m_brush; }
    void SetBrush(const QBrush &brush) { m_brush = brush; }
    const QPen &Pen() const { return m_pen; }
    void SetPen(const QPen &pen) { m_pen = pen; }
    TRLMetaPenMode PenMode() const { return m_penMode; }
    void SetPenMode(TRLMetaPenMode mode) { m_penMode = mode; }
    const QFont &Font() const { return m_font; }
    void SetFont(const QFont &font) { m_font = font; }
    // A widget font has no colour of its own; text objects take this one.
    const QColor &FontColor() const { return m_fontColor; }
    void SetFontColor(const QColor &color) { m_fontColor = color; }

    const QStringList &Fonts() const { return m_fonts; }
    // Index of the name in Fonts (without regard to case), appended when absent.
    int FontNameId(const QString &name);
    const TRLRect &ClipRect() const { return m_clipRect; }
    int SourceControlId() const { return m_sourceControlId; }
    void SetSourceControlId(int id) { m_sourceControlId = id; }

    TRLNameValueList &Macros() { return m_macros; }
    const TRLNameValueList &Macros() const { return m_macros; }
    int Orientation() const;
    void SetOrientation(int orientation);
    double PaperWidth() const;
    void SetPaperWidth(double mm);
    double PaperHeight() const;
    void SetPaperHeight(double mm);

private:
    friend class TRLGraphicObject;
    friend class TRLGraphicStorage;
    template <class T> T *record(const TRLRect &bounds);
    void detach(TRLGraphicObject *object);
    void recordFont(TRLMetaFont &meta);

    TRLGraphicStorage *m_storage = nullptr;
    int m_pageIndex = -1;
    std::vector<TRLGraphicObject *> m_objects;
    QPoint m_penPos;
    int m_width = 0;
    int m_height = 0;
    QBrush m_brush;
    QFont m_font;
    QColor m_fontColor;
    QPen m_pen;
    TRLMetaPenMode m_penMode = mpmCopy;
    TRLRect m_margins;
    bool m_opened = false;
    bool m_modified = false;
    QStringList m_fonts;
    std::vector<TRLRect> m_clipStack;
    TRLRect m_clipRect;
    int m_sourceControlId = 0;
    TRLNameValueList m_macros;
    mutable std::unique_ptr<QImage> m_measureBitmap;
};

// ---------------------------------------------------------------------------------------------
// The page store of one report: every page goes to a temporary file, the last five stay in memory.
// A store without owner releases itself when the last output filter using it lets go.
class TRLGraphicStorage : public QObject
{
    Q_OBJECT
public:
    explicit TRLGraphicStorage(QObject *owner = nullptr);
    ~TRLGraphicStorage() override;

    // Takes the surface (the store owns it from now on), writes it and caches it.
    void Add(TRLGraphicSurface *surface);
    int PageCount() const { return int(m_pageOffsets.size()); }
    // The page n (from 0), from the cache or the page file; none when out of range or unreadable.
    // The surface belongs to the store and stays valid until five other pages have been fetched.
    TRLGraphicSurface *Pages(int n);
    void Clear();

    void Link(QObject *filter);
    void Unlink(QObject *filter);
    const QList<QObject *> &Filters() const { return m_filters; }

    TRLNameValueList &Header() { return m_header; }
    const TRLNameValueList &Header() const { return m_header; }
    QString Title() const;
    void SetTitle(const QString &title);
    int Orientation() const;
    void SetOrientation(int orientation);
    double PaperWidth() const;
    void SetPaperWidth(double mm);
    double PaperHeight() const;
    void SetPaperHeight(double mm);
    int FirstPageNumber() const;
    void SetFirstPageNumber(int number);
    int LastPageNumber() const;
    void SetLastPageNumber(int number);

    QString FileName() const { return m_fileName; }
    static constexpr int CacheSize = 5;

private:
    friend class TRLGraphicSurface;
    void writePage(TRLGraphicSurface *surface);
    void addToCache(TRLGraphicSurface *surface);
    void takeFromCache(TRLGraphicSurface *surface);
    TRLGraphicSurface *loadPage(int n);
    void releaseFile();

    std::vector<TRLGraphicSurface *> m_cache; // oldest first, owned
    std::vector<qint64> m_pageOffsets;
    std::unique_ptr<QFile> m_pageFile;
    QString m_fileName;
    TRLNameValueList m_header;
    QList<QObject *> m_filters;
};

// Text helpers of the page values: fixed four decimals with a point, read back leniently.
QString MetaFloatToText(double value);
double MetaTextToFloat(const QString &text, double fallback = 0);
