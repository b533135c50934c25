// Pictures in a rich text: one object character each (a QTextImageFormat) that carries the
// picture's original data, drawn from a decoded copy that is made once the text shows.
#pragma once

#include <QByteArray>
#include <QTextImageFormat>
#include <optional>

class QTextDocument;

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
};

// The character format of a picture; its name names the document resource of its image.
QTextImageFormat format(const Picture &picture);
// The picture a character format carries, if any.
std::optional<Picture> of(const QTextFormat &format);

// Draws the document's pictures from now on: each is decoded off the GUI thread when it is
// first painted, and shows as a grey frame of its size until then, and for good when it cannot
// be decoded or lies beyond the decoding limits.
void attach(QTextDocument &document);
// Decodes every picture of the document not decoded yet, at once, at `scale` times its screen
// size: for a copy about to be printed.
void decodeAll(QTextDocument &document, double scale);

} // namespace TextPicture
