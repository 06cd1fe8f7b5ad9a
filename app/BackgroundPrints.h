#pragma once
// The end of the program while a background print runs: once the main window closes, the engine
// learns that the program is closing, and a running print is cancelled and waited for before the
// event loop ends (its job ended, its temporary file gone).

#include <QObject>

class QWidget;

class BackgroundPrintCloser : public QObject
{
    Q_OBJECT
public:
    // Watches mainWindow's close; also finishes the prints when the application is about to quit.
    explicit BackgroundPrintCloser(QWidget *mainWindow);

    // Sets the engine's closing flag, cancels the running prints and waits for them.
    static void FinishPrints();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
