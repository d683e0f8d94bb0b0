#pragma once
// The French Lambert conformal conic zones on NTF (Clarke 1880 IGN, Paris meridian): the
// forward projection of NTF grads to Lambert II étendu, the change between zones, and the
// inverse from any zone to NTF grads.
//
// Zones: "1", "2", "2E", "3", "4", also written "LAMBERT 1", "LAMBERTS 1" and so on, compared in
// upper case. Coordinates X (easting) and Y (northing) in metres.

#include <QString>

#include <optional>

namespace coords {

struct LambertPoint
{
    double X = 0;
    double Y = 0;
};

// Index of a zone text: 1 Lambert I, 2 Lambert II, 3 Lambert II étendu, 4 Lambert III,
// 5 Lambert IV; 0 for a text that names no zone.
int lambertZoneIndex(const QString& zone);

struct NtfFromLambert
{
    QString lambda; // NTF grads from Paris, pattern "0.00000", regional separator
    QString phi;
    double lambdaValue = 0; // the same values as numbers
    double phiValue = 0;
};

} // namespace coords

// NTF grads (longitude from Paris) to Lambert II étendu, unrounded. Nothing for grads beyond
// their range (coords::ntfInRange) or not finite.
std::optional<coords::LambertPoint> sub_NTF_To_Lambert(double lambda, double phi);

// A point from one zone's projection to another's. Nothing when a zone text names no zone.
std::optional<coords::LambertPoint> sub_Lambert_Zone(const QString& sourceZone, const QString& targetZone,
                                                     double X, double Y);

// Lambert coordinates of a zone ("*" stands for "2E") to NTF grads. Nothing when the zone text
// names no zone (blank included) or a value is not finite.
std::optional<coords::NtfFromLambert> sub_Lambert_To_NTF(double X, double Y, const QString& zone);
