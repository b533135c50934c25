// Loads pictures for the browser's preview away from the window's thread, one at a time: a
// request made while one runs replaces any request still waiting, and only the last one
// requested is reported.
#pragma once

#include "pictures/Picture.h"

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <optional>

class PreviewLoader : public QObject
{
    Q_OBJECT
public:
    explicit PreviewLoader(QObject *parent = nullptr);

    void request(const QString &path);
    // True from a request until its picture is reported.
    bool busy() const { return !running.isEmpty(); }

signals:
    void loaded(const QString &path, const std::optional<DecodedPicture> &picture);

private:
    void start(const QString &path);
    void finished();

    QFutureWatcher<std::optional<DecodedPicture>> watcher;
    // The path being loaded, until its picture is reported.
    QString running;
    QString waiting;
};
