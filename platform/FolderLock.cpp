// flock on the folder itself: it follows the folder through a rename and goes with the process.
#include "platform/FolderLock.h"

#include <QFile>
#include <utility>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#ifndef Q_OS_WIN
FolderLock::FolderLock(const QString &folder, Kind kind, Wait wait)
{
    const int opened
        = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (opened < 0)
        return;
    const int operation
        = (kind == Kind::Shared ? LOCK_SH : LOCK_EX) | (wait == Wait::No ? LOCK_NB : 0);
    int locked = 0;
    do
        locked = ::flock(opened, operation);
    while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        ::close(opened);
        return;
    }
    handle = opened;
}

FolderLock::~FolderLock()
{
    if (handle >= 0)
        ::close(handle);
}
#else
// Without flock a folder is always taken as free.
FolderLock::FolderLock(const QString &, Kind, Wait) : handle(0) { }

FolderLock::~FolderLock() = default;
#endif

FolderLock::FolderLock(FolderLock &&other) noexcept : handle(std::exchange(other.handle, -1)) { }

FolderLock &FolderLock::operator=(FolderLock &&other) noexcept
{
    FolderLock taken(std::move(other));
    std::swap(handle, taken.handle);
    return *this;
}
