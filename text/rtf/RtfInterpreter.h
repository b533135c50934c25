// The RTF reader's interpreter: a stack of group states fed by the tokenizer, writing runs of
// text into a QTextCursor. Private to text/rtf.
#pragma once

#include "text/TextField.h"
#include "text/TextFormat.h"
#include "text/rtf/RtfCodePage.h"
#include "text/rtf/RtfKeptGroup.h"
#include "text/rtf/RtfPicture.h"
#include "text/rtf/RtfTokenizer.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <array>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

namespace rtf {

struct CharState
{
    enum Script : quint8 { Normal, Super, Sub };

    int font = 0;
    int halfPoints = 24;
    int color = 0;
    int highlight = 0; // colour table index of the background, 0 for none
    int offsetTwips = 0; // \up / \dn
    quint8 underline = QTextCharFormat::NoUnderline;
    Script script = Normal;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    int field = 0; // the fields the text stands in: an index into the interpreter's, 0 none

    bool operator==(const CharState &) const = default;
};

struct ParaState
{
    static constexpr int maxTabs = 64;

    std::array<int, maxTabs> tabs {}; // twips, in the order written
    int tabCount = 0;
    int left = 0; // \li: later lines
    int firstLine = 0; // \fi: against \li
    int right = 0;
    int bulletIndent = -1; // \pnindent; -1 when none was given
    int spaceBefore = 0; // \sb
    int spaceAfter = 0; // \sa
    int lineSpacing = 0; // \sl: 0 single, > 0 at least, < 0 exactly; lines of 240 with \slmult
    int style = 0; // \s: the paragraph style, whose character formatting \plain restores
    int list = 0; // \ls
    int level = 0; // \ilvl
    int legacy = -1; // \pn numbering: its place among the legacy levels, -1 for none
    Qt::Alignment alignment = Qt::AlignLeft;
    bool lineMultiple = false; // \slmult1
    bool bullet = false;
    bool leftGiven = false; // \li or \fi written for this paragraph: they win over the
    bool firstGiven = false; // list level's indents
    bool tabsGiven = false; // \tx written for this paragraph

    bool operator==(const ParaState &) const = default;
};

enum class Destination : quint8 {
    Text,
    Skip,
    FontTable,
    ColorTable,
    FieldInstruction,
    Numbering, // \pn: a paragraph's bullet or number
    NumberBefore, // \pntxtb: the text before a \pn number
    NumberAfter, // \pntxta
    ListLabel, // \pntext, \listtext: the label other readers show before a list paragraph
    StyleSheet,
    ListTable,
    ListLevel,
    LevelText,
    ListOverrideTable,
    ListOverrideLevel, // \lfolevel: an override's format or start number for one level
    Tables, // \upr, \ud: holds tables only, no text
    Picture, // \pict: its words and data
    Object, // \object: only its \result is read
    Shape, // \shp: only its first picture is read, the group is kept
};

// The arguments the control-word table gives its handlers.
enum class CharFlag : quint8 { Bold, Italic, Strike, Hidden };
enum class IndentKind : quint8 { Left, FirstLine, Right };
enum class SpacingKind : quint8 { Before, After, Line };
enum class ColorPart : quint8 { Red, Green, Blue };
enum class StyleKind : quint8 { Paragraph, Character, Other };
enum class Offset : qint8 { Down = -1, Up = 1 }; // \dn, \up: the sign of the shift
// \pnlvlbody numbers the paragraph, \pnlvlcont continues the one before unnumbered.
enum class NumberingLevel : quint8 { Numbered, Continued };
// The number styles of \levelnfc, which the \pn words name as well.
enum class LevelNumbering : int {
    Decimal = 0,
    UpperRoman = 1,
    LowerRoman = 2,
    UpperLetter = 3,
    LowerLetter = 4,
};
// The groups a picture stands in: \shppict, \object and the object's \result.
enum class PictureHolder : quint8 { ShapePicture, Object, ObjectResult };
// A drawing shape's outer group, or a part of one (\shpinst, \shprslt).
enum class ShapeGroup : quint8 { Whole, Part };
// A bookmark's or a comment's start stays with the character behind it; its end, and a comment
// itself, with the character before it.
enum class MarkKind : quint8 { Start, End };

struct GroupState
{
    CharState chars;
    ParaState para;
    int codePage = codepage::ansi;
    int unicodeSkip = 1; // \uc
    Destination destination = Destination::Text;
    qsizetype start = 0; // where the group's brace stands in the data
    bool opening = true; // nothing but \* read in the group yet
};

struct ControlWord;

// The table of known control words; null for unknown ones.
const ControlWord *findControlWord(std::string_view name);

class Interpreter
{
public:
    explicit Interpreter(QTextCursor &cursor);

    void run(QByteArrayView data);

    // Handlers named in the control-word table, with the table's argument for the word.
    void setCharFlag(const Token &token, CharFlag which);
    void setUnderline(const Token &token, QTextCharFormat::UnderlineStyle style);
    void setFontSize(const Token &token);
    void setFont(const Token &token);
    void setColor(const Token &token);
    void setOffset(const Token &token, Offset sign);
    void setScript(const Token &token, CharState::Script script);
    void resetChars(const Token &token);
    void resetPara(const Token &token);
    void setAlignment(const Token &token, Qt::AlignmentFlag alignment);
    void setIndent(const Token &token, IndentKind which);
    void addTab(const Token &token);
    void setListStyle(const Token &token);
    void setListLevel(const Token &token);
    void setSpacing(const Token &token, SpacingKind which);
    void setLineMultiple(const Token &token);
    void style(const Token &token, StyleKind kind);
    void basedOn(const Token &token);
    void listDefinition(const Token &token);
    void listLevel(const Token &token);
    void setLevelNumbering(const Token &token);
    void setLevelStart(const Token &token);
    void setListId(const Token &token);
    void listOverride(const Token &token);
    void overrideLevel(const Token &token);
    void setNumberingIndent(const Token &token);
    void setNumberingBullet(const Token &token);
    void setNumberingLevel(const Token &token, NumberingLevel level);
    void setNumberingStyle(const Token &token, LevelNumbering numbering);
    void setHighlight(const Token &token);
    void footnote(const Token &token);
    void setEndnote(const Token &token);
    void noteMark(const Token &token);
    void paragraph(const Token &token);
    void cell(const Token &token);
    void row(const Token &token);
    void character(const Token &token, char16_t unicode);
    void unicode(const Token &token);
    void setUnicodeSkip(const Token &token);
    void setCodePage(const Token &token, int codePage);
    void setCodePageNumber(const Token &token);
    void setDefaultFont(const Token &token);
    void setFontCharset(const Token &token);
    void setColorPart(const Token &token, ColorPart part);
    void binary(const Token &token);
    void field(const Token &token);
    void fieldResult(const Token &token);
    void enter(const Token &token, Destination target);
    void picture(const Token &token);
    void pictureHolder(const Token &token, PictureHolder holder);
    void shape(const Token &token, ShapeGroup part);
    void sectionGroup(const Token &token);
    void sectionWord(const Token &token);
    void mark(const Token &token, MarkKind kind);
    void markWord(const Token &token);
    void documentInfo(const Token &token);
    void readInside(const Token &token);

    // The document's information group, as the file had it; empty for none.
    const QByteArray &infoGroup() const { return info; }

private:
    struct FontDefinition
    {
        int number = -1;
        int charset = -1;
        QByteArray bytes;
        QString name;
        bool done = false;
    };
    // A style sheet entry: its formatting words, replayed where the style is used.
    struct StyleWord
    {
        const ControlWord *word;
        int param;
        bool hasParam;
    };
    struct Style
    {
        int basedOn = -1;
        std::vector<StyleWord> words;
    };
    enum StyleParts { CharacterParts = 1, ParagraphParts = 2, AllParts = 3 };
    struct Level
    {
        int numbering = 0; // \levelnfc: 23 bullet, 255 none, else a number style
        int start = 1; // \levelstartat
        int font = -1; // \f: the label's own font, -1 for the paragraph's
        int left = 0;
        int firstLine = 0;
        QString text; // \leveltext without its length; characters below 10 stand for numbers
    };
    struct ListDefinition
    {
        int id = 0;
        std::vector<Level> levels;
    };
    struct LevelOverride
    {
        std::optional<Level> format; // \listoverrideformat
        std::optional<int> start; // \listoverridestartat
    };
    // A \ls: the list it numbers in, and the levels it formats or starts anew.
    struct ListOverride
    {
        int listId = 0;
        int index = 0; // its place in the override table
        std::vector<LevelOverride> levels; // while it is read, by level
        std::vector<Level> resolved; // the list's levels with its own; empty without any
    };
    struct Field
    {
        size_t depth = 0;
        QString instruction;
        bool hasResult = false;
        // The instruction group as RTF, kept for writing back; recorded while depth >= 0.
        QByteArray rtf;
        EscapedText escaped; // its text in another code page, not yet written to rtf
        int recordDepth = -1;
        bool recorded = false;
        bool tooLong = false;
    };
    // The \pn group being read.
    struct LegacyNumber
    {
        int numbering = 0; // as \levelnfc
        bool numbered = false; // \pnlvlbody or \pnlvlN, not \pnlvlcont or a bullet
        QString before;
        QString after;
    };
    struct ListObjects
    {
        std::array<int, 9> levels; // object index of the QTextList on each level, or -1
        ListObjects() { levels.fill(-1); }
    };
    // What is being written where the cursor stands: the content, or the notes for its end.
    struct Output
    {
        QString runText;
        CharState runState;
        QString pendingLabel; // a label for other readers, kept as text unless a list shows it
        QHash<int, ListObjects> listObjects; // by list definition, legacy levels below 0
        ParaState blockState;
        int pendingCells = 0;
        bool pendingParagraph = false;
        bool blockCreated = false;
        bool blockHasFormat = false;
        bool labelKept = false; // this paragraph's label is its text, not a list's
        std::optional<ParaState> cellList; // the first list item among the cells ended here
        int first = 0; // where the read text starts
        QByteArray marksBefore; // bookmarks and comments for the next character
        QByteArray marksAfter; // for the last character written
    };
    // Footnotes or endnotes, gathered in a document of their own and added behind the content.
    struct Notes
    {
        QTextDocument document;
        QTextCursor cursor {&document};
        Output output;
        int count = 0;
    };
    enum NoteKind { Footnote, Endnote };
    struct Note
    {
        size_t depth = 0; // 0 outside a note
        NoteKind kind = Footnote;
        int number = 0;
        int start = -1; // where its text starts in its notes' document
        bool marked = false; // \chftn inside the note shows its number
        bool referenced = false; // \chftn in the text stands for the note
        CharState reference; // the formatting of that \chftn
    };

    GroupState &top() { return stack.back(); }

    void openGroup();
    void closeGroup();
    void controlWord(const Token &token);
    void controlSymbol(const Token &token);
    void text(std::string_view bytes);
    void byte(unsigned char value);
    void put(QChar c);
    void finish();

    void beginContent();
    void flushBytes();
    void useRunState();
    void flushRun();
    void applyBlockFormat(const ParaState &state);
    void commitFont();
    void finishField(const Field &field, const GroupState &state);
    void recordInstruction(const Token &token);
    void appendInstruction(Field &field, const QByteArray &piece);
    void finishLabel();
    void appendChar(QChar c);
    int fontCodePage(int number) const;
    void commitStyle();
    void replayStyle(const QHash<int, Style> &styles, int number, int parts);
    void replayWord(const StyleWord &entry);
    Level *currentLevel();
    const Level *resolveLevel(const ParaState &state) const;
    int listObject(const ParaState &state, const Level &level);
    int listKey(const ParaState &state) const;
    bool isLegacy(const ParaState &state, const Level &level) const;
    void resolveOverride(ListOverride &entry) const;
    void decodeLevelText(Level &level);
    QString shownLabel(const Level &level) const;
    TextFormat::ListLevel fileLevel(const ParaState &state, const Level &level);
    QString currentNumber(int listIndex) const;
    bool listed(const ParaState &state) const;
    void takeLabel();
    int legacyLevel();
    Notes &notesOf(NoteKind kind);
    void swapOutput(NoteKind kind);
    QString noteLabel(Note &which);
    void endNote(const ParaState &para);
    void putMark(const CharState &state, const QString &label);
    bool appendNotes(const ParaState &last);
    void insertPicture(const GroupState &state);
    void placePicture(const TextPicture::Picture &picture, const CharState &chars);
    bool opensKeptGroup() const;
    bool insideKeptGroup() const;
    bool keepsOut(const GroupState &state, Destination target) const;
    // The group's bytes made to read alike in any file, from the code page and \uc it began in.
    QByteArray keptBytes(const GroupState &closing, int codePage, int unicodeSkip) const;
    // The shape whose picture goes into the text once its group is closed.
    struct KeptShape;
    std::optional<KeptShape> closeKeptGroups(const GroupState &closing);
    void keepObjectGroup(const GroupState &closing);
    void keepSection(QByteArrayView bytes);
    void attachSection();
    void keepMark(QByteArrayView bytes, MarkKind kind);
    bool characterBehind() const;
    int lastCharacter() const;
    void attachMarksAfter(int position, const QByteArray &bytes);
    void settleMarksAfter();
    void endMarks();

    QTextCharFormat charFormat(const CharState &state) const;
    QTextBlockFormat blockFormat(const ParaState &state, const Level *level, int listIndex);
    static int styleParts(const ControlWord &word);
    static int resetGroup(const StyleWord &entry);

    QTextCursor &cursor;
    Tokenizer *tokenizer = nullptr;
    std::vector<GroupState> stack;
    size_t overflow = 0; // groups beyond the stack's cap, counted but not kept
    int fallbackToSkip = 0; // characters left to skip after \u
    bool ignorablePending = false; // \* seen, the next word decides

    QHash<int, FileFont> fonts;
    FontDefinition fontDefinition;
    int defaultFont = 0;
    bool defaultFontGiven = false; // \deff
    int documentCodePage = codepage::ansi;
    QList<QColor> colors;
    int red = 0, green = 0, blue = 0;
    bool colorGiven = false;
    std::vector<Field> fields;
    std::vector<QList<TextField::Field>> fieldContexts {{}}; // by CharState::field
    qsizetype instructionBytes = 0;
    QString label;
    QHash<int, Style> paragraphStyles;
    QHash<int, Style> characterStyles;
    Style styleEntry;
    StyleKind styleKind = StyleKind::Paragraph;
    int styleNumber = 0;
    size_t styleSheetDepth = 0;
    bool replaying = false;
    std::vector<ListDefinition> listDefinitions;
    QHash<int, ListOverride> overrides; // by \ls number
    ListOverride overrideEntry; // the one being read
    bool levelOfOverride = false; // the \listlevel being read is an override's format
    QHash<int, int> listById; // \listid to its place in listDefinitions
    QHash<int, int> listIds; // a list's numbering, as listKey gives it, to its TextFormat id
    LegacyNumber legacyNumber;
    std::vector<Level> legacyLevels; // one per numbering that \pn groups give
    QHash<QString, int> legacyByKey; // numbering style and text to the legacy level
    CodePageDecoder decoder;
    PictureReader pictureReader;

    Output out;
    std::array<std::unique_ptr<Notes>, 2> notes;
    Note note;
    QByteArray pendingBytes;
    int pendingCodePage = codepage::ansi;
    ParaState endPara; // the root group's paragraph state when it closed
    bool startBlockEmpty = false;
    QTextBlockFormat startBlockFormat;

    // Groups written back as the file had them.
    struct KeptShape
    {
        size_t depth = 0; // 0 outside a shape
        std::optional<TextPicture::Picture> picture; // the first one in the shape
        CharState chars;
        int codePage = codepage::ansi; // where it began
        int unicodeSkip = 1;
    };
    struct KeptObject
    {
        size_t depth = 0; // 0 outside an object
        int contents = 0; // pieces of content its result gave
        int pictures = 0;
        int position = -1; // of its result's picture
        int codePage = codepage::ansi; // where it began
        int unicodeSkip = 1;
    };
    KeptShape keptShape;
    KeptObject keptObject;
    size_t sectionDepth = 0; // of the header or footer group being read, 0 outside one
    QByteArray pendingSection; // for the paragraph being read, or after its end the next one
    size_t markDepth = 0; // of the bookmark or comment group being read, 0 outside one
    MarkKind markKind = MarkKind::Start;
    size_t infoDepth = 0; // of the information group being read, 0 outside it
    QByteArray info;
};

template<typename Handler>
struct HandlerTraits;
template<>
struct HandlerTraits<void (Interpreter::*)(const Token &)>
{
    using Argument = void;
};
template<typename Arg>
struct HandlerTraits<void (Interpreter::*)(const Token &, Arg)>
{
    using Argument = Arg;
};
// What a handler takes besides the token; void for none.
template<auto handler>
using HandlerArgument = typename HandlerTraits<decltype(handler)>::Argument;

template<auto handler>
void invokeHandler(Interpreter &interpreter, const Token &token, [[maybe_unused]] int arg)
{
    using Arg = HandlerArgument<handler>;
    if constexpr (std::is_void_v<Arg>)
        (interpreter.*handler)(token);
    else
        (interpreter.*handler)(token, static_cast<Arg>(arg));
}

// A word of the table: its handler and the argument for it, whose type the table's entry checks
// against the handler's parameter.
struct ControlWord
{
    using Call = void (*)(Interpreter &, const Token &, int);

    std::string_view name;
    Call call = nullptr;
    int arg = 0;
    bool destination = false;

    void run(Interpreter &interpreter, const Token &token) const { call(interpreter, token, arg); }

    template<auto handler>
    bool runs() const
    {
        return call == &invokeHandler<handler>;
    }

    // The argument the word gives `handler`; none when the word runs another handler.
    template<auto handler>
    std::optional<HandlerArgument<handler>> argumentOf() const
    {
        if (!runs<handler>())
            return std::nullopt;
        return static_cast<HandlerArgument<handler>>(arg);
    }
};

} // namespace rtf
