#pragma once
// Where the labelled rows of a record file's grid stand: every label of column 1 is found in one
// pass over the grid, so that a reader asks for a section as often as it likes without searching
// the grid again. A label that occurs twice is found at its first row.

#include <QHash>
#include <QString>

namespace grid {
class Grid;
}

namespace recordlist {

class RecordSections
{
public:
    // The grid must outlive the index.
    explicit RecordSections(const grid::Grid& record);

    const grid::Grid& grid() const { return m_grid; }
    // The first row whose column 1 is the label exactly; -1 when there is none.
    int row(const QString& label) const { return m_rows.value(label, -1); }
    // The title row of a parcel's species block ("Espèces Parcelle N°" and the number).
    int speciesTitle(int parcel) const;

private:
    const grid::Grid& m_grid;
    QHash<QString, int> m_rows;
};

} // namespace recordlist
