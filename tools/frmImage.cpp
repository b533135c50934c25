// frmImage: the window, the drive scan, the folder tree read one level ahead and the file list.
#include "tools/frmImage.h"

#include "document/DocumentHost.h"
#include "platform/Drives.h"
#include "platform/Help.h"
#include "platform/HelpTopics.h"
#include "platform/Screen.h"
#include "tools/BrowserImages.h"
#include "tools/FolderListing.h"
#include "tools/FolderTree.h"
#include "tools/PreviewLoader.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>

namespace {

constexpr double clientWidth = 6264;
constexpr double clientHeight = 4464;
constexpr qint64 floppyCapacity = 1457664;
const QString fertig = QStringLiteral("fertig");
// How long the hourglass waits for the folder tree: a drive that does not answer joins the tree
// when it does, and the window is used meanwhile.
constexpr int treeWaitMs = 2000;

enum NodeRole : int { KeyRole = Qt::UserRole, TagRole, ImageRole };

// The folder nodes under KEY: the folders among the entries a listing with the attribute mask
// for read-only, hidden, system, folder and archive returns, in the name's order without regard
// to case. Runs in any thread.
QList<TreeNode> subfolderNodes(const QString &key)
{
    QDir dir(key);
    dir.setFilter(QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    QList<TreeNode> nodes;
    for (const QString &name : dir.entryList()) {
        if (!FolderListing::skipped(name))
            nodes.append(
                {key, key + name + QLatin1Char('/'), name, frmImage::Closed, frmImage::Open});
    }
    return nodes;
}

QString driveText(const Drives::Volume &volume, int type)
{
    QString label = volume.label.trimmed();
    if (type == Drives::Removable && volume.bytesTotal == floppyCapacity) {
        const QString floppy = QStringLiteral("3½\"-Diskette");
        label = label.isEmpty() ? floppy : floppy + QStringLiteral(" (") + label + QLatin1Char(')');
    }
    if (!label.isEmpty())
        label.prepend(QStringLiteral(" -- "));
    return volume.rootPath + label;
}

int driveImage(const Drives::Volume &volume, int type)
{
    switch (type) {
    case Drives::Removable:
        return volume.bytesTotal == floppyCapacity ? frmImage::Floppy : frmImage::Harddisk;
    case Drives::Fixed:
    case Drives::RamDisk:
        return frmImage::Harddisk;
    case Drives::Remote:
        return frmImage::Netdrive1;
    case Drives::CdRom:
        return frmImage::CD;
    default:
        return 0;
    }
}

QList<TreeNode> driveNodes(const Drives::Drive &drive)
{
    const std::optional<Drives::Volume> volume = drive.ask();
    if (!volume || !frmImage::Laufwerkexist(volume->rootPath))
        return {};
    const int type = Drives::GetDriveType(*volume);
    const int image = driveImage(*volume, type);
    // A kind no drive node stands for is left out with its folders.
    if (image == 0)
        return {};
    QList<TreeNode> nodes {{QString(), volume->rootPath, driveText(*volume, type), image, image}};
    nodes.append(subfolderNodes(volume->rootPath));
    return nodes;
}

// Rows taken out of the list, deleted a slice per turn of the event loop.
void deleteInSlices(QList<QTreeWidgetItem *> rows)
{
    constexpr qsizetype slice = 2000;
    const qsizetype count = std::min(slice, rows.size());
    qDeleteAll(rows.cbegin(), rows.cbegin() + count);
    rows.remove(0, count);
    if (!rows.isEmpty())
        QTimer::singleShot(0, [rows] { deleteInSlices(rows); });
}

} // namespace

QRect TwipsBox::pixels() const
{
    return Screen::twipsRect(Left, Top, Width, Height);
}

frmImage::frmImage()
{
    setObjectName(QStringLiteral("frmImage"));
    buildLayout();
    connectHandlers();
    Form_Load();
}

frmImage::~frmImage()
{
    // A list or tree still being read keeps the hourglass, which nothing else would take back.
    if (folderListing->busy() || folderTree->busy() || driveTable->running())
        Screen::setMousePointer(Screen::vbDefault);
}

void frmImage::buildLayout()
{
    if (auto *main = dynamic_cast<QWidget *>(MainForm()))
        setParent(main, windowFlags());
    Screen::setFixedDialog(this, clientWidth, clientHeight);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Grafik einfügen"));

    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAutoFillBackground(true);
    Bild1 = new QLabel(Picture1);
    Bild1->setObjectName(QStringLiteral("Bild1"));
    Bild1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    HScroll.bar = new QScrollBar(Qt::Horizontal, Picture1);
    HScroll.bar->setObjectName(QStringLiteral("HScroll"));
    HScroll.box = {0, 0, 2000, 252};
    VScroll.bar = new QScrollBar(Qt::Vertical, Picture1);
    VScroll.bar->setObjectName(QStringLiteral("VScroll"));
    VScroll.box = {0, 0, 252, 2000};
    HScroll.bar->hide();
    VScroll.bar->hide();
    // An empty picture box keeps its design size.
    Bild1Box = {0, 0, 2772, 1452};

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setRootIsDecorated(false);
    // Rows of one height let the view lay out a list of thousands without measuring each.
    ListView1->setUniformRowHeights(true);
    ListView1->setHeaderLabels(
        {QStringLiteral("Dateiname"), QStringLiteral("Datum"), QStringLiteral("Attribute")});
    ListView1->setColumnWidth(0, Screen::pixelsFromTwipsX(2500));
    ListView1->setColumnWidth(1, Screen::pixelsFromTwipsX(1500));
    ListView1->setColumnWidth(2, Screen::pixelsFromTwipsX(750));

    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
}

// A choice made with the keyboard (arrow keys, type-ahead, Enter on the current entry) runs
// the same handler a click runs; a mouse press is left to the click that follows it.
static void onKeyboardChoice(QTreeWidget *view, QObject *context,
                             std::function<void(QTreeWidgetItem *)> handler)
{
    const auto fromKeyboard = [handler](QTreeWidgetItem *item) {
        if (item && QApplication::mouseButtons() == Qt::NoButton)
            handler(item);
    };
    QObject::connect(view, &QTreeWidget::currentItemChanged, context, fromKeyboard);
    QObject::connect(view, &QTreeWidget::itemActivated, context, fromKeyboard);
}

void frmImage::connectHandlers()
{
    folderListing = new FolderListing(this);
    folderTree = new FolderTree(this);
    driveTable = std::make_unique<DriveJob<QList<Drives::Drive>>>(
        [this](const QList<Drives::Drive> &drives) { readDrives(drives); });
    treeWait = new QTimer(this);
    treeWait->setSingleShot(true);
    treeWait->setInterval(treeWaitMs);
    connect(treeWait, &QTimer::timeout, this, &frmImage::updateMousePointer);
    previewLoader = new PreviewLoader(this);
    connect(folderListing, &FolderListing::rows, this, &frmImage::addFileRows);
    connect(folderListing, &FolderListing::done, this, &frmImage::updateMousePointer);
    connect(folderTree, &FolderTree::nodes, this, &frmImage::addTreeNodes);
    connect(folderTree, &FolderTree::done, this, &frmImage::updateMousePointer);
    connect(previewLoader, &PreviewLoader::loaded, this, &frmImage::showLoadedPicture);
    connect(TreeView1, &QTreeWidget::itemExpanded, this, &frmImage::TreeView1_Expand);
    const auto nodeClick = [this](QTreeWidgetItem *node) { TreeView1_NodeClick(node); };
    const auto itemClick = [this](QTreeWidgetItem *item) { ListView1_ItemClick(item); };
    connect(TreeView1, &QTreeWidget::itemClicked, this, nodeClick);
    connect(ListView1, &QTreeWidget::itemClicked, this, itemClick);
    onKeyboardChoice(TreeView1, this, nodeClick);
    onKeyboardChoice(ListView1, this, itemClick);
    connect(HScroll.bar, &QScrollBar::valueChanged, this, &frmImage::HScroll_Change);
    connect(HScroll.bar, &QScrollBar::sliderMoved, this, &frmImage::HScroll_Scroll);
    connect(VScroll.bar, &QScrollBar::valueChanged, this, &frmImage::VScroll_Change);
    connect(VScroll.bar, &QScrollBar::sliderMoved, this, &frmImage::VScroll_Scroll);
}

void frmImage::Form_Load()
{
    Screen::centre(this, clientWidth, clientHeight);
    layOutPanes();
    scanDrives();
    Picture1_Resize();
    // Typing goes to the folder tree at once.
    TreeView1->setFocus();
    // The hourglass stays until the drives are in the tree.
    updateMousePointer();
}

void frmImage::updateMousePointer()
{
    const bool treeRead = (driveTable->running() || folderTree->busy()) && treeWait->isActive();
    Screen::setMousePointer(folderListing->busy() || treeRead ? Screen::vbHourglass
                                                              : Screen::vbDefault);
}

void frmImage::waitForTree()
{
    treeWait->start();
    updateMousePointer();
}

void frmImage::layOutPanes()
{
    const TwipsBox tree {0, 0, clientWidth / 2, clientHeight};
    TreeView1->setGeometry(tree.pixels());
    const TwipsBox list {tree.Left + tree.Width, 0, clientWidth - tree.Width, clientHeight / 2};
    ListView1->setGeometry(list.pixels());
    // The viewport's height and then its width each lay the preview out.
    Picture1Box.Left = list.Left;
    Picture1Box.Top = list.Height;
    Picture1Box.Height = clientHeight - list.Height;
    Picture1->setGeometry(Picture1Box.pixels());
    Picture1_Resize();
    Picture1Box.Width = list.Width;
    Picture1->setGeometry(Picture1Box.pixels());
    Picture1_Resize();
}

bool frmImage::Laufwerkexist(const QString &root)
{
    QDirIterator entries(root,
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    return entries.hasNext();
}

void frmImage::scanDrives()
{
    // Reading the mount table asks no drive; each drive is then read on its own readers.
    driveTable->start(driveReader(QString(), DriveRead::Tree), [] { return Drives::drives(); });
    waitForTree();
}

void frmImage::readDrives(const QList<Drives::Drive> &drives)
{
    for (const Drives::Drive &drive : drives) {
        driveOrder.append(drive.rootPath);
        folderTree->request(drive.rootPath, [drive] {
            return FolderTree::Reading([drive] { return driveNodes(drive); });
        });
    }
    updateMousePointer();
}

void frmImage::addTreeNodes(const QList<TreeNode> &nodes)
{
    for (const TreeNode &added : nodes) {
        QTreeWidgetItem *parent = node(added.parentKey);
        // Folders whose drive or parent was refused have no place in the tree.
        if (parent || added.parentKey.isEmpty())
            addNode(parent, added.key, added.text, added.image, added.selectedImage);
    }
    // The first node stands ready for the keyboard without being chosen, so the list stays
    // empty until a node is.
    QTreeWidgetItem *first = TreeView1->topLevelItem(0);
    if (first && !TreeView1->currentItem()) {
        const QSignalBlocker quiet(TreeView1);
        TreeView1->selectionModel()->setCurrentIndex(TreeView1->indexFromItem(first),
                                                     QItemSelectionModel::NoUpdate);
    }
}

QTreeWidgetItem *frmImage::addNode(QTreeWidgetItem *relative, const QString &key,
                                   const QString &text, int image, int selectedImage)
{
    // Keys are unique; a second node under a known key is refused, as the tree control did.
    if (nodesByKey.contains(key))
        return nullptr;
    QTreeWidgetItem *item = nullptr;
    if (relative) {
        item = new QTreeWidgetItem(relative);
    } else {
        item = new QTreeWidgetItem;
        TreeView1->insertTopLevelItem(drivePlace(key), item);
    }
    item->setText(0, text);
    // The selected image is the icon's selected mode, which the tree shows for the current node.
    QIcon icon = browserImage(image);
    icon.addPixmap(browserImage(selectedImage).pixmap(16), QIcon::Selected);
    item->setIcon(0, icon);
    item->setData(0, KeyRole, key);
    item->setData(0, ImageRole, image);
    Nodes.append(item);
    nodesByKey.insert(key, item);
    return item;
}

int frmImage::drivePlace(const QString &key) const
{
    // Drives come as they answer, but take their places in the mount table's order.
    const qsizetype order = driveOrder.indexOf(key);
    int place = 0;
    while (place < TreeView1->topLevelItemCount()
           && (order < 0 || driveOrder.indexOf(Key(TreeView1->topLevelItem(place))) < order))
        ++place;
    return place;
}

QString frmImage::driveOf(const QTreeWidgetItem *node)
{
    while (node->parent())
        node = node->parent();
    return Key(node);
}

QTreeWidgetItem *frmImage::node(const QString &key) const
{
    return nodesByKey.value(key);
}

QString frmImage::Key(const QTreeWidgetItem *node)
{
    return node->data(0, KeyRole).toString();
}

QString frmImage::Tag(const QTreeWidgetItem *node)
{
    return node->data(0, TagRole).toString();
}

int frmImage::NodeImage(const QTreeWidgetItem *node)
{
    return node->data(0, ImageRole).toInt();
}

void frmImage::readSubfolders(const QString &key)
{
    addTreeNodes(subfolderNodes(key));
}

void frmImage::TreeView1_Expand(QTreeWidgetItem *node)
{
    if (Tag(node) == fertig)
        return;
    node->setData(0, TagRole, fertig);
    // The children are taken when the reads asked for before are in the tree, so none is missed.
    folderTree->request(driveOf(node), [node] {
        QStringList keys;
        for (int i = 0; i < node->childCount(); ++i)
            keys << Key(node->child(i));
        return FolderTree::Reading([keys] {
            QList<TreeNode> nodes;
            for (const QString &key : keys)
                nodes.append(subfolderNodes(key));
            return nodes;
        });
    });
    waitForTree();
}

void frmImage::TreeView1_NodeClick(QTreeWidgetItem *node)
{
    dropFileRows();
    // The hourglass stays until the whole list is shown.
    Screen::setMousePointer(Screen::vbHourglass);
    listedDrive = driveOf(node);
    folderListing->start(listedDrive, Key(node));
}

void frmImage::dropFileRows()
{
    folderListing->stop();
    // The rows leave the list in one step; deleting thousands of them takes later turns.
    deleteInSlices(ListView1->invisibleRootItem()->takeChildren());
}

void frmImage::addFileRows(const QList<FileRow> &rows)
{
    const QIcon icon = browserImage(File);
    QList<QTreeWidgetItem *> items;
    items.reserve(rows.size());
    for (const FileRow &file : rows) {
        auto *row = new QTreeWidgetItem({file.name, file.date, file.attributes});
        row->setData(0, KeyRole, file.path);
        row->setIcon(0, icon);
        items.append(row);
    }
    ListView1->addTopLevelItems(items);
}

bool frmImage::busy() const
{
    return folderListing->busy() || folderTree->busy() || driveTable->running()
        || previewLoader->busy();
}

void frmImage::Alleseinlesen(const QString &root)
{
    if (!addNode(nullptr, root, root, Closed, Open))
        return;
    qsizetype counted = Nodes.size();
    readSubfolders(root);
    while (Nodes.size() > counted) {
        const qsizetype from = counted;
        counted = Nodes.size();
        for (qsizetype i = from; i < counted; ++i) {
            const QString key = Key(Nodes.at(i));
            // A linked folder can lead back up the tree; its own folders are read where they are.
            if (QFileInfo(key.chopped(1)).isSymLink())
                continue;
            readSubfolders(key);
        }
    }
}

void frmImage::keyPressEvent(QKeyEvent *event)
{
    // The browser has no Cancel button: Esc leaves it open.
    if (!handleEscapeAndHelp(this, event, HelpTopic::InsertPicture, [] {}))
        QDialog::keyPressEvent(event);
}

FormInstance<frmImage> &frmImageForm()
{
    static FormInstance<frmImage> form;
    return form;
}

void frmImage::Show()
{
    Screen::setMousePointer(Screen::vbHourglass);
    const bool wasLoaded = frmImageForm().isLoaded();
    frmImage &form = frmImageForm().get();
    // Only loading restores the pointer; an open browser is just brought forward.
    if (wasLoaded)
        Screen::setMousePointer(Screen::vbDefault);
    form.show();
    form.raise();
    form.activateWindow();
}
