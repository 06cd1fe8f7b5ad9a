#pragma once
// The printer service on CUPS (libcups). The server is the one CUPS_SERVER names: libcups keeps
// its server per thread, so the environment is the only choice every thread sees.

#include "report/output/RLPrinters.h"

class TRLCupsService : public TRLPrinterService
{
public:
    // How long a submitted job is watched before it counts as printing.
    explicit TRLCupsService(int watchMilliseconds = 3000) : m_watchMilliseconds(watchMilliseconds) {}

    QList<TRLPrinterQueue> Queues(QString *failure = nullptr) override;
    void CheckQueue(const QString &queue) override;
    bool SupportsMedia(const QString &queue, const QString &media, double widthMm, double heightMm) override;
    int Submit(const TRLPrintJob &job) override;

private:
    int m_watchMilliseconds;
};
