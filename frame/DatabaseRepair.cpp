// Repair of a database file: backup, compaction, repair of the compacted copy, one rename.
#include "frame/DatabaseRepair.h"

#include "common/AppPaths.h"
#include "data/Database.h"
#include "platform/FileSystem.h"
#include "platform/FileWrite.h"
#include "platform/MsgBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>

namespace {

QString sibling(const QString &database, const char *extension)
{
    const QFileInfo info(database);
    return QDir::toNativeSeparators(
        AppPaths::join(info.path(), info.completeBaseName() + QLatin1String(extension)));
}

bool fail(QString *reason, const QString &text)
{
    if (reason)
        *reason = text;
    return false;
}

// The permission bits of one file given to another, so that a copy is no more open than its
// original.
bool copyMode(const QString &from, const QString &to)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(from).constData(), &info) == 0
        && ::chmod(QFile::encodeName(to).constData(), info.st_mode & 07777) == 0;
}

// rename() replaces the target in one step: the database is always either the old or the new file.
bool replace(const QString &from, const QString &to, QString *reason)
{
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
                            std::filesystem::path(to.toStdU16String()), error);
    return !error || fail(reason, QStringLiteral("Die Datei konnte nicht ersetzt werden."));
}

// The permission bits as a file's own, without the current user's flags, which would add the
// owner's bits to the file of another owner.
QFileDevice::Permissions permissionBits(const QString &path)
{
    constexpr QFileDevice::Permissions usersFlags
        = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
    return QFile::permissions(path) & ~usersFlags;
}

// Written whole to the disk before it takes the backup's name, so a failed copy keeps the last
// backup; the copy is no more open than the database from its start. A backup the user has made
// read-only stays as it is.
bool writeBackup(const QString &database, const QString &backup, QString *reason)
{
    const QFileInfo old(backup);
    if (old.exists() && !(old.permissions() & QFile::WriteOwner))
        return fail(reason, QStringLiteral("Die Sicherungskopie ist schreibgeschützt."));
    const QString failed = QStringLiteral("Die Sicherungskopie konnte nicht geschrieben werden.");
    QFile source(database);
    if (!source.open(QIODevice::ReadOnly))
        return fail(reason, failed);
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError || bytes.size() != source.size())
        return fail(reason, failed);
    return FileWrite::replace(backup, bytes, permissionBits(database)) || fail(reason, failed);
}

QString failureText(const QString &database, bool backedUp)
{
    const QString path = QDir::toNativeSeparators(database);
    if (!backedUp) {
        return QStringLiteral("Leider ist bei der Reparatur Ihrer Datenbank ein Fehler "
                              "aufgetreten. Es wurde keine Sicherungskopie angelegt. Ihre "
                              "Datenbank \"%1\" ist unverändert.")
            .arg(path);
    }
    return QStringLiteral(
               "Leider ist bei der Reparatur Ihrer Datenbank ein Fehler aufgetreten. Greifen Sie "
               "auf die erstellte Sicherungskopie unter \"%1\" zurück. Diese kann aber nicht zu "
               "reparierende interne Datenbankfehler beinhalten. Im Notfall löschen Sie die Datei "
               "\"%2\" und starten die Anwendung erneut. Eine leere Datenbank wird dann "
               "automatisch für Sie angelegt.")
        .arg(DatabaseRepair::backupPath(database), path);
}

} // namespace

namespace DatabaseRepair {

QString backupPath(const QString &database)
{
    return sibling(database, ".bak");
}

QString compactionPath(const QString &database)
{
    return sibling(database, ".new");
}

bool run(const Databases::File &database, QString *reason, bool *backedUp)
{
    if (backedUp)
        *backedUp = false;
    // A file still held open would keep the old one alive under the new name's feet.
    Database::closeAll();
    const QString target = compactionPath(database.path);
    if (!writeBackup(database.path, backupPath(database.path), reason))
        return false;
    if (backedUp)
        *backedUp = true;
    // A target left by an earlier failed repair would make every later one fail.
    const QFileInfo left(target);
    if ((left.exists() || left.isSymLink()) && !QFile::remove(target))
        return fail(reason, QStringLiteral("Die alte Zieldatei kann nicht gelöscht werden."));
    QString why;
    const bool done = Database::CompactDatabase(database.path, target, &why)
        && Database::RepairDatabase(target, &why)
        && (Database::holdsTable(target, database.createTable)
            || fail(&why, QStringLiteral("Die Tabelle der Datenbank fehlt oder ist verändert.")))
        && (copyMode(database.path, target)
            || fail(&why, QStringLiteral("Die Dateirechte können nicht übernommen werden.")))
        && replace(target, database.path, &why);
    if (!done) {
        QFile::remove(target);
        return fail(reason, why);
    }
    // Hiding is a name convention here, so this changes nothing and cannot fail.
    FileSystem::SetAttr(database.path, FileSystem::vbHidden | FileSystem::vbArchive);
    return true;
}

void repair(const Databases::File &database)
{
    bool backedUp = false;
    if (run(database, nullptr, &backedUp)) {
        MsgBox(QStringLiteral("Ihre Datenbank wurde erfolgreich repariert und danach komprimiert. "
                              "Dennoch können einzelne Datensätze unwiederbringlich verloren "
                              "sein."),
               vbInformation, QStringLiteral("Reparatur erfolgreich"));
    } else {
        MsgBox(failureText(database.path, backedUp), vbCritical,
               QStringLiteral("Reparatur fehlgeschlagen"));
    }
}

} // namespace DatabaseRepair
