// The caller reads the pixels straight into its image, so they go without padding.
#include "app/velmar-picture/ReplyWriter.h"

#include "pictures/PictureLimits.h"

#include <cstring>

bool writeReply(const RenderedPicture &picture,
                const std::function<bool(const char *bytes, qint64 size)> &write)
{
    PictureLimits::Reply reply {};
    std::memcpy(reply.magic, PictureLimits::replyMagic, sizeof reply.magic);
    reply.width = picture.image.width();
    reply.height = picture.image.height();
    reply.widthTwips = picture.widthTwips;
    reply.heightTwips = picture.heightTwips;
    if (!write(reinterpret_cast<const char *>(&reply), sizeof reply))
        return false;
    const QImage image = picture.image.convertToFormat(QImage::Format_RGB32);
    const qint64 rowBytes = qint64(image.width()) * 4;
    for (int y = 0; y < image.height(); ++y) {
        if (!write(reinterpret_cast<const char *>(image.constScanLine(y)), rowBytes))
            return false;
    }
    return true;
}
