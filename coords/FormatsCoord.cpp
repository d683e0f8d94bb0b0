#include "coords/FormatsCoord.h"

#include "coords/TexteNombre.h"

#include <cmath>

using namespace coords;

namespace {

const QChar DEGRE(u'\u00B0');
const QChar APOSTROPHE(u'\'');
const QChar GUILLEMET(u'"');

bool estLongitude(const QString& libelle) { return libelle == gstr_Libelle_Longitude; }

bool estTypeDD(const QString& typeNom)
{
    return typeNom == u"WGS84 DD" || typeNom == u"ED50 DD";
}

// The hemisphere given by a first character: letters (either case, "O" for west) and signs.
// Empty for any other character.
QString hemisphereDe(QChar c, const QString& libelle)
{
    switch (c.toUpper().unicode()) {
    case u'N':
        return QStringLiteral("N");
    case u'S':
        return QStringLiteral("S");
    case u'E':
        return QStringLiteral("E");
    case u'W':
    case u'O':
        return QStringLiteral("W");
    case u'+':
        return estLongitude(libelle) ? QStringLiteral("E") : QStringLiteral("N");
    case u'-':
        return estLongitude(libelle) ? QStringLiteral("W") : QStringLiteral("S");
    default:
        return QString();
    }
}

bool estChiffre(QChar c) { return c >= u'0' && c <= u'9'; }

// Seconds from a fraction of a minute: written with nine decimals and read back.
double secondesDeFraction(double fractionMinute) { return arrondiDecimales(fractionMinute * 60, 9); }

// A non-negative number of degrees (or of minutes, with degres standing for the minutes) as whole
// degrees, whole minutes and seconds with nine decimals, 60 seconds carried.
struct Decoupage
{
    double degres, minutes, secondes;
};
Decoupage decouper(double v)
{
    Decoupage r;
    r.degres = std::floor(v);
    const double minutes = (v - r.degres) * 60;
    r.minutes = std::floor(minutes);
    r.secondes = secondesDeFraction(minutes - r.minutes);
    reporterSoixante(r.degres, r.minutes, r.secondes);
    return r;
}

} // namespace

PartiesCoord fun_Verif_DMS(const QString& libelle, const QString& texte, const QString& /*typeNom*/)
{
    PartiesCoord p;
    const PartiesCoord refus{QString(), QString(), QString(), QString(), -1, false};
    QString t = sansBlancs(texte).toString();
    if (t.isEmpty())
        return refus;
    const QString hemisphere = hemisphereDe(t.at(0), libelle);
    if (hemisphere.isEmpty())
        return refus;
    t.remove(0, 1);

    const qsizetype p1 = t.indexOf(DEGRE);
    if (p1 < 0)
        return refus;
    // The seconds marker first, so that its two apostrophes are not taken for the minutes marker.
    qsizetype p3 = t.indexOf(QStringLiteral("''"));
    if (p3 < 0)
        p3 = t.indexOf(GUILLEMET);
    const bool secondesDoubles = p3 >= 0 && t.at(p3) == APOSTROPHE;
    qsizetype p2 = -1;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t.at(i) != APOSTROPHE)
            continue;
        if (secondesDoubles && (i == p3 || i == p3 + 1))
            continue;
        p2 = i;
        break;
    }
    if (p3 < 0) {
        if (p2 >= 0 && t.size() > p2 + 1) {
            // Seconds without their marker: the marker goes at the end.
            p3 = t.size();
            t += QStringLiteral("''");
        } else if (p2 < 0 && t.size() > p1 + 1) {
            // A number without marker after the degrees: minutes.
            p2 = t.size();
            t += APOSTROPHE;
        }
    }
    if ((p2 >= 0 && p2 < p1) || (p3 >= 0 && (p3 < p1 || (p2 >= 0 && p3 < p2)))) {
        PartiesCoord r = refus;
        r.hemisphere = hemisphere;
        return r;
    }
    // Nothing may follow the seconds marker ("E2°20'15''7" is no text of seconds).
    if (p3 >= 0 && t.size() > p3 + (t.at(p3) == APOSTROPHE ? 2 : 1))
        return refus;
    const QChar sep = separateurDecimal();
    t = versSeparateur(t, sep);

    p.hemisphere = hemisphere;
    p.degres = t.left(p1);
    // The minutes and seconds as typed, empty when absent.
    if (p2 >= 0)
        p.minutes = t.mid(p1 + 1, p2 - p1 - 1);
    const qsizetype debutSecondes = (p2 >= 0 ? p2 : p1) + 1;
    if (p3 >= 0)
        p.secondes = t.mid(debutSecondes, p3 - debutSecondes);
    const bool sansMinutes = sansBlancs(p.minutes).isEmpty();
    const bool sansSecondes = sansBlancs(p.secondes).isEmpty();
    // A decimal part with nothing after it is read as it stands: decimal degrees become whole
    // degrees, minutes and seconds. A decimal part followed by another is left as typed, for the
    // check to refuse: it is never rounded away.
    if (p.degres.contains(sep) && sansMinutes && sansSecondes) {
        const Lecture d = lireNombre(p.degres, sep);
        if (d.ok() && d.valeur >= 0) {
            const Decoupage x = decouper(d.valeur);
            p.degres = texteGeneral(x.degres, sep);
            p.minutes = texteGeneral(x.minutes, sep);
            p.secondes = texteGeneral(x.secondes, sep);
            return p;
        }
    }
    if (p2 < 0)
        p.minutes = QStringLiteral("0");
    if (p.minutes.contains(sep) && sansSecondes) {
        const Lecture m = lireNombre(p.minutes, sep);
        if (m.ok()) {
            double minutes = std::floor(m.valeur);
            double secondes = secondesDeFraction(m.valeur - minutes);
            // 60 seconds go into the minutes, and 60 minutes into the degrees when they are a
            // number (otherwise the check names the degrees first).
            double degres = 0;
            reporterSoixante(degres, minutes, secondes);
            const Lecture d = lireNombre(p.degres, sep);
            if (degres > 0 && d.ok())
                p.degres = texteGeneral(d.valeur + degres, sep);
            else
                minutes += degres * 60;
            p.minutes = texteGeneral(minutes, sep);
            p.secondes = texteGeneral(secondes, sep);
        }
    } else if (sansSecondes) {
        p.secondes = QStringLiteral("0");
    } else {
        const Lecture s = lireNombre(p.secondes, sep);
        if (s.ok())
            p.secondes = texteGeneral(s.valeur, sep);
    }
    return p;
}

PartiesCoord fun_Verif_DD(const QString& libelle, const QString& texte, const QString& /*typeNom*/)
{
    const PartiesCoord refus{QString(), QString(), QString(), QString(), -1, false};
    if (texte.isEmpty())
        return refus;
    QString t = texte;
    const QChar premier = t.at(0);
    QString hemisphere;
    if (estChiffre(premier)) {
        hemisphere = estLongitude(libelle) ? QStringLiteral("E") : QStringLiteral("N");
    } else {
        hemisphere = hemisphereDe(premier, libelle);
        if (hemisphere.isEmpty())
            return refus;
        t.remove(0, 1);
    }
    if (t.endsWith(DEGRE))
        t.remove(DEGRE);
    const QChar sep = separateurDecimal();
    t = versSeparateur(t, sep);
    const Lecture v = lireNombre(t, sep);
    if (!v.ok())
        return refus;
    const Decoupage x = decouper(v.valeur);
    PartiesCoord p;
    p.hemisphere = hemisphere;
    p.degres = texteGeneral(x.degres, sep);
    p.minutes = texteGeneral(x.minutes, sep);
    p.secondes = texteGeneral(x.secondes, sep);
    return p;
}

PartiesCoord fun_Verif_Coord_Type(const QString& libelle, const QString& texte, bool normaliser,
                                  const QString& typeNom)
{
    PartiesCoord p = estTypeDD(typeNom) ? fun_Verif_DD(libelle, texte, typeNom) : fun_Verif_DMS(libelle, texte, typeNom);
    if (!normaliser || p.erreur != 0)
        return p;
    const QChar sep = separateurDecimal();
    // Whole numbers in the "0" pattern. A decimal part (followed by another: the readers split a
    // last one) is never rounded away: it stays as typed, for the check to refuse; so does a
    // text that is no number.
    auto entier = [&](QString& part) {
        const Lecture l = lireNombre(part, sep);
        if (l.ok() && l.valeur == std::trunc(l.valeur))
            part = texteFixe(l.valeur, 0, sep);
        else if (l.etat == Lecture::HorsLimites)
            p.faute = true;
    };
    entier(p.degres);
    if (sansBlancs(p.minutes).isEmpty())
        p.minutes = QStringLiteral("0");
    else
        entier(p.minutes);
    if (sansBlancs(p.secondes).isEmpty())
        p.secondes = QStringLiteral("0");
    return p;
}

void fun_Verif_Format_Coord(QString& categorie, QString& typeNom, const QString& longitude,
                            const QString& latitude, const QString& zone, const QString& mgrs,
                            const QString& datumIndice)
{
    if (!categorie.isEmpty() && !typeNom.isEmpty())
        return;
    if (!longitude.isEmpty() && !latitude.isEmpty() && !zone.isEmpty()) {
        categorie = QStringLiteral("UTM");
        typeNom = QString();
        return;
    }
    if (longitude.isEmpty() && latitude.isEmpty() && zone.isEmpty() && !mgrs.isEmpty()) {
        categorie = QStringLiteral("MGRS");
        typeNom = QString();
        return;
    }
    if (longitude.isEmpty() || latitude.isEmpty() || !zone.isEmpty() || !mgrs.isEmpty())
        return;
    auto nom = [&](const QString& forme) {
        if (datumIndice.startsWith(u"WGS84"))
            return QStringLiteral("WGS84 ") + forme;
        if (datumIndice.startsWith(u"ED50"))
            return QStringLiteral("ED50 ") + forme;
        return QString();
    };
    const QString dms = QStringLiteral("WGS84 DMS");
    const QString dd = QStringLiteral("WGS84 DD");
    if (fun_Verif_Coord_Type(gstr_Libelle_Longitude, longitude, true, dms).erreur == 0) {
        if (fun_Verif_Coord_Type(gstr_Libelle_Latitude, latitude, true, dms).erreur == 0) {
            categorie = QStringLiteral("Degrés");
            typeNom = nom(QStringLiteral("DMS"));
        }
        return;
    }
    if (fun_Verif_Coord_Type(gstr_Libelle_Longitude, longitude, true, dd).erreur == 0) {
        if (fun_Verif_Coord_Type(gstr_Libelle_Latitude, latitude, true, dd).erreur == 0) {
            categorie = QStringLiteral("Degrés");
            typeNom = nom(QStringLiteral("DD"));
        }
        return;
    }
    if (longitude.contains(DEGRE) || latitude.contains(DEGRE))
        categorie = QStringLiteral("Degrés");
}

std::optional<double> sub_Parse_DMS_Text(const QString& hemisphere, const QString& degres,
                                         const QString& minutes, const QString& secondes)
{
    const QChar sep = separateurDecimal();
    auto valeur = [&](const QString& t) -> std::optional<double> {
        if (sansBlancs(t).isEmpty())
            return 0.0;
        const Lecture l = lireNombre(t, sep);
        if (!l.ok())
            return std::nullopt;
        return l.valeur;
    };
    const auto d = valeur(degres);
    const auto m = valeur(minutes);
    const auto s = valeur(secondes);
    if (!d || !m || !s)
        return std::nullopt;
    const QChar h = hemisphere.size() == 1 ? hemisphere.at(0) : QChar();
    return parseDmsValeurs(h, *d, *m, *s);
}

std::optional<double> parseDmsValeurs(QChar hemisphere, double d, double m, double s)
{
    if (!std::isfinite(d) || d != std::trunc(d))
        return std::nullopt;
    const double signe = (hemisphere == u'W' || hemisphere == u'S') ? -1 : 1;
    // Hundredths of a degree, the seconds' share rounded to nine decimals.
    const double h = m * 100 / 60 + arrondiDecimales(s * 100 / 3600, 9);
    // Minutes or seconds too large for a double make h infinite: no value (and no endless
    // search for its number of places below).
    if (!(h >= 0) || !std::isfinite(h))
        return std::nullopt;
    // The value is read from the degrees, the separator and the hundredths' digits: the
    // hundredths take at least two places.
    double places = 100;
    while (std::floor(h) >= places)
        places *= 10;
    const double fraction = h / places;
    return signe * (d >= 0 ? d + fraction : d - fraction);
}

void reporterSoixante(double& degres, double& minutes, double& secondes)
{
    if (float(arrondiSignificatifs15(secondes)) >= 60.0f) {
        secondes = 0;
        minutes += 1;
    }
    if (minutes >= 60) {
        minutes -= 60;
        degres += 1;
    }
}
