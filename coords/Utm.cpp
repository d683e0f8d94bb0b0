#include "coords/Utm.h"

#include "coords/Datums.h"
#include "coords/FormatsCoord.h"
#include "coords/GeodeticConstants.h"
#include "coords/Mgrs.h"
#include "coords/TexteNombre.h"

#include <cmath>
#include <limits>

using namespace coords;

namespace {

constexpr double TOLERANCE_PIED = 1e-10; // radians
constexpr int PASSES_MAX = 100;

struct Lu
{
    QString lettre;
    double d = 0, m = 0, s = 0;
};

std::optional<Lu> lire(const QString& libelle, const QString& texte)
{
    const PartiesCoord p = fun_Verif_Coord_Type(libelle, texte, false, QStringLiteral("WGS84 DMS"));
    if (p.erreur != 0)
        return std::nullopt;
    const QChar sep = separateurDecimal();
    auto valeur = [&](const QString& t) -> std::optional<double> {
        if (sansBlancs(t).isEmpty())
            return 0.0;
        const Lecture l = lireNombre(t, sep);
        return l.ok() ? std::optional<double>(l.valeur) : std::nullopt;
    };
    const auto d = valeur(p.degres);
    const auto m = valeur(p.minutes);
    const auto s = valeur(p.secondes);
    if (!d || !m || !s)
        return std::nullopt;
    return Lu{p.hemisphere, *d, *m, *s};
}

// The meridian arc of the forward direction, from the equator to the latitude phi (radians), in
// metres; negative in the south.
double arcMeridien(double phi)
{
    const double a = ELLIPSOID_WGS84.a;
    const double b = a - a / WGS84_INVERSE_FLATTENING_UTM;
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
double nordBrut(double phi, double A)
{
    const double a = ELLIPSOID_WGS84.a;
    const double e2 = std::pow(ELLIPSOID_WGS84.e, 2);
    const double N = a / std::sqrt(1 - e2 * std::pow(std::sin(phi), 2));
    const double T = std::pow(std::tan(phi), 2);
    const double C = e2 * std::pow(std::cos(phi), 2);
    return UTM_SCALE * (arcMeridien(phi) + N * std::tan(phi) *
                                        (A * A / 2 + (5 - T + 9 * C + 4 * C * C) * std::pow(A, 4) / 24 +
                                         (61 - 58 * T + T * T + 600 * C - 330 * e2) * std::pow(A, 6) / 720));
}

// Seconds and minutes of the UTM text form.
QString texteStr(double v) { return QLatin1Char(' ') + texteGeneral(v, QLatin1Char('.')); }

} // namespace

QString fun_Texte_UTM(double valeur, bool latitude)
{
    const QString lettre = latitude ? (valeur < 0 ? QStringLiteral("S") : QStringLiteral("N"))
                                    : (valeur < 0 ? QStringLiteral("W") : QStringLiteral("E"));
    // A value just under a whole number is taken as that number.
    if (texteGeneral(valeur, QLatin1Char('.')).contains(QStringLiteral(".9999999")))
        valeur = std::round(valeur);
    const double t = std::trunc(valeur);
    const double mPrime = (valeur - t) * 60;
    const double u = std::trunc(mPrime);
    double d = std::abs(t), m = std::abs(u), s = std::abs((mPrime - u) * 60);
    reporterSoixante(d, m, s);
    const QString degres = d == 0 ? QStringLiteral("0") : texteGeneral(d, QLatin1Char('.'));
    const QString minutes = m == 0 ? QStringLiteral("00") : texteStr(m).right(2);
    return lettre + degres + QChar(u'\u00B0') + minutes + QLatin1Char('\'') + texteStr(s) + QLatin1Char('"');
}

double nordAuMeridienCentral(double latitude) { return nordUtm(latitude, 0); }

double nordUtm(double latitude, double ecart)
{
    const double rad = 2 * PI / 360;
    return nordBrut(latitude * rad, ecart * rad * std::cos(latitude * rad));
}

std::optional<PositionUtm> sub_Geo_To_UTM(const QString& longitude, const QString& latitude)
{
    const auto lon = lire(gstr_Libelle_Longitude, longitude);
    const auto lat = lire(gstr_Libelle_Latitude, latitude);
    if (!lon || !lat)
        return std::nullopt;
    return utmDepuisParties(lon->lettre.at(0), {lon->d, lon->m, lon->s}, lat->lettre.at(0), {lat->d, lat->m, lat->s});
}

std::optional<PositionUtm> utmDepuisParties(QChar lettreLongitude, const DegresMinutesSecondes& lonP,
                                            QChar lettreLatitude, const DegresMinutesSecondes& latP)
{
    struct P
    {
        double d, m, s;
    };
    const P lonV{lonP.degres, lonP.minutes, lonP.secondes};
    const P latV{latP.degres, latP.minutes, latP.secondes};
    const P* lon = &lonV;
    const P* lat = &latV;
    const double rad = 2 * PI / 360;
    const double a = ELLIPSOID_WGS84.a;
    const double e2 = std::pow(ELLIPSOID_WGS84.e, 2);

    double lambda = (lon->d + lon->m / 60 + lon->s / 3600) * rad;
    if (lettreLongitude != u'E')
        lambda = -lambda;
    double phi = (lat->d + lat->m / 60 + lat->s / 3600) * rad;
    if (lettreLatitude != u'N')
        phi = -phi;

    // The zone from the whole degrees of the longitude alone.
    int zone;
    if (lon->d == 180)
        zone = 1;
    else if (lettreLongitude == u'E')
        zone = int(std::floor(lon->d / 6 + 31));
    else
        zone = int(std::abs(std::floor(lon->d / 6) - 30));
    if (zone < 1 || zone > 60)
        return std::nullopt;
    const double lambda0 = ((zone - 1) * 6 - 180 + 3) * rad;

    const double N = a / std::sqrt(1 - e2 * std::pow(std::sin(phi), 2));
    const double T = std::pow(std::tan(phi), 2);
    const double C = e2 * std::pow(std::cos(phi), 2);
    // Measured the short way round: 180°E is 3° east of zone 1's central meridian, not 357°.
    const double A = std::remainder(lambda - lambda0, 2 * PI) * std::cos(phi);
    const double nord = std::nearbyint(nordBrut(phi, A)); // halves to even
    const double est = std::trunc(UTM_SCALE * N * (A + (1 - T + C) * std::pow(A, 3) / 6 +
                                            (5 - 18 * T + T * T + 72 * C - 58 * e2) * std::pow(A, 5) / 120) +
                                  UTM_FALSE_EASTING);
    if (!std::isfinite(nord) || !std::isfinite(est) || std::abs(nord) > std::numeric_limits<qint32>::max())
        return std::nullopt;
    PositionUtm r;
    r.zone = zone;
    r.easting = est;
    r.northing = qint32(nord);
    r.sud = phi < 0;
    if (r.sud)
        r.northing += qint32(UTM_FALSE_NORTHING_SOUTH);

    const auto latitudeSignee = parseDmsValeurs(lettreLatitude, lat->d, lat->m, lat->s);
    if (!latitudeSignee)
        return std::nullopt;
    const auto mgrs = sub_UTM_To_MGRS(*latitudeSignee, r.easting, r.northing, r.zone);
    if (!mgrs)
        return std::nullopt;
    r.mgrs = *mgrs;
    return r;
}

qint32 nordSigne(const PositionUtm& p) { return p.sud ? -p.northing : p.northing; }

std::optional<TextesUtmGeo> sub_UTM_To_Geo(double zone, double easting, double northing, const QString& datum)
{
    const auto d = fun_Datum(datum);
    if (!d || *d == Datum::NTF)
        return std::nullopt;
    if (!(zone >= 1 && zone <= 60) || zone != std::trunc(zone) || !std::isfinite(easting) || !std::isfinite(northing))
        return std::nullopt;
    const Ellipsoid& ellipsoide = *d == Datum::WGS84 ? ELLIPSOID_WGS84 : ELLIPSOID_INTERNATIONAL_1924;
    const double a = ellipsoide.a;
    const double e2 = std::pow(ellipsoide.e, 2);
    const double e4 = e2 * e2, e6 = e4 * e2;
    const double lambda0 = std::round(6 * zone - 183) * UTM_INVERSE_PI / 180;
    const double x = easting;
    double y = std::floor(northing * 1000) / 1000;
    if (y < 0)
        y = -(y + UTM_FALSE_NORTHING_SOUTH);

    const double A0 = 1 - e2 * 2 / 8 - e4 * 12 / 256 - e6 * 60 / 3072;
    const double A2 = e2 * 3 / 8 + e4 * 24 / 256 + e6 * 135 / 3072;
    const double A4 = e4 * 15 / 256 + e6 * 135 / 3072;
    const double A6 = e6 * 35 / 3072;

    // Footpoint latitude.
    double phi = y / (UTM_SCALE * a * (1 - e2));
    double nu = 0, eta2 = 0;
    bool fini = false;
    for (int passe = 0; passe < PASSES_MAX; ++passe) {
        const double M = UTM_SCALE * a * (A0 * phi - A2 * std::sin(2 * phi) + A4 * std::sin(4 * phi) - A6 * std::sin(6 * phi));
        nu = UTM_SCALE * a / std::sqrt(1 - e2 * std::pow(std::sin(phi), 2));
        eta2 = e2 * std::pow(std::cos(phi), 2) / (1 - e2);
        const double dphi = (y - M) * (1 + eta2) / nu;
        if (!std::isfinite(dphi))
            return std::nullopt;
        if (std::abs(dphi) < TOLERANCE_PIED) {
            fini = true;
            break;
        }
        phi += dphi;
    }
    // A footpoint beyond the poles: the northing lies off the Earth.
    if (!fini || !(std::abs(phi) <= UTM_INVERSE_PI / 2))
        return std::nullopt;

    const double t = std::tan(phi);
    const double T = t * t;
    const double D = (x - UTM_FALSE_EASTING) / nu;
    const double D2 = D * D;
    const double latitude =
        phi - (1 + eta2) * t * (D2 / 2) *
                  (1 - (D2 / 12) * (5 + 3 * T + eta2 - 4 * eta2 * eta2 - 9 * T * eta2) + (D2 * D2 / 360) * (61 + 90 * T + 45 * T * T));
    const double longitude =
        lambda0 + (D / std::cos(phi)) *
                      (1 - (D2 / 6) * (1 + 2 * T + eta2) + (D2 * D2 / 120) * (5 + 28 * T + 24 * T * T + 6 * eta2 + 8 * T * eta2));
    const double latDeg = latitude * 180 / UTM_INVERSE_PI;
    const double lonDeg = longitude * 180 / UTM_INVERSE_PI;
    if (!(std::abs(latDeg) <= 90) || !std::isfinite(lonDeg))
        return std::nullopt;
    return TextesUtmGeo{fun_Texte_UTM(lonDeg, false), fun_Texte_UTM(latDeg, true)};
}
