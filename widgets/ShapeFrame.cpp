#include "widgets/ShapeFrame.h"

#include <QPainter>

TShapeFrame::TShapeFrame(QColor pen, int penWidth, Fill fill, QWidget *parent)
    : QWidget(parent), m_pen(pen), m_penWidth(qMax(1, penWidth)), m_fill(fill)
{
}

void TShapeFrame::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect all = rect();
    if (m_fill != Fill::Clear)
        p.fillRect(all, m_fill == Fill::White ? QColor(Qt::white) : m_pen);
    // Pen inside the bounds: a 1-pixel line on the outermost pixels, wider pens grow inwards.
    p.setPen(Qt::NoPen);
    p.setBrush(m_pen);
    const int w = qMin(m_penWidth, qMin(all.width(), all.height()));
    if (w <= 0)
        return;
    p.drawRect(QRect(0, 0, all.width(), w));
    p.drawRect(QRect(0, all.height() - w, all.width(), w));
    p.drawRect(QRect(0, 0, w, all.height()));
    p.drawRect(QRect(all.width() - w, 0, w, all.height()));
}
