#include "app/IssueHistory.h"

#include "report/base/RLExceptions.h"
#include "report/page/RLMetaFile.h"
#include "report/output/RLPdfFilter.h"
#include "report/output/RLPrintDialog.h"
#include "report/output/RLPrinters.h"
#include "storage/RegisterThread.h"

#include <QMessageBox>

bool TIssueHistory::Track(TIssuedSlip slip, const std::function<bool()> &print)
{
    // The print service's job ids only grow: a new id is this print's job.
    const int jobBefore = RLPrinter().LastJobId();
    const auto jobOf = [&slip, jobBefore](TIssueOutcome outcome) {
        if (RLPrinter().LastJobId() == jobBefore)
            return false;
        slip.printer = RLPrinter().PrinterName();
        slip.jobId = RLPrinter().LastJobId();
        slip.outcome = outcome;
        return true;
    };
    bool printed = false;
    try {
        printed = print();
    } catch (const TRLAbort &) {
        // A job taken back from the queue while the window waited for it.
        if (jobOf(TIssueOutcome::Cancelled))
            record(slip);
        throw;
    } catch (...) {
        if (jobOf(TIssueOutcome::Failed))
            record(slip);
        throw;
    }
    if (!printed)
        return false;
    const TRLPrintParams &params = RLPrintParams();
    if (const auto *pdf = qobject_cast<const TRLPdfFilter *>(params.Filter())) {
        // The file is whole once the command returns, also from a background run.
        slip.pdfPath = pdf->FileName();
        slip.outcome = TIssueOutcome::Completed;
    } else if (params.PrintInBackground()) {
        // The job is still on its way; only the foreground waits for the service's word.
        slip.printer = RLPrinter().PrinterName();
        slip.outcome = TIssueOutcome::Unknown;
    } else if (!jobOf(TIssueOutcome::Completed)) {
        slip.printer = RLPrinter().PrinterName();
        slip.outcome = TIssueOutcome::Completed;
    }
    record(slip);
    return true;
}

void TIssueHistory::record(const TIssuedSlip &slip)
{
    TIssuedSlip stamped = slip;
    stamped.issuedAt = QDateTime::currentDateTimeUtc();
    try {
        m_register.Run<qint64>([stamped](TRegister &r) { return r.RecordIssue(stamped); });
    } catch (const TStorageError &e) {
        // The slip went out all the same; the history is what is missing.
        QMessageBox::warning(m_window, QStringLiteral("Warning"),
                             QStringLiteral("A guia foi emitida, mas não ficou registrada em \"Guias emitidas\":\n%1")
                                 .arg(e.Message()));
    }
}
