// Database files put into the states a user may meet: locked by another program, read-only
// (also for root, through the immutable flag), truncated, or held to a file size limit.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <condition_variable>
#include <mutex>
#include <sys/resource.h>
#include <thread>

namespace DatabaseStates {

// Holds an exclusive lock on a database file through a connection of its own while it lives.
class Lock
{
public:
    explicit Lock(const QString &path);
    ~Lock();
    bool held() const { return locked; }

private:
    QString name;
    bool locked = false;
};

// An exclusive lock another program takes on a database file and gives up again: held on a
// thread of its own until release(), or after a few seconds at the latest. A program that waited
// that long for the lock would get through instead of reporting it.
class PassingLock
{
public:
    explicit PassingLock(const QString &path);
    ~PassingLock();
    PassingLock(const PassingLock &) = delete;
    PassingLock &operator=(const PassingLock &) = delete;
    bool held() const { return locked; }
    void release();

private:
    void hold(const QByteArray &path);

    std::mutex mutex;
    std::condition_variable changed;
    bool taken = false;
    bool locked = false;
    bool released = false;
    std::thread holder;
};

// Makes a file read-only while it lives: its write bits taken away and, where that does not
// stop this user (root), the immutable flag set. held() is false when neither works here.
class ReadOnly
{
public:
    explicit ReadOnly(const QString &path);
    ~ReadOnly();
    bool held() const { return readOnly; }

private:
    QString path;
    bool immutable = false;
    bool readOnly = false;
};

// Files may not grow beyond `bytes` while it lives; the signal for that is ignored, so a write
// past the limit fails as on a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();

private:
    rlimit before = {};
    void (*handler)(int) = nullptr;
};

// Another program that makes the same database at the same moment: while this lives, the first
// write of this process puts the whole file `made` in place as `path`, and it and every later
// write fail as on a full disk.
class MadeMeanwhile
{
public:
    MadeMeanwhile(const QString &made, const QString &path);
    ~MadeMeanwhile();
    MadeMeanwhile(const MadeMeanwhile &) = delete;
    MadeMeanwhile &operator=(const MadeMeanwhile &) = delete;

private:
    rlimit before = {};
    void (*handler)(int) = nullptr;
};

// Cuts a file to its first `bytes` bytes.
bool truncate(const QString &path, qint64 bytes);

} // namespace DatabaseStates
