// The picture browser "Grafik einfügen": drives and folders in a tree read one level ahead,
// the picture files of the chosen folder, and a scrollable preview at the picture's own size.
#pragma once

#include "platform/Drives.h"
#include "platform/Forms.h"
#include "tools/DriveReader.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QLabel;
class QScrollBar;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
struct DecodedPicture;
class FolderListing;
class FolderTree;
class PreviewLoader;
struct FileRow;
struct TreeNode;

// A control's place in its container, in twips, as the layout code reads and writes it.
struct TwipsBox
{
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;

    QRect pixels() const;
};

// A scroll bar with its place in twips. Its range, steps and value are in bar units; a bar
// unit is `unit` twips of picture offset, 1 unless the overhang passes the 16-bit range.
struct PreviewBar
{
    QScrollBar *bar = nullptr;
    TwipsBox box;
    int unit = 1;
    int overhang = 0;
    // How far the picture is moved, in twips.
    double offset() const;
};

class frmImage : public QDialog
{
    Q_OBJECT
public:
    frmImage();
    ~frmImage() override;

    // Insert > Grafik: the hourglass, then the browser modeless; an open browser only comes
    // to the front.
    static void Show();

    // Tree node images by index, as the image list numbers them.
    enum Image : int {
        Closed = 1,
        Open = 2,
        File = 3,
        Floppy = 4,
        Harddisk = 5,
        Netdrive1 = 6,
        Netdrive2 = 7,
        CD = 8
    };

    QWidget *Picture1 = nullptr;
    PreviewBar HScroll;
    PreviewBar VScroll;
    QLabel *Bild1 = nullptr;
    QTreeWidget *ListView1 = nullptr;
    QTreeWidget *TreeView1 = nullptr;

    // Nodes in order of addition, from position 1; a node's key, tag and image are its data.
    QList<QTreeWidgetItem *> Nodes;
    QTreeWidgetItem *node(const QString &key) const;
    static QString Key(const QTreeWidgetItem *node);
    static QString Tag(const QTreeWidgetItem *node);
    static int NodeImage(const QTreeWidgetItem *node);

    // True when the listing of the drive's root yields an entry.
    static bool Laufwerkexist(const QString &root);
    // Reads the whole folder tree below the root folder, level by level.
    void Alleseinlesen(const QString &root = QStringLiteral("/"));

    void TreeView1_Expand(QTreeWidgetItem *node);
    void TreeView1_NodeClick(QTreeWidgetItem *node);
    void ListView1_ItemClick(QTreeWidgetItem *item);

    // The preview, in twips.
    TwipsBox Picture1Box;
    TwipsBox Bild1Box;
    void Picture1_Resize();
    void Bild1_Change();
    void HScroll_Change();
    void HScroll_Scroll();
    void VScroll_Change();
    void VScroll_Scroll();
    // Shows a loaded picture in Bild1, which takes its size.
    void setBild1Picture(const DecodedPicture &picture);

    // True while the folder tree or the file list is being read or a clicked picture loads; the
    // window stays usable meanwhile.
    bool busy() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildLayout();
    void connectHandlers();
    void Form_Load();
    void layOutPanes();
    void scanDrives();
    void readDrives(const QList<Drives::Drive> &drives);
    // Starts the hourglass's wait for the folder tree.
    void waitForTree();
    static QString driveOf(const QTreeWidgetItem *node);
    int drivePlace(const QString &key) const;
    QTreeWidgetItem *addNode(QTreeWidgetItem *relative, const QString &key, const QString &text,
                             int image, int selectedImage);
    void addTreeNodes(const QList<TreeNode> &nodes);
    void readSubfolders(const QString &key);
    void updateMousePointer();
    void layOutBarsOnce();
    void placeBild1();
    static void placeBar(PreviewBar &bar);

    void showLoadedPicture(const QString &path, const std::optional<DecodedPicture> &picture);
    void addFileRows(const QList<FileRow> &rows);
    void dropFileRows();

    QHash<QString, QTreeWidgetItem *> nodesByKey;
    // The drives' roots in the mount table's order.
    QStringList driveOrder;
    std::unique_ptr<DriveJob<QList<Drives::Drive>>> driveTable;
    QTimer *treeWait = nullptr;
    // The drive of the folder the list shows.
    QString listedDrive;
    FolderListing *folderListing = nullptr;
    FolderTree *folderTree = nullptr;
    PreviewLoader *previewLoader = nullptr;
};

// The browser's one instance.
FormInstance<frmImage> &frmImageForm();
