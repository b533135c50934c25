#include "tools/PreviewLoader.h"

#include <QtConcurrent/QtConcurrentRun>

PreviewLoader::PreviewLoader(QObject *parent) : QObject(parent)
{
    connect(&watcher, &QFutureWatcherBase::finished, this, &PreviewLoader::finished);
}

void PreviewLoader::request(const QString &path)
{
    if (busy())
        waiting = path;
    else
        start(path);
}

void PreviewLoader::start(const QString &path)
{
    running = path;
    watcher.setFuture(QtConcurrent::run([path] { return LoadPicture(path); }));
}

void PreviewLoader::finished()
{
    // A picture asked for meanwhile makes this one stale.
    if (!waiting.isEmpty()) {
        start(std::exchange(waiting, QString()));
        return;
    }
    emit loaded(std::exchange(running, QString()), watcher.result());
}
