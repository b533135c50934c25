// Plays a Windows metafile through libwmf's own device interface onto a QPainter, so every
// colour, pen and brush comes through exactly as the file gives it.
#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>

struct RenderedPicture
{
    QImage image;
    double widthTwips = 0;
    double heightTwips = 0;
};

// The metafile drawn at its own size with the given twips per pixel; nothing when libwmf
// refuses it or it is larger than the picture limit.
std::optional<RenderedPicture> renderWmf(QByteArray data, double twipsPerPixelX,
                                         double twipsPerPixelY);
