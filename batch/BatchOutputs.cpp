#include "batch/BatchOutputs.h"

#include "batch/BatchErrors.h"
#include "report/page/RLMetaFile.h"
#include "report/output/RLPrinters.h"
#include "report/output/RLSpoolFilter.h"

#include <QDir>

namespace {

// Room for the row and kind within the usual 255-byte limit of a name, accents taking two bytes.
constexpr int kMaxNameCharacters = 100;

} // namespace

TPdfPerRowOutput::TPdfPerRowOutput(const QString &folder) : m_folder(folder) {}

QString TPdfPerRowOutput::FileName(const TBatchSlip &slip)
{
    QString payer;
    for (const QChar c : slip.PayerName().trimmed().left(kMaxNameCharacters)) {
        // Refused by Windows or Unix file systems, or awkward in a shell.
        static const QString refused = QStringLiteral("/\\:*?\"<>|");
        payer += c.unicode() < 32 || c.unicode() == 127 || refused.contains(c) ? QLatin1Char('_') : c;
    }
    payer = payer.trimmed();
    // A name may not end in a dot or blank on every system.
    while (payer.endsWith(QLatin1Char('.')))
        payer.chop(1);
    QString name = QString::number(slip.row) + QLatin1Char('-') + BatchColumns::KindName(slip.kind);
    if (!payer.isEmpty())
        name += QLatin1Char('-') + payer;
    return name + QStringLiteral(".pdf");
}

void TPdfPerRowOutput::Add(const TBatchSlip &slip, TRLGraphicStorage &pages)
{
    TSlipPdfFile::Write(QDir(m_folder).filePath(FileName(slip)), pages);
}

QString TPdfPerRowOutput::Made(int slips) const
{
    return QStringLiteral("%1 arquivo%2 PDF em %3").arg(slips).arg(slips == 1 ? "" : "s", m_folder);
}

TSinglePdfOutput::TSinglePdfOutput(const QString &file)
    : m_path(file), m_file(file)
{
}

void TSinglePdfOutput::Add(const TBatchSlip &, TRLGraphicStorage &pages)
{
    m_file.AddPages(pages);
}

void TSinglePdfOutput::Finish()
{
    m_file.Commit();
}

QString TSinglePdfOutput::Made(int) const
{
    return QStringLiteral("%1 (%2 página%3)").arg(m_path).arg(m_file.PageCount()).arg(m_file.PageCount() == 1 ? "" : "s");
}

TPrintOutput::TPrintOutput() : m_filter(std::make_unique<TRLSpoolFilter>()) {}

TPrintOutput::~TPrintOutput()
{
    if (m_begun && !m_finished) {
        try {
            m_filter->AbortDoc();
        } catch (...) {
            // The failure that brought us here is the one to report.
        }
    }
}

void TPrintOutput::Add(const TBatchSlip &, TRLGraphicStorage &pages)
{
    for (int i = 0; i < pages.PageCount(); ++i) {
        TRLGraphicSurface *page = pages.Pages(i);
        if (!page)
            throw TBatchOutputError(QStringLiteral("a página %1 da guia não pôde ser lida de volta").arg(i + 1));
        if (!m_begun) {
            RLPrinter().SetJobTitle(QStringLiteral("Zavenor - lote"));
            m_begun = true;
            m_filter->StartJobForPaper(page->Orientation(), page->PaperWidth(), page->PaperHeight());
        } else {
            m_filter->NewPage();
        }
        m_filter->DrawPage(page);
    }
}

void TPrintOutput::Finish()
{
    if (!m_begun)
        return;
    m_finished = true;
    m_filter->EndDoc();
}

QString TPrintOutput::Made(int slips) const
{
    return QStringLiteral("%1 guia%2 enviada%2 à impressora %3 (trabalho %4)")
        .arg(slips)
        .arg(slips == 1 ? "" : "s", RLPrinter().PrinterName())
        .arg(RLPrinter().LastJobId());
}
