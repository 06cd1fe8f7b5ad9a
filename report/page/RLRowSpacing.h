#pragma once
// The spacing of one row of text on a device. Rows are broken with the report's measures, and a
// device of another resolution can give the same row another width: a justified row is spread or
// narrowed between its words so that it ends at its box's right edge, and a left-aligned row that
// would cross that edge is narrowed to end on it.

#include <QFontMetricsF>
#include <QString>

struct TRLRowSpacing
{
    QString Text;            // the row without its leading and trailing blanks
    qreal Start = 0;         // device x where Text starts
    qreal WordSpacing = 0;   // added to every blank of Text
    qreal End = 0;           // device x where Text ends, with the spacing

    bool Spread() const { return WordSpacing != 0; }
};

// The row starting at x (the half blank of lead included) in a box ending at right.
TRLRowSpacing RLSpaceRow(const QString &row, const QFontMetricsF &metrics, qreal x, qreal right, bool justify);
