// The screen object: size in twips, twips per pixel, screen fonts, the program-wide mouse
// pointer, and the beep (counted, so tests can see it).
#pragma once

#include <QRect>
#include <QStringList>

class QWidget;

namespace Screen {

enum MousePointerShape : int { vbDefault = 0, vbSizeWE = 9, vbHourglass = 11 };

double twipsPerPixelX();
double twipsPerPixelY();
// Lengths beyond any screen are held to a range an int can carry.
int pixelsFromTwipsX(double twips);
int pixelsFromTwipsY(double twips);
double twipsFromPixelsX(int pixels);
double twipsFromPixelsY(int pixels);
// Pixels per millimetre across, the unit of controls that measure in millimetres.
double pixelsPerMm();

// A control's place in its container, given in twips.
QRect twipsRect(double left, double top, double width, double height);

double Width(); // twips
double Height(); // twips

// A dialog with a fixed border: title and close box only, its client area the given size.
void setFixedDialog(QWidget *dialog, double widthTwips, double heightTwips);

// Moves a window so that a size of widthTwips x heightTwips stands in the screen's middle.
void centre(QWidget *window, double widthTwips, double heightTwips);

// Places a window that has not yet shown in the middle of the free area of the screen that
// holds the owner (the primary screen without one), made no larger than that area.
void centreOnScreenOf(QWidget *window, const QWidget *owner);

// A window's outer rectangle held to the screens: no larger than the available area of the
// screen it stands on (and then wholly on it), no smaller than minimum (or that area), and
// moved onto the primary screen when it stands on none.
QRect fitWindow(const QRect &frame, const QSize &minimum);

// Each font family once, by the plain name documents carry.
QStringList Fonts();
int FontCount();
// A family name without the "[foundry]" Qt adds to families that several foundries make.
QString plainFontName(const QString &name);

int MousePointer();
void setMousePointer(int shape);

} // namespace Screen

void Beep();
int beepCount();
