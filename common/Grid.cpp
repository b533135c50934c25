// The ruler's 2.5 mm grid, worked out in centimetres as the ruler prints them.
#include "common/Grid.h"

#include <cmath>

double AufRasterRunden(double mm)
{
    const double cm = mm / 10.0;
    const double whole = std::floor(cm);
    const double fraction = cm - whole;
    // Quarter centimetres; a fraction on a boundary belongs to the upper step.
    double step = 1.0;
    if (fraction < 0.125)
        step = 0.0;
    else if (fraction < 0.375)
        step = 0.25;
    else if (fraction < 0.625)
        step = 0.5;
    else if (fraction < 0.875)
        step = 0.75;
    return (whole + step) * 10.0;
}

double AufRasterRundenGespiegelt(double mm)
{
    return mm >= 0 ? AufRasterRunden(mm) : -AufRasterRunden(-mm);
}
