#pragma once
// "On leaving" handlers of a window's fields. A field is left when the focus moves to another
// control of the same window; a message box or a menu taking the focus for a moment is not
// leaving. Handlers run just after the move (not inside Qt's focus change), guarded so that
// an error reaches the application's handler. A guarded button runs a pending handler before
// it reacts, so no click or accelerator can overtake the check of the field it leaves.

#include <QObject>
#include <functional>

class QAbstractButton;
class QFocusEvent;
class QWidget;

class TLeaveWatcher : public QObject
{
    Q_OBJECT
public:
    explicit TLeaveWatcher(QObject *parent = nullptr);

    void Watch(QWidget *field, std::function<void()> onExit);

    // The button's click, key and accelerator first leave the field that has the focus and run
    // its handler at once; a handler that refuses (ReturnFocus) or fails swallows the click.
    void Guard(QAbstractButton *button);

    // Runs the handlers of fields left but not yet handled, now, without processing events.
    // False when one of them refused the move or failed; the later ones are then dropped.
    bool RunPending();

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
    struct Pending {
        quint64 serial;
        std::function<void()> onExit;
    };
    bool filterField(QObject *watched, QEvent *event);
    bool filterButton(QAbstractButton *button, QEvent *event);
    void runQueued(quint64 serial);
    bool run(const std::function<void()> &onExit);

    std::vector<Entry> m_entries;
    std::vector<QAbstractButton *> m_buttons;
    std::vector<Pending> m_pending;
    quint64 m_serial = 0;
    bool m_returning = false;
    bool m_refused = false;
    // A refusal while a guarded button is held down: its release is no click.
    bool m_refusedSincePress = false;
};
