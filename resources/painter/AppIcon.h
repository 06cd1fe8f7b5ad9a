#pragma once
// The program's own icon for the desktop menu: a filled-in payment slip on the maker's navy.

#include "Pictures.h"

namespace Pictures {

void PaintAppIcon(QPainter &p, const QRectF &box, Tone tone = Tone::Colour);

// The icon as scalable vector graphics, and as PNG files of the usual theme sizes, written into
// `folder`; false when a file could not be written.
bool WriteAppIcon(const QString &folder, const QString &name);

} // namespace Pictures
