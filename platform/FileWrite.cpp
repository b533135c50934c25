// Whole-file writes that check every step, since a buffered write reports a full disk only when
// it is flushed, and QSaveFile's commit would still rename the short file into place.
#include "platform/FileWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#ifndef Q_OS_WIN
#include <cerrno>
#include <unistd.h>
#endif

namespace {

// Some file systems (delayed allocation, network) report a full disk only when the data is
// synced; one that cannot sync at all is no failure.
bool syncToDisk(QFileDevice &file)
{
#ifndef Q_OS_WIN
    return ::fsync(file.handle()) == 0 || errno == EINVAL || errno == EROFS;
#else
    Q_UNUSED(file);
    return true;
#endif
}

bool writeAll(QFileDevice &file, const QByteArray &bytes)
{
    return file.write(bytes) == bytes.size() && file.flush() && syncToDisk(file);
}

} // namespace

namespace FileWrite {

bool overwrite(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return false;
    // The old bytes are what a failed write gives back; a file that cannot be read back whole
    // is not risked.
    const QByteArray old = file.readAll();
    if (file.error() != QFileDevice::NoError || old.size() != file.size())
        return false;
    const QStorageInfo storage(path);
    if (storage.isValid() && storage.bytesAvailable() + old.size() < bytes.size())
        return false;
    // Overwriting without truncating first keeps the old bytes' room, so writing them back
    // needs no new space.
    if (file.seek(0) && writeAll(file, bytes) && file.resize(bytes.size()))
        return true;
    file.unsetError();
    if (file.seek(0) && file.write(old) == old.size())
        file.resize(old.size());
    file.flush();
    return false;
}

bool replace(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const QFileInfo target(path);
        return target.isFile() && target.isWritable() && overwrite(path, bytes);
    }
    if (!writeAll(file, bytes)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace FileWrite
