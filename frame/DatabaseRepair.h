// Repair of a database file of the program: a backup copy beside it, then a compacted and
// checked copy that takes the database's place.
#pragma once

#include "common/Databases.h"

#include <QString>

namespace DatabaseRepair {

// The backup copy (".bak") and the compaction target (".new") beside a database.
QString backupPath(const QString &database);
QString compactionPath(const QString &database);

// Closes every connection to the program's databases, writes the backup, compacts the
// database into the compaction target, repairs and checks that file and renames it over the
// database in one step. The database itself is only read until that rename, so a failure at
// any step leaves the old file in place. The backup and the new file get the database's
// permission bits. False with the reason on failure; *backedUp tells whether this run wrote
// the backup.
bool run(const Databases::File &database, QString *reason = nullptr, bool *backedUp = nullptr);

// run, then the user's message: "Reparatur erfolgreich", or "Reparatur fehlgeschlagen"
// naming the backup this run wrote, or saying that none was made and the database is unchanged.
void repair(const Databases::File &database);

} // namespace DatabaseRepair
