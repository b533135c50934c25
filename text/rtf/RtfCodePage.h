// Code pages of RTF text: the document's \ansicpg, the one a font's \fcharset names, and the
// Symbol font's own encoding.
#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringDecoder>
#include <map>

namespace rtf {

namespace codepage {

constexpr int ansi = 1252;
constexpr int symbol = 42; // Windows' number for the Symbol font's encoding
// Other symbol fonts (Wingdings, ...): their glyphs sit at U+F020-U+F0FF, as Windows maps them.
constexpr int privateUse = -42;

// The code page text in a font of this \fcharset is written in.
int fromCharset(int charset, int documentCodePage);
// Code pages decoded byte by byte without a converter.
inline bool isDirect(int codePage)
{
    return codePage == ansi || codePage == symbol || codePage == privateUse;
}
// A byte in a direct code page.
QChar directChar(int codePage, unsigned char byte);
// The Symbol font's private-use range (U+F020-U+F0FF) as ordinary characters.
QChar symbolFromPrivateUse(char16_t c);

} // namespace codepage

// Converters for the code pages, opened once per read; unknown ones fall back to 1252.
class CodePageDecoder
{
public:
    QString decode(int codePage, const QByteArray &bytes);

private:
    std::map<int, QStringDecoder> decoders;
};

} // namespace rtf
