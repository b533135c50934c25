// A folder of many files takes long to list, and one on a network mount may not answer at all;
// the window goes on meanwhile and takes the nodes a slice per turn of its event loop.
#include "tools/FolderTree.h"

#include "tools/FolderListing.h"

#include <QtConcurrent/QtConcurrentRun>

namespace {

constexpr qsizetype sliceNodes = 250;

} // namespace

FolderTree::FolderTree(QObject *parent) : QObject(parent)
{
    slicer.setInterval(0);
    connect(&slicer, &QTimer::timeout, this, &FolderTree::handOverSlice);
    connect(&watcher, &QFutureWatcherBase::finished, this, [this] {
        pending = watcher.result();
        handedOver = 0;
        slicer.start();
    });
}

void FolderTree::request(Request request)
{
    waiting.enqueue(std::move(request));
    if (!running)
        startNext();
}

void FolderTree::startNext()
{
    running = !waiting.isEmpty();
    if (!running) {
        emit done();
        return;
    }
    watcher.setFuture(QtConcurrent::run(folderReaders(), waiting.dequeue()()));
}

void FolderTree::handOverSlice()
{
    const qsizetype count = std::min(sliceNodes, pending.size() - handedOver);
    if (count > 0)
        emit nodes(pending.mid(handedOver, count));
    handedOver += count;
    if (handedOver < pending.size())
        return;
    slicer.stop();
    pending.clear();
    startNext();
}
