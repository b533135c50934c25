// Connections to the program's SQLite files, the mapping of its Jet table statements onto
// SQLite, and creation of new files that are never left half made.
#include "data/Database.h"

#include "common/Fileexist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryFile>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <memory>
#include <sqlite3.h>
#include <unistd.h>

namespace {

const char *const CollationName = "VELMAR_NOCASE";

QString connectionPrefix()
{
    return QStringLiteral("velmar-db:");
}

QString connectionName(const QString &path)
{
    return connectionPrefix() + QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// Jet compared keys without regard to case for every letter; SQLite's NOCASE knows only ASCII.
int compareNoCase(void *, int leftLength, const void *left, int rightLength, const void *right)
{
    const QString a = QString::fromUtf8(static_cast<const char *>(left), leftLength);
    const QString b = QString::fromUtf8(static_cast<const char *>(right), rightLength);
    const int order = a.compare(b, Qt::CaseInsensitive);
    return (order > 0) - (order < 0);
}

int registerCollation(sqlite3 *handle)
{
    return sqlite3_create_collation_v2(handle, CollationName, SQLITE_UTF8, nullptr, compareNoCase,
                                       nullptr);
}

struct Column
{
    enum Type { Text, Memo, Short, Bit };
    QString name;
    Type type = Text;
    int size = 0;
    bool notNull = false;
    QString keyName;
};

bool isWordChar(QChar c)
{
    return c.unicode() < 128 && (c.isLetterOrNumber() || c == QLatin1Char('_'));
}

bool tokenize(const QString &text, QStringList *tokens, QString *error)
{
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i);
        if (c.isSpace()) {
            ++i;
        } else if (isWordChar(c)) {
            qsizetype end = i;
            while (end < text.size() && isWordChar(text.at(end)))
                ++end;
            tokens->append(text.mid(i, end - i));
            i = end;
        } else if (QStringLiteral("(),;").contains(c)) {
            tokens->append(QString(c));
            ++i;
        } else {
            *error
                = QStringLiteral("Unerwartetes Zeichen \"%1\" in der Tabellendefinition.").arg(c);
            return false;
        }
    }
    return true;
}

// The Jet CREATE TABLE as the program writes it, and nothing else: what this does not know is
// refused rather than guessed.
class JetParser
{
public:
    explicit JetParser(QStringList tokens) : tokens(std::move(tokens)) { }

    bool parse(QString *table, QList<Column> *columns, QString *error)
    {
        if (!accept("CREATE") || !accept("TABLE") || !identifier(table) || !accept("("))
            return fail(error);
        do {
            Column column;
            if (!parseColumn(&column, *columns))
                return fail(error);
            columns->append(column);
        } while (accept(","));
        if (!accept(")"))
            return fail(error);
        accept(";");
        return atEnd() || fail(error);
    }

private:
    bool parseColumn(Column *column, const QList<Column> &before)
    {
        if (!identifier(&column->name))
            return false;
        for (const Column &other : before) {
            if (other.name.compare(column->name, Qt::CaseInsensitive) == 0)
                return false;
        }
        if (accept("TEXT")) {
            column->type = Column::Text;
            column->size = 255;
            if (accept("(") && (!number(&column->size) || !accept(")")))
                return false;
            if (column->size < 1 || column->size > 255)
                return false;
        } else if (accept("MEMO")) {
            column->type = Column::Memo;
        } else if (accept("SHORT")) {
            column->type = Column::Short;
        } else if (accept("BIT")) {
            column->type = Column::Bit;
        } else {
            return false;
        }
        if (accept("NOT")) {
            if (!accept("NULL"))
                return false;
            column->notNull = true;
        }
        if (accept("CONSTRAINT")) {
            for (const Column &other : before) {
                if (!other.keyName.isEmpty())
                    return false;
            }
            if (!identifier(&column->keyName) || !accept("PRIMARY") || !accept("KEY"))
                return false;
        }
        return true;
    }

    bool atEnd() const { return position >= tokens.size(); }

    bool accept(const char *word)
    {
        if (atEnd() || tokens.at(position).compare(QLatin1String(word), Qt::CaseInsensitive) != 0)
            return false;
        ++position;
        return true;
    }

    bool identifier(QString *name)
    {
        if (atEnd())
            return false;
        const QString &token = tokens.at(position);
        if (!isWordChar(token.front()) || token.front().isDigit())
            return false;
        *name = token;
        ++position;
        return true;
    }

    bool number(int *value)
    {
        if (atEnd())
            return false;
        bool ok = false;
        const int parsed = tokens.at(position).toInt(&ok);
        if (!ok)
            return false;
        *value = parsed;
        ++position;
        return true;
    }

    bool fail(QString *error) const
    {
        *error = atEnd() ? QStringLiteral("Die Tabellendefinition endet unerwartet.")
                         : QStringLiteral("Die Tabellendefinition ist bei \"%1\" unverständlich.")
                               .arg(tokens.at(position));
        return false;
    }

    QStringList tokens;
    qsizetype position = 0;
};

QString quoted(const QString &name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QString columnDefinition(const Column &column)
{
    const QString name = quoted(column.name);
    const bool key = !column.keyName.isEmpty();
    const bool text = column.type == Column::Text || column.type == Column::Memo;
    QString definition = name + (text ? QStringLiteral(" TEXT") : QStringLiteral(" INTEGER"));
    // A Jet key never held NULL, stated or not.
    if (column.notNull || key)
        definition += QStringLiteral(" NOT NULL");
    if (key && text)
        definition += QStringLiteral(" COLLATE ") + QLatin1String(CollationName);
    switch (column.type) {
    case Column::Text:
        definition += QStringLiteral(" CHECK (length(%1) <= %2)").arg(name).arg(column.size);
        break;
    case Column::Memo:
        break;
    case Column::Short:
        definition += QStringLiteral(" CHECK (%1 BETWEEN -32768 AND 32767)").arg(name);
        break;
    case Column::Bit:
        definition += QStringLiteral(" CHECK (%1 IN (0, 1))").arg(name);
        break;
    }
    // Last, because SQLite lends a constraint name to every constraint after it.
    if (key)
        definition += QStringLiteral(" CONSTRAINT ") + quoted(column.keyName)
            + QStringLiteral(" PRIMARY KEY");
    return definition;
}

bool parseJet(const QString &jetCreateTable, QString *table, QList<Column> *columns, QString *error)
{
    QStringList tokens;
    return tokenize(jetCreateTable, &tokens, error)
        && JetParser(tokens).parse(table, columns, error);
}

QString translate(const QString &jetCreateTable, QString *error)
{
    QString table;
    QList<Column> columns;
    if (!parseJet(jetCreateTable, &table, &columns, error))
        return {};
    QStringList definitions;
    for (const Column &column : columns)
        definitions.append(columnDefinition(column));
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(table), definitions.join(u", "));
}

struct SqliteCloser
{
    void operator()(sqlite3 *handle) const { sqlite3_close(handle); }
};

using Handle = std::unique_ptr<sqlite3, SqliteCloser>;

struct StatementFinalizer
{
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// A connection of its own, outside the shared ones, with our collation; none and the reason
// when the file does not open.
Handle openHandle(const QString &file, int flags, QString *reason)
{
    sqlite3 *raw = nullptr;
    int result = sqlite3_open_v2(QFile::encodeName(file).constData(), &raw, flags, nullptr);
    Handle handle(raw);
    if (result == SQLITE_OK)
        result = registerCollation(raw);
    if (result == SQLITE_OK)
        return handle;
    *reason = Database::engineMessage(raw ? sqlite3_extended_errcode(raw) : result);
    return nullptr;
}

// The first column of every row of a statement with at most one text parameter.
bool firstColumn(sqlite3 *handle, const char *sql, const QString &parameter, QStringList *rows,
                 QString *reason)
{
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(handle, sql, -1, &raw, nullptr) != SQLITE_OK) {
        *reason = Database::engineMessage(sqlite3_extended_errcode(handle));
        return false;
    }
    const Statement statement(raw);
    const QByteArray bound = parameter.toUtf8();
    if (sqlite3_bind_parameter_count(raw) > 0)
        sqlite3_bind_text(raw, 1, bound.constData(), static_cast<int>(bound.size()),
                          SQLITE_TRANSIENT);
    int result;
    while ((result = sqlite3_step(raw)) == SQLITE_ROW) {
        rows->append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(raw, 0)),
                                       sqlite3_column_bytes(raw, 0)));
    }
    if (result == SQLITE_DONE)
        return true;
    *reason = Database::engineMessage(sqlite3_extended_errcode(handle));
    return false;
}

// The names of a table's columns in their order; empty when there is no such table.
QStringList columnNames(sqlite3 *handle, const QString &table)
{
    QStringList names;
    QString reason;
    firstColumn(handle, "SELECT name FROM pragma_table_info(?1)", table, &names, &reason);
    return names;
}

// Empty on success, else the German reason.
QString runStatement(const QString &file, const QString &statement)
{
    sqlite3 *raw = nullptr;
    int result = sqlite3_open_v2(QFile::encodeName(file).constData(), &raw, SQLITE_OPEN_READWRITE,
                                 nullptr);
    const std::unique_ptr<sqlite3, SqliteCloser> handle(raw);
    if (result == SQLITE_OK)
        result = registerCollation(raw);
    if (result == SQLITE_OK)
        result = sqlite3_exec(raw, statement.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (result == SQLITE_OK)
        return {};
    return Database::engineMessage(raw ? sqlite3_extended_errcode(raw) : result);
}

bool create(const QString &path, const QString &jetCreateTable, QString *reason)
{
    const QString statement = translate(jetCreateTable, reason);
    if (statement.isEmpty())
        return false;
    const QFileInfo target(path);
    if (target.isDir()) {
        *reason = QStringLiteral("An ihrer Stelle steht ein Ordner dieses Namens.");
        return false;
    }
    if (target.exists() || target.isSymLink()) {
        *reason = QStringLiteral("Die Datei ist vorhanden, kann aber nicht gelesen werden.");
        return false;
    }
    QTemporaryFile temporary(
        QDir(target.absolutePath()).filePath(target.fileName() + QStringLiteral(".XXXXXX")));
    if (!temporary.open()) {
        *reason = QStringLiteral("Im Ordner der Datenbank kann keine Datei angelegt werden.");
        return false;
    }
    temporary.close();
    *reason = runStatement(temporary.fileName(), statement);
    if (!reason->isEmpty())
        return false;
    // rename() refuses an existing target, so a file that appeared meanwhile is kept.
    if (!QFile::rename(temporary.fileName(), target.absoluteFilePath())) {
        *reason = QStringLiteral("Die Datei konnte nicht umbenannt werden.");
        return false;
    }
    temporary.setAutoRemove(false);
    return true;
}

// How long a statement waits for another program's lock on the window's thread.
constexpr int lockWaitMilliseconds = 250;

// Empty on success, else the reason the connection called name could not be made usable.
QString connect(const QString &name, const QString &path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    // A file another program holds locked is reported after a short wait instead of the
    // driver's five seconds, which the window would spend frozen.
    db.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(lockWaitMilliseconds));
    // mode=rw: SQLite refuses a missing file instead of creating an empty one.
    db.setDatabaseName(
        QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded)
        + QStringLiteral("?mode=rw"));
    if (!db.open())
        return Database::message(db.lastError());
    const QVariant handle = db.driver()->handle();
    sqlite3 *access = nullptr;
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        access = *static_cast<sqlite3 *const *>(handle.constData());
    if (!access || registerCollation(access) != SQLITE_OK)
        return QStringLiteral("Die Sortierfolge der Datenbank kann nicht eingerichtet werden.");
    // So that a trigger's refusal can be told from the engine's own.
    sqlite3_extended_result_codes(access, 1);
    // SQLite opens lazily; reading the schema shows whether the file is a database at all. An
    // empty file reads as a database without tables, which no file of the program is.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !probe.next())
        return Database::message(probe.lastError());
    if (probe.value(0).toInt() == 0)
        return Database::engineMessage(SQLITE_NOTADB);
    return {};
}

} // namespace

namespace Database {

QSqlDatabase open(const QString &path, QString *error)
{
    const QString name = connectionName(path);
    if (QSqlDatabase::contains(name)) {
        if (QSqlDatabase::database(name, false).isOpen())
            return QSqlDatabase::database(name, false);
        QSqlDatabase::removeDatabase(name);
    }
    const QString reason = connect(name, path);
    if (reason.isEmpty())
        return QSqlDatabase::database(name, false);
    QSqlDatabase::removeDatabase(name);
    if (error)
        *error = reason;
    return {};
}

void close(const QString &path)
{
    const QString name = connectionName(path);
    if (QSqlDatabase::contains(name))
        QSqlDatabase::removeDatabase(name);
}

void closeAll()
{
    const QStringList names = QSqlDatabase::connectionNames();
    for (const QString &name : names) {
        if (name.startsWith(connectionPrefix()))
            QSqlDatabase::removeDatabase(name);
    }
}

bool CreateDatabase(const QString &path, const QString &jetCreateTable, QString *error)
{
    QString reason;
    const bool made = create(path, jetCreateTable, &reason);
    if (!made && error)
        *error = reason;
    return made;
}

bool RepairDatabase(const QString &path, QString *error)
{
    QString reason;
    const Handle handle = openHandle(path, SQLITE_OPEN_READWRITE, &reason);
    QStringList problems;
    if (handle && sqlite3_exec(handle.get(), "REINDEX", nullptr, nullptr, nullptr) != SQLITE_OK)
        reason = QString::fromUtf8(sqlite3_errmsg(handle.get()));
    else if (handle && firstColumn(handle.get(), "PRAGMA integrity_check", {}, &problems, &reason)
             && problems != QStringList {QStringLiteral("ok")})
        reason = problems.value(0);
    if (reason.isEmpty())
        return true;
    if (error)
        *error = reason;
    return false;
}

bool CompactDatabase(const QString &source, const QString &target, QString *error)
{
    QString reason;
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() || targetInfo.isSymLink()) {
        reason = QStringLiteral("Die Zieldatei ist bereits vorhanden.");
    } else if (const Handle handle = openHandle(source, SQLITE_OPEN_READONLY, &reason)) {
        // Made empty for the owner alone first, so the copy is never more open than needed.
        const int made = ::open(QFile::encodeName(target).constData(),
                                O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
        if (made < 0 || ::close(made) != 0) {
            reason = QStringLiteral("Die Zieldatei kann nicht angelegt werden.");
        } else {
            QStringList none;
            if (!firstColumn(handle.get(), "VACUUM INTO ?1", targetInfo.absoluteFilePath(), &none,
                             &reason))
                QFile::remove(target);
        }
    }
    if (reason.isEmpty())
        return true;
    if (error)
        *error = reason;
    return false;
}

bool holdsTable(const QString &path, const QString &jetCreateTable)
{
    QString reason;
    const QString statement = translate(jetCreateTable, &reason);
    const Handle model = openHandle(QStringLiteral(":memory:"), SQLITE_OPEN_READWRITE, &reason);
    if (statement.isEmpty() || !model
        || sqlite3_exec(model.get(), statement.toUtf8().constData(), nullptr, nullptr, nullptr)
            != SQLITE_OK)
        return false;
    QStringList tables;
    if (!firstColumn(model.get(), "SELECT name FROM sqlite_master WHERE type = 'table'", {},
                     &tables, &reason)
        || tables.size() != 1)
        return false;
    const Handle file = openHandle(path, SQLITE_OPEN_READONLY, &reason);
    if (!file)
        return false;
    const QStringList expected = columnNames(model.get(), tables.first());
    return !expected.isEmpty() && columnNames(file.get(), tables.first()) == expected;
}

QString sqliteCreateTable(const QString &jetCreateTable)
{
    QString error;
    return translate(jetCreateTable, &error);
}

QString engineMessage(int resultCode)
{
    switch (resultCode & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("Die Datenbank ist gesperrt, weil ein anderes Programm sie gerade "
                              "verwendet. Versuchen Sie es später noch einmal.");
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return QStringLiteral("Die Datenbank ist schreibgeschützt. Änderungen können nicht "
                              "gespeichert werden.");
    case SQLITE_CORRUPT:
        return QStringLiteral("Die Datenbank ist beschädigt. Reparieren Sie sie im Menü "
                              "\"Extras\".");
    case SQLITE_NOTADB:
        return QStringLiteral("Die Datei ist keine Datenbank oder hat ein unbekanntes Format.");
    case SQLITE_FULL:
        return QStringLiteral("Auf dem Datenträger ist nicht genügend Speicherplatz frei.");
    case SQLITE_CONSTRAINT:
    case SQLITE_MISMATCH:
    case SQLITE_TOOBIG:
        return QStringLiteral("Ein Wert verstößt gegen eine Regel der Tabelle.");
    default:
        return QStringLiteral("Beim Zugriff auf die Datenbank ist ein Fehler aufgetreten.");
    }
}

QString message(const QSqlError &error)
{
    bool known = false;
    const int code = error.nativeErrorCode().toInt(&known);
    if (known && code == SQLITE_CONSTRAINT_TRIGGER)
        return error.databaseText();
    return engineMessage(known ? code : SQLITE_ERROR);
}

QString refusal(const QString &jetCreateTable, const QString &field, const QVariant &value)
{
    QString table;
    QList<Column> columns;
    QString error;
    if (!parseJet(jetCreateTable, &table, &columns, &error))
        return {};
    const auto column = std::find_if(columns.cbegin(), columns.cend(), [&](const Column &c) {
        return c.name.compare(field, Qt::CaseInsensitive) == 0;
    });
    if (column == columns.cend())
        return {};
    const QVariant written = valueForWrite(value);
    if (written.isNull())
        return column->notNull || !column->keyName.isEmpty()
            ? emptyFieldMessage(table + QLatin1Char('.') + column->name)
            : QString();
    bool number = false;
    const double amount = written.toDouble(&number);
    switch (column->type) {
    case Column::Text:
        return written.toString().toUcs4().size() > column->size ? tooLongMessage() : QString();
    case Column::Memo:
        return {};
    case Column::Short:
        if (number && std::isfinite(amount) && amount >= -32768 && amount <= 32767)
            return {};
        break;
    case Column::Bit:
        if (number && (amount == 0 || amount == 1))
            return {};
        break;
    }
    return QStringLiteral("Das Feld '%1.%2' kann den Wert \"%3\" nicht aufnehmen.")
        .arg(table, column->name, written.toString());
}

QString emptyFieldMessage(const QString &qualifiedField)
{
    return QStringLiteral("Das Feld '%1' darf nicht leer sein.").arg(qualifiedField);
}

QString tooLongMessage()
{
    return QStringLiteral("Das Feld ist zu klein, um die Menge der Daten aufzunehmen, die Sie "
                          "hinzufügen wollten. Versuchen Sie, weniger Daten einzufügen.");
}

QVariant valueForWrite(const QVariant &value)
{
    if (value.typeId() == QMetaType::QString && value.toString().isEmpty())
        return QVariant(QMetaType::fromType<QString>());
    return value;
}

bool ensure(const Databases::File &file, QString *error)
{
    if (Fileexist(file.path))
        return true;
    QString reason;
    // Another program may have made it meanwhile, when this one's own making failed.
    if (CreateDatabase(file.path, file.createTable, &reason) || Fileexist(file.path))
        return true;
    if (error)
        *error = QStringLiteral("Die Datenbank \"%1\" konnte nicht angelegt werden. %2")
                     .arg(QDir::toNativeSeparators(file.path), reason);
    return false;
}

} // namespace Database
