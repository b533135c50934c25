// The program's two database files: names, tables and paths.
#include "common/Databases.h"

#include "common/AppPaths.h"

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

QString textbausteinPath()
{
    return AppPaths::join(AppPaths::databaseFolder(), QString::fromLatin1(TextbausteinFile));
}

QString formatvorlagePath()
{
    return AppPaths::join(AppPaths::databaseFolder(), QString::fromLatin1(FormatvorlageFile));
}

File textbausteine()
{
    return {textbausteinPath(), QString::fromLatin1(TextbausteinCreate)};
}

File formatvorlagen()
{
    return {formatvorlagePath(), QString::fromLatin1(FormatvorlageCreate)};
}

} // namespace Databases
