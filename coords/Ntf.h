#pragma once
// NTF geographic coordinates in grads, longitude counted from the Paris meridian: the hub of the
// coordinate conversion. Turned into WGS84 or ED50 degrees-minutes-seconds texts and back,
// through the geocentric datum change.

#include "coords/CoordinateFormats.h"
#include "coords/Datums.h"

#include <QString>

#include <optional>

namespace coords {

// NTF grads on the Earth: longitudes from -200 to 200 (half a turn either side of Paris),
// latitudes from -100 to 100. False for anything else, not-a-number included.
bool ntfInRange(double lambda, double phi);

// A non-negative number of degrees as whole degrees, whole minutes and the remaining seconds
// (not rounded; never negative, and never written as 60: see carrySixty).
DegreesMinutesSeconds splitDegrees(double v);

struct DmsTexts
{
    QString longitude; // "E2°20'14,0250000000001''" ...
    QString latitude;
    // The parts as the texts hold them (the seconds at their 15 significant digits).
    HemisphereDms longitudeParts, latitudeParts;
    Geocentric xyz; // geocentric, metres, on the target datum
};

// NTF grads (single precision, as the callers hold them) to texts on WGS84 or ED50. Nothing for
// an NTF target, grads beyond their range or a value that cannot be converted.
std::optional<DmsTexts> ntfToDms(float lambda, float phi, Datum target);

struct NtfGrads
{
    double lambda = 0; // NTF grads from Paris, four decimals
    double phi = 0;    // NTF grads, four decimals
    Geocentric xyz;    // geocentric on NTF, metres
};

// Degrees-minutes-seconds texts on WGS84 or ED50 to NTF grads rounded to four decimals. Nothing
// when a text cannot be read or the source is NTF.
std::optional<NtfGrads> dmsToNtf(const QString& longitude, const QString& latitude, Datum source);

} // namespace coords

// Letter, degrees, "°", minutes, "'", seconds, "''" with nothing between them.
QString fun_Format_DMS(const QString& hemisphere, const QString& degrees, const QString& minutes,
                       const QString& seconds);
// The same with numbers, each in the general text form with the regional separator.
QString fun_Format_DMS(const QString& hemisphere, double degrees, double minutes, double seconds);

// The same as coords::ntfToDms with a datum code: "WGS84"/"W" or "ED50"/"E".
std::optional<coords::DmsTexts> sub_NTF_To_DMS(float lambda, float phi, const QString& targetDatum);

// The same as coords::dmsToNtf with a datum code: "WGS84"/"W" or "ED50"/"E".
std::optional<coords::NtfGrads> sub_DMS_To_NTF(const QString& longitude, const QString& latitude,
                                               const QString& sourceDatum);
