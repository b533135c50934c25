// The ruler's 2.5 mm grid: every indent, tab stop and text width taken from the ruler snaps to it.
#pragma once

// Nearest multiple of 2.5 mm; a value exactly halfway goes to the upper multiple.
double AufRasterRunden(double mm);

// The same grid mirrored at 0, for hanging indents: halves go away from zero.
double AufRasterRundenGespiegelt(double mm);
