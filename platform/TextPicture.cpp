// Picture objects of a text document: their format properties, the drawing handler that stands
// in for Qt's image handler, and decoding on a worker thread with a pixel budget.
#include "platform/TextPicture.h"

#include "platform/Picture.h"
#include "platform/Screen.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QCryptographicHash>
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

namespace TextPicture {

namespace {

enum Property : int {
    Data = QTextFormat::UserProperty + 0x200,
    DataKind,
    WidthTwips,
    HeightTwips,
    RtfWords,
};

// Decoded images are held at their shown size; beyond this many pixels a document's further
// pictures stay grey frames, so that no file exhausts the memory.
constexpr qint64 pixelBudget = 64 * 1024 * 1024;
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

QSizeF shownSize(const QTextFormat &format)
{
    return QSizeF(Screen::pixelsFromTwipsX(format.doubleProperty(WidthTwips)),
                  Screen::pixelsFromTwipsY(format.doubleProperty(HeightTwips)));
}

QSize decodeSize(QSizeF size, double scale)
{
    return QSize(std::clamp(qRound(size.width() * scale), 1, maxSide),
                 std::clamp(qRound(size.height() * scale), 1, maxSide));
}

class PictureObjects : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    explicit PictureObjects(QTextDocument *document) : QObject(document), document(document) { }

    QSizeF intrinsicSize(QTextDocument *, int, const QTextFormat &format) override
    {
        return shownSize(format);
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
            request(name, format, rect, painter->device()->devicePixelRatioF());
    }

    void decodeAll(double scale)
    {
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                const QUrl name = resourceName(format);
                if (!format.hasProperty(Data) || hasResource(name))
                    continue;
                const QSize size = decodeSize(shownSize(format), scale);
                QImage image;
                if (reserve(size))
                    image = decode(format.property(Data).toByteArray(),
                                   static_cast<Kind>(format.intProperty(DataKind)), size);
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

    void request(const QUrl &name, const QTextFormat &format, const QRectF &rect, double ratio)
    {
        if (pending.contains(name) || !format.hasProperty(Data))
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
        decoders()->start([promise, data = format.property(Data).toByteArray(),
                           kind = static_cast<Kind>(format.intProperty(DataKind)), size] {
            promise->start();
            promise->addResult(decode(data, kind, size));
            promise->finish();
        });
    }

    QTextDocument *document;
    QSet<QUrl> pending;
    qint64 usedPixels = 0;
};

PictureObjects &objects(QTextDocument &document)
{
    if (auto *found = document.findChild<PictureObjects *>(QString(), Qt::FindDirectChildrenOnly))
        return *found;
    auto *created = new PictureObjects(&document);
    document.documentLayout()->registerHandler(QTextFormat::ImageObject, created);
    return *created;
}

} // namespace

QTextImageFormat format(const Picture &picture)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArray::number(static_cast<int>(picture.kind)));
    hash.addData(picture.data);
    QTextImageFormat format;
    format.setName(QStringLiteral("velmar-picture:") + QString::fromLatin1(hash.result().toHex()));
    format.setWidth(Screen::pixelsFromTwipsX(picture.widthTwips));
    format.setHeight(Screen::pixelsFromTwipsY(picture.heightTwips));
    format.setProperty(Data, picture.data);
    format.setProperty(DataKind, static_cast<int>(picture.kind));
    format.setProperty(WidthTwips, picture.widthTwips);
    format.setProperty(HeightTwips, picture.heightTwips);
    format.setProperty(RtfWords, picture.rtfWords);
    return format;
}

std::optional<Picture> of(const QTextFormat &format)
{
    if (!format.isImageFormat() || !format.hasProperty(Data))
        return std::nullopt;
    return Picture {format.property(Data).toByteArray(),
                    static_cast<Kind>(format.intProperty(DataKind)),
                    format.doubleProperty(WidthTwips), format.doubleProperty(HeightTwips),
                    format.property(RtfWords).toByteArray()};
}

void attach(QTextDocument &document)
{
    objects(document);
}

void decodeAll(QTextDocument &document, double scale)
{
    objects(document).decodeAll(scale);
}

} // namespace TextPicture

#include "TextPicture.moc"
