// Loads pictures for the browser's preview away from the window's thread, on the reader of the
// picture's drive: a request replaces the one before, which is never waited for, and only the
// last one requested is reported.
#pragma once

#include "pictures/Picture.h"
#include "tools/DriveReader.h"

#include <QObject>
#include <QString>
#include <optional>

class PreviewLoader : public QObject
{
    Q_OBJECT
public:
    explicit PreviewLoader(QObject *parent = nullptr);

    // Loads the picture at PATH on DRIVE.
    void request(const QString &drive, const QString &path);
    // True from a request until its picture is reported.
    bool busy() const { return job.running(); }

signals:
    void loaded(const QString &path, const std::optional<DecodedPicture> &picture);

private:
    DriveJob<std::optional<DecodedPicture>> job;
    // The path being loaded, until its picture is reported.
    QString running;
};
