#include "report/base/RLHost.h"

#include "report/base/RLExceptions.h"
#include "report/base/RLQueuedCall.h"

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

// The application's handler, looked up by the name its signature carries: the engine does not know
// the application's class.
bool handOverToApplication(QCoreApplication *app, std::exception_ptr error)
{
    // A program on its way out opens no more boxes: nothing would be there to close them.
    if (applicationClosing.load())
        return false;
    qRegisterMetaType<std::exception_ptr>("std::exception_ptr");
    return app->metaObject()->indexOfMethod("handleException(std::exception_ptr)") >= 0
        && QMetaObject::invokeMethod(app, "handleException", Qt::DirectConnection, Q_ARG(std::exception_ptr, error));
}

} // namespace

void RLReportError(std::exception_ptr error)
{
    QCoreApplication *app = QCoreApplication::instance();
    // The handler opens a message box: never on a worker thread.
    if (app && QThread::currentThread() != app->thread()) {
        if (RLQueueCall(app, [app, error] {
                if (!handOverToApplication(app, error))
                    warnUnhandled(error);
            }))
            return;
    } else if (app && handOverToApplication(app, error)) {
        return;
    }
    warnUnhandled(error);
}

void RLReportNotice(const QString &text)
{
    QCoreApplication *app = QCoreApplication::instance();
    auto deliver = [app, text] {
        // A program on its way out opens no more boxes.
        const bool handled = !RLApplicationClosing() && app->metaObject()->indexOfMethod("handleNotice(QString)") >= 0
            && QMetaObject::invokeMethod(app, "handleNotice", Qt::DirectConnection, Q_ARG(QString, text));
        if (!handled)
            qInfo("%s", qUtf8Printable(text));
    };
    if (!app)
        qInfo("%s", qUtf8Printable(text));
    else if (QThread::currentThread() != app->thread())
        RLQueueCall(app, deliver);
    else
        deliver();
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
