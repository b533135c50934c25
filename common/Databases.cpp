// The program's two database files, made on first need.
#include "common/Databases.h"

#include "common/Fileexist.h"
#include "platform/AppPaths.h"
#include "platform/Database.h"

#include <QDir>

namespace Databases {

const char *const TextbausteinCreate
    = "CREATE TABLE Textbausteine (Name TEXT(50) NOT NULL CONSTRAINT Schluessel PRIMARY KEY, "
      "Textbaustein MEMO NOT NULL);";
const char *const FormatvorlageCreate
    = "CREATE TABLE Vorlagen (Name TEXT(50) NOT NULL CONSTRAINT Schluessel PRIMARY KEY, Fontname "
      "TEXT(250) NOT NULL, Fontsize SHORT NOT NULL, Bold BIT NOT NULL, Italic BIT NOT NULL, "
      "Underline BIT NOT NULL, Strikethru BIT NOT NULL, Charoffset SHORT NOT NULL, Color TEXT(50) "
      "NOT NULL, Alignment SHORT NOT NULL, Indent SHORT NOT NULL, Hangingindent SHORT NOT NULL, "
      "Rightindent SHORT NOT NULL, Bullet BIT NOT NULL);";

namespace {

bool ensure(const QString &path, const char *createTable, QString *error)
{
    if (Fileexist(path))
        return true;
    QString reason;
    if (Database::CreateDatabase(path, QString::fromLatin1(createTable), &reason))
        return true;
    if (error)
        *error = QStringLiteral("Die Datenbank \"%1\" konnte nicht angelegt werden. %2")
                     .arg(QDir::toNativeSeparators(path), reason);
    return false;
}

} // namespace

QString textbausteinPath()
{
    return AppPaths::join(AppPaths::databaseFolder(), QString::fromLatin1(TextbausteinFile));
}

QString formatvorlagePath()
{
    return AppPaths::join(AppPaths::databaseFolder(), QString::fromLatin1(FormatvorlageFile));
}

bool ensureTextbausteine(QString *error)
{
    return ensure(textbausteinPath(), TextbausteinCreate, error);
}

bool ensureFormatvorlagen(QString *error)
{
    return ensure(formatvorlagePath(), FormatvorlageCreate, error);
}

} // namespace Databases
