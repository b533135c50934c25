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

// Create the file when Fileexist says it is missing. On failure: false and a German message
// naming the file in *error; an existing file is never touched or overwritten.
bool ensureTextbausteine(QString *error = nullptr);
bool ensureFormatvorlagen(QString *error = nullptr);

} // namespace Databases
