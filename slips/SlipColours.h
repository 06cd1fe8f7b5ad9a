#pragma once
// The slips' own colours for "Colorido", as 0x00BBGGRR (0 prints in black and white).

#include <QtGlobal>

constexpr quint32 kCorDarfColorido = 0x9D0602; // #02069D, dark blue
constexpr quint32 kCorGareColorido = 0x1D611F; // #1F611D, dark green
