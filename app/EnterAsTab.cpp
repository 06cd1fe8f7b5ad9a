#include "app/EnterAsTab.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

void TEnterAsTab::Attach(QWidget *panel)
{
    auto *filter = new TEnterAsTab(panel);
    for (QLineEdit *field : panel->findChildren<QLineEdit *>())
        field->installEventFilter(filter);
}

bool TEnterAsTab::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    // Only a bare Enter: Alt+Enter and the like stay the field's own.
    if (key->modifiers() != Qt::NoModifier && key->modifiers() != Qt::KeypadModifier)
        return false;
    // The same key event Tab sends, so every check on leaving runs as it does for Tab.
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(watched, &tab);
    return true;
}
