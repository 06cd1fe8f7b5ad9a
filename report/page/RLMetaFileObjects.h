#pragma once
// The recorded graphic objects of a page and their attribute records (colour, pen, brush, font),
// each as it is stored in the page format.

#include "report/base/RLTypes.h"

#include <QBrush>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPen>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QtGlobal>

class TRLGraphicSurface;
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
    // Numbers as the page values keep them: integers, and millimetres in fixed-point text with
    // four decimals and a point; a missing or unreadable value gives the fallback.
    int IntValue(const QString &name, int fallback) const;
    double FloatValue(const QString &name, double fallback = 0) const;
    void SetIntValue(const QString &name, int value) { SetValue(name, QString::number(value)); }
    void SetFloatValue(const QString &name, double value) { SetValue(name, QString::number(value, 'f', 4)); }
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

// Kinds drawn with a pen and a brush; both are stored after the base fields unless a kind puts
// its own fields first.
class TRLShapeObject : public TRLGraphicObject
{
public:
    using TRLGraphicObject::TRLGraphicObject;
    void Assign(const TRLGraphicObject &source) override;
    void Inflate(double xFactor, double yFactor) override;

    TRLMetaPen Pen;
    TRLMetaBrush Brush;

protected:
    void saveBody(TRLPageWriter &writer) const override;
    void loadBody(TRLPageReader &reader) override;
    void savePenAndBrush(TRLPageWriter &writer) const;
    void loadPenAndBrush(TRLPageReader &reader);
};

class TRLLineObject : public TRLShapeObject
{
public:
    using TRLShapeObject::TRLShapeObject;
    Kind Code() const override { return LineKind; }
    void PaintTo(TRLReplayCanvas &canvas) const override;
    void Assign(const TRLGraphicObject &source) override;
    void Offset(int dx, int dy) override;
    void Inflate(double xFactor, double yFactor) override;

    QPoint FromPoint;
    QPoint ToPoint;

protected:
    void saveBody(TRLPageWriter &writer) const override; // the points come before pen and brush
    void loadBody(TRLPageReader &reader) override;
};

class TRLRectangleObject : public TRLShapeObject
{
public:
    using TRLShapeObject::TRLShapeObject;
    Kind Code() const override { return RectangleKind; }
    void PaintTo(TRLReplayCanvas &canvas) const override;
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

class TRLEllipseObject : public TRLShapeObject
{
public:
    using TRLShapeObject::TRLShapeObject;
    Kind Code() const override { return EllipseKind; }
    void PaintTo(TRLReplayCanvas &canvas) const override;
};

class TRLPolygonObject : public TRLShapeObject
{
public:
    using TRLShapeObject::TRLShapeObject;
    Kind Code() const override { return PolygonKind; }
    void PaintTo(TRLReplayCanvas &canvas) const override;
    void Assign(const TRLGraphicObject &source) override;
    void Offset(int dx, int dy) override;
    void Inflate(double xFactor, double yFactor) override;

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

    // Largest picture replay decodes: bounds what a hostile page can make it allocate.
    static constexpr qint64 MaxPixels = 16LL * 1024 * 1024;

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
