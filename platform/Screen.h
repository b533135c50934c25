// The screen object: size in twips, twips per pixel, screen fonts, the program-wide mouse
// pointer, and the beep (counted, so tests can see it).
#pragma once

#include <QStringList>

class QWidget;

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

// Moves a window so that a size of widthTwips x heightTwips stands in the screen's middle.
void centre(QWidget *window, double widthTwips, double heightTwips);

QStringList Fonts();
int FontCount();

int MousePointer();
void setMousePointer(int shape);

} // namespace Screen

void Beep();
int beepCount();
