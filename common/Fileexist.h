// Fileexist: the program's test whether a file is there to be read.
#pragma once

#include <QString>

// True only for a regular file that opens for reading; never raises, never blocks
// (a FIFO, a folder, an empty path or a missing file give false). Leaves no file open.
bool Fileexist(const QString &path);
