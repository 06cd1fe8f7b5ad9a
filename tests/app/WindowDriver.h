#pragma once
// Driving the main window in tests: message boxes answered as they open, queued exit
// handlers given time to run, amounts entered and left as a user does.
#include "app/pZavenorCLX.h"
#include "widgets/NumEditCLX.h"

#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

// Answers every message box that opens and remembers what it said.
class BoxCatcher : public QObject
{
public:
    QStringList titles, texts;
    QString answer; // the caption of the button to click; empty: the default button

    BoxCatcher()
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                titles << box->windowTitle();
                texts << box->text();
                QAbstractButton *chosen = box->defaultButton();
                for (QAbstractButton *button : box->buttons())
                    if (!answer.isEmpty() && button->text() == answer)
                        chosen = button;
                chosen->click();
            }
        });
        m_timer.start();
    }

private:
    QTimer m_timer;
};

namespace WindowDriver {

// A main window shown and active, as at start.
inline TfrmZavenor *ShowMainWindow()
{
    auto *w = new TfrmZavenor;
    w->show();
    w->activateWindow(); // no window manager does it under Xvfb
    if (!QTest::qWaitForWindowActive(w))
        qWarning("The main window did not become active");
    return w;
}

// Lets queued exit handlers run (and any box they open be answered).
inline void settle() { QTest::qWait(60); }

inline QWidget *focused() { return QApplication::focusWidget(); }

inline void enterAmount(TNumEditCLX *field, const QString &text)
{
    field->setFocus(Qt::TabFocusReason);
    field->setText(text);
    QTest::keyClick(field, Qt::Key_Tab);
    settle();
}

} // namespace WindowDriver
