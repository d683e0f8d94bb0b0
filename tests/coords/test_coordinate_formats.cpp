#include "coords/CoordinateFormats.h"
#include "coords/NumberText.h"
#include "tests/coords/CoordsTestSupport.h"
#include "tests/support/QtPrinters.h"

#include "tests/coords/SeparatorTest.h"

#include <gtest/gtest.h>

#include <limits>

using namespace coords;

namespace {

// Texts are written with "." in the rows; "," in expected parts stands for the regional separator.
class FormatsBySeparator : public WithSeparator
{
};

const QString DMS = QStringLiteral("WGS84 DMS");
const QString DD = QStringLiteral("WGS84 DD");

} // namespace

TEST_P(FormatsBySeparator, SplittingOneText)
{
    struct Row
    {
        const char* label;
        const char* text;
        const char* type;
        bool normalise;
        int error;
        const char *h, *d, *m, *s; // "." in numbers is the regional separator
    };
    const Row rows[] = {
        // Degrees-minutes-seconds.
        {"LATITUDE", "N48°51'24''", "WGS84 DMS", false, 0, "N", "48", "51", "24"},
        {"LATITUDE", "n48°51'24''", "WGS84 DMS", false, 0, "N", "48", "51", "24"},
        {"LATITUDE", "+48°51'24''", "WGS84 DMS", false, 0, "N", "48", "51", "24"},
        {"LATITUDE", "-48°51'24''", "WGS84 DMS", false, 0, "S", "48", "51", "24"},
        {"LATITUDE", "N48°51'24\"", "WGS84 DMS", false, 0, "N", "48", "51", "24"},
        {"LATITUDE", "  N48°51'24''  ", "WGS84 DMS", false, 0, "N", "48", "51", "24"},
        {"LONGITUDE", "O2°20'", "WGS84 DMS", false, 0, "W", "2", "20", "0"},
        {"LONGITUDE", "o2°20'", "WGS84 DMS", false, 0, "W", "2", "20", "0"},
        {"LONGITUDE", "+2°20'", "WGS84 DMS", false, 0, "E", "2", "20", "0"},
        {"LONGITUDE", "-2°20'", "WGS84 DMS", false, 0, "W", "2", "20", "0"},
        {"LONGITUDE", "e2°20'5.25''", "ED50 DMS", false, 0, "E", "2", "20", "5.25"},
        {"LONGITUDE", "E2°20'5,25''", "WGS84 DMS", false, 0, "E", "2", "20", "5.25"},
        {"LATITUDE", "N48°30,5'", "WGS84 DMS", false, 0, "N", "48", "30", "30"},
        {"LATITUDE", "N48°30.25'", "WGS84 DMS", false, 0, "N", "48", "30", "15"},
        // Seconds that would be written as 60 go into the minutes, 60 minutes into the degrees.
        {"LATITUDE", "N48°30.9999999999'", "WGS84 DMS", false, 0, "N", "48", "31", "0"},
        {"LATITUDE", "N48°59.9999999999'", "WGS84 DMS", false, 0, "N", "49", "0", "0"},
        {"LATITUDE", "Nab°59.9999999999'", "WGS84 DMS", false, 0, "N", "ab", "60", "0"},
        {"LATITUDE", "N48°51'24", "WGS84 DMS", false, 0, "N", "48", "51", "24"},
        {"LATITUDE", "N48°", "WGS84 DMS", false, 0, "N", "48", "0", "0"},
        // A decimal part that ends the text is read as it stands; one followed by another is
        // left as typed (the check refuses it), never rounded.
        {"LATITUDE", "N48,85°", "WGS84 DMS", false, 0, "N", "48", "51", "0"},
        {"LATITUDE", "N48,85°", "WGS84 DMS", true, 0, "N", "48", "51", "0"},
        {"LONGITUDE", "E2.35°", "WGS84 DMS", true, 0, "E", "2", "21", "0"},
        {"LONGITUDE", "E2.5°'", "WGS84 DMS", true, 0, "E", "2", "30", "0"},
        {"LONGITUDE", "E2°20.5'10''", "WGS84 DMS", true, 0, "E", "2", "20.5", "10"},
        {"LONGITUDE", "E2.5°20'", "WGS84 DMS", false, 0, "E", "2.5", "20", "0"},
        {"LATITUDE", "N48°51''", "WGS84 DMS", false, 0, "N", "48", "0", "51"},
        // A trailing number without marker is minutes; "''" is not a minutes marker.
        {"LATITUDE", "N48°51", "WGS84 DMS", false, 0, "N", "48", "51", "0"},
        {"LATITUDE", "N48°24''", "WGS84 DMS", false, 0, "N", "48", "0", "24"},
        {"LATITUDE", "N48°24\"", "WGS84 DMS", false, 0, "N", "48", "0", "24"},
        // The UTM text form: minutes on two places, seconds after a blank, a double quote.
        {"LATITUDE", "N48°51' 24.123\"", "WGS84 DMS", false, 0, "N", "48", "51", "24.123"},
        {"LONGITUDE", "W2° 5' 3.5\"", "WGS84 DMS", true, 0, "W", "2", "5", "3.5"},
        {"LONGITUDE", "E0°00' 0\"", "WGS84 DMS", true, 0, "E", "0", "0", "0"},
        // Normalisation: minutes and seconds "0" when blank, whole degrees and minutes.
        {"LONGITUDE", "E2°'", "WGS84 DMS", false, 0, "E", "2", "", "0"},
        {"LONGITUDE", "E2°'", "WGS84 DMS", true, 0, "E", "2", "0", "0"},
        {"LONGITUDE", "E2.6°20'", "WGS84 DMS", true, 0, "E", "2.6", "20", "0"},
        {"LONGITUDE", "E02°20.0'", "WGS84 DMS", true, 0, "E", "2", "20", "0"},
        // Refused.
        {"LATITUDE", "48°51'24''", "WGS84 DMS", false, -1, "", "", "", ""},
        {"LATITUDE", "N48.85", "WGS84 DMS", false, -1, "", "", "", ""},
        {"LATITUDE", "X48°51'", "WGS84 DMS", false, -1, "", "", "", ""},
        {"LATITUDE", "", "WGS84 DMS", false, -1, "", "", "", ""},
        {"LATITUDE", "   ", "WGS84 DMS", false, -1, "", "", "", ""},
        {"LATITUDE", "N48'51°", "WGS84 DMS", false, -1, "N", "", "", ""},
        {"LATITUDE", "N48''51°", "WGS84 DMS", false, -1, "N", "", "", ""},
        // Nothing after the seconds marker.
        {"LONGITUDE", "E2°20'15''7", "WGS84 DMS", false, -1, "", "", "", ""},
        {"LONGITUDE", "E2°20'15'''", "WGS84 DMS", false, -1, "", "", "", ""},
        {"LATITUDE", "N48°51'24\"N", "WGS84 DMS", false, -1, "", "", "", ""},
        {"LATITUDE", "N48°24''51'", "WGS84 DMS", false, -1, "N", "", "", ""}, // a misplaced marker
        // Not numbers: read, and left for the validation to name.
        {"LATITUDE", "Nab°cd'ef''", "WGS84 DMS", false, 0, "N", "ab", "cd", "ef"},
        {"LATITUDE", "Nnan°", "WGS84 DMS", true, 0, "N", "nan", "0", "0"},
        // Decimal degrees.
        {"LATITUDE", "48.8566", "WGS84 DD", false, 0, "N", "48", "51", "23.76"},
        {"LONGITUDE", "48.8566", "ED50 DD", false, 0, "E", "48", "51", "23.76"},
        {"LATITUDE", "N48.85", "WGS84 DD", false, 0, "N", "48", "51", "0"},
        {"LATITUDE", "s48.5°", "WGS84 DD", false, 0, "S", "48", "30", "0"},
        {"LONGITUDE", "-1,5", "WGS84 DD", false, 0, "W", "1", "30", "0"},
        {"LONGITUDE", "O1.25", "WGS84 DD", true, 0, "W", "1", "15", "0"},
        {"LONGITUDE", "+0.0001", "WGS84 DD", false, 0, "E", "0", "0", "0.36"},
        {"LONGITUDE", "2.3", "WGS84 DD", false, 0, "E", "2", "18", "0"},
        {"LATITUDE", "47.3", "WGS84 DD", false, 0, "N", "47", "18", "0"},
        {"LATITUDE", "47.9999999999", "WGS84 DD", false, 0, "N", "48", "0", "0"},
        {"LATITUDE", "N48°51'24''", "WGS84 DD", false, -1, "", "", "", ""},
        {"LATITUDE", " 48.5", "WGS84 DD", false, -1, "", "", "", ""},
        {"LATITUDE", "Nnan", "WGS84 DD", false, -1, "", "", "", ""},
        {"LATITUDE", "inf", "WGS84 DD", false, -1, "", "", "", ""},
        {"LATITUDE", "", "WGS84 DD", false, -1, "", "", "", ""},
    };
    const char sep = GetParam();
    for (const Row& r : rows) {
        const CoordinateParts p =
            fun_Verif_Coord_Type(r.label, QString::fromUtf8(r.text), r.normalise, r.type);
        const QString what = QString::fromUtf8(r.text) + " " + r.type;
        EXPECT_EQ(p.error, r.error) << what;
        EXPECT_EQ(p.hemisphere, QString::fromUtf8(r.h)) << what;
        EXPECT_EQ(p.degrees, regional(r.d, sep)) << what;
        EXPECT_EQ(p.minutes, regional(r.m, sep)) << what;
        EXPECT_EQ(p.seconds, regional(r.s, sep)) << what;
    }
}

TEST_P(FormatsBySeparator, RecognisingAPair)
{
    struct Row
    {
        const char *lon, *lat, *zone, *mgrs, *hint;
        const char *categoryBefore, *typeBefore;
        const char *category, *type;
    };
    const Row rows[] = {
        {"512345", "5412345", "31", "", "WGS84", "", "", "UTM", ""},
        {"", "", "", "31UEQ1234512345", "WGS84", "", "", "MGRS", ""},
        {"E2°20'14''", "N48°51'24''", "", "", "WGS84", "", "", "Degrés", "WGS84 DMS"},
        {"E2°20'14''", "N48°51'24''", "", "", "ED50", "", "", "Degrés", "ED50 DMS"},
        {"E2°20'14''", "N48°51'24''", "", "", "NTF", "", "", "Degrés", ""},
        {"2.3488", "48.8534", "", "", "WGS84", "", "", "Degrés", "WGS84 DD"},
        {"-1,5", "N47.2", "", "", "ED50 x", "", "", "Degrés", "ED50 DD"},
        // A DMS longitude with a DD latitude, and the reverse: nothing.
        {"E2°20'14''", "48.8534", "", "", "WGS84", "", "", "", ""},
        {"2.3488", "N48°51'24''", "", "", "WGS84", "", "", "", ""},
        // Neither shape, with a degree sign somewhere: geographic, type untouched.
        {"2°x", "N", "", "", "WGS84", "", "", "Degrés", ""},
        {"abc", "def", "", "", "WGS84", "", "", "", ""},
        // Other combinations set nothing.
        {"2.3488", "", "", "", "WGS84", "", "", "", ""},
        {"2.3488", "48.8534", "", "31UEQ", "WGS84", "", "", "", ""},
        // Done only while the category or the type name is empty.
        {"2.3488", "48.8534", "", "", "WGS84", "UTM", "X", "UTM", "X"},
        {"2.3488", "48.8534", "", "", "WGS84", "Degrés", "", "Degrés", "WGS84 DD"},
    };
    for (const Row& r : rows) {
        QString category = QString::fromUtf8(r.categoryBefore);
        QString type = QString::fromUtf8(r.typeBefore);
        fun_Verif_Format_Coord(category, type, QString::fromUtf8(r.lon), QString::fromUtf8(r.lat),
                               QString::fromUtf8(r.zone), QString::fromUtf8(r.mgrs),
                               QString::fromUtf8(r.hint));
        EXPECT_EQ(category, QString::fromUtf8(r.category)) << r.lon << " " << r.lat;
        EXPECT_EQ(type, QString::fromUtf8(r.type)) << r.lon << " " << r.lat;
    }
}

TEST_P(FormatsBySeparator, PartsToDecimalDegrees)
{
    struct Row
    {
        const char *h, *d, *m, *s;
        std::optional<double> v;
    };
    const Row rows[] = {
        {"W", "2", "3", "0", -2.05},
        {"N", "45", "30", "0", 45.5},
        {"S", "45", "30", "0", -45.5},
        {"E", "2", "20", "14.025", 2.33722916667},
        {"N", "", "", "", 0.0},
        {"w", "2", "3", "0", 2.05}, // only "W" and "S" are negative
        {"N", "48", "51", "24", 48.856666667},
        {"N", "48.5", "0", "0", std::nullopt},
        {"N", "x", "0", "0", std::nullopt},
        {"N", "48", "0", "y", std::nullopt},
        // Parts whose hundredths of a degree overflow a double give no value, and return.
        {"E", "2", "1e307", "0", std::nullopt},
        {"E", "2", "0", "1e308", std::nullopt},
    };
    const char sep = GetParam();
    for (const Row& r : rows) {
        const auto v = sub_Parse_DMS_Text(r.h, regional(r.d, sep), r.m, regional(r.s, sep));
        ASSERT_EQ(v.has_value(), r.v.has_value()) << r.h << r.d << " " << r.m << " " << r.s;
        if (v) {
            EXPECT_NEAR(*v, *r.v, 1e-9) << r.h << r.d << " " << r.m << " " << r.s;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Separators, FormatsBySeparator, ::testing::Values('.', ','));

TEST(Formats, PartsThatAreNotFiniteGiveNoValue)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Row
    {
        double d, m, s;
    };
    const Row rows[] = {{inf, 0, 0}, {-inf, 0, 0}, {nan, 0, 0},   {2, inf, 0},      {2, 0, inf},
                        {2, nan, 0}, {2, 0, nan},  {2, 1e307, 0}, {2, 1e307, 1e307}};
    for (const Row& r : rows)
        EXPECT_FALSE(dmsToDegrees(QChar(u'E'), r.d, r.m, r.s)) << r.d << " " << r.m << " " << r.s;
}
