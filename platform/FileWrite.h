// Writing a whole file so that a failed write never harms the file it was to replace.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace FileWrite {

// Writes the bytes beside the target and puts them in its place only when every byte has
// reached the disk. A writable file is written in place where a new file cannot take its place
// (a folder that takes no new file) or would lose what the old one had (further names, owner,
// group). False on any failure, with the old file unchanged.
bool replace(const QString &path, const QByteArray &bytes);

// Writes over an existing, readable file in place. Refused when the free space cannot hold the
// bytes or no copy of the old bytes can be kept in the kept-copies folder; that copy goes once
// the new bytes are on disk. A failed write puts the old bytes back. False on any failure.
bool overwrite(const QString &path, const QByteArray &bytes);

// The copies an in-place write that never finished (a crash, a power cut) left behind, oldest
// first: each the old bytes of a file under its name.
QStringList keptCopies();

} // namespace FileWrite
