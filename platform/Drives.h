// The drives of the picture browser: the mounted volumes that hold real files, with the drive
// type numbers and capacity the browser sorts them by.
#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace Drives {

// The classic drive types; 0 stands for a kind no drive node is made for.
enum DriveType : int { Unknown = 0, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

struct Volume
{
    QString rootPath; // ends in "/"
    QString label;
    QString fileSystem;
    qint64 bytesTotal = 0;
    bool removable = false;
};

// A drive as the mount table names it. Reading the table asks no drive; `ask` does, and a
// drive that does not answer, such as a hung network mount, holds its caller until it does.
// It gives nothing for a drive that holds no volume ready to be read.
struct Drive
{
    QString rootPath; // ends in "/"
    std::function<std::optional<Volume>()> ask;
};

// The mounted drives: the root "/" first, then the others by root path, each once, without the
// kernel's pseudo file systems and the layers of containers.
QList<Drive> drives();

// The drive type of a volume by its file system and medium.
int GetDriveType(const Volume &volume);

// Tests hand the scan their own drives; an empty function restores the real scan.
void setDriveSource(std::function<QList<Drive>()> source);
// The same for drives that answer at once with the given volumes.
void setVolumeSource(std::function<QList<Volume>()> source);

} // namespace Drives
