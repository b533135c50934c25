// The small platform pieces: code page 1252, paths, settings, whole-file writes, forms registry,
// message boxes.
#include "common/AppPaths.h"
#include "common/Cp1252.h"
#include "common/ProgramInfo.h"
#include "platform/FileWrite.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "platform/Screen.h"
#include "platform/Settings.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/RunningProgram.h"
#include "tests/support/TestEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>
#include <QTimer>
#include <sys/stat.h>

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void chrGivesCodePage1252_data();
    void chrGivesCodePage1252();
    void everyByteSurvivesRoundTrip();
    void encodeRefusesForeignCharacters();
    void joinAddsOneSeparator_data();
    void joinAddsOneSeparator();
    void settingsKeepTextAndDefaults();
    void settingsFileSurvivesFullDisk();
    void savingKeepsTheFilesNamesAndOwner_data();
    void savingKeepsTheFilesNamesAndOwner();
    void interruptedInPlaceSaveLeavesTheOldBytes_data();
    void interruptedInPlaceSaveLeavesTheOldBytes();
    void inPlaceSaveWithoutItsCopyIsRefused();
    void formsRegistryCountsLoadedForms();
    void formInstanceLoadsOnFirstUse();
    void messageBoxAnswersThroughSeam();
    void inputBoxHasAFixedWidthAndWrapsItsPrompt();
    void messageBoxButtonsHaveAccessKeys_data();
    void messageBoxButtonsHaveAccessKeys();
    void modalFormRunsScriptedAct();
    void mousePointerTakesThreeShapes();
    void readmeNamesRealFolders_data();
    void readmeNamesRealFolders();
};

void TestPlatform::chrGivesCodePage1252_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("character");
    QTest::newRow("A") << 65 << "A";
    QTest::newRow("euro") << 0x80 << QString(QChar(0x20AC));
    QTest::newRow("low quote") << 0x84 << QString(QChar(0x201E));
    QTest::newRow("left quote") << 0x93 << QString(QChar(0x201C));
    QTest::newRow("unassigned 0x81") << 0x81 << QString(QChar(0x81));
    QTest::newRow("unassigned 0x8D") << 0x8D << QString(QChar(0x8D));
    QTest::newRow("unassigned 0x8F") << 0x8F << QString(QChar(0x8F));
    QTest::newRow("unassigned 0x90") << 0x90 << QString(QChar(0x90));
    QTest::newRow("unassigned 0x9D") << 0x9D << QString(QChar(0x9D));
    QTest::newRow("nbsp") << 0xA0 << QString(QChar(0xA0));
    QTest::newRow("a umlaut") << 0xE4 << "ä";
    QTest::newRow("y diaeresis") << 0xFF << "ÿ";
}

void TestPlatform::chrGivesCodePage1252()
{
    QFETCH(int, code);
    QFETCH(QString, character);
    QCOMPARE(QString(Cp1252::Chr(code)), character);
    QCOMPARE(Cp1252::codeOf(character.at(0)), code);
}

void TestPlatform::everyByteSurvivesRoundTrip()
{
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    const QString text = QStringDecoder(Cp1252::converterName).decode(all);
    QCOMPARE(text.size(), all.size());
    QStringEncoder encoder(Cp1252::converterName);
    QCOMPARE(QByteArray(encoder.encode(text)), all);
    QVERIFY(!encoder.hasError());
}

void TestPlatform::encodeRefusesForeignCharacters()
{
    QStringEncoder encoder(Cp1252::converterName);
    QCOMPARE(QByteArray(encoder.encode(QStringLiteral("Größe €"))),
             QByteArray("Gr\xf6\xdf"
                        "e \x80"));
    QVERIFY(!encoder.hasError());
    const QByteArray omega = encoder.encode(QStringLiteral("Ωmega"));
    QVERIFY(encoder.hasError());
    QCOMPARE(Cp1252::codeOf(QChar(0x03A9)), -1);
}

void TestPlatform::joinAddsOneSeparator_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain folder") << "/opt/velmar"
                                  << "/opt/velmar/velmar.hlp";
    QTest::newRow("root") << "/"
                          << "/velmar.hlp";
    QTest::newRow("trailing separator") << "/opt/velmar/"
                                        << "/opt/velmar/velmar.hlp";
}

void TestPlatform::joinAddsOneSeparator()
{
    QFETCH(QString, folder);
    QFETCH(QString, expected);
    QCOMPARE(AppPaths::join(folder, "velmar.hlp"), expected);
}

void TestPlatform::settingsKeepTextAndDefaults()
{
    TestEnvironment env;
    QCOMPARE(GetSetting("Tip", "True"), QStringLiteral("True"));
    SaveSetting("Tip", "False");
    SaveSetting("MRU0", "/home/anna/Brief an Ämter.rtf");
    QCOMPARE(GetSetting("Tip", "True"), QStringLiteral("False"));
    QCOMPARE(GetSetting("MRU0"), QStringLiteral("/home/anna/Brief an Ämter.rtf"));
    QCOMPARE(GetSetting("MRU1"), QString());
}

// The settings store writes its file beside the old one and replaces it only when written whole.
void TestPlatform::settingsFileSurvivesFullDisk()
{
    TestEnvironment env;
    SaveSetting("MainLeft", "1000");
    SaveSetting("MRU0", "/home/anna/Notizen.txt");
    QFile file(env.settingsFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    {
        const FileSizeLimit fullDisk(before.size() + 10);
        SaveSetting("MRU1", "/home/anna/" + QString(200, QLatin1Char('x')) + ".txt");
    }
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

namespace {

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

struct stat fileStatus(const QString &path)
{
    struct stat status
    {
    };
    ::stat(QFile::encodeName(path).constData(), &status);
    return status;
}

// Every file below the folder.
QStringList filesBelow(const QString &folder)
{
    QStringList files;
    QDirIterator found(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (found.hasNext())
        files.append(found.next());
    return files;
}

// The owner and group of the nobody account, which the test user is not.
constexpr uid_t otherUser = 65534;
constexpr gid_t otherGroup = 65534;

} // namespace

void TestPlatform::savingKeepsTheFilesNamesAndOwner_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("second name") << "link";
    QTest::newRow("other owner") << "owner";
    QTest::newRow("other group") << "group";
}

void TestPlatform::savingKeepsTheFilesNamesAndOwner()
{
    QFETCH(QString, kind);
    const TestEnvironment env;
    const QString target = env.path("Brief.txt");
    const QString second = env.path("Brief-Kopie.txt");
    QVERIFY(writeBytes(target, "alter Inhalt"));
    if (kind == u"link") {
        QVERIFY(::link(QFile::encodeName(target).constData(), QFile::encodeName(second).constData())
                == 0);
    } else {
        const uid_t owner = kind == u"owner" ? otherUser : ::geteuid();
        const gid_t group = kind == u"group" ? otherGroup : ::getegid();
        if (::chown(QFile::encodeName(target).constData(), owner, group) != 0)
            QSKIP("Only the root user may give a file to another owner or group.");
    }
    const struct stat before = fileStatus(target);
    QVERIFY(FileWrite::replace(target, "neuer, längerer Inhalt"));
    QCOMPARE(RunningProgram::readFile(target), QByteArray("neuer, längerer Inhalt"));
    const struct stat after = fileStatus(target);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    QCOMPARE(after.st_mode, before.st_mode);
    if (kind == u"link") {
        QCOMPARE(RunningProgram::readFile(second), QByteArray("neuer, längerer Inhalt"));
        QCOMPARE(after.st_nlink, nlink_t(2));
        QCOMPARE(fileStatus(second).st_ino, after.st_ino);
    }
    // The old bytes kept while the file was written in place have gone with the good save.
    QCOMPARE(filesBelow(env.databaseFolder()), QStringList());
}

void TestPlatform::interruptedInPlaceSaveLeavesTheOldBytes_data()
{
    QTest::addColumn<bool>("processEnds");
    QTest::addColumn<int>("mode");
    QTest::newRow("the write fails part way") << false << 0644;
    QTest::newRow("the program ends part way") << true << 0644;
    QTest::newRow("the program ends part way, a file only its owner may read") << true << 0600;
}

// A write in place that stops after the disk's first 1024 bytes leaves either the old file or
// its old bytes in a kept copy, no more open to others than the file, beside the file's path.
void TestPlatform::interruptedInPlaceSaveLeavesTheOldBytes()
{
    QFETCH(bool, processEnds);
    QFETCH(int, mode);
    const TestEnvironment env;
    const QString target = env.path("Notizen.txt");
    const QByteArray old(551, 'a');
    const QByteArray bytes(3000, 'n');
    QVERIFY(writeBytes(target, old));
    QCOMPARE(::chmod(QFile::encodeName(target).constData(), mode_t(mode)), 0);
    constexpr rlim_t diskBytes = 1024;
    if (processEnds) {
        QVERIFY(endsWhileWriting(diskBytes, [&] { FileWrite::overwrite(target, bytes); }));
        QCOMPARE(RunningProgram::readFile(target), bytes.first(diskBytes));
        const QList<FileWrite::KeptCopy> kept = FileWrite::keptCopies();
        QCOMPARE(kept.size(), 1);
        QCOMPARE(kept.first().document, target);
        QCOMPARE(QFileInfo(kept.first().copy).fileName(), QStringLiteral("Notizen.txt"));
        QCOMPARE(RunningProgram::readFile(kept.first().copy), old);
        QCOMPARE(fileStatus(kept.first().copy).st_mode & 07777, mode_t(mode));
    } else {
        bool saved = true;
        {
            const FileSizeLimit fullDisk(diskBytes);
            saved = FileWrite::overwrite(target, bytes).written;
        }
        QVERIFY(!saved);
        QCOMPARE(RunningProgram::readFile(target), old);
        QCOMPARE(filesBelow(env.databaseFolder()), QStringList());
    }
}

void TestPlatform::inPlaceSaveWithoutItsCopyIsRefused()
{
    const TestEnvironment env;
    const QString target = env.path("Notizen.txt");
    QVERIFY(writeBytes(target, "alt"));
    // A file where the copies' folder would be: no copy can be kept.
    QVERIFY(writeBytes(AppPaths::join(env.databaseFolder(), "Sicherungskopien"), "besetzt"));
    QVERIFY(!FileWrite::overwrite(target, "neu"));
    QCOMPARE(RunningProgram::readFile(target), QByteArray("alt"));
}

void TestPlatform::formsRegistryCountsLoadedForms()
{
    const int before = Forms::count();
    auto *tool = new QWidget;
    tool->setObjectName("frmSonder");
    Forms::add(tool);
    QVERIFY(Forms::isLoaded("frmSonder"));
    QVERIFY(!Forms::isLoaded("frmsonder"));
    QCOMPARE(Forms::count(), before + 1);
    Forms::unload("frmSonder");
    QVERIFY(!Forms::isLoaded("frmSonder"));
    QCOMPARE(Forms::count(), before);
    Forms::unload("frmSonder");
}

class NamedForm : public QWidget
{
public:
    NamedForm() { setObjectName("frmNamed"); }
};

void TestPlatform::formInstanceLoadsOnFirstUse()
{
    FormInstance<NamedForm> instance;
    QVERIFY(!instance.isLoaded());
    instance.get();
    QVERIFY(Forms::isLoaded("frmNamed"));
    instance.unload();
    QVERIFY(!instance.isLoaded());
    QVERIFY(!Forms::isLoaded("frmNamed"));
}

void TestPlatform::messageBoxButtonsHaveAccessKeys_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("result");
    const QStringList yesNoCancel {"&Abbrechen", "&Ja", "&Nein"};
    QTest::newRow("J") << int(vbYesNoCancel) << yesNoCancel << int(Qt::Key_J) << 0 << int(vbYes);
    QTest::newRow("N") << int(vbYesNoCancel) << yesNoCancel << int(Qt::Key_N) << 0 << int(vbNo);
    QTest::newRow("A") << int(vbYesNoCancel) << yesNoCancel << int(Qt::Key_A) << 0 << int(vbCancel);
    QTest::newRow("Alt+N") << int(vbYesNoCancel) << yesNoCancel << int(Qt::Key_N)
                           << int(Qt::AltModifier) << int(vbNo);
    QTest::newRow("Alt+J") << int(vbYesNo) << QStringList {"&Ja", "&Nein"} << int(Qt::Key_J)
                           << int(Qt::AltModifier) << int(vbYes);
    QTest::newRow("O") << int(vbOKCancel) << QStringList {"&Abbrechen", "&OK"} << int(Qt::Key_O)
                       << 0 << int(vbOK);
    QTest::newRow("Alt+A") << int(vbOKCancel) << QStringList {"&Abbrechen", "&OK"} << int(Qt::Key_A)
                           << int(Qt::AltModifier) << int(vbCancel);
    QTest::newRow("OK alone") << int(vbOKOnly) << QStringList {"&OK"} << int(Qt::Key_O) << 0
                              << int(vbOK);
}

// The real box, answered with keys sent to the box's focused button.
void TestPlatform::messageBoxButtonsHaveAccessKeys()
{
    QFETCH(int, style);
    QFETCH(QStringList, buttons);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, result);
    TestEnvironment env;
    Modal::setHandler({});
    QStringList shown;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        for (QAbstractButton *button : box->buttons())
            shown << button->text();
        box->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(box));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key),
                        Qt::KeyboardModifiers(modifiers));
        // The button shows its click before it answers; a key that answered nothing leaves
        // the box open, and Esc ends the test's wait.
        if (!QTest::qWaitFor([box] { return !box->isVisible(); }))
            QTest::keyClick(box, Qt::Key_Escape);
    });
    QCOMPARE(MsgBox("Frage?", style | vbQuestion, "Titel"), result);
    shown.sort();
    QCOMPARE(shown, buttons);
}

void TestPlatform::messageBoxAnswersThroughSeam()
{
    TestEnvironment env;
    env.modals.answerMessage(vbNo);
    QCOMPARE(MsgBox("Frage?", vbYesNo | vbQuestion, "Titel"), int(vbNo));
    env.modals.answerMessage(vbOK);
    MsgBox("Hinweis");
    QCOMPARE(env.modals.seen().at(0).title, QStringLiteral("Titel"));
    QCOMPARE(env.modals.seen().at(1).title, QStringLiteral("Velmar³²"));
    env.modals.answerInput("Eingabe");
    QCOMPARE(InputBox("Name?"), QStringLiteral("Eingabe"));
    env.modals.cancel();
    QCOMPARE(InputBox("Name?"), QString());
}

void TestPlatform::inputBoxHasAFixedWidthAndWrapsItsPrompt()
{
    TestEnvironment env;
    const ModalScript::RealDialogs real(env.modals);
    const QString longPrompt = QStringLiteral(
        "Geben Sie den Namen der neuen Formatvorlage ein. Der Name darf höchstens fünfzig Zeichen "
        "lang sein und muss sich von den Namen aller anderen Formatvorlagen unterscheiden.");
    QList<int> widths;
    for (const QString &prompt : {QStringLiteral("Name:"), longPrompt}) {
        ModalScript::RealDialogs::inspectNext([&widths, &prompt](QWidget *box) {
            widths.append(box->width());
            QLabel *label = nullptr;
            for (QLabel *candidate : box->findChildren<QLabel *>()) {
                if (candidate->text() == prompt)
                    label = candidate;
            }
            QVERIFY(label);
            QVERIFY(label->wordWrap());
            QVERIFY(label->heightForWidth(label->width()) <= label->height());
        });
        QCOMPARE(InputBox(prompt, QStringLiteral("Neue Formatvorlage")), QString());
    }
    QCOMPARE(widths.size(), 2);
    QCOMPARE(widths.at(1), widths.at(0));
    // Moderate: a third of a common screen, not the prompt's length.
    QVERIFY2(widths.at(0) <= 480, qPrintable(QString::number(widths.at(0))));
}

void TestPlatform::modalFormRunsScriptedAct()
{
    TestEnvironment env;
    QDialog dialog;
    auto *ok = new QPushButton("OK", &dialog);
    connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    bool shownWhileActing = false;
    env.modals.answerForm([&](QWidget *form) {
        shownWhileActing = form->isVisible();
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    QCOMPARE(Modal::showModal(&dialog), int(QDialog::Accepted));
    QVERIFY(shownWhileActing);
    QVERIFY(!dialog.isVisible());
}

void TestPlatform::readmeNamesRealFolders_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("databases") << "data";
    QTest::newRow("settings") << "settings";
}

// Where the program keeps its files for a user with the standard folders, as the README says.
void TestPlatform::readmeNamesRealFolders()
{
    QFETCH(QString, kind);
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    const QString testName = QCoreApplication::applicationName();
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_CONFIG_HOME");
    // The executable's name, which the program leaves as its application name.
    QCoreApplication::setApplicationName(QStringLiteral("velmar"));
    QString path;
    if (kind == QLatin1String("data"))
        path = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + '/';
    else
        path = QSettings(QSettings::IniFormat, QSettings::UserScope, ProgramInfo::title(),
                         ProgramInfo::title())
                   .fileName();
    QCoreApplication::setApplicationName(testName);
    if (!dataHome.isNull())
        qputenv("XDG_DATA_HOME", dataHome);
    if (!configHome.isNull())
        qputenv("XDG_CONFIG_HOME", configHome);

    QVERIFY(path.startsWith(QDir::homePath() + '/'));
    path.replace(0, QDir::homePath().size(), QStringLiteral("~"));
    QFile readme(QStringLiteral(VELMAR_RESOURCES_DIR "/../README.md"));
    QVERIFY(readme.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(readme.readAll());
    QVERIFY2(text.contains('`' + path + '`'), qPrintable(path));
}

void TestPlatform::mousePointerTakesThreeShapes()
{
    Screen::setMousePointer(Screen::vbHourglass);
    QCOMPARE(Screen::MousePointer(), 11);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Screen::setMousePointer(Screen::vbSizeWE);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::SizeHorCursor);
    Screen::setMousePointer(Screen::vbDefault);
    QCOMPARE(Screen::MousePointer(), 0);
    QVERIFY(!QApplication::overrideCursor());
}

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
