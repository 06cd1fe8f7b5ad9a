#pragma once
// A shape: TRLDraw, whose points (a built-in kind or DrawData) are fitted into its rectangle,
// rotated and recorded as one polygon.

#include "report/RLControl.h"

#include <QBrush>
#include <QPen>
#include <QPoint>
#include <QStringList>
#include <QVector>

enum TRLDrawKind { dkRectangle, dkLine, dkTriangle, dkElipse, dkArrow, dkCustom };
enum TRLDrawOption { doKeepAspectRatio = 1, doKeepSize = 2, doKeepVisible = 4 };
Q_DECLARE_FLAGS(TRLDrawOptions, TRLDrawOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TRLDrawOptions)

// The unit points of a built-in kind (none for dkCustom).
QVector<QPoint> RLDrawKindPoints(TRLDrawKind kind);
// Pairs of unsigned numbers separated by blanks, tabs, line breaks or character 26; reading stops
// at anything else and a number without a partner is dropped.
QVector<QPoint> RLParseDrawData(const QString &text);

class TRLCustomDraw : public TRLCustomControl
{
    Q_OBJECT
public:
    explicit TRLCustomDraw(QObject *owner = nullptr);

    TRLDrawKind DrawKind() const { return m_drawKind; }
    // A built-in kind also rewrites DrawData with its points.
    void SetDrawKind(TRLDrawKind kind);
    double Angle() const { return m_angle; }
    void SetAngle(double degrees) { m_angle = degrees; }
    QStringList DrawData() const { return m_drawData; }
    // Points of one's own make the kind dkCustom.
    void SetDrawData(const QStringList &data);
    bool StoresDrawData() const { return m_drawKind == dkCustom; }
    int DrawWidth() const { return m_drawWidth; }
    void SetDrawWidth(int width) { m_drawWidth = width; }
    int DrawHeight() const { return m_drawHeight; }
    void SetDrawHeight(int height) { m_drawHeight = height; }
    bool StoresDrawSize() const { return m_drawWidth != 0 || m_drawHeight != 0; }
    TRLDrawOptions Options() const { return m_options; }
    void SetOptions(TRLDrawOptions options) { m_options = options; }
    const QPen &Pen() const { return m_pen; }
    void SetPen(const QPen &pen) { m_pen = pen; }
    const QBrush &Brush() const { return m_brush; }
    void SetBrush(const QBrush &brush) { m_brush = brush; }
    bool Center() const { return m_center; }
    void SetCenter(bool on) { m_center = on; }

    // Reads the "Kind" property of layouts written by earlier versions; false for an unknown value.
    bool SetKind(const QString &oldKind);

    TRLBeforePrintEvent BeforePrint;

    void Print() override;
    // The points as Print records them, for a given rectangle inside the site.
    QVector<QPoint> ShapePoints(const TRLRect &rect) const;

protected:
    bool DoBeforePrint() override { return RLAskBeforePrint(this, BeforePrint); }
    bool SizesWidth() const override { return false; }
    bool SizesHeight() const override { return false; }

private:
    TRLDrawKind m_drawKind = dkRectangle;
    double m_angle = 0;
    QStringList m_drawData;
    int m_drawWidth = 0;
    int m_drawHeight = 0;
    TRLDrawOptions m_options;
    QPen m_pen{Qt::black, 1, Qt::SolidLine};
    QBrush m_brush{Qt::white, Qt::SolidPattern};
    bool m_center = true;
};

class TRLDraw : public TRLCustomDraw
{
    Q_OBJECT
public:
    explicit TRLDraw(QObject *owner = nullptr) : TRLCustomDraw(owner) {}
};
