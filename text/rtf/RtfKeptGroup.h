// A group kept for writing back (a header, a shape, an object, a field's instruction) made to
// read in the saved file as it read in its own: its text in code pages other than 1252 as \u
// escapes, and the fonts it names carried along, for the writer to number in its font table.
#pragma once

#include "text/rtf/RtfCodePage.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace rtf {

// A font of a file's font table: its family and the code page of text in it.
struct FileFont
{
    QString family;
    int codePage = codepage::ansi;
};

// Bytes of text in one code page, gathered while they follow one another and written as \u
// escapes: a multi-byte character may be split over several \'hh.
class EscapedText
{
public:
    bool isEmpty() const { return bytes.isEmpty(); }
    qsizetype size() const { return bytes.size(); }
    // Flushes what it holds first when the code page or the count of fallback characters
    // (\uc) changes.
    void add(unsigned char byte, int codePage, int unicodeSkip, QByteArray &out,
             CodePageDecoder &decoder);
    void flush(QByteArray &out, CodePageDecoder &decoder);

private:
    QByteArray bytes;
    int codePage = codepage::ansi;
    int unicodeSkip = 1;
};

namespace kept {

// What the file around a kept group gives it.
struct Source
{
    const QHash<int, FileFont> &fonts;
    int defaultFont = 0; // \deff, what \plain goes back to
    int documentCodePage = codepage::ansi;
    int codePage = codepage::ansi; // in force where the group starts
    int unicodeSkip = 1; // \uc there
};

// The group as the file had it, its text in other code pages written as \u, behind a note of
// the fonts it names when it names any.
QByteArray own(QByteArrayView group, const Source &source);

// A font a kept group names: its number in its own file.
struct NamedFont
{
    int number = 0;
    QString family;
    bool symbol = false; // \fcharset2: its bytes are glyphs, not text

    bool operator==(const NamedFont &) const = default;
};

// The fonts the kept bytes name, one kept group or several after one another.
QList<NamedFont> fonts(QByteArrayView kept);
// The font numbers of the saved file: `number` gives the one for a named font, `plain` the
// one \plain gives there.
struct Numbering
{
    std::function<int(const NamedFont &)> number;
    int plain = 0;
};
// The bytes as the saved file writes them: the notes of their fonts taken out, the font
// numbers of their own file put in the saved file's.
QByteArray place(QByteArrayView kept, const Numbering &numbering);
// The font \plain gives in the first kept group that uses it; none when none does.
std::optional<NamedFont> plainFont(QByteArrayView kept);

} // namespace kept

} // namespace rtf
