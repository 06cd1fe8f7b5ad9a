#include "slips/CurrencyTotal.h"

#include <cmath>

TCurrencyRangeError::TCurrencyRangeError()
    : std::range_error("O valor total ultrapassa o maior valor monetário aceito "
                       "(922.337.203.685.477,5807).")
{
}

namespace CurrencyTotal {

qint64 ToCurrency(long double amount)
{
    const long double scaled = amount * 10000.0L;
    if (!std::isfinite(scaled))
        throw TCurrencyRangeError();
    // Ties to even, independent of the floating-point rounding mode in force.
    long double whole = std::floor(scaled);
    const long double fraction = scaled - whole;
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(whole, 2.0L) != 0))
        whole += 1;
    // Both limits are exact in the extended type's 64-bit mantissa.
    if (whole < -9223372036854775808.0L || whole > 9223372036854775807.0L)
        throw TCurrencyRangeError();
    return qint64(whole);
}

QString Format(qint64 currency, const QLocale &locale)
{
    const bool negative = currency < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(currency) : quint64(currency);
    const quint64 cents = magnitude / 100 + (magnitude % 100 >= 50 ? 1 : 0);
    QLocale grouped = locale;
    grouped.setNumberOptions(grouped.numberOptions() & ~QLocale::OmitGroupSeparator);
    QString text = grouped.toString(qulonglong(cents / 100)) + locale.decimalPoint()
                   + QStringLiteral("%1").arg(qulonglong(cents % 100), 2, 10, QLatin1Char('0'));
    if (negative && cents != 0)
        text.prepend(QLatin1Char('-'));
    return text;
}

QString Total(std::initializer_list<long double> amounts, const QLocale &locale)
{
    long double sum = 0;
    for (const long double amount : amounts)
        sum += amount;
    return Format(ToCurrency(sum), locale);
}

} // namespace CurrencyTotal
