#pragma once
// MGRS references on the UTM grid: built from a UTM position, and read back into zone, easting
// and northing (then geographic texts through the UTM inverse).
//
// Built text: 20 characters: zone (one digit in position 1, or two), latitude band, 100 km
// column and row letters, five easting digits, five northing digits, five blanks. Read text:
// zone, band, column, row, then 0 to 10 digits split in two halves.

#include "coords/Datums.h"

#include <QString>

#include <optional>

namespace coords {

struct MgrsPosition
{
    int zone = 0;
    double easting = 0;  // metres, the south-west corner of the square given by the digits
    double northing = 0; // metres; south of the equator, the usual value with a minus sign
};

struct MgrsToGeoResult
{
    int error = 0; // 0, or -1 when the reference was refused (nothing else is then set)
    QString longitude;
    QString latitude;
    MgrsPosition utm;
};

} // namespace coords

// The reference of a UTM position; latitude in degrees (for the band letter). A letter that
// cannot be placed (beyond the bands, an easting under 100 km or from 900 km) is left blank.
// Nothing for a zone outside 1 to 61 (61 is zone 1) or a negative or not finite easting or
// northing.
std::optional<QString> sub_UTM_To_MGRS(double latitude, double easting, double northing, int zone);

// Nothing (the error -1) for a text shorter than 5 characters, without a zone from 1 to 60, with
// a band outside C to X, a column letter outside the zone's set, a row letter that cannot be
// placed or that lies beyond the band's far edge, more than 10 digits, an odd number of digits,
// or a character that is no digit among them. The datum code does not change the result. The
// row letter is read in the builder's lettering and placed in the first row from the band's edge
// nearest the equator that bears it.
std::optional<coords::MgrsPosition> sub_Decode_MGRS(const QString& text,
                                                    const QString& datum = coords::kCodeWgs84);

// Decodes the reference and converts its UTM position to WGS84 texts (the UTM text form).
coords::MgrsToGeoResult sub_MGRS_To_Geo(const QString& text);
