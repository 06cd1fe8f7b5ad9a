#pragma once
// What the engine needs from the program that hosts it, without knowing that program: a place to
// hand errors that escape the engine's slots and timers, and whether the program is closing.

#include <QString>

#include <exception>
#include <utility>

// Hands the error to the application object's "handleException(std::exception_ptr)" slot when it
// has one (the program's error box); otherwise writes a warning. Safe from any thread: a call off
// the application's thread is queued to it.
void RLReportError(std::exception_ptr error);

// Hands a piece of news the user should read (a job's end learnt late) to the application object's
// "handleNotice(QString)" slot when it has one; otherwise writes it to the log. Any thread.
void RLReportNotice(const QString &text);

// Qt cannot carry an exception through its event loop: every engine slot runs its body here.
template <class F>
void RLRunGuarded(F &&body)
{
    try {
        std::forward<F>(body)();
    } catch (...) {
        RLReportError(std::current_exception());
    }
}

// Set by the program when its main window closes (Qt's own closingDown() comes true only inside
// the application object's destructor, too late for work running under a progress window). Work
// that sees it ends with a silent abort.
void RLSetApplicationClosing(bool closing);
bool RLApplicationClosing();

// Throws the silent abort when the program is closing.
void RLCheckApplicationClosing();
