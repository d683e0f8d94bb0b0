// The record window's wiring, offscreen, on the starter tables: what each mode shows, the lists
// restored by exact text, the close guard, the species write-back and the layout at 1366x768.
// The rules themselves (what a mode opens, the record file, the site name) are the core's tests.

#include "common/Globals.h"
#include "common/Settings.h"
#include "data/StarterTables.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "grid/GridView.h"
#include "mainwindow/frm_Menu.h"
#include "record/RecordLayout.h"
#include "record/RecordStore.h"
#include "record/SiteName.h"
#include "record/frm_Releve_SHOC.h"
#include "recordlist/frm_Liste_Releves_SHOC.h"
#include "tests/record/RecordWindowControls.h"
#include "tests/record/RecordWindowFixture.h"
#include "tests/samples/RecordSamples.h"
#include "tests/support/RecordingPointer.h"
#include "tests/support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

using namespace record;
using grid::Grid;
using grid::GridView;
namespace mb = platform::mb;
using record_samples::controls;
using Window = std::unique_ptr<frm_Releve_SHOC>;

namespace {

QStringList items(const QComboBox* combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}
QStringList tabs(const QTabWidget* t)
{
    QStringList out;
    for (int i = 0; i < t->count(); ++i)
        out << t->tabText(i);
    return out;
}
QStringList header(const Grid& g)
{
    QStringList out;
    for (int c = 0; c < g.cols(); ++c)
        out << g.cell(0, c);
    return out;
}

class RecordWindowTest : public record_samples::RecordWindowFixture
{
protected:
    // The sample record on the starter tables, as the window gives it back.
    static SurveyRecord sample()
    {
        SurveyRecord r = record_samples::twoParcels();
        r.habitatType = "CH - Culture de céréales d’hiver";
        r.network = "SHOC / Suivi hivernal des oiseaux communs";
        r.notValidated = false;
        r.siteName = sub_Build_Nom_Zone(r).text;
        return r;
    }
    QString save(const SurveyRecord& r)
    {
        const SaveResult s = RecordStore(env.dataFolder()).save(r);
        EXPECT_TRUE(s.result.ok) << s.result.error.toStdString();
        return s.fileName;
    }
    static Window open(RecordMode mode, const QString& file = QString(), const QString& site = QString())
    {
        return Window(frm_Releve_SHOC::openWindow(RecordRequest{mode, file, site}));
    }
};

} // namespace

TEST_F(RecordWindowTest, NewSitePagesGridsAndLists)
{
    const Window w = open(RecordMode::New);
    ASSERT_TRUE(w);
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
    EXPECT_EQ(
        w->windowTitle(),
        "Mirelot [Suivi hivernal des oiseaux des champs]  - Saisie des données relatives aux parcelles");
    EXPECT_EQ(controls(*w).fra_Générale->title(), "SHOC : nouveau relevé dans un nouveau site");
    // The stored record's page is the administrator's only: for anyone else it is not a tab.
    EXPECT_EQ(tabs(controls(*w).ogl_Divers),
              (QStringList{"Localisation et caractéristiques de la zone d'étude",
                           "Localisation et caractéristiques des parcelles", "Description du relevé",
                           "Liste des espèces contactées"}));
    EXPECT_EQ(tabs(controls(*w).ogl_Parcelles),
              (QStringList{"Localisation des parcelles", "Description des parcelles adjacentes"}));
    // The species page waits for the identification; the stored record is the administrator's.
    EXPECT_FALSE(controls(*w).ogl_Divers->isTabEnabled(3));
    EXPECT_FALSE(controls(*w).ogl_Divers->isTabVisible(4));
    EXPECT_TRUE(controls(*w).txt_Statut->text().startsWith("Un ou plusieurs éléments essentiels"));
    EXPECT_FALSE(controls(*w).cmd_Save->isEnabled());
    EXPECT_EQ(controls(*w).cmd_exit->text(), "Enregistrer\net fermer");

    EXPECT_EQ(controls(*w).cbo_Saison->count(), 17);
    EXPECT_EQ(controls(*w).cbo_Saison->currentText(), "Hiver 2009-2010");
    EXPECT_EQ(controls(*w).cbo_Réseau->currentText(), "SHOC / Suivi hivernal des oiseaux communs");
    EXPECT_EQ(controls(*w).cbo_Milieu->currentText(), "CH - Culture de céréales d’hiver");
    EXPECT_FALSE(controls(*w).cbo_Milieu->isEnabled());
    EXPECT_FALSE(controls(*w).txt_Nbr_Relevés->isEnabled());
    EXPECT_EQ(controls(*w).cbo_Dept->currentIndex(), -1);
    EXPECT_GT(controls(*w).cbo_Dept->count(), 90);
    EXPECT_EQ(controls(*w).cbo_Communes->count(), 0);
    EXPECT_EQ(items(controls(*w).cbo_Quid_Coord),
              (QStringList{"Grades Paris", "Degrés WGS84", "Lamberts 2E", "UTM WGS84", "MGRS"}));
    EXPECT_EQ(controls(*w).cbo_Quid_Coord->itemData(1).toInt(), kCoordWgs84);
    EXPECT_EQ(controls(*w).cbo_Quid_Coord->currentIndex(), 2);
    EXPECT_FALSE(controls(*w).cbo_Quid_Coord->isEnabled());

    // The department chosen offers its communes.
    controls(*w).cbo_Dept->setCurrentIndex(controls(*w).cbo_Dept->findText("26 - Drôme"));
    EXPECT_GT(controls(*w).cbo_Communes->findText("Valence"), -1);

    EXPECT_EQ(controls(*w).txt_Nbr_Relevés->text(), "5");
    ASSERT_EQ(controls(*w).Tab_Relevé->count(), 5);
    EXPECT_EQ(controls(*w).Tab_Relevé->tabText(4), "Parcelle N°5");
    const Grid& loc = controls(*w).flx_Coordonnées->grid();
    EXPECT_EQ(header(loc).mid(4, 2), (QStringList{"Lieu-dit", "Zone\rUTM"}));
    EXPECT_EQ(loc.rows(), 6);
    EXPECT_EQ(loc.cols(), 16);
    EXPECT_EQ(loc.fixedCols(), 2);
    EXPECT_EQ(loc.cell(5, 1), "Parcelle N°05");
    for (int c = 1; c < 16; ++c) {
        // Hidden by the set-up, and the UTM zone and MGRS square of Lambert II étendu, chosen first.
        EXPECT_EQ(loc.colHidden(c), QList<int>({2, 3, 4, 5, 8, 9, 13, 14}).contains(c)) << c;
        EXPECT_EQ(loc.colDataType(c) == Grid::DataType::Boolean, c == 11 || c == 12) << c;
        EXPECT_EQ(loc.isReadOnly(3, c), c == 1 || (c >= 12 && c <= 14)) << c;
    }
    const Grid& hab = controls(*w).flx_Desc_Parcelles->grid();
    EXPECT_EQ(header(hab).mid(2), RecordLayout::habitatTitles());
    EXPECT_EQ(hab.colDataType(19), Grid::DataType::Boolean);
    const Grid& weather = controls(*w).flx_Date_Météo->grid();
    EXPECT_EQ(header(weather),
              (QStringList{"", "Parcelle", "Couverture nuageuse", "Pluie", "Vent", "Visibilité"}));
    EXPECT_EQ(weather.colEditList(4), " |#1;1 - Absent|#2;2 - Faible|#3;3 - Moyen à fort");
    EXPECT_TRUE(weather.isReadOnly(2, 1));
    const Grid& species = controls(*w).flx_Espèces->grid();
    EXPECT_EQ(species.rows(), 50);
    EXPECT_EQ(header(species).mid(1), speciesTitles());
    EXPECT_TRUE(species.isReadOnly(4, 1) && species.isReadOnly(4, 8) && !species.isReadOnly(4, 2));
    EXPECT_EQ(species.colEditList(2), w->references().speciesCodeList());
    EXPECT_EQ(species.defaultFontName(), frm_Releve_SHOC::speciesFontFamily());
    EXPECT_EQ(frm_Releve_SHOC::speciesFontFamily() == "Arial",
              QFontDatabase::families().contains("Arial", Qt::CaseInsensitive));
}

TEST_F(RecordWindowTest, TheHourglassGoesThroughThePointerService)
{
    testing_support::RecordingPointer screen;
    env.usePointer(&screen);
    const Window w = open(RecordMode::Update, save(sample()));
    ASSERT_TRUE(w);
    EXPECT_TRUE(screen.calls.contains("hourglass")) << "the loading shows the hourglass";
    EXPECT_EQ(screen.calls.count("pop"), screen.calls.count("hourglass") + screen.calls.count("arrow"));
    EXPECT_FALSE(screen.shown().has_value()) << "every hourglass shown was taken back";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "nothing set the pointer behind the service";
}

TEST_F(RecordWindowTest, StoredRecordPageForTheAdministratorOnly)
{
    for (const char* pswd : {"KORVEL-ADM", "korvel-adm", ""}) {
        ASSERT_TRUE(sub_Reg_Write_HKLM(common::kAdminSection, "PSWD", pswd));
        const Window w = open(RecordMode::New);
        EXPECT_EQ(controls(*w).ogl_Divers->isTabVisible(4), QString(pswd) == "KORVEL-ADM") << pswd;
        EXPECT_EQ(controls(*w).ogl_Divers->tabText(4),
                  QString(pswd) == "KORVEL-ADM" ? "Fichier sauvegardé" : "")
            << pswd;
    }
}

// A record written by the record core reads back into the same widget values.
TEST_F(RecordWindowTest, UpdateShowsTheStoredRecord)
{
    const SurveyRecord r = sample();
    const QString name = save(r);
    const Window w = open(RecordMode::Update, name);
    ASSERT_TRUE(w);
    EXPECT_EQ(controls(*w).fra_Générale->title(), "EPS : modification du relevé " + name);
    EXPECT_EQ(w->currentRecord(), r);
    EXPECT_EQ(controls(*w).cbo_Communes->currentText(), "Valence");
    EXPECT_TRUE(controls(*w).opt_Passage[1]->isChecked());
    EXPECT_TRUE(controls(*w).opt_Total[1]->isChecked());
    EXPECT_EQ(controls(*w).Txt_Commentaires->toPlainText(), "Site venté\nhaies basses");
    EXPECT_EQ(controls(*w).flx_Coordonnées->grid().checkState(1, 11), Grid::Checked);
    EXPECT_EQ(controls(*w).flx_Date_Météo->grid().cell(2, 2), "3");
    EXPECT_EQ(controls(*w).txt_Heure->text(), "08:30");
    EXPECT_EQ(controls(*w).flx_Espèces->grid().cell(1, 2), "ALAARV");
    controls(*w).Tab_Relevé->setCurrentIndex(1);
    EXPECT_EQ(controls(*w).txt_Heure->text(), "09:20");
    EXPECT_TRUE(controls(*w).chk_Chasse[1]->isChecked());
    EXPECT_EQ(controls(*w).flx_Espèces->grid().cell(1, 2), "");
    EXPECT_EQ(controls(*w).flx_EPS->grid().cell(2, 3), "Valence");
    EXPECT_TRUE(controls(*w).ogl_Divers->isTabEnabled(3));
    EXPECT_TRUE(controls(*w).cmd_Save->isEnabled());
    EXPECT_TRUE(env.dialogs().asked().isEmpty());

    // A file that cannot be read opens nothing, and says why.
    env.dialogs().answer(mb::OK);
    EXPECT_FALSE(open(RecordMode::Update, "absent.FLX2009"));
    EXPECT_TRUE(env.dialogs().texts().last().contains("absent.FLX2009"));
}

TEST_F(RecordWindowTest, KnownSiteModes)
{
    SurveyRecord r = sample();
    save(r);
    r.passage = 3;
    save(r);

    const Window next = open(RecordMode::NewPassage, QString(), r.siteName);
    EXPECT_EQ(controls(*next).fra_Générale->title(), "SHOC : nouveau relevé dans le site " + r.siteName);
    EXPECT_EQ(controls(*next).Txt_Nom_Observateur->text(), "DUPONT");
    EXPECT_EQ(controls(*next).flx_Coordonnées->grid().cell(1, 6), "800123");
    EXPECT_EQ(controls(*next).txt_Date->text(), "");
    EXPECT_EQ(controls(*next).txt_Heure->text(), "");
    EXPECT_FALSE(controls(*next).opt_Passage[2]->isEnabled());
    EXPECT_TRUE(controls(*next).opt_Passage[3]->isEnabled());
    EXPECT_EQ(controls(*next).flx_EPS->grid().cell(5, 3), "");

    const Window winter = open(RecordMode::NextWinter, QString(), r.siteName);
    EXPECT_EQ(controls(*winter).cbo_Saison->currentText(), "Hiver 2010-2011");
    EXPECT_EQ(controls(*winter).flx_Coordonnées->grid().cell(1, 6), "");
    EXPECT_TRUE(controls(*winter).opt_Passage[2]->isEnabled());

    // A site without a file: said, and a new record for that site.
    env.dialogs().answer(mb::OK);
    const QString other = "SHOC-07~Privas~Le Bois~MARTIN Paul~Hiver 2009-2010";
    const Window fresh = open(RecordMode::NewPassage, QString(), other);
    EXPECT_EQ(fresh->mode(), RecordMode::New);
    EXPECT_TRUE(env.dialogs().texts().last().startsWith("Aucun relevé du site « " + other));
    EXPECT_EQ(controls(*fresh).cbo_Dept->currentText(), "07 - Ardèche");
    EXPECT_EQ(controls(*fresh).cbo_Communes->currentText(), "Privas");
    EXPECT_EQ(controls(*fresh).txt_Prénom_Observateur->text(), "Paul");
}

// Lists are restored by their whole text: a commune missing from the table is not replaced by one
// whose name begins with it; a department outside the study departments is added to them.
TEST_F(RecordWindowTest, ListsRestoredByExactTextOnly)
{
    ASSERT_TRUE(sub_Reg_Write_HKLM(common::kParametersSection, "Départements d'étude", "07"));
    SurveyRecord r = sample();
    r.commune = "Val";
    r.network = "RZO / Autre";
    r.siteName = sub_Build_Nom_Zone(r).text;
    const QString name = save(r);
    env.dialogs().answer(mb::OK);
    const Window w = open(RecordMode::Update, name);
    EXPECT_EQ(fun_Get_Setting_Str(common::kParametersSection, "Départements d'étude", ""), "07;26");
    EXPECT_EQ(controls(*w).cbo_Dept->currentText(), "26 - Drôme");
    EXPECT_EQ(controls(*w).cbo_Communes->currentIndex(), -1);
    EXPECT_EQ(controls(*w).cbo_Réseau->currentIndex(), -1);
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(
        env.dialogs().asked()[0].text,
        "La commune « Val » du relevé n'est pas parmi les communes de son département : le relevé la "
        "garde tant qu'aucune autre n'est choisie.\n\nLe réseau « RZO / Autre » du relevé n'est pas dans "
        "la table des réseaux : le relevé le garde tant qu'aucun autre n'est choisi.");
}

// Every parcel of a reopened record has a species grid, the sixth and later ones as the first
// five: a parcel whose block holds its title only is saved again with the species header.
TEST_F(RecordWindowTest, EveryReopenedParcelHasASpeciesGrid)
{
    SurveyRecord r = sample();
    while (r.parcels.size() < 7)
        r.parcels.append(r.parcels[1]);
    for (Parcel& p : r.parcels)
        p.species.reset();
    const Window w = open(RecordMode::Update, save(r));
    ASSERT_TRUE(w);
    const SurveyRecord shown = w->currentRecord();
    ASSERT_EQ(shown.parcels.size(), 7);
    for (int p = 0; p < 7; ++p)
        EXPECT_EQ(shown.parcels[p].species, SpeciesTable{}) << "parcel " << p + 1;
}

// A record whose second parcel has lost its species block opens without a word: that parcel empty
// (no species, no start time, no duration), the first one as stored.
TEST_F(RecordWindowTest, AParcelWithoutItsSpeciesBlockOpensEmpty)
{
    const SurveyRecord r = sample();
    const QString name = RecordStore::fileName(r.siteName, r.passage);
    record_samples::writeRecord(QDir(env.dataFolder()).filePath(name), r, [](Grid& g) {
        g.setRows(g.findRow(RecordLayout::kTitleSpecies + "2", 0, 1));
    });
    const Window w = open(RecordMode::Update, name);
    ASSERT_TRUE(w);
    EXPECT_TRUE(env.dialogs().asked().isEmpty()) << env.dialogs().texts().join('|').toStdString();
    EXPECT_EQ(controls(*w).txt_Heure->text(), "08:30");
    EXPECT_EQ(controls(*w).flx_Espèces->grid().cell(1, 2), "ALAARV");
    controls(*w).Tab_Relevé->setCurrentIndex(1);
    EXPECT_TRUE(env.dialogs().asked().isEmpty()) << env.dialogs().texts().join('|').toStdString();
    EXPECT_EQ(controls(*w).txt_Heure->text(), "");
    EXPECT_EQ(controls(*w).txt_Durée->text(), "");
    EXPECT_FALSE(controls(*w).chk_Chasse[1]->isChecked());
    EXPECT_EQ(controls(*w).flx_Espèces->grid().cell(1, 2), "");
    EXPECT_EQ(controls(*w).flx_Coordonnées->grid().cell(2, 6), "801000");
    const SurveyRecord shown = w->currentRecord();
    EXPECT_EQ(shown.parcels[0], r.parcels[0]);
    EXPECT_EQ(shown.parcels[1].species, SpeciesTable{});
    EXPECT_EQ(shown.parcels[1].startTime, "");
}

TEST_F(RecordWindowTest, CloseGuardAndSpeciesWriteBack)
{
    const QString speciesPath = QDir(env.programFolder()).filePath("Espèces.DOV");
    const QByteArray before = testing_support::readBytes(speciesPath);
    frm_Menu menu;
    QMdiSubWindow* frame = menu.openRecord(RecordRequest{});
    ASSERT_TRUE(frame);
    EXPECT_EQ(menu.openRecord(RecordRequest{RecordMode::Update, "x", ""}), frame) << "one at a time";
    auto* w = qobject_cast<frm_Releve_SHOC*>(frame->widget());
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->confirmSpecies("PICPIC"));
    EXPECT_FALSE(w->confirmSpecies("NOPE"));

    // Changed: the close box and the main window ask; No keeps both open.
    QTest::keyClicks(controls(*w).txt_Lieudit, "Les Plantes");
    EXPECT_TRUE(w->isModified());
    env.dialogs().answer(mb::No);
    env.dialogs().answer(mb::No);
    EXPECT_FALSE(frame->close());
    EXPECT_FALSE(menu.close());
    ASSERT_EQ(env.dialogs().asked().size(), 2);
    EXPECT_EQ(env.dialogs().asked()[0].text,
              "ATTENTION !\n\nVous fermez la fenêtre sans avoir sauvegardé les "
              "données modifiées.\n\nEst-ce normal ?");
    EXPECT_EQ(env.dialogs().asked()[0].style, mb::YesNo | mb::Question | mb::DefaultButton2);
    EXPECT_EQ(menu.recordWindow(), frame);
    EXPECT_EQ(testing_support::readBytes(speciesPath), before);

    // Yes: closed, the confirmed species written back, the record list shown again.
    menu.item("Saisie", 2)->trigger();
    const QPointer<QMdiSubWindow> list = menu.listWindow();
    list->hide();
    env.dialogs().answer(mb::OK); // not saveable: nothing is written
    env.dialogs().answer(mb::Yes);
    controls(*w).cmd_exit->click();
    EXPECT_FALSE(menu.recordWindow()) << "closed, even before its frame is deleted";
    ASSERT_TRUE(list);
    EXPECT_FALSE(list->isHidden());
    Grid table;
    ASSERT_TRUE(grid::GridFile::load(table, speciesPath, grid::GridFile::Complete));
    const int magpie = table.findRow("PICPIC", 1, 2);
    EXPECT_EQ(table.checkState(magpie, 5), Grid::Checked);
    EXPECT_EQ(table.checkState(table.findRow("ALAARV", 1, 2), 5), Grid::Unchecked);

    // Unchanged: closed without a question, the species table left as it is.
    const QByteArray written = testing_support::readBytes(speciesPath);
    frame = menu.openRecord(RecordRequest{});
    env.dialogs().clearAsked();
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
    EXPECT_EQ(testing_support::readBytes(speciesPath), written);
}

// Ctrl+F4 closes the active child window as its close box does: a changed record asks its
// question first, No keeping it open, Yes closing it. Ctrl+F4 is the main window's own, whatever
// key the desktop gives the frames' own Close (Ctrl+F4 here, as on Windows; Ctrl+W alone on Linux
// desktops, where the frame knows no Ctrl+F4: its key taken away below, as there).
TEST_F(RecordWindowTest, CtrlF4ClosesTheRecordWindowThroughItsQuestion)
{
    for (const bool linuxDesktop : {false, true}) {
        SCOPED_TRACE(linuxDesktop ? "the frame's Close on Ctrl+W alone" : "the frame's Close on Ctrl+F4 too");
        env.dialogs().clearAsked();
        frm_Menu menu;
        menu.resize(1000, 700);
        menu.show();
        menu.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&menu));
        QMdiSubWindow* frame = menu.openRecord(RecordRequest{});
        ASSERT_TRUE(frame);
        if (linuxDesktop)
            for (QAction* a : frame->actions()) {
                QList<QKeySequence> keys = a->shortcuts();
                keys.removeAll(QKeySequence(Qt::CTRL | Qt::Key_F4));
                a->setShortcuts(keys);
            }
        auto* w = qobject_cast<frm_Releve_SHOC*>(frame->widget());
        ASSERT_TRUE(w);
        controls(*w).txt_Lieudit->setFocus();
        QTest::keyClicks(controls(*w).txt_Lieudit, "Les Plantes");
        ASSERT_TRUE(w->isModified());

        env.dialogs().answer(mb::No);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4, Qt::ControlModifier);
        QApplication::processEvents();
        EXPECT_EQ(env.dialogs().texts(),
                  QStringList{"ATTENTION !\n\nVous fermez la fenêtre sans avoir sauvegardé les données "
                              "modifiées.\n\nEst-ce normal ?"});
        EXPECT_EQ(menu.recordWindow(), frame) << "No: the record stays open";

        env.dialogs().answer(mb::Yes);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4, Qt::ControlModifier);
        QApplication::processEvents();
        EXPECT_EQ(env.dialogs().texts().size(), 2);
        EXPECT_FALSE(menu.recordWindow()) << "Yes: closed";
    }
}

TEST_F(RecordWindowTest, TheRecordListHidesWhileTheRecordIsOpenAndIsRefreshedWhenItSaves)
{
    const QString name = save(sample());
    frm_Menu menu;
    menu.item("Saisie", 2)->trigger();
    ASSERT_TRUE(menu.listWindow());
    auto* list = qobject_cast<frm_Liste_Releves_SHOC*>(menu.listWindow()->widget());
    ASSERT_TRUE(list);
    ASSERT_EQ(list->grid().rows(), 2);
    EXPECT_EQ(list->grid().rowKey(1), name);

    env.dialogs().answer(mb::Yes);
    list->cmd_maj->click();
    QMdiSubWindow* frame = menu.recordWindow();
    ASSERT_TRUE(frame);
    auto* w = qobject_cast<frm_Releve_SHOC*>(frame->widget());
    ASSERT_TRUE(w);
    EXPECT_TRUE(menu.listWindow()->isHidden());

    // A record written under a new name is listed as soon as the window says so.
    const QString copy = QStringLiteral("SHOC-ZZ~Passage N1.FLX2009");
    ASSERT_TRUE(QFile::copy(QDir(env.dataFolder()).filePath(name), QDir(env.dataFolder()).filePath(copy)));
    Q_EMIT w->recordSaved(copy);
    ASSERT_EQ(list->grid().rows(), 3);
    EXPECT_EQ(list->grid().rowKey(2), copy);

    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(menu.listWindow()->isHidden());
}

// At 1366x768 every page fits without scrolling, the parcel grids show every parcel row, and the
// two-line titles are shown in full.
TEST_F(RecordWindowTest, EveryPageFitsA1366x768Screen)
{
    frm_Menu menu;
    menu.resize(1366, 768 - 60); // the screen less the desktop's panel and the title bar
    menu.show();
    QApplication::processEvents();
    QMdiSubWindow* frame = menu.openRecord(RecordRequest{RecordMode::Update, save(sample()), {}});
    ASSERT_TRUE(frame);
    auto* w = qobject_cast<frm_Releve_SHOC*>(frame->widget());
    w->applyParcelCount(8);
    // Positions taken as validated: leaving the locations page does not send the test back to it.
    for (int p = 1; p <= 8; ++p)
        controls(*w).flx_Coordonnées->grid().setCheckState(p, 12, Grid::Checked);
    for (int page = 0; page < controls(*w).ogl_Divers->count(); ++page) {
        controls(*w).ogl_Divers->setCurrentIndex(page);
        for (int sub = 0; sub < (page == 1 ? 2 : 1); ++sub) {
            controls(*w).ogl_Parcelles->setCurrentIndex(sub);
            QApplication::processEvents();
            const auto* area = qobject_cast<QScrollArea*>(controls(*w).ogl_Divers->currentWidget());
            EXPECT_EQ(area->verticalScrollBar()->maximum(), 0) << page;
            EXPECT_EQ(area->horizontalScrollBar()->maximum(), 0) << page;
        }
        if (page == 3) {
            EXPECT_GE(controls(*w).Tab_Relevé->height(), controls(*w).Tab_Relevé->sizeHint().height())
                << "parcel tabs shown";
        }
    }
    for (GridView* grid :
         {controls(*w).flx_Coordonnées, controls(*w).flx_Desc_Parcelles, controls(*w).flx_Date_Météo})
        EXPECT_EQ(grid->verticalScrollBar()->maximum(), 0) << grid->objectName().toStdString();
    for (GridView* grid : {controls(*w).flx_Coordonnées, controls(*w).flx_Desc_Parcelles})
        EXPECT_GE(grid->horizontalHeader()->height(), 2 * grid->fontMetrics().lineSpacing());
    const QHeaderView* h = controls(*w).flx_Coordonnées->horizontalHeader();
    EXPECT_GE(h->sectionSize(11 - 1), h->fontMetrics().horizontalAdvance("Réserve de chasse"));
}

// Inside the main window, Ctrl+Tab, Ctrl+Page Down and back go from page to page of the record
// window, through the page-change gate; the record window stays the active one.
TEST_F(RecordWindowTest, PageKeysGoFromPageToPageThroughTheGate)
{
    frm_Menu menu;
    menu.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&menu));
    const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(focus);
        if (focus)
            QTest::keyClick(focus, key, modifiers);
        QApplication::processEvents();
    };

    // A new record without its observer: the gate keeps the first page and shows the field.
    QMdiSubWindow* frame = menu.openRecord(RecordRequest{RecordMode::New, {}, {}});
    ASSERT_TRUE(frame);
    auto* w = qobject_cast<frm_Releve_SHOC*>(frame->widget());
    controls(*w).txt_Lieudit->setFocus();
    env.dialogs().answer(mb::OK);
    press(Qt::Key_Tab, Qt::ControlModifier);
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(env.dialogs().asked()[0].text, "Veuillez indiquer le nom de l'observateur.");
    EXPECT_EQ(controls(*w).ogl_Divers->currentIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget(), controls(*w).Txt_Nom_Observateur);
    EXPECT_EQ(menu.mdiArea()->activeSubWindow(), frame);
    ASSERT_TRUE(frame->close());

    // A complete record: the pages one after the other, round from the last to the first.
    SurveyRecord r = sample();
    for (Parcel& p : r.parcels)
        p.location.validated = true;
    frame = menu.openRecord(RecordRequest{RecordMode::Update, save(r), {}});
    ASSERT_TRUE(frame);
    w = qobject_cast<frm_Releve_SHOC*>(frame->widget());
    controls(*w).txt_Lieudit->setFocus();
    struct Step
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int page;
    };
    const Step steps[] = {
        {Qt::Key_Tab, Qt::ControlModifier, 1},
        {Qt::Key_PageDown, Qt::ControlModifier, 2},
        {Qt::Key_PageUp, Qt::ControlModifier, 1},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 0},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 3}, // round to the last
    };
    for (const Step& s : steps) {
        press(s.key, s.modifiers);
        EXPECT_EQ(controls(*w).ogl_Divers->currentIndex(), s.page) << s.key;
        EXPECT_EQ(menu.mdiArea()->activeSubWindow(), frame) << s.key;
    }
    // The page's parcel tabs come first: the arrows go from parcel to parcel.
    EXPECT_EQ(QApplication::focusWidget(), controls(*w).Tab_Relevé);
    press(Qt::Key_Right, Qt::NoModifier);
    EXPECT_EQ(w->shownParcel(), 2);
    EXPECT_EQ(env.dialogs().asked().size(), 1);
}

// In a window too narrow for its tabs, the arrows of the tab bars bring every tab into sight,
// the stored record's page hidden; a tab in sight is chosen with the mouse.
TEST_F(RecordWindowTest, TabBarsScrollToEveryTab)
{
    const Window w = open(RecordMode::Update, save(sample()));
    ASSERT_TRUE(w);
    w->applyParcelCount(12);
    w->resize(560, 500);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    for (QTabBar* bar : {controls(*w).ogl_Divers->tabBar(), controls(*w).Tab_Relevé}) {
        if (bar == controls(*w).Tab_Relevé)
            controls(*w).ogl_Divers->setCurrentIndex(3);
        QApplication::processEvents();
        const int last = bar->count() - 1;
        ASSERT_GT(bar->tabRect(last).right(), bar->width()) << "the last tab out of sight";
        QToolButton* right = nullptr;
        for (QToolButton* b : bar->findChildren<QToolButton*>())
            if (b->isVisible() && b->arrowType() == Qt::RightArrow)
                right = b;
        ASSERT_TRUE(right);
        for (int k = 0; k < 30 && right->isEnabled(); ++k)
            QTest::mouseClick(right, Qt::LeftButton);
        EXPECT_LE(bar->tabRect(last).right(), right->geometry().left()) << "the last tab in sight";
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(last).center());
        EXPECT_EQ(bar->currentIndex(), last);
    }
    EXPECT_EQ(w->shownParcel(), 12);
}
