// Kept groups made to read alike in another file: their text as \u, their fonts noted.
#include "text/rtf/RtfKeptGroup.h"

#include "text/rtf/RtfTokenizer.h"

#include <algorithm>
#include <vector>

namespace rtf {

namespace {

// Groups nested deeper than the reader keeps are read as the group around them.
constexpr size_t maxDepth = 512;
constexpr int maxUnicodeSkip = 255;
constexpr char hexDigits[] = "0123456789abcdef";

// The note of a kept group's fonts, in front of it: " D N:S:HEX ...", D the font \plain gives
// ("-" for none), then each font's number, 1 for a symbol font, its family as UTF-8 in hex.
constexpr QByteArrayView noteStart = "{\\*\\keptfonts";

void appendHex(QByteArray &out, int value)
{
    out += "\\'";
    out += hexDigits[value >> 4 & 15];
    out += hexDigits[value & 15];
}

bool isSpecial(char c)
{
    return c == '\\' || c == '{' || c == '}';
}

QByteArrayView raw(QByteArrayView data, qsizetype from, const Tokenizer &tokens)
{
    return data.sliced(from, tokens.consumed().size() - from);
}

// The control word in `raw` (after any line ends) with another number.
QByteArray renumbered(QByteArrayView raw, int number)
{
    const qsizetype slash = raw.indexOf('\\');
    qsizetype end = slash + 1;
    while (end < raw.size() && raw.at(end) >= 'a' && raw.at(end) <= 'z')
        ++end;
    QByteArray word = raw.first(end).toByteArray();
    if (end < raw.size() && raw.at(end) == '-')
        ++end;
    while (end < raw.size() && raw.at(end) >= '0' && raw.at(end) <= '9')
        ++end;
    return word + QByteArray::number(number) + raw.sliced(end).toByteArray();
}

bool isWord(const Token &token, std::string_view name)
{
    return token.kind == Token::ControlWord && token.text == name;
}

// One note, from the start of its content to its closing brace.
struct Note
{
    std::optional<int> plain;
    QHash<int, kept::NamedFont> fonts;
};

Note readNote(QByteArrayView content)
{
    Note note;
    const QList<QByteArray> fields = content.toByteArray().split(' ');
    bool first = true;
    for (const QByteArray &field : fields) {
        if (field.isEmpty())
            continue;
        if (first) {
            first = false;
            bool ok = false;
            const int plain = field.toInt(&ok);
            if (ok)
                note.plain = plain;
            continue;
        }
        const QList<QByteArray> parts = field.split(':');
        bool ok = false;
        const int number = parts.value(0).toInt(&ok);
        if (!ok || parts.size() != 3)
            continue;
        note.fonts.insert(number,
                          kept::NamedFont {number,
                                           QString::fromUtf8(QByteArray::fromHex(parts.at(2))),
                                           parts.at(1) == "1"});
    }
    return note;
}

// Where the note starting at `at` ends, behind its closing brace; -1 when what stands there
// is not a note as own() writes it.
qsizetype noteEnd(QByteArrayView data, qsizetype at)
{
    for (qsizetype i = at + noteStart.size(); i < data.size(); ++i) {
        const char c = data.at(i);
        if (c == '}')
            return i + 1;
        if (c != ' ' && c != ':' && c != '-' && !(c >= '0' && c <= '9') && !(c >= 'a' && c <= 'f'))
            return -1;
    }
    return -1;
}

template<typename Visit>
void forEachNote(QByteArrayView kept, Visit visit)
{
    for (qsizetype at = kept.indexOf(noteStart); at >= 0; at = kept.indexOf(noteStart, at + 1)) {
        const qsizetype end = noteEnd(kept, at);
        if (end < 0)
            continue;
        const qsizetype content = at + noteStart.size();
        visit(readNote(kept.sliced(content, end - 1 - content)));
    }
}

} // namespace

void EscapedText::add(unsigned char byte, int page, int skip, QByteArray &out,
                      CodePageDecoder &decoder)
{
    if (!bytes.isEmpty() && (page != codePage || skip != unicodeSkip))
        flush(out, decoder);
    codePage = page;
    unicodeSkip = skip;
    bytes.append(static_cast<char>(byte));
}

// ASCII stays as it was, but the run's first character is a hex escape: a letter there could
// run on a control word before it.
void EscapedText::flush(QByteArray &out, CodePageDecoder &decoder)
{
    if (bytes.isEmpty())
        return;
    const QString text = decoder.decode(codePage, std::exchange(bytes, QByteArray()));
    bool first = true;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x80) {
            out += "\\u";
            out += QByteArray::number(u > 0x7FFF ? u - 0x10000 : u);
            out += unicodeSkip == 0 ? QByteArray(" ") : QByteArray(unicodeSkip, '?');
        } else if (first || u < 0x20) {
            appendHex(out, u);
        } else {
            if (isSpecial(static_cast<char>(u)))
                out += '\\';
            out += static_cast<char>(u);
        }
        first = false;
    }
}

namespace kept {

QByteArray own(QByteArrayView group, const Source &source)
{
    struct State
    {
        int codePage;
        int unicodeSkip;
    };
    const auto codePageOf = [&source](int number) {
        const auto font = source.fonts.constFind(number);
        return font == source.fonts.constEnd() ? source.documentCodePage : font->codePage;
    };
    std::vector<State> states {{source.codePage, source.unicodeSkip}};
    size_t overflow = 0;
    int fallback = 0; // characters still to step over after \u
    QList<int> named;
    bool plain = false;
    bool escaped = false;
    EscapedText text;
    CodePageDecoder decoder;
    QByteArray out;
    out.reserve(group.size());

    Tokenizer tokens(group);
    qsizetype last = 0;
    for (Token token = tokens.next(); token.kind != Token::End; token = tokens.next()) {
        State &state = states.back();
        const bool direct = codepage::isDirect(state.codePage);
        if (token.kind == Token::HexByte && fallback == 0 && !direct) {
            text.add(token.byte, state.codePage, state.unicodeSkip, out, decoder);
            escaped = true;
            last = tokens.consumed().size();
            continue;
        }
        if (token.kind == Token::Text) {
            size_t i = 0;
            for (; fallback > 0 && i < token.text.size(); ++i)
                --fallback;
            const std::string_view rest = token.text.substr(i);
            const bool high = std::any_of(rest.begin(), rest.end(), [](char c) {
                return static_cast<unsigned char>(c) >= 0x80;
            });
            if (!rest.empty() && !direct && (!text.isEmpty() || high)) {
                // The escape of \\, \{ and \} goes with the character it stands for.
                const bool escape = isSpecial(token.text.front());
                const qsizetype at = token.text.data() - group.data();
                out += group.sliced(last, at + static_cast<qsizetype>(i) - (escape ? 1 : 0) - last);
                for (char c : rest) {
                    const auto b = static_cast<unsigned char>(c);
                    if (b >= 0x20 || b == '\t')
                        text.add(b, state.codePage, state.unicodeSkip, out, decoder);
                }
                escaped = true;
                last = tokens.consumed().size();
                continue;
            }
        }
        text.flush(out, decoder);
        switch (token.kind) {
        case Token::GroupOpen:
            fallback = 0;
            if (states.size() >= maxDepth)
                ++overflow;
            else
                states.push_back(state);
            break;
        case Token::GroupClose:
            fallback = 0;
            if (overflow > 0)
                --overflow;
            else if (states.size() > 1)
                states.pop_back();
            break;
        case Token::ControlWord:
            if (token.text == "bin" && token.hasParam)
                tokens.skipBytes(token.param);
            if (fallback > 0 && token.text != "u") {
                --fallback;
                break;
            }
            fallback = 0;
            if (token.text == "f" && token.hasParam) {
                state.codePage = codePageOf(token.param);
                if (!named.contains(token.param))
                    named.append(token.param);
            } else if (token.text == "plain") {
                state.codePage = codePageOf(source.defaultFont);
                plain = true;
            } else if (token.text == "uc") {
                state.unicodeSkip = std::clamp(token.param, 0, maxUnicodeSkip);
            } else if (token.text == "u") {
                fallback = state.unicodeSkip;
            }
            break;
        case Token::ControlSymbol:
        case Token::HexByte:
            if (fallback > 0)
                --fallback;
            break;
        default:
            break;
        }
        out += raw(group, last, tokens);
        last = tokens.consumed().size();
    }
    text.flush(out, decoder);
    out += group.sliced(last);

    if (plain && !named.contains(source.defaultFont))
        named.append(source.defaultFont);
    QByteArray note;
    for (int number : std::as_const(named)) {
        const auto font = source.fonts.constFind(number);
        if (font == source.fonts.constEnd())
            continue;
        const bool symbol
            = font->codePage == codepage::symbol || font->codePage == codepage::privateUse;
        note += ' ' + QByteArray::number(number) + (symbol ? ":1:" : ":0:")
            + font->family.toUtf8().toHex();
    }
    if (note.isEmpty() && !escaped)
        return group.toByteArray();
    if (note.isEmpty())
        return out;
    return noteStart.toByteArray() + ' '
        + (plain ? QByteArray::number(source.defaultFont) : QByteArray("-")) + note + '}' + out;
}

QList<NamedFont> fonts(QByteArrayView kept)
{
    QList<NamedFont> named;
    forEachNote(kept, [&named](const Note &note) {
        for (const NamedFont &font : note.fonts) {
            if (!named.contains(font))
                named.append(font);
        }
    });
    return named;
}

std::optional<NamedFont> plainFont(QByteArrayView kept)
{
    std::optional<NamedFont> found;
    forEachNote(kept, [&found](const Note &note) {
        if (!found && note.plain && note.fonts.contains(*note.plain))
            found = note.fonts.value(*note.plain);
    });
    return found;
}

QByteArray place(QByteArrayView kept, const Numbering &numbering)
{
    if (!kept.contains(noteStart))
        return kept.toByteArray();
    QByteArray out;
    out.reserve(kept.size());
    QHash<int, int> numbers; // of the fonts the last note names
    std::optional<int> plain;
    Tokenizer tokens(kept);
    qsizetype last = 0;
    for (Token token = tokens.next(); token.kind != Token::End; token = tokens.next()) {
        const qsizetype open = tokens.consumed().size() - 1;
        if (token.kind == Token::GroupOpen && kept.sliced(open).startsWith(noteStart)) {
            const qsizetype end = noteEnd(kept, open);
            if (end > 0) {
                const qsizetype content = open + noteStart.size();
                const Note note = readNote(kept.sliced(content, end - 1 - content));
                numbers.clear();
                for (const NamedFont &font : note.fonts)
                    numbers.insert(font.number, numbering.number(font));
                plain = note.plain ? std::optional<int>(numbers.value(*note.plain, numbering.plain))
                                   : std::nullopt;
                out += kept.sliced(last, open - last);
                tokens.skipBytes(end - tokens.consumed().size());
                last = tokens.consumed().size();
                continue;
            }
        }
        if (isWord(token, "bin") && token.hasParam)
            tokens.skipBytes(token.param);
        const QByteArrayView bytes = raw(kept, last, tokens);
        last = tokens.consumed().size();
        if (isWord(token, "f") && token.hasParam && numbers.contains(token.param)) {
            out += renumbered(bytes, numbers.value(token.param));
            continue;
        }
        out += bytes;
        // \plain goes back to the saved file's default font: the group's own is named after it.
        if (isWord(token, "plain") && plain && *plain != numbering.plain)
            out += "\\f" + QByteArray::number(*plain) + ' ';
    }
    out += kept.sliced(last);
    return out;
}

} // namespace kept

} // namespace rtf
