#include "coords/Ntf.h"
#include "coords/NumberText.h"
#include "tests/coords/CoordsTestSupport.h"
#include "tests/support/QtPrinters.h"

#include "tests/coords/SeparatorTest.h"

#include <gtest/gtest.h>

using namespace coords;
using coords_test::degreesOfText;

namespace {

struct Town
{
    const char* name;
    double lambda, phi;        // NTF grads from Paris (the test inputs)
    double lonWgs84, latWgs84; // PROJ, degrees
    double lonEd50, latEd50;   // PROJ, degrees
};

// NTF inputs: the towns' WGS84 positions taken to NTF grads by cs2cs and rounded to 4 decimals.
// References, with the inputs narrowed to single precision as the callers hold them
// (python3: struct.unpack('f', struct.pack('f', x))[0] * 0.9 for each grads value):
// cs2cs -f %.9f +proj=longlat +ellps=clrk80ign +pm=paris +towgs84=-168,-60,320
//   +to +proj=longlat +datum=WGS84
// cs2cs -f %.9f +proj=longlat +ellps=clrk80ign +pm=paris +towgs84=-168,-60,320
//   +to +proj=longlat +ellps=intl +towgs84=-84,-97,-117
const Town TOWNS[] = {
    {"Paris", 0.0137, 54.2816, 2.348836118, 48.853371594, 2.350109834, 48.854283128},
    {"Brest", -7.5804, 53.7672, -4.486115874, 48.390363584, -4.484721469, 48.391366423},
    {"Strasbourg", 6.0171, 53.9705, 7.752120509, 48.573411932, 7.753269379, 48.574274219},
    {"Lille", 0.8009, 56.2547, 3.057319042, 50.629159050, 3.058624648, 50.630013390},
    {"Perpignan", 0.6202, 47.4319, 2.894781496, 42.688734781, 2.895911821, 42.689786579},
    {"Ajaccio", 7.1112, 46.5768, 8.736901788, 41.919191081, 8.737903684, 41.920204397},
    {"Nantes", -4.3222, 52.4650, -1.553602602, 47.218417866, -1.552292436, 47.219415224},
};

class NtfBySeparator : public WithSeparator
{
};

} // namespace

TEST_P(NtfBySeparator, TownsToWgs84AndEd50AgainstProj)
{
    for (const Town& v : TOWNS) {
        const auto w = sub_NTF_To_DMS(float(v.lambda), float(v.phi), "WGS84");
        ASSERT_TRUE(w) << v.name;
        EXPECT_NEAR(*degreesOfText(w->longitude), v.lonWgs84, 3e-6) << v.name << " " << w->longitude;
        EXPECT_NEAR(*degreesOfText(w->latitude), v.latWgs84, 3e-6) << v.name << " " << w->latitude;
        const auto e = sub_NTF_To_DMS(float(v.lambda), float(v.phi), "E");
        ASSERT_TRUE(e) << v.name;
        EXPECT_NEAR(*degreesOfText(e->longitude), v.lonEd50, 3e-6) << v.name;
        EXPECT_NEAR(*degreesOfText(e->latitude), v.latEd50, 3e-6) << v.name;
        // The separator of the seconds is the regional one.
        const QChar other = GetParam() == '.' ? QLatin1Char(',') : QLatin1Char('.');
        EXPECT_FALSE(w->longitude.contains(other)) << w->longitude;
    }
}

TEST_P(NtfBySeparator, RoundTripThroughTextsWithinOneUnitOfTheFourthDecimal)
{
    for (const char* datum : {"WGS84", "W", "ED50", "E"}) {
        for (const Town& v : TOWNS) {
            const auto t = sub_NTF_To_DMS(float(v.lambda), float(v.phi), datum);
            ASSERT_TRUE(t);
            const auto n = sub_DMS_To_NTF(t->longitude, t->latitude, datum);
            ASSERT_TRUE(n) << v.name << " " << t->longitude << " " << t->latitude;
            EXPECT_NEAR(n->lambda, v.lambda, 0.0001) << v.name << " " << datum;
            EXPECT_NEAR(n->phi, v.phi, 0.0001) << v.name << " " << datum;
        }
    }
}

TEST_P(NtfBySeparator, DmsToNtfAgainstProj)
{
    // printf "2d20'55.81E 48d51'12.14N\n..." | cs2cs -f %.10f +proj=longlat +datum=WGS84
    //   +to +proj=longlat +ellps=clrk80ign +pm=paris +towgs84=-168,-60,320   (then / 0.9)
    // ED50 rows: the same from +proj=longlat +ellps=intl +towgs84=-84,-97,-117.
    struct Row
    {
        const char* datum;
        const char* lon;
        const char* lat;
        double lambda, phi;
    };
    const Row rows[] = {
        {"WGS84", "E2°20'55.81''", "N48°51'12.14''", 0.013700, 54.281602},
        {"WGS84", "W4°29'10.02''", "N48°23'25.31''", -7.580401, 53.767201},
        {"WGS84", "E7°45'7.63''", "N48°34'24.28''", 6.017099, 53.970500},
        {"WGS84", "E3°3'26.35''", "N50°37'44.97''", 0.800900, 56.254699},
        {"WGS84", "E2°53'41.21''", "N42°41'19.45''", 0.620199, 47.431902},
        {"WGS84", "E8°44'12.85''", "N41°55'9.09''", 7.111201, 46.576802},
        {"WGS84", "W1°33'12.97''", "N47°13'6.3''", -4.322200, 52.464999},
        {"ED50", "E2°21'0.4''", "N48°51'15.42''", 0.013701, 54.281601},
        {"ED50", "W4°29'5''", "N48°23'28.92''", -7.580401, 53.767201},
    };
    for (const Row& r : rows) {
        const auto n = sub_DMS_To_NTF(QString::fromUtf8(r.lon), QString::fromUtf8(r.lat), r.datum);
        ASSERT_TRUE(n) << r.lon;
        EXPECT_NEAR(n->lambda, r.lambda, 0.00006) << r.lon;
        EXPECT_NEAR(n->phi, r.phi, 0.00006) << r.lat;
        // Four decimals.
        EXPECT_EQ(n->lambda, coords::roundDecimals(n->lambda, 4));
        EXPECT_EQ(n->phi, coords::roundDecimals(n->phi, 4));
    }
}

TEST_P(NtfBySeparator, WestWrittenAnyWayAndLowerCaseLettersKeepTheirSign)
{
    const auto w =
        sub_DMS_To_NTF(QString::fromUtf8("W4°29'10.02''"), QString::fromUtf8("N48°23'25.31''"), "WGS84");
    ASSERT_TRUE(w);
    EXPECT_LT(w->lambda, 0);
    for (const char* lon : {"O4°29'10.02''", "-4°29'10.02''", "w4°29'10.02''", "o4°29'10.02''"}) {
        const auto n = sub_DMS_To_NTF(QString::fromUtf8(lon), QString::fromUtf8("n48°23'25.31''"), "WGS84");
        ASSERT_TRUE(n) << lon;
        EXPECT_EQ(n->lambda, w->lambda) << lon;
        EXPECT_EQ(n->phi, w->phi) << lon;
    }
    const auto s =
        sub_DMS_To_NTF(QString::fromUtf8("e4°29'10.02''"), QString::fromUtf8("s48°23'25.31''"), "WGS84");
    ASSERT_TRUE(s);
    EXPECT_LT(s->phi, 0);
    EXPECT_GT(s->lambda, 0);
}

TEST_P(NtfBySeparator, UnreadableTextsAndOtherDatumsAreRefused)
{
    const QString lon = QString::fromUtf8("E2°20'55.81''");
    const QString lat = QString::fromUtf8("N48°51'12.14''");
    EXPECT_FALSE(sub_DMS_To_NTF(lon, lat, "NTF").has_value());
    EXPECT_FALSE(sub_DMS_To_NTF(lon, lat, "").has_value());
    EXPECT_FALSE(sub_DMS_To_NTF("", lat, "WGS84").has_value());
    EXPECT_FALSE(sub_DMS_To_NTF(lon, "48.85", "WGS84").has_value());
    EXPECT_FALSE(sub_DMS_To_NTF(QString::fromUtf8("Exx°20'"), lat, "WGS84").has_value());
    EXPECT_FALSE(sub_DMS_To_NTF(QString::fromUtf8("E2°20'nan''"), lat, "WGS84").has_value());
    EXPECT_FALSE(sub_NTF_To_DMS(1, 50, "NTF").has_value());
    EXPECT_FALSE(sub_NTF_To_DMS(1, 50, "wgs84").has_value());
    EXPECT_FALSE(sub_NTF_To_DMS(std::numeric_limits<float>::quiet_NaN(), 50, "WGS84").has_value());
}

INSTANTIATE_TEST_SUITE_P(Separators, NtfBySeparator, ::testing::Values('.', ','));

TEST(Ntf, FormatDms)
{
    ScopedDecimalSeparator comma(QLatin1Char(','));
    EXPECT_EQ(fun_Format_DMS("N", 48, 30, 0), QString::fromUtf8("N48°30'0''"));
    EXPECT_EQ(fun_Format_DMS("E", 2, 3, 13.25), QString::fromUtf8("E2°3'13,25''"));
    EXPECT_EQ(fun_Format_DMS("W", 0, 0, 1.0 / 3), QString::fromUtf8("W0°0'0,333333333333333''"));
    EXPECT_EQ(fun_Format_DMS("S", "12", "5", "7,5"), QString::fromUtf8("S12°5'7,5''"));
}

TEST(Ntf, SplittingDegreesNeverGivesNegativeSeconds)
{
    struct Row
    {
        double v;
        double d, m, sMin, sMax;
    };
    const Row rows[] = {
        {1.8333333333333333, 1, 50, 0, 0}, // 1°50': the plain arithmetic leaves -5.1e-13 seconds
        {48.5, 48, 30, 0, 0},
        {2.348836118, 2, 20, 55.81002, 55.81003},
        {0.0, 0, 0, 0, 0},
        {179.99999999, 179, 59, 59.99996, 59.99997},
        // Seconds that would be written as 60 (and read back in single precision as 60) are carried.
        {2.2999999999999, 2, 18, 0, 0},
        {47.9999999999999, 48, 0, 0, 0},
        {2.299999999, 2, 17, 59.99999, 59.999999}, // 3.6e-6 seconds short of 60: kept
    };
    for (const Row& r : rows) {
        const DegreesMinutesSeconds s = splitDegrees(r.v);
        EXPECT_EQ(s.degrees, r.d) << r.v;
        EXPECT_EQ(s.minutes, r.m) << r.v;
        EXPECT_GE(s.seconds, r.sMin) << r.v;
        EXPECT_LE(s.seconds, r.sMax) << r.v;
    }
    ScopedDecimalSeparator point(QLatin1Char('.'));
    const DegreesMinutesSeconds s = splitDegrees(1.8333333333333333);
    EXPECT_EQ(fun_Format_DMS("E", s.degrees, s.minutes, s.seconds), QString::fromUtf8("E1°50'0''"));
}

TEST(Ntf, ZeroIsEastAndNorthAndLongitudesBeyondNinetyDegreesKeepTheirQuadrant)
{
    ScopedDecimalSeparator point(QLatin1Char('.'));
    // The Paris meridian is added: 0 grads is Paris, east of Greenwich.
    const auto paris = sub_NTF_To_DMS(0, 54, "WGS84");
    ASSERT_TRUE(paris);
    EXPECT_TRUE(paris->longitude.startsWith('E'));
    EXPECT_NEAR(*degreesOfText(paris->longitude), 2.3359, 1e-3);
    // The NTF point whose WGS84 longitude is 0 lies 2.5969213 grads west of Paris, near
    // enough: the datum shift moves it by a few metres.
    const auto greenwich = sub_NTF_To_DMS(float(-2.5969213), 0, "WGS84");
    ASSERT_TRUE(greenwich);
    EXPECT_TRUE(greenwich->latitude.startsWith('N'));
    // echo "135.000000 18.000000" | cs2cs -f %.9f +proj=longlat +ellps=clrk80ign +pm=paris
    //   +towgs84=-168,-60,320 +to +proj=longlat +datum=WGS84      (150 and 20 grads)
    //   -> 137.338720750 18.000667203
    // -150 and -30 grads: the same translation worked in double precision (python3, geocentric
    // then an iterated latitude), which gives the figure above to 4e-9 degree -> -132.663605792
    // -26.994232704. Beyond half a turn (-250 grads) there is no point: see the range test.
    struct Row
    {
        float lambda, phi;
        double lon, lat;
    };
    const Row rows[] = {{150, 20, 137.338720750, 18.000667203}, {-150, -30, -132.663605792, -26.994232704}};
    for (const Row& r : rows) {
        const auto t = sub_NTF_To_DMS(r.lambda, r.phi, "WGS84");
        ASSERT_TRUE(t);
        EXPECT_NEAR(*degreesOfText(t->longitude), r.lon, 3e-6) << t->longitude;
        EXPECT_NEAR(*degreesOfText(t->latitude), r.lat, 3e-6) << t->latitude;
    }
}

TEST(Ntf, GeocentricOutputsAreOnTheTargetDatum)
{
    const auto t = sub_NTF_To_DMS(0, 54, "WGS84");
    ASSERT_TRUE(t);
    const auto ntf = sub_Geo_To_Cart(2.5969213, 54, "NTF");
    ASSERT_TRUE(ntf);
    EXPECT_NEAR(t->xyz.X, ntf->X - 168, 1e-6);
    EXPECT_NEAR(t->xyz.Z, ntf->Z + 320, 1e-6);
    // Back to NTF: the geocentric point of the texts on WGS84 (height zero there), translated.
    const auto n = sub_DMS_To_NTF(t->longitude, t->latitude, "WGS84");
    ASSERT_TRUE(n);
    const auto w = sub_Geo_To_Cart(*degreesOfText(t->longitude), *degreesOfText(t->latitude), "WGS84");
    ASSERT_TRUE(w);
    EXPECT_NEAR(n->xyz.X, w->X + 168, 0.01);
    EXPECT_NEAR(n->xyz.Y, w->Y + 60, 0.01);
    EXPECT_NEAR(n->xyz.Z, w->Z - 320, 0.01);
}

TEST(Ntf, TinyFractionsLeaveWholeDegrees)
{
    ScopedDecimalSeparator point(QLatin1Char('.'));
    // 0.00003 seconds is below 1e-8 degree and is cut; the result equals that of whole degrees.
    const auto a =
        sub_DMS_To_NTF(QString::fromUtf8("E2°0'0.00003''"), QString::fromUtf8("N48°0'0''"), "WGS84");
    const auto b = sub_DMS_To_NTF(QString::fromUtf8("E2°0'0''"), QString::fromUtf8("N48°0'0''"), "WGS84");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->lambda, b->lambda);
    EXPECT_EQ(a->xyz.X, b->xyz.X);
}
