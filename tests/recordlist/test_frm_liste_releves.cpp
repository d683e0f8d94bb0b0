// The record list window's wiring: what it lists, what its commands hand the record window, the
// deletion of the rows picked, the sort kept over a refresh and the bulk-update menu. The rules
// themselves are tested on the core.
#include "common/Globals.h"
#include "common/Settings.h"
#include "grid/GridFile.h"
#include "grid/GridView.h"
#include "platform/Dialogs.h"
#include "recordlist/frm_Liste_Releves_SHOC.h"
#include "tests/samples/ListSamples.h"
#include "tests/samples/SiblingSamples.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace recordlist;
using record::RecordMode;
using record::RecordRequest;
namespace mb = platform::mb;

namespace {

const QString kA = QStringLiteral("SHOC-A~Passage N1.FLX2009");
const QString kB = QStringLiteral("SHOC-B~Passage N1.FLX2009");
const QString kC = QStringLiteral("SHOC-C~Passage N1.FLX2009");

class ListWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gstr_Dossier = env.dataFolder();
        for (const QString& n : {kA, kB, kC})
            list_samples::writeRecord(env.dataFolder(), n, list_samples::recordOf(1, "01/12/2009"));
    }

    void open()
    {
        frm_Liste_Releves_SHOC::Hooks hooks;
        hooks.openRecord = [this](const RecordRequest& r) -> QWidget* {
            requests.append(r);
            return &recordWindow;
        };
        hooks.bulkUpdateMenu = &menu;
        window = std::make_unique<frm_Liste_Releves_SHOC>(std::move(hooks));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    QStringList column(int col) const
    {
        QStringList out;
        for (int r = 1; r < window->grid().rows(); ++r)
            out << window->grid().cell(r, col);
        return out;
    }
    QPoint cellCentre(int row, int col) const
    {
        return window->flx_Grille->visualRect(window->flx_Grille->indexOf(row, col)).center();
    }
    QStringList files() const { return QDir(env.dataFolder()).entryList(QDir::Files, QDir::Name); }

    testing_support::TestEnvironment env;
    QMenu menu;
    QWidget recordWindow; // stands for the record window
    QList<RecordRequest> requests;
    std::unique_ptr<frm_Liste_Releves_SHOC> window;
};

} // namespace

TEST_F(ListWindowTest, ListsTheRecordsOfTheDataFolderAndCopiesRowsEndedByLineFeeds)
{
    open();
    EXPECT_EQ(window->objectName(), "frm_Liste_Releves_SHOC");
    EXPECT_EQ(column(FileColumn), QStringList({kA, kB, kC}));
    ASSERT_EQ(window->cbo_Carres->count(), 3);
    EXPECT_EQ(window->cbo_Carres->itemText(0), "SHOC-A");
    EXPECT_TRUE(window->cmd_maj->isEnabled());

    window->grid().setRowSelected(1, true);
    window->grid().setRowSelected(2, true);
    window->cmd_Copier->click();
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_EQ(copied.count('\n'), 2);
    EXPECT_TRUE(copied.endsWith('\n'));
    EXPECT_FALSE(copied.contains('\r'));
    EXPECT_TRUE(copied.contains(kA) && copied.contains(kB) && !copied.contains(kC));
}

TEST_F(ListWindowTest, NewRecordChoicesOpenTheRecordWindowInTheirMode)
{
    open();
    const struct
    {
        int choice;
        RecordRequest expected;
    } cases[] = {
        {0, {RecordMode::New, {}, {}}},
        {1, {RecordMode::NewPassage, {}, "SHOC-B"}},
        {2, {RecordMode::NextWinter, {}, "SHOC-B"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.choice);
        requests.clear();
        window->show();
        window->cmd_Ajout->click();
        ASSERT_TRUE(window->fra_New_Eps->isVisible());
        EXPECT_TRUE(window->cmd_vrai->isVisible());
        env.dialogs().answer(mb::OK); // the choice's help text
        window->opt_New[c.choice]->click();
        EXPECT_EQ(window->cbo_Carres->isEnabled(), c.choice != 0);
        window->cbo_Carres->setCurrentIndex(1);
        env.dialogs().answer(mb::Yes);
        window->cmd_vrai->click();
        ASSERT_EQ(requests.size(), 1);
        EXPECT_EQ(requests[0], c.expected);
        EXPECT_FALSE(window->fra_New_Eps->isVisible());
        EXPECT_FALSE(window->isVisible()); // hidden while the record window is open
    }
}

// An empty folder offers only a new site; once a record is there, a refresh leaves no choice made.
TEST_F(ListWindowTest, ARefreshWithRecordsLeavesNoNewRecordChoiceMade)
{
    for (const QString& n : {kA, kB, kC})
        ASSERT_TRUE(QDir(env.dataFolder()).remove(n));
    open();
    EXPECT_TRUE(window->opt_New[0]->isChecked());
    EXPECT_FALSE(window->opt_New[1]->isEnabled());
    EXPECT_FALSE(window->cbo_Carres->isEnabled());

    list_samples::writeRecord(env.dataFolder(), kA, list_samples::recordOf(1, "01/12/2009"));
    window->sub_Refresh_Liste_EPS(); // as the record window does after a save
    for (QRadioButton* choice : window->opt_New)
        EXPECT_FALSE(choice->isChecked()) << choice->objectName().toStdString();
    EXPECT_TRUE(window->opt_New[1]->isEnabled());
    EXPECT_TRUE(window->cbo_Carres->isEnabled());
    EXPECT_EQ(window->cbo_Carres->currentIndex(), -1);
}

TEST_F(ListWindowTest, DoubleClickModifiesTheLineClicked)
{
    open();
    env.dialogs().answer(mb::Yes);
    QTest::mouseClick(window->flx_Grille->viewport(), Qt::LeftButton, {}, cellCentre(2, FileColumn));
    QTest::mouseDClick(window->flx_Grille->viewport(), Qt::LeftButton, {}, cellCentre(2, FileColumn));
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0], (RecordRequest{RecordMode::Update, kB, window->grid().cell(2, SiteColumn)}));
    EXPECT_EQ(env.dialogs().texts().last(), "Confirmez votre intention de modifier l'EPS " + kB);
}

TEST_F(ListWindowTest, DeleteSetsAsideExactlyTheSelectedRowsAndRefreshes)
{
    open();
    window->grid().setRowSelected(1, true);
    window->grid().setRowSelected(3, true);
    env.dialogs().answer(mb::Yes);
    env.dialogs().answer(mb::OK);
    window->Cmd_Supp->click();
    ASSERT_FALSE(env.dialogs().asked().isEmpty());
    EXPECT_TRUE(
        env.dialogs().asked()[0].text.startsWith("Confirmez votre intention de supprimer 2 relevés SHOC"));
    EXPECT_EQ(files(), QStringList({kB, "SHOC@A~Passage N1.FLX2009", "SHOC@C~Passage N1.FLX2009"}));
    EXPECT_EQ(column(FileColumn), QStringList({kB}));
}

TEST_F(ListWindowTest, UserSortIsKeptOverARefresh)
{
    open();
    QHeaderView* header = window->flx_Grille->horizontalHeader();
    const QPoint fileHeader(
        header->sectionViewportPosition(window->flx_Grille->indexOf(1, FileColumn).column()) + 5,
        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, fileHeader);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, fileHeader);
    ASSERT_EQ(window->recordList().sort().column(), FileColumn);
    ASSERT_EQ(column(FileColumn), QStringList({kC, kB, kA}));

    list_samples::writeRecord(env.dataFolder(), "SHOC-D~Passage N1.FLX2009",
                              list_samples::recordOf(1, "01/12/2009"));
    window->sub_Refresh_Liste_EPS();
    EXPECT_EQ(column(FileColumn), QStringList({"SHOC-D~Passage N1.FLX2009", kC, kB, kA}));
}

// A sibling file that cannot be imported is told at the first opening of the list, not again at
// the next one; it stays for a later import.
TEST_F(ListWindowTest, ASiblingFileNotImportedIsToldOnce)
{
    sibling_samples::Sibling sibling;
    sibling.count = "0";
    sibling_samples::write(QDir(env.dataFolder()).filePath("Ravelin-1.RVX"), sibling);
    env.dialogs().answer(mb::OK);
    open();
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_TRUE(env.dialogs().texts()[0].contains("Ravelin-1.RVX")) << env.dialogs().texts()[0].toStdString();
    window.reset();
    open();
    EXPECT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_TRUE(files().contains("Ravelin-1.RVX"));
}

TEST_F(ListWindowTest, RightClickHandsTheListToTheBulkUpdateMenu)
{
    open();
    QTest::mouseClick(window->flx_Grille->viewport(), Qt::RightButton, {}, cellCentre(1, FileColumn));
    EXPECT_EQ(gobj_Grille_Liste, &window->grid());
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
    window.reset();
    EXPECT_EQ(gobj_Grille_Liste, nullptr);
}

TEST_F(ListWindowTest, LoadOffersTheAddressBookWithTheTickedCorrespondentsSelected)
{
    grid::Grid book;
    book.setCols(3);
    book.setRows(4);
    book.setColDataType(1, grid::Grid::DataType::Boolean);
    const struct
    {
        const char* address;
        int tick;
    } rows[] = {{"regional@example.org", grid::Grid::Checked},
                {"  ", grid::Grid::Checked},
                {"other@example.org", grid::Grid::Unchecked}};
    for (int i = 0; i < 3; ++i) {
        book.setCell(i + 1, 2, QString::fromUtf8(rows[i].address));
        book.setCheckState(i + 1, 1, rows[i].tick);
    }
    ASSERT_TRUE(
        grid::GridFile::save(book, env.programFolder() + "/email.DOV", grid::GridFile::Complete, true));

    open();
    ASSERT_EQ(window->lst_Email->count(), 2); // the blank address is left out
    EXPECT_EQ(window->lst_Email->item(0)->text(), "regional@example.org");
    EXPECT_TRUE(window->lst_Email->item(0)->isSelected());
    EXPECT_FALSE(window->lst_Email->item(1)->isSelected());
}

// Every column is as wide as its texts, with the 240 twips beside them: the file and site names
// are read whole, and a list wider than its window scrolls sideways.
TEST_F(ListWindowTest, ColumnsShowTheirTextsWholeAndTheListScrollsSideways)
{
    const QString site = QStringLiteral("SHOC-80~Péronne~Les Grands Champs de la Vallée~Hiver 2026-2027");
    record::SurveyRecord longNames = list_samples::recordOf(1, "01/12/2026");
    longNames.siteName = site;
    list_samples::writeRecord(env.dataFolder(), site + QStringLiteral("~Passage N1.FLX2009"), longNames);
    open();
    window->resize(800, 500);
    QApplication::processEvents();

    const grid::GridView* view = window->flx_Grille;
    for (int c = FileColumn; c < ListColumnCount; ++c) {
        int widest = 0;
        for (int r = 1; r < window->grid().rows(); ++r) {
            const QModelIndex cell = view->indexOf(r, c);
            const QFontMetrics drawnWith(cell.data(Qt::FontRole).value<QFont>());
            widest = std::max(widest, drawnWith.horizontalAdvance(cell.data().toString()));
        }
        EXPECT_GE(view->visualRect(view->indexOf(1, c)).width(), widest + grid::GridView::twipsToPixels(240))
            << "column " << c;
    }
    EXPECT_GT(view->horizontalScrollBar()->maximum(), 0);
}
