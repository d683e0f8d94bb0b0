#include "coords/Lambert.h"
#include "coords/NumberText.h"
#include "tests/coords/CoordsTestSupport.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace coords;

namespace {

// Zone parameters as PROJ holds them (projinfo EPSG:2756N -o PROJ; "2E" is EPSG:27572):
//  1: +proj=lcc +lat_1=49.5 +lat_0=49.5 +lon_0=0 +k_0=0.999877341 +x_0=600000 +y_0=200000
//  2: +proj=lcc +lat_1=46.8 +lat_0=46.8 +lon_0=0 +k_0=0.99987742 +x_0=600000 +y_0=200000
//  3: +proj=lcc +lat_1=44.1 +lat_0=44.1 +lon_0=0 +k_0=0.999877499 +x_0=600000 +y_0=200000
//  4: +proj=lcc +lat_1=42.165 +lat_0=42.165 +lon_0=0 +k_0=0.99994471 +x_0=234.358 +y_0=185861.369
//  2E: +proj=lcc +lat_1=46.8 +lat_0=46.8 +lon_0=0 +k_0=0.99987742 +x_0=600000 +y_0=2200000
//  each with +ellps=clrk80ign +pm=paris.
struct Point
{
    const char* name;
    double lambda, phi; // NTF grads from Paris
    const char* zone;   // the zone the town lies in
    double X, Y;        // in that zone
    double X2E, Y2E;    // Lambert II étendu
};
// echo "LAMBDA*0.9 PHI*0.9" | cs2cs -f %.4f +proj=longlat +ellps=clrk80ign +pm=paris +to <zone>
// echo "X Y" | cs2cs -f %.4f <zone> +to <2E>
const Point POINTS[] = {
    {"Paris", 0.0137, 54.2816, "1", 600904.8426, 128101.2663, 600905.3727, 2428336.5470},
    {"Brest", -7.5804, 53.7672, "1", 95366.8383, 99480.3587, 95208.7432, 2398755.8669},
    {"Strasbourg", 6.0171, 53.9705, "1", 999304.5747, 111321.3508, 999473.6258, 2410953.8682},
    {"Lille", 0.8009, 56.2547, "1", 651006.8769, 325841.8660, 651113.6214, 2626330.9986},
    {"Perpignan", 0.6202, 47.4319, "3", 645753.3484, 43365.9924, 645854.3381, 1742965.4047},
    {"Ajaccio", 7.1112, 46.5768, "4", 530657.2474, 178447.8873, 1132161.5381, 1678750.8709},
    {"Nantes", -4.3222, 52.4650, "2", 305486.6409, 253809.0707, 305486.6409, 2253809.0707},
};

} // namespace

TEST(Lambert, ForwardToLambertIIEtenduWithinOneCentimetre)
{
    for (const Point& p : POINTS) {
        const auto l = sub_NTF_To_Lambert(p.lambda, p.phi);
        ASSERT_TRUE(l) << p.name;
        EXPECT_NEAR(l->X, p.X2E, 0.01) << p.name;
        EXPECT_NEAR(l->Y, p.Y2E, 0.01) << p.name;
    }
    // On the Paris meridian X is 600000 exactly.
    EXPECT_EQ(sub_NTF_To_Lambert(0, 50)->X, 600000);
    EXPECT_FALSE(sub_NTF_To_Lambert(std::nan(""), 50).has_value());
    // The pole projects onto the cone's apex.
    EXPECT_NEAR(sub_NTF_To_Lambert(0, 100)->Y, 8199695.77, 0.1);
}

TEST(Lambert, ZoneToZoneWithinOneCentimetre)
{
    for (const Point& p : POINTS) {
        const auto e = sub_Lambert_Zone(p.zone, "2E", p.X, p.Y);
        ASSERT_TRUE(e) << p.name;
        EXPECT_NEAR(e->X, p.X2E, 0.01) << p.name;
        EXPECT_NEAR(e->Y, p.Y2E, 0.01) << p.name;
        const auto back = sub_Lambert_Zone("2E", p.zone, p.X2E, p.Y2E);
        ASSERT_TRUE(back) << p.name;
        EXPECT_NEAR(back->X, p.X, 0.01) << p.name;
        EXPECT_NEAR(back->Y, p.Y, 0.01) << p.name;
    }
}

TEST(Lambert, ZoneTexts)
{
    struct Row
    {
        const char* text;
        int index;
    };
    const Row rows[] = {
        {"1", 1},           {"LAMBERT 1", 1}, {"LAMBERTS 1", 1},  {"2", 2},
        {"Lambert 2", 2},   {"2E", 3},        {"2e", 3},          {"lambert 2e", 3},
        {"Lamberts 2E", 3}, {"3", 4},         {"4", 5},           {"LAMBERT 4", 5},
        {"5", 0},           {"", 0},          {"*", 0},           {"LAMBERT", 0},
        {"2 E", 0},         {" 2E", 0},       {"LAMBERT  2E", 0}, {"WGS84", 0},
        {"II", 0},
    };
    for (const Row& r : rows)
        EXPECT_EQ(lambertZoneIndex(QString::fromUtf8(r.text)), r.index) << r.text;
}

TEST(Lambert, InverseFromEveryZoneBothSeparators)
{
    for (const char sep : {'.', ','}) {
        ScopedDecimalSeparator s{QLatin1Char(sep)};
        for (const Point& p : POINTS) {
            for (const QString& zone : {QString::fromUtf8(p.zone), QStringLiteral("lambert ") + p.zone}) {
                const auto n = sub_Lambert_To_NTF(p.X, p.Y, zone);
                ASSERT_TRUE(n) << p.name;
                // Five decimals with the regional separator.
                const qsizetype i = n->lambda.indexOf(QLatin1Char(sep));
                ASSERT_GE(i, 0) << n->lambda;
                EXPECT_EQ(n->lambda.size() - i - 1, 5) << n->lambda;
                EXPECT_EQ(n->phi.size() - n->phi.indexOf(QLatin1Char(sep)) - 1, 5) << n->phi;
                EXPECT_EQ(coords::readNumber(n->lambda).value, n->lambdaValue);
                // Within the last digit: the divisor is held in single precision.
                EXPECT_NEAR(n->lambdaValue, p.lambda, 0.00001) << p.name;
                EXPECT_NEAR(n->phiValue, p.phi, 0.00001) << p.name;
            }
        }
    }
}

TEST(Lambert, DefaultZoneIsLambertIIEtendu)
{
    ScopedDecimalSeparator s{QLatin1Char('.')};
    const auto star = sub_Lambert_To_NTF(600905.3727, 2428336.5470, "*");
    const auto e = sub_Lambert_To_NTF(600905.3727, 2428336.5470, "2E");
    ASSERT_TRUE(star && e);
    EXPECT_EQ(star->lambda, "0.01370");
    EXPECT_EQ(star->phi, "54.28160");
    EXPECT_EQ(e->lambda, star->lambda);
}

TEST(Lambert, LambertIVUsesItsOwnPoleEasting)
{
    // Xs = 234.358 m: the Ajaccio point converts; with a pole easting of 600000 it would land
    // more than 3 grads away.
    const auto n = sub_Lambert_To_NTF(530657.2474, 178447.8873, "4");
    ASSERT_TRUE(n);
    EXPECT_NEAR(n->lambdaValue, 7.1112, 0.00001);
}

TEST(Lambert, ForwardThenInverseRoundTrip)
{
    for (double lambda = -8.5; lambda <= 9.5; lambda += 1.5) {
        for (double phi = 45.5; phi <= 57.5; phi += 1.25) {
            const auto l = sub_NTF_To_Lambert(lambda, phi);
            ASSERT_TRUE(l);
            const auto n = sub_Lambert_To_NTF(l->X, l->Y, "2E");
            ASSERT_TRUE(n);
            EXPECT_NEAR(n->lambdaValue, lambda, 0.000005) << lambda << " " << phi;
            EXPECT_NEAR(n->phiValue, phi, 0.000005) << lambda << " " << phi;
        }
    }
}

TEST(Lambert, UnknownOrBlankZoneIsAnErrorNotThePointZero)
{
    for (const char* zone : {"", " ", "5", "Z", "LAMBERT", "WGS84", "2 E"}) {
        EXPECT_FALSE(sub_Lambert_To_NTF(600000, 2200000, zone).has_value()) << zone;
        EXPECT_FALSE(sub_Lambert_Zone(zone, "2E", 600000, 2200000).has_value()) << zone;
        EXPECT_FALSE(sub_Lambert_Zone("1", zone, 600000, 2200000).has_value()) << zone;
    }
    EXPECT_FALSE(sub_Lambert_To_NTF(std::nan(""), 2200000, "2E").has_value());
    EXPECT_FALSE(sub_Lambert_To_NTF(600000, std::numeric_limits<double>::infinity(), "1").has_value());
}
