#include "coords/Distance.h"
#include "coords/NumberText.h"
#include "tests/coords/CoordsTestSupport.h"
#include "tests/support/QtPrinters.h"

#include "tests/coords/SeparatorTest.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace coords;

namespace {

class DistanceBySeparator : public WithSeparator
{
};

} // namespace

TEST_P(DistanceBySeparator, AgainstGeodSolveOnTheSphereOfTheNauticalMile)
{
    // The sphere on which a minute of arc is 1852 m: radius 1852 * 10800 / pi = 6366707.0195 m.
    // echo "LAT1 LON1 LAT2 LON2" | GeodSolve -e 6366707.0195 0 -i -p 6   (third field, metres)
    struct Row
    {
        const char *lon1, *lat1, *lon2, *lat2;
        double km;
    };
    const Row rows[] = {
        {"E2°21'", "N48°51'", "E2°21'", "N48°52'", 1.852}, // one minute of latitude
        {"E2°", "N48°", "E2°", "N49°", 111.12},            // one degree of latitude
        {"E2°", "N60°", "E3°", "N60°", 55.559471106},      // one degree of longitude at 60°
        {"E2°20'55.8096''", "N48°51'12.1392''", "E3°3'26.3484''", "N50°37'44.9724''", 203.775957355},
        {"E2°20'55.8096''", "N48°51'12.1392''", "W4°29'10.0176''", "N48°23'25.3104''", 504.504717022},
        {"E2°20'55.8096''", "N48°51'12.1392''", "E18°25'26.5980''", "S33°55'29.5320''", 9335.147850198},
        // The UTM text form is read too.
        {"E2°20' 55.8096\"", "N48°51' 12.1392\"", "E3° 3' 26.3484\"", "N50°37' 44.9724\"", 203.775957355},
    };
    const char s = GetParam();
    for (const Row& r : rows) {
        const double d = fun_Get_Distance_WGS84(regional(r.lon1, s), regional(r.lat1, s), regional(r.lon2, s),
                                                regional(r.lat2, s));
        EXPECT_NEAR(d, r.km, 1e-5) << r.lon2 << " " << r.lat2;
        // Symmetric.
        EXPECT_NEAR(fun_Get_Distance_WGS84(regional(r.lon2, s), regional(r.lat2, s), regional(r.lon1, s),
                                           regional(r.lat1, s)),
                    d, 1e-9);
    }
}

INSTANTIATE_TEST_SUITE_P(Separators, DistanceBySeparator, ::testing::Values('.', ','));

TEST(Distance, EqualPointsAndUnreadableTexts)
{
    ScopedDecimalSeparator point(QLatin1Char('.'));
    struct Row
    {
        const char *lon1, *lat1, *lon2, *lat2;
        double km;
    };
    const Row rows[] = {
        // Identical texts: 0 when they can be read, -1 (unknown) when they cannot.
        {"E2°20'", "N48°50'", "E2°20'", "N48°50'", 0},
        {"abc", "def", "abc", "def", -1},
        {"", "", "", "", -1},
        {"E2°20'", "", "E2°20'", "", -1},
        // The same position written differently.
        {"E2°20'", "N48°50'", "E2°20'0''", "n48°50'0\"", 0},
        {"E2°20'", "N48°50'", "+2°20'", "+48°50'", 0},
        // Unreadable: -1, "unknown", never "near".
        {"E2°20'", "X48°50'", "E2°20'", "N48°51'", -1},
        {"E2°20'", "N48°50'", "E2°20'", "48.85", -1},
        {"", "N48°50'", "E2°20'", "N48°51'", -1},
        {"E2°20'", "N48°50'", "Eab°20'", "N48°51'", -1},
        {"E2°20'", "N48°50'", "E2°20'", "N48°nan'", -1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(fun_Get_Distance_WGS84(QString::fromUtf8(r.lon1), QString::fromUtf8(r.lat1),
                                         QString::fromUtf8(r.lon2), QString::fromUtf8(r.lat2)),
                  r.km)
            << r.lon2 << " " << r.lat2;
}

TEST(Distance, NearbyPointsGiveZeroNotNaN)
{
    ScopedDecimalSeparator point(QLatin1Char('.'));
    // 0.001'' apart (3 cm): the cosine of the angle comes out as 1.0000000000000002.
    const double d =
        fun_Get_Distance_WGS84(QString::fromUtf8("E2°20'0.03''"), QString::fromUtf8("N48°51'12.14''"),
                               QString::fromUtf8("E2°20'0.031''"), QString::fromUtf8("N48°51'12.14''"));
    EXPECT_FALSE(std::isnan(d));
    EXPECT_GE(d, 0);
    EXPECT_LT(d, 0.001);
    // Antipodes: the cosine may go below -1.
    const double a = fun_Get_Distance_WGS84(QString::fromUtf8("E0°"), QString::fromUtf8("N0°"),
                                            QString::fromUtf8("E180°"), QString::fromUtf8("N0°"));
    EXPECT_NEAR(a, 10800 * 1.852, 1e-6);
}
