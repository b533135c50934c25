// Settings through QSettings; every value is kept as text.
#include "platform/Settings.h"

#include "common/ProgramInfo.h"

#include <QSettings>
#include <memory>

namespace {
QString &storeFile()
{
    static QString path;
    return path;
}

std::unique_ptr<QSettings> openStore()
{
    std::unique_ptr<QSettings> store;
    if (storeFile().isEmpty())
        store = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            ProgramInfo::title(), ProgramInfo::title());
    else
        store = std::make_unique<QSettings>(storeFile(), QSettings::IniFormat);
    store->beginGroup(QStringLiteral("Settings"));
    return store;
}
} // namespace

QString GetSetting(const QString &key, const QString &defaultValue)
{
    const QVariant value = openStore()->value(key);
    return value.isValid() ? value.toString() : defaultValue;
}

void SaveSetting(const QString &key, const QString &value)
{
    openStore()->setValue(key, value);
}

void DeleteSetting(const QString &key)
{
    openStore()->remove(key);
}

bool GetSwitch(const QString &key)
{
    const QString on = QStringLiteral("True");
    return GetSetting(key, on) == on;
}

void SaveSwitch(const QString &key, bool on)
{
    SaveSetting(key, on ? QStringLiteral("True") : QStringLiteral("False"));
}

namespace Settings {
void useFile(const QString &iniPath)
{
    storeFile() = iniPath;
}
} // namespace Settings
