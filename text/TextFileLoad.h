// Reading document files into a fresh document: the size limit, plain text read in bounded
// pieces with lines too long to lay out shown in pieces, and the wait that keeps the window served.
#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>

class QFile;
class QObject;
class QTextDocument;

namespace TextFileLoad {

enum class Encoding { Utf8, Utf8Bom, Cp1252 };

inline constexpr char utf8Bom[] = "\xEF\xBB\xBF";

// The largest file opened: its text takes about twice as much memory in the document, more
// with many short lines, and a window holds that and its layout in well under two gigabytes.
constexpr qint64 MaxFileBytes = 256 * 1024 * 1024;

// A line longer than LongLine characters is shown in pieces of at most PieceLength, each
// ending after its last space when it has one. Qt lays a paragraph out whole on every change
// to it, and breaks a long word at the margin in a time that grows with the square of its
// length; such a piece is broken at the margin like any short paragraph. Each piece after the
// first continues the line (TextFormat::ContinuedLine), and the line is saved whole.
constexpr int LongLine = 512 * 1024;
constexpr int PieceLength = 4096;

struct Plain
{
    Encoding encoding = Encoding::Utf8;
    QString lineEnd;
};

// Fills the empty DOCUMENT with the text of FILE (open for reading), UTF-8 when it is valid
// UTF-8, else code page 1252. Empty when the file could not be read.
std::optional<Plain> readPlain(QFile &file, QTextDocument &document);

// Runs WORK on a thread of its own, to which OBJECT (without a parent) belongs meanwhile, so
// that what the work makes in it has the right thread. Meanwhile this thread's event loop
// paints and serves its timers but holds back keys and clicks, no window closes, and the mouse
// pointer is the hourglass.
void whileServed(QObject &object, const std::function<void()> &work);

} // namespace TextFileLoad
