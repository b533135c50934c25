// The RTF interpreter's lists: the list and override tables, \pn numbering, the labels written
// for other readers, and the QTextList each list and level is shown in.
#include "text/rtf/RtfInterpreter.h"

#include "text/TextFormat.h"
#include "text/rtf/RtfInterpreterShared.h"

#include <QTextList>
#include <algorithm>

namespace rtf {

namespace {

constexpr size_t maxLevels = 9;
constexpr int maxListItems = 1000;
constexpr int maxLevelStart = 32767;

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

// a, b, ... z, aa, ab: as list numbers count in letters.
QString alphabetic(int number)
{
    QString text;
    for (; number > 0; number = (number - 1) / 26)
        text.prepend(QChar(u'a' + (number - 1) % 26));
    return text.isEmpty() ? QStringLiteral("0") : text;
}

} // namespace

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

bool Interpreter::listed(const ParaState &state) const
{
    return state.bullet || resolveLevel(state);
}

} // namespace rtf
