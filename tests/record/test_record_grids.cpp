// The record window's grids as the user edits them, offscreen on the starter tables: keys typed
// into the species grid, its lists, the grids' keyboard commands, the learning mode of species
// entry, and the site's commune and department choices. The rules themselves are the record
// core's tests (test_speciesentry, test_gridcommands).

#include "common/Globals.h"
#include "common/OptionMarks.h"
#include "data/StarterTables.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "grid/GridView.h"
#include "record/LocationGrid.h"
#include "record/RecordStore.h"
#include "record/SiteName.h"
#include "record/frm_Releve_SHOC.h"
#include "tests/record/RecordWindowControls.h"
#include "tests/record/RecordWindowFixture.h"
#include "tests/samples/RecordSamples.h"
#include "tests/support/GridTyping.h"

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
using record_samples::controls;
namespace mb = platform::mb;

namespace {

QString row(const Grid& g, int r) { return g.rangeText({r, 1, r, 9}); }

// The sample record of two parcels, shown on its species page with parcel 2 (no species yet) and
// computed totals; the window shown and active, so that keys reach it.
class RecordGridsTest : public record_samples::RecordWindowFixture
{
protected:
    void SetUp() override
    {
        common::resetOptions();
        RecordWindowFixture::SetUp();
        if (HasFatalFailure())
            return;
        SurveyRecord r = record_samples::twoParcels();
        r.habitatType = "CH - Culture de céréales d’hiver";
        r.network = "SHOC / Suivi hivernal des oiseaux communs";
        r.siteName = sub_Build_Nom_Zone(r).text;
        const SaveResult saved = RecordStore(env.dataFolder()).save(r);
        ASSERT_TRUE(saved.result.ok) << saved.result.error.toStdString();
        m_file = saved.fileName;
        open();
    }
    void open()
    {
        w = openShown(RecordMode::Update, m_file, [](frm_Releve_SHOC& window) {
            controls(window).ogl_Divers->setCurrentIndex(3);
            controls(window).Tab_Relevé->setCurrentIndex(1);
            controls(window).opt_Total[0]->setChecked(true);
        });
        ASSERT_TRUE(w);
    }
    QByteArray storedBytes() const
    {
        return testing_support::readBytes(QDir(env.dataFolder()).filePath(m_file));
    }
    void TearDown() override
    {
        w.reset();
        common::resetOptions();
    }

    Grid& species() { return controls(*w).flx_Espèces->grid(); }

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
        EXPECT_TRUE(testing_support::typeCell(view, r, c, text)) << text.toStdString();
    }
    // Return in an editor closes it once the events are processed.
    static void enter()
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    static void key(GridView* view, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        view->setFocus();
        QTest::keyClick(view, k, m);
    }

    Window w;
    QString m_file;
};

} // namespace

// Typing 12 and 3 gives 15, and each edit adds a row; a sign or a decimal separator in a count is
// refused and the editor stays open on the text typed so far.
TEST_F(RecordGridsTest, TypedCountsGiveTheirTotal)
{
    const int rows = species().rows();
    typeInto(controls(*w).flx_Espèces, 1, 4, "12");
    typeInto(controls(*w).flx_Espèces, 1, 6, "3");
    EXPECT_EQ(row(species(), 1), "\t\t\t12\t\t3\t\t15\t");
    EXPECT_EQ(species().rows(), rows + 2);
    EXPECT_TRUE(w->isModified());

    env.dialogs().answer(mb::OK);
    species().select(1, 5);
    controls(*w).flx_Espèces->setFocus();
    type("4-5");
    EXPECT_EQ(env.dialogs().texts(), QStringList{"Veuillez saisir uniquement des chiffres"});
    EXPECT_EQ(controls(*w).flx_Espèces->editText(), "45");
    enter();
    EXPECT_EQ(species().cell(1, 8), "60");
}

// Species typed into the code and name columns, each stored once Enter is pressed: a code, a
// name begun in another case and without its accents, a name with a space. Each row gets the
// species' class, code and name and its total; then a behaviour typed into "Indices".
TEST_F(RecordGridsTest, SpeciesTypedByCodeOrName)
{
    const struct
    {
        int col;
        const char* typed;
        const char* stored;
    } cases[] = {
        {SpeciesCodeColumn, "ALAARV", "O\tALAARV\tAlouette des champs\t\t\t\t\t0\t"},
        {SpeciesNameColumn, "BECASSE", "O\tSCORUS\tBécasse des bois\t\t\t\t\t0\t"},
        {SpeciesNameColumn, "Pie bavarde", "O\tPICPIC\tPie bavarde\t\t\t\t\t0\t"},
    };
    int r = 1;
    for (const auto& c : cases) {
        typeInto(controls(*w).flx_Espèces, r, c.col, QString::fromUtf8(c.typed));
        EXPECT_EQ(row(species(), r), QString::fromUtf8(c.stored)) << c.typed;
        ++r;
    }
    EXPECT_TRUE(env.dialogs().texts().isEmpty()) << env.dialogs().texts().join('|').toStdString();

    typeInto(controls(*w).flx_Espèces, 1, 4, "3");
    typeInto(controls(*w).flx_Espèces, 1, 9, "pose");
    EXPECT_EQ(row(species(), 1), "O\tALAARV\tAlouette des champs\t3\t\t\t\t3\tPOSE Posé, au repos");
    EXPECT_TRUE(species().colEditList(9).startsWith(" |ALIM En alimentation|POSE Posé, au repos|"))
        << "the behaviours of the row's class";
}

// Reached by Tab, each grid of the record window has its cursor on its first cell that takes
// typing, where the keys then typed go: the species code ("colpal" then Enter stores the wood
// pigeon), the first weather code, the first coordinate of the location grid.
TEST_F(RecordGridsTest, EachGridReachedByTabTakesTheKeysInItsFirstCellOpenToTyping)
{
    ASSERT_TRUE(testing_support::tabInto(controls(*w).flx_Espèces));
    EXPECT_EQ(species().col(), SpeciesCodeColumn);
    type("colpal");
    enter();
    EXPECT_EQ(row(species(), 1), "O\tCOLPAL\tPigeon ramier\t\t\t\t\t0\t");

    controls(*w).ogl_Divers->setCurrentIndex(2);
    Grid& weather = controls(*w).flx_Date_Météo->grid();
    ASSERT_TRUE(testing_support::tabInto(controls(*w).flx_Date_Météo));
    EXPECT_EQ(weather.col(), 2);
    type("3");
    enter();
    EXPECT_EQ(weather.cell(weather.row(), 2), "3");

    controls(*w).ogl_Divers->setCurrentIndex(1);
    controls(*w).ogl_Parcelles->setCurrentIndex(0);
    GridView* location = controls(*w).flx_Coordonnées;
    ASSERT_TRUE(testing_support::tabInto(location));
    EXPECT_EQ(location->grid().col(), LocLongitude);
    type("4");
    ASSERT_TRUE(location->isEditing());
    EXPECT_EQ(location->editCol(), LocLongitude);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
}

// A weather code typed into its cell: the list's code stored, its label shown.
TEST_F(RecordGridsTest, WeatherCodeTyped)
{
    controls(*w).ogl_Divers->setCurrentIndex(2);
    Grid& weather = controls(*w).flx_Date_Météo->grid();
    typeInto(controls(*w).flx_Date_Météo, 2, 3, "2");
    EXPECT_EQ(weather.cell(2, 3), "2");
    EXPECT_EQ(weather.displayText(2, 3), "2 - Bruine");
    EXPECT_TRUE(w->isModified());
}

// The keys reach the commands: Ctrl+V (rows looked up and totalled, the unknown species told),
// Ctrl+B (after its question), Delete in a parcel grid (cells emptied, rows kept).
TEST_F(RecordGridsTest, KeyboardCommands)
{
    QGuiApplication::clipboard()->setText("ALAARV\t\t1\t\t2\r\n\tPie bavarde\t3\r\nXXXYYY\tMa pie\t1\r\n");
    species().select(4, 2);
    env.dialogs().answer(mb::OK);
    key(controls(*w).flx_Espèces, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(species().rangeText({4, 1, 6, 9}),
              "O\tALAARV\tAlouette des champs\t1\t\t2\t\t3\t\r"
              "O\tPICPIC\tPie bavarde\t3\t\t\t\t3\t\r\t\tMa pie\t1\t\t\t\t\t");
    EXPECT_TRUE(env.dialogs().texts().last().startsWith("L'espèce « XXXYYY » est inconnue"));

    species().select(4, 2, 1, 4);
    env.dialogs().answer(mb::Yes);
    key(controls(*w).flx_Espèces, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(env.dialogs().texts().last(),
              "4 lignes sélectionnées par la valeur \nALAARV\tAlouette des champs\t1");
    EXPECT_EQ(row(species(), 1), "O\tALAARV\tAlouette des champs\t1\t\t\t\t1\t");

    Grid& weather = controls(*w).flx_Date_Météo->grid();
    weather.select(1, 1, 2, 5);
    key(controls(*w).flx_Date_Météo, Qt::Key_Delete);
    EXPECT_EQ(weather.rangeText({1, 1, 2, 5}), "Parcelle N°01\t\t\t\t\rParcelle N°02\t\t\t\t");
}

// With the learning mode a species asks once: after Yes it is accepted silently, and the species
// table file keeps its tick once the window is closed.
TEST_F(RecordGridsTest, LearningModeAsksOncePerSpecies)
{
    common::setOptionChecked("SaisieEsp", true);
    env.dialogs().answer(mb::Yes);
    typeInto(controls(*w).flx_Espèces, 1, 2, "PICPIC");
    typeInto(controls(*w).flx_Espèces, 2, 3, "Pie bavarde");
    EXPECT_EQ(species().rangeText({1, 2, 2, 2}), "PICPIC\rPICPIC");
    ASSERT_EQ(env.dialogs().texts().size(), 1) << "asked once, on the species stored";
    EXPECT_TRUE(env.dialogs().texts().first().contains("PICPIC/Pie bavarde"));

    env.dialogs().answer(mb::Yes); // closing without saving
    w->close();
    Grid table;
    ASSERT_TRUE(grid::GridFile::load(table, QDir(env.programFolder()).filePath("Espèces.DOV"),
                                     grid::GridFile::Complete));
    EXPECT_EQ(table.checkState(table.findRow("PICPIC", 1, 2), 5), Grid::Checked);
}

// The commune chosen goes into every parcel row, unticking a parcel checked against another
// commune; the department chosen offers its communes and refreshes the status.
TEST_F(RecordGridsTest, CommuneChoiceFillsEveryRow)
{
    w->applyParcelCount(4);
    Grid& loc = controls(*w).flx_Coordonnées->grid();
    loc.setCheckState(2, 12, Grid::Checked);
    const auto chooseItem = [](QComboBox* combo, const QString& text) {
        const int i = combo->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        combo->setCurrentIndex(i);
        Q_EMIT combo->activated(i);
    };
    chooseItem(controls(*w).cbo_Dept, "07 - Ardèche");
    EXPECT_EQ(controls(*w).cbo_Communes->findText("Valence"), -1);
    EXPECT_TRUE(controls(*w).txt_Statut->text().startsWith("Un ou plusieurs éléments essentiels"));
    chooseItem(controls(*w).cbo_Communes, "Privas");
    for (int p = 1; p <= 4; ++p)
        EXPECT_EQ(loc.rangeText({p, 2, p, 3}), "07 - Ardèche\tPrivas") << p;
    EXPECT_EQ(loc.checkState(2, 12), Grid::Unchecked);
    EXPECT_TRUE(controls(*w).txt_Nom_Site->text().startsWith("SHOC-07~Privas~"));
}

// Closed with a count being typed: the count is stored (its total computed) before the closing
// question, which the change brings.
TEST_F(RecordGridsTest, ClosedWithACellBeingTyped)
{
    ASSERT_FALSE(w->isModified());
    ASSERT_TRUE(testing_support::typeCell(controls(*w).flx_Espèces, 1, 4, "12", Qt::Key_unknown));
    env.dialogs().answer(mb::No);
    EXPECT_FALSE(w->close());
    EXPECT_EQ(env.dialogs().texts(),
              QStringList{"ATTENTION !\n\nVous fermez la fenêtre sans avoir sauvegardé les données "
                          "modifiées.\n\nEst-ce normal ?"});
    EXPECT_FALSE(controls(*w).flx_Espèces->isEditing());
    EXPECT_EQ(row(species(), 1), "\t\t\t12\t\t\t\t12\t");
}

// Destroyed with a cell being typed (the main window going, the program ending): the edit is
// dropped, nothing is asked or written, and nothing reaches the window as it goes.
TEST_F(RecordGridsTest, DestroyedWithACellBeingTyped)
{
    const struct
    {
        int page;
        GridView* record_samples::RecordControls::*view;
        int row, col;
        const char* typed;
    } cases[] = {
        {3, &record_samples::RecordControls::flx_Espèces, 1, SpeciesFirstCountColumn, "12"},
        {3, &record_samples::RecordControls::flx_Espèces, 1, SpeciesNameColumn, "pie b"},
        {1, &record_samples::RecordControls::flx_Coordonnées, 1, LocLongitude, "801000"},
        {2, &record_samples::RecordControls::flx_Date_Météo, 1, 3, "2"},
    };
    const QByteArray before = storedBytes();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        if (!w)
            open();
        ASSERT_TRUE(w);
        controls(*w).ogl_Divers->setCurrentIndex(c.page);
        ASSERT_TRUE(testing_support::typeCell(controls(*w).*c.view, c.row, c.col, c.typed, Qt::Key_unknown));
        w.reset();
        QCoreApplication::processEvents();
        EXPECT_TRUE(env.dialogs().asked().isEmpty()) << env.dialogs().texts().join('|').toStdString();
        EXPECT_EQ(storedBytes(), before);
    }
}
