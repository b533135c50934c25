// Reads and writes \pict groups. The data and the file's own kind and size words are kept as
// they were, so that writing the picture back gives other programs the same picture.
#include "text/rtf/RtfPicture.h"

#include "text/rtf/RtfTokenizer.h"

#include <algorithm>
#include <array>

namespace rtf {

namespace {

using TextPicture::Kind;

constexpr double twipsPerPixel = 15.0; // a bitmap's pixel at 96 pixels to the inch
constexpr double twipsPerHundredthMm = 1440.0 / 2540.0;
constexpr double defaultTwips = 1440.0; // a picture that gives no size
constexpr double minTwips = 15.0;
constexpr double maxTwips = 22 * 1440.0;
constexpr int hexPerLine = 128;

struct KindWord
{
    std::string_view name;
    Kind kind;
};

constexpr std::array<KindWord, 8> kindWords {{
    {"dibitmap", Kind::Dib},
    {"emfblip", Kind::Emf},
    {"jpegblip", Kind::Bitmap},
    {"macpict", Kind::Other},
    {"pmmetafile", Kind::Other},
    {"pngblip", Kind::Bitmap},
    {"wbitmap", Kind::Other},
    {"wmetafile", Kind::Wmf},
}};

constexpr std::array<std::string_view, 15> sizeWords {
    "blipupi",   "picbmp",    "picbpp", "piccropb",         "piccropl",
    "piccropr",  "piccropt",  "pich",   "pichgoal",         "picscaled",
    "picscalex", "picscaley", "picw",   "picwbmwidthbytes", "picwgoal",
};

const KindWord *kindWord(std::string_view name)
{
    const auto it = std::find_if(kindWords.begin(), kindWords.end(),
                                 [name](const KindWord &word) { return word.name == name; });
    return it != kindWords.end() ? &*it : nullptr;
}

// The value of each hex digit, -1 for any other byte: pictures run to tens of megabytes.
constexpr std::array<signed char, 256> hexValues = [] {
    std::array<signed char, 256> values {};
    values.fill(-1);
    for (int i = 0; i < 10; ++i)
        values['0' + i] = static_cast<signed char>(i);
    for (int i = 0; i < 6; ++i) {
        values['a' + i] = static_cast<signed char>(10 + i);
        values['A' + i] = static_cast<signed char>(10 + i);
    }
    return values;
}();

double shownTwips(int goal, int extent, bool metafile, int scale)
{
    double twips = goal > 0 ? goal
        : extent > 0        ? extent * (metafile ? twipsPerHundredthMm : twipsPerPixel)
                            : defaultTwips;
    twips *= std::clamp(scale, 1, 10000) / 100.0;
    return std::clamp(twips, minTwips, maxTwips);
}

} // namespace

void PictureReader::start()
{
    *this = PictureReader();
}

bool PictureReader::isPictureWord(std::string_view name)
{
    return kindWord(name) || std::find(sizeWords.begin(), sizeWords.end(), name) != sizeWords.end();
}

void PictureReader::word(const Token &token)
{
    words += '\\';
    words += QByteArrayView(token.text.data(), static_cast<qsizetype>(token.text.size()));
    if (token.hasParam)
        words += QByteArray::number(token.param);
    if (const KindWord *kind = kindWord(token.text)) {
        picture.kind = kind->kind;
        return;
    }
    const int value = token.hasParam ? token.param : 0;
    if (token.text == "picw")
        width = value;
    else if (token.text == "pich")
        height = value;
    else if (token.text == "picwgoal")
        goalWidth = value;
    else if (token.text == "pichgoal")
        goalHeight = value;
    else if (token.text == "picscalex")
        scaleX = value;
    else if (token.text == "picscaley")
        scaleY = value;
}

void PictureReader::hex(std::string_view text)
{
    QByteArray &data = picture.data;
    qsizetype size = data.size();
    const qsizetype most = size + static_cast<qsizetype>(text.size() / 2 + 1);
    if (data.capacity() < most)
        data.reserve(std::max(most, 2 * data.capacity()));
    data.resize(most);
    char *out = data.data();
    for (char c : text) {
        const int value = hexValues[static_cast<unsigned char>(c)];
        if (value < 0)
            continue;
        if (highNibble < 0) {
            highNibble = value;
        } else {
            out[size++] = static_cast<char>(highNibble << 4 | value);
            highNibble = -1;
        }
    }
    data.resize(size);
}

void PictureReader::binary(QByteArrayView bytes)
{
    picture.data.append(bytes);
}

std::optional<TextPicture::Picture> PictureReader::finish()
{
    if (picture.data.isEmpty())
        return std::nullopt;
    const bool metafile = picture.kind == Kind::Wmf || picture.kind == Kind::Emf;
    picture.widthTwips = shownTwips(goalWidth, width, metafile, scaleX);
    picture.heightTwips = shownTwips(goalHeight, height, metafile, scaleY);
    picture.rtfWords = words;
    picture.data.squeeze();
    return std::exchange(picture, TextPicture::Picture());
}

QByteArray pictureGroup(const QTextFormat &format)
{
    const std::optional<TextPicture::Picture> picture = TextPicture::of(format);
    if (!picture)
        return QByteArray();
    if (!picture->rtfGroup.isEmpty())
        return picture->rtfGroup;
    const QByteArray hex = picture->data.toHex();
    QByteArray group;
    group.reserve(hex.size() + hex.size() / hexPerLine * 2 + picture->rtfWords.size() + 16);
    group += "{\\pict";
    group += picture->rtfWords;
    for (qsizetype at = 0; at < hex.size(); at += hexPerLine) {
        group += "\r\n";
        group += QByteArrayView(hex).sliced(at, std::min<qsizetype>(hexPerLine, hex.size() - at));
    }
    group += '}';
    return group;
}

} // namespace rtf
