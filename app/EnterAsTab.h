#pragma once
// Enter (either key) in a one-line field moves on as Tab does, so a slip is typed with the
// numeric keypad alone. Memos keep Enter for a new line and buttons keep theirs.

#include <QObject>

class QWidget;

class TEnterAsTab : public QObject
{
    Q_OBJECT
public:
    // Watches every one-line field inside `panel`.
    static void Attach(QWidget *panel);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
};
