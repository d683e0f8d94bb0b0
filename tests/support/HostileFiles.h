#pragma once
// Files made to cost a reader time or memory, for the tests and the benchmark of the readers:
// sizes that a file declares and does not hold, files far larger than any record, lines that never
// end, cell settings by the hundred thousand. Each maker writes the file at path (replacing one
// there) and returns false when it cannot. Only QtCore: the files are written byte by byte in the
// complete grid format, as another program (or a damaged disk) would leave them.

#include <QString>
#include <QStringList>

namespace hostile_files {

// The first lines of a complete grid file that declares so many rows and columns, with the
// "cellules" line, and nothing more: at 10,000,000 rows of one column, 48 bytes.
bool declaredRows(const QString& path, long long rows, int cols);

// The first rows of a record (marked "SHOC") or of a sibling record (marked "Ravelin"), as
// complete-file row lines of two columns: column 0 empty, the row's title in column 1.
QStringList recordHead();
QStringList siblingHead();

// A complete grid file of `bytes` bytes (or the least above it that the rows make): the given
// row lines, then empty rows up to the size, as many columns as the grid's largest size allows with that many
// rows (at most 72, at least 2). A 4 MB one declares about 4,000,000 rows.
bool padded(const QString& path, const QStringList& firstRows, long long bytes);

// A file of `bytes` bytes whose first bytes are a sibling record's head and the rest a hole:
// it takes no room on disk.
bool sparse(const QString& path, long long bytes);

// `bytes` bytes without a line feed.
bool withoutLineFeed(const QString& path, long long bytes);

// A complete grid file of so many rows of 72 columns, every cell a text of one character, as many
// rows filled as `bytes` allows (the others empty): the most texts a file of that size can make.
bool dense(const QString& path, const QString& mark, int rows, long long bytes);

// The same with every cell a text of three characters that none of the 729,000 cells before it
// holds, as many cells filled as `bytes` allows, and a cell setting on every row: the most memory
// a file of that size makes a reader take.
bool distinct(const QString& path, const QString& mark, int rows, long long bytes);

// A record file (marked "SHOC") of so many rows of 72 columns, every cell a text of one character,
// each row with a cell setting and a row key, the key made as long as brings the file to about
// `bytes` bytes: the most a reader builds from a file within a record's bounds.
bool formattedRows(const QString& path, int rows, long long bytes);

// A complete grid file of 72 columns holding `count` cell settings, each with a font name of its
// own.
bool cellFormats(const QString& path, int count);

} // namespace hostile_files
