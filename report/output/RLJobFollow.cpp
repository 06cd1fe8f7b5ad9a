#include "report/output/RLJobFollow.h"

#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/base/RLWork.h"

#include <QThread>

#include <climits>

QString RLJobText(int messageId, const QString &queue, const QString &document, int jobId, const QString &words)
{
    const QString text = RLMessage(messageId).arg(queue, document, QString::number(jobId));
    return words.isNull() ? text : text.arg(words);
}

TRLJobEnd RLJobEndOf(const TRLJobStatus &status)
{
    switch (status.Outcome) {
    case TRLJobStatus::Completed:
        return TRLJobEnd::Completed;
    case TRLJobStatus::Failed:
        return TRLJobEnd::Failed;
    case TRLJobStatus::Canceled:
        return TRLJobEnd::Canceled;
    case TRLJobStatus::Unknown:
        return TRLJobEnd::Unknown;
    case TRLJobStatus::Waiting:
        break;
    }
    return TRLJobEnd::Open;
}

void RLRaiseJobEnd(const TRLJobStatus &status, const QString &queue, const QString &document, int jobId)
{
    switch (status.Outcome) {
    case TRLJobStatus::Completed:
    case TRLJobStatus::Waiting:
        return;
    case TRLJobStatus::Unknown:
        // Neither printed nor failed: nothing to cancel, and printing again could make two.
        throw TRLException(RLJobText(rlmJobUnknown, queue, document, jobId));
    case TRLJobStatus::Failed:
    case TRLJobStatus::Canceled:
        break;
    }
    throw TRLException(RLMessage(rlmJobFailed).arg(queue, document, status.Message));
}

TRLJobEnd RLCancelFollowedJob(TRLPrinterService &service, const QString &queue, const QString &document, int jobId)
{
    try {
        service.CancelJob(queue, jobId);
        return TRLJobEnd::Canceled;
    } catch (const TRLServiceUnreachable &) {
        throw;
    } catch (const TRLException &refused) {
        // Refused because the job ended meanwhile: its end is what happened.
        const TRLJobStatus after = service.JobStatus(queue, jobId);
        if (after.Outcome == TRLJobStatus::Canceled)
            return TRLJobEnd::Canceled;
        if (after.Outcome != TRLJobStatus::Waiting)
            return RLJobEndOf(after);
        throw TRLException(RLJobText(rlmCancelFailed, queue, document, jobId, refused.Message()));
    }
}

TRLWork<TRLJobStatus> RLFollowJob(std::shared_ptr<TRLPrinterService> service, const QString &queue, int jobId)
{
    return RLStartWork<TRLJobStatus>([service = std::move(service), queue, jobId](QPromise<TRLJobStatus> &promise) {
        // Progress values must grow for each text to be delivered.
        promise.setProgressRange(0, INT_MAX);
        for (int look = 1; !promise.isCanceled(); ++look) {
            const TRLJobStatus status = service->JobStatus(queue, jobId);
            if (status.Outcome != TRLJobStatus::Waiting) {
                promise.addResult(status);
                return;
            }
            // A null text would not be delivered: a blank stands for "no words yet".
            promise.setProgressValueAndText(look, status.Message.isEmpty() ? QStringLiteral(" ") : status.Message);
            QThread::msleep(RLJobPollMilliseconds);
        }
    });
}
