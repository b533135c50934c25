// Writes a range of a QTextDocument as a self-contained RTF document (code page 1252, CR LF).
#pragma once

#include <QByteArray>

class QTextDocument;

namespace rtf {

// The characters from position `from` up to `to` (exclusive); to < 0 means the end.
QByteArray write(const QTextDocument &document, int from = 0, int to = -1);

} // namespace rtf
