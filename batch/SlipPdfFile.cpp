#include "batch/SlipPdfFile.h"

#include "batch/BatchErrors.h"
#include "report/RLUtils.h"
#include "report/output/RLMetaFile.h"

#include <QPageSize>

namespace {

// Pages are drawn at a printer's resolution, so that a file and a print replay alike.
constexpr int kResolution = 600;

int devicePixels(double mm)
{
    return RLRound(static_cast<long double>(kResolution) * mm / 25.4);
}

QPageLayout layoutOf(const TRLGraphicSurface &page)
{
    const QPageSize size(QSizeF(page.PaperWidth(), page.PaperHeight()), QPageSize::Millimeter, QString(),
                         QPageSize::FuzzyMatch);
    return QPageLayout(size, page.Orientation() == 2 ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

} // namespace

TSlipPdfFile::TSlipPdfFile(const QString &path, const QString &title) : m_path(path), m_title(title), m_file(path)
{
}

TSlipPdfFile::~TSlipPdfFile()
{
    if (m_painter.isActive())
        m_painter.end();
    if (!m_committed)
        m_file.cancelWriting();
}

void TSlipPdfFile::AddPages(TRLGraphicStorage &store)
{
    for (int i = 0; i < store.PageCount(); ++i) {
        TRLGraphicSurface *page = store.Pages(i);
        // A page that cannot be read back would make a short document look complete.
        if (!page)
            throw TBatchOutputError(QStringLiteral("a página %1 da guia não pôde ser lida de volta").arg(i + 1));
        const QPageLayout layout = layoutOf(*page);
        if (!m_writer) {
            if (!m_file.open(QIODevice::WriteOnly))
                throw TBatchOutputError(QStringLiteral("não foi possível criar %1: %2").arg(m_path, m_file.errorString()));
            m_writer = std::make_unique<QPdfWriter>(&m_file);
            m_writer->setResolution(kResolution);
            m_writer->setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
            m_writer->setTitle(m_title);
            m_writer->setCreator(QStringLiteral("Zavenor"));
            m_writer->setPageLayout(layout);
            if (!m_painter.begin(m_writer.get()))
                throw TBatchOutputError(QStringLiteral("não foi possível escrever %1").arg(m_path));
        } else {
            m_writer->setPageLayout(layout);
            if (!m_writer->newPage())
                throw TBatchOutputError(QStringLiteral("não foi possível escrever %1").arg(m_path));
        }
        const QSizeF mm = layout.fullRect(QPageLayout::Millimeter).size();
        const QRect sheet(0, 0, devicePixels(mm.width()), devicePixels(mm.height()));
        const double fx = page->Width() == 0 ? 1.0 : double(sheet.width()) / page->Width();
        const double fy = page->Height() == 0 ? 1.0 : double(sheet.height()) / page->Height();
        TRLReplayCanvas canvas(&m_painter, 0, 0, fx, fy, sheet, kResolution);
        page->PaintTo(canvas);
        ++m_pages;
    }
}

void TSlipPdfFile::Commit()
{
    if (!m_writer)
        throw TBatchOutputError(QStringLiteral("nenhuma página para %1").arg(m_path));
    m_painter.end();
    // QPdfWriter reports no write error: the file's own state and size tell.
    const bool written = m_file.error() == QFileDevice::NoError && m_file.size() > 0;
    if (!written || !m_file.commit()) {
        const QString reason = m_file.errorString();
        m_file.cancelWriting();
        m_committed = true;
        throw TBatchOutputError(QStringLiteral("não foi possível gravar %1: %2").arg(m_path, reason));
    }
    m_committed = true;
}
