#pragma once
// What a followed job's status means: its end, the error that tells it, and a cancel that gives
// way to an end that came first.

#include "report/output/RLPrinters.h"

#include <memory>

// How often a job is looked at.
constexpr int RLJobPollMilliseconds = 300;

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
