#include "platform/Drives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace platform {

int driveTypeOf(const QByteArray& fileSystemType, bool removableDevice)
{
    const QByteArray fs = fileSystemType.toLower();
    if (fs.isEmpty())
        return drive::Unknown;
    static const QByteArray remote[] = {"nfs",   "nfs4",        "cifs",      "smb3",       "smbfs",
                                        "ncpfs", "afs",         "9p",        "fuse.sshfs", "sshfs",
                                        "davfs", "fuse.davfs2", "glusterfs", "ceph"};
    for (const QByteArray& r : remote)
        if (fs == r)
            return drive::Remote;
    if (fs == "iso9660" || fs == "udf")
        return drive::CdRom;
    if (fs == "tmpfs" || fs == "ramfs")
        return drive::RamDisk;
    if (removableDevice)
        return drive::Removable;
    return drive::Fixed;
}

namespace {
// /sys tells whether a block device (or the disk holding a partition) is removable.
bool isRemovable(const QByteArray& device)
{
    if (!device.startsWith("/dev/"))
        return false;
    const QString name = QFileInfo(QString::fromLocal8Bit(device)).fileName();
    QString sys = QStringLiteral("/sys/class/block/") + name;
    if (QFile::exists(sys + QStringLiteral("/partition")))
        sys = QFileInfo(QFileInfo(sys).canonicalFilePath()).path();
    QFile f(sys + QStringLiteral("/removable"));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return f.readAll().trimmed() == "1";
}
} // namespace

int driveType(const QString& path)
{
    QString existing = QDir::cleanPath(path);
    while (!existing.isEmpty() && !QFileInfo::exists(existing)) {
        const QString parent = QFileInfo(existing).path();
        if (parent == existing)
            break;
        existing = parent;
    }
    if (existing.isEmpty() || !QFileInfo::exists(existing))
        return drive::NoRoot;
    const QStorageInfo storage(existing);
    if (!storage.isValid())
        return drive::NoRoot;
    return driveTypeOf(storage.fileSystemType(), isRemovable(storage.device()));
}

} // namespace platform
