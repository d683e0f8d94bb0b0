#pragma once
// The kind of storage a folder lies on, numbered as the Windows drive types the program was
// written with: 0 unknown, 1 no such folder, 2 removable, 3 fixed disk, 4 network, 5 CD-ROM,
// 6 RAM disk.

#include <QByteArray>
#include <QString>

namespace platform {

namespace drive {
inline constexpr int Unknown = 0;
inline constexpr int NoRoot = 1;
inline constexpr int Removable = 2;
inline constexpr int Fixed = 3;
inline constexpr int Remote = 4;
inline constexpr int CdRom = 5;
inline constexpr int RamDisk = 6;
} // namespace drive

// The drive type of a file system by its type name ("ext4", "nfs4", "iso9660", "tmpfs"...) and
// whether its device is removable.
int driveTypeOf(const QByteArray& fileSystemType, bool removableDevice);
// The drive type of the storage that holds the path.
int driveType(const QString& path);

} // namespace platform
