// The program's two database files: their names, their tables and where they live.
#pragma once

#include <QString>

namespace Databases {

inline constexpr const char *TextbausteinFile = "textbaustein.mdb";
inline constexpr const char *FormatvorlageFile = "formatvorlage.mdb";

// The tables as the program defines them, in Jet syntax.
extern const char *const TextbausteinCreate;
extern const char *const FormatvorlageCreate;

QString textbausteinPath();
QString formatvorlagePath();

// A database file of the program with the statement that makes its table.
struct File
{
    QString path;
    QString createTable;
};
File textbausteine();
File formatvorlagen();

} // namespace Databases
