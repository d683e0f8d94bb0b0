#pragma once
// The lock that two running copies of the program take before they read, change and write back
// a file they share (the settings store, the export log): a lock file beside it. The copy that
// holds the lock reads the file as it is on disk, applies only its own change and writes it
// back; the other copy waits meanwhile. A lock left by a copy that stopped while writing is taken
// over once it is old enough.
//
// A lock that cannot be had (a lock file of junk, or read-only, that its age does not yet let a
// copy take over; a copy that does not let go) costs one wait in a run of the program, not one
// per file or per write: after an attempt at a lock file failed, the later attempts of the run at
// the same lock file try once and do not wait, until one of them takes it. The run is thus, for
// each user: for the settings store, every write while the program runs; for the export log, the
// start-up compaction and every export after it; for the data folder's lock, every conversion and
// import pass of the record list. A later failure because the lock is still held says so in
// short (the reason was given with the wait; other reasons cost no wait and are given again), and
// failedAsBefore() tells a repeated failure to the users that go on without the lock, which have
// nothing new to say. What each user does without the lock is said beside it.

#include "platform/Result.h"

#include <QLockFile>
#include <QString>

#include <chrono>

namespace platform {

class FileLock
{
public:
    // lockFile: the lock's own path; file: the file it guards, named in a failure's reason.
    FileLock(const QString& lockFile, const QString& file);
    ~FileLock(); // releases the lock when it is held

    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits for the lock (5 s at most), or tries once when an earlier attempt of the run at the
    // same lock file failed. A failure says, as a failed write of the guarded file, why it cannot
    // be had: another copy keeps it (or, after such a failure, still keeps it), or the folder takes
    // no lock file.
    Result lock();
    // The last lock() failed for the reason the last attempt of the run at the same lock file
    // failed.
    bool failedAsBefore() const { return m_failedAsBefore; }

private:
    Result attempt(std::chrono::milliseconds wait, bool& waitedInVain);
    Result failure() const;

    QLockFile m_lock;
    QString m_file;
    bool m_failedAsBefore = false;
};

// For tests: while one lives, an attempt at a lock waits `wait` at most instead of 5 s, and the
// attempts that waited it out in vain are counted. One at a time.
class LockWaitProbe
{
public:
    explicit LockWaitProbe(std::chrono::milliseconds wait);
    ~LockWaitProbe();
    LockWaitProbe(const LockWaitProbe&) = delete;
    LockWaitProbe& operator=(const LockWaitProbe&) = delete;

    int waitsInVain() const;

private:
    friend class FileLock;
    std::chrono::milliseconds m_wait;
    int m_waitsInVain = 0;
};

} // namespace platform
