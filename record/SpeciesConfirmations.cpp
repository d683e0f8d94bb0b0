#include "record/SpeciesConfirmations.h"

#include "common/SpeciesUpgrade.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"

namespace record {

namespace {

// Ticks the box of every row of the codes; the number of boxes that changed.
int tick(grid::Grid& table, const QSet<QString>& codes)
{
    common::addEntryColumn(table);
    if (table.cols() <= kSpeciesTableEntered)
        return 0;
    int changed = 0;
    for (int r = 1; r < table.rows(); ++r) {
        if (!codes.contains(table.cell(r, kSpeciesTableCode)) ||
            table.checkState(r, kSpeciesTableEntered) == grid::Grid::Checked)
            continue;
        table.setCheckState(r, kSpeciesTableEntered, grid::Grid::Checked);
        ++changed;
    }
    return changed;
}

} // namespace

bool SpeciesConfirmations::confirm(grid::Grid& speciesTable, const QString& code)
{
    if (speciesTable.findRow(code, 1, kSpeciesTableCode) < 0)
        return false;
    tick(speciesTable, {code});
    m_codes.insert(code);
    return true;
}

platform::Result SpeciesConfirmations::writeBack(const QString& path) const
{
    if (m_codes.isEmpty())
        return platform::Result::success();
    grid::Grid table;
    table.setFixedRows(0);
    if (const platform::Result read = grid::GridFile::load(table, path, grid::GridFile::Complete); !read)
        return read;
    if (tick(table, m_codes) == 0)
        return platform::Result::success();
    return grid::GridFile::save(table, path, grid::GridFile::Complete, true, platform::Links::Follow);
}

} // namespace record
