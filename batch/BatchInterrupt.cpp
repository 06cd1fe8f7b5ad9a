#include "batch/BatchInterrupt.h"

TBatchInterrupt::TBatchInterrupt() : m_signals([this] { interrupt(); }) {}

bool TBatchInterrupt::Arrived()
{
    m_signals.TakePending();
    return m_arrived;
}

void TBatchInterrupt::SetWaiting(QFuture<void> waiting)
{
    m_waiting = waiting;
    if (m_arrived)
        m_waiting.cancel();
}

void TBatchInterrupt::interrupt()
{
    m_arrived = true;
    m_waiting.cancel();
}
