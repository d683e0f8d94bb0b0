#include "coords/Mgrs.h"

#include "coords/TexteNombre.h"
#include "coords/Utm.h"

#include <cmath>

using namespace coords;

namespace {

const QString COLONNES = QStringLiteral("ABCDEFGHJKLMNPQRSTUVWXYZ"); // no I, no O
const QString RANGS = COLONNES.left(20);                             // "ABCDEFGHJKLMNPQRSTUV"
const QString RANGS_INVERSES = QStringLiteral("VUTSRQPNMLKJHGFEDCBA");
const QString RANGS_ECRITURE = QStringLiteral("VABCDEFGHJKLMNPQRSTUV");
const QString BANDES_NORD = QStringLiteral("NPQRSTUVWXY");
const QString BANDES_SUD = QStringLiteral("MLKJHGFEDC");

// The 8 column letters of a zone: "ABCDEFGH" for zones 1, 4, 7 ..., "JKLMNPQR" for 2, 5, 8 ...,
// "STUVWXYZ" for 3, 6, 9 ...
QString colonnesDeZone(int zone) { return COLONNES.mid(8 * ((zone - 1) % 3), 8); }

// Five digits of the 100 km square from the value in units of 100 km: the decimals of its text,
// cut, not rounded (the whole metres within the square).
QString chiffres(double metres, double centaines)
{
    // A whole number of metres: its last five digits, as the text would give them.
    if (metres == std::floor(metres) && metres < 1e9) {
        const long long m = static_cast<long long>(metres) % 100000;
        return QString::number(m).rightJustified(5, QLatin1Char('0'));
    }
    const QString t = texteGeneral(centaines, QLatin1Char('.')) + QStringLiteral("00000");
    const qsizetype p = t.indexOf(QLatin1Char('.'));
    return p < 0 ? QStringLiteral("00000") : t.mid(p + 1, 5);
}

bool chiffresSeulement(QStringView t)
{
    for (QChar c : t)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// The band's edge nearest the equator on the row cycle: 1.853 km to the minute of arc.
struct Bord
{
    int rangsJusquAuBord = 0;
    int position = 0;
};
Bord bord(double degresDuBord)
{
    const double c = degresDuBord * 60 * 0.01853 / 20;
    return Bord{int(std::floor(c * 20)), int(std::floor((c - std::floor(c)) * 20))};
}

QString tourne(const QString& lettres, int debut) // debut counted from 1
{
    const int k = (debut - 1) % lettres.size();
    return lettres.mid(k) + lettres.left(k);
}

} // namespace

std::optional<QString> sub_UTM_To_MGRS(double latitude, double easting, double northing, int zone)
{
    if (zone == 61)
        zone = 1;
    if (zone < 1 || zone > 60 || !std::isfinite(latitude) || !(easting >= 0) || !(northing >= 0) ||
        !std::isfinite(easting) || !std::isfinite(northing))
        return std::nullopt;
    const double e = easting / 100000;
    const double n = northing / 100000;
    QString r(20, QLatin1Char(' '));
    const QString z = QString::number(zone);
    r.replace(0, z.size(), z);

    // Latitude band; beyond the lists the letter stays blank.
    const int k = int(std::floor(std::abs(latitude) / 8)) + 1;
    if (latitude >= 80 && latitude < 84)
        r[2] = QLatin1Char('X');
    else if (latitude > 0 && k <= BANDES_NORD.size())
        r[2] = BANDES_NORD.at(k - 1);
    else if (latitude <= 0 && k <= BANDES_SUD.size())
        r[2] = BANDES_SUD.at(k - 1);

    r.replace(5, 5, chiffres(easting, e));
    r.replace(10, 5, chiffres(northing, n));

    // Column letter: from 100 km to under 900 km of easting.
    const int colonne = int(std::floor(e));
    if (colonne >= 1 && colonne <= 8)
        r[3] = colonnesDeZone(zone).at(colonne - 1);
    // Row letter: odd zones start the cycle at "A" at the equator, even zones at "F".
    const long long rang = (static_cast<long long>(std::floor(n)) + 5 * ((zone - 1) % 2) + 1) % 20;
    r[4] = RANGS_ECRITURE.at(rang);
    return r;
}

std::optional<PositionMgrs> sub_Decode_MGRS(const QString& texte, const QString& /*datum*/)
{
    QString t = sansBlancs(texte).toString();
    if (t.size() < 5)
        return std::nullopt;
    int chiffresZone = 0;
    while (chiffresZone < t.size() && t.at(chiffresZone) >= u'0' && t.at(chiffresZone) <= u'9')
        ++chiffresZone;
    if (chiffresZone == 0 || chiffresZone > 2)
        return std::nullopt;
    const int zone = t.left(chiffresZone).toInt();
    if (zone < 1 || zone > 60)
        return std::nullopt;
    // A one-digit zone followed by a letter fills two places, as in the built form "5 QKB...".
    if (chiffresZone == 1 && t.size() > 1 && t.at(1).isLetter())
        t.prepend(QLatin1Char('0'));
    if (t.size() < 5)
        return std::nullopt;
    for (int i = 2; i < 5; ++i) {
        const QChar c = t.at(i).toUpper();
        if (c < u'A' || c > u'Z')
            return std::nullopt;
        t[i] = c;
    }
    // Digits: two halves, each the leading digits of a five-digit metre value.
    QString digits = t.mid(5);
    if (digits.size() > 10 || digits.size() % 2 != 0 || !chiffresSeulement(digits))
        return std::nullopt;
    const int h = int(digits.size()) / 2;
    const QString chiffresEst = digits.left(h).leftJustified(5, QLatin1Char('0'));
    const QString chiffresNord = digits.mid(h, h).leftJustified(5, QLatin1Char('0'));

    const QChar lettreBande = t.at(2);
    const QChar lettreColonne = t.at(3);
    const QChar lettreRang = t.at(4);

    const qsizetype c = colonnesDeZone(zone).indexOf(lettreColonne) + 1;
    if (c == 0)
        return std::nullopt;
    PositionMgrs r;
    r.zone = zone;
    r.easting = double(c) * 100000 + chiffresEst.toInt();

    qsizetype k = BANDES_NORD.indexOf(lettreBande) + 1;
    const bool nord = k > 0;
    if (!nord)
        k = BANDES_SUD.indexOf(lettreBande) + 1;
    if (k == 0 || lettreBande == u'Y') // bands C to X only
        return std::nullopt;
    const Bord b = bord(8.0 * double(k - 1));

    const bool zonePaire = zone % 2 == 0;
    const QString groupe = zonePaire ? QStringLiteral("PQRSTU") : QStringLiteral("JKLMNP");
    int decalage = 11;
    bool verifie = false;
    int position = b.position;
    QString fenetre(30, QLatin1Char(' '));
    qsizetype r0 = -1; // index of the row letter in the window
    for (int passe = 0; passe < 2; ++passe) {
        const int o = decalage;
        if (zonePaire)
            decalage += 5;
        QString alphabet = RANGS;
        if (!nord) {
            decalage = o + (zonePaire ? 15 : 0);
            if (decalage > 20)
                decalage -= 20;
            alphabet = RANGS_INVERSES;
        }
        const QString tournees = tourne(alphabet, decalage);
        if (!verifie || lettreBande == u'Y') {
            ++position;
            fenetre = QString(30, QLatin1Char(' '));
        }
        fenetre.replace(0, 20, tourne(tournees, position));
        r0 = fenetre.indexOf(lettreRang);
        if (verifie)
            break;
        verifie = true;
        if ((r0 >= 0 && r0 < 10) || (lettreBande == u'X' && groupe.contains(lettreRang)))
            break;
        decalage = o == 1 ? 11 : 1;
    }
    if (r0 < 0) // a row letter found in neither pass
        return std::nullopt;
    const int rang = int(r0) + (nord ? 0 : 1);
    const double rangs = double(b.rangsJusquAuBord + rang);
    const double dansLeCarre = chiffresNord.toInt();
    if (nord) {
        r.northing = rangs * 100000 + dansLeCarre;
    } else {
        // Distance south of the equator, carried as a negative northing, then written as the
        // usual southern value with a minus sign in front.
        const double distance = rangs * 100000 - dansLeCarre;
        r.northing = -(-distance + 10000000);
    }
    return r;
}

MgrsVersGeo sub_MGRS_To_Geo(const QString& texte)
{
    MgrsVersGeo r;
    const auto p = sub_Decode_MGRS(texte, QStringLiteral("WGS84"));
    if (!p) {
        r.erreur = -1;
        return r;
    }
    const auto g = sub_UTM_To_Geo(p->zone, p->easting, p->northing, QStringLiteral("WGS84"));
    if (!g) {
        r.erreur = -1;
        return r;
    }
    r.longitude = g->longitude;
    r.latitude = g->latitude;
    r.utm = *p;
    return r;
}
