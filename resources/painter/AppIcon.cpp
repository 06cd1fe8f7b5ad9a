#include "AppIcon.h"

#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

namespace Pictures {
namespace {

const QColor kNavy(0x12, 0x2f, 0x6b);
const QColor kOrange(0xe8, 0x7a, 0x1c);

QColor tint(QColor c, Tone tone)
{
    if (tone == Tone::Colour)
        return c;
    const int grey = qGray(c.rgb());
    if (tone == Tone::Grey)
        return QColor(grey, grey, grey);
    return grey < 160 ? QColor(Qt::black) : QColor(Qt::white);
}

} // namespace

void PaintAppIcon(QPainter &p, const QRectF &box, Tone tone)
{
    p.save();
    p.translate(box.topLeft());
    p.scale(box.width() / 256, box.height() / 256);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);

    p.setBrush(tint(kNavy, tone));
    p.drawRoundedRect(QRectF(16, 16, 224, 224), 40, 40);

    // The sheet, with the coloured heading of the slips and the boxes of the entered data; the
    // shapes are kept broad so that the small sizes still read as a filled-in form.
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(54, 38, 148, 180), 8, 8);
    QPainterPath heading;
    heading.addRoundedRect(QRectF(54, 38, 148, 36), 8, 8);
    heading.addRect(QRectF(54, 58, 148, 16));
    heading.setFillRule(Qt::WindingFill);
    p.setBrush(tint(kOrange, tone));
    p.drawPath(heading.simplified());

    p.setBrush(tint(QColor(0x9a, 0xa7, 0xc0), tone));
    for (const QRectF &line : {QRectF(70, 90, 70, 12), QRectF(70, 114, 52, 12), QRectF(70, 138, 64, 12)})
        p.drawRect(line);
    p.setBrush(tint(kNavy, tone));
    for (const QRectF &value : {QRectF(150, 90, 36, 12), QRectF(150, 114, 36, 12), QRectF(150, 138, 36, 12)})
        p.drawRect(value);

    // A bar code along the foot, as on the printed slips.
    p.setBrush(Qt::black);
    const int bars[] = {6, 3, 3, 6, 3, 9, 3, 3, 6, 3, 6, 3, 9, 3, 3, 6, 3};
    qreal x = 70;
    for (std::size_t i = 0; i < std::size(bars); ++i) {
        if (i % 2 == 0)
            p.drawRect(QRectF(x, 168, bars[i], 32));
        x += bars[i];
    }
    p.restore();
}

bool WriteAppIcon(const QString &folder, const QString &name)
{
    const QDir out(folder);
    bool ok = out.mkpath(QStringLiteral("."));

    QSvgGenerator svg;
    svg.setFileName(out.filePath(name + QStringLiteral(".svg")));
    svg.setSize(QSize(256, 256));
    svg.setViewBox(QRectF(0, 0, 256, 256));
    svg.setTitle(QStringLiteral("Zavenor"));
    svg.setDescription(QStringLiteral("Ícone do Zavenor"));
    {
        QPainter p;
        ok = p.begin(&svg) && ok;
        if (p.isActive())
            PaintAppIcon(p, QRectF(0, 0, 256, 256));
    }

    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage image = Render(PaintAppIcon, {size, size});
        ok = image.save(out.filePath(QStringLiteral("%1-%2.png").arg(name).arg(size))) && ok;
    }
    return ok;
}

} // namespace Pictures
