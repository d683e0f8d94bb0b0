#pragma once
// Files of the data folder are plain files of that folder, or they are not used: a symbolic link
// under a file's name is never followed (whether it names a file elsewhere or a device), and a
// FIFO, a device or a folder under that name is never opened to be read, so that nothing reads or
// writes outside the folder and no read waits forever.

#include "platform/Result.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// Why what stands at path (its last name not followed) is not a plain file: "c'est un lien
// symbolique", "c'est un dossier", "ce n'est pas un fichier ordinaire"; empty for a plain file
// and for no file at all.
QString notPlainFileReason(const QString& path);

// A file over the bound of its kind: "il est trop grand pour <kind> (size octets, maxBytes au plus)".
QString tooLargeReason(const QString& kind, qint64 size, qint64 maxBytes);

// The bytes of the plain file at path, nothing when there is none. The file is opened without
// following a link and without waiting, and what was opened is checked to be a plain file of at
// most maxBytes bytes before a byte is read: anything else fails, the reason ("Le fichier « path »
// ne peut pas être lu : ...") saying what stands there or, for a file over maxBytes, "il est trop
// grand pour <kind> (n octets, maxBytes au plus)".
ResultOf<std::optional<QByteArray>> readPlainFile(const QString& path, qint64 maxBytes, const QString& kind);

} // namespace platform
