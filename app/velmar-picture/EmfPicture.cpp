// The frame is read by our own code before the library sees the data, so no header however
// large can make the ground larger than the picture limit.
#include "app/velmar-picture/EmfPicture.h"

#include "app/velmar-picture/PictureSize.h"

#include <QPainter>
#include <QSvgRenderer>
#include <cmath>
#include <cstdlib>

extern "C" {
#include <emf2svg.h>
}

namespace {

qint32 littleEndian32(const QByteArray &data, int at)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<quint8>(data[at + i]);
    return static_cast<qint32>(value);
}

} // namespace

std::optional<RenderedPicture> emfGround(const QByteArray &data, double twipsPerPixelX,
                                         double twipsPerPixelY)
{
    constexpr int headerSize = 88;
    if (data.size() < headerSize)
        return std::nullopt;
    // The frame is counted in hundredths of a millimetre; 64-bit differences cannot overflow.
    const auto frame = [&data](int index) { return qint64(littleEndian32(data, 24 + 4 * index)); };
    const double widthTwips = double(frame(2) - frame(0)) * 1440 / 2540;
    const double heightTwips = double(frame(3) - frame(1)) * 1440 / 2540;
    QImage image = blankPicture(widthTwips, heightTwips, twipsPerPixelX, twipsPerPixelY);
    if (image.isNull())
        return std::nullopt;
    return RenderedPicture {image, std::round(widthTwips), std::round(heightTwips)};
}

std::optional<QByteArray> emfToSvg(QByteArray data, QSize size)
{
    generatorOptions options {};
    options.svgDelimiter = true;
    options.imgWidth = size.width();
    options.imgHeight = size.height();
    char *svg = nullptr;
    size_t length = 0;
    const int converted
        = emf2svg(data.data(), static_cast<size_t>(data.size()), &svg, &length, &options);
    std::optional<QByteArray> result;
    if (converted && svg)
        result = QByteArray(svg, static_cast<qsizetype>(length));
    std::free(svg);
    return result;
}

bool drawSvg(const QByteArray &svg, QImage &image)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return false;
    QPainter painter(&image);
    renderer.render(&painter, QRectF(image.rect()));
    return true;
}

std::optional<RenderedPicture> renderEmf(const QByteArray &data, double twipsPerPixelX,
                                         double twipsPerPixelY)
{
    std::optional<RenderedPicture> picture = emfGround(data, twipsPerPixelX, twipsPerPixelY);
    if (!picture)
        return std::nullopt;
    const std::optional<QByteArray> svg = emfToSvg(data, picture->image.size());
    if (!svg || !drawSvg(*svg, picture->image))
        return std::nullopt;
    return picture;
}
