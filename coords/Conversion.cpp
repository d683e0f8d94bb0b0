#include "coords/Conversion.h"

#include "coords/FormatsCoord.h"
#include "coords/Lambert.h"
#include "coords/Mgrs.h"
#include "coords/Ntf.h"
#include "coords/TexteNombre.h"
#include "coords/Utm.h"
#include "coords/VerifCoordonnees.h"

#include <optional>

using namespace coords;

namespace {

const QString WGS84 = QStringLiteral("WGS84");

bool vide(const QVariant& v) { return sansBlancs(fun_Texte_Coord(v)).isEmpty(); }

std::optional<double> nombre(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
        return v.toDouble();
    case QMetaType::QString: {
        const Lecture l = lireNombreSouple(v.toString());
        if (l.ok())
            return l.valeur;
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

// What the chains write, kept aside until every step has succeeded.
struct Ecriture
{
    std::optional<std::pair<QVariant, QVariant>> ntf, lambert, wgs84;
    std::optional<std::array<QVariant, 3>> utm; // easting, northing, zone
    std::optional<QVariant> mgrs;

    void appliquer(SlotsCoord& X, SlotsCoord& Y, SlotsCoord& Z) const
    {
        auto paire = [&](int k, const std::optional<std::pair<QVariant, QVariant>>& v) {
            if (v) {
                X[k] = v->first;
                Y[k] = v->second;
            }
        };
        paire(gint_NTF, ntf);
        paire(gint_Lambert, lambert);
        paire(gint_WGS84, wgs84);
        if (utm) {
            X[gint_UTM] = (*utm)[0];
            Y[gint_UTM] = (*utm)[1];
            Z[gint_UTM] = (*utm)[2];
        }
        if (mgrs)
            Z[gint_MGRS] = *mgrs;
    }
};

// NTF grads to Lambert II étendu (full precision), then, from the grads narrowed to single
// precision, to WGS84 texts, UTM and MGRS.
bool depuisNtf(double lambda, double phi, Ecriture& w, bool ecrireUtm)
{
    const auto l = sub_NTF_To_Lambert(lambda, phi);
    const auto t = ntfVersDms(float(lambda), float(phi), Datum::WGS84);
    if (!l || !t)
        return false;
    // The parts of the texts, without writing and reading them again.
    const auto u = utmDepuisParties(t->lettreLongitude, t->partiesLongitude, t->lettreLatitude, t->partiesLatitude);
    if (!u)
        return false;
    w.lambert = {QVariant(l->X), QVariant(l->Y)};
    w.wgs84 = {QVariant(t->longitude), QVariant(t->latitude)};
    if (ecrireUtm)
        w.utm = std::array<QVariant, 3>{QVariant(u->easting), QVariant(nordSigne(*u)), QVariant(u->zone)};
    w.mgrs = QVariant(u->mgrs);
    return true;
}

// WGS84 texts to NTF numbers and Lambert II étendu.
bool ntfEtLambertDepuisTextes(const QString& lon, const QString& lat, Datum datum, Ecriture& w)
{
    const auto n = dmsVersNtf(lon, lat, datum);
    if (!n)
        return false;
    const auto l = sub_NTF_To_Lambert(n->lambda, n->phi);
    if (!l)
        return false;
    w.ntf = {QVariant(n->lambda), QVariant(n->phi)};
    w.lambert = {QVariant(l->X), QVariant(l->Y)};
    return true;
}

} // namespace

QString fun_Texte_Coord(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Double:
        return texteGeneral(v.toDouble());
    case QMetaType::Float:
        return texteGeneral(double(v.toFloat()));
    case QMetaType::UnknownType:
        return QString();
    default:
        return v.toString();
    }
}

ResultatConversion sub_Convertir_Coordonnees(SlotsCoord& X, SlotsCoord& Y, SlotsCoord& Z, int typeCoord,
                                             const QString& zoneLambert)
{
    ResultatConversion r;
    const ResultatConversion refus{-1, QString()};
    if (typeCoord == gint_Lambert && zoneLambert.isEmpty())
        return refus;
    // No chain for an unknown type: an error, like any source that cannot be converted.
    if (typeCoord < gint_NTF || typeCoord > gint_MGRS)
        return refus;

    Ecriture w;
    switch (typeCoord) {
    case gint_NTF: {
        if (vide(X[0]) || vide(Y[0]))
            return refus;
        const auto lambda = nombre(X[0]);
        const auto phi = nombre(Y[0]);
        if (!lambda || !phi || !depuisNtf(*lambda, *phi, w, true))
            return refus;
        break;
    }
    case gint_Lambert: {
        if (vide(X[1]) || vide(Y[1]))
            return refus;
        const QString zone = zoneLambert == u"*" ? zoneLambert : zoneLambert.split(QLatin1Char(' ')).last();
        const auto x = nombre(X[1]);
        const auto y = nombre(Y[1]);
        if (!x || !y)
            return refus;
        const auto n = sub_Lambert_To_NTF(*x, *y, zone);
        if (!n || !depuisNtf(n->lambdaValeur, n->phiValeur, w, true))
            return refus;
        // The NTF slots take the five-decimal texts; the Lambert slots keep the typed point.
        w.ntf = {QVariant(n->lambda), QVariant(n->phi)};
        w.lambert = {QVariant(*x), QVariant(*y)};
        break;
    }
    case gint_WGS84: {
        if (vide(X[2]) || vide(Y[2]))
            return refus;
        QString lon = fun_Texte_Coord(X[2]);
        QString lat = fun_Texte_Coord(Y[2]);
        QString categorie;
        QString typeNom;
        fun_Verif_Format_Coord(categorie, typeNom, lon, lat, QString(), QString(), WGS84);
        const VerifCoordonnees v = fun_Verif_Coordonnees(lon, lat, true, typeNom);
        // The validation may have brought the texts to their normal form.
        X[2] = lon;
        Y[2] = lat;
        r.message = v.message;
        if (v.erreur != 0) {
            r.erreur = v.erreur;
            return r;
        }
        const auto datum = fun_Datum(typeNom.section(QLatin1Char(' '), 0, 0));
        if (!datum || !ntfEtLambertDepuisTextes(lon, lat, *datum, w))
            return {-1, r.message};
        const auto u = sub_Geo_To_UTM(lon, lat);
        if (!u)
            return {-1, r.message};
        w.utm = std::array<QVariant, 3>{QVariant(u->easting), QVariant(nordSigne(*u)), QVariant(u->zone)};
        w.mgrs = QVariant(u->mgrs);
        break;
    }
    case gint_UTM: {
        if (vide(X[3]) || vide(Y[3]) || vide(Z[3]))
            return refus;
        const auto est = nombre(X[3]);
        const auto nord = nombre(Y[3]);
        const auto zone = nombre(Z[3]);
        if (!est || !nord || !zone)
            return refus;
        const auto g = sub_UTM_To_Geo(*zone, *est, *nord, WGS84);
        if (!g || !ntfEtLambertDepuisTextes(g->longitude, g->latitude, Datum::WGS84, w))
            return refus;
        // Only the MGRS reference is refreshed; the typed UTM values stay.
        const auto u = sub_Geo_To_UTM(g->longitude, g->latitude);
        if (!u)
            return refus;
        w.wgs84 = {QVariant(g->longitude), QVariant(g->latitude)};
        w.mgrs = QVariant(u->mgrs);
        break;
    }
    case gint_MGRS: {
        if (vide(Z[4]))
            return refus;
        const MgrsVersGeo m = sub_MGRS_To_Geo(fun_Texte_Coord(Z[4]));
        if (m.erreur != 0 || !ntfEtLambertDepuisTextes(m.longitude, m.latitude, Datum::WGS84, w))
            return refus;
        w.wgs84 = {QVariant(m.longitude), QVariant(m.latitude)};
        w.utm = std::array<QVariant, 3>{QVariant(m.utm.easting), QVariant(m.utm.northing), QVariant(m.utm.zone)};
        break;
    }
    }
    w.appliquer(X, Y, Z);
    return r;
}
