// The RTF interpreter: group stack, destinations and the handlers of the control-word table.
#include "text/rtf/RtfInterpreter.h"

#include "text/TextFormat.h"
#include "text/TextMarks.h"
#include "text/rtf/RtfSectionGroups.h"

#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextList>
#include <algorithm>

namespace rtf {

namespace {

// Deeper groups are counted but not kept: nothing real nests that far.
constexpr size_t maxDepth = 512;
// What the edit control holds, so that a file it wrote comes back as written.
constexpr int maxTwips = static_cast<int>(TextFormat::maxLengthTwips);
constexpr int maxHalfPoints = 2 * static_cast<int>(TextFormat::maxFontPoints);
constexpr qsizetype maxInstruction = 1024;
// Instructions kept for writing back: each, and all of a file's together.
constexpr qsizetype maxInstructionRtf = 16 * 1024;
constexpr qsizetype maxInstructionBytes = 16 * 1024 * 1024;
constexpr size_t maxFieldContexts = 1 << 16;
// Fields kept inside one another; each result carries all around it, so deeper ones read as
// plain results.
constexpr qsizetype maxFieldNesting = 16;
constexpr qsizetype maxLabel = 64;
constexpr double mmPerTwip = 25.4 / 1440.0;
constexpr size_t maxLevels = 9;
constexpr int maxListItems = 1000;
constexpr qsizetype maxLists = 4096; // list definitions, overrides and styles each
constexpr size_t maxStyleDepth = 16;
constexpr size_t maxStyleWords = 256;
constexpr int bulletLevel = 23;
constexpr int noLabelLevel = 255;
constexpr int maxLevelStart = 32767;
// A byte of a level's text waits here, at U+F000 and up, until the level's font gives its code
// page; symbol fonts keep it there, as Windows writes their characters.
constexpr char16_t levelByte = 0xF000;

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

// Characters that would split the block structure or mean nothing in running text.
bool isInsertable(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x20)
        return u == '\t';
    return u != 0xFDD0 && u != 0xFDD1 && u != 0xFFFC && u != QChar::ParagraphSeparator;
}

QTextListFormat::Style numberStyle(int numbering)
{
    switch (static_cast<LevelNumbering>(numbering)) {
    case LevelNumbering::UpperRoman:
        return QTextListFormat::ListUpperRoman;
    case LevelNumbering::LowerRoman:
        return QTextListFormat::ListLowerRoman;
    case LevelNumbering::UpperLetter:
        return QTextListFormat::ListUpperAlpha;
    case LevelNumbering::LowerLetter:
        return QTextListFormat::ListLowerAlpha;
    default:
        return QTextListFormat::ListDecimal;
    }
}

// Beyond what Roman numerals write the number stays decimal.
QString lowerRoman(int number)
{
    if (number <= 0 || number >= 4000)
        return QString::number(number);
    static constexpr std::pair<int, const char *> digits[]
        = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
           {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    QString text;
    for (const auto &[value, letters] : digits) {
        for (; number >= value; number -= value)
            text += QLatin1String(letters);
    }
    return text;
}

// a, b, ... z, aa, ab: as list numbers count in letters.
QString alphabetic(int number)
{
    QString text;
    for (; number > 0; number = (number - 1) / 26)
        text.prepend(QChar(u'a' + (number - 1) % 26));
    return text.isEmpty() ? QStringLiteral("0") : text;
}

bool isPlaceholder(QChar c)
{
    return c.unicode() < 10;
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

// A list or bullet that shows its own label makes the label written for other readers
// superfluous; without one the label is the paragraph's text.
void Interpreter::takeLabel()
{
    const QString text = std::exchange(out.pendingLabel, QString());
    if (resolveLevel(top().para) || top().para.bullet)
        return;
    out.labelKept = true;
    useRunState();
    for (QChar c : text) {
        if (isInsertable(c))
            out.runText.append(c);
    }
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

// The paragraph's level in the list table, as its override formats it, or else the numbering
// of its \pn.
const Interpreter::Level *Interpreter::resolveLevel(const ParaState &state) const
{
    const Level *legacy
        = state.legacy >= 0 ? &legacyLevels[static_cast<size_t>(state.legacy)] : nullptr;
    if (state.list <= 0)
        return legacy;
    const auto entry = overrides.constFind(state.list);
    if (entry == overrides.constEnd())
        return legacy;
    const std::vector<Level> *levels = &entry->resolved;
    if (levels->empty()) {
        const auto index = listById.constFind(entry->listId);
        if (index == listById.constEnd())
            return legacy;
        levels = &listDefinitions[static_cast<size_t>(*index)].levels;
    }
    const auto level = static_cast<size_t>(state.level);
    return level < levels->size() ? &(*levels)[level] : nullptr;
}

// How a paragraph's \ls counts: paragraphs of one list count on together, whichever of its
// overrides they name, as LibreOffice counts them; an override with formats or start numbers of
// its own counts apart.
int Interpreter::listKey(const ParaState &state) const
{
    const auto entry = overrides.constFind(state.list);
    if (entry == overrides.constEnd())
        return 0;
    if (!entry->resolved.empty())
        return static_cast<int>(maxLists) + entry->index;
    return listById.value(entry->listId, 0);
}

bool Interpreter::isLegacy(const ParaState &state, const Level &level) const
{
    return state.legacy >= 0 && &level == &legacyLevels[static_cast<size_t>(state.legacy)];
}

// The override's levels in place of the list's, once its \ls names it.
void Interpreter::resolveOverride(ListOverride &entry) const
{
    const bool own = std::any_of(entry.levels.begin(), entry.levels.end(),
                                 [](const LevelOverride &l) { return l.format || l.start; });
    if (own) {
        const auto index = listById.constFind(entry.listId);
        if (index != listById.constEnd())
            entry.resolved = listDefinitions[static_cast<size_t>(*index)].levels;
        for (size_t i = 0; i < entry.levels.size(); ++i) {
            const LevelOverride &given = entry.levels[i];
            if (!given.format && !given.start)
                continue;
            if (entry.resolved.size() <= i)
                entry.resolved.resize(i + 1);
            if (given.format)
                entry.resolved[i] = *given.format;
            if (given.start)
                entry.resolved[i].start = *given.start;
        }
    }
    entry.levels.clear();
}

// Once the level's font is known, its bytes are read in the font's code page.
void Interpreter::decodeLevelText(Level &level)
{
    const int codePage = fontCodePage(level.font);
    const bool symbols = codePage == codepage::symbol || codePage == codepage::privateUse;
    QString text;
    QByteArray bytes;
    const auto flush = [&] {
        if (!bytes.isEmpty())
            text += decoder.decode(codePage, std::exchange(bytes, QByteArray()));
    };
    for (const QChar c : level.text) {
        const char16_t u = c.unicode();
        if (!symbols && u >= levelByte + 0x20 && u <= levelByte + 0xFF) {
            bytes.append(static_cast<char>(u - levelByte));
            continue;
        }
        flush();
        if (isPlaceholder(c) || u >= 0x20)
            text.append(c);
    }
    flush();
    level.text = text.left(maxLabel);
}

// A label of text: the Symbol font's characters as the symbols they show.
QString Interpreter::shownLabel(const Level &level) const
{
    const bool symbol = level.font >= 0 && fontCodePage(level.font) == codepage::symbol;
    QString shown;
    for (const QChar c : level.text) {
        if (!isPlaceholder(c))
            shown.append(symbol ? codepage::symbolFromPrivateUse(c.unicode()) : c);
    }
    return shown;
}

TextFormat::ListLevel Interpreter::fileLevel(const ParaState &state, const Level &level)
{
    const int key = listKey(state);
    auto id = listIds.find(key);
    if (id == listIds.end())
        id = listIds.insert(key, TextFormat::newListId());
    TextFormat::ListLevel described;
    described.list = *id;
    described.level = state.level;
    described.numbering = level.numbering;
    described.start = level.start;
    described.text = level.text;
    if (level.font >= 0) {
        described.font = fonts.value(level.font).family;
        const int codePage = fontCodePage(level.font);
        described.symbolFont = codePage == codepage::symbol || codePage == codepage::privateUse;
    }
    return described;
}

// One QTextList per list and level; a paragraph on a level ends the deeper levels' lists, so
// that they count from the start again below the next item.
int Interpreter::listObject(const ParaState &state, const Level &level)
{
    const bool legacy = isLegacy(state, level);
    std::array<int, maxLevels> &objects
        = out.listObjects[legacy ? -1 - state.legacy : listKey(state)].levels;
    const auto at = static_cast<size_t>(legacy ? 0 : state.level);
    for (size_t deeper = at + 1; deeper < maxLevels; ++deeper)
        objects[deeper] = -1;
    // Qt marks every item of a list for layout on each insertion: past this many items a list
    // goes on as a new one, so that loading stays linear.
    if (objects[at] >= 0) {
        const auto *list = qobject_cast<QTextList *>(cursor.document()->object(objects[at]));
        if (list && list->count() < maxListItems)
            return objects[at];
    }
    QTextListFormat format;
    format.setStyle(numberStyle(level.numbering));
    format.setIndent(0);
    // The text around this level's number. The numbers of the levels above ("1.1") stand
    // still while this list lasts: a new item above starts a new list here.
    const QChar own(static_cast<char16_t>(at));
    qsizetype place = level.text.indexOf(own);
    QString prefix;
    QString suffix;
    if (place >= 0) {
        for (qsizetype i = 0; i < place; ++i) {
            const auto c = static_cast<size_t>(level.text.at(i).unicode());
            if (c >= 10)
                prefix.append(level.text.at(i));
            else if (c < at)
                prefix.append(currentNumber(objects[c]));
        }
        for (qsizetype i = place + 1; i < level.text.size() && level.text.at(i).unicode() >= 10;
             ++i)
            suffix.append(level.text.at(i));
    } else {
        suffix = QStringLiteral(".");
    }
    format.setNumberPrefix(prefix);
    format.setNumberSuffix(suffix);
    QTextList *list = cursor.createList(format);
    objects[at] = list->objectIndex();
    return objects[at];
}

// The number of a list's last item as the list writes it; 0 before its first.
QString Interpreter::currentNumber(int listIndex) const
{
    const auto *list = qobject_cast<QTextList *>(cursor.document()->object(listIndex));
    const int number = list ? list->count() : 0;
    switch (list ? list->format().style() : QTextListFormat::ListDecimal) {
    case QTextListFormat::ListLowerRoman:
        return lowerRoman(number);
    case QTextListFormat::ListUpperRoman:
        return lowerRoman(number).toUpper();
    case QTextListFormat::ListLowerAlpha:
        return alphabetic(number);
    case QTextListFormat::ListUpperAlpha:
        return alphabetic(number).toUpper();
    default:
        return QString::number(number);
    }
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

// Whether the label stays is decided with the paragraph's first text, when its list is known.
void Interpreter::finishLabel()
{
    if (top().chars.hidden)
        out.pendingLabel.clear();
    else
        out.pendingLabel = label;
}

// One legacy level per numbering style and text around the number, so that paragraphs
// numbered alike count on in one list.
int Interpreter::legacyLevel()
{
    if (!legacyNumber.numbered)
        return -1;
    const QString text = legacyNumber.before + QChar(0) + legacyNumber.after;
    const QString key = QChar(static_cast<char16_t>(legacyNumber.numbering)) + text;
    if (const auto found = legacyByKey.constFind(key); found != legacyByKey.constEnd())
        return *found;
    if (legacyLevels.size() >= static_cast<size_t>(maxLists))
        return -1;
    Level level;
    level.numbering = legacyNumber.numbering;
    level.text = text;
    legacyLevels.push_back(level);
    const int index = static_cast<int>(legacyLevels.size() - 1);
    legacyByKey.insert(key, index);
    return index;
}

Interpreter::Notes &Interpreter::notesOf(NoteKind kind)
{
    std::unique_ptr<Notes> &gathered = notes[kind];
    if (!gathered)
        gathered = std::make_unique<Notes>();
    return *gathered;
}

// The cursor and what is being written change places with the notes' own.
void Interpreter::swapOutput(NoteKind kind)
{
    Notes &gathered = notesOf(kind);
    cursor.swap(gathered.cursor);
    std::swap(out, gathered.output);
}

// Footnotes count 1, 2, 3, endnotes i, ii, iii, as word processors number them.
QString Interpreter::noteLabel(Note &which)
{
    if (which.number == 0)
        which.number = ++notesOf(which.kind).count;
    return which.kind == Footnote ? QString::number(which.number) : lowerRoman(which.number);
}

// The note's last paragraph is closed, its number put before its text unless the note shows
// it, and the reference is put into the text as a raised number.
void Interpreter::endNote(const ParaState &para)
{
    flushRun();
    endMarks();
    applyBlockFormat(para);
    out.pendingParagraph = true;
    out.labelKept = false;
    Note ended = std::exchange(note, Note());
    if (!ended.referenced) {
        swapOutput(ended.kind);
        return;
    }
    const QString label = noteLabel(ended);
    CharState mark = ended.reference;
    if (mark.offsetTwips <= 0 && mark.script == CharState::Normal)
        mark.script = CharState::Super;
    if (!ended.marked && ended.start >= 0) {
        QTextCursor at(cursor.document());
        at.setPosition(ended.start);
        at.insertText(label + QLatin1Char(' '), charFormat(mark));
    }
    swapOutput(ended.kind);
    putMark(mark, label);
}

void Interpreter::putMark(const CharState &state, const QString &label)
{
    beginContent();
    if (!(out.runState == state)) {
        flushRun();
        out.runState = state;
    }
    out.runText += label;
}

// Footnotes, then endnotes, behind the content, each note a paragraph of its own.
bool Interpreter::appendNotes(const ParaState &last)
{
    bool appended = false;
    for (const std::unique_ptr<Notes> &gathered : notes) {
        if (!gathered || gathered->document.isEmpty())
            continue;
        if (!appended && !out.pendingParagraph)
            applyBlockFormat(last);
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        cursor.insertFragment(QTextDocumentFragment(&gathered->document));
        appended = true;
    }
    return appended;
}

void Interpreter::footnote(const Token &)
{
    GroupState &state = top();
    if (state.destination != Destination::Text || note.depth != 0) {
        state.destination = Destination::Skip;
        return;
    }
    flushRun();
    const bool referenced = note.referenced;
    const CharState reference = note.reference;
    note = Note();
    note.depth = stack.size();
    note.referenced = referenced;
    note.reference = reference;
    swapOutput(Footnote);
}

// \ftnalt makes the note an endnote; it comes before the note's text.
void Interpreter::setEndnote(const Token &)
{
    if (note.depth == 0 || note.kind == Endnote || note.start >= 0)
        return;
    swapOutput(Footnote);
    note.kind = Endnote;
    swapOutput(Endnote);
}

void Interpreter::noteMark(const Token &)
{
    if (top().destination != Destination::Text)
        return;
    if (note.depth == 0) {
        note.referenced = true;
        note.reference = top().chars;
        return;
    }
    note.marked = true;
    for (QChar c : noteLabel(note))
        put(c);
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

void Interpreter::setListStyle(const Token &token)
{
    if (top().destination == Destination::ListOverrideTable) {
        if (overrides.size() < maxLists) {
            ListOverride entry = std::exchange(overrideEntry, ListOverride());
            resolveOverride(entry);
            entry.index = static_cast<int>(overrides.size());
            overrides.insert(token.param, std::move(entry));
        }
        return;
    }
    top().para.list = std::max(token.param, 0);
}

void Interpreter::setListLevel(const Token &token)
{
    top().para.level = std::clamp(token.param, 0, static_cast<int>(maxLevels) - 1);
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

Interpreter::Level *Interpreter::currentLevel()
{
    if (levelOfOverride) {
        if (overrideEntry.levels.empty() || !overrideEntry.levels.back().format)
            return nullptr;
        return &*overrideEntry.levels.back().format;
    }
    if (listDefinitions.empty() || listDefinitions.back().levels.empty())
        return nullptr;
    return &listDefinitions.back().levels.back();
}

void Interpreter::listDefinition(const Token &)
{
    if (top().destination == Destination::ListTable
        && listDefinitions.size() < static_cast<size_t>(maxLists))
        listDefinitions.emplace_back();
}

void Interpreter::listLevel(const Token &)
{
    GroupState &state = top();
    if (state.destination == Destination::ListOverrideLevel && !overrideEntry.levels.empty()
        && !overrideEntry.levels.back().format) {
        overrideEntry.levels.back().format = Level();
        levelOfOverride = true;
    } else if (state.destination == Destination::ListTable && !listDefinitions.empty()
               && listDefinitions.back().levels.size() < maxLevels) {
        listDefinitions.back().levels.emplace_back();
        levelOfOverride = false;
    } else {
        state.destination = Destination::Skip;
        return;
    }
    state.destination = Destination::ListLevel;
    state.para = ParaState();
    state.chars.font = -1;
}

void Interpreter::setLevelNumbering(const Token &token)
{
    Level *level = currentLevel();
    if (level && top().destination == Destination::ListLevel)
        level->numbering = token.param;
}

void Interpreter::setLevelStart(const Token &token)
{
    const int start = std::clamp(token.param, 0, maxLevelStart);
    const Destination destination = top().destination;
    if (destination == Destination::ListLevel) {
        if (Level *level = currentLevel())
            level->start = start;
    } else if (destination == Destination::ListOverrideLevel && !overrideEntry.levels.empty()) {
        overrideEntry.levels.back().start = start;
    }
}

void Interpreter::setListId(const Token &token)
{
    const Destination destination = top().destination;
    if (destination == Destination::ListTable && !listDefinitions.empty()) {
        listDefinitions.back().id = token.param;
        listById.insert(token.param, static_cast<int>(listDefinitions.size() - 1));
    } else if (destination == Destination::ListOverrideTable) {
        overrideEntry.listId = token.param;
    }
}

void Interpreter::listOverride(const Token &)
{
    overrideEntry = ListOverride();
}

void Interpreter::overrideLevel(const Token &)
{
    GroupState &state = top();
    if (state.destination != Destination::ListOverrideTable
        || overrideEntry.levels.size() >= maxLevels) {
        state.destination = Destination::Skip;
        return;
    }
    overrideEntry.levels.emplace_back();
    state.destination = Destination::ListOverrideLevel;
}

void Interpreter::setNumberingIndent(const Token &token)
{
    top().para.bulletIndent = std::clamp(token.param, 0, maxTwips);
}

void Interpreter::setNumberingBullet(const Token &)
{
    top().para.bullet = true;
}

// \pnlvlbody and \pnlvlN number the paragraph, \pnlvlcont continues it unnumbered.
void Interpreter::setNumberingLevel(const Token &, NumberingLevel level)
{
    if (top().destination == Destination::Numbering)
        legacyNumber.numbered = level == NumberingLevel::Numbered;
}

void Interpreter::setNumberingStyle(const Token &, LevelNumbering numbering)
{
    if (top().destination == Destination::Numbering)
        legacyNumber.numbering = static_cast<int>(numbering);
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

// A cell's last paragraph ends with the cell, and its row's cells join in one paragraph: a list
// item among them keeps the joined paragraph in its list.
void Interpreter::cell(const Token &)
{
    if (top().destination != Destination::Text)
        return;
    ++out.pendingCells;
    if (listed(top().para) && !out.cellList)
        out.cellList = top().para;
}

bool Interpreter::listed(const ParaState &state) const
{
    return state.bullet || resolveLevel(state);
}

void Interpreter::row(const Token &token)
{
    if (top().destination != Destination::Text)
        return;
    // Cells are separated by tabs; the last cell of a row needs none.
    out.pendingCells = std::max(out.pendingCells - 1, 0);
    paragraph(token);
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

// --- Groups kept as the file had them: shapes and objects around a picture, headers and footers.

// A group is kept whole only when its first word makes it one: text before that word is the
// text's own, and the root group is the document.
bool Interpreter::opensKeptGroup() const
{
    const GroupState &state = stack.back();
    return state.destination == Destination::Text && state.opening && stack.size() > 1;
}

// A kept group is written back as it was and must read the same wherever it lands: what it
// holds may not change the document around it.
bool Interpreter::insideKeptGroup() const
{
    return keptShape.depth != 0 || keptObject.depth != 0;
}

// A kept shape gives nothing but its picture, and a picture, a kept object or a field's
// instruction holds no tables: the saved file's own tables are numbered anew.
bool Interpreter::keepsOut(const GroupState &state, Destination target) const
{
    if (state.destination == Destination::Shape || state.destination == Destination::Picture)
        return true;
    switch (target) {
    case Destination::FontTable:
    case Destination::ColorTable:
    case Destination::StyleSheet:
    case Destination::ListTable:
    case Destination::ListOverrideTable:
    case Destination::Tables:
        return insideKeptGroup() || state.destination == Destination::FieldInstruction;
    default:
        return false;
    }
}

QByteArray Interpreter::keptBytes(const GroupState &closing, int codePage, int unicodeSkip) const
{
    return kept::own(tokenizer->consumed().sliced(closing.start),
                     kept::Source {fonts, defaultFont, documentCodePage, codePage, unicodeSkip});
}

std::optional<Interpreter::KeptShape> Interpreter::closeKeptGroups(const GroupState &closing)
{
    std::optional<KeptShape> placed;
    if (keptShape.depth == stack.size()) {
        KeptShape shape = std::exchange(keptShape, KeptShape());
        if (shape.picture) {
            shape.picture->rtfGroup = keptBytes(closing, shape.codePage, shape.unicodeSkip);
            placed = std::move(shape);
        }
    }
    if (keptObject.depth == stack.size())
        keepObjectGroup(closing);
    if (sectionDepth == stack.size()) {
        sectionDepth = 0;
        // Nothing in a header is read, so the group's state is the one it began in.
        keepSection(keptBytes(closing, closing.codePage, closing.unicodeSkip));
    }
    if (markDepth == stack.size()) {
        markDepth = 0;
        keepMark(keptBytes(closing, closing.codePage, closing.unicodeSkip), markKind);
    }
    if (infoDepth == stack.size()) {
        infoDepth = 0;
        if (info.isEmpty())
            info = keptBytes(closing, closing.codePage, closing.unicodeSkip);
    }
    return placed;
}

// An object whose result is just its picture is written back whole, in place of the picture;
// not one that leaves a list label for the text behind it, which the saved file would show.
void Interpreter::keepObjectGroup(const GroupState &closing)
{
    const KeptObject object = std::exchange(keptObject, KeptObject());
    if (object.contents != 1 || object.pictures != 1 || !out.pendingLabel.isEmpty())
        return;
    QTextCursor at(cursor);
    at.setPosition(object.position);
    at.setPosition(object.position + 1, QTextCursor::KeepAnchor);
    std::optional<TextPicture::Picture> picture = TextPicture::of(at.charFormat());
    if (!picture)
        return;
    picture->rtfGroup = keptBytes(closing, object.codePage, object.unicodeSkip);
    QTextCharFormat format = at.charFormat();
    format.merge(TextPicture::format(*picture));
    at.setCharFormat(format);
}

// Attached once the paragraph they belong to ends (or the next one begins), not group by group:
// Qt keeps every block format it was given, so growing one step at a time would cost the square
// of their size.
void Interpreter::keepSection(QByteArrayView bytes)
{
    pendingSection += bytes;
}

// Kept section bytes go with the paragraph being read, or with the next one after a paragraph
// end.
void Interpreter::attachSection()
{
    if (pendingSection.isEmpty())
        return;
    QTextBlockFormat format = cursor.blockFormat();
    section::addGroups(format, std::exchange(pendingSection, QByteArray()));
    cursor.setBlockFormat(format);
}

void Interpreter::shape(const Token &, ShapeGroup part)
{
    GroupState &state = top();
    if (state.destination == Destination::Shape)
        return;
    if (part == ShapeGroup::Whole && keptShape.depth == 0 && opensKeptGroup()) {
        keptShape = KeptShape {stack.size(), std::nullopt, state.chars, state.codePage,
                               state.unicodeSkip};
        state.destination = Destination::Shape;
        return;
    }
    state.destination = Destination::Skip;
}

// Headers and footers are neither shown nor edited, only kept.
void Interpreter::sectionGroup(const Token &)
{
    GroupState &state = top();
    if (sectionDepth == 0 && note.depth == 0 && opensKeptGroup())
        sectionDepth = stack.size();
    state.destination = Destination::Skip;
}

// The words that make other readers use the first-page and the left and right headers.
void Interpreter::sectionWord(const Token &token)
{
    if (top().destination != Destination::Text || note.depth != 0 || insideKeptGroup())
        return;
    QByteArray word = "\\";
    word += QByteArrayView(token.text.data(), static_cast<qsizetype>(token.text.size()));
    keepSection(word);
}

// Bookmarks and comments are neither shown nor edited, only kept with the text beside them.
void Interpreter::mark(const Token &, MarkKind kind)
{
    if (markDepth == 0 && !insideKeptGroup() && opensKeptGroup()) {
        markDepth = stack.size();
        markKind = kind;
    }
    top().destination = Destination::Skip;
}

// \chatn: the place of a comment's mark in the text.
void Interpreter::markWord(const Token &token)
{
    if (top().destination != Destination::Text || insideKeptGroup())
        return;
    QByteArray word = "\\";
    word += QByteArrayView(token.text.data(), static_cast<qsizetype>(token.text.size()));
    keepMark(word, MarkKind::End);
}

// The document's title, author and dates, kept whole when they stand in the document's header.
void Interpreter::documentInfo(const Token &)
{
    if (infoDepth == 0 && stack.size() == 2 && opensKeptGroup())
        infoDepth = stack.size();
    top().destination = Destination::Skip;
}

// A mark stays with the character it stood before; an end with the one it stood behind while
// its paragraph has one and no start waits for the next character. Deleting the text around a
// mark so deletes it.
void Interpreter::keepMark(QByteArrayView bytes, MarkKind kind)
{
    flushRun();
    if (kind == MarkKind::End && out.marksBefore.isEmpty() && characterBehind())
        out.marksAfter += bytes;
    else
        out.marksBefore += bytes;
}

// Whether the paragraph being read has a character of this read before the mark.
bool Interpreter::characterBehind() const
{
    if (out.pendingParagraph || out.pendingCells > 0)
        return false;
    return !out.runText.isEmpty()
        || (cursor.positionInBlock() > 0 && cursor.position() > out.first);
}

// The last character of this read before the cursor, paragraph ends aside; -1 for none.
int Interpreter::lastCharacter() const
{
    int end = cursor.position();
    for (QTextBlock block = cursor.block(); block.isValid() && end > out.first;
         block = block.previous()) {
        if (end > block.position())
            return end - 1;
        end = block.position() - 1;
    }
    return -1;
}

void Interpreter::attachMarksAfter(int position, const QByteArray &bytes)
{
    QTextCursor at(cursor);
    const QTextDocument &document = *cursor.document();
    int start = position;
    if (start > 0 && document.characterAt(start).isLowSurrogate()
        && document.characterAt(start - 1).isHighSurrogate())
        --start;
    at.setPosition(start);
    at.setPosition(position + 1, QTextCursor::KeepAnchor);
    QTextCharFormat format = at.charFormat();
    TextMarks::setAfter(format, TextMarks::after(format) + bytes);
    at.setCharFormat(format);
}

// Marks behind a character are attached once the next content comes, not mark by mark: each
// attachment copies them.
void Interpreter::settleMarksAfter()
{
    if (out.marksAfter.isEmpty())
        return;
    flushRun();
    attachMarksAfter(cursor.position() - 1, std::exchange(out.marksAfter, QByteArray()));
}

// Marks left at the end of the text stay with its last character; without one they are lost.
void Interpreter::endMarks()
{
    settleMarksAfter();
    if (out.marksBefore.isEmpty())
        return;
    const QByteArray bytes = std::exchange(out.marksBefore, QByteArray());
    if (const int position = lastCharacter(); position >= 0)
        attachMarksAfter(position, bytes);
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
