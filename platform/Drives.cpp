// Volumes from QStorageInfo; removable media are told by the block device's "removable" flag.
#include "platform/Drives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <algorithm>

namespace {

std::function<QList<Drives::Volume>()> &volumeSource()
{
    static std::function<QList<Drives::Volume>()> source;
    return source;
}

bool isPseudoFileSystem(const QStorageInfo &storage)
{
    static const QSet<QByteArray> pseudo
        = {"proc",       "sysfs",    "cgroup",  "cgroup2", "devtmpfs",    "devpts",
           "securityfs", "debugfs",  "tracefs", "pstore",  "bpf",         "mqueue",
           "hugetlbfs",  "configfs", "fusectl", "autofs",  "binfmt_misc", "efivarfs",
           "rpc_pipefs", "nsfs",     "ramfs",   "overlay", "fuse.portal", "fuse.gvfsd-fuse"};
    const QByteArray type = storage.fileSystemType();
    if (pseudo.contains(type))
        return storage.rootPath() != QLatin1String("/");
    const QString root = storage.rootPath();
    const bool systemTree = root == QLatin1String("/run") || root.startsWith(QLatin1String("/run/"))
        || root == QLatin1String("/sys") || root.startsWith(QLatin1String("/sys/"))
        || root == QLatin1String("/dev") || root.startsWith(QLatin1String("/dev/"))
        || root == QLatin1String("/proc") || root.startsWith(QLatin1String("/proc/"));
    return type == "tmpfs" ? systemTree : systemTree && root != QLatin1String("/");
}

// The flag belongs to the whole disk; a partition's parent folder in sysfs is that disk.
bool isRemovable(const QByteArray &device)
{
    if (!device.startsWith("/dev/"))
        return false;
    const QString name = QFileInfo(QString::fromLocal8Bit(device))
                             .canonicalFilePath()
                             .section(QLatin1Char('/'), -1);
    QString block = QFileInfo(QStringLiteral("/sys/class/block/") + name).canonicalFilePath();
    for (int level = 0; level < 2 && !block.isEmpty(); ++level) {
        QFile flag(block + QStringLiteral("/removable"));
        if (flag.open(QIODevice::ReadOnly))
            return flag.readAll().trimmed() == "1";
        block = QFileInfo(block).path();
    }
    return false;
}

QString withSeparator(const QString &path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

QList<Drives::Volume> mountedVolumes()
{
    QList<Drives::Volume> found;
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        // Containers bind single files (/etc/hosts) as mounts; a drive is a folder.
        if (!storage.isValid() || !storage.isReady() || isPseudoFileSystem(storage)
            || !QFileInfo(storage.rootPath()).isDir())
            continue;
        Drives::Volume volume;
        volume.rootPath = withSeparator(storage.rootPath());
        volume.label = storage.name();
        volume.fileSystem = QString::fromLatin1(storage.fileSystemType());
        volume.bytesTotal = storage.bytesTotal();
        volume.removable = isRemovable(storage.device());
        found.append(volume);
    }
    return found;
}

} // namespace

namespace Drives {

QList<Volume> volumes()
{
    QList<Volume> found = volumeSource() ? volumeSource()() : mountedVolumes();
    std::stable_sort(found.begin(), found.end(), [](const Volume &a, const Volume &b) {
        const bool aRoot = a.rootPath == QLatin1String("/");
        const bool bRoot = b.rootPath == QLatin1String("/");
        if (aRoot != bRoot)
            return aRoot;
        return a.rootPath < b.rootPath;
    });
    // A volume mounted twice (bind mounts) is one drive.
    QList<Volume> unique;
    for (const Volume &volume : found) {
        if (std::none_of(unique.cbegin(), unique.cend(), [&volume](const Volume &seen) {
                return seen.rootPath == volume.rootPath;
            }))
            unique.append(volume);
    }
    return unique;
}

int GetDriveType(const Volume &volume)
{
    static const QSet<QString> optical = {QStringLiteral("iso9660"), QStringLiteral("udf")};
    static const QSet<QString> network
        = {QStringLiteral("nfs"),   QStringLiteral("nfs4"),        QStringLiteral("cifs"),
           QStringLiteral("smb3"),  QStringLiteral("smbfs"),       QStringLiteral("fuse.sshfs"),
           QStringLiteral("9p"),    QStringLiteral("afs"),         QStringLiteral("ncpfs"),
           QStringLiteral("davfs"), QStringLiteral("fuse.davfs2"), QStringLiteral("fuse.rclone")};
    if (optical.contains(volume.fileSystem))
        return CdRom;
    if (network.contains(volume.fileSystem))
        return Remote;
    if (volume.fileSystem == QLatin1String("tmpfs"))
        return RamDisk;
    return volume.removable ? Removable : Fixed;
}

void setVolumeSource(std::function<QList<Volume>()> source)
{
    volumeSource() = std::move(source);
}

} // namespace Drives
