// The record window's grids as the user edits them, offscreen on the starter tables: keys typed
// into the species grid, its lists, the keyboard commands of the species, weather and habitat
// grids, the learning mode of species entry, and the site's commune and department choices. The
// rules themselves are the record core's tests (test_speciesentry, test_gridcommands).

#include "common/Globals.h"
#include "common/Options.h"
#include "data/StarterTables.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "grid/GridView.h"
#include "record/RecordStore.h"
#include "record/SiteName.h"
#include "record/frm_Releve_SHOC.h"
#include "tests/record/RecordSamples.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace record;
using grid::Grid;
using grid::GridView;
namespace mb = platform::mb;

namespace {

QString row(const Grid& g, int r)
{
    return g.rangeText({r, 1, r, 9});
}

// The sample record of two parcels, shown on its species page with parcel 2 (no species yet) and
// computed totals; the window shown and active, so that keys reach it.
class RecordGridsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        sub_Reset_Options();
        for (const InstallationTable& t : sub_Installer_Tables(env.programFolder()))
            ASSERT_EQ(t.etat, EtatInstallation::Installee) << t.erreur.toStdString();
        gstr_Dossier = env.dataFolder();
        SurveyRecord r = record_samples::twoParcels();
        r.habitatType = "CH - Culture de céréales d’hiver";
        r.network = "SHOC / Suivi hivernal des oiseaux communs";
        r.siteName = sub_Build_Nom_Zone(r).text;
        const SaveResult saved = RecordStore(env.dataFolder()).save(r);
        ASSERT_TRUE(saved.result.ok) << saved.result.error.toStdString();
        w.reset(frm_Releve_SHOC::fun_Ouvrir(RecordRequest{RecordMode::Update, saved.fileName, QString()}));
        ASSERT_TRUE(w);
        w->ogl_Divers->setCurrentIndex(3);
        w->Tab_Relevé->setCurrentIndex(1);
        w->opt_Total[0]->setChecked(true);
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    void TearDown() override
    {
        w.reset();
        sub_Reset_Options();
    }

    Grid& species() { return w->flx_Espèces->grid(); }

    // Keys typed where the focus is: the first one on a grid opens the cell's editor.
    static void type(const QString& text)
    {
        for (QChar c : text) {
            QTest::keyClick(QApplication::focusWidget(), char(c.unicode()));
            QCoreApplication::processEvents();
        }
    }
    static void typeInto(GridView* view, int r, int c, const QString& text)
    {
        view->grid().select(r, c);
        view->setFocus();
        type(text);
        enter();
    }
    // Return in an editor closes it once the events are processed.
    static void enter()
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    // A list item chosen in a cell's drop-down editor.
    static void choose(GridView* view, int r, int c, const QString& item)
    {
        view->grid().select(r, c);
        ASSERT_TRUE(view->editCell());
        view->setEditText(item);
        view->finishEditing();
    }
    static void key(GridView* view, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        view->setFocus();
        QTest::keyClick(view, k, m);
    }

    testing_support::TestEnvironment env;
    std::unique_ptr<frm_Releve_SHOC> w;
};

} // namespace

// Typing 12 and 3 gives 15; each edit adds a row; a sign or a decimal separator in a count is
// refused, and the editor stays open on the text typed so far.
TEST_F(RecordGridsTest, TypedCountsGiveTheirTotal)
{
    const int rows = species().rows();
    typeInto(w->flx_Espèces, 1, 4, "12");
    typeInto(w->flx_Espèces, 1, 6, "3");
    EXPECT_EQ(row(species(), 1), "\t\t\t12\t\t3\t\t15\t");
    EXPECT_EQ(species().rows(), rows + 2);
    EXPECT_TRUE(species().isReadOnly(rows + 1, 8)) << "the new rows' totals are computed too";
    EXPECT_TRUE(w->isModified());

    env.dialogs().answer(mb::OK);
    env.dialogs().answer(mb::OK);
    w->flx_Espèces->grid().select(1, 5);
    w->flx_Espèces->setFocus();
    type("4-");
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(env.dialogs().asked()[0].text, "Veuillez saisir uniquement des chiffres");
    EXPECT_TRUE(w->flx_Espèces->isEditing());
    type(",5");
    EXPECT_EQ(env.dialogs().asked().size(), 2);
    EXPECT_EQ(w->flx_Espèces->editText(), "45");
    enter();
    EXPECT_EQ(species().cell(1, 8), "60");
}

// A code chosen in the code column and a name chosen in the name column both find the species;
// "Indices" then offers the behaviours of its class.
TEST_F(RecordGridsTest, CodeAndNameBothFindTheSpecies)
{
    choose(w->flx_Espèces, 1, 2, "ALAARV");
    EXPECT_EQ(row(species(), 1), "O\tALAARV\tAlouette des champs\t\t\t\t\t0\t");
    choose(w->flx_Espèces, 2, 3, "Pie bavarde");
    EXPECT_EQ(row(species(), 2), "O\tPICPIC\tPie bavarde\t\t\t\t\t0\t");

    species().select(2, 9);
    ASSERT_TRUE(w->flx_Espèces->editCell());
    EXPECT_TRUE(species().colEditList(9).startsWith(" |ALIM En alimentation|POSE Posé, au repos|"));
    w->flx_Espèces->finishEditing(true);
    species().select(3, 9);
    ASSERT_TRUE(w->flx_Espèces->editCell());
    EXPECT_EQ(species().colEditList(9), " |") << "a row without a class has no behaviour to offer";
    w->flx_Espèces->finishEditing(true);
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
}

// Three rows copied from a spreadsheet, with either line end: each row is looked up and totalled
// and an unknown species is told; the row below is left alone.
TEST_F(RecordGridsTest, PasteOfThreeSpreadsheetRows)
{
    for (const QString end : {"\n", "\r\n"}) {
        SCOPED_TRACE(end == "\n" ? "LF" : "CRLF");
        species().clearRange({1, 1, species().rows() - 1, 9});
        species().setCell(5, 2, "gardé");
        const int rows = species().rows();
        QGuiApplication::clipboard()->setText("ALAARV\t\t1\t\t2" + end + "\tPie bavarde\t3" + end +
                                              "XXXYYY\tMa pie\t1" + end);
        species().select(2, 2);
        env.dialogs().answer(mb::OK);
        key(w->flx_Espèces, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(row(species(), 2), "O\tALAARV\tAlouette des champs\t1\t\t2\t\t3\t");
        EXPECT_EQ(row(species(), 3), "O\tPICPIC\tPie bavarde\t3\t\t\t\t3\t");
        EXPECT_EQ(row(species(), 4), "\t\tMa pie\t1\t\t\t\t\t");
        EXPECT_EQ(species().cell(5, 2), "gardé");
        EXPECT_EQ(species().rows(), rows + 1);
        ASSERT_EQ(env.dialogs().asked().size(), 1);
        EXPECT_TRUE(env.dialogs().asked()[0].text.startsWith("L'espèce « XXXYYY » est inconnue"));
        env.dialogs().clearAsked();
    }
    // Shift+Insert pastes too.
    QGuiApplication::clipboard()->setText("BUTBUT");
    species().select(6, 2);
    key(w->flx_Espèces, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(species().cell(6, 3), "Buse variable");
}

// Rows 3 to 6 selected from row 6 up to row 3: Ctrl+B asks with row 6's values, and rows 3 to 5
// take them, looked up and totalled.
TEST_F(RecordGridsTest, FillFromRow6UpToRow3)
{
    choose(w->flx_Espèces, 6, 2, "PICPIC");
    typeInto(w->flx_Espèces, 6, 4, "2");
    species().select(6, 2, 3, 4);
    env.dialogs().answer(mb::Yes);
    key(w->flx_Espèces, Qt::Key_B, Qt::ControlModifier);
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(env.dialogs().asked()[0].text, "4 lignes sélectionnées par la valeur \nPICPIC\tPie bavarde\t2");
    for (int r = 3; r <= 6; ++r)
        EXPECT_EQ(row(species(), r), "O\tPICPIC\tPie bavarde\t2\t\t\t\t2\t") << r;
    EXPECT_EQ(row(species(), 2), "\t\t\t\t\t\t\t\t");
}

// With the learning mode, a species not yet confirmed asks once: No refuses it and asks again
// next time, Yes accepts it for good, and the species table file keeps the tick.
TEST_F(RecordGridsTest, LearningModeAsksOncePerSpecies)
{
    sub_Cocher_Option("SaisieEsp", true);
    env.dialogs().answer(mb::No);
    choose(w->flx_Espèces, 1, 2, "PICPIC");
    EXPECT_EQ(species().cell(1, 2), "");
    env.dialogs().answer(mb::Yes);
    choose(w->flx_Espèces, 1, 2, "PICPIC");
    EXPECT_EQ(species().cell(1, 2), "PICPIC");
    ASSERT_EQ(env.dialogs().asked().size(), 2);
    EXPECT_EQ(env.dialogs().asked()[1].title, "SAISIE ESPECE");
    choose(w->flx_Espèces, 2, 3, "Pie bavarde");
    choose(w->flx_Espèces, 3, 2, "PICPIC");
    EXPECT_EQ(species().cell(3, 1), "O");
    EXPECT_EQ(env.dialogs().asked().size(), 2) << "never again after Yes";

    env.dialogs().answer(mb::Yes);
    w->close();
    Grid table;
    ASSERT_TRUE(grid::GridFile::load(table, QDir(env.programFolder()).filePath("Espèces.DOV"),
                                     grid::GridFile::Complete));
    EXPECT_EQ(table.checkState(table.findRow("PICPIC", 1, 2), 5), Grid::Checked);
    EXPECT_EQ(table.checkState(table.findRow("ALAARV", 1, 2), 5), Grid::Unchecked);
}

// Delete: the species grid loses the selected rows; the weather and habitat grids, whose row p is
// parcel p, keep their rows and empty what the user may edit.
TEST_F(RecordGridsTest, DeleteRemovesSpeciesRowsAndEmptiesParcelRows)
{
    choose(w->flx_Espèces, 1, 2, "PICPIC");
    choose(w->flx_Espèces, 2, 2, "ALAARV");
    const int rows = species().rows();
    species().select(1, 3);
    key(w->flx_Espèces, Qt::Key_Delete);
    EXPECT_EQ(species().rows(), rows - 1);
    EXPECT_EQ(species().cell(1, 2), "ALAARV");

    Grid& weather = w->flx_Date_Météo->grid();
    ASSERT_EQ(weather.cell(2, 2), "3");
    weather.select(1, 1, 2, 5);
    key(w->flx_Date_Météo, Qt::Key_Delete);
    EXPECT_EQ(weather.rows(), 3);
    EXPECT_EQ(weather.rangeText({1, 1, 2, 5}), "Parcelle N°01\t\t\t\t\rParcelle N°02\t\t\t\t");

    Grid& habitats = w->flx_Desc_Parcelles->grid();
    habitats.setCheckState(2, 4, Grid::Checked);
    habitats.select(2, 1, 2, 6);
    key(w->flx_Desc_Parcelles, Qt::Key_Delete);
    EXPECT_EQ(habitats.rows(), 3);
    EXPECT_EQ(habitats.checkState(2, 4), Grid::Unchecked);
    EXPECT_EQ(habitats.cell(2, 1), "Parcelle N°02");
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
}

// The commune chosen goes into every parcel row, unticking the parcels checked against another
// commune; the department chosen offers its communes.
TEST_F(RecordGridsTest, CommuneChoiceFillsEveryRow)
{
    w->applyParcelCount(4);
    Grid& loc = w->flx_Coordonnées->grid();
    loc.setCell(2, 3, "Montélimar");
    loc.setCheckState(2, 12, Grid::Checked);
    loc.setCell(2, 15, "Possible erreur de coordonnées");

    const int privas = w->cbo_Dept->findText("07 - Ardèche");
    ASSERT_GE(privas, 0);
    w->cbo_Dept->setCurrentIndex(privas);
    Q_EMIT w->cbo_Dept->activated(privas);
    EXPECT_GT(w->cbo_Communes->findText("Privas"), -1);
    EXPECT_EQ(w->cbo_Communes->findText("Valence"), -1);
    EXPECT_TRUE(w->txt_Statut->text().startsWith("Un ou plusieurs éléments essentiels"))
        << "the status follows the choice";

    const int commune = w->cbo_Communes->findText("Privas");
    w->cbo_Communes->setCurrentIndex(commune);
    Q_EMIT w->cbo_Communes->activated(commune);
    for (int p = 1; p <= 4; ++p) {
        EXPECT_EQ(loc.cell(p, 2), "07 - Ardèche") << p;
        EXPECT_EQ(loc.cell(p, 3), "Privas") << p;
    }
    EXPECT_EQ(loc.checkState(2, 12), Grid::Unchecked);
    EXPECT_EQ(loc.cell(2, 15), "");
    EXPECT_TRUE(w->txt_Nom_Site->text().startsWith("SHOC-07~Privas~"));
    EXPECT_TRUE(w->isModified());
}
