#pragma once
// The three geodetic datums (NTF, ED50, WGS84) with their ellipsoids, and the datum change
// through geocentric coordinates with a three-parameter translation. NTF is the hub: every
// change goes from NTF or to NTF.
//
// Units: geographic angles in grads for NTF (longitude from Greenwich here) and in degrees for
// ED50 and WGS84; geocentric X, Y, Z in metres; ellipsoidal height always zero.

#include <QString>
#include <QStringView>

#include <optional>

namespace coords {

enum class Datum { NTF, ED50, WGS84 };

// The datum code the conversions pass for WGS84.
inline const QString kCodeWgs84 = QStringLiteral("WGS84");

// "G"/"NTF", "E"/"ED50", "W"/"WGS84" (exact, case-sensitive); nothing for any other text.
std::optional<Datum> datumFromCode(QStringView code);

struct Geocentric
{
    double X = 0;
    double Y = 0;
    double Z = 0;
};

struct Geographic
{
    double lambda = 0; // longitude
    double phi = 0;    // latitude
};

// Radius of curvature in the prime vertical N = a / sqrt(1 - e^2 sin^2 phi), phi in radians.
double primeVerticalRadius(double phiRadians, Datum datum);

// Geographic (grads for NTF, degrees otherwise) to geocentric on the datum's ellipsoid.
// Nothing for a value that is not finite.
std::optional<Geocentric> geoToCart(double lambda, double phi, Datum datum);

struct DatumChange
{
    Geographic geo; // grads when the target is NTF, degrees otherwise
    Geocentric xyz; // the translated geocentric coordinates, on the target datum
};

// Geocentric coordinates on the source datum to geographic coordinates on the target datum,
// after the translation chosen by the target (and, for an NTF target, by the source: WGS84, or
// else ED50). Nothing when a value is not finite, at the centre of the Earth, or when the
// latitude does not settle within a fixed number of passes.
std::optional<DatumChange> cartToGeo(Datum source, Datum target, const Geocentric& xyz);

} // namespace coords

// The same with datum codes.

// Nothing for an unknown datum code.
std::optional<double> fun_Grande_Normale(double phiRadians, const QString& datum);

// Nothing for an unknown datum code or a value that is not finite.
std::optional<coords::Geocentric> sub_Geo_To_Cart(double lambda, double phi, const QString& datum);

// A source code that is none of the six counts as ED50 (it only matters for an NTF target). A
// target code that is none of the six applies no translation and gives the geocentric direction
// of the point in degrees.
std::optional<coords::DatumChange> sub_Cart_To_Geo(const QString& source, const QString& target,
                                                   const coords::Geocentric& xyz);
