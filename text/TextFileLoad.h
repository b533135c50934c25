// Loading document files into a fresh document: opening only regular files, the size limit
// however the file grows while it is read, and the wait that keeps the window served while a
// large file is read.
#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <functional>
#include <optional>

class QFile;
class QObject;
class QString;

namespace TextFileLoad {

// The largest file opened: its text takes about twice as much memory in the document, more
// with many short lines, and a window holds that and its layout in well under two gigabytes.
constexpr qint64 MaxFileBytes = 256 * 1024 * 1024;

enum class Opening { Opened, Unreadable, NotRegularFile, TooLarge };

// Opens FILE (named, closed) for reading when it is a regular file within the size limit.
// A pipe or device is refused without being opened, and a pipe put in the file's place
// meanwhile without waiting for a writer: it has no end to read to.
Opening open(QFile &file);

// Reads an open file in pieces of a few megabytes, never past the size limit: a file that
// grows while it is read is read no further once it holds more.
class LimitedRead
{
public:
    explicit LimitedRead(QFile &file) : file(file) { }

    // The next piece, empty at the end; none on a read error or past the size limit.
    std::optional<QByteArray> next();
    // At the file's end, or at the size limit.
    bool atEnd() const;

private:
    QFile &file;
    // A read gave nothing: the file is shorter than it was.
    bool ended = false;
};

// All of an open FILE; none on a read error or once it holds more than the size limit.
std::optional<QByteArray> readWhole(QFile &file);

// Whether FILE now holds more than the size limit.
bool pastLimit(const QFile &file);

// Runs WORK on a thread of its own, to which OBJECT (without a parent) belongs meanwhile, so
// that what the work makes in it has the right thread. Meanwhile this thread's event loop
// paints and serves its timers but holds back keys and clicks, no window closes, and the mouse
// pointer is the hourglass.
void whileServed(QObject &object, const std::function<void()> &work);

} // namespace TextFileLoad
