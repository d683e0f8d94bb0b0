#include "platform/SaveFile.h"

#include "platform/FileSystemCalls.h"
#include "platform/FolderFiles.h"
#include "platform/Leftovers.h"
#include "platform/PlainFile.h"

#include <QDateTime>
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
#include <optional>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

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

// The mode a new file gets from the user's file-creation mask. The temporary file is created
// private (0600); a new file should look like any other the user makes.
mode_t usualMode()
{
    static const mode_t mode = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return mode_t(0666 & ~mask);
    }();
    return mode;
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
quint64 generationOf(int handle)
{
    // The request is declared for a long, and a file system that passes it on (FUSE) writes that
    // many bytes.
    long generation = 0;
    static_assert(sizeof(generation) == _IOC_SIZE(FS_IOC_GETVERSION));
    return ::ioctl(handle, FS_IOC_GETVERSION, &generation) == 0 ? quint64(generation) : 0;
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
            if (fileSystemCalls().lockFolder(m_fd, LOCK_EX | LOCK_NB) == 0)
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
    return fileSystemCalls().renameWithFlags(QFile::encodeName(a).constData(),
                                             QFile::encodeName(b).constData(), RENAME_EXCHANGE) == 0
               ? 0
               : errno;
}

// Whether a file system refused a rename for its flags (FUSE passthroughs, CIFS, some network
// folders), rather than for the files named.
bool refusesRenameFlags(int err) { return err == EINVAL || err == ENOSYS || err == EOPNOTSUPP; }

// Whether a file system refused a hard link as such (vfat-like folders, CIFS without its unix
// extensions), rather than for the names.
bool refusesHardLinks(int err) { return err == EPERM || err == EOPNOTSUPP || err == ENOSYS || err == EMLINK; }

// Gives the file at source the name target where no file has it: 0, or the system's error
// (EEXIST when a file has the name). On a file system without renameat2's flags, a hard link
// takes the name as surely, then the first name goes; without hard links either, the name is
// checked free and then taken under the folder's lock (folderLocked: the caller holds it), so
// that no copy of the program takes it in between. A file that other copies know by its version
// (sameInode) never goes through a hard link, which some file systems give an inode of its own.
int renameToFreeName(const QByteArray& source, const QByteArray& target, bool folderLocked,
                     bool sameInode = false)
{
    const FileSystemCalls& calls = fileSystemCalls();
    if (calls.renameWithFlags(source.constData(), target.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (!refusesRenameFlags(errno))
        return errno;
    if (!sameInode && calls.hardLink(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        return 0;
    }
    if (!sameInode && !refusesHardLinks(errno))
        return errno;
    std::optional<FolderLock> lock;
    if (!folderLocked)
        lock.emplace(QFileInfo(QFile::decodeName(target)).absolutePath());
    struct stat st;
    if (::lstat(target.constData(), &st) == 0)
        return EEXIST;
    if (errno != ENOENT)
        return errno;
    return ::rename(source.constData(), target.constData()) == 0 ? 0 : errno;
}

// What stands between the hidden name of a file taken out of its name and that name.
constexpr QLatin1Char kTakenOutMark('~');

// A name of the folder for the file named `name` taken out of its name: hidden, drawn at random,
// and followed by the name where it fits, so that a copy stopped before putting it back or
// removing it leaves it to be put back at the next start (removeLeftoverSaveFiles), never removed
// as the temporary file of a save is.
QString takenOutName(const QString& folder, const QString& name)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString hidden = kTemporaryPrefix;
    for (int k = 0; k < 6; ++k)
        hidden += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
    hidden += kTakenOutMark;
    if (QFile::encodeName(hidden + name).size() <= 255)
        hidden += name;
    return folder + QLatin1Char('/') + hidden;
}

// Takes the file at path out of its name, under a hidden name of its folder, in one rename, which
// keeps the file's inode on every file system (a hard link may not): of two copies taking one
// file out, one alone finds it there. The hidden name, or empty with the system's error.
// The folder's lock is held.
std::pair<QString, int> takeOut(const QString& path)
{
    const QFileInfo file(path);
    // A name drawn at random is free unless another copy drew it at the same moment.
    for (int attempt = 0; attempt < 20; ++attempt) {
        const QString hidden = takenOutName(file.absolutePath(), file.fileName());
        const int err = renameToFreeName(QFile::encodeName(path), QFile::encodeName(hidden), true, true);
        if (err != EEXIST)
            return {err == 0 ? hidden : QString(), err};
    }
    return {QString(), EEXIST};
}

// The version of the file that a save has just put under path, from the descriptor it wrote it
// through (versionAfterRename).
FileVersion versionPlaced(int descriptor, const QString& path)
{
    struct stat own;
    if (::fstat(descriptor, &own) != 0)
        return fileVersion(path);
    FileVersion mine = versionOf(own);
    mine.generation = generationOf(descriptor);
    return versionAfterRename(mine, path);
}

// A version of the file that could not be put back under its name (a third program took the name
// meanwhile): kept beside it under the name followed by " (2)", " (3)"..., never removed. The
// folder's lock is held.
QString keepBeside(const QString& hidden, const QString& path)
{
    const QFileInfo f(path);
    for (int k = 2; k < 100; ++k) {
        const QString candidate = f.absolutePath() + QLatin1Char('/') + numberedName(f.fileName(), k);
        const int err = renameToFreeName(QFile::encodeName(hidden), QFile::encodeName(candidate), true, true);
        if (err == 0)
            return candidate;
        if (err != EEXIST)
            break;
    }
    return QString();
}

// Puts a version taken out of its name back under it (Changed, with its version under the name);
// when the name was taken meanwhile, beside it. The folder's lock is held.
GuardedResult putBack(const QString& hidden, const QString& path, const FileVersion& found)
{
    if (renameToFreeName(QFile::encodeName(hidden), QFile::encodeName(path), true, true) == 0)
        return {GuardedResult::Changed, Result::success(), versionAfterRename(found, path)};
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
    return renameToFreeName(QFile::encodeName(from), QFile::encodeName(to), false);
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

namespace {

// What a save writes to: the path itself, or, for a file of the user's own that is a symbolic link,
// the file it names (followedPath). A link in the data folder is refused, and so is anything
// there but a plain file, with what stands there.
ResultOf<QString> saveTarget(const QString& path, Links links)
{
    if (links == Links::Follow)
        return followedPath(path);
    // A link is neither written through (its file may be anywhere) nor replaced by a file; nor is
    // a folder, a FIFO or a device.
    if (const QString why = notPlainFileReason(path); !why.isEmpty())
        return ResultOf<QString>::failure(failure(path, 0, why));
    return ResultOf<QString>::success(path);
}

} // namespace

Result saveFile(const QString& path, const ContentWriter& writer, Links links)
{
    const ResultOf<QString> target = saveTarget(path, links);
    if (!target)
        return target.result;
    const QByteArray name = QFile::encodeName(target.value);
    if (const int problem = folderProblem(target.value))
        return failure(path, problem);
    // The mode of the file replaced (never a link's), or the user's usual one for a new file.
    struct stat replaced = {};
    const mode_t mode = ::lstat(name.constData(), &replaced) == 0 ? replaced.st_mode & 07777 : usualMode();

    QTemporaryFile out(QFileInfo(target.value).absolutePath() + kTemporaryName);
    errno = 0;
    if (!openLocked(out))
        return failure(path, errno);

    // On any failure the temporary file goes with out, and the target is untouched.
    errno = 0;
    if (const Result written = writer(out); !written)
        return failure(path, errno, written.error);
    errno = 0;
    if (!out.flush() || out.error() != QFileDevice::NoError || ::fsync(out.handle()) != 0 ||
        ::fchmod(out.handle(), mode) != 0)
        return failure(path, errno);

    errno = 0;
    if (::rename(QFile::encodeName(out.fileName()).constData(), name.constData()) != 0)
        return failure(path, errno);
    out.setAutoRemove(false);
    return Result::success();
}

Result saveFile(const QString& path, const QByteArray& bytes, Links links)
{
    return saveFile(
        path,
        [&bytes](QIODevice& out) {
            return out.write(bytes) == bytes.size() ? Result::success() : Result::failure(QString());
        },
        links);
}

Result saveFileFrom(const QString& path, const QString& source, Links links)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return Result::failure(
            writeFailureText(path, QStringLiteral("le fichier provisoire ne peut pas être relu")));
    return saveFile(
        path,
        [&in](QIODevice& out) {
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
        },
        links);
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

ResultOf<QString> followedPath(const QString& path)
{
    using Target = ResultOf<QString>;
    QString named = path;
    // A chain of links ends at the file, or at the name of one to come; the system follows no more
    // than forty.
    for (int links = 0; links <= 40; ++links) {
        struct stat st;
        if (::lstat(QFile::encodeName(named).constData(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            if (named == path)
                return Target::success(path);
            if (const QString why = notPlainFileReason(named); !why.isEmpty())
                return Target::failure(failure(path, 0,
                                               QStringLiteral("c'est un lien symbolique vers « %1 », et %2")
                                                   .arg(QDir::toNativeSeparators(named), why)));
            return Target::success(named);
        }
        named = QFileInfo(named).symLinkTarget();
    }
    return Target::failure(failure(path, ELOOP, QStringLiteral("c'est un lien symbolique sans fin")));
}

FileVersion versionAfterRename(const FileVersion& before, const QString& path)
{
    const FileVersion named = fileVersion(path);
    if (named.device == before.device && named.inode == before.inode)
        return before; // a rename changes nothing else of a file
    return named.size == before.size && named.modifiedNs == before.modifiedNs ? named : before;
}

int fileMode(const QString& path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode)
               ? int(st.st_mode & 07777)
               : -1;
}

namespace {

GuardedResult failedWrite(const QString& path, int err, const QString& why = QString())
{
    return {GuardedResult::Failed, failure(path, err, why), {}};
}

// A file that is no plain file is neither replaced nor removed: a link of the data folder is no
// record of it, and the file it names may be anywhere.
GuardedResult notPlainFile(const QString& path) { return failedWrite(path, EIO, notPlainFileReason(path)); }

// Whether a file is missing from its name for good. Where names cannot be traded in one step, a
// copy replacing the file takes it out of its name for a moment, beyond the folder's lock when it
// runs on another machine of a shared folder: the name is looked at again for a short while.
bool missingForGood(const QString& path)
{
    struct stat st;
    for (int look = 0; look < 20; ++look) {
        if (::lstat(QFile::encodeName(path).constData(), &st) == 0 || errno != ENOENT)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// takeOut, looking again while the name is missing for a moment only (missingForGood).
std::pair<QString, int> takeOutPatiently(const QString& path)
{
    std::pair<QString, int> taken = takeOut(path);
    while (taken.second == ENOENT && !missingForGood(path))
        taken = takeOut(path);
    return taken;
}

// The file at path, expected, is taken out of its name and the new content (written to out) put
// under the name only where none is there, for the file systems that cannot trade two names in one
// step. The file taken out is checked there: another version goes back under its name (Changed).
GuardedResult replaceByTakingOut(QTemporaryFile& out, const QString& path, const FileVersion& expected)
{
    const auto [hidden, err] = takeOutPatiently(path);
    if (err == ENOENT)
        return {GuardedResult::Gone, Result::success(), {}};
    if (err != 0)
        return failedWrite(path, err);
    const FileVersion found = fileVersion(hidden);
    if (!(found == expected))
        return putBack(hidden, path, found);
    const int placed = renameToFreeName(QFile::encodeName(out.fileName()), QFile::encodeName(path), true);
    if (placed == 0) {
        out.setAutoRemove(false);
        const FileVersion written = versionPlaced(out.handle(), path);
        ::unlink(QFile::encodeName(hidden).constData()); // the version checked: the one replaced
        return {GuardedResult::Done, Result::success(), written};
    }
    if (placed == EEXIST) {
        // Another copy put a new file under the name while it was free: that file is the one to
        // ask about; the version taken out, the one this save was to replace, goes.
        ::unlink(QFile::encodeName(hidden).constData());
        return {GuardedResult::Changed, Result::success(), fileVersion(path)};
    }
    if (GuardedResult back = putBack(hidden, path, found); back.outcome != GuardedResult::Changed)
        return back;
    return failedWrite(path, placed);
}

} // namespace

GuardedResult replaceFile(const QString& path, const QByteArray& bytes, const FileVersion& expected)
{
    struct stat replaced;
    while (::lstat(QFile::encodeName(path).constData(), &replaced) != 0)
        if (errno != ENOENT || missingForGood(path))
            return {GuardedResult::Gone, Result::success(), {}};
    if (!S_ISREG(replaced.st_mode))
        return notPlainFile(path);
    if (const int problem = folderProblem(path))
        return failedWrite(path, problem);
    const QFileInfo target(path);
    QTemporaryFile out(target.absolutePath() + kTemporaryName);
    errno = 0;
    if (!openLocked(out))
        return failedWrite(path, errno);
    if (!writeSynced(out, bytes))
        return failedWrite(path, errno); // the temporary file goes with out
    // The permissions of the file it replaces, as seen above: one that goes away meanwhile leaves
    // the new file none to take.
    if (::fchmod(out.handle(), replaced.st_mode & 07777) != 0)
        return failedWrite(path, errno);
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
        if (!refusesRenameFlags(err))
            return failedWrite(path, err);
        return replaceByTakingOut(out, path, expected);
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
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return notPlainFile(path);
    const FolderLock lock(QFileInfo(path).absolutePath());
    const auto [hidden, err] = takeOutPatiently(path);
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

Result saveNewFile(const QString& path, const QByteArray& bytes, FileVersion* written, int mode)
{
    if (const int problem = folderProblem(path))
        return failure(path, problem);
    const QFileInfo target(path);
    QTemporaryFile out(target.absolutePath() + kTemporaryName);
    errno = 0;
    if (!openLocked(out))
        return failure(path, errno);
    if (!writeSynced(out, bytes) || ::fchmod(out.handle(), mode >= 0 ? mode_t(mode) : usualMode()) != 0)
        return failure(path, errno); // the temporary file goes with out
    if (const int err = renameWithoutReplacing(out.fileName(), path))
        return failure(path, err);
    out.setAutoRemove(false);
    // Taken once the file bears its name: a file system may give it another inode number on the way.
    if (written)
        *written = versionPlaced(out.handle(), path);
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
    const int removed = leftovers::removeFrom(folder, saves, settling);

    // Files that a copy stopped midway had taken out of their names go back under them, or beside
    // them when the name was taken since (the time of a rename is its change time).
    const QDateTime settled = QDateTime::currentDateTimeUtc().addSecs(-settling.count());
    const QFileInfoList takenOut =
        QDir(folder).entryInfoList({kTemporaryPrefix + QStringLiteral("??????") + kTakenOutMark + u'*'},
                                   QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo& entry : takenOut) {
        const QString name = entry.fileName().mid(kTemporaryPrefix.size() + 7);
        if (name.isEmpty() || entry.ownerId() != ::geteuid() || entry.metadataChangeTime() > settled)
            continue;
        const QString path = entry.absolutePath() + QLatin1Char('/') + name;
        if (renameToFreeName(QFile::encodeName(entry.filePath()), QFile::encodeName(path), true, true) != 0)
            static_cast<void>(keepBeside(entry.filePath(), path));
    }
    return removed;
}

} // namespace platform
