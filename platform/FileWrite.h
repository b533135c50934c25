// Writing a whole file so that a failed write never harms the file it was to replace.
#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QList>
#include <QString>
#include <optional>

namespace FileWrite {

struct Result
{
    bool written = false;
    // Set when the file holds neither its old bytes nor the new ones: the kept copy that holds
    // its whole old bytes.
    QString damagedFilesCopy;

    explicit operator bool() const { return written; }
};

// Writes the bytes beside the target and puts them in its place only when every byte has
// reached the disk. A writable file is written in place where a new file cannot take its place
// (a folder that takes no new file) or would lose what the old one had (further names, owner,
// group). Not written on any failure, the old file unchanged unless it is told damaged.
// With `permissions`, a file that takes the target's place gets them from its start, instead of
// the old file's or a new file's default; one written in place keeps its own.
Result replace(const QString &path, const QByteArray &bytes,
               std::optional<QFileDevice::Permissions> permissions = std::nullopt);

// Writes over an existing, readable file in place. Refused when the free space cannot hold the
// bytes or no copy of the old bytes can be kept in the kept-copies folder; that copy goes once
// the new bytes are on disk. A failed write puts the old bytes back; where that fails too, the
// file is told damaged and its copy stays.
Result overwrite(const QString &path, const QByteArray &bytes);

// A copy of a file's old bytes that an in-place write left behind.
struct KeptCopy
{
    QString document; // the file that was being written
    QString copy;
};

// The copies in-place writes that never finished (a crash, a power cut) left behind, oldest
// first. The copies of writes still running, in this program or another, are not among them.
QList<KeptCopy> keptCopies();

} // namespace FileWrite
