// The metafile helper's answer read back: its header, then exactly the pixels it announces, each
// checked against the picture limits before anything is allocated.
#pragma once

#include "pictures/Picture.h"
#include "pictures/PictureLimits.h"

#include <QImage>
#include <optional>

class PictureReplyReader
{
public:
    // The next SIZE bytes of the answer; false when it is not a picture within the limits.
    bool take(const char *bytes, qint64 size);
    // The picture, once the whole answer has come.
    std::optional<DecodedPicture> picture() const;

private:
    bool startImage();

    PictureLimits::Reply reply {};
    qint64 headerBytes = 0;
    QImage image;
    qint64 pixelBytes = 0;
    qint64 receivedPixels = 0;
};
