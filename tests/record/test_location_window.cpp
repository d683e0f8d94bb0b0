// The wiring of the record window's location grid and coordinate system, offscreen: the switch
// on a change of the list, the editors' handlers, the check after an edit and the keyboard
// commands. The rules are the
// core's tests (test_locationgrid, test_coordinateswitch).

#include "common/Globals.h"
#include "data/StarterTables.h"
#include "grid/Grid.h"
#include "grid/GridView.h"
#include "record/LocationGrid.h"
#include "record/RecordStore.h"
#include "record/RecordValidator.h"
#include "record/SiteName.h"
#include "record/frm_Releve_SHOC.h"
#include "tests/record/RecordWindowControls.h"
#include "tests/record/RecordWindowFixture.h"
#include "tests/record/ReferenceTables.h"
#include "tests/samples/RecordSamples.h"
#include "tests/support/GridTyping.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace record;
using grid::Grid;
using grid::GridView;
using record_samples::controls;
using testing_support::pressKey;
using testing_support::typeCell;
namespace mb = platform::mb;
using Window = std::unique_ptr<frm_Releve_SHOC>;

namespace {

class LocationWindowTest : public record_samples::RecordWindowFixture
{
protected:
    static Window open(RecordMode mode = RecordMode::New, const QString& file = QString())
    {
        Window w(frm_Releve_SHOC::openWindow(RecordRequest{mode, file, QString()}));
        if (w) {
            w->show();
            w->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
            if (mode == RecordMode::New)
                fillIdentification(*w);
            controls(*w).ogl_Divers->setCurrentIndex(PageLocations);
        }
        return w;
    }
    // What the page-change gate asks of the identification page before the locations page.
    static void fillIdentification(frm_Releve_SHOC& w)
    {
        controls(w).Txt_Nom_Observateur->setText("DURAND");
        controls(w).txt_Prénom_Observateur->setText("Jean");
        controls(w).txt_Email->setText("jean.durand@example.org");
        if (controls(w).cbo_Saison->currentIndex() < 0)
            controls(w).cbo_Saison->setCurrentIndex(controls(w).cbo_Saison->count() - 1);
        controls(w).cbo_Dept->setCurrentIndex(controls(w).cbo_Dept->findText("26 - Drôme"));
        controls(w).cbo_Communes->setCurrentIndex(controls(w).cbo_Communes->findText("Valence"));
        controls(w).txt_Lieudit->setText("Les Plaines");
    }
    static void choose(frm_Releve_SHOC& w, int type)
    {
        controls(w).cbo_Quid_Coord->setCurrentIndex(controls(w).cbo_Quid_Coord->findData(type));
    }
    // Columns 5 to 8 shown, as "1" or "0".
    static QString shown(const Grid& g)
    {
        QString s;
        for (int c = LocUtmZone; c <= LocMgrs; ++c)
            s += g.colHidden(c) ? '0' : '1';
        return s;
    }
};

} // namespace

// The first choice of the window only records Lambert II étendu; later choices convert the rows
// shown, and a record opened in its own system is shown as stored.
TEST_F(LocationWindowTest, SwitchOnAChangeOfSystem)
{
    const Window w = open();
    ASSERT_TRUE(w);
    Grid& g = controls(*w).flx_Coordonnées->grid();
    EXPECT_EQ(controls(*w).cbo_Quid_Coord->currentData().toInt(), kCoordLambert);
    EXPECT_EQ(shown(g), "0110");
    g.setCell(1, LocLongitude, "800500");
    g.setCell(1, LocLatitude, "2000000");

    choose(*w, kCoordMgrs);
    EXPECT_EQ(shown(g), "0001");
    EXPECT_EQ(g.cell(1, LocLongitude), "");
    EXPECT_FALSE(g.cell(1, LocMgrs).isEmpty());
    EXPECT_EQ(g.cell(1, LocLambertX), "800500");
    EXPECT_EQ(g.cell(2, LocMgrs), ""); // an empty parcel stays empty

    choose(*w, kCoordUtm);
    EXPECT_EQ(shown(g), "1110");
    EXPECT_EQ(g.cell(1, LocUtmZone), "31");
    EXPECT_EQ(g.cell(1, LocMgrs), "");

    // Stored in UTM: opened in UTM, the cells as they were written.
    SurveyRecord r = record_samples::twoParcels();
    r.coordinateType = kCoordUtm;
    r.parcels[0].location.utmZone = "31";
    r.parcels[0].location.longitude = "650000";
    r.parcels[0].location.latitude = "4980000";
    r.siteName = sub_Build_Nom_Zone(r).text;
    const SaveResult saved = RecordStore(env.dataFolder()).save(r);
    ASSERT_TRUE(saved.result.ok) << saved.result.error.toStdString();
    env.dialogs().answer(mb::OK); // the habitat type and network the starter tables do not hold
    const Window stored = open(RecordMode::Update, saved.fileName);
    ASSERT_TRUE(stored);
    const Grid& s = controls(*stored).flx_Coordonnées->grid();
    EXPECT_EQ(controls(*stored).cbo_Quid_Coord->currentData().toInt(), kCoordUtm);
    EXPECT_EQ(shown(s), "1110");
    EXPECT_EQ(s.cell(1, LocUtmZone) + " " + s.cell(1, LocLongitude) + " " + s.cell(1, LocLatitude),
              "31 650000 4980000");
}

// Zone 29 in UTM asks, and No keeps the editor open with the text typed; in MGRS what is typed is
// upper-cased; every key unticks the row.
TEST_F(LocationWindowTest, EditorsOfTheGrid)
{
    const Window w = open();
    ASSERT_TRUE(w);
    GridView* view = controls(*w).flx_Coordonnées;
    Grid& g = view->grid();

    choose(*w, kCoordUtm);
    ASSERT_TRUE(typeCell(view, 1, LocUtmZone, "29", Qt::Key_unknown));
    env.dialogs().answer(mb::No);
    pressKey(Qt::Key_Return);
    EXPECT_TRUE(view->isEditing());
    EXPECT_EQ(view->editText(), "29");
    EXPECT_EQ(g.cell(1, LocUtmZone), "");
    EXPECT_TRUE(env.dialogs().texts().last().startsWith("Pour la France métropolitaine et la Corse"));
    env.dialogs().answer(mb::Yes);
    pressKey(Qt::Key_Return);
    EXPECT_FALSE(view->isEditing());
    EXPECT_EQ(g.cell(1, LocUtmZone), "29");
    const auto asked = env.dialogs().asked().size();
    EXPECT_TRUE(typeCell(view, 2, LocUtmZone, "31"));
    EXPECT_EQ(env.dialogs().asked().size(), asked);

    choose(*w, kCoordMgrs);
    g.setCheckState(1, LocValidated, Grid::Checked);
    ASSERT_TRUE(typeCell(view, 1, LocMgrs, "31tfk%", Qt::Key_unknown));
    EXPECT_EQ(view->editText(), "31TFK");
    EXPECT_EQ(g.checkState(1, LocValidated), Grid::Unchecked);
    pressKey(Qt::Key_Return);
    EXPECT_EQ(g.cell(1, LocMgrs), "31TFK");

    // The information cell is never edited.
    g.select(1, LocInformation);
    EXPECT_FALSE(view->editCell());
}

// After an edit, with a commune centre: near is validated at once, and 27.9 km away shows 27 in the
// cell and the question; a confirmed position brings the page back.
TEST_F(LocationWindowTest, CheckAfterAnEdit)
{
    record_samples::writeSmallTables(env.programFolder());
    const Window w = open();
    ASSERT_TRUE(w);
    controls(*w).cbo_Dept->setCurrentIndex(controls(*w).cbo_Dept->findText("26 - Drôme"));
    controls(*w).cbo_Communes->setCurrentIndex(controls(*w).cbo_Communes->findText("Valence"));
    Grid& g = controls(*w).flx_Coordonnées->grid();
    g.setCell(1, LocLatitude, "2000000");
    g.setCell(2, LocLatitude, "2000000");

    EXPECT_TRUE(typeCell(controls(*w).flx_Coordonnées, 2, LocLongitude, "801000"));
    EXPECT_EQ(g.checkState(2, LocValidated), Grid::Checked);
    EXPECT_EQ(g.cell(2, LocLambertX), "801000");
    EXPECT_TRUE(env.dialogs().asked().isEmpty());

    env.dialogs().answer(mb::Yes);
    EXPECT_TRUE(typeCell(controls(*w).flx_Coordonnées, 1, LocLongitude, "827900"));
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(env.dialogs().asked()[0].text,
              "Le Parcelle N°1 est situé à plus de 27 km du barycentre de sa commune d'appartenance.\n\n"
              "Cela  vous parait-il exacte ?");
    EXPECT_EQ(g.cell(1, LocInformation),
              "Possible erreur de coordonnées : parcelle située à plus de 27 km du "
              "barycentre de sa commune d'appartenance.");
    EXPECT_EQ(g.backColour(1, LocInformation), kConfirmedParcelColour);
    EXPECT_EQ(g.checkState(1, LocValidated), Grid::Checked);
    EXPECT_EQ(controls(*w).ogl_Divers->currentIndex(), int(PageLocations));
    EXPECT_TRUE(w->isModified());
}

// Ctrl+V writes two rows of coordinates from the current cell, Ctrl+B (Yes) fills the altitude and
// Delete empties a row: the validated box, the Lambert position and the information cell stay as
// they were, and every row changed is unticked.
TEST_F(LocationWindowTest, KeyboardCommands)
{
    const Window w = open();
    ASSERT_TRUE(w);
    GridView* view = controls(*w).flx_Coordonnées;
    Grid& g = view->grid();
    ASSERT_GE(g.rows(), 4);
    const auto tick = [&g] {
        for (int r = 1; r <= 3; ++r)
            g.setCheckState(r, LocValidated, Grid::Checked);
    };
    for (int r = 1; r <= 3; ++r) {
        g.setCell(r, LocLambertX, "800000");
        g.setCell(r, LocInformation, "note");
    }
    tick();
    const auto key = [view](Qt::Key k, Qt::KeyboardModifiers m) {
        view->setFocus();
        QTest::keyClick(view, k, m);
    };
    const auto state = [&g](int r) {
        return g.rangeText({r, LocLongitude, r, LocInformation}) +
               (g.checkState(r, LocValidated) == Grid::Checked ? " X" : " -");
    };

    QGuiApplication::clipboard()->setText("800500\t2000000\tM\tW\t120\t1\tNon\t1\t2\tinfo\r\n"
                                          "801000\t2000100\r\n");
    g.select(1, LocLongitude);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(state(1), "800500\t2000000\t\t\t120\t\t\t800000\t\tnote -");
    EXPECT_EQ(state(2), "801000\t2000100\t\t\t\t\t\t800000\t\tnote -");
    EXPECT_EQ(state(3), "\t\t\t\t\t\t\t800000\t\tnote X");

    tick();
    g.select(1, LocAltitude, 3, LocAltitude);
    env.dialogs().answer(mb::Yes);
    key(Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(env.dialogs().texts().last(), "3 lignes sélectionnées par la valeur \n120");
    EXPECT_EQ(g.rangeText({1, LocAltitude, 3, LocAltitude}), "120\r120\r120");
    EXPECT_EQ(state(1).right(2), " X") << "the row the values came from is unchanged";
    EXPECT_EQ(state(2).right(2) + state(3).right(2), " - -");

    tick();
    g.select(1, LocLongitude, 1, LocInformation);
    key(Qt::Key_Delete, Qt::NoModifier);
    EXPECT_EQ(state(1), "\t\t\t\t\t\t\t800000\t\tnote -");
    EXPECT_EQ(state(2).right(2), " X");
}
