// A list handed over a slice per turn of the event loop: the picture browser takes thousands of
// rows or nodes that way, since making them all at once would block the window.
#pragma once

#include <QList>
#include <QObject>
#include <QTimer>
#include <functional>
#include <utility>

template<typename Entry>
class SliceHandOver
{
public:
    using Take = std::function<void(const QList<Entry> &slice)>;

    SliceHandOver(qsizetype sliceSize, Take take, std::function<void()> finished)
        : sliceSize(sliceSize), take(std::move(take)), finished(std::move(finished))
    {
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [this] { handOverSlice(); });
    }

    // Hands ENTRIES over in order from the next turn on, then reports that it has finished.
    void start(QList<Entry> entries)
    {
        pending = std::move(entries);
        handedOver = 0;
        timer.start();
    }
    // Drops what is not handed over yet, without reporting.
    void stop()
    {
        timer.stop();
        pending.clear();
    }

private:
    void handOverSlice()
    {
        const qsizetype count = std::min(sliceSize, pending.size() - handedOver);
        if (count > 0)
            take(pending.mid(handedOver, count));
        handedOver += count;
        if (handedOver < pending.size())
            return;
        stop();
        finished();
    }

    const qsizetype sliceSize;
    const Take take;
    const std::function<void()> finished;
    QList<Entry> pending;
    qsizetype handedOver = 0;
    QTimer timer;
};
