// A watch on the event loop: the longest time it went without serving a timer.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <algorithm>

// The longest time the event loop went without serving a timer of the given interval, from
// the watch's start on.
class LoopGaps
{
public:
    explicit LoopGaps(int intervalMs)
    {
        QObject::connect(&ticker, &QTimer::timeout,
                         [this] { longestMs = std::max(longestMs, sinceTick.restart()); });
        sinceTick.start();
        ticker.start(intervalMs);
    }
    qint64 longest() const { return longestMs; }
    // The same, counting the time since the last tick as a gap.
    qint64 longestUntilNow() const { return std::max(longestMs, sinceTick.elapsed()); }

private:
    QElapsedTimer sinceTick;
    qint64 longestMs = 0;
    QTimer ticker;
};
