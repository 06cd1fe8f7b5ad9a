#pragma once
// The end of the program while a background print runs. Closing the main window first asks
// whether to wait for the print or to cancel it; once the window closes, the engine learns that
// the program is closing, and a running print is cancelled and waited for (a bounded time) before
// the event loop ends: its job ended, its temporary files gone. A job the print service already
// accepted is left to print.

#include <QObject>

class QWidget;

class BackgroundPrintCloser : public QObject
{
    Q_OBJECT
public:
    // Watches mainWindow's close; also finishes the prints when the application is about to quit.
    explicit BackgroundPrintCloser(QWidget *mainWindow);

    // Sets the engine's closing flag, cancels the running prints and waits for them. False when
    // one did not end in time.
    static bool FinishPrints();

    // Ends the program as a close does, without asking: used when the system stops it.
    void EndProgram();

    // The question asked when the window closes during a background print, and its two answers.
    static QString RunningPrintQuestion();
    static QString WaitAnswer();
    static QString CancelAnswer();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // True when the user chose to wait: the window then closes once the print has ended.
    bool askToWait();
    QWidget *mainWindow() const;
};

// What main() sets up around the main window: the closer above, and SIGTERM, SIGINT and SIGHUP
// ending the program as a close does.
BackgroundPrintCloser *InstallProgramEnd(QWidget *mainWindow);

// After the event loop: the exit code to return. A print that would not end in time must not
// keep the program, nor run on while it is torn down: its files go and the process ends here.
int FinishProgram(int code);
