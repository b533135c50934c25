// Bookmarks and comments in a rich text: Velmar neither shows nor edits them but keeps them as
// the file had them, carried by the character they stood before or behind. Deleting that
// character deletes them, and Undo brings them back with it.
#pragma once

#include <QByteArray>
#include <QTextCharFormat>

namespace TextMarks {

// The RTF the file had before the character, and behind it; empty for none.
QByteArray before(const QTextFormat &format);
QByteArray after(const QTextFormat &format);
void setBefore(QTextCharFormat &format, const QByteArray &bytes);
void setAfter(QTextCharFormat &format, const QByteArray &bytes);
// Text typed beside a marked character takes none of its marks.
void clear(QTextCharFormat &format);

} // namespace TextMarks
