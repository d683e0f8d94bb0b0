#include "tests/support/LimitedFileSystem.h"

#include "platform/FileSystemCalls.h"

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

// A copy of the file, as a file system that gives every name an inode of its own shows a link.
int copyAsLink(const char* existing, const char* newName)
{
    const int in = ::open(existing, O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return -1;
    struct stat st;
    const int out = ::fstat(in, &st) == 0
                        ? ::open(newName, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777)
                        : -1;
    bool ok = out >= 0;
    char block[65536];
    for (ssize_t n; ok && (n = ::read(in, block, sizeof block)) != 0;)
        ok = n > 0 && ::write(out, block, size_t(n)) == n;
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ok = ok && ::fchmod(out, st.st_mode & 07777) == 0 && ::futimens(out, times) == 0;
    const int saved = errno;
    ::close(in);
    if (out >= 0)
        ::close(out);
    if (!ok && out >= 0)
        ::unlink(newName);
    errno = saved;
    return ok ? 0 : -1;
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
