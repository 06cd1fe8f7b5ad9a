#pragma once
// Ctrl+C, SIGTERM and SIGHUP during a batch: noted, and the wait under way (if any) cancelled, so
// that the batch takes its job back and ends with its temporary files deleted.

#include "report/base/TerminationSignals.h"

#include <QFuture>

class TBatchInterrupt
{
public:
    TBatchInterrupt();
    // Whether a signal came, also one that arrived while no event loop ran.
    bool Arrived();
    // The wait a signal cancels; an empty future for none.
    void SetWaiting(QFuture<void> waiting);

private:
    void interrupt();

    TerminationSignals m_signals;
    bool m_arrived = false;
    QFuture<void> m_waiting;
};
