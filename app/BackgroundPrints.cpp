#include "app/BackgroundPrints.h"

#include "report/base/TerminationSignals.h"
#include "report/base/RLHost.h"
#include "report/base/RLTempFiles.h"
#include "report/output/RLFilterThread.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <cstdlib>

BackgroundPrintCloser::BackgroundPrintCloser(QWidget *mainWindow) : QObject(mainWindow)
{
    mainWindow->installEventFilter(this);
    // Quitting without closing the window (session end): the loop still runs inside aboutToQuit.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [] { FinishPrints(); });
}

QString BackgroundPrintCloser::RunningPrintQuestion()
{
    return QStringLiteral("Uma impressão em segundo plano ainda está em andamento.");
}

QString BackgroundPrintCloser::WaitAnswer()
{
    return QStringLiteral("Aguardar");
}

QString BackgroundPrintCloser::CancelAnswer()
{
    return QStringLiteral("Cancelar a impressão");
}

QWidget *BackgroundPrintCloser::mainWindow() const
{
    return static_cast<QWidget *>(parent());
}

bool BackgroundPrintCloser::FinishPrints()
{
    RLSetApplicationClosing(true);
    return RLFinishBackgroundRuns();
}

void BackgroundPrintCloser::EndProgram()
{
    QWidget *window = mainWindow();
    // Inside a hand-over the print cannot end until it returns: once it has, end then.
    if (RLDeferPastHandOver(this, [this] { EndProgram(); }))
        return;
    RLSetApplicationClosing(true);
    window->close();
    // Dialogs open in nested loops (the print dialog, a message box) end with the program.
    QCoreApplication::quit();
}

bool BackgroundPrintCloser::askToWait()
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Zavenor"), RunningPrintQuestion(), QMessageBox::NoButton,
                    mainWindow());
    QPushButton *wait = box.addButton(WaitAnswer(), QMessageBox::RejectRole);
    box.addButton(CancelAnswer(), QMessageBox::DestructiveRole);
    // Nothing is lost by waiting: it is what Escape and Enter choose.
    box.setDefaultButton(wait);
    box.setEscapeButton(wait);
    box.exec();
    return box.clickedButton() == wait || box.clickedButton() == nullptr;
}

bool BackgroundPrintCloser::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Close || watched != parent())
        return QObject::eventFilter(watched, event);
    QWidget *window = mainWindow();
    // Closed from inside a print's hand-over (its progress window processing events): the print
    // waits for this very call to return, so ask and wait only after it has.
    if (RLDeferPastHandOver(window, [window] { window->close(); })) {
        event->ignore();
        return true;
    }
    if (RLBackgroundRunning() && !RLApplicationClosing()) {
        const bool wait = askToWait();
        // The print may have ended, or the program been stopped, while the question was open.
        if (wait && RLBackgroundRunning() && !RLApplicationClosing()) {
            QPointer<QWidget> guarded(window);
            RLWhenBackgroundRunsEnd(window, [guarded] {
                if (guarded)
                    guarded->close();
            });
            event->ignore();
            return true;
        }
    }
    FinishPrints();
    return QObject::eventFilter(watched, event);
}

BackgroundPrintCloser *InstallProgramEnd(QWidget *mainWindow)
{
    auto *closer = new BackgroundPrintCloser(mainWindow);
    new TerminationSignals([closer] { closer->EndProgram(); }, closer);
    return closer;
}

int FinishProgram(int code)
{
    if (RLBackgroundRunning()) {
        DeleteAllRLTempFiles();
        std::_Exit(code);
    }
    return code;
}
