#include "platform/FolderFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBoundaryFinder>

#ifdef Q_OS_UNIX
#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#else
#include <QDirIterator>
#endif

namespace platform {

// The most bytes a file name takes on the file systems of a data folder.
constexpr qsizetype kMaxFileNameBytes = 255;

QString numberedName(const QString& nom, int k)
{
    const qsizetype dot = nom.lastIndexOf(QLatin1Char('.'));
    QString base = dot < 0 ? nom : nom.left(dot);
    const QString suffix =
        (k < 2 ? QString() : QStringLiteral(" (%1)").arg(k)) + (dot < 0 ? QString() : nom.mid(dot));
    const qsizetype room = kMaxFileNameBytes - suffix.toUtf8().size();
    if (base.toUtf8().size() + suffix.toUtf8().size() <= kMaxFileNameBytes || room <= 0)
        return base + suffix;
    // The name's own part loses its last characters (an accented letter whole) until it fits.
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, base);
    characters.toEnd();
    qsizetype end = base.size();
    while (end > 0 && QStringView(base).first(end).toUtf8().size() > room)
        end = characters.toPreviousBoundary();
    base.truncate(std::max<qsizetype>(end, 0));
    return base + suffix;
}

#ifdef Q_OS_UNIX

namespace {

// File names are UTF-8 on the systems the program runs on. A name that is not (one written by an
// older system in Latin-1, say) would read as another file's name if each byte that cannot be
// read were replaced by U+FFFD; such a byte b is kept as the lone surrogate U+DC00 + b instead,
// which no file name read from a folder holds otherwise (see hasUnreadableBytes).
QString nameOf(const dirent* entry)
{
    const char* bytes = entry->d_name;
    const qsizetype size = qsizetype(std::strlen(bytes));
    QString name = QString::fromUtf8(bytes, size);
    if (!name.contains(QChar::ReplacementCharacter) || name.toUtf8() == QByteArrayView(bytes, size))
        return name;
    name.clear();
    for (qsizetype at = 0; at < size;) {
        // The longest well-formed character at this byte (one to four bytes), if any.
        qsizetype length = 0;
        for (qsizetype n = 1; n <= 4 && at + n <= size && length == 0; ++n) {
            const QByteArrayView piece(bytes + at, n);
            const QString character = QString::fromUtf8(piece);
            if (character.toUtf8() == piece && QStringView(character).toUcs4().size() == 1)
                length = n;
        }
        if (length > 0) {
            name += QString::fromUtf8(bytes + at, length);
            at += length;
        } else {
            name += QChar(char16_t(0xDC00 | quint8(bytes[at])));
            ++at;
        }
    }
    return name;
}

FileStamp stampOf(const struct stat& st)
{
    return {qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1'000'000'000 + qint64(st.st_mtim.tv_nsec)};
}

// Each regular file of the folder and each symbolic link that leads to one, with its stat when
// `stamped` (otherwise a file that the folder entry already says is a regular file is not asked
// about). A link is known as one from the folder entry, or from the entry itself (never followed)
// where the folder does not tell the kind; it is followed only to know what it leads to.
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
        bool link = entry->d_type == DT_LNK;
        const bool askEntry = !link && (stamped || entry->d_type != DT_REG);
        if (askEntry) {
            if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            link = S_ISLNK(st.st_mode);
        }
        if (link && ::fstatat(fd, entry->d_name, &st, 0) != 0)
            continue;
        if ((askEntry || link) && !S_ISREG(st.st_mode))
            continue;
        visit(entry, st, link);
    }
    ::closedir(dir);
}

} // namespace

QList<FolderFile> folderFiles(const QString& folder)
{
    QList<FolderFile> out;
    forEachFile(folder, true, [&](const dirent* entry, const struct stat& st, bool link) {
        out.append({nameOf(entry), stampOf(st), link});
    });
    return out;
}

QStringList folderFileNames(const QString& folder)
{
    QStringList out;
    forEachFile(folder, false, [&](const dirent* entry, const struct stat&, bool) { out << nameOf(entry); });
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
        out.append({it.fileName(), stampOf(it.fileInfo()), it.fileInfo().isSymLink()});
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
