#pragma once
// The parcel location grid of the record window (flx_Coordonnées), without the window: its
// columns, and what each of its events decides. Row p is parcel p.
//
//  - before edit: the information column and the read-only cells are never edited; the
//    department cell offers the departments, the commune cell the communes of the row's
//    department, any other cell free text;
//  - a key typed in an editor unticks the row's "validated" box; from the UTM zone on, the key
//    goes through the MGRS filter (letters upper-cased) or the digits filter, by the system shown;
//  - leaving the UTM zone cell with a zone outside 30 to 32 asks whether it is meant;
//  - after an edit, the parcel is checked against the centre of its commune: ticked within
//    5.0 km, beyond it the information cell in red and the question; when the position is
//    incomplete or does not convert, or the centre is not known, the box stays unticked;
//  - a paste, a fill or a Delete (the shared grid commands) leaves the read-only and information
//    cells as they were and unticks every row it changed.

#include "grid/Grid.h"
#include "record/ParcelPosition.h"

#include <QList>
#include <QString>
#include <functional>
#include <vector>

namespace record {

class ReferenceData;

enum LocationColumn : int {
    LocParcel = 1,
    LocDepartment = 2,
    LocCommune = 3,
    LocPlace = 4,
    LocUtmZone = 5,
    LocLongitude = 6,
    LocLatitude = 7,
    LocMgrs = 8,
    LocWalk = 9,
    LocAltitude = 10,
    LocReserve = 11,
    LocValidated = 12,
    LocLambertX = 13,
    LocLambertY = 14,
    LocInformation = 15,
    LocColumns = 16,
};

// The information cell of a parcel farther than the limit from its commune's centre, and of one
// whose position the user confirmed.
inline constexpr grid::GridColour kFarParcelColour = grid::gridRgb(255, 128, 128);
inline constexpr grid::GridColour kConfirmedParcelColour = grid::gridRgb(255, 192, 128);

// The position cells of a row.
TypedPosition typedPositionOf(const grid::Grid& grid, int row);

// ---- Before edit.
// The department list: a blank item, then one item per department ("26 - Drôme"); typing is
// allowed.
QString departmentEditList(const ReferenceData& references);
// The communes of the department a department cell names (its first two characters); typing is
// allowed.
QString communeEditList(const ReferenceData& references, const QString& departmentCell);
// Whether the cell may be edited, with the list its editor offers set: the department column's
// list is built once, the commune cell's for its row's department at each edit (none without a
// department), and every other cell is free text.
bool prepareLocationEdit(grid::Grid& grid, int row, int col, const ReferenceData& references);

// ---- Key typed in an editor.
// Unticks the row's "validated" box and returns the key to keep (0: dropped). Columns 1 to 4 are
// not filtered; from the UTM zone on, in MGRS the key passes fun_Car_Dans_Plages and is
// upper-cased, in the other systems it goes to the digits filter.
int filterLocationKey(grid::Grid& grid, int row, int col, int coordinateType, int key,
                      const std::function<int(int)>& digitsFilter);

// ---- Leaving an editor.
// The UTM zone typed in UTM: from 30 to 32 (or blank) it is taken; otherwise the user is asked
// whether it is meant, and No refuses it (the editor stays open). Other cells are always taken.
bool acceptLocationEdit(int col, int coordinateType, const QString& text);

// ---- After edit: the check of a parcel against its commune's centre.
struct LocationCheckContext
{
    int coordinateType = 1;
    // The site's department and commune, for a row that names none.
    QString siteDepartment;
    QString siteCommune;
    const ReferenceData* references = nullptr;
    CoordinateServices coordinates;
};

enum class LocationCheck {
    NoPosition,    // a cell of the position is empty: nothing to check yet
    Unreadable,    // the position does not convert
    UnknownCentre, // the commune or its centre is not known, or the distance cannot be measured
    Near,          // within the limit: validated
    FarConfirmed,  // beyond it, and the user confirmed the position: validated
    FarDenied,     // beyond it, and the user did not confirm it
};

// The distance beyond which the user confirms a parcel, in kilometres.
inline constexpr double kNearParcelKm = 5.0;

// The distance as the information cell writes it: two decimals up to 20 km ("7,50"), whole
// kilometres, truncated, beyond ("27"); the regional decimal separator.
QString informationDistance(double km);
// The distance the question shows: the value in full up to 20 km ("7,5"), truncated beyond.
QString questionDistance(double km);

// Checks the parcel of a row after its cell in col was edited: writes its Lambert position, its
// "validated" box, its information cell and that cell's colour, and asks the question for a
// distant parcel (through the dialog service).
LocationCheck checkLocationRow(grid::Grid& grid, int row, int col, const LocationCheckContext& context);

// ---- Paste and fill.
// Whether a command may write a cell: a parcel cell that is neither read-only nor the
// information cell.
bool locationCellWritable(const grid::Grid& grid, int row, int col);

// Taken before a paste or a fill writes a range of the location grid, finished after it: the
// cells that may not be written get their former text and check state back, and every row whose
// cells changed is unticked.
class LocationGridChange
{
public:
    LocationGridChange(grid::Grid& grid, const grid::GridRange& range);
    // The rows changed, in grid order.
    QList<int> finish();

private:
    struct Cell
    {
        QString text;
        int check = 0;
    };
    grid::Grid& m_grid;
    grid::GridRange m_range;
    std::vector<Cell> m_before;
};

} // namespace record
