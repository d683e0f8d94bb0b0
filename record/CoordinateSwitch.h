#pragma once
// The switch of the coordinate system shown by the parcel location grid: the position columns
// shown for a system, and every parcel's position converted from the system shown before to the
// new one. The Lambert II étendu columns follow every conversion, whatever system is shown.

#include "grid/Grid.h"
#include "record/ParcelPosition.h"

namespace record {

// The position columns a coordinate type shows: longitude and latitude for NTF, Lambert and
// WGS84; the zone with them for UTM; the square alone for MGRS.
struct PositionColumns
{
    bool utmZone = false;
    bool longitude = true;
    bool latitude = true;
    bool mgrsSquare = false;
    bool operator==(const PositionColumns&) const = default;
};
PositionColumns positionColumnsShown(int coordinateType);

// Converts parcel rows 1 to count of the location grid from oldType to newType through the
// dispatcher: the position cells of the new type are written (the others emptied) and the Lambert
// position, truncated to whole metres. A row whose position is incomplete or does not convert is
// left as it was, Lambert columns included. Nothing happens when both types are the same. Returns
// the number of rows converted.
int switchCoordinateSystem(grid::Grid& rows, int count, int oldType, int newType,
                           const ConvertFunction& convert = sub_Convertir_Coordonnees);

} // namespace record
