#include "coords/Lambert.h"

#include "coords/Ntf.h"
#include "coords/TexteNombre.h"

#include <cmath>

using namespace coords;

namespace {

struct Zone
{
    double n;  // cone constant
    double c;  // projection constant, metres
    double Xs; // projected coordinates of the cone's pole, metres
    double Ys;
};

// Index 1 to 5: Lambert I, II, II étendu, III, IV.
constexpr Zone ZONES[6] = {
    {0, 0, 0, 0},
    {0.7604059656, 11603796.98, 600000, 5657616.674},
    {0.7289686274, 11745793.39, 600000, 6199695.768},
    {0.7289686274, 11745793.39, 600000, 8199695.768},
    {0.6959127966, 11947992.52, 600000, 6791905.085},
    {0.6712679322, 12136281.99, 234.358, 7239161.542},
};
constexpr int INDEX_2E = 3;

// Lambert II étendu as the forward and inverse projections hold it.
constexpr double PHI0 = 0.816814089933;    // latitude of origin, radians (52 grads)
constexpr double L0 = 0.921557361;         // isometric latitude of the origin
constexpr double R0 = 5999695.77;          // radius at the origin, metres
constexpr double X0 = 600000;              // false easting, metres
constexpr double Y0 = 2200000;             // false northing, metres
constexpr double E = 0.0824832568046;      // first eccentricity of Clarke 1880 IGN
constexpr double PI_4 = 0.785398163398;
constexpr double GRADS_VERS_RADIANS = 0.0157079632679;
// The inverse divides by this factor held in single precision.
const double RADIANS_PAR_GRADE = double(0.015707964f);
// Latitude series of the inverse.
constexpr double SERIE_A = 0.003425046;
constexpr double SERIE_B = 1.5707e-05;
constexpr double SERIE_C = 1.38e-07;

bool fini(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

} // namespace

int fun_Index_Zone_Lambert(const QString& zone)
{
    // The code alone, or after "LAMBERT " or "LAMBERTS ", compared in upper case.
    QStringView code(zone);
    for (const QLatin1StringView prefixe : {QLatin1StringView("LAMBERTS "), QLatin1StringView("LAMBERT ")}) {
        if (code.startsWith(prefixe, Qt::CaseInsensitive)) {
            code = code.mid(prefixe.size());
            break;
        }
    }
    static const char* const codes[6] = {"", "1", "2", "2E", "3", "4"};
    for (int i = 1; i <= 5; ++i)
        if (code.compare(QLatin1StringView(codes[i]), Qt::CaseInsensitive) == 0)
            return i;
    return 0;
}

std::optional<PointLambert> sub_NTF_To_Lambert(double lambda, double phi)
{
    if (!ntfDansLesBornes(lambda, phi))
        return std::nullopt;
    const double lr = GRADS_VERS_RADIANS * lambda;
    const double pr = GRADS_VERS_RADIANS * phi;
    const double n = std::sin(PHI0);
    const double gamma = n * lr;
    const double es = E * std::sin(pr);
    const double L = std::log(std::tan(pr / 2 + PI_4)) - (E * std::log((1 + es) / (1 - es))) / 2;
    const double R = R0 * std::exp((L0 - L) * n);
    const PointLambert p{R * std::sin(gamma) + X0, Y0 + R0 - R * std::cos(gamma)};
    if (!fini(p.X, p.Y))
        return std::nullopt;
    return p;
}

std::optional<PointLambert> sub_Lambert_Zone(const QString& zoneSource, const QString& zoneCible, double X,
                                             double Y)
{
    const int i = fun_Index_Zone_Lambert(zoneSource);
    const int j = fun_Index_Zone_Lambert(zoneCible);
    if (i == 0 || j == 0 || !fini(X, Y))
        return std::nullopt;
    const Zone& zi = ZONES[i];
    const Zone& zj = ZONES[j];
    const double gammaJ = (zj.n / zi.n) * std::atan2(X - zi.Xs, zi.Ys - Y);
    const double Ri = std::sqrt(std::pow(X - zi.Xs, 2) + std::pow(Y - zi.Ys, 2));
    const double L = (1 / zi.n) * std::log(zi.c / Ri);
    const double Rj = zj.c * std::exp(-zj.n * L);
    const PointLambert p{Rj * std::sin(gammaJ) + zj.Xs, zj.Ys - Rj * std::cos(gammaJ)};
    if (!fini(p.X, p.Y))
        return std::nullopt;
    return p;
}

std::optional<LambertVersNtf> sub_Lambert_To_NTF(double X, double Y, const QString& zone)
{
    const QString z = zone == u"*" ? QStringLiteral("2E") : zone;
    const int index = fun_Index_Zone_Lambert(z);
    if (index == 0 || !fini(X, Y))
        return std::nullopt;
    if (index != INDEX_2E) {
        const auto p = sub_Lambert_Zone(z, QStringLiteral("2E"), X, Y);
        if (!p)
            return std::nullopt;
        X = p->X;
        Y = p->Y;
    }
    const double n = std::sin(PHI0);
    const double gamma = std::atan2(X - X0, (R0 + Y0) - Y);
    const double lr = gamma / n;
    const double G = std::log((std::pow(X - X0, 2) + std::pow(Y - (R0 + Y0), 2)) / std::pow(R0, 2));
    const double Eiso = std::exp(G / (2 * n) - L0);
    const double q = (1 - Eiso) / (1 + Eiso);
    const double s = std::sin(2 * std::atan(q));
    const double a = SERIE_A * s - SERIE_B * std::pow(s, 3) + SERIE_C * std::pow(s, 5);
    const double pr = 2 * std::atan((a + q) / (1 + a * q));
    const double lambda = lr / RADIANS_PAR_GRADE;
    const double phi = pr / RADIANS_PAR_GRADE;
    if (!fini(lambda, phi))
        return std::nullopt;
    const QChar sep = separateurDecimal();
    LambertVersNtf r;
    r.lambda = texteFixe(lambda, 5, sep);
    r.phi = texteFixe(phi, 5, sep);
    r.lambdaValeur = arrondiDecimales(lambda, 5);
    r.phiValeur = arrondiDecimales(phi, 5);
    return r;
}
