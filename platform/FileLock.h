#pragma once
// The lock that two running copies of the program take before they read, change and write back
// a file they share (the settings store, the export log): a lock file beside it. The copy that
// holds the lock reads the file as it is on disk, applies only its own change and writes it
// back; the other copy waits meanwhile. A lock left by a copy that stopped while writing is taken
// over once it is old enough.

#include "platform/Result.h"

#include <QLockFile>
#include <QString>

namespace platform {

class FileLock
{
public:
    // lockFile: the lock's own path; file: the file it guards, named in a failure's reason.
    FileLock(const QString& lockFile, const QString& file);
    ~FileLock(); // releases the lock when it is held

    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits for the lock. A failure says, as a failed write of the guarded file, why it cannot be
    // had: another copy keeps it, or the folder takes no lock file.
    Result lock();

private:
    Result failure() const;

    QLockFile m_lock;
    QString m_file;
};

} // namespace platform
