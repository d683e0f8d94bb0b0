#include "grid/GridFileReading.h"

#include "platform/PlainFile.h"
#include "platform/SaveFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cerrno>

namespace grid::gridfile {

using platform::Result;
using platform::ResultOf;

QString kindOf(const GridFileBounds& b)
{
    return b.kind.isEmpty() ? QStringLiteral("un fichier de grille") : b.kind;
}

namespace {

// "1 colonne", "2 colonnes".
QString counted(qint64 n, const QString& word)
{
    return QStringLiteral("%1 %2%3").arg(n).arg(word, n > 1 ? QStringLiteral("s") : QString());
}

} // namespace

QString fileLabel(const QString& name) { return name.isEmpty() ? QStringLiteral("(en mémoire)") : name; }

QString readErrorReason(const QString& path, int errorNumber)
{
    if (errorNumber == EISDIR || QFileInfo(path).isDir())
        return QStringLiteral("c'est un dossier");
    return platform::fileErrorReason(errorNumber);
}

Result fail(const QString& name, const QString& why)
{
    return Result::failure(
        QStringLiteral("Le fichier « %1 » ne peut pas être lu : %2.").arg(fileLabel(name), why));
}

bool decodeUtf8(const QByteArray& bytes, QString* out)
{
    QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    *out = dec.decode(bytes);
    return !dec.hasError();
}

Result openForReading(QFile& f, const QString& path)
{
    if (!f.exists())
        return Result::failure(QStringLiteral("Le fichier « %1 » n'existe pas.").arg(path));
    errno = 0;
    if (!f.open(QIODevice::ReadOnly))
        return Result::failure(platform::readFailureText(path, readErrorReason(path, errno)));
    return Result::success();
}

ResultOf<QByteArray> readAll(const QString& path)
{
    QFile f(path);
    if (Result opened = openForReading(f, path); !opened)
        return ResultOf<QByteArray>::failure(std::move(opened));
    errno = 0;
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return ResultOf<QByteArray>::failure(platform::readFailureText(path, readErrorReason(path, errno)));
    return ResultOf<QByteArray>::success(std::move(bytes));
}

Result checkBytes(qint64 size, const GridFileBounds& b)
{
    if (size > b.bytes)
        return Result::failure(platform::tooLargeReason(kindOf(b), size, b.bytes));
    return Result::success();
}

Result checkDeclared(qint64 rows, qint64 cols, const GridFileBounds& b)
{
    const qint64 cells = rows * cols;
    if (rows > b.rows || cells > b.cells)
        return Result::failure(
            QStringLiteral("il annonce %1 de %2, plus que n'en compte %3 (%4 et %5 au plus)")
                .arg(counted(rows, QStringLiteral("ligne")), counted(cols, QStringLiteral("colonne")),
                     kindOf(b), counted(b.rows, QStringLiteral("ligne")),
                     counted(b.cells, QStringLiteral("cellule"))));
    return Result::success();
}

} // namespace grid::gridfile
