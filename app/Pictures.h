#pragma once
// The window's pictures, read from the program's resources once each.

#include <QPixmap>

namespace Pictures {

// The PNG ":/pictures/<name>"; null when it cannot be read.
QPixmap Get(QLatin1StringView name);

} // namespace Pictures
