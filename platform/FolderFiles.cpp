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

// Each plain file of the folder, with its stat when `stamped` (otherwise a file that the folder
// entry already says is a plain file is not asked about).
template <typename Visit> void forEachFile(const QString& folder, bool stamped, Visit visit)
{
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return;
    const int fd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        // Sub-folders are passed over without asking about them; the other kinds need a look.
        if (entry->d_type == DT_DIR)
            continue;
        struct stat st = {};
        const bool look = stamped || entry->d_type != DT_REG;
        if (look && (::fstatat(fd, entry->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode)))
            continue;
        visit(entry, st);
    }
    ::closedir(dir);
}

} // namespace

QList<FolderFile> folderFiles(const QString& folder)
{
    QList<FolderFile> out;
    forEachFile(folder, true, [&](const dirent* entry, const struct stat& st) {
        out.append({nameOf(entry), stampOf(st)});
    });
    return out;
}

QStringList folderFileNames(const QString& folder)
{
    QStringList out;
    forEachFile(folder, false, [&](const dirent* entry, const struct stat&) { out << nameOf(entry); });
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
