#pragma once
// The keyboard commands of the record window's grids, without the window: Delete, paste (Ctrl+V
// or Shift+Insert), copy (Ctrl+C) and fill (Ctrl+B: the selected rows take the values of the row
// the selection started from, after a question).
//
// Two kinds of grids: in a parcel grid (location, habitats, weather) row p is parcel p, so no
// command adds or removes a row: Delete empties the selection and a paste stops at the last
// parcel. In the species grid rows are free: Delete removes the selected rows and a paste adds
// the rows it needs. Commands write only the cells the user may edit: below the fixed rows, right
// of the fixed columns, in a shown column and not read-only; a grid the user may not edit is only
// copied. A check box is unticked by Delete and takes the current row's state in a fill; a paste
// leaves check boxes alone.

#include "grid/Grid.h"

#include <QString>
#include <functional>

namespace record {

class GridCommands
{
public:
    enum class Rows {
        Parcels, // row p is parcel p
        Free,    // rows come and go (the species grid)
    };
    enum class Command { Delete, Paste, Copy, Fill };

    GridCommands(grid::Grid& grid, Rows rows);

    // The clipboard's text (a paste reads it) and the copy of the grid's selection to it. Without
    // them a paste finds nothing and a copy does nothing.
    std::function<QString()> clipboardText;
    std::function<void(grid::Grid&)> copySelection;
    // Called before a command writes the grid (Delete, paste, fill), with the range it is about
    // to write, then after it with the same range (for Delete of free rows, the rows removed).
    std::function<void(Command, const grid::GridRange&)> aboutToChange;
    std::function<void(Command, const grid::GridRange&)> changed;

    // The grid's key down (Windows key code, shift state: 1 Shift, 2 Ctrl): runs the command of
    // the key. True when the key was a command's, which then spends it.
    bool keyDown(int keyCode, int shift);

    // Delete: removes the selected rows (free rows) or empties the selection's cells (parcels).
    void deleteSelection();
    // Writes a spreadsheet's text from the current cell: rows end at "\r\n", "\r" or "\n" (a line
    // end after the last row ends it and adds none), cells at tabs. The range pasted (as wide as
    // the first row) becomes the selection and is returned; empty when nothing was pasted.
    grid::GridRange paste(const QString& text);
    // Fill: only when the selection spans two rows or more. Asks "n lignes sélectionnées par la
    // valeur" with the current row's values; Yes writes them into every selected row and leaves
    // the current cell on the first row, last column. True when the rows were filled.
    bool fill();

    // A cell a command may write.
    static bool isWritable(const grid::Grid& grid, int row, int col);

private:
    bool isCheckCell(int row, int col) const;
    grid::GridRange dataSelection() const;
    void announce(Command command, const grid::GridRange& range) const;
    void report(Command command, const grid::GridRange& range) const;

    grid::Grid& m_grid;
    Rows m_rows;
};

} // namespace record
