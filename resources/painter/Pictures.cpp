#include "Pictures.h"

#include <QFile>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace Pictures {
namespace {

// Colours pass through the tone: greys keep the lightness, black and white splits at the
// middle so that thin dark lines survive and light fills vanish.
QColor ink(QColor c, Tone tone)
{
    if (tone == Tone::Colour || c.alpha() == 0)
        return c;
    const int grey = qGray(c.rgb());
    if (tone == Tone::Grey)
        return QColor(grey, grey, grey, c.alpha());
    return grey < 160 ? QColor(Qt::black) : QColor(Qt::white);
}

// Letters on a dark fill stay light in black and white too.
QColor inkOnDark(QColor c, Tone tone)
{
    return ink(c, tone == Tone::Mono ? Tone::Colour : tone);
}

// A curved ribbon from left to right whose edges sag by `sag`, `depth` high, with its text.
void ribbon(QPainter &p, qreal left, qreal right, qreal top, qreal sag, qreal depth, QColor fill,
            QColor line, qreal lineWidth, const QFont &font, const QRectF &textBox,
            const QString &text, Tone tone)
{
    const qreal middle = (left + right) / 2;
    QPainterPath path;
    path.moveTo(left, top);
    path.quadTo(middle, top + sag, right, top);
    path.lineTo(right, top + depth);
    path.quadTo(middle, top + depth + sag, left, top + depth);
    path.closeSubpath();
    p.setPen(QPen(ink(line, tone), lineWidth));
    p.setBrush(ink(fill, tone));
    p.drawPath(path);
    p.setFont(font);
    p.setPen(inkOnDark(Qt::white, tone));
    p.drawText(textBox, Qt::AlignCenter, text);
}

// Maps a drawing designed on a width x height grid onto the box.
void enterGrid(QPainter &p, const QRectF &box, qreal width, qreal height)
{
    p.translate(box.topLeft());
    p.scale(box.width() / width, box.height() / height);
}

QPolygonF star(QPointF centre, qreal outer, qreal inner, int points, qreal turn = -90)
{
    QPolygonF poly;
    for (int i = 0; i < points * 2; ++i) {
        const qreal r = (i % 2) ? inner : outer;
        const qreal a = qDegreesToRadians(turn + 180.0 * i / points);
        poly << centre + QPointF(r * qCos(a), r * qSin(a));
    }
    return poly;
}

void fillShape(QPainter &p, const QPolygonF &shape, QColor fill, QColor line, qreal width, Tone tone)
{
    p.setPen(line.alpha() ? QPen(ink(line, tone), width) : QPen(Qt::NoPen));
    p.setBrush(ink(fill, tone));
    p.drawPolygon(shape);
}

void disc(QPainter &p, QPointF c, qreal r, QColor fill, QColor line, qreal width, Tone tone)
{
    p.setPen(line.alpha() ? QPen(ink(line, tone), width) : QPen(Qt::NoPen));
    p.setBrush(ink(fill, tone));
    p.drawEllipse(c, r, r);
}

// A branch of leaves (and optional fruits) along a quadratic curve.
void branch(QPainter &p, QPointF from, QPointF control, QPointF to, int leaves, qreal leafLength,
            QColor leaf, QColor fruit, Tone tone)
{
    QPainterPath stem(from);
    stem.quadTo(control, to);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink(QColor(0x5a, 0x3a, 0x12), tone), leafLength / 6));
    p.drawPath(stem);
    for (int i = 1; i <= leaves; ++i) {
        const qreal t = qreal(i) / (leaves + 1);
        const QPointF at = stem.pointAtPercent(t);
        const qreal angle = stem.angleAtPercent(t);
        for (int side : {-1, 1}) {
            p.save();
            p.translate(at);
            p.rotate(-angle + side * 50);
            p.setPen(QPen(ink(QColor(0x0b, 0x3d, 0x12), tone), leafLength / 12));
            p.setBrush(ink(leaf, tone));
            p.drawEllipse(QRectF(0, -leafLength / 5, leafLength, leafLength * 2 / 5));
            p.restore();
        }
        if (fruit.alpha() && i % 2 == 0)
            disc(p, at + QPointF(leafLength / 3, 0), leafLength / 5, fruit, QColor(Qt::black),
                 leafLength / 14, tone);
    }
}

} // namespace

void PaintLogo(QPainter &p, const QRectF &box, Tone tone)
{
    p.save();
    enterGrid(p, box, 201, 75);
    const QColor navy(0x12, 0x2f, 0x6b), orange(0xe8, 0x7a, 0x1c);
    QPainterPath emblem;
    emblem.addRoundedRect(QRectF(6, 8, 54, 54), 10, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(ink(navy, tone));
    p.drawPath(emblem);
    // A stylised M rising like a bar chart.
    QPolygonF m;
    m << QPointF(15, 52) << QPointF(15, 20) << QPointF(24, 20) << QPointF(33, 36) << QPointF(42, 20)
      << QPointF(51, 20) << QPointF(51, 52) << QPointF(44, 52) << QPointF(44, 32) << QPointF(33, 48)
      << QPointF(22, 32) << QPointF(22, 52);
    fillShape(p, m, Qt::white, Qt::transparent, 0, tone);
    p.setBrush(ink(orange, tone));
    p.drawRect(QRectF(6, 65, 189, 3));

    QFont name(QStringLiteral("Arial"));
    name.setPixelSize(26);
    name.setBold(true);
    name.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
    p.setFont(name);
    p.setPen(ink(navy, tone));
    p.drawText(QPointF(67, 36), QStringLiteral("MORVATH"));
    QFont line(QStringLiteral("Arial"));
    line.setPixelSize(15);
    p.setFont(line);
    p.setPen(ink(orange, tone));
    p.drawText(QPointF(68, 57), QStringLiteral("Informática Ltda."));
    p.restore();
}

void PaintBrazilArms(QPainter &p, const QRectF &box, Tone tone)
{
    p.save();
    enterGrid(p, box, 130, 135);
    const QPointF c(65, 58);
    const QColor gold(0xe6, 0xb4, 0x22), green(0x00, 0x8c, 0x3a), yellow(0xff, 0xdf, 0x00),
        blue(0x1a, 0x3b, 0x9c), red(0xc8, 0x1e, 0x1e), dark(0x20, 0x20, 0x20);

    // The sword behind everything, hilt below the star.
    fillShape(p, QPolygonF() << QPointF(62.5, 12) << QPointF(65, 4) << QPointF(67.5, 12)
                             << QPointF(67.5, 104) << QPointF(62.5, 104),
              QColor(0xd8, 0xd8, 0xd8), dark, 0.8, tone);
    fillShape(p, QPolygonF(QRectF(51, 103, 28, 4)), gold, dark, 0.8, tone);
    fillShape(p, QPolygonF(QRectF(63, 107, 4, 10)), QColor(0x8a, 0x5a, 0x20), dark, 0.8, tone);
    disc(p, QPointF(65, 119), 3, gold, dark, 0.8, tone);

    // Coffee on the left, tobacco on the right.
    branch(p, QPointF(56, 114), QPointF(8, 104), QPointF(16, 30), 7, 11, QColor(0x2e, 0x8b, 0x2e),
           QColor(0xb0, 0x10, 0x10), tone);
    branch(p, QPointF(74, 114), QPointF(122, 104), QPointF(114, 30), 7, 12, QColor(0x4c, 0xa0, 0x3a),
           QColor(0xf0, 0x9c, 0xc0), tone);

    // The golden glory, then the great star in its border colours.
    fillShape(p, star(c, 52, 40, 20, -90 + 9), gold, QColor(0x8a, 0x6a, 0x10), 0.8, tone);
    fillShape(p, star(c, 49, 20, 5), red, dark, 1.0, tone);
    fillShape(p, star(c, 46, 18.5, 5), yellow, Qt::transparent, 0, tone);
    fillShape(p, star(c, 42, 16.5, 5), green, Qt::transparent, 0, tone);

    // The round shield: a ring of stars, and the Southern Cross within.
    disc(p, c, 21, yellow, dark, 0.8, tone);
    disc(p, c, 19.5, blue, Qt::transparent, 0, tone);
    for (int i = 0; i < 20; ++i) {
        const qreal a = qDegreesToRadians(18.0 * i);
        disc(p, c + QPointF(16.5 * qCos(a), 16.5 * qSin(a)), 1.1, Qt::white, Qt::transparent, 0, tone);
    }
    disc(p, c, 13.5, yellow, Qt::transparent, 0, tone);
    disc(p, c, 12.5, blue, Qt::transparent, 0, tone);
    for (QPointF s : {QPointF(0, -8), QPointF(0, 8), QPointF(-6, 0), QPointF(6, -1), QPointF(2.5, 3)})
        fillShape(p, star(c + s, 2.2, 0.9, 5), Qt::white, Qt::transparent, 0, tone);

    // The ribbon with the name of the republic.
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(6);
    f.setBold(true);
    ribbon(p, 3, 127, 116, 18, 12, blue, dark, 0.8, f, QRectF(3, 121, 124, 10),
           QStringLiteral("REPÚBLICA FEDERATIVA DO BRASIL"), tone);
    p.restore();
}

void PaintSaoPauloArms(QPainter &p, const QRectF &box, Tone tone)
{
    p.save();
    enterGrid(p, box, 67, 71);
    const QColor red(0xc4, 0x12, 0x1a), gold(0xe6, 0xb4, 0x22), silver(0xe4, 0xe4, 0xe4),
        dark(0x20, 0x20, 0x20);

    // Coffee on the left, sugar cane on the right, behind the shield.
    branch(p, QPointF(30, 56), QPointF(4, 52), QPointF(8, 16), 5, 7, QColor(0x2e, 0x8b, 0x2e),
           QColor(0xb0, 0x10, 0x10), tone);
    branch(p, QPointF(37, 56), QPointF(63, 52), QPointF(59, 16), 5, 8, QColor(0x7a, 0xb0, 0x3a),
           Qt::transparent, tone);

    // A Portuguese shield in red.
    QPainterPath shield;
    shield.moveTo(17, 12);
    shield.lineTo(50, 12);
    shield.lineTo(50, 38);
    shield.quadTo(50, 52, 33.5, 54);
    shield.quadTo(17, 52, 17, 38);
    shield.closeSubpath();
    p.setPen(QPen(ink(gold, tone), 1.6));
    p.setBrush(ink(red, tone));
    p.drawPath(shield);

    // The sword point up, between the letters S and P.
    fillShape(p, QPolygonF() << QPointF(32.3, 20) << QPointF(33.5, 16) << QPointF(34.7, 20)
                             << QPointF(34.7, 41) << QPointF(32.3, 41),
              silver, dark, 0.4, tone);
    fillShape(p, QPolygonF(QRectF(28, 41, 11, 2)), gold, dark, 0.4, tone);
    fillShape(p, QPolygonF(QRectF(32.6, 43, 1.8, 5)), gold, dark, 0.4, tone);
    QFont f(QStringLiteral("Times New Roman"));
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(inkOnDark(silver, tone));
    p.drawText(QRectF(18, 22, 13, 14), Qt::AlignCenter, QStringLiteral("S"));
    p.drawText(QRectF(36, 22, 13, 14), Qt::AlignCenter, QStringLiteral("P"));

    // The star above the shield.
    fillShape(p, star(QPointF(33.5, 6), 5.5, 2.2, 5), gold, dark, 0.5, tone);

    // The red ribbon with the motto.
    QFont m(QStringLiteral("Arial"));
    m.setPixelSize(3);
    ribbon(p, 6, 61, 56, 10, 7, red, dark, 0.5, m, QRectF(6, 60, 55, 5),
           QStringLiteral("PRO BRASILIA FIANT EXIMIA"), tone);
    p.restore();
}

void PaintArrow(QPainter &p, const QRectF &box, Tone tone)
{
    p.save();
    enterGrid(p, box, 16, 16);
    p.setRenderHint(QPainter::Antialiasing, false);
    // Kept inside the top-left 14 x 14 pixels: the entry page shows it uncut at that size.
    QPolygonF arrow;
    arrow << QPointF(1, 5) << QPointF(6, 5) << QPointF(6, 1) << QPointF(12, 7) << QPointF(6, 13)
          << QPointF(6, 9) << QPointF(1, 9);
    fillShape(p, arrow, QColor(0xe0, 0x10, 0x10), Qt::black, 0, tone);
    p.restore();
}

void PaintPrinter(QPainter &p, const QRectF &box, Tone tone)
{
    p.save();
    enterGrid(p, box, 16, 16);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor outline(0x30, 0x30, 0x30);
    p.setPen(QPen(ink(outline, tone), 0));
    p.setBrush(ink(Qt::white, tone));
    p.drawRect(QRectF(4, 1, 7, 6)); // the sheet going in
    p.setBrush(ink(QColor(0xa8, 0xa8, 0xb0), tone));
    p.drawRect(QRectF(1, 6, 13, 6)); // the body
    p.setBrush(ink(QColor(0x70, 0x70, 0x78), tone));
    p.drawRect(QRectF(2, 10, 11, 1));
    p.setBrush(ink(Qt::white, tone));
    p.drawRect(QRectF(3, 11, 9, 4)); // the printed sheet
    p.setPen(QPen(ink(QColor(0x40, 0x60, 0xc0), tone), 0));
    p.drawLine(QPointF(5, 13), QPointF(10, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(ink(QColor(0x10, 0xc0, 0x10), tone));
    p.drawRect(QRectF(11, 8, 2, 1)); // the power light
    p.restore();
}

void PaintDoor(QPainter &p, const QRectF &box, Tone tone)
{
    p.save();
    enterGrid(p, box, 16, 16);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(ink(QColor(0x30, 0x20, 0x10), tone), 0));
    p.setBrush(ink(QColor(0x90, 0x70, 0x50), tone));
    p.drawRect(QRectF(3, 0, 10, 15)); // the frame
    p.setBrush(ink(QColor(0x8b, 0x10, 0x10), tone));
    p.drawRect(QRectF(4, 1, 8, 14)); // the door
    p.setBrush(ink(QColor(0xa0, 0xd0, 0xf0), tone));
    p.drawRect(QRectF(6, 3, 4, 3)); // its small window
    p.setPen(Qt::NoPen);
    p.setBrush(ink(QColor(0xff, 0xe0, 0x20), tone));
    p.drawRect(QRectF(10, 8, 1, 2)); // the knob
    p.restore();
}

void PaintScissors(QPainter &p, const QRectF &box, Tone tone)
{
    p.save();
    enterGrid(p, box, 20, 20);
    // Drawn on whole pixels: at 20 x 20 smoothed edges only blur the blades.
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor blade(0xa0, 0xa0, 0xa0);
    // Each blade runs from its ring through the pivot to the opposite side's tip.
    fillShape(p, QPolygonF() << QPointF(6, 6) << QPointF(9, 6) << QPointF(19, 14) << QPointF(16, 14),
              blade, Qt::black, 0, tone);
    fillShape(p, QPolygonF() << QPointF(6, 13) << QPointF(9, 13) << QPointF(19, 5) << QPointF(16, 5),
              blade, Qt::black, 0, tone);
    disc(p, QPointF(12, 9.5), 1, Qt::black, Qt::transparent, 0, tone);
    // The finger rings, white inside.
    p.setRenderHint(QPainter::Antialiasing, true);
    disc(p, QPointF(4, 4.5), 3, Qt::white, Qt::black, 1.5, tone);
    disc(p, QPointF(4, 14.5), 3, Qt::white, Qt::black, 1.5, tone);
    p.restore();
}

QImage Render(Painter paint, QSize size, Tone tone, QColor background)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paint(p, QRectF(QPointF(0, 0), QSizeF(size)), tone);
    p.end();
    return image;
}

QImage SixteenGreys(const QImage &image)
{
    QList<QRgb> greys;
    for (int i = 0; i < 16; ++i)
        greys << qRgb(i * 17, i * 17, i * 17);
    return image.convertToFormat(QImage::Format_Indexed8, greys, Qt::ThresholdDither);
}

namespace {

quint32 pngCrc(const QByteArray &bytes)
{
    quint32 crc = 0xffffffffu;
    for (char ch : bytes) {
        crc ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void appendBigEndian(QByteArray &out, quint32 v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((v >> shift) & 0xff));
}

void appendChunk(QByteArray &out, const char *type, const QByteArray &data)
{
    appendBigEndian(out, quint32(data.size()));
    const QByteArray body = QByteArray(type, 4) + data;
    out += body;
    appendBigEndian(out, pngCrc(body));
}

} // namespace

bool SaveFourBitPng(const QImage &image, const QString &path)
{
    if (image.format() != QImage::Format_Indexed8 || image.colorCount() > 16 || image.isNull())
        return false;
    QByteArray header;
    appendBigEndian(header, quint32(image.width()));
    appendBigEndian(header, quint32(image.height()));
    header.append(char(4)).append(char(3)).append(char(0)).append(char(0)).append(char(0));
    QByteArray palette;
    for (QRgb c : image.colorTable())
        palette.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
    QByteArray rows;
    for (int y = 0; y < image.height(); ++y) {
        rows.append(char(0)); // no filter
        const uchar *line = image.constScanLine(y);
        for (int x = 0; x < image.width(); x += 2) {
            const int right = x + 1 < image.width() ? line[x + 1] : 0;
            rows.append(char((line[x] << 4) | right));
        }
    }
    // qCompress puts the length in front of a plain zlib stream.
    const QByteArray zlib = qCompress(rows, 9).mid(4);
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    appendChunk(png, "IHDR", header);
    appendChunk(png, "PLTE", palette);
    appendChunk(png, "IDAT", zlib);
    appendChunk(png, "IEND", QByteArray());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(png) == png.size();
}

QImage Disabled(const QImage &image)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int grey = 128 + qGray(line[x]) / 2;
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]));
        }
    }
    return out;
}

} // namespace Pictures
