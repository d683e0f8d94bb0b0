#pragma once
// The file systems beyond the ordinary one, played on it for the tests of the save routine: FUSE
// passthroughs, CIFS and network folders refuse the flags of renameat2; vfat-like folders and CIFS
// without its unix extensions refuse hard links, and some FUSE folders give a hard link an inode
// number of its own; the folder lock reaches no copy on another machine of a shared folder.

#include <QString>

namespace testing_support {

enum FileSystemLimit : int {
    NoRenameFlags = 1,      // renameat2 with a flag fails with EINVAL
    NoHardLinks = 2,        // link fails with EPERM
    LinksTakeNewInodes = 4, // link makes a copy of the file, with its mode and times, under a new inode
    NoFolderLock = 8,       // the folder lock is said taken and holds nothing
};

// The limits in effect while the object lives (a combination of FileSystemLimit).
class LimitedFileSystem
{
public:
    explicit LimitedFileSystem(int limits);
    ~LimitedFileSystem();
    LimitedFileSystem(const LimitedFileSystem&) = delete;
    LimitedFileSystem& operator=(const LimitedFileSystem&) = delete;

    // The limits a helper copy takes from its environment (kEnvironmentVariable, a number).
    static int fromEnvironment();
    static constexpr const char* kEnvironmentVariable = "MIRELOT_TEST_FILE_SYSTEM";
};

} // namespace testing_support
