// The picture loader: bitmaps, GIF and JPEG through Qt's image reader, Windows metafiles and
// enhanced metafiles through their own libraries, drawn at the picture's natural size.
#pragma once

#include <QByteArray>
#include <QImage>
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

enum class PictureKind { Bitmap, Wmf, Emf };

// A picture decoded from data held in memory (a picture embedded in a document).
struct DecodedPicture
{
    QImage image;
    double widthTwips = 0;
    double heightTwips = 0;
};

// Decodes DATA of the given kind within the loader's limits; nothing when it is refused. A WMF
// may come with or without its placeable header.
std::optional<DecodedPicture> DecodePicture(const QByteArray &data, PictureKind kind);
