#pragma once
// Amount texts as users type and read them: parsing a loosely typed text into a number and
// formatting a number with a fixed count of decimals, with or without thousands separators.
// Both ignore the C library's locale; the separators come from the QLocale passed in.

#include <QLocale>
#include <QString>
#include <stdexcept>

// A number that the extended type cannot hold (typed, pasted or computed).
class TNumberRangeError : public std::range_error
{
public:
    TNumberRangeError();
};

namespace NumberText {

// Digits and the first decimal separator count, everything else is skipped; a leading minus
// makes the number negative. Throws TNumberRangeError beyond the extended type's range.
long double Parse(const QString &text, const QLocale &locale);

// Rounds to 18 significant digits, then to `decimals` places with halves away from zero.
// Throws TNumberRangeError for infinities and NaN.
QString Format(long double value, int decimals, bool grouped, const QLocale &locale);

} // namespace NumberText
