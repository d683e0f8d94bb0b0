#include "record/SpeciesStore.h"

#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "platform/Check.h"

#include <algorithm>

namespace record {

const QString kSpeciesHeaderFormat =
    QStringLiteral("|Classe|Espèce|Nom|Observés entre 0 et 50m|Observés entre 50 et 200m|Observés à plus de "
                   "200m|En survol|Total|Indices");

const QStringList& speciesTitles()
{
    static const QStringList titles = kSpeciesHeaderFormat.mid(1).split(QLatin1Char('|'));
    return titles;
}

SpeciesRow speciesRowOf(const grid::Grid& grid, int r)
{
    SpeciesRow row;
    row.speciesClass = grid.cell(r, SpeciesClassColumn);
    row.code = grid.cell(r, SpeciesCodeColumn);
    row.name = grid.cell(r, SpeciesNameColumn);
    for (int b = 0; b < kDistanceBands; ++b)
        row.counts[size_t(b)] = grid.cell(r, SpeciesFirstCountColumn + b);
    row.total = grid.cell(r, SpeciesTotalColumn);
    row.indices = grid.cell(r, SpeciesIndicesColumn);
    return row;
}

SpeciesTable speciesTableOf(const grid::Grid& grid)
{
    SpeciesTable table;
    for (int r = 1; r < grid.rows(); ++r) { // row 0 is the header
        const SpeciesRow row = speciesRowOf(grid, r);
        if (!row.isBlank())
            table.append(row);
    }
    return table;
}

void setSpeciesRow(grid::Grid& grid, int r, const SpeciesRow& species)
{
    grid.setCell(r, SpeciesClassColumn, species.speciesClass);
    grid.setCell(r, SpeciesCodeColumn, species.code);
    grid.setCell(r, SpeciesNameColumn, species.name);
    for (int b = 0; b < kDistanceBands; ++b)
        grid.setCell(r, SpeciesFirstCountColumn + b, species.counts[size_t(b)]);
    grid.setCell(r, SpeciesTotalColumn, species.total);
    grid.setCell(r, SpeciesIndicesColumn, species.indices);
}

void fillSpeciesGrid(grid::Grid& grid, const SpeciesTable& table)
{
    grid.clear();
    grid.setFixedRows(0);
    grid.setFixedCols(0);
    grid.setRows(0);
    grid.setFormatString(kSpeciesHeaderFormat);
    grid.setRows(int(table.size()) + 2);
    grid.setFixedRows(1);
    grid.setFixedCols(1);
    int r = 1;
    for (const SpeciesRow& row : table)
        setSpeciesRow(grid, r++, row);
}

void SpeciesStore::sub_Flx_Grid_to_File(const grid::Grid& grid, int parcel)
{
    m_grids.insert(parcel, grid::GridFile::toComplete(grid));
}

void SpeciesStore::sub_Flx_File_to_Grid(grid::Grid& grid, int parcel) const
{
    const auto it = m_grids.constFind(parcel);
    // The store reads back only what it wrote itself: a grid it cannot read is a fault of the
    // program, not of a file.
    if (it == m_grids.constEnd() || !MIRELOT_CHECK(grid::GridFile::fromComplete(grid, *it).ok)) {
        grid.clear();
        return;
    }
    if (m_notedFontSize > 0 && grid.rows() > 0 && grid.cols() > 0 && grid.fontSize(0, 0) > m_notedFontSize)
        grid.setFontSize({0, 0, grid.rows() - 1, grid.cols() - 1}, m_notedFontSize);
}

void SpeciesStore::sub_Flx_Kill_WRK() { m_grids.clear(); }

QList<int> SpeciesStore::parcels() const
{
    QList<int> out = m_grids.keys();
    std::sort(out.begin(), out.end());
    return out;
}

std::optional<SpeciesTable> SpeciesStore::table(int parcel) const
{
    if (!m_grids.contains(parcel))
        return std::nullopt;
    grid::Grid grid;
    sub_Flx_File_to_Grid(grid, parcel);
    return speciesTableOf(grid);
}

void SpeciesStore::setTable(int parcel, const SpeciesTable& table)
{
    grid::Grid grid;
    fillSpeciesGrid(grid, table);
    sub_Flx_Grid_to_File(grid, parcel);
}

} // namespace record
