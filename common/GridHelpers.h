#pragma once
// Grid helpers that every window uses, without a widget: row numbering and the column sort that
// leaves empty rows at the bottom. They read the main window's option marks (common/OptionMarks).

#include "grid/Grid.h"

namespace common {

// The order of sub_Tri_Colonne: ascending (what callers give by default), descending, or each
// column by its own sort setting.
enum class SortOrder { Ascending, Descending, ByColumn };

} // namespace common

// Numbers the data rows in column 0 when the option "RenumGrid" is checked: 1, 2, 3... except
// in rows whose first cell reads "PG" or "LG", which keep their text and take no number. When
// the option is not checked, column 0 is emptied in every row, header included. A grid
// without a fixed column is left alone.
void sub_Renum_Grid(grid::Grid& grille);

// Sorts the data rows of columns premiere to derniere (-1: the first non-fixed column, the last
// column), from the first data row down to the last row holding a text in a column that is not
// a check-box column; the empty rows below stay at the bottom. Nothing is sorted when no row
// after the first data row holds a text.
void sub_Tri_Colonne(grid::Grid& grille, int premiere = -1, int derniere = -1,
                     common::SortOrder ordre = common::SortOrder::Ascending);
