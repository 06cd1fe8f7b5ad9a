#include "report/output/RLOffThread.h"

#include <QApplication>
#include <QThread>

bool RLOnUserThread()
{
    const QCoreApplication *app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

TRLBusyCursor::TRLBusyCursor()
{
    m_shown = qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
    if (m_shown)
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
}

TRLBusyCursor::~TRLBusyCursor()
{
    if (m_shown)
        QGuiApplication::restoreOverrideCursor();
}
