// Pictures written the way their formats lay them out, little-endian.
#include "tests/support/PictureFixtures.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>

namespace PictureFixtures {

namespace {

struct Bytes
{
    QByteArray out;

    Bytes &u16(int value)
    {
        out.append(static_cast<char>(value & 0xFF));
        out.append(static_cast<char>(value >> 8 & 0xFF));
        return *this;
    }
    Bytes &u32(quint32 value)
    {
        u16(static_cast<int>(value & 0xFFFF));
        return u16(static_cast<int>(value >> 16));
    }
};

quint32 colorRef(QColor color)
{
    return static_cast<quint32>(color.red() | color.green() << 8 | color.blue() << 16);
}

} // namespace

QByteArray bitmap(QSize size, QColor color, const char *format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray wmf(QSize size, QColor color)
{
    Bytes records;
    records.u32(5).u16(0x020B).u16(0).u16(0); // SetWindowOrg
    records.u32(5).u16(0x020C).u16(size.height()).u16(size.width()); // SetWindowExt
    records.u32(7).u16(0x02FC).u16(0).u32(colorRef(color)).u16(0); // CreateBrushIndirect
    records.u32(4).u16(0x012D).u16(0); // SelectObject
    records.u32(7).u16(0x041B).u16(size.height()).u16(size.width()).u16(0).u16(0); // Rectangle
    records.u32(3).u16(0); // EOF
    Bytes header;
    header.u16(1).u16(9).u16(0x0300);
    header.u32(static_cast<quint32>(9 + records.out.size() / 2));
    header.u16(1).u32(7).u16(0);
    return header.out + records.out;
}

QByteArray emf(QSize size, QColor color)
{
    const int right = size.width() - 1;
    const int bottom = size.height() - 1;
    Bytes records;
    records.u32(39).u32(24).u32(1).u32(0).u32(colorRef(color)).u32(0); // CreateBrushIndirect
    records.u32(37).u32(12).u32(1); // SelectObject
    records.u32(43).u32(24).u32(0).u32(0).u32(right).u32(bottom); // Rectangle
    records.u32(14).u32(20).u32(0).u32(16).u32(20); // EOF
    Bytes header;
    header.u32(1).u32(88);
    header.u32(0).u32(0).u32(right).u32(bottom); // bounds, pixels
    // The frame in hundredths of a millimetre, at 96 pixels to the inch.
    header.u32(0).u32(0).u32(static_cast<quint32>(right * 2540 / 96));
    header.u32(static_cast<quint32>(bottom * 2540 / 96));
    header.u32(0x464D4520).u32(0x10000);
    header.u32(static_cast<quint32>(88 + records.out.size())).u32(5);
    header.u16(2).u16(0).u32(0).u32(0).u32(0);
    header.u32(1024).u32(768).u32(271).u32(203);
    return header.out + records.out;
}

QByteArray dib(QSize size, QColor color)
{
    const int stride = (size.width() * 3 + 3) / 4 * 4;
    Bytes info;
    info.u32(40).u32(static_cast<quint32>(size.width())).u32(static_cast<quint32>(size.height()));
    info.u16(1).u16(24).u32(0).u32(static_cast<quint32>(stride * size.height()));
    info.u32(3780).u32(3780).u32(0).u32(0);
    QByteArray row;
    for (int x = 0; x < size.width(); ++x) {
        row.append(static_cast<char>(color.blue()));
        row.append(static_cast<char>(color.green()));
        row.append(static_cast<char>(color.red()));
    }
    row.append(QByteArray(stride - row.size(), '\0'));
    return info.out + row.repeated(size.height());
}

QByteArray pict(const QByteArray &words, const QByteArray &data)
{
    QByteArray group = "{\\pict" + words;
    const QByteArray hex = data.toHex();
    for (qsizetype at = 0; at < hex.size(); at += 64)
        group += "\r\n" + hex.mid(at, 64);
    return group + "}";
}

QByteArray document(const QByteArray &body)
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs24 " + body + "\\par}";
}

QList<TextPicture::Picture> pictures(const QTextDocument &document)
{
    QList<TextPicture::Picture> found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (const auto one = TextPicture::of(it.fragment().charFormat())) {
                for (int i = 0; i < it.fragment().length(); ++i)
                    found.append(*one);
            }
        }
    }
    return found;
}

} // namespace PictureFixtures
