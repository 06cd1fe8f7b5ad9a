#pragma once
// The one way to wait: a piece of work runs on a thread of Qt's pool and the caller waits for its
// future with a deadline, a cancel (QFuture::cancel, from a button or a signal handler) and a
// defined end once the program is asked to quit. On the user-interface thread the wait is an event
// loop that the future's watcher ends, so windows keep painting; input reaches only a modal window.
// The work must own what it touches (capture by value): a wait that ends before it does never reads
// its result, and the work runs on alone until it sees the cancel or ends by its own limits.

#include <QDeadlineTimer>
#include <QFuture>
#include <QPromise>
#include <QString>

#include <exception>
#include <functional>
#include <memory>

enum class TRLWaitEnd {
    Finished, // the work ended; its result (or error) may be read
    TimedOut, // the deadline passed first
    Canceled, // the future was cancelled
    Quitting  // the program was asked to quit: nothing of the work is read
};

// Queues body on Qt's thread pool.
void RLStartOnPool(std::function<void()> body);

// A piece of work started by RLStartWork: its future (cancel it to cancel the work) and the error
// it raised, kept apart because Qt reads a future's error as a cancel.
template <class T>
struct TRLWork
{
    QFuture<T> Future;
    std::shared_ptr<std::exception_ptr> Error = std::make_shared<std::exception_ptr>();

    void Cancel() { Future.cancel(); }
    // After a Finished wait: the work's error raised again, or its result.
    T Result() const
    {
        if (*Error)
            std::rethrow_exception(*Error);
        return Future.result();
    }
};

// Starts work(promise) off the caller's thread. The work may publish words for the waiting side
// with promise.setProgressValueAndText and should end soon after promise.isCanceled(); an error
// it throws is the one Result raises.
template <class T, class Work>
TRLWork<T> RLStartWork(Work work)
{
    auto promise = std::make_shared<QPromise<T>>();
    TRLWork<T> started{promise->future()};
    promise->start();
    RLStartOnPool([promise, error = started.Error, work = std::move(work)]() mutable {
        try {
            work(*promise);
        } catch (...) {
            *error = std::current_exception();
        }
        promise->finish();
    });
    return started;
}

// Waits for future until it ends, is cancelled, the deadline passes or the program is asked to
// quit, whichever comes first. progressText receives the words the work publishes meanwhile.
// userInput: the caller shows a modal window of its own during the wait, so input goes on.
TRLWaitEnd RLAwait(QFuture<void> future, QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever),
                   const std::function<void(const QString &)> &progressText = {}, bool userInput = false);

// The same for a future of any result type.
template <class T>
TRLWaitEnd RLAwait(const QFuture<T> &future, QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever),
                   const std::function<void(const QString &)> &progressText = {}, bool userInput = false)
{
    return RLAwait(QFuture<void>(future), deadline, progressText, userInput);
}

template <class T>
TRLWaitEnd RLAwait(const TRLWork<T> &work, QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever),
                   const std::function<void(const QString &)> &progressText = {}, bool userInput = false)
{
    return RLAwait(QFuture<void>(work.Future), deadline, progressText, userInput);
}
