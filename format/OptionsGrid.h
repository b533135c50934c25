// The ruler's 2.5 mm grid as the formatting dialog rounds to it.
#pragma once

#include <cmath>

namespace OptionsGrid {

// Nearest multiple of 2.5 mm; an exact half goes up (1.25 -> 2.5, -1.25 -> 0).
inline double AufRasterRunden(double mm)
{
    const double q = mm / 10;
    const double whole = std::floor(q);
    const double f = q - whole;
    const double a = f < 0.125 ? 0 : f < 0.375 ? 0.25 : f < 0.625 ? 0.5 : f < 0.875 ? 0.75 : 1;
    return 10 * (whole + a);
}

// The first-line rounding: halves go away from zero (-1.25 -> -2.5).
inline double mirrored(double mm)
{
    return mm < 0 ? -AufRasterRunden(-mm) : AufRasterRunden(mm);
}

} // namespace OptionsGrid
