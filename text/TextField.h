// Fields in a rich text: each character of a field's result carries the fields it stands in,
// outermost first, with their instructions as the file wrote them.
#pragma once

#include <QByteArray>
#include <QList>
#include <QTextCharFormat>

class QTextCursor;

namespace TextField {

struct Field
{
    int id = 0; // tells two neighbouring fields with the same instruction apart
    QByteArray instruction; // the RTF of the instruction group's content

    bool operator==(const Field &) const = default;
};

// An id no field of this run of the program has had yet.
int newId();

QList<Field> of(const QTextCharFormat &format);
void set(QTextCharFormat &format, const QList<Field> &fields);
void clear(QTextCharFormat &format);

// The format text typed at the cursor gets: text typed at a field's edge stays outside it.
QTextCharFormat insertionFormat(const QTextCursor &cursor);

} // namespace TextField
