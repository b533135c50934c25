// Attributes on top of QFileInfo and the permissions.
#include "platform/FileSystem.h"

#include <QFile>
#include <QFileInfo>

namespace FileSystem {

int GetAttr(const QString &path)
{
    const QFileInfo info(path);
    int attributes = vbNormal;
    if (!info.isWritable())
        attributes |= vbReadOnly;
    if (info.fileName().startsWith(QLatin1Char('.')))
        attributes |= vbHidden;
    return attributes;
}

QString attributeLetters(int attributes)
{
    QString letters;
    if (attributes & vbReadOnly)
        letters += QLatin1Char('R');
    if (attributes & vbHidden)
        letters += QLatin1Char('H');
    if (attributes & vbSystem)
        letters += QLatin1Char('S');
    if (attributes & vbArchive)
        letters += QLatin1Char('A');
    return letters;
}

bool SetAttr(const QString &path, int attributes)
{
    QFile file(path);
    if (!file.exists())
        return false;
#ifndef Q_OS_WIN
    // Hidden is no attribute here: marking a file hidden leaves it exactly as it was, its
    // permissions included.
    if (attributes & vbHidden)
        return true;
#endif
    const QFile::Permissions writable = QFile::WriteOwner | QFile::WriteUser;
    QFile::Permissions permissions = file.permissions();
    permissions = (attributes & vbReadOnly) ? permissions & ~writable : permissions | writable;
    return permissions == file.permissions() || file.setPermissions(permissions);
}

} // namespace FileSystem
