// The plain-text file codec: a file read into a document in bounded pieces, its encoding and
// line ends found, and the document written back byte for byte as the file held it.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class QFile;
class QTextDocument;

namespace PlainTextFile {

enum class Encoding { Utf8, Utf8Bom, Cp1252 };

inline constexpr char utf8Bom[] = "\xEF\xBB\xBF";

// A line longer than LongLine characters is shown in pieces of at most PieceLength, each
// ending after its last space when it has one. Qt lays a paragraph out whole on every change
// to it, and breaks a long word at the margin in a time that grows with the square of its
// length; such a piece is broken at the margin like any short paragraph. Each piece after the
// first continues the line (TextFormat::ContinuedLine), and the line is saved whole.
constexpr int LongLine = 512 * 1024;
constexpr int PieceLength = 4096;

// How a file holds its text: the encoding and the usual line end, the one that ends its first
// line. A new text is UTF-8 with LF.
struct Format
{
    Encoding encoding = Encoding::Utf8;
    QString lineEnd = QStringLiteral("\n");
};

// Fills the empty DOCUMENT with the text of FILE (open for reading), UTF-8 when it is valid
// UTF-8, else code page 1252. Empty when the file could not be read, or once it holds more
// than the size limit (TextFileLoad): it may grow while it is read, but is read no further.
std::optional<Format> read(QFile &file, QTextDocument &document);

// The text as the file holds it: each paragraph's own end, LINE_END where it has none.
QString text(const QTextDocument &document, const QString &lineEnd);

// The file's bytes for DOCUMENT; a code page 1252 text that no longer fits that code page
// becomes UTF-8, and FORMAT says so from then on.
QByteArray encode(const QTextDocument &document, Format &format);

} // namespace PlainTextFile
