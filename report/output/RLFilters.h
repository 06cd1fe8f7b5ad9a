#pragma once
// Output filters: a filter receives the pages of a page store one by one between a begin and an
// end of document. The base class runs the page loop; print and save filters derive from it.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

class QWidget;
class TRLGraphicStorage;
class TRLGraphicSurface;

// The progress shown while a filter runs. Step may throw TRLAbort when the program is closing.
class TRLProgress
{
public:
    virtual ~TRLProgress() = default;
    virtual void SetMax(int max) = 0; // also puts the position back to 0
    virtual void Step() = 0;
};

// Makes and shows a progress window with a caption and a number of bars; cancel is called when
// the user cancels. Always called on the user-interface thread; background tells that the run goes
// on on a worker, so the window must leave the other windows usable. Without a factory a run
// shows no progress.
using TRLProgressFactory = std::function<std::unique_ptr<TRLProgress>(
    const QString &caption, int barCount, std::function<void()> cancel, bool background)>;
void SetRLProgressFactory(TRLProgressFactory factory);
TRLProgressFactory RLProgressFactory();

enum TRLFilterTrait { ftMakesCopies = 0x1 };

class TRLCustomFilter : public QObject
{
    Q_OBJECT
public:
    explicit TRLCustomFilter(QObject *owner = nullptr);
    ~TRLCustomFilter() override;

    virtual void BeginDoc() = 0;
    virtual void EndDoc() = 0;
    virtual void NewPage() = 0;
    virtual void DrawPage(TRLGraphicSurface *page) = 0;
    virtual QString GetDisplayName() const;
    // Ends the document after a failed run; by default as EndDoc.
    virtual void AbortDoc() { EndDoc(); }
    // Asks the user what the run needs (a file, say) before anything is prepared or output;
    // false when they declined. documentName names the report. User-interface thread only.
    virtual bool AskBeforeRun(QWidget *parent, const QString &documentName)
    {
        (void)parent;
        (void)documentName;
        return true;
    }
    // A filter whose result is only there once the run has ended (a file) keeps Run from
    // returning before then, also in the background: the window stays usable meanwhile, and
    // whoever confirms the output after Run confirms a whole one.
    virtual bool WaitsForBackgroundRun() const { return false; }

    // Outputs pages FromPage..ToPage (1-based; ToPage -1: to the last). In the background the loop
    // runs on a TFilterThread and Run returns at once; its errors go to RLReportError. Refuses
    // (TRLException) while a background run is going on. User-interface thread only.
    void Run(TRLGraphicStorage *store, int fromPage, int toPage, bool background = false);
    // Any thread: the progress window calls it on the user-interface thread.
    void Cancel() { m_canceled = true; }

    QString DisplayName() const { return m_displayName; }
    void SetDisplayName(const QString &name) { m_displayName = name; }
    TRLGraphicStorage *Pages() const { return m_pages; }
    bool ShowProgress() const { return m_showProgress; }
    void SetShowProgress(bool show) { m_showProgress = show; }
    bool Canceled() const { return m_canceled.load(); }
    int FilterTraits() const { return m_filterTraits; }
    void SetFilterTraits(int traits) { m_filterTraits = traits; }
    int PassCount() const { return m_passCount; }
    int FromPageNo() const { return m_fromPageNo; }
    int ToPageNo() const { return m_toPageNo; }

    virtual bool IsPrintFilter() const { return false; }

protected:
    // Caption of the progress window.
    virtual QString ProgressCaption() const;

private:
    friend class TFilterThread;
    void runPageLoop(bool onWorker = false);
    void linkStore(TRLGraphicStorage *store);
    void unlinkStore();

    QString m_displayName;
    QPointer<TRLGraphicStorage> m_pages;
    std::unique_ptr<TRLProgress> m_progress;
    bool m_showProgress = true;
    std::atomic<bool> m_canceled{false};
    int m_filterTraits = 0;
    int m_passCount = 1;
    int m_fromPageNo = 1;
    int m_toPageNo = 0;
};

class TRLCustomPrintFilter : public TRLCustomFilter
{
    Q_OBJECT
public:
    using TRLCustomFilter::TRLCustomFilter;
    virtual QString GetOptionsLabel() const { return QString(); }
    virtual QStringList GetOptions() const { return QStringList(); }
    virtual int GetSelectedOption() const { return -1; }
    virtual void SetSelectedOption(int) {}
    // The report's orientation (1 portrait, 2 landscape).
    virtual void SetOrientation(int) {}
    bool IsPrintFilter() const override { return true; }
};

class TRLCustomSaveFilter : public TRLCustomFilter
{
    Q_OBJECT
public:
    using TRLCustomFilter::TRLCustomFilter;
    QString FileName() const { return m_fileName; }
    void SetFileName(const QString &name) { m_fileName = name; }
    QString DefaultExt() const { return m_defaultExt; }
    void SetDefaultExt(const QString &ext) { m_defaultExt = ext; }

private:
    QString m_fileName;
    QString m_defaultExt;
};

// Every filter alive, in order of creation.
const QList<TRLCustomFilter *> &ActiveFilters();

// Outputs the store through the filter, or through the shared spool filter when none is given.
void RunFilterOnStore(TRLGraphicStorage *store, TRLCustomFilter *filter, int fromPage, int toPage,
                      bool background = false);
