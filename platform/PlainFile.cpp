#include "platform/PlainFile.h"

#include "platform/SaveFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QString reasonForMode(mode_t mode)
{
    if (S_ISREG(mode))
        return QString();
    if (S_ISLNK(mode))
        return QStringLiteral("c'est un lien symbolique");
    if (S_ISDIR(mode))
        return QStringLiteral("c'est un dossier");
    return QStringLiteral("ce n'est pas un fichier ordinaire");
}

// Closes the descriptor on every way out.
struct Descriptor
{
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

QString notPlainFileReason(const QString& path)
{
    struct stat st = {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QString();
    return reasonForMode(st.st_mode);
}

QString tooLargeReason(const QString& kind, qint64 size, qint64 maxBytes)
{
    return QStringLiteral("il est trop grand pour %1 (%2 octets, %3 au plus)")
        .arg(kind)
        .arg(size)
        .arg(maxBytes);
}

ResultOf<std::optional<QByteArray>> readPlainFile(const QString& path, qint64 maxBytes, const QString& kind)
{
    using Bytes = ResultOf<std::optional<QByteArray>>;
    const auto failed = [&path](const QString& why) { return Bytes::failure(readFailureText(path, why)); };
    const QByteArray name = QFile::encodeName(path);
    // A look at the name first, so that a device or a FIFO is never even opened; then the opened
    // file itself is checked, whatever came under the name meanwhile.
    struct stat st = {};
    if (::lstat(name.constData(), &st) != 0)
        return errno == ENOENT ? Bytes::success(std::nullopt) : failed(fileErrorReason(errno));
    if (const QString why = reasonForMode(st.st_mode); !why.isEmpty())
        return failed(why);
    if (st.st_size > maxBytes)
        return failed(tooLargeReason(kind, st.st_size, maxBytes));
    const Descriptor file{::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0) {
        if (errno == ENOENT)
            return Bytes::success(std::nullopt);
        return failed(errno == ELOOP ? reasonForMode(S_IFLNK) : fileErrorReason(errno));
    }
    if (::fstat(file.fd, &st) != 0)
        return failed(fileErrorReason(errno));
    if (const QString why = reasonForMode(st.st_mode); !why.isEmpty())
        return failed(why);
    if (st.st_size > maxBytes)
        return failed(tooLargeReason(kind, st.st_size, maxBytes));
    // Read to its end, never past the bound, should it grow while it is read.
    QByteArray bytes(qsizetype(st.st_size) + 1, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total > maxBytes)
                return failed(tooLargeReason(kind, total, maxBytes));
            bytes.resize(qsizetype(std::min<qint64>(maxBytes + 1, 2 * total)));
        }
        const ssize_t n = ::read(file.fd, bytes.data() + total, size_t(bytes.size() - total));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failed(fileErrorReason(errno));
        if (n == 0)
            break;
        total += n;
    }
    if (total > maxBytes)
        return failed(tooLargeReason(kind, total, maxBytes));
    bytes.truncate(qsizetype(total));
    return Bytes::success(std::move(bytes));
}

} // namespace platform
