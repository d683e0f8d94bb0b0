#include "coords/Datums.h"

#include "coords/GeodeticConstants.h"

#include <cmath>

using namespace coords;

namespace {

// Clarke 1880 (IGN) for NTF, International 1924 for ED50, WGS84 for WGS84.
const Ellipsoid& ellipsoide(Datum d)
{
    switch (d) {
    case Datum::NTF:
        return ELLIPSOID_CLARKE_1880_IGN;
    case Datum::ED50:
        return ELLIPSOID_INTERNATIONAL_1924;
    case Datum::WGS84:
        break;
    }
    return ELLIPSOID_WGS84;
}

// Grads for NTF, degrees for the others.
double demiTour(Datum d) { return d == Datum::NTF ? GRADS_PER_HALF_TURN : DEGREES_PER_HALF_TURN; }

// The translation (metres) added before the geographic coordinates are computed on the target:
// chosen by the target, and for an NTF target by the source (WGS84, or else ED50).
Cartesien translation(Datum source, Datum cible)
{
    auto depuis = [](const Translation& t) { return Cartesien{t.dX, t.dY, t.dZ}; };
    auto inverse = [](const Translation& t) { return Cartesien{-t.dX, -t.dY, -t.dZ}; };
    switch (cible) {
    case Datum::WGS84:
        return depuis(NTF_TO_WGS84);
    case Datum::ED50:
        return depuis(NTF_TO_ED50);
    case Datum::NTF:
        break;
    }
    if (source == Datum::WGS84)
        return inverse(NTF_TO_WGS84);
    return inverse(NTF_TO_ED50);
}

// Latitude from geocentric coordinates by the fixed-point iteration on the given ellipsoid.
constexpr double TOLERANCE = 1e-11; // radians
constexpr int PASSES_MAX = 50;      // the iteration settles in a few passes near the surface

std::optional<Geographique> geocentriqueVersRadians(const Cartesien& c, double a, double e)
{
    const double e2 = std::pow(e, 2);
    const double R = std::sqrt(c.X * c.X + c.Y * c.Y);
    const double rho = std::sqrt(c.X * c.X + c.Y * c.Y + c.Z * c.Z);
    if (!(rho > 0))
        return std::nullopt;
    // atan2: the plain arc tangent of Y/X gives the wrong quadrant beyond 90 degrees.
    const double lambda = std::atan2(c.Y, c.X);
    if (!(R > 0)) // on the axis: a pole
        return Geographique{lambda, c.Z > 0 ? PI / 2 : -PI / 2};
    double phi = std::atan(c.Z / (R * (1 - a * e2 / rho)));
    for (int passe = 0; passe < PASSES_MAX; ++passe) {
        const double s = std::sin(phi);
        const double suivant =
            std::atan((c.Z / R) * std::pow(1 - a * e2 * std::cos(phi) / (R * std::sqrt(1 - e2 * s * s)), -1));
        if (!std::isfinite(suivant))
            return std::nullopt;
        const bool fini = std::abs(suivant - phi) < TOLERANCE;
        phi = suivant;
        if (fini)
            return Geographique{lambda, phi};
    }
    return std::nullopt;
}

bool fini(const Cartesien& c) { return std::isfinite(c.X) && std::isfinite(c.Y) && std::isfinite(c.Z); }

} // namespace

std::optional<Datum> fun_Datum(QStringView code)
{
    if (code == u"G" || code == u"NTF")
        return Datum::NTF;
    if (code == u"E" || code == u"ED50")
        return Datum::ED50;
    if (code == u"W" || code == u"WGS84")
        return Datum::WGS84;
    return std::nullopt;
}

double grandeNormale(double phiRadians, Datum datum)
{
    const Ellipsoid& el = ellipsoide(datum);
    const double s = std::sin(phiRadians);
    return el.a / std::sqrt(1 - std::pow(el.e, 2) * s * s);
}

std::optional<double> fun_Grande_Normale(double phiRadians, const QString& datum)
{
    const auto d = fun_Datum(datum);
    if (!d)
        return std::nullopt;
    return grandeNormale(phiRadians, *d);
}

std::optional<Cartesien> geoVersCart(double lambda, double phi, Datum datum)
{
    if (!std::isfinite(lambda) || !std::isfinite(phi))
        return std::nullopt;
    const double lr = PI * lambda / demiTour(datum);
    const double pr = PI * phi / demiTour(datum);
    const double N = grandeNormale(pr, datum);
    const double e2 = std::pow(ellipsoide(datum).e, 2);
    return Cartesien{N * std::cos(pr) * std::cos(lr), N * std::cos(pr) * std::sin(lr), (N * (1 - e2)) * std::sin(pr)};
}

std::optional<Cartesien> sub_Geo_To_Cart(double lambda, double phi, const QString& datum)
{
    const auto d = fun_Datum(datum);
    if (!d)
        return std::nullopt;
    return geoVersCart(lambda, phi, *d);
}

std::optional<CartVersGeo> cartVersGeo(Datum source, Datum cible, const Cartesien& xyz)
{
    if (!fini(xyz))
        return std::nullopt;
    const Cartesien t = translation(source, cible);
    const Cartesien c{xyz.X + t.X, xyz.Y + t.Y, xyz.Z + t.Z};
    const Ellipsoid& el = ellipsoide(cible);
    const auto g = geocentriqueVersRadians(c, el.a, el.e);
    if (!g)
        return std::nullopt;
    const double k = demiTour(cible);
    return CartVersGeo{{g->lambda / PI * k, g->phi / PI * k}, c};
}

std::optional<CartVersGeo> sub_Cart_To_Geo(const QString& source, const QString& cible, const Cartesien& xyz)
{
    const auto c = fun_Datum(cible);
    if (c) {
        // The source only matters for an NTF target; an unknown source there takes the ED50 row.
        const Datum s = fun_Datum(source).value_or(Datum::ED50);
        return cartVersGeo(s, *c, xyz);
    }
    // Unknown target: no translation, a = 0 and e = 0, degrees.
    if (!fini(xyz))
        return std::nullopt;
    const auto g = geocentriqueVersRadians(xyz, 0, 0);
    if (!g)
        return std::nullopt;
    return CartVersGeo{{g->lambda / PI * DEGREES_PER_HALF_TURN, g->phi / PI * DEGREES_PER_HALF_TURN}, xyz};
}
