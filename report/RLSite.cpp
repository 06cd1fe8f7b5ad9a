#include "report/RLSite.h"

#include "report/RLReport.h"
#include "report/RLUtils.h"
#include "report/output/RLMetaFile.h"

#include <QPainter>
#include <algorithm>

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
    const int extent = horizontal ? a.Width() : a.Height();
    // A granularity below one would divide by zero or never advance.
    const int g = qMax(1, m_granularity);
    if (extent <= 0)
        return;
    const int n = (extent + g - 1) / g;
    const int c0[3] = {siteColor.red(), siteColor.green(), siteColor.blue()};
    const int c1[3] = {m_oppositeColor.red(), m_oppositeColor.green(), m_oppositeColor.blue()};
    for (int e = 0; e < n; ++e) {
        const long double x = static_cast<long double>(e) / n;
        int c[3];
        for (int i = 0; i < 3; ++i)
            c[i] = qBound(0, c0[i] + RLRound(c1[i] * x) - RLRound(c0[i] * x), 255);
        TRLRect strip = a;
        if (horizontal) {
            strip.Left = a.Left + g * e;
            strip.Right = qMin(strip.Left + g, a.Right);
        } else {
            strip.Top = a.Top + g * e;
            strip.Bottom = qMin(strip.Top + g, a.Bottom);
        }
        surface->SetBrush(QBrush(QColor(c[0], c[1], c[2]), Qt::SolidPattern));
        surface->FillRect(strip);
    }
}

// --- site ------------------------------------------------------------------------------------

TRLCustomSite::TRLCustomSite(QObject *owner)
    : TRLCustomControl(owner),
      m_margins(std::make_unique<TRLMargins>(this)),
      m_insideMargins(std::make_unique<TRLMargins>(this)),
      m_background(std::make_unique<TRLBackground>(this)),
      m_degrade(std::make_unique<TRLDegradeEffect>(this))
{
}

TRLCustomSite::~TRLCustomSite()
{
    m_destroying = true;
    // Children belong to their owner; they only lose their site here.
    for (TRLCustomControl *c : m_controls)
        c->m_parent = nullptr;
    m_controls.clear();
}

void TRLCustomSite::addControl(TRLCustomControl *control)
{
    if (!m_controls.contains(control))
        m_controls.append(control);
}

void TRLCustomSite::removeControl(TRLCustomControl *control)
{
    m_controls.removeAll(control);
    if (!m_destroying && !IsLoading())
        ArrangeChildren();
}

QList<TRLCustomControl *> TRLCustomSite::ControlsInCreationOrder() const
{
    QList<TRLCustomControl *> list = m_controls;
    std::stable_sort(list.begin(), list.end(), [](const TRLCustomControl *a, const TRLCustomControl *b) {
        if (a->Owner() != b->Owner())
            return a->Owner() != nullptr && b->Owner() == nullptr;
        return a->ComponentIndex() < b->ComponentIndex();
    });
    return list;
}

TRLRect TRLCustomSite::MarginRect() const
{
    const QMargins m = m_margins->toPixels();
    const TRLRect o = OuterRect();
    return TRLRect(o.Left + m.left(), o.Top + m.top(), o.Right - m.right(), o.Bottom - m.bottom());
}

TRLRect TRLCustomSite::BorderRect() const
{
    return Borders()->Shrink(MarginRect());
}

TRLRect TRLCustomSite::ClientRect() const
{
    const QMargins m = m_insideMargins->toPixels();
    const TRLRect b = BorderRect();
    return TRLRect(b.Left + m.left(), b.Top + m.top(), b.Right - m.right(), b.Bottom - m.bottom());
}

void TRLCustomSite::MarginsChanged()
{
    if (!IsLoading())
        ArrangeChildren();
}

void TRLCustomSite::FontChanged()
{
    for (TRLCustomControl *c : m_controls)
        if (c->ParentFont())
            c->applyParentFont(Font(), FontColor());
    TRLCustomControl::FontChanged();
}

void TRLCustomSite::ColorChanged()
{
    for (TRLCustomControl *c : m_controls)
        if (c->ParentColor())
            c->applyParentColor(Color());
}

void TRLCustomSite::BordersChanged()
{
    TRLCustomControl::BordersChanged();
    if (!IsLoading())
        ArrangeChildren();
}

bool TRLCustomSite::DoBeforePrint()
{
    bool printIt = true;
    if (BeforePrint)
        BeforePrint(this, printIt);
    return printIt;
}

void TRLCustomSite::Loaded()
{
    TRLCustomControl::Loaded();
    ArrangeChildren();
}

void TRLCustomSite::BeforeMeasureHeight()
{
    for (TRLCustomControl *c : ControlsInCreationOrder())
        c->MeasureHeight();
}

void TRLCustomSite::MeasureHeight()
{
    TRLCustomControl::MeasureHeight();
}

// --- arranging -------------------------------------------------------------------------------

namespace {

// Whether a goes before b in the list of the given Align value.
bool precedes(const TRLCustomControl *a, const TRLCustomControl *b, TRLControlAlign align)
{
    const int ka = TRLCustomSite::arrangeKindOf(a);
    const int kb = TRLCustomSite::arrangeKindOf(b);
    if (ka != kb)
        return ka < kb;
    const auto *ba = qobject_cast<const TRLCustomBand *>(a);
    const auto *bb = qobject_cast<const TRLCustomBand *>(b);
    if (ba && bb && ba->GroupIndex() != bb->GroupIndex())
        return ba->GroupIndex() < bb->GroupIndex();
    switch (align) {
    case faLeft: case faLeftMost: case faClient: case faCenter: case faCenterTop: case faClientTop:
    case faWidth: case faLeftOnly:
        return a->Left() < b->Left();
    case faTop: case faCenterLeft: case faCenterRight: case faClientLeft: case faClientRight:
    case faHeight: case faTopOnly:
        return a->Top() < b->Top();
    case faRight: case faRightMost: case faCenterBottom: case faClientBottom: case faRightOnly:
        return a->Left() > b->Left();
    case faBottom: case faBottomOnly:
        return a->Top() > b->Top();
    case faLeftTop:
        return a->Left() < b->Left() && a->Top() < b->Top();
    case faRightTop:
        return a->Left() > b->Left() && a->Top() < b->Top();
    case faLeftBottom:
        return a->Left() < b->Left() && a->Top() > b->Top();
    case faRightBottom:
        return a->Left() > b->Left() && a->Top() > b->Top();
    case faNone:
        return false;
    }
    return false;
}

using ControlList = QList<TRLCustomControl *>;

// Sizes shared out as n equal parts of total, the last one taking the rest.
int sharePart(int total, int n, int i, int used)
{
    return i < n - 1 ? total / n : total - used;
}

} // namespace

int TRLCustomSite::arrangeKindOf(const TRLCustomControl *control)
{
    if (auto *site = qobject_cast<const TRLCustomSite *>(control))
        return site->ArrangeKind();
    return 0;
}

void TRLCustomSite::ArrangeChildren()
{
    if (IsLoading() || m_arranging)
        return;
    m_arranging = true;
    try {
        arrange();
    } catch (...) {
        m_arranging = false;
        throw;
    }
    m_arrangedSize = QSize(Width(), Height());
    m_arranging = false;
}

void TRLCustomSite::arrange()
{
    ControlList lists[RLControlAlignCount];
    for (TRLCustomControl *c : m_controls) {
        if (!c->Visible())
            continue;
        ControlList &list = lists[c->Align()];
        int at = int(list.size());
        // Plain placed controls keep their order; most children of a slip are of this kind.
        for (int i = 0; c->Align() != faNone && i < int(list.size()); ++i)
            if (precedes(c, list[i], c->Align())) {
                at = i;
                break;
            }
        list.insert(at, c);
    }
    // Children may be destroyed by their own handlers while we place them.
    auto each = [&](TRLControlAlign align, auto &&place) {
        const ControlList list = lists[align];
        int i = 0;
        for (TRLCustomControl *c : list)
            place(c, i++, int(list.size()));
    };
    const TRLRect client = ClientRect();
    int L = client.Left, T = client.Top, Rt = client.Right, B = client.Bottom;

    each(faLeftMost, [&](TRLCustomControl *c, int, int) {
        c->SetBounds(L, T, c->Width(), B - T);
        L += c->Width();
    });
    each(faRightMost, [&](TRLCustomControl *c, int, int) {
        c->SetBounds(Rt - c->Width(), T, c->Width(), B - T);
        Rt -= c->Width();
    });
    each(faTop, [&](TRLCustomControl *c, int, int) {
        c->SetBounds(L, T, Rt - L, c->Height());
        T += c->Height();
    });
    each(faBottom, [&](TRLCustomControl *c, int, int) {
        c->SetBounds(L, B - c->Height(), Rt - L, c->Height());
        B -= c->Height();
    });
    each(faLeft, [&](TRLCustomControl *c, int, int) {
        c->SetBounds(L, T, c->Width(), B - T);
        L += c->Width();
    });
    each(faRight, [&](TRLCustomControl *c, int, int) {
        c->SetBounds(Rt - c->Width(), T, c->Width(), B - T);
        Rt -= c->Width();
    });
    {
        const int total = Rt - L;
        int x = L;
        each(faClient, [&](TRLCustomControl *c, int i, int n) {
            c->SetBounds(x, T, sharePart(total, n, i, x - L), B - T);
            x += c->Width();
        });
    }

    // The corners, with the columns between them.
    const TRLRect r1(L, T, Rt, B);
    int leftTop = T, rightTop = T, leftBottom = B, rightBottom = B;
    {
        int xl = L;
        each(faLeftTop, [&](TRLCustomControl *c, int, int) {
            c->SetBounds(xl, T, c->Width(), c->Height());
            xl += c->Width();
            leftTop = qMax(leftTop, c->Top() + c->Height());
        });
        int xr = Rt;
        each(faRightTop, [&](TRLCustomControl *c, int, int) {
            xr -= c->Width();
            c->SetBounds(xr, T, c->Width(), c->Height());
            rightTop = qMax(rightTop, c->Top() + c->Height());
        });
        const int total = xr - xl;
        int x = xl;
        each(faClientTop, [&](TRLCustomControl *c, int i, int n) {
            c->SetBounds(x, T, sharePart(total, n, i, x - xl), c->Height());
            x += c->Width();
        });
    }
    {
        int xl = L;
        each(faLeftBottom, [&](TRLCustomControl *c, int, int) {
            c->SetBounds(xl, B - c->Height(), c->Width(), c->Height());
            xl += c->Width();
            leftBottom = qMin(leftBottom, c->Top());
        });
        int xr = Rt;
        each(faRightBottom, [&](TRLCustomControl *c, int, int) {
            xr -= c->Width();
            c->SetBounds(xr, B - c->Height(), c->Width(), c->Height());
            rightBottom = qMin(rightBottom, c->Top());
        });
        const int total = xr - xl;
        int x = xl;
        each(faClientBottom, [&](TRLCustomControl *c, int i, int n) {
            c->SetBounds(x, B - c->Height(), sharePart(total, n, i, x - xl), c->Height());
            x += c->Width();
        });
    }
    {
        int y = leftTop;
        const int total = leftBottom - leftTop;
        each(faClientLeft, [&](TRLCustomControl *c, int i, int n) {
            c->SetBounds(L, y, c->Width(), sharePart(total, n, i, y - leftTop));
            y += c->Height();
        });
    }
    {
        int y = rightTop;
        const int total = rightBottom - rightTop;
        each(faClientRight, [&](TRLCustomControl *c, int i, int n) {
            c->SetBounds(Rt - c->Width(), y, c->Width(), sharePart(total, n, i, y - rightTop));
            y += c->Height();
        });
    }

    // One-sided placements against the rectangle left after the edges.
    L = r1.Left, T = r1.Top, Rt = r1.Right, B = r1.Bottom;
    each(faLeftOnly, [&](TRLCustomControl *c, int, int) { c->SetBounds(L, c->Top(), c->Width(), c->Height()); });
    each(faRightOnly, [&](TRLCustomControl *c, int, int) { c->SetBounds(Rt - c->Width(), c->Top(), c->Width(), c->Height()); });
    each(faTopOnly, [&](TRLCustomControl *c, int, int) { c->SetBounds(c->Left(), T, c->Width(), c->Height()); });
    each(faBottomOnly, [&](TRLCustomControl *c, int, int) { c->SetBounds(c->Left(), B - c->Height(), c->Width(), c->Height()); });
    each(faHeight, [&](TRLCustomControl *c, int, int) { c->SetBounds(c->Left(), T, c->Width(), B - T); });
    each(faWidth, [&](TRLCustomControl *c, int, int) { c->SetBounds(L, c->Top(), Rt - L, c->Height()); });

    // Centred in equal slots along one edge.
    {
        const int total = B - T;
        auto slotY = [&](TRLCustomControl *c, int i, int n) {
            const int slot = i < n - 1 ? total / n : total - (total / n) * (n - 1);
            return T + (total / n) * i + (slot - c->Height()) / 2;
        };
        each(faCenterLeft, [&](TRLCustomControl *c, int i, int n) {
            c->SetBounds(L, slotY(c, i, n), c->Width(), c->Height());
        });
        each(faCenterRight, [&](TRLCustomControl *c, int i, int n) {
            c->SetBounds(Rt - c->Width(), slotY(c, i, n), c->Width(), c->Height());
        });
    }
    {
        const int total = Rt - L;
        auto slotX = [&](TRLCustomControl *c, int i, int n) {
            const int slot = i < n - 1 ? total / n : total - (total / n) * (n - 1);
            return L + (total / n) * i + (slot - c->Width()) / 2;
        };
        each(faCenterTop, [&](TRLCustomControl *c, int i, int n) {
            c->SetBounds(slotX(c, i, n), T, c->Width(), c->Height());
        });
        each(faCenterBottom, [&](TRLCustomControl *c, int i, int n) {
            c->SetBounds(slotX(c, i, n), B - c->Height(), c->Width(), c->Height());
        });
    }
    {
        int sumW = 0, sumH = 0;
        for (TRLCustomControl *c : lists[faCenter]) {
            sumW += c->Width();
            sumH += c->Height();
        }
        int x = (L + Rt - sumW) / 2;
        const int y = (T + B - sumH) / 2;
        each(faCenter, [&](TRLCustomControl *c, int, int) {
            c->SetBounds(x, y, c->Width(), c->Height());
            x += c->Width();
        });
    }

    // Anchored children follow the change of the site's size since the last arrangement.
    if (m_arrangedSize.width() < 0 || lists[faNone].isEmpty())
        return;
    const int w0 = m_arrangedSize.width(), h0 = m_arrangedSize.height();
    const int dw = Width() - w0, dh = Height() - h0;
    if (dw == 0 && dh == 0)
        return;
    each(faNone, [&](TRLCustomControl *c, int, int) {
        const TRLControlAnchors a = c->Anchors();
        if (!a)
            return;
        int left = c->Left(), top = c->Top(), width = c->Width(), height = c->Height();
        if (a.testFlag(fkRight) && a.testFlag(fkLeft))
            width += dw;
        else if (a.testFlag(fkRight))
            left += dw;
        else if (!a.testFlag(fkLeft) && w0 > 0)
            // Neither side anchored: the centre keeps its place in proportion to the width.
            left = RLRound((left + width / 2.0L) * Width() / w0 - width / 2.0L);
        if (a.testFlag(fkBottom) && a.testFlag(fkTop))
            height += dh;
        else if (a.testFlag(fkBottom))
            top += dh;
        else if (!a.testFlag(fkTop) && h0 > 0)
            top = RLRound((top + height / 2.0L) * Height() / h0 - height / 2.0L);
        c->SetBounds(left, top, width, height);
    });
}

// --- the print pass --------------------------------------------------------------------------

TRLGraphicSurface *TRLCustomSite::Surface()
{
    if (!m_surface)
        m_surface = std::make_unique<TRLGraphicSurface>();
    return m_surface.get();
}

void TRLCustomSite::ComputePrintArea()
{
    m_printArea = BoundsRect();
}

void TRLCustomSite::PrepareSurface()
{
    TRLGraphicSurface *s = Surface();
    s->Close();
    s->SetWidth(Width());
    s->SetHeight(Height());
    s->SetMargins(ClientRect());
    s->Clear();
    s->Open();
}

void TRLCustomSite::OpenSite()
{
    if (m_open)
        return;
    if (TRLCustomSite *p = Parent())
        p->OpenSite();
    PageStarting();
    ComputePrintArea();
    PrepareSurface();
    m_open = true;
    if (m_enabled) {
        PrintNonSiteChildren();
        if (PrintsChildSites())
            PrintChildSites();
        PrintPageHeader();
    }
    PageStarted();
}

void TRLCustomSite::CloseSite()
{
    if (!m_open)
        return;
    if (m_enabled)
        PageEnding();
    PutOnEnclosingSurface();
    if (m_surface)
        m_surface->Close();
    m_open = false;
    PageClosed();
}

void TRLCustomSite::PutOnEnclosingSurface()
{
    TRLGraphicSurface *target = RequireParentSurface();
    // Children may have grown the site while it was open.
    ComputePrintArea();
    DrawOnto(target, m_printArea);
}

void TRLCustomSite::DrawOnto(TRLGraphicSurface *target, const TRLRect &area)
{
    if (m_enabled) {
        MarkSurface(target);
        if (m_degrade->IsActive(Color())) {
            m_degrade->Paint(target, area, Color());
        } else if (!Transparent()) {
            target->SetBrush(QBrush(Color(), Qt::SolidPattern));
            target->FillRect(area);
        }
        m_background->Paint(target, area);
        const TRLRect m = MarginRect();
        Borders()->Paint(target, TRLRect(m.Left + area.Left, m.Top + area.Top, m.Right + area.Left,
                                         m.Bottom + area.Top));
    }
    target->MergeSurface(area.Left, area.Top, *Surface());
}

void TRLCustomSite::Print()
{
    OpenSite();
    CloseSite();
}

void TRLCustomSite::PrintNonSiteChildren()
{
    QList<QPointer<TRLCustomControl>> printable;
    for (TRLCustomControl *c : ControlsInCreationOrder()) {
        if (qobject_cast<TRLCustomSite *>(c))
            continue;
        if (c->CanPrint()) {
            c->AdjustBounds();
            printable.append(c);
        }
    }
    for (const auto &c : printable) {
        if (!c)
            continue;
        c->Print();
        c->DoAfterPrint();
    }
}

void TRLCustomSite::PrintChildSites()
{
    QList<QPointer<TRLCustomSite>> sites;
    for (TRLCustomControl *c : ControlsInCreationOrder())
        if (auto *s = qobject_cast<TRLCustomSite *>(c))
            sites.append(s);
    for (const auto &s : sites) {
        if (!s || !s->CanPrint())
            continue;
        s->AdjustBounds();
        s->Print();
        s->DoAfterPrint();
    }
}

// --- saved bounds ----------------------------------------------------------------------------

TRLBoundsSnapshot::TRLBoundsSnapshot(TRLCustomControl *root)
{
    QList<TRLCustomControl *> pending{root};
    while (!pending.isEmpty()) {
        TRLCustomControl *c = pending.takeFirst();
        if (!c)
            continue;
        m_saved.append({c, c->BoundsRect()});
        if (auto *site = qobject_cast<TRLCustomSite *>(c))
            pending += site->Controls();
    }
}

void TRLBoundsSnapshot::Restore() const
{
    for (const auto &saved : m_saved)
        if (saved.first)
            saved.first->RestoreBounds(saved.second);
}
