#pragma once
// Whole-grid files. Every save replaces its file atomically and says whether it worked; a load
// that fails (missing file, unreadable, truncated or malformed content, another format) leaves
// the grid exactly as it was and says why.
//
// Codes:
//  0  the program's own complete grid file: every cell text (any character), check states,
//     cell settings, row keys, counts, fixed rows and columns and column settings. Versioned
//     UTF-8 text, one line per row, so that the first rows of a file can be read without the
//     rest (loadHead).
//  4  tab-separated text, one line per row, lines ending with a carriage return and a line
//     feed. A cell holding a tab, a line end or beginning with a double quote is written
//     between double quotes (a quote inside doubled). On reading, quotes delimit a cell only
//     when they begin and end it; any other cell is read as it stands ("Pie" bavarde).
//  5  the same with the grid's own separators (Grid::setTextSeparators).
//     In both, an empty cell of a check-box column is written TRUE or FALSE, and on reading a
//     truth value in a check-box column (TRUE/VRAI/OUI/X/1/-1, FALSE/FAUX/NON/0/2 or nothing)
//     becomes the box's state.
//  6  an .xlsx workbook of one sheet holding the cells as texts (check-box cells as TRUE and
//     FALSE).
//
// What is written: code 0 always writes the whole grid. Codes 4, 5 and 6 write the whole grid
// with fixed cells, otherwise only the cells below the fixed rows and right of the fixed
// columns. What is read: codes 4 and 5 fill the grid from its first cell below the fixed rows
// and right of the fixed columns (fixed counts and fixed cells are kept); code 6 fills the grid
// from cell (0, 0), as workbooks are written with their fixed cells.

#include "platform/Result.h"
#include "platform/SaveFile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <limits>

namespace grid {

class Grid;

// The largest file a reader takes of a kind of file (say a record): a file beyond them is
// refused, with a reason that names the kind, before it is read whole. Its size is checked
// first, then (code 0) the rows and cells its first lines declare.
struct GridFileBounds
{
    QString kind; // what such a file holds, for the reason: "un relevé"
    qint64 bytes = std::numeric_limits<qint64>::max();
    qint64 rows = std::numeric_limits<qint64>::max();
    qint64 cells = std::numeric_limits<qint64>::max(); // rows times columns
};

class GridFile
{
public:
    enum Code : int { Complete = 0, TabText = 4, SeparatedText = 5, Workbook = 6 };
    using Bounds = GridFileBounds;

    // links: what the save does with a symbolic link at path (platform/SaveFile.h).
    static platform::Result save(const Grid& grid, const QString& path, int code, bool withFixedCells = false,
                                 platform::Links links = platform::Links::Refuse);
    // The same for a file that must not exist yet: a file at path, even one that comes there
    // while the new one is written, is kept and the save fails.
    static platform::Result saveNew(const Grid& grid, const QString& path, int code,
                                    bool withFixedCells = false);
    // Whatever the bounds, a code-0 file is read whole only once its first bytes hold the
    // signature and a size line, and a file that declares more rows than it has bytes is refused.
    static platform::Result load(Grid& grid, const QString& path, int code, const Bounds& bounds = {});

    // Code 0 only: loads the counts, settings and the texts of the first rowCount rows (fewer
    // when the file has fewer), without reading the rest of the file. Cell settings and keys of
    // those rows are not read. The grid's row count becomes the number of rows read.
    static platform::Result loadHead(Grid& grid, const QString& path, int rowCount);
    // Code 0 only: texts of the first rowCount rows (fewer when the file has fewer), read from the
    // start of the file without building a grid and without reading the rest of the file. Of
    // each row, only the texts of its first columns are decoded: as many as columns(row, the
    // rows read before it) says. For readers that need a few cells of many files. A row holds
    // at most the texts asked for; trailing empty texts may be left out (read them with value()).
    // The time taken grows with the bytes of the rows read, never with the rest of the file.
    using HeadColumns = std::function<int(int row, const QList<QStringList>& before)>;
    static platform::ResultOf<QList<QStringList>>
    readHead(const QString& path, int rowCount, const HeadColumns& columns, const Bounds& bounds = {});

    // Code 0: whether the grid, saved whole, is a file that a reader keeping these bounds takes
    // (its rows, its cells, its bytes), so that what a writer checks is what the readers read
    // back. The reason names the bound passed and no file ("il serait trop grand pour un relevé
    // (5001828 octets, 4194304 au plus)"): callers name the file or the record. complete is the
    // grid saved whole (toComplete), which the caller then writes.
    static platform::Result checkBounds(const Grid& grid, const QByteArray& complete, const Bounds& bounds);

    // Code 0 content in memory (the readers and writers of the files above).
    static QByteArray toComplete(const Grid& grid);
    static platform::Result fromComplete(Grid& grid, const QByteArray& bytes,
                                         const QString& name = QString());
    // Code 4 or 5 content in memory, read as load reads a file; name is the file named in a
    // failure's reason.
    static platform::Result fromText(Grid& grid, const QByteArray& bytes, int code,
                                     const QString& name = QString());
    // Code 6 content in memory; name is the file named in a failure's reason.
    static platform::ResultOf<QByteArray> toWorkbook(const Grid& grid, bool withFixedCells = false,
                                                     const QString& name = QString());
    static platform::Result fromWorkbook(Grid& grid, const QByteArray& bytes,
                                         const QString& name = QString());

    // The whole content of a file of the given code, as save writes it; path is the file named in
    // a failure's reason.
    static platform::ResultOf<QByteArray> encode(const Grid& grid, const QString& path, int code,
                                                 bool withFixedCells = false);
};

} // namespace grid
