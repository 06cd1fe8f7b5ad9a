#include "widgets/LeaveWatcher.h"

#include "widgets/ErrorRelay.h"

#include <QFocusEvent>
#include <QTabWidget>
#include <QWidget>

TLeaveWatcher::TLeaveWatcher(QObject *parent) : QObject(parent) {}

void TLeaveWatcher::Watch(QWidget *field, std::function<void()> onExit)
{
    m_entries.push_back({field, std::move(onExit)});
    field->installEventFilter(this);
}

bool TLeaveWatcher::IsTransient(const QFocusEvent *e)
{
    return e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason;
}

void TLeaveWatcher::ReturnFocus(QWidget *field)
{
    m_returning = true;
    // Left by bringing another tab page to the front: the field's own page comes back first,
    // or the wrong entry would stay behind out of sight.
    for (QWidget *up = field->parentWidget(); up; up = up->parentWidget()) {
        if (auto *tabs = qobject_cast<QTabWidget *>(up)) {
            for (QWidget *page = field; page && page != tabs; page = page->parentWidget())
                if (tabs->indexOf(page) >= 0)
                    tabs->setCurrentWidget(page);
        }
    }
    // A message box that just closed may have left no window active.
    if (!field->window()->isActiveWindow())
        field->window()->activateWindow();
    field->setFocus(Qt::OtherFocusReason);
    m_returning = false;
}

bool TLeaveWatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::FocusOut || m_returning)
        return false;
    if (IsTransient(static_cast<QFocusEvent *>(event)))
        return false;
    for (const Entry &entry : m_entries) {
        if (entry.field != watched)
            continue;
        // Queued: a handler may open a message box, which must not happen halfway through
        // Qt's own focus change.
        std::function<void()> handler = entry.onExit;
        QMetaObject::invokeMethod(
            this, [handler] { ErrorRelay::RunGuarded(handler); }, Qt::QueuedConnection);
    }
    return false;
}
