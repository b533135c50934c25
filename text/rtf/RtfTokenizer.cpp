// The RTF tokenizer: one pass over the bytes, every step consumes at least one byte.
#include "text/rtf/RtfTokenizer.h"

#include <limits>

namespace rtf {

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

Tokenizer::Tokenizer(QByteArrayView data)
    : begin(data.data()), pos(data.data()), end(data.data() + data.size())
{ }

void Tokenizer::skipBytes(qint64 count)
{
    takeBytes(count);
}

QByteArrayView Tokenizer::takeBytes(qint64 count)
{
    if (count <= 0)
        return QByteArrayView();
    const char *start = pos;
    pos = count >= end - pos ? end : pos + count;
    return QByteArrayView(start, pos - start);
}

Token Tokenizer::next()
{
    Token token;
    while (pos < end && (*pos == '\r' || *pos == '\n'))
        ++pos;
    if (pos >= end)
        return token;

    switch (*pos) {
    case '{':
        ++pos;
        token.kind = Token::GroupOpen;
        return token;
    case '}':
        ++pos;
        token.kind = Token::GroupClose;
        return token;
    case '\\':
        ++pos;
        if (pos >= end)
            return token;
        if (isLetter(*pos))
            return controlWord();
        if (*pos == '\r' || *pos == '\n') {
            // A backslash before a line end is an old spelling of \par.
            ++pos;
            token.kind = Token::ControlWord;
            token.text = "par";
            return token;
        }
        if (*pos == '\'') {
            ++pos;
            const int high = pos < end ? hexValue(*pos) : -1;
            const int low = high >= 0 && pos + 1 < end ? hexValue(pos[1]) : -1;
            if (low < 0) {
                // A broken escape: drop it together with a lone valid digit.
                if (high >= 0)
                    ++pos;
                token.kind = Token::ControlSymbol;
                token.symbol = '\'';
                return token;
            }
            pos += 2;
            token.kind = Token::HexByte;
            token.byte = static_cast<unsigned char>(high * 16 + low);
            return token;
        }
        if (*pos == '\\' || *pos == '{' || *pos == '}') {
            token.kind = Token::Text;
            token.text = std::string_view(pos, 1);
            ++pos;
            return token;
        }
        token.kind = Token::ControlSymbol;
        token.symbol = *pos++;
        return token;
    default:
        break;
    }

    const char *start = pos;
    while (pos < end && *pos != '\\' && *pos != '{' && *pos != '}' && *pos != '\r' && *pos != '\n')
        ++pos;
    token.kind = Token::Text;
    token.text = std::string_view(start, static_cast<size_t>(pos - start));
    return token;
}

Token Tokenizer::controlWord()
{
    Token token;
    token.kind = Token::ControlWord;
    const char *start = pos;
    while (pos < end && isLetter(*pos))
        ++pos;
    token.text = std::string_view(start, static_cast<size_t>(pos - start));

    bool negative = false;
    if (pos + 1 < end && *pos == '-' && isDigit(pos[1])) {
        negative = true;
        ++pos;
    }
    if (pos < end && isDigit(*pos)) {
        constexpr long long limit = std::numeric_limits<int>::max();
        long long value = 0;
        while (pos < end && isDigit(*pos)) {
            if (value < limit)
                value = value * 10 + (*pos - '0');
            ++pos;
        }
        if (value > limit)
            value = limit;
        token.param = static_cast<int>(negative ? -value : value);
        token.hasParam = true;
    }
    if (pos < end && *pos == ' ')
        ++pos;
    return token;
}

} // namespace rtf
