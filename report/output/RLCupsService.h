#pragma once
// The printer service on CUPS (libcups). The server is the one CUPS_SERVER names: libcups keeps
// its server per thread, so the environment is the only choice every thread sees. Every call
// talks to the server on a connection of its own, off the user-interface thread, and gives up
// after Timeout of silence, so a server that stops answering cannot freeze the program.

#include "report/output/RLPrinters.h"

class TRLCupsService : public TRLPrinterService
{
public:
    // For the connection and for each wait for an answer.
    static constexpr int TimeoutMilliseconds = 5000;

    QList<TRLPrinterQueue> Queues(QString *failure = nullptr) override;
    void CheckQueue(const QString &queue) override;
    bool SupportsMedia(const QString &queue, const QString &media, double widthMm, double heightMm) override;
    int Submit(const TRLPrintJob &job) override;
    TRLJobStatus JobStatus(const QString &queue, int jobId) override;
    void CancelJob(const QString &queue, int jobId) override;
};
