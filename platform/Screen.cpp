// Screen values from the primary QScreen at 1440 twips per inch.
#include "platform/Screen.h"

#include <QApplication>
#include <QFontDatabase>
#include <QScreen>
#include <QSet>
#include <QWidget>
#include <algorithm>
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

int pixels(double twips, double twipsPerPixel)
{
    // Far beyond any screen, and still far from the ends of int.
    constexpr double limit = 1e8;
    const double value = twips / twipsPerPixel;
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::lround(std::clamp(value, -limit, limit)));
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

double pixelsPerMm()
{
    return logicalDpiX() / 25.4;
}

int pixelsFromTwipsX(double twips)
{
    return pixels(twips, twipsPerPixelX());
}

int pixelsFromTwipsY(double twips)
{
    return pixels(twips, twipsPerPixelY());
}

QRect twipsRect(double left, double top, double width, double height)
{
    return QRect(pixelsFromTwipsX(left), pixelsFromTwipsY(top), pixelsFromTwipsX(width),
                 pixelsFromTwipsY(height));
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

void setFixedDialog(QWidget *dialog, double widthTwips, double heightTwips)
{
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                           | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    dialog->setFixedSize(pixelsFromTwipsX(widthTwips), pixelsFromTwipsY(heightTwips));
}

void centre(QWidget *window, double widthTwips, double heightTwips)
{
    const double left = (Width() - widthTwips) / 2;
    const double top = (Height() - heightTwips) / 2;
    window->move(pixelsFromTwipsX(left), pixelsFromTwipsY(top));
}

void centreOnScreenOf(QWidget *window, const QWidget *owner)
{
    const QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    // The window manager's frame is known only once the window shows: room for a usual one.
    const QSize shownFrame = window->frameGeometry().size() - window->size();
    const QSize frame = shownFrame.isEmpty() ? QSize(16, 48) : shownFrame;
    window->resize(window->size().boundedTo(available.size() - frame));
    QRect outer(QPoint(0, 0), window->size() + frame);
    outer.moveCenter(available.center());
    window->move(outer.topLeft());
}

QRect fitWindow(const QRect &frame, const QSize &minimum)
{
    // A size of nothing or less keeps its place.
    const QRect placed(frame.topLeft(), frame.size().expandedTo(QSize(1, 1)));
    const QScreen *home = nullptr;
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(placed)) {
            home = screen;
            break;
        }
    }
    const bool onScreen = home != nullptr;
    if (!home)
        home = QGuiApplication::primaryScreen();
    if (!home)
        return frame;
    const QRect available = home->availableGeometry();
    const int width = std::clamp(frame.width(), std::min(minimum.width(), available.width()),
                                 available.width());
    const int height = std::clamp(frame.height(), std::min(minimum.height(), available.height()),
                                  available.height());
    QRect fitted(frame.topLeft(), QSize(width, height));
    if (!onScreen || !available.intersects(fitted))
        fitted.moveTopLeft(available.topLeft());
    // A window as wide or high as the screen stands wholly on it.
    if (frame.width() > available.width())
        fitted.moveLeft(available.left());
    if (frame.height() > available.height())
        fitted.moveTop(available.top());
    return fitted;
}

QString plainFontName(const QString &name)
{
    // Qt writes "Family [Foundry]"; no family name of its own ends so.
    if (!name.endsWith(u']'))
        return name;
    const qsizetype open = name.lastIndexOf(QLatin1String(" ["));
    return open > 0 ? name.left(open) : name;
}

QStringList Fonts()
{
    QStringList names;
    QSet<QString> seen;
    for (const QString &family : QFontDatabase::families()) {
        const QString name = plainFontName(family);
        if (!seen.contains(name)) {
            seen.insert(name);
            names.append(name);
        }
    }
    return names;
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
