#pragma once
// Coordinate arithmetic of recorded pages. Loaded pages are untrusted, so every result saturates
// at the int range instead of overflowing; rounding is to nearest with ties to even.

#include "report/base/RLUtils.h"

#include <QtGlobal>

#include <climits>

namespace RLMeta {

inline int scaled(int value, double factor)
{
    return RLRound(static_cast<long double>(value) * factor);
}

inline int clampToInt(qint64 value)
{
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : int(value);
}

inline int added(int a, int b)
{
    return clampToInt(qint64(a) + qint64(b));
}

// A non-zero pen width keeps at least one pixel when scaled down.
inline int scaledPenWidth(int width, double factor)
{
    if (width == 0)
        return 0;
    const int w = scaled(width, factor);
    return w < 1 ? 1 : w;
}

} // namespace RLMeta
