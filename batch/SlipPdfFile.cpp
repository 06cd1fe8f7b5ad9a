#include "batch/SlipPdfFile.h"

#include "batch/BatchErrors.h"
#include "report/page/RLMetaFile.h"
#include "report/output/RLPdfFilter.h"

namespace {

std::unique_ptr<TRLPdfFilter> newFilter(const QString &path)
{
    auto filter = std::make_unique<TRLPdfFilter>();
    filter->SetFileName(path);
    // The batch shows its own progress, and never a window.
    filter->SetShowProgress(false);
    return filter;
}

} // namespace

TSlipPdfFile::TSlipPdfFile(const QString &path) : m_filter(newFilter(path)) {}

TSlipPdfFile::~TSlipPdfFile()
{
    if (m_begun && !m_done) {
        try {
            m_filter->AbortDoc();
        } catch (...) {
            // The failure that brought us here is the one to report.
        }
    }
}

void TSlipPdfFile::Write(const QString &path, TRLGraphicStorage &store)
{
    newFilter(path)->Run(&store, 1, -1);
}

void TSlipPdfFile::SetTitle(const QString &title)
{
    m_filter->SetTitle(title);
}

void TSlipPdfFile::AddPages(TRLGraphicStorage &store)
{
    if (!m_begun) {
        m_begun = true;
        m_filter->BeginDoc();
    }
    for (int i = 0; i < store.PageCount(); ++i) {
        TRLGraphicSurface *page = store.Pages(i);
        // A page that cannot be read back would make a short document look complete.
        if (!page)
            throw TBatchOutputError(QStringLiteral("a página %1 da guia não pôde ser lida de volta").arg(i + 1));
        if (m_pages > 0)
            m_filter->NewPage();
        m_filter->DrawPage(page);
        ++m_pages;
    }
}

void TSlipPdfFile::Commit()
{
    if (!m_begun)
        throw TBatchOutputError(QStringLiteral("nenhuma guia para gravar em %1").arg(m_filter->FileName()));
    m_done = true;
    m_filter->EndDoc();
}
