// velmar-picture: decodes one Windows metafile or enhanced metafile from its standard input and
// writes the picture to its standard output. Velmar starts it for each metafile, so whatever a
// damaged file does to the libraries happens here, within the limits this process sets itself.
//   velmar-picture wmf|emf TWIPS_PER_PIXEL_X TWIPS_PER_PIXEL_Y
#include "app/velmar-picture/PictureSize.h"
#include "app/velmar-picture/WmfPainter.h"
#include "pictures/PictureLimits.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sys/resource.h>
#include <unistd.h>

extern "C" {
#include <emf2svg.h>
}

namespace {

void limitResources()
{
    const rlimit memory {PictureLimits::helperMemoryBytes, PictureLimits::helperMemoryBytes};
    setrlimit(RLIMIT_AS, &memory);
    const rlimit cpu {PictureLimits::helperCpuSeconds, PictureLimits::helperCpuSeconds};
    setrlimit(RLIMIT_CPU, &cpu);
    const rlimit noCore {0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
}

// A test seam: the caller's handling of a helper that crashes, hangs or talks nonsense.
void testFault()
{
    const QByteArray fault = qgetenv("VELMAR_PICTURE_HELPER_FAULT");
    if (fault == "crash")
        std::abort();
    if (fault == "sleep")
        sleep(600);
    if (fault == "nonsense") {
        std::fputs("no picture here", stdout);
        std::exit(0);
    }
}

// Standard input up to the metafile limit; nothing when it is longer.
std::optional<QByteArray> readInput()
{
    QByteArray data;
    char chunk[65536];
    for (;;) {
        const ssize_t got = read(STDIN_FILENO, chunk, sizeof chunk);
        if (got == 0)
            return data;
        if (got < 0)
            return std::nullopt;
        if (data.size() + got > PictureLimits::maxMetafileBytes)
            return std::nullopt;
        data.append(chunk, got);
    }
}

qint32 littleEndian32(const QByteArray &data, int at)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<quint8>(data[at + i]);
    return static_cast<qint32>(value);
}

std::optional<RenderedPicture> renderEmf(QByteArray data, double twipsPerPixelX,
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
    generatorOptions options {};
    options.svgDelimiter = true;
    options.imgWidth = image.width();
    options.imgHeight = image.height();
    char *svg = nullptr;
    size_t length = 0;
    const int converted
        = emf2svg(data.data(), static_cast<size_t>(data.size()), &svg, &length, &options);
    std::optional<RenderedPicture> result;
    if (converted && svg) {
        QSvgRenderer renderer(QByteArray::fromRawData(svg, static_cast<qsizetype>(length)));
        if (renderer.isValid()) {
            QPainter painter(&image);
            renderer.render(&painter, QRectF(image.rect()));
            painter.end();
            result = RenderedPicture {image, std::round(widthTwips), std::round(heightTwips)};
        }
    }
    std::free(svg);
    return result;
}

bool writeAll(const char *bytes, qint64 size)
{
    while (size > 0) {
        const ssize_t written = write(STDOUT_FILENO, bytes, static_cast<size_t>(size));
        if (written <= 0)
            return false;
        bytes += written;
        size -= written;
    }
    return true;
}

bool writePicture(const RenderedPicture &picture)
{
    PictureLimits::Reply reply {};
    std::memcpy(reply.magic, PictureLimits::replyMagic, sizeof reply.magic);
    reply.width = picture.image.width();
    reply.height = picture.image.height();
    reply.widthTwips = picture.widthTwips;
    reply.heightTwips = picture.heightTwips;
    if (!writeAll(reinterpret_cast<const char *>(&reply), sizeof reply))
        return false;
    const QImage image = picture.image.convertToFormat(QImage::Format_RGB32);
    const qint64 rowBytes = qint64(image.width()) * 4;
    for (int y = 0; y < image.height(); ++y) {
        if (!writeAll(reinterpret_cast<const char *>(image.constScanLine(y)), rowBytes))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    limitResources();
    testFault();
    if (argc != 4)
        return 2;
    const QByteArray kind = argv[1];
    const double twipsPerPixelX = std::strtod(argv[2], nullptr);
    const double twipsPerPixelY = std::strtod(argv[3], nullptr);
    // Text needs fonts, and fonts need an application; no window is ever shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int appArgc = 1;
    QGuiApplication application(appArgc, argv);
    const std::optional<QByteArray> data = readInput();
    if (!data)
        return 1;
    std::optional<RenderedPicture> picture;
    if (kind == "wmf")
        picture = renderWmf(*data, twipsPerPixelX, twipsPerPixelY);
    else if (kind == "emf")
        picture = renderEmf(*data, twipsPerPixelX, twipsPerPixelY);
    if (!picture)
        return 1;
    return writePicture(*picture) ? 0 : 1;
}
