// The answer comes in pieces of any size, as a socket hands them over.
#include "pictures/PictureReply.h"

#include <cstring>

bool PictureReplyReader::take(const char *bytes, qint64 size)
{
    while (size > 0) {
        if (headerBytes < qint64(sizeof reply)) {
            const qint64 part = std::min<qint64>(size, qint64(sizeof reply) - headerBytes);
            std::memcpy(reinterpret_cast<char *>(&reply) + headerBytes, bytes, size_t(part));
            headerBytes += part;
            bytes += part;
            size -= part;
            if (headerBytes == qint64(sizeof reply) && !startImage())
                return false;
            continue;
        }
        const qint64 part = std::min(size, pixelBytes - receivedPixels);
        if (part <= 0)
            return false;
        std::memcpy(image.bits() + receivedPixels, bytes, size_t(part));
        receivedPixels += part;
        bytes += part;
        size -= part;
    }
    return true;
}

std::optional<DecodedPicture> PictureReplyReader::picture() const
{
    if (image.isNull() || receivedPixels != pixelBytes)
        return std::nullopt;
    return DecodedPicture {image, reply.widthTwips, reply.heightTwips};
}

bool PictureReplyReader::startImage()
{
    constexpr double maxTwips = 1e9;
    if (std::memcmp(reply.magic, PictureLimits::replyMagic, sizeof reply.magic) != 0
        || reply.width <= 0 || reply.height <= 0
        || qint64(reply.width) * reply.height > PictureLimits::maxPixels
        || !(reply.widthTwips > 0 && reply.widthTwips < maxTwips)
        || !(reply.heightTwips > 0 && reply.heightTwips < maxTwips))
        return false;
    image = QImage(reply.width, reply.height, QImage::Format_RGB32);
    pixelBytes = qint64(reply.width) * reply.height * 4;
    return !image.isNull() && image.bytesPerLine() == qint64(reply.width) * 4;
}
