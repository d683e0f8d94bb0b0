// The switch of coordinate system of the location grid: with a dispatcher that tells what it was
// given, and with the real one.

#include "coords/NumberText.h"
#include "record/CoordinateSwitch.h"
#include "record/LocationGrid.h"
#include "record/SurveyRecord.h"
#include "tests/record/LocationSamples.h"

#include <gtest/gtest.h>

using namespace record;
using record_samples::rowText;
using record_samples::setPosition;

namespace {

// A dispatcher that refuses a source holding "bad", and otherwise writes into every other type a
// text naming the source, the zone "31", and a Lambert position that changes with each call
// (1000.9 and -1000.9 metres at the first call), so that a row given another row's values shows.
struct FakeDispatcher
{
    QStringList calls; // "type zone: source"

    ConvertFunction function()
    {
        return [this](coords::CoordinateSlots& x, coords::CoordinateSlots& y, coords::CoordinateSlots& z,
                      int type, const QString& zone) {
            const QString source = type == kCoordMgrs
                                       ? z[type].toString()
                                       : x[type].toString() + ',' + y[type].toString() +
                                             (type == kCoordUtm ? ',' + z[type].toString() : QString());
            calls << QStringLiteral("%1 %2: %3").arg(type).arg(zone, source);
            if (source.contains("bad"))
                return coords::ConversionResult{-1, {}};
            for (int k = 0; k < 5; ++k)
                if (k != type) {
                    x[k] = QStringLiteral("x%1(%2)").arg(k).arg(source);
                    y[k] = QStringLiteral("y%1(%2)").arg(k).arg(source);
                }
            if (type != kCoordLambert) {
                x[kCoordLambert] = 1000.9 * calls.size();
                y[kCoordLambert] = -1000.9 * calls.size();
            } else {
                x[kCoordLambert] = x[type].toString().toDouble();
                y[kCoordLambert] = y[type].toString().toDouble();
            }
            if (type != kCoordUtm)
                z[kCoordUtm] = 31;
            if (type != kCoordMgrs)
                z[kCoordMgrs] = QStringLiteral("M(%1)").arg(source);
            return coords::ConversionResult{};
        };
    }
};

// Cells 5 to 8 and 13, 14 of a row: zone, longitude, latitude, square, Lambert X and Y.
QString position(const grid::Grid& g, int row)
{
    return rowText(g, row, LocUtmZone, LocMgrs) + " / " + rowText(g, row, LocLambertX, LocLambertY);
}

} // namespace

TEST(CoordinateSwitch, ColumnsShownForEachSystem)
{
    const struct
    {
        int type;
        PositionColumns shown;
    } cases[] = {
        {kCoordNtfGrads, {false, true, true, false}}, {kCoordLambert, {false, true, true, false}},
        {kCoordWgs84, {false, true, true, false}},    {kCoordUtm, {true, true, true, false}},
        {kCoordMgrs, {false, false, false, true}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(positionColumnsShown(c.type), c.shown) << c.type;
}

TEST(CoordinateSwitch, EachRowFromItsOwnCellsThroughTheDispatcher)
{
    const QString unchanged = "keep";
    const struct
    {
        const char* what;
        int oldType, newType;
        QString rows[4]; // cells 2 to 8 of rows 1 to 4; three parcels
        QString calls;
        QString after[4]; // position(), or "keep"
    } cases[] = {
        {"Lambert to MGRS: empty, unreadable rows and rows past the count left as they were",
         kCoordLambert,
         kCoordMgrs,
         {"||||800100|2000100|", "||||800200||", "||||bad|2000300|", "||||800400|2000400|"},
         "1 *: 800100,2000100\n1 *: bad,2000300",
         {"|||M(800100,2000100) / 800100|2000100", unchanged, unchanged, unchanged}},
        {"NTF to UTM: the zone written, the Lambert position truncated towards zero",
         kCoordNtfGrads,
         kCoordUtm,
         {"||||1,5|50,2|", "||||||", "||||2|51|", ""},
         "0 *: 1,5,50,2\n0 *: 2,51",
         {"31|x3(1,5,50,2)|y3(1,5,50,2)| / 1000|-1000", unchanged, "31|x3(2,51)|y3(2,51)| / 2001|-2001",
          unchanged}},
        {"UTM to WGS84: a row without its zone left as it was",
         kCoordUtm,
         kCoordWgs84,
         {"|||31|650000|4980000|", "||||650000|4980000|", "", ""},
         "3 WGS84: 650000,4980000,31",
         {"|x2(650000,4980000,31)|y2(650000,4980000,31)| / 1000|-1000", unchanged, unchanged, unchanged}},
        {"MGRS to NTF: the square read, the zone and square emptied",
         kCoordMgrs,
         kCoordNtfGrads,
         {"|||31|||31TFK", "", "", ""},
         "4 WGS84: 31TFK",
         {"|x0(31TFK)|y0(31TFK)| / 1000|-1000", unchanged, unchanged, unchanged}},
        {"the same system: nothing", kCoordWgs84, kCoordWgs84, {"||||a|b|", "", "", ""}, "", {unchanged}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto g = record_samples::locationGrid(4);
        for (int r = 1; r <= 4; ++r) {
            setPosition(*g, r, c.rows[r - 1]);
            g->setCell(r, LocLambertX, "old X");
            g->setCell(r, LocLambertY, "old Y");
        }
        QString before[4];
        for (int r = 1; r <= 4; ++r)
            before[r - 1] = position(*g, r);
        FakeDispatcher fake;
        int converted = switchCoordinateSystem(*g, 3, c.oldType, c.newType, fake.function());
        EXPECT_EQ(fake.calls.join('\n'), c.calls);
        int expected = 0;
        for (int r = 1; r <= 4; ++r) {
            const QString& after = c.after[r - 1];
            const bool kept = after.isEmpty() || after == unchanged;
            EXPECT_EQ(position(*g, r), kept ? before[r - 1] : after) << "row " << r;
            EXPECT_EQ(g->checkState(r, LocValidated), grid::Grid::Checked) << "row " << r;
            expected += kept ? 0 : 1;
        }
        EXPECT_EQ(converted, expected);
    }
}

// Through the real dispatcher: Lambert II étendu to MGRS and back gives the Lambert position again
// within the square's metre; UTM gets zone 31 near Valence; an empty row stays empty.
TEST(CoordinateSwitch, ThroughTheRealDispatcher)
{
    const coords::ScopedDecimalSeparator separator(QLatin1Char(','));
    auto g = record_samples::locationGrid(2);
    setPosition(*g, 1, "26 - Drôme|Valence|||800500,4|2000123,9|");
    EXPECT_EQ(switchCoordinateSystem(*g, 2, kCoordLambert, kCoordMgrs), 1);
    EXPECT_EQ(rowText(*g, 1, LocUtmZone, LocLatitude), "||");
    EXPECT_FALSE(g->cell(1, LocMgrs).isEmpty());
    EXPECT_EQ(rowText(*g, 1, LocLambertX, LocLambertY), "800500|2000123");
    EXPECT_EQ(position(*g, 2), "||| / |");

    EXPECT_EQ(switchCoordinateSystem(*g, 2, kCoordMgrs, kCoordUtm), 1);
    EXPECT_EQ(g->cell(1, LocUtmZone), "31");
    EXPECT_EQ(g->cell(1, LocMgrs), "");

    EXPECT_EQ(switchCoordinateSystem(*g, 2, kCoordUtm, kCoordLambert), 1);
    EXPECT_NEAR(g->cell(1, LocLongitude).replace(',', '.').toDouble(), 800500.4, 1.5);
    EXPECT_NEAR(g->cell(1, LocLatitude).replace(',', '.').toDouble(), 2000123.9, 1.5);
    EXPECT_EQ(rowText(*g, 2, LocDepartment, LocLambertY), QString(LocLambertY - LocDepartment, '|'));
}
