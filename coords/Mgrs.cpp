#include "coords/Mgrs.h"

#include "coords/GeodeticConstants.h"
#include "coords/TexteNombre.h"
#include "coords/Utm.h"

#include <array>
#include <cmath>

using namespace coords;

namespace {

const QString COLONNES = QStringLiteral("ABCDEFGHJKLMNPQRSTUVWXYZ"); // no I, no O
const QString RANGS = COLONNES.left(20);                             // "ABCDEFGHJKLMNPQRSTUV"
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
        const long long m = static_cast<long long>(metres) % static_cast<long long>(MGRS_SQUARE);
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

// The band's edge nearest the equator, in rows of 100 km from the equator: on the central
// meridian, where each parallel comes nearest the equator, with the northing rounded as the
// builder rounds it, so that no point of the band lies in a row before the first one counted.
// Northwards the first row is the one that holds the edge; southwards the rows are counted from 1
// (the row just south of the equator), the first one being the row after the count returned.
int rangsJusquAuBord(int indiceBande, bool nord) // indiceBande 0 for N and M, 9 for X and C
{
    static const std::array<double, 10> distances = [] {
        std::array<double, 10> d{};
        for (int k = 0; k < 10; ++k)
            d[k] = std::nearbyint(nordAuMeridienCentral(8.0 * k)); // halves to even, as the builder
        return d;
    }();
    const double rangs = distances[indiceBande] / MGRS_SQUARE;
    // A southern edge on a row boundary (the equator): the row just north of it still holds the
    // points whose northing rounds onto the edge.
    return nord ? int(std::floor(rangs)) : int(std::ceil(rangs)) - 1;
}

// The last row a band reaches: northwards the row that holds its far edge, southwards the count
// of that row from 1 (the row just south of the equator). The far edge is taken 6° from the
// central meridian, as far as the widest zones of the grid's exceptions reach and where a
// parallel lies furthest from the equator, with a metre more for the builder's rounding: a row
// beyond it lies wholly outside the band, and contradicts the band letter.
int dernierRang(int indiceBande, bool nord) // indiceBande 0 for N and M, 9 for X and C
{
    constexpr double ECART_MAX = 6; // degrees from the central meridian
    static const auto derniers = [](bool n) {
        std::array<int, 10> d{};
        for (int k = 0; k < 10; ++k) {
            const double fin = k < 9 ? 8.0 * (k + 1) : (n ? 84 : 80); // X ends at 84°N, C at 80°S
            const int rang = int(std::floor((nordUtm(fin, ECART_MAX) + 1) / MGRS_SQUARE));
            d[k] = n ? rang : rang + 1;
        }
        return d;
    };
    static const std::array<int, 10> auNord = derniers(true);
    static const std::array<int, 10> auSud = derniers(false);
    return nord ? auNord[indiceBande] : auSud[indiceBande];
}

// a mod 20, from 0 to 19 whatever the sign of a.
int modulo20(int a) { return ((a % 20) + 20) % 20; }

} // namespace

std::optional<QString> sub_UTM_To_MGRS(double latitude, double easting, double northing, int zone)
{
    if (zone == 61)
        zone = 1;
    if (zone < 1 || zone > 60 || !std::isfinite(latitude) || !(easting >= 0) || !(northing >= 0) ||
        !std::isfinite(easting) || !std::isfinite(northing))
        return std::nullopt;
    const double e = easting / MGRS_SQUARE;
    const double n = northing / MGRS_SQUARE;
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
    r.easting = double(c) * MGRS_SQUARE + chiffresEst.toInt();

    qsizetype k = BANDES_NORD.indexOf(lettreBande) + 1;
    const bool nord = k > 0;
    if (!nord)
        k = BANDES_SUD.indexOf(lettreBande) + 1;
    if (k == 0 || lettreBande == u'Y') // bands C to X only
        return std::nullopt;
    const int bord = rangsJusquAuBord(int(k - 1), nord);

    // The row letter, in the lettering of the builder: odd zones start the cycle at "A" at the
    // equator, even zones at "F"; southwards the letters run backwards from the equator ("V", "U"
    // ... in odd zones, "E", "D" ... in even ones). The row is the first from the band's edge that
    // bears the letter: a band spans at most 15 rows, fewer than the cycle of 20.
    const qsizetype lettre = RANGS.indexOf(lettreRang);
    if (lettre < 0) // I, O, W to Z: no row bears them
        return std::nullopt;
    const int decalage = 5 * ((zone - 1) % 2);
    int rang;
    if (nord) // northing row R bears the letter (R + decalage) mod 20
        rang = modulo20(int(lettre) - decalage - bord);
    else // the s-th row south of the equator bears the letter (decalage - s) mod 20
        rang = modulo20(decalage - int(lettre) - bord - 1) + 1;
    // A row letter that the band does not reach (31NEQ: band N ends at 8°N, the first row Q
    // from its edge lies 1400 km north of the equator): the reference contradicts itself.
    if (bord + rang > dernierRang(int(k - 1), nord))
        return std::nullopt;
    const double rangs = double(bord + rang);
    const double dansLeCarre = chiffresNord.toInt();
    if (nord) {
        r.northing = rangs * MGRS_SQUARE + dansLeCarre;
    } else {
        // Distance south of the equator, carried as a negative northing, then written as the
        // usual southern value with a minus sign in front.
        const double distance = rangs * MGRS_SQUARE - dansLeCarre;
        r.northing = -(-distance + UTM_FALSE_NORTHING_SOUTH);
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
