#pragma once
// The calls of the file system that not every file system takes: renames with the flags of
// renameat2 (refused by FUSE passthroughs, CIFS and some network folders), hard links (refused by
// vfat-like folders and CIFS without its unix extensions, or given an inode number of their own by
// some FUSE folders) and the folder lock (which reaches no copy on another machine of a shared
// folder). The save routine reaches them through this table only, so that a test can play such a
// file system on the ordinary one; the program never changes it.

namespace platform {

struct FileSystemCalls
{
    // As ::renameat2 with its flags (RENAME_NOREPLACE, RENAME_EXCHANGE).
    int (*renameWithFlags)(const char* from, const char* to, unsigned int flags);
    // As ::link.
    int (*hardLink)(const char* existing, const char* newName);
    // As ::flock on an open folder.
    int (*lockFolder)(int descriptor, int operation);
};

// The calls in use: the system's own unless a test set others.
const FileSystemCalls& fileSystemCalls();
// The system's own calls.
FileSystemCalls systemFileSystemCalls();

// For the tests: the calls in use from now on. Not for the program.
void setFileSystemCalls(const FileSystemCalls& calls);

} // namespace platform
