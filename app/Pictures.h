#pragma once
// The window's pictures, read from the program's resources once each.

#include <QPixmap>

namespace Pictures {

// The picture ":/pictures/<name>" (a PNG), taken from its stored pixels when the build stored
// them (resources/pixels); null when it cannot be read.
QPixmap Get(QLatin1StringView name);

} // namespace Pictures
