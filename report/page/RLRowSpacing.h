#pragma once
// The spacing of one row of text on a device. Rows are broken with the report's measures, and a
// device of another resolution can give the same row another width: a justified row is spread or
// narrowed between its words so that it ends at its box's right edge, and a left-aligned row that
// would cross that edge is narrowed to end on it. Words never run together: a gap keeps at least
// half a blank, a row still too wide is condensed as a whole by a few percent at most, and a row
// that would need more is left as a left-aligned row draws it.

#include <QString>

class TRLTextMeasure;

struct TRLRowSpacing
{
    QString Text;            // the row without its leading and trailing blanks
    qreal Start = 0;         // device x where Text starts
    qreal WordSpacing = 0;   // added to every blank of Text, in the condensed font's units
    qreal Condense = 1;      // horizontal scale of the whole row, at most 1
    qreal End = 0;           // device x where Text ends, with the spacing

    bool Spread() const { return WordSpacing != 0 || Condense != 1; }
};

// The narrowest a gap between words becomes, in blanks of the font, and the narrowest a row is
// condensed to.
constexpr qreal RLNarrowestGap = 0.5;
constexpr qreal RLMostCondensed = 0.96;

// The row starting at x (the half blank of lead included) in a box ending at right.
TRLRowSpacing RLSpaceRow(const QString &row, TRLTextMeasure &measure, qreal x, qreal right, bool justify);
