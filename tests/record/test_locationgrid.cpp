// The rules of the parcel location grid, without the window: the lists of its editors, the keys,
// the UTM zone question, the check against the commune's centre, and what a paste or a fill may
// change.

#include "coords/NumberText.h"
#include "platform/Dialogs.h"
#include "record/LocationGrid.h"
#include "record/ReferenceData.h"
#include "record/SurveyRecord.h"
#include "tests/record/LocationSamples.h"
#include "tests/record/ReferenceTables.h"
#include "tests/support/TestEnvironment.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace record;
using grid::Grid;
using record_samples::rowText;
using record_samples::setPosition;
namespace mb = platform::mb;

namespace {

// Positions without geodesy: a Lambert position converts to itself and its WGS84 texts are its
// numbers; the distance is the difference of the longitudes in km, unknown for a negative one. A
// text that is not a number does not convert.
CoordinateServices fakeCoordinates()
{
    CoordinateServices c;
    c.convert = [](coords::CoordinateSlots& x, coords::CoordinateSlots& y, coords::CoordinateSlots&, int type,
                   const QString&) {
        bool okX = false, okY = false;
        const double a = x[type].toString().toDouble(&okX);
        const double b = y[type].toString().toDouble(&okY);
        if (!okX || !okY)
            return coords::ConversionResult{-1, {}};
        x[kCoordLambert] = a;
        y[kCoordLambert] = b;
        x[kCoordWgs84] = QString::number(a, 'f', 3);
        y[kCoordWgs84] = QString::number(b, 'f', 3);
        return coords::ConversionResult{};
    };
    c.distance = [](const QString& lon1, const QString&, const QString& lon2, const QString&) {
        return lon2.toDouble() < 0 ? -1.0 : std::abs(lon2.toDouble() - lon1.toDouble()) / 1000;
    };
    return c;
}

const QString kValidationTitle = "Mirelot - Validation des données saisies";
QString farCell(const char* km)
{
    return QStringLiteral(
               "Possible erreur de coordonnées : parcelle située à plus de %1 km du barycentre de sa "
               "commune d'appartenance.")
        .arg(km);
}
QString farQuestion(const char* km)
{
    return QStringLiteral("Le Parcelle N°1 est situé à plus de %1 km du barycentre de sa commune "
                          "d'appartenance.\n\nCela  vous parait-il exacte ?")
        .arg(km);
}
const QString kUnknownCentre =
    "Distance inconnue : le barycentre de la commune d'appartenance de la parcelle n'est pas connu.";
const QString kUnreadable =
    "Distance inconnue : les coordonnées de la parcelle ne peuvent pas être converties.";

} // namespace

TEST(LocationGrid, CheckAgainstTheCommuneCentre)
{
    const grid::GridColour red = grid::gridRgb(255, 128, 128), orange = grid::gridRgb(255, 192, 128);
    const struct
    {
        const char* what;
        QString cells; // cells 2 to 8 of parcel 1
        QString site;  // department "|" commune of the site
        const char* answer;
        LocationCheck check;
        bool validated;
        QString information;
        grid::GridColour colour;
        QString question;
        QString lambert;
    } cases[] = {
        {"4.9 km", "26 - Drôme|Valence|||804900.9|2000000|", "", nullptr, LocationCheck::Near, true, "", 0,
         "", "804900|2000000"},
        {"exactly 5.0 km", "26 - Drôme|Valence|||805000|2000000|", "", nullptr, LocationCheck::Near, true, "",
         0, "", "805000|2000000"},
        {"7.5 km, confirmed", "26 - Drôme|Valence|||807500|2000000|", "", "Yes", LocationCheck::FarConfirmed,
         true, farCell("7,50"), orange, farQuestion("7,5"), "807500|2000000"},
        {"7.5 km, not confirmed", "26 - Drôme|Valence|||807500|2000000|", "", "No", LocationCheck::FarDenied,
         false, farCell("7,50"), red, farQuestion("7,5"), "807500|2000000"},
        {"27.9 km: whole kilometres in the cell and the question", "26 - Drôme|Valence|||827900|2000000|", "",
         "Yes", LocationCheck::FarConfirmed, true, farCell("27"), orange, farQuestion("27"),
         "827900|2000000"},
        // The commune of the row, and the site's only when the row names none.
        {"the row's commune, not the site's", "26 - Drôme|Valence|||801000|2000000|",
         "26 - Drôme|Sans centre", nullptr, LocationCheck::Near, true, "", 0, "", "801000|2000000"},
        {"a row without commune: the site's", "||||801000|2000000|", "26 - Drôme|Valence", nullptr,
         LocationCheck::Near, true, "", 0, "", "801000|2000000"},
        // Never validated without a distance.
        {"a commune the table does not hold", "26 - Drôme|Inconnue|||801000|2000000|", "26 - Drôme|Valence",
         nullptr, LocationCheck::UnknownCentre, false, kUnknownCentre, 0, "", "801000|2000000"},
        {"a commune without centre", "26 - Drôme|Sans centre|||801000|2000000|", "", nullptr,
         LocationCheck::UnknownCentre, false, kUnknownCentre, 0, "", "801000|2000000"},
        {"a distance the service cannot measure", "26 - Drôme|Valence|||-1|2000000|", "", nullptr,
         LocationCheck::UnknownCentre, false, kUnknownCentre, 0, "", "-1|2000000"},
        {"no latitude", "26 - Drôme|Valence|||800000||", "", nullptr, LocationCheck::NoPosition, false, "", 0,
         "", "|"},
        {"a position that does not convert", "26 - Drôme|Valence|||abc|2000000|", "", nullptr,
         LocationCheck::Unreadable, false, kUnreadable, 0, "", "|"},
    };
    const coords::ScopedDecimalSeparator separator(QLatin1Char(','));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testing_support::TestEnvironment env;
        auto g = record_samples::locationGrid(2);
        setPosition(*g, 1, c.cells);
        // What an earlier check left: a ticked box, a red cell, a Lambert position.
        g->setCell(1, LocInformation, "former");
        g->setBackColour({1, LocInformation, 1, LocInformation}, red);
        g->setCell(1, LocLambertX, "1");
        if (c.answer)
            env.dialogs().answer(QString(c.answer) == "Yes" ? mb::Yes : mb::No);
        const LocationCheckContext context{.coordinateType = kCoordLambert,
                                           .siteDepartment = c.site.section('|', 0, 0),
                                           .siteCommune = c.site.section('|', 1, 1),
                                           .references = &record_samples::smallReferences(),
                                           .coordinates = fakeCoordinates()};
        EXPECT_EQ(checkLocationRow(*g, 1, LocLongitude, context), c.check);
        EXPECT_EQ(g->checkState(1, LocValidated), c.validated ? Grid::Checked : Grid::Unchecked);
        EXPECT_EQ(g->cell(1, LocInformation), c.information);
        EXPECT_EQ(g->backColour(1, LocInformation), c.colour);
        EXPECT_EQ(rowText(*g, 1, LocLambertX, LocLambertY), c.lambert);
        const auto asked = env.dialogs().asked();
        ASSERT_EQ(asked.size(), c.question.isEmpty() ? 0 : 1);
        if (!c.question.isEmpty()) {
            EXPECT_EQ(asked[0].text, c.question);
            EXPECT_EQ(asked[0].style, mb::YesNo | mb::Question);
            EXPECT_EQ(asked[0].title, kValidationTitle);
        }
        EXPECT_EQ(g->checkState(2, LocValidated), Grid::Checked); // the other parcel is not touched
    }
}

TEST(LocationGrid, EditorListsAndKeys)
{
    auto g = record_samples::locationGrid(2);
    g->setCell(1, LocDepartment, "26 - Drôme");
    const ReferenceData& refs = record_samples::smallReferences();
    EXPECT_FALSE(prepareLocationEdit(*g, 1, LocInformation, refs));
    EXPECT_FALSE(prepareLocationEdit(*g, 1, LocLambertX, refs)); // read-only
    ASSERT_TRUE(prepareLocationEdit(*g, 1, LocDepartment, refs));
    EXPECT_EQ(g->editListFor(LocDepartment), "| |07 - Ardèche|26 - Drôme|48 - Lozère|2A - Corse-du-Sud");
    ASSERT_TRUE(prepareLocationEdit(*g, 1, LocCommune, refs));
    EXPECT_EQ(g->editListFor(LocCommune), "|Albon|Sans centre|Valence|Valence");
    ASSERT_TRUE(prepareLocationEdit(*g, 2, LocCommune, refs)); // no department: free text
    EXPECT_EQ(g->editListFor(LocCommune), "");

    // Every key unticks its row; from the zone on, MGRS keeps the ranges' characters upper-cased
    // and the other systems hand the key to the digits filter.
    const auto digits = [](int k) { return k == 'x' ? 0 : -k; };
    const struct
    {
        int col, type;
        char16_t typed;
        int kept;
    } keys[] = {
        {LocMgrs, kCoordMgrs, u'k', 'K'},       {LocAltitude, kCoordMgrs, u'é', u'É'},
        {LocMgrs, kCoordMgrs, u'%', 0},         {LocPlace, kCoordMgrs, u'%', '%'},
        {LocUtmZone, kCoordLambert, u'x', 0},   {LocLongitude, kCoordUtm, u'4', -'4'},
        {LocCommune, kCoordLambert, u'x', 'x'},
    };
    for (const auto& k : keys) {
        g->setCheckState(2, LocValidated, Grid::Checked);
        EXPECT_EQ(filterLocationKey(*g, 2, k.col, k.type, k.typed, digits), k.kept) << k.col << " " << k.type;
        EXPECT_EQ(g->checkState(2, LocValidated), Grid::Unchecked);
    }
    EXPECT_EQ(g->checkState(1, LocValidated), Grid::Checked);
}

TEST(LocationGrid, UtmZoneQuestion)
{
    const QString question = "Pour la France métropolitaine et la Corse, les numéros de zone UTM se situent "
                             "entre des numéros 30 à 32 compris !\n\nConfirmez-vous votre choix ?";
    const struct
    {
        int col, type;
        const char* text;
        int answer; // 0: no question
        bool accepted;
    } cases[] = {
        {LocUtmZone, kCoordUtm, "29", mb::No, false}, {LocUtmZone, kCoordUtm, "29", mb::Yes, true},
        {LocUtmZone, kCoordUtm, "33", mb::No, false}, {LocUtmZone, kCoordUtm, "30", 0, true},
        {LocUtmZone, kCoordUtm, " 32 ", 0, true},     {LocUtmZone, kCoordUtm, "", 0, true},
        {LocUtmZone, kCoordLambert, "29", 0, true},   {LocLongitude, kCoordUtm, "29", 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.col << " " << c.type << " '" << c.text << "'");
        testing_support::TestEnvironment env;
        if (c.answer)
            env.dialogs().answer(c.answer);
        EXPECT_EQ(acceptLocationEdit(c.col, c.type, c.text), c.accepted);
        EXPECT_EQ(env.dialogs().texts(), c.answer ? QStringList{question} : QStringList());
    }
    testing_support::TestEnvironment env;
    env.dialogs().answer(mb::Yes);
    EXPECT_TRUE(acceptLocationEdit(LocUtmZone, kCoordUtm, "28"));
    EXPECT_EQ(env.dialogs().asked()[0].style, mb::YesNo | mb::Exclamation);
    EXPECT_EQ(env.dialogs().asked()[0].title, "Mirelot");
}

// A paste or a fill through the grid's own selection writes: the read-only cells and the
// information cell get their text back, and only the rows whose cells changed are unticked.
TEST(LocationGrid, PasteAndFillUntickTheRowsTheyChange)
{
    auto g = record_samples::locationGrid(3);
    g->setCell(1, LocLambertX, "800000");
    g->setCell(2, LocWalk, "600");
    g->setCell(2, LocAltitude, "124");
    LocationGridChange paste(*g, {1, LocWalk, 3, LocInformation});
    g->select(1, LocWalk, 3, LocInformation);
    g->setSelectionText("500\t120\t\t1\t1\t2\tnote\r600\t124\r700");
    EXPECT_EQ(paste.finish(), (QList<int>{1, 3}));
    EXPECT_EQ(rowText(*g, 1, LocWalk, LocInformation), "500|120|||800000||");
    EXPECT_EQ(rowText(*g, 2, LocWalk, LocInformation), "600|124|||||");
    EXPECT_EQ(rowText(*g, 3, LocWalk, LocInformation), "700||||||");
    EXPECT_EQ(g->checkState(1, LocValidated), Grid::Unchecked);
    EXPECT_EQ(g->checkState(2, LocValidated), Grid::Checked); // pasted the same values
    EXPECT_EQ(g->checkState(3, LocValidated), Grid::Unchecked);

    g->setCheckState(1, LocValidated, Grid::Checked);
    g->setCheckState(3, LocValidated, Grid::Checked);
    g->setCell(3, LocAltitude, "124");
    LocationGridChange fill(*g, {1, LocAltitude, 3, LocAltitude});
    g->select(1, LocAltitude, 3, LocAltitude);
    g->setFillRepeat(true);
    g->setText("124");
    EXPECT_EQ(fill.finish(), (QList<int>{1}));
    EXPECT_EQ(g->cell(1, LocAltitude), "124");
    EXPECT_EQ(g->checkState(1, LocValidated), Grid::Unchecked);
}
