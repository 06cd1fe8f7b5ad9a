#pragma once
// Our own drawings of the pictures the program and its slips show: the maker's logo, the two
// coats of arms, the small arrow and the button pictures. Each paints into any rectangle, in
// colour, in greys or in black and white, so the same drawing serves every size and depth.

#include <QImage>
#include <QRectF>
#include <QString>

class QPainter;

namespace Pictures {

enum class Tone { Colour, Grey, Mono };

void PaintLogo(QPainter &p, const QRectF &box, Tone tone = Tone::Colour);
void PaintBrazilArms(QPainter &p, const QRectF &box, Tone tone = Tone::Colour);
void PaintSaoPauloArms(QPainter &p, const QRectF &box, Tone tone = Tone::Colour);
void PaintArrow(QPainter &p, const QRectF &box, Tone tone = Tone::Colour);
void PaintPrinter(QPainter &p, const QRectF &box, Tone tone = Tone::Colour);
void PaintDoor(QPainter &p, const QRectF &box, Tone tone = Tone::Colour);
// Open scissors cutting towards the right: black outline, grey blades.
void PaintScissors(QPainter &p, const QRectF &box, Tone tone = Tone::Colour);

using Painter = void (*)(QPainter &, const QRectF &, Tone);

// Renders a drawing into a new image; `background` transparent unless given.
QImage Render(Painter paint, QSize size, Tone tone = Tone::Colour,
              QColor background = Qt::transparent);

// The image with a palette of 16 greys, black to white (4 bits a pixel when saved as PNG).
QImage SixteenGreys(const QImage &image);

// Writes an image of at most 16 palette colours as a 4-bit palette PNG (Qt writes 8 bits).
bool SaveFourBitPng(const QImage &image, const QString &path);

// The look of a disabled button picture: the colours washed out to light greys.
QImage Disabled(const QImage &image);

} // namespace Pictures
