// Repair of the two databases from the main window's Extras menu, on real files: the items'
// states, a repair that keeps the rows, and the failures that must lose neither file.
#include "common/AppPaths.h"
#include "common/Databases.h"
#include "data/Database.h"
#include "document/DocumentWindow.h"
#include "frame/DatabaseRepair.h"
#include "frame/frmMain.h"
#include "platform/MsgBox.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/RunningProgram.h"
#include "text/RichTextBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTest>
#include <memory>
#include <sys/stat.h>

namespace {

const QString successText = QStringLiteral(
    "Ihre Datenbank wurde erfolgreich repariert und danach komprimiert. Dennoch können einzelne "
    "Datensätze unwiederbringlich verloren sein.");

Databases::File fileNamed(const QString &name)
{
    return name == u"textbaustein" ? Databases::textbausteine() : Databases::formatvorlagen();
}

QString tableOf(const QString &name)
{
    return name == u"textbaustein" ? QStringLiteral("Textbausteine") : QStringLiteral("Vorlagen");
}

// Adds rows numbered from..to; the text blocks' and the templates' columns alike.
void addRows(const QString &name, int from, int to)
{
    QVERIFY(Database::ensure(fileNamed(name)));
    QSqlDatabase database = Database::open(fileNamed(name).path);
    QVERIFY(database.transaction());
    QSqlQuery query(database);
    for (int i = from; i <= to; ++i) {
        const QString key = QStringLiteral("Eintrag%1").arg(i);
        if (name == u"textbaustein") {
            query.prepare(QStringLiteral("INSERT INTO Textbausteine VALUES (?, ?)"));
            query.addBindValue(key);
            query.addBindValue(QStringLiteral("Text Nummer %1 mit Umlauten: äöüß").arg(i));
        } else {
            query.prepare(QStringLiteral("INSERT INTO Vorlagen VALUES "
                                         "(?, 'Arial', 10, 0, 1, 0, 0, 0, '255', 2, 5, 0, 0, 0)"));
            query.addBindValue(key);
        }
        QVERIFY(query.exec());
    }
    QVERIFY(database.commit());
}

QStringList keys(const QString &name)
{
    QStringList found;
    QSqlQuery query(Database::open(fileNamed(name).path));
    query.exec(QStringLiteral("SELECT Name FROM %1 ORDER BY rowid").arg(tableOf(name)));
    while (query.next())
        found.append(query.value(0).toString());
    return found;
}

QStringList numbered(int from, int to)
{
    QStringList list;
    for (int i = from; i <= to; ++i)
        list.append(QStringLiteral("Eintrag%1").arg(i));
    return list;
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

QString failureText(const QString &name)
{
    const QString folder = AppPaths::databaseFolder();
    return QStringLiteral(
               "Leider ist bei der Reparatur Ihrer Datenbank ein Fehler aufgetreten. Greifen Sie "
               "auf die erstellte Sicherungskopie unter \"%1\" zurück. Diese kann aber nicht zu "
               "reparierende interne Datenbankfehler beinhalten. Im Notfall löschen Sie die Datei "
               "\"%2\" und starten die Anwendung erneut. Eine leere Datenbank wird dann "
               "automatisch für Sie angelegt.")
        .arg(QDir::toNativeSeparators(folder + QLatin1Char('/') + name + QStringLiteral(".bak")),
             QDir::toNativeSeparators(folder + QLatin1Char('/') + name + QStringLiteral(".mdb")));
}

// The message of a repair that failed before it made a backup.
QString noBackupText(const QString &name)
{
    return QStringLiteral("Leider ist bei der Reparatur Ihrer Datenbank ein Fehler aufgetreten. "
                          "Es wurde keine Sicherungskopie angelegt. Ihre Datenbank \"%1\" ist "
                          "unverändert.")
        .arg(QDir::toNativeSeparators(AppPaths::databaseFolder() + QLatin1Char('/') + name
                                      + QStringLiteral(".mdb")));
}

int modeOf(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

} // namespace

class TestRepair : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void extrasMenuStandsBetweenFileAndView();
    void extrasItemsFollowTheFiles_data();
    void extrasItemsFollowTheFiles();
    void repairKeepsTheRows_data();
    void repairKeepsTheRows();
    void staleCompactionTargetIsRemovedFirst();
    void readOnlyBackupStopsTheRepair();
    void repairKeepsThePermissionBits_data();
    void repairKeepsThePermissionBits();
    void backupTheDiskCannotHoldChangesNothing_data();
    void backupTheDiskCannotHoldChangesNothing();
    void damagedDatabaseIsNeverLost_data();
    void damagedDatabaseIsNeverLost();
    void textBlocksStillExpandAfterARepair();

private:
    void repairFromMenu(const QString &name);
    void expectMessage(const QString &text, int style, const QString &title);

    std::unique_ptr<RunningProgram> program;
    TestEnvironment *env = nullptr;
};

void TestRepair::init()
{
    program = std::make_unique<RunningProgram>();
    env = &program->env;
    program->start();
}

void TestRepair::cleanup()
{
    program->stop();
    Database::closeAll();
    QCOMPARE(env->modals.pending(), 0);
    program.reset();
}

void TestRepair::repairFromMenu(const QString &name)
{
    frmMain &main = program->main();
    emit main.mnuExtras->aboutToShow();
    QAction *item = name == u"textbaustein" ? main.mnuExtrasBausteinReparieren
                                            : main.mnuExtrasVorlageReparieren;
    QVERIFY(item->isEnabled());
    env->modals.answerMessage(vbOK);
    item->trigger();
}

void TestRepair::expectMessage(const QString &text, int style, const QString &title)
{
    QVERIFY(!env->modals.seen().isEmpty());
    const Modal::Request &shown = env->modals.seen().last();
    QCOMPARE(shown.kind, Modal::Kind::MessageBox);
    QCOMPARE(shown.text, text);
    QCOMPARE(shown.style, style);
    QCOMPARE(shown.title, title);
}

void TestRepair::extrasMenuStandsBetweenFileAndView()
{
    frmMain &main = program->main();
    QStringList titles;
    for (QAction *action : main.menuBar()->actions())
        titles.append(action->text());
    QCOMPARE(titles, QStringList({"&Datei", "&Extras", "&Ansicht", "&Hilfe"}));
    QCOMPARE(main.mnuExtrasBausteinReparieren->text(),
             QStringLiteral("&Textbaustein-Verwaltung reparieren"));
    QCOMPARE(main.mnuExtrasVorlageReparieren->text(),
             QStringLiteral("&Formatvorlagen-Verwaltung reparieren"));
    // The main window's menus come back when the last document window closes.
    main.LoadNewText();
    main.mdiArea()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    titles.clear();
    for (QAction *action : main.menuBar()->actions())
        titles.append(action->text());
    QCOMPARE(titles, QStringList({"&Datei", "&Extras", "&Ansicht", "&Hilfe"}));
}

void TestRepair::extrasItemsFollowTheFiles_data()
{
    QTest::addColumn<bool>("textBlocks");
    QTest::addColumn<bool>("templates");
    QTest::newRow("neither") << false << false;
    QTest::newRow("text blocks only") << true << false;
    QTest::newRow("templates only") << false << true;
    QTest::newRow("both") << true << true;
}

void TestRepair::extrasItemsFollowTheFiles()
{
    QFETCH(bool, textBlocks);
    QFETCH(bool, templates);
    frmMain &main = program->main();
    if (textBlocks)
        QVERIFY(Database::ensure(Databases::textbausteine()));
    if (templates)
        QVERIFY(Database::ensure(Databases::formatvorlagen()));
    emit main.mnuExtras->aboutToShow();
    QCOMPARE(main.mnuExtrasBausteinReparieren->isEnabled(), textBlocks);
    QCOMPARE(main.mnuExtrasVorlageReparieren->isEnabled(), templates);
    // The states follow the files each time the menu opens.
    QFile::remove(Databases::textbausteinPath());
    QVERIFY(Database::ensure(Databases::formatvorlagen()));
    emit main.mnuExtras->aboutToShow();
    QVERIFY(!main.mnuExtrasBausteinReparieren->isEnabled());
    QVERIFY(main.mnuExtrasVorlageReparieren->isEnabled());
}

void TestRepair::repairKeepsTheRows_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("text blocks") << "textbaustein";
    QTest::newRow("templates") << "formatvorlage";
}

void TestRepair::repairKeepsTheRows()
{
    QFETCH(QString, name);
    const QString path = fileNamed(name).path;
    addRows(name, 1, 300);
    {
        // Deleted rows leave free pages, which the compaction gives back.
        QSqlQuery query(Database::open(path));
        QVERIFY(query.exec(
            QStringLiteral("DELETE FROM %1 WHERE Name > 'Eintrag2'").arg(tableOf(name))));
    }
    const QStringList before = keys(name);
    Database::closeAll();
    const QByteArray original = RunningProgram::readFile(path);
    repairFromMenu(name);
    expectMessage(successText, vbInformation, QStringLiteral("Reparatur erfolgreich"));
    QCOMPARE(keys(name), before);
    QVERIFY(QFileInfo(path).size() < original.size());
    QVERIFY(Database::holdsTable(path, fileNamed(name).createTable));
    QCOMPARE(RunningProgram::readFile(DatabaseRepair::backupPath(path)), original);
    QVERIFY(!QFileInfo::exists(DatabaseRepair::compactionPath(path)));
    QCOMPARE(QDir(AppPaths::databaseFolder()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void TestRepair::staleCompactionTargetIsRemovedFirst()
{
    const QString path = Databases::textbausteinPath();
    addRows(QStringLiteral("textbaustein"), 1, 5);
    writeFile(DatabaseRepair::compactionPath(path), "Rest einer abgebrochenen Reparatur");
    repairFromMenu(QStringLiteral("textbaustein"));
    expectMessage(successText, vbInformation, QStringLiteral("Reparatur erfolgreich"));
    QCOMPARE(keys(QStringLiteral("textbaustein")), numbered(1, 5));
    QVERIFY(!QFileInfo::exists(DatabaseRepair::compactionPath(path)));
}

void TestRepair::readOnlyBackupStopsTheRepair()
{
    const QString path = Databases::formatvorlagePath();
    const QString backup = DatabaseRepair::backupPath(path);
    addRows(QStringLiteral("formatvorlage"), 1, 5);
    Database::closeAll();
    const QByteArray original = RunningProgram::readFile(path);
    writeFile(backup, "ältere Sicherung");
    QVERIFY(QFile::setPermissions(backup, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    repairFromMenu(QStringLiteral("formatvorlage"));
    // The older backup is not this run's: the message does not point to it.
    expectMessage(noBackupText(QStringLiteral("formatvorlage")), vbCritical,
                  QStringLiteral("Reparatur fehlgeschlagen"));
    QCOMPARE(RunningProgram::readFile(backup), QByteArray("ältere Sicherung"));
    QCOMPARE(RunningProgram::readFile(path), original);
    QVERIFY(!QFileInfo::exists(DatabaseRepair::compactionPath(path)));
}

void TestRepair::repairKeepsThePermissionBits_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("owner only") << 0600;
    QTest::newRow("group reads") << 0640;
    QTest::newRow("read-only") << 0444;
}

void TestRepair::repairKeepsThePermissionBits()
{
    QFETCH(int, mode);
    const QString path = Databases::textbausteinPath();
    const QString backup = DatabaseRepair::backupPath(path);
    addRows(QStringLiteral("textbaustein"), 1, 5);
    Database::closeAll();
    // An older backup open to everyone takes the database's bits as well.
    writeFile(backup, "ältere Sicherung");
    QCOMPARE(::chmod(QFile::encodeName(backup).constData(), 0666), 0);
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0);
    repairFromMenu(QStringLiteral("textbaustein"));
    expectMessage(successText, vbInformation, QStringLiteral("Reparatur erfolgreich"));
    QCOMPARE(keys(QStringLiteral("textbaustein")), numbered(1, 5));
    QCOMPARE(modeOf(path), mode);
    QCOMPARE(modeOf(backup), mode);
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0644), 0);
    QCOMPARE(::chmod(QFile::encodeName(backup).constData(), 0644), 0);
}

void TestRepair::backupTheDiskCannotHoldChangesNothing_data()
{
    QTest::addColumn<bool>("programEnds");
    QTest::newRow("the write fails") << false;
    QTest::newRow("the program ends part way") << true;
}

void TestRepair::backupTheDiskCannotHoldChangesNothing()
{
    QFETCH(bool, programEnds);
    const QString path = Databases::textbausteinPath();
    const QString backup = DatabaseRepair::backupPath(path);
    addRows(QStringLiteral("textbaustein"), 1, 300);
    Database::closeAll();
    const QByteArray original = RunningProgram::readFile(path);
    writeFile(backup, "ältere Sicherung");
    const auto diskBytes = rlim_t(original.size() / 2);
    if (programEnds) {
        QVERIFY(
            endsWhileWriting(diskBytes, [] { DatabaseRepair::run(Databases::textbausteine()); }));
    } else {
        {
            const FileSizeLimit fullDisk(diskBytes);
            repairFromMenu(QStringLiteral("textbaustein"));
        }
        expectMessage(noBackupText(QStringLiteral("textbaustein")), vbCritical,
                      QStringLiteral("Reparatur fehlgeschlagen"));
    }
    QCOMPARE(RunningProgram::readFile(path), original);
    QCOMPARE(RunningProgram::readFile(backup), QByteArray("ältere Sicherung"));
    // No half-written copy is left beside them.
    QCOMPARE(QDir(AppPaths::databaseFolder()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void TestRepair::damagedDatabaseIsNeverLost_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("random bytes") << "random";
    QTest::newRow("truncated to half") << "half";
    QTest::newRow("truncated in the header") << "header";
    QTest::newRow("empty file") << "empty";
    QTest::newRow("another table") << "other table";
}

void TestRepair::damagedDatabaseIsNeverLost()
{
    QFETCH(QString, damage);
    const QString path = Databases::textbausteinPath();
    QByteArray damaged;
    if (damage == u"random") {
        damaged.resize(16384);
        QRandomGenerator generator(17);
        generator.fillRange(reinterpret_cast<quint32 *>(damaged.data()), damaged.size() / 4);
    } else if (damage == u"other table") {
        QVERIFY(Database::CreateDatabase(path, QStringLiteral("CREATE TABLE Fremd (Wert MEMO);")));
        damaged = RunningProgram::readFile(path);
    } else if (damage != u"empty") {
        addRows(QStringLiteral("textbaustein"), 1, 400);
        Database::closeAll();
        const QByteArray whole = RunningProgram::readFile(path);
        damaged = whole.left(damage == u"half" ? whole.size() / 2 : 60);
    }
    writeFile(path, damaged);
    repairFromMenu(QStringLiteral("textbaustein"));
    expectMessage(failureText(QStringLiteral("textbaustein")), vbCritical,
                  QStringLiteral("Reparatur fehlgeschlagen"));
    QCOMPARE(RunningProgram::readFile(path), damaged);
    QCOMPARE(RunningProgram::readFile(DatabaseRepair::backupPath(path)), damaged);
    QVERIFY(!QFileInfo::exists(DatabaseRepair::compactionPath(path)));
}

void TestRepair::textBlocksStillExpandAfterARepair()
{
    addRows(QStringLiteral("textbaustein"), 1, 3);
    frmMain &main = program->main();
    main.LoadNewText();
    DocumentWindow *window = program->active();
    const auto expand = [window](const QString &word) {
        window->txtText->setText(word);
        window->txtText->setSelStart(static_cast<int>(word.size()));
        QTest::keyClick(window->txtText, Qt::Key_F3);
        return window->txtText->Text();
    };
    QCOMPARE(expand(QStringLiteral("Eintrag2")),
             QStringLiteral("Text Nummer 2 mit Umlauten: äöüß"));
    repairFromMenu(QStringLiteral("textbaustein"));
    expectMessage(successText, vbInformation, QStringLiteral("Reparatur erfolgreich"));
    // A block changed in the repaired file through a connection of its own: the window reads
    // that file, not the one it had open before the repair.
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "andere");
        other.setDatabaseName(Databases::textbausteinPath());
        QVERIFY(other.open());
        QSqlQuery query(other);
        QVERIFY(query.exec(QStringLiteral(
            "UPDATE Textbausteine SET Textbaustein = 'Nach der Reparatur' WHERE rowid = 1")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("andere"));
    QCOMPARE(expand(QStringLiteral("Eintrag1")), QStringLiteral("Nach der Reparatur"));
    QCOMPARE(expand(QStringLiteral("Eintrag3")),
             QStringLiteral("Text Nummer 3 mit Umlauten: äöüß"));
}

QTEST_MAIN(TestRepair)
#include "tst_repair.moc"
