// Screen values from the primary QScreen at 1440 twips per inch.
#include "platform/Screen.h"

#include <QApplication>
#include <QFontDatabase>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace {

double logicalDpiX()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}

double logicalDpiY()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

int &currentPointer()
{
    static int shape = Screen::vbDefault;
    return shape;
}

int &beeps()
{
    static int count = 0;
    return count;
}

} // namespace

namespace Screen {

double twipsPerPixelX()
{
    return 1440.0 / logicalDpiX();
}

double twipsPerPixelY()
{
    return 1440.0 / logicalDpiY();
}

int pixelsFromTwipsX(double twips)
{
    return static_cast<int>(std::lround(twips / twipsPerPixelX()));
}

int pixelsFromTwipsY(double twips)
{
    return static_cast<int>(std::lround(twips / twipsPerPixelY()));
}

double twipsFromPixelsX(int pixels)
{
    return pixels * twipsPerPixelX();
}

double twipsFromPixelsY(int pixels)
{
    return pixels * twipsPerPixelY();
}

double Width()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? twipsFromPixelsX(screen->geometry().width()) : 0.0;
}

double Height()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? twipsFromPixelsY(screen->geometry().height()) : 0.0;
}

void centre(QWidget *window, double widthTwips, double heightTwips)
{
    const double left = (Width() - widthTwips) / 2;
    const double top = (Height() - heightTwips) / 2;
    window->move(pixelsFromTwipsX(left), pixelsFromTwipsY(top));
}

QStringList Fonts()
{
    return QFontDatabase::families();
}

int FontCount()
{
    return static_cast<int>(Fonts().size());
}

int MousePointer()
{
    return currentPointer();
}

void setMousePointer(int shape)
{
    if (shape == currentPointer())
        return;
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    if (shape == vbHourglass)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (shape == vbSizeWE)
        QApplication::setOverrideCursor(Qt::SizeHorCursor);
    currentPointer() = shape == vbHourglass || shape == vbSizeWE ? shape : vbDefault;
}

} // namespace Screen

void Beep()
{
    ++beeps();
    QApplication::beep();
}

int beepCount()
{
    return beeps();
}
