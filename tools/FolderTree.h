// The browser's folder tree read away from the window's thread: each request lists its folders
// on the reader of its drive, and the nodes it finds reach the tree in slices. The requests of
// one drive run one after another; the drives read side by side, so one that does not answer
// holds up only its own part of the tree.
#pragma once

#include "tools/DriveReader.h"
#include "tools/SliceHandOver.h"

#include <QList>
#include <QObject>
#include <QQueue>
#include <QString>
#include <functional>
#include <map>
#include <memory>

// One node for the tree, under the node keyed PARENTKEY (none for a drive).
struct TreeNode
{
    QString parentKey;
    QString key;
    QString text;
    int image = 0;
    int selectedImage = 0;
};

class FolderTree : public QObject
{
    Q_OBJECT
public:
    // What a worker reads; runs in any thread.
    using Reading = std::function<QList<TreeNode>()>;
    // Says what to read once the requests before it on its drive are in the tree; runs on the
    // window's thread.
    using Request = std::function<Reading()>;

    explicit FolderTree(QObject *parent = nullptr);
    ~FolderTree() override;

    // Reads for the part of the tree on DRIVE (its root).
    void request(const QString &drive, Request request);
    bool busy() const;

signals:
    // A slice of nodes, in order; one request's nodes come in consecutive slices, so the children
    // of one node take consecutive places in the tree.
    void nodes(const QList<TreeNode> &slice);
    // A drive has no request left.
    void done();

private:
    struct DriveReads;
    void startNext(DriveReads &reads);

    // Cancelled with the tree, so that a drive that does not answer reads nothing for it later.
    std::map<QString, std::unique_ptr<DriveReads>> drives;
};
