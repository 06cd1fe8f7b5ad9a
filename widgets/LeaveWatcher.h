#pragma once
// "On leaving" handlers of a window's fields. A field is left when the focus moves to another
// control of the same window; a message box or a menu taking the focus for a moment is not
// leaving. Handlers run just after the move (not inside Qt's focus change), guarded so that
// an error reaches the application's handler.

#include <QObject>
#include <functional>

class QFocusEvent;
class QWidget;

class TLeaveWatcher : public QObject
{
    Q_OBJECT
public:
    explicit TLeaveWatcher(QObject *parent = nullptr);

    void Watch(QWidget *field, std::function<void()> onExit);

    // A message box or a menu taking (or giving back) the focus for a moment.
    static bool IsTransient(const QFocusEvent *e);

    // Puts the focus back into a field whose exit handler refused the move, bringing its tab
    // page to the front again. The control that had the focus meanwhile never counts as left,
    // so one wrong entry gives one message.
    void ReturnFocus(QWidget *field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Entry {
        QWidget *field;
        std::function<void()> onExit;
    };
    std::vector<Entry> m_entries;
    bool m_returning = false;
};
