// Move-to-top and removal in the recent-files list.
#include "common/RecentFiles.h"

QString RecentFiles::prefix(int slot)
{
    return QStringLiteral("&%1. ").arg(slot + 1);
}

QString RecentFiles::path(int slot) const
{
    return paths.at(slot);
}

void RecentFiles::setPath(int slot, const QString &path)
{
    paths.at(slot) = path;
}

bool RecentFiles::isFilled(int slot) const
{
    return !paths.at(slot).isEmpty();
}

bool RecentFiles::anyFilled() const
{
    for (const QString &p : paths) {
        if (!p.isEmpty())
            return true;
    }
    return false;
}

void RecentFiles::moveToTop(const QString &path)
{
    for (int slot = 0; slot < Count; ++slot) {
        if (paths[slot] == path) {
            moveToTop(slot);
            return;
        }
    }
    // Shifting down skips empty sources, so an empty slot stays empty.
    for (int slot = Count - 1; slot > 0; --slot) {
        if (!paths[slot - 1].isEmpty())
            paths[slot] = paths[slot - 1];
    }
    paths[0] = path;
}

void RecentFiles::moveToTop(int slot)
{
    const QString moved = paths.at(slot);
    for (int j = slot - 1; j >= 0; --j)
        paths[j + 1] = paths[j];
    paths[0] = moved;
}

void RecentFiles::remove(int slot)
{
    for (int j = slot; j < Count - 1; ++j)
        paths[j] = paths[j + 1];
    paths[Count - 1].clear();
}

QString RecentFiles::settingsKey(int slot)
{
    return QStringLiteral("MRU%1").arg(slot);
}
