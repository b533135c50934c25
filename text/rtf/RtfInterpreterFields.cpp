// The RTF interpreter's fields: the instruction kept for writing back, and the result's text
// that carries it.
#include "text/rtf/RtfInterpreter.h"

namespace rtf {

namespace {

// Instructions kept for writing back: each, and all of a file's together.
constexpr qsizetype maxInstructionRtf = 16 * 1024;
constexpr qsizetype maxInstructionBytes = 16 * 1024 * 1024;
constexpr size_t maxFieldContexts = 1 << 16;

// Fields kept inside one another; each result carries all around it, so deeper ones read as
// plain results.
constexpr qsizetype maxFieldNesting = 16;

} // namespace

void Interpreter::finishField(const Field &field, const GroupState &state)
{
    if (field.hasResult || state.destination != Destination::Text)
        return;
    // MACROBUTTON shows the text after the macro's name and has no result of its own.
    const QString instruction = field.instruction.trimmed();
    static const QString macroButton = QStringLiteral("MACROBUTTON");
    if (!instruction.startsWith(macroButton, Qt::CaseInsensitive))
        return;
    qsizetype i = macroButton.size();
    if (i >= instruction.size() || !instruction.at(i).isSpace())
        return;
    while (i < instruction.size() && instruction.at(i).isSpace())
        ++i;
    while (i < instruction.size() && !instruction.at(i).isSpace())
        ++i;
    while (i < instruction.size() && instruction.at(i).isSpace())
        ++i;
    for (; i < instruction.size(); ++i)
        put(instruction.at(i));
}

// The instruction is kept as the file wrote it, nested groups and fields included, without the
// formatting words whose fonts and colours only the file's own tables name.
void Interpreter::recordInstruction(const Token &token)
{
    Field &field = fields.back();
    const GroupState &state = top();
    // Text in another code page goes in as \u, since the saved file's is 1252; a fallback
    // after \u stays as it was.
    if (fallbackToSkip == 0 && !codepage::isDirect(state.codePage)
        && (token.kind == Token::HexByte
            || (token.kind == Token::Text && !field.escaped.isEmpty()))) {
        const std::string_view bytes = token.kind == Token::HexByte
            ? std::string_view(reinterpret_cast<const char *>(&token.byte), 1)
            : token.text;
        QByteArray piece;
        for (char c : bytes)
            field.escaped.add(static_cast<unsigned char>(c), state.codePage, state.unicodeSkip,
                              piece, decoder);
        if (field.escaped.size() > maxInstructionRtf)
            field.escaped.flush(piece, decoder);
        appendInstruction(field, piece);
        return;
    }
    QByteArray piece;
    field.escaped.flush(piece, decoder);
    switch (token.kind) {
    case Token::GroupOpen:
        ++field.recordDepth;
        piece += "{";
        break;
    case Token::GroupClose:
        if (field.recordDepth == 0) {
            field.recordDepth = -1;
            field.recorded = true;
            break;
        }
        --field.recordDepth;
        piece += "}";
        break;
    case Token::ControlWord: {
        const ControlWord *word = findControlWord(token.text);
        if (token.text == "bin"
            || (word && (styleParts(*word) == CharacterParts || word->runs<&Interpreter::style>())))
            break;
        piece += '\\' + QByteArray(token.text.data(), static_cast<qsizetype>(token.text.size()));
        if (token.hasParam)
            piece += QByteArray::number(token.param);
        piece += ' ';
        break;
    }
    case Token::ControlSymbol:
        piece += QByteArray("\\") + token.symbol;
        break;
    case Token::HexByte:
        piece += "\\'" + QByteArray::number(token.byte, 16).rightJustified(2, '0');
        break;
    case Token::Text:
        for (char c : token.text) {
            if (c == '\\' || c == '{' || c == '}')
                piece += '\\';
            piece += c;
        }
        break;
    default:
        break;
    }
    appendInstruction(field, piece);
}

void Interpreter::appendInstruction(Field &field, const QByteArray &piece)
{
    if (field.tooLong || piece.isEmpty())
        return;
    if (field.rtf.size() + piece.size() > maxInstructionRtf
        || instructionBytes + piece.size() > maxInstructionBytes) {
        field.tooLong = true;
        field.rtf.clear();
        return;
    }
    field.rtf += piece;
    instructionBytes += piece.size();
}

void Interpreter::field(const Token &)
{
    if (top().destination != Destination::Text)
        return;
    if (!fields.empty() && fields.back().depth == stack.size())
        return;
    Field opened;
    opened.depth = stack.size();
    fields.push_back(opened);
}

// The result's text carries its field's instruction, and those of the fields around it.
void Interpreter::fieldResult(const Token &)
{
    if (fields.empty())
        return;
    Field &field = fields.back();
    field.hasResult = true;
    GroupState &state = top();
    if (field.depth + 1 != stack.size() || state.destination != Destination::Text || !field.recorded
        || field.tooLong || fieldContexts.size() >= maxFieldContexts)
        return;
    QList<TextField::Field> context = fieldContexts[static_cast<size_t>(state.chars.field)];
    if (context.size() >= maxFieldNesting)
        return;
    context.append(TextField::Field {TextField::newId(), field.rtf});
    fieldContexts.push_back(std::move(context));
    state.chars.field = static_cast<int>(fieldContexts.size() - 1);
}

} // namespace rtf
