// The settings of a grid's cells: check states, back colours, fonts and the read-only flag.

#include "grid/Grid.h"

#include "grid/GridClip.h"
#include "grid/GridData.h"
#include "platform/Check.h"

namespace grid {

namespace {

CellFormat& fmtOf(GridContent& c, int row, int col)
{
    GridRow& r = c.rows[size_t(row)];
    if (r.fmt.empty())
        r.fmt.resize(size_t(c.cols));
    return r.fmt[size_t(col)];
}

// Applies a change to the settings of every cell of a range (clipped to the grid); returns the
// clipped range.
template <class Change> GridRange changeFormats(GridContent& c, const GridRange& range, Change change)
{
    const GridRange r = clip(c, range);
    for (int row = r.row1; row <= r.row2; ++row)
        for (int col = r.col1; col <= r.col2; ++col)
            change(fmtOf(c, row, col));
    return r;
}

const CellFormat* fmtIf(const GridContent& c, int row, int col)
{
    if (row < 0 || row >= c.rowCount() || col < 0 || col >= c.cols)
        return nullptr;
    const GridRow& r = c.rows[size_t(row)];
    return r.fmt.empty() ? nullptr : &r.fmt[size_t(col)];
}
} // namespace

int Grid::checkState(int row, int col) const
{
    const GridContent& c = d->content;
    if (row < 0 || row >= c.rowCount() || col < 0 || col >= c.cols)
        return NoCheck;
    const CellFormat* f = fmtIf(c, row, col);
    const int state = f ? int(f->check) : int(NoCheck);
    if (state == NoCheck && row >= c.fixedRows && c.columns[size_t(col)].type == DataType::Boolean)
        return Unchecked;
    return state;
}

void Grid::setCheckState(int row, int col, int state)
{
    if (!MIRELOT_CHECK(row >= 0 && row < rows() && col >= 0 && col < cols()))
        return;
    setCheckState(GridRange{row, col, row, col}, state);
}

void Grid::setCheckState(const GridRange& range, int state)
{
    if (state != NoCheck && state != Checked && state != Unchecked)
        return;
    const GridRange r = changeFormats(d->content, range, [&](CellFormat& f) { f.check = quint8(state); });
    if (!r.isEmpty())
        emitCells(r.row1, r.col1, r.row2, r.col2);
}

GridColour Grid::backColour(int row, int col) const
{
    const CellFormat* f = fmtIf(d->content, row, col);
    return f ? f->back : 0;
}

void Grid::setBackColour(const GridRange& range, GridColour colour)
{
    const GridRange r = changeFormats(d->content, range, [&](CellFormat& f) { f.back = colour; });
    if (!r.isEmpty())
        emitCells(r.row1, r.col1, r.row2, r.col2);
}

QString Grid::fontName(int row, int col) const
{
    const CellFormat* f = fmtIf(d->content, row, col);
    return f && f->font != 0 ? d->content.fontName(f->font) : d->defaultFontName;
}

void Grid::setFontName(const GridRange& range, const QString& name)
{
    GridContent& c = d->content;
    if (clip(c, range).isEmpty())
        return;
    const quint16 font = c.fontNumber(name);
    const GridRange r = changeFormats(c, range, [&](CellFormat& f) { f.font = font; });
    emitCells(r.row1, r.col1, r.row2, r.col2);
}

double Grid::fontSize(int row, int col) const
{
    const CellFormat* f = fmtIf(d->content, row, col);
    return f && f->fontSize > 0 ? f->fontSize : d->defaultFontSize;
}

void Grid::setFontSize(const GridRange& range, double points)
{
    if (!(points > 0) || points > 1000)
        return;
    const GridRange r = changeFormats(d->content, range, [&](CellFormat& f) { f.fontSize = float(points); });
    if (!r.isEmpty())
        emitCells(r.row1, r.col1, r.row2, r.col2);
}

bool Grid::isReadOnly(int row, int col) const
{
    const CellFormat* f = fmtIf(d->content, row, col);
    return f && f->readOnly;
}

void Grid::setReadOnly(const GridRange& range, bool readOnly)
{
    const GridColour back = readOnly ? d->backFixed : 0;
    const GridRange r = changeFormats(d->content, range, [&](CellFormat& f) {
        f.readOnly = readOnly;
        f.back = back;
    });
    if (!r.isEmpty())
        emitCells(r.row1, r.col1, r.row2, r.col2);
}

} // namespace grid
