#pragma once
// The font of the engine's own windows. "MS Sans Serif" has no scalable clone here: it is drawn
// with Liberation Sans, whether or not the hosting program mapped it already.

#include <QFont>

QFont RLWindowFont(int pixelSize);
