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
    QThreadPool::globalInstance()->start(std::move(body));
}

TRLWaitEnd RLAwait(QFuture<void> future, QDeadlineTimer deadline, const std::function<void(const QString &)> &progressText)
{
    if (future.isCanceled())
        return TRLWaitEnd::Canceled;
    if (future.isFinished())
        return TRLWaitEnd::Finished;
    QCoreApplication *app = QCoreApplication::instance();
    const bool userThread = app && QThread::currentThread() == app->thread();
    if (userThread && RLApplicationClosing())
        return TRLWaitEnd::Quitting;

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
    const bool modal = qobject_cast<QGuiApplication *>(app) && QGuiApplication::modalWindow();
    loop.exec(userThread && !modal ? QEventLoop::ExcludeUserInputEvents : QEventLoop::AllEvents);
    // A loop that returned without an end was refused by an application on its way out.
    return ended ? end : TRLWaitEnd::Quitting;
}
