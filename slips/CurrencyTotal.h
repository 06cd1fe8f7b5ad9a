#pragma once
// The totals of the slips: amounts summed in extended precision, held as currency (an integer
// count of ten-thousandths) and shown with thousands separators and two decimals.

#include <QLocale>
#include <QString>
#include <initializer_list>
#include <stdexcept>

// A total beyond what the currency type holds (about ±922 trillion).
class TCurrencyRangeError : public std::range_error
{
public:
    TCurrencyRangeError();
};

namespace CurrencyTotal {

// Ten-thousandths, rounded to the nearest with ties to even. Throws TCurrencyRangeError.
qint64 ToCurrency(long double amount);

// Two decimals (halves away from zero) with thousands separators: 1.234,50 in Brazil.
QString Format(qint64 currency, const QLocale &locale);

// Adds the amounts in the order given and formats the currency sum.
QString Total(std::initializer_list<long double> amounts, const QLocale &locale);

} // namespace CurrencyTotal
