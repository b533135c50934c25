// The browser's folder tree read away from the window's thread: each request lists its folders
// in a worker, and the nodes it finds reach the tree in slices, one request after another.
#pragma once

#include "tools/SliceHandOver.h"

#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QQueue>
#include <QString>
#include <functional>

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
    // Says what to read once the requests before it are in the tree; runs on the window's thread.
    using Request = std::function<Reading()>;

    explicit FolderTree(QObject *parent = nullptr);

    void request(Request request);
    bool busy() const { return running || !waiting.isEmpty(); }

signals:
    // A slice of nodes, in order; one request's nodes come in consecutive slices, so the children
    // of one node take consecutive places in the tree.
    void nodes(const QList<TreeNode> &slice);
    // No request is left.
    void done();

private:
    void startNext();

    QFutureWatcher<QList<TreeNode>> watcher;
    QQueue<Request> waiting;
    SliceHandOver<TreeNode> slices;
    bool running = false;
};
