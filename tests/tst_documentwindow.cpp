// Document windows as the user works in them: the modified flag and the close question,
// key commands, F3 text blocks, recent files and saving.
#include "common/Databases.h"
#include "data/Database.h"
#include "document/frmDocument.h"
#include "document/frmText.h"
#include "frame/frmMain.h"
#include "platform/FileWrite.h"
#include "platform/MsgBox.h"
#include "platform/Screen.h"
#include "platform/Settings.h"
#include "platform/StatusBar.h"
#include "platform/Toolbar.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/Keyboard.h"
#include "tests/support/LoopGaps.h"
#include "tests/support/RunningProgram.h"
#include "text/RichTextBox.h"
#include "text/TextFileLoad.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

class TestDocumentWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void flagFollowsKeysChangesAndSaves_data();
    void flagFollowsKeysChangesAndSaves();
    void deleteKeyAndToolInsertionMarkChanged();
    void formatChangeAfterLoadingRichTextMarksChanged();
    void closeQuestionOnlyWhenModified_data();
    void closeQuestionOnlyWhenModified();
    void closeQuestionYesOnUntitledKeepsWindowWhenSaveAsCancelled();
    void closeQuestionYesSavesAndCloses();
    void viewSwitchesFollowTheMainWindow();
    void shortcutKeysNoteControlVAndZ_data();
    void shortcutKeysNoteControlVAndZ();
    void insSwitchesOverwritingPerWindow_data();
    void insSwitchesOverwritingPerWindow();
    void sentenceSelection_data();
    void sentenceSelection();
    void f3ExpandsTextBlocks_data();
    void f3ExpandsTextBlocks();
    void f3MatchesNamePatterns_data();
    void f3MatchesNamePatterns();
    void f3UnknownWordBeeps();
    void f3TellsOncePerWindowThatTextBlocksCannotBeRead_data();
    void f3TellsOncePerWindowThatTextBlocksCannotBeRead();
    void openingWhatIsNoFileFailsAtOnce_data();
    void openingWhatIsNoFileFailsAtOnce();
    void emptyRtfFileOpensAsEmptyRichText();
    void openingLargeFileLaysOutOnlyWhatIsShown();
    void longLineOpensServedAndSavesWhole_data();
    void longLineOpensServedAndSavesWhole();
    void largeRichTextOpensServed();
    void largeTextStaysServedAfterOpening_data();
    void largeTextStaysServedAfterOpening();
    void fileBeyondTheLimitIsRefusedUnread_data();
    void fileBeyondTheLimitIsRefusedUnread();
    void fileGrowingPastTheLimitWhileReadIsRefused_data();
    void fileGrowingPastTheLimitWhileReadIsRefused();
    void textOfMoreLinesThanTheLayoutPlacesIsRefused();
    void reopenRecentFile();
    void reopenVanishedFileRemovesIt();
    void exitStoresRecentFilesAndClearsEmptied();
    void saveAsNames_data();
    void saveAsNames();
    void saveAsPlainTextWarningCancelShowsDialogAgain();
    void saveAsAsksBeforeOverwritingAddedExtension();
    void saveIntoMissingFolderKeepsEverything();
    void saveInReadOnlyFolderWritesInPlace();
    void saveOnFullDiskKeepsFileAndChanges_data();
    void saveOnFullDiskKeepsFileAndChanges();
    void saveThatCannotPutTheOldBytesBackTellsTheFileDamaged();
    void saveUpdatesRecentFiles();
    void savedRichTextReopensWithFormat();
    void softBreakSavedAsTheFilesLineEnd_data();
    void softBreakSavedAsTheFilesLineEnd();

private:
    DocumentWindow *newWindow(bool richText);
    // Öffnen of PATH: whether the hourglass showed in an event the loop served meanwhile, the
    // main window refused to close then, and the file opened; prints the loop's longest gap.
    bool openServed(const QString &path);
    // Serves the event loop while the window lays the text out behind what it shows, until the
    // layout has gone past where Qt's layout can stop; prints the loop's longest gap.
    void watchLoopWhileLayingOut(RichTextBox *text);
    // The size limit's refusal of PATH, whose size the message gives as SIZE_TEXT: the window
    // stays empty and the file is not among the recent files.
    void checkRefusedAsTooLarge(const QString &path, const QString &sizeText);
    void addTextBlock(const QString &name, const QString &text);
    void typeInto(DocumentWindow *window, const QString &text);

    std::unique_ptr<RunningProgram> program;
    TestEnvironment *env = nullptr;
};

void TestDocumentWindow::init()
{
    program = std::make_unique<RunningProgram>();
    env = &program->env;
    program->start();
}

void TestDocumentWindow::cleanup()
{
    program->stop();
    QCOMPARE(env->modals.pending(), 0);
    program.reset();
}

bool TestDocumentWindow::openServed(const QString &path)
{
    bool hourglassWhileLoading = false;
    bool closedWhileLoading = true;
    // The first event the loop serves once the open has begun; the window that is loading
    // stays, and the program with it.
    QTimer::singleShot(0, this, [&] {
        hourglassWhileLoading = Screen::MousePointer() == Screen::vbHourglass;
        closedWhileLoading = program->main().close();
    });
    env->modals.answerFile(path);
    const qint64 longestGap = [&] {
        const LoopGaps gaps(10);
        program->main().OpenDoc();
        return gaps.longestUntilNow();
    }();
    qInfo("longest event-loop gap while opening %lld bytes: %lld ms",
          static_cast<long long>(QFileInfo(path).size()), static_cast<long long>(longestGap));
    return hourglassWhileLoading && !closedWhileLoading
        && Screen::MousePointer() == Screen::vbDefault && program->active()->Dateiname == path;
}

void TestDocumentWindow::watchLoopWhileLayingOut(RichTextBox *text)
{
    // Qt's layout stopped for good there when the document had no page height.
    constexpr qreal pastTheStop = 8400000;
    qreal laidOut = 0;
    const QObject watch;
    connect(text->document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged,
            &watch, [&laidOut](const QSizeF &size) { laidOut = size.height(); });
    const LoopGaps gaps(10);
    constexpr int enoughForAnyMachineMs = 240000;
    QTRY_VERIFY_WITH_TIMEOUT(laidOut > pastTheStop, enoughForAnyMachineMs);
    qInfo("longest event-loop gap while the window laid out %.0f pixels of text: %lld ms", laidOut,
          static_cast<long long>(gaps.longestUntilNow()));
}

DocumentWindow *TestDocumentWindow::newWindow(bool richText)
{
    if (richText)
        program->main().LoadNewDoc();
    else
        program->main().LoadNewText();
    return program->active();
}

void TestDocumentWindow::addTextBlock(const QString &name, const QString &text)
{
    QVERIFY(Database::ensure(Databases::textbausteine()));
    QSqlQuery insert(Database::open(Databases::textbausteinPath()));
    insert.prepare("INSERT INTO Textbausteine (Name, Textbaustein) VALUES (?, ?)");
    insert.addBindValue(name);
    insert.addBindValue(text);
    QVERIFY(insert.exec());
}

void TestDocumentWindow::typeInto(DocumentWindow *window, const QString &text)
{
    QTest::keyClicks(window->txtText, text);
}

void TestDocumentWindow::flagFollowsKeysChangesAndSaves_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("UTF-8") << QByteArray("Hallo\n");
    // Read as code page 1252 once it proves not to be UTF-8.
    QTest::newRow("code page 1252") << QByteArray("Hallo \xC4pfel\r\n");
}

void TestDocumentWindow::flagFollowsKeysChangesAndSaves()
{
    QFETCH(QByteArray, file);
    const QString path = program->writeFile("notiz.txt", file);
    env->modals.answerFile(path);
    program->main().OpenDoc();
    DocumentWindow *window = program->active();
    QCOMPARE(window->Tag, QString());
    QStringList seen;
    connect(window->txtText, &RichTextBox::KeyPress, this, [&] { seen << window->Tag; });
    typeInto(window, "x");
    QCOMPARE(seen, QStringList {"T"});
    QCOMPARE(window->Tag, QStringLiteral("Geaendert"));
    window->mnuFileSave->trigger();
    QCOMPARE(window->Tag, QStringLiteral("Gespeichert"));
    QCOMPARE(program->readFile(path), "x" + file);
    QTest::keyClick(window->txtText, Qt::Key_Escape);
    QCOMPARE(window->Tag, QStringLiteral("T"));
}

void TestDocumentWindow::deleteKeyAndToolInsertionMarkChanged()
{
    const QString path = program->writeFile("notiz.txt", "Hallo Welt\n");
    env->modals.answerFile(path);
    program->main().OpenDoc();
    DocumentWindow *window = program->active();
    window->txtText->setSelStart(0);
    window->txtText->setSelLength(6);
    QTest::keyClick(window->txtText, Qt::Key_Delete);
    QCOMPARE(window->txtText->Text().left(4), QStringLiteral("Welt"));
    QCOMPARE(window->Tag, QStringLiteral("Geaendert"));

    window->Tag = "Gespeichert";
    window->txtText->setSelText("Neu ");
    QCOMPARE(window->Tag, QStringLiteral("Geaendert"));
}

void TestDocumentWindow::formatChangeAfterLoadingRichTextMarksChanged()
{
    const QString path = program->writeFile("brief.rtf", "{\\rtf1\\ansi Hallo\\par}");
    env->modals.answerFile(path);
    program->main().OpenDoc();
    DocumentWindow *window = program->active();
    QCOMPARE(window->Tag, QString());
    window->txtText->setSelStart(0);
    window->txtText->setSelLength(5);
    QCOMPARE(window->Tag, QString());
    window->txtText->setSelBold(true);
    QCOMPARE(window->Tag, QStringLiteral("Geaendert"));
}

void TestDocumentWindow::closeQuestionOnlyWhenModified_data()
{
    QTest::addColumn<QString>("flag");
    QTest::addColumn<bool>("asks");
    QTest::newRow("new") << "" << false;
    QTest::newRow("key") << "T" << true;
    QTest::newRow("changed") << "Geaendert" << true;
    QTest::newRow("saved") << "Gespeichert" << false;
    QTest::newRow("other case") << "geaendert" << false;
}

void TestDocumentWindow::closeQuestionOnlyWhenModified()
{
    QFETCH(QString, flag);
    QFETCH(bool, asks);
    DocumentWindow *window = newWindow(false);
    window->Tag = flag;
    if (asks)
        env->modals.answerMessage(vbNo);
    window->mnuFileClose->trigger();
    QCOMPARE(env->modals.seen().size(), asks ? 1 : 0);
    QCOMPARE(program->documentCount(), 0);
}

void TestDocumentWindow::closeQuestionYesOnUntitledKeepsWindowWhenSaveAsCancelled()
{
    DocumentWindow *window = newWindow(true);
    typeInto(window, "Wichtig");
    env->modals.answerMessage(vbYes);
    env->modals.cancel();
    window->mnuFileClose->trigger();
    QCOMPARE(env->modals.seen().at(1).kind, Modal::Kind::FileSave);
    QCOMPARE(program->documentCount(), 1);
    QCOMPARE(window->txtText->Text(), QStringLiteral("Wichtig"));
    QCOMPARE(window->Tag, QStringLiteral("Geaendert"));
}

void TestDocumentWindow::closeQuestionYesSavesAndCloses()
{
    DocumentWindow *window = newWindow(false);
    typeInto(window, "Wichtig");
    env->modals.answerMessage(vbYes);
    env->modals.answerFile(env->path("wichtig"));
    window->mnuFileClose->trigger();
    QCOMPARE(program->documentCount(), 0);
    QCOMPARE(program->readFile(env->path("wichtig.txt")), QByteArray("Wichtig"));
}

void TestDocumentWindow::viewSwitchesFollowTheMainWindow()
{
    frmMain &main = program->main();
    DocumentWindow *window = newWindow(true);
    QVERIFY(main.tbRTF->isVisible());
    window->mnuPopupViewToolbar->trigger();
    QVERIFY(!main.tbRTF->isVisible());
    QVERIFY(!window->mnuViewToolbar->isChecked());
    QVERIFY(!main.mnuViewToolbar->isChecked());
    window->mnuViewStatusBar->trigger();
    QVERIFY(!main.sbStatusBar->isVisible());
    QVERIFY(!window->mnuPopupViewStatusBar->isChecked());
    // A window activated later takes the main window's switches.
    DocumentWindow *other = newWindow(false);
    QVERIFY(!main.tbText->isVisible());
    QVERIFY(!other->mnuViewToolbar->isChecked());
    QVERIFY(!other->mnuViewStatusBar->isChecked());
}

void TestDocumentWindow::shortcutKeysNoteControlVAndZ_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("noted");
    QTest::newRow("Ctrl+V") << int(Qt::Key_V) << int(Qt::ControlModifier) << true;
    QTest::newRow("Ctrl+Z") << int(Qt::Key_Z) << int(Qt::ControlModifier) << true;
    QTest::newRow("Ctrl+Shift+V") << int(Qt::Key_V) << int(Qt::ControlModifier | Qt::ShiftModifier)
                                  << false;
    QTest::newRow("Ctrl+Alt+Z") << int(Qt::Key_Z) << int(Qt::ControlModifier | Qt::AltModifier)
                                << false;
}

void TestDocumentWindow::shortcutKeysNoteControlVAndZ()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, noted);
    DocumentWindow *window = newWindow(true);
    // The note lives only until the menu's handler has taken it back after the key.
    bool seen = false;
    connect(window->txtText, &RichTextBox::KeyDown, this,
            [&] { seen = window->TastenkuerzelGedrueckt; });
    QTest::keyClick(window->txtText, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(seen, noted);
    QVERIFY(!window->TastenkuerzelGedrueckt);
}

void TestDocumentWindow::insSwitchesOverwritingPerWindow_data()
{
    Keyboard::addWayColumn();
    QTest::addColumn<bool>("richText");
    for (const Keyboard::Way way : Keyboard::ways) {
        Keyboard::newRow(way, "frmDocument") << true;
        Keyboard::newRow(way, "frmText") << false;
    }
}

// Ins makes typing overwrite in the window that has the focus; the other window still inserts,
// and Ins again inserts once more.
void TestDocumentWindow::insSwitchesOverwritingPerWindow()
{
    QFETCH(Keyboard::Way, way);
    QFETCH(bool, richText);
    if (const QString why = Keyboard::unavailable(way); !why.isEmpty())
        QSKIP(qPrintable(why));
    program->main().resize(900, 600);
    program->main().show();
    QVERIFY(QTest::qWaitForWindowExposed(&program->main()));
    // Without a window manager nobody else gives the window the keyboard.
    program->main().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&program->main()));
    DocumentWindow *other = newWindow(richText);
    DocumentWindow *window = newWindow(richText);
    for (DocumentWindow *each : {other, window}) {
        each->txtText->setText(QStringLiteral("abcd"));
        each->txtText->setSelStart(0);
    }
    window->txtText->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), window->txtText);
    QVERIFY(Keyboard::type(way, QString(), {"Insert", "x", "y"}));
    QTRY_COMPARE(window->txtText->Text(), QStringLiteral("xycd"));
    QVERIFY(Keyboard::type(way, QString(), {"Insert", "z"}));
    QTRY_COMPARE(window->txtText->Text(), QStringLiteral("xyzcd"));

    program->main().mdiArea()->setActiveSubWindow(
        qobject_cast<QMdiSubWindow *>(other->parentWidget()));
    other->txtText->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), other->txtText);
    QVERIFY(Keyboard::type(way, QString(), {"x"}));
    QTRY_COMPARE(other->txtText->Text(), QStringLiteral("xabcd"));
}

void TestDocumentWindow::sentenceSelection_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("selected");
    QTest::newRow("middle sentence") << "Eins. Zwei? Drei" << 8 << "Zwei?";
    QTest::newRow("last sentence to the end") << "Eins. Zwei? Drei" << 14 << "Drei";
    QTest::newRow("first sentence from the start") << "Eins. Zwei? Drei" << 2 << "Eins.";
    QTest::newRow("colon and exclamation") << "Achtung: Halt! Weiter" << 11 << "Halt!";
}

void TestDocumentWindow::sentenceSelection()
{
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(QString, selected);
    DocumentWindow *window = newWindow(true);
    window->txtText->setText(text);
    window->txtText->setSelStart(caret);
    QTest::keyClick(window->txtText, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(window->txtText->SelText(), selected);
    QCOMPARE(window->txtText->Text(), text);
}

void TestDocumentWindow::f3ExpandsTextBlocks_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("expected");
    QTest::newRow("other case") << "Gruss mfg" << int(Qt::NoModifier)
                                << "Gruss Mit freundlichen Grüßen";
    QTest::newRow("umlauts in other case") << "GRÜẞE" << int(Qt::NoModifier) << "Viele Grüße\r";
    QTest::newRow("shift") << "mfg" << int(Qt::ShiftModifier) << "Mit freundlichen Grüßen";
    QTest::newRow("apostrophe") << "geht's" << int(Qt::ControlModifier) << "es geht";
    QTest::newRow("pattern") << "m*" << int(Qt::NoModifier) << "Mit freundlichen Grüßen";
}

void TestDocumentWindow::f3ExpandsTextBlocks()
{
    QFETCH(QString, typed);
    QFETCH(int, modifiers);
    QFETCH(QString, expected);
    addTextBlock("MFG", "Mit freundlichen Grüßen");
    addTextBlock("grüße", "Viele Grüße\r\n");
    addTextBlock("geht's", "es geht");
    DocumentWindow *window = newWindow(false);
    window->txtText->setText(typed);
    window->txtText->setSelStart(int(typed.size()));
    const int beeps = beepCount();
    QTest::keyClick(window->txtText, Qt::Key_F3, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(window->txtText->Text(), expected);
    QCOMPARE(window->txtText->SelStart(), int(expected.size()));
    QCOMPARE(beepCount(), beeps);
}

void TestDocumentWindow::f3MatchesNamePatterns_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected"); // empty: nothing matches, F3 beeps
    QTest::newRow("? one character") << "?ax"
                                     << "Telefax";
    QTest::newRow("? in the middle") << "T?l"
                                     << "Telefon";
    QTest::newRow("? not none") << "Tel?"
                                << "";
    QTest::newRow("# one digit") << "Abt#"
                                 << "Abteilung eins";
    QTest::newRow("# not a letter") << "#bt1"
                                    << "";
    QTest::newRow("[a-c] a range, other case") << "Abt[a-c]"
                                               << "Abteilung B";
    QTest::newRow("[e-g] first letter") << "[e-g]ax"
                                        << "Telefax";
    QTest::newRow("[!0-9] not a digit") << "Abt[!0-9]"
                                        << "Abteilung B";
    QTest::newRow("[!a-z] not a letter") << "abt[!a-z]"
                                         << "Abteilung eins";
    QTest::newRow("[!f] not that letter") << "[!f]ax"
                                          << "";
    QTest::newRow("[xyz] a set") << "[xyzt]el"
                                 << "Telefon";
    QTest::newRow("unclosed [ is itself") << "Abt[1"
                                          << "";
    QTest::newRow("? one letter beyond the plane") << "?𐐯𐑅"
                                                   << "Deseret";
    QTest::newRow("beyond the plane, other case") << "𐐀𐐇*"
                                                  << "Deseret";
    QTest::newRow("[ ] beyond the plane") << "𐐨[𐐇]𐑅"
                                          << "Deseret";
}

// F3 takes the word before the caret as a pattern: the first block by name that it fits.
void TestDocumentWindow::f3MatchesNamePatterns()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    addTextBlock("Abt1", "Abteilung eins");
    addTextBlock("AbtB", "Abteilung B");
    addTextBlock("Fax", "Telefax");
    addTextBlock("Tel", "Telefon");
    addTextBlock("𐐨𐐯𐑅", "Deseret");
    DocumentWindow *window = newWindow(false);
    window->txtText->setText(typed);
    window->txtText->setSelStart(int(typed.size()));
    const int beeps = beepCount();
    QTest::keyClick(window->txtText, Qt::Key_F3);
    QCOMPARE(window->txtText->Text(), expected.isEmpty() ? typed : expected);
    QCOMPARE(beepCount(), beeps + (expected.isEmpty() ? 1 : 0));
}

void TestDocumentWindow::f3UnknownWordBeeps()
{
    addTextBlock("MFG", "Mit freundlichen Grüßen");
    DocumentWindow *window = newWindow(true);
    typeInto(window, "Hallo xyz");
    window->txtText->setSelStart(5);
    const int beeps = beepCount();
    QTest::keyClick(window->txtText, Qt::Key_F3);
    QCOMPARE(beepCount(), beeps + 1);
    QCOMPARE(window->txtText->Text(), QStringLiteral("Hallo xyz"));
    QCOMPARE(window->txtText->SelStart(), 5);
    QCOMPARE(window->txtText->SelLength(), 0);
}

void TestDocumentWindow::f3TellsOncePerWindowThatTextBlocksCannotBeRead_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("random bytes") << "random";
    QTest::newRow("truncated") << "truncated";
    QTest::newRow("without the table") << "no table";
    QTest::newRow("a folder of that name") << "folder";
    QTest::newRow("deleted while the program runs") << "deleted";
}

void TestDocumentWindow::f3TellsOncePerWindowThatTextBlocksCannotBeRead()
{
    QFETCH(QString, damage);
    const QString path = Databases::textbausteinPath();
    if (damage == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    } else if (damage == QLatin1String("random")) {
        QByteArray noise;
        for (int i = 0; i < 8192; ++i)
            noise.append(char((i * 7919 + 13) % 251));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(noise) == noise.size());
    } else if (damage != QLatin1String("deleted")) {
        QVERIFY(
            Database::CreateDatabase(path,
                                     damage == QLatin1String("no table")
                                         ? QStringLiteral("CREATE TABLE Andere (Name TEXT(50));")
                                         : QString::fromLatin1(Databases::TextbausteinCreate)));
        QSqlQuery insert(Database::open(path));
        for (int i = 0; i < 200; ++i) {
            insert.prepare("INSERT INTO Textbausteine (Name, Textbaustein) VALUES (?, ?)");
            insert.addBindValue(QStringLiteral("name%1").arg(i));
            insert.addBindValue(QString(500, u'x'));
            insert.exec();
        }
        Database::closeAll();
        if (damage == QLatin1String("truncated"))
            QVERIFY(QFile(path).resize(QFileInfo(path).size() / 3));
    }
    const QByteArray before = program->readFile(path);
    const QString expected
        = QStringLiteral("Die Textbausteine können nicht gelesen werden. Die Datei \"%1\" %2.")
              .arg(path,
                   damage == QLatin1String("deleted")
                       ? QStringLiteral("ist nicht vorhanden")
                       : QStringLiteral("ist beschädigt oder keine Textbaustein-Datenbank"));
    for (const bool richText : {false, true}) {
        DocumentWindow *window = newWindow(richText);
        if (damage == QLatin1String("deleted")) {
            Database::closeAll();
            QVERIFY(QFile::remove(path));
        }
        typeInto(window, "Gruß mfg");
        env->modals.answerMessage(vbOK);
        const int beeps = beepCount();
        QTest::keyClick(window->txtText, Qt::Key_F3);
        const Modal::Request message = env->modals.seen().constLast();
        QCOMPARE(message.kind, Modal::Kind::MessageBox);
        QCOMPARE(message.style, int(vbCritical));
        QCOMPARE(message.title, QStringLiteral("Textbausteine"));
        QCOMPARE(message.text, expected);
        QCOMPARE(window->txtText->Text(), QStringLiteral("Gruß mfg"));
        QCOMPARE(window->txtText->SelStart(), 8);
        // Once per window: the next F3 only beeps.
        const qsizetype shown = env->modals.seen().size();
        QTest::keyClick(window->txtText, Qt::Key_F3);
        QCOMPARE(env->modals.seen().size(), shown);
        QCOMPARE(beepCount(), beeps + 1);
    }
    QCOMPARE(program->readFile(path), before);
    QCOMPARE(QFileInfo(path).isDir(), damage == QLatin1String("folder"));
}

void TestDocumentWindow::openingWhatIsNoFileFailsAtOnce_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("named pipe") << "fifo";
    QTest::newRow("device") << "/dev/zero";
}

void TestDocumentWindow::openingWhatIsNoFileFailsAtOnce()
{
    QFETCH(QString, kind);
    QString path = kind;
    if (kind == QLatin1String("fifo")) {
        path = env->path("rohr.txt");
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    }
    frmMain &main = program->main();
    env->modals.answerFile(path);
    env->modals.answerMessage(vbOK);
    main.OpenDoc();
    const Modal::Request message = env->modals.seen().constLast();
    QCOMPARE(message.style, int(vbCritical));
    const QString refusal = "Die Datei \"" + path
        + "\" ist keine gewöhnliche Datei und wurde nicht geöffnet. Velmar öffnet keine Ordner, "
          "Geräte oder Pipes.";
    QCOMPARE(message.text, refusal);
    QVERIFY(main.recentFiles.path(0).isEmpty());
    // A recent file of that kind is still there, so it is not told as one that was moved away.
    main.recentFiles.setPath(0, path);
    env->modals.answerMessage(vbOK);
    main.mnuFileMRU[0]->trigger();
    QCOMPARE(env->modals.seen().constLast().title, QStringLiteral("Dokument öffnen"));
    QCOMPARE(env->modals.seen().constLast().text, refusal);
    QCOMPARE(main.recentFiles.path(0), path);
}

void TestDocumentWindow::emptyRtfFileOpensAsEmptyRichText()
{
    const QString path = program->writeFile("leer.rtf", QByteArray());
    env->modals.answerFile(path);
    program->main().OpenDoc();
    DocumentWindow *window = program->active();
    QVERIFY(qobject_cast<frmDocument *>(window));
    QCOMPARE(env->modals.seen().size(), 1);
    QCOMPARE(window->Caption(), QStringLiteral("leer.rtf"));
    QCOMPARE(window->Dateiname, path);
    QCOMPARE(window->txtText->Text(), QString());
    QCOMPARE(program->main().recentFiles.path(0), path);
}

void TestDocumentWindow::openingLargeFileLaysOutOnlyWhatIsShown()
{
    const QString path = program->writeFile(
        "gross.txt", QByteArray("Eine Zeile, noch eine Zeile.\n").repeated(50000));
    env->modals.answerFile(path);
    program->main().OpenDoc();
    DocumentWindow *window = program->active();
    const QTextBlock last = window->txtText->document()->lastBlock();
    QVERIFY(!last.layout() || last.layout()->lineCount() == 0);
    QCOMPARE(program->main().sbStatusBar->Panels(QStringLiteral("Seite"))->text(),
             QStringLiteral("1-1-0"));
    window->txtText->setSelStart(29 * 3 + 4);
    QCOMPARE(program->main().sbStatusBar->Panels(QStringLiteral("Seite"))->text(),
             QStringLiteral("1-4-4"));
    QVERIFY(!last.layout() || last.layout()->lineCount() == 0);
}

void TestDocumentWindow::longLineOpensServedAndSavesWhole_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("words without a line end") << QByteArray("abcd efgh ").repeated(600000);
    QTest::newRow("zero bytes") << QByteArray(6000000, '\0');
    // The file is read 4 MiB at a time: here the first piece ends inside an "ä".
    QTest::newRow("between lines with CR LF")
        << "Kopfzeile\r\n" + QByteArray("Wort\xC3\xA4 ").repeated(700000) + "\r\nEnde\r\n";
    QTest::newRow("CR LF across the first 4 MiB read")
        << QByteArray(4 * 1024 * 1024 - 1, 'x') + "\r\nEnde";
}

void TestDocumentWindow::longLineOpensServedAndSavesWhole()
{
    QFETCH(QByteArray, bytes);
    const QString path = program->writeFile("zeile.txt", bytes);
    QVERIFY(openServed(path));
    DocumentWindow *window = program->active();
    QCOMPARE(window->Caption(), QStringLiteral("zeile.txt"));
    QCOMPARE(window->txtText->Text().count(u'ä'), bytes.count("\xC3\xA4"));
    // The long line is broken at the window's edge.
    QVERIFY(window->txtText->GetLineFromChar(6000) > 0);
    window->mnuFileSave->trigger();
    QCOMPARE(program->readFile(path), bytes);

    // A line end typed far into the long line is saved where it was typed.
    window->txtText->setSelStart(10000);
    QTest::keyClick(window->txtText, Qt::Key_Return);
    window->mnuFileSave->trigger();
    const QByteArray lineEnd = bytes.contains("\r\n") ? "\r\n" : "\n";
    const QByteArray saved = program->readFile(path);
    qsizetype typed = 0;
    while (typed < bytes.size() && saved.at(typed) == bytes.at(typed))
        ++typed;
    QVERIFY2(typed > 9000, QByteArray::number(typed));
    QCOMPARE(saved, bytes.left(typed) + lineEnd + bytes.mid(typed));
    QTest::keyClick(window->txtText, Qt::Key_Z, Qt::ControlModifier);
    window->mnuFileSave->trigger();
    QCOMPARE(program->readFile(path), bytes);
}

void TestDocumentWindow::largeRichTextOpensServed()
{
    // What the reader makes in the document (its lists) belongs to the document's thread.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("thread")));
    const QByteArray paragraphs = QByteArray("\\pard{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody"
                                             "\\pnstart1\\pndec{\\pntxta .}}\\fi-360\\li360 "
                                             "Eins\\par Zwei\\par\r\n")
                                      .repeated(20000);
    const QString path = program->writeFile("liste.rtf", "{\\rtf1\\ansi " + paragraphs + "}");
    QVERIFY(openServed(path));
    RichTextBox *text = program->active()->txtText;
    QVERIFY(text->Text().startsWith(QStringLiteral("Eins\rZwei\rEins\r")));
    QVERIFY(text->document()->begin().textList());
    QVERIFY(text->document()->lastBlock().previous().textList());
}

void TestDocumentWindow::largeTextStaysServedAfterOpening_data()
{
    QTest::addColumn<QByteArray>("piece");
    QTest::addColumn<int>("pieces");
    QTest::newRow("50 MB in one line") << QByteArray("abcd efgh ").repeated(100000) << 50;
    QTest::newRow("40 MB of lines")
        << QByteArray("Eine Zeile, noch eine Zeile.\n").repeated(36000) << 40;
    QTest::newRow("600,000 short lines") << QByteArray("x\n").repeated(600000) << 1;
}

void TestDocumentWindow::largeTextStaysServedAfterOpening()
{
    QFETCH(QByteArray, piece);
    QFETCH(int, pieces);
    const QString path = env->path("gross.txt");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int i = 0; i < pieces; ++i)
            QCOMPARE(file.write(piece), piece.size());
    }
    program->main().resize(900, 700);
    program->main().show();
    QVERIFY(QTest::qWaitForWindowExposed(&program->main()));
    QVERIFY(openServed(path));
    // A narrow window: its lines would reach further down than Qt's layout can place them.
    program->main().mdiArea()->currentSubWindow()->resize(200, 300);
    watchLoopWhileLayingOut(program->active()->txtText);
}

void TestDocumentWindow::checkRefusedAsTooLarge(const QString &path, const QString &sizeText)
{
    const Modal::Request message = env->modals.seen().constLast();
    QCOMPARE(message.style, int(vbCritical));
    QCOMPARE(message.title, QStringLiteral("Dokument öffnen"));
    QCOMPARE(message.text,
             "Die Datei \"" + path + "\" ist zu groß (" + sizeText
                 + " Bytes) und wurde nicht geöffnet. Velmar öffnet Dateien bis 268.435.456 "
                   "Bytes.");
    DocumentWindow *window = program->active();
    QVERIFY(window->Caption().endsWith(QStringLiteral(" (ungespeichert!)")));
    QCOMPARE(window->txtText->Text(), QString());
    QVERIFY(program->main().recentFiles.path(0).isEmpty());
}

void TestDocumentWindow::fileBeyondTheLimitIsRefusedUnread_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("sizeText");
    QTest::newRow("plain text one byte over")
        << "riesig.txt" << TextFileLoad::MaxFileBytes + 1 << "268.435.457";
    QTest::newRow("rich text of two billion bytes")
        << "riesig.rtf" << qint64(2000000000) << "2.000.000.000";
}

void TestDocumentWindow::fileBeyondTheLimitIsRefusedUnread()
{
    QFETCH(QString, name);
    QFETCH(qint64, size);
    QFETCH(QString, sizeText);
    // Sparse: it takes no room on the disk.
    const QString path = env->path(name);
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(size));
    }
    frmMain &main = program->main();
    env->modals.answerFile(path);
    env->modals.answerMessage(vbOK);
    main.OpenDoc();
    QVERIFY(QFile::remove(path));
    checkRefusedAsTooLarge(path, sizeText);
}

void TestDocumentWindow::fileGrowingPastTheLimitWhileReadIsRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("plain text") << "waechst.txt"
                                << QByteArray("Eine Zeile, die wächst.\n").repeated(500000);
    QTest::newRow("rich text") << "waechst.rtf"
                               << "{\\rtf1\\ansi "
            + QByteArray("Eine Zeile\\par\r\n").repeated(800000);
}

void TestDocumentWindow::fileGrowingPastTheLimitWhileReadIsRefused()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    const QString path = program->writeFile(name, bytes);
    // Another program writes on while the file is read: it grows past the limit (sparse, so
    // that it takes no room on the disk).
    QTimer::singleShot(0, this, [path] {
        QFile writer(path);
        QVERIFY(writer.open(QIODevice::ReadWrite) && writer.resize(TextFileLoad::MaxFileBytes + 1));
    });
    frmMain &main = program->main();
    env->modals.answerFile(path);
    env->modals.answerMessage(vbOK);
    main.OpenDoc();
    QVERIFY(QFile::remove(path));
    checkRefusedAsTooLarge(path, QStringLiteral("268.435.457"));
}

void TestDocumentWindow::textOfMoreLinesThanTheLayoutPlacesIsRefused()
{
    frmMain &main = program->main();
    main.LoadNewText();
    const int limit = program->active()->txtText->ParagraphLimit();
    // Empty lines, one more paragraph than the limit: the text ends with an empty one.
    const QString path = program->writeFile("zeilen.txt", QByteArray(limit, '\n'));
    env->modals.answerFile(path);
    env->modals.answerMessage(vbOK);
    main.OpenDoc();
    const Modal::Request message = env->modals.seen().constLast();
    QCOMPARE(message.style, int(vbCritical));
    QCOMPARE(message.title, QStringLiteral("Dokument öffnen"));
    QCOMPARE(message.text,
             "Die Datei \"" + path
                 + "\" hat zu viele Zeilen und wurde nicht geöffnet. Velmar öffnet Dateien bis "
                 + QLocale(QLocale::German, QLocale::Germany).toString(limit) + " Zeilen.");
    QCOMPARE(program->active()->txtText->Text(), QString());
    QVERIFY(main.recentFiles.path(0).isEmpty());
}

void TestDocumentWindow::reopenRecentFile()
{
    const QString first = program->writeFile("eins.txt", "eins");
    const QString second = program->writeFile("zwei.txt", "zwei");
    frmMain &main = program->main();
    for (const QString &path : {first, second}) {
        env->modals.answerFile(path);
        main.OpenDoc();
    }
    QCOMPARE(main.recentFiles.path(0), second);
    main.mnuFileMRU[1]->trigger();
    QCOMPARE(program->active()->Caption(), QStringLiteral("eins.txt"));
    QCOMPARE(program->active()->Dateiname, first);
    QCOMPARE(main.recentFiles.path(0), first);
    QCOMPARE(main.recentFiles.path(1), second);
    QCOMPARE(program->active()->mnuFileMRU[1]->text(), "&2. " + second);
}

void TestDocumentWindow::reopenVanishedFileRemovesIt()
{
    const QString gone = env->path("weg.txt");
    program->stop();
    SaveSetting("MRU0", "/tmp/vorher.txt");
    SaveSetting("MRU1", gone);
    SaveSetting("MRU2", "/tmp/danach.txt");
    frmMain &main = program->start();
    env->modals.answerMessage(vbNo);
    main.mnuFileMRU[1]->trigger();
    const Modal::Request question = env->modals.seen().constLast();
    QCOMPARE(question.title, QStringLiteral("Fehler"));
    QCOMPARE(question.style, int(vbYesNo | vbQuestion));
    QCOMPARE(question.text,
             "Die gewünschte Datei \"" + gone
                 + "\" konnte nicht gefunden werden. Wahrscheinlich ist sie "
                   "gelöscht, verschoben oder umbenannt worden. Wollen Sie nach "
                   "der Datei suchen bzw. eine andere öffnen?");
    QCOMPARE(program->documentCount(), 0);
    QCOMPARE(main.recentFiles.path(1), QStringLiteral("/tmp/danach.txt"));
    QVERIFY(!main.mnuFileMRU[2]->isVisible());

    env->modals.answerMessage(vbYes);
    env->modals.cancel();
    main.mnuFileMRU[1]->trigger();
    QCOMPARE(env->modals.seen().constLast().kind, Modal::Kind::FileOpen);
}

void TestDocumentWindow::exitStoresRecentFilesAndClearsEmptied()
{
    program->stop();
    SaveSetting("MRU0", env->path("weg.txt"));
    SaveSetting("MRU1", "/tmp/bleibt.txt");
    frmMain &main = program->start();
    env->modals.answerMessage(vbNo);
    main.mnuFileMRU[0]->trigger();
    program->stop();
    QCOMPARE(GetSetting("MRU0"), QStringLiteral("/tmp/bleibt.txt"));
    QCOMPARE(GetSetting("MRU1"), QString());
}

void TestDocumentWindow::saveAsNames_data()
{
    QTest::addColumn<bool>("richText");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("warned");
    QTest::addColumn<bool>("asRtf");
    QTest::newRow("rich, no extension") << true << "brief"
                                        << "brief.rtf" << false << true;
    QTest::newRow("rich, capitals") << true << "brief.RTF"
                                    << "brief.RTF" << false << true;
    QTest::newRow("rich, txt") << true << "brief.txt"
                               << "brief.txt" << true << false;
    QTest::newRow("rich, md") << true << "notizen.md"
                              << "notizen.md.rtf" << false << true;
    QTest::newRow("plain, no extension") << false << "notiz"
                                         << "notiz.txt" << false << false;
    QTest::newRow("plain, rtf") << false << "notiz.rtf"
                                << "notiz.rtf" << false << true;
    QTest::newRow("plain, RTF") << false << "notiz.RTF"
                                << "notiz.RTF" << false << false;
}

void TestDocumentWindow::saveAsNames()
{
    QFETCH(bool, richText);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(bool, warned);
    QFETCH(bool, asRtf);
    DocumentWindow *window = newWindow(richText);
    typeInto(window, "Inhalt");
    env->modals.answerFile(env->path(typed));
    if (warned)
        env->modals.answerMessage(vbOK);
    window->mnuFileSaveAs->trigger();
    const QString path = env->path(written);
    QCOMPARE(program->readFile(path).startsWith("{\\rtf"), asRtf);
    QVERIFY(program->readFile(path).contains("Inhalt"));
    QCOMPARE(window->Caption(), written);
    QCOMPARE(window->Dateiname, path);
    QCOMPARE(window->Tag, QStringLiteral("Gespeichert"));
    QCOMPARE(env->modals.seen().size(), warned ? 2 : 1);
    QCOMPARE(program->main().dlgCommonDialog.FilterIndex, richText ? 3 : 2);
    if (warned) {
        const Modal::Request warning = env->modals.seen().at(1);
        QCOMPARE(warning.text,
                 QStringLiteral("Bei Speicherung als Nur-Text gehen "
                                "RTF-Formatierungen verloren. Fortfahren?"));
        QCOMPARE(warning.style, 49);
        QCOMPARE(warning.title, QStringLiteral("Dokument speichern"));
        // The next save writes plain text again without asking.
        typeInto(window, "!");
        window->mnuFileSave->trigger();
        QCOMPARE(program->readFile(path), QByteArray("Inhalt!"));
    }
}

void TestDocumentWindow::saveAsPlainTextWarningCancelShowsDialogAgain()
{
    DocumentWindow *window = newWindow(true);
    typeInto(window, "Inhalt");
    env->modals.answerFile(env->path("brief.txt"));
    env->modals.answerMessage(vbCancel);
    env->modals.cancel();
    window->mnuFileSaveAs->trigger();
    QCOMPARE(env->modals.seen().size(), 3);
    QCOMPARE(env->modals.seen().at(2).kind, Modal::Kind::FileSave);
    QVERIFY(!QFile::exists(env->path("brief.txt")));
    QCOMPARE(window->Caption(), QStringLiteral("Dokument 1 (ungespeichert!)"));
    QCOMPARE(window->Tag, QStringLiteral("Geaendert"));
}

void TestDocumentWindow::saveAsAsksBeforeOverwritingAddedExtension()
{
    const QString existing = program->writeFile("brief.rtf", "alt");
    DocumentWindow *window = newWindow(true);
    typeInto(window, "neu");
    env->modals.answerFile(env->path("brief"));
    env->modals.answerMessage(vbNo);
    env->modals.cancel();
    window->mnuFileSaveAs->trigger();
    QVERIFY(env->modals.seen().at(1).text.contains(existing));
    QCOMPARE(program->readFile(existing), QByteArray("alt"));

    env->modals.answerFile(env->path("brief"));
    env->modals.answerMessage(vbYes);
    window->mnuFileSaveAs->trigger();
    QVERIFY(program->readFile(existing).startsWith("{\\rtf"));
}

void TestDocumentWindow::saveIntoMissingFolderKeepsEverything()
{
    const QString folder = env->path("ordner");
    QDir().mkpath(folder);
    const QString path = program->writeFile("ordner/brief.txt", "alt");
    env->modals.answerFile(path);
    program->main().OpenDoc();
    DocumentWindow *window = program->active();
    typeInto(window, "neu");
    QVERIFY(QDir(folder).removeRecursively());
    env->modals.answerMessage(vbOK);
    window->mnuFileSave->trigger();
    const Modal::Request message = env->modals.seen().constLast();
    QCOMPARE(message.style, int(vbCritical));
    QVERIFY(message.text.contains(path));
    QCOMPARE(window->Tag, QStringLiteral("Geaendert"));
    env->modals.answerMessage(vbYes);
    env->modals.answerMessage(vbOK);
    window->mnuFileClose->trigger();
    QCOMPARE(program->documentCount(), 1);
}

void TestDocumentWindow::saveInReadOnlyFolderWritesInPlace()
{
    if (::geteuid() == 0)
        QSKIP(qPrintable(needsUserWithoutRoot("Folder permissions do not bind the root user")));
    const QString folder = env->path("ordner");
    QDir().mkpath(folder);
    const QString path = program->writeFile("ordner/brief.txt", "alter Text");
    env->modals.answerFile(path);
    program->main().OpenDoc();
    DocumentWindow *window = program->active();
    typeInto(window, "neu: ");
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    window->mnuFileSave->trigger();
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(window->Tag, QStringLiteral("Gespeichert"));
    QCOMPARE(program->readFile(path), QByteArray("neu: alter Text"));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList {"brief.txt"});
}

void TestDocumentWindow::saveOnFullDiskKeepsFileAndChanges_data()
{
    QTest::addColumn<bool>("inPlace");
    QTest::newRow("beside the file") << false;
    QTest::newRow("in place") << true;
}

void TestDocumentWindow::saveOnFullDiskKeepsFileAndChanges()
{
    QFETCH(bool, inPlace);
    if (inPlace && ::geteuid() == 0)
        QSKIP(qPrintable(needsUserWithoutRoot("Folder permissions do not bind the root user")));
    const QString folder = env->path("ordner");
    QDir().mkpath(folder);
    QByteArray old;
    while (old.size() < 551)
        old += "Notizen vom Montag: Angebot pr\xc3\xbc"
               "fen.\n";
    old.truncate(551);
    const QString path = program->writeFile("ordner/Notizen.txt", old);
    env->modals.answerFile(path);
    program->main().OpenDoc();
    DocumentWindow *window = program->active();
    program->main().recentFiles.setPath(0, "/anderes.txt");
    program->main().recentFiles.setPath(1, path);
    typeInto(window, QString(3000, QLatin1Char('x')));
    if (inPlace)
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    program->main().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&program->main()));
    env->modals.answerMessage(vbOK);
    {
        const FileSizeLimit fullDisk(1024);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(program->readFile(path), old);
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList {"Notizen.txt"});
    QCOMPARE(env->modals.seen().size(), 2);
    const Modal::Request message = env->modals.seen().constLast();
    QCOMPARE(message.style, int(vbCritical));
    QVERIFY(message.text.contains(path));
    QCOMPARE(window->Tag, QStringLiteral("Geaendert"));
    QCOMPARE(program->main().recentFiles.path(0), QStringLiteral("/anderes.txt"));
    QCOMPARE(program->main().recentFiles.path(1), path);
    env->modals.answerMessage(vbCancel);
    window->mnuFileClose->trigger();
    QCOMPARE(env->modals.seen().constLast().style, int(vbYesNoCancel | vbQuestion));
    QCOMPARE(program->documentCount(), 1);
}

// In place, the file having a second name: the write fails part way, and the disk fails further
// so that putting the old bytes back fails too.
void TestDocumentWindow::saveThatCannotPutTheOldBytesBackTellsTheFileDamaged()
{
    const QString folder = env->path("ordner");
    QDir().mkpath(folder);
    const QByteArray old(551, 'a');
    const QString path = program->writeFile("ordner/Notizen.txt", old);
    QCOMPARE(::link(QFile::encodeName(path).constData(),
                    QFile::encodeName(env->path("ordner/Notizen-Kopie.txt")).constData()),
             0);
    env->modals.answerFile(path);
    program->main().OpenDoc();
    DocumentWindow *window = program->active();
    typeInto(window, QString(3000, QLatin1Char('x')));
    program->main().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&program->main()));
    env->modals.answerMessage(vbOK);
    {
        const FileSizeLimit failingDisk(1024, 100);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    }
    QVERIFY(program->readFile(path) != old);
    const QList<FileWrite::KeptCopy> kept = FileWrite::keptCopies();
    QCOMPARE(kept.size(), 1);
    QCOMPARE(program->readFile(kept.first().copy), old);
    QCOMPARE(env->modals.seen().size(), 2);
    const Modal::Request message = env->modals.seen().constLast();
    QCOMPARE(message.style, int(vbCritical));
    QCOMPARE(message.title, QStringLiteral("Dokument speichern"));
    QCOMPARE(message.text,
             QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden und ist jetzt "
                            "beschädigt: Weder ihr alter noch ihr neuer Inhalt ließ sich "
                            "vollständig hineinschreiben. Ihr alter Inhalt ist vollständig in "
                            "dieser Kopie erhalten:\n\n%2\n\nStellen Sie die Datei aus der "
                            "Kopie wieder her, bevor Sie sie weiter verwenden.")
                 .arg(path, kept.first().copy));
    QCOMPARE(window->Tag, QStringLiteral("Geaendert"));
}

void TestDocumentWindow::saveUpdatesRecentFiles()
{
    frmMain &main = program->main();
    main.recentFiles.setPath(0, "/a");
    main.recentFiles.setPath(1, "/b");
    DocumentWindow *window = newWindow(false);
    env->modals.answerFile(env->path("neu.txt"));
    window->mnuFileSaveAs->trigger();
    QCOMPARE(main.recentFiles.path(0), env->path("neu.txt"));
    QCOMPARE(main.recentFiles.path(2), QStringLiteral("/b"));
    QVERIFY(!main.mnuFileMRU[3]->isVisible());
    QCOMPARE(window->mnuFileMRU[1]->text(), QStringLiteral("&2. /a"));
}

void TestDocumentWindow::savedRichTextReopensWithFormat()
{
    DocumentWindow *window = newWindow(true);
    typeInto(window, "Fett und normal");
    window->txtText->setSelStart(0);
    window->txtText->setSelLength(4);
    window->txtText->setSelBold(true);
    window->txtText->setSelIndent(12.5);
    env->modals.answerFile(env->path("format"));
    window->mnuFileSaveAs->trigger();

    env->modals.answerFile(env->path("format.rtf"));
    program->main().OpenDoc();
    RichTextBox *text = program->active()->txtText;
    QCOMPARE(text->Text(), QStringLiteral("Fett und normal"));
    text->setSelStart(0);
    text->setSelLength(4);
    QCOMPARE(text->SelBold(), std::optional<bool>(true));
    // RTF keeps lengths in whole twips.
    QVERIFY(qAbs(text->SelIndent().value_or(0) - 12.5) < 0.02);
    text->setSelLength(6);
    QCOMPARE(text->SelBold(), std::optional<bool>());
}

void TestDocumentWindow::softBreakSavedAsTheFilesLineEnd_data()
{
    Keyboard::addWayColumn();
    QTest::addColumn<QByteArray>("file"); // empty: a new window
    QTest::addColumn<QByteArray>("saved");
    for (const Keyboard::Way way : Keyboard::ways) {
        Keyboard::newRow(way, "new, UTF-8 LF")
            << QByteArray() << QByteArray("Zeile eins\nZeile zwei");
        Keyboard::newRow(way, "code page 1252, CR LF")
            << QByteArray("\xC4\r\n") << QByteArray("\xC4\r\nZeile eins\r\nZeile zwei");
    }
}

// A plain text has one kind of line end: Shift+Enter writes the file's own.
void TestDocumentWindow::softBreakSavedAsTheFilesLineEnd()
{
    QFETCH(Keyboard::Way, way);
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, saved);
    if (const QString why = Keyboard::unavailable(way); !why.isEmpty())
        QSKIP(qPrintable(why));
    const QString path = env->path(QStringLiteral("zeilen.txt"));
    DocumentWindow *window = nullptr;
    if (file.isEmpty()) {
        window = newWindow(false);
    } else {
        env->modals.answerFile(program->writeFile(QStringLiteral("zeilen.txt"), file));
        program->main().OpenDoc();
        window = program->active();
        window->txtText->setSelStart(static_cast<int>(window->txtText->Text().size()));
    }
    QVERIFY(Keyboard::focus(window->txtText));
    QVERIFY(Keyboard::type(way, QStringLiteral("Zeile eins"), {"shift+Return"}));
    QVERIFY(Keyboard::type(way, QStringLiteral("Zeile zwei")));
    QTRY_VERIFY(window->txtText->Text().endsWith(QStringLiteral("Zeile eins\vZeile zwei")));
    if (file.isEmpty())
        env->modals.answerFile(path);
    window->mnuFileSave->trigger();
    QCOMPARE(program->readFile(path), saved);
}

QTEST_MAIN(TestDocumentWindow)
#include "tst_documentwindow.moc"
