#include "report/output/RLFilterThread.h"

#include "report/RLConsts.h"
#include "report/RLExceptions.h"
#include "report/RLHost.h"
#include "report/RLQueuedCall.h"
#include "report/output/RLFilters.h"
#include "report/output/RLMetaFile.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QList>
#include <QPointer>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

std::atomic<int> runningThreads{0};

// Threads started and not yet ended; touched on the user-interface thread only.
QList<QPointer<TFilterThread>> &startedThreads()
{
    static QList<QPointer<TFilterThread>> threads;
    return threads;
}

QString backgroundBusyMessage()
{
    if (RLMessagesLanguage() == mlPortuguese)
        return QStringLiteral("Uma impressão em segundo plano ainda está em andamento. "
                              "Aguarde o seu término e tente de novo.");
    return QStringLiteral("A background print is still running. Wait for it to end and try again.");
}

} // namespace

TFilterThread::TFilterThread(TRLCustomFilter *filter, std::shared_ptr<TRLRunOutcome> outcome)
    : m_filter(filter), m_outcome(std::move(outcome))
{
    // Counted before start so that a second print right after this one is refused.
    runningThreads.fetch_add(1);
    startedThreads().append(this);
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

TFilterThread::~TFilterThread()
{
    startedThreads().removeAll(this);
}

void TFilterThread::run()
{
    std::exception_ptr error;
    try {
        m_filter->runPageLoop(true);
    } catch (...) {
        error = std::current_exception();
    }
    runningThreads.fetch_sub(1);
    if (m_outcome) {
        m_outcome->Error = error;
        m_outcome->Ended = true;
    } else if (error) {
        // Queued to the user-interface thread: a message box never opens on a worker.
        RLReportError(error);
    }
}

void RLWaitForRun(const std::shared_ptr<TRLRunOutcome> &outcome)
{
    QEventLoop loop;
    QTimer poll;
    // Polled: the thread object may be gone by the time this looks, the outcome is not.
    QObject::connect(&poll, &QTimer::timeout, &loop, [&loop, &outcome] {
        if (outcome->Ended)
            loop.quit();
    });
    poll.start(20);
    if (!outcome->Ended)
        loop.exec();
    if (outcome->Error)
        std::rethrow_exception(outcome->Error);
}

namespace {

// What a hand-over and the worker waiting for it share. The worker waits on a standard condition
// variable rather than on Qt's blocking connection, whose semaphore race detectors cannot see.
struct HandOverState
{
    std::mutex mutex;
    std::condition_variable settled;
    bool finished = false;
    bool ran = false;
    std::exception_ptr error;
};

// Held only by the queued call: when it goes, run or dropped unrun (the queue cleared at exit), the
// waiting worker is let go.
class HandOverTicket
{
public:
    explicit HandOverTicket(std::shared_ptr<HandOverState> state) : m_state(std::move(state)) {}
    HandOverTicket(const HandOverTicket &) = delete;
    HandOverTicket &operator=(const HandOverTicket &) = delete;
    ~HandOverTicket()
    {
        std::lock_guard lock(m_state->mutex);
        m_state->finished = true;
        m_state->settled.notify_all();
    }
    void Run(const std::function<void()> &body)
    {
        std::exception_ptr error;
        try {
            body();
        } catch (...) {
            error = std::current_exception();
        }
        std::lock_guard lock(m_state->mutex);
        m_state->ran = true;
        m_state->error = error;
    }

private:
    std::shared_ptr<HandOverState> m_state;
};

} // namespace

void RLHandOver(const std::function<void()> &body)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        body();
        return;
    }
    auto state = std::make_shared<HandOverState>();
    {
        auto ticket = std::make_shared<HandOverTicket>(state);
        RLQueueCall(app, [ticket, &body] { ticket->Run(body); });
    }
    std::unique_lock lock(state->mutex);
    state->settled.wait(lock, [&state] { return state->finished; });
    if (!state->ran)
        throw TRLAbort();
    if (state->error)
        std::rethrow_exception(state->error);
}

bool RLBackgroundRunning()
{
    return runningThreads.load() > 0;
}

void RLCheckNoBackgroundRun()
{
    if (RLBackgroundRunning())
        throw TRLException(backgroundBusyMessage());
}

void RLFinishBackgroundRuns()
{
    const QList<QPointer<TFilterThread>> threads = startedThreads();
    for (const QPointer<TFilterThread> &thread : threads)
        if (thread)
            thread->Filter()->Cancel();
    for (const QPointer<TFilterThread> &thread : threads) {
        if (!thread)
            continue;
        QEventLoop loop;
        QObject::connect(thread.data(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
        // The end may fall between the test below and the connection taking hold: look again now and then.
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&loop, &thread] {
            if (!thread || thread->isFinished())
                loop.quit();
        });
        poll.start(50);
        // Never QThread::wait here: the worker may be waiting for a hand-over to this thread.
        if (!thread->isFinished())
            loop.exec();
    }
}
