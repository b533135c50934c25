// The drives of the picture browser: the mounted volumes that hold real files, with the drive
// type numbers and capacity the browser sorts them by.
#pragma once

#include <QList>
#include <QString>
#include <functional>

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

// The mounted volumes: the root "/" first, then the others by root path, without the kernel's
// pseudo file systems and the layers of containers.
QList<Volume> volumes();

// The drive type of a volume by its file system and medium.
int GetDriveType(const Volume &volume);

// Tests hand the scan their own volumes; an empty function restores the real scan.
void setVolumeSource(std::function<QList<Volume>()> source);

} // namespace Drives
