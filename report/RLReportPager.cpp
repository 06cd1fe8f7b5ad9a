// Pagers and skippers on the page: bands sorted by type, printed in order, stacked at the used
// height, and the walk over data records.
#include "report/RLReport.h"

#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/page/RLMetaFile.h"

#include <climits>

#include <QScopeGuard>

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
    // A preparation that failed during a page break may have left its band here.
    m_bandBeingPrinted = nullptr;
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
    m_bodyTop = INT_MIN; // the headers are not done: the page is not yet open to the body
    m_detailCount = 0;
    m_detailsPrinted = false;
}

void TRLCustomPager::PageStarting()
{
    ResetPagerState();
    m_sorted.ResetPrinted(true);
}

void TRLCustomPager::PageStarted()
{
    m_bodyTop = m_usedHeight;
}

bool TRLCustomPager::PageHoldsNothing() const
{
    for (const TRLCustomPager *p = this; p; p = p->FindParentPager())
        if (p->m_usedHeight > p->m_bodyTop)
            return false;
    return true;
}

void TRLCustomPager::PrintPageHeader()
{
    for (TRLBandType type : {btHeader, btTitle, btColumnHeader})
        if (!m_sorted.Printed(type))
            PrintBands(type);
    if (m_footerMeasuring == fmAfterHeader)
        MeasureFooters();
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
        outer->m_usedHeight += m_printArea.Height();
}

bool TRLCustomPager::DetailPass()
{
    const TRLCustomSkipper *skipper = qobject_cast<TRLCustomSkipper *>(this);
    if (!skipper)
        skipper = FindParentSkipper();
    for (TRLCustomControl *c : Controls())
        if (auto *group = qobject_cast<TRLCustomGroup *>(c); group && group->Visible()) {
            const quint64 moves = skipper ? skipper->Moves() : 0;
            group->PrintGroup();
            // The group used the records up to its break: the next one starts a new group.
            if (skipper && skipper->Moves() != moves)
                return true;
        }
    PrintBands(btDetail);
    return false;
}

// --- groups ----------------------------------------------------------------------------------

QString TRLCustomGroup::Key() const
{
    const TRLCustomSkipper *skipper = FindParentSkipper();
    TRLDataSet *data = skipper ? skipper->DataSource() : nullptr;
    if (!data || !data->Active())
        return {};
    QString key;
    for (const QString &field : m_dataFields.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString name = field.trimmed();
        if (!data->HasField(name))
            throw TRLException(RLMessage(rlmNotFound) + QStringLiteral(": ") + Name() + QStringLiteral(".DataField \"") + name
                               + QLatin1Char('"'));
        key += data->FieldValue(name).toString();
    }
    return key;
}

bool TRLCustomGroup::checkBreak()
{
    if (OnGetBreak) {
        bool broke = false;
        OnGetBreak(this, broke);
        return broke;
    }
    const QString key = Key();
    const bool broke = key != m_key;
    m_key = key;
    return broke;
}

void TRLCustomGroup::ComputePrintArea()
{
    // A group starts where its pager has got to and may take what is left of the page.
    TRLCustomPager *outer = FindParentPager();
    const int top = outer ? outer->UsedHeight() : Top();
    const int room = outer ? outer->BottomLimit() - top : Height();
    m_printArea = TRLRect(Left(), top, Left() + Width(), top + qMax(room, Height()));
}

void TRLCustomGroup::PrepareSurface()
{
    TRLCustomPager::PrepareSurface();
    Surface()->SetHeight(m_printArea.Height());
}

void TRLCustomGroup::PutOnEnclosingSurface()
{
    // As tall as what was printed in it on this page.
    m_printArea.Bottom = m_printArea.Top + m_usedHeight + (Height() - ClientRect().Bottom);
    DrawOnto(RequireParentSurface(), m_printArea);
}

void TRLCustomGroup::PrintGroup()
{
    TRLCustomReport *report = RequireParentReport();
    TRLCustomSkipper *skipper = RequireParentSkipper();
    if (m_pageBreaking == pbBeforePrint && report->DetailsPrinted())
        report->StartNewPage();
    const TRLBoundsSnapshot saved(this);
    try {
        m_sorted.ResetPrinted();
        m_key = Key();
        m_broke = false;
        bool firstPass = true;
        while (!skipper->Eof() && !report->CancelRequested()) {
            if (!firstPass && checkBreak()) {
                m_broke = true;
                break;
            }
            firstPass = false;
            OpenSite();
            if (!DetailPass()) {
                report->StepProgress();
                skipper->NextRecord();
            }
        }
        FinishPages();
        if (m_pageBreaking == pbAfterPrint)
            report->SetBreakPending(true);
    } catch (...) {
        saved.Restore();
        throw;
    }
    saved.Restore();
}

int TRLCustomPager::bottomOffsetInReport() const
{
    // The pager's top on the page: the report is at 0, a group at its print area's top.
    int top = 0;
    for (const TRLCustomPager *p = this; p && !qobject_cast<const TRLCustomReport *>(p); p = p->FindParentPager())
        top += p->PrintArea().Top;
    return top;
}

int TRLCustomPager::BottomLimit() const
{
    const TRLCustomReport *report = OwnerReport();
    int limit;
    if (report && report != this) {
        const TRLRect client = report->ClientRect();
        limit = client.Bottom - bottomOffsetInReport();
        for (const TRLCustomPager *p = this; p && p != report; p = p->FindParentPager())
            limit -= p->Height() - p->ClientRect().Bottom;
    } else {
        limit = ClientRect().Bottom;
    }
    for (const TRLCustomPager *p = this; p; p = p->FindParentPager())
        for (const auto &band : p->m_sorted.List(btFooter))
            if (band && band->Visible())
                limit -= band->Height();
    return limit;
}

int TRLCustomPager::alignedHeight(TRLBandType type) const
{
    int height = 0;
    for (const auto &band : m_sorted.List(type))
        if (band && band->Visible() && band->AlignToBottom())
            height += band->Height();
    return height;
}

int TRLCustomPager::SummaryLimit() const
{
    return BottomLimit() - alignedHeight(btSummary);
}

int TRLCustomPager::ColumnFooterLimit() const
{
    return BottomLimit() - alignedHeight(btColumnFooter);
}

void TRLCustomPager::MeasureFooters()
{
    for (TRLCustomPager *p = this; p; p = p->FindParentPager())
        for (const auto &band : p->m_sorted.List(btFooter))
            if (band && band->Visible())
                band->MeasureHeight();
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
                if (TRLCustomBand *mate = list[j]) {
                    mate->m_copyIndex = copy;
                    try {
                        PrintBand(mate);
                    } catch (...) {
                        mate->m_copyIndex = 0;
                        throw;
                    }
                    mate->m_copyIndex = 0;
                }
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
                const TRLCustomReport *report = OwnerReport();
                if (((type == btDetail && band->Computable()) || type == btSummary)
                    && !(report && report->Completing()))
                    for (TRLCustomPager *p = this; p; p = p->FindParentPager())
                        p->m_detailsPrinted = true;
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
    // On a page with nothing but its headers another page would be no roomier: the band is cut.
    if (band->Height() > spaceLeft && (band->IntegralHeight() || spaceLeft < band->MinHeight()) && !PageHoldsNothing())
        NewPageFor(band);
}

void TRLCustomPager::NewPageFor(TRLCustomBand *band)
{
    QList<TRLCustomPager *> pagers;
    for (TRLCustomPager *p = this; p; p = p->FindParentPager())
        pagers.append(p);
    for (TRLCustomPager *p : pagers)
        p->m_bandBeingPrinted = band;
    // Also when a header of the new page fails: the band would stop every later list.
    const auto forget = qScopeGuard([&pagers] {
        for (TRLCustomPager *p : pagers)
            p->m_bandBeingPrinted = nullptr;
    });
    for (TRLCustomPager *p : pagers)
        p->CloseSite();
    for (auto it = pagers.rbegin(); it != pagers.rend(); ++it)
        (*it)->OpenSite();
}

void TRLCustomPager::PlaceBand(TRLCustomBand *band)
{
    if (NeedsPageBefore(band))
        NewPageFor(band);
    MoveDownToLimit(band);
    const int lastSlice = PrintSlices(band);
    m_usedHeight += lastSlice;
    TRLCustomReport *report = OwnerReport();
    if (band->BandType() == btDetail && band->Computable())
        ++m_detailCount;
    if (band->PageBreaking() == pbAfterPrint && report)
        report->SetBreakPending(true);
}

bool TRLCustomPager::NeedsPageBefore(TRLCustomBand *band)
{
    TRLCustomReport *report = OwnerReport();
    const TRLBandType type = band->BandType();
    const bool completing = report && report->Completing();
    // A break asked for after the last band falls before the next detail or summary.
    if (report && (type == btDetail || type == btSummary) && !completing && report->BreakPending()) {
        report->SetBreakPending(false);
        return true;
    }
    if (band->PageBreaking() == pbBeforePrint && report && report->DetailsPrinted())
        return true;
    return type == btDetail && m_maxBands > 0 && m_detailCount >= m_maxBands && !completing;
}

void TRLCustomPager::MoveDownToLimit(TRLCustomBand *band)
{
    // Bottom-aligned bands and footers move down to their limit.
    const TRLBandType type = band->BandType();
    if (type == btFooter) {
        m_usedHeight = qMax(m_usedHeight, BottomLimit());
    } else if (band->AlignToBottom() && (type == btSummary || type == btColumnFooter)) {
        const auto limit = [&] { return type == btSummary ? SummaryLimit() : ColumnFooterLimit(); };
        if (m_usedHeight >= limit())
            NewPageFor(band);
        m_usedHeight = qMax(m_usedHeight, limit());
    }
}

int TRLCustomPager::PrintSlices(TRLCustomBand *band)
{
    const int height = band->Height();
    const TRLBandType type = band->BandType();
    const bool splits = type != btColumnFooter && type != btFooter;
    bool freshPage = false; // a page started for this band: the band must go on it somehow
    int offset = 0;
    int slice = 0;
    bool first = true;
    while (offset < height || first) {
        first = false;
        slice = height - offset;
        const int spaceLeft = BottomLimit() - m_usedHeight;
        freshPage = freshPage || PageHoldsNothing();
        if (splits && slice > spaceLeft && !freshPage) {
            int row = offset + spaceLeft;
            const bool cut = !band->IntegralHeight() && spaceLeft >= band->MinHeight()
                             && band->Surface()->FindCutRow(row) && row >= band->MinHeight() && row > offset;
            if (!cut) {
                NewPageFor(band);
                freshPage = true;
                continue;
            }
            slice = row - offset;
        } else if (splits && slice > spaceLeft && spaceLeft > 0) {
            // Taller than a whole page: cut where a text allows, else at the page's end.
            int row = offset + spaceLeft;
            slice = band->Surface()->FindCutRow(row) && row > offset ? row - offset : spaceLeft;
        }
        TRLGraphicSurface *target = band->RequireParentSurface();
        const TRLRect area(band->Left(), m_usedHeight, band->Left() + band->Width(), m_usedHeight + slice);
        if (offset == 0)
            band->m_printArea = area;
        if (band->Enabled() && slice == height) {
            band->DrawBackground(target, area);
        } else if (band->Enabled()) {
            // A slice shows only its own part of the background and borders.
            target->SetClipRect(area);
            band->DrawBackground(target, TRLRect(area.Left, area.Top - offset, area.Right, area.Top - offset + height));
            target->ResetClipRect();
        }
        target->CopyRect(area, *band->Surface(), TRLRect(0, offset, band->Width(), offset + slice));
        offset += slice;
        if (offset < height) {
            NewPageFor(band);
            freshPage = true;
        }
    }
    return slice;
}

void TRLCustomPager::Complete()
{
    TRLCustomBand *band = nullptr;
    for (const auto &b : m_sorted.List(btDetail))
        if (b && b->Completion() != ctNone && b->Computable()) {
            band = b;
            break;
        }
    TRLCustomReport *report = OwnerReport();
    if (!band || !report || band->Height() <= 0)
        return;
    const int page = report->PageNumber();
    const auto more = [&] {
        const int end = band->Height() + m_usedHeight;
        // Counted completion stops at the page's end too: a blank band on the next page helps no one.
        switch (band->Completion()) {
        case ctFullPage: return end < ColumnFooterLimit() && (m_maxBands <= 0 || m_detailCount < m_maxBands);
        case ctMaxBands: return end <= ColumnFooterLimit() && m_detailCount < m_maxBands;
        case ctMinBands: return end <= ColumnFooterLimit() && m_detailCount < m_minBands;
        default: return false;
        }
    };
    report->SetCompleting(true);
    try {
        // Completion fills this page only: a band that spills over ends it.
        while (more() && report->PageNumber() == page && !report->CancelRequested())
            PrintBand(band);
    } catch (...) {
        report->SetCompleting(false);
        throw;
    }
    report->SetCompleting(false);
}

void TRLCustomPager::FinishPages()
{
    // Nothing was opened (no data and no empty page wanted): no page at all.
    if (!IsOpen())
        return;
    Complete();
    for (TRLBandType type : {btColumnFooter, btSummary, btFooter})
        if (!m_sorted.Printed(type) && !PrintBands(type))
            break;
    CloseSite();
}

// --- data records ----------------------------------------------------------------------------

bool TRLCustomSkipper::askMoreData(bool first)
{
    if (m_dataSource) {
        if (!m_dataSource->Active())
            return false;
        if (first) {
            if (m_recordRange == rrAllRecords)
                m_dataSource->First();
        } else {
            m_dataSource->Next();
        }
        return !m_dataSource->Eof();
    }
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
    ++m_moves;
    bool first = true;
    do {
        settleRecord(askMoreData(first));
        first = false;
    } while (!m_eof && m_recordAction == raIgnoreIt);
}

void TRLCustomSkipper::NextRecord()
{
    const TRLRecordAction last = m_recordAction;
    m_copyNo = last == raUseAndRetain ? m_copyNo + 1 : 1;
    if (last == raUseIt)
        ++m_recNo;
    bool retain = last == raUseAndRetain || last == raBlankAndRetain;
    ++m_moves;
    do {
        settleRecord(retain || askMoreData(false));
        retain = false;
    } while (!m_eof && m_recordAction == raIgnoreIt);
}

int TRLCustomSkipper::DataCount()
{
    int count = 0;
    if (OnDataCount)
        OnDataCount(this, count);
    else if (m_dataSource && m_dataSource->Active())
        count = m_dataSource->RecordCount();
    return count;
}

bool TRLCustomSkipper::DataCountKnown() const
{
    return OnDataCount || !m_dataSource || !m_dataSource->Active() || m_dataSource->RecordCountKnown();
}

void TRLCustomSkipper::DetailStep()
{
    if (FooterMeasuring() == fmBeforeDetail)
        MeasureFooters();
    DetailPass();
}
