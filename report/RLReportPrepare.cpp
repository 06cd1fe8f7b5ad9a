// Preparing a report into pages and printing them.
#include "report/RLReport.h"

#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/output/RLFeedBack.h"
#include "report/output/RLFilterThread.h"
#include "report/output/RLFilters.h"
#include "report/page/RLMetaFile.h"
#include "report/output/RLPrintDialog.h"
#include "report/output/RLPrinters.h"
#include "report/output/RLSpoolFilter.h"

#include <QApplication>
#include <QMessageBox>

#include <climits>

// --- page hooks ------------------------------------------------------------------------------

void TRLCustomReport::PageStarting()
{
    TRLCustomSkipper::PageStarting();
    ++m_pageCounter;
}

void TRLCustomReport::PageStarted()
{
    TRLCustomSkipper::PageStarted();
    if (OnPageStarting)
        OnPageStarting(this);
}

void TRLCustomReport::PageEnding()
{
    if (OnPageEnding)
        OnPageEnding(this);
    TRLCustomSkipper::PageEnding();
}

void TRLCustomReport::PageClosed()
{
    TRLCustomSkipper::PageClosed();
    std::unique_ptr<TRLGraphicSurface> page = TakePageSurface();
    if (!page)
        return;
    page->Close();
    // A chained report adds its pages to the master's store.
    TRLGraphicStorage *store = MasterReport()->m_pages;
    if (store)
        store->Add(page.release());
}

int TRLCustomReport::LastPageNumber() const
{
    const TRLCustomReport *master = MasterReport();
    const TRLGraphicStorage *store = master->m_pages;
    return (store ? store->PageCount() : 0) + master->m_firstPageNumber - 1;
}

int TRLCustomReport::PageNumber() const
{
    return MasterReport()->m_firstPageNumber + m_pageCounter;
}

TfrmRLFeedBack *TRLCustomReport::ProgressWindow() const
{
    return MasterReport()->m_progress.get();
}

bool TRLCustomReport::CancelRequested() const
{
    return m_canceled || MasterReport()->m_canceled;
}

void TRLCustomReport::StepProgress()
{
    if (TfrmRLFeedBack *progress = ProgressWindow()) {
        progress->Step();
        progress->SetStepName(RLMessage(rlmPage) + QLatin1Char(' ') + QString::number(PageNumber()));
    }
}

int TRLCustomReport::chainLength() const
{
    int n = 0;
    for (const TRLCustomReport *r = this; r; r = r->m_nextReport)
        ++n;
    return n;
}

// --- preparing -------------------------------------------------------------------------------

bool TRLCustomReport::Prepare()
{
    return prepare();
}

void TRLCustomReport::resetPreparation()
{
    ReleasePageSurface();
    if (this == MasterReport() && m_pages)
        m_pages->Clear();
    m_prepareState = TRLPrepareState::NotPrepared;
    m_canceled = false;
    // A chained report goes on counting after the pages already in the master's store.
    const TRLGraphicStorage *store = MasterReport()->m_pages;
    m_pageCounter = this == MasterReport() || !store ? -1 : store->PageCount() - 1;
    m_breakPending = false;
    m_completing = false;
}

bool TRLCustomReport::prepare()
{
    TRLCustomReport *master = MasterReport();
    const TRLRect bounds = BoundsRect();
    bool result = false;
    try {
        resetPreparation();
        m_prepareState = TRLPrepareState::Preparing;
        m_reportDateTime = QDateTime::currentDateTime();
        if (master->ShowProgress()) {
            if (master == this) {
                m_progress = std::make_unique<TfrmRLFeedBack>(RLMessage(rlmPreparingReport), chainLength(), m_progressParent);
                m_progress->SetOnCancel(this, [this](QObject *, TfrmRLFeedBack *, bool &) { m_canceled = true; });
                m_progress->show();
            } else if (master->m_progress) {
                master->m_progress->NextBar();
            }
        }
        result = RLAskBeforePrint(this, BeforePrint);
        if (result) {
            prepareSteps();
            if (CancelRequested()) {
                m_prepareState = TRLPrepareState::NotPrepared;
                result = false;
            } else {
                DoAfterPrint();
                if (m_nextReport && !m_nextReport->prepare())
                    result = false;
                else
                    writeStoreHeader();
            }
        } else {
            m_prepareState = TRLPrepareState::NotPrepared;
        }
    } catch (const TRLAbort &) {
        m_prepareState = TRLPrepareState::NotPrepared;
        AbandonOpen();
        ReleasePageSurface();
        if (master == this)
            m_progress.reset();
        RestoreBounds(bounds);
        throw;
    } catch (const std::exception &e) {
        m_prepareState = TRLPrepareState::NotPrepared;
        // Whatever was half built is not a page.
        AbandonOpen();
        ReleasePageSurface();
        // The progress window stays on top: the error box would open behind it.
        if (master == this)
            m_progress.reset();
        else if (master->m_progress)
            master->m_progress->hide();
        const QString text = e.what();
        const auto *engine = dynamic_cast<const TRLException *>(&e);
        ShowPrepareError(Name() + QStringLiteral(": ") + RLMessage(rlmPrepareError) + QChar(13)
                         + (engine ? engine->Message() : text));
        result = false;
    }
    if (master == this)
        m_progress.reset();
    RestoreBounds(bounds);
    return result;
}

void TRLCustomReport::prepareSteps()
{
    SortBands();
    RLPrinter().ReadPrinterMetrics();
    m_sorted.ResetPrinted();
    ComputePrintArea();
    TfrmRLFeedBack *progress = ProgressWindow();
    FirstRecord();
    if (progress && DataCountKnown())
        progress->SetMax(DataCount());
    else if (progress)
        progress->SetBusy();
    while (!Eof() && !CancelRequested()) {
        const quint64 moves = Moves();
        DetailStep();
        if (Moves() == moves) {
            StepProgress();
            NextRecord();
        }
    }
    m_prepareState = TRLPrepareState::Finishing;
    if (PrintEmpty() && !DetailsPrinted())
        OpenSite();
    FinishPages();
    // A page left open by a cancel is finished all the same.
    if (IsOpen())
        CloseSite();
    m_prepareState = TRLPrepareState::Prepared;
}

void TRLCustomReport::writeStoreHeader()
{
    TRLGraphicStorage *store = MasterReport()->m_pages;
    if (!store)
        return;
    store->SetFirstPageNumber(m_firstPageNumber);
    store->SetLastPageNumber(LastPageNumber());
    store->SetTitle(m_title);
    store->SetOrientation(RLStoredOrientation(m_pageSetup->Orientation()));
    store->SetPaperWidth(m_pageSetup->PaperWidth());
    store->SetPaperHeight(m_pageSetup->PaperHeight());
}

void TRLCustomReport::ShowPrepareError(const QString &text)
{
    QString shown = text;
    shown.replace(QChar(13), QLatin1Char('\n'));
    QMessageBox::critical(nullptr, QStringLiteral("Error"), shown);
}

// --- printing --------------------------------------------------------------------------------

TRLCustomPrintFilter *TRLCustomReport::DefaultFilter() const
{
    return qobject_cast<TRLCustomPrintFilter *>(m_defaultFilter.data());
}

void TRLCustomReport::SetDefaultFilter(TRLCustomPrintFilter *filter)
{
    m_defaultFilter = filter;
}

bool TRLCustomReport::ExecutePrintDialog()
{
    TRLPrintDialog dialog;
    dialog.SetPreviewSource([this](QWidget *progressParent) { return PreviewPages(progressParent); });
    return dialog.Execute();
}

TRLGraphicStorage *TRLCustomReport::PreviewPages(QWidget *progressParent)
{
    if (m_prepareState != TRLPrepareState::Prepared) {
        // A window over a modal window takes no input unless it belongs to the one on top.
        m_progressParent = progressParent;
        const bool prepared = Prepare();
        m_progressParent = nullptr;
        if (!prepared)
            return nullptr;
    }
    return m_pages;
}

void TRLCustomReport::Print()
{
    // The dialog and the run below use the printer a background print is still using.
    RLCheckNoBackgroundRun();
    RLPrinter().SetPaperSize(m_pageSetup->PaperWidth(), m_pageSetup->PaperHeight(),
                             m_pageSetup->Orientation() == poLandscape, m_pageSetup->ForceEmulation());
    TRLPrintParams &params = RLPrintParams();
    if (TRLCustomPrintFilter *filter = DefaultFilter())
        params.SetFilter(filter);
    params.Clear();
    params.SetFromPage(1);
    params.SetToPage(INT_MAX);
    if (m_printDialog) {
        params.SetHelpContext(m_helpContext);
        if (m_prepareState == TRLPrepareState::Prepared && m_pages)
            params.SetMaxPage(m_pages->PageCount());
        params.SetOrientation(m_pageSetup->Orientation());
        TRLTestPageLayout testPage;
        testPage.PaperWidthMm = m_pageSetup->PaperWidth();
        testPage.PaperHeightMm = m_pageSetup->PaperHeight();
        testPage.Orientation = RLStoredOrientation(m_pageSetup->Orientation());
        testPage.Boxes = m_formBoxes;
        params.SetTestPage(testPage);
        if (!ExecutePrintDialog()) {
            m_canceled = true;
            throw TRLAbort();
        }
    }
    TRLCustomFilter *filter = params.Filter();
    if (!filter)
        filter = SpoolFilter();
    // Asked before the pages are made, so that a user who declines waits for nothing.
    const QString document = !m_fileName.isEmpty() ? m_fileName : !m_title.isEmpty() ? m_title : Name();
    if (!filter->AskBeforeRun(QApplication::activeWindow(), document)) {
        m_canceled = true;
        throw TRLAbort();
    }
    // A failed preparation was shown already; nothing was printed, so nothing may confirm it.
    if (m_prepareState == TRLPrepareState::NotPrepared && !Prepare())
        throw TRLAbort();
    filter->SetShowProgress(m_showProgress);
    RunFilterOnStore(m_pages, filter, params.FromPage(), params.ToPage(), params.PrintInBackground());
}
