// RTF pictures (\pict): the reader's collector of one picture's words and data, and the writer's
// \pict group of a picture object.
#pragma once

#include "text/TextPicture.h"

#include <QByteArray>
#include <optional>
#include <string_view>

namespace rtf {

struct Token;

class PictureReader
{
public:
    // At \pict: a new picture starts.
    void start();
    // A picture word (kind, size, scale, cropping); false for any other word.
    static bool isPictureWord(std::string_view name);
    void word(const Token &token);
    // Hex digits of the data; anything else between them is ignored.
    void hex(std::string_view text);
    // The data after \binN.
    void binary(QByteArrayView bytes);
    // At the end of the \pict group: the picture, or nothing when it has no data.
    std::optional<TextPicture::Picture> finish();

private:
    TextPicture::Picture picture;
    QByteArray words;
    int width = 0; // \picw, \pich: pixels of a bitmap, hundredths of a millimetre of a metafile
    int height = 0;
    int goalWidth = 0; // \picwgoal, \pichgoal: twips
    int goalHeight = 0;
    int scaleX = 100;
    int scaleY = 100;
    int highNibble = -1;
};

// The \pict group of a picture object's format, data in hex, or the shape or object group it
// was read from; empty for any other format.
QByteArray pictureGroup(const QTextFormat &format);

} // namespace rtf
