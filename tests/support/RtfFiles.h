// The RTF fixtures of the tests and their saved copies.
#pragma once

#include <QByteArray>
#include <QString>

class RichTextBox;

namespace RtfFiles {

// The path of a file in tests/fixtures/rtf.
QString fixture(const QString &name);
// Saves the box's text as RTF to the path and returns what landed there; empty when the save
// failed.
QByteArray saveAndRead(RichTextBox &box, const QString &path);

} // namespace RtfFiles
