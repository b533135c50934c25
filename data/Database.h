// The one way to the program's SQLite files: shared connections with our collation, creation
// from the program's Jet table statements, and the value rule for writes.
#pragma once

#include "common/Databases.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariant>

namespace Database {

// Opens (or reuses) the one connection to an SQLite file, with the case-insensitive collation
// VELMAR_NOCASE registered on it. An invalid QSqlDatabase when the file is missing (it is never
// created here) or cannot be opened as a database; the reason then goes to *error.
QSqlDatabase open(const QString &path, QString *error = nullptr);
void close(const QString &path);
// So that repair can replace a file no window still holds open.
void closeAll();

// Creates a database with one CREATE TABLE statement in the program's Jet syntax, mapped onto
// SQLite. Made under a temporary name in the same folder and renamed into place, so no half-made
// file is ever left. Never overwrites an existing file. False + reason on failure.
bool CreateDatabase(const QString &path, const QString &jetCreateTable, QString *error = nullptr);

// Creates the file when Fileexist says it is missing. On failure: false and a German message
// naming the file in *error; an existing file is never touched or overwritten.
bool ensure(const Databases::File &file, QString *error = nullptr);

// The engine's repair of a file: indexes rebuilt, then the whole file checked. False + reason
// when the file is no database or still damaged.
bool RepairDatabase(const QString &path, QString *error = nullptr);
// Compacts source into target, a file that must not exist yet. The source is only read.
bool CompactDatabase(const QString &source, const QString &target, QString *error = nullptr);
// Whether the file holds the statement's table with the statement's columns in their order.
bool holdsTable(const QString &path, const QString &jetCreateTable);

// The SQLite statement for a Jet CREATE TABLE; empty when the statement is not understood.
QString sqliteCreateTable(const QString &jetCreateTable);

// The German text for a kind of the engine's errors, given by an SQLite result code: locked,
// read-only, damaged, not a database, disk full, constraint broken, or any other.
QString engineMessage(int resultCode);
// A failed connection or statement in German: a trigger's own words as they are, otherwise
// the text of the engine's error kind; never the engine's or the driver's own text.
QString message(const QSqlError &error);

// Why a value cannot go into a field of the table the statement makes, in German; empty when
// the field holds it. So a row is refused before it reaches the database.
QString refusal(const QString &jetCreateTable, const QString &field, const QVariant &value);

// The engine's texts for a required field left empty ("Table.Field") and for a text longer
// than its field.
QString emptyFieldMessage(const QString &qualifiedField);
QString tooLongMessage();

// A value as it is to be written: an empty text becomes NULL so that NOT NULL refusals fire.
QVariant valueForWrite(const QVariant &value);

} // namespace Database
