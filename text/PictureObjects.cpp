// The drawing handler that stands in for Qt's image handler, and decoding on a worker thread
// with a pixel budget.
#include "text/PictureObjects.h"

#include "pictures/Picture.h"
#include "platform/Screen.h"
#include "text/TextPicture.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QFutureWatcher>
#include <QPainter>
#include <QPromise>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextObjectInterface>
#include <QThreadPool>
#include <QUrl>
#include <algorithm>
#include <memory>

namespace PictureObjects {

namespace {

using TextPicture::Kind;

// Decoded images are held at their shown size; beyond this many pixels a document's further
// pictures stay grey frames, so that no file exhausts the memory.
constexpr qint64 pixelBudget = 64000000;
constexpr int maxSide = 8192;
const QColor frameColor(0xC0, 0xC0, 0xC0);

QUrl resourceName(const QTextFormat &format)
{
    return QUrl(format.toImageFormat().name());
}

// A DIB is a BMP file without its file header.
QByteArray bmpFromDib(const QByteArray &dib)
{
    if (dib.size() < 16)
        return QByteArray();
    const auto u16 = [&dib](int at) {
        return static_cast<quint32>(static_cast<uchar>(dib.at(at))
                                    | static_cast<uchar>(dib.at(at + 1)) << 8);
    };
    const auto u32 = [&](int at) { return u16(at) | u16(at + 2) << 16; };
    const quint32 headerSize = u32(0);
    const bool core = headerSize == 12;
    if (!core && (headerSize < 40 || dib.size() < 40))
        return QByteArray();
    const quint32 bits = core ? u16(10) : u16(14);
    quint32 colors = core ? 0 : u32(32);
    if (colors == 0 && bits <= 8)
        colors = 1u << bits;
    quint32 masks = !core && headerSize == 40 && (u32(16) == 3 || u32(16) == 6) ? 12 : 0;
    const quint64 offset = 14ull + headerSize + masks + quint64(colors) * (core ? 3 : 4);
    if (colors > 256 || offset > quint64(dib.size()) + 14)
        return QByteArray();
    QByteArray bmp("BM");
    const auto put32 = [&bmp](quint64 value) {
        for (int i = 0; i < 4; ++i)
            bmp.append(static_cast<char>(value >> (8 * i) & 0xFF));
    };
    put32(14ull + quint64(dib.size()));
    put32(0);
    put32(offset);
    return bmp + dib;
}

// Runs on the worker: the loader's image, no larger than the size it is shown at.
QImage decode(const QByteArray &data, Kind kind, QSize size)
{
    std::optional<DecodedPicture> decoded;
    switch (kind) {
    case Kind::Bitmap:
        decoded = DecodePicture(data, PictureKind::Bitmap);
        break;
    case Kind::Dib:
        decoded = DecodePicture(bmpFromDib(data), PictureKind::Bitmap);
        break;
    case Kind::Wmf:
        decoded = DecodePicture(data, PictureKind::Wmf);
        break;
    case Kind::Emf:
        decoded = DecodePicture(data, PictureKind::Emf);
        break;
    case Kind::Other:
        break;
    }
    if (!decoded || decoded->image.isNull())
        return QImage();
    QImage image = decoded->image;
    if (image.width() > size.width() || image.height() > size.height())
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

// Decoding runs one picture at a time: the loader's metafile libraries are not known to be
// safe on several threads at once.
QThreadPool *decoders()
{
    static QThreadPool *pool = [] {
        auto *threads = new QThreadPool(QCoreApplication::instance());
        threads->setMaxThreadCount(1);
        return threads;
    }();
    return pool;
}

QSizeF shownSize(const TextPicture::Picture &picture)
{
    return QSizeF(Screen::pixelsFromTwipsX(picture.widthTwips),
                  Screen::pixelsFromTwipsY(picture.heightTwips));
}

QSize decodeSize(QSizeF size, double scale)
{
    return QSize(std::clamp(qRound(size.width() * scale), 1, maxSide),
                 std::clamp(qRound(size.height() * scale), 1, maxSide));
}

class Handler : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    explicit Handler(QTextDocument *document) : QObject(document), document(document) { }

    QSizeF intrinsicSize(QTextDocument *, int, const QTextFormat &format) override
    {
        const std::optional<TextPicture::Picture> picture = TextPicture::of(format);
        return picture ? shownSize(*picture) : QSizeF();
    }

    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *, int,
                    const QTextFormat &format) override
    {
        const QUrl name = resourceName(format);
        const QVariant resource = document->resource(QTextDocument::ImageResource, name);
        const QImage image = resource.value<QImage>();
        if (!image.isNull()) {
            painter->drawImage(rect, image);
            return;
        }
        painter->save();
        painter->setPen(QPen(frameColor, 0));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(rect.adjusted(0, 0, -1, -1));
        painter->restore();
        if (!resource.isValid())
            request(name, TextPicture::of(format), rect, painter->device()->devicePixelRatioF());
    }

    void decodeAll(double scale)
    {
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                const std::optional<TextPicture::Picture> picture = TextPicture::of(format);
                const QUrl name = resourceName(format);
                if (!picture || hasResource(name))
                    continue;
                const QSize size = decodeSize(shownSize(*picture), scale);
                QImage image;
                if (reserve(size))
                    image = decode(picture->data, picture->kind, size);
                document->addResource(QTextDocument::ImageResource, name, image);
            }
        }
    }

private:
    bool hasResource(const QUrl &name) const
    {
        return document->resource(QTextDocument::ImageResource, name).isValid();
    }

    bool reserve(QSize size)
    {
        const qint64 pixels = qint64(size.width()) * size.height();
        if (usedPixels + pixels > pixelBudget)
            return false;
        usedPixels += pixels;
        return true;
    }

    void request(const QUrl &name, const std::optional<TextPicture::Picture> &picture,
                 const QRectF &rect, double ratio)
    {
        if (pending.contains(name) || !picture)
            return;
        const QSize size = decodeSize(rect.size(), ratio);
        if (!reserve(size)) {
            document->addResource(QTextDocument::ImageResource, name, QImage());
            return;
        }
        pending.insert(name);
        auto promise = std::make_shared<QPromise<QImage>>();
        auto *watcher = new QFutureWatcher<QImage>(this);
        connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, name, rect] {
            pending.remove(name);
            const QImage image = watcher->future().resultCount() > 0 ? watcher->result() : QImage();
            watcher->deleteLater();
            document->addResource(QTextDocument::ImageResource, name, image);
            emit document->documentLayout()->update(rect);
        });
        watcher->setFuture(promise->future());
        decoders()->start([promise, data = picture->data, kind = picture->kind, size] {
            promise->start();
            promise->addResult(decode(data, kind, size));
            promise->finish();
        });
    }

    QTextDocument *document;
    QSet<QUrl> pending;
    qint64 usedPixels = 0;
};

Handler &handler(QTextDocument &document)
{
    if (auto *found = document.findChild<Handler *>(QString(), Qt::FindDirectChildrenOnly))
        return *found;
    auto *created = new Handler(&document);
    document.documentLayout()->registerHandler(QTextFormat::ImageObject, created);
    return *created;
}

} // namespace

void attach(QTextDocument &document)
{
    handler(document);
}

void decodeAll(QTextDocument &document, double scale)
{
    handler(document).decodeAll(scale);
}

} // namespace PictureObjects

#include "PictureObjects.moc"
