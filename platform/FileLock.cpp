#include "platform/FileLock.h"

#include "platform/SaveFile.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QStorageInfo>
#include <QThread>

#include <cerrno>
#include <chrono>

namespace platform {

namespace {

// A copy waits this long for another copy of the program to finish its own write; a lock older
// than the stale time was left by a copy that stopped while writing.
constexpr std::chrono::milliseconds kLockWait{5000};
constexpr std::chrono::milliseconds kStaleLock{15000};
constexpr std::chrono::milliseconds kRetry{2};

// Why the lock could not be made in the folder.
QString lockFailureReason(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return fileErrorReason(ENOENT);
    if (QStorageInfo(folder).isReadOnly())
        return fileErrorReason(EROFS);
    if (!info.isWritable())
        return fileErrorReason(EACCES);
    return fileErrorReason(EIO);
}

} // namespace

FileLock::FileLock(const QString& lockFile, const QString& file) : m_lock(lockFile), m_file(file)
{
    m_lock.setStaleLockTime(kStaleLock);
}

FileLock::~FileLock() = default; // QLockFile releases what it holds

Result FileLock::lock()
{
    // Tried again every few milliseconds: another copy holds the lock only while it rewrites the
    // file.
    QElapsedTimer waited;
    waited.start();
    while (!m_lock.tryLock(0)) {
        if (m_lock.error() != QLockFile::LockFailedError || waited.elapsed() >= kLockWait.count())
            return failure();
        QThread::msleep(kRetry.count());
    }
    return Result::success();
}

Result FileLock::failure() const
{
    return Result::failure(
        writeFailureText(m_file, m_lock.error() == QLockFile::LockFailedError
                                     ? QStringLiteral("une autre copie de Mirelot ne le libère pas")
                                     : lockFailureReason(QFileInfo(m_file).absolutePath())));
}

} // namespace platform
