// Writing a whole file so that a failed write never harms the file it was to replace.
#pragma once

#include <QByteArray>
#include <QString>

namespace FileWrite {

// Writes the bytes beside the target and puts them in its place only when every byte has
// reached the disk. A writable file in a folder that takes no new file is written in place:
// refused when the free space cannot hold it, and given its old bytes back when writing fails.
// False on any failure, with the old file unchanged.
bool replace(const QString &path, const QByteArray &bytes);

// Writes over an existing, readable file in place: refused when the free space cannot hold the
// bytes; a failed write puts the old bytes back. False on any failure.
bool overwrite(const QString &path, const QByteArray &bytes);

} // namespace FileWrite
