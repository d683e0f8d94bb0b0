#include "coords/Mgrs.h"

#include "coords/GeodeticConstants.h"
#include "coords/NumberText.h"
#include "coords/Utm.h"

#include <array>
#include <cmath>

using namespace coords;

namespace {

const QString kColumnLetters = QStringLiteral("ABCDEFGHJKLMNPQRSTUVWXYZ"); // no I, no O
const QString kRowLetters = kColumnLetters.left(20);                       // "ABCDEFGHJKLMNPQRSTUV"
const QString kRowLettersBuilding = QStringLiteral("VABCDEFGHJKLMNPQRSTUV");
const QString kNorthernBands = QStringLiteral("NPQRSTUVWXY");
const QString kSouthernBands = QStringLiteral("MLKJHGFEDC");

// The 8 column letters of a zone: "ABCDEFGH" for zones 1, 4, 7 ..., "JKLMNPQR" for 2, 5, 8 ...,
// "STUVWXYZ" for 3, 6, 9 ...
QString zoneColumnLetters(int zone) { return kColumnLetters.mid(8 * ((zone - 1) % 3), 8); }

// Five digits of the 100 km square from the value in units of 100 km: the decimals of its text,
// cut, not rounded (the whole metres within the square).
QString squareDigits(double metres, double hundredsOfKm)
{
    // A whole number of metres: its last five digits, as the text would give them.
    if (metres == std::floor(metres) && metres < 1e9) {
        const long long m = static_cast<long long>(metres) % static_cast<long long>(kMgrsSquare);
        return QString::number(m).rightJustified(5, QLatin1Char('0'));
    }
    const QString t = generalText(hundredsOfKm, QLatin1Char('.')) + QStringLiteral("00000");
    const qsizetype p = t.indexOf(QLatin1Char('.'));
    return p < 0 ? QStringLiteral("00000") : t.mid(p + 1, 5);
}

bool digitsOnly(QStringView t)
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
int rowsToBandEdge(int bandIndex, bool north) // bandIndex 0 for N and M, 9 for X and C
{
    static const std::array<double, 10> distances = [] {
        std::array<double, 10> d{};
        for (int k = 0; k < 10; ++k)
            d[k] = std::nearbyint(northingOnCentralMeridian(8.0 * k)); // halves to even, as the builder
        return d;
    }();
    const double rows = distances[bandIndex] / kMgrsSquare;
    // A southern edge on a row boundary (the equator): the row just north of it still holds the
    // points whose northing rounds onto the edge.
    return north ? int(std::floor(rows)) : int(std::ceil(rows)) - 1;
}

// The last row a band reaches: northwards the row that holds its far edge, southwards the count
// of that row from 1 (the row just south of the equator). The far edge is taken 6° from the
// central meridian, as far as the widest zones of the grid's exceptions reach and where a
// parallel lies furthest from the equator, with a metre more for the builder's rounding: a row
// beyond it lies wholly outside the band, and contradicts the band letter.
int lastRowOfBand(int bandIndex, bool north) // bandIndex 0 for N and M, 9 for X and C
{
    constexpr double kMaxOffset = 6; // degrees from the central meridian
    static const auto lastRows = [](bool n) {
        std::array<int, 10> d{};
        for (int k = 0; k < 10; ++k) {
            const double farEdge = k < 9 ? 8.0 * (k + 1) : (n ? 84 : 80); // X ends at 84°N, C at 80°S
            const int row = int(std::floor((utmNorthing(farEdge, kMaxOffset) + 1) / kMgrsSquare));
            d[k] = n ? row : row + 1;
        }
        return d;
    };
    static const std::array<int, 10> northern = lastRows(true);
    static const std::array<int, 10> southern = lastRows(false);
    return north ? northern[bandIndex] : southern[bandIndex];
}

// a mod 20, from 0 to 19 whatever the sign of a.
int mod20(int a) { return ((a % 20) + 20) % 20; }

} // namespace

std::optional<QString> sub_UTM_To_MGRS(double latitude, double easting, double northing, int zone)
{
    if (zone == 61)
        zone = 1;
    if (zone < 1 || zone > 60 || !std::isfinite(latitude) || !(easting >= 0) || !(northing >= 0) ||
        !std::isfinite(easting) || !std::isfinite(northing))
        return std::nullopt;
    const double e = easting / kMgrsSquare;
    const double n = northing / kMgrsSquare;
    QString r(20, QLatin1Char(' '));
    const QString z = QString::number(zone);
    r.replace(0, z.size(), z);

    // Latitude band; beyond the lists the letter stays blank.
    const int k = int(std::floor(std::abs(latitude) / 8)) + 1;
    if (latitude >= 80 && latitude < 84)
        r[2] = QLatin1Char('X');
    else if (latitude > 0 && k <= kNorthernBands.size())
        r[2] = kNorthernBands.at(k - 1);
    else if (latitude <= 0 && k <= kSouthernBands.size())
        r[2] = kSouthernBands.at(k - 1);

    r.replace(5, 5, squareDigits(easting, e));
    r.replace(10, 5, squareDigits(northing, n));

    // Column letter: from 100 km to under 900 km of easting.
    const int column = int(std::floor(e));
    if (column >= 1 && column <= 8)
        r[3] = zoneColumnLetters(zone).at(column - 1);
    // Row letter: odd zones start the cycle at "A" at the equator, even zones at "F".
    const long long row = (static_cast<long long>(std::floor(n)) + 5 * ((zone - 1) % 2) + 1) % 20;
    r[4] = kRowLettersBuilding.at(row);
    return r;
}

std::optional<MgrsPosition> sub_Decode_MGRS(const QString& text, const QString& /*datum*/)
{
    QString t = trimBlanks(text).toString();
    if (t.size() < 5)
        return std::nullopt;
    int zoneDigits = 0;
    while (zoneDigits < t.size() && t.at(zoneDigits) >= u'0' && t.at(zoneDigits) <= u'9')
        ++zoneDigits;
    if (zoneDigits == 0 || zoneDigits > 2)
        return std::nullopt;
    const int zone = t.left(zoneDigits).toInt();
    if (zone < 1 || zone > 60)
        return std::nullopt;
    // A one-digit zone followed by a letter fills two places, as in the built form "5 QKB...".
    if (zoneDigits == 1 && t.size() > 1 && t.at(1).isLetter())
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
    if (digits.size() > 10 || digits.size() % 2 != 0 || !digitsOnly(digits))
        return std::nullopt;
    const int h = int(digits.size()) / 2;
    const QString eastingDigits = digits.left(h).leftJustified(5, QLatin1Char('0'));
    const QString northingDigits = digits.mid(h, h).leftJustified(5, QLatin1Char('0'));

    const QChar bandLetter = t.at(2);
    const QChar columnLetter = t.at(3);
    const QChar rowLetter = t.at(4);

    const qsizetype c = zoneColumnLetters(zone).indexOf(columnLetter) + 1;
    if (c == 0)
        return std::nullopt;
    MgrsPosition r;
    r.zone = zone;
    r.easting = double(c) * kMgrsSquare + eastingDigits.toInt();

    qsizetype k = kNorthernBands.indexOf(bandLetter) + 1;
    const bool north = k > 0;
    if (!north)
        k = kSouthernBands.indexOf(bandLetter) + 1;
    if (k == 0 || bandLetter == u'Y') // bands C to X only
        return std::nullopt;
    const int edge = rowsToBandEdge(int(k - 1), north);

    // The row letter, in the lettering of the builder: odd zones start the cycle at "A" at the
    // equator, even zones at "F"; southwards the letters run backwards from the equator ("V", "U"
    // ... in odd zones, "E", "D" ... in even ones). The row is the first from the band's edge that
    // bears the letter: a band spans at most 15 rows, fewer than the cycle of 20.
    const qsizetype letter = kRowLetters.indexOf(rowLetter);
    if (letter < 0) // I, O, W to Z: no row bears them
        return std::nullopt;
    const int shift = 5 * ((zone - 1) % 2);
    int row;
    if (north) // northing row R bears the letter (R + shift) mod 20
        row = mod20(int(letter) - shift - edge);
    else // the s-th row south of the equator bears the letter (shift - s) mod 20
        row = mod20(shift - int(letter) - edge - 1) + 1;
    // A row letter that the band does not reach (31NEQ: band N ends at 8°N, the first row Q
    // from its edge lies 1400 km north of the equator): the reference contradicts itself.
    if (edge + row > lastRowOfBand(int(k - 1), north))
        return std::nullopt;
    const double rows = double(edge + row);
    const double withinSquare = northingDigits.toInt();
    if (north) {
        r.northing = rows * kMgrsSquare + withinSquare;
    } else {
        // Distance south of the equator, carried as a negative northing, then written as the
        // usual southern value with a minus sign in front.
        const double distance = rows * kMgrsSquare - withinSquare;
        r.northing = -(-distance + kUtmFalseNorthingSouth);
    }
    return r;
}

MgrsToGeoResult sub_MGRS_To_Geo(const QString& text)
{
    MgrsToGeoResult r;
    const auto p = sub_Decode_MGRS(text, kCodeWgs84);
    if (!p) {
        r.error = -1;
        return r;
    }
    const auto g = sub_UTM_To_Geo(p->zone, p->easting, p->northing, kCodeWgs84);
    if (!g) {
        r.error = -1;
        return r;
    }
    r.longitude = g->longitude;
    r.latitude = g->latitude;
    r.utm = *p;
    return r;
}
