// A folder of many files takes long to list, and one on a network mount may not answer at all;
// the window goes on meanwhile and takes the nodes a slice per turn of its event loop.
#include "tools/FolderTree.h"

#include "tools/FolderListing.h"

#include <QtConcurrent/QtConcurrentRun>

namespace {

constexpr qsizetype sliceNodes = 250;

} // namespace

FolderTree::FolderTree(QObject *parent)
    : QObject(parent)
    , slices(
          sliceNodes, [this](const QList<TreeNode> &slice) { emit nodes(slice); },
          [this] { startNext(); })
{
    connect(&watcher, &QFutureWatcherBase::finished, this,
            [this] { slices.start(watcher.result()); });
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
