// The format values the edit control keeps exactly as written (millimetres, tab order, offsets)
// and their mirror in Qt's layout. The RTF reader and writer and RichTextBox share them.
#pragma once

#include "platform/Screen.h"

#include <QList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <optional>

namespace TextFormat {

enum Property : int {
    IndentMm = QTextFormat::UserProperty + 1, // block: left edge of the first line
    HangingIndentMm, // block: later lines relative to the first
    RightIndentMm, // block
    TabStopsMm, // block: QList<double>, in the order written
    Bullet, // block: bool
    BulletIndentMm, // block: text distance from the bullet
    CharOffsetTwips, // char: vertical offset, positive raised
    SpaceBeforeTwips, // block
    SpaceAfterTwips, // block
    LineSpacingTwips, // block: 0 single, > 0 at least, < 0 exactly; with LineSpacingMultiple
    LineSpacingMultiple, // block: bool, LineSpacingTwips counts 240 to the line
    ParagraphEnd, // block: QString, what ended the paragraph in a plain-text file, when it
                  // was not the file's usual line end
    UnicodeLineSeparator, // char: a line separator that was U+2028 in a plain-text file
    VerticalTab, // char: a line separator that was the control character 11 in a plain-text file
    Hidden, // char: bool, hidden text of an RTF file, kept and shown marked
    ContinuedLine, // block: bool, the block goes on with the line of the block before it: a
                   // piece of a plain-text line too long to lay out in one
    BulletText, // block: QString, the bullet's own characters instead of the usual one
    BulletFont, // block: QString, the family the bullet is drawn in instead of the text's
    ListId, // block: int, the list of a file's list table the paragraph is an item of
    ListLevelIndex, // block: int, its level in that list
    ListLevelNumbering, // block: int, the level's number style as the file names it
    ListLevelStart, // block: int, the level's first number
    ListLevelText, // block: QString, the level's label, characters below 10 standing for the
                   // numbers of those levels
    ListLabelFont, // block: QString, the family of the label's own font
    ListLabelSymbolFont, // block: bool, that font's characters are symbols, not letters
};

// The formats measure in millimetres on the screen.
using Screen::pixelsPerMm;
constexpr double twipsPerMm = 1440.0 / 25.4;

// The limits of what the edit control holds, which files keep as they are: lengths within
// 22 inches either way, font sizes in half points up to 2160 points, character offsets up to
// as many half points.
constexpr double maxLengthTwips = 22 * 1440;
constexpr double maxLengthMm = maxLengthTwips / twipsPerMm;
constexpr double minFontPoints = 1;
constexpr double maxFontPoints = 2160;
constexpr double maxCharOffsetTwips = maxFontPoints * 20;

double indentMm(const QTextBlockFormat &format);
double hangingIndentMm(const QTextBlockFormat &format);
double rightIndentMm(const QTextBlockFormat &format);
void setIndents(QTextBlockFormat &format, double indentMm, double hangingMm, double rightMm);

QList<double> tabStopsMm(const QTextBlockFormat &format);
void setTabStops(QTextBlockFormat &format, const QList<double> &stopsMm);

bool bullet(const QTextBlockFormat &format);
double bulletIndentMm(const QTextBlockFormat &format);
void setBullet(QTextBlockFormat &format, bool on, double bulletIndentMm);
// How far the first line's text stands behind its bullet, which stands at the first line's
// indent.
double bulletTextMm(const QTextBlockFormat &format);
// The bullet shown: the list's own characters and font, or the usual bullet in the text's font
// (an empty family).
QString bulletText(const QTextBlockFormat &format);
QString bulletFont(const QTextBlockFormat &format);
void setBulletLabel(QTextBlockFormat &format, const QString &text, const QString &family);

// A list paragraph's level as its file's list table gave it, which a save writes back as that
// level of that list, so that other word processors show the labels they showed.
struct ListLevel
{
    int list = 0; // from newListId(), shared by the items of one list
    int level = 0; // \ilvl
    int numbering = 0; // \levelnfc
    int start = 1; // \levelstartat
    QString text; // \leveltext, characters below 10 standing for the numbers of those levels
    QString font; // the label's own font; empty: the paragraph's
    bool symbolFont = false; // its characters are symbols (\fcharset2)

    bool operator==(const ListLevel &) const = default;
};
int newListId();
std::optional<ListLevel> listLevel(const QTextBlockFormat &format);
void setListLevel(QTextBlockFormat &format, const ListLevel &level);
// The paragraph's label becomes one of the program's own: the usual bullet, or none.
void clearListLevel(QTextBlockFormat &format);

int spaceBeforeTwips(const QTextBlockFormat &format);
int spaceAfterTwips(const QTextBlockFormat &format);
int lineSpacingTwips(const QTextBlockFormat &format);
bool lineSpacingMultiple(const QTextBlockFormat &format);
void setSpacing(QTextBlockFormat &format, int beforeTwips, int afterTwips, int lineTwips,
                bool multiple);

double charOffsetTwips(const QTextCharFormat &format);
// Needs the format's font size; call again when the size changes.
void setCharOffset(QTextCharFormat &format, double twips);

// Hidden text shows a grey dotted underline unless it has an underline of its own.
bool hidden(const QTextCharFormat &format);
void setHidden(QTextCharFormat &format);
// The underline the text has, without the mark of hidden text.
QTextCharFormat::UnderlineStyle ownUnderline(const QTextCharFormat &format);
// Sets or clears the text's own underline; hidden text keeps its mark where it has none.
void setOwnUnderline(QTextCharFormat &format, bool on);

// Whether two formats look the same, on screen and in a saved file: a value that only repeats
// what an unset one shows (an indent of 0, the document's own font) counts as unset.
bool looksAlike(const QTextBlockFormat &a, const QTextBlockFormat &b);
bool looksAlike(const QTextCharFormat &a, const QTextCharFormat &b, const QFont &documentFont);

} // namespace TextFormat
