// Workbook files of a grid (code 6): the grid's content handed to the workbook writer and
// reader of GridWorkbook.h, their reasons naming the file.

#include "grid/GridFile.h"

#include "grid/Grid.h"
#include "grid/GridData.h"
#include "grid/GridFileReading.h"
#include "grid/GridWorkbook.h"
#include "platform/SaveFile.h"

namespace grid {

using namespace gridfile;
using platform::Result;
using platform::ResultOf;

Result GridFile::fromWorkbook(Grid& grid, const QByteArray& bytes, const QString& name)
{
    GridContent c;
    c.fixedRows = grid.fixedRows();
    c.fixedCols = grid.fixedCols();
    c.columns = grid.content().columns;
    if (const Result read = readWorkbook(bytes, c); !read)
        return fail(name, read.error);
    grid.replaceContent(std::move(c));
    return Result::success();
}

ResultOf<QByteArray> GridFile::toWorkbook(const Grid& grid, bool withFixedCells, const QString& name)
{
    ResultOf<QByteArray> written = writeWorkbook(grid.content(), withFixedCells);
    if (!written)
        return ResultOf<QByteArray>::failure(
            platform::writeFailureText(fileLabel(name), written.result.error));
    return written;
}

} // namespace grid
