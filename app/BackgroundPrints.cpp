#include "app/BackgroundPrints.h"

#include "report/base/RLHost.h"
#include "report/output/RLFilterThread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

BackgroundPrintCloser::BackgroundPrintCloser(QWidget *mainWindow) : QObject(mainWindow)
{
    mainWindow->installEventFilter(this);
    // Quitting without closing the window (session end): the loop still runs inside aboutToQuit.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [] { FinishPrints(); });
}

void BackgroundPrintCloser::FinishPrints()
{
    RLSetApplicationClosing(true);
    RLFinishBackgroundRuns();
}

bool BackgroundPrintCloser::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Close && watched == parent())
        FinishPrints();
    return QObject::eventFilter(watched, event);
}
