#include "platform/FolderFiles.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#else
#include <QDirIterator>
#endif

namespace platform {

#ifdef Q_OS_UNIX

namespace {

FileStamp stampOf(const struct stat& st)
{
    return {qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1'000'000'000 + qint64(st.st_mtim.tv_nsec)};
}

} // namespace

QList<FolderFile> folderFiles(const QString& folder)
{
    QList<FolderFile> out;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return out;
    const int fd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        // Sub-folders are passed over without asking about them; the other kinds need a look.
        if (entry->d_type == DT_DIR)
            continue;
        struct stat st;
        if (::fstatat(fd, entry->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode))
            continue;
        out.append({QFile::decodeName(entry->d_name), stampOf(st)});
    }
    ::closedir(dir);
    return out;
}

FileStamp fileStamp(const QString& path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    return stampOf(st);
}

#else

namespace {

FileStamp stampOf(const QFileInfo& info)
{
    return {info.size(), info.lastModified().toMSecsSinceEpoch() * 1'000'000};
}

} // namespace

QList<FolderFile> folderFiles(const QString& folder)
{
    QList<FolderFile> out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden);
    while (it.hasNext()) {
        it.next();
        out.append({it.fileName(), stampOf(it.fileInfo())});
    }
    return out;
}

FileStamp fileStamp(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() ? stampOf(info) : FileStamp();
}

#endif

} // namespace platform
