// Splits RTF bytes into braces, control words, control symbols, hex escapes and plain text.
// Knows nothing about meaning; the reader interprets the tokens.
#pragma once

#include <QByteArrayView>
#include <string_view>

namespace rtf {

struct Token
{
    enum Kind { End, GroupOpen, GroupClose, ControlWord, ControlSymbol, HexByte, Text };

    Kind kind = End;
    std::string_view text; // ControlWord: its letters; Text: the bytes (never CR or LF)
    int param = 0; // ControlWord, clamped to the int range
    bool hasParam = false;
    char symbol = 0; // ControlSymbol
    unsigned char byte = 0; // HexByte
};

class Tokenizer
{
public:
    explicit Tokenizer(QByteArrayView data);

    Token next();
    // Steps over the data of \binN; a count beyond the end stops at the end.
    void skipBytes(qint64 count);
    // The data of \binN, stepped over; a count beyond the end stops at the end.
    QByteArrayView takeBytes(qint64 count);
    // The bytes read so far, from the start of the data.
    QByteArrayView consumed() const { return QByteArrayView(begin, pos - begin); }

private:
    Token controlWord();

    const char *begin;
    const char *pos;
    const char *end;
};

} // namespace rtf
