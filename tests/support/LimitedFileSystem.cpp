#include "tests/support/LimitedFileSystem.h"

#include "platform/FileSystemCalls.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testing_support {

namespace {

int g_limits = 0;

int renameWithFlags(const char* from, const char* to, unsigned int flags)
{
    if (flags != 0 && (g_limits & NoRenameFlags)) {
        errno = EINVAL;
        return -1;
    }
    return platform::systemFileSystemCalls().renameWithFlags(from, to, flags);
}

// A copy of the file with its mode and times, as a file system that gives every name an inode of
// its own shows a link.
int copyAsLink(const char* existing, const char* newName)
{
    struct stat st;
    if (::lstat(newName, &st) == 0) {
        errno = EEXIST;
        return -1;
    }
    if (::stat(existing, &st) != 0)
        return -1;
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (!QFile::copy(QFile::decodeName(existing), QFile::decodeName(newName)) ||
        ::chmod(newName, st.st_mode & 07777) != 0 || ::utimensat(AT_FDCWD, newName, times, 0) != 0) {
        errno = EIO;
        return -1;
    }
    return 0;
}

int hardLink(const char* existing, const char* newName)
{
    if (g_limits & NoHardLinks) {
        errno = EPERM;
        return -1;
    }
    if (g_limits & LinksTakeNewInodes)
        return copyAsLink(existing, newName);
    return platform::systemFileSystemCalls().hardLink(existing, newName);
}

int lockFolder(int descriptor, int operation)
{
    if (g_limits & NoFolderLock)
        return 0;
    return platform::systemFileSystemCalls().lockFolder(descriptor, operation);
}

} // namespace

LimitedFileSystem::LimitedFileSystem(int limits)
{
    g_limits = limits;
    platform::setFileSystemCalls({renameWithFlags, hardLink, lockFolder});
}

LimitedFileSystem::~LimitedFileSystem()
{
    g_limits = 0;
    platform::setFileSystemCalls(platform::systemFileSystemCalls());
}

int LimitedFileSystem::fromEnvironment()
{
    const char* text = std::getenv(kEnvironmentVariable);
    return text ? std::atoi(text) : 0;
}

} // namespace testing_support
