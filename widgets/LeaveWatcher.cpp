#include "widgets/LeaveWatcher.h"

#include "widgets/ErrorRelay.h"

#include <QAbstractButton>
#include <algorithm>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTabWidget>
#include <QWidget>

TLeaveWatcher::TLeaveWatcher(QObject *parent) : QObject(parent) {}

void TLeaveWatcher::Watch(QWidget *field, std::function<void()> onExit)
{
    m_entries.push_back({field, std::move(onExit)});
    field->installEventFilter(this);
}

void TLeaveWatcher::Guard(QAbstractButton *button)
{
    m_buttons.push_back(button);
    button->installEventFilter(this);
}

bool TLeaveWatcher::IsTransient(const QFocusEvent *e)
{
    return e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason;
}

void TLeaveWatcher::ReturnFocus(QWidget *field)
{
    m_refused = true;
    m_refusedSincePress = true;
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

bool TLeaveWatcher::run(const std::function<void()> &onExit)
{
    m_refused = false;
    try {
        onExit();
    } catch (...) {
        ErrorRelay::Report(std::current_exception());
        return false;
    }
    return !m_refused;
}

bool TLeaveWatcher::RunPending()
{
    while (!m_pending.empty()) {
        std::function<void()> onExit = std::move(m_pending.front().onExit);
        m_pending.erase(m_pending.begin());
        if (!run(onExit)) {
            // The focus is back in the refused field: nothing after it was really left.
            m_pending.clear();
            return false;
        }
    }
    return true;
}

void TLeaveWatcher::runQueued(quint64 serial)
{
    // Handled at once meanwhile (a guarded button ran it), or dropped after a refusal.
    while (!m_pending.empty() && m_pending.front().serial <= serial) {
        const bool mine = m_pending.front().serial == serial;
        std::function<void()> onExit = std::move(m_pending.front().onExit);
        m_pending.erase(m_pending.begin());
        if (!run(onExit)) {
            m_pending.clear();
            return;
        }
        if (mine)
            return;
    }
}

bool TLeaveWatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (auto *button = qobject_cast<QAbstractButton *>(watched);
        button && std::find(m_buttons.begin(), m_buttons.end(), button) != m_buttons.end())
        return filterButton(button, event);
    return filterField(watched, event);
}

bool TLeaveWatcher::filterField(QObject *watched, QEvent *event)
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
        const quint64 serial = ++m_serial;
        m_pending.push_back({serial, entry.onExit});
        QMetaObject::invokeMethod(this, [this, serial] { runQueued(serial); }, Qt::QueuedConnection);
    }
    return false;
}

bool TLeaveWatcher::filterButton(QAbstractButton *button, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_refusedSincePress = false;
        return false;
    case QEvent::MouseButtonRelease:
        if (m_refusedSincePress || !RunPending()) {
            button->setDown(false);
            return true;
        }
        return false;
    case QEvent::Shortcut: {
        // An accelerator leaves a watched field for its button, as a click does; from any other
        // control the focus stays where it was.
        QWidget *current = QApplication::focusWidget();
        if (current != button && std::any_of(m_entries.begin(), m_entries.end(),
                                             [current](const Entry &e) { return e.field == current; }))
            button->setFocus(Qt::ShortcutFocusReason);
        return !RunPending();
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return !RunPending();
    default:
        return false;
    }
}
