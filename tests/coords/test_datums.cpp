#include "coords/Datums.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace coords;

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double INF = std::numeric_limits<double>::infinity();

} // namespace

TEST(Datums, CodesShortAndLong)
{
    struct Row
    {
        const char* code;
        std::optional<Datum> datum;
    };
    const Row rows[] = {
        {"G", Datum::NTF},   {"NTF", Datum::NTF},      {"E", Datum::ED50},     {"ED50", Datum::ED50},
        {"W", Datum::WGS84}, {"WGS84", Datum::WGS84},  {"ntf", std::nullopt},  {"wgs84", std::nullopt},
        {"", std::nullopt},  {"WGS 84", std::nullopt}, {"NTF ", std::nullopt},
    };
    for (const Row& r : rows)
        EXPECT_EQ(datumFromCode(QString::fromUtf8(r.code)), r.datum) << r.code;
}

TEST(Datums, GrandeNormale)
{
    // At the equator N = a; at the pole N = a / sqrt(1 - e^2).
    EXPECT_DOUBLE_EQ(*fun_Grande_Normale(0, "NTF"), 6378249.2);
    EXPECT_DOUBLE_EQ(*fun_Grande_Normale(0, "E"), 6378388.0);
    EXPECT_DOUBLE_EQ(*fun_Grande_Normale(std::atan(1.0) * 2, "WGS84"),
                     6378137.0 / std::sqrt(1 - 0.08181919106 * 0.08181919106));
    EXPECT_FALSE(fun_Grande_Normale(0.5, "X").has_value());
}

TEST(Datums, GeoToCartShortAndLongCodesAgree)
{
    const std::pair<const char*, const char*> pairs[] = {{"G", "NTF"}, {"E", "ED50"}, {"W", "WGS84"}};
    for (const auto& [shortCode, longCode] : pairs) {
        const auto a = sub_Geo_To_Cart(2.5, 50.5, shortCode);
        const auto b = sub_Geo_To_Cart(2.5, 50.5, longCode);
        ASSERT_TRUE(a && b);
        EXPECT_EQ(a->X, b->X);
        EXPECT_EQ(a->Y, b->Y);
        EXPECT_EQ(a->Z, b->Z);
    }
    // Grads for NTF: 100 grads is 90 degrees.
    const auto ntf = sub_Geo_To_Cart(100, 0, "NTF");
    ASSERT_TRUE(ntf);
    EXPECT_NEAR(ntf->X, 0, 1e-6);
    EXPECT_NEAR(ntf->Y, 6378249.2, 1e-6);
    EXPECT_FALSE(sub_Geo_To_Cart(1, 1, "ETRS89").has_value());
    EXPECT_FALSE(sub_Geo_To_Cart(NaN, 1, "WGS84").has_value());
    EXPECT_FALSE(sub_Geo_To_Cart(1, INF, "NTF").has_value());
}

TEST(Datums, TranslationChosenByTargetAndSource)
{
    // A point on NTF; each change leaves the translated geocentric coordinates behind.
    const auto xyz = sub_Geo_To_Cart(2.6, 54.3, "NTF");
    ASSERT_TRUE(xyz);
    struct Row
    {
        const char* source;
        const char* target;
        double dx, dy, dz;
    };
    const Row rows[] = {
        {"NTF", "WGS84", -168, -60, 320},
        {"G", "W", -168, -60, 320},
        {"NTF", "ED50", -84, 37, 437},
        {"G", "E", -84, 37, 437},
        // The WGS84 and ED50 targets do not look at the source.
        {"ED50", "WGS84", -168, -60, 320},
        {"WGS84", "ED50", -84, 37, 437},
        {"WGS84", "NTF", 168, 60, -320},
        {"W", "G", 168, 60, -320},
        {"ED50", "NTF", 84, -37, -437},
        {"E", "NTF", 84, -37, -437},
        {"ETRS89", "NTF", 84, -37, -437},
    };
    for (const Row& r : rows) {
        const auto g = sub_Cart_To_Geo(r.source, r.target, *xyz);
        ASSERT_TRUE(g) << r.source << " -> " << r.target;
        EXPECT_DOUBLE_EQ(g->xyz.X, xyz->X + r.dx) << r.source << " -> " << r.target;
        EXPECT_DOUBLE_EQ(g->xyz.Y, xyz->Y + r.dy);
        EXPECT_DOUBLE_EQ(g->xyz.Z, xyz->Z + r.dz);
    }
}

TEST(Datums, RoundTripOnOneDatum)
{
    // Without a datum change (NTF -> NTF takes the ED50 row, so undo it by hand) the geographic
    // coordinates come back: checks the latitude iteration, not the constants.
    struct Row
    {
        double lambda, phi;
    };
    const Row rows[] = {{2.5969213, 54.2816}, {-7.58, 53.77}, {150, 20}, {-250, -30}, {0, 99.9}, {10, -99.5}};
    for (const Row& r : rows) {
        auto xyz = sub_Geo_To_Cart(r.lambda, r.phi, "NTF");
        ASSERT_TRUE(xyz);
        xyz->X -= 84;
        xyz->Y += 37;
        xyz->Z += 437;
        const auto g = sub_Cart_To_Geo("ED50", "NTF", *xyz);
        ASSERT_TRUE(g) << r.lambda << " " << r.phi;
        // Longitudes beyond 100 grads keep their quadrant (atan2), within -200..200.
        const double expected = std::remainder(r.lambda, 400);
        EXPECT_NEAR(g->geo.lambda, expected, 1e-9) << r.lambda;
        EXPECT_NEAR(g->geo.phi, r.phi, 1e-9) << r.phi;
    }
}

TEST(Datums, NtfToWgs84AgainstProj)
{
    // NTF grads 0.0137 54.2816 from Paris are 0.01233 48.85344 degrees:
    // echo "0.01233 48.85344" | cs2cs -f %.10f +proj=longlat +ellps=clrk80ign +pm=paris
    //   +towgs84=-168,-60,320 +to +proj=longlat +datum=WGS84
    //   -> 2.3488361185 48.8533707374
    const auto xyz = sub_Geo_To_Cart(0.0137 + 2.5969213, 54.2816, "NTF");
    ASSERT_TRUE(xyz);
    const auto g = sub_Cart_To_Geo("NTF", "WGS84", *xyz);
    ASSERT_TRUE(g);
    EXPECT_NEAR(g->geo.lambda, 2.3488361185, 1e-8);
    EXPECT_NEAR(g->geo.phi, 48.8533707374, 1e-8);
}

TEST(Datums, UnknownTargetGivesTheGeocentricDirection)
{
    const Geocentric c{1000, 1000, 1414.2135623730951};
    const auto g = sub_Cart_To_Geo("NTF", "XYZ", c);
    ASSERT_TRUE(g);
    EXPECT_NEAR(g->geo.lambda, 45, 1e-12);
    EXPECT_NEAR(g->geo.phi, 45, 1e-12);
    EXPECT_EQ(g->xyz.X, 1000); // no translation
}

TEST(Datums, FaultyInputStopsInsteadOfLooping)
{
    // Not finite, the centre of the Earth (after the translation to WGS84), and a point 42 km
    // from it where the latitude iteration cannot settle.
    const Geocentric rows[] = {{NaN, 0, 0}, {0, INF, 0}, {0, 0, NaN}, {168, 60, -320}, {30168, 60, 29680}};
    for (const Geocentric& c : rows)
        EXPECT_FALSE(sub_Cart_To_Geo("NTF", "WGS84", c).has_value()) << c.X << " " << c.Y << " " << c.Z;
    // The poles are answered, not looped over.
    const auto north = sub_Cart_To_Geo("WGS84", "NTF", Geocentric{-168, -60, 6356752.3 + 320});
    ASSERT_TRUE(north);
    EXPECT_DOUBLE_EQ(north->geo.phi, 100);
}
