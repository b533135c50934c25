// The threads that read drives for the picture browser, and one read on them whose result comes
// to the window's thread. A drive that does not answer, such as a hung network mount, holds a
// thread for as long as it does not: each drive therefore has readers of its own, so that the
// other drives, the program's other work and its end never wait behind it.
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QtConcurrent/QtConcurrentRun>
#include <functional>
#include <memory>
#include <utility>

class QThreadPool;

// What is read from a drive; each kind has its own reader there.
enum class DriveRead { Tree, Files, Picture };

// The reader of DRIVE (its root) for READ, which reads one job after another; the empty drive
// stands for the mount table. Called on the window's thread.
QThreadPool *driveReader(const QString &drive, DriveRead read);

// One read at a time on a drive reader, its result handed to DONE on the window's thread.
// Starting another read or destroying the job cancels the one before: one that has not started
// never does, and the result of one still running is dropped whenever it comes.
template<typename Result>
class DriveJob
{
public:
    using Done = std::function<void(const Result &result)>;

    explicit DriveJob(Done done) : done(std::move(done)) { }
    DriveJob(const DriveJob &) = delete;
    DriveJob &operator=(const DriveJob &) = delete;
    ~DriveJob() { cancel(); }

    void start(QThreadPool *reader, std::function<Result()> read)
    {
        cancel();
        watcher = std::make_unique<QFutureWatcher<Result>>();
        QObject::connect(watcher.get(), &QFutureWatcherBase::finished, [this] {
            // The watcher goes once its signal returns; DONE may start the next read.
            QFutureWatcher<Result> *finished = watcher.release();
            finished->deleteLater();
            done(finished->result());
        });
        watcher->setFuture(QtConcurrent::run(reader, std::move(read)));
    }
    void cancel()
    {
        if (watcher)
            watcher->cancel();
        watcher.reset();
    }
    bool running() const { return watcher != nullptr; }

private:
    const Done done;
    std::unique_ptr<QFutureWatcher<Result>> watcher;
};
