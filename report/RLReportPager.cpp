// Pagers and skippers on the page: bands sorted by type, printed in order, stacked at the used
// height, and the walk over data records.
#include "report/RLReport.h"

#include "report/output/RLMetaFile.h"

// --- sorted bands ----------------------------------------------------------------------------

void TRLSortedBands::Clear()
{
    for (auto &list : m_lists)
        list.clear();
    ResetPrinted();
}

void TRLSortedBands::Add(TRLCustomBand *band)
{
    auto &list = m_lists[band->BandType()];
    int at = int(list.size());
    while (at > 0 && list[at - 1] && list[at - 1]->Top() > band->Top())
        --at;
    list.insert(at, band);
}

void TRLSortedBands::ResetPrinted(bool keepTitle)
{
    for (int t = 0; t < RLBandTypeCount; ++t)
        if (!(keepTitle && t == btTitle))
            m_printed[t] = false;
}

// --- bands -----------------------------------------------------------------------------------

void TRLCustomBand::PutOnEnclosingSurface()
{
    if (auto *pager = qobject_cast<TRLCustomPager *>(Parent()))
        pager->PlaceBand(this);
    else
        TRLCustomBandSet::PutOnEnclosingSurface();
}

// --- pager -----------------------------------------------------------------------------------

void TRLCustomPager::SortBands()
{
    m_sorted.Clear();
    for (TRLCustomControl *c : Controls()) {
        if (auto *band = qobject_cast<TRLCustomBand *>(c))
            m_sorted.Add(band);
        else if (auto *pager = qobject_cast<TRLCustomPager *>(c))
            pager->SortBands();
    }
}

void TRLCustomPager::ResetPagerState()
{
    m_usedHeight = ClientRect().Top;
    m_detailCount = 0;
    m_detailsPrinted = false;
}

void TRLCustomPager::PageStarting()
{
    ResetPagerState();
    m_sorted.ResetPrinted(true);
}

void TRLCustomPager::PrintPageHeader()
{
    for (TRLBandType type : {btHeader, btTitle, btColumnHeader})
        if (!m_sorted.Printed(type))
            PrintBands(type);
}

void TRLCustomPager::PageEnding()
{
    // Each type only while the one before was not cut short by a page break.
    for (TRLBandType type : {btColumnFooter, btFooter})
        if (!m_sorted.Printed(type) && !PrintBands(type))
            break;
}

void TRLCustomPager::PageClosed()
{
    if (auto *outer = FindParentPager())
        outer->m_usedHeight += Height();
}

int TRLCustomPager::BottomLimit() const
{
    int limit = ClientRect().Bottom;
    for (const auto &band : m_sorted.List(btFooter))
        if (band && band->Visible())
            limit -= band->Height();
    return limit;
}

bool TRLCustomPager::PrintBands(TRLBandType type)
{
    const QList<QPointer<TRLCustomBand>> list = m_sorted.List(type);
    if (list.isEmpty())
        return true;
    for (int i = 0; i < list.size();) {
        TRLCustomBand *band = list[i];
        if (band && band == m_bandBeingPrinted)
            return false; // the band that broke the page prints after the new page's headers
        // A group of bands of one GroupIndex prints as a whole, once per carbon copy.
        int end = i + 1;
        if (band && band->GroupIndex() != 0)
            while (end < list.size() && list[end] && list[end]->GroupIndex() == band->GroupIndex())
                ++end;
        const int copies = band ? band->CarbonCopies() : 1;
        for (int copy = 0; copy < copies; ++copy)
            for (int j = i; j < end; ++j)
                if (list[j])
                    PrintBand(list[j]);
        i = end;
    }
    m_sorted.SetPrinted(type, true);
    return true;
}

void TRLCustomPager::PrintBand(TRLCustomBand *band)
{
    const TRLBoundsSnapshot saved(band);
    try {
        if (band->Visible()) {
            if (!band->Options().testFlag(boOptimisticPageBreak))
                MakeRoomFor(band);
            if (band->CanPrint()) {
                band->AdjustBounds();
                band->Print();
                band->DoAfterPrint();
                const TRLBandType type = band->BandType();
                if ((type == btDetail && band->Computable()) || type == btSummary)
                    m_detailsPrinted = true;
            }
        }
    } catch (...) {
        saved.Restore();
        throw;
    }
    saved.Restore();
}

void TRLCustomPager::MakeRoomFor(TRLCustomBand *band)
{
    if (band->BandType() == btColumnFooter || band->BandType() == btFooter || !IsOpen())
        return;
    const int spaceLeft = BottomLimit() - m_usedHeight;
    if (band->Height() > spaceLeft && band->IntegralHeight())
        NewPageFor(band);
}

void TRLCustomPager::NewPageFor(TRLCustomBand *band)
{
    QList<TRLCustomPager *> pagers;
    for (TRLCustomPager *p = this; p; p = p->FindParentPager())
        pagers.append(p);
    for (TRLCustomPager *p : pagers)
        p->m_bandBeingPrinted = band;
    for (TRLCustomPager *p : pagers)
        p->CloseSite();
    for (auto it = pagers.rbegin(); it != pagers.rend(); ++it)
        (*it)->OpenSite();
    for (TRLCustomPager *p : pagers)
        p->m_bandBeingPrinted = nullptr;
}

void TRLCustomPager::PlaceBand(TRLCustomBand *band)
{
    TRLGraphicSurface *target = band->RequireParentSurface();
    // Footers stand on the bottom limit, whatever is left above them.
    if (band->BandType() == btFooter)
        m_usedHeight = qMax(m_usedHeight, BottomLimit());
    const TRLRect area(band->Left(), m_usedHeight, band->Left() + band->Width(), m_usedHeight + band->Height());
    band->m_printArea = area;
    if (band->Enabled())
        band->DrawBackground(target, area);
    target->CopyRect(area, *band->Surface(), TRLRect(0, 0, band->Width(), band->Height()));
    m_usedHeight += band->Height();
    if (band->BandType() == btDetail && band->Computable())
        ++m_detailCount;
}

void TRLCustomPager::FinishPages()
{
    // Nothing was opened (no data and no empty page wanted): no page at all.
    if (!IsOpen())
        return;
    for (TRLBandType type : {btColumnFooter, btSummary, btFooter})
        if (!m_sorted.Printed(type) && !PrintBands(type))
            break;
    CloseSite();
}

// --- data records ----------------------------------------------------------------------------

bool TRLCustomSkipper::askMoreData()
{
    bool more = false;
    if (OnNeedData)
        OnNeedData(this, more);
    return more;
}

void TRLCustomSkipper::settleRecord(bool moreData)
{
    if (m_recordRange == rrNextN && m_rangeCount < m_recNo)
        moreData = false;
    if (m_recordRange == rrCurrentOnly && m_recNo > 1)
        moreData = false;
    m_eof = !moreData;
    m_recordAction = raUseIt;
    if (OnDataRecord)
        OnDataRecord(this, m_recNo, m_copyNo, m_eof, m_recordAction);
}

void TRLCustomSkipper::FirstRecord()
{
    m_recNo = 1;
    m_copyNo = 1;
    do
        settleRecord(askMoreData());
    while (!m_eof && m_recordAction == raIgnoreIt);
}

void TRLCustomSkipper::NextRecord()
{
    const TRLRecordAction last = m_recordAction;
    m_copyNo = last == raUseAndRetain ? m_copyNo + 1 : 1;
    if (last == raUseIt)
        ++m_recNo;
    bool retain = last == raUseAndRetain || last == raBlankAndRetain;
    do {
        settleRecord(retain || askMoreData());
        retain = false;
    } while (!m_eof && m_recordAction == raIgnoreIt);
}

int TRLCustomSkipper::DataCount()
{
    int count = 0;
    if (OnDataCount)
        OnDataCount(this, count);
    return count;
}

void TRLCustomSkipper::DetailStep()
{
    PrintBands(btDetail);
}
