// A picture asked for meanwhile makes the one loading stale: if it has not started it never
// does, and one on a drive that does not answer keeps no other picture waiting.
#include "tools/PreviewLoader.h"

PreviewLoader::PreviewLoader(QObject *parent)
    : QObject(parent), job([this](const std::optional<DecodedPicture> &picture) {
        emit loaded(std::exchange(running, QString()), picture);
    })
{ }

void PreviewLoader::request(const QString &drive, const QString &path)
{
    running = path;
    job.start(driveReader(drive, DriveRead::Picture), [path] { return LoadPicture(path); });
}
