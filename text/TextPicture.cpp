// The format properties that make a character a picture object.
#include "text/TextPicture.h"

#include <QCryptographicHash>

namespace TextPicture {

namespace {

enum Property : int {
    Data = QTextFormat::UserProperty + 0x200,
    DataKind,
    WidthTwips,
    HeightTwips,
    RtfWords,
    RtfGroup,
};

} // namespace

QTextImageFormat format(const Picture &picture)
{
    // Named after its content: the same picture pasted twice shares one decoded image.
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArray::number(static_cast<int>(picture.kind)));
    hash.addData(picture.data);
    QTextImageFormat format;
    format.setName(QStringLiteral("velmar-picture:") + QString::fromLatin1(hash.result().toHex()));
    format.setProperty(Data, picture.data);
    format.setProperty(DataKind, static_cast<int>(picture.kind));
    format.setProperty(WidthTwips, picture.widthTwips);
    format.setProperty(HeightTwips, picture.heightTwips);
    format.setProperty(RtfWords, picture.rtfWords);
    if (!picture.rtfGroup.isEmpty())
        format.setProperty(RtfGroup, picture.rtfGroup);
    return format;
}

std::optional<Picture> of(const QTextFormat &format)
{
    if (!format.isImageFormat() || !format.hasProperty(Data))
        return std::nullopt;
    return Picture {
        format.property(Data).toByteArray(),     static_cast<Kind>(format.intProperty(DataKind)),
        format.doubleProperty(WidthTwips),       format.doubleProperty(HeightTwips),
        format.property(RtfWords).toByteArray(), format.property(RtfGroup).toByteArray()};
}

} // namespace TextPicture
