// The RTF fixtures of the tests and their saved copies.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTextCursor>

class QTextDocument;
class RichTextBox;

namespace RtfFiles {

// The path of a file in tests/fixtures/rtf.
QString fixture(const QString &name);
// Saves the box's text as RTF to the path and returns what landed there; empty when the save
// failed.
QByteArray saveAndRead(RichTextBox &box, const QString &path);
// The first character of the first occurrence of the text, selected; null when it is missing.
QTextCursor firstCharacterOf(const QTextDocument &document, const QString &text);

} // namespace RtfFiles
