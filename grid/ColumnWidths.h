#pragma once
// Columns that share a width they may not exceed: the widths of a grid's columns fitted to their
// contents, then narrowed where the grid is too narrow to show them all. Widths in pixels.

#include <QList>

namespace grid {

// The widths that fit the available width. Columns keep their natural width when the total
// fits. Otherwise the columns that may be narrowed (floor >= 0; a floor of -1 keeps the column
// as it is) are brought down, the widest first, to one common width that is as large as fits,
// none below its floor nor above its natural width. When even the floors do not fit, the
// narrowable columns get their floors.
QList<int> fitWidths(const QList<int>& natural, const QList<int>& floors, int available);

} // namespace grid
