#pragma once
// The files of a folder, each with what tells whether it changed since it was last looked at: its
// size and the time of its last modification, to the nanosecond where the file system keeps it.
// The folder is read in one pass, each file asked about once: a data folder of thousands of
// records is looked at on every refresh of the record list.

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace platform {

struct FileStamp
{
    qint64 size = -1;    // bytes; -1: no such file
    qint64 modified = 0; // nanoseconds since 1970-01-01 00:00 UTC

    bool exists() const { return size >= 0; }
    qint64 modifiedMSecs() const { return modified / 1'000'000; }
    bool operator==(const FileStamp&) const = default;
};

struct FolderFile
{
    QString name; // without the folder
    FileStamp stamp;
    // A symbolic link that leads to a regular file (stamped as that file), not a file of the folder.
    bool link = false;
};

// The files of the folder, hidden ones included, in no order; nothing when the folder cannot be
// read. A symbolic link is listed when it leads to a regular file, with `link` set; a link that
// leads nowhere, to a folder, a FIFO or a device is left out like them. A name that is not UTF-8 keeps each
// byte that cannot be read as the lone surrogate U+DC00 + the byte: such a name is not a valid text
// (QString::isValidUtf16), stands for no file when written back, and is never taken for the name
// of another file.
QList<FolderFile> folderFiles(const QString& folder);

// The name with " (k)" before its extension ("nom (2).ext"; k below 2: the name itself), its own
// part shortened at the end of a character as much as the name needs to fit in 255 bytes (UTF-8),
// the most a file system takes: so a long name can be numbered too.
QString numberedName(const QString& nom, int k);

// The names of the same files (links among them), asking the system about a file only when the
// folder does not tell its kind, or to follow a link.
QStringList folderFileNames(const QString& folder);

// The stamp of the file at path (a symbolic link followed); no size when there is no such file.
FileStamp fileStamp(const QString& path);

} // namespace platform
