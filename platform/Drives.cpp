// Drives from the kernel's mount table, each asked for its volume through QStorageInfo only when
// the browser reads it; removable media are told by the block device's "removable" flag.
#include "platform/Drives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <algorithm>

namespace {

std::function<QList<Drives::Drive>()> &driveSource()
{
    static std::function<QList<Drives::Drive>()> source;
    return source;
}

bool isPseudoFileSystem(const QString &root, const QByteArray &type)
{
    static const QSet<QByteArray> pseudo
        = {"proc",   "sysfs",       "cgroup",      "cgroup2",         "devtmpfs",
           "devpts", "securityfs",  "debugfs",     "tracefs",         "pstore",
           "bpf",    "mqueue",      "hugetlbfs",   "configfs",        "fusectl",
           "autofs", "binfmt_misc", "efivarfs",    "rpc_pipefs",      "nsfs",
           "ramfs",  "overlay",     "fuse.portal", "fuse.gvfsd-fuse", "rootfs"};
    if (pseudo.contains(type))
        return root != QLatin1String("/");
    static const QStringList systemTrees
        = {QStringLiteral("/run"),  QStringLiteral("/sys"),     QStringLiteral("/dev"),
           QStringLiteral("/proc"), QStringLiteral("/var/run"), QStringLiteral("/var/lock")};
    const bool systemTree
        = std::any_of(systemTrees.cbegin(), systemTrees.cend(), [&root](const QString &tree) {
              return root == tree || root.startsWith(tree + QLatin1Char('/'));
          });
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

// The table writes a space, tab, line end or backslash in a path as three octal digits.
QByteArray unescapedPath(const QByteArray &field)
{
    QByteArray path;
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QByteArray digits = field.mid(i + 1, 3);
        bool octal = false;
        const int code = field.at(i) == '\\' && digits.size() == 3 ? digits.toInt(&octal, 8) : 0;
        if (octal) {
            path.append(static_cast<char>(code));
            i += digits.size();
        } else {
            path.append(field.at(i));
        }
    }
    return path;
}

// What the drive at ROOT says of itself; it asks the drive, which may not answer.
std::optional<Drives::Volume> askVolume(const QString &root)
{
    const QStorageInfo storage(root);
    // Containers bind single files (/etc/hosts) as mounts; a drive is a folder. A volume of no
    // size is a pseudo file system the table does not tell as such.
    if (!storage.isValid() || !storage.isReady() || withSeparator(storage.rootPath()) != root
        || (storage.bytesTotal() == 0 && root != QLatin1String("/")) || !QFileInfo(root).isDir())
        return std::nullopt;
    Drives::Volume volume;
    volume.rootPath = root;
    volume.label = storage.name();
    volume.fileSystem = QString::fromLatin1(storage.fileSystemType());
    volume.bytesTotal = storage.bytesTotal();
    volume.removable = isRemovable(storage.device());
    return volume;
}

Drives::Drive mountedDrive(const QString &root)
{
    return {root, [root] { return askVolume(root); }};
}

// The mount points from the kernel's table: each line holds the mount point as its fifth field
// and the file system type after the "-" that ends the optional fields.
QList<Drives::Drive> mountedDrives()
{
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return {mountedDrive(QStringLiteral("/"))};
    QList<Drives::Drive> found;
    for (const QByteArray &line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype separator = fields.indexOf("-");
        constexpr qsizetype mountPointField = 4;
        if (separator <= mountPointField || separator + 1 >= fields.size())
            continue;
        const QString root = QFile::decodeName(unescapedPath(fields.at(mountPointField)));
        if (!isPseudoFileSystem(root, fields.at(separator + 1)))
            found.append(mountedDrive(withSeparator(root)));
    }
    return found;
}

} // namespace

namespace Drives {

QList<Drive> drives()
{
    QList<Drive> found = driveSource() ? driveSource()() : mountedDrives();
    std::stable_sort(found.begin(), found.end(), [](const Drive &a, const Drive &b) {
        const bool aRoot = a.rootPath == QLatin1String("/");
        const bool bRoot = b.rootPath == QLatin1String("/");
        if (aRoot != bRoot)
            return aRoot;
        return a.rootPath < b.rootPath;
    });
    // A volume mounted twice (bind mounts) is one drive.
    QList<Drive> unique;
    for (const Drive &drive : found) {
        if (std::none_of(unique.cbegin(), unique.cend(),
                         [&drive](const Drive &seen) { return seen.rootPath == drive.rootPath; }))
            unique.append(drive);
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

void setDriveSource(std::function<QList<Drive>()> source)
{
    driveSource() = std::move(source);
}

void setVolumeSource(std::function<QList<Volume>()> source)
{
    if (!source) {
        setDriveSource({});
        return;
    }
    setDriveSource([source = std::move(source)] {
        QList<Drive> answering;
        for (const Volume &volume : source())
            answering.append({volume.rootPath, [volume] { return volume; }});
        return answering;
    });
}

} // namespace Drives
