// Arranging a site's children by their Align and Anchors.

#include "report/RLBand.h"
#include "report/base/RLUtils.h"

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

// The visible children by Align value, each list in its placing order.
class AlignLists
{
public:
    explicit AlignLists(const QList<TRLCustomControl *> &controls)
    {
        for (TRLCustomControl *c : controls) {
            if (!c->Visible())
                continue;
            ControlList &list = m_lists[c->Align()];
            int at = int(list.size());
            // Plain placed controls keep their order; most children of a slip are of this kind.
            for (int i = 0; c->Align() != faNone && i < int(list.size()); ++i)
                if (precedes(c, list[i], c->Align())) {
                    at = i;
                    break;
                }
            list.insert(at, c);
        }
    }

    const ControlList &operator[](TRLControlAlign align) const { return m_lists[align]; }

    // Places every child of one list, telling each its index and the list's length.
    template <typename Place>
    void each(TRLControlAlign align, Place &&place) const
    {
        const ControlList &list = m_lists[align];
        const int n = int(list.size());
        for (int i = 0; i < n; ++i)
            place(list[i], i, n);
    }

private:
    ControlList m_lists[RLControlAlignCount];
};

// Whole-side children take strips off the free area, outermost first.
void placeEdges(const AlignLists &lists, TRLRect &free)
{
    int &L = free.Left, &T = free.Top, &Rt = free.Right, &B = free.Bottom;
    lists.each(faLeftMost, [&](TRLCustomControl *c, int, int) {
        c->SetBounds(L, T, c->Width(), B - T);
        L += c->Width();
    });
    lists.each(faRightMost, [&](TRLCustomControl *c, int, int) {
        c->SetBounds(Rt - c->Width(), T, c->Width(), B - T);
        Rt -= c->Width();
    });
    lists.each(faTop, [&](TRLCustomControl *c, int, int) {
        c->SetBounds(L, T, Rt - L, c->Height());
        T += c->Height();
    });
    lists.each(faBottom, [&](TRLCustomControl *c, int, int) {
        c->SetBounds(L, B - c->Height(), Rt - L, c->Height());
        B -= c->Height();
    });
    lists.each(faLeft, [&](TRLCustomControl *c, int, int) {
        c->SetBounds(L, T, c->Width(), B - T);
        L += c->Width();
    });
    lists.each(faRight, [&](TRLCustomControl *c, int, int) {
        c->SetBounds(Rt - c->Width(), T, c->Width(), B - T);
        Rt -= c->Width();
    });
    const int total = Rt - L;
    int x = L;
    lists.each(faClient, [&](TRLCustomControl *c, int i, int n) {
        c->SetBounds(x, T, sharePart(total, n, i, x - L), B - T);
        x += c->Width();
    });
}

// The corners, with the columns between them; the free area itself stays as it is.
void placeCorners(const AlignLists &lists, const TRLRect &free)
{
    const int L = free.Left, T = free.Top, Rt = free.Right, B = free.Bottom;
    int leftTop = T, rightTop = T, leftBottom = B, rightBottom = B;
    {
        int xl = L;
        lists.each(faLeftTop, [&](TRLCustomControl *c, int, int) {
            c->SetBounds(xl, T, c->Width(), c->Height());
            xl += c->Width();
            leftTop = qMax(leftTop, c->Top() + c->Height());
        });
        int xr = Rt;
        lists.each(faRightTop, [&](TRLCustomControl *c, int, int) {
            xr -= c->Width();
            c->SetBounds(xr, T, c->Width(), c->Height());
            rightTop = qMax(rightTop, c->Top() + c->Height());
        });
        const int total = xr - xl;
        int x = xl;
        lists.each(faClientTop, [&](TRLCustomControl *c, int i, int n) {
            c->SetBounds(x, T, sharePart(total, n, i, x - xl), c->Height());
            x += c->Width();
        });
    }
    {
        int xl = L;
        lists.each(faLeftBottom, [&](TRLCustomControl *c, int, int) {
            c->SetBounds(xl, B - c->Height(), c->Width(), c->Height());
            xl += c->Width();
            leftBottom = qMin(leftBottom, c->Top());
        });
        int xr = Rt;
        lists.each(faRightBottom, [&](TRLCustomControl *c, int, int) {
            xr -= c->Width();
            c->SetBounds(xr, B - c->Height(), c->Width(), c->Height());
            rightBottom = qMin(rightBottom, c->Top());
        });
        const int total = xr - xl;
        int x = xl;
        lists.each(faClientBottom, [&](TRLCustomControl *c, int i, int n) {
            c->SetBounds(x, B - c->Height(), sharePart(total, n, i, x - xl), c->Height());
            x += c->Width();
        });
    }
    int y = leftTop;
    const int leftTotal = leftBottom - leftTop;
    lists.each(faClientLeft, [&](TRLCustomControl *c, int i, int n) {
        c->SetBounds(L, y, c->Width(), sharePart(leftTotal, n, i, y - leftTop));
        y += c->Height();
    });
    y = rightTop;
    const int rightTotal = rightBottom - rightTop;
    lists.each(faClientRight, [&](TRLCustomControl *c, int i, int n) {
        c->SetBounds(Rt - c->Width(), y, c->Width(), sharePart(rightTotal, n, i, y - rightTop));
        y += c->Height();
    });
}

// Children that keep their place along one axis and meet one side of the free area.
void placeOneSided(const AlignLists &lists, const TRLRect &free)
{
    const int L = free.Left, T = free.Top, Rt = free.Right, B = free.Bottom;
    lists.each(faLeftOnly, [&](TRLCustomControl *c, int, int) { c->SetBounds(L, c->Top(), c->Width(), c->Height()); });
    lists.each(faRightOnly, [&](TRLCustomControl *c, int, int) { c->SetBounds(Rt - c->Width(), c->Top(), c->Width(), c->Height()); });
    lists.each(faTopOnly, [&](TRLCustomControl *c, int, int) { c->SetBounds(c->Left(), T, c->Width(), c->Height()); });
    lists.each(faBottomOnly, [&](TRLCustomControl *c, int, int) { c->SetBounds(c->Left(), B - c->Height(), c->Width(), c->Height()); });
    lists.each(faHeight, [&](TRLCustomControl *c, int, int) { c->SetBounds(c->Left(), T, c->Width(), B - T); });
    lists.each(faWidth, [&](TRLCustomControl *c, int, int) { c->SetBounds(L, c->Top(), Rt - L, c->Height()); });
}

// Centred in equal slots along one edge, and the centred row in the middle.
void placeCentred(const AlignLists &lists, const TRLRect &free)
{
    const int L = free.Left, T = free.Top, Rt = free.Right, B = free.Bottom;
    {
        const int total = B - T;
        auto slotY = [&](TRLCustomControl *c, int i, int n) {
            const int slot = i < n - 1 ? total / n : total - (total / n) * (n - 1);
            return T + (total / n) * i + (slot - c->Height()) / 2;
        };
        lists.each(faCenterLeft, [&](TRLCustomControl *c, int i, int n) {
            c->SetBounds(L, slotY(c, i, n), c->Width(), c->Height());
        });
        lists.each(faCenterRight, [&](TRLCustomControl *c, int i, int n) {
            c->SetBounds(Rt - c->Width(), slotY(c, i, n), c->Width(), c->Height());
        });
    }
    {
        const int total = Rt - L;
        auto slotX = [&](TRLCustomControl *c, int i, int n) {
            const int slot = i < n - 1 ? total / n : total - (total / n) * (n - 1);
            return L + (total / n) * i + (slot - c->Width()) / 2;
        };
        lists.each(faCenterTop, [&](TRLCustomControl *c, int i, int n) {
            c->SetBounds(slotX(c, i, n), T, c->Width(), c->Height());
        });
        lists.each(faCenterBottom, [&](TRLCustomControl *c, int i, int n) {
            c->SetBounds(slotX(c, i, n), B - c->Height(), c->Width(), c->Height());
        });
    }
    int sumW = 0, sumH = 0;
    for (TRLCustomControl *c : lists[faCenter]) {
        sumW += c->Width();
        sumH += c->Height();
    }
    int x = (L + Rt - sumW) / 2;
    const int y = (T + B - sumH) / 2;
    lists.each(faCenter, [&](TRLCustomControl *c, int, int) {
        c->SetBounds(x, y, c->Width(), c->Height());
        x += c->Width();
    });
}

// Anchored children follow the change of the site's size since the last arrangement.
void placeAnchored(const AlignLists &lists, QSize arranged, QSize now)
{
    if (arranged.width() < 0 || lists[faNone].isEmpty())
        return;
    const int w0 = arranged.width(), h0 = arranged.height();
    const int dw = now.width() - w0, dh = now.height() - h0;
    if (dw == 0 && dh == 0)
        return;
    lists.each(faNone, [&](TRLCustomControl *c, int, int) {
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
            left = RLRound((left + width / 2.0L) * now.width() / w0 - width / 2.0L);
        if (a.testFlag(fkBottom) && a.testFlag(fkTop))
            height += dh;
        else if (a.testFlag(fkBottom))
            top += dh;
        else if (!a.testFlag(fkTop) && h0 > 0)
            top = RLRound((top + height / 2.0L) * now.height() / h0 - height / 2.0L);
        c->SetBounds(left, top, width, height);
    });
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
    const AlignLists lists(m_controls);
    TRLRect free = ClientRect();
    placeEdges(lists, free);
    placeCorners(lists, free);
    placeOneSided(lists, free);
    placeCentred(lists, free);
    placeAnchored(lists, m_arrangedSize, QSize(Width(), Height()));
}
