#include "report/base/RLWork.h"

#include "report/base/RLHost.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QThread>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <climits>

void RLStartOnPool(std::function<void()> body)
{
    QThreadPool *pool = QThreadPool::globalInstance();
    // Calls that wait on a silent server must not keep the next piece of work from starting.
    if (pool->maxThreadCount() < 8)
        pool->setMaxThreadCount(8);
    pool->start(std::move(body));
}

TRLWaitEnd RLAwait(QFuture<void> future, QDeadlineTimer deadline, const std::function<void(const QString &)> &progressText,
                   bool userInput)
{
    if (future.isCanceled())
        return TRLWaitEnd::Canceled;
    if (future.isFinished())
        return TRLWaitEnd::Finished;
    QCoreApplication *app = QCoreApplication::instance();
    const bool userThread = app && QThread::currentThread() == app->thread();

    QEventLoop loop;
    bool ended = false;
    TRLWaitEnd end = TRLWaitEnd::Quitting;
    auto endWith = [&](TRLWaitEnd how) {
        if (ended)
            return;
        ended = true;
        end = how;
        loop.quit();
    };
    QFutureWatcher<void> watcher;
    QObject::connect(&watcher, &QFutureWatcherBase::canceled, &loop, [&] { endWith(TRLWaitEnd::Canceled); });
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, [&] {
        endWith(future.isCanceled() ? TRLWaitEnd::Canceled : TRLWaitEnd::Finished);
    });
    if (progressText)
        QObject::connect(&watcher, &QFutureWatcherBase::progressTextChanged, &loop,
                         [&progressText](const QString &text) { RLRunGuarded([&] { progressText(text); }); });
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] { endWith(TRLWaitEnd::TimedOut); });
    if (!deadline.isForever())
        timer.start(int(std::max<qint64>(0, std::min<qint64>(deadline.remainingTime(), INT_MAX))));
    if (app && userThread)
        QObject::connect(app, &QCoreApplication::aboutToQuit, &loop, [&] { endWith(TRLWaitEnd::Quitting); });
    watcher.setFuture(future);
    // Only a modal window takes input meanwhile, so that nothing else can be started.
    const bool modal = userInput || (qobject_cast<QGuiApplication *>(app) && QGuiApplication::modalWindow());
    loop.exec(userThread && !modal ? QEventLoop::ExcludeUserInputEvents : QEventLoop::AllEvents);
    // A loop that returned without an end was refused by an application on its way out.
    return ended ? end : TRLWaitEnd::Quitting;
}
