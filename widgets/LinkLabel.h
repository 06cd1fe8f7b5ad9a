#pragma once
// A label that acts as a link: hand cursor, and a click signal on a left-button release over it.

#include <QLabel>

class TLinkLabel : public QLabel
{
    Q_OBJECT
public:
    explicit TLinkLabel(QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *e) override;
};
