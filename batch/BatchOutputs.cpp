#include "batch/BatchOutputs.h"

#include "batch/BatchErrors.h"
#include "batch/BatchInterrupt.h"
#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/base/RLWork.h"
#include "report/output/RLJobFollow.h"
#include "report/page/RLMetaFile.h"
#include "report/output/RLPrinters.h"
#include "report/output/RLSpoolFilter.h"

#include <QDate>
#include <QDir>

namespace {

// Room for the other parts within the usual 255-byte limit of a name, accents taking two bytes.
constexpr int kMaxNameCharacters = 80;

// A part of a file name, with the characters file systems refuse replaced.
QString namePart(const QString &text)
{
    QString part;
    for (const QChar c : text.trimmed().left(kMaxNameCharacters)) {
        // Refused by Windows or Unix file systems, or awkward in a shell.
        static const QString refused = QStringLiteral("/\\:*?\"<>|");
        part += c.unicode() < 32 || c.unicode() == 127 || refused.contains(c) ? QLatin1Char('_') : c;
    }
    part = part.trimmed();
    // A name may not end in a dot or blank on every system.
    while (part.endsWith(QLatin1Char('.')))
        part.chop(1);
    return part;
}

QString lettersAndDigits(const QString &text)
{
    QString kept;
    for (const QChar c : text)
        if (c.isLetterOrNumber())
            kept += c.toUpper();
    return kept;
}

// A due date as it sorts: 2026-01-05.
QString sortableDate(const QString &shown)
{
    const QDate date = QDate::fromString(shown.trimmed(), QStringLiteral("dd/MM/yyyy"));
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

QString plainName(const TBatchSlip &slip)
{
    const bool darf = slip.kind == TSlipKind::Darf;
    const QStringList parts{
        BatchColumns::KindName(slip.kind),
        lettersAndDigits(darf ? slip.darf.CGCCPF : slip.gare.EDCGCG),
        namePart(darf ? slip.darf.CodRec : slip.gare.EDCodRecG),
        sortableDate(darf ? slip.darf.DtVenc : slip.gare.MEDTVencG),
        namePart(slip.PayerName()),
    };
    QStringList given;
    for (const QString &part : parts)
        if (!part.isEmpty())
            given << part;
    return given.join(QLatin1Char('-'));
}

} // namespace

QString TPdfFileNames::Next(const TBatchSlip &slip, int *sameAs)
{
    const QString plain = plainName(slip);
    const QString key = plain.toLower();
    const int first = m_firstRow.value(key, 0);
    if (sameAs)
        *sameAs = first;
    if (!first)
        m_firstRow.insert(key, slip.row);
    QString name = plain;
    for (int n = 2; m_taken.contains(name.toLower()); ++n)
        name = plain + QLatin1Char('-') + QString::number(n);
    m_taken.insert(name.toLower());
    return name + QStringLiteral(".pdf");
}

TPdfPerRowOutput::TPdfPerRowOutput(const QString &folder) : m_folder(folder) {}

void TPdfPerRowOutput::Add(const TBatchSlip &slip, TRLGraphicStorage &pages)
{
    m_lastPath = QDir(m_folder).filePath(m_names.Next(slip));
    TSlipPdfFile::Write(m_lastPath, pages);
}

QString TPdfPerRowOutput::Made(int slips) const
{
    return QStringLiteral("%1 arquivo%2 PDF em %3").arg(slips).arg(slips == 1 ? "" : "s", m_folder);
}

TSinglePdfOutput::TSinglePdfOutput(const QString &file, const QString &title)
    : m_path(file), m_file(file)
{
    m_file.SetTitle(title);
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

TPrintOutput::TPrintOutput(int waitSeconds, TBatchInterrupt *interrupt)
    : m_filter(std::make_unique<TRLSpoolFilter>()), m_waitSeconds(waitSeconds), m_interrupt(interrupt)
{
    // The batch follows its job itself, with its own limit.
    RLPrinter().SetFollowJobs(false);
}

TPrintOutput::~TPrintOutput()
{
    RLPrinter().SetFollowJobs(true);
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
            try {
                m_filter->StartJobForPaper(page->Orientation(), page->PaperWidth(), page->PaperHeight());
            } catch (const TRLException &e) {
                // The printer's refusal, not the row's fault.
                throw TBatchPrintError(e.Message());
            }
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
    TRLPrinterWrapper &printer = RLPrinter();
    try {
        m_filter->EndDoc();
    } catch (const TRLException &e) {
        throw TBatchPrintError(e.Message());
    }
    const QString queue = printer.LastJobQueue();
    const int jobId = printer.LastJobId();
    m_end = TRLJobEnd::Open;
    TRLWork<TRLJobStatus> follow = RLFollowJob(printer.SharedService(), queue, jobId);
    m_interrupt->SetWaiting(QFuture<void>(follow.Future));
    QString words;
    const TRLWaitEnd end = RLAwait(follow, QDeadlineTimer(qint64(m_waitSeconds) * 1000), [&](const QString &text) {
        if (text.trimmed().isEmpty() || text == words)
            return;
        words = text;
        if (m_say)
            m_say(QStringLiteral("impressora %1, trabalho %2: %3").arg(queue).arg(jobId).arg(text));
    });
    m_interrupt->SetWaiting({});
    if (end != TRLWaitEnd::Finished) {
        follow.Cancel();
        takeBack(queue, jobId,
                 end == TRLWaitEnd::TimedOut ? QStringLiteral("o trabalho não terminou em %1 s de espera").arg(m_waitSeconds)
                                             : QStringLiteral("interrompido"),
                 words);
        return;
    }
    const QString title = printer.LastJobTitle();
    try {
        const TRLJobStatus status = follow.Result();
        m_end = RLJobEndOf(status);
        if (status.Outcome == TRLJobStatus::Failed || status.Outcome == TRLJobStatus::Canceled) {
            try {
                printer.Service().CancelJob(queue, jobId);
            } catch (const TRLException &) {
                // Its failure is what the user needs to read.
            }
        }
        RLRaiseJobEnd(status, queue, title, jobId);
    } catch (const TRLServiceUnreachable &silent) {
        // Nothing will follow the job once the batch has ended: said as it is.
        throw TBatchPrintError(RLMessage(rlmJobFateOpen).arg(queue, title, QString::number(jobId), silent.Message())
                                   .section(QStringLiteral("; "), 0, 0)
                               + QLatin1Char('.'));
    } catch (const TRLException &e) {
        throw TBatchPrintError(e.Message());
    }
}

void TPrintOutput::takeBack(const QString &queue, int jobId, const QString &why, const QString &words)
{
    TRLPrinterWrapper &printer = RLPrinter();
    try {
        m_end = RLCancelFollowedJob(printer.Service(), queue, printer.LastJobTitle(), jobId);
    } catch (const TRLServiceUnreachable &silent) {
        throw TBatchPrintError(QStringLiteral("impressora %1: %2; o trabalho %3 não pôde ser cancelado: %4")
                                   .arg(queue, why).arg(jobId).arg(silent.Message()));
    } catch (const TRLException &e) {
        throw TBatchPrintError(QStringLiteral("impressora %1: %2; %3").arg(queue, why, e.Message()));
    }
    // Completed at the last moment: printed after all.
    if (m_end == TRLJobEnd::Completed)
        return;
    throw TBatchPrintError(QStringLiteral("impressora %1: %2; o trabalho %3 foi cancelado (último motivo do CUPS: %4)")
                               .arg(queue, why)
                               .arg(jobId)
                               .arg(words.isEmpty() ? QStringLiteral("nenhum") : words));
}

QString TPrintOutput::Made(int slips) const
{
    return QStringLiteral("%1 guia%2 impressa%2 pela impressora %3 (trabalho %4)")
        .arg(slips)
        .arg(slips == 1 ? "" : "s", RLPrinter().PrinterName())
        .arg(RLPrinter().LastJobId());
}
