// A lock on a folder that every Velmar honours, held by the process until it lets go or ends.
#pragma once

#include <QString>

class FolderLock
{
public:
    enum class Kind { Shared, Exclusive };
    enum class Wait { UntilFree, No };

    FolderLock() = default;
    // Held when taken; without waiting, not held while another process holds a lock that
    // excludes it.
    FolderLock(const QString &folder, Kind kind, Wait wait);
    ~FolderLock();
    FolderLock(FolderLock &&other) noexcept;
    FolderLock &operator=(FolderLock &&other) noexcept;
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    bool held() const { return handle >= 0; }

private:
    int handle = -1;
};
