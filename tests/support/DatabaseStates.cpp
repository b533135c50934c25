// Database files in the states a user may meet, made and undone by the tests.
#include "tests/support/DatabaseStates.h"

#include <QFile>
#include <QSqlQuery>
#include <QUuid>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

bool writable(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

bool setImmutable(const QString &path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

} // namespace

namespace DatabaseStates {

Lock::Lock(const QString &path) : name(QUuid::createUuid().toString())
{
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    database.setDatabaseName(path);
    if (database.open()) {
        QSqlQuery query(database);
        locked = query.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    }
}

Lock::~Lock()
{
    {
        QSqlDatabase database = QSqlDatabase::database(name, false);
        if (locked)
            QSqlQuery(database).exec(QStringLiteral("ROLLBACK"));
        database.close();
    }
    QSqlDatabase::removeDatabase(name);
}

PassingLock::PassingLock(const QString &path)
    : holder(&PassingLock::hold, this, QFile::encodeName(path))
{
    std::unique_lock guard(mutex);
    changed.wait(guard, [this] { return taken; });
}

PassingLock::~PassingLock()
{
    release();
    holder.join();
}

void PassingLock::release()
{
    {
        const std::lock_guard guard(mutex);
        released = true;
    }
    changed.notify_all();
}

void PassingLock::hold(const QByteArray &path)
{
    // Longer than a window may wait for a lock, shorter than the engine's usual wait.
    constexpr auto longestHold = std::chrono::seconds(3);
    sqlite3 *connection = nullptr;
    const bool opened
        = sqlite3_open_v2(path.constData(), &connection, SQLITE_OPEN_READWRITE, nullptr)
        == SQLITE_OK;
    const bool exclusive = opened
        && sqlite3_exec(connection, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
    std::unique_lock guard(mutex);
    taken = true;
    locked = exclusive;
    changed.notify_all();
    changed.wait_for(guard, longestHold, [this] { return released; });
    if (exclusive)
        sqlite3_exec(connection, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(connection);
}

ReadOnly::ReadOnly(const QString &path) : path(path)
{
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    if (writable(path))
        immutable = setImmutable(path, true);
    readOnly = !writable(path);
}

ReadOnly::~ReadOnly()
{
    if (immutable)
        setImmutable(path, false);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    handler = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &before);
    rlimit limit = before;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, handler);
}

namespace {

// Where the other program's file comes from and goes, for the signal handler.
QByteArray madeFile;
QByteArray placedFile;

} // namespace

MadeMeanwhile::MadeMeanwhile(const QString &made, const QString &path)
{
    madeFile = QFile::encodeName(made);
    placedFile = QFile::encodeName(path);
    // rename() may be called in a signal handler; once done, it finds nothing more to move.
    handler
        = std::signal(SIGXFSZ, [](int) { ::rename(madeFile.constData(), placedFile.constData()); });
    ::getrlimit(RLIMIT_FSIZE, &before);
    rlimit limit = before;
    limit.rlim_cur = 0;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

MadeMeanwhile::~MadeMeanwhile()
{
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, handler);
}

bool truncate(const QString &path, qint64 bytes)
{
    QFile file(path);
    return file.resize(bytes);
}

} // namespace DatabaseStates
