// Whole-file writes that check every step, since a buffered write reports a full disk only when
// it is flushed, and QSaveFile's commit would still rename the short file into place.
#include "platform/FileWrite.h"

#include "common/AppPaths.h"
#include "platform/FolderLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <optional>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// A kept copy's folder is made under a name with this beginning and renamed when the copy is
// whole, so a folder without it always holds a whole copy.
const QString unfinishedPrefix = QStringLiteral("teil-");

// Some file systems (delayed allocation, network) report a full disk only when the data is
// synced; one that cannot sync at all is no failure.
bool syncToDisk(int handle)
{
#ifndef Q_OS_WIN
    return ::fsync(handle) == 0 || errno == EINVAL || errno == EROFS;
#else
    Q_UNUSED(handle);
    return true;
#endif
}

bool syncToDisk(QFileDevice &file)
{
    return syncToDisk(file.handle());
}

// So that a file made or renamed in the folder is still there after a crash.
bool syncFolder(const QString &folder)
{
#ifndef Q_OS_WIN
    const int handle
        = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return false;
    const bool synced = syncToDisk(handle);
    ::close(handle);
    return synced;
#else
    Q_UNUSED(folder);
    return true;
#endif
}

bool writeAll(QFileDevice &file, const QByteArray &bytes)
{
    return file.write(bytes) == bytes.size() && file.flush() && syncToDisk(file);
}

// Writes the bytes from the start of an open file, cut to their length, and syncs them.
bool writeFromStart(QFile &file, const QByteArray &bytes)
{
    return file.seek(0) && file.write(bytes) == bytes.size() && file.resize(bytes.size())
        && file.flush() && syncToDisk(file);
}

// Each kept copy's folder holds the document's path and, in a folder of its own, the copy under
// the document's name, so that no name the document may have meets the path's file.
const QString documentPathFile = QStringLiteral("Ort");
const QString copyFolder = QStringLiteral("Kopie");

// The old bytes of a file about to be written in place, kept on disk in a folder of their own
// until the new bytes are, so that a crash part way leaves them to the user. The folder is
// locked from its making to the end of the write, so that another Velmar's start leaves it alone.
class OldBytesCopy
{
public:
    OldBytesCopy(const QFile &original, const QByteArray &bytes)
    {
        const QString copies = AppPaths::keptCopiesFolder();
        if (!QDir().mkpath(copies))
            return;
        std::optional<QTemporaryDir> unfinished;
        {
            // A start looking for left copies waits until the new folder is locked.
            const FolderLock making(copies, FolderLock::Kind::Shared, FolderLock::Wait::UntilFree);
            if (!making.held())
                return;
            unfinished.emplace(AppPaths::join(copies, unfinishedPrefix + QStringLiteral("XXXXXX")));
            if (!unfinished->isValid())
                return;
            lock
                = FolderLock(unfinished->path(), FolderLock::Kind::Exclusive, FolderLock::Wait::No);
            if (!lock.held())
                return;
        }
        const QFileInfo document(original);
        if (!writeNew(unfinished->filePath(documentPathFile),
                      QDir::toNativeSeparators(document.absoluteFilePath()).toUtf8(),
                      QFileDevice::ReadOwner | QFileDevice::WriteOwner)
            || !QDir(unfinished->path()).mkdir(copyFolder))
            return;
        // The copy is no more open to others than the document.
        if (!writeNew(AppPaths::join(unfinished->filePath(copyFolder), document.fileName()), bytes,
                      original.permissions()))
            return;
        const QString whole = AppPaths::join(
            copies, QFileInfo(unfinished->path()).fileName().mid(unfinishedPrefix.size()));
        if (!QDir().rename(unfinished->path(), whole))
            return;
        unfinished->setAutoRemove(false);
        if (!syncFolder(copies)) {
            QDir(whole).removeRecursively();
            return;
        }
        folder = whole;
        copyPath = QDir::toNativeSeparators(
            AppPaths::join(AppPaths::join(whole, copyFolder), document.fileName()));
        syncFolder(QFileInfo(copies).absolutePath());
    }
    OldBytesCopy(const OldBytesCopy &) = delete;
    OldBytesCopy &operator=(const OldBytesCopy &) = delete;

    bool kept() const { return !folder.isEmpty(); }
    QString path() const { return copyPath; }
    // Once the file holds whole bytes again, the copy has served.
    void remove()
    {
        QDir(folder).removeRecursively();
        syncFolder(AppPaths::keptCopiesFolder());
        folder.clear();
    }

private:
    static bool writeNew(const QString &path, const QByteArray &bytes,
                         QFileDevice::Permissions permissions)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::NewOnly, permissions)
            && writeAll(file, bytes);
    }

    FolderLock lock;
    QString folder;
    QString copyPath;
};

#ifndef Q_OS_WIN
// Whether the new file that is to take the target's place by rename has, or can be given, the
// target's owner and group; a file with further names is never replaced, which would part them.
bool renameKeepsIdentity(const QString &path, QSaveFile &replacement)
{
    struct stat target
    {
    };
    struct stat written
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &target) != 0)
        return errno == ENOENT;
    if (target.st_nlink > 1 || ::fstat(replacement.handle(), &written) != 0)
        return false;
    return (written.st_uid == target.st_uid && written.st_gid == target.st_gid)
        || ::fchown(replacement.handle(), target.st_uid, target.st_gid) == 0;
}
#else
bool renameKeepsIdentity(const QString &, QSaveFile &)
{
    return true;
}
#endif

FileWrite::Result overwriteWritable(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    if (!target.isFile() || !target.isWritable())
        return {};
    return FileWrite::overwrite(path, bytes);
}

} // namespace

namespace FileWrite {

Result overwrite(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return {};
    // The old bytes are what a failed write gives back; a file that cannot be read back whole
    // is not risked.
    const QByteArray old = file.readAll();
    if (file.error() != QFileDevice::NoError || old.size() != file.size())
        return {};
    const QStorageInfo storage(path);
    if (storage.isValid() && storage.bytesAvailable() + old.size() < bytes.size())
        return {};
    OldBytesCopy copy(file, old);
    if (!copy.kept())
        return {};
    // Overwriting without truncating first keeps the old bytes' room, so writing them back
    // needs no new space.
    if (writeFromStart(file, bytes)) {
        copy.remove();
        return {true, QString()};
    }
    file.unsetError();
    if (!writeFromStart(file, old))
        return {false, copy.path()};
    copy.remove();
    return {};
}

Result replace(const QString &path, const QByteArray &bytes,
               std::optional<QFileDevice::Permissions> permissions)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return overwriteWritable(path, bytes);
    if (!renameKeepsIdentity(path, file)) {
        file.cancelWriting();
        return overwriteWritable(path, bytes);
    }
    if ((permissions && !file.setPermissions(*permissions)) || !writeAll(file, bytes)) {
        file.cancelWriting();
        return {};
    }
    return {file.commit(), QString()};
}

QList<KeptCopy> keptCopies()
{
    const QString copies = AppPaths::keptCopiesFolder();
    // No save is between making its copy's folder and locking it.
    const FolderLock looking(copies, FolderLock::Kind::Exclusive, FolderLock::Wait::UntilFree);
    if (!looking.held())
        return {};
    QList<KeptCopy> left;
    const QDir folder(copies);
    const QStringList saves = folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                                               QDir::Time | QDir::Reversed);
    for (const QString &save : saves) {
        const QString saveFolder = folder.filePath(save);
        const FolderLock unused(saveFolder, FolderLock::Kind::Exclusive, FolderLock::Wait::No);
        if (!unused.held())
            continue;
        // An unfinished copy's file was never touched.
        if (save.startsWith(unfinishedPrefix)) {
            QDir(saveFolder).removeRecursively();
            continue;
        }
        QFile pathFile(AppPaths::join(saveFolder, documentPathFile));
        const QString document = pathFile.open(QIODevice::ReadOnly)
            ? QString::fromUtf8(pathFile.readAll())
            : QString();
        const QDir kept(AppPaths::join(saveFolder, copyFolder));
        for (const QString &name : kept.entryList(QDir::Files | QDir::Hidden))
            left.append({document, QDir::toNativeSeparators(kept.filePath(name))});
    }
    return left;
}

} // namespace FileWrite
