#pragma once
// Every constant of the coordinate conversion, each named once, with where its value comes from.
// The values are the ones the conversions have always computed with, digit for digit: a few are
// deliberately shorter than the exact value (the Lambert routines' pi/4 and grads-to-radians
// factor, the UTM inverse's pi) and must stay so, or every converted point moves.
//
// Units: metres, degrees, grads (400 to the circle), radians, as each name says.

#include <numbers>

namespace coords {

// --- Angles ---------------------------------------------------------------------------------

// Pi in double precision: exactly what 4 * arctan(1) gives, the value every routine uses unless
// it holds its own below.
inline constexpr double PI = std::numbers::pi;

inline constexpr double kDegreesPerHalfTurn = 180;
inline constexpr double kGradsPerHalfTurn = 200;

// --- Ellipsoids -----------------------------------------------------------------------------

struct Ellipsoid
{
    double a; // semi-major axis, metres
    double e; // first eccentricity (e^2 is always computed as e to the power 2)
};

// The three ellipsoids with a and e as the IGN publishes them.
// Clarke 1880 (IGN), the ellipsoid of NTF.
inline constexpr Ellipsoid kEllipsoidClarke1880Ign{6378249.2, 0.08248325676};
// International 1924 (Hayford 1909), the ellipsoid of ED50.
inline constexpr Ellipsoid kEllipsoidInternational1924{6378388.0, 0.08199188998};
// WGS84.
inline constexpr Ellipsoid kEllipsoidWgs84{6378137.0, 0.08181919106};
// The inverse flattening of WGS84 (298.257223563) rounded to four decimals: the UTM forward
// projection derives its meridian-arc series from it (its other steps take e above).
inline constexpr double kWgs84InverseFlatteningUtm = 298.2572;

// --- Datum changes --------------------------------------------------------------------------

// A three-parameter geocentric translation, metres.
struct Translation
{
    double dX, dY, dZ;
};

// NTF to WGS84: the IGN's published translation. Its opposite goes from WGS84 to NTF.
inline constexpr Translation kNtfToWgs84{-168, -60, 320};
// NTF to ED50: the IGN's NTF -> WGS84 translation less its ED50 -> WGS84 one (-84, -97, -117).
// Its opposite goes from ED50 to NTF. No direct WGS84 <-> ED50 change exists here.
inline constexpr Translation kNtfToEd50{-84, 37, 437};

// The Paris meridian, grads east of Greenwich (2°20'14.025''): the NTF's prime meridian.
inline constexpr double kParisMeridianGrads = 2.5969213;

// --- Lambert zones on NTF (Clarke 1880 IGN, Paris meridian) ---------------------------------

// The IGN's constants of each zone: n the cone constant, c the projection constant (metres),
// (Xs, Ys) the projected coordinates of the cone's pole (metres).
struct LambertZone
{
    double n;
    double c;
    double Xs;
    double Ys;
};
// Index 1 to 5: Lambert I, II, II étendu, III, IV (index 0 names no zone). Lambert IV's pole
// easting is 234.358 m, not 600000.
inline constexpr LambertZone kLambertZones[6] = {
    {0, 0, 0, 0},
    {0.7604059656, 11603796.98, 600000, 5657616.674},
    {0.7289686274, 11745793.39, 600000, 6199695.768},
    {0.7289686274, 11745793.39, 600000, 8199695.768},
    {0.6959127966, 11947992.52, 600000, 6791905.085},
    {0.6712679322, 12136281.99, 234.358, 7239161.542},
};

// Lambert II étendu as the forward and inverse projections hold it (a second form of zone 3):
inline constexpr double kLambert2ePhi0 = 0.816814089933;   // latitude of origin, radians (52 grads)
inline constexpr double kLambert2eL0 = 0.921557361;        // isometric latitude of the origin
inline constexpr double kLambert2eR0 = 5999695.77;         // radius at the origin, metres
inline constexpr double kLambert2eFalseEasting = 600000;   // metres
inline constexpr double kLambert2eFalseNorthing = 2200000; // metres
// The first eccentricity of Clarke 1880 IGN with more digits than the datum's (0.08248325676):
// the Lambert routines compute with this one.
inline constexpr double kLambertEccentricity = 0.0824832568046;
// pi/4 with 12 decimals, the last one a unit above the rounded value, as the forward
// projection holds it.
inline constexpr double kLambertPi4 = 0.785398163398;
// Radians in a grad (pi/200): the forward projection multiplies by the value cut after 13
// decimals, the inverse divides by the value held in single precision.
inline constexpr double kLambertRadiansPerGradForward = 0.0157079632679;
inline constexpr double kLambertRadiansPerGradInverse = double(0.015707964f);
// The inverse's series from the conformal latitude to the latitude (a, b, c of
// a s - b s^3 + c s^5, s the sine of the conformal latitude).
inline constexpr double kLambertSeriesA = 0.003425046;
inline constexpr double kLambertSeriesB = 1.5707e-05;
inline constexpr double kLambertSeriesC = 1.38e-07;

// --- UTM and MGRS (the UTM grid's definition) -----------------------------------------------

inline constexpr double kUtmScale = 0.9996;           // k0, on the central meridian
inline constexpr double kUtmFalseEasting = 500000;    // metres
inline constexpr double kUtmFalseNorthingSouth = 1e7; // metres, southern hemisphere only
// The UTM inverse's own value of pi, 1e-13 above pi: its latitudes and longitudes are computed
// with it.
inline constexpr double kUtmInversePi = 3.14159265358989;
// The side of an MGRS square, metres.
inline constexpr double kMgrsSquare = 100000;

// --- Distance -------------------------------------------------------------------------------

// The distance is measured on the sphere on which a minute of arc is a nautical mile.
inline constexpr double kMetresPerArcMinute = 1852;
inline constexpr double kArcMinutesPerHalfTurn = kDegreesPerHalfTurn * 60;

} // namespace coords
