// Settings through QSettings; every value is kept as text.
#include "platform/Settings.h"

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
                                            QString::fromUtf8(Settings::ProgramTitle),
                                            QString::fromUtf8(Settings::ProgramTitle));
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

namespace Settings {
void useFile(const QString &iniPath)
{
    storeFile() = iniPath;
}
} // namespace Settings
