// The RTF fixtures of the tests and their saved copies.
#include "tests/support/RtfFiles.h"

#include "tests/support/Fixtures.h"

#include "text/RichTextBox.h"

#include <QFile>
#include <QTextDocument>

namespace RtfFiles {

QString fixture(const QString &name)
{
    return Fixtures::path(QStringLiteral("rtf/") + name);
}

QByteArray saveAndRead(RichTextBox &box, const QString &path)
{
    if (!box.SaveFile(path, RichTextBox::rtfRTF))
        return QByteArray();
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QTextCursor firstCharacterOf(const QTextDocument &document, const QString &text)
{
    QTextCursor found = document.find(text, 0, QTextDocument::FindCaseSensitively);
    if (!found.isNull()) {
        const int start = found.selectionStart();
        found.setPosition(start);
        found.setPosition(start + 1, QTextCursor::KeepAnchor);
    }
    return found;
}

} // namespace RtfFiles
