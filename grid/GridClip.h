#pragma once
// Ranges and the selection of a grid kept within its cells; shared by the parts of Grid only.

#include "grid/GridData.h"

#include <algorithm>

namespace grid {

// The range clipped to the grid; empty when nothing of it is inside.
inline GridRange clip(const GridContent& c, const GridRange& r)
{
    GridRange o{std::max(0, std::min(r.row1, r.row2)), std::max(0, std::min(r.col1, r.col2)),
                std::min(c.rowCount() - 1, std::max(r.row1, r.row2)),
                std::min(c.cols - 1, std::max(r.col1, r.col2))};
    return o;
}

// Keeps the current cell and the opposite corner of the selection inside the grid.
inline void clampSelection(GridData& d)
{
    const int maxRow = std::max(0, d.content.rowCount() - 1);
    const int maxCol = std::max(0, d.content.cols - 1);
    d.row = std::clamp(d.row, 0, maxRow);
    d.rowSel = std::clamp(d.rowSel, 0, maxRow);
    d.col = std::clamp(d.col, 0, maxCol);
    d.colSel = std::clamp(d.colSel, 0, maxCol);
}

} // namespace grid
