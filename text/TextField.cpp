// The format properties that keep a field's instructions with its result text.
#include "text/TextField.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextFragment>
#include <atomic>

namespace TextField {

namespace {

enum Property : int {
    Ids = QTextFormat::UserProperty + 0x300, // QList<int>
    Instructions, // QList<QByteArray>
    // The innermost field's id again: Qt's format collection hashes lists all alike, so
    // without a plain number every field's format would be looked up among all the others.
    InnermostId,
};

// The fields the character at the position stands in; none beyond the block.
QList<Field> fieldsAt(const QTextBlock &block, int position)
{
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (position >= fragment.position() && position < fragment.position() + fragment.length())
            return of(fragment.charFormat());
    }
    return {};
}

} // namespace

int newId()
{
    static std::atomic<int> last {0};
    return ++last;
}

QList<Field> of(const QTextCharFormat &format)
{
    if (!format.hasProperty(Ids))
        return {};
    const QList<int> ids = format.property(Ids).value<QList<int>>();
    const QList<QByteArray> instructions = format.property(Instructions).value<QList<QByteArray>>();
    QList<Field> fields;
    for (qsizetype i = 0; i < std::min(ids.size(), instructions.size()); ++i)
        fields.append(Field {ids.at(i), instructions.at(i)});
    return fields;
}

void set(QTextCharFormat &format, const QList<Field> &fields)
{
    if (fields.isEmpty()) {
        clear(format);
        return;
    }
    QList<int> ids;
    QList<QByteArray> instructions;
    for (const Field &field : fields) {
        ids.append(field.id);
        instructions.append(field.instruction);
    }
    format.setProperty(Ids, QVariant::fromValue(ids));
    format.setProperty(Instructions, QVariant::fromValue(instructions));
    format.setProperty(InnermostId, fields.last().id);
}

void clear(QTextCharFormat &format)
{
    format.clearProperty(Ids);
    format.clearProperty(Instructions);
    format.clearProperty(InnermostId);
}

QTextCharFormat insertionFormat(const QTextCursor &cursor)
{
    QTextCharFormat format = cursor.charFormat();
    const QList<Field> fields = of(format);
    if (fields.isEmpty() || cursor.hasSelection())
        return format;
    // Inside a field's result both neighbours belong to it; at its edge one does not.
    const QTextBlock block = cursor.block();
    const QList<Field> before = fieldsAt(block, cursor.position() - 1);
    const QList<Field> after = fieldsAt(block, cursor.position());
    qsizetype shared = 0;
    while (shared < fields.size() && shared < before.size() && shared < after.size()
           && before.at(shared) == fields.at(shared) && after.at(shared) == fields.at(shared))
        ++shared;
    if (shared < fields.size())
        set(format, fields.first(shared));
    return format;
}

} // namespace TextField
