// Loading document files into a fresh document: the size limit, and the wait that keeps the
// window served while a large file is read.
#pragma once

#include <QtGlobal>
#include <functional>

class QObject;

namespace TextFileLoad {

// The largest file opened: its text takes about twice as much memory in the document, more
// with many short lines, and a window holds that and its layout in well under two gigabytes.
constexpr qint64 MaxFileBytes = 256 * 1024 * 1024;

// Runs WORK on a thread of its own, to which OBJECT (without a parent) belongs meanwhile, so
// that what the work makes in it has the right thread. Meanwhile this thread's event loop
// paints and serves its timers but holds back keys and clicks, no window closes, and the mouse
// pointer is the hourglass.
void whileServed(QObject &object, const std::function<void()> &work);

} // namespace TextFileLoad
