// Tests for Fileexist, the database helper and the program's two database files.
#include "common/AppPaths.h"
#include "common/Databases.h"
#include "common/Fileexist.h"
#include "data/Database.h"
#include "frame/frmMain.h"
#include "tests/support/DatabaseStates.h"
#include "tests/support/RunningProgram.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <memory>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Root reads and writes whatever the permissions say; such tests are skipped then.
bool opensDespitePermissions(const QString &path, QIODevice::OpenMode mode)
{
    QFile file(path);
    return file.open(mode);
}

QString pathOf(const QString &table)
{
    return table == u"Textbausteine" ? Databases::textbausteinPath()
                                     : Databases::formatvorlagePath();
}

QString createOf(const QString &table)
{
    return QString::fromLatin1(table == u"Textbausteine" ? Databases::TextbausteinCreate
                                                         : Databases::FormatvorlageCreate);
}

bool ensure(const QString &table, QString *error)
{
    return Database::ensure(table == u"Textbausteine" ? Databases::textbausteine()
                                                      : Databases::formatvorlagen(),
                            error);
}

QVariantMap validRow(const QString &table)
{
    if (table == u"Textbausteine")
        return {{"Name", "Gruß"}, {"Textbaustein", "Mit freundlichen Grüßen"}};
    return {{"Name", "Standard"},  {"Fontname", "Arial"}, {"Fontsize", 10},
            {"Bold", false},       {"Italic", false},     {"Underline", false},
            {"Strikethru", false}, {"Charoffset", 0},     {"Color", "0"},
            {"Alignment", 0},      {"Indent", 0},         {"Hangingindent", 0},
            {"Rightindent", 0},    {"Bullet", false}};
}

bool insert(const QString &table, const QVariantMap &changes, QString *error)
{
    QVariantMap row = validRow(table);
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        row.insert(it.key(), it.value());
    QSqlQuery query(Database::open(pathOf(table)));
    query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(table, row.keys().join(u", "),
                           QStringList(row.size(), QStringLiteral("?")).join(u", ")));
    for (const QVariant &value : std::as_const(row))
        query.addBindValue(Database::valueForWrite(value));
    const bool done = query.exec();
    *error = query.lastError().text();
    return done;
}

int rowCount(const QString &table)
{
    QSqlQuery query(Database::open(pathOf(table)));
    return query.exec(QStringLiteral("SELECT count(*) FROM %1").arg(table)) && query.next()
        ? query.value(0).toInt()
        : -1;
}

} // namespace

class TestDatabase : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void fileexist_data();
    void fileexist();
    void createsTables_data();
    void createsTables();
    void databaseAnotherProgramMakesMeanwhileIsUsed_data();
    void databaseAnotherProgramMakesMeanwhileIsUsed();
    void refusals_data();
    void refusals();
    void refusalsAreWorded_data();
    void refusalsAreWorded();
    void compactionTheDiskCannotHoldLeavesNoFile();
    void refusesUnknownJet_data();
    void refusesUnknownJet();
    void unwritableFolder();
    void joinsWithOneSeparator_data();
    void joinsWithOneSeparator();
    void reportsUnusableFile_data();
    void reportsUnusableFile();
    void oneConnectionPerFile();
    void closingTheProgramKeepsPermissions_data();
    void closingTheProgramKeepsPermissions();

private:
    std::unique_ptr<TestEnvironment> env;
};

void TestDatabase::init()
{
    // The helper must hold no connection copies of its own when it closes one.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("still in use")));
    env = std::make_unique<TestEnvironment>();
}

void TestDatabase::cleanup()
{
    Database::closeAll();
    env.reset();
}

void TestDatabase::fileexist_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("expected");
    QTest::newRow("file") << "file" << true;
    QTest::newRow("hidden name") << "hidden" << true;
    QTest::newRow("folder") << "folder" << false;
    QTest::newRow("empty path") << "empty" << false;
    QTest::newRow("missing") << "missing" << false;
    QTest::newRow("fifo") << "fifo" << false;
    QTest::newRow("unreadable") << "unreadable" << false;
}

void TestDatabase::fileexist()
{
    QFETCH(QString, kind);
    QFETCH(bool, expected);
    QString path;
    if (kind == u"file" || kind == u"unreadable") {
        path = env->path(QStringLiteral("brief.txt"));
        writeFile(path, "Text");
    } else if (kind == u"hidden") {
        path = env->path(QStringLiteral(".x"));
        writeFile(path, "Text");
    } else if (kind == u"folder") {
        path = env->databaseFolder();
    } else if (kind == u"missing") {
        path = env->path(QStringLiteral("fehlt.txt"));
    } else if (kind == u"fifo") {
        path = env->path(QStringLiteral("fifo"));
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    }
    if (kind == u"unreadable") {
        QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
        if (opensDespitePermissions(path, QIODevice::ReadOnly))
            QSKIP(
                qPrintable(needsUserWithoutRoot("This user reads files without read permission")));
    }
    QCOMPARE(Fileexist(path), expected);
}

void TestDatabase::createsTables_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("columns"); // name type notnull pk
    QTest::newRow("Textbausteine")
        << "Textbausteine" << Databases::TextbausteinFile << "Name TEXT 1 1, Textbaustein TEXT 1 0";
    QTest::newRow("Vorlagen")
        << "Vorlagen" << Databases::FormatvorlageFile
        << "Name TEXT 1 1, Fontname TEXT 1 0, Fontsize INTEGER 1 0, Bold INTEGER 1 0, "
           "Italic INTEGER 1 0, Underline INTEGER 1 0, Strikethru INTEGER 1 0, "
           "Charoffset INTEGER 1 0, Color TEXT 1 0, Alignment INTEGER 1 0, Indent INTEGER 1 0, "
           "Hangingindent INTEGER 1 0, Rightindent INTEGER 1 0, Bullet INTEGER 1 0";
}

void TestDatabase::createsTables()
{
    QFETCH(QString, table);
    QFETCH(QString, fileName);
    QFETCH(QString, columns);
    QString error;
    QVERIFY2(ensure(table, &error), qPrintable(error));
    {
        QSqlQuery info(Database::open(pathOf(table)));
        QVERIFY(info.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table)));
        QStringList seen;
        while (info.next()) {
            seen.append(QStringLiteral("%1 %2 %3 %4")
                            .arg(info.value("name").toString(), info.value("type").toString(),
                                 info.value("notnull").toString(), info.value("pk").toString()));
        }
        QCOMPARE(seen.join(u", "), columns);
    }
    QVERIFY2(insert(table, {}, &error), qPrintable(error));
    Database::closeAll();

    // Neither a second ensure nor a direct creation touches the file and its row.
    QVERIFY2(ensure(table, &error), qPrintable(error));
    QVERIFY(!Database::CreateDatabase(pathOf(table), createOf(table), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(rowCount(table), 1);
    const QStringList left = QDir(env->databaseFolder()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left, QStringList {fileName});
}

void TestDatabase::databaseAnotherProgramMakesMeanwhileIsUsed_data()
{
    QTest::addColumn<QString>("table");
    QTest::newRow("Textbausteine") << "Textbausteine";
    QTest::newRow("Vorlagen") << "Vorlagen";
}

// Two programs make the database at the same moment: the one whose making fails finds the
// other's and uses it without a message.
void TestDatabase::databaseAnotherProgramMakesMeanwhileIsUsed()
{
    QFETCH(QString, table);
    const QString other = env->path(QStringLiteral("anderes.mdb"));
    QString error;
    QVERIFY2(Database::CreateDatabase(other, createOf(table), &error), qPrintable(error));
    bool ensured = false;
    {
        const DatabaseStates::MadeMeanwhile meanwhile(other, pathOf(table));
        ensured = ensure(table, &error);
    }
    QVERIFY2(ensured, qPrintable(error));
    QVERIFY(!QFileInfo::exists(other));
    QVERIFY2(insert(table, {}, &error), qPrintable(error));
    QCOMPARE(rowCount(table), 1);
}

void TestDatabase::refusals_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("existing"); // a key inserted before
    QTest::addColumn<QVariantMap>("changes");
    QTest::addColumn<bool>("accepted");
    const QString blocks = QStringLiteral("Textbausteine");
    const QString styles = QStringLiteral("Vorlagen");
    QTest::newRow("empty name") << blocks << "" << QVariantMap {{"Name", ""}} << false;
    QTest::newRow("null name") << blocks << "" << QVariantMap {{"Name", QVariant()}} << false;
    QTest::newRow("empty text") << blocks << "" << QVariantMap {{"Textbaustein", ""}} << false;
    QTest::newRow("50 letters") << blocks << "" << QVariantMap {{"Name", QString(50, u'ä')}}
                                << true;
    QTest::newRow("51 letters") << blocks << "" << QVariantMap {{"Name", QString(51, u'a')}}
                                << false;
    QTest::newRow("key in capitals") << blocks << "Gruß" << QVariantMap {{"Name", "GRUß"}} << false;
    QTest::newRow("umlaut in capital")
        << blocks << "ärger" << QVariantMap {{"Name", "Ärger"}} << false;
    QTest::newRow("ß is not ss") << blocks << "Gruß" << QVariantMap {{"Name", "GRUSS"}} << true;
    QTest::newRow("bit 1") << styles << "" << QVariantMap {{"Bold", true}} << true;
    QTest::newRow("bit 2") << styles << "" << QVariantMap {{"Bold", 2}} << false;
    QTest::newRow("short -32768") << styles << "" << QVariantMap {{"Charoffset", -32768}} << true;
    QTest::newRow("short 40000") << styles << "" << QVariantMap {{"Fontsize", 40000}} << false;
    QTest::newRow("empty colour") << styles << "" << QVariantMap {{"Color", ""}} << false;
    QTest::newRow("short -32769") << styles << "" << QVariantMap {{"Indent", -32769}} << false;
    QTest::newRow("long font name")
        << styles << "" << QVariantMap {{"Fontname", QString(251, u'F')}} << false;
    QTest::newRow("250 letters") << styles << ""
                                 << QVariantMap {{"Fontname", QString(250, u'\u00e4')}} << true;
}

void TestDatabase::refusals()
{
    QFETCH(QString, table);
    QFETCH(QString, existing);
    QFETCH(QVariantMap, changes);
    QFETCH(bool, accepted);
    QString error;
    QVERIFY2(ensure(table, &error), qPrintable(error));
    if (!existing.isEmpty())
        QVERIFY2(insert(table, {{"Name", existing}}, &error), qPrintable(error));
    QCOMPARE(insert(table, changes, &error), accepted);
    // The check before a write refuses what the table refuses, but for keys already taken.
    if (existing.isEmpty()) {
        QString refusal;
        for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
            if (refusal.isEmpty())
                refusal = Database::refusal(createOf(table), it.key(), it.value());
        }
        QCOMPARE(refusal.isEmpty(), accepted);
    }
}

void TestDatabase::refusalsAreWorded_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("too long") << "FontName" << QVariant(QString(251, u'F'))
                              << "Das Feld ist zu klein, um die Menge der Daten aufzunehmen, die "
                                 "Sie hinzufügen wollten. Versuchen Sie, weniger Daten einzufügen.";
    QTest::newRow("empty") << "Color" << QVariant(QString())
                           << "Das Feld 'Vorlagen.Color' darf nicht leer sein.";
    QTest::newRow("out of range") << "Indent" << QVariant(40000)
                                  << "Das Feld 'Vorlagen.Indent' kann den Wert \"40000\" nicht "
                                     "aufnehmen.";
    QTest::newRow("not a number") << "Indent" << QVariant(qQNaN())
                                  << "Das Feld 'Vorlagen.Indent' kann den Wert \"nan\" nicht "
                                     "aufnehmen.";
    QTest::newRow("bit") << "Bullet" << QVariant(2)
                         << "Das Feld 'Vorlagen.Bullet' kann den Wert \"2\" nicht aufnehmen.";
}

void TestDatabase::refusalsAreWorded()
{
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(QString, message);
    QCOMPARE(Database::refusal(QString::fromLatin1(Databases::FormatvorlageCreate), field, value),
             message);
}

void TestDatabase::compactionTheDiskCannotHoldLeavesNoFile()
{
    QString error;
    QVERIFY(Database::ensure(Databases::textbausteine()));
    QVERIFY(
        insert(QStringLiteral("Textbausteine"), {{"Textbaustein", QString(300000, u'x')}}, &error));
    Database::closeAll();
    const QString path = Databases::textbausteinPath();
    const QString target = env->path(QStringLiteral("kompakt.new"));
    const QByteArray before = readFile(path);
    {
        const DatabaseStates::FileSizeLimit limit(rlim_t(before.size() / 2));
        QVERIFY(!Database::CompactDatabase(path, target, &error));
    }
    QVERIFY2(error == Database::engineMessage(SQLITE_FULL)
                 || error == Database::engineMessage(SQLITE_IOERR),
             qPrintable(error));
    QVERIFY(!QFileInfo::exists(target));
    QCOMPARE(readFile(path), before);
}

void TestDatabase::refusesUnknownJet_data()
{
    QTest::addColumn<QString>("jet");
    QTest::newRow("other statement") << "DROP TABLE Textbausteine;";
    QTest::newRow("unknown type") << "CREATE TABLE T (A DOUBLE NOT NULL);";
    QTest::newRow("size on a number") << "CREATE TABLE T (A SHORT(5));";
    QTest::newRow("text over 255") << "CREATE TABLE T (A TEXT(256));";
    QTest::newRow("two keys") << "CREATE TABLE T (A TEXT(5) CONSTRAINT K PRIMARY KEY, "
                                 "B TEXT(5) CONSTRAINT L PRIMARY KEY);";
    QTest::newRow("column twice") << "CREATE TABLE T (A SHORT, a BIT);";
    QTest::newRow("unclosed") << "CREATE TABLE T (A SHORT";
    QTest::newRow("words after") << "CREATE TABLE T (A SHORT); DROP TABLE T;";
    QTest::newRow("quoted name") << "CREATE TABLE T (\"A\" SHORT);";
}

void TestDatabase::refusesUnknownJet()
{
    QFETCH(QString, jet);
    QVERIFY(Database::sqliteCreateTable(jet).isEmpty());
    QString error;
    QVERIFY(!Database::CreateDatabase(Databases::textbausteinPath(), jet, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QDir(env->databaseFolder()).isEmpty());
}

void TestDatabase::unwritableFolder()
{
    const QString folder = env->databaseFolder();
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    const auto restore = qScopeGuard([&] {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    if (opensDespitePermissions(QDir(folder).filePath(QStringLiteral("probe")),
                                QIODevice::WriteOnly))
        QSKIP(qPrintable(
            needsUserWithoutRoot("This user writes into folders without write permission")));
    QString error;
    QVERIFY(!Database::ensure(Databases::textbausteine(), &error));
    QVERIFY2(error.startsWith(QStringLiteral("Die Datenbank \"%1\" konnte nicht angelegt werden.")
                                  .arg(Databases::textbausteinPath())),
             qPrintable(error));
    QVERIFY(QDir(folder).isEmpty());
}

void TestDatabase::joinsWithOneSeparator_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("expected");
    QTest::newRow("root") << "/"
                          << "/textbaustein.mdb";
    QTest::newRow("folder") << "/daten"
                            << "/daten/textbaustein.mdb";
    QTest::newRow("folder with separator") << "/daten/"
                                           << "/daten/textbaustein.mdb";
}

void TestDatabase::joinsWithOneSeparator()
{
    QFETCH(QString, folder);
    QFETCH(QString, expected);
    QCOMPARE(AppPaths::join(folder, QString::fromLatin1(Databases::TextbausteinFile)), expected);
}

void TestDatabase::reportsUnusableFile_data()
{
    QTest::addColumn<bool>("folder");
    QTest::addColumn<bool>("ensured"); // a readable file is left to open() to judge
    QTest::newRow("text file") << false << true;
    QTest::newRow("folder") << true << false;
}

void TestDatabase::reportsUnusableFile()
{
    QFETCH(bool, folder);
    QFETCH(bool, ensured);
    const QString path = Databases::textbausteinPath();
    const QByteArray content = "Kein Datenbankinhalt";
    if (folder)
        QVERIFY(QDir().mkdir(path));
    else
        writeFile(path, content);
    QString error;
    QCOMPARE(Database::ensure(Databases::textbausteine(), &error), ensured);
    QCOMPARE(error.contains(path), !ensured);
    error.clear();
    QVERIFY(!Database::open(path, &error).isValid());
    QVERIFY(!error.isEmpty());
    QVERIFY(QSqlDatabase::connectionNames().isEmpty());
    if (folder)
        QVERIFY(QFileInfo(path).isDir());
    else
        QCOMPARE(readFile(path), content);
}

void TestDatabase::oneConnectionPerFile()
{
    const QString missing = env->path(QStringLiteral("neu.mdb"));
    QVERIFY(!Database::open(missing).isValid());
    QVERIFY(!QFileInfo::exists(missing));

    QString error;
    QVERIFY(Database::ensure(Databases::textbausteine(), &error));
    const QString path = Databases::textbausteinPath();
    const QString name = Database::open(path).connectionName();
    QCOMPARE(Database::open(QDir(env->databaseFolder())
                                .filePath(QStringLiteral("./") + Databases::TextbausteinFile))
                 .connectionName(),
             name);
    QVERIFY2(insert(QStringLiteral("Textbausteine"), {}, &error), qPrintable(error));
    Database::closeAll();
    QVERIFY(QSqlDatabase::connectionNames().isEmpty());

    // A fresh connection has the collation again, so lookups ignore case as the key does.
    QSqlQuery query(Database::open(path));
    query.prepare(QStringLiteral("SELECT count(*) FROM Textbausteine WHERE Name = ?"));
    query.addBindValue(QStringLiteral("GRUẞ"));
    QVERIFY2(query.exec() && query.next(), qPrintable(query.lastError().text()));
    QCOMPARE(query.value(0).toInt(), 1);
}

void TestDatabase::closingTheProgramKeepsPermissions_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("read-only") << 0444;
    QTest::newRow("writable") << 0644;
    QTest::newRow("owner only") << 0600;
}

void TestDatabase::closingTheProgramKeepsPermissions()
{
    QFETCH(int, mode);
    // The program's own environment replaces this test's.
    env.reset();
    RunningProgram program;
    program.start();
    program.main().LoadNewText();
    QVERIFY(Database::ensure(Databases::formatvorlagen()));
    Database::closeAll();
    const QStringList paths = {Databases::textbausteinPath(), Databases::formatvorlagePath()};
    for (const QString &path : paths)
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0);
    program.stop();
    for (const QString &path : paths) {
        struct stat info = {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
        QCOMPARE(int(info.st_mode & 07777), mode);
    }
}

QTEST_MAIN(TestDatabase)
#include "tst_database.moc"
