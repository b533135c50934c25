// Code page 1252 conversion.
#include "common/Cp1252.h"

namespace {
// 0x80-0x9F; 0 marks the five unassigned codes, which map to the C1 control of the same code
// (as Windows does), so that every byte survives a round trip.
constexpr char16_t high[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};
} // namespace

namespace Cp1252 {

QChar Chr(int code)
{
    if (code < 0 || code > 255)
        return QChar(QChar::ReplacementCharacter);
    if (code >= 0x80 && code <= 0x9F) {
        const char16_t c = high[code - 0x80];
        return QChar(c ? c : static_cast<char16_t>(code));
    }
    return QChar(static_cast<char16_t>(code));
}

QString decode(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char byte : bytes)
        text.append(Chr(static_cast<unsigned char>(byte)));
    return text;
}

int codeOf(QChar character)
{
    const char16_t c = character.unicode();
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i) {
        if (high[i] == c || (!high[i] && c == 0x80 + i))
            return 0x80 + i;
    }
    return -1;
}

std::optional<QByteArray> encode(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar character : text) {
        const int code = codeOf(character);
        if (code < 0)
            return std::nullopt;
        bytes.append(static_cast<char>(code));
    }
    return bytes;
}

} // namespace Cp1252
