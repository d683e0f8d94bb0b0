#include "platform/FolderFiles.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#else
#include <QDirIterator>
#endif

namespace platform {

#ifdef Q_OS_UNIX

namespace {

// File names are UTF-8 on the systems the program runs on.
QString nameOf(const dirent* entry)
{
    return QString::fromUtf8(entry->d_name, qsizetype(std::strlen(entry->d_name)));
}

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
        out.append({nameOf(entry), stampOf(st)});
    }
    ::closedir(dir);
    return out;
}

QStringList folderFileNames(const QString& folder)
{
    QStringList out;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return out;
    const int fd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_type == DT_DIR)
            continue;
        struct stat st;
        if (entry->d_type != DT_REG && (::fstatat(fd, entry->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode)))
            continue;
        out << nameOf(entry);
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

QStringList folderFileNames(const QString& folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden);
    while (it.hasNext()) {
        it.next();
        out << it.fileName();
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
