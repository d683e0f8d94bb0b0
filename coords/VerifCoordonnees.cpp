#include "coords/VerifCoordonnees.h"

#include "coords/FormatsCoord.h"
#include "coords/Ntf.h"
#include "coords/TexteNombre.h"

#include <cmath>
#include <limits>

using namespace coords;

namespace {

const QString MESSAGE_CORRECT = QStringLiteral(" : ");

// Numbers are read in single precision; this marker left in place means "not a number".
constexpr float NON_LU = -361;

float lireSimple(const QString& texte)
{
    const Lecture l = lireNombre(texte);
    if (!l.ok() || std::abs(l.valeur) > double(std::numeric_limits<float>::max()))
        return NON_LU;
    return float(l.valeur);
}

} // namespace

QString fun_Verif_Parties_Coord(const PartiesCoord& p, bool longitude, const QString& typeNom)
{
    const QString x = longitude ? QStringLiteral("longitude") : QStringLiteral("latitude");
    const QString h = sansBlancs(p.hemisphere).toString();
    if (longitude) {
        if (h.size() != 1)
            return QStringLiteral(" : E ou W invalide");
        if (!QStringLiteral("EWew").contains(h))
            return QStringLiteral(" : E ou W non précisé");
    } else {
        if (h.size() != 1)
            return QStringLiteral(" : N ou S invalide");
        if (!QStringLiteral("NSns").contains(h))
            return QStringLiteral(" : N ou S non précisé");
    }
    if (sansBlancs(p.degres).isEmpty())
        return QStringLiteral(" : dégré de ") + x + QStringLiteral(" non indiqué");
    const float d = lireSimple(p.degres);
    if (d == NON_LU)
        return QStringLiteral(" : degrés de ") + x + QStringLiteral(" invalides");
    if (d < 0)
        return QStringLiteral(" : degrés de ") + x + QStringLiteral(" < 0°");
    // A longitude goes up to 180 degrees, a latitude up to 90.
    if (longitude && d > 180)
        return QStringLiteral(" : degrés de ") + x + QStringLiteral(" > 180°");
    if (!longitude && d > 90)
        return QStringLiteral(" : degrés de ") + x + QStringLiteral(" > 90°");
    // The readers split a decimal part that ends the text; one followed by minutes or seconds
    // would have to be rounded or guessed at.
    if (d != std::trunc(d))
        return QStringLiteral(" : degrés de ") + x + QStringLiteral(" non entiers");
    if (sansBlancs(p.minutes).isEmpty())
        return QStringLiteral(" : minutes de ") + x + QStringLiteral(" invalides");
    const float m = lireSimple(p.minutes);
    if (m == NON_LU)
        return QStringLiteral(" : minutes de ") + x + QStringLiteral(" invalides");
    if (m < 0)
        return QStringLiteral(" : minutes de ") + x + QStringLiteral(" <0");
    if (m > 59)
        return QStringLiteral(" : minutes de ") + x + QStringLiteral(" > 59");
    if (m != std::trunc(m))
        return QStringLiteral(" : minutes de ") + x + QStringLiteral(" non entières");
    const float s = lireSimple(p.secondes);
    if (s == NON_LU)
        return QStringLiteral(" : secondes de ") + x + QStringLiteral(" invalides");
    if (s < 0)
        return QStringLiteral(" : secondes de ") + x + QStringLiteral(" <0");
    if ((typeNom == u"WGS84 DMS" || typeNom == u"ED50 DMS") && s >= 60)
        return QStringLiteral(" : secondes de ") + x + QStringLiteral(" >= 60");
    if ((typeNom == u"WGS84 DD" || typeNom == u"ED50 DD") && s > 9999)
        return QStringLiteral(" : secondes de ") + x + QStringLiteral(" > 9999");
    // The whole angle keeps to the same bounds as its degrees: N90°30' is no latitude.
    const double angle = double(d) + double(m) / 60 + double(s) / 3600;
    if (longitude && angle > 180)
        return QStringLiteral(" : degrés de ") + x + QStringLiteral(" > 180°");
    if (!longitude && angle > 90)
        return QStringLiteral(" : degrés de ") + x + QStringLiteral(" > 90°");
    return QString();
}

VerifCoordonnees fun_Verif_Coordonnees(QString& longitude, QString& latitude, bool normaliser,
                                       const QString& typeNom)
{
    VerifCoordonnees r;
    r.message = MESSAGE_CORRECT;
    const PartiesCoord lon = fun_Verif_Coord_Type(gstr_Libelle_Longitude, longitude, normaliser, typeNom);
    if (lon.erreur != 0)
        r.message = QStringLiteral(" : longitude non conforme");
    const PartiesCoord lat = fun_Verif_Coord_Type(gstr_Libelle_Latitude, latitude, normaliser, typeNom);
    if (lat.erreur != 0)
        r.message = r.message != MESSAGE_CORRECT ? QStringLiteral(" : longitude et latitude non conformes")
                                                 : QStringLiteral(" : latitude non conforme");
    if (r.message != MESSAGE_CORRECT) {
        r.erreur = -1;
        return r;
    }
    // A number too large to be held while the parts were normalised.
    if (lon.faute || lat.faute) {
        r.erreur = -1;
        r.message = QStringLiteral(" : coordonnées invalides");
        return r;
    }
    if (normaliser) {
        longitude = fun_Format_DMS(lon.hemisphere, lon.degres, lon.minutes, lon.secondes);
        latitude = fun_Format_DMS(lat.hemisphere, lat.degres, lat.minutes, lat.secondes);
    }
    QString faute = fun_Verif_Parties_Coord(lon, true, typeNom);
    if (faute.isEmpty())
        faute = fun_Verif_Parties_Coord(lat, false, typeNom);
    if (!faute.isEmpty()) {
        r.erreur = -1;
        r.message = faute;
    }
    return r;
}
