// The help file format, the help viewer and WinHelp's commands.
#include "common/AppPaths.h"
#include "platform/Help.h"
#include "platform/HelpFile.h"
#include "platform/HelpViewer.h"
#include "platform/MsgBox.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <memory>

namespace {

const char *sample = ".title Probehilfe\n"
                     ".contents 1\n"
                     ".helponhelp 2\n"
                     "; not shown\n"
                     ".topic 1 Inhalt\n"
                     "Siehe [[27]] und [[12|neu]].\n"
                     ".topic 2 Hilfe benutzen\n"
                     ".keywords Hilfe; Suchen\n"
                     "So geht es.\n"
                     ".topic 27 Suchen und Ersetzen\n"
                     ".keywords Suchen; Ersetzen; Text finden\n"
                     "Erste Zeile\r\n"
                     "geht weiter <b>.\r\n"
                     "\r\n"
                     "- Punkt eins\r"
                     "- Punkt zwei\n"
                     ".topic 27 Doppelt\n"
                     "wird übergangen\n"
                     ".topic 12 Neues Dokument\n"
                     ".keywords neu\n"
                     "Neu.\n\n\n";

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void parsesTopicsKeywordsAndDirectives();
    void rendersParagraphsListsAndLinks();
    void unknownTopicSaysSo();
    void indexIsSortedAndMatchesPrefix_data();
    void indexIsSortedAndMatchesPrefix();
    void contextOpensTopic();
    void viewerOpensInTheMiddleOfTheOwnersScreen();
    void contentsAndHelpOnHelp();
    void partialKeyOpensSearch_data();
    void partialKeyOpensSearch();
    void linkInTopicOpensTarget();
    void helpUsableWhileModalDialogOpen_data();
    void helpUsableWhileModalDialogOpen();
    void missingFileGivesMessage_data();
    void missingFileGivesMessage();
    void shippedFileHasEveryTopic();

private:
    QString writeSample();
    std::unique_ptr<TestEnvironment> env;
};

void TestHelp::init()
{
    env = std::make_unique<TestEnvironment>();
}

void TestHelp::cleanup()
{
    Help::closeViewer();
    Help::setHelpFile(QString());
    QCOMPARE(env->modals.pending(), 0);
    env.reset();
}

QString TestHelp::writeSample()
{
    const QString path = AppPaths::join(env->programFolder(), QStringLiteral("velmar.hlp"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write the help file");
    file.write(sample);
    return path;
}

void TestHelp::parsesTopicsKeywordsAndDirectives()
{
    const HelpFile help = HelpFile::parse(QString::fromUtf8(sample));
    QCOMPARE(help.title(), QStringLiteral("Probehilfe"));
    QCOMPARE(help.contentsContext(), 1);
    QCOMPARE(help.helpOnHelpContext(), 2);
    QCOMPARE(help.topics().size(), 4);
    const HelpTopic *search = help.topic(27);
    QVERIFY(search);
    QCOMPARE(search->title, QStringLiteral("Suchen und Ersetzen"));
    QCOMPARE(search->keywords,
             QStringList({QStringLiteral("Suchen"), QStringLiteral("Ersetzen"),
                          QStringLiteral("Text finden")}));
    QCOMPARE(search->lines.size(), 5);
    QCOMPARE(help.topic(12)->lines, QStringList {QStringLiteral("Neu.")});
}

void TestHelp::rendersParagraphsListsAndLinks()
{
    const HelpFile help = HelpFile::parse(QString::fromUtf8(sample));
    QCOMPARE(help.html(27),
             QStringLiteral("<h2>Suchen und Ersetzen</h2><p>Erste Zeile geht weiter &lt;b&gt;.</p>"
                            "<ul><li>Punkt eins</li><li>Punkt zwei</li></ul>"));
    QCOMPARE(help.html(1),
             QStringLiteral("<h2>Inhalt</h2><p>Siehe <a href=\"topic:27\">Suchen und "
                            "Ersetzen</a> und <a href=\"topic:12\">neu</a>.</p>"));
}

void TestHelp::unknownTopicSaysSo()
{
    const HelpFile help = HelpFile::parse(QString::fromUtf8(sample));
    QVERIFY(help.html(99).contains(QStringLiteral("Hilfethema 99 ist")));
}

void TestHelp::indexIsSortedAndMatchesPrefix_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("keywords");
    QTest::addRow("all") << QString() << QStringList {"Ersetzen", "Hilfe",  "neu",
                                                      "Suchen",   "Suchen", "Text finden"};
    QTest::addRow("prefix in other case") << "su" << QStringList {"Suchen", "Suchen"};
    QTest::addRow("blanks around") << " te " << QStringList {"Text finden"};
    QTest::addRow("none") << "xyz" << QStringList {};
}

void TestHelp::indexIsSortedAndMatchesPrefix()
{
    QFETCH(QString, key);
    QFETCH(QStringList, keywords);
    const HelpFile help = HelpFile::parse(QString::fromUtf8(sample));
    QStringList found;
    for (const HelpFile::IndexEntry &entry : help.matches(key))
        found.append(entry.keyword);
    QCOMPARE(found, keywords);
}

void TestHelp::contextOpensTopic()
{
    Help::setHelpFile(writeSample());
    QWidget owner;
    showHelpTopic(&owner, 27);
    HelpViewer *viewer = Help::viewer();
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->currentContext(), 27);
    QVERIFY(viewer->browser->toPlainText().startsWith(QStringLiteral("Suchen und Ersetzen")));
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Probehilfe"));
    // A second request reuses the open window.
    showHelpTopic(&owner, 12);
    QCOMPARE(Help::viewer(), viewer);
    QCOMPARE(viewer->currentContext(), 12);
    QVERIFY(env->modals.seen().isEmpty());
}

void TestHelp::viewerOpensInTheMiddleOfTheOwnersScreen()
{
    Help::setHelpFile(writeSample());
    QWidget owner;
    owner.setGeometry(40, 40, 300, 200);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    showHelpTopic(&owner, 27);
    HelpViewer *viewer = Help::viewer();
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    const QRect screen = owner.screen()->availableGeometry();
    const QRect place = viewer->frameGeometry();
    QVERIFY2(screen.contains(place),
             qPrintable(QStringLiteral("%1,%2 %3x%4")
                            .arg(place.x())
                            .arg(place.y())
                            .arg(place.width())
                            .arg(place.height())));
    // Centred, give or take the window manager's frame.
    QVERIFY(std::abs(place.center().x() - screen.center().x()) <= 48);
    QVERIFY(std::abs(place.center().y() - screen.center().y()) <= 48);
}

void TestHelp::contentsAndHelpOnHelp()
{
    const QString path = writeSample();
    QVERIFY(WinHelp(nullptr, path, HELP_CONTENTS));
    QCOMPARE(Help::viewer()->currentContext(), 1);
    QCOMPARE(Help::viewer()->lstInhalt->count(), 4);
    QVERIFY(WinHelp(nullptr, path, HELP_HELPONHELP));
    QCOMPARE(Help::viewer()->currentContext(), 2);
    Help::viewer()->cmdZurueck->click();
    QCOMPARE(Help::viewer()->currentContext(), 1);
    QVERIFY(WinHelp(nullptr, path, HELP_QUIT));
    QVERIFY(!Help::viewer());
}

void TestHelp::partialKeyOpensSearch_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("shown");
    QTest::addRow("empty key lists all") << QString() << 6 << 0;
    QTest::addRow("key of one topic opens it") << "Ers" << 1 << 27;
    QTest::addRow("key of two topics waits") << "Suchen" << 2 << 0;
}

void TestHelp::partialKeyOpensSearch()
{
    QFETCH(QString, key);
    QFETCH(int, entries);
    QFETCH(int, shown);
    QVERIFY(WinHelp(nullptr, writeSample(), HELP_PARTIALKEY, 0, key));
    HelpViewer *viewer = Help::viewer();
    QCOMPARE(viewer->tabs->currentIndex(), 1);
    QCOMPARE(viewer->txtSuchen->text(), key);
    QCOMPARE(viewer->lstIndex->count(), entries);
    QCOMPARE(viewer->currentContext(), shown);
    if (shown == 0 && entries > 0) {
        // Enter in the search box opens the selected keyword's topic.
        QTest::keyClick(viewer->txtSuchen, Qt::Key_Return);
        QVERIFY(viewer->currentContext() != 0);
    }
}

void TestHelp::linkInTopicOpensTarget()
{
    QVERIFY(WinHelp(nullptr, writeSample(), HELP_CONTENTS));
    emit Help::viewer()->browser->anchorClicked(QUrl(QStringLiteral("topic:12")));
    QCOMPARE(Help::viewer()->currentContext(), 12);
}

void TestHelp::helpUsableWhileModalDialogOpen_data()
{
    QTest::addColumn<bool>("openBefore");
    QTest::addRow("F1 in the modal dialog") << false;
    QTest::addRow("help already open when the dialog opens") << true;
}

void TestHelp::helpUsableWhileModalDialogOpen()
{
    QFETCH(bool, openBefore);
    Help::setHelpFile(writeSample());
    QWidget mainWindow;
    mainWindow.show();
    if (openBefore)
        showHelpTopic(&mainWindow, 12);
    QDialog dialog(&mainWindow);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    showHelpTopic(&dialog, 27);
    HelpViewer *viewer = Help::viewer();
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    QCOMPARE(viewer->currentContext(), 27);
    // A click as the window system delivers it, which a blocked window never gets.
    QPushButton *button = viewer->cmdHilfeZurHilfe;
    QTest::mouseClick(viewer->windowHandle(), Qt::LeftButton, {},
                      button->mapTo(viewer, button->rect().center()));
    QCOMPARE(viewer->currentContext(), 2);
    // The dialog stays modal for the program's other windows.
    QVERIFY(dialog.isVisible());
    QCOMPARE(QApplication::activeModalWidget(), &dialog);
}

void TestHelp::missingFileGivesMessage_data()
{
    QTest::addColumn<bool>("fileSet");
    QTest::addRow("no help file") << false;
    QTest::addRow("file not there") << true;
}

void TestHelp::missingFileGivesMessage()
{
    QFETCH(bool, fileSet);
    if (fileSet)
        Help::setHelpFile(env->path(QStringLiteral("fehlt.hlp")));
    QWidget owner;
    owner.setWindowTitle(QStringLiteral("Suchen und Ersetzen"));
    env->modals.answerMessage(vbOK);
    showHelpTopic(&owner, 27);
    QVERIFY(!Help::viewer());
    QCOMPARE(env->modals.seen().size(), 1);
    const Modal::Request &box = env->modals.seen().first();
    QCOMPARE(box.text,
             QStringLiteral("Hilfeinhalt konnte nicht angezeigt werden. Dieser "
                            "Anwendung ist keine Hilfedatei zugeordnet."));
    QCOMPARE(box.style, int(vbInformation));
    QCOMPARE(box.title, QStringLiteral("Suchen und Ersetzen"));
}

void TestHelp::shippedFileHasEveryTopic()
{
    const auto help = HelpFile::load(QStringLiteral(VELMAR_RESOURCES_DIR "/velmar.hlp"));
    QVERIFY(help);
    QVERIFY(help->topic(help->contentsContext()));
    QVERIFY(help->topic(help->helpOnHelpContext()));
    const QList<int> named
        = {11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33,
           34, 35, 36, 37, 38, 39, 40, 41, 45, 46, 47, 48, 49, 50, 51, 53, 54, 55, 56, 58, 59};
    for (int context : named) {
        const HelpTopic *topic = help->topic(context);
        QVERIFY2(topic && !topic->lines.isEmpty() && !topic->keywords.isEmpty(),
                 qPrintable(QString::number(context)));
    }
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
