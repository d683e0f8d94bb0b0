#pragma once
// What a copy of the program killed midway leaves behind, removed at the next start: its
// temporary folders (TemporaryFolder.h) and the temporary files of its saves (SaveFile.h). Both
// are named with a prefix of the program's and six letters or digits, and are locked (flock)
// while in use: the system releases the lock when the program ends, however it ends. An entry is
// removed only when it is the program's by its name, is this user's, is not a link, its lock is
// free, and it has not changed for a while (a copy making it at that moment may not have locked
// it yet). Nothing else is ever touched.

#include <QDir>
#include <QString>
#include <chrono>
#include <functional>

namespace platform::leftovers {

// What lockOf returns besides the descriptor of a lock taken.
inline constexpr int kHeld = -1;   // a running copy holds the entry's lock
inline constexpr int kNoLock = -2; // the entry has no lock to take (killed before it made one)

struct Kind
{
    QString prefix;        // the names begin with it, then six letters or digits
    QDir::Filters entries; // QDir::Dirs or QDir::Files
    // Takes the entry's lock without waiting: its descriptor, kHeld or kNoLock.
    std::function<int(const QString& path)> lockOf;
    // Removes the entry, its lock (a descriptor, or kNoLock) held; false when it could not.
    std::function<bool(const QString& path, int lock)> remove;
};

// Removes the leftovers of that kind from the folder; returns how many.
int removeFrom(const QString& folder, const Kind& kind, std::chrono::seconds settling);

// An exclusive lock on an open file, taken without waiting: false when another holds it.
bool lockNow(int descriptor);

} // namespace platform::leftovers
