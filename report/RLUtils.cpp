#include "report/RLUtils.h"

#include <climits>
#include <cmath>

int RLRound(long double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<long double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<long double>(INT_MIN))
        return INT_MIN;
    // Done by hand rather than through the FPU's rounding mode, which other code may change.
    long double whole = std::floor(value);
    const long double fraction = value - whole; // exact: both share the exponent range
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(whole, 2.0L) != 0))
        whole += 1;
    return static_cast<int>(whole);
}

int MMToPixels(double mm)
{
    // Extended precision with the product first: the order decides the last bits and with them
    // which way near-ties go, and every size in a report must agree with every other one.
    return RLRound(static_cast<long double>(mm) * 96 / 25.4L);
}
