#include "report/output/RLOffThread.h"

#include "report/base/RLQueuedCall.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QThread>

#include <memory>
#include <mutex>
#include <thread>

namespace {

struct Outcome
{
    std::mutex mutex;
    bool done = false;
    std::exception_ptr error;
};

} // namespace

bool RLOnUserThread()
{
    const QCoreApplication *app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void RLRunOffUserThread(const std::function<void()> &body)
{
    if (!RLOnUserThread()) {
        body();
        return;
    }
    auto outcome = std::make_shared<Outcome>();
    QEventLoop loop;
    QPointer<QEventLoop> waiting(&loop);
    QCoreApplication *app = QCoreApplication::instance();
    std::thread worker([outcome, &body, app, waiting] {
        std::exception_ptr error;
        try {
            body();
        } catch (...) {
            error = std::current_exception();
        }
        {
            std::lock_guard lock(outcome->mutex);
            outcome->done = true;
            outcome->error = error;
        }
        // The pointer is only read on the user-interface thread, where the loop lives.
        RLQueueCall(app, [waiting] {
            if (waiting)
                waiting->quit();
        });
    });
    const bool widgets = qobject_cast<QApplication *>(app) != nullptr;
    if (widgets)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    for (;;) {
        {
            std::lock_guard lock(outcome->mutex);
            if (outcome->done)
                break;
        }
        // A modal window keeps the rest of the program out of reach; without one, input waits.
        const bool modal = widgets && QApplication::activeModalWidget();
        loop.exec(modal ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    }
    worker.join();
    if (widgets)
        QApplication::restoreOverrideCursor();
    if (outcome->error)
        std::rethrow_exception(outcome->error);
}
