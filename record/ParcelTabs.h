#pragma once
// The parcels of the record window: one tab per parcel, and the parcel rows of its location,
// habitat and weather grids. The window shows one parcel's start time, duration and hunting
// boxes at a time; the values of every parcel are kept here, by parcel number, for as long as
// the window lives, and a change of the number of parcels leaves them alone: a parcel dropped
// and added again gets them back.

#include "record/SurveyRecord.h"

#include <QList>
#include <QString>
#include <array>

namespace grid {
class Grid;
}

namespace record {

struct ParcelValues
{
    QString startTime;
    QString duration;
    bool huntingOn = false;
    bool huntingNear = false;
    bool operator==(const ParcelValues&) const = default;
};

class ParcelTabs
{
public:
    // Values are kept for parcels 1 to 50.
    static constexpr int kKeptParcels = 51;

    // "Parcelle N°7".
    static QString caption(int parcel);

    // A parcel's values; empty for a parcel never stored or outside 1 to 50.
    ParcelValues values(int parcel) const;
    // Keeps a parcel's values; a parcel outside 1 to 50 keeps nothing.
    void store(int parcel, const ParcelValues& values);
    void clear();

private:
    std::array<ParcelValues, kKeptParcels> m_values{};
};

// Gives a parcel grid one row per parcel below its header: the rows of the parcels that remain
// keep what they hold, the rows of parcels beyond the number are dropped, and each new row holds
// the parcel's label ("Parcelle N°07") in column 1, with an unticked box in checkColumn when one
// is given.
void setParcelRows(grid::Grid& grid, int count, int checkColumn = -1);

// The grid rows of a species grid's species rows (the rows speciesTableOf reads), in order.
QList<int> speciesGridRows(const grid::Grid& grid);

// Writes a parcel's species table back into the species grid it was read from (speciesTableOf):
// cell by cell when the grid holds as many species rows, so that its blank rows and settings
// stay; otherwise (rows were merged) the grid is filled anew with the table.
void applySpeciesTable(grid::Grid& grid, const SpeciesTable& table);

// The parcels (numbers from 1) that hold something the user gave: a position, a length, an
// altitude, a reserve ticked, a habitat, a weather code, a time, a duration, a hunting box or a
// species. The department and commune that the window fills in itself, and what the validation
// writes (the validated box, the Lambert position, the information) do not count.
QList<int> parcelsHoldingData(const SurveyRecord& record);

} // namespace record
