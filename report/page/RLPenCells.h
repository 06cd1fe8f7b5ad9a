#pragma once
// Where a pen's stroke lies on a device. A pen of width p at report pixel x covers the report pixel
// cells [x - p div 2, x - p div 2 + p), as the screen draws it, and on any device exactly the device
// area of those cells: a band's clip or an opaque box next to the cells then leaves the stroke whole,
// which a stroke centred on the scaled edge would not be.

#include "report/page/RLMetaFileObjects.h"

#include <QLine>
#include <QPainterPath>
#include <QPolygon>
#include <QRect>

#include <vector>

// Report pixels to device pixels: device = Offset + round(report * Factor), ties to even, kept
// within the range the replay works in.
struct TRLDeviceMap
{
    int OffsetX = 0;
    int OffsetY = 0;
    double FactorX = 1;
    double FactorY = 1;

    int X(int x) const;
    int Y(int y) const;
};

// Stroke and gap lengths of a patterned pen, in units of four device pen widths.
struct TRLPenPattern
{
    const int *Units = nullptr;
    int Count = 0;

    static TRLPenPattern Of(TRLMetaPenStyle style);
    bool IsSolid() const { return Units == nullptr; }
};

// The device geometry of one pen's segments, built before anything is painted.
class TRLPenStroke
{
public:
    // ReportWidth is the recorded width (0: one device pixel whatever the scale); DeviceWidth the
    // pen's width on the device. Visible bounds the dashes walked for hostile lengths.
    TRLPenStroke(const TRLDeviceMap &map, int reportWidth, int deviceWidth, TRLMetaPenStyle style,
                 const QRect &visible);

    // A segment in report pixels, both ends covered. One already added, either way round, is not
    // added again: a flat polygon goes there and back, and the way back would fill the dashes' gaps.
    void Add(const QPoint &a, const QPoint &b);
    void AddPolygon(const QPolygon &points, bool closed);
    // The device centre of the cells a report point's stroke covers.
    QPointF Centre(const QPoint &reportPoint) const { return {centreX(reportPoint.x()), centreY(reportPoint.y())}; }

    // Straight segments as device rectangles (nonzero winding): the dashes for a patterned pen.
    const QPainterPath &Cells() const { return m_cells; }
    // The same segments whole, what a brush shows through a patterned line's gaps.
    const QPainterPath &Whole() const { return m_whole; }
    // Sloping segments along the centre of their cells, for a square-capped pen of DeviceWidth; a
    // patterned pen walks its pattern along them.
    const std::vector<QLineF> &Sloping() const { return m_sloping; }
    // Patterned segments of a pen one device pixel wide, mapped end to end: the device's own dashes.
    const std::vector<QLine> &Thin() const { return m_thin; }

private:
    struct Span
    {
        int from; // device pixels, the first covered
        int to;   // and the one after the last
    };
    Span spanX(int first, int last) const;
    Span spanY(int first, int last) const;
    qreal centreX(int x) const;
    qreal centreY(int y) const;
    void addDashes(const QRect &whole, bool horizontal, bool backwards);

    TRLDeviceMap m_map;
    int m_reportWidth;
    int m_deviceWidth;
    TRLPenPattern m_pattern;
    QRect m_visible;
    std::vector<std::pair<QPoint, QPoint>> m_added;
    QPainterPath m_cells;
    QPainterPath m_whole;
    std::vector<QLineF> m_sloping;
    std::vector<QLine> m_thin;
};
