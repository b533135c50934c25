// Bitmaps take the screen's twips per pixel; metafiles carry their extent in their header and
// are turned into SVG by libwmf or libemf2svg, then drawn at that extent.
#include "platform/Picture.h"

#include "platform/Screen.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>

extern "C" {
#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>
}

namespace {

constexpr quint32 placeableKey = 0x9AC6CDD7;
constexpr quint32 emfSignature = 0x464D4520; // " EMF"
constexpr double twipsPerInch = 1440.0;
constexpr double hundredthMillimetresPerInch = 2540.0;

// The first bytes of a file, enough for either metafile header.
struct Head
{
    std::array<unsigned char, 88> bytes {};
    qint64 size = 0;

    quint32 u32(int at) const
    {
        return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16
            | static_cast<quint32>(bytes[at + 3]) << 24;
    }
    quint16 u16(int at) const { return static_cast<quint16>(bytes[at] | bytes[at + 1] << 8); }
};

// Metafiles are far more fragile to decode than bitmaps; only files that look like one reach
// the libraries.
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

std::optional<Picture> drawSvg(const QByteArray &svg, double widthTwips, double heightTwips)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid() || widthTwips <= 0 || heightTwips <= 0)
        return std::nullopt;
    const QSize size(std::max(1, Screen::pixelsFromTwipsX(widthTwips)),
                     std::max(1, Screen::pixelsFromTwipsY(heightTwips)));
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return Picture {pixmap, widthTwips, heightTwips};
}

std::optional<Picture> loadWmf(QByteArray data)
{
    wmfAPI_Options options {};
    options.function = wmf_svg_function;
    wmfAPI *api = nullptr;
    const unsigned long flags
        = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
        if (api)
            wmf_api_destroy(api);
        return std::nullopt;
    }
    std::optional<Picture> picture;
    wmfD_Rect bbox {};
    unsigned int widthTwips = 0;
    unsigned int heightTwips = 0;
    if (wmf_mem_open(api, reinterpret_cast<unsigned char *>(data.data()), data.size()) == wmf_E_None
        && wmf_scan(api, 0, &bbox) == wmf_E_None
        && wmf_display_size(api, &widthTwips, &heightTwips, twipsPerInch, twipsPerInch)
            == wmf_E_None) {
        // The SVG goes to a stream of our own, so its memory is ours, not the library's.
        char *svg = nullptr;
        size_t length = 0;
        FILE *stream = open_memstream(&svg, &length);
        if (stream) {
            wmf_svg_t *device = WMF_SVG_GetData(api);
            device->out = wmf_stream_create(api, stream);
            device->bbox = bbox;
            device->width = widthTwips;
            device->height = heightTwips;
            const bool played = wmf_play(api, 0, &bbox) == wmf_E_None;
            // The stream's own record is the library's and goes with the API.
            device->out = nullptr;
            std::fclose(stream);
            if (played && svg)
                picture = drawSvg(QByteArray(svg, static_cast<qsizetype>(length)), widthTwips,
                                  heightTwips);
            std::free(svg);
        }
        wmf_mem_close(api);
    }
    wmf_api_destroy(api);
    return picture;
}

std::optional<Picture> loadEmf(const Head &head, QByteArray data)
{
    // The header's frame is inclusive and counted in hundredths of a millimetre.
    const auto frame = [&head](int index) { return static_cast<qint32>(head.u32(24 + 4 * index)); };
    const double widthTwips = (frame(2) - frame(0)) * twipsPerInch / hundredthMillimetresPerInch;
    const double heightTwips = (frame(3) - frame(1)) * twipsPerInch / hundredthMillimetresPerInch;
    generatorOptions options {};
    options.svgDelimiter = true;
    options.imgWidth = Screen::pixelsFromTwipsX(widthTwips);
    options.imgHeight = Screen::pixelsFromTwipsY(heightTwips);
    char *svg = nullptr;
    size_t length = 0;
    const int converted
        = emf2svg(data.data(), static_cast<size_t>(data.size()), &svg, &length, &options);
    std::optional<Picture> picture;
    if (converted && svg)
        picture = drawSvg(QByteArray(svg, static_cast<qsizetype>(length)), std::round(widthTwips),
                          std::round(heightTwips));
    std::free(svg);
    return picture;
}

std::optional<Picture> loadBitmap(const QString &path)
{
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return Picture {QPixmap::fromImage(image), Screen::twipsFromPixelsX(image.width()),
                    Screen::twipsFromPixelsY(image.height())};
}

} // namespace

std::optional<Picture> LoadPicture(const QString &path)
{
    // A pipe or device named like a picture would block the window or never end.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Metafiles are read whole; a large bitmap is left to the image reader.
    Head head;
    head.size = file.peek(reinterpret_cast<char *>(head.bytes.data()), head.bytes.size());
    if (looksLikeEmf(head))
        return loadEmf(head, file.readAll());
    if (looksLikeWmf(head))
        return loadWmf(file.readAll());
    file.close();
    return loadBitmap(path);
}

std::optional<DecodedPicture> DecodePicture(const QByteArray &data, PictureKind kind)
{
    std::optional<Picture> picture;
    switch (kind) {
    case PictureKind::Bitmap: {
        const QImage image = QImage::fromData(data);
        if (image.isNull())
            return std::nullopt;
        return DecodedPicture {image, Screen::twipsFromPixelsX(image.width()),
                               Screen::twipsFromPixelsY(image.height())};
    }
    case PictureKind::Wmf:
        picture = loadWmf(data);
        break;
    case PictureKind::Emf: {
        Head head;
        head.size = std::min<qint64>(data.size(), head.bytes.size());
        std::memcpy(head.bytes.data(), data.constData(), static_cast<size_t>(head.size));
        if (looksLikeEmf(head))
            picture = loadEmf(head, data);
        break;
    }
    }
    if (!picture)
        return std::nullopt;
    return DecodedPicture {picture->pixmap.toImage(), picture->widthTwips, picture->heightTwips};
}
