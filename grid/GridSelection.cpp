// The selection of a grid: the current cell, the selected range or rows, and the texts of the
// selection.

#include "grid/Grid.h"

#include "grid/GridClip.h"
#include "grid/GridData.h"

#include <algorithm>

namespace grid {

namespace {

// Splits a pasted or added text: rows end at CR LF, CR or LF; cells end at tabs.
QList<QStringView> splitRows(QStringView text)
{
    QList<QStringView> out;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = text[i];
        if (ch == u'\r' || ch == u'\n') {
            out.append(text.mid(start, i - start));
            if (ch == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    out.append(text.mid(start));
    return out;
}

} // namespace

int Grid::row() const { return d->row; }
int Grid::col() const { return d->col; }
int Grid::rowSel() const { return d->rowSel; }
int Grid::colSel() const { return d->colSel; }

void Grid::select(int row, int col) { select(row, col, row, col); }

void Grid::select(int row, int col, int rowSel, int colSel)
{
    GridData& g = *d;
    const int oldRow = g.row, oldCol = g.col, oldRowSel = g.rowSel, oldColSel = g.colSel;
    g.row = row;
    g.col = col;
    g.rowSel = rowSel;
    g.colSel = colSel;
    clampSelection(g);
    bool flagsChanged = false;
    if (g.selectionMode == SelectionMode::ListBox) {
        const int lo = std::min(g.row, g.rowSel), hi = std::max(g.row, g.rowSel);
        for (int r = 0; r < g.content.rowCount(); ++r) {
            const bool sel = r >= lo && r <= hi && g.content.rowCount() > 0;
            if (g.content.rows[size_t(r)].selected != sel) {
                g.content.rows[size_t(r)].selected = sel;
                flagsChanged = true;
            }
        }
    }
    if (flagsChanged || g.row != oldRow || g.col != oldCol || g.rowSel != oldRowSel || g.colSel != oldColSel)
        if (g.redraw)
            Q_EMIT selectionChanged();
}

GridRange Grid::selection() const
{
    if (rows() == 0 || cols() == 0)
        return GridRange{};
    return clip(d->content, GridRange{d->row, d->col, d->rowSel, d->colSel});
}

QString Grid::selectionText() const { return rangeText(selection()); }

void Grid::setSelectionText(const QString& text)
{
    const GridRange sel = selection();
    if (sel.isEmpty())
        return;
    GridContent& c = d->content;
    const QList<QStringView> lines = splitRows(text);
    int lastRow = sel.row1 - 1, lastCol = sel.col1 - 1;
    for (int i = 0; i < lines.size() && sel.row1 + i <= sel.row2; ++i) {
        const int r = sel.row1 + i;
        QList<QString>& cells = c.rows[size_t(r)].cells;
        const QStringView line = lines[i];
        int col = sel.col1;
        qsizetype start = 0;
        for (qsizetype k = 0; k <= line.size() && col <= sel.col2; ++k) {
            if (k == line.size() || line[k] == u'\t') {
                cells[col] = line.mid(start, k - start).toString();
                lastCol = std::max(lastCol, col);
                ++col;
                start = k + 1;
            }
        }
        lastRow = r;
    }
    emitCells(sel.row1, sel.col1, lastRow, lastCol);
}

QString Grid::text() const { return cell(d->row, d->col); }

void Grid::setText(const QString& text)
{
    if (!d->fillRepeat) {
        setCell(d->row, d->col, text);
        return;
    }
    const GridRange sel = selection();
    if (sel.isEmpty())
        return;
    for (int r = sel.row1; r <= sel.row2; ++r)
        for (int c = sel.col1; c <= sel.col2; ++c)
            d->content.rows[size_t(r)].cells[c] = text;
    emitCells(sel.row1, sel.col1, sel.row2, sel.col2);
}

Grid::SelectionMode Grid::selectionMode() const { return d->selectionMode; }

void Grid::setSelectionMode(SelectionMode mode)
{
    if (mode == d->selectionMode)
        return;
    beginReset();
    d->selectionMode = mode;
    for (GridRow& r : d->content.rows)
        r.selected = false;
    endReset();
}

bool Grid::isRowSelected(int row) const
{
    if (row < 0 || row >= rows())
        return false;
    if (d->selectionMode == SelectionMode::ListBox)
        return d->content.rows[size_t(row)].selected;
    const GridRange sel = selection();
    return !sel.isEmpty() && row >= sel.row1 && row <= sel.row2;
}

void Grid::setRowSelected(int row, bool selected)
{
    if (row < 0 || row >= rows() || d->selectionMode != SelectionMode::ListBox)
        return;
    GridRow& r = d->content.rows[size_t(row)];
    if (r.selected == selected)
        return;
    r.selected = selected;
    if (d->redraw)
        Q_EMIT selectionChanged();
}

void Grid::selectFromView(int row, int col, int rowSel, int colSel, const QList<int>& listBoxRows)
{
    d->row = row;
    d->col = col;
    d->rowSel = rowSel;
    d->colSel = colSel;
    clampSelection(*d);
    if (d->selectionMode == SelectionMode::ListBox) {
        for (GridRow& r : d->content.rows)
            r.selected = false;
        for (int r : listBoxRows)
            if (r >= 0 && r < rows())
                d->content.rows[size_t(r)].selected = true;
    }
}

int Grid::selectedRowCount() const
{
    if (d->selectionMode != SelectionMode::ListBox)
        return selection().rowCount();
    return int(std::count_if(d->content.rows.begin(), d->content.rows.end(),
                             [](const GridRow& r) { return r.selected; }));
}

int Grid::selectedRow(int index) const
{
    if (index < 0)
        return -1;
    if (d->selectionMode != SelectionMode::ListBox) {
        const GridRange sel = selection();
        return index < sel.rowCount() ? sel.row1 + index : -1;
    }
    for (int r = 0; r < rows(); ++r)
        if (d->content.rows[size_t(r)].selected && index-- == 0)
            return r;
    return -1;
}

QList<int> Grid::selectedRows() const
{
    QList<int> out;
    for (int r = 0; r < rows(); ++r)
        if (isRowSelected(r))
            out << r;
    return out;
}

} // namespace grid
