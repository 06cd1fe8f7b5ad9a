#include "report/output/RLFilters.h"

#include "report/RLConsts.h"
#include "report/RLExceptions.h"
#include "report/output/RLMetaFile.h"
#include "report/output/RLPrinters.h"
#include "report/output/RLSpoolFilter.h"

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
    // The worker thread comes with the progress window; until then a background run is a
    // foreground one, which the caller cannot tell apart except by waiting.
    Q_UNUSED(background);
    m_canceled = false;
    const int pageCount = store ? store->PageCount() : 0;
    m_fromPageNo = std::max(1, fromPage);
    m_toPageNo = toPage == -1 ? pageCount : std::min(toPage, pageCount);
    m_passCount = 1;
    if (m_filterTraits & ftMakesCopies)
        m_passCount = std::max(1, RLPrinter().Copies());
    linkStore(store);
    runPageLoop();
}

void TRLCustomFilter::runPageLoop()
{
    bool documentBegun = false;
    try {
        if (m_showProgress && progressFactory()) {
            m_progress = progressFactory()(ProgressCaption(), 1, [this] { Cancel(); });
            if (m_progress)
                m_progress->SetMax(std::max(0, m_toPageNo - m_fromPageNo + 1) * m_passCount);
        }
        documentBegun = true;
        BeginDoc();
        bool firstPage = true;
        for (int pass = 1; pass <= m_passCount; ++pass) {
            for (int p = m_fromPageNo; p <= m_toPageNo; ++p) {
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
    // The store may release itself here when nothing else holds it.
    if (TRLGraphicStorage *store = m_pages) {
        m_pages = nullptr;
        store->Unlink(this);
    }
}

void RunFilterOnStore(TRLGraphicStorage *store, TRLCustomFilter *filter, int fromPage, int toPage, bool background)
{
    if (!filter)
        filter = SpoolFilter();
    filter->Run(store, fromPage, toPage, background);
}
