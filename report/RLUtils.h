#pragma once
// Conversions between millimetres, printer pixels and report pixels (96 per inch), and the small
// geometry and text helpers that the report controls and the page metafile share.

#include "report/RLTypes.h"

// Nearest integer, halves to the even neighbour; out-of-range values saturate and NaN gives 0.
int RLRound(long double value);

// Report pixels for a length in millimetres: Round(mm * 96 / 25.4).
int MMToPixels(double mm);
