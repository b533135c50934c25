// The rows are read and sorted in a worker; the window takes them a slice per turn of its event
// loop, since making thousands of rows at once would block it as surely as reading them.
#include "tools/FolderListing.h"

#include "common/DateFormat.h"
#include "platform/FileSystem.h"

#include <QDir>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

namespace {

constexpr qsizetype sliceRows = 250;

} // namespace

QThreadPool *folderReaders()
{
    // Never destroyed, so that nothing waits for its threads at the program's end.
    static QThreadPool *const readers = new QThreadPool;
    return readers;
}

FolderListing::FolderListing(QObject *parent)
    : QObject(parent)
    , slices(
          sliceRows, [this](const QList<FileRow> &slice) { emit rows(slice); },
          [this] {
              running = false;
              emit done();
          })
{
    connect(&watcher, &QFutureWatcherBase::finished, this, [this] {
        if (running)
            slices.start(watcher.result());
    });
}

FolderListing::~FolderListing()
{
    stop();
}

void FolderListing::start(const QString &folder)
{
    stop();
    running = true;
    stopped = std::make_shared<std::atomic<bool>>(false);
    watcher.setFuture(QtConcurrent::run(
        folderReaders(), [folder, stopped = stopped] { return read(folder, *stopped); }));
}

void FolderListing::stop()
{
    if (stopped)
        *stopped = true;
    // The worker's result, when it comes, belongs to no listing any more.
    slices.stop();
    running = false;
}

bool FolderListing::skipped(const QString &name)
{
    return name == QLatin1String(".") || name == QLatin1String("..")
        || name == QLatin1String("pagefile.sys");
}

QList<FileRow> FolderListing::read(const QString &folder, const std::atomic<bool> &stopped)
{
    QList<FileRow> rows;
    const QStringList patterns
        = {QStringLiteral("*.bmp"), QStringLiteral("*.wmf"), QStringLiteral("*.emf"),
           QStringLiteral("*.gif"), QStringLiteral("*.jpg")};
    for (const QString &pattern : patterns) {
        QDir dir(folder);
        dir.setFilter(QDir::Files | QDir::Hidden | QDir::System);
        dir.setSorting(QDir::Name | QDir::IgnoreCase);
        dir.setNameFilters({pattern});
        for (const QFileInfo &entry : dir.entryInfoList()) {
            if (stopped)
                return {};
            const QString name = entry.fileName();
            if (skipped(name) || entry.isDir())
                continue;
            const QString path = folder + name;
            rows.append({path, name, DateFormat::generalDate(entry.lastModified()),
                         FileSystem::attributeLetters(FileSystem::GetAttr(path))});
        }
    }
    return rows;
}
