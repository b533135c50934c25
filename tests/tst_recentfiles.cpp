// The recent-files list: move-to-top and removal.
#include "common/RecentFiles.h"

#include <QTest>

class TestRecentFiles : public QObject
{
    Q_OBJECT

private slots:
    void moveToTop_data();
    void moveToTop();
    void removeMovesLaterEntriesUp();
    void prefixesGiveAccessKeys();
};

static RecentFiles listOf(const QStringList &paths)
{
    RecentFiles list;
    for (int i = 0; i < paths.size(); ++i)
        list.setPath(i, paths.at(i));
    return list;
}

static QStringList pathsOf(const RecentFiles &list)
{
    QStringList paths;
    for (int i = 0; i < RecentFiles::Count; ++i)
        paths.append(list.path(i));
    return paths;
}

void TestRecentFiles::moveToTop_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("empty list") << QStringList {} << "/a" << QStringList {"/a", "", "", ""};
    QTest::newRow("three become four")
        << QStringList {"/a", "/b", "/c"} << "/n" << QStringList {"/n", "/a", "/b", "/c"};
    QTest::newRow("oldest dropped")
        << QStringList {"/a", "/b", "/c", "/d"} << "/n" << QStringList {"/n", "/a", "/b", "/c"};
    QTest::newRow("slot 2 to the top")
        << QStringList {"/a", "/b", "/c", "/d"} << "/c" << QStringList {"/c", "/a", "/b", "/d"};
    QTest::newRow("already first")
        << QStringList {"/a", "/b", "/c"} << "/a" << QStringList {"/a", "/b", "/c", ""};
    QTest::newRow("other letter case is another file")
        << QStringList {"/a", "/b", "/c", "/D"} << "/d" << QStringList {"/d", "/a", "/b", "/c"};
}

void TestRecentFiles::moveToTop()
{
    QFETCH(QStringList, before);
    QFETCH(QString, opened);
    QFETCH(QStringList, after);
    RecentFiles list = listOf(before);
    list.moveToTop(opened);
    QCOMPARE(pathsOf(list), after);
}

void TestRecentFiles::removeMovesLaterEntriesUp()
{
    RecentFiles list = listOf({"/a", "/b", "/c"});
    list.remove(0);
    QCOMPARE(pathsOf(list), (QStringList {"/b", "/c", "", ""}));
    QVERIFY(list.anyFilled());
    list.remove(1);
    list.remove(0);
    QVERIFY(!list.anyFilled());
}

void TestRecentFiles::prefixesGiveAccessKeys()
{
    QCOMPARE(RecentFiles::prefix(0), QStringLiteral("&1. "));
    QCOMPARE(RecentFiles::prefix(3), QStringLiteral("&4. "));
    QCOMPARE(RecentFiles::settingsKey(3), QStringLiteral("MRU3"));
}

QTEST_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
