#include "coords/Utm.h"

#include "coords/Datums.h"
#include "coords/GeodeticConstants.h"
#include "coords/NumberText.h"

#include <cmath>
#include <limits>

using namespace coords;

namespace {

constexpr double kFootpointTolerance = 1e-10; // radians
constexpr int kMaxPasses = 100;

// The meridian arc of the forward direction, from the equator to the latitude phi (radians), in
// metres; negative in the south.
double meridianArc(double phi)
{
    const double a = kEllipsoidWgs84.a;
    const double b = a - a / kWgs84InverseFlatteningUtm;
    const double n = (a - b) / (a + b);
    const double n2 = n * n, n3 = n2 * n, n4 = n3 * n, n5 = n4 * n;
    const double Ap = a * (1 - n + (5.0 / 4) * (n2 - n3) + (81.0 / 64) * (n4 - n5));
    // 3a, 15a, 35a and 315a.
    const double Bp = (3 * a * n / 2) * (1 - n + (7.0 / 8) * (n2 - n3) + (55.0 / 64) * (n4 - n5));
    const double Cp = (15 * a * n2 / 16) * (1 - n + (3.0 / 4) * (n2 - n3));
    const double Dp = (35 * a * n3 / 48) * (1 - n + (11.0 / 16) * (n2 - n3));
    const double Ep = (315 * a * n4 / 51) * (99.0 / 144) * (n2 - n3);
    return Ap * phi - Bp * std::sin(2 * phi) + Cp * std::sin(4 * phi) - Dp * std::sin(6 * phi) +
           Ep * std::sin(8 * phi);
}

// The northing of the forward direction before rounding, from the latitude phi (radians) and A,
// the longitude from the central meridian (radians) times cos phi: metres, negative in the
// south, without the false northing.
double rawNorthing(double phi, double A)
{
    const double a = kEllipsoidWgs84.a;
    const double e2 = std::pow(kEllipsoidWgs84.e, 2);
    const double N = a / std::sqrt(1 - e2 * std::pow(std::sin(phi), 2));
    const double T = std::pow(std::tan(phi), 2);
    const double C = e2 * std::pow(std::cos(phi), 2);
    return kUtmScale *
           (meridianArc(phi) + N * std::tan(phi) *
                                   (A * A / 2 + (5 - T + 9 * C + 4 * C * C) * std::pow(A, 4) / 24 +
                                    (61 - 58 * T + T * T + 600 * C - 330 * e2) * std::pow(A, 6) / 720));
}

// Seconds and minutes of the UTM text form.
QString blankThenText(double v) { return QLatin1Char(' ') + generalText(v, QLatin1Char('.')); }

} // namespace

QString coords::utmText(double value, bool latitude)
{
    const QString letter = latitude ? (value < 0 ? QStringLiteral("S") : QStringLiteral("N"))
                                    : (value < 0 ? QStringLiteral("W") : QStringLiteral("E"));
    // A value just under a whole number is taken as that number.
    if (generalText(value, QLatin1Char('.')).contains(QStringLiteral(".9999999")))
        value = std::round(value);
    const double t = std::trunc(value);
    const double mPrime = (value - t) * 60;
    const double u = std::trunc(mPrime);
    double d = std::abs(t), m = std::abs(u), s = std::abs((mPrime - u) * 60);
    carrySixty(d, m, s);
    const QString degrees = d == 0 ? QStringLiteral("0") : generalText(d, QLatin1Char('.'));
    const QString minutes = m == 0 ? QStringLiteral("00") : blankThenText(m).right(2);
    return letter + degrees + QChar(u'\u00B0') + minutes + QLatin1Char('\'') + blankThenText(s) +
           QLatin1Char('"');
}

std::optional<HemisphereDms> coords::readUtmText(const QString& label, const QString& text)
{
    const CoordinateParts p = fun_Verif_Coord_Type(label, text, false, kTypeWgs84Dms);
    if (p.error != 0)
        return std::nullopt;
    const QChar sep = decimalSeparator();
    auto value = [&](const QString& t) -> std::optional<double> {
        if (trimBlanks(t).isEmpty())
            return 0.0;
        const NumberReading l = readNumber(t, sep);
        return l.ok() ? std::optional<double>(l.value) : std::nullopt;
    };
    const auto d = value(p.degrees);
    const auto m = value(p.minutes);
    const auto s = value(p.seconds);
    if (!d || !m || !s)
        return std::nullopt;
    return HemisphereDms{p.hemisphere.at(0), {*d, *m, *s}};
}

double coords::northingOnCentralMeridian(double latitude) { return utmNorthing(latitude, 0); }

double coords::utmNorthing(double latitude, double offset)
{
    const double rad = 2 * PI / 360;
    return rawNorthing(latitude * rad, offset * rad * std::cos(latitude * rad));
}

std::optional<UtmPosition> sub_Geo_To_UTM(const QString& longitude, const QString& latitude)
{
    const auto lon = readUtmText(kLongitudeLabel, longitude);
    const auto lat = readUtmText(kLatitudeLabel, latitude);
    if (!lon || !lat)
        return std::nullopt;
    return utmFromParts(*lon, *lat);
}

std::optional<UtmPosition> coords::utmFromParts(const HemisphereDms& longitude, const HemisphereDms& latitude)
{
    const DegreesMinutesSeconds& lon = longitude.dms;
    const DegreesMinutesSeconds& lat = latitude.dms;
    const double rad = 2 * PI / 360;
    const double a = kEllipsoidWgs84.a;
    const double e2 = std::pow(kEllipsoidWgs84.e, 2);

    double lambda = (lon.degrees + lon.minutes / 60 + lon.seconds / 3600) * rad;
    if (longitude.hemisphere != u'E')
        lambda = -lambda;
    double phi = (lat.degrees + lat.minutes / 60 + lat.seconds / 3600) * rad;
    if (latitude.hemisphere != u'N')
        phi = -phi;

    // The zone from the whole degrees of the longitude alone.
    int zone;
    if (lon.degrees == 180)
        zone = 1;
    else if (longitude.hemisphere == u'E')
        zone = int(std::floor(lon.degrees / 6 + 31));
    else
        zone = int(std::abs(std::floor(lon.degrees / 6) - 30));
    if (zone < 1 || zone > 60)
        return std::nullopt;
    const double lambda0 = ((zone - 1) * 6 - 180 + 3) * rad;

    const double N = a / std::sqrt(1 - e2 * std::pow(std::sin(phi), 2));
    const double T = std::pow(std::tan(phi), 2);
    const double C = e2 * std::pow(std::cos(phi), 2);
    // Measured the short way round: 180°E is 3° east of zone 1's central meridian, not 357°.
    const double A = std::remainder(lambda - lambda0, 2 * PI) * std::cos(phi);
    const double northing = std::nearbyint(rawNorthing(phi, A)); // halves to even
    const double easting = std::trunc(kUtmScale * N *
                                          (A + (1 - T + C) * std::pow(A, 3) / 6 +
                                           (5 - 18 * T + T * T + 72 * C - 58 * e2) * std::pow(A, 5) / 120) +
                                      kUtmFalseEasting);
    if (!std::isfinite(northing) || !std::isfinite(easting) ||
        std::abs(northing) > std::numeric_limits<qint32>::max())
        return std::nullopt;
    UtmPosition r;
    r.zone = zone;
    r.easting = easting;
    r.northing = qint32(northing);
    r.south = phi < 0;
    if (r.south)
        r.northing += qint32(kUtmFalseNorthingSouth);
    return r;
}

qint32 coords::signedNorthing(const UtmPosition& p) { return p.south ? -p.northing : p.northing; }

std::optional<UtmGeoTexts> sub_UTM_To_Geo(double zone, double easting, double northing, const QString& datum)
{
    const auto d = datumFromCode(datum);
    if (!d || *d == Datum::NTF)
        return std::nullopt;
    if (!(zone >= 1 && zone <= 60) || zone != std::trunc(zone) || !std::isfinite(easting) ||
        !std::isfinite(northing))
        return std::nullopt;
    const Ellipsoid& ellipsoid = *d == Datum::WGS84 ? kEllipsoidWgs84 : kEllipsoidInternational1924;
    const double a = ellipsoid.a;
    const double e2 = std::pow(ellipsoid.e, 2);
    const double e4 = e2 * e2, e6 = e4 * e2;
    const double lambda0 = std::round(6 * zone - 183) * kUtmInversePi / 180;
    const double x = easting;
    double y = std::floor(northing * 1000) / 1000;
    if (y < 0)
        y = -(y + kUtmFalseNorthingSouth);

    const double A0 = 1 - e2 * 2 / 8 - e4 * 12 / 256 - e6 * 60 / 3072;
    const double A2 = e2 * 3 / 8 + e4 * 24 / 256 + e6 * 135 / 3072;
    const double A4 = e4 * 15 / 256 + e6 * 135 / 3072;
    const double A6 = e6 * 35 / 3072;

    // Footpoint latitude.
    double phi = y / (kUtmScale * a * (1 - e2));
    double nu = 0, eta2 = 0;
    bool settled = false;
    for (int pass = 0; pass < kMaxPasses; ++pass) {
        const double M =
            kUtmScale * a *
            (A0 * phi - A2 * std::sin(2 * phi) + A4 * std::sin(4 * phi) - A6 * std::sin(6 * phi));
        nu = kUtmScale * a / std::sqrt(1 - e2 * std::pow(std::sin(phi), 2));
        eta2 = e2 * std::pow(std::cos(phi), 2) / (1 - e2);
        const double dphi = (y - M) * (1 + eta2) / nu;
        if (!std::isfinite(dphi))
            return std::nullopt;
        if (std::abs(dphi) < kFootpointTolerance) {
            settled = true;
            break;
        }
        phi += dphi;
    }
    // A footpoint beyond the poles: the northing lies off the Earth.
    if (!settled || !(std::abs(phi) <= kUtmInversePi / 2))
        return std::nullopt;

    const double t = std::tan(phi);
    const double T = t * t;
    const double D = (x - kUtmFalseEasting) / nu;
    const double D2 = D * D;
    const double latitude = phi - (1 + eta2) * t * (D2 / 2) *
                                      (1 - (D2 / 12) * (5 + 3 * T + eta2 - 4 * eta2 * eta2 - 9 * T * eta2) +
                                       (D2 * D2 / 360) * (61 + 90 * T + 45 * T * T));
    const double longitude =
        lambda0 +
        (D / std::cos(phi)) * (1 - (D2 / 6) * (1 + 2 * T + eta2) +
                               (D2 * D2 / 120) * (5 + 28 * T + 24 * T * T + 6 * eta2 + 8 * T * eta2));
    const double latDeg = latitude * 180 / kUtmInversePi;
    const double lonDeg = longitude * 180 / kUtmInversePi;
    if (!(std::abs(latDeg) <= 90) || !std::isfinite(lonDeg))
        return std::nullopt;
    return UtmGeoTexts{utmText(lonDeg, false), utmText(latDeg, true)};
}
