#include "report/RLHost.h"

#include "report/RLExceptions.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <QtDebug>

#include <atomic>

Q_DECLARE_METATYPE(std::exception_ptr)

namespace {

std::atomic<bool> applicationClosing{false};

void warnUnhandled(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const TRLAbort &) {
        // A silent abort is never worth a word.
    } catch (const std::exception &e) {
        qWarning("Unhandled error: %s", e.what());
    } catch (...) {
        qWarning("Unhandled error of unknown type");
    }
}

} // namespace

void RLReportError(std::exception_ptr error)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (app) {
        // The handler opens a message box: never on a worker thread.
        const Qt::ConnectionType type = QThread::currentThread() == app->thread()
            ? Qt::DirectConnection : Qt::QueuedConnection;
        // Under the name the slot's signature carries, which a queued call looks up.
        qRegisterMetaType<std::exception_ptr>("std::exception_ptr");
        if (app->metaObject()->indexOfMethod("handleException(std::exception_ptr)") >= 0
            && QMetaObject::invokeMethod(app, "handleException", type, Q_ARG(std::exception_ptr, error)))
            return;
    }
    warnUnhandled(error);
}

void RLSetApplicationClosing(bool closing)
{
    applicationClosing.store(closing);
}

bool RLApplicationClosing()
{
    return applicationClosing.load();
}

void RLCheckApplicationClosing()
{
    if (RLApplicationClosing())
        throw TRLAbort();
}
