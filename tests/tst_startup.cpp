// The start sequence, the tip of the day, the start dialog, the about box, the message for a
// save that never finished, and the main window's View and Help menus; plus pictures of the four
// windows.
#include "common/AppPaths.h"
#include "common/ProgramInfo.h"
#include "document/frmDocument.h"
#include "document/frmText.h"
#include "frame/FormSupport.h"
#include "frame/Main.h"
#include "frame/frmAbout.h"
#include "frame/frmMain.h"
#include "frame/frmStartup.h"
#include "frame/frmTip.h"
#include "platform/FileWrite.h"
#include "platform/Help.h"
#include "platform/HelpViewer.h"
#include "platform/MsgBox.h"
#include "platform/Screen.h"
#include "platform/Settings.h"
#include "platform/StatusBar.h"
#include "platform/Toolbar.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/GrabChecks.h"
#include "tests/support/RunningProgram.h"
#include "tests/support/StartedProgram.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace {

const QString tipTitle = QStringLiteral("Tip des Tages");
const QString startTitle = QStringLiteral("Willkommen!");

// What the user does in a form; an empty code leaves the form open for the script to close.
void act(QWidget *form, const QString &code)
{
    if (auto *tip = qobject_cast<frmTip *>(form)) {
        if (code == "OK") {
            tip->cmdOK->click();
        } else if (code == "unchecked OK") {
            tip->chkAnzeigen->setChecked(false);
            tip->cmdOK->click();
        } else if (code == "Enter") {
            QTest::keyClick(tip, Qt::Key_Return);
        }
    } else if (auto *start = qobject_cast<frmStartup *>(form)) {
        if (code == "Abbrechen") {
            start->cmdAbbrechen->click();
        } else if (code == "unchecked close box") {
            start->chkEnable->setChecked(false);
            start->close();
        } else if (code == "Neu: RTF") {
            start->cmdRTF->click();
        }
    }
    if (code == "Esc")
        QTest::keyClick(form, Qt::Key_Escape);
    else if (code == "close box")
        form->close();
}

// Hands out the given random numbers in turn.
void randomSequence(std::deque<double> values)
{
    setRandomSource([values]() mutable {
        const double value = values.front();
        values.pop_front();
        return value;
    });
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startSequence_data();
    void startSequence();
    void startButtonsRunCommands_data();
    void startButtonsRunCommands();
    void lastFileNeedsStoredFile();
    void lastFileHints_data();
    void lastFileHints();
    void buttonHintsReturnToReady_data();
    void buttonHintsReturnToReady();
    void interruptedSaveIsToldAtTheNextStart_data();
    void interruptedSaveIsToldAtTheNextStart();
    void runningSaveIsLeftToItsProgram_data();
    void runningSaveIsLeftToItsProgram();
    void savePastTheFileSizeLimitLeavesTheProgramRunning_data();
    void savePastTheFileSizeLimitLeavesTheProgramRunning();
    void tipFileLines_data();
    void tipFileLines();
    void emptyTipFileShowsNothing();
    void missingTipFileShowsHowToMakeOne_data();
    void missingTipFileShowsHowToMakeOne();
    void tipFromHelpMenuShowsSettingAndGoesNoFurther_data();
    void tipFromHelpMenuShowsSettingAndGoesNoFurther();
    void aboutBoxShowsTitleAndVersion();
    void sysInfoWithoutProgramGivesMessage();
    void sysInfoStartsFirstProgramFound();
    void pictureWithAllThreeKeysMovesOK_data();
    void pictureWithAllThreeKeysMovesOK();
    void escapeClosesWanderingAboutBox();
    void viewMenuMarksFollowSettings_data();
    void viewMenuMarksFollowSettings();
    void viewSwitchesWriteSettings();
    void helpMenuOpensViewer();
    void helpMenuWithoutHelpFileGivesMessage();
    void statusBarMouseMoveRestoresPointer();
    void programAndWindowsShowOwnIcon();
    void screenshots();

private:
    // Starts the main window with the given stored switches; empty means not stored.
    frmMain &start(const QString &tip = QStringLiteral("False"),
                   const QString &startup = QStringLiteral("False"));
    void writeTipFile(const QByteArray &content);
    std::unique_ptr<RunningProgram> program;
    TestEnvironment *env = nullptr;
};

void TestStartup::init()
{
    program = std::make_unique<RunningProgram>();
    env = &program->env;
}

void TestStartup::cleanup()
{
    program->stop();
    Help::closeViewer();
    setRandomSource({});
    frmAbout::setProgramStarter({});
    QCOMPARE(env->modals.pending(), 0);
    program.reset();
}

frmMain &TestStartup::start(const QString &tip, const QString &startup)
{
    if (!tip.isEmpty())
        SaveSetting("Tip", tip);
    if (!startup.isEmpty())
        SaveSetting("Startup", startup);
    return program->start(RunningProgram::StartDialogs::AsStored);
}

void TestStartup::writeTipFile(const QByteArray &content)
{
    QFile file(frmTip::tipFile());
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write the tip file");
    file.write(content);
}

void TestStartup::startSequence_data()
{
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QString>("startup");
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("tipAfter");
    QTest::addColumn<QString>("startupAfter");
    QTest::addColumn<bool>("toolbar");
    QTest::addColumn<int>("documents");
    const QStringList both = {tipTitle, startTitle};
    const QStringList tipOnly = {tipTitle};
    const QStringList startOnly = {startTitle};

    QTest::addRow("first run: tip, OK, then Abbrechen")
        << ""
        << "" << QStringList {"OK", "Abbrechen"} << both << "True"
        << "True" << true << 0;
    QTest::addRow("tip unchecked, start dialog by Esc")
        << "True"
        << "True" << QStringList {"unchecked OK", "Esc"} << both << "False"
        << "True" << true << 0;
    QTest::addRow("Esc is OK; start dialog closed by its box")
        << "True"
        << "True" << QStringList {"Esc", "close box"} << both << "True"
        << "True" << false << 0;
    QTest::addRow("Enter is OK") << "True"
                                 << "True" << QStringList {"Enter", "Neu: RTF"} << both << "True"
                                 << "True" << false << 1;
    QTest::addRow("tip closed by its box: nothing written, no start dialog")
        << ""
        << "" << QStringList {"close box"} << tipOnly << ""
        << "" << false << 0;
    QTest::addRow("tip without start dialog") << "True"
                                              << "False" << QStringList {"OK"} << tipOnly << "True"
                                              << "False" << false << 0;
    QTest::addRow("start dialog only, new rich text")
        << "False"
        << "True" << QStringList {"Neu: RTF"} << startOnly << "False"
        << "True" << false << 1;
    QTest::addRow("start dialog only, switched off by its box")
        << "False"
        << "True" << QStringList {"unchecked close box"} << startOnly << "False"
        << "False" << false << 0;
    QTest::addRow("tip in other letter case is off")
        << "true"
        << "True" << QStringList {"Abbrechen"} << startOnly << "true"
        << "True" << true << 0;
    QTest::addRow("both off") << "False"
                              << "False" << QStringList {} << QStringList {} << "False"
                              << "False" << false << 0;
}

void TestStartup::startSequence()
{
    QFETCH(QString, tip);
    QFETCH(QString, startup);
    QFETCH(QStringList, actions);
    QFETCH(QStringList, shown);
    QFETCH(QString, tipAfter);
    QFETCH(QString, startupAfter);
    QFETCH(bool, toolbar);
    QFETCH(int, documents);
    writeTipFile("Eins\n");
    for (const QString &action : actions)
        env->modals.answerForm([action](QWidget *form) { act(form, action); });
    frmMain &window = start(tip, startup);
    QStringList titles;
    for (const Modal::Request &request : env->modals.seen())
        titles.append(request.title);
    QCOMPARE(titles, shown);
    QCOMPARE(GetSetting("Tip"), tipAfter);
    QCOMPARE(GetSetting("Startup"), startupAfter);
    QCOMPARE(window.tbNichts->isVisible(), toolbar);
    QCOMPARE(program->documentCount(), documents);
    QVERIFY(!frmTipForm().isLoaded());
    QVERIFY(!frmStartupForm().isLoaded());
}

void TestStartup::startButtonsRunCommands_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("richText");
    QTest::addColumn<QString>("caption");
    QTest::addRow("Neu: Text") << "cmdText" << false << "Text 1 (ungespeichert!)";
    QTest::addRow("Neu: RTF") << "cmdRTF" << true << "Dokument 1 (ungespeichert!)";
    QTest::addRow("Datei öffnen") << "cmdDateiOeffnen" << false << "brief.txt";
    QTest::addRow("Letzte Datei öffnen") << "cmdDateiLetzte" << false << "brief.txt";
}

void TestStartup::startButtonsRunCommands()
{
    QFETCH(QString, button);
    QFETCH(bool, richText);
    QFETCH(QString, caption);
    const QString path = program->writeFile("brief.txt", "Hallo");
    SaveSetting("MRU0", path);
    env->modals.answerForm([button](QWidget *form) {
        auto *dialog = qobject_cast<frmStartup *>(form);
        QVERIFY(dialog);
        const QHash<QString, QPushButton *> buttons = {{"cmdText", dialog->cmdText},
                                                       {"cmdRTF", dialog->cmdRTF},
                                                       {"cmdDateiOeffnen", dialog->cmdDateiOeffnen},
                                                       {"cmdDateiLetzte", dialog->cmdDateiLetzte}};
        buttons.value(button)->click();
    });
    if (button == "cmdDateiOeffnen")
        env->modals.answerFile(path);
    start(QStringLiteral("False"), QStringLiteral("True"));
    QCOMPARE(program->documentCount(), 1);
    DocumentWindow *window = program->active();
    QCOMPARE(qobject_cast<frmDocument *>(window) != nullptr, richText);
    QCOMPARE(window->Caption(), caption);
    QCOMPARE(GetSetting("Startup"), QStringLiteral("True"));
}

void TestStartup::lastFileNeedsStoredFile()
{
    bool enabled = true;
    env->modals.answerForm([&enabled](QWidget *form) {
        enabled = qobject_cast<frmStartup *>(form)->cmdDateiLetzte->isEnabled();
    });
    start(QStringLiteral("False"), QStringLiteral("True"));
    QVERIFY(!enabled);
}

void TestStartup::lastFileHints_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("available");
    QTest::addColumn<QString>("hint");
    const QString sep = QDir::separator();
    const QString shortPath = sep + "texte" + sep + "brief.txt";
    QTest::addRow("short path whole") << shortPath << true << "Öffnet Datei \"" + shortPath + "\".";
    const QString path25 = sep + QString(14, 'a') + sep + "brief.txt";
    QCOMPARE(path25.size(), 25);
    QTest::addRow("25 characters whole") << path25 << true << "Öffnet Datei \"" + path25 + "\".";
    const QString path26 = sep + QString(15, 'a') + sep + "brief.txt";
    QTest::addRow("26 characters shortened")
        << path26 << true << "Öffnet Datei \"" + path26.left(16) + " ... " + sep + "brief.txt\".";
    const QString path33 = sep + "home" + sep + "erika" + sep + "briefe2026x" + sep + "brief.rtf";
    QCOMPARE(path33.size(), 33);
    QTest::addRow("33 characters, name of 9") << path33 << true
                                              << "Öffnet Datei \"" + sep + "home" + sep + "erika"
            + sep + "brie ... " + sep + "brief.rtf\".";
    const QString longName = "Jahresbericht-2026-endgueltig.rtf";
    QTest::addRow("bare name longer than the room")
        << sep + "d" + sep + longName << true << "Öffnet Datei \"Jahresberich ... ndgueltig.rtf\".";
    QTest::addRow("disabled") << shortPath << false << "Zur Zeit nicht verfügbar.";
}

void TestStartup::lastFileHints()
{
    QFETCH(QString, path);
    QFETCH(bool, available);
    QFETCH(QString, hint);
    QCOMPARE(frmStartup::lastFileHint(path, available), hint);
}

void TestStartup::buttonHintsReturnToReady_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("hint");
    QTest::addRow("Neu: Text") << 0 << "Erstellt ein neues Nur-Text-Dokument.";
    QTest::addRow("Neu: RTF") << 1 << "Erstellt ein neues RTF-Dokument.";
    QTest::addRow("Datei öffnen") << 2 << "Öffnet eine bestehende Datei.";
    QTest::addRow("Letzte Datei öffnen") << 3 << "Zur Zeit nicht verfügbar.";
    QTest::addRow("Abbrechen") << 4 << "Bricht das Dialogfeld ab.";
}

void TestStartup::buttonHintsReturnToReady()
{
    QFETCH(int, button);
    QFETCH(QString, hint);
    start();
    frmStartup &dialog = frmStartupForm().get();
    dialog.Form_Load();
    dialog.show();
    QCOMPARE(dialog.Panel1->text(), QStringLiteral("Bereit."));
    QVERIFY(dialog.timeStatus.isActive());
    QCOMPARE(dialog.timeStatus.interval(), 5000);
    QPushButton *target
        = QList<QPushButton *> {dialog.cmdText, dialog.cmdRTF, dialog.cmdDateiOeffnen,
                                dialog.cmdDateiLetzte, dialog.cmdAbbrechen}
              .at(button);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
    QCOMPARE(dialog.Panel1->text(), hint);
    QVERIFY(dialog.timeStatus.isActive());
    dialog.timeStatus_Timer();
    QCOMPARE(dialog.Panel1->text(), QStringLiteral("Bereit."));
    QVERIFY(!dialog.timeStatus.isActive());
    frmStartupForm().unload();
}

void TestStartup::interruptedSaveIsToldAtTheNextStart_data()
{
    QTest::addColumn<QStringList>("folders");
    QTest::newRow("one file") << QStringList {"privat"};
    QTest::newRow("two files of one name from two folders") << QStringList {"privat", "verein"};
}

void TestStartup::interruptedSaveIsToldAtTheNextStart()
{
    QFETCH(QStringList, folders);
    QStringList letters;
    for (const QString &folder : folders) {
        QVERIFY(QDir().mkpath(env->path(folder)));
        const QString letter = program->writeFile(folder + QStringLiteral("/Brief.txt"),
                                                  "Sehr geehrte Frau " + folder.toUtf8());
        // The program ends part way through writing the file in place.
        QVERIFY(endsWhileWriting(100, [&] { FileWrite::overwrite(letter, QByteArray(500, 'n')); }));
        letters.append(letter);
        // The copies are told oldest first: each earlier one an hour older.
        const QDir saves(AppPaths::keptCopiesFolder());
        for (const QString &save : saves.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const std::filesystem::path made
                = QFile::encodeName(saves.filePath(save)).toStdString();
            std::filesystem::last_write_time(
                made, std::filesystem::last_write_time(made) - std::chrono::hours(1));
        }
    }
    QStringList copies;
    for (const QString &folder : folders) {
        QDirIterator found(AppPaths::keptCopiesFolder(), {QStringLiteral("Brief.txt")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (found.hasNext()) {
            const QString copy = found.next();
            if (RunningProgram::readFile(copy) == "Sehr geehrte Frau " + folder.toUtf8())
                copies.append(QDir::toNativeSeparators(copy));
        }
    }
    QCOMPARE(copies.size(), folders.size());
    env->modals.answerMessage(vbOK);
    env->modals.answerForm([](QWidget *form) { act(form, QStringLiteral("OK")); });
    start(QStringLiteral("True"));
    QCOMPARE(env->modals.seen().size(), 2);
    const Modal::Request &box = env->modals.seen().first();
    if (folders.size() == 1) {
        QCOMPARE(box.text,
                 QStringLiteral("Das Speichern der Datei \"%1\" wurde unterbrochen. Ihr "
                                "vorheriger Inhalt ist in dieser Kopie erhalten:\n\n%2\n\nPrüfen "
                                "Sie die Datei und löschen Sie die Kopie, wenn Sie sie nicht mehr "
                                "brauchen.")
                     .arg(letters.first(), copies.first()));
    } else {
        QCOMPARE(box.text,
                 QStringLiteral("Das Speichern von Dateien wurde unterbrochen. Ihr vorheriger "
                                "Inhalt ist in diesen Kopien erhalten:\n\n\"%1\": %2\n\"%3\": "
                                "%4\n\nPrüfen Sie die Dateien und löschen Sie die Kopien, wenn "
                                "Sie sie nicht mehr brauchen.")
                     .arg(letters.at(0), copies.at(0), letters.at(1), copies.at(1)));
    }
    QCOMPARE(box.style, int(vbExclamation));
    QCOMPARE(box.title, ProgramInfo::title());
    // Then the start goes on as ever; the copies stay until the user deletes them.
    QCOMPARE(env->modals.seen().last().title, tipTitle);
    for (int i = 0; i < folders.size(); ++i)
        QCOMPARE(RunningProgram::readFile(copies.at(i)),
                 "Sehr geehrte Frau " + folders.at(i).toUtf8());
}

namespace {

// Every file below the kept copies' folder.
QStringList keptFiles()
{
    QStringList files;
    QDirIterator found(AppPaths::keptCopiesFolder(), QDir::Files, QDirIterator::Subdirectories);
    while (found.hasNext())
        files.append(found.next());
    files.sort();
    return files;
}

} // namespace

void TestStartup::runningSaveIsLeftToItsProgram_data()
{
    QTest::addColumn<int>("oldSize");
    QTest::addColumn<int>("newSize");
    QTest::addColumn<bool>("copyWhole");
    QTest::newRow("while its copy is made") << 3000 << 10 << false;
    QTest::newRow("while the file is written") << 551 << 3000 << true;
}

// Another program started while one saves in place leaves the running save's copy alone; once
// the saving program has ended part way, a start tells the copy if it is whole.
void TestStartup::runningSaveIsLeftToItsProgram()
{
    QFETCH(int, oldSize);
    QFETCH(int, newSize);
    QFETCH(bool, copyWhole);
    const QString letter
        = program->writeFile(QStringLiteral("Brief.txt"), QByteArray(oldSize, 'a'));
    WriteHeldAtLimit save(1024, [&] { FileWrite::overwrite(letter, QByteArray(newSize, 'n')); });
    QVERIFY(save.held());
    const QStringList during = keptFiles();
    QVERIFY(!during.isEmpty());
    start();
    QCOMPARE(env->modals.seen().size(), 0);
    QCOMPARE(keptFiles(), during);
    program->stop();

    save.end();
    if (copyWhole)
        env->modals.answerMessage(vbOK);
    start();
    QCOMPARE(env->modals.seen().size(), copyWhole ? 1 : 0);
    if (copyWhole) {
        QVERIFY(env->modals.seen().first().text.contains(letter));
        QCOMPARE(keptFiles(), during);
    } else {
        QCOMPARE(keptFiles(), QStringList());
    }
}

namespace {

// The user of a started program: opens the file, types a letter at its start and saves it with
// Ctrl+S. Each message box is answered with OK, its text written to the standard output.
void typeAndSave(const QString &path)
{
    Modal::setHandler([path](const Modal::Request &request) {
        Modal::Answer answer;
        if (request.kind == Modal::Kind::FileOpen) {
            answer.text = path;
            return answer;
        }
        std::fputs(request.text.toUtf8().append('\n').constData(), stdout);
        std::fflush(stdout);
        answer.result = vbOK;
        return answer;
    });
    MainForm()->OpenDoc();
    auto *main = dynamic_cast<QWidget *>(MainForm());
    main->activateWindow();
    if (!QTest::qWaitForWindowActive(main))
        return;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
}

} // namespace

void TestStartup::savePastTheFileSizeLimitLeavesTheProgramRunning_data()
{
    QTest::addColumn<bool>("inPlace");
    QTest::newRow("beside the file") << false;
    QTest::newRow("in place, the file having a second name") << true;
}

// The program as its executable starts it, its files held to the size of the one it opens: the
// save of one letter more fails like one on a full disk.
void TestStartup::savePastTheFileSizeLimitLeavesTheProgramRunning()
{
    QFETCH(bool, inPlace);
    QByteArray text;
    while (text.size() < 1000000)
        text += "Eine Zeile der langen Liste, die bis zur Grenze reicht.\n";
    text.truncate(1000000);
    const QString folder = env->path(QStringLiteral("ordner"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = program->writeFile(QStringLiteral("ordner/Liste.txt"), text);
    const QString second = env->path(QStringLiteral("ordner/Liste-Kopie.txt"));
    if (inPlace) {
        QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(second).constData()),
                 0);
    }
    const StartedProgram::Ended ended = StartedProgram::start(path, rlim_t(text.size()));
    QVERIFY(ended.normally);
    QCOMPARE(ended.code, 0);
    QCOMPARE(QString::fromUtf8(ended.output),
             QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden. Der Ordner fehlt, "
                            "Sie dürfen dort nicht schreiben oder der Datenträger ist voll.\n")
                 .arg(path));
    QCOMPARE(RunningProgram::readFile(path), text);
    QStringList files {QStringLiteral("Liste.txt")};
    if (inPlace)
        files.prepend(QStringLiteral("Liste-Kopie.txt"));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), files);
}

void TestStartup::tipFileLines_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("first");
    QTest::addRow("CR LF") << QByteArray("Eins\r\n\r\nDrei\r\n") << "Eins";
    QTest::addRow("CR") << QByteArray("Eins\r\rDrei") << "Eins";
    QTest::addRow("LF, UTF-8") << QByteArray("Grüße\n\nDrei\n") << "Grüße";
    QTest::addRow("code page 1252") << QByteArray("Gr\xfc\xdf"
                                                  "e\n\nDrei")
                                    << "Grüße";
}

void TestStartup::tipFileLines()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, first);
    writeTipFile(content);
    // One draw in three falls on each tip, the empty one included.
    randomSequence({0.0, 0.34, 0.99, 0.5});
    frmTip tip;
    tip.Form_Load();
    QCOMPARE(tip.TipList, QStringList({first, "", "Drei"}));
    QCOMPARE(tip.lblTipText->text(), first);
    tip.cmdNextTip->click();
    QCOMPARE(tip.CurrentTipNumber, 2);
    QCOMPARE(tip.lblTipText->text(), QString());
    tip.cmdNextTip->click();
    QCOMPARE(tip.lblTipText->text(), QStringLiteral("Drei"));
    tip.cmdNextTip->click();
    QCOMPARE(tip.CurrentTipNumber, 2);
}

void TestStartup::emptyTipFileShowsNothing()
{
    writeTipFile("");
    frmTip tip;
    QVERIFY(tip.LoadTips(frmTip::tipFile()));
    QVERIFY(tip.TipList.isEmpty());
    QCOMPARE(tip.lblTipText->text(), QString());
    tip.cmdNextTip->click();
    QCOMPARE(tip.lblTipText->text(), QString());
}

void TestStartup::missingTipFileShowsHowToMakeOne_data()
{
    QTest::addColumn<bool>("folderInstead");
    QTest::addRow("no file") << false;
    QTest::addRow("a folder of that name") << true;
}

void TestStartup::missingTipFileShowsHowToMakeOne()
{
    QFETCH(bool, folderInstead);
    if (folderInstead)
        QDir(env->programFolder()).mkdir(QStringLiteral("TIPOFDAY.TXT"));
    frmTip tip;
    QVERIFY(!tip.LoadTips(QString()));
    tip.Form_Load();
    QCOMPARE(tip.lblTipText->text(),
             QStringLiteral("daß die TIPOFDAY.TXT-Datei nicht gefunden wurde? \r\n\r\nErstellen "
                            "Sie mit dem Editor eine Textdatei mit Namen TIPOFDAY.TXT, in der 1 "
                            "Tip pro Zeile steht. Legen Sie die Datei dann im gleichen "
                            "Verzeichnis wie die Anwendung ab. "));
    const QString before = tip.lblTipText->text();
    tip.cmdNextTip->click();
    QCOMPARE(tip.lblTipText->text(), before);
}

void TestStartup::tipFromHelpMenuShowsSettingAndGoesNoFurther_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("checked");
    QTest::addRow("on") << "True" << true;
    QTest::addRow("off") << "False" << false;
}

void TestStartup::tipFromHelpMenuShowsSettingAndGoesNoFurther()
{
    QFETCH(QString, stored);
    QFETCH(bool, checked);
    frmMain &window = start();
    SaveSetting("Tip", stored);
    SaveSetting("Startup", "True");
    bool shownChecked = !checked;
    env->modals.answerForm([&shownChecked](QWidget *form) {
        auto *tip = qobject_cast<frmTip *>(form);
        shownChecked = tip->chkAnzeigen->isChecked();
        tip->cmdOK->click();
    });
    window.mnuHelpTip->trigger();
    QCOMPARE(shownChecked, checked);
    QCOMPARE(GetSetting("Tip"), stored);
    QCOMPARE(env->modals.seen().size(), 1);
    QVERIFY(!frmTipForm().isLoaded());
}

void TestStartup::aboutBoxShowsTitleAndVersion()
{
    frmMain &window = start();
    QString version;
    QString title;
    QString caption;
    env->modals.answerForm([&](QWidget *form) {
        auto *about = qobject_cast<frmAbout *>(form);
        version = about->lblVersion->text();
        title = about->lblTitle->text();
        caption = about->windowTitle();
        QVERIFY(!about->timeJoke.isActive());
        about->cmdOK->click();
    });
    window.mnuHelpAbout->trigger();
    QCOMPARE(version, QStringLiteral("Version 2.0.2"));
    QCOMPARE(title, QStringLiteral("Velmar³²"));
    QCOMPARE(caption, QStringLiteral("Info über Velmar³²"));
    QVERIFY(!frmAboutForm().isLoaded());
}

void TestStartup::sysInfoWithoutProgramGivesMessage()
{
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", env->path(QStringLiteral("leer")).toLocal8Bit());
    int started = 0;
    frmAbout::setProgramStarter([&started](const QString &) { return ++started > 0; });
    env->modals.answerMessage(vbOK);
    frmAbout about;
    about.cmdSysInfo->click();
    qputenv("PATH", path);
    QCOMPARE(started, 0);
    QCOMPARE(env->modals.seen().size(), 1);
    const Modal::Request &box = env->modals.seen().first();
    QCOMPARE(box.text, QStringLiteral("Systeminformationsprogramm zur Zeit nicht verfügbar."));
    QCOMPARE(box.style, int(vbOKOnly));
    QCOMPARE(box.title, ProgramInfo::title());
}

void TestStartup::sysInfoStartsFirstProgramFound()
{
    const QString folder = env->path(QStringLiteral("bin"));
    QDir().mkpath(folder);
    for (const QString &name : {QStringLiteral("hardinfo"), QStringLiteral("kinfocenter")}) {
        QFile program(QDir(folder).filePath(name));
        QVERIFY(program.open(QIODevice::WriteOnly));
        program.write("#!/bin/sh\n");
        program.close();
        program.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", folder.toLocal8Bit());
    QStringList started;
    frmAbout::setProgramStarter([&started](const QString &program) {
        started.append(program);
        return true;
    });
    frmAbout about;
    about.cmdSysInfo->click();
    qputenv("PATH", path);
    QCOMPARE(started, QStringList {QDir(folder).filePath(QStringLiteral("hardinfo"))});
    QVERIFY(env->modals.seen().isEmpty());
}

void TestStartup::pictureWithAllThreeKeysMovesOK_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("keys");
    QTest::addColumn<bool>("wanders");
    QTest::addRow("Shift and Ctrl") << (Qt::ShiftModifier | Qt::ControlModifier) << false;
    QTest::addRow("all three") << (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)
                               << true;
    QTest::addRow("all three and Meta")
        << (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier) << false;
}

void TestStartup::pictureWithAllThreeKeysMovesOK()
{
    QFETCH(Qt::KeyboardModifiers, keys);
    QFETCH(bool, wanders);
    frmAbout about;
    about.show();
    QTest::mouseClick(about.Image1, Qt::RightButton, keys);
    QCOMPARE(about.timeJoke.isActive(), wanders);
    QCOMPARE(about.timeJoke.interval(), 500);
    randomSequence({0.5, 0.25});
    about.timeJoke_Timer();
    const QSize outer = about.frameGeometry().size();
    QCOMPARE(about.cmdOK->pos(),
             QPoint(static_cast<int>((outer.width() - about.cmdOK->width()) * 0.25),
                    static_cast<int>((outer.height() - about.cmdOK->height()) * 0.5)));
}

void TestStartup::escapeClosesWanderingAboutBox()
{
    bool closed = false;
    env->modals.answerForm([&closed](QWidget *form) {
        auto *about = qobject_cast<frmAbout *>(form);
        about->Image1_MouseDown(Qt::LeftButton,
                                Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        about->timeJoke_Timer();
        QTest::keyClick(about, Qt::Key_Escape);
        closed = !about->isVisible() && about->result() == QDialog::Accepted;
    });
    showAbout();
    QVERIFY(closed);
    QVERIFY(!frmAboutForm().isLoaded());
}

void TestStartup::viewMenuMarksFollowSettings_data()
{
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QString>("startup");
    QTest::addColumn<bool>("tipChecked");
    QTest::addColumn<bool>("startupChecked");
    QTest::addRow("both on") << "True"
                             << "True" << true << true;
    QTest::addRow("other letter case") << "true"
                                       << "TRUE" << false << false;
    QTest::addRow("not stored") << ""
                                << "" << true << true;
    QTest::addRow("tip off") << "False"
                             << "True" << false << true;
}

void TestStartup::viewMenuMarksFollowSettings()
{
    QFETCH(QString, tip);
    QFETCH(QString, startup);
    QFETCH(bool, tipChecked);
    QFETCH(bool, startupChecked);
    frmMain &window = start();
    DeleteSetting("Tip");
    DeleteSetting("Startup");
    if (!tip.isEmpty())
        SaveSetting("Tip", tip);
    if (!startup.isEmpty())
        SaveSetting("Startup", startup);
    window.mnuViewToolbar->trigger();
    emit window.mnuView->aboutToShow();
    QCOMPARE(window.mnuViewTip->isChecked(), tipChecked);
    QCOMPARE(window.mnuViewWillkommen->isChecked(), startupChecked);
    // The bar switches keep their own marks.
    QVERIFY(!window.mnuViewToolbar->isChecked());
    QVERIFY(window.mnuViewStatusBar->isChecked());
}

void TestStartup::viewSwitchesWriteSettings()
{
    frmMain &window = start();
    SaveSetting("Tip", "True");
    emit window.mnuView->aboutToShow();
    window.mnuViewTip->trigger();
    QCOMPARE(GetSetting("Tip"), QStringLiteral("False"));
    QVERIFY(!window.mnuViewTip->isChecked());
    window.mnuViewTip->trigger();
    QCOMPARE(GetSetting("Tip"), QStringLiteral("True"));
    QVERIFY(!window.mnuViewWillkommen->isChecked());
    window.mnuViewWillkommen->trigger();
    QCOMPARE(GetSetting("Startup"), QStringLiteral("True"));
    QVERIFY(window.mnuViewWillkommen->isChecked());
}

void TestStartup::helpMenuOpensViewer()
{
    QVERIFY(QFile::copy(QStringLiteral(VELMAR_RESOURCES_DIR "/velmar.hlp"),
                        AppPaths::join(env->programFolder(), QStringLiteral("velmar.hlp"))));
    frmMain &window = start();
    QCOMPARE(Help::helpFile(), AppPaths::join(env->programFolder(), QStringLiteral("velmar.hlp")));
    window.mnuHelpContents->trigger();
    HelpViewer *viewer = Help::viewer();
    QVERIFY(viewer && viewer->isVisible());
    QCOMPARE(viewer->currentContext(), viewer->file().contentsContext());
    window.mnuHelpSearch->trigger();
    QCOMPARE(viewer->tabs->currentIndex(), 1);
    QVERIFY(viewer->txtSuchen->text().isEmpty());
    window.mnuHelpHelp->trigger();
    QCOMPARE(viewer->currentContext(), viewer->file().helpOnHelpContext());
    showHelpTopic(&window, 27);
    QCOMPARE(viewer->currentContext(), 27);
    QVERIFY(env->modals.seen().isEmpty());
}

void TestStartup::helpMenuWithoutHelpFileGivesMessage()
{
    frmMain &window = start();
    env->modals.answerMessage(vbOK);
    window.mnuHelpContents_Click();
    QVERIFY(!Help::viewer());
    QCOMPARE(env->modals.seen().size(), 1);
    QCOMPARE(env->modals.seen().first().text, Help::noHelpFileText());
    QCOMPARE(env->modals.seen().first().style, int(vbInformation));
    QCOMPARE(env->modals.seen().first().title, QStringLiteral("Velmar³²"));
}

void TestStartup::statusBarMouseMoveRestoresPointer()
{
    frmMain &window = start();
    Screen::setMousePointer(Screen::vbSizeWE);
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3),
                     window.sbStatusBar->mapToGlobal(QPointF(3, 3)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(window.sbStatusBar, &move);
    QCOMPARE(Screen::MousePointer(), int(Screen::vbDefault));
}

void TestStartup::programAndWindowsShowOwnIcon()
{
    SaveSetting("Tip", "False");
    SaveSetting("Startup", "False");
    frmMain *main = Main();
    const auto isOurs = [](const QIcon &icon) {
        return !icon.isNull()
            && icon.pixmap(QSize(32, 32)).toImage() == programPicture(32).toImage()
            && icon.pixmap(QSize(16, 16)).toImage() == programPicture(16).toImage();
    };
    QVERIFY(isOurs(QApplication::windowIcon()));
    QVERIFY(isOurs(main->windowIcon()));
    main->LoadNewDoc();
    main->LoadNewText();
    for (QMdiSubWindow *frame : main->mdiArea()->subWindowList())
        QVERIFY(isOurs(frame->windowIcon()));
    QVERIFY(isOurs(frmAboutForm()->windowIcon()));
    frmAboutForm().unload();
    for (QMdiSubWindow *frame : main->mdiArea()->subWindowList())
        qobject_cast<DocumentWindow *>(frame->widget())->Tag.clear();
    main->close();
}

void TestStartup::screenshots()
{
    QVERIFY(QFile::copy(QStringLiteral(VELMAR_RESOURCES_DIR "/TIPOFDAY.TXT"), frmTip::tipFile()));
    const QString folder = screenshotFolder();
    auto save = [&folder](QWidget *window, const QString &name) {
        window->show();
        QCoreApplication::processEvents();
        const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
        QVERIFY(window->grab().save(file));
        QCOMPARE(GrabChecks::cutCaptions(window).join(QStringLiteral("; ")), QString());
    };
    frmStartup startup;
    startup.Form_Load();
    save(&startup, QStringLiteral("startup"));
    frmTip tip;
    tip.Form_Load();
    save(&tip, QStringLiteral("tip"));
    frmAbout about;
    save(&about, QStringLiteral("about"));
    QVERIFY(WinHelp(nullptr, QStringLiteral(VELMAR_RESOURCES_DIR "/velmar.hlp"), HELP_CONTEXT, 48));
    save(Help::viewer(), QStringLiteral("help"));
}

// Started as the program by savePastTheFileSizeLimitLeavesTheProgramRunning, it runs the
// program instead of the tests.
int main(int argc, char *argv[])
{
    if (StartedProgram::isStarted())
        return StartedProgram::run(argc, argv, typeAndSave);
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestStartup test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_startup.moc"
