// A folder of many files takes long to list, and one on a network mount may not answer at all;
// the window goes on meanwhile and takes the nodes a slice per turn of its event loop.
#include "tools/FolderTree.h"

#include <algorithm>

namespace {

constexpr qsizetype sliceNodes = 250;

} // namespace

struct FolderTree::DriveReads
{
    DriveReads(FolderTree &tree, const QString &drive)
        : drive(drive)
        , job([this](const QList<TreeNode> &found) { slices.start(found); })
        , slices(
              sliceNodes, [&tree](const QList<TreeNode> &slice) { emit tree.nodes(slice); },
              [&tree, this] { tree.startNext(*this); })
    { }

    const QString drive;
    QQueue<Request> waiting;
    DriveJob<QList<TreeNode>> job;
    SliceHandOver<TreeNode> slices;
    bool running = false;
};

FolderTree::FolderTree(QObject *parent) : QObject(parent) { }

FolderTree::~FolderTree() = default;

void FolderTree::request(const QString &drive, Request request)
{
    std::unique_ptr<DriveReads> &reads = drives[drive];
    if (!reads)
        reads = std::make_unique<DriveReads>(*this, drive);
    reads->waiting.enqueue(std::move(request));
    if (!reads->running)
        startNext(*reads);
}

bool FolderTree::busy() const
{
    return std::any_of(drives.cbegin(), drives.cend(),
                       [](const auto &drive) { return drive.second->running; });
}

void FolderTree::startNext(DriveReads &reads)
{
    reads.running = !reads.waiting.isEmpty();
    if (!reads.running) {
        emit done();
        return;
    }
    reads.job.start(driveReader(reads.drive, DriveRead::Tree), reads.waiting.dequeue()());
}
