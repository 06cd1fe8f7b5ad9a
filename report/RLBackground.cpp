#include "report/RLBackground.h"

#include "report/base/RLUtils.h"
#include "report/page/RLMetaFile.h"

#include <QPainter>

// --- background ------------------------------------------------------------------------------

void TRLBackground::SetAutoSize(bool on)
{
    m_autoSize = on;
    followPicture();
}

void TRLBackground::SetPicture(const QImage &picture)
{
    m_picture = picture;
    followPicture();
}

void TRLBackground::followPicture()
{
    if (m_autoSize && !m_picture.isNull()) {
        m_width = m_picture.width();
        m_height = m_picture.height();
    }
}

TRLRect TRLBackground::alignedRect(const TRLRect &a, int w, int h) const
{
    const int cx = (a.Left + a.Right - w) / 2;
    const int cy = (a.Top + a.Bottom - h) / 2;
    switch (m_align) {
    case faNone: case faLeftTop: return TRLRect(a.Left, a.Top, a.Left + w, a.Top + h);
    case faLeft: case faLeftMost: return TRLRect(a.Left, a.Top, a.Left + w, a.Bottom);
    case faTop: return TRLRect(a.Left, a.Top, a.Right, a.Top + h);
    case faRight: case faRightMost: return TRLRect(a.Right - w, a.Top, a.Right, a.Bottom);
    case faBottom: return TRLRect(a.Left, a.Bottom - h, a.Right, a.Bottom);
    case faClient: return a;
    case faRightTop: return TRLRect(a.Right - w, a.Top, a.Right, a.Top + h);
    case faLeftBottom: return TRLRect(a.Left, a.Bottom - h, a.Left + w, a.Bottom);
    case faRightBottom: return TRLRect(a.Right - w, a.Bottom - h, a.Right, a.Bottom);
    case faCenter: return TRLRect(cx, cy, cx + w, cy + h);
    case faCenterLeft: case faClientLeft: case faLeftOnly: return TRLRect(a.Left, cy, a.Left + w, cy + h);
    case faCenterTop: case faClientTop: case faTopOnly: return TRLRect(cx, a.Top, cx + w, a.Top + h);
    case faCenterRight: case faClientRight: case faRightOnly: return TRLRect(a.Right - w, cy, a.Right, cy + h);
    case faCenterBottom: case faClientBottom: case faBottomOnly: return TRLRect(cx, a.Bottom - h, cx + w, a.Bottom);
    case faHeight: return TRLRect(cx, a.Top, cx + w, a.Bottom);
    case faWidth: return TRLRect(a.Left, cy, a.Right, cy + h);
    }
    return a;
}

void TRLBackground::Paint(TRLGraphicSurface *surface, const TRLRect &area) const
{
    if (m_picture.isNull() || m_picture.width() <= 0 || m_picture.height() <= 0)
        return;
    const int w = m_width;
    const int h = m_height;
    if (m_arrange == baAligned || m_arrange == baCenter) {
        TRLRect r = m_arrange == baCenter
            ? TRLRect((area.Left + area.Right - w) / 2, (area.Top + area.Bottom - h) / 2, 0, 0)
            : alignedRect(area, w, h);
        if (m_arrange == baCenter) {
            r.Right = r.Left + w;
            r.Bottom = r.Top + h;
        }
        if (!m_stretch) {
            r.Right = r.Left + m_picture.width();
            r.Bottom = r.Top + m_picture.height();
        }
        surface->StretchDraw(r, m_picture);
        return;
    }
    // Tiled: one bitmap of the area's size, stretched into the area. Bounded so that a huge or
    // degenerate site cannot ask for an unbounded bitmap or an endless loop.
    constexpr int maxSide = 16384;
    if (w <= 0 || h <= 0 || area.Width() <= 0 || area.Height() <= 0 || area.Width() > maxSide
        || area.Height() > maxSide)
        return;
    QImage tiles(area.Width(), area.Height(), QImage::Format_RGB32);
    tiles.fill(Qt::white);
    {
        QPainter p(&tiles);
        int row = 0;
        for (int y = 0; y < tiles.height(); y += h, ++row) {
            const int startX = (m_arrange == baDistributed && row % 2 == 1) ? -(w / 2) : 0;
            for (int x = startX; x < tiles.width(); x += w)
                p.drawImage(QRect(x, y, w, h), m_picture);
        }
    }
    surface->StretchDraw(area, tiles);
}

// --- gradient --------------------------------------------------------------------------------

bool TRLDegradeEffect::IsActive(const QColor &siteColor) const
{
    return m_direction != ddNone && siteColor.rgb() != m_oppositeColor.rgb();
}

void TRLDegradeEffect::Paint(TRLGraphicSurface *surface, const TRLRect &a, const QColor &siteColor) const
{
    const bool horizontal = m_direction == ddHorizontal;
    const qint64 extent = horizontal ? a.Width() : a.Height();
    // A granularity below one would divide by zero or never advance; a huge one still makes one
    // strip, so the sums below are taken in 64 bits.
    const qint64 g = qMax(1, m_granularity);
    if (extent <= 0)
        return;
    const qint64 n = (extent + g - 1) / g;
    const int c0[3] = {siteColor.red(), siteColor.green(), siteColor.blue()};
    const int c1[3] = {m_oppositeColor.red(), m_oppositeColor.green(), m_oppositeColor.blue()};
    for (qint64 e = 0; e < n; ++e) {
        const long double x = static_cast<long double>(e) / n;
        int c[3];
        for (int i = 0; i < 3; ++i)
            c[i] = qBound(0, c0[i] + RLRound(c1[i] * x) - RLRound(c0[i] * x), 255);
        TRLRect strip = a;
        if (horizontal) {
            strip.Left = int(a.Left + g * e);
            strip.Right = int(qMin<qint64>(strip.Left + g, a.Right));
        } else {
            strip.Top = int(a.Top + g * e);
            strip.Bottom = int(qMin<qint64>(strip.Top + g, a.Bottom));
        }
        surface->SetBrush(QBrush(QColor(c[0], c[1], c[2]), Qt::SolidPattern));
        surface->FillRect(strip);
    }
}
