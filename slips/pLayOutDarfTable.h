#pragma once
// The stored layout of the DARF report: one row per control of its band, in stored order, which
// is also the painting order (a later control paints over an earlier one).

#include <span>

enum class TDarfKind { Label, Memo, Image, Rectangle, Line };
enum class TDarfFont { Report, Arial11, Arial12, Arial16Bold, Arial19Bold, Courier11Bold, Times8, Times13, Times16Bold };
enum class TDarfBrush { Clear, Orange };

enum TDarfFlag : unsigned {
    dfFixedSize = 1,    // AutoSize off
    dfRight = 2,        // right-aligned text
    dfJustified = 4,    // justified text
    dfWhite = 8,        // its own white background rather than the band's
    dfSiteExpander = 16,
    dfStretch = 32,     // picture stretched to the box
    dfCentre = 64,      // picture centred in the box
    dfAutoSize = 128,   // picture gives the box its size
    dfDashed = 256,     // dashed pen
};

struct TDarfBox
{
    int left, top, width, height;
};

struct TDarfControlRow
{
    const char *name;
    TDarfKind kind;
    int copy; // 1 the upper copy, 2 the lower
    TDarfBox box; // relative to the band
    const char *text = nullptr; // caption; a picture's file under ":/pictures/"; none for data
    TDarfFont font = TDarfFont::Report;
    TDarfBrush brush = TDarfBrush::Clear;
    unsigned flags = 0;
};

std::span<const TDarfControlRow> DarfLayoutRows();

// The notice printed justified at the foot of each copy.
extern const char kDarfNotice[];
