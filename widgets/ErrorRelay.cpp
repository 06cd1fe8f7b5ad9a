#include "widgets/ErrorRelay.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QtDebug>

Q_DECLARE_METATYPE(std::exception_ptr)

namespace ErrorRelay {

bool Report(std::exception_ptr error)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (app && QMetaObject::invokeMethod(app, "handleException", Qt::DirectConnection,
                                         Q_ARG(std::exception_ptr, error)))
        return true;
    // No handler (a bare test application): say so rather than lose the error.
    try {
        std::rethrow_exception(error);
    } catch (const std::exception &e) {
        qWarning("Unhandled error: %s", e.what());
    } catch (...) {
        qWarning("Unhandled error of unknown type");
    }
    return false;
}

} // namespace ErrorRelay
