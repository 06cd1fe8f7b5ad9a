#include "storage/RegisterThread.h"

#include <QMetaObject>

namespace RegisterThreadDetail {

QString MessageOf(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const TStorageError &e) {
        return e.Message();
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
    }
    return QStringLiteral("Erro desconhecido no cadastro.");
}

} // namespace RegisterThreadDetail

TRegisterThread::TRegisterThread(Factory open, int timeoutMs) : m_open(std::move(open)), m_timeoutMs(timeoutMs)
{
    m_thread.setObjectName(QStringLiteral("zavenor-register"));
    m_worker = new QObject;
    m_worker->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
}

TRegisterThread::~TRegisterThread()
{
    // The register is closed on its own thread (its connection belongs there), after the calls
    // already queued; a call stuck on a server is not waited for beyond our limit.
    auto closed = std::make_shared<RegisterThreadDetail::TWaitState<bool>>();
    queue([this, closed] {
        m_register.reset();
        std::lock_guard lock(closed->mutex);
        closed->done = true;
        closed->ready.notify_all();
    });
    {
        std::unique_lock lock(closed->mutex);
        closed->ready.wait_for(lock, std::chrono::milliseconds(m_timeoutMs), [&] { return closed->done; });
    }
    m_thread.quit();
    if (!m_thread.wait(m_timeoutMs)) {
        // Still inside a call that does not return: the process is ending, and a thread left
        // running would abort it in QThread's destructor.
        m_thread.terminate();
        m_thread.wait();
    }
}

void TRegisterThread::queue(std::function<void()> job)
{
    QMetaObject::invokeMethod(m_worker, std::move(job), Qt::QueuedConnection);
}

TRegister &TRegisterThread::reg()
{
    if (m_register)
        return *m_register;
    if (m_openError)
        throw *m_openError;
    try {
        m_register = m_open();
    } catch (const TStorageError &e) {
        // A file or server that is not ours stays so; a server that did not answer may next time.
        if (e.What() == TStorageError::Foreign || e.What() == TStorageError::Newer)
            m_openError = e;
        throw;
    }
    return *m_register;
}

void TRegisterThread::throwTimeout() const
{
    throw TStorageError(TStorageError::Timeout,
                        QStringLiteral("O cadastro não respondeu em %1 segundos; tente de novo.").arg(m_timeoutMs / 1000));
}
