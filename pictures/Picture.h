// The picture loader: bitmaps, GIF and JPEG through Qt's image reader, Windows metafiles and
// enhanced metafiles through their own libraries in a helper process, each drawn at the
// picture's natural size and held to the loader's limits.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

enum class PictureKind { Bitmap, Wmf, Emf };

// A decoded picture and its own extent, as a picture box that sizes itself to it measures it.
struct DecodedPicture
{
    QImage image;
    double widthTwips = 0;
    double heightTwips = 0;
};

// Decodes DATA of the given kind within the loader's limits; nothing when it is refused. A WMF
// may come with or without its placeable header. Callable from any thread; it blocks only the
// calling one.
std::optional<DecodedPicture> DecodePicture(const QByteArray &data, PictureKind kind);

// The picture in the file, or nothing when no reader takes it or it passes the limits. Reads
// no more of the file than its kind needs; callable from any thread.
std::optional<DecodedPicture> LoadPicture(const QString &path);
