// Folders the program reads its shipped files from and keeps its databases in.
#include "common/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace {
QString &programFolderOverride()
{
    static QString folder;
    return folder;
}
QString &databaseFolderOverride()
{
    static QString folder;
    return folder;
}
} // namespace

namespace AppPaths {

QString programFolder()
{
    const QString &folder = programFolderOverride();
    return folder.isEmpty() ? QDir::toNativeSeparators(QCoreApplication::applicationDirPath())
                            : folder;
}

QString databaseFolder()
{
    QString folder = databaseFolderOverride();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return QDir::toNativeSeparators(folder);
}

QString keptCopiesFolder()
{
    return join(databaseFolder(), QStringLiteral("Sicherungskopien"));
}

void setProgramFolder(const QString &folder)
{
    programFolderOverride() = folder;
}

void setDatabaseFolder(const QString &folder)
{
    databaseFolderOverride() = folder;
}

QString join(const QString &folder, const QString &name)
{
    if (folder.endsWith(QDir::separator()) || folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QDir::separator() + name;
}

} // namespace AppPaths
