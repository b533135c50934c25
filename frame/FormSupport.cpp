// Centring, the dialog keys, the drawn program picture and the random-number generator.
#include "frame/FormSupport.h"

#include "platform/Screen.h"

#include <QLinearGradient>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>

namespace {

std::mt19937_64 &engine()
{
    static std::mt19937_64 generator(
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    return generator;
}

std::function<double()> &replacement()
{
    static std::function<double()> source;
    return source;
}

} // namespace

void centreOnScreen(QWidget *window)
{
    const QSize outer = window->frameGeometry().size();
    Screen::centre(window, Screen::twipsFromPixelsX(outer.width()),
                   Screen::twipsFromPixelsY(outer.height()));
}

QPixmap programPicture(int size)
{
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, size, size);
    gradient.setColorAt(0, QColor(0x1f, 0x4e, 0x9c));
    gradient.setColorAt(1, QColor(0x0b, 0x23, 0x4d));
    painter.setBrush(gradient);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(0, 0, size, size), size / 8.0, size / 8.0);
    // Below 32 pixels the superscript would be a smudge: small icons show the "V" alone.
    const bool small = size < 32;
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(std::max(1, small ? size * 3 / 4 : size / 2));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 0, size, size), Qt::AlignCenter,
                     small ? QStringLiteral("V") : QStringLiteral("V³²"));
    return picture;
}

double Rnd()
{
    if (replacement())
        return replacement()();
    // generate_canonical may round up to 1; the value must stay below it.
    const double value = std::uniform_real_distribution<double>(0.0, 1.0)(engine());
    return std::min(value, std::nextafter(1.0, 0.0));
}

void Randomize()
{
    engine().seed(
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
}

void setRandomSource(std::function<double()> source)
{
    replacement() = std::move(source);
}
