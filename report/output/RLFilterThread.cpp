#include "report/output/RLFilterThread.h"

#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/base/RLHost.h"
#include "report/base/RLQueuedCall.h"
#include "report/base/RLWork.h"
#include "report/output/RLFilters.h"
#include "report/page/RLMetaFile.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QPointer>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <utility>

namespace {

std::atomic<int> runningThreads{0};
uint backgroundStackSize = 0;

// A call waiting for something on the user-interface thread; one without a context runs always.
struct PendingCall
{
    QPointer<QObject> context;
    bool hasContext = false;
    std::function<void()> call;

    void Post() const
    {
        if (hasContext && !context)
            return;
        QObject *target = hasContext ? context.data() : QCoreApplication::instance();
        QMetaObject::invokeMethod(target, [call = call] { RLRunGuarded(call); }, Qt::QueuedConnection);
    }
};

// User-interface thread only, like the hand-over bodies that count them.
int handOverDepth = 0;
QList<PendingCall> &pastHandOverCalls()
{
    static QList<PendingCall> calls;
    return calls;
}
QList<PendingCall> &runsEndCalls()
{
    static QList<PendingCall> calls;
    return calls;
}

void runEndCallbacks()
{
    if (runningThreads.load() > 0)
        return;
    const QList<PendingCall> calls = std::exchange(runsEndCalls(), {});
    for (const PendingCall &call : calls)
        call.Post();
}

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
    m_ended.start();
    connect(this, &QThread::finished, this, &QObject::deleteLater);
    // Queued to the application: this object may be gone by the time it is delivered.
    connect(this, &QThread::finished, QCoreApplication::instance(), [] { runEndCallbacks(); });
}

bool TFilterThread::Launch(TRLCustomFilter *filter, std::shared_ptr<TRLRunOutcome> outcome)
{
    auto *thread = new TFilterThread(filter, std::move(outcome));
    // Counted before start so that a second print right after this one is refused.
    runningThreads.fetch_add(1);
    startedThreads().append(thread);
    if (backgroundStackSize > 0)
        thread->setStackSize(backgroundStackSize);
    thread->start();
    if (thread->isRunning() || thread->isFinished())
        return true;
    // Qt only warns when the thread cannot be made; it never runs nor ends.
    runningThreads.fetch_sub(1);
    delete thread;
    return false;
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
        if (error)
            m_outcome->Ended.setException(error);
        else
            m_outcome->Ended.addResult(0);
        m_outcome->Ended.finish();
    } else if (error) {
        // Queued to the user-interface thread: a message box never opens on a worker.
        RLReportError(error);
    }
    m_ended.finish();
}

void RLWaitForRun(const std::shared_ptr<TRLRunOutcome> &outcome)
{
    // The future outlives the thread object; a wait the program's end cuts short reads nothing.
    const QFuture<int> ended = outcome->Ended.future();
    // A run's error reads as a cancel of its future; only the program's end leaves it unread.
    const TRLWaitEnd end = RLAwait(ended, QDeadlineTimer(QDeadlineTimer::Forever), {}, true);
    if (end == TRLWaitEnd::Quitting || end == TRLWaitEnd::TimedOut)
        throw TRLAbort();
    ended.result();
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
        ++handOverDepth;
        try {
            body();
        } catch (...) {
            error = std::current_exception();
        }
        // Posted now, delivered after the worker has been let go below.
        if (--handOverDepth == 0) {
            const QList<PendingCall> deferred = std::exchange(pastHandOverCalls(), {});
            for (const PendingCall &call : deferred)
                call.Post();
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

bool RLInsideHandOver()
{
    return handOverDepth > 0;
}

bool RLDeferPastHandOver(QObject *context, std::function<void()> call)
{
    if (handOverDepth == 0)
        return false;
    pastHandOverCalls().append({context, context != nullptr, std::move(call)});
    return true;
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

void RLWhenBackgroundRunsEnd(QObject *context, std::function<void()> call)
{
    if (!RLBackgroundRunning()) {
        call();
        return;
    }
    runsEndCalls().append({context, context != nullptr, std::move(call)});
}

bool RLFinishBackgroundRuns(int timeoutMs)
{
    const QList<QPointer<TFilterThread>> threads = startedThreads();
    for (const QPointer<TFilterThread> &thread : threads)
        if (thread)
            thread->Filter()->Cancel();
    // The worker waits for the hand-over this thread is inside: waiting here would never end.
    if (RLInsideHandOver())
        return !RLBackgroundRunning();
    const QDeadlineTimer deadline(timeoutMs);
    for (const QPointer<TFilterThread> &thread : threads) {
        // Never QThread::wait here: the worker may be waiting for a hand-over to this thread.
        if (thread && RLAwait(thread->Ended(), deadline, {}, true) != TRLWaitEnd::Finished)
            break;
    }
    return !RLBackgroundRunning();
}

void RLSetBackgroundStackSize(uint bytes)
{
    backgroundStackSize = bytes;
}
