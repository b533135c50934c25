// The format properties that keep bookmarks and comments with their characters.
#include "text/TextMarks.h"

#include <QHash>

namespace TextMarks {

namespace {

enum Property : int {
    Before = QTextFormat::UserProperty + 0x600,
    After,
    // The marks' hash as a plain number: Qt's format collection hashes byte arrays all alike,
    // so without it every marked character's format would be looked up among all the others.
    Key,
};

void set(QTextCharFormat &format, Property which, const QByteArray &bytes)
{
    if (bytes.isEmpty())
        format.clearProperty(which);
    else
        format.setProperty(which, bytes);
    if (format.hasProperty(Before) || format.hasProperty(After))
        format.setProperty(Key,
                           static_cast<int>(qHash(before(format)) ^ qHash(after(format)) * 31));
    else
        format.clearProperty(Key);
}

} // namespace

QByteArray before(const QTextFormat &format)
{
    return format.property(Before).toByteArray();
}

QByteArray after(const QTextFormat &format)
{
    return format.property(After).toByteArray();
}

void setBefore(QTextCharFormat &format, const QByteArray &bytes)
{
    set(format, Before, bytes);
}

void setAfter(QTextCharFormat &format, const QByteArray &bytes)
{
    set(format, After, bytes);
}

void clear(QTextCharFormat &format)
{
    format.clearProperty(Before);
    format.clearProperty(After);
    format.clearProperty(Key);
}

} // namespace TextMarks
