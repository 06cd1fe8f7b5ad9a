#include "report/output/RLFilters.h"

#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/base/RLHost.h"
#include "report/base/RLQueuedCall.h"
#include "report/page/RLMetaFile.h"
#include "report/output/RLPrinters.h"
#include "report/output/RLFilterThread.h"
#include "report/output/RLSpoolFilter.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <algorithm>

namespace {

// Never destroyed: engine-wide filters may be released after every static is gone.
QList<TRLCustomFilter *> &filterList()
{
    static auto *filters = new QList<TRLCustomFilter *>;
    return *filters;
}

TRLProgressFactory &progressFactory()
{
    static TRLProgressFactory factory;
    return factory;
}

// "Página %1 não pôde ser lida" in the language of the engine's messages.
QString unreadablePageMessage(int pageNo)
{
    switch (RLMessagesLanguage()) {
    case mlPortuguese:
        return QStringLiteral("A página %1 do relatório não pôde ser lida; nada foi impresso.").arg(pageNo);
    case mlSpanish:
        return QStringLiteral("No se pudo leer la página %1 del informe; no se imprimió nada.").arg(pageNo);
    case mlFrench:
        return QStringLiteral("La page %1 du rapport n'a pas pu être lue ; rien n'a été imprimé.").arg(pageNo);
    default:
        return QStringLiteral("Page %1 of the report could not be read; nothing was printed.").arg(pageNo);
    }
}

// The progress of a run on a worker: every call is handed over to the user-interface thread, and
// the window is released there too. A closing program ends the run before any hand-over.
class TRLHandedOverProgress : public TRLProgress
{
public:
    explicit TRLHandedOverProgress(std::unique_ptr<TRLProgress> inner) : m_inner(std::move(inner)) {}
    ~TRLHandedOverProgress() override
    {
        try {
            RLHandOver([this] { m_inner.reset(); });
        } catch (...) {
            // Without a user-interface thread to hand it to, the window is dropped with the program.
            (void)m_inner.release();
        }
    }
    void SetMax(int max) override
    {
        RLCheckApplicationClosing();
        RLHandOver([this, max] { m_inner->SetMax(max); });
    }
    void Step() override
    {
        RLCheckApplicationClosing();
        RLHandOver([this] { m_inner->Step(); });
    }

private:
    std::unique_ptr<TRLProgress> m_inner;
};

} // namespace

void SetRLProgressFactory(TRLProgressFactory factory)
{
    progressFactory() = std::move(factory);
}

TRLProgressFactory RLProgressFactory()
{
    return progressFactory();
}

const QList<TRLCustomFilter *> &ActiveFilters()
{
    return filterList();
}

TRLCustomFilter::TRLCustomFilter(QObject *owner) : QObject(owner)
{
    filterList().append(this);
}

TRLCustomFilter::~TRLCustomFilter()
{
    filterList().removeOne(this);
    unlinkStore();
}

QString TRLCustomFilter::GetDisplayName() const
{
    return m_displayName.isEmpty() ? objectName() : m_displayName;
}

QString TRLCustomFilter::ProgressCaption() const
{
    return RLMessage(IsPrintFilter() ? 1 : 2);
}

void TRLCustomFilter::Run(TRLGraphicStorage *store, int fromPage, int toPage, bool background)
{
    // The shared printer and spool filter serve one run at a time.
    RLCheckNoBackgroundRun();
    m_canceled = false;
    const int pageCount = store ? store->PageCount() : 0;
    m_fromPageNo = std::max(1, fromPage);
    m_toPageNo = toPage == -1 ? pageCount : std::min(toPage, pageCount);
    // A range without pages would end in a confirmation of nothing.
    if (m_fromPageNo > m_toPageNo)
        throw TRLException(RLMessage(rlmNoPageInRange));
    m_passCount = 1;
    if (m_filterTraits & ftMakesCopies)
        m_passCount = std::max(1, RLPrinter().Copies());
    linkStore(store);
    // Without a thread of its own the print still goes out, in the foreground.
    if (background && QCoreApplication::instance()) {
        auto outcome = WaitsForBackgroundRun() ? std::make_shared<TRLRunOutcome>() : nullptr;
        if (TFilterThread::Launch(this, outcome)) {
            if (outcome)
                RLWaitForRun(outcome);
            return;
        }
    }
    runPageLoop();
}

void TRLCustomFilter::runPageLoop(bool onWorker)
{
    bool documentBegun = false;
    try {
        if (m_showProgress && progressFactory()) {
            if (onWorker) {
                RLCheckApplicationClosing();
                std::unique_ptr<TRLProgress> window;
                const QString caption = ProgressCaption();
                const TRLProgressFactory factory = progressFactory();
                RLHandOver([&] { window = factory(caption, 1, [this] { Cancel(); }, true); });
                if (window)
                    m_progress = std::make_unique<TRLHandedOverProgress>(std::move(window));
            } else {
                m_progress = progressFactory()(ProgressCaption(), 1, [this] { Cancel(); }, false);
            }
            if (m_progress)
                m_progress->SetMax(std::max(0, m_toPageNo - m_fromPageNo + 1) * m_passCount);
        }
        documentBegun = true;
        BeginDoc();
        bool firstPage = true;
        for (int pass = 1; pass <= m_passCount; ++pass) {
            for (int p = m_fromPageNo; p <= m_toPageNo; ++p) {
                // With no progress window stepping, a worker looks at the closing flag itself.
                if (onWorker)
                    RLCheckApplicationClosing();
                if (!firstPage)
                    NewPage();
                firstPage = false;
                TRLGraphicSurface *page = m_pages ? m_pages->Pages(p - 1) : nullptr;
                // A page that cannot be read back would make a short document look printed.
                if (!page)
                    throw TRLException(unreadablePageMessage(p));
                DrawPage(page);
                if (m_progress)
                    m_progress->Step();
                if (m_canceled)
                    break;
            }
        }
        // Cancelled means nothing goes out: the pages drawn so far are dropped with the document.
        if (m_canceled)
            RaiseCanceled();
        // A print cancelled because the program is closing is dropped, not sent cut short.
        if (onWorker)
            RLCheckApplicationClosing();
        documentBegun = false;
        EndDoc();
    } catch (...) {
        if (documentBegun) {
            try {
                AbortDoc();
            } catch (...) {
                // The first failure is the one the user needs to see.
            }
        }
        m_progress.reset();
        unlinkStore();
        throw;
    }
    m_progress.reset();
    unlinkStore();
}

void TRLCustomFilter::RaiseCanceled()
{
    throw TRLAbort();
}

void TRLCustomFilter::linkStore(TRLGraphicStorage *store)
{
    if (m_pages == store)
        return;
    unlinkStore();
    m_pages = store;
    if (store)
        store->Link(this);
}

void TRLCustomFilter::unlinkStore()
{
    // The store may release itself here when nothing else holds it: on the thread that owns it,
    // so a worker hands the unlink over (dropped if the store is gone by then).
    if (TRLGraphicStorage *store = m_pages) {
        m_pages = nullptr;
        if (QThread::currentThread() == store->thread())
            store->Unlink(this);
        else
            RLQueueCall(store, [store, this] { store->Unlink(this); });
    }
}

void RunFilterOnStore(TRLGraphicStorage *store, TRLCustomFilter *filter, int fromPage, int toPage, bool background)
{
    if (!filter)
        filter = SpoolFilter();
    filter->Run(store, fromPage, toPage, background);
}
