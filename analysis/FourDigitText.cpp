// The 4-significant-digit number form of the analysis plots and texts.
#include "NonlinearPlots.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

std::string FourDigitText(double value)
{
    if (!std::isfinite(value))
        return "---";
    // "d.ddde+XX" gives the four digits, rounded, and the position of the point.
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3e", std::fabs(value));
    const std::string digits{buf[0], buf[2], buf[3], buf[4]};
    const int point = std::atoi(buf + 6) + 1; // digits before the decimal point
    std::string text;
    if (point < 1) {
        text = std::string(static_cast<std::size_t>(-point) + 1, '0') + digits;
        text.insert(1, ".");
    } else if (point < 4) {
        text = digits;
        text.insert(static_cast<std::size_t>(point), ".");
    } else {
        // The value has no digits after the point: fill with zeros up to it.
        text = digits + std::string(static_cast<std::size_t>(point) - 4, '0');
    }
    return value < 0.0 ? "-" + text : text;
}
