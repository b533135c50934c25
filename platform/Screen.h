// The screen object: size in twips, twips per pixel, screen fonts, the program-wide mouse
// pointer, and the beep (counted, so tests can see it).
#pragma once

#include <QStringList>

namespace Screen {

enum MousePointerShape : int { vbDefault = 0, vbSizeWE = 9, vbHourglass = 11 };

double twipsPerPixelX();
double twipsPerPixelY();
int pixelsFromTwipsX(double twips);
int pixelsFromTwipsY(double twips);
double twipsFromPixelsX(int pixels);
double twipsFromPixelsY(int pixels);

double Width(); // twips
double Height(); // twips

QStringList Fonts();
int FontCount();

int MousePointer();
void setMousePointer(int shape);

} // namespace Screen

void Beep();
int beepCount();
