#include "coords/Conversion.h"
#include "coords/Mgrs.h"
#include "coords/NumberText.h"
#include "coords/Utm.h"
#include "tests/coords/CoordsTestSupport.h"
#include "tests/support/QtPrinters.h"

#include "tests/coords/SeparatorTest.h"

#include <gtest/gtest.h>

#include <limits>

using namespace coords;
using coords_test::degreesOfText;

namespace {

struct PointUtm
{
    const char* name;
    const char *lon, *lat; // WGS84 texts
    double latDeg, lonDeg; // the same in degrees
    int zone;
    double easting, northing; // GeoConvert, to 0.1 m
    const char* mgrs;         // GeoConvert, to 1 m (digits truncated)
};

// echo "LAT LON" | GeoConvert -u -z ZONE -p 1      (zone forced: no Norway/Svalbard exceptions)
// echo "LAT LON" | GeoConvert -m -z ZONE -p 0
const PointUtm POINTS[] = {
    {"Paris", "E2°20'55.8096''", "N48°51'12.1392''", 48.853372, 2.348836, 31, 452232.7, 5411360.5,
     "31UDQ5223211360"},
    {"Brest", "W4°29'10.0176''", "N48°23'25.3104''", 48.390364, -4.486116, 30, 389982.8, 5360755.9,
     "30UUU8998260755"},
    {"Strasbourg", "E7°45'7.6356''", "N48°34'24.2832''", 48.573412, 7.752121, 32, 407951.0, 5380787.4,
     "32UMU0795080787"},
    {"Lille", "E3°3'26.3484''", "N50°37'44.9724''", 50.629159, 3.057319, 31, 504054.0, 5608588.9,
     "31UES0405408588"},
    {"Perpignan", "E2°53'41.2116''", "N42°41'19.4460''", 42.688735, 2.894781, 31, 491380.6, 4726255.7,
     "31TDH9138026255"},
    {"Ajaccio", "E8°44'12.8472''", "N41°55'9.0876''", 41.919191, 8.736902, 32, 478183.3, 4640837.6,
     "32TMM7818340837"},
    {"Nantes", "W1°33'12.9708''", "N47°13'6.3048''", 47.218418, -1.553603, 30, 609513.4, 5230451.2,
     "30TXT0951330451"},
    {"Lisbonne", "W9°8'21.6132''", "N38°43'20.1072''", 38.722252, -9.139337, 29, 487887.5, 4285964.5,
     "29SMC8788785964"},
    {"Hilo", "W155°5'6.0000''", "N19°42'25.5384''", 19.707094, -155.085, 5, 281460.0, 2180410.1,
     "05QKB8146080410"},
    {"Svalbard", "E15°38'48.5988''", "N78°13'23.4192''", 78.223172, 15.646833, 33, 514737.4, 8683357.3,
     "33XWG1473783357"},
};

// Same square, and digits within one metre of the reference (the northing is rounded here,
// truncated by GeoConvert).
void sameSquare(const QString& mgrs, const char* expected, int maxGap = 1)
{
    const QString a = QString::fromUtf8(expected);
    const QString zone = a.left(2).toInt() < 10 ? QString::number(a.left(2).toInt()) + ' ' : a.left(2);
    EXPECT_EQ(mgrs.left(2), zone) << mgrs;
    EXPECT_EQ(mgrs.mid(2, 3), a.mid(2, 3)) << mgrs;
    EXPECT_LE(std::abs(mgrs.mid(5, 5).toInt() - a.mid(5, 5).toInt()), maxGap) << mgrs;
    EXPECT_LE(std::abs(mgrs.mid(10, 5).toInt() - a.mid(10, 5).toInt()), maxGap) << mgrs;
}

class UtmBySeparator : public WithSeparator
{
};

} // namespace

TEST_P(UtmBySeparator, ForwardAgainstGeoConvert)
{
    for (const PointUtm& p : POINTS) {
        QString lon = QString::fromUtf8(p.lon);
        QString lat = QString::fromUtf8(p.lat);
        lon.replace(QLatin1Char('.'), QLatin1Char(GetParam()));
        const auto u = sub_Geo_To_UTM(lon, lat);
        ASSERT_TRUE(u) << p.name;
        EXPECT_EQ(u->zone, p.zone) << p.name;
        EXPECT_NEAR(u->easting, p.easting, 1) << p.name;
        EXPECT_EQ(u->easting, std::trunc(u->easting)) << p.name;
        EXPECT_NEAR(u->northing, p.northing, 1) << p.name;
        // The reference built from that position.
        const auto r = utmWithMgrs(lon, lat);
        ASSERT_TRUE(r) << p.name;
        EXPECT_EQ(r->utm.northing, u->northing) << p.name;
        EXPECT_EQ(r->mgrs.size(), 20) << p.name;
        EXPECT_TRUE(r->mgrs.endsWith(QStringLiteral("     "))) << p.name;
        sameSquare(r->mgrs, p.mgrs);
    }
}

TEST_P(UtmBySeparator, InverseAgainstGeoConvert)
{
    for (const PointUtm& p : POINTS) {
        const auto g = sub_UTM_To_Geo(p.zone, p.easting, p.northing, "WGS84");
        ASSERT_TRUE(g) << p.name;
        EXPECT_NEAR(*degreesOfText(g->longitude), p.lonDeg, 1e-5) << p.name << " " << g->longitude;
        EXPECT_NEAR(*degreesOfText(g->latitude), p.latDeg, 1e-5) << p.name << " " << g->latitude;
        // The UTM text form: a blank before the seconds, "." whatever the regional separator.
        EXPECT_TRUE(g->latitude.contains(QStringLiteral("' "))) << g->latitude;
        EXPECT_TRUE(g->latitude.endsWith('"')) << g->latitude;
    }
}

INSTANTIATE_TEST_SUITE_P(Separators, UtmBySeparator, ::testing::Values('.', ','));

TEST(Utm, InverseOnEd50)
{
    // echo "-47768 5411360" | TransverseMercatorProj -e 6378388 1/297 -k 0.9996 -l 3 -r -p 9
    //   -> 48.85240451789063 2.34886978122646
    const auto g = sub_UTM_To_Geo(31, 452232, 5411360, "ED50");
    ASSERT_TRUE(g);
    EXPECT_NEAR(*degreesOfText(g->latitude), 48.85240451789063, 1e-6);
    EXPECT_NEAR(*degreesOfText(g->longitude), 2.34886978122646, 1e-6);
    EXPECT_FALSE(sub_UTM_To_Geo(31, 452232, 5411360, "NTF").has_value());
    EXPECT_FALSE(sub_UTM_To_Geo(31, 452232, 5411360, "").has_value());
}

TEST(Utm, ZoneFromTheWholeDegreesOfTheLongitude)
{
    struct Row
    {
        const char* lon;
        int zone;
    };
    const Row rows[] = {
        {"E2°20'", 31},   {"W5°59'", 30},  {"W6°", 29},    {"W6°30'", 29}, {"E180°", 1},
        {"W180°", 1},     {"E180°30'", 1}, {"e180°", 1},   {"E0°", 31},    {"W0°30'", 30},
        {"E179°59'", 60}, {"W179°", 1},    {"e5°59'", 31}, {"E6°", 32},
    };
    for (const Row& r : rows) {
        const auto u = sub_Geo_To_UTM(QString::fromUtf8(r.lon), QString::fromUtf8("N48°50'"));
        ASSERT_TRUE(u) << r.lon;
        EXPECT_EQ(u->zone, r.zone) << r.lon;
    }
    // 180°E is 3° east of zone 1's central meridian:
    // echo "48.833333 180" | GeoConvert -u -z 1 -p 1 -> 01n 279854.6 5413269.0
    const auto e180 = sub_Geo_To_UTM(QString::fromUtf8("E180°"), QString::fromUtf8("N48°50'"));
    ASSERT_TRUE(e180);
    EXPECT_NEAR(e180->easting, 279854.6, 1);
    EXPECT_NEAR(e180->northing, 5413269.0, 1);
    // E2°20' N48°50' lies 0°40' west of the central meridian 3°: easting under 500 km.
    EXPECT_LT(sub_Geo_To_UTM(QString::fromUtf8("E2°20'"), QString::fromUtf8("N48°50'"))->easting, 500000);
}

TEST(Utm, SouthernNorthingsAndUnreadableTexts)
{
    // echo "-33.92487 18.424055" | GeoConvert -u -z 34 -p 1 -> 34s 261877.4 6243185.6
    const QString lon = QString::fromUtf8("E18°25'26.5980''");
    const QString lat = QString::fromUtf8("S33°55'29.5320''");
    const auto s = sub_Geo_To_UTM(lon, lat);
    ASSERT_TRUE(s);
    EXPECT_NEAR(s->northing, 6243185.6, 1);
    const auto r = utmWithMgrs(lon, lat);
    ASSERT_TRUE(r);
    sameSquare(r->mgrs, "34HBH6187743185");
    // Lower-case letters keep their sign.
    const auto m =
        sub_Geo_To_UTM(QString::fromUtf8("e18°25'26.5980''"), QString::fromUtf8("s33°55'29.5320''"));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->northing, s->northing);
    EXPECT_EQ(m->easting, s->easting);
    for (const char* lon : {"", "18°25'", "Ex°", "E181°"})
        EXPECT_FALSE(sub_Geo_To_UTM(QString::fromUtf8(lon), QString::fromUtf8("N48°")).has_value()) << lon;
    EXPECT_FALSE(sub_Geo_To_UTM(QString::fromUtf8("E2°"), QString::fromUtf8("48.5")).has_value());
}

// The forward projection gives the UTM position alone; the MGRS reference built from it also
// needs the latitude in whole degrees, for its band letter.
TEST(Utm, ForwardGivesThePositionWhereNoReferenceCanBeBuilt)
{
    const QString lon = QString::fromUtf8("E2°20'");
    const QString lat = QString::fromUtf8("N48.5°30'"); // a decimal part followed by minutes
    EXPECT_TRUE(sub_Geo_To_UTM(lon, lat).has_value());
    EXPECT_FALSE(utmWithMgrs(lon, lat).has_value());
}

TEST(Utm, WestOfGreenwichInZone31KeepsItsLetter)
{
    // echo "48 -0.5" | GeoConvert -u -z 31 -p 1 -> 31n 238932.6 5322229.5
    const auto g = sub_UTM_To_Geo(31, 238932.6, 5322229.5, "WGS84");
    ASSERT_TRUE(g);
    EXPECT_TRUE(g->longitude.startsWith('W')) << g->longitude;
    EXPECT_NEAR(*degreesOfText(g->longitude), -0.5, 1e-5);
    // And east of it in a western zone.
    // echo "48 0.5" | GeoConvert -u -z 30 -p 1 -> 30n 761067.4 5322229.5
    const auto e = sub_UTM_To_Geo(30, 761067.4, 5322229.5, "WGS84");
    ASSERT_TRUE(e);
    EXPECT_TRUE(e->longitude.startsWith('E')) << e->longitude;
}

TEST(Utm, InverseRefusesWhatItCannotPlaceAndStops)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Row
    {
        double zone, easting, northing;
    };
    const Row rows[] = {
        {31, nan, 5411360},    {31, 452232, nan},       {nan, 452232, 5411360}, {0, 452232, 5411360},
        {61, 452232, 5411360}, {31.5, 452232, 5411360}, {31, 452232, 1e300},    {31, 1e300, 5411360},
    };
    for (const Row& r : rows)
        EXPECT_FALSE(sub_UTM_To_Geo(r.zone, r.easting, r.northing, "WGS84").has_value())
            << r.zone << " " << r.easting << " " << r.northing;
}

TEST(Utm, TextForm)
{
    struct Row
    {
        double v;
        bool latitude;
        const char* text;
    };
    const Row rows[] = {
        {48.5, true, "N48°30' 0\""},
        {-0.5, false, "W0°30' 0\""},
        {2.09375, false, "E2° 5' 37.5\""},
        {44.99999999, true, "N45°00' 0\""},
        {-44.99999999, true, "S45°00' 0\""},
        {0, false, "E0°00' 0\""},
        {12.25, true, "N12°15' 0\""},
        {48.875, true, "N48°52' 30\""},
        {-48.875, false, "W48°52' 30\""},
        // Seconds that would be written as 60 go into the minutes, 60 minutes into the degrees.
        {2.2999999999999, false, "E2°18' 0\""},
        {-47.99999999999, true, "S48°00' 0\""},
    };
    for (const Row& r : rows)
        EXPECT_EQ(utmText(r.v, r.latitude), QString::fromUtf8(r.text)) << r.v;
}

TEST(Mgrs, BuildingTheReference)
{
    struct Row
    {
        double lat, easting, northing;
        int zone;
        const char* mgrs;
    };
    const Row rows[] = {
        {48.9, 512345, 5412345, 31, "31UEQ1234512345     "},
        {48.9, 512345, 5412345, 32, "32UNV1234512345     "}, // even zones: rows five letters later
        {48.9, 500000, 5400000, 31, "31UEQ0000000000     "},
        {82, 512345, 9112345, 33, "33XWM1234512345     "}, // 80 to 84: X, not Y
        {85, 512345, 9412345, 33, "33YWQ1234512345     "},
        {0, 500000, 0, 31, "31MEA0000000000     "}, // the equator takes the southern list
        {19.7, 281460, 2180410, 5, "5 QKB8146080410     "},
        {48.9, 512345, 5412345, 61, "1 UEQ1234512345     "},
        // Letters that cannot be placed stay blank.
        {88, 512345, 9712345, 33, "33 WT1234512345     "},
        {-80, 512345, 1112345, 33, "33 WM1234512345     "},
        {48.9, 99999, 5412345, 31, "31U Q9999912345     "},
        {48.9, 912345, 5412345, 31, "31U Q1234512345     "},
    };
    for (const Row& r : rows) {
        const auto m = sub_UTM_To_MGRS(r.lat, r.easting, r.northing, r.zone);
        ASSERT_TRUE(m) << r.mgrs;
        EXPECT_EQ(*m, QString::fromUtf8(r.mgrs));
    }
    EXPECT_FALSE(sub_UTM_To_MGRS(48.9, -1, 5412345, 31).has_value());
    EXPECT_FALSE(sub_UTM_To_MGRS(48.9, 512345, 5412345, 0).has_value());
    EXPECT_FALSE(sub_UTM_To_MGRS(48.9, 512345, std::nan(""), 31).has_value());
}

TEST(Mgrs, DecodingGivesTheSquaresCorner)
{
    // echo REF | GeoConvert -u -p 1  gives the centre of the square; the corner is half a square
    // (0.5 m for 10 digits, 5 m for 8, 50 m for 6 ...) south-west of it.
    struct Row
    {
        const char* text;
        int zone;
        double easting, northing;
    };
    const Row rows[] = {
        {"31UEQ1234512345", 31, 512345, 5412345},
        {"31ueq1234512345", 31, 512345, 5412345},
        {"31UDQ5223211360", 31, 452232, 5411360}, // 31n 452232.5 5411360.5
        {"30UUU8998260755", 30, 389982, 5360755}, // 30n 389982.5 5360755.5
        {"29SMC8788785964", 29, 487887, 4285964}, // 29n 487887.5 4285964.5
        {"32TMM7818340837", 32, 478183, 4640837}, // 32n 478183.5 4640837.5
        {"05QKB8146080410", 5, 281460, 2180410},  // 05n 281460.5 2180410.5
        {"5QKB8146080410", 5, 281460, 2180410},
        {"5 QKB8146080410     ", 5, 281460, 2180410}, // as built
        {"33XWG1473783357", 33, 514737, 8683357},     // 33n 514737.5 8683357.5
        {"31UDQ", 31, 400000, 5400000},               // 31n 450000.0 5450000.0
        {"31UEQ123456", 31, 512300, 5445600},
        {"31UEQ12345678", 31, 512340, 5456780},
        {"31TEP1234512345", 31, 512345, 5312345}, // the last row that band T reaches
        {"  31UEQ1234512345     ", 31, 512345, 5412345},
        // South of the equator the usual northing carries a minus sign.
        {"34HBH6187743185", 34, 261877, -6243185}, // 34s 261877.5 6243185.5
        {"17MQV8185780012", 17, 781857, -9980012}, // 17s 781857.5 9980012.5
    };
    for (const Row& r : rows) {
        const auto p = sub_Decode_MGRS(QString::fromUtf8(r.text));
        ASSERT_TRUE(p) << r.text;
        EXPECT_EQ(p->zone, r.zone) << r.text;
        EXPECT_EQ(p->easting, r.easting) << r.text;
        EXPECT_EQ(p->northing, r.northing) << r.text;
    }
}

TEST(Mgrs, DecoderRefusesWhatItCannotPlace)
{
    for (const char* text : {
             "",
             "31UE",
             "31U", // shorter than 5
             "31UJQ1234512345",
             "32UAQ1234512345",
             "33UHQ1234512345", // column outside the zone's set
             "31YEQ1234512345",
             "31AEQ1234512345",
             "31BEQ1234512345", // band outside C to X
             "31ZEQ1234512345",
             "31IEQ1234512345",
             "31OEQ1234512345",
             "31UEW1234512345",
             "31UEZ1234512345",
             "31UEI1234512345", // row letter nowhere
             "31UEQ123451234567",
             "31UEQ12345123456", // more than 10 digits
             "31UEQ12345",
             "31UEQ1",
             "31UEQ123", // odd
             "31UEQ1234a12345",
             "31UEQ12a4",
             "31UEQ12 45", // not digits
             "0UEQ1234512345",
             "61UEQ1234512345",
             "131UEQ12345", // zone
             "U31EQ1234512345",
             "31U3Q1234512345",
             "31-EQ12",
             // A row that the band does not reach: band N ends at 8°N, T at 48°N, M at 8°S.
             "31NEQ1234512345",
             "31TEQ1234512345",
             "34MBH6187743185",
         }) {
        EXPECT_FALSE(sub_Decode_MGRS(QString::fromUtf8(text)).has_value()) << text;
        const MgrsToGeoResult g = sub_MGRS_To_Geo(QString::fromUtf8(text));
        EXPECT_EQ(g.error, -1) << text;
        EXPECT_TRUE(g.longitude.isEmpty()) << text;
    }
}

TEST(Mgrs, SouthernPointsDecodeSouth)
{
    // echo 34HBH6187743185 | GeoConvert -p 6 -> -33.924871 18.424057 (the square's centre)
    const MgrsToGeoResult g = sub_MGRS_To_Geo("34HBH6187743185");
    ASSERT_EQ(g.error, 0);
    EXPECT_TRUE(g.latitude.startsWith('S')) << g.latitude;
    EXPECT_NEAR(*degreesOfText(g.latitude), -33.924871, 2e-5);
    EXPECT_NEAR(*degreesOfText(g.longitude), 18.424057, 2e-5);
    // echo 17MQV8185780012 | GeoConvert -p 6 -> -0.180655 -78.467836
    const MgrsToGeoResult q = sub_MGRS_To_Geo("17MQV8185780012");
    ASSERT_EQ(q.error, 0);
    EXPECT_NEAR(*degreesOfText(q.latitude), -0.180655, 2e-5);
    EXPECT_NEAR(*degreesOfText(q.longitude), -78.467836, 2e-5);
}

TEST(Mgrs, BuildThenDecodeEveryKnownPoint)
{
    for (const PointUtm& p : POINTS) {
        const auto u = utmWithMgrs(QString::fromUtf8(p.lon), QString::fromUtf8(p.lat));
        ASSERT_TRUE(u);
        const auto d = sub_Decode_MGRS(u->mgrs);
        ASSERT_TRUE(d) << u->mgrs;
        EXPECT_EQ(d->zone, u->utm.zone) << p.name;
        EXPECT_EQ(d->easting, u->utm.easting) << p.name;
        EXPECT_EQ(d->northing, u->utm.northing) << p.name;
    }
}
