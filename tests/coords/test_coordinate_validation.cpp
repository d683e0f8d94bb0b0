#include "coords/CoordinateFormats.h"
#include "coords/CoordinateValidation.h"
#include "coords/NumberText.h"
#include "tests/coords/CoordsTestSupport.h"
#include "tests/support/QtPrinters.h"

#include "tests/coords/SeparatorTest.h"

#include <gtest/gtest.h>

using namespace coords;

namespace {

class ValidationBySeparator : public WithSeparator
{
};

} // namespace

TEST_P(ValidationBySeparator, OneRowPerMessage)
{
    struct Row
    {
        const char *lon, *lat, *type;
        bool normalise;
        int error;
        const char* message;
        const char *lonAfter, *latAfter; // the texts after the call (nullptr: not looked at,
                                         // or unchanged when not normalised)
    };
    const Row rows[] = {
        {"E2°20'14''", "N48°51'24.5''", "WGS84 DMS", true, 0, " : ", "E2°20'14''", "N48°51'24.5''"},
        {"E2°20'14''", "N48°51'24.5''", "WGS84 DMS", false, 0, " : ", nullptr, nullptr},
        {"2°20'14''", "N48°51'24''", "WGS84 DMS", true, -1, " : longitude non conforme", "2°20'14''",
         "N48°51'24''"},
        {"E2°20'14''", "48°51'24''", "WGS84 DMS", true, -1, " : latitude non conforme", nullptr, nullptr},
        {"2°20'", "48°51'", "WGS84 DMS", true, -1, " : longitude et latitude non conformes", nullptr,
         nullptr},
        {"E1e999°20'", "N48°", "WGS84 DMS", true, -1, " : coordonnées invalides", nullptr, nullptr},
        {"N2°20'", "N48°", "WGS84 DMS", true, -1, " : E ou W non précisé", "N2°20'0''", "N48°0'0''"},
        {"n2°20'", "N48°", "WGS84 DMS", true, -1, " : E ou W non précisé", nullptr, nullptr},
        {"E2°20'", "E48°", "WGS84 DMS", true, -1, " : N ou S non précisé", "E2°20'0''", "E48°0'0''"},
        {"E°20'", "N48°", "WGS84 DMS", false, -1, " : dégré de longitude non indiqué", nullptr, nullptr},
        {"E2°", "N°5'", "WGS84 DMS", false, -1, " : dégré de latitude non indiqué", nullptr, nullptr},
        {"Eab°20'", "N48°", "WGS84 DMS", true, -1, " : degrés de longitude invalides", "Eab°20'0''", nullptr},
        {"E2°", "Nnan°", "WGS84 DMS", true, -1, " : degrés de latitude invalides", nullptr, nullptr},
        {"E-5°20'", "N48°", "WGS84 DMS", true, -1, " : degrés de longitude < 0°", nullptr, nullptr},
        {"W181°", "N48°", "WGS84 DMS", true, -1, " : degrés de longitude > 180°", nullptr, nullptr},
        {"W180°", "N48°", "WGS84 DMS", true, 0, " : ", nullptr, nullptr},
        // A latitude goes up to 90 degrees.
        {"E2°", "N90°", "WGS84 DMS", true, 0, " : ", nullptr, nullptr},
        {"E2°", "N91°", "WGS84 DMS", true, -1, " : degrés de latitude > 90°", nullptr, nullptr},
        {"E2°", "S95°", "WGS84 DMS", true, -1, " : degrés de latitude > 90°", nullptr, nullptr},
        {"E2°", "N181°", "WGS84 DMS", true, -1, " : degrés de latitude > 90°", nullptr, nullptr},
        // The bounds hold for the whole angle, minutes and seconds included.
        {"E2°", "N90°30'", "WGS84 DMS", true, -1, " : degrés de latitude > 90°", nullptr, nullptr},
        {"E2°", "S90°0'1''", "WGS84 DMS", true, -1, " : degrés de latitude > 90°", nullptr, nullptr},
        {"E2°", "N89°59'59.9''", "WGS84 DMS", true, 0, " : ", nullptr, nullptr},
        {"E180°0'1''", "N48°", "WGS84 DMS", true, -1, " : degrés de longitude > 180°", nullptr, nullptr},
        {"W179°59'59''", "N48°", "WGS84 DMS", true, 0, " : ", nullptr, nullptr},
        {"2.3488", "90.5", "WGS84 DD", true, -1, " : degrés de latitude > 90°", nullptr, nullptr},
        {"-180.25", "48", "WGS84 DD", true, -1, " : degrés de longitude > 180°", nullptr, nullptr},
        {"E2°'", "N48°", "WGS84 DMS", false, -1, " : minutes de longitude invalides", nullptr, nullptr},
        {"E2°ab'", "N48°", "WGS84 DMS", true, -1, " : minutes de longitude invalides", nullptr, nullptr},
        {"E2°", "N48°-361'", "WGS84 DMS", true, -1, " : minutes de latitude invalides", nullptr, nullptr},
        {"E2°-5'", "N48°", "WGS84 DMS", true, -1, " : minutes de longitude <0", nullptr, nullptr},
        {"E2°59'", "N48°", "WGS84 DMS", true, 0, " : ", nullptr, nullptr},
        {"E2°60'", "N48°", "WGS84 DMS", true, -1, " : minutes de longitude > 59", nullptr, nullptr},
        {"E2°5'ab''", "N48°", "WGS84 DMS", true, -1, " : secondes de longitude invalides", nullptr, nullptr},
        {"E2°5'-1''", "N48°", "WGS84 DMS", true, -1, " : secondes de longitude <0", nullptr, nullptr},
        {"E2°5'59.99''", "N48°", "WGS84 DMS", true, 0, " : ", nullptr, nullptr},
        {"E2°5'60''", "N48°", "WGS84 DMS", true, -1, " : secondes de longitude >= 60", nullptr, nullptr},
        {"E2°5'1''", "N48°5'60''", "ED50 DMS", true, -1, " : secondes de latitude >= 60", nullptr, nullptr},
        // A decimal part is read as it stands when it ends the text, refused when another follows.
        {"E2.35°", "N48.85°", "WGS84 DMS", true, 0, " : ", "E2°21'0''", "N48°51'0''"},
        {"E2°20.5'10''", "N48°", "WGS84 DMS", true, -1, " : minutes de longitude non entières",
         "E2°20.5'10''", nullptr},
        {"E2°", "N48.5°30'", "WGS84 DMS", true, -1, " : degrés de latitude non entiers", nullptr,
         "N48.5°30'0''"},
        {"E2.5°0'", "N48°", "WGS84 DMS", false, -1, " : degrés de longitude non entiers", nullptr, nullptr},
        // Seconds are read in single precision: 59.999999999 is 60.
        {"E2°5'59.999999999''", "N48°", "WGS84 DMS", true, -1, " : secondes de longitude >= 60", nullptr,
         nullptr},
        // Another type name: no upper bound for the seconds.
        {"E2°5'75''", "N48°", "", true, 0, " : ", nullptr, nullptr},
        // Decimal degrees come back as degrees-minutes-seconds.
        {"2.3488", "48.8534", "WGS84 DD", true, 0, " : ", "E2°20'55.68''", "N48°51'12.24''"},
        {"-1.5", "-0.25", "ED50 DD", true, 0, " : ", "W1°30'0''", "S0°15'0''"},
        {"-1.5", "-0.25", "ED50 DD", false, 0, " : ", nullptr, nullptr},
        {"E2°20'", "48.8534", "WGS84 DD", true, -1, " : longitude non conforme", nullptr, nullptr},
    };
    const char sep = GetParam();
    for (const Row& r : rows) {
        QString lon = regional(r.lon, sep);
        QString lat = regional(r.lat, sep);
        const CoordinateCheck v = fun_Verif_Coordonnees(lon, lat, r.normalise, r.type);
        EXPECT_EQ(v.error, r.error) << r.lon << " " << r.lat;
        EXPECT_EQ(v.message, QString::fromUtf8(r.message)) << r.lon << " " << r.lat;
        if (r.lonAfter || !r.normalise) {
            EXPECT_EQ(lon, regional(r.lonAfter ? r.lonAfter : r.lon, sep)) << r.lon;
        }
        if (r.latAfter || !r.normalise) {
            EXPECT_EQ(lat, regional(r.latAfter ? r.latAfter : r.lat, sep)) << r.lat;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Separators, ValidationBySeparator, ::testing::Values('.', ','));

TEST(Validation, PartChecksThatNoReaderCanReach)
{
    ScopedDecimalSeparator point(QLatin1Char('.'));
    struct Row
    {
        const char *h, *d, *m, *s;
        bool longitude;
        const char* type;
        const char* message;
    };
    const Row rows[] = {
        {"EW", "2", "0", "0", true, "WGS84 DMS", " : E ou W invalide"},
        {"", "2", "0", "0", true, "WGS84 DMS", " : E ou W invalide"},
        {" e ", "2", "0", "0", true, "WGS84 DMS", ""},
        {"NS", "2", "0", "0", false, "WGS84 DMS", " : N ou S invalide"},
        {"s", "2", "0", "0", false, "WGS84 DMS", ""},
        {"N", "  ", "0", "0", false, "WGS84 DMS", " : dégré de latitude non indiqué"},
        {"N", "2", "0", "", false, "WGS84 DMS", " : secondes de latitude invalides"},
        {"N", "2", "0", "9999", false, "WGS84 DD", ""},
        {"N", "2", "0", "10000", false, "WGS84 DD", " : secondes de latitude > 9999"},
        {"E", "2", "0", "10000", true, "ED50 DD", " : secondes de longitude > 9999"},
        {"E", "2", "0", "10000", true, "ED50 DMS", " : secondes de longitude >= 60"},
    };
    for (const Row& r : rows) {
        CoordinateParts p;
        p.hemisphere = QString::fromUtf8(r.h);
        p.degrees = QString::fromUtf8(r.d);
        p.minutes = QString::fromUtf8(r.m);
        p.seconds = QString::fromUtf8(r.s);
        EXPECT_EQ(checkParts(p, r.longitude, r.type), QString::fromUtf8(r.message)) << r.h << r.s;
    }
}

TEST(Validation, AfterALongitudePartFaultTheLatitudeIsNotChecked)
{
    ScopedDecimalSeparator point(QLatin1Char('.'));
    QString lon = QString::fromUtf8("E2°60'");
    QString lat = QString::fromUtf8("N95°");
    const CoordinateCheck v = fun_Verif_Coordonnees(lon, lat, true, "WGS84 DMS");
    EXPECT_EQ(v.message, QString::fromUtf8(" : minutes de longitude > 59"));
    // Both were normalised before the checks.
    EXPECT_EQ(lat, QString::fromUtf8("N95°0'0''"));
}
