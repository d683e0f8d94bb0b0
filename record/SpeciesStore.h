#pragma once
// The species grids of a record's parcels. The record window shows one parcel's species grid at a
// time; the others are kept here, one complete copy per parcel (cells, counts, header, fonts),
// for as long as the window lives. Each window has its own store: nothing is shared with another
// window or left on disk.

#include "record/SurveyRecord.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace grid {
class Grid;
}

namespace record {

// Columns of the species grid. Column 0 is the fixed column (row numbers): it is never data.
enum SpeciesColumn : int {
    SpeciesClassColumn = 1,
    SpeciesCodeColumn = 2,
    SpeciesNameColumn = 3,
    SpeciesFirstCountColumn = 4, // four distance bands, columns 4 to 7
    SpeciesTotalColumn = 8,
    SpeciesIndicesColumn = 9,
    SpeciesColumnCount = 10,
};

// The species grid's header format.
extern const QString kSpeciesHeaderFormat;
// The titles of its columns 1 to 9 ("Classe" ... "Indices").
const QStringList& speciesTitles();

// Row r of a species grid as a species row, indices included, blank or not.
SpeciesRow speciesRowOf(const grid::Grid& grid, int row);
// Writes a species row into row r of a species grid, indices included.
void setSpeciesRow(grid::Grid& grid, int row, const SpeciesRow& species);
// The species rows of a species grid: the rows below its header that are not blank (Indices
// alone does not make a row), in grid order.
SpeciesTable speciesTableOf(const grid::Grid& grid);
// A species grid holding the table: header, the rows, and one empty row below them.
void fillSpeciesGrid(grid::Grid& grid, const SpeciesTable& table);

class SpeciesStore
{
public:
    // The species grid's font size when the window opened: a grid stored at a larger size comes
    // back at this size, a smaller one (after a zoom-out) keeps its size. 0: no limit.
    void setNotedFontSize(double points) { m_notedFontSize = points; }

    // Keeps a copy of the grid as parcel n's species grid, replacing the previous one.
    void sub_Flx_Grid_to_File(const grid::Grid& grid, int parcel);
    // Fills the grid with parcel n's species grid, or empties its cells when none was kept.
    void sub_Flx_File_to_Grid(grid::Grid& grid, int parcel) const;
    // Forgets every parcel's grid.
    void sub_Flx_Kill_WRK();

    bool contains(int parcel) const { return m_grids.contains(parcel); }
    QList<int> parcels() const;

    // Parcel n's species as a table; nullopt when its grid was never kept.
    std::optional<SpeciesTable> table(int parcel) const;
    // Keeps a species grid built from the table as parcel n's.
    void setTable(int parcel, const SpeciesTable& table);

private:
    QHash<int, QByteArray> m_grids; // each grid in the complete grid-file form
    double m_notedFontSize = 0;
};

} // namespace record
