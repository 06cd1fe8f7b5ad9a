#include "report/RLReport.h"

#include "report/base/RLUtils.h"
#include "report/output/RLFeedBack.h"
#include "report/page/RLMetaFile.h"

// --- bands -----------------------------------------------------------------------------------

TRLCustomBand::TRLCustomBand(QObject *owner) : TRLCustomBandSet(owner)
{
    initAlign(faTop);
    initAutoExpand(true);
    initBounds(185, 16);
}

QList<TRLCustomBand *> TRLCustomBand::groupMates() const
{
    QList<TRLCustomBand *> mates;
    if (m_groupIndex == 0 || !Parent())
        return mates;
    for (TRLCustomControl *c : Parent()->Controls())
        if (auto *b = qobject_cast<TRLCustomBand *>(c); b && b != this && b->m_groupIndex == m_groupIndex)
            mates.append(b);
    return mates;
}

void TRLCustomBand::SetBandType(TRLBandType type)
{
    if (type == m_bandType)
        return;
    m_bandType = type;
    if (!IsLoading())
        Realign();
}

void TRLCustomBand::SetCarbonCopies(int copies)
{
    m_carbonCopies = qMax(1, copies);
    for (TRLCustomBand *b : groupMates())
        b->m_carbonCopies = m_carbonCopies;
}

void TRLCustomBand::SetGroupIndex(int index)
{
    m_groupIndex = qMax(0, index);
    const auto mates = groupMates();
    if (!mates.isEmpty())
        m_carbonCopies = mates.first()->m_carbonCopies;
    if (!IsLoading())
        Realign();
}

void TRLCustomBand::ParentChanged()
{
    const auto mates = groupMates();
    if (!mates.isEmpty())
        m_carbonCopies = mates.first()->m_carbonCopies;
}

TRLCustomGroup::TRLCustomGroup(QObject *owner) : TRLCustomPager(owner)
{
    initBounds(185, 64);
}

// --- report lookups of every control ------------------------------------------------------------

TRLCustomReport *TRLCustomControl::FindParentReport() const
{
    for (TRLCustomSite *s = Parent(); s; s = s->Parent())
        if (auto *r = qobject_cast<TRLCustomReport *>(s))
            return r;
    return nullptr;
}

TRLCustomReport *TRLCustomControl::RequireParentReport() const
{
    if (auto *r = FindParentReport())
        return r;
    raiseMissing(".ParentReport");
}

TRLCustomReport *TRLCustomControl::OwnerReport() const
{
    if (auto *r = qobject_cast<TRLCustomReport *>(const_cast<TRLCustomControl *>(this)))
        return r;
    return FindParentReport();
}

// --- report ----------------------------------------------------------------------------------

TRLCustomReport::TRLCustomReport(QObject *owner)
    : TRLCustomSkipper(owner), m_pageSetup(std::make_unique<TRLPageSetup>(this))
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(10);
    SetFont(font);
    SetFontColor(Qt::black);
    SetColor(Qt::white);
    Margins()->setValuesAndDefaults(10, 10, 10, 10);
    // A stored layout gives PaperHeight and PaperWidth before PaperSize = fpCustom.
    if (IsLoading())
        m_pageSetup->beginLoading();
    SetBounds(0, 0, 0, 0); // the page size, whatever is asked
    m_pages = new TRLGraphicStorage(this);
}

void TRLCustomReport::PartsBeginLoading()
{
    TRLCustomSkipper::PartsBeginLoading();
    m_pageSetup->beginLoading();
}

void TRLCustomReport::PartsEndLoading()
{
    if (m_pageSetup->isLoading())
        m_pageSetup->endLoading();
    TRLCustomSkipper::PartsEndLoading();
}

TRLCustomReport::~TRLCustomReport()
{
    // A background print still reading the pages releases them when it lets go.
    if (m_pages && !m_pages->Filters().isEmpty())
        m_pages->setParent(nullptr);
    if (m_nextReport && m_nextReport->m_priorReport == this)
        m_nextReport->m_priorReport = nullptr;
    if (m_priorReport && m_priorReport->m_nextReport == this)
        m_priorReport->m_nextReport = nullptr;
}

void TRLCustomReport::FixSize(int &width, int &height) const
{
    width = MMToPixels(m_pageSetup->pageWidthMm());
    height = MMToPixels(m_pageSetup->pageHeightMm());
}

void TRLCustomReport::PageSetupChanged()
{
    SetBounds(Left(), Top(), Width(), Height());
}

void TRLCustomReport::SetNextReport(TRLCustomReport *next)
{
    for (TRLCustomReport *r = next; r; r = r->m_nextReport)
        if (r == this)
            return; // a chain that comes back to itself would never end
    if (m_nextReport && m_nextReport->m_priorReport == this)
        m_nextReport->m_priorReport = nullptr;
    m_nextReport = next;
    if (next)
        next->m_priorReport = this;
}

TRLCustomReport *TRLCustomReport::MasterReport() const
{
    auto *r = const_cast<TRLCustomReport *>(this);
    while (r->m_priorReport)
        r = r->m_priorReport;
    return r;
}

TRLGraphicSurface *TRLCustomReport::PageSurface()
{
    if (!m_page) {
        m_page = std::make_unique<TRLGraphicSurface>();
        m_page->SetWidth(Width());
        m_page->SetHeight(Height());
        m_page->SetOrientation(RLStoredOrientation(m_pageSetup->Orientation()));
        m_page->SetPaperWidth(m_pageSetup->PaperWidth());
        m_page->SetPaperHeight(m_pageSetup->PaperHeight());
        m_page->SetMargins(ClientRect());
        m_page->Open();
    }
    return m_page.get();
}

std::unique_ptr<TRLGraphicSurface> TRLCustomReport::TakePageSurface()
{
    return std::move(m_page);
}

void TRLCustomReport::ReleasePageSurface()
{
    m_page.reset();
}

void TRLCustomReport::ComputePrintArea()
{
    m_printArea = TRLRect(0, 0, Width(), Height());
}

void TRLCustomReport::PrepareSurface()
{
    // The page is new for every sheet and carries its paper macros: it is not cleared. Nothing
    // encloses the report, so its own fill, background and borders go first onto the page,
    // under everything its children print.
    TRLGraphicSurface *page = PageSurface();
    page->SetMargins(ClientRect());
    DrawBackground(page, TRLRect(0, 0, Width(), Height()));
}
