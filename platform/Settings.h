// The per-user settings store: text values in group "Settings" under the program's title.
#pragma once

#include <QString>

QString GetSetting(const QString &key, const QString &defaultValue = QString());
void SaveSetting(const QString &key, const QString &value);
void DeleteSetting(const QString &key);

// A switch stored as "True" or "False": on only for exactly "True"; missing counts as on.
bool GetSwitch(const QString &key);
void SaveSwitch(const QString &key, bool on);

namespace Settings {
// Tests point the store at a file of their own; an empty path means the user's store.
void useFile(const QString &iniPath);
} // namespace Settings
