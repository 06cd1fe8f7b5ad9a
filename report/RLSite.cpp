#include "report/RLSite.h"

#include "report/RLBand.h"
#include "report/page/RLMetaFile.h"

#include <algorithm>
#include <vector>

// --- site ------------------------------------------------------------------------------------

TRLCustomSite::TRLCustomSite(QObject *owner)
    : TRLCustomControl(owner),
      m_margins(std::make_unique<TRLMargins>(this)),
      m_insideMargins(std::make_unique<TRLMargins>(this)),
      m_background(std::make_unique<TRLBackground>(this)),
      m_degrade(std::make_unique<TRLDegradeEffect>(this))
{
    if (IsLoading())
        PartsBeginLoading();
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
    // Each control's place among its owner's children is a search: looked up once, not at every
    // comparison (bands are laid out record after record).
    struct Entry
    {
        const QObject *owner;
        int index;
        TRLCustomControl *control;
    };
    std::vector<Entry> entries;
    entries.reserve(size_t(m_controls.size()));
    for (TRLCustomControl *c : m_controls)
        entries.push_back({c->Owner(), c->ComponentIndex(), c});
    std::stable_sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        if (a.owner != b.owner)
            return a.owner != nullptr && b.owner == nullptr;
        return a.index < b.index;
    });
    QList<TRLCustomControl *> list;
    list.reserve(qsizetype(entries.size()));
    for (const Entry &e : entries)
        list.append(e.control);
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


void TRLCustomSite::PartsBeginLoading()
{
    m_margins->beginLoading();
    m_insideMargins->beginLoading();
}

void TRLCustomSite::PartsEndLoading()
{
    if (m_margins->isLoading())
        m_margins->endLoading();
    if (m_insideMargins->isLoading())
        m_insideMargins->endLoading();
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

QSize TRLCustomSite::CalcSize() const
{
    if (!AutoSize())
        return TRLCustomControl::CalcSize();
    int right = 0, bottom = 0;
    bool any = false;
    for (const TRLCustomControl *c : m_controls) {
        if (!c->Visible())
            continue;
        any = true;
        right = qMax(right, c->Left() + c->Width());
        bottom = qMax(bottom, c->Top() + c->Height());
    }
    if (!any)
        return TRLCustomControl::CalcSize();
    const TRLRect client = ClientRect();
    return QSize(SizesWidth() ? right + Width() - client.Right : Width(),
                 SizesHeight() ? bottom + Height() - client.Bottom : Height());
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

void TRLCustomSite::AbandonOpen()
{
    m_open = false;
    if (m_surface)
        m_surface->Close();
    for (TRLCustomControl *c : m_controls)
        if (auto *site = qobject_cast<TRLCustomSite *>(c))
            site->AbandonOpen();
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
    // A disabled site prints none of its children but is still put on the page.
    DrawBackground(target, area);
    target->MergeSurface(area.Left, area.Top, *Surface());
}

void TRLCustomSite::DrawBackground(TRLGraphicSurface *target, const TRLRect &area)
{
    MarkSurface(target);
    if (m_degrade->IsActive(Color())) {
        m_degrade->Paint(target, area, Color());
    } else if (!Transparent()) {
        target->SetBrush(QBrush(Color(), Qt::SolidPattern));
        target->FillRect(area);
    }
    m_background->Paint(target, area);
    const TRLRect m = MarginRect();
    Borders()->Paint(target, TRLRect(m.Left + area.Left, m.Top + area.Top, m.Right + area.Left, m.Bottom + area.Top));
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
