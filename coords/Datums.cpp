#include "coords/Datums.h"

#include "coords/GeodeticConstants.h"

#include <cmath>

using namespace coords;

namespace {

// Clarke 1880 (IGN) for NTF, International 1924 for ED50, WGS84 for WGS84.
const Ellipsoid& ellipsoidOf(Datum d)
{
    switch (d) {
    case Datum::NTF:
        return kEllipsoidClarke1880Ign;
    case Datum::ED50:
        return kEllipsoidInternational1924;
    case Datum::WGS84:
        break;
    }
    return kEllipsoidWgs84;
}

// Grads for NTF, degrees for the others.
double halfTurn(Datum d) { return d == Datum::NTF ? kGradsPerHalfTurn : kDegreesPerHalfTurn; }

// The translation (metres) added before the geographic coordinates are computed on the target:
// chosen by the target, and for an NTF target by the source (WGS84, or else ED50).
Geocentric translationTo(Datum source, Datum target)
{
    auto fromNtf = [](const Translation& t) { return Geocentric{t.dX, t.dY, t.dZ}; };
    auto inverse = [](const Translation& t) { return Geocentric{-t.dX, -t.dY, -t.dZ}; };
    switch (target) {
    case Datum::WGS84:
        return fromNtf(kNtfToWgs84);
    case Datum::ED50:
        return fromNtf(kNtfToEd50);
    case Datum::NTF:
        break;
    }
    if (source == Datum::WGS84)
        return inverse(kNtfToWgs84);
    return inverse(kNtfToEd50);
}

// Latitude from geocentric coordinates by the fixed-point iteration on the given ellipsoid.
constexpr double TOLERANCE = 1e-11; // radians
constexpr int kMaxPasses = 50;      // the iteration settles in a few passes near the surface

std::optional<Geographic> geocentricToRadians(const Geocentric& c, double a, double e)
{
    const double e2 = std::pow(e, 2);
    const double R = std::sqrt(c.X * c.X + c.Y * c.Y);
    const double rho = std::sqrt(c.X * c.X + c.Y * c.Y + c.Z * c.Z);
    if (!(rho > 0))
        return std::nullopt;
    // atan2: the plain arc tangent of Y/X gives the wrong quadrant beyond 90 degrees.
    const double lambda = std::atan2(c.Y, c.X);
    if (!(R > 0)) // on the axis: a pole
        return Geographic{lambda, c.Z > 0 ? PI / 2 : -PI / 2};
    double phi = std::atan(c.Z / (R * (1 - a * e2 / rho)));
    for (int pass = 0; pass < kMaxPasses; ++pass) {
        const double s = std::sin(phi);
        const double next =
            std::atan((c.Z / R) * std::pow(1 - a * e2 * std::cos(phi) / (R * std::sqrt(1 - e2 * s * s)), -1));
        if (!std::isfinite(next))
            return std::nullopt;
        const bool settled = std::abs(next - phi) < TOLERANCE;
        phi = next;
        if (settled)
            return Geographic{lambda, phi};
    }
    return std::nullopt;
}

bool isFinite(const Geocentric& c) { return std::isfinite(c.X) && std::isfinite(c.Y) && std::isfinite(c.Z); }

} // namespace

std::optional<Datum> coords::datumFromCode(QStringView code)
{
    if (code == u"G" || code == u"NTF")
        return Datum::NTF;
    if (code == u"E" || code == u"ED50")
        return Datum::ED50;
    if (code == u"W" || code == u"WGS84")
        return Datum::WGS84;
    return std::nullopt;
}

double coords::primeVerticalRadius(double phiRadians, Datum datum)
{
    const Ellipsoid& el = ellipsoidOf(datum);
    const double s = std::sin(phiRadians);
    return el.a / std::sqrt(1 - std::pow(el.e, 2) * s * s);
}

std::optional<double> fun_Grande_Normale(double phiRadians, const QString& datum)
{
    const auto d = datumFromCode(datum);
    if (!d)
        return std::nullopt;
    return primeVerticalRadius(phiRadians, *d);
}

std::optional<Geocentric> coords::geoToCart(double lambda, double phi, Datum datum)
{
    if (!std::isfinite(lambda) || !std::isfinite(phi))
        return std::nullopt;
    const double lr = PI * lambda / halfTurn(datum);
    const double pr = PI * phi / halfTurn(datum);
    const double N = primeVerticalRadius(pr, datum);
    const double e2 = std::pow(ellipsoidOf(datum).e, 2);
    return Geocentric{N * std::cos(pr) * std::cos(lr), N * std::cos(pr) * std::sin(lr),
                      (N * (1 - e2)) * std::sin(pr)};
}

std::optional<Geocentric> sub_Geo_To_Cart(double lambda, double phi, const QString& datum)
{
    const auto d = datumFromCode(datum);
    if (!d)
        return std::nullopt;
    return geoToCart(lambda, phi, *d);
}

std::optional<DatumChange> coords::cartToGeo(Datum source, Datum target, const Geocentric& xyz)
{
    if (!isFinite(xyz))
        return std::nullopt;
    const Geocentric t = translationTo(source, target);
    const Geocentric c{xyz.X + t.X, xyz.Y + t.Y, xyz.Z + t.Z};
    const Ellipsoid& el = ellipsoidOf(target);
    const auto g = geocentricToRadians(c, el.a, el.e);
    if (!g)
        return std::nullopt;
    const double k = halfTurn(target);
    return DatumChange{{g->lambda / PI * k, g->phi / PI * k}, c};
}

std::optional<DatumChange> sub_Cart_To_Geo(const QString& source, const QString& target,
                                           const Geocentric& xyz)
{
    const auto c = datumFromCode(target);
    if (c) {
        // The source only matters for an NTF target; an unknown source there takes the ED50 row.
        const Datum s = datumFromCode(source).value_or(Datum::ED50);
        return cartToGeo(s, *c, xyz);
    }
    // Unknown target: no translation, a = 0 and e = 0, degrees.
    if (!isFinite(xyz))
        return std::nullopt;
    const auto g = geocentricToRadians(xyz, 0, 0);
    if (!g)
        return std::nullopt;
    return DatumChange{{g->lambda / PI * kDegreesPerHalfTurn, g->phi / PI * kDegreesPerHalfTurn}, xyz};
}
