#include "platform/FileSystemCalls.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {

int systemRename(const char* from, const char* to, unsigned int flags)
{
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, flags);
}

FileSystemCalls& callsInUse()
{
    static FileSystemCalls calls = systemFileSystemCalls();
    return calls;
}

} // namespace

FileSystemCalls systemFileSystemCalls() { return {systemRename, ::link, ::flock}; }

const FileSystemCalls& fileSystemCalls() { return callsInUse(); }

void setFileSystemCalls(const FileSystemCalls& calls) { callsInUse() = calls; }

} // namespace platform
