#pragma once
// The UTM projection: WGS84 degrees-minutes-seconds texts to zone, easting and northing, and
// zone, easting and northing back to texts on WGS84 or ED50. The conversion dispatcher builds
// the MGRS reference of a point from the position given here.
//
// Zones 1 to 60, 6 degrees wide, central meridian 6z - 183 degrees; scale 0.9996 on it; false
// easting 500000 m. A southern point's northing is written with the false northing 10000000 m
// added; read back, a negative northing is a southern point written with a minus sign in front
// of that usual value.

#include "coords/CoordinateFormats.h"

#include <QString>

#include <optional>

namespace coords {

struct UtmPosition
{
    double easting = 0;  // metres, a whole number (truncated)
    qint32 northing = 0; // metres (rounded, halves to even); south of the equator with 10000000 added
    int zone = 0;
    bool south = false; // the point lies south of the equator
};

// The northing as the UTM slot of a coordinate set holds it, whatever the source, and as
// sub_UTM_To_Geo reads it: a southern point's usual value with a minus sign in front.
qint32 signedNorthing(const UtmPosition& p);

// A WGS84 degrees-minutes-seconds text as the forward projection reads it (label: kLongitudeLabel
// or kLatitudeLabel): its letter and its parts, blank parts counting as zero. Nothing when the
// text is refused or a part is not a number.
std::optional<HemisphereDms> readUtmText(const QString& label, const QString& text);

// The UTM position of a point given by the letters and numbers of its two texts' parts. Nothing
// when the zone falls outside 1 to 60 or the position cannot be computed.
std::optional<UtmPosition> utmFromParts(const HemisphereDms& longitude, const HemisphereDms& latitude);

// The northing of a latitude (degrees) on a zone's central meridian, where a parallel comes
// nearest the equator, as the forward direction computes it before rounding: metres, negative in
// the south (without the false northing).
double northingOnCentralMeridian(double latitude);
// The same for a point that many degrees (offset) east or west of its zone's central meridian.
double utmNorthing(double latitude, double offset);

struct UtmGeoTexts
{
    // Letter, whole degrees, "°", minutes on two places (" 5", "00"), "'", the seconds after a
    // blank with "." as separator, and the double quote: N48°51' 24.1234"
    QString longitude;
    QString latitude;
};

// A value in degrees in the UTM text form (the letter from the sign).
QString utmText(double degrees, bool latitude);

} // namespace coords

// WGS84 texts to their UTM position (readUtmText, then utmFromParts). Nothing when a text cannot
// be read or the zone falls outside 1 to 60.
std::optional<coords::UtmPosition> sub_Geo_To_UTM(const QString& longitude, const QString& latitude);

// datum: "WGS84" ("W") or "ED50" ("E"). Nothing for another datum, a zone that is not a whole
// number from 1 to 60, a value that is not finite, or a footpoint latitude that does not settle.
std::optional<coords::UtmGeoTexts> sub_UTM_To_Geo(double zone, double easting, double northing,
                                                  const QString& datum);
