// Writes a document range as RTF 1.x that our reader, LibreOffice and AbiWord read back.
#include "text/rtf/RtfWriter.h"

#include "common/Cp1252.h"
#include "text/TextField.h"
#include "text/TextFormat.h"
#include "text/TextMarks.h"
#include "text/rtf/RtfFontTable.h"
#include "text/rtf/RtfInfoGroup.h"
#include "text/rtf/RtfKeptGroup.h"
#include "text/rtf/RtfPicture.h"
#include "text/rtf/RtfSectionGroups.h"

#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace rtf {

namespace {

constexpr int softLineLength = 100;
constexpr int hardLineLength = 200;
constexpr int maxAffix = 32; // characters around a list number
constexpr int maxLevels = 9;
constexpr char16_t levelNumbers = 10; // characters of a level's text below this are numbers
constexpr int bulletNumbering = 23; // \levelnfc of a bullet
constexpr int maxNumbering = 4; // the number styles of the program's own lists go up to this

int twips(double mm)
{
    return qRound(mm * TextFormat::twipsPerMm);
}

// What the reader's state holds after the controls written so far.
struct Chars
{
    enum Script { Normal, Super, Sub };

    int font = 0;
    int halfPoints = 24;
    int color = 0;
    int highlight = 0;
    int offsetHalfPoints = 0;
    Script script = Normal;
    int underline = QTextCharFormat::NoUnderline;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
};

const char *underlineWord(int style)
{
    switch (style) {
    case QTextCharFormat::NoUnderline:
        return "ulnone";
    case QTextCharFormat::DashUnderline:
        return "uldash";
    case QTextCharFormat::DotLine:
        return "uld";
    case QTextCharFormat::DashDotLine:
        return "uldashd";
    case QTextCharFormat::DashDotDotLine:
        return "uldashdd";
    case QTextCharFormat::WaveUnderline:
    case QTextCharFormat::SpellCheckUnderline:
        return "ulwave";
    default:
        return "ul";
    }
}

// The list-table number format of a numbered list style; -1 for a bullet style.
int numbering(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDecimal:
        return 0;
    case QTextListFormat::ListUpperRoman:
        return 1;
    case QTextListFormat::ListLowerRoman:
        return 2;
    case QTextListFormat::ListUpperAlpha:
        return 3;
    case QTextListFormat::ListLowerAlpha:
        return 4;
    default:
        return -1;
    }
}

const QTextList *numberedList(const QTextBlock &block)
{
    if (TextFormat::bullet(block.blockFormat()))
        return nullptr;
    const QTextList *list = block.textList();
    return list && numbering(list->format().style()) >= 0 ? list : nullptr;
}

// The level of a file's list a paragraph shows the label of, if it still shows one.
std::optional<TextFormat::ListLevel> shownLevel(const QTextBlock &block)
{
    const QTextBlockFormat format = block.blockFormat();
    if (!TextFormat::bullet(format) && !numberedList(block))
        return std::nullopt;
    return TextFormat::listLevel(format);
}

// A list of the file the text was read from, written as that list with its levels.
struct FileList
{
    int number = 0; // its \listid and \ls
    std::array<std::optional<TextFormat::ListLevel>, maxLevels> levels;
};

bool isNumber(QChar c)
{
    return c.unicode() < levelNumbers;
}

// A list of one level that the program's own lists write alike: the usual bullet, or a number
// from 1 between two texts.
bool writtenAlike(const FileList &list)
{
    if (std::any_of(list.levels.begin() + 1, list.levels.end(),
                    [](const auto &level) { return level.has_value(); }))
        return false;
    const std::optional<TextFormat::ListLevel> &level = list.levels.front();
    if (!level || level->start != 1 || !level->font.isEmpty())
        return false;
    const auto numbers = std::count_if(level->text.begin(), level->text.end(), isNumber);
    if (numbers == 0)
        return level->text == QStringLiteral("\u2022")
            || (level->text.isEmpty() && level->numbering == bulletNumbering);
    return numbers == 1 && level->text.contains(QChar(0)) && level->numbering >= 0
        && level->numbering <= maxNumbering;
}

class Writer
{
public:
    Writer(const QTextDocument &document, int from, int to);
    QByteArray write();

private:
    void collect();
    void collectFileLists();
    std::optional<TextFormat::ListLevel> fileLevel(const QTextBlock &block) const;
    void collectKept(QByteArrayView kept, std::optional<kept::NamedFont> &plain);
    void header();
    void listTable();
    void fileListTable();
    void levelText(const QString &text);
    void label(const TextFormat::ListLevel &level, const QTextBlock &block);
    void indents(const QTextBlockFormat &format, bool always = false);
    void listIndents();
    void paragraph(const QTextBlock &block);
    void paragraphProperties(const QTextBlock &block);
    void fields(const QList<TextField::Field> &wanted, const QTextBlock *block);
    void closeFields(qsizetype keep, const QTextBlock *block);
    qsizetype openShared(const QList<TextField::Field> &wanted) const;
    void chars(const QTextCharFormat &format);
    void offset(const Chars &next);

    void raw(const char *bytes);
    void hexByte(int value);
    void control(const char *word);
    void control(const char *word, int param);
    void text(QStringView text, bool escapeOnly = false);
    void unicode(char16_t u);
    void breakLine();
    void maybeBreak(bool atSpace);
    void onOwnLines(const QByteArray &bytes);
    void keptGroup(QByteArrayView kept);
    QByteArray placed(QByteArrayView kept) const;
    void characters(QStringView shown, const QTextCharFormat &format);
    void marks(const QByteArray &bytes);
    void sectionGroups(const QTextBlockFormat &format);
    bool wholeDocument() const;

    QString family(const QTextCharFormat &format) const;
    double pointSize(const QTextCharFormat &format) const;
    QColor color(const QTextCharFormat &format) const;
    static QColor background(const QTextCharFormat &format);

    const QTextDocument &document;
    int from;
    int to;
    FontTable fonts;
    int defaultFont = 0; // \deff: what \plain in a kept group gives
    QList<QRgb> colors;
    int symbolFont = -1;
    QList<const QTextList *> lists; // numbered lists, written as \ls 1, 2, ...
    QHash<const QTextList *, int> listNumbers;
    int bulletList = 0; // \ls of the bullets, 0 without bullets
    QHash<int, FileList> fileLists; // by TextFormat's list id
    QList<int> fileListOrder;
    Chars state;
    // The fields whose result is being written, outermost first, with the state they began in.
    struct OpenField
    {
        int id;
        Chars state;
        int paragraph;
    };
    std::vector<OpenField> openFields;
    int paragraphNumber = 0;
    QByteArray lastSection; // the previous paragraph's kept header and footer groups

    QByteArray out;
    int column = 0;
    bool needsDelimiter = false;
};

Writer::Writer(const QTextDocument &document, int from, int to)
    : document(document), from(from), to(to)
{ }

QString Writer::family(const QTextCharFormat &format) const
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    return document.defaultFont().family();
}

double Writer::pointSize(const QTextCharFormat &format) const
{
    if (format.fontPointSize() > 0)
        return format.fontPointSize();
    const double fallback = document.defaultFont().pointSizeF();
    return fallback > 0 ? fallback : 12.0;
}

QColor Writer::color(const QTextCharFormat &format) const
{
    if (!format.hasProperty(QTextFormat::ForegroundBrush)
        || format.foreground().style() == Qt::NoBrush)
        return QColor();
    return format.foreground().color();
}

QColor Writer::background(const QTextCharFormat &format)
{
    if (!format.hasProperty(QTextFormat::BackgroundBrush)
        || format.background().style() == Qt::NoBrush)
        return QColor();
    return format.background().color();
}

// The lists read from a file, but those the program's own lists write alike.
void Writer::collectFileLists()
{
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        const std::optional<TextFormat::ListLevel> level = shownLevel(block);
        if (!level)
            continue;
        if (!fileLists.contains(level->list))
            fileListOrder.append(level->list);
        std::optional<TextFormat::ListLevel> &entry
            = fileLists[level->list]
                  .levels[static_cast<size_t>(std::clamp(level->level, 0, maxLevels - 1))];
        if (!entry)
            entry = level;
    }
    fileListOrder.removeIf([this](int id) {
        if (!writtenAlike(fileLists.value(id)))
            return false;
        fileLists.remove(id);
        return true;
    });
}

std::optional<TextFormat::ListLevel> Writer::fileLevel(const QTextBlock &block) const
{
    std::optional<TextFormat::ListLevel> level = shownLevel(block);
    if (level && !fileLists.contains(level->list))
        level.reset();
    return level;
}

// The fonts kept groups name, then the text's.
void Writer::collect()
{
    std::optional<kept::NamedFont> plain;
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        if (wholeDocument())
            collectKept(section::groups(block.blockFormat()), plain);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() >= to || fragment.position() + fragment.length() <= from)
                continue;
            const QTextCharFormat format = fragment.charFormat();
            for (const QByteArray &kept :
                 {pictureGroup(format), TextMarks::before(format), TextMarks::after(format)})
                collectKept(kept, plain);
        }
    }
    if (wholeDocument())
        collectKept(info::group(document), plain);
    defaultFont = plain ? fonts.number(*plain) : fonts.add(document.defaultFont().family());
    state.font = defaultFont;
    collectFileLists();
    bool bullets = false;
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        if (!fileLevel(block)) {
            bullets = bullets || TextFormat::bullet(block.blockFormat());
            if (const QTextList *list = numberedList(block); list && !listNumbers.contains(list)) {
                lists.append(list);
                listNumbers.insert(list, static_cast<int>(lists.size()));
            }
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() >= to || fragment.position() + fragment.length() <= from)
                continue;
            const QTextCharFormat format = fragment.charFormat();
            fonts.add(family(format));
            for (const QColor &c : {color(format), background(format)}) {
                if (c.isValid() && !colors.contains(c.rgb()))
                    colors.append(c.rgb());
            }
        }
    }
    if (bullets) {
        bulletList = static_cast<int>(lists.size()) + 1;
        symbolFont = fonts.add(QStringLiteral("Symbol"), true);
    }
    int number = std::max(static_cast<int>(lists.size()), bulletList);
    for (const int id : std::as_const(fileListOrder))
        fileLists[id].number = ++number;
    // After the text's, so that text in the same family keeps its letters.
    for (const int id : std::as_const(fileListOrder)) {
        for (const std::optional<TextFormat::ListLevel> &level : fileLists[id].levels) {
            if (level && !level->font.isEmpty())
                fonts.add(level->font, level->symbolFont);
        }
    }
}

// The first group that goes back to its file's default font gives the saved file's.
void Writer::collectKept(QByteArrayView kept, std::optional<kept::NamedFont> &plain)
{
    if (!plain)
        plain = kept::plainFont(kept);
    for (const kept::NamedFont &font : kept::fonts(kept))
        fonts.keep(font);
}

void Writer::header()
{
    raw("{\\rtf1\\ansi\\ansicpg1252");
    control("deff", defaultFont);
    control("uc", 1);
    breakLine();
    raw("{\\fonttbl");
    for (const auto &[number, entry] : fonts.entries()) {
        raw("{");
        control("f", number);
        control("fnil");
        control("fcharset", entry.symbol ? 2 : 0);
        text(entry.family, true);
        raw(";}");
    }
    raw("}");
    breakLine();
    raw("{\\colortbl ;");
    for (QRgb rgb : colors) {
        control("red", qRed(rgb));
        control("green", qGreen(rgb));
        control("blue", qBlue(rgb));
        raw(";");
    }
    raw("}");
    breakLine();
    if (!lists.isEmpty() || bulletList > 0 || !fileLists.isEmpty())
        listTable();
    if (const QByteArray info = info::group(document); !info.isEmpty() && wholeDocument()) {
        out += placed(info);
        breakLine();
    }
}

// One simple list per numbered list: its number format and the text around the number.
void Writer::listTable()
{
    raw("{\\*");
    control("listtable");
    for (int i = 0; i < lists.size(); ++i) {
        const QTextListFormat format = lists.at(i)->format();
        const QString prefix = format.numberPrefix().left(maxAffix);
        const QString suffix = format.numberSuffix().left(maxAffix);
        raw("{");
        control("list");
        control("listtemplateid", i + 1);
        control("listhybrid");
        raw("{");
        control("listlevel");
        control("levelnfc", numbering(format.style()));
        control("leveljc", 0);
        control("levelstartat", 1);
        control("levelfollow", 0);
        raw("{");
        control("leveltext");
        hexByte(static_cast<int>(prefix.size() + 1 + suffix.size()));
        text(prefix, true);
        hexByte(0);
        text(suffix, true);
        raw(";}{");
        control("levelnumbers");
        hexByte(static_cast<int>(prefix.size() + 1));
        raw(";}");
        listIndents();
        raw("}");
        control("listid", i + 1);
        raw("}");
        breakLine();
    }
    if (bulletList > 0) {
        // The bullets' own list keeps them apart from the numbers in readers that mix the two.
        raw("{");
        control("list");
        control("listtemplateid", bulletList);
        control("listhybrid");
        raw("{");
        control("listlevel");
        control("levelnfc", 23);
        control("leveljc", 0);
        control("levelstartat", 1);
        control("levelfollow", 0);
        raw("{");
        control("leveltext");
        hexByte(1);
        text(QStringLiteral("\u2022"), true);
        raw(";}{");
        control("levelnumbers");
        raw(";}");
        listIndents();
        raw("}");
        control("listid", bulletList);
        raw("}");
        breakLine();
    }
    fileListTable();
    raw("}{");
    control("listoverridetable");
    const int count
        = std::max(static_cast<int>(lists.size()), bulletList) + static_cast<int>(fileLists.size());
    for (int i = 0; i < count; ++i) {
        raw("{");
        control("listoverride");
        control("listid", i + 1);
        control("listoverridecount", 0);
        control("ls", i + 1);
        raw("}");
    }
    raw("}");
    breakLine();
}

// Each list read from a file with the levels its paragraphs show, up to the deepest, a level to
// a line; a level none of them shows is numbered plainly.
void Writer::fileListTable()
{
    for (const int id : std::as_const(fileListOrder)) {
        const FileList &list = fileLists[id];
        const auto deepest = std::find_if(list.levels.rbegin(), list.levels.rend(),
                                          [](const auto &level) { return level.has_value(); });
        const auto count = static_cast<int>(list.levels.rend() - deepest);
        raw("{");
        control("list");
        control("listtemplateid", list.number);
        for (int i = 0; i < count; ++i) {
            TextFormat::ListLevel plain;
            plain.text = QString(QChar(static_cast<char16_t>(i))) + QLatin1Char('.');
            const TextFormat::ListLevel &level
                = list.levels[static_cast<size_t>(i)].value_or(plain);
            raw("{");
            control("listlevel");
            control("levelnfc", level.numbering);
            control("leveljc", 0);
            control("levelstartat", level.start);
            control("levelfollow", 0);
            raw("{");
            control("leveltext");
            levelText(level.text);
            raw(";}{");
            control("levelnumbers");
            for (qsizetype at = 0; at < level.text.size(); ++at) {
                if (isNumber(level.text.at(at)))
                    hexByte(static_cast<int>(at + 1));
            }
            raw(";}");
            if (!level.font.isEmpty())
                control("f", fonts.number(level.font, level.symbolFont));
            listIndents();
            raw("}");
            breakLine();
        }
        control("listid", list.number);
        raw("}");
        breakLine();
    }
}

// Its length, then each character: a level's number as its byte, other letters than ASCII as
// Unicode, which readers take in any font.
void Writer::levelText(const QString &text)
{
    hexByte(static_cast<int>(std::min<qsizetype>(text.size(), 255)));
    for (const QChar c : QStringView(text).left(255)) {
        if (isNumber(c))
            hexByte(c.unicode());
        else if (c.unicode() < 0x7F)
            this->text(QStringView(&c, 1), true);
        else
            unicode(c.unicode());
    }
}

// The label for readers without list tables: the number as the program shows it, or the text.
void Writer::label(const TextFormat::ListLevel &level, const QTextBlock &block)
{
    raw("{");
    control("listtext");
    if (!level.font.isEmpty())
        control("f", fonts.number(level.font, level.symbolFont));
    if (const QTextList *list = numberedList(block)) {
        text(list->itemText(block), true);
    } else {
        for (const QChar c : level.text) {
            if (c.unicode() >= 0x7F)
                unicode(c.unicode());
            else if (c.unicode() >= 0x20)
                text(QStringView(&c, 1), true);
        }
    }
    control("tab");
    raw("}");
}

QByteArray Writer::write()
{
    collect();
    header();
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() < to;
         block = block.next(), ++paragraphNumber)
        paragraph(block);
    closeFields(0, nullptr);
    raw("}");
    breakLine();
    return out;
}

void Writer::paragraphProperties(const QTextBlock &block)
{
    const QTextBlockFormat format = block.blockFormat();
    const std::optional<TextFormat::ListLevel> level = fileLevel(block);
    if (level) {
        control("ls", fileLists.value(level->list).number);
        control("ilvl", level->level);
    } else if (TextFormat::bullet(format) && symbolFont >= 0) {
        raw("{\\*");
        control("pn");
        control("pnlvlblt");
        control("pnf", symbolFont);
        control("pnindent", twips(TextFormat::bulletIndentMm(format)));
        raw("{");
        control("pntxtb");
        raw("\\'B7}}");
        control("ls", bulletList);
        control("ilvl", 0);
    } else if (const QTextList *list = numberedList(block)) {
        control("ls", listNumbers.value(list));
        control("ilvl", 0);
    }
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignRight)
        control("qr");
    else if (alignment & Qt::AlignHCenter)
        control("qc");
    else if (alignment & Qt::AlignJustify)
        control("qj");
    // A list's own indents stand for a paragraph that gives none, so list paragraphs give both.
    indents(format, TextFormat::bullet(format) || numberedList(block));
    const int before = TextFormat::spaceBeforeTwips(format);
    const int after = TextFormat::spaceAfterTwips(format);
    const int line = TextFormat::lineSpacingTwips(format);
    if (before != 0)
        control("sb", before);
    if (after != 0)
        control("sa", after);
    if (line != 0) {
        control("sl", line);
        control("slmult", TextFormat::lineSpacingMultiple(format) ? 1 : 0);
    }
    QList<double> stops = TextFormat::tabStopsMm(format);
    std::sort(stops.begin(), stops.end());
    for (double mm : stops)
        control("tx", twips(mm));
}

void Writer::paragraph(const QTextBlock &block)
{
    const QTextBlockFormat format = block.blockFormat();
    sectionGroups(format);
    control("pard");
    if (const std::optional<TextFormat::ListLevel> level = fileLevel(block)) {
        label(*level, block);
    } else if (TextFormat::bullet(format) && symbolFont >= 0) {
        // The label for readers without bullets.
        raw("{");
        control("pntext");
        control("f", symbolFont);
        raw("\\'B7");
        control("tab");
        raw("}");
    } else if (const QTextList *list = numberedList(block)) {
        // The label for readers without list tables.
        raw("{");
        control("listtext");
        text(list->itemText(block), true);
        control("tab");
        raw("}");
    }
    paragraphProperties(block);

    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int start = std::max(fragment.position(), from);
        const int end = std::min(fragment.position() + fragment.length(), to);
        if (start >= end)
            continue;
        const QTextCharFormat format = fragment.charFormat();
        fields(TextField::of(format), &block);
        chars(format);
        characters(QStringView(fragment.text()).mid(start - fragment.position(), end - start),
                   format);
    }

    const int separator = block.position() + block.length() - 1;
    if (separator >= from && separator < to) {
        // An empty paragraph's format is its own, not what the text before it left.
        if (block.length() == 1)
            chars(block.charFormat());
        // A field goes on over the paragraph end only when the next paragraph starts in it.
        const QTextBlock next = block.next();
        QList<TextField::Field> going;
        if (next.isValid() && next.position() < to)
            going = TextField::of(next.begin().atEnd() ? next.charFormat()
                                                       : next.begin().fragment().charFormat());
        closeFields(openShared(going), &block);
        // Other readers lose a raised or lowered run that is still open at the paragraph end.
        Chars level = state;
        level.script = Chars::Normal;
        level.offsetHalfPoints = 0;
        offset(level);
        state = level;
        control("par");
        breakLine();
    }
}

// Opens the fields the text stands in that are not open yet, after closing those it does not.
void Writer::fields(const QList<TextField::Field> &wanted, const QTextBlock *block)
{
    const qsizetype shared = openShared(wanted);
    closeFields(shared, block);
    for (qsizetype i = shared; i < wanted.size(); ++i) {
        openFields.push_back(OpenField {wanted.at(i).id, state, paragraphNumber});
        raw("{");
        control("field");
        raw("{\\*");
        control("fldinst");
        raw(" ");
        out += wanted.at(i).instruction;
        raw("}{");
        control("fldrslt");
    }
}

// How many of the open fields, from the outermost, the text stands in too.
qsizetype Writer::openShared(const QList<TextField::Field> &wanted) const
{
    qsizetype shared = 0;
    while (shared < static_cast<qsizetype>(openFields.size()) && shared < wanted.size()
           && openFields[static_cast<size_t>(shared)].id == wanted.at(shared).id)
        ++shared;
    return shared;
}

void Writer::closeFields(qsizetype keep, const QTextBlock *block)
{
    bool earlier = false;
    while (static_cast<qsizetype>(openFields.size()) > keep) {
        raw("}}");
        state = openFields.back().state;
        earlier = earlier || openFields.back().paragraph != paragraphNumber;
        openFields.pop_back();
    }
    // Closing the groups took the reader back to the paragraph the field began in.
    if (earlier && block) {
        control("pard");
        paragraphProperties(*block);
    }
}

// Every list paragraph gives its own indents. A level's indents equal to a paragraph's make
// LibreOffice drop the paragraph's, so the levels have none.
void Writer::listIndents()
{
    control("li", 0);
    control("fi", 0);
}

void Writer::indents(const QTextBlockFormat &format, bool always)
{
    // Rounded separately so that the reader gets back exactly these twips.
    const int hanging = twips(TextFormat::hangingIndentMm(format));
    const int firstLine = -hanging;
    const int left = twips(TextFormat::indentMm(format)) + hanging;
    const int right = twips(TextFormat::rightIndentMm(format));
    if (left != 0 || always)
        control("li", left);
    if (firstLine != 0 || always)
        control("fi", firstLine);
    if (right != 0)
        control("ri", right);
}

void Writer::chars(const QTextCharFormat &format)
{
    Chars next;
    next.font = fonts.number(family(format));
    const double points = pointSize(format);
    next.halfPoints = std::clamp(static_cast<int>(std::lround(points * 2)),
                                 2 * static_cast<int>(TextFormat::minFontPoints),
                                 2 * static_cast<int>(TextFormat::maxFontPoints));
    next.bold = format.fontWeight() >= QFont::DemiBold;
    next.italic = format.fontItalic();
    next.strike = format.fontStrikeOut();
    next.underline = TextFormat::ownUnderline(format);
    if (next.underline == QTextCharFormat::NoUnderline && format.fontUnderline())
        next.underline = QTextCharFormat::SingleUnderline;
    const QColor c = color(format);
    next.color = c.isValid() ? static_cast<int>(colors.indexOf(c.rgb())) + 1 : 0;
    const QColor shade = background(format);
    next.highlight = shade.isValid() ? static_cast<int>(colors.indexOf(shade.rgb())) + 1 : 0;
    next.hidden = TextFormat::hidden(format);
    const double offsetTwips = TextFormat::charOffsetTwips(format);
    const double scriptTwips = next.halfPoints * 10.0 / 3.0;
    if (offsetTwips != 0 && std::abs(std::abs(offsetTwips) - scriptTwips) < 0.01)
        next.script = offsetTwips > 0 ? Chars::Super : Chars::Sub;
    else
        next.offsetHalfPoints = static_cast<int>(std::lround(offsetTwips / 10.0));

    if (next.font != state.font)
        control("f", next.font);
    if (next.halfPoints != state.halfPoints)
        control("fs", next.halfPoints);
    if (next.bold != state.bold)
        next.bold ? control("b") : control("b", 0);
    if (next.italic != state.italic)
        next.italic ? control("i") : control("i", 0);
    if (next.underline != state.underline)
        control(underlineWord(next.underline));
    if (next.strike != state.strike)
        next.strike ? control("strike") : control("strike", 0);
    if (next.color != state.color)
        control("cf", next.color);
    if (next.highlight != state.highlight)
        control("highlight", next.highlight);
    if (next.hidden != state.hidden)
        next.hidden ? control("v") : control("v", 0);
    offset(next);
    state = next;
}

void Writer::offset(const Chars &next)
{
    if (next.script == state.script && next.offsetHalfPoints == state.offsetHalfPoints)
        return;
    if (next.script == Chars::Super)
        control("super");
    else if (next.script == Chars::Sub)
        control("sub");
    else if (next.offsetHalfPoints > 0)
        control("up", next.offsetHalfPoints);
    else if (next.offsetHalfPoints < 0)
        control("dn", -next.offsetHalfPoints);
    else if (state.script != Chars::Normal)
        control("nosupersub");
    else
        control(state.offsetHalfPoints > 0 ? "up" : "dn", 0);
}

// Braces and escapes that need no delimiter before what follows.
void Writer::raw(const char *bytes)
{
    out += bytes;
    column += static_cast<int>(qstrlen(bytes));
    needsDelimiter = false;
    maybeBreak(false);
}

void Writer::hexByte(int value)
{
    static const char digits[] = "0123456789abcdef";
    out += "\\'";
    out += digits[value >> 4 & 15];
    out += digits[value & 15];
    column += 4;
    needsDelimiter = false;
}

void Writer::control(const char *word)
{
    out += '\\';
    out += word;
    column += 1 + static_cast<int>(qstrlen(word));
    needsDelimiter = true;
    maybeBreak(false);
}

void Writer::control(const char *word, int param)
{
    out += '\\';
    out += word;
    const QByteArray number = QByteArray::number(param);
    out += number;
    column += 1 + static_cast<int>(qstrlen(word) + number.size());
    needsDelimiter = true;
    maybeBreak(false);
}

void Writer::text(QStringView text, bool escapeOnly)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (!escapeOnly && u == '\t') {
            control("tab");
            continue;
        }
        if (!escapeOnly && u == QChar::LineSeparator) {
            control("line");
            continue;
        }
        if (u < 0x20 || u == QChar::ObjectReplacementCharacter)
            continue;
        const int code = Cp1252::codeOf(c);
        if (code >= 0x20 && code < 0x7F) {
            if (needsDelimiter) {
                out += ' ';
                ++column;
            }
            if (code == '\\' || code == '{' || code == '}') {
                out += '\\';
                ++column;
            }
            out += static_cast<char>(code);
            ++column;
        } else if (code >= 0) {
            static const char digits[] = "0123456789abcdef";
            out += "\\'";
            out += digits[code >> 4];
            out += digits[code & 15];
            column += 4;
        } else {
            unicode(u);
        }
        needsDelimiter = false;
        maybeBreak(u == ' ');
    }
}

void Writer::unicode(char16_t u)
{
    const int signedCode = u > 0x7FFF ? u - 0x10000 : u;
    const QByteArray number = QByteArray::number(signedCode);
    out += "\\u";
    out += number;
    out += '?';
    column += 3 + static_cast<int>(number.size());
    needsDelimiter = false;
}

void Writer::breakLine()
{
    out += "\r\n";
    column = 0;
    needsDelimiter = false;
}

// On lines of their own, so that the text's lines stay short.
void Writer::onOwnLines(const QByteArray &bytes)
{
    breakLine();
    out += bytes;
    breakLine();
}

// Where they stood, and only with the whole document: a copied paragraph leaves the letterhead
// behind. A paragraph split in two keeps them on both halves; they are written once.
void Writer::sectionGroups(const QTextBlockFormat &format)
{
    if (!wholeDocument())
        return;
    QByteArray groups = section::groups(format);
    // Text inserted with groups of its own behind a paragraph's adds them to those it had.
    const bool more = !lastSection.isEmpty() && groups.startsWith(lastSection);
    const QByteArrayView added
        = more ? QByteArrayView(groups).sliced(lastSection.size()) : QByteArrayView(groups);
    if (!added.isEmpty() && groups != lastSection)
        keptGroup(added);
    lastSection = std::move(groups);
}

bool Writer::wholeDocument() const
{
    return from == 0 && to >= document.characterCount() - 1;
}

// Characters of one format: a picture as its group, and each with the bookmarks and comments it
// carries.
void Writer::characters(QStringView shown, const QTextCharFormat &format)
{
    const QByteArray group = pictureGroup(format);
    const QByteArray before = TextMarks::before(format);
    const QByteArray after = TextMarks::after(format);
    if (group.isEmpty() && before.isEmpty() && after.isEmpty()) {
        text(shown);
        return;
    }
    for (qsizetype at = 0; at < shown.size();) {
        const qsizetype length = at + 1 < shown.size() && shown.at(at).isHighSurrogate() ? 2 : 1;
        marks(before);
        if (group.isEmpty())
            text(shown.sliced(at, length));
        else
            keptGroup(group);
        marks(after);
        at += length;
    }
}

void Writer::marks(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    const QByteArray written = placed(bytes);
    out += written;
    column += static_cast<int>(written.size());
    // A word at their end, such as a comment's \chatn, needs a delimiter before text.
    needsDelimiter = !bytes.endsWith('}');
    maybeBreak(false);
}

// With the fonts it names under their numbers in this file.
void Writer::keptGroup(QByteArrayView kept)
{
    onOwnLines(placed(kept));
}

QByteArray Writer::placed(QByteArrayView kept) const
{
    const kept::Numbering numbering {
        [this](const kept::NamedFont &font) { return fonts.number(font); }, defaultFont};
    return kept::place(kept, numbering);
}

// CR and LF mean nothing inside RTF text, so lines may end between any two tokens.
void Writer::maybeBreak(bool atSpace)
{
    if (column >= hardLineLength || (atSpace && column >= softLineLength))
        breakLine();
}

} // namespace

QByteArray write(const QTextDocument &document, int from, int to)
{
    const int count = document.characterCount();
    const int end = to < 0 ? count : std::min(to, count);
    const int start = std::clamp(from, 0, end);
    return Writer(document, start, end).write();
}

} // namespace rtf
