// The four most recently opened or saved files, newest first, and their stored form.
#pragma once

#include <QString>
#include <array>

class RecentFiles
{
public:
    static constexpr int Count = 4;

    // "&1. " to "&4. ": the menu caption's prefix of a slot.
    static QString prefix(int slot);

    QString path(int slot) const;
    void setPath(int slot, const QString &path);
    bool isFilled(int slot) const;
    bool anyFilled() const;

    // Moves a path to slot 0 (exact, case-sensitive match), inserting it when it is new.
    void moveToTop(const QString &path);
    // Moves the path of a slot to slot 0; the slots after it keep their entries.
    void moveToTop(int slot);
    // Removes a slot; the later entries move up.
    void remove(int slot);

    // The settings key of a slot: MRU0 to MRU3.
    static QString settingsKey(int slot);

private:
    std::array<QString, Count> paths;
};
