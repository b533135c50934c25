// The picture loader: bitmaps, GIF and JPEG through Qt's image reader, Windows metafiles and
// enhanced metafiles through their own libraries, drawn at the picture's natural size.
#pragma once

#include <QPixmap>
#include <QString>
#include <optional>

struct Picture
{
    QPixmap pixmap;
    // The picture's own extent, as a picture box that sizes itself to it measures it.
    double widthTwips = 0;
    double heightTwips = 0;
};

// The picture in the file, or nothing when no reader takes it.
std::optional<Picture> LoadPicture(const QString &path);
