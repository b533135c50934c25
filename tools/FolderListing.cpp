// The rows are read and sorted in a worker; the window takes them a slice per turn of its event
// loop, since making thousands of rows at once would block it as surely as reading them.
#include "tools/FolderListing.h"

#include "common/DateFormat.h"
#include "platform/FileSystem.h"

#include <QDir>

namespace {

constexpr qsizetype sliceRows = 250;

} // namespace

FolderListing::FolderListing(QObject *parent)
    : QObject(parent)
    , job([this](const QList<FileRow> &found) { slices.start(found); })
    , slices(
          sliceRows, [this](const QList<FileRow> &slice) { emit rows(slice); },
          [this] {
              running = false;
              emit done();
          })
{ }

FolderListing::~FolderListing()
{
    stop();
}

void FolderListing::start(const QString &drive, const QString &folder)
{
    stop();
    running = true;
    stopped = std::make_shared<std::atomic<bool>>(false);
    job.start(driveReader(drive, DriveRead::Files),
              [folder, stopped = stopped] { return read(folder, *stopped); });
}

void FolderListing::stop()
{
    if (stopped)
        *stopped = true;
    // The worker's result, when it comes, belongs to no listing any more.
    job.cancel();
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
