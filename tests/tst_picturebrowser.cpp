// The picture browser on a folder tree the test makes: drives, folders read one level ahead,
// the picture files of a folder, and the preview with its scroll bars.
#include "pictures/Picture.h"
#include "platform/Drives.h"
#include "platform/Help.h"
#include "platform/HelpViewer.h"
#include "platform/MsgBox.h"
#include "platform/Screen.h"
#include "tests/support/Keyboard.h"
#include "tests/support/LoopGaps.h"
#include "tests/support/TestEnvironment.h"
#include "tools/frmImage.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QScrollBar>
#include <QSemaphore>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <QtConcurrent/QtConcurrentRun>
#include <climits>
#include <functional>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

QByteArray littleEndian(std::initializer_list<qint64> values, int width)
{
    QByteArray bytes;
    for (qint64 value : values) {
        for (int i = 0; i < width; ++i)
            bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
    return bytes;
}

// A placeable Windows metafile of the given extent in units of 1/unitsPerInch inch, with one
// rectangle; filled with FILL when it is given, else with the default white brush.
QByteArray wmfFile(int width, int height, int unitsPerInch = 1440,
                   std::optional<QRgb> fill = std::nullopt)
{
    QByteArray header = littleEndian({0x9AC6CDD7}, 4);
    header += littleEndian({0, 0, 0, width, height, unitsPerInch}, 2);
    header += littleEndian({0}, 4);
    quint16 checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= static_cast<quint16>(static_cast<quint8>(header[i])
                                         | (static_cast<quint8>(header[i + 1]) << 8));
    header += littleEndian({checksum}, 2);
    QByteArray records;
    if (fill) {
        // CreateBrushIndirect (solid, COLORREF), then SelectObject of object 0.
        const qint64 colorRef = qRed(*fill) | qGreen(*fill) << 8 | qBlue(*fill) << 16;
        records += littleEndian({7}, 4) + littleEndian({0x02FC, 0}, 2) + littleEndian({colorRef}, 4)
            + littleEndian({0}, 2);
        records += littleEndian({4}, 4) + littleEndian({0x012D, 0}, 2);
    }
    // A rectangle: size in words, function, then bottom, right, top, left.
    records += littleEndian({7}, 4) + littleEndian({0x041B, height / 2, width / 2, 10, 10}, 2);
    records += littleEndian({3}, 4) + littleEndian({0}, 2);
    const int words = (18 + records.size()) / 2;
    QByteArray meta = littleEndian({1, 9, 0x0300}, 2) + littleEndian({words}, 4)
        + littleEndian({fill ? 1 : 0}, 2) + littleEndian({7}, 4) + littleEndian({0}, 2);
    return header + meta + records;
}

// An enhanced metafile whose frame is the given extent in hundredths of a millimetre, or runs
// from frameLeft when that is given.
QByteArray emfFile(qint64 widthHundredths, qint64 heightHundredths, qint64 frameLeft = 0)
{
    const qint64 pixelsWide = std::min<qint64>(widthHundredths * 96 / 2540, 1 << 30);
    const qint64 pixelsHigh = std::min<qint64>(heightHundredths * 96 / 2540, 1 << 30);
    QByteArray header = littleEndian({1, 88}, 4);
    header += littleEndian({0, 0, pixelsWide, pixelsHigh}, 4);
    header += littleEndian({frameLeft, 0, frameLeft + widthHundredths, heightHundredths}, 4);
    header += littleEndian({0x464D4520, 0x10000, 88 + 24 + 20, 3}, 4);
    header += littleEndian({1, 0}, 2);
    header += littleEndian({0, 0, 0, 1920, 1080, 508, 286}, 4);
    const QByteArray rectangle
        = littleEndian({43, 24, pixelsWide / 4, pixelsHigh / 4, pixelsWide / 2, pixelsHigh / 2}, 4);
    const QByteArray eof = littleEndian({14, 20, 0, 16, 20}, 4);
    return header + rectangle + eof;
}

// The smallest GIF: one white pixel.
const QByteArray gifFile = QByteArray::fromHex(
    "47494638396101000100800000ffffff00000021f90401000000002c00000000010001000002024401003b");

// Whether the picture shows anything but its white ground.
bool drawsSomething(const QPixmap &pixmap)
{
    const QImage image = pixmap.toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return true;
    return false;
}

bool write(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

bool writeImage(const QString &path, int width, int height, const char *format)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return image.save(path, format);
}

QByteArray bmpFile(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

QStringList childTexts(const QTreeWidgetItem *node)
{
    QStringList texts;
    for (int i = 0; i < node->childCount(); ++i)
        texts << node->child(i)->text(0);
    return texts;
}

QStringList rows(const frmImage &form, int column = 0)
{
    QStringList texts;
    for (int i = 0; i < form.ListView1->topLevelItemCount(); ++i)
        texts << form.ListView1->topLevelItem(i)->text(column);
    return texts;
}

// The tree and the list are read and pictures load away from the window: waits until the
// browser is idle.
bool settled(const frmImage &form)
{
    return QTest::qWaitFor([&form] { return !form.busy(); }, 20000);
}

// Empty files bildNNNNN.bmp in FOLDER.
bool makeFiles(const QString &folder, int count)
{
    if (!QDir().mkpath(folder))
        return false;
    for (int i = 0; i < count; ++i) {
        if (!QFile(folder + QStringLiteral("bild%1.bmp").arg(i, 5, 10, QLatin1Char('0')))
                 .open(QIODevice::WriteOnly))
            return false;
    }
    return true;
}

void click(QTreeWidget *view, QTreeWidgetItem *item)
{
    view->scrollToItem(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(item).center());
    QVERIFY(settled(*qobject_cast<frmImage *>(view->window())));
}

void listFolder(frmImage &form, const QString &key)
{
    form.TreeView1_NodeClick(form.node(key));
    QVERIFY(settled(form));
}

QTreeWidgetItem *row(const frmImage &form, const QString &name)
{
    const auto found = form.ListView1->findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

// Calls `sample` at every turn of the event loop, from the watch's start on.
class LoopTurns
{
public:
    explicit LoopTurns(const std::function<void()> &sample)
    {
        QObject::connect(&ticker, &QTimer::timeout, sample);
        ticker.start(0);
    }

private:
    QTimer ticker;
};

} // namespace

class TestPictureBrowser : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowAsDesigned();
    void treeReadsOneLevelAheadOnce();
    void fileListInPatternOrder();
    void driveNodes_data();
    void driveNodes();
    void drivesRootFirstThenByPath();
    void wholeTreeBreadthFirst();
    void previewLayout_data();
    void previewLayout();
    void barStepsFollowTheBarLength_data();
    void barStepsFollowTheBarLength();
    void scrollingMovesThePicture();
    void newPictureStartsAtTopLeft();
    void metafilesShowAtTheirSize();
    void unreadableFileKeepsThePreview();
    void hugePictureStaysReachable();
    void f1OpensTheHelpTopic();
    void seedsForTheFuzzer();
    void decodesDataFromAnyThread();
    void closingWhileListingRestoresThePointer();
    void hostilePicturesAreRefused_data();
    void hostilePicturesAreRefused();
    void helperFailuresAreRefused_data();
    void helperFailuresAreRefused();
    void wmfColoursAreExact();
    void metafileBitmapsBeyondTheirRecordAreLeftOut_data();
    void metafileBitmapsBeyondTheirRecordAreLeftOut();
    void largePhotoShowsAtItsSize();
    void largeFolderListsWithoutBlocking();
    void treeIsReadWhileTheWindowIsServed();
    void driveThatDoesNotAnswerLeavesTheWindowServed();
    void hungOpeningsLeaveTheBrowserWorking();
    void keysListFilesAndShowPreviews();
    void keysTypedOnTheRealServer();
    void screenshot();

private:
    // A drive whose root is the test's folder "root".
    frmImage &openOn(const QList<Drives::Volume> &volumes);
    frmImage &openOnRoot();
    QString root() const { return env->path(QStringLiteral("root")) + QLatin1Char('/'); }
    void showPicture(frmImage &form, const QString &name, const QByteArray &content);
    // Shows a bitmap, then clicks NAME, which must be refused with the message while the
    // bitmap stays and the window stays usable.
    void expectRefusal(frmImage &form, const QString &name);

    std::unique_ptr<TestEnvironment> env;
};

void TestPictureBrowser::init()
{
    env = std::make_unique<TestEnvironment>();
    QVERIFY(QDir().mkpath(root()));
    // A drive is listed only when its root holds an entry.
    QVERIFY(write(root() + QStringLiteral("liesmich.txt"), "x"));
}

void TestPictureBrowser::cleanup()
{
    frmImageForm().unload();
    Drives::setVolumeSource({});
    env.reset();
}

frmImage &TestPictureBrowser::openOn(const QList<Drives::Volume> &volumes)
{
    Drives::setVolumeSource([volumes] { return volumes; });
    frmImage::Show();
    frmImage &form = frmImageForm().get();
    if (!QTest::qWaitForWindowExposed(&form))
        qWarning("browser not exposed");
    if (!settled(form))
        qWarning("the drives were not read");
    return form;
}

frmImage &TestPictureBrowser::openOnRoot()
{
    Drives::Volume volume;
    volume.rootPath = root();
    volume.fileSystem = QStringLiteral("ext4");
    return openOn({volume});
}

void TestPictureBrowser::showPicture(frmImage &form, const QString &name, const QByteArray &content)
{
    QVERIFY(write(root() + name, content));
    listFolder(form, root());
    QTreeWidgetItem *item = row(form, name);
    QVERIFY(item);
    click(form.ListView1, item);
}

void TestPictureBrowser::windowAsDesigned()
{
    Screen::setMousePointer(Screen::vbHourglass);
    frmImage &form = openOnRoot();
    QCOMPARE(form.windowTitle(), QStringLiteral("Grafik einfügen"));
    QCOMPARE(form.size(), QSize(Screen::pixelsFromTwipsX(6264), Screen::pixelsFromTwipsY(4464)));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(Screen::MousePointer(), int(Screen::vbDefault));
    // Tree on the left half, list above the preview on the right.
    QCOMPARE(form.TreeView1->geometry().left(), 0);
    QCOMPARE(form.ListView1->geometry().left(), form.TreeView1->geometry().right() + 1);
    QCOMPARE(form.Picture1->geometry().top(), form.ListView1->geometry().bottom() + 1);
    QCOMPARE(form.Picture1Box.Width, 3132.0);
    QCOMPARE(form.Picture1Box.Height, 2232.0);
    QStringList headers;
    for (int i = 0; i < form.ListView1->columnCount(); ++i)
        headers << form.ListView1->headerItem()->text(i);
    QCOMPARE(headers, QStringList({"Dateiname", "Datum", "Attribute"}));

    // Without a Cancel button Esc closes nothing.
    QTest::keyClick(form.TreeView1, Qt::Key_Escape);
    QVERIFY(frmImageForm().isLoaded());
    QVERIFY(form.isVisible());

    // Showing it again only brings it forward.
    const auto nodes = form.Nodes.size();
    QVERIFY(QDir().mkpath(root() + QStringLiteral("neu")));
    frmImage::Show();
    QCOMPARE(&frmImageForm().get(), &form);
    QCOMPARE(form.Nodes.size(), nodes);
    QCOMPARE(Screen::MousePointer(), int(Screen::vbDefault));
}

void TestPictureBrowser::treeReadsOneLevelAheadOnce()
{
    for (const char *folder :
         {"a/a1/a11", "b", "pic.jpg", ".versteckt", "pagefile.sys", "Pagefile.sys"})
        QVERIFY(QDir().mkpath(root() + QLatin1String(folder)));
    QVERIFY(write(root() + QStringLiteral("datei.bmp"), "x"));

    frmImage &form = openOnRoot();
    QTreeWidgetItem *drive = form.node(root());
    QVERIFY(drive);
    QCOMPARE(childTexts(drive), QStringList({".versteckt", "a", "b", "Pagefile.sys", "pic.jpg"}));
    QTreeWidgetItem *a = form.node(root() + QStringLiteral("a/"));
    QCOMPARE(a->childCount(), 0);
    QCOMPARE(frmImage::Tag(drive), QString());

    drive->setExpanded(true);
    QCOMPARE(frmImage::Tag(drive), QStringLiteral("fertig"));
    QVERIFY(settled(form));
    QCOMPARE(childTexts(a), QStringList({"a1"}));
    QCOMPARE(frmImage::Key(a->child(0)), root() + QStringLiteral("a/a1/"));
    QCOMPARE(a->child(0)->childCount(), 0);
    QCOMPARE(form.node(root() + QStringLiteral("b/"))->childCount(), 0);

    const auto count = form.Nodes.size();
    drive->setExpanded(false);
    drive->setExpanded(true);
    QVERIFY(!form.busy());
    QCOMPARE(form.Nodes.size(), count);

    a->setExpanded(true);
    QVERIFY(settled(form));
    QCOMPARE(childTexts(a->child(0)), QStringList({"a11"}));
}

void TestPictureBrowser::fileListInPatternOrder()
{
    QVERIFY(writeImage(root() + QStringLiteral("c.bmp"), 2, 2, "BMP"));
    QVERIFY(write(root() + QStringLiteral("a.gif"), gifFile));
    QVERIFY(writeImage(root() + QStringLiteral("b.jpg"), 2, 2, "JPG"));
    QVERIFY(writeImage(root() + QStringLiteral("Foto.JPG"), 2, 2, "JPG"));
    QVERIFY(write(root() + QStringLiteral("d.wmf"), wmfFile(300, 300)));
    QVERIFY(write(root() + QStringLiteral("e.emf"), emfFile(500, 500)));
    QVERIFY(write(root() + QStringLiteral(".x.bmp"), "x"));
    QVERIFY(write(root() + QStringLiteral("nur.txt"), "x"));
    QVERIFY(write(root() + QStringLiteral("fest.bmp"), "x"));
    QVERIFY(QFile::setPermissions(root() + QStringLiteral("fest.bmp"), QFile::ReadOwner));
    QVERIFY(QDir().mkpath(root() + QStringLiteral("ordner.jpg")));

    frmImage &form = openOnRoot();
    QCOMPARE(form.ListView1->topLevelItemCount(), 0);
    click(form.TreeView1, form.node(root()));
    QCOMPARE(rows(form),
             QStringList(
                 {".x.bmp", "c.bmp", "fest.bmp", "d.wmf", "e.emf", "a.gif", "b.jpg", "Foto.JPG"}));
    QCOMPARE(frmImage::Key(row(form, QStringLiteral("c.bmp"))), root() + QStringLiteral("c.bmp"));
    QCOMPARE(row(form, QStringLiteral(".x.bmp"))->text(2), QStringLiteral("H"));
    QCOMPARE(row(form, QStringLiteral("c.bmp"))->text(2), QString());
    if (geteuid() != 0)
        QCOMPARE(row(form, QStringLiteral("fest.bmp"))->text(2), QStringLiteral("R"));
    const QDateTime changed = QFileInfo(root() + QStringLiteral("c.bmp")).lastModified();
    QCOMPARE(row(form, QStringLiteral("c.bmp"))->text(1),
             changed.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")));

    // A click lists afresh; a folder without pictures leaves the list empty.
    QVERIFY(QFile::remove(root() + QStringLiteral("c.bmp")));
    click(form.TreeView1, form.node(root()));
    QVERIFY(!rows(form).contains(QStringLiteral("c.bmp")));
    click(form.TreeView1, form.node(root() + QStringLiteral("ordner.jpg/")));
    QCOMPARE(form.ListView1->topLevelItemCount(), 0);
}

void TestPictureBrowser::driveNodes_data()
{
    QTest::addColumn<QString>("fileSystem");
    QTest::addColumn<bool>("removable");
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<int>("image");

    QTest::newRow("fixed with label") << "ext4" << false << qint64(1) << "SYSTEM"
                                      << " -- SYSTEM" << 5;
    QTest::newRow("fixed without") << "ext4" << false << qint64(1) << ""
                                   << "" << 5;
    QTest::newRow("floppy named") << "vfat" << true << qint64(1457664) << "BACKUP"
                                  << " -- 3½\"-Diskette (BACKUP)" << 4;
    QTest::newRow("floppy") << "vfat" << true << qint64(1457664) << ""
                            << " -- 3½\"-Diskette" << 4;
    QTest::newRow("stick") << "vfat" << true << qint64(8000000000) << "STICK"
                           << " -- STICK" << 5;
    QTest::newRow("non-removable floppy size") << "vfat" << false << qint64(1457664) << ""
                                               << "" << 5;
    QTest::newRow("optical") << "iso9660" << true << qint64(700000000) << "CD"
                             << " -- CD" << 8;
    QTest::newRow("network") << "nfs" << false << qint64(1) << ""
                             << "" << 6;
    QTest::newRow("sshfs") << "fuse.sshfs" << false << qint64(1) << ""
                           << "" << 6;
    QTest::newRow("ram disk") << "tmpfs" << false << qint64(1) << ""
                              << "" << 5;
}

void TestPictureBrowser::driveNodes()
{
    QFETCH(QString, fileSystem);
    QFETCH(bool, removable);
    QFETCH(qint64, bytes);
    QFETCH(QString, label);
    QFETCH(QString, suffix);
    QFETCH(int, image);

    QVERIFY(QDir().mkpath(root() + QStringLiteral("ordner")));
    QVERIFY(QDir().mkpath(env->path(QStringLiteral("leer"))));
    Drives::Volume drive {root(), label, fileSystem, bytes, removable};
    Drives::Volume empty {env->path(QStringLiteral("leer/")), QString(), "ext4", 1, false};
    frmImage &form = openOn({drive, empty});
    QCOMPARE(form.TreeView1->topLevelItemCount(), 1);
    QTreeWidgetItem *node = form.TreeView1->topLevelItem(0);
    QCOMPARE(node->text(0), root() + suffix);
    QCOMPARE(frmImage::Key(node), root());
    QCOMPARE(frmImage::NodeImage(node), image);
    QCOMPARE(childTexts(node), QStringList({"ordner"}));
}

void TestPictureBrowser::drivesRootFirstThenByPath()
{
    const auto volume = [](const QString &rootPath) {
        return Drives::Volume {rootPath, QString(), QStringLiteral("ext4"), 1, false};
    };
    Drives::setVolumeSource([&] {
        return QList<Drives::Volume> {
            volume(QStringLiteral("/media/b/")), volume(QStringLiteral("/")),
            volume(QStringLiteral("/media/a/")), volume(QStringLiteral("/media/b/"))};
    });
    QStringList roots;
    for (const Drives::Drive &drive : Drives::drives())
        roots << drive.rootPath;
    QCOMPARE(roots, QStringList({"/", "/media/a/", "/media/b/"}));
}

void TestPictureBrowser::wholeTreeBreadthFirst()
{
    const QString top = env->path(QStringLiteral("baum/"));
    for (const char *folder : {"x/x1/x11", "y/y1", "y/y2"})
        QVERIFY(QDir().mkpath(top + QLatin1String(folder)));
    QVERIFY(QFile::link(top + QStringLiteral("x"), top + QStringLiteral("y/zurueck")));

    frmImage &form = openOn({});
    form.Alleseinlesen(top);
    QStringList keys;
    for (const QTreeWidgetItem *node : form.Nodes)
        keys << frmImage::Key(node).mid(top.size());
    QCOMPARE(keys,
             QStringList({"", "x/", "y/", "x/x1/", "y/y1/", "y/y2/", "y/zurueck/", "x/x1/x11/"}));
    QCOMPARE(frmImage::Tag(form.Nodes.first()), QString());
}

void TestPictureBrowser::previewLayout_data()
{
    QTest::addColumn<QSize>("before"); // twips of a picture shown first; empty for none
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<double>("barHeight");
    QTest::addColumn<int>("verticalMax");
    QTest::addColumn<double>("barWidth");
    QTest::addColumn<int>("horizontalMax");

    // The viewport is 3132 x 2232 twips, each bar 252 thick.
    QTest::newRow("small") << QSize() << QSize(1000, 1000) << false << false << 0.0 << 0 << 0.0
                           << 0;
    QTest::newRow("exactly as high")
        << QSize() << QSize(1000, 2232) << false << false << 0.0 << 0 << 0.0 << 0;
    QTest::newRow("vertical alone")
        << QSize() << QSize(2880, 3000) << true << false << 2232.0 << 768 << 0.0 << 0;
    QTest::newRow("second pass adds horizontal")
        << QSize() << QSize(3000, 3000) << true << true << 1980.0 << 1020 << 2880.0 << 120;
    QTest::newRow("second pass hides both")
        << QSize(4000, 4000) << QSize(2000, 2100) << false << false << 0.0 << 0 << 0.0 << 0;
    QTest::newRow("both kept") << QSize(4000, 4000) << QSize(3000, 2100) << true << true << 1980.0
                               << 120 << 2880.0 << 120;
    QTest::newRow("none kept") << QSize() << QSize(3000, 2100) << false << false << 0.0 << 0 << 0.0
                               << 0;
    QTest::newRow("horizontal alone")
        << QSize() << QSize(5000, 1000) << false << true << 0.0 << 0 << 3132.0 << 1868;
}

void TestPictureBrowser::previewLayout()
{
    QFETCH(QSize, before);
    QFETCH(QSize, picture);
    QFETCH(bool, vertical);
    QFETCH(bool, horizontal);

    frmImage &form = openOnRoot();
    if (before.isValid())
        showPicture(form, QStringLiteral("vorher.wmf"), wmfFile(before.width(), before.height()));
    showPicture(form, QStringLiteral("bild.wmf"), wmfFile(picture.width(), picture.height()));

    QCOMPARE(form.Bild1Box.Width, double(picture.width()));
    QCOMPARE(form.Bild1Box.Height, double(picture.height()));
    QCOMPARE(form.Bild1->pos(), QPoint(0, 0));
    QCOMPARE(!form.VScroll.bar->isHidden(), vertical);
    QCOMPARE(!form.HScroll.bar->isHidden(), horizontal);
    if (vertical) {
        QTEST(form.VScroll.box.Height, "barHeight");
        QTEST(form.VScroll.bar->maximum(), "verticalMax");
        QCOMPARE(form.VScroll.box.Left, 3132.0 - 252);
        QCOMPARE(form.VScroll.bar->pageStep(), qRound(form.VScroll.box.Height));
    }
    if (horizontal) {
        QTEST(form.HScroll.box.Width, "barWidth");
        QTEST(form.HScroll.bar->maximum(), "horizontalMax");
        QCOMPARE(form.HScroll.box.Top, 2232.0 - 252);
    }
}

void TestPictureBrowser::barStepsFollowTheBarLength_data()
{
    QTest::addColumn<double>("length");
    QTest::addColumn<int>("smallChange");
    QTest::newRow("10") << 10.0 << 2;
    QTest::newRow("9") << 9.0 << 1;
    QTest::newRow("3000") << 3000.0 << 600;
    QTest::newRow("2999") << 2999.0 << 599;
    QTest::newRow("half to even") << 2232.5 << 446;
}

void TestPictureBrowser::barStepsFollowTheBarLength()
{
    QFETCH(double, length);
    frmImage &form = openOnRoot();
    // A viewport of that height, far narrower than the picture is high.
    form.Picture1Box.Height = length;
    form.Picture1Box.Width = 5000;
    form.Bild1Box = {0, 0, 100, 20000};
    form.Picture1_Resize();
    QVERIFY(!form.VScroll.bar->isHidden());
    QCOMPARE(form.VScroll.bar->pageStep(), int(std::nearbyint(length)));
    QTEST(form.VScroll.bar->singleStep(), "smallChange");
}

void TestPictureBrowser::scrollingMovesThePicture()
{
    frmImage &form = openOnRoot();
    showPicture(form, QStringLiteral("gross.wmf"), wmfFile(6000, 6000));
    form.HScroll.bar->setValue(250);
    QCOMPARE(form.Bild1Box.Left, -250.0);
    QCOMPARE(form.Bild1->x(), Screen::pixelsFromTwipsX(-250));
    form.VScroll.bar->setValue(1000);
    QCOMPARE(form.Bild1Box.Top, -1000.0);
    // Dragging the thumb moves the picture while it moves.
    form.VScroll.bar->setSliderDown(true);
    form.VScroll.bar->setSliderPosition(600);
    QCOMPARE(form.Bild1Box.Top, -600.0);
    form.VScroll.bar->setSliderDown(false);
}

void TestPictureBrowser::newPictureStartsAtTopLeft()
{
    frmImage &form = openOnRoot();
    showPicture(form, QStringLiteral("eins.wmf"), wmfFile(6000, 6000));
    form.HScroll.bar->setValue(700);
    form.VScroll.bar->setValue(900);
    showPicture(form, QStringLiteral("zwei.wmf"), wmfFile(5000, 5000));
    QCOMPARE(form.HScroll.bar->value(), 0);
    QCOMPARE(form.VScroll.bar->value(), 0);
    QCOMPARE(form.Bild1Box.Left, 0.0);
    QCOMPARE(form.Bild1Box.Top, 0.0);
}

void TestPictureBrowser::metafilesShowAtTheirSize()
{
    frmImage &form = openOnRoot();
    showPicture(form, QStringLiteral("bild.wmf"), wmfFile(1440, 720));
    QCOMPARE(form.Bild1Box.Width, 1440.0);
    QCOMPARE(form.Bild1Box.Height, 720.0);
    QCOMPARE(form.Bild1->pixmap().size(),
             QSize(Screen::pixelsFromTwipsX(1440), Screen::pixelsFromTwipsY(720)));
    QVERIFY(drawsSomething(form.Bild1->pixmap()));

    // 2540 hundredths of a millimetre are an inch.
    showPicture(form, QStringLiteral("bild.emf"), emfFile(2540, 1270));
    QCOMPARE(form.Bild1Box.Width, 1440.0);
    QCOMPARE(form.Bild1Box.Height, 720.0);
    QVERIFY(drawsSomething(form.Bild1->pixmap()));

    // A bitmap measures its pixels at the screen's twips per pixel.
    showPicture(form, QStringLiteral("bild.bmp"), bmpFile(30, 20));
    QCOMPARE(form.Bild1Box.Width, Screen::twipsFromPixelsX(30));
    QCOMPARE(form.Bild1Box.Height, Screen::twipsFromPixelsY(20));
}

void TestPictureBrowser::unreadableFileKeepsThePreview()
{
    frmImage &form = openOnRoot();
    showPicture(form, QStringLiteral("gut.wmf"), wmfFile(2000, 1000));
    const QString broken = root() + QStringLiteral("kaputt.jpg");
    env->modals.answerMessage(vbOK);
    showPicture(form, QStringLiteral("kaputt.jpg"), "kein Bild");
    QCOMPARE(env->modals.seen().size(), 1);
    QCOMPARE(env->modals.seen().first().title, QStringLiteral("Grafik einfügen"));
    QVERIFY(env->modals.seen().first().text.contains(broken));
    QCOMPARE(form.Bild1Box.Width, 2000.0);
    QVERIFY(!form.Bild1->pixmap().isNull());

    // A file gone since the list was filled.
    env->modals.answerMessage(vbOK);
    QVERIFY(QFile::remove(broken));
    click(form.ListView1, row(form, QStringLiteral("kaputt.jpg")));
    QCOMPARE(env->modals.seen().size(), 2);
    QCOMPARE(form.Bild1Box.Width, 2000.0);
}

void TestPictureBrowser::hugePictureStaysReachable()
{
    frmImage &form = openOnRoot();
    QVERIFY(writeImage(root() + QStringLiteral("breit.bmp"), 4000, 10, "BMP"));
    listFolder(form, root());
    click(form.ListView1, row(form, QStringLiteral("breit.bmp")));
    const double overhang = form.Bild1Box.Width - form.Picture1Box.Width;
    QVERIFY(overhang > 32767);
    QVERIFY(!form.HScroll.bar->isHidden());
    QVERIFY(form.HScroll.bar->maximum() <= 32767);
    form.HScroll.bar->setValue(form.HScroll.bar->maximum());
    QCOMPARE(form.Bild1Box.Left, -std::nearbyint(overhang));
    form.HScroll.bar->setValue(1);
    QVERIFY(form.Bild1Box.Left < 0);
}

void TestPictureBrowser::expectRefusal(frmImage &form, const QString &name)
{
    showPicture(form, QStringLiteral("vorher.bmp"), bmpFile(30, 20));
    env->modals.clear();
    env->modals.answerMessage(vbOK);
    listFolder(form, root());
    click(form.ListView1, row(form, name));
    QCOMPARE(env->modals.seen().size(), 1);
    QVERIFY(env->modals.seen().first().text.contains(root() + name));
    QCOMPARE(form.Bild1Box.Width, Screen::twipsFromPixelsX(30));
    QCOMPARE(form.Bild1->pixmap().size(), QSize(30, 20));
    // Still usable: the next picture shows.
    showPicture(form, QStringLiteral("danach.bmp"), bmpFile(40, 10));
    QCOMPARE(form.Bild1->pixmap().size(), QSize(40, 10));
}

void TestPictureBrowser::hostilePicturesAreRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<qint64>("size"); // the file's size when it is to be made larger, sparse

    QTest::newRow("64 GB sparse metafile") << "riesig.emf" << emfFile(2540, 2540) << (64LL << 30);
    QTest::newRow("metafile just over 64 MB")
        << "gross.wmf" << wmfFile(1440, 1440) << (64LL << 20) + 1;
    QTest::newRow("tiny EMF, huge frame") << "rahmen.emf" << emfFile(1440, 1224754000) << 0LL;
    QTest::newRow("EMF frame from -2^31")
        << "minimum.emf" << emfFile(0xFFFFFFFFLL, 2540, INT_MIN) << 0LL;
    QTest::newRow("EMF, empty frame") << "leer.emf" << emfFile(0, 2540) << 0LL;
    QTest::newRow("tiny WMF, huge extent") << "weit.wmf" << wmfFile(30000, 30000, 1) << 0LL;
    // A GIF of 65,535 x 65,535 pixels: a header, one pixel of data.
    QTest::newRow("65535 square GIF")
        << "quadrat.gif"
        << QByteArray::fromHex("474946383961ffffffff800000000000ffffff2c00000000ffffffff00000202"
                               "4401003b")
        << 0LL;
}

void TestPictureBrowser::hostilePicturesAreRefused()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(qint64, size);
    QVERIFY(write(root() + name, content));
    if (size > 0)
        QVERIFY(QFile::resize(root() + name, size));
    frmImage &form = openOnRoot();
    expectRefusal(form, name);
}

void TestPictureBrowser::helperFailuresAreRefused_data()
{
    QTest::addColumn<QByteArray>("fault");
    QTest::newRow("crashes") << QByteArray("crash");
    QTest::newRow("runs past its time") << QByteArray("sleep");
    QTest::newRow("answers nonsense") << QByteArray("nonsense");
}

void TestPictureBrowser::helperFailuresAreRefused()
{
    QFETCH(QByteArray, fault);
    QVERIFY(write(root() + QStringLiteral("bild.wmf"), wmfFile(1440, 720)));
    frmImage &form = openOnRoot();
    qputenv("VELMAR_PICTURE_HELPER_FAULT", fault);
    // The window keeps serving its events while the helper runs.
    int turnsWhileBusy = 0;
    {
        const LoopTurns turns([&] { turnsWhileBusy += form.busy() ? 1 : 0; });
        expectRefusal(form, QStringLiteral("bild.wmf"));
    }
    qunsetenv("VELMAR_PICTURE_HELPER_FAULT");
    QVERIFY(turnsWhileBusy > 0);
}

void TestPictureBrowser::wmfColoursAreExact()
{
    frmImage &form = openOnRoot();
    const QRgb fill = qRgb(200, 220, 255);
    showPicture(form, QStringLiteral("farbe.wmf"), wmfFile(2880, 2880, 1440, fill));
    const QImage shown = form.Bild1->pixmap().toImage();
    QCOMPARE(QColor(shown.pixel(shown.width() / 2, shown.height() / 2)), QColor(fill));
}

void TestPictureBrowser::metafileBitmapsBeyondTheirRecordAreLeftOut_data()
{
    QTest::addColumn<QString>("name");
    // Metafiles of shapes and one small bitmap whose header claims more than its record holds.
    QTest::newRow("colour table of 4 billion colours") << "farben-riesig.wmf";
    QTest::newRow("pixels beyond the record") << "bitmap-kurz.wmf";
}

void TestPictureBrowser::metafileBitmapsBeyondTheirRecordAreLeftOut()
{
    QFETCH(QString, name);
    QVERIFY(QFile::copy(QStringLiteral(VELMAR_FIXTURES_DIR "/pictures/") + name, root() + name));
    frmImage &form = openOnRoot();
    listFolder(form, root());
    click(form.ListView1, row(form, name));
    // The shapes show, at the picture's size, without a refusal.
    QCOMPARE(env->modals.seen().size(), 0);
    QCOMPARE(form.Bild1Box.Width, 1440.0);
    QVERIFY(drawsSomething(form.Bild1->pixmap()));
}

void TestPictureBrowser::largePhotoShowsAtItsSize()
{
    QVERIFY(writeImage(root() + QStringLiteral("foto.jpg"), 6000, 6000, "JPG"));
    frmImage &form = openOnRoot();
    listFolder(form, root());
    click(form.ListView1, row(form, QStringLiteral("foto.jpg")));
    QCOMPARE(form.Bild1->pixmap().size(), QSize(6000, 6000));
    QCOMPARE(form.Bild1Box.Width, Screen::twipsFromPixelsX(6000));
}

void TestPictureBrowser::largeFolderListsWithoutBlocking()
{
    constexpr int files = 50000;
    const QString folder = root() + QStringLiteral("viele/");
    QVERIFY(makeFiles(folder, files));
    frmImage &form = openOnRoot();
    // The list grows a part at a time, the window serving its events in between.
    QList<int> shown;
    {
        const LoopTurns turns([&] { shown << form.ListView1->topLevelItemCount(); });
        listFolder(form, folder);
    }
    shown << form.ListView1->topLevelItemCount();
    int largestStep = 0;
    int partial = 0;
    for (qsizetype i = 1; i < shown.size(); ++i) {
        largestStep = std::max(largestStep, shown.at(i) - shown.at(i - 1));
        partial += shown.at(i) > 0 && shown.at(i) < files ? 1 : 0;
    }
    QVERIFY2(largestStep <= 1000, QByteArray::number(largestStep));
    QVERIFY2(partial >= 50, QByteArray::number(partial));
    // The list is complete.
    QCOMPARE(Screen::MousePointer(), int(Screen::vbDefault));
    QCOMPARE(form.ListView1->topLevelItemCount(), files);
    QCOMPARE(form.ListView1->topLevelItem(files - 1)->text(0), QStringLiteral("bild49999.bmp"));
    // Leaving the folder drops its list at once, and none of it comes back.
    form.TreeView1_NodeClick(form.node(root()));
    QCOMPARE(form.ListView1->topLevelItemCount(), 0);
    QVERIFY(settled(form));
    QCOMPARE(form.ListView1->topLevelItemCount(), 0);

    // The hourglass shows while the list is read.
    form.TreeView1_NodeClick(form.node(folder));
    QCOMPARE(Screen::MousePointer(), int(Screen::vbHourglass));
    QVERIFY(settled(form));
    QCOMPARE(Screen::MousePointer(), int(Screen::vbDefault));
}

void TestPictureBrowser::treeIsReadWhileTheWindowIsServed()
{
    const QString bilder = root() + QStringLiteral("bilder/");
    const QString viele = bilder + QStringLiteral("viele/");
    QVERIFY(makeFiles(viele, 50000));
    QVERIFY(QDir().mkpath(viele + QStringLiteral("unten")));
    frmImage &form = openOnRoot();
    form.node(root())->setExpanded(true);
    QVERIFY(settled(form));
    QVERIFY(form.node(viele));
    QCOMPARE(form.node(viele)->childCount(), 0);

    // Expanding bilder reads viele with its 50,000 files, while the window serves its events.
    bool servedWhileReading = false;
    const LoopGaps gaps(5);
    QTimer::singleShot(0, &form, [&] { servedWhileReading = form.busy(); });
    form.node(bilder)->setExpanded(true);
    QCOMPARE(Screen::MousePointer(), int(Screen::vbHourglass));
    QVERIFY(!form.node(viele + QStringLiteral("unten/")));
    QVERIFY(settled(form));
    QVERIFY(servedWhileReading);
    qInfo("longest gap of the event loop: %lld ms", gaps.longest());
    QCOMPARE(childTexts(form.node(viele)), QStringList({"unten"}));
    QCOMPARE(Screen::MousePointer(), int(Screen::vbDefault));
}

void TestPictureBrowser::driveThatDoesNotAnswerLeavesTheWindowServed()
{
    QVERIFY(QDir().mkpath(root() + QStringLiteral("ordner")));
    Drives::Volume volume {root(), QString(), QStringLiteral("nfs"), 1, false};
    // A network drive that answers only when the test lets it; after 20 s it answers anyway,
    // so a window that waits for it fails instead of hanging.
    QSemaphore answer;
    Drives::setVolumeSource([&answer, volume] {
        answer.tryAcquire(1, 20000);
        return QList<Drives::Volume> {volume};
    });
    frmImage::Show();
    frmImage &form = frmImageForm().get();
    QVERIFY(form.busy());
    QCOMPARE(Screen::MousePointer(), int(Screen::vbHourglass));
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.TreeView1->topLevelItemCount(), 0);
    answer.release();
    QVERIFY(settled(form));
    QCOMPARE(childTexts(form.node(root())), QStringList({"ordner"}));
    QCOMPARE(Screen::MousePointer(), int(Screen::vbDefault));
}

void TestPictureBrowser::hungOpeningsLeaveTheBrowserWorking()
{
    const QString hung = env->path(QStringLiteral("haengt/"));
    QVERIFY(QDir().mkpath(hung + QStringLiteral("alt")));
    QVERIFY(write(hung + QStringLiteral("h.bmp"), bmpFile(3, 3)));
    QVERIFY(QDir().mkpath(root() + QStringLiteral("bilder")));
    QVERIFY(write(root() + QStringLiteral("bilder/eins.bmp"), bmpFile(2, 2)));
    const Drives::Volume answering {root(), QString(), QStringLiteral("ext4"), 1, false};
    const Drives::Volume hanging {hung, QString(), QStringLiteral("nfs"), 1, false};
    // A network drive that answers only once the test lets it, and every time after; after 20 s
    // it answers anyway, so that a browser waiting for it fails instead of hanging.
    const auto answer = std::make_shared<QSemaphore>();
    Drives::setDriveSource([answering, hanging, answer] {
        const auto hangs = [hanging, answer] {
            if (answer->tryAcquire(1, 20000))
                answer->release();
            return std::optional(hanging);
        };
        return QList<Drives::Drive> {
            {answering.rootPath, [answering] { return std::optional(answering); }},
            {hanging.rootPath, hangs}};
    });
    // Twice as many openings as Qt's default pool has threads, each closed while the drive hangs.
    for (int i = 0; i < 2 * QThread::idealThreadCount(); ++i) {
        frmImage::Show();
        QTRY_VERIFY(frmImageForm().get().node(root()));
        frmImageForm().unload();
        QCOMPARE(Screen::MousePointer(), int(Screen::vbDefault));
    }
    frmImage::Show();
    frmImage &form = frmImageForm().get();
    QTRY_VERIFY(form.node(root()));
    QCOMPARE(form.TreeView1->topLevelItemCount(), 1);
    form.TreeView1_NodeClick(form.node(root() + QStringLiteral("bilder/")));
    QTRY_COMPARE(rows(form), QStringList({"eins.bmp"}));
    QTRY_COMPARE(Screen::MousePointer(), int(Screen::vbDefault));

    // Once the drive answers, it joins the tree in its place and reads like any other.
    answer->release();
    QTRY_COMPARE(form.TreeView1->topLevelItemCount(), 2);
    QCOMPARE(frmImage::Key(form.TreeView1->topLevelItem(0)), hung);
    QCOMPARE(childTexts(form.node(hung)), QStringList({"alt"}));
    listFolder(form, hung);
    QCOMPARE(rows(form), QStringList({"h.bmp"}));
    click(form.ListView1, row(form, QStringLiteral("h.bmp")));
    QCOMPARE(form.Bild1->pixmap().size(), QSize(3, 3));
    QCOMPARE(Screen::MousePointer(), int(Screen::vbDefault));
}

void TestPictureBrowser::keysListFilesAndShowPreviews()
{
    QVERIFY(QDir().mkpath(root() + QStringLiteral("bilder")));
    QVERIFY(QDir().mkpath(root() + QStringLiteral("zweite")));
    QVERIFY(write(root() + QStringLiteral("bilder/eins.bmp"), bmpFile(30, 20)));
    QVERIFY(write(root() + QStringLiteral("bilder/zwei.bmp"), bmpFile(40, 10)));
    QVERIFY(write(root() + QStringLiteral("zweite/drei.bmp"), bmpFile(5, 5)));
    frmImage &form = openOnRoot();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    // It opens with the focus on the folder tree, and nothing listed.
    QCOMPARE(QApplication::focusWidget(), form.TreeView1);
    QCOMPARE(form.ListView1->topLevelItemCount(), 0);
    // Keys go where real keys go: to the focused control.
    const auto key = [](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };
    // Enter on the drive, ready at the top, lists its files.
    QVERIFY(write(root() + QStringLiteral("oben.bmp"), bmpFile(2, 2)));
    key(Qt::Key_Return);
    QVERIFY(settled(form));
    QCOMPARE(rows(form), QStringList({"oben.bmp"}));
    // Opening the drive, then Down onto the first folder lists its files.
    key(Qt::Key_Right);
    key(Qt::Key_Down);
    QVERIFY(settled(form));
    QCOMPARE(rows(form), QStringList({"eins.bmp", "zwei.bmp"}));
    // Type-ahead chooses a folder by its name.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("zw"));
    QVERIFY(settled(form));
    QCOMPARE(rows(form), QStringList({"drei.bmp"}));
    key(Qt::Key_Up);
    QVERIFY(settled(form));
    // Tab to the file list; arrow keys show each file's preview.
    key(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), form.ListView1);
    QVERIFY(settled(form));
    key(Qt::Key_Down);
    QVERIFY(settled(form));
    QCOMPARE(form.ListView1->currentItem()->text(0), QStringLiteral("zwei.bmp"));
    QCOMPARE(form.Bild1->pixmap().size(), QSize(40, 10));
    key(Qt::Key_Up);
    QVERIFY(settled(form));
    QCOMPARE(form.Bild1->pixmap().size(), QSize(30, 20));
}

void TestPictureBrowser::keysTypedOnTheRealServer()
{
    if (const QString why = Keyboard::unavailable(); !why.isEmpty())
        QSKIP(qPrintable(why));
    QVERIFY(QDir().mkpath(root() + QStringLiteral("bilder")));
    QVERIFY(write(root() + QStringLiteral("bilder/eins.bmp"), bmpFile(30, 20)));
    QVERIFY(write(root() + QStringLiteral("bilder/zwei.bmp"), bmpFile(40, 10)));
    frmImage &form = openOnRoot();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QVERIFY(Keyboard::pressKeys({"Right", "Down"}));
    QVERIFY(settled(form));
    QCOMPARE(rows(form), QStringList({"eins.bmp", "zwei.bmp"}));
    QVERIFY(Keyboard::pressKeys({"Tab", "Down"}));
    QTRY_COMPARE(form.Bild1->pixmap().size(), QSize(40, 10));
}

void TestPictureBrowser::seedsForTheFuzzer()
{
    // The picture fuzzer starts from the small files kept in tests/fixtures/pictures/, each
    // kind among them, each one the loader takes.
    const QDir folder(QStringLiteral(VELMAR_FIXTURES_DIR "/pictures"));
    QStringList suffixes;
    for (const QFileInfo &file : folder.entryInfoList(QDir::Files, QDir::Name)) {
        suffixes << file.suffix();
        QVERIFY2(LoadPicture(file.filePath()), qPrintable(file.fileName()));
    }
    QCOMPARE(QSet<QString>(suffixes.cbegin(), suffixes.cend()),
             QSet<QString>({"bmp", "jpg", "gif", "emf", "wmf"}));
}

void TestPictureBrowser::decodesDataFromAnyThread()
{
    const QByteArray placeable = wmfFile(1440, 720, 1440, qRgb(200, 220, 255));
    // Without its 22-byte placeable header, as a document embeds it.
    const QByteArray bare = placeable.mid(22);
    const auto decodeAll = [&] {
        QList<std::optional<DecodedPicture>> results;
        results << DecodePicture(placeable, PictureKind::Wmf)
                << DecodePicture(bare, PictureKind::Wmf)
                << DecodePicture(emfFile(2540, 1270), PictureKind::Emf)
                << DecodePicture(bmpFile(3, 2), PictureKind::Bitmap)
                << DecodePicture(emfFile(2540, 1270), PictureKind::Wmf)
                << DecodePicture(emfFile(1440, 1224754000), PictureKind::Emf);
        return results;
    };
    const QList<std::optional<DecodedPicture>> results = QtConcurrent::run(decodeAll).result();
    QVERIFY(results.at(0));
    QCOMPARE(results.at(0)->widthTwips, 1440.0);
    QCOMPARE(QColor(results.at(0)->image.pixel(results.at(0)->image.width() / 2,
                                               results.at(0)->image.height() / 2)),
             QColor(200, 220, 255));
    QVERIFY(results.at(1));
    QVERIFY(!results.at(1)->image.isNull());
    QVERIFY(results.at(2));
    QCOMPARE(results.at(2)->widthTwips, 1440.0);
    QVERIFY(results.at(3));
    QCOMPARE(results.at(3)->image.size(), QSize(3, 2));
    QVERIFY(!results.at(4)); // an EMF given as a WMF
    QVERIFY(!results.at(5));
}

void TestPictureBrowser::closingWhileListingRestoresThePointer()
{
    const QString folder = root() + QStringLiteral("viele/");
    QVERIFY(QDir().mkpath(folder));
    for (int i = 0; i < 2000; ++i)
        QVERIFY(QFile(folder + QStringLiteral("%1.bmp").arg(i)).open(QIODevice::WriteOnly));
    frmImage &form = openOnRoot();
    form.TreeView1_NodeClick(form.node(folder));
    QCOMPARE(Screen::MousePointer(), int(Screen::vbHourglass));
    frmImageForm().unload();
    QCOMPARE(Screen::MousePointer(), int(Screen::vbDefault));
}

void TestPictureBrowser::f1OpensTheHelpTopic()
{
    Help::setHelpFile(QStringLiteral(VELMAR_RESOURCES_DIR "/velmar.hlp"));
    frmImage &form = openOnRoot();
    QTest::keyClick(form.TreeView1, Qt::Key_F1);
    QVERIFY(Help::viewer());
    QCOMPARE(Help::viewer()->currentContext(), 34);
    Help::closeViewer();
}

void TestPictureBrowser::screenshot()
{
    QVERIFY(QDir().mkpath(root() + QStringLiteral("Urlaub")));
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int x = 0; x < 300; x += 20)
        for (int y = 0; y < 200; ++y)
            picture.setPixel(x, y, qRgb(0, 0, 160));
    QVERIFY(picture.save(root() + QStringLiteral("streifen.bmp")));
    QVERIFY(write(root() + QStringLiteral("klein.gif"), gifFile));
    frmImage &form = openOnRoot();
    click(form.TreeView1, form.node(root()));
    click(form.ListView1, row(form, QStringLiteral("streifen.bmp")));
    QVERIFY(!form.HScroll.bar->isHidden());
    const QString folder = screenshotFolder();
    QVERIFY(form.grab().save(folder + QStringLiteral("/frmImage.png")));
}

QTEST_MAIN(TestPictureBrowser)
#include "tst_picturebrowser.moc"
