// The windows on a laptop's screen of 1366x768 pixels (offscreen, a screen of that size): the main
// window opens over the screen's free area and where the user left it; in it, every page of the
// record window is seen without scrolling sideways, every tab in sight is chosen with the mouse,
// and the record list opens within the main window.

#include "common/Globals.h"
#include "common/Settings.h"
#include "data/StarterTables.h"
#include "grid/Grid.h"
#include "grid/GridView.h"
#include "mainwindow/frm_Menu.h"
#include "record/RecordLayout.h"
#include "record/RecordStore.h"
#include "record/SiteName.h"
#include "record/frm_Releve_SHOC.h"
#include "tests/record/RecordWindowControls.h"
#include "tests/samples/RecordSamples.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

using grid::Grid;
using record::RecordMode;
using record::RecordRequest;
using record::SurveyRecord;
using record_samples::controls;

namespace {

class FitScreenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const data::TableInstallation& t : data::installStarterTables(env.programFolder()))
            ASSERT_EQ(t.state, data::InstallState::Installed) << t.error.toStdString();
        gstr_Dossier = env.dataFolder();
        ASSERT_EQ(freeArea(), QRect(0, 0, 1366, 768)) << "the laptop's screen";
    }

    static QRect freeArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    // A complete record of eight parcels, their positions checked, at a place of a long name.
    static SurveyRecord eightParcels(const QString& place, int passage)
    {
        SurveyRecord r = record_samples::twoParcels();
        r.habitatType = "CH - Culture de céréales d’hiver";
        r.network = "SHOC / Suivi hivernal des oiseaux communs";
        r.placeName = place;
        r.passage = passage;
        r.parcels[0].location.validated = true;
        r.parcels[0].location.information.clear();
        while (r.parcels.size() < 8)
            r.parcels.append(r.parcels[1]);
        r.siteName = record::sub_Build_Nom_Zone(r).text;
        return r;
    }
    QString save(const SurveyRecord& r)
    {
        const record::SaveResult s = record::RecordStore(env.dataFolder()).save(r);
        EXPECT_TRUE(s.result.ok) << s.result.error.toStdString();
        return s.fileName;
    }

    // The main window as the program shows it.
    static void showOnScreen(frm_Menu& menu)
    {
        menu.showOnScreen();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
        QApplication::processEvents();
    }

    // A tab in sight is clicked: true when it became the current one.
    static bool clickTab(QTabBar* bar, int index)
    {
        const QRect tab = bar->tabRect(index);
        EXPECT_TRUE(bar->rect().contains(tab)) << bar->tabText(index).toStdString() << " out of sight";
        QTest::mouseClick(bar, Qt::LeftButton, {}, tab.center());
        QApplication::processEvents();
        return bar->currentIndex() == index;
    }

    static bool scrollsSideways(QWidget* page)
    {
        auto* area = qobject_cast<QScrollArea*>(page);
        return !area || area->horizontalScrollBar()->maximum() > 0;
    }

    testing_support::TestEnvironment env;
};

} // namespace

TEST_F(FitScreenTest, TheMainWindowOpensOverTheFreeAreaThenWhereItWasLeft)
{
    {
        frm_Menu menu;
        showOnScreen(menu);
        EXPECT_TRUE(menu.isMaximized());
        EXPECT_TRUE(freeArea().contains(menu.frameGeometry()));
        EXPECT_GE(menu.width(), freeArea().width() - 10);
        EXPECT_GE(menu.height(), freeArea().height() - 40);

        // The user brings it back from maximised and leaves it smaller.
        menu.showNormal();
        menu.setGeometry(120, 90, 1000, 600);
        ASSERT_TRUE(menu.close());
    }
    frm_Menu again;
    showOnScreen(again);
    EXPECT_FALSE(again.isMaximized());
    EXPECT_EQ(again.geometry(), QRect(120, 90, 1000, 600));
}

TEST_F(FitScreenTest, EveryPageOfTheRecordWindowFitsAndEveryTabIsChosenWithTheMouse)
{
    ASSERT_TRUE(sub_Reg_Write_HKLM(common::kAdminSection, "PSWD", "KORVEL-ADM")); // all five pages
    frm_Menu menu;
    showOnScreen(menu);
    QMdiSubWindow* frame =
        menu.openRecord(RecordRequest{RecordMode::Update, save(eightParcels("Les Baumes", 2)), {}});
    ASSERT_TRUE(frame);
    QApplication::processEvents();
    auto* w = qobject_cast<frm_Releve_SHOC*>(frame->widget());
    EXPECT_TRUE(menu.mdiArea()->viewport()->rect().contains(frame->geometry()));
    ASSERT_EQ(controls(*w).ogl_Divers->count(), 5);

    QTabBar* pages = controls(*w).ogl_Divers->tabBar();
    for (int page = 0; page < controls(*w).ogl_Divers->count(); ++page) {
        ASSERT_TRUE(clickTab(pages, page)) << page;
        if (page == 1) {
            for (int sub = 0; sub < controls(*w).ogl_Parcelles->count(); ++sub) {
                ASSERT_TRUE(clickTab(controls(*w).ogl_Parcelles->tabBar(), sub)) << sub;
                EXPECT_FALSE(scrollsSideways(controls(*w).ogl_Divers->currentWidget())) << "parcels " << sub;
            }
        }
        if (page == 3) {
            for (int tab = 0; tab < controls(*w).Tab_Relevé->count(); ++tab) {
                EXPECT_TRUE(clickTab(controls(*w).Tab_Relevé, tab));
                EXPECT_EQ(w->shownParcel(), tab + 1);
            }
        }
        EXPECT_FALSE(scrollsSideways(controls(*w).ogl_Divers->currentWidget())) << "page " << page;
    }
    EXPECT_TRUE(env.dialogs().asked().isEmpty());

    // The species grid's names: as wide as the longest name of the species table.
    const Grid& table = w->references().speciesTable();
    int nameColumn = -1;
    for (int c = 0; c < table.cols(); ++c)
        if (table.cell(0, c) == "Nom français")
            nameColumn = c;
    ASSERT_GE(nameColumn, 0);
    QString longest;
    for (int r = 1; r < table.rows(); ++r)
        if (table.cell(r, nameColumn).size() > longest.size())
            longest = table.cell(r, nameColumn);
    const Grid& species = controls(*w).flx_Espèces->grid();
    QFont font = controls(*w).flx_Espèces->font();
    font.setFamily(species.fontName(1, 3));
    font.setPointSizeF(species.fontSize(1, 3));
    EXPECT_GT(controls(*w).flx_Espèces->columnWidth(2), QFontMetrics(font).horizontalAdvance(longest))
        << longest.toStdString();
}

// The record list opens within the main window's area, whatever the length of the names it lists:
// its grid scrolls sideways when its columns pass its width.
TEST_F(FitScreenTest, TheRecordListOpensWithinTheMainWindow)
{
    const QString places[] = {"Les Grandes Terres du Plateau de la Fontaine Vieille",
                              "Le Champ de la Croix du Chemin Neuf des Anciens Moulins"};
    for (const QString& place : places)
        for (int passage : {1, 2})
            save(eightParcels(place, passage));
    frm_Menu menu;
    showOnScreen(menu);
    menu.item("Saisie", 2)->trigger();
    ASSERT_TRUE(menu.listWindow());
    QApplication::processEvents();
    EXPECT_TRUE(menu.mdiArea()->viewport()->rect().contains(menu.listWindow()->geometry()));
}
