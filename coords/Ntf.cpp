#include "coords/Ntf.h"

#include "coords/FormatsCoord.h"
#include "coords/GeodeticConstants.h"
#include "coords/TexteNombre.h"

#include <cmath>

using namespace coords;

namespace {

bool estCibleDms(Datum d) { return d == Datum::WGS84 || d == Datum::ED50; }

std::optional<double> degresSignes(const QString& libelle, const QString& texte, const QChar sep)
{
    const PartiesCoord p = fun_Verif_Coord_Type(libelle, texte, true, QStringLiteral("WGS84 DMS"));
    if (p.erreur != 0)
        return std::nullopt;
    const Lecture d = lireNombre(p.degres, sep);
    const Lecture m = lireNombre(p.minutes, sep);
    const Lecture s = lireNombre(p.secondes, sep);
    if (!d.ok() || !m.ok() || !s.ok())
        return std::nullopt;
    const double signe = (p.hemisphere == u"W" || p.hemisphere == u"S") ? -1 : 1;
    const double fraction = troncatureDecimales(m.valeur / 60 + arrondiDecimales(s.valeur / 3600, 10), 8);
    return signe * (d.valeur + fraction);
}

} // namespace

bool ntfDansLesBornes(double lambda, double phi)
{
    return std::abs(lambda) <= GRADS_PER_HALF_TURN && std::abs(phi) <= GRADS_PER_HALF_TURN / 2;
}

DegresMinutesSecondes fun_Decouper_Degres(double v)
{
    DegresMinutesSecondes r;
    r.degres = std::trunc(v);
    const double f = (v - r.degres) * 100;
    r.minutes = std::trunc(f * 60 / 100);
    r.secondes = ((f - (r.minutes / 60) * 100) * 100 * 60 / 100) * 60 / 100;
    // On a whole minute the subtraction can leave a tiny negative remainder (-5e-13).
    if (r.secondes < 0)
        r.secondes = 0;
    // Just under a whole minute the seconds would be written as 60.
    reporterSoixante(r.degres, r.minutes, r.secondes);
    return r;
}

QString fun_Format_DMS(const QString& hemisphere, const QString& degres, const QString& minutes,
                       const QString& secondes)
{
    return hemisphere + degres + QChar(u'\u00B0') + minutes + QLatin1Char('\'') + secondes + QStringLiteral("''");
}

QString fun_Format_DMS(const QString& hemisphere, double degres, double minutes, double secondes)
{
    // Written in one buffer: this runs for every point converted.
    const char16_t sep = separateurDecimal().unicode();
    char16_t buf[3 * TAILLE_TEXTE_GENERAL + 8];
    int n = 0;
    for (QChar c : hemisphere)
        if (n < 4)
            buf[n++] = c.unicode();
    n += ecrireGeneral(degres, sep, buf + n);
    buf[n++] = u'\u00B0';
    n += ecrireGeneral(minutes, sep, buf + n);
    buf[n++] = u'\'';
    n += ecrireGeneral(secondes, sep, buf + n);
    buf[n++] = u'\'';
    buf[n++] = u'\'';
    return QString(reinterpret_cast<const QChar*>(buf), n);
}

std::optional<NtfVersDms> ntfVersDms(float lambda, float phi, Datum cible)
{
    if (!estCibleDms(cible) || !ntfDansLesBornes(lambda, phi))
        return std::nullopt;
    const double lambdaG = double(lambda) + PARIS_MERIDIAN_GRADS;
    const auto xyz = geoVersCart(lambdaG, double(phi), Datum::NTF);
    if (!xyz)
        return std::nullopt;
    const auto g = cartVersGeo(Datum::NTF, cible, *xyz);
    if (!g)
        return std::nullopt;
    NtfVersDms r;
    const DegresMinutesSecondes lon = fun_Decouper_Degres(std::abs(g->geo.lambda));
    r.longitude = fun_Format_DMS(g->geo.lambda < 0 ? QStringLiteral("W") : QStringLiteral("E"), lon.degres,
                                 lon.minutes, lon.secondes);
    const DegresMinutesSecondes lat = fun_Decouper_Degres(std::abs(g->geo.phi));
    r.latitude = fun_Format_DMS(g->geo.phi < 0 ? QStringLiteral("S") : QStringLiteral("N"), lat.degres,
                                lat.minutes, lat.secondes);
    r.lettreLongitude = r.longitude.at(0);
    r.lettreLatitude = r.latitude.at(0);
    r.partiesLongitude = {lon.degres, lon.minutes, arrondiSignificatifs15(lon.secondes)};
    r.partiesLatitude = {lat.degres, lat.minutes, arrondiSignificatifs15(lat.secondes)};
    r.xyz = g->xyz;
    return r;
}

std::optional<NtfVersDms> sub_NTF_To_DMS(float lambda, float phi, const QString& datumCible)
{
    const auto d = fun_Datum(datumCible);
    if (!d)
        return std::nullopt;
    return ntfVersDms(lambda, phi, *d);
}

std::optional<DmsVersNtf> dmsVersNtf(const QString& longitude, const QString& latitude, Datum source)
{
    if (!estCibleDms(source))
        return std::nullopt;
    const QChar sep = separateurDecimal();
    const auto lambda = degresSignes(gstr_Libelle_Longitude, longitude, sep);
    const auto phi = degresSignes(gstr_Libelle_Latitude, latitude, sep);
    if (!lambda || !phi)
        return std::nullopt;
    const auto xyz = geoVersCart(*lambda, *phi, source);
    if (!xyz)
        return std::nullopt;
    const auto g = cartVersGeo(source, Datum::NTF, *xyz);
    if (!g)
        return std::nullopt;
    return DmsVersNtf{arrondiDecimales(g->geo.lambda - PARIS_MERIDIAN_GRADS, 4), arrondiDecimales(g->geo.phi, 4), g->xyz};
}

std::optional<DmsVersNtf> sub_DMS_To_NTF(const QString& longitude, const QString& latitude,
                                         const QString& datumSource)
{
    const auto d = fun_Datum(datumSource);
    if (!d)
        return std::nullopt;
    return dmsVersNtf(longitude, latitude, *d);
}
