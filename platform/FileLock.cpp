#include "platform/FileLock.h"

#include "platform/PlainFile.h"
#include "platform/SaveFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QStorageInfo>
#include <QTemporaryFile>
#include <QThread>

#include <cerrno>
#include <chrono>
#include <mutex>
#include <optional>
#include <unistd.h>

namespace platform {

namespace {

// A copy waits this long for another copy of the program to finish its own write; a lock older
// than the stale time was left by a copy that stopped while writing.
constexpr std::chrono::milliseconds kLockWait{5000};
constexpr std::chrono::milliseconds kStaleLock{15000};
constexpr std::chrono::milliseconds kRetry{2};

// The largest lock file taken as one: a lock holds a few lines naming the copy that made it.
constexpr qint64 kMaxLockBytes = 64 * 1024;

// The system's error in writing a lock's few lines in the folder, found by writing them: the lock
// itself does not keep it (a full disk, a quota).
int writeProblem(const QString& folder)
{
    QTemporaryFile probe(folder + QStringLiteral("/.mirelot-XXXXXX"));
    errno = 0;
    if (!probe.open())
        return errno ? errno : EIO;
    const QByteArray lines(256, 'x');
    errno = 0;
    if (probe.write(lines) != lines.size() || !probe.flush() || ::fsync(probe.handle()) != 0)
        return errno ? errno : EIO;
    return EIO;
}

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
    return fileErrorReason(writeProblem(folder));
}

// Why the file under the lock's name cannot be a lock: a link or a FIFO there would be followed
// or waited on when a copy reads whether the lock is stale.
QString notALockReason(const QString& lockFile)
{
    QString why = notPlainFileReason(lockFile);
    if (why.isEmpty() && QFileInfo(lockFile).size() > kMaxLockBytes)
        why = QStringLiteral("il est trop grand pour un verrou");
    if (why.isEmpty())
        return why;
    return QStringLiteral("son verrou « %1 » ne peut pas être utilisé : %2")
        .arg(QDir::toNativeSeparators(lockFile), why);
}

// What this copy remembers of its locks for the rest of its run (see the header).
struct Memory
{
    std::mutex mutex;
    QHash<QString, QString> failed; // a lock file that could not be had: the reason given last
    LockWaitProbe* probe = nullptr;
};

Memory& memory()
{
    static Memory m;
    return m;
}

} // namespace

FileLock::FileLock(const QString& lockFile, const QString& file) : m_lock(lockFile), m_file(file)
{
    m_lock.setStaleLockTime(kStaleLock);
}

FileLock::~FileLock() = default; // QLockFile releases what it holds

Result FileLock::lock()
{
    const QString key = QFileInfo(m_lock.fileName()).absoluteFilePath();
    Memory& m = memory();
    std::optional<QString> before;
    std::chrono::milliseconds wait = kLockWait;
    {
        const std::lock_guard guard(m.mutex);
        if (const auto found = m.failed.constFind(key); found != m.failed.cend())
            before = *found;
        if (m.probe)
            wait = m.probe->m_wait;
    }
    bool waitedInVain = false;
    const Result r = attempt(before ? std::chrono::milliseconds(0) : wait, waitedInVain);
    const std::lock_guard guard(m.mutex);
    m_failedAsBefore = !r && before == r.error;
    if (r)
        m.failed.remove(key);
    else
        m.failed.insert(key, r.error);
    if (waitedInVain && m.probe)
        ++m.probe->m_waitsInVain;
    if (m_failedAsBefore && m_lock.error() == QLockFile::LockFailedError)
        return Result::failure(writeFailureText(
            m_file,
            QStringLiteral("son verrou ne peut toujours pas être pris, pour la raison déjà indiquée")));
    return r;
}

Result FileLock::attempt(std::chrono::milliseconds wait, bool& waitedInVain)
{
    // Tried again every few milliseconds: another copy holds the lock only while it rewrites the
    // file.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (const QString why = notALockReason(m_lock.fileName()); !why.isEmpty())
            return Result::failure(writeFailureText(m_file, why));
        if (m_lock.tryLock(0))
            break;
        if (m_lock.error() != QLockFile::LockFailedError)
            return failure();
        if (waited.elapsed() >= wait.count()) {
            waitedInVain = wait.count() > 0;
            return failure();
        }
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

LockWaitProbe::LockWaitProbe(std::chrono::milliseconds wait) : m_wait(wait)
{
    const std::lock_guard guard(memory().mutex);
    memory().probe = this;
}

LockWaitProbe::~LockWaitProbe()
{
    const std::lock_guard guard(memory().mutex);
    memory().probe = nullptr;
}

int LockWaitProbe::waitsInVain() const
{
    const std::lock_guard guard(memory().mutex);
    return m_waitsInVain;
}

} // namespace platform
