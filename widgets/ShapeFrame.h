#pragma once
// A rectangle drawn inside its bounds with a pen of a given width, filled white, left clear or
// filled with the pen's colour; the frames of the slip replicas are made of these.

#include <QWidget>

class TShapeFrame : public QWidget
{
    Q_OBJECT
public:
    enum class Fill { White, Clear, Solid };

    TShapeFrame(QColor pen, int penWidth, Fill fill, QWidget *parent = nullptr);

    QColor PenColor() const { return m_pen; }
    int PenWidth() const { return m_penWidth; }
    Fill FillKind() const { return m_fill; }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QColor m_pen;
    int m_penWidth;
    Fill m_fill;
};
