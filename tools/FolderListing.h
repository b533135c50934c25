// The browser's file list of one folder, read away from the window's thread and handed over in
// slices, so that a folder of any size never blocks the window.
#pragma once

#include "tools/DriveReader.h"
#include "tools/SliceHandOver.h"

#include <QList>
#include <QObject>
#include <QString>
#include <atomic>
#include <memory>

// One file row as the list shows it.
struct FileRow
{
    QString path;
    QString name;
    QString date;
    QString attributes;
};

class FolderListing : public QObject
{
    Q_OBJECT
public:
    explicit FolderListing(QObject *parent = nullptr);
    ~FolderListing() override;

    // Reads the picture files of FOLDER (a key ending in "/") on DRIVE, in pattern order; a
    // listing still running is dropped.
    void start(const QString &drive, const QString &folder);
    // Drops the running listing at once.
    void stop();
    bool busy() const { return running; }

    // Names neither the tree nor the list shows, whatever the folder holds.
    static bool skipped(const QString &name);
    // The rows of FOLDER, as the list shows them; runs in any thread.
    static QList<FileRow> read(const QString &folder, const std::atomic<bool> &stopped);

signals:
    // A slice of rows, in order; the rows of one listing come in consecutive slices.
    void rows(const QList<FileRow> &slice);
    void done();

private:
    DriveJob<QList<FileRow>> job;
    std::shared_ptr<std::atomic<bool>> stopped;
    SliceHandOver<FileRow> slices;
    bool running = false;
};
