#include "platform/SaveFile.h"

#include "platform/FolderFiles.h"
#include "platform/Leftovers.h"
#include "platform/PlainFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStorageInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace platform {

namespace {

// The temporary file of a save, hidden in the target's folder: its name is short whatever the
// target's, so that any name the file system takes can be written and written again, and the
// rename that puts it in place stays on one file system. It is locked while the save writes it, so
// that the next start of the program can tell it from one that a copy killed midway left.
const QString kTemporaryPrefix = QStringLiteral(".mirelot-");
const QString kTemporaryName = QLatin1Char('/') + kTemporaryPrefix + QStringLiteral("XXXXXX");

// Opens the temporary file and locks it (a file system without locks leaves it unlocked: the
// start-up leaves alone a file changed in the last minute).
bool openLocked(QTemporaryFile& out)
{
    if (!out.open())
        return false;
    static_cast<void>(leftovers::lockNow(out.handle()));
    return true;
}

// The permissions a new file gets from the user's file-creation mask. The temporary file is
// created private (0600); a new file should look like any other the user makes.
QFileDevice::Permissions usualPermissions()
{
    static const QFileDevice::Permissions perms = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        const mode_t mode = 0666 & ~mask;
        QFileDevice::Permissions p;
        if (mode & S_IRUSR)
            p |= QFileDevice::ReadOwner | QFileDevice::ReadUser;
        if (mode & S_IWUSR)
            p |= QFileDevice::WriteOwner | QFileDevice::WriteUser;
        if (mode & S_IRGRP)
            p |= QFileDevice::ReadGroup;
        if (mode & S_IWGRP)
            p |= QFileDevice::WriteGroup;
        if (mode & S_IROTH)
            p |= QFileDevice::ReadOther;
        if (mode & S_IWOTH)
            p |= QFileDevice::WriteOther;
        return p;
    }();
    return perms;
}

// Why the target's folder cannot take the file, judged before writing (errno is not always kept
// by the time a temporary file reports an open failure).
int folderProblem(const QString& path)
{
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (!folder.exists())
        return ENOENT;
    if (!folder.isDir())
        return ENOTDIR;
    if (QStorageInfo(folder.absoluteFilePath()).isReadOnly())
        return EROFS;
    if (!folder.isWritable())
        return EACCES;
    // A file that another copy replaces or sets aside at this moment is not a refused one.
    if (::access(QFile::encodeName(target.filePath()).constData(), W_OK) != 0 && errno == EACCES)
        return EACCES;
    return 0;
}

Result failure(const QString& path, int errorNumber, const QString& why = QString())
{
    return Result::failure(writeFailureText(path, why.isEmpty() ? fileErrorReason(errorNumber) : why));
}

FileVersion versionOf(const struct stat& st)
{
    FileVersion s;
    s.device = quint64(st.st_dev);
    s.inode = quint64(st.st_ino);
    s.size = qint64(st.st_size);
    s.modifiedNs = qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    return s;
}

// The inode's generation: a number the file system gives each new inode, so that a file made
// with the number of one removed meanwhile is told from it. 0 where the file system has none.
quint32 generationOf(int handle)
{
    unsigned int generation = 0;
    return ::ioctl(handle, FS_IOC_GETVERSION, &generation) == 0 ? generation : 0;
}

// The folder of the record files locked while a copy trades a file's name and checks what it
// took out, so that two copies of the program never interleave these steps (a lock taken with
// flock on the folder itself: no file is added). Not taken within a second (a copy stopped
// midway, a file system without locks): the steps go on without it, each still checking every
// file it holds before it removes one.
class FolderLock
{
public:
    explicit FolderLock(const QString& folder)
        : m_fd(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (m_fd < 0)
            return;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        for (;;) {
            if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
                return;
            if (errno != EWOULDBLOCK && errno != EINTR)
                break;
            if (std::chrono::steady_clock::now() > until)
                break;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        ::close(m_fd);
        m_fd = -1;
    }
    ~FolderLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // the lock goes with the descriptor
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int m_fd = -1;
};

// Writes the bytes whole into the temporary file, on disk when it returns; false, errno set, when
// it cannot.
bool writeSynced(QTemporaryFile& out, const QByteArray& bytes)
{
    errno = 0;
    return out.write(bytes) == bytes.size() && out.flush() && out.error() == QFileDevice::NoError &&
           ::fsync(out.handle()) == 0;
}

int exchangeNames(const QString& a, const QString& b)
{
    return ::renameat2(AT_FDCWD, QFile::encodeName(a).constData(), AT_FDCWD, QFile::encodeName(b).constData(),
                       RENAME_EXCHANGE) == 0
               ? 0
               : errno;
}

// A version of the file that could not be put back under its name (a third program took the name
// meanwhile): kept beside it under the name followed by " (2)", " (3)"..., never removed.
QString keepBeside(const QString& hidden, const QString& path)
{
    const QFileInfo f(path);
    for (int k = 2; k < 100; ++k) {
        const QString candidate = f.absolutePath() + QLatin1Char('/') + numberedName(f.fileName(), k);
        const int err = renameWithoutReplacing(hidden, candidate);
        if (err == 0)
            return candidate;
        if (err != EEXIST)
            break;
    }
    return QString();
}

// Puts a version taken out of its name back under it; when the name was taken meanwhile, beside it.
GuardedResult putBack(const QString& hidden, const QString& path, const FileVersion& found)
{
    if (renameWithoutReplacing(hidden, path) == 0)
        return {GuardedResult::Changed, Result::success(), found};
    QString kept = keepBeside(hidden, path);
    if (kept.isEmpty())
        kept = hidden;
    return {GuardedResult::Failed,
            Result::failure(writeFailureText(
                path, QStringLiteral(
                          "une autre version de ce fichier, écrite au même moment, est conservée sous « %1 »")
                          .arg(QDir::toNativeSeparators(kept)))),
            found};
}

} // namespace

int renameWithoutReplacing(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // A file system without such renames: a second name, refused in the same way, then the
    // first name goes.
    if (::link(source.constData(), target.constData()) != 0)
        return errno;
    ::unlink(source.constData());
    return 0;
}

QString fileErrorReason(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("le disque est plein");
    case EACCES:
    case EPERM:
        return QStringLiteral("l'accès est refusé");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("le dossier n'existe pas");
    case EROFS:
        return QStringLiteral("le système de fichiers est en lecture seule");
    case EEXIST:
        return QStringLiteral("un fichier de ce nom existe déjà");
    case ENAMETOOLONG:
        return QStringLiteral("le nom est trop long");
    default:
        return QStringLiteral("une erreur du système de fichiers s'est produite");
    }
}

QString writeFailureText(const QString& path, const QString& reason)
{
    return QStringLiteral("Le fichier « %1 » ne peut pas être écrit : %2.")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString readFailureText(const QString& path, const QString& reason)
{
    return QStringLiteral("Le fichier « %1 » ne peut pas être lu : %2.")
        .arg(QDir::toNativeSeparators(path), reason);
}

Result saveFile(const QString& path, const ContentWriter& writer)
{
    // A link is neither written through (its file may be anywhere) nor replaced by a file; nor is
    // a folder, a FIFO or a device.
    if (const QString why = notPlainFileReason(path); !why.isEmpty())
        return failure(path, 0, why);
    const QFileInfo target(path);
    if (const int problem = folderProblem(target.filePath()))
        return failure(path, problem);
    const bool isNew = !target.exists();

    QTemporaryFile out(target.absolutePath() + kTemporaryName);
    errno = 0;
    if (!openLocked(out))
        return failure(path, errno);

    // On any failure the temporary file goes with out, and the target is untouched.
    errno = 0;
    if (const Result written = writer(out); !written)
        return failure(path, errno, written.error);
    errno = 0;
    if (!out.flush() || out.error() != QFileDevice::NoError || ::fsync(out.handle()) != 0)
        return failure(path, errno);
    out.setPermissions(isNew ? usualPermissions() : target.permissions());

    errno = 0;
    if (::rename(QFile::encodeName(out.fileName()).constData(),
                 QFile::encodeName(target.filePath()).constData()) != 0)
        return failure(path, errno);
    out.setAutoRemove(false);
    return Result::success();
}

Result saveFile(const QString& path, const QByteArray& bytes)
{
    return saveFile(path, [&bytes](QIODevice& out) {
        return out.write(bytes) == bytes.size() ? Result::success() : Result::failure(QString());
    });
}

Result saveFileFrom(const QString& path, const QString& source)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return Result::failure(
            writeFailureText(path, QStringLiteral("le fichier provisoire ne peut pas être relu")));
    return saveFile(path, [&in](QIODevice& out) {
        QByteArray block(1 << 20, Qt::Uninitialized);
        for (;;) {
            const qint64 n = in.read(block.data(), block.size());
            if (n < 0)
                return Result::failure(QStringLiteral("le fichier provisoire ne peut pas être relu"));
            if (n == 0)
                return Result::success();
            if (out.write(block.constData(), n) != n)
                return Result::failure(QString()); // the system's error says why
        }
    });
}

FileVersion fileVersion(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::lstat(name.constData(), &st) != 0)
        return FileVersion();
    FileVersion v = versionOf(st);
    if (S_ISREG(st.st_mode)) {
        // The generation needs the file open; a file that cannot be opened (no read permission)
        // is told by the rest.
        const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd >= 0) {
            struct stat opened;
            if (::fstat(fd, &opened) == 0 && opened.st_dev == st.st_dev && opened.st_ino == st.st_ino)
                v.generation = generationOf(fd);
            ::close(fd);
        }
    }
    return v;
}

GuardedResult replaceFile(const QString& path, const QByteArray& bytes, const FileVersion& expected)
{
    const auto failed = [&path](int err) {
        return GuardedResult{GuardedResult::Failed, failure(path, err), {}};
    };
    struct stat replaced;
    if (::lstat(QFile::encodeName(path).constData(), &replaced) != 0)
        return {GuardedResult::Gone, Result::success(), {}};
    if (const int problem = folderProblem(path))
        return failed(problem);
    const QFileInfo target(path);
    QTemporaryFile out(target.absolutePath() + kTemporaryName);
    errno = 0;
    if (!openLocked(out))
        return failed(errno);
    if (!writeSynced(out, bytes))
        return failed(errno); // the temporary file goes with out
    // The permissions of the file it replaces, as seen above: one that goes away meanwhile leaves
    // the new file none to take.
    if (::fchmod(out.handle(), replaced.st_mode & 07777) != 0)
        return failed(errno);
    const QString hidden = out.fileName();
    // Taken by name, as every version it is compared with (the name is this copy's alone until
    // the trade below).
    const FileVersion written = fileVersion(hidden);

    const FolderLock lock(target.absolutePath());
    // One step: the new content takes the name, the former file takes the temporary name, where
    // no other program looks for it.
    if (const int err = exchangeNames(hidden, path); err != 0) {
        if (err == ENOENT && !fileVersion(path).exists())
            return {GuardedResult::Gone, Result::success(), {}};
        if (err != EINVAL && err != ENOSYS)
            return failed(err);
        // A file system that cannot trade names: checked, then replaced.
        if (const FileVersion found = fileVersion(path); !(found == expected))
            return {found.exists() ? GuardedResult::Changed : GuardedResult::Gone, Result::success(), found};
        errno = 0;
        if (::rename(QFile::encodeName(hidden).constData(), QFile::encodeName(path).constData()) != 0)
            return failed(errno);
        out.setAutoRemove(false);
        return {GuardedResult::Done, Result::success(), written};
    }
    // From here the temporary name may hold another program's file: it is removed only once
    // checked, never by the temporary file's own clean-up.
    out.setAutoRemove(false);
    const FileVersion found = fileVersion(hidden);
    if (found == expected) {
        ::unlink(QFile::encodeName(hidden).constData()); // the version this copy meant to replace
        return {GuardedResult::Done, Result::success(), written};
    }
    // Another version came in between: it gets its name back, and ours goes. What comes back
    // is checked: when another program traded names with the file in between (without the lock),
    // it is that program's file, and the trade is made again until ours comes back.
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (exchangeNames(hidden, path) != 0)
            break; // the name went away in between (our content with it)
        if (fileVersion(hidden) == written) {
            ::unlink(QFile::encodeName(hidden).constData());
            return {GuardedResult::Changed, Result::success(), found};
        }
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    // What this copy holds is not its own: it is put back under the name, or kept beside it.
    return putBack(hidden, path, found);
}

GuardedResult removeFile(const QString& path, const FileVersion& expected)
{
    const QString folder = QFileInfo(path).absolutePath();
    const FolderLock lock(folder);
    QString hidden;
    int err = EEXIST;
    for (int attempt = 0; attempt < 20 && err == EEXIST; ++attempt) {
        hidden = folder + kTemporaryName;
        hidden.chop(6);
        static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        for (int k = 0; k < 6; ++k)
            hidden += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
        err = renameWithoutReplacing(path, hidden);
    }
    if (err == ENOENT)
        return {GuardedResult::Gone, Result::success(), {}};
    if (err != 0)
        return {GuardedResult::Failed,
                Result::failure(QStringLiteral("Le fichier « %1 » ne peut pas être supprimé : %2.")
                                    .arg(QDir::toNativeSeparators(path), fileErrorReason(err))),
                {}};
    const FileVersion found = fileVersion(hidden);
    if (found == expected) {
        ::unlink(QFile::encodeName(hidden).constData());
        return {GuardedResult::Done, Result::success(), {}};
    }
    return putBack(hidden, path, found);
}

Result saveNewFile(const QString& path, const QByteArray& bytes, FileVersion* written)
{
    if (const int problem = folderProblem(path))
        return failure(path, problem);
    const QFileInfo target(path);
    QTemporaryFile out(target.absolutePath() + kTemporaryName);
    errno = 0;
    if (!openLocked(out))
        return failure(path, errno);
    if (!writeSynced(out, bytes))
        return failure(path, errno); // the temporary file goes with out
    QFile::setPermissions(out.fileName(), usualPermissions());
    if (written)
        *written = fileVersion(out.fileName()); // by name, as every version it is compared with
    if (const int err = renameWithoutReplacing(out.fileName(), path))
        return failure(path, err);
    out.setAutoRemove(false);
    out.close();
    return Result::success();
}

int removeLeftoverSaveFiles(const QString& folder, std::chrono::seconds settling)
{
    // Not while a save trades a file's name: the version it took out waits under a hidden name.
    const FolderLock lock(folder);
    const leftovers::Kind saves{
        kTemporaryPrefix, QDir::Files,
        [](const QString& path) {
            const int fd =
                ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0)
                return leftovers::kHeld;
            struct stat st;
            if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !leftovers::lockNow(fd)) {
                ::close(fd);
                return leftovers::kHeld;
            }
            return fd;
        },
        // Only the very file locked: not one that took its name meanwhile.
        [](const QString& path, int lock) {
            struct stat locked, named;
            const QByteArray name = QFile::encodeName(path);
            return ::fstat(lock, &locked) == 0 && ::lstat(name.constData(), &named) == 0 &&
                   locked.st_dev == named.st_dev && locked.st_ino == named.st_ino &&
                   ::unlink(name.constData()) == 0;
        }};
    return leftovers::removeFrom(folder, saves, settling);
}

} // namespace platform
