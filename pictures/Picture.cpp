// Bitmaps take the screen's twips per pixel and are read here, with the image reader's
// allocation limit set to what the largest allowed picture needs. Metafiles carry their extent
// in their header and go to the helper process, never to a library in this one.
#include "pictures/Picture.h"

#include "pictures/PictureHelper.h"
#include "pictures/PictureLimits.h"
#include "platform/Screen.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <array>
#include <cstring>
#include <mutex>

namespace {

constexpr quint32 placeableKey = 0x9AC6CDD7;
constexpr quint32 emfSignature = 0x464D4520; // " EMF"

// The first bytes of a picture, enough for either metafile header.
struct Head
{
    std::array<unsigned char, 88> bytes {};
    qint64 size = 0;

    explicit Head(const QByteArray &data)
    {
        size = std::min<qint64>(data.size(), qint64(bytes.size()));
        std::memcpy(bytes.data(), data.constData(), size_t(size));
    }
    quint32 u32(int at) const
    {
        return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16
            | static_cast<quint32>(bytes[at + 3]) << 24;
    }
    quint16 u16(int at) const { return static_cast<quint16>(bytes[at] | bytes[at + 1] << 8); }
};

// Only data that looks like a metafile goes to the helper.
bool looksLikeWmf(const Head &head)
{
    if (head.size >= 40 && head.u32(0) == placeableKey)
        return true;
    return head.size >= 18 && (head.u16(0) == 1 || head.u16(0) == 2) && head.u16(2) == 9;
}

bool looksLikeEmf(const Head &head)
{
    return head.size >= 88 && head.u32(0) == 1 && head.u32(40) == emfSignature;
}

std::optional<DecodedPicture> decodeMetafile(const QByteArray &data, PictureKind kind)
{
    if (data.size() > PictureLimits::maxMetafileBytes)
        return std::nullopt;
    return PictureHelper::decode(data, kind == PictureKind::Emf ? "emf" : "wmf",
                                 Screen::twipsPerPixelX(), Screen::twipsPerPixelY());
}

std::optional<DecodedPicture> readBitmap(QIODevice *device)
{
    // The reader's own limit is global; 100 megapixels of 32-bit pixels need this many MB.
    static std::once_flag limitSet;
    std::call_once(limitSet, [] {
        QImageReader::setAllocationLimit(int((PictureLimits::maxPixels * 4 >> 20) + 1));
    });
    QImageReader reader(device);
    // A header's size is checked before a single pixel is allocated.
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > PictureLimits::maxPixels)
        return std::nullopt;
    const QImage image = reader.read();
    if (image.isNull() || qint64(image.width()) * image.height() > PictureLimits::maxPixels)
        return std::nullopt;
    return DecodedPicture {image, Screen::twipsFromPixelsX(image.width()),
                           Screen::twipsFromPixelsY(image.height())};
}

} // namespace

std::optional<DecodedPicture> LoadPicture(const QString &path)
{
    // A pipe or device named like a picture would block or never end.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const Head head(file.peek(88));
    const bool emf = looksLikeEmf(head);
    if (emf || looksLikeWmf(head)) {
        // A file beyond the limit is refused unread; one growing meanwhile is cut at the limit.
        if (file.size() > PictureLimits::maxMetafileBytes)
            return std::nullopt;
        const QByteArray data = file.read(PictureLimits::maxMetafileBytes + 1);
        return decodeMetafile(data, emf ? PictureKind::Emf : PictureKind::Wmf);
    }
    return readBitmap(&file);
}

std::optional<DecodedPicture> DecodePicture(const QByteArray &data, PictureKind kind)
{
    if (kind == PictureKind::Bitmap) {
        QBuffer buffer;
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        return readBitmap(&buffer);
    }
    const Head head(data);
    if (kind == PictureKind::Emf ? !looksLikeEmf(head) : !looksLikeWmf(head))
        return std::nullopt;
    return decodeMetafile(data, kind);
}
