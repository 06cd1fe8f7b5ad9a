#pragma once
// Following a job the service accepted, off the caller's thread: one look at it every
// RLJobPollMilliseconds until it is no longer waiting. The caller waits for the future with
// RLAwait and decides what a deadline, a cancel or a quit mean for the job.

#include "report/base/RLWork.h"
#include "report/output/RLPrinters.h"

#include <QFuture>

#include <memory>

// How often a job is looked at.
constexpr int RLJobPollMilliseconds = 300;

// The job's first status that is not Waiting. Meanwhile its words (or the service's silence) are
// published as the future's progress text. A service that stops answering ends the work with
// TRLServiceUnreachable; a cancelled future stops looking.
TRLWork<TRLJobStatus> RLFollowJob(std::shared_ptr<TRLPrinterService> service, const QString &queue, int jobId);

// A message of the job's printer, document and number (%1, %2, %3), with words as %4 when given.
QString RLJobText(int messageId, const QString &queue, const QString &document, int jobId,
                  const QString &words = QString());
// How a job's status reads as an end (Open while it waits).
TRLJobEnd RLJobEndOf(const TRLJobStatus &status);
// Raises a failed, cancelled or unknown job as the error naming its printer and document.
void RLRaiseJobEnd(const TRLJobStatus &status, const QString &queue, const QString &document, int jobId);
// Cancels a job still waiting. A refusal because it ended meanwhile gives that end; any other
// refusal is raised naming the printer, the document and the service's words; silence is raised
// as TRLServiceUnreachable.
TRLJobEnd RLCancelFollowedJob(TRLPrinterService &service, const QString &queue, const QString &document, int jobId);
