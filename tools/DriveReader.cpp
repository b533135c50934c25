// A reader is a pool of one thread: the jobs of one drive wait for each other, never for
// another drive.
#include "tools/DriveReader.h"

#include <QHash>
#include <QThreadPool>

QThreadPool *driveReader(const QString &drive, DriveRead read)
{
    // Never destroyed, so that nothing waits for their threads at the program's end.
    static auto *const readers = new QHash<std::pair<QString, int>, QThreadPool *>;
    QThreadPool *&reader = (*readers)[{drive, static_cast<int>(read)}];
    if (!reader) {
        reader = new QThreadPool;
        reader->setMaxThreadCount(1);
    }
    return reader;
}
