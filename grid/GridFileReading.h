#pragma once
// What the readers of every grid file code share (GridFile only): files opened and read, the
// reasons of a failure, UTF-8 decoding, and the bounds a reader sets to the files it takes.

#include "grid/GridFile.h"
#include "platform/Result.h"

#include <QByteArray>
#include <QString>

class QFile;

namespace grid::gridfile {

// The name of a file in a reason; content in memory has none.
QString fileLabel(const QString& name);
// Why a file could not be read: a folder where the file should be is named as such.
QString readErrorReason(const QString& path, int errorNumber);
// "The file cannot be read" with the reason alone given by a parser or a check.
platform::Result fail(const QString& name, const QString& why);

bool decodeUtf8(const QByteArray& bytes, QString* out);
// Opens a file for reading, or says why it cannot be.
platform::Result openForReading(QFile& f, const QString& path);
platform::ResultOf<QByteArray> readAll(const QString& path);

// The kind of file bounds are for, as a reason names it ("un relevé", "un fichier de grille").
QString kindOf(const GridFileBounds& b);
// The bounds of a kind of file (GridFileBounds); the reason names no file: callers name it
// (fail()). The size of the file:
platform::Result checkBytes(qint64 size, const GridFileBounds& b);
// The rows and columns a complete file (code 0) declares on its size line:
platform::Result checkDeclared(qint64 rows, qint64 cols, const GridFileBounds& b);

} // namespace grid::gridfile
