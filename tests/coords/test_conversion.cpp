#include "coords/Conversion.h"
#include "coords/CoordinateValidation.h"
#include "coords/Lambert.h"
#include "coords/Ntf.h"
#include "coords/NumberText.h"
#include "tests/coords/CoordsTestSupport.h"
#include "tests/support/QtPrinters.h"

#include "tests/coords/SeparatorTest.h"

#include <gtest/gtest.h>

using namespace coords;
using coords_test::degreesOfText;

namespace {

struct CoordinateSet
{
    CoordinateSlots X, Y, Z;
};

// Every slot holds a value of its own, to see which ones a call writes.
CoordinateSet filledSet()
{
    CoordinateSet j;
    for (int k = 0; k < 5; ++k) {
        j.X[k] = QStringLiteral("ancien X%1").arg(k);
        j.Y[k] = QStringLiteral("ancien Y%1").arg(k);
        j.Z[k] = QStringLiteral("ancien Z%1").arg(k);
    }
    return j;
}

bool unchanged(const CoordinateSet& j, int k)
{
    return j.X[k] == QStringLiteral("ancien X%1").arg(k) && j.Y[k] == QStringLiteral("ancien Y%1").arg(k) &&
           j.Z[k] == QStringLiteral("ancien Z%1").arg(k);
}

double numberOf(const QVariant& v) { return coords::readNumberAnySeparator(slotText(v)).value; }

// A coordinate set holding only the slots of one type taken from another, as texts, as a window
// holds them; converted from that type.
CoordinateSet convertedFrom(const CoordinateSet& j, int type, int* error)
{
    CoordinateSet s;
    s.X[type] = slotText(j.X[type]);
    s.Y[type] = slotText(j.Y[type]);
    s.Z[type] = slotText(j.Z[type]);
    *error = sub_Convertir_Coordonnees(s.X, s.Y, s.Z, type, "WGS84").error;
    return s;
}

// NTF grads of the known towns (see the NTF and Lambert suites).
struct Town
{
    const char* name;
    double lambda, phi;
};
const Town TOWNS[] = {
    {"Paris", 0.0137, 54.2816},   {"Brest", -7.5804, 53.7672},    {"Strasbourg", 6.0171, 53.9705},
    {"Lille", 0.8009, 56.2547},   {"Perpignan", 0.6202, 47.4319}, {"Ajaccio", 7.1112, 46.5768},
    {"Nantes", -4.3222, 52.4650},
};

class ConversionBySeparator : public WithSeparator
{
};

} // namespace

TEST_P(ConversionBySeparator, KnownPointsThroughEverySourceTypeGiveConsistentSlots)
{
    for (const Town& v : TOWNS) {
        CoordinateSet ref;
        ref.X[0] = v.lambda;
        ref.Y[0] = v.phi;
        const ConversionResult r0 = sub_Convertir_Coordonnees(ref.X, ref.Y, ref.Z, TYPE_NTF, "*");
        ASSERT_EQ(r0.error, 0) << v.name;
        for (int type = 1; type <= 4; ++type) {
            CoordinateSet j;
            // The source slots as a window would hold them: texts.
            j.X[type] = slotText(ref.X[type]);
            j.Y[type] = slotText(ref.Y[type]);
            j.Z[type] = slotText(ref.Z[type]);
            const ConversionResult r = sub_Convertir_Coordonnees(j.X, j.Y, j.Z, type, "2E");
            ASSERT_EQ(r.error, 0) << v.name << " type " << type;
            EXPECT_EQ(r.message, type == TYPE_WGS84 ? QStringLiteral(" : ") : QString());
            const QString what = QStringLiteral("%1 from type %2").arg(QString::fromUtf8(v.name)).arg(type);
            EXPECT_NEAR(numberOf(j.X[0]), v.lambda, 0.0001) << what;
            EXPECT_NEAR(numberOf(j.Y[0]), v.phi, 0.0001) << what;
            EXPECT_NEAR(numberOf(j.X[1]), numberOf(ref.X[1]), 7) << what;
            EXPECT_NEAR(numberOf(j.Y[1]), numberOf(ref.Y[1]), 7) << what;
            // Within the metre that the truncated UTM easting may lose.
            EXPECT_NEAR(*degreesOfText(slotText(j.X[2])), *degreesOfText(slotText(ref.X[2])), 2e-5) << what;
            EXPECT_NEAR(*degreesOfText(slotText(j.Y[2])), *degreesOfText(slotText(ref.Y[2])), 2e-5) << what;
            EXPECT_NEAR(numberOf(j.X[3]), numberOf(ref.X[3]), 1) << what;
            EXPECT_NEAR(numberOf(j.Y[3]), numberOf(ref.Y[3]), 1) << what;
            EXPECT_EQ(numberOf(j.Z[3]), numberOf(ref.Z[3])) << what;
            EXPECT_EQ(slotText(j.Z[4]).left(5), slotText(ref.Z[4]).left(5)) << what;
        }
    }
}

TEST_P(ConversionBySeparator, NtfSourceWritesEveryOtherSlot)
{
    CoordinateSet j = filledSet();
    j.X[0] = QStringLiteral("0.0137");
    j.Y[0] = coords::generalText(54.2816);
    const ConversionResult r = sub_Convertir_Coordonnees(j.X, j.Y, j.Z, TYPE_NTF, "*");
    EXPECT_EQ(r.error, 0);
    EXPECT_EQ(r.message, "");
    // The Lambert step takes the full values, the WGS84 texts the single-precision ones.
    const auto l = sub_NTF_To_Lambert(0.0137, 54.2816);
    EXPECT_EQ(j.X[1].toDouble(), l->X);
    EXPECT_EQ(j.Y[1].toDouble(), l->Y);
    const auto t = sub_NTF_To_DMS(float(0.0137), float(54.2816), "WGS84");
    EXPECT_EQ(j.X[2].toString(), t->longitude);
    EXPECT_EQ(j.Y[2].toString(), t->latitude);
    // echo "48.853371594 2.348836118" | GeoConvert -u -z 31 -p 1 -> 31n 452232.7 5411360.5
    EXPECT_EQ(j.X[3].toDouble(), 452232);
    EXPECT_EQ(j.Y[3].toInt(), 5411360);
    EXPECT_EQ(j.Z[3].toInt(), 31);
    EXPECT_EQ(j.Z[4].toString(), "31UDQ5223211360     ");
    // Untouched: the source and the unused slots.
    EXPECT_EQ(j.X[0], "0.0137");
    EXPECT_EQ(j.Z[0], "ancien Z0");
    EXPECT_EQ(j.Z[1], "ancien Z1");
    EXPECT_EQ(j.Z[2], "ancien Z2");
    EXPECT_EQ(j.X[4], "ancien X4");
    EXPECT_EQ(j.Y[4], "ancien Y4");
}

TEST_P(ConversionBySeparator, LambertSourceInItsZone)
{
    const char s = GetParam();
    struct Row
    {
        const char* zone;
        double x, y;
        double lambda, phi;
    };
    // The Lambert I point of Paris (see the Lambert suite) and the same point in II étendu.
    const Row rows[] = {
        {"LAMBERT 1", 600904.8426, 128101.2663, 0.0137, 54.2816},
        {"1", 600904.8426, 128101.2663, 0.0137, 54.2816},
        {"*", 600905.3727, 2428336.5470, 0.0137, 54.2816},
        {"LAMBERTS 2E", 600905.3727, 2428336.5470, 0.0137, 54.2816},
        {"Lambert 4", 530657.2474, 178447.8873, 7.1112, 46.5768},
    };
    for (const Row& r : rows) {
        CoordinateSet j = filledSet();
        j.X[1] = coords::generalText(r.x);
        j.Y[1] = coords::generalText(r.y);
        const ConversionResult res = sub_Convertir_Coordonnees(j.X, j.Y, j.Z, TYPE_LAMBERT, r.zone);
        ASSERT_EQ(res.error, 0) << r.zone;
        // The NTF slots hold five-decimal texts with the regional separator.
        const QString lambda = j.X[0].toString();
        EXPECT_EQ(lambda.size() - lambda.indexOf(QLatin1Char(s)) - 1, 5) << lambda;
        EXPECT_NEAR(numberOf(j.X[0]), r.lambda, 0.00001) << r.zone;
        EXPECT_NEAR(numberOf(j.Y[0]), r.phi, 0.00001) << r.zone;
        // The Lambert slots keep the typed point, as numbers.
        EXPECT_EQ(j.X[1].typeId(), QMetaType::Double);
        EXPECT_EQ(j.X[1].toDouble(), r.x) << r.zone;
        EXPECT_EQ(j.Y[1].toDouble(), r.y) << r.zone;
        EXPECT_FALSE(unchanged(j, 2));
        EXPECT_FALSE(unchanged(j, 3));
        EXPECT_EQ(slotText(j.Z[4]).size(), 20);
    }
}

TEST_P(ConversionBySeparator, WgsTextSourceIsValidatedAndNormalised)
{
    const char s = GetParam();
    CoordinateSet j = filledSet();
    j.X[2] = QStringLiteral("2.3488");
    j.Y[2] = QStringLiteral("48,8534");
    ConversionResult r = sub_Convertir_Coordonnees(j.X, j.Y, j.Z, TYPE_WGS84, "WGS84");
    EXPECT_EQ(r.error, 0);
    EXPECT_EQ(r.message, " : ");
    QString lon = QString::fromUtf8("E2°20'55.68''");
    QString lat = QString::fromUtf8("N48°51'12.24''");
    lon.replace(QLatin1Char('.'), QLatin1Char(s));
    lat.replace(QLatin1Char('.'), QLatin1Char(s));
    EXPECT_EQ(j.X[2].toString(), lon);
    EXPECT_EQ(j.Y[2].toString(), lat);
    EXPECT_FALSE(unchanged(j, 0));
    EXPECT_FALSE(unchanged(j, 1));
    EXPECT_EQ(j.Z[3].toInt(), 31);

    // Refused: the validation's message; only the normalised texts are written.
    CoordinateSet k = filledSet();
    k.X[2] = QString::fromUtf8("E2°20'");
    k.Y[2] = QString::fromUtf8("N95°");
    r = sub_Convertir_Coordonnees(k.X, k.Y, k.Z, TYPE_WGS84, "WGS84");
    EXPECT_EQ(r.error, -1);
    EXPECT_EQ(r.message, QString::fromUtf8(" : degrés de latitude > 90°"));
    EXPECT_EQ(k.X[2].toString(), QString::fromUtf8("E2°20'0''"));
    for (int slot : {0, 1, 3, 4})
        EXPECT_TRUE(unchanged(k, slot)) << slot;

    CoordinateSet m = filledSet();
    m.X[2] = QString::fromUtf8("E2°20'");
    m.Y[2] = QStringLiteral("48.85");
    r = sub_Convertir_Coordonnees(m.X, m.Y, m.Z, TYPE_WGS84, "WGS84");
    EXPECT_EQ(r.error, -1);
    EXPECT_EQ(r.message, " : latitude non conforme");
    for (int slot : {0, 1, 3, 4})
        EXPECT_TRUE(unchanged(m, slot)) << slot;
}

TEST_P(ConversionBySeparator, UtmSourceKeepsTheTypedValues)
{
    CoordinateSet j = filledSet();
    j.X[3] = QStringLiteral("452232.4");
    j.Y[3] = QStringLiteral("5411360");
    j.Z[3] = QStringLiteral("31");
    const ConversionResult r = sub_Convertir_Coordonnees(j.X, j.Y, j.Z, TYPE_UTM, "WGS84");
    ASSERT_EQ(r.error, 0);
    EXPECT_EQ(j.X[3], "452232.4");
    EXPECT_EQ(j.Z[3], "31");
    EXPECT_EQ(j.Z[4].toString(), "31UDQ5223211360     ");
    // The WGS84 texts in the UTM form.
    EXPECT_TRUE(j.Y[2].toString().endsWith('"'));
    EXPECT_NEAR(numberOf(j.X[0]), 0.0137, 0.0001);
    EXPECT_NEAR(numberOf(j.Y[0]), 54.2816, 0.0001);
}

TEST_P(ConversionBySeparator, MgrsSourceFillsUtmAndTheRest)
{
    CoordinateSet j = filledSet();
    j.Z[4] = QStringLiteral("31UDQ5223211360");
    const ConversionResult r = sub_Convertir_Coordonnees(j.X, j.Y, j.Z, TYPE_MGRS, "WGS84");
    ASSERT_EQ(r.error, 0);
    EXPECT_EQ(j.X[3].toDouble(), 452232);
    EXPECT_EQ(j.Y[3].toDouble(), 5411360);
    EXPECT_EQ(j.Z[3].toInt(), 31);
    EXPECT_EQ(j.Z[4], "31UDQ5223211360");
    EXPECT_NEAR(numberOf(j.X[0]), 0.0137, 0.0001);
    EXPECT_EQ(j.X[4], "ancien X4");
}

// Every value with one or two decimals over France (longitudes -5.5 to 10, latitudes 41 to 51.5),
// typed as decimal degrees: the texts the program writes, from that source and again from the NTF
// and UTM slots it filled, pass the check; the typed value reads back from its own texts.
TEST_P(ConversionBySeparator, EveryHundredthOfADegreeOverFranceGivesTextsTheCheckAccepts)
{
    const int lonMin = -550, nLon = 1551, latMin = 4100, nLat = 1051; // hundredths of a degree
    const auto accepted = [](const CoordinateSet& j, const QString& what) {
        QString lon = j.X[2].toString(), lat = j.Y[2].toString();
        const CoordinateCheck v = fun_Verif_Coordonnees(lon, lat, false, "WGS84 DMS");
        EXPECT_EQ(v.message, " : ") << what << ": " << lon << " " << lat;
        return v.error == 0;
    };
    int refused = 0;
    for (int i = 0; i < nLon; ++i) {
        const double lon = (lonMin + i) / 100.0, lat = (latMin + i % nLat) / 100.0;
        CoordinateSet j;
        j.X[2] = coords::generalText(lon);
        j.Y[2] = coords::generalText(lat);
        const QString what = slotText(j.X[2]) + " " + slotText(j.Y[2]);
        ASSERT_EQ(sub_Convertir_Coordonnees(j.X, j.Y, j.Z, TYPE_WGS84, "WGS84").error, 0) << what;
        refused += !accepted(j, what);
        EXPECT_NEAR(*degreesOfText(j.X[2].toString()), lon, 1e-9) << what;
        EXPECT_NEAR(*degreesOfText(j.Y[2].toString()), lat, 1e-9) << what;
        for (int source : {TYPE_NTF, TYPE_UTM}) {
            int error = 0;
            const CoordinateSet k = convertedFrom(j, source, &error);
            ASSERT_EQ(error, 0) << what;
            refused += !accepted(k, what + QStringLiteral(" from type %1").arg(source));
        }
    }
    EXPECT_EQ(refused, 0);
}

INSTANTIATE_TEST_SUITE_P(Separators, ConversionBySeparator, ::testing::Values('.', ','));

TEST(Conversion, RefusedSourcesLeaveEverySlotAsItWas)
{
    ScopedDecimalSeparator point(QLatin1Char('.'));
    struct Row
    {
        int type;
        const char* zone;
        const char *x, *y, *z;
    };
    const Row rows[] = {
        // Empty after trimming.
        {0, "*", "", "54", ""},
        {0, "*", "0.5", "  ", ""},
        {1, "2E", "600000", "", ""},
        {2, "WGS84", "", "N48°", ""},
        {3, "WGS84", "452232", "5411360", ""},
        {3, "WGS84", " ", "5411360", "31"},
        {4, "WGS84", "", "", " "},
        // Not numbers.
        {0, "*", "abc", "54", ""},
        {0, "*", "nan", "54", ""},
        {0, "*", "0", "inf", ""},
        {1, "2E", "600000", "x", ""},
        {3, "WGS84", "452232", "5411360", "trente"},
        // The Lambert zone: empty, unknown, or a last word that is none.
        {1, "", "600000", "2200000", ""},
        {1, "WGS84", "600000", "2200000", ""},
        {1, "LAMBERT", "600000", "2200000", ""},
        {1, "2E ", "600000", "2200000", ""},
        {1, "5", "600000", "2200000", ""},
        // Values that no step can place.
        {3, "WGS84", "452232", "5411360", "0"},
        {3, "WGS84", "452232", "5411360", "61"},
        {3, "WGS84", "452232", "1e300", "31"},
        // MGRS references the decoder refuses: the chain stops there.
        {4, "WGS84", "", "", "31UJQ1234512345"},
        {4, "WGS84", "", "", "31YEQ1234512345"},
        {4, "WGS84", "", "", "31UEQ12345"},
        {4, "WGS84", "", "", "31UEW1234512345"},
        {4, "WGS84", "", "", "31U"},
    };
    for (const Row& r : rows) {
        CoordinateSet j = filledSet();
        j.X[r.type] = QString::fromUtf8(r.x);
        j.Y[r.type] = QString::fromUtf8(r.y);
        j.Z[r.type] = QString::fromUtf8(r.z);
        const CoordinateSet before = j;
        const ConversionResult res = sub_Convertir_Coordonnees(j.X, j.Y, j.Z, r.type, r.zone);
        const QString what =
            QStringLiteral("type %1 '%2' '%3' '%4' zone '%5'").arg(r.type).arg(r.x, r.y, r.z, r.zone);
        EXPECT_NE(res.error, 0) << what;
        EXPECT_EQ(res.message, "") << what;
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(j.X[k], before.X[k]) << what << " slot " << k;
            EXPECT_EQ(j.Y[k], before.Y[k]) << what << " slot " << k;
            EXPECT_EQ(j.Z[k], before.Z[k]) << what << " slot " << k;
        }
    }
}

// South of the equator the UTM slot holds the usual northing with a minus sign, whether it was
// written from geographic texts, from NTF or from an MGRS reference; read back as a UTM source it
// gives the same point, in both hemispheres.
TEST(Conversion, UtmSlotRoundTripInBothHemispheres)
{
    ScopedDecimalSeparator point(QLatin1Char('.'));
    struct Row
    {
        const char *lon, *lat;
    };
    const Row rows[] = {{"E2°20'55.8096''", "N48°51'12.1392''"},
                        {"E3°10'0''", "N0°0'5''"},
                        {"E18°25'26.598''", "S33°55'29.532''"},
                        {"W78°28'4.2024''", "S0°10'50.3508''"}};
    for (const Row& r : rows) {
        CoordinateSet a;
        a.X[2] = QString::fromUtf8(r.lon);
        a.Y[2] = QString::fromUtf8(r.lat);
        ASSERT_EQ(sub_Convertir_Coordonnees(a.X, a.Y, a.Z, TYPE_WGS84, "WGS84").error, 0) << r.lat;
        EXPECT_EQ(numberOf(a.Y[3]) < 0, r.lat[0] == 'S') << r.lat << " " << slotText(a.Y[3]);
        int e[3] = {};
        const CoordinateSet fromUtm = convertedFrom(a, TYPE_UTM, &e[0]);
        const CoordinateSet fromMgrs = convertedFrom(a, TYPE_MGRS, &e[1]);
        const CoordinateSet fromNtf = convertedFrom(a, TYPE_NTF, &e[2]);
        ASSERT_TRUE(e[0] == 0 && e[1] == 0 && e[2] == 0) << r.lat;
        // Within the metre the truncated easting may lose.
        EXPECT_NEAR(*degreesOfText(fromUtm.Y[2].toString()), *degreesOfText(r.lat), 2e-5) << r.lat;
        EXPECT_NEAR(*degreesOfText(fromUtm.X[2].toString()), *degreesOfText(r.lon), 2e-5) << r.lat;
        EXPECT_NEAR(numberOf(fromMgrs.Y[3]), numberOf(a.Y[3]), 1) << r.lat;
        // NTF holds four decimals of a grad, about 10 m.
        EXPECT_NEAR(numberOf(fromNtf.Y[3]), numberOf(a.Y[3]), 20) << r.lat;
    }
}

// NTF grads beyond half a turn of longitude or a quarter turn of latitude are no point on the
// Earth: refused, where they used to give a Lambert point thousands of kilometres off and
// wrapped geographic texts.
TEST(Conversion, NtfGradsBeyondTheirRangeAreRefused)
{
    ScopedDecimalSeparator point(QLatin1Char('.'));
    struct Row
    {
        const char *lambda, *phi;
        int error;
    };
    const Row rows[] = {
        {"500", "20", -1}, {"200.001", "20", -1}, {"-200.5", "50", -1}, {"0", "100.001", -1},
        {"0", "-150", -1}, {"200", "20", 0},      {"-200", "-20", 0},   {"0.0137", "54.2816", 0},
    };
    for (const Row& r : rows) {
        CoordinateSet j = filledSet();
        j.X[0] = r.lambda;
        j.Y[0] = r.phi;
        EXPECT_EQ(sub_Convertir_Coordonnees(j.X, j.Y, j.Z, TYPE_NTF, "*").error, r.error)
            << r.lambda << " " << r.phi;
        EXPECT_EQ(unchanged(j, 1), r.error != 0) << r.lambda << " " << r.phi;
    }
    EXPECT_FALSE(sub_NTF_To_Lambert(500, 20).has_value());
    EXPECT_FALSE(sub_NTF_To_DMS(0, -100.5f, "WGS84").has_value());
}

TEST(Conversion, NoStaleValuesFromAnEarlierCall)
{
    ScopedDecimalSeparator point(QLatin1Char('.'));
    CoordinateSet j;
    j.X[0] = 0.0137;
    j.Y[0] = 54.2816;
    ASSERT_EQ(sub_Convertir_Coordonnees(j.X, j.Y, j.Z, TYPE_NTF, "*").error, 0);
    const CoordinateSet first = j;
    // A second point typed wrongly: an error, and the first point's slots are not mixed with it.
    j.X[0] = QStringLiteral("12a");
    EXPECT_EQ(sub_Convertir_Coordonnees(j.X, j.Y, j.Z, TYPE_NTF, "*").error, -1);
    for (int k = 1; k < 5; ++k)
        EXPECT_EQ(j.X[k], first.X[k]) << k;
}

TEST(Conversion, TypesOutsideTheRangeAreAnErrorAndWriteNothing)
{
    for (int type : {-1, 5, 99}) {
        CoordinateSet j = filledSet();
        const ConversionResult r = sub_Convertir_Coordonnees(j.X, j.Y, j.Z, type, "2E");
        EXPECT_EQ(r.error, -1) << type;
        EXPECT_EQ(r.message, "");
        for (int k = 0; k < 5; ++k)
            EXPECT_TRUE(unchanged(j, k)) << type;
    }
    // An empty zone refuses a Lambert source before anything else.
    CoordinateSet j = filledSet();
    EXPECT_EQ(sub_Convertir_Coordonnees(j.X, j.Y, j.Z, TYPE_LAMBERT, "").error, -1);
}

TEST(Conversion, SlotTexts)
{
    ScopedDecimalSeparator comma(QLatin1Char(','));
    EXPECT_EQ(slotText(QVariant(600905.5)), "600905,5");
    EXPECT_EQ(slotText(QVariant(qint32(5411360))), "5411360");
    EXPECT_EQ(slotText(QVariant(31)), "31");
    EXPECT_EQ(slotText(QVariant(QStringLiteral("N48°"))), QString::fromUtf8("N48°"));
    EXPECT_EQ(slotText(QVariant()), "");
}
