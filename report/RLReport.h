#pragma once
// The report tree: controls, sites, bands, the printable controls and the report itself.
// Include this header to build a report layout.

#include "report/RLBand.h"
#include "report/RLBackground.h"
#include "report/RLBorders.h"
#include "report/RLControl.h"
#include "report/RLDataSet.h"
#include "report/RLDraw.h"
#include "report/RLFormLoader.h"
#include "report/RLImage.h"
#include "report/RLLabel.h"
#include "report/RLMemo.h"
#include "report/RLSite.h"
#include "report/base/RLTypes.h"
#include "report/page/RLMetaFile.h"

#include <QDateTime>
#include <QWidget>

#include <memory>

class TfrmRLFeedBack;
class TRLCustomPrintFilter;

// Where a report is in its preparation.
enum class TRLPrepareState { NotPrepared = 0, Preparing = 1, Finishing = 2, Prepared = 3 };

// The report: a skipper of page size (its bounds follow PageSetup) whose surface is the page.
class TRLCustomReport : public TRLCustomSkipper, public TRLPageSetupOwner, public TRLPrintContext
{
    Q_OBJECT
public:
    explicit TRLCustomReport(QObject *owner = nullptr);
    ~TRLCustomReport() override;

    TRLPageSetup *PageSetup() const { return m_pageSetup.get(); }
    void PageSetupChanged() override;

    QString Title() const { return m_title; }
    void SetTitle(const QString &title) { m_title = title; }
    // The name a saved copy is offered under (without extension); empty: the title.
    QString FileName() const { return m_fileName; }
    void SetFileName(const QString &name) { m_fileName = name; }
    int FirstPageNumber() const { return m_firstPageNumber; }
    void SetFirstPageNumber(int number) { m_firstPageNumber = number; }
    bool PrintDialog() const { return m_printDialog; }
    void SetPrintDialog(bool on) { m_printDialog = on; }
    bool ShowProgress() const { return m_showProgress; }
    void SetShowProgress(bool on) { m_showProgress = on; }
    bool PrintEmpty() const { return m_printEmpty; }
    void SetPrintEmpty(bool on) { m_printEmpty = on; }
    TRLPrintQuality PrintQuality() const override { return m_printQuality; }
    void SetPrintQuality(TRLPrintQuality quality) { m_printQuality = quality; }
    bool ForcePrepare() const { return m_forcePrepare; }
    void SetForcePrepare(bool on) { m_forcePrepare = on; }
    bool AdjustableMargins() const { return m_adjustableMargins; }
    void SetAdjustableMargins(bool on) { m_adjustableMargins = on; }
    bool ShowDesigners() const { return m_showDesigners; }
    void SetShowDesigners(bool on) { m_showDesigners = on; }
    bool ShowTracks() const { return m_showTracks; }
    void SetShowTracks(bool on) { m_showTracks = on; }
    bool ShowExplosion() const { return m_showExplosion; }
    void SetShowExplosion(bool on) { m_showExplosion = on; }

    // A report prepared after this one into the same pages; the first of the chain is the master.
    TRLCustomReport *NextReport() const { return m_nextReport; }
    void SetNextReport(TRLCustomReport *next);
    TRLCustomReport *MasterReport() const;

    // Applied to every text control's text after its own BeforePrint.
    TRLBeforeTextEvent OnFilterText;
    TRLNotifyEvent OnPageStarting;
    TRLNotifyEvent OnPageEnding;

    // Output filter used when the print parameters name none.
    TRLCustomPrintFilter *DefaultFilter() const;
    void SetDefaultFilter(TRLCustomPrintFilter *filter);
    int HelpContext() const { return m_helpContext; }
    void SetHelpContext(int context) { m_helpContext = context; }
    // The boxes of the pre-printed form the report's values go into (report pixels from the
    // sheet's corner); a position test page outlines them.
    const QList<TRLRect> &FormBoxes() const { return m_formBoxes; }
    void SetFormBoxes(const QList<TRLRect> &boxes) { m_formBoxes = boxes; }

    // Sets the paper, asks the print dialog, prepares when needed and sends the pages to the
    // filter. A cancel in the dialog and a failed preparation end in the silent abort.
    void Print() override;
    // True when the pages were prepared; an error is shown in a message box and gives false.
    bool Prepare();
    // The prepared pages.
    TRLGraphicStorage *Pages() const { return m_pages; }
    // Pages of a chain are numbered on from the master's first page.
    int PageNumber() const;
    int LastPageNumber() const;
    QDateTime ReportDateTime() const { return m_reportDateTime; }
    bool Canceled() const { return m_canceled; }
    void Cancel() { m_canceled = true; }
    // A cancel of this report or of the master of its chain.
    bool CancelRequested() const;
    // One record done: the progress bar steps and shows the page.
    void StepProgress();
    // A band printed with pbAfterPrint asks a new page before the next detail or summary.
    bool BreakPending() const { return m_breakPending; }
    void SetBreakPending(bool on) { m_breakPending = on; }
    // While completion repeats a band to fill the page, texts print empty.
    bool Completing() const { return m_completing; }
    void SetCompleting(bool on) { m_completing = on; }
    // The progress window of the chain while it prepares.
    TfrmRLFeedBack *ProgressWindow() const;

    TRLPrepareState PrepareState() const { return m_prepareState; }
    void SetPrepareState(TRLPrepareState state) { m_prepareState = state; }
    TRLPrintContext *AsPrintContext() override { return this; }
    bool PreparesPages() const override
    {
        return m_prepareState == TRLPrepareState::Preparing || m_prepareState == TRLPrepareState::Finishing;
    }
    bool PrintsBlankTexts() const override
    {
        return m_blankTexts || m_completing || RecordAction() == raBlankAndRetain;
    }
    void SetPrintsBlankTexts(bool on) { m_blankTexts = on; }
    void FilterText(TRLCustomControl *sender, QString &text, bool &printIt) override
    {
        if (OnFilterText)
            OnFilterText(sender, text, printIt);
    }

    // The current page, created on first request at the report's size with its paper macros and
    // opened; TakePageSurface() hands it over (to the page store) and forgets it.
    TRLGraphicSurface *PageSurface();
    std::unique_ptr<TRLGraphicSurface> TakePageSurface();
    void ReleasePageSurface();
    // Children print only onto a page that is open: once the page has gone to the store, a print
    // onto the report is an error rather than the start of a blank page of its own.
    TRLGraphicSurface *Surface() override { return m_page.get(); }

protected:
    void FixSize(int &width, int &height) const override;
    bool SizesWidth() const override { return false; }
    bool SizesHeight() const override { return false; }
    void ComputePrintArea() override;
    void PrepareSurface() override;
    void PartsBeginLoading() override;
    void PartsEndLoading() override;
    // The page is the outermost surface: nothing encloses it.
    void PutOnEnclosingSurface() override {}
    void PageStarting() override;
    void PageStarted() override;
    void PageEnding() override;
    void PageClosed() override;

    // Seams of the user interface: the print dialog's answer and the error box.
    virtual bool ExecutePrintDialog();
    virtual void ShowPrepareError(const QString &text);
    // The pages for a preview, prepared first when they are not yet, with the progress window
    // over progressParent; none when the preparation failed or was cancelled.
    TRLGraphicStorage *PreviewPages(QWidget *progressParent);

private:
    // Prepares into the master's pages; the master owns the progress window.
    bool prepare();
    void resetPreparation();
    void prepareSteps();
    void writeStoreHeader();
    int chainLength() const;

    std::unique_ptr<TRLPageSetup> m_pageSetup;
    std::unique_ptr<TRLGraphicSurface> m_page;
    QString m_title;
    QString m_fileName;
    int m_firstPageNumber = 1;
    bool m_printDialog = true;
    bool m_showProgress = true;
    bool m_printEmpty = true;
    TRLPrintQuality m_printQuality = pqFullFeature;
    bool m_forcePrepare = true;
    bool m_adjustableMargins = false;
    bool m_showDesigners = true;
    bool m_showTracks = true;
    bool m_showExplosion = false;
    QPointer<TRLCustomReport> m_nextReport;
    QPointer<TRLCustomReport> m_priorReport;
    TRLPrepareState m_prepareState = TRLPrepareState::NotPrepared;
    bool m_blankTexts = false;
    bool m_breakPending = false;
    bool m_completing = false;
    QPointer<TRLGraphicStorage> m_pages;
    QPointer<QObject> m_defaultFilter;
    int m_helpContext = 0;
    QList<TRLRect> m_formBoxes;
    bool m_canceled = false;
    int m_pageCounter = -1;
    QDateTime m_reportDateTime;
    std::unique_ptr<TfrmRLFeedBack> m_progress;
    QPointer<QWidget> m_progressParent;
};

class TRLReport : public TRLCustomReport
{
    Q_OBJECT
public:
    explicit TRLReport(QObject *owner = nullptr) : TRLCustomReport(owner) {}
};
