// The main window: start position, start dialogs, document windows, shutdown.
#include "common/AppPaths.h"
#include "common/Databases.h"
#include "document/frmDocument.h"
#include "document/frmText.h"
#include "frame/frmMain.h"
#include "platform/Forms.h"
#include "platform/Help.h"
#include "platform/MsgBox.h"
#include "platform/Screen.h"
#include "platform/Settings.h"
#include "platform/StatusBar.h"
#include "platform/Toolbar.h"
#include "tests/support/RunningProgram.h"
#include "text/RichTextBox.h"

#include <QComboBox>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <memory>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstRunOpensAtDefaultPosition();
    void storedPositionIsRestored();
    void badStoredValuesGiveDefaults_data();
    void badStoredValuesGiveDefaults();
    void storedSizeIsHeldToScreen_data();
    void storedSizeIsHeldToScreen();
    void outerSizeStaysOverRestarts();
    void startDialogOnlyForExactTrue_data();
    void startDialogOnlyForExactTrue();
    void helpFileIsInProgramFolder();
    void untitledWindowsAreNumberedPerKind();
    void newQuestionChoosesKind_data();
    void newQuestionChoosesKind();
    void openChoosesKindByLastThreeCharacters_data();
    void openChoosesKindByLastThreeCharacters();
    void openCancelledDoesNothing();
    void openUnreadableFileShowsMessage();
    void openedFileIsNotModified();
    void recentFilesFromSettingsAreShown();
    void lastWindowBringsBackNoDocumentToolbar();
    void activationShowsOwnToolbarOnly();
    void lastWindowUnloadsTools_data();
    void lastWindowUnloadsTools();
    void richTextWindowResetsPageSettings();
    void documentWindowCreatesTextBlockDatabase();
    void unwritableDatabaseFolderStillOpensWindow();
    void saveQuestionCancelKeepsProgramOpen();
    void saveQuestionNoClosesWindow();
    void exitSavesPosition();
    void exitWhileMinimisedKeepsStoredPosition();

private:
    frmMain &start() { return program->start(); }
    QString writeFile(const QString &name, const QByteArray &content)
    {
        return program->writeFile(name, content);
    }
    int documentCount() const { return program->documentCount(); }

    std::unique_ptr<RunningProgram> program;
    TestEnvironment *env = nullptr;
};

void TestMainWindow::init()
{
    program = std::make_unique<RunningProgram>();
    env = &program->env;
}

void TestMainWindow::cleanup()
{
    program->stop();
    QCOMPARE(env->modals.pending(), 0);
    program.reset();
}

static QRect twipsRect(double left, double top, double width, double height)
{
    return QRect(Screen::pixelsFromTwipsX(left), Screen::pixelsFromTwipsY(top),
                 Screen::pixelsFromTwipsX(width), Screen::pixelsFromTwipsY(height));
}

void TestMainWindow::firstRunOpensAtDefaultPosition()
{
    frmMain &window = start();
    QCOMPARE(window.windowTitle(), QStringLiteral("Velmar³²"));
    QCOMPARE(window.frameGeometry(), twipsRect(1000, 1000, 6500, 6500));
    QVERIFY(!window.tbNichts->isVisible());
    QVERIFY(!window.tbRTF->isVisible());
    QVERIFY(!window.tbText->isVisible());
    QVERIFY(window.sbStatusBar->isVisible());
    QCOMPARE(window.ComboGroesse->count(), 15);
    QCOMPARE(window.ComboGroesse->itemText(14), QStringLiteral("96"));
    QCOMPARE(window.comboSchrift->count(), Screen::FontCount());
}

void TestMainWindow::storedPositionIsRestored()
{
    SaveSetting("MainLeft", "1500");
    SaveSetting("MainTop", "750");
    SaveSetting("MainWidth", "7500");
    SaveSetting("MainHeight", "6000");
    frmMain &window = start();
    QCOMPARE(window.frameGeometry(), twipsRect(1500, 750, 7500, 6000));
}

void TestMainWindow::badStoredValuesGiveDefaults_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QPoint>("expectedPos");
    QTest::addColumn<int>("expectedWidth");
    const int defaultLeft = Screen::pixelsFromTwipsX(1000);
    const int defaultWidth = Screen::pixelsFromTwipsX(6500);
    const int top = Screen::pixelsFromTwipsY(1000);
    QTest::newRow("not a number") << "links"
                                  << "breit" << QPoint(defaultLeft, top) << defaultWidth;
    QTest::newRow("empty") << ""
                           << "" << QPoint(defaultLeft, top) << defaultWidth;
    QTest::newRow("off every screen") << "9999999"
                                      << "6500" << QPoint(0, 0) << defaultWidth;
}

void TestMainWindow::badStoredValuesGiveDefaults()
{
    QFETCH(QString, left);
    QFETCH(QString, width);
    QFETCH(QPoint, expectedPos);
    QFETCH(int, expectedWidth);
    SaveSetting("MainLeft", left);
    SaveSetting("MainWidth", width);
    frmMain &window = start();
    if (QTest::currentDataTag() == QByteArray("off every screen"))
        QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(window.pos()));
    else
        QCOMPARE(window.pos(), expectedPos);
    QCOMPARE(window.frameGeometry().width(), expectedWidth);
}

void TestMainWindow::storedSizeIsHeldToScreen_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("screenSize"); // else the smallest size
    QTest::newRow("far too large") << "99999999" << true;
    QTest::newRow("beyond every int") << "1e30" << true;
    QTest::newRow("negative") << "-6500" << false;
    QTest::newRow("zero") << "0" << false;
    QTest::newRow("below every int") << "-1e30" << false;
}

void TestMainWindow::storedSizeIsHeldToScreen()
{
    QFETCH(QString, stored);
    QFETCH(bool, screenSize);
    SaveSetting("MainWidth", stored);
    SaveSetting("MainHeight", stored);
    frmMain &window = start();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize shown = window.frameGeometry().size();
    if (screenSize) {
        QCOMPARE(window.frameGeometry(), available);
    } else {
        // Room for the menus, a toolbar and some lines of text.
        QVERIFY(shown.width() >= Screen::pixelsFromTwipsX(4500));
        QVERIFY(shown.height() >= Screen::pixelsFromTwipsY(3600));
        QVERIFY(shown.width() < Screen::pixelsFromTwipsX(6500));
        QCOMPARE(window.pos(),
                 QPoint(Screen::pixelsFromTwipsX(1000), Screen::pixelsFromTwipsY(1000)));
    }
    QVERIFY(available.contains(window.frameGeometry()));
    program->stop();
    // What is saved back is the window as it stood.
    QCOMPARE(GetSetting("MainWidth").toDouble(), Screen::twipsFromPixelsX(shown.width()));
    QCOMPARE(GetSetting("MainHeight").toDouble(), Screen::twipsFromPixelsY(shown.height()));
}

void TestMainWindow::outerSizeStaysOverRestarts()
{
    const QStringList stored = {"1500", "750", "7500", "6000"};
    const QStringList keys = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
    for (int i = 0; i < keys.size(); ++i)
        SaveSetting(keys[i], stored[i]);
    for (int run = 1; run <= 3; ++run) {
        frmMain &window = start();
        QCOMPARE(window.frameGeometry(), twipsRect(1500, 750, 7500, 6000));
        program->stop();
        for (int i = 0; i < keys.size(); ++i)
            QCOMPARE(GetSetting(keys[i]), stored[i]);
    }
}

void TestMainWindow::startDialogOnlyForExactTrue_data()
{
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QString>("startup");
    QTest::addColumn<int>("expected");
    const int none = int(frmMain::StartDialog::None);
    const int tip = int(frmMain::StartDialog::Tip);
    const int startup = int(frmMain::StartDialog::Startup);
    QTest::newRow("nothing stored") << QString() << QString() << tip;
    QTest::newRow("tip off, start on") << "False"
                                       << "True" << startup;
    QTest::newRow("both off") << "False"
                              << "False" << none;
    QTest::newRow("tip in other case") << "true"
                                       << "False" << none;
    QTest::newRow("start in other case") << "False"
                                         << "TRUE" << none;
}

void TestMainWindow::startDialogOnlyForExactTrue()
{
    QFETCH(QString, tip);
    QFETCH(QString, startup);
    QFETCH(int, expected);
    if (!tip.isNull())
        SaveSetting("Tip", tip);
    if (!startup.isNull())
        SaveSetting("Startup", startup);
    QCOMPARE(int(frmMain::startDialog()), expected);
}

void TestMainWindow::helpFileIsInProgramFolder()
{
    start();
    QCOMPARE(Help::helpFile(), env->programFolder() + "/velmar.hlp");
}

void TestMainWindow::untitledWindowsAreNumberedPerKind()
{
    frmMain &window = start();
    window.LoadNewText();
    window.LoadNewText();
    window.LoadNewDoc();
    QCOMPARE(window.ActiveForm()->Caption(), QStringLiteral("Dokument 1 (ungespeichert!)"));
    QList<QMdiSubWindow *> frames = window.mdiArea()->subWindowList();
    QCOMPARE(frames.at(0)->widget()->windowTitle(), QStringLiteral("Text 1 (ungespeichert!)"));
    QCOMPARE(frames.at(1)->widget()->windowTitle(), QStringLiteral("Text 2 (ungespeichert!)"));
    frames.at(1)->close();
    window.LoadNewText();
    QCOMPARE(window.ActiveForm()->Caption(), QStringLiteral("Text 3 (ungespeichert!)"));
    QVERIFY(qobject_cast<frmText *>(window.ActiveForm()));
}

void TestMainWindow::newQuestionChoosesKind_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("caption");
    QTest::newRow("yes") << int(vbYes) << "Dokument 1 (ungespeichert!)";
    QTest::newRow("no") << int(vbNo) << "Text 1 (ungespeichert!)";
    QTest::newRow("cancel") << int(vbCancel) << QString();
}

void TestMainWindow::newQuestionChoosesKind()
{
    QFETCH(int, answer);
    QFETCH(QString, caption);
    frmMain &window = start();
    env->modals.answerMessage(answer);
    window.mnuFileNew->trigger();
    const Modal::Request asked = env->modals.seen().constLast();
    QCOMPARE(asked.title, QStringLiteral("Neues Dokument erstellen"));
    QCOMPARE(asked.style, int(vbYesNoCancel | vbQuestion));
    QCOMPARE(window.ActiveForm() ? window.ActiveForm()->Caption() : QString(), caption);
}

void TestMainWindow::openChoosesKindByLastThreeCharacters_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("richText");
    QTest::newRow("rtf") << "brief.rtf" << true;
    QTest::newRow("RTF in capitals") << "BRIEF.RTF" << true;
    QTest::newRow("mixed case") << "brief.RtF" << true;
    QTest::newRow("txt") << "notiz.txt" << false;
    QTest::newRow("no extension") << "notiz" << false;
    QTest::newRow("no extension ending in rtf") << "kurzrtf" << true;
}

void TestMainWindow::openChoosesKindByLastThreeCharacters()
{
    QFETCH(QString, name);
    QFETCH(bool, richText);
    const QString path = writeFile(
        name, richText ? QByteArray("{\\rtf1\\ansi Hallo\\par}") : QByteArray("Hallo\n"));
    frmMain &window = start();
    env->modals.answerFile(path);
    window.mnuFileOpen->trigger();
    DocumentWindow *document = window.ActiveForm();
    QVERIFY(document);
    QCOMPARE(qobject_cast<frmDocument *>(document) != nullptr, richText);
    QCOMPARE(document->Caption(), name);
    QCOMPARE(document->Dateiname, path);
    QVERIFY(document->txtText->Text().startsWith("Hallo"));
    QCOMPARE(window.recentFiles.path(0), path);
    QVERIFY(window.mnuFileMRU[0]->isVisible());
    QCOMPARE(window.mnuFileMRU[0]->text(), "&1. " + path);
    QCOMPARE(document->mnuFileMRU[0]->text(), "&1. " + path);
    const Modal::Request dialog = env->modals.seen().constLast();
    QCOMPARE(dialog.kind, Modal::Kind::FileOpen);
    QCOMPARE(dialog.text,
             "Alle Dateien (*.*)|*.*|Text-Dateien (*.txt)|*.txt|RTF-Dateien (*.rtf)|*.rtf");
    QCOMPARE(window.dlgCommonDialog.FilterIndex, 3);
}

void TestMainWindow::openCancelledDoesNothing()
{
    frmMain &window = start();
    env->modals.cancel();
    window.OpenDoc();
    QCOMPARE(documentCount(), 0);
    QCOMPARE(window.TextCounter + window.DocumentCounter, 0);
}

void TestMainWindow::openUnreadableFileShowsMessage()
{
    const QString path = writeFile("kaputt.rtf", "kein RTF");
    frmMain &window = start();
    env->modals.answerFile(path);
    env->modals.answerMessage(vbOK);
    window.OpenDoc();
    const Modal::Request message = env->modals.seen().constLast();
    QCOMPARE(message.style, int(vbCritical));
    QVERIFY(message.text.contains(path));
    QCOMPARE(window.ActiveForm()->Caption(), QStringLiteral("Dokument 1 (ungespeichert!)"));
    QVERIFY(window.ActiveForm()->Dateiname.isEmpty());
    QVERIFY(!window.recentFiles.isFilled(0));
}

void TestMainWindow::openedFileIsNotModified()
{
    const QString path = writeFile("notiz.txt", "Hallo\n");
    frmMain &window = start();
    env->modals.answerFile(path);
    window.OpenDoc();
    QCOMPARE(window.ActiveForm()->Tag, QString());
    window.mdiArea()->currentSubWindow()->close();
    QCOMPARE(documentCount(), 0);
}

void TestMainWindow::recentFilesFromSettingsAreShown()
{
    SaveSetting("MRU0", "/tmp/a & b.txt");
    SaveSetting("MRU1", "/tmp/c.rtf");
    frmMain &window = start();
    QCOMPARE(window.mnuFileMRU[0]->text(), QStringLiteral("&1. /tmp/a && b.txt"));
    QCOMPARE(window.mnuFileMRU[0]->data().toString(), QStringLiteral("/tmp/a & b.txt"));
    QCOMPARE(window.mnuFileMRU[1]->text(), QStringLiteral("&2. /tmp/c.rtf"));
    QVERIFY(window.mnuFileMRU[1]->isVisible());
    QVERIFY(!window.mnuFileMRU[2]->isVisible());
    QVERIFY(window.mnuFileBar5->isVisible());
}

void TestMainWindow::lastWindowBringsBackNoDocumentToolbar()
{
    frmMain &window = start();
    window.LoadNewDoc();
    window.LoadNewText();
    QVERIFY(window.tbText->isVisible());
    window.mdiArea()->currentSubWindow()->close();
    QVERIFY(!window.tbNichts->isVisible());
    window.mdiArea()->currentSubWindow()->close();
    QVERIFY(window.tbNichts->isVisible());
    QVERIFY(!window.tbRTF->isVisible());
    QVERIFY(!window.tbText->isVisible());
}

void TestMainWindow::lastWindowUnloadsTools_data()
{
    QTest::addColumn<int>("windows");
    QTest::addColumn<bool>("browserOpen");
    QTest::addColumn<bool>("toolsStay");
    QTest::newRow("last window") << 1 << false << false;
    QTest::newRow("one of two") << 2 << false << true;
    QTest::newRow("picture browser open") << 1 << true << true;
}

void TestMainWindow::lastWindowUnloadsTools()
{
    QFETCH(int, windows);
    QFETCH(bool, browserOpen);
    QFETCH(bool, toolsStay);
    frmMain &window = start();
    for (int i = 0; i < windows; ++i)
        window.LoadNewDoc();
    QList<QPointer<QWidget>> tools;
    QStringList names = {"frmTastatur", "frmSonder"};
    if (browserOpen)
        names << "frmImage";
    for (const QString &name : names) {
        auto *tool = new QWidget;
        tool->setObjectName(name);
        Forms::add(tool);
        tools << tool;
    }
    window.mdiArea()->currentSubWindow()->close();
    QCOMPARE(Forms::isLoaded("frmTastatur"), toolsStay);
    QCOMPARE(Forms::isLoaded("frmSonder"), toolsStay);
    // The toolbars follow the document windows alone.
    QCOMPARE(window.tbNichts->isVisible(), windows == 1);
    QCOMPARE(window.tbRTF->isVisible(), windows > 1);
    for (const QPointer<QWidget> &tool : tools)
        delete tool.data();
}

void TestMainWindow::activationShowsOwnToolbarOnly()
{
    frmMain &window = start();
    window.LoadNewText();
    QVERIFY(window.tbText->isVisible());
    QVERIFY(!window.tbRTF->isVisible());
    window.LoadNewDoc();
    QVERIFY(window.tbRTF->isVisible());
    QVERIFY(!window.tbText->isVisible());
    QVERIFY(!window.tbNichts->isVisible());
}

void TestMainWindow::richTextWindowResetsPageSettings()
{
    frmMain &window = start();
    window.LoadNewDoc();
    auto *first = qobject_cast<frmDocument *>(window.ActiveForm());
    QCOMPARE(first->txtText->RightMargin(), 160.0);
    first->txtText->setRightMargin(150);
    window.LoadNewDoc();
    QCOMPARE(window.ActiveForm()->txtText->RightMargin(), 160.0);
    QCOMPARE(first->txtText->RightMargin(), 150.0);
    QVERIFY(first->pboxLineal->width() > 0);
}

void TestMainWindow::documentWindowCreatesTextBlockDatabase()
{
    frmMain &window = start();
    QVERIFY(!QFile::exists(Databases::textbausteinPath()));
    window.LoadNewText();
    QVERIFY(QFile::exists(Databases::textbausteinPath()));
}

void TestMainWindow::unwritableDatabaseFolderStillOpensWindow()
{
    // A folder below a plain file can be made by nobody, root included.
    AppPaths::setDatabaseFolder(writeFile("datei", "x") + "/daten");
    frmMain &window = start();
    window.LoadNewDoc();
    QVERIFY(window.ActiveForm());
    QVERIFY(!QFile::exists(Databases::textbausteinPath()));
}

void TestMainWindow::saveQuestionCancelKeepsProgramOpen()
{
    frmMain &window = start();
    window.LoadNewText();
    window.ActiveForm()->Tag = "Geaendert";
    env->modals.answerMessage(vbCancel);
    QVERIFY(!window.close());
    const Modal::Request question = env->modals.seen().constLast();
    QCOMPARE(question.title, QStringLiteral("Dokument Text 1 (ungespeichert!) schließen?"));
    QCOMPARE(question.text,
             QStringLiteral("Der Text im Fenster \"Text 1 (ungespeichert!)\" "
                            "wurde geändert. Möchten Sie die Datei speichern?"));
    QCOMPARE(question.style, int(vbYesNoCancel | vbQuestion));
    QCOMPARE(documentCount(), 1);
    QVERIFY(window.isVisible());
}

void TestMainWindow::saveQuestionNoClosesWindow()
{
    frmMain &window = start();
    window.LoadNewText();
    window.ActiveForm()->Tag = "T";
    env->modals.answerMessage(vbNo);
    window.mdiArea()->currentSubWindow()->close();
    QCOMPARE(documentCount(), 0);
}

void TestMainWindow::exitSavesPosition()
{
    frmMain &window = start();
    window.move(Screen::pixelsFromTwipsX(1200), Screen::pixelsFromTwipsY(900));
    window.resize(Screen::pixelsFromTwipsX(6000), Screen::pixelsFromTwipsY(5400));
    window.mnuFileExit->trigger();
    const QRect frame = window.frameGeometry();
    QCOMPARE(GetSetting("MainLeft").toDouble(), Screen::twipsFromPixelsX(frame.x()));
    QCOMPARE(GetSetting("MainTop").toDouble(), Screen::twipsFromPixelsY(frame.y()));
    QCOMPARE(GetSetting("MainWidth").toDouble(), Screen::twipsFromPixelsX(frame.width()));
    QCOMPARE(GetSetting("MainHeight").toDouble(), Screen::twipsFromPixelsY(frame.height()));
}

void TestMainWindow::exitWhileMinimisedKeepsStoredPosition()
{
    SaveSetting("MainLeft", "1234");
    frmMain &window = start();
    window.showMinimized();
    window.move(0, 0);
    window.close();
    QCOMPARE(GetSetting("MainLeft"), QStringLiteral("1234"));
    QVERIFY(GetSetting("MainWidth").isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
