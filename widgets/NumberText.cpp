#include "widgets/NumberText.h"

#include <charconv>
#include <cmath>
#include <string>

TNumberRangeError::TNumberRangeError()
    : std::range_error("Valor fora do intervalo numérico aceito: o número é grande demais para ser "
                       "calculado.")
{
}

namespace NumberText {

long double Parse(const QString &text, const QLocale &locale)
{
    const QString decimalPoint = locale.decimalPoint();
    std::string digits = "0";
    bool seenPoint = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digits += char(c.unicode());
        } else if (!seenPoint && text.mid(i, decimalPoint.size()) == decimalPoint) {
            digits += '.';
            seenPoint = true;
            i += decimalPoint.size() - 1;
        }
    }
    long double value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value))
        throw TNumberRangeError();
    if (digits != "0" && text.startsWith(QLatin1Char('-')))
        value = -value;
    return value;
}

namespace {

// Adds one unit in the last place of a string of decimal digits.
void increment(std::string &digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

} // namespace

QString Format(long double value, int decimals, bool grouped, const QLocale &locale)
{
    if (!std::isfinite(value))
        throw TNumberRangeError();
    decimals = qMax(0, decimals);

    // 18 significant digits d.ddddddddddddddddde±x: the extended type holds no more.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 17);
    const std::string sci(buf, res.ptr);
    const auto e = sci.find('e');
    std::string mantissa = sci.substr(0, 1) + sci.substr(2, e - 2);
    const int exponent = std::stoi(sci.substr(e + 1));

    // `keep` digits of the mantissa reach down to the last decimal place.
    const long keep = long(exponent) + 1 + decimals;
    std::string scaled; // value * 10^decimals, rounded
    if (keep >= long(mantissa.size())) {
        scaled = mantissa + std::string(size_t(keep - long(mantissa.size())), '0');
    } else if (keep >= 0) {
        scaled = mantissa.substr(0, size_t(keep));
        if (scaled.empty())
            scaled = "0";
        if (mantissa[size_t(keep)] >= '5')
            increment(scaled);
    } else {
        scaled = "0";
    }
    if (scaled.size() <= size_t(decimals))
        scaled.insert(0, size_t(decimals) + 1 - scaled.size(), '0');
    const bool zero = scaled.find_first_not_of('0') == std::string::npos;

    const std::string intPart = scaled.substr(0, scaled.size() - size_t(decimals));
    QString out;
    if (value < 0 && !zero)
        out += QLatin1Char('-');
    const QString group = locale.groupSeparator();
    for (size_t i = 0; i < intPart.size(); ++i) {
        if (grouped && i > 0 && (intPart.size() - i) % 3 == 0)
            out += group;
        out += QLatin1Char(intPart[i]);
    }
    if (decimals > 0) {
        out += locale.decimalPoint();
        out += QString::fromLatin1(scaled.data() + intPart.size(), decimals);
    }
    return out;
}

} // namespace NumberText
