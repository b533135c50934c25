// The RTF interpreter: the group stack, the text and its formatting, the font, colour and
// style tables, pictures, and the handlers of the control-word table the other files leave.
#include "text/rtf/RtfInterpreter.h"

#include "text/TextFormat.h"
#include "text/TextMarks.h"
#include "text/rtf/RtfInterpreterShared.h"
#include "text/rtf/RtfSectionGroups.h"

#include <QTextBlock>
#include <algorithm>

namespace rtf {

namespace {

// Deeper groups are counted but not kept: nothing real nests that far.
constexpr size_t maxDepth = 512;
// What the edit control holds, so that a file it wrote comes back as written.
constexpr int maxHalfPoints = 2 * static_cast<int>(TextFormat::maxFontPoints);
constexpr qsizetype maxInstruction = 1024;
constexpr double mmPerTwip = 25.4 / 1440.0;
constexpr size_t maxStyleDepth = 16;
constexpr size_t maxStyleWords = 256;
constexpr int bulletLevel = 23;
constexpr int noLabelLevel = 255;

// Properties a paragraph style gives that LibreOffice resets to the plain defaults unless the
// paragraph sets them itself; indents and the spacing before and after go in pairs.
enum ResetGroup {
    SizeGroup = 1,
    BoldGroup = 2,
    ItalicGroup = 4,
    UnderlineGroup = 8,
    ColorGroup = 16,
    IndentGroup = 32,
    SpaceGroup = 64,
    FontGroup = 128,
};

int clampTwips(int value)
{
    return std::clamp(value, -maxTwips, maxTwips);
}

// A level whose text holds no number shows that text as its label, whatever number style it
// names, as other word processors do.
template<typename Level>
bool showsText(const Level *level)
{
    return level
        && (level->numbering == bulletLevel
            || (!level->text.isEmpty()
                && std::none_of(level->text.begin(), level->text.end(), isPlaceholder)));
}

template<typename Level>
bool hasNumber(const Level *level)
{
    return level && !showsText(level) && level->numbering != noLabelLevel;
}

} // namespace

Interpreter::Interpreter(QTextCursor &cursor) : cursor(cursor) { }

void Interpreter::run(QByteArrayView data)
{
    Tokenizer tokens(data);
    tokenizer = &tokens;
    stack.reserve(64);
    cursor.beginEditBlock();
    startBlockEmpty = cursor.block().length() <= 1;
    out.first = cursor.position();
    startBlockFormat = cursor.blockFormat();

    bool started = false;
    for (Token token = tokens.next(); token.kind != Token::End; token = tokens.next()) {
        if (!fields.empty() && fields.back().recordDepth >= 0)
            recordInstruction(token);
        if (!pendingBytes.isEmpty() && token.kind != Token::HexByte && token.kind != Token::Text)
            flushBytes();
        if (token.kind == Token::GroupOpen) {
            started = true;
            openGroup();
            continue;
        }
        if (token.kind == Token::GroupClose) {
            closeGroup();
            if (started && stack.empty() && overflow == 0)
                break;
            continue;
        }
        if (stack.empty())
            continue;
        const bool isBinary = token.kind == Token::ControlWord && token.text == "bin";
        if (overflow > 0 || top().destination == Destination::Skip) {
            if (isBinary)
                binary(token);
            continue;
        }
        const bool ignorableMark = token.kind == Token::ControlSymbol && token.symbol == '*';
        if (!ignorableMark)
            ignorablePending = ignorablePending && token.kind == Token::ControlWord;
        switch (token.kind) {
        case Token::ControlWord:
            controlWord(token);
            break;
        case Token::ControlSymbol:
            controlSymbol(token);
            break;
        case Token::HexByte:
            if (fallbackToSkip > 0)
                --fallbackToSkip;
            else
                byte(token.byte);
            break;
        case Token::Text:
            text(token.text);
            break;
        default:
            break;
        }
        if (!ignorableMark && !stack.empty())
            top().opening = false;
    }
    finish();
    cursor.endEditBlock();
    tokenizer = nullptr;
}

void Interpreter::openGroup()
{
    fallbackToSkip = 0;
    ignorablePending = false;
    if (overflow > 0 || stack.size() >= maxDepth) {
        ++overflow;
        return;
    }
    if (stack.empty()) {
        stack.emplace_back();
    } else {
        if (top().destination == Destination::StyleSheet && stack.size() == styleSheetDepth) {
            styleEntry = Style();
            styleKind = StyleKind::Paragraph;
            styleNumber = 0;
        }
        stack.push_back(stack.back());
    }
    top().start = tokenizer->consumed().size() - 1;
    top().opening = true;
}

void Interpreter::closeGroup()
{
    fallbackToSkip = 0;
    ignorablePending = false;
    if (overflow > 0) {
        --overflow;
        return;
    }
    if (stack.empty())
        return;

    const GroupState &closing = stack.back();
    if (closing.destination == Destination::FontTable)
        commitFont();
    if (!fields.empty() && fields.back().depth == stack.size()) {
        finishField(fields.back(), closing);
        fields.pop_back();
    }
    if (closing.destination == Destination::ListLabel && stack.size() > 1
        && stack[stack.size() - 2].destination == Destination::Text)
        finishLabel();
    const Destination outer
        = stack.size() > 1 ? stack[stack.size() - 2].destination : Destination::Text;
    if (closing.destination == Destination::Picture && outer != Destination::Picture)
        insertPicture(closing);
    std::optional<KeptShape> shape = closeKeptGroups(closing);
    bool styleSheetDone = false;
    if (closing.destination == Destination::StyleSheet) {
        if (stack.size() == styleSheetDepth + 1)
            commitStyle();
        styleSheetDone = stack.size() == styleSheetDepth;
    } else if (closing.destination == Destination::ListLevel && outer != Destination::ListLevel) {
        if (Level *level = currentLevel()) {
            level->left = closing.para.left;
            level->firstLine = closing.para.firstLine;
            level->font = closing.chars.font;
            decodeLevelText(*level);
        }
    } else if (closing.destination == Destination::LevelText && outer == Destination::ListLevel) {
        // The first character counts the ones that follow.
        if (Level *level = currentLevel()) {
            const char16_t first = level->text.isEmpty() ? 0 : level->text.front().unicode();
            level->text = level->text.mid(1, first >= levelByte ? first - levelByte : first);
        }
    }
    const bool numbering = closing.destination == Destination::Numbering;
    const bool bullet = closing.para.bullet;
    const int bulletIndent = closing.para.bulletIndent;
    const bool noteEnds = note.depth == stack.size();
    const ParaState para = closing.para;
    if (stack.size() == 1)
        endPara = closing.para;
    stack.pop_back();
    // A shape's picture stands in the text around the shape: what the group set inside it does
    // not format the paragraph or decide over its list label.
    if (shape)
        placePicture(*shape->picture, shape->chars);
    if (noteEnds)
        endNote(para);
    // Text before the first paragraph's own formatting is in the default style.
    if (styleSheetDone && !stack.empty() && top().destination == Destination::Text)
        replayStyle(paragraphStyles, 0, AllParts);
    // \pn lives in its own group but numbers the paragraph around it.
    if (numbering && !stack.empty() && top().destination != Destination::Numbering) {
        top().para.bullet = bullet;
        top().para.bulletIndent = bulletIndent;
        top().para.legacy = bullet ? -1 : legacyLevel();
    }
}

void Interpreter::controlWord(const Token &token)
{
    const ControlWord *word = findControlWord(token.text);
    if (fallbackToSkip > 0 && token.text != "u") {
        --fallbackToSkip;
        if (token.text == "bin")
            binary(token);
        return;
    }
    fallbackToSkip = 0;
    if (ignorablePending) {
        ignorablePending = false;
        if (!word || !word->destination) {
            top().destination = Destination::Skip;
            return;
        }
    }
    if (top().destination == Destination::Picture && PictureReader::isPictureWord(token.text)) {
        pictureReader.word(token);
        return;
    }
    if (!word)
        return;
    if (top().destination == Destination::StyleSheet && stack.size() > styleSheetDepth
        && !word->runs<&Interpreter::style>() && !word->runs<&Interpreter::basedOn>()) {
        if (styleParts(*word) != 0 && styleEntry.words.size() < maxStyleWords)
            styleEntry.words.push_back(StyleWord {word, token.param, token.hasParam});
        return;
    }
    word->run(*this, token);
}

void Interpreter::controlSymbol(const Token &token)
{
    if (fallbackToSkip > 0) {
        --fallbackToSkip;
        return;
    }
    switch (token.symbol) {
    case '*':
        ignorablePending = true;
        break;
    case '~':
        put(QChar(0x00A0));
        break;
    case '-':
        put(QChar(0x00AD));
        break;
    case '_':
        put(QChar(0x2011));
        break;
    default:
        break;
    }
}

void Interpreter::text(std::string_view bytes)
{
    size_t i = 0;
    while (fallbackToSkip > 0 && i < bytes.size()) {
        --fallbackToSkip;
        ++i;
    }
    if (i == bytes.size())
        return;
    const GroupState &state = top();
    if (state.destination == Destination::Picture) {
        pictureReader.hex(bytes.substr(i));
        return;
    }
    if (state.destination == Destination::Text && codepage::isDirect(state.codePage)) {
        beginContent();
        useRunState();
        for (; i < bytes.size(); ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            if (b >= 0x20 || b == '\t')
                out.runText.append(codepage::directChar(state.codePage, b));
        }
        return;
    }
    for (; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b >= 0x20 || b == '\t')
            byte(b);
    }
}

void Interpreter::byte(unsigned char value)
{
    GroupState &state = top();
    switch (state.destination) {
    case Destination::Text:
    case Destination::FieldInstruction:
        // An instruction's words and paths are text even in a symbol font.
        if (codepage::isDirect(state.codePage)) {
            put(codepage::directChar(
                state.destination == Destination::Text ? state.codePage : codepage::ansi, value));
            return;
        }
        if (!pendingBytes.isEmpty() && pendingCodePage != state.codePage)
            flushBytes();
        pendingCodePage = state.codePage;
        pendingBytes.append(static_cast<char>(value));
        return;
    case Destination::FontTable:
        if (value == ';')
            commitFont();
        else if (!fontDefinition.done)
            fontDefinition.bytes.append(static_cast<char>(value));
        return;
    case Destination::ColorTable:
        if (value == ';') {
            colors.append(colorGiven ? QColor(red, green, blue) : QColor());
            red = green = blue = 0;
            colorGiven = false;
        }
        return;
    case Destination::ListLabel:
    case Destination::NumberBefore:
    case Destination::NumberAfter:
        put(codepage::directChar(
            codepage::isDirect(state.codePage) ? state.codePage : codepage::ansi, value));
        return;
    case Destination::LevelText:
        // Below 10 the bytes are the length and the places of the numbers, not characters.
        put(value < 0x20 ? QChar(value) : QChar(static_cast<char16_t>(levelByte + value)));
        return;
    default:
        return;
    }
}

void Interpreter::put(QChar c)
{
    if (top().destination == Destination::LevelText) {
        Level *level = currentLevel();
        if (level && level->text.size() < maxLabel)
            level->text.append(c);
        return;
    }
    if (!isInsertable(c))
        return;
    switch (top().destination) {
    case Destination::Text:
        appendChar(c);
        return;
    case Destination::ListLabel:
        if (label.size() < maxLabel)
            label.append(c);
        return;
    case Destination::NumberBefore:
        if (legacyNumber.before.size() < maxLabel)
            legacyNumber.before.append(c);
        return;
    case Destination::NumberAfter:
        if (legacyNumber.after.size() < maxLabel)
            legacyNumber.after.append(c);
        return;
    case Destination::FontTable:
        if (!fontDefinition.done) {
            fontDefinition.name += decoder.decode(codepage::ansi, fontDefinition.bytes);
            fontDefinition.bytes.clear();
            fontDefinition.name.append(c);
        }
        return;
    case Destination::FieldInstruction:
        if (!fields.empty() && fields.back().instruction.size() < maxInstruction)
            fields.back().instruction.append(c);
        return;
    default:
        return;
    }
}

void Interpreter::appendChar(QChar c)
{
    beginContent();
    useRunState();
    out.runText.append(c);
}

void Interpreter::flushBytes()
{
    const QByteArray bytes = std::exchange(pendingBytes, QByteArray());
    const Destination destination = top().destination;
    if (destination != Destination::Text && destination != Destination::FieldInstruction)
        return;
    const QString decoded = decoder.decode(pendingCodePage, bytes);
    if (decoded.isEmpty())
        return;
    if (destination == Destination::FieldInstruction) {
        for (QChar c : decoded)
            put(c);
        return;
    }
    beginContent();
    useRunState();
    for (QChar c : decoded) {
        if (isInsertable(c))
            out.runText.append(c);
    }
}

void Interpreter::beginContent()
{
    if (keptObject.depth != 0)
        ++keptObject.contents;
    settleMarksAfter();
    if (out.pendingParagraph) {
        flushRun();
        const ParaState &para = top().para;
        const Level *level = resolveLevel(para);
        if (level && hasNumber(level)) {
            cursor.insertBlock(QTextBlockFormat(), charFormat(top().chars));
            cursor.setBlockFormat(blockFormat(para, level, listObject(para, *level)));
        } else {
            cursor.insertBlock(blockFormat(para, level, -1), charFormat(top().chars));
        }
        out.blockState = para;
        out.blockHasFormat = true;
        out.blockCreated = true;
        out.pendingParagraph = false;
        attachSection();
    }
    if (note.depth != 0 && note.start < 0)
        note.start = cursor.position() + static_cast<int>(out.runText.size());
    if (out.pendingCells > 0) {
        useRunState();
        out.runText.append(QString(std::exchange(out.pendingCells, 0), QLatin1Char('\t')));
    }
    if (!out.pendingLabel.isEmpty())
        takeLabel();
}

void Interpreter::useRunState()
{
    if (top().chars == out.runState)
        return;
    flushRun();
    out.runState = top().chars;
}

void Interpreter::flushRun()
{
    if (out.runText.isEmpty())
        return;
    const QTextCharFormat format = charFormat(out.runState);
    if (!out.marksBefore.isEmpty()) {
        const qsizetype length
            = out.runText.size() > 1 && out.runText.front().isHighSurrogate() ? 2 : 1;
        QTextCharFormat marked = format;
        TextMarks::setBefore(marked, std::exchange(out.marksBefore, QByteArray()));
        cursor.insertText(out.runText.first(length), marked);
        out.runText.remove(0, length);
    }
    if (!out.runText.isEmpty())
        cursor.insertText(out.runText, format);
    out.runText.clear();
}

void Interpreter::applyBlockFormat(const ParaState &state)
{
    ParaState shown = state;
    if (out.labelKept) {
        shown.bullet = false;
        shown.list = 0;
        shown.legacy = -1;
    }
    if (out.blockHasFormat && out.blockState == shown)
        return;
    const Level *level = resolveLevel(shown);
    const int object = level && hasNumber(level) ? listObject(shown, *level) : -1;
    QTextBlockFormat format = blockFormat(shown, level, object);
    section::addGroups(format, section::groups(cursor.blockFormat()));
    cursor.setBlockFormat(format);
    out.blockState = shown;
    out.blockHasFormat = true;
}

void Interpreter::finish()
{
    if (!pendingBytes.isEmpty() && !stack.empty())
        flushBytes();
    attachSection();
    // A file cut off inside a picture keeps the picture's data up to there.
    const auto picture = std::find_if(stack.rbegin(), stack.rend(), [](const GroupState &state) {
        return state.destination == Destination::Picture;
    });
    if (picture != stack.rend())
        insertPicture(*picture);
    if (note.depth != 0)
        endNote(stack.empty() ? endPara : top().para);
    flushRun();
    endMarks();
    const ParaState last = stack.empty() ? endPara : top().para;
    if (appendNotes(last)) {
        if (!cursor.atBlockEnd())
            cursor.insertBlock(startBlockFormat);
        return;
    }
    if (out.pendingParagraph) {
        // The document's last paragraph end only closes its paragraph; inside existing text it
        // splits the paragraph the text was inserted into.
        if (!cursor.atEnd())
            cursor.insertBlock(startBlockFormat);
        return;
    }
    if (out.blockCreated && !cursor.atBlockEnd())
        cursor.setBlockFormat(startBlockFormat);
    else if (out.blockCreated || startBlockEmpty)
        applyBlockFormat(last);
}

QTextCharFormat Interpreter::charFormat(const CharState &state) const
{
    QTextCharFormat format;
    const auto font = fonts.constFind(state.font);
    if (font != fonts.constEnd() && !font->family.isEmpty())
        format.setFontFamilies(QStringList {font->family});
    format.setFontPointSize(state.halfPoints / 2.0);
    if (state.bold)
        format.setFontWeight(QFont::Bold);
    if (state.italic)
        format.setFontItalic(true);
    if (state.underline != QTextCharFormat::NoUnderline)
        format.setUnderlineStyle(static_cast<QTextCharFormat::UnderlineStyle>(state.underline));
    if (state.strike)
        format.setFontStrikeOut(true);
    if (state.color >= 0 && state.color < colors.size() && colors.at(state.color).isValid())
        format.setForeground(colors.at(state.color));
    if (state.highlight > 0 && state.highlight < colors.size()
        && colors.at(state.highlight).isValid())
        format.setBackground(colors.at(state.highlight));
    double offset = state.offsetTwips;
    if (state.script != CharState::Normal)
        offset = (state.script == CharState::Super ? 10.0 : -10.0) * state.halfPoints / 3.0;
    if (offset != 0)
        TextFormat::setCharOffset(format, offset);
    if (state.hidden)
        TextFormat::setHidden(format);
    if (state.field > 0)
        TextField::set(format, fieldContexts[static_cast<size_t>(state.field)]);
    return format;
}

QTextBlockFormat Interpreter::blockFormat(const ParaState &state, const Level *level, int listIndex)
{
    QTextBlockFormat format;
    format.setAlignment(state.alignment);
    const bool levelIndents = level && !state.leftGiven && !state.firstGiven;
    const int left = levelIndents ? level->left : state.left;
    const int firstLine = levelIndents ? level->firstLine : state.firstLine;
    if (listIndex >= 0)
        format.setObjectIndex(listIndex);
    if (state.spaceBefore != 0 || state.spaceAfter != 0 || state.lineSpacing != 0)
        TextFormat::setSpacing(format, state.spaceBefore, state.spaceAfter, state.lineSpacing,
                               state.lineMultiple);
    TextFormat::setIndents(format, (left + firstLine) * mmPerTwip, -firstLine * mmPerTwip,
                           state.right * mmPerTwip);
    if (state.tabCount > 0) {
        QList<double> stops;
        stops.reserve(state.tabCount);
        for (int i = 0; i < state.tabCount; ++i)
            stops.append(state.tabs[static_cast<size_t>(i)] * mmPerTwip);
        TextFormat::setTabStops(format, stops);
    }
    if (level) {
        // The label stands in the first line's hanging part, as other word processors show it,
        // unless a \pn beside the list gives the bullet's own distance.
        const int label = state.bulletIndent >= 0 ? state.bulletIndent : std::max(-firstLine, 0);
        const double labelMm = label * mmPerTwip;
        if (showsText(level)) {
            TextFormat::setBullet(format, true, labelMm);
            const bool symbols = level->font >= 0 && fontCodePage(level->font) == codepage::symbol;
            TextFormat::setBulletLabel(
                format, shownLabel(*level),
                level->font < 0 || symbols ? QString() : fonts.value(level->font).family);
        } else if (listIndex >= 0) {
            TextFormat::setBullet(format, false, labelMm);
        }
        if (!isLegacy(state, *level))
            TextFormat::setListLevel(format, fileLevel(state, *level));
    } else if (state.bullet) {
        TextFormat::setBullet(format, true, std::max(state.bulletIndent, 0) * mmPerTwip);
    }
    return format;
}

int Interpreter::fontCodePage(int number) const
{
    const auto font = fonts.constFind(number);
    return font == fonts.constEnd() ? documentCodePage : font->codePage;
}

void Interpreter::commitFont()
{
    FontDefinition &definition = fontDefinition;
    if (definition.number < 0 || definition.done)
        return;
    int codePage = codepage::fromCharset(definition.charset, documentCodePage);
    const int nameCodePage = codepage::isDirect(codePage) ? codepage::ansi : codePage;
    const QString name
        = (definition.name + decoder.decode(nameCodePage, definition.bytes)).trimmed();
    if (codePage == codepage::symbol && name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive))
        codePage = codepage::privateUse;
    fonts.insert(definition.number, FileFont {name, codePage});
    definition.done = true;
}

void Interpreter::setCharFlag(const Token &token, CharFlag which)
{
    const bool on = !token.hasParam || token.param != 0;
    CharState &chars = top().chars;
    if (which == CharFlag::Bold)
        chars.bold = on;
    else if (which == CharFlag::Italic)
        chars.italic = on;
    else if (which == CharFlag::Strike)
        chars.strike = on;
    else
        chars.hidden = on;
}

void Interpreter::setUnderline(const Token &token, QTextCharFormat::UnderlineStyle style)
{
    const bool off = token.hasParam && token.param == 0;
    top().chars.underline = static_cast<quint8>(off ? QTextCharFormat::NoUnderline : style);
}

void Interpreter::setFontSize(const Token &token)
{
    const int value = token.hasParam && token.param > 0 ? token.param : 24;
    top().chars.halfPoints = std::clamp(value, 2, maxHalfPoints);
}

void Interpreter::setFont(const Token &token)
{
    GroupState &state = top();
    if (state.destination == Destination::FontTable) {
        commitFont();
        fontDefinition = FontDefinition();
        fontDefinition.number = token.param;
        return;
    }
    state.chars.font = token.param;
    state.codePage = fontCodePage(token.param);
}

void Interpreter::setColor(const Token &token)
{
    top().chars.color = std::max(token.param, 0);
}

void Interpreter::setOffset(const Token &token, Offset sign)
{
    const int halfPoints = token.hasParam ? std::clamp(token.param, 0, maxHalfPoints) : 6;
    CharState &chars = top().chars;
    chars.offsetTwips = static_cast<int>(sign) * halfPoints * 10;
    chars.script = CharState::Normal;
}

void Interpreter::setScript(const Token &, CharState::Script script)
{
    CharState &chars = top().chars;
    chars.script = script;
    chars.offsetTwips = 0;
}

void Interpreter::resetChars(const Token &)
{
    GroupState &state = top();
    // \plain inside a field's result keeps the text in the field.
    const int field = state.chars.field;
    state.chars = CharState();
    state.chars.field = field;
    state.chars.font = defaultFont;
    state.codePage = fontCodePage(defaultFont);
    replayStyle(paragraphStyles, state.para.style, CharacterParts);
}

void Interpreter::resetPara(const Token &)
{
    top().para = ParaState();
    replayStyle(paragraphStyles, 0, ParagraphParts);
}

void Interpreter::setAlignment(const Token &, Qt::AlignmentFlag alignment)
{
    top().para.alignment = alignment;
}

void Interpreter::setIndent(const Token &token, IndentKind which)
{
    ParaState &para = top().para;
    const int value = clampTwips(token.param);
    // A style's indents yield to the list level's.
    if (which == IndentKind::Left) {
        para.left = value;
        para.leftGiven = para.leftGiven || !replaying;
    } else if (which == IndentKind::FirstLine) {
        para.firstLine = value;
        para.firstGiven = para.firstGiven || !replaying;
    } else {
        para.right = value;
    }
}

void Interpreter::addTab(const Token &token)
{
    ParaState &para = top().para;
    // The paragraph's own stops replace those of its style.
    if (!replaying && !para.tabsGiven) {
        para.tabCount = 0;
        para.tabsGiven = true;
    }
    if (para.tabCount < ParaState::maxTabs)
        para.tabs[static_cast<size_t>(para.tabCount++)] = std::clamp(token.param, 0, maxTwips);
}

void Interpreter::setSpacing(const Token &token, SpacingKind which)
{
    ParaState &para = top().para;
    if (which == SpacingKind::Before)
        para.spaceBefore = std::clamp(token.param, 0, maxTwips);
    else if (which == SpacingKind::After)
        para.spaceAfter = std::clamp(token.param, 0, maxTwips);
    else
        para.lineSpacing = token.hasParam ? clampTwips(token.param) : 0;
}

void Interpreter::setLineMultiple(const Token &token)
{
    top().para.lineMultiple = !token.hasParam || token.param != 0;
}

void Interpreter::style(const Token &token, StyleKind kind)
{
    const int number = std::max(token.param, 0);
    GroupState &state = top();
    if (state.destination == Destination::StyleSheet) {
        styleKind = kind;
        styleNumber = number;
        return;
    }
    if (kind == StyleKind::Paragraph) {
        replayStyle(paragraphStyles, number, AllParts);
        top().para.style = number;
    } else if (kind == StyleKind::Character) {
        replayStyle(characterStyles, number, CharacterParts);
    }
}

void Interpreter::basedOn(const Token &token)
{
    if (top().destination == Destination::StyleSheet)
        styleEntry.basedOn = token.param;
}

void Interpreter::commitStyle()
{
    QHash<int, Style> *styles = styleKind == StyleKind::Paragraph ? &paragraphStyles
        : styleKind == StyleKind::Character                       ? &characterStyles
                                                                  : nullptr;
    if (styles && styles->size() < maxLists)
        styles->insert(styleNumber, std::exchange(styleEntry, Style()));
}

// Only the attributes the style and the styles it is based on give are set. As LibreOffice
// reads a style, what the named style itself gives of a reset group stays at the paragraph's
// own value; its other attributes and those of the styles it is based on apply. A document's
// default font is the text's own font, which no style changes.
void Interpreter::replayStyle(const QHash<int, Style> &styles, int number, int parts)
{
    // The chain of styles, the root first; its length and the words replayed are bounded, so
    // that no file makes each style reference expensive.
    std::array<const Style *, maxStyleDepth> chain {};
    size_t depth = 0;
    for (auto found = styles.constFind(number); found != styles.constEnd() && depth < chain.size();
         found = styles.constFind(found->basedOn)) {
        chain[depth++] = &*found;
        if (found->basedOn < 0 || found->basedOn == number)
            break;
    }
    int reset = defaultFontGiven ? FontGroup : 0;
    if (depth > 0) {
        for (const StyleWord &entry : chain[0]->words)
            reset |= resetGroup(entry);
    }
    const bool outer = !replaying;
    replaying = true;
    size_t budget = maxStyleWords;
    while (depth > 0 && budget > 0) {
        for (const StyleWord &entry : chain[--depth]->words) {
            if ((styleParts(*entry.word) & parts) == 0 || (resetGroup(entry) & reset) != 0)
                continue;
            if (budget == 0)
                break;
            --budget;
            replayWord(entry);
        }
    }
    if (outer)
        replaying = false;
}

void Interpreter::replayWord(const StyleWord &entry)
{
    Token token;
    token.kind = Token::ControlWord;
    token.text = entry.word->name;
    token.param = entry.param;
    token.hasParam = entry.hasParam;
    entry.word->run(*this, token);
}

void Interpreter::setHighlight(const Token &token)
{
    top().chars.highlight = std::max(token.param, 0);
}

void Interpreter::paragraph(const Token &)
{
    if (top().destination != Destination::Text)
        return;
    beginContent();
    flushRun();
    // A mark that ends its paragraph stays with the paragraph's last character.
    if (!out.marksBefore.isEmpty() && characterBehind())
        attachMarksAfter(cursor.position() - 1, std::exchange(out.marksBefore, QByteArray()));
    const ParaState &para = top().para;
    applyBlockFormat(out.cellList && !listed(para) ? *out.cellList : para);
    attachSection();
    out.cellList.reset();
    out.pendingParagraph = true;
    out.labelKept = false;
}

void Interpreter::character(const Token &, char16_t unicode)
{
    put(QChar(unicode));
}

void Interpreter::unicode(const Token &token)
{
    int value = token.param;
    if (value < 0)
        value += 65536;
    if (value >= 0 && value <= 0xFFFF) {
        QChar c(static_cast<char16_t>(value));
        if (top().codePage == codepage::symbol)
            c = codepage::symbolFromPrivateUse(c.unicode());
        put(c);
    }
    fallbackToSkip = top().unicodeSkip;
}

void Interpreter::setUnicodeSkip(const Token &token)
{
    top().unicodeSkip = std::clamp(token.param, 0, 255);
}

void Interpreter::setCodePage(const Token &, int codePage)
{
    if (insideKeptGroup())
        return;
    documentCodePage = codePage > 0 ? codePage : codepage::ansi;
    top().codePage = fontCodePage(top().chars.font);
}

// \ansicpg: the page the word's parameter names.
void Interpreter::setCodePageNumber(const Token &token)
{
    setCodePage(token, token.param);
}

void Interpreter::setDefaultFont(const Token &token)
{
    if (insideKeptGroup())
        return;
    defaultFont = token.param;
    defaultFontGiven = true;
    top().chars.font = token.param;
}

void Interpreter::setFontCharset(const Token &token)
{
    if (top().destination == Destination::FontTable)
        fontDefinition.charset = token.param;
}

void Interpreter::setColorPart(const Token &token, ColorPart part)
{
    if (top().destination != Destination::ColorTable)
        return;
    const int value = std::clamp(token.param, 0, 255);
    if (part == ColorPart::Red)
        red = value;
    else if (part == ColorPart::Green)
        green = value;
    else
        blue = value;
    colorGiven = true;
}

void Interpreter::binary(const Token &token)
{
    if (!token.hasParam)
        return;
    if (!stack.empty() && top().destination == Destination::Picture)
        pictureReader.binary(tokenizer->takeBytes(token.param));
    else
        tokenizer->skipBytes(token.param);
}

void Interpreter::enter(const Token &, Destination target)
{
    GroupState &state = top();
    if (keepsOut(state, target)
        || (target == Destination::LevelText && state.destination != Destination::ListLevel)) {
        state.destination = Destination::Skip;
        return;
    }
    if (target == Destination::FieldInstruction && fields.empty()) {
        state.destination = Destination::Skip;
        return;
    }
    // Only the field's own instruction is recorded; one nested in it is part of that.
    if (target == Destination::FieldInstruction && fields.back().depth + 1 == stack.size()
        && state.destination == Destination::Text && !fields.back().recorded)
        fields.back().recordDepth = 0;
    state.destination = target;
    if (target == Destination::FontTable) {
        fontDefinition = FontDefinition();
    } else if (target == Destination::Numbering) {
        state.para.bullet = false;
        state.para.bulletIndent = -1;
        legacyNumber = LegacyNumber();
    } else if (target == Destination::ListLabel) {
        label.clear();
    } else if (target == Destination::StyleSheet) {
        styleSheetDepth = stack.size();
    }
}

void Interpreter::picture(const Token &)
{
    GroupState &state = top();
    if (state.destination != Destination::Text && state.destination != Destination::Shape) {
        state.destination = Destination::Skip;
        return;
    }
    state.destination = Destination::Picture;
    pictureReader.start();
}

// \shppict holds the picture in the text; an \object shows only its \result.
void Interpreter::pictureHolder(const Token &, PictureHolder holder)
{
    GroupState &state = top();
    // Inside a shape every picture is a candidate for the shape's.
    if (state.destination == Destination::Shape)
        return;
    if (holder == PictureHolder::Object && keptObject.depth == 0 && opensKeptGroup())
        keptObject = KeptObject {stack.size(), 0, 0, -1, state.codePage, state.unicodeSkip};
    const Destination inside
        = holder == PictureHolder::ObjectResult ? Destination::Object : Destination::Text;
    if (state.destination != inside)
        state.destination = Destination::Skip;
    else if (holder == PictureHolder::Object)
        state.destination = Destination::Object;
    else
        state.destination = Destination::Text;
}

void Interpreter::insertPicture(const GroupState &state)
{
    std::optional<TextPicture::Picture> picture = pictureReader.finish();
    if (!picture)
        return;
    if (keptShape.depth != 0) {
        if (!keptShape.picture)
            keptShape.picture = std::move(picture);
        return;
    }
    placePicture(*picture, state.chars);
}

void Interpreter::placePicture(const TextPicture::Picture &picture, const CharState &chars)
{
    beginContent();
    flushRun();
    QTextCharFormat format = charFormat(chars);
    format.merge(TextPicture::format(picture));
    TextMarks::setBefore(format, std::exchange(out.marksBefore, QByteArray()));
    cursor.insertText(QString(QChar::ObjectReplacementCharacter), format);
    if (keptObject.depth != 0) {
        ++keptObject.pictures;
        keptObject.position = cursor.position() - 1;
    }
}

// A destination whose text other readers read as the text around it.
void Interpreter::readInside(const Token &) { }

int Interpreter::styleParts(const ControlWord &word)
{
    using I = Interpreter;
    if (word.runs<&I::setCharFlag>() || word.runs<&I::setUnderline>()
        || word.runs<&I::setFontSize>() || word.runs<&I::setFont>() || word.runs<&I::setColor>()
        || word.runs<&I::setHighlight>() || word.runs<&I::setOffset>()
        || word.runs<&I::setScript>())
        return CharacterParts;
    if (word.runs<&I::setAlignment>() || word.runs<&I::addTab>() || word.runs<&I::setListStyle>()
        || word.runs<&I::setListLevel>() || word.runs<&I::setSpacing>()
        || word.runs<&I::setLineMultiple>() || word.runs<&I::setIndent>())
        return ParagraphParts;
    return 0;
}

int Interpreter::resetGroup(const StyleWord &entry)
{
    using I = Interpreter;
    const ControlWord &word = *entry.word;
    if (word.runs<&I::setFontSize>())
        return SizeGroup;
    if (word.runs<&I::setFont>())
        return FontGroup;
    if (const auto flag = word.argumentOf<&I::setCharFlag>())
        return *flag == CharFlag::Bold ? BoldGroup : *flag == CharFlag::Italic ? ItalicGroup : 0;
    if (word.runs<&I::setUnderline>())
        return UnderlineGroup;
    if (word.runs<&I::setColor>())
        return ColorGroup;
    if (word.runs<&I::setIndent>())
        return IndentGroup;
    if (const auto spacing = word.argumentOf<&I::setSpacing>())
        return *spacing == SpacingKind::Line ? 0 : SpaceGroup;
    return 0;
}

} // namespace rtf
