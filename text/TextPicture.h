// Pictures in a rich text: one object character each (a QTextImageFormat) that carries the
// picture's original data; PictureObjects draws them.
#pragma once

#include <QByteArray>
#include <QTextImageFormat>
#include <optional>

namespace TextPicture {

// How the data is decoded; Other is kept and written back but shown as a grey frame.
enum class Kind : int { Other, Bitmap, Dib, Wmf, Emf };

struct Picture
{
    QByteArray data;
    Kind kind = Kind::Other;
    double widthTwips = 0; // as shown
    double heightTwips = 0;
    QByteArray rtfWords; // the file's own kind and size words, written back unchanged
    // The drawing shape or object the picture stood in, as the file had it: written back in
    // place of a picture group of its own.
    QByteArray rtfGroup;
};

// The character format of a picture; its name names the document resource of its image.
QTextImageFormat format(const Picture &picture);
// The picture a character format carries, if any.
std::optional<Picture> of(const QTextFormat &format);

} // namespace TextPicture
