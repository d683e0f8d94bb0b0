#include "platform/TemporaryFolder.h"

#include "platform/Leftovers.h"
#include "platform/SaveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

const QString kLockName = QStringLiteral(".en-cours");

QString lockPath(const QString& folder) { return folder + QLatin1Char('/') + kLockName; }

// The lock of a folder, held by this process until the descriptor is closed (or the process
// ends); -1 when another copy holds it or the lock file cannot be opened. The descriptor is not
// handed down to the programs the program starts: a mail client left running must not keep the
// folder.
int takeLock(const QString& folder, bool create)
{
    const int fd = ::open(QFile::encodeName(lockPath(folder)).constData(),
                          O_RDWR | O_CLOEXEC | (create ? O_CREAT | O_EXCL : 0), 0600);
    if (fd < 0)
        return -1;
    if (!leftovers::lockNow(fd)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

TemporaryFolder::TemporaryFolder() : TemporaryFolder(QDir::tempPath()) {}

TemporaryFolder::TemporaryFolder(const QString& parent)
{
    QByteArray name =
        QFile::encodeName(QDir(parent).filePath(kTemporaryFolderPrefix + QStringLiteral("XXXXXX")));
    errno = 0;
    if (!::mkdtemp(name.data())) {
        m_error = fileErrorReason(errno);
        return;
    }
    const QString made = QFile::decodeName(name);
    errno = 0;
    m_lock = takeLock(made, true);
    if (m_lock < 0) {
        m_error = fileErrorReason(errno);
        QDir(made).removeRecursively();
        return;
    }
    m_path = made;
}

TemporaryFolder::~TemporaryFolder()
{
    if (m_path.isEmpty())
        return;
    // Removed while still locked, so that no other copy takes it for a leftover half removed.
    QDir(m_path).removeRecursively();
    ::close(m_lock);
}

QString TemporaryFolder::filePath(const QString& name) const { return m_path + QLatin1Char('/') + name; }

int removeLeftoverTemporaryFolders() { return removeLeftoverTemporaryFolders(QDir::tempPath()); }

int removeLeftoverTemporaryFolders(const QString& parent, std::chrono::seconds settling)
{
    const leftovers::Kind folders{
        kTemporaryFolderPrefix, QDir::Dirs,
        [](const QString& folder) {
            if (!QFileInfo::exists(lockPath(folder)))
                return leftovers::kNoLock;
            const int lock = takeLock(folder, false);
            return lock < 0 ? leftovers::kHeld : lock;
        },
        // Removed with its lock held, so that no other copy takes it for a leftover half removed.
        [](const QString& folder, int) { return QDir(folder).removeRecursively(); }};
    return leftovers::removeFrom(parent, folders, settling);
}

} // namespace platform
