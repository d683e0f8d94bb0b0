// The MGRS decoder's row placement: the row letter is read in the current lettering only (odd
// zones "A" at the equator, even zones "F"), counted from the UTM northing of the band's edge on
// the central meridian. Reading the older lettering first, and placing the band edges at 1.853 km
// to the minute, put references about 1000 km (or a whole 2000 km row cycle) away: band X above
// about 81°N, points just north of 64° and 72° and just south of 64°S and 72°S.

#include "coords/Conversion.h"
#include "coords/Mgrs.h"
#include "coords/Ntf.h"
#include "coords/Utm.h"
#include "tests/coords/CoordsTestSupport.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using coords_test::degreesOfText;
using namespace coords;

namespace {

struct Point
{
    double latitude, longitude; // degrees
};

// The UTM position and MGRS reference of a point, as the dispatcher builds them.
std::optional<UtmReference> build(const Point& p)
{
    return utmWithMgrs(HemisphereDms{p.longitude < 0 ? u'W' : u'E', splitDegrees(std::abs(p.longitude))},
                       HemisphereDms{p.latitude < 0 ? u'S' : u'N', splitDegrees(std::abs(p.latitude))});
}

// Signed distance from the equator, in metres, of a northing as the builder writes it (southern
// points carry the false northing) ...
double builtDistance(double northing, double latitude) { return latitude < 0 ? northing - 1e7 : northing; }
// ... and as the decoder gives it (southern points: the usual value with a minus sign).
double decodedDistance(double northing) { return northing < 0 ? -northing - 1e7 : northing; }

// Latitudes across a band: just past its edge nearest the equator, inside, just short of its far edge.
std::vector<double> bandLatitudes(double edge, double end)
{
    const double s = edge < 0 || end < 0 ? -1 : 1;
    const double a = std::abs(edge), b = std::abs(end);
    return {s * (a + 0.0001), s * (a + 0.01), s * (a + 0.05),
            s * (a + b) / 2,  s * (b - 0.01), s * (b - 0.0001)};
}

} // namespace

// Every band C to X, both hemispheres, odd and even zones, from the central meridian out to the
// zone's edges: the reference built for a point decodes to the same zone and the same whole
// metres, and back to geographic coordinates within the square.
TEST(MgrsOlderLetteringAndBandEdges, BuiltReferencesDecodeIntoTheirOwnSquareInEveryBand)
{
    const QString north = QStringLiteral("NPQRSTUVWX");
    const QString south = QStringLiteral("MLKJHGFEDC");
    std::vector<std::pair<double, QChar>> latitudes{{0.0, u'M'}}; // the equator takes the southern list
    for (int k = 0; k < 10; ++k) {
        const double edge = 8.0 * k;
        const double end = k == 9 ? 84 : edge + 8; // X runs from 72° to 84°
        for (double l : bandLatitudes(edge, end))
            latitudes.emplace_back(l, north.at(k));
        for (double l : bandLatitudes(-edge, -(edge + 8)))
            latitudes.emplace_back(l, south.at(k));
    }
    // Points of the report: just north of 64° and 72°, band X up to 84°N.
    for (double l : {64.001, 64.02, 72.001, 72.02, 80.5, 81.2, 82.7, 83.5, 83.95})
        latitudes.emplace_back(l, l < 72 ? u'W' : u'X');
    for (double l : {-64.001, -64.02, -72.001, -72.02})
        latitudes.emplace_back(l, l > -72 ? u'D' : u'C');

    int checked = 0;
    for (int zone : {1, 2, 29, 30, 31, 32, 33, 59, 60}) {
        const double meridian = 6.0 * zone - 183;
        for (double offset : {-2.99, -1.5, 0.0, 0.7, 2.99}) {
            for (const auto& [latitude, band] : latitudes) {
                const Point p{latitude, meridian + offset};
                const auto u = build(p);
                ASSERT_TRUE(u) << p.latitude << " " << p.longitude;
                ASSERT_EQ(u->utm.zone, zone) << p.longitude;
                const QString ref = u->mgrs;
                ASSERT_EQ(ref.at(2), band) << ref << " at " << p.latitude;

                const auto d = sub_Decode_MGRS(ref);
                ASSERT_TRUE(d) << ref;
                EXPECT_EQ(d->zone, zone) << ref;
                EXPECT_EQ(d->easting, u->utm.easting) << ref;
                EXPECT_EQ(decodedDistance(d->northing), builtDistance(u->utm.northing, p.latitude))
                    << ref << " at " << p.latitude << " " << p.longitude;

                const MgrsToGeoResult g = sub_MGRS_To_Geo(ref);
                ASSERT_EQ(g.error, 0) << ref;
                const double lat = *degreesOfText(g.latitude);
                const double lon = *degreesOfText(g.longitude);
                // The corner lies within 1.5 m of the point.
                EXPECT_NEAR(lat, p.latitude, 2e-5) << ref << " " << g.latitude;
                EXPECT_NEAR(lon, p.longitude, 2e-5 / std::cos(p.latitude * M_PI / 180))
                    << ref << " " << g.longitude;
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 9 * 5 * (1 + 20 * 6 + 13));
}

// References computed by GeoConvert with the zone forced (no Norway/Svalbard exceptions); the
// decoder gives the square's corner, GeoConvert its centre, half a metre further north-east.
TEST(MgrsOlderLetteringAndBandEdges, ReferencesNearTheBandEdgesAgainstGeoConvert)
{
    struct Row
    {
        Point p;
        int zone;
        const char* mgrs;         // echo "LAT LON" | GeoConvert -m -z ZONE -p 0
        double easting, northing; // echo MGRS | GeoConvert -u -p 1   (the centre)
        bool south;
    };
    const Row rows[] = {
        {{64.0005, 3.0}, 31, "31WEL0000097069", 500000.5, 7097069.5, false},
        {{64.0005, 5.9}, 31, "31WFM4180500296", 641805.5, 7100296.5, false},
        {{72.0005, 0.1}, 31, "31XDV0001491395", 400014.5, 7991395.5, false},
        {{72.0005, 21.0}, 34, "34XEE0000088988", 500000.5, 7988988.5, false},
        {{80.0005, -0.5}, 30, "30XWP4844782682", 548447.5, 8882682.5, false},
        {{81.5, 15.0}, 33, "33XWL0000049015", 500000.5, 9049015.5, false},
        {{83.99, -170.0}, 2, "02XNU1168827078", 511688.5, 9327078.5, false},
        {{56.0005, 8.0}, 32, "32VMH3763406586", 437634.5, 6206586.5, false},
        {{-0.0005, 9.0}, 32, "32MNE0000099944", 500000.5, 9999944.5, true},
        {{-8.0005, -36.0}, 24, "24LZS3074314440", 830743.5, 9114440.5, true},
        {{-64.0005, -59.5}, 21, "21DUK7774500532", 377745.5, 2900532.5, true},
        {{-72.0005, 100.0}, 47, "47CNA3448810725", 534488.5, 2010725.5, true},
        {{-79.99, 3.0}, 31, "31CEM0000019530", 500000.5, 1119530.5, true},
    };
    for (const Row& r : rows) {
        const auto d = sub_Decode_MGRS(QString::fromLatin1(r.mgrs));
        ASSERT_TRUE(d) << r.mgrs;
        EXPECT_EQ(d->zone, r.zone) << r.mgrs;
        EXPECT_EQ(d->easting, r.easting - 0.5) << r.mgrs;
        EXPECT_EQ(d->northing, r.south ? -(r.northing - 0.5) : r.northing - 0.5) << r.mgrs;

        // Our own builder gives the same square, the digits within a metre (GeoConvert cuts the
        // northing, the builder rounds it).
        const auto u = build(r.p);
        ASSERT_TRUE(u) << r.mgrs;
        const QString expected = QString::fromLatin1(r.mgrs);
        const QString zone = r.zone < 10 ? QString::number(r.zone) + u' ' : expected.left(2);
        EXPECT_EQ(u->mgrs.left(5), zone + expected.mid(2, 3)) << u->mgrs;
        EXPECT_LE(std::abs(u->mgrs.mid(5, 5).toInt() - expected.mid(5, 5).toInt()), 1) << u->mgrs;
        EXPECT_LE(std::abs(u->mgrs.mid(10, 5).toInt() - expected.mid(10, 5).toInt()), 1) << u->mgrs;
    }
}

// Shorter references place their square from the same rows: the corner of a 1 km, 100 m or
// 100 km square just past a band edge.
TEST(MgrsOlderLetteringAndBandEdges, ShortReferencesNearTheBandEdges)
{
    struct Row
    {
        const char* text;
        int zone;
        double easting, northing; // the corner; echo REF | GeoConvert -u -p 1 gives the centre
    };
    const Row rows[] = {
        {"31WEL0097", 31, 500000, 7097000},      // 31n 500500.0 7097500.0
        {"31XDV000913", 31, 400000, 7991300},    // 31n 400050.0 7991350.0
        {"02XNU", 2, 500000, 9300000},           // 02n 550000.0 9350000.0
        {"21DUK7700", 21, 377000, -2900000},     // 21s 377500.0 2900500.0
        {"47cna34481072", 47, 534480, -2010720}, // 47s 534485.0 2010725.0
    };
    for (const Row& r : rows) {
        const auto d = sub_Decode_MGRS(QString::fromLatin1(r.text));
        ASSERT_TRUE(d) << r.text;
        EXPECT_EQ(d->zone, r.zone) << r.text;
        EXPECT_EQ(d->easting, r.easting) << r.text;
        EXPECT_EQ(d->northing, r.northing) << r.text;
    }
}
