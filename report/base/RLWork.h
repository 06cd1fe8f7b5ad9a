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

// Starts work(promise) off the caller's thread. An error it throws becomes the future's, raised
// again by QFuture::result or waitForFinished. The work may publish words for the waiting side with
// promise.setProgressValueAndText and should end soon after promise.isCanceled().
template <class T, class Work>
QFuture<T> RLStartWork(Work work)
{
    auto promise = std::make_shared<QPromise<T>>();
    QFuture<T> future = promise->future();
    promise->start();
    RLStartOnPool([promise, work = std::move(work)]() mutable {
        try {
            work(*promise);
        } catch (...) {
            promise->setException(std::current_exception());
        }
        promise->finish();
    });
    return future;
}

// Waits for future until it ends, is cancelled, the deadline passes or the program is asked to
// quit, whichever comes first. progressText receives the words the work publishes meanwhile.
TRLWaitEnd RLAwait(QFuture<void> future, QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever),
                   const std::function<void(const QString &)> &progressText = {});

// The same for a future of any result type.
template <class T>
TRLWaitEnd RLAwait(const QFuture<T> &future, QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever),
                   const std::function<void(const QString &)> &progressText = {})
{
    return RLAwait(QFuture<void>(future), deadline, progressText);
}
