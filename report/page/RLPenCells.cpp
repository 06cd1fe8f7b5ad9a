#include "report/page/RLPenCells.h"

#include "report/page/RLMetaFileMath.h"

#include <algorithm>

namespace {

// Device coordinates stay far outside any real page but well inside int arithmetic.
constexpr qint64 deviceLimit = 1 << 24;

int mapped(int offset, int value, double factor)
{
    return int(std::clamp<qint64>(qint64(offset) + RLMeta::scaled(value, factor), -deviceLimit, deviceLimit));
}

} // namespace

int TRLDeviceMap::X(int x) const
{
    return mapped(OffsetX, x, FactorX);
}

int TRLDeviceMap::Y(int y) const
{
    return mapped(OffsetY, y, FactorY);
}

TRLPenPattern TRLPenPattern::Of(TRLMetaPenStyle style)
{
    static const int dash[] = {3, 1};
    static const int dot[] = {1, 1};
    static const int dashDot[] = {2, 1, 1, 1};
    static const int dashDotDot[] = {3, 1, 1, 1, 1, 1};
    switch (style) {
    case mpsDash: return {dash, 2};
    case mpsDot: return {dot, 2};
    case mpsDashDot: return {dashDot, 4};
    case mpsDashDotDot: return {dashDotDot, 6};
    default: return {};
    }
}

TRLPenStroke::TRLPenStroke(const TRLDeviceMap &map, int reportWidth, int deviceWidth, TRLMetaPenStyle style,
                           const QRect &visible)
    : m_map(map), m_reportWidth(std::max(reportWidth, 0)), m_deviceWidth(std::max(deviceWidth, 0)),
      m_pattern(TRLPenPattern::Of(style)), m_visible(visible)
{
    m_cells.setFillRule(Qt::WindingFill);
    m_whole.setFillRule(Qt::WindingFill);
}

// The device pixels of the cells from the one at first to the one at last, widened by the pen.
TRLPenStroke::Span TRLPenStroke::spanX(int first, int last) const
{
    if (m_reportWidth == 0) {
        const int from = m_map.X(first);
        return {from, std::max(m_map.X(last) + 1, from + 1)};
    }
    const qint64 lead = m_reportWidth / 2;
    const int from = m_map.X(RLMeta::clampToInt(qint64(first) - lead));
    const int to = m_map.X(RLMeta::clampToInt(qint64(last) - lead + m_reportWidth));
    return {from, std::max(to, from + 1)};
}

TRLPenStroke::Span TRLPenStroke::spanY(int first, int last) const
{
    if (m_reportWidth == 0) {
        const int from = m_map.Y(first);
        return {from, std::max(m_map.Y(last) + 1, from + 1)};
    }
    const qint64 lead = m_reportWidth / 2;
    const int from = m_map.Y(RLMeta::clampToInt(qint64(first) - lead));
    const int to = m_map.Y(RLMeta::clampToInt(qint64(last) - lead + m_reportWidth));
    return {from, std::max(to, from + 1)};
}

qreal TRLPenStroke::centreX(int x) const
{
    const Span s = spanX(x, x);
    return (qreal(s.from) + qreal(s.to)) / 2;
}

qreal TRLPenStroke::centreY(int y) const
{
    const Span s = spanY(y, y);
    return (qreal(s.from) + qreal(s.to)) / 2;
}

void TRLPenStroke::Add(const QPoint &a, const QPoint &b)
{
    for (const auto &[p, q] : m_added)
        if ((p == a && q == b) || (p == b && q == a))
            return;
    m_added.emplace_back(a, b);

    const bool patterned = !m_pattern.IsSolid();
    if (patterned && m_deviceWidth <= 1) {
        m_thin.emplace_back(QPoint(m_map.X(a.x()), m_map.Y(a.y())), QPoint(m_map.X(b.x()), m_map.Y(b.y())));
        return;
    }
    if (a.x() != b.x() && a.y() != b.y()) {
        m_sloping.emplace_back(centreX(a.x()), centreY(a.y()), centreX(b.x()), centreY(b.y()));
        return;
    }
    const Span x = spanX(std::min(a.x(), b.x()), std::max(a.x(), b.x()));
    const Span y = spanY(std::min(a.y(), b.y()), std::max(a.y(), b.y()));
    const QRect whole(QPoint(x.from, y.from), QPoint(x.to - 1, y.to - 1));
    m_whole.addRect(whole);
    if (!patterned) {
        m_cells.addRect(whole);
        return;
    }
    const bool horizontal = a.y() == b.y() && a.x() != b.x();
    addDashes(whole, horizontal, horizontal ? b.x() < a.x() : b.y() < a.y());
}

void TRLPenStroke::AddPolygon(const QPolygon &points, bool closed)
{
    if (points.size() == 1)
        Add(points.first(), points.first());
    for (qsizetype i = 0; i + 1 < points.size(); ++i)
        Add(points.at(i), points.at(i + 1));
    if (closed && points.size() > 2)
        Add(points.last(), points.first());
}

// Strokes and gaps from the segment's start, strokes first, each step four pen widths a unit.
// Only the stretch that can show is walked, from a whole pattern so the dashes fall where a walk
// from the very start would put them.
void TRLPenStroke::addDashes(const QRect &whole, bool horizontal, bool backwards)
{
    const qint64 start = horizontal ? whole.left() : whole.top();
    const qint64 end = horizontal ? qint64(whole.right()) + 1 : qint64(whole.bottom()) + 1;
    const qint64 length = end - start;
    const qint64 seenFrom = horizontal ? m_visible.left() : m_visible.top();
    const qint64 seenTo = horizontal ? qint64(m_visible.right()) + 1 : qint64(m_visible.bottom()) + 1;
    // Distances along the walk that can show.
    const qint64 firstSeen = backwards ? end - seenTo : seenFrom - start;
    const qint64 lastSeen = backwards ? end - seenFrom : seenTo - start;
    qint64 period = 0;
    for (int i = 0; i < m_pattern.Count; ++i)
        period += 4LL * m_deviceWidth * m_pattern.Units[i];
    if (period <= 0 || lastSeen <= 0 || firstSeen >= length)
        return;
    qint64 position = firstSeen > 0 ? (firstSeen / period) * period : 0;
    for (int index = 0; position < length && position < lastSeen; index = (index + 1) % m_pattern.Count) {
        const qint64 next = std::min(position + 4LL * m_deviceWidth * m_pattern.Units[index], length);
        if (index % 2 == 0) {
            const qint64 from = backwards ? end - next : start + position;
            const qint64 to = backwards ? end - position : start + next;
            m_cells.addRect(horizontal ? QRectF(qreal(from), whole.top(), qreal(to - from), whole.height())
                                       : QRectF(whole.left(), qreal(from), whole.width(), qreal(to - from)));
        }
        position = next;
    }
}
