// Code page tables and converters for the RTF reader.
#include "text/rtf/RtfCodePage.h"

#include "common/Cp1252.h"

namespace rtf {

namespace codepage {

int fromCharset(int charset, int documentCodePage)
{
    switch (charset) {
    case 0:
        return ansi;
    case 2:
        return symbol;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return documentCodePage;
    }
}

// Adobe's Symbol encoding where it differs from plain ASCII: Greek letters, arrows, math signs.
static char16_t symbolChar(unsigned char byte)
{
    static constexpr char16_t upper[26] = {
        0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399,
        0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F, 0x03A0, 0x0398, 0x03A1,
        0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396,
    };
    static constexpr char16_t lower[26] = {
        0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, 0x03B7, 0x03B9,
        0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF, 0x03C0, 0x03B8, 0x03C1,
        0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6,
    };
    struct Pair
    {
        unsigned char byte;
        char16_t c;
    };
    static constexpr Pair other[] = {
        {0x22, 0x2200}, {0x24, 0x2203}, {0x27, 0x220B}, {0x2A, 0x2217}, {0x2D, 0x2212},
        {0x40, 0x2245}, {0x5E, 0x22A5}, {0x7E, 0x223C}, {0xA2, 0x2032}, {0xA3, 0x2264},
        {0xA5, 0x221E}, {0xA7, 0x2663}, {0xA8, 0x2666}, {0xA9, 0x2665}, {0xAA, 0x2660},
        {0xAB, 0x2194}, {0xAC, 0x2190}, {0xAD, 0x2191}, {0xAE, 0x2192}, {0xAF, 0x2193},
        {0xB0, 0x00B0}, {0xB1, 0x00B1}, {0xB2, 0x2033}, {0xB3, 0x2265}, {0xB4, 0x00D7},
        {0xB5, 0x221D}, {0xB6, 0x2202}, {0xB7, 0x2022}, {0xB8, 0x00F7}, {0xB9, 0x2260},
        {0xBA, 0x2261}, {0xBB, 0x2248}, {0xBC, 0x2026}, {0xC4, 0x2297}, {0xC5, 0x2295},
        {0xC6, 0x2205}, {0xC7, 0x2229}, {0xC8, 0x222A}, {0xCE, 0x2208}, {0xD1, 0x2207},
        {0xD6, 0x221A}, {0xD7, 0x22C5}, {0xD8, 0x00AC}, {0xD9, 0x2227}, {0xDA, 0x2228},
        {0xDB, 0x21D4}, {0xDE, 0x21D2}, {0xE0, 0x25CA}, {0xE1, 0x2329}, {0xE5, 0x2211},
        {0xF1, 0x232A}, {0xF2, 0x222B},
    };
    if (byte >= 'A' && byte <= 'Z')
        return upper[byte - 'A'];
    if (byte >= 'a' && byte <= 'z')
        return lower[byte - 'a'];
    for (const Pair &pair : other) {
        if (pair.byte == byte)
            return pair.c;
    }
    return Cp1252::Chr(byte).unicode();
}

QChar directChar(int codePage, unsigned char byte)
{
    if (codePage == symbol)
        return QChar(symbolChar(byte));
    if (codePage == privateUse && byte >= 0x20)
        return QChar(static_cast<char16_t>(0xF000 + byte));
    return Cp1252::Chr(byte);
}

QChar symbolFromPrivateUse(char16_t c)
{
    if (c >= 0xF020 && c <= 0xF0FF)
        return QChar(symbolChar(static_cast<unsigned char>(c - 0xF000)));
    return QChar(c);
}

} // namespace codepage

static QByteArray converterName(int codePage)
{
    switch (codePage) {
    case 437:
    case 850:
    case 852:
    case 866:
        return "IBM" + QByteArray::number(codePage);
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 950:
        return "Big5";
    case 10000:
        return "macintosh";
    case 65001:
        return "UTF-8";
    default:
        return "windows-" + QByteArray::number(codePage);
    }
}

QString CodePageDecoder::decode(int codePage, const QByteArray &bytes)
{
    auto it = decoders.find(codePage);
    if (it == decoders.end()) {
        it = decoders
                 .try_emplace(codePage, converterName(codePage).constData(),
                              QStringDecoder::Flag::Stateless)
                 .first;
    }
    if (!it->second.isValid())
        it->second = QStringDecoder(Cp1252::converterName, QStringDecoder::Flag::Stateless);
    return it->second.decode(bytes);
}

} // namespace rtf
