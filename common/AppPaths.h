// The program folder (App.Path, read-only shipped files) and the database folder (per-user,
// writable), and the one rule for joining a folder and a file name.
#pragma once

#include <QString>

namespace AppPaths {

QString programFolder();
QString databaseFolder(); // made on first use
// Where a file's old bytes wait while it is written in place, inside the database folder.
QString keptCopiesFolder();
void setProgramFolder(const QString &folder);
void setDatabaseFolder(const QString &folder);

// folder + separator + name, without a second separator when the folder already ends in one.
QString join(const QString &folder, const QString &name);

} // namespace AppPaths
