#include "grid/GridView.h"
#include "grid/ListEditor.h"
#include "tests/support/GridTyping.h"
#include "tests/support/QtPrinters.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace grid;

namespace {

// A shown, active view over a 4 x 4 grid: header row, numbering column, editable.
class GridViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Grid& g = view.grid();
        g.setRows(0);
        g.setFormatString("|Code|Nom|Saisie");
        g.setFixedRows(1);
        g.setFixedCols(1);
        g.addRow("1\tALA\tAlouette");
        g.addRow("2\tBUS\tBuse");
        g.addRow("3\tPER\tPerdrix");
        g.setColDataType(3, Grid::DataType::Boolean);
        g.setEditable(Grid::Editable::KeyboardMouse);
        view.resize(500, 300);
        view.show();
        view.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
        view.setFocus();
    }

    Grid& grid() { return view.grid(); }

    // Types characters where the focus is: the first one on the grid opens the editor.
    void type(const QString& text)
    {
        for (QChar c : text) {
            QTest::keyClick(QApplication::focusWidget(), char(c.unicode()));
            QCoreApplication::processEvents();
        }
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), k, m);
        QCoreApplication::processEvents(); // editors close through queued calls
    }

    QPoint centreOf(int row, int col) { return view.visualRect(view.indexOf(row, col)).center(); }
    void clickCell(int row, int col, Qt::MouseButton b = Qt::LeftButton,
                   Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::mouseClick(view.viewport(), b, m, centreOf(row, col));
    }

    GridView view;
};

} // namespace

TEST_F(GridViewTest, HeaderRowAndNumberColumnAreShownAsHeaders)
{
    grid().setCell(0, 2, "Nom\rfrançais");
    EXPECT_EQ(view.model()->rowCount(), 3);
    EXPECT_EQ(view.model()->columnCount(), 3);
    EXPECT_EQ(view.model()->headerData(1, Qt::Horizontal).toString(), "Nom\nfrançais");
    EXPECT_EQ(view.model()->headerData(2, Qt::Vertical).toString(), "3");
    EXPECT_EQ(view.model()->index(0, 0).data().toString(), "ALA");
    EXPECT_EQ(view.gridRow(view.model()->index(0, 0)), 1);
    EXPECT_EQ(view.gridCol(view.model()->index(0, 0)), 1);
    EXPECT_TRUE(view.horizontalHeader()->isVisible());
    grid().setFixedRows(0);
    EXPECT_FALSE(view.horizontalHeader()->isVisible()) << "no fixed row: no header";
    EXPECT_EQ(view.model()->rowCount(), 4);
    grid().setColHidden(2, true);
    EXPECT_TRUE(view.isColumnHidden(1));
    grid().setColWidth(1, 77);
    EXPECT_EQ(view.columnWidth(0), 77);
}

TEST_F(GridViewTest, AfterEditFiresForATypedValueAndNotForAValueSetByCode)
{
    QSignalSpy before(&view, &GridView::beforeEdit);
    QSignalSpy validate(&view, &GridView::validateEdit);
    QSignalSpy after(&view, &GridView::afterEdit);
    grid().select(2, 2);
    type("Bu");
    ASSERT_TRUE(view.isEditing());
    EXPECT_EQ(view.editText(), "Bu");
    type("sard");
    key(Qt::Key_Return);
    EXPECT_FALSE(view.isEditing());
    EXPECT_EQ(grid().cell(2, 2), "Busard");
    ASSERT_EQ(before.size(), 1);
    EXPECT_EQ(before[0].mid(0, 2), (QList<QVariant>{2, 2}));
    EXPECT_EQ(validate.size(), 1);
    ASSERT_EQ(after.size(), 1);
    EXPECT_EQ(after[0], (QList<QVariant>{2, 2}));

    grid().setCell(2, 2, "Écrit par le code");
    grid().setText("encore");
    grid().setSelectionText("et encore");
    EXPECT_EQ(after.size(), 1) << "writes made by code fire no after-edit";

    // An edit that changes nothing still fires.
    view.editCell();
    key(Qt::Key_Return);
    EXPECT_EQ(after.size(), 2);
}

TEST_F(GridViewTest, ARefusedValidateKeepsTheEditorOpen)
{
    QSignalSpy after(&view, &GridView::afterEdit);
    QObject::connect(&view, &GridView::validateEdit, &view, [this](int, int, bool* cancel) {
        const int zone = view.editText().toInt();
        *cancel = zone < 30 || zone > 32;
    });
    grid().select(1, 1);
    type("99");
    key(Qt::Key_Return);
    EXPECT_TRUE(view.isEditing()) << "refused: the editor stays with the typed text";
    EXPECT_EQ(view.editText(), "99");
    EXPECT_EQ(grid().cell(1, 1), "ALA");
    EXPECT_EQ(after.size(), 0);
    // Clicking another cell does not take the refused text either.
    clickCell(3, 2);
    EXPECT_TRUE(view.isEditing());
    EXPECT_EQ(grid().cell(1, 1), "ALA");
    key(Qt::Key_Backspace);
    key(Qt::Key_Backspace);
    type("31");
    key(Qt::Key_Return);
    EXPECT_FALSE(view.isEditing());
    EXPECT_EQ(grid().cell(1, 1), "31");
    ASSERT_EQ(after.size(), 1);
    EXPECT_EQ(after[0], (QList<QVariant>{1, 1}));
}

TEST_F(GridViewTest, EscapeDropsTheEdit)
{
    QSignalSpy validate(&view, &GridView::validateEdit);
    QSignalSpy after(&view, &GridView::afterEdit);
    grid().select(1, 2);
    type("xyz");
    key(Qt::Key_Escape);
    EXPECT_FALSE(view.isEditing());
    EXPECT_EQ(grid().cell(1, 2), "Alouette");
    EXPECT_EQ(validate.size(), 0);
    EXPECT_EQ(after.size(), 0);
}

TEST_F(GridViewTest, BeforeEditMayRefuseAndReadOnlyCellsNeverOpen)
{
    QSignalSpy before(&view, &GridView::beforeEdit);
    QObject::connect(&view, &GridView::beforeEdit, &view,
                     [](int, int col, bool* cancel) { *cancel = col == 2; });
    grid().select(1, 2);
    type("x");
    EXPECT_FALSE(view.isEditing());
    EXPECT_EQ(grid().cell(1, 2), "Alouette");
    EXPECT_EQ(before.size(), 1);

    grid().setReadOnly({2, 1, 2, 1}, true);
    grid().select(2, 1);
    type("x");
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, centreOf(2, 1));
    EXPECT_FALSE(view.isEditing());
    EXPECT_EQ(before.size(), 1) << "a read-only cell asks no handler";
    EXPECT_EQ(view.model()->index(1, 0).data(Qt::BackgroundRole).value<QBrush>().color(),
              QColor(gridRed(grid().backColourFixed()), gridGreen(grid().backColourFixed()),
                     gridBlue(grid().backColourFixed())));

    grid().setEditable(Grid::Editable::None);
    grid().select(3, 1);
    EXPECT_FALSE(view.editCell());
    EXPECT_EQ(before.size(), 1);
}

TEST_F(GridViewTest, ReadOnlyCellsArePaintedInTheFixedColour)
{
    const GridColour fixe = grid().backColourFixed(), propre = gridRgb(200, 20, 20);
    grid().setBackColourAlternate(gridRgb(10, 200, 30));
    grid().setReadOnly({1, 1, 2, 2}, true);
    grid().setBackColour({2, 1, 2, 1}, 0); // the flag stays, the colour it brought is cleared
    grid().setBackColour({2, 2, 2, 2}, propre);
    grid().select(3, 3); // the selection's highlight away from the cells looked at
    QCoreApplication::processEvents();
    const QImage image = view.viewport()->grab().toImage();
    auto couleur = [&](int row, int col) {
        const QColor c = image.pixelColor(view.visualRect(view.indexOf(row, col)).topLeft() + QPoint(3, 3));
        return gridRgb(c.red(), c.green(), c.blue());
    };
    EXPECT_EQ(couleur(1, 1), fixe);
    EXPECT_EQ(couleur(2, 1), fixe) << "its colour cleared, in an alternate row";
    EXPECT_EQ(couleur(2, 2), propre) << "a colour of its own";
    EXPECT_NE(couleur(3, 1), fixe) << "an editable cell does not look fixed";
}

TEST_F(GridViewTest, CheckBoxesToggleByClickAndSpace)
{
    QSignalSpy after(&view, &GridView::afterEdit);
    EXPECT_EQ(view.model()->index(0, 2).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    clickCell(1, 3);
    EXPECT_EQ(grid().checkState(1, 3), Grid::Checked);
    ASSERT_EQ(after.size(), 1);
    EXPECT_EQ(after[0], (QList<QVariant>{1, 3}));
    key(Qt::Key_Space);
    EXPECT_EQ(grid().checkState(1, 3), Grid::Unchecked);
    EXPECT_EQ(after.size(), 2);
    EXPECT_FALSE(view.isEditing()) << "a check box opens no editor";

    QObject::connect(&view, &GridView::beforeEdit, &view, [](int, int, bool* cancel) { *cancel = true; });
    clickCell(2, 3);
    EXPECT_EQ(grid().checkState(2, 3), Grid::Unchecked);
    EXPECT_EQ(after.size(), 2);
}

// A list's editor stores nothing while the user types or moves in it: Enter stores the item
// highlighted (its code), Escape nothing.
TEST_F(GridViewTest, EditListsStoreTheCodeAndShowTheLabel)
{
    QSignalSpy after(&view, &GridView::afterEdit);
    grid().setColEditList(1, " |#1;1 - Absente|#2;2 - Bruine|#3;3 - Averses");
    grid().setCell(1, 1, "2");
    EXPECT_EQ(view.model()->index(0, 0).data().toString(), "2 - Bruine");
    grid().select(1, 1);
    ASSERT_TRUE(view.editCell());
    auto* editor = qobject_cast<ListEditor*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "2 - Bruine");
    EXPECT_EQ(editor->offeredLabels().size(), 4) << "the whole list, the cell's item highlighted";
    EXPECT_EQ(editor->highlighted(), 2);
    EXPECT_TRUE(editor->choices()->isVisible());
    key(Qt::Key_Down);
    EXPECT_TRUE(view.isEditing()) << "moving in the list stores nothing";
    EXPECT_EQ(grid().cell(1, 1), "2");
    key(Qt::Key_Return);
    EXPECT_FALSE(view.isEditing());
    EXPECT_EQ(grid().cell(1, 1), "3");
    EXPECT_EQ(grid().displayText(1, 1), "3 - Averses");
    EXPECT_EQ(after.size(), 1);

    // Typed on the cell: the first key opens the editor, the list narrows as the keys come.
    grid().select(2, 1);
    type("bru");
    ASSERT_TRUE(view.isEditing());
    editor = qobject_cast<ListEditor*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->offeredLabels(), QStringList{"2 - Bruine"});
    EXPECT_EQ(after.size(), 1);
    key(Qt::Key_Escape);
    EXPECT_EQ(grid().cell(2, 1), "BUS");
    EXPECT_EQ(after.size(), 1);
}

// A space is typed like any character; a text that matches nothing keeps the editor on Enter;
// Tab and a click store the item highlighted; a list beginning with "|" stores a text typed.
TEST_F(GridViewTest, ListEditorRoads)
{
    QSignalSpy after(&view, &GridView::afterEdit);
    grid().setColEditList(2, " |Alouette des champs|Bécasse des bois|Pie bavarde");
    grid().select(1, 2);
    type("pie b");
    EXPECT_EQ(view.editText(), "pie b");
    key(Qt::Key_Tab);
    EXPECT_EQ(grid().cell(1, 2), "Pie bavarde");
    EXPECT_EQ(view.currentIndex(), view.indexOf(1, 3)) << "Tab goes on to the next cell";

    grid().select(2, 2);
    type("zz");
    key(Qt::Key_Return);
    EXPECT_TRUE(view.isEditing()) << "nothing matches: nothing is stored";
    key(Qt::Key_Backspace);
    key(Qt::Key_Backspace);
    type("des");
    auto* editor = qobject_cast<ListEditor*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    QListWidget* choices = editor->choices();
    ASSERT_EQ(choices->count(), 2);
    QTest::mouseClick(choices->viewport(), Qt::LeftButton, {},
                      choices->visualItemRect(choices->item(1)).center());
    QCoreApplication::processEvents();
    EXPECT_FALSE(view.isEditing());
    EXPECT_EQ(grid().cell(2, 2), "Bécasse des bois");
    EXPECT_EQ(after.size(), 2);

    grid().setColEditList(2, "|Buse|Busard");
    grid().select(3, 2);
    type("Buse variable");
    key(Qt::Key_Return);
    EXPECT_EQ(grid().cell(3, 2), "Buse variable");
}

// A list cell holding a value that is none of its items (an old code kept in a record): Enter and
// Tab leave it as it is, without an after-edit, Tab going on to the next cell.
TEST_F(GridViewTest, AValueOfNoItemIsLeftAsItIsByEnterAndTab)
{
    QSignalSpy after(&view, &GridView::afterEdit);
    grid().setColEditList(1, " |#1;1 - Absente|#2;2 - Bruine|#3;3 - Averses");
    grid().setCell(1, 1, "9");
    for (const Qt::Key leave : {Qt::Key_Return, Qt::Key_Tab}) {
        SCOPED_TRACE(leave == Qt::Key_Tab ? "Tab" : "Enter");
        grid().select(1, 1);
        view.setFocus();
        key(Qt::Key_F2);
        ASSERT_TRUE(view.isEditing());
        EXPECT_EQ(view.editText(), "9");
        key(leave);
        EXPECT_TRUE(!view.isEditing() || view.editCol() != 1) << "the editor left";
        EXPECT_EQ(grid().cell(1, 1), "9");
        EXPECT_EQ(view.currentIndex(), view.indexOf(1, leave == Qt::Key_Tab ? 2 : 1));
        if (view.isEditing())
            key(Qt::Key_Escape);
    }
    EXPECT_EQ(after.size(), 0);
}

// A text typed into a list that takes no other text and that matches no item is shown as such
// while it is typed: in red, the list saying that no item matches. A list that takes typing
// stores such a text and shows nothing of the kind.
TEST_F(GridViewTest, ATypedTextThatMatchesNothingIsShownAsSuch)
{
    const struct
    {
        const char* list;
        const char* typed;
        bool nothing;
    } cases[] = {
        {" |Alouette des champs|Bécasse des bois|Pie bavarde", "bec", false},
        {" |Alouette des champs|Bécasse des bois|Pie bavarde", "becz", true},
        {"|Buse|Busard", "Buse variable", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        grid().setColEditList(2, c.list);
        grid().select(1, 2);
        view.setFocus();
        type(QString::fromUtf8(c.typed));
        auto* editor = qobject_cast<ListEditor*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        const QColor normal = view.palette().color(QPalette::Text);
        EXPECT_EQ(editor->palette().color(QPalette::Text), c.nothing ? QColor(Qt::red) : normal);
        QListWidget* choices = editor->choices();
        EXPECT_EQ(choices->findItems("Aucun élément ne correspond", Qt::MatchExactly).size(),
                  c.nothing ? 1 : 0);
        if (c.nothing) {
            EXPECT_TRUE(choices->isVisible());
            ASSERT_EQ(choices->count(), 1);
            EXPECT_EQ(choices->item(0)->text(), "Aucun élément ne correspond");
            EXPECT_FALSE(choices->item(0)->flags() & Qt::ItemIsSelectable);
            // Back to a text that matches: the hint goes.
            key(Qt::Key_Backspace);
            EXPECT_EQ(editor->palette().color(QPalette::Text), normal);
            EXPECT_EQ(editor->offeredLabels(), QStringList{"Bécasse des bois"});
            EXPECT_EQ(choices->count(), 1);
        }
        key(Qt::Key_Escape);
    }
}

TEST_F(GridViewTest, KeysTypedInTheEditorCanBeDroppedOrReplaced)
{
    QList<int> seen;
    QObject::connect(&view, &GridView::keyPressEdit, &view, [&](int row, int col, int* k) {
        EXPECT_EQ(row, 3);
        EXPECT_EQ(col, 2);
        seen << *k;
        if (*k == 'a')
            *k = 0;
        else if (*k == 'x')
            *k = 'X';
    });
    grid().select(3, 2);
    type("1a2x");
    EXPECT_EQ(view.editText(), "12X") << "the first key, which opened the editor, is filtered too";
    EXPECT_EQ(seen, (QList<int>{'1', 'a', '2', 'x'}));
    key(Qt::Key_Return);
    EXPECT_EQ(grid().cell(3, 2), "12X");
}

TEST_F(GridViewTest, KeyDownGivesWindowsCodesAndCopyIsTheWindowsOwn)
{
    QList<QPair<int, int>> keys;
    QObject::connect(&view, &GridView::keyDown, &view, [&](int* k, int shift) {
        if (*k != 16 && *k != 17) // the Shift and Ctrl keys themselves
            keys << qMakePair(*k, shift);
        if (*k == 46)
            *k = 0; // the window handles Delete
    });
    QApplication::clipboard()->setText("avant");
    grid().select(1, 1);
    key(Qt::Key_C, Qt::ControlModifier);
    key(Qt::Key_V, Qt::ControlModifier);
    key(Qt::Key_Insert, Qt::ShiftModifier);
    key(Qt::Key_B, Qt::ControlModifier);
    key(Qt::Key_Delete);
    EXPECT_EQ(keys, (QList<QPair<int, int>>{{67, 2}, {86, 2}, {45, 1}, {66, 2}, {46, 0}}));
    EXPECT_EQ(QApplication::clipboard()->text(), "avant") << "the view copies nothing by itself";
    EXPECT_FALSE(view.isEditing()) << "control keys open no editor";
    EXPECT_EQ(grid().cell(1, 1), "ALA");
}

TEST_F(GridViewTest, KeyPressOnTheGridCanDropAKey)
{
    QObject::connect(&view, &GridView::keyPress, &view, [](int* k) {
        if (*k == 'q')
            *k = 0;
    });
    grid().select(1, 2);
    type("q");
    EXPECT_FALSE(view.isEditing());
    type("w");
    EXPECT_TRUE(view.isEditing());
    EXPECT_EQ(view.editText(), "w");
}

TEST_F(GridViewTest, SelectionGoesBothWays)
{
    QSignalSpy sel(&view, &GridView::selChange);
    grid().select(1, 1, 2, 2);
    EXPECT_TRUE(view.selectionModel()->isSelected(view.indexOf(2, 2)));
    EXPECT_FALSE(view.selectionModel()->isSelected(view.indexOf(3, 2)));
    EXPECT_EQ(view.currentIndex(), view.indexOf(1, 1));
    const int before = int(sel.size());
    clickCell(3, 2);
    EXPECT_EQ(grid().row(), 3);
    EXPECT_EQ(grid().col(), 2);
    EXPECT_GT(sel.size(), before);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier, centreOf(1, 1));
    EXPECT_EQ(grid().selection(), (GridRange{1, 1, 3, 2}));
    EXPECT_EQ(grid().selectionText(), "ALA\tAlouette\rBUS\tBuse\rPER\tPerdrix");
}

TEST_F(GridViewTest, ListBoxSelectionOfSeveralRows)
{
    grid().setSelectionMode(Grid::SelectionMode::ListBox);
    clickCell(1, 2);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ControlModifier, centreOf(3, 2));
    EXPECT_EQ(grid().selectedRows(), (QList<int>{1, 3}));
    EXPECT_EQ(grid().selectedRowCount(), 2);
    EXPECT_EQ(grid().selectedRow(1), 3);
    grid().setRowSelected(2, true);
    EXPECT_TRUE(view.selectionModel()->isRowSelected(1, QModelIndex()));
}

TEST_F(GridViewTest, HeaderClickSortsAndReports)
{
    QSignalSpy sorted(&view, &GridView::afterSort);
    view.setHeaderSort(true);
    const int x = view.horizontalHeader()->sectionViewportPosition(1) + 5;
    QTest::mouseClick(view.horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
    EXPECT_EQ(grid().cell(1, 2), "Alouette");
    EXPECT_EQ(grid().cell(3, 2), "Perdrix");
    QTest::mouseClick(view.horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
    EXPECT_EQ(grid().cell(1, 2), "Perdrix");
    ASSERT_EQ(sorted.size(), 2);
    EXPECT_EQ(sorted[0], (QList<QVariant>{2, 1}));
    EXPECT_EQ(sorted[1], (QList<QVariant>{2, 2}));
    EXPECT_EQ(grid().cell(0, 2), "Nom") << "the header row stays";
}

TEST_F(GridViewTest, TopLeftCellStaysWithinReachWhenTheFixedColumnIsEmpty)
{
    // Row numbering off: the fixed column holds no text at all.
    for (int r = 0; r < grid().rows(); ++r)
        grid().setCell(r, 0, QString());
    QCoreApplication::processEvents();
    auto* corner = view.findChild<QAbstractButton*>();
    ASSERT_TRUE(corner);
    EXPECT_GE(corner->width(), 16);
    EXPECT_GE(view.verticalHeader()->width(), 16);
    // A right click a few pixels in from the grid's top-left corner lands on cell (0, 0).
    QList<QList<int>> downs;
    QObject::connect(&view, &GridView::mouseDown, &view, [&](int button, int, int, int) {
        downs << QList<int>{button, view.mouseRow(), view.mouseCol()};
    });
    const QPoint point = corner->geometry().topLeft() + QPoint(10, 5);
    QWidget* target = view.childAt(point);
    ASSERT_TRUE(target);
    QTest::mouseClick(target, Qt::RightButton, {}, target->mapFrom(&view, point));
    ASSERT_EQ(downs.size(), 1);
    EXPECT_EQ(downs[0], (QList<int>{2, 0, 0}));
}

TEST_F(GridViewTest, MouseEventsGiveTheCellUnderTheMouse)
{
    QList<QList<int>> downs;
    QObject::connect(&view, &GridView::mouseDown, &view, [&](int button, int shift, int, int) {
        downs << QList<int>{button, shift, view.mouseRow(), view.mouseCol()};
    });
    QSignalSpy dbl(&view, &GridView::dblClick);
    QSignalSpy clicks(&view, &GridView::click);
    clickCell(2, 1, Qt::RightButton);
    const int x = view.horizontalHeader()->sectionViewportPosition(2) + 5;
    QTest::mouseClick(view.horizontalHeader()->viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(x, 5));
    QTest::mouseClick(view.findChild<QAbstractButton*>(), Qt::RightButton);
    ASSERT_EQ(downs.size(), 3);
    EXPECT_EQ(downs[0], (QList<int>{2, 0, 2, 1}));
    EXPECT_EQ(downs[1], (QList<int>{1, 1, 0, 3})) << "the header row is row 0";
    EXPECT_EQ(downs[2], (QList<int>{2, 0, 0, 0})) << "the corner is cell (0, 0)";
    EXPECT_GE(clicks.size(), 1);

    QList<QPair<int, int>> moves;
    QObject::connect(&view, &GridView::mouseMove, &view,
                     [&](int, int, int, int) { moves << qMakePair(view.mouseRow(), view.mouseCol()); });
    QTest::mouseMove(view.viewport(), centreOf(3, 2));
    QTest::mouseMove(view.horizontalHeader()->viewport(), QPoint(x, 5));
    ASSERT_GE(moves.size(), 2);
    EXPECT_EQ(moves.first(), qMakePair(3, 2));
    EXPECT_EQ(moves.last(), qMakePair(0, 3)) << "over the header: row 0";

    grid().setEditable(Grid::Editable::None);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, centreOf(3, 2));
    EXPECT_EQ(dbl.size(), 1);
    EXPECT_EQ(view.mouseRow(), 3);
}

TEST_F(GridViewTest, ColumnWidthsFitAndAreKeptInTheGrid)
{
    grid().setCell(2, 2, "Un nom d'espèce vraiment très long pour la colonne");
    view.fitColumnWidths(2, 2, 240);
    const int w = view.columnWidth(1);
    EXPECT_GT(w, 200);
    EXPECT_EQ(grid().colWidth(2), w);
    view.fitColumnWidths(1, 1);
    EXPECT_LT(view.columnWidth(0), w);
}

TEST_F(GridViewTest, RedrawOffHoldsTheViewUntilOn)
{
    grid().setRedraw(false);
    for (int i = 0; i < 50; ++i)
        grid().addRow(QStringLiteral("\tX%1").arg(i));
    grid().setRedraw(true);
    EXPECT_EQ(view.model()->rowCount(), 53);
    EXPECT_EQ(view.model()->index(52, 0).data().toString(), "X49");
    grid().removeRow(4);
    EXPECT_EQ(view.model()->rowCount(), 52);
    grid().addRow("\tpremier", 1);
    EXPECT_EQ(view.model()->index(0, 0).data().toString(), "premier");
}

TEST_F(GridViewTest, AnotherGridCanBeShownAndMayGoAway)
{
    auto* other = new Grid;
    other->setRows(2);
    other->setCols(2);
    other->setCell(1, 1, "autre");
    view.setGrid(other);
    EXPECT_EQ(&view.grid(), other);
    EXPECT_EQ(view.model()->index(0, 0).data().toString(), "autre");
    delete other;
    EXPECT_EQ(view.grid().cell(1, 1), "ALA") << "back to the view's own grid";
}

// A window's grids go before its views (its members before its child widgets): the view falls
// back on its own grid without a signal, whose handler in the window would read the grid going.
TEST_F(GridViewTest, AGridGoingAwaySendsNoSignal)
{
    auto* other = new Grid;
    other->setRows(3);
    other->setCols(3);
    view.setGrid(other);
    other->select(2, 2);
    QSignalSpy sel(&view, &GridView::selChange);
    delete other;
    EXPECT_EQ(sel.size(), 0);
    EXPECT_EQ(view.grid().cell(1, 1), "ALA");
}

TEST_F(GridViewTest, ATextCutShortIsReadWholeInItsTip)
{
    const auto tipAt = [this](int row, int col) {
        const QPoint at = centreOf(row, col);
        QHelpEvent hover(QEvent::ToolTip, at, view.viewport()->mapToGlobal(at));
        QApplication::sendEvent(view.viewport(), &hover);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    grid().setColWidth(2, 30);
    EXPECT_EQ(tipAt(1, 1), "") << "a text shown whole";
    EXPECT_EQ(tipAt(3, 2), "Perdrix");
    view.setToolTipText("Pour trier");
    EXPECT_EQ(tipAt(3, 2), "Pour trier") << "the view's own tip first";
}

TEST_F(GridViewTest, AColumnKeepsItsLeastWidthThroughTheFits)
{
    view.setMinimumColumnWidth(2, 150);
    EXPECT_EQ(view.columnWidth(1), 150);
    view.fitColumnWidths();
    EXPECT_EQ(view.columnWidth(1), 150);
    EXPECT_EQ(grid().colWidth(2), 150);
    EXPECT_LT(view.columnWidth(0), 150) << "the other columns fitted to their contents";
}

// Reached by Tab or Shift+Tab, a grid puts its cursor on the first cell the user may type into,
// from the left of the current row, when the current cell is not one (a read-only, fixed or
// hidden column); the keys then typed go into that cell. A current cell that takes typing stays.
TEST(GridViewTabbedInto, TheCursorGoesToTheFirstCellThatTakesTyping)
{
    const struct
    {
        const char* what;
        int fixedCols;
        int readOnlyCol; // -1: none
        int hiddenCol;   // -1: none
        int current;     // the current column before the grid is reached
        int expected;
    } cases[] = {
        {"read-only column", 1, 1, -1, 1, 2},
        {"second fixed column", 2, -1, -1, 1, 2},
        {"fixed then hidden then read-only", 2, 3, 2, 1, 4},
        {"a cell that takes typing stays", 1, 1, -1, 3, 3},
    };
    for (const bool backwards : {false, true})
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (backwards ? " (Shift+Tab)" : ""));
            QWidget window;
            auto* layout = new QVBoxLayout(&window);
            layout->addWidget(new QLineEdit);
            auto* view = new GridView;
            layout->addWidget(view);
            layout->addWidget(new QLineEdit);
            Grid& g = view->grid();
            g.setRows(0);
            g.setFormatString("|A|B|C|D|E");
            g.setFixedRows(1);
            g.setFixedCols(c.fixedCols);
            g.addRow("\ta\tb\tc\td\te");
            g.addRow("\ta\tb\tc\td\te");
            g.setEditable(Grid::Editable::KeyboardMouse);
            if (c.readOnlyCol >= 0)
                g.setReadOnly({0, c.readOnlyCol, 2, c.readOnlyCol}, true);
            if (c.hiddenCol >= 0)
                g.setColHidden(c.hiddenCol, true);
            g.select(2, c.current);
            window.show();
            window.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
            ASSERT_TRUE(testing_support::tabInto(view, backwards));
            EXPECT_EQ(g.row(), 2);
            EXPECT_EQ(g.col(), c.expected);
            EXPECT_EQ(view->currentIndex(), view->indexOf(2, c.expected));
            testing_support::typeKeys("xy");
            ASSERT_TRUE(view->isEditing());
            testing_support::pressKey(Qt::Key_Return);
            EXPECT_EQ(g.cell(2, c.expected), "xy");
        }
}

// A parcel grid: row headers, then the parcel's label, a fixed column that stays beside them
// while the other columns scroll sideways under it.
TEST(GridViewFixedColumns, TheSecondFixedColumnStaysInPlaceWhenTheGridScrollsSideways)
{
    GridView view;
    Grid& g = view.grid();
    g.setRows(0);
    g.setFormatString("|Parcelle|A|B|C|D|E|F|G|H|I|J");
    g.setFixedRows(1);
    g.setFixedCols(2);
    for (int p = 1; p <= 3; ++p)
        g.addRow(QStringLiteral("\tParcelle N°0%1\ta\tb\tc\td\te\tf\tg\th\ti\tj").arg(p));
    g.setEditable(Grid::Editable::KeyboardMouse);
    for (int c = 1; c < g.cols(); ++c)
        g.setColWidth(c, 90);
    view.resize(400, 200);
    view.show();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));

    QTableView* kept = view.frozenColumnsView();
    ASSERT_TRUE(kept);
    ASSERT_TRUE(kept->isVisible());
    EXPECT_EQ(kept->geometry().left(), view.viewport()->geometry().left());
    EXPECT_EQ(kept->width(), 90);
    const auto labelShown = [&](int row) {
        const QModelIndex under = kept->indexAt(QPoint(5, kept->rowViewportPosition(row - 1) + 2));
        return under.data().toString();
    };

    // The user goes to the last column: the cells scroll, the labels stay.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(view.indexOf(2, 2)).center());
    ASSERT_EQ(g.col(), 2);
    QTest::keyClick(&view, Qt::Key_End);
    ASSERT_EQ(g.col(), 11);
    EXPECT_GT(view.horizontalScrollBar()->value(), 0);
    EXPECT_EQ(labelShown(2), "Parcelle N°02");
    EXPECT_EQ(kept->geometry().left(), view.viewport()->geometry().left());
    EXPECT_EQ(kept->horizontalHeader()->height(), view.horizontalHeader()->height());

    // Back to the first column that scrolls: it comes out from under the labels.
    for (int k = 0; k < 9; ++k)
        QTest::keyClick(&view, Qt::Key_Left);
    ASSERT_EQ(g.col(), 2);
    const QRect cell = view.visualRect(view.indexOf(2, 2));
    EXPECT_GE(cell.left(), kept->width());
    EXPECT_LE(cell.right(), view.viewport()->width());

    // Without a second fixed column, nothing is kept.
    g.setFixedCols(1);
    QApplication::processEvents();
    EXPECT_FALSE(kept->isVisible());
}

// ================================================================ an edit open when its window goes

namespace {

using testing_support::pressKey;
using testing_support::typeCell;

// What the window's handlers saw, kept outside the window: a late event is counted, not read from
// a window half destroyed.
struct Seen
{
    int afterEdits = 0;
    int late = 0; // edit events once the window's destructor began
    bool windowGone = false;
    QString rowAtClose; // read by the window's closing step
    bool editingAtClose = false;
};

// A window that handles its grid's edits: a text column and a list column.
class EditingWindow : public QWidget
{
    Q_OBJECT

public:
    explicit EditingWindow(Seen& seen) : m_seen(seen)
    {
        (new QVBoxLayout(this))->addWidget(view);
        Grid& g = view->grid();
        g.setRows(0);
        g.setFormatString("|Texte|Liste");
        g.setFixedRows(1);
        g.setFixedCols(1);
        g.addRow("1\tALA\tBuse variable");
        g.setColEditList(2, " |Alouette des champs|Bécasse des bois|Pie bavarde");
        g.setEditable(Grid::Editable::KeyboardMouse);
        connect(view, &GridView::validateEdit, this, [s = &seen, this](int, int, bool* cancel) {
            s->late += s->windowGone ? 1 : 0;
            *cancel = view->editText() == "refusé";
        });
        connect(view, &GridView::afterEdit, this, [s = &seen](int, int) {
            ++s->afterEdits;
            s->late += s->windowGone ? 1 : 0;
        });
    }
    ~EditingWindow() override { m_seen.windowGone = true; }

    GridView* view = new GridView;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        m_seen.editingAtClose = view->isEditing();
        m_seen.rowAtClose = view->grid().rangeText({1, 1, 1, 2});
        QWidget::closeEvent(event);
    }

private:
    Seen& m_seen;
};

// The window shown and active, alone or in a frame of the area.
EditingWindow* openWindow(Seen& seen, QMdiArea& area, QMdiSubWindow** frame = nullptr)
{
    auto* w = new EditingWindow(seen);
    QWidget* shown = w;
    if (frame) {
        *frame = area.addSubWindow(w);
        (*frame)->show();
        shown = &area;
    }
    shown->show();
    shown->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(shown));
    return w;
}

const struct
{
    int col;
    const char* typed;
    const char* row; // once stored
} kTypedCells[] = {
    {1, "Busard", "Busard\tBuse variable"},
    {2, "pie b", "ALA\tPie bavarde"},
};

} // namespace

// Closed (by itself, or by the frame that holds it) with a cell being typed: the text is stored
// and its after-edit run before the window's closing step, which sees it.
TEST(GridViewClosing, TheOpenEditIsStoredBeforeTheWindowCloses)
{
    for (const bool inFrame : {false, true})
        for (const auto& c : kTypedCells) {
            SCOPED_TRACE(std::string(c.typed) + (inFrame ? " (frame)" : ""));
            Seen seen;
            QMdiArea area;
            QMdiSubWindow* frame = nullptr;
            const std::unique_ptr<EditingWindow> w(openWindow(seen, area, inFrame ? &frame : nullptr));
            ASSERT_TRUE(typeCell(w->view, 1, c.col, c.typed, Qt::Key_unknown));
            EXPECT_TRUE(inFrame ? frame->close() : w->close());
            EXPECT_FALSE(seen.editingAtClose);
            EXPECT_EQ(seen.rowAtClose, c.row);
            EXPECT_EQ(seen.afterEdits, 1);
        }
}

// A text the validation refuses keeps the window open on the editor and the text typed.
TEST(GridViewClosing, ARefusedTextKeepsTheWindowOpen)
{
    Seen seen;
    QMdiArea area;
    const std::unique_ptr<EditingWindow> w(openWindow(seen, area));
    ASSERT_TRUE(typeCell(w->view, 1, 1, "refusé", Qt::Key_unknown));
    ASSERT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->view->editText(), "refusé");
    pressKey(Qt::Key_Escape);
    EXPECT_TRUE(w->close());
    EXPECT_EQ(seen.rowAtClose, "ALA\tBuse variable");
    EXPECT_EQ(seen.afterEdits, 0);
}

// Destroyed with a cell being typed (the window itself, the frame that holds it, or the view):
// no edit event reaches the window once its destructor has begun.
TEST(GridViewClosing, DestroyedWithAnOpenEditorNoEventComes)
{
    enum class Gone { Window, Frame, View };
    for (const Gone gone : {Gone::Window, Gone::Frame, Gone::View})
        for (const auto& c : kTypedCells) {
            SCOPED_TRACE(std::string(c.typed) + " " + std::to_string(int(gone)));
            Seen seen;
            QMdiArea area;
            QMdiSubWindow* frame = nullptr;
            EditingWindow* w = openWindow(seen, area, gone == Gone::Frame ? &frame : nullptr);
            ASSERT_TRUE(typeCell(w->view, 1, c.col, c.typed, Qt::Key_unknown));
            if (gone == Gone::View)
                delete w->view;
            if (gone == Gone::Frame)
                delete frame;
            else
                delete w;
            QCoreApplication::processEvents();
            EXPECT_EQ(seen.late, 0);
        }
}

namespace {

// A view over a grid of rows "a<n>\tb<n>" under a header row; the rows named hold two lines, the
// rows listed in bigFont a cell in a larger font.
void fillRows(GridView& view, int rows, const QList<int>& twoLines, const QList<int>& bigFont)
{
    Grid& g = view.grid();
    g.setRows(0);
    g.setFormatString("|A|B");
    g.setFixedRows(1);
    g.setFixedCols(1);
    for (int r = 1; r <= rows; ++r)
        g.addRow(twoLines.contains(r) ? QStringLiteral("\tdeux\rlignes\tb")
                                      : QStringLiteral("\ta%1\tb%1").arg(r));
    for (int r : bigFont)
        g.setFontSize({r, 2, r, 2}, 20);
    view.resize(400, 300);
}

} // namespace

TEST(GridViewFit, EachRowTakesTheHeightOfItsContents)
{
    const struct
    {
        const char* name;
        QList<int> twoLines;
        QList<int> bigFont;
    } cases[] = {
        {"rows of one line, a few of more", {3, 40}, {7}},
        {"most rows of more than one line",
         [] {
             QList<int> all;
             for (int r = 1; r <= 200; r += 2)
                 all << r;
             return all;
         }(),
         {}},
        {"rows of one line only", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GridView fitted, measured;
        fillRows(fitted, 200, c.twoLines, c.bigFont);
        fillRows(measured, 200, c.twoLines, c.bigFont);
        fitted.fitRowHeights();
        measured.resizeRowsToContents(); // every row measured
        for (int r = 0; r < measured.model()->rowCount(); ++r)
            ASSERT_EQ(fitted.rowHeight(r), measured.rowHeight(r)) << "row " << r + 1;
        for (int r : c.twoLines)
            EXPECT_GT(fitted.rowHeight(r - 1), fitted.rowHeight(1)) << "row " << r;
    }
}

TEST(GridViewFit, ColumnsOfALongListFitTheRowsAScreenShows)
{
    GridView view;
    fillRows(view, 2000, {}, {});
    view.grid().setCell(500, 1, "un texte bien plus long que tous ceux des premières lignes");
    view.fitColumnWidths(1, 1);
    const int allRows = view.columnWidth(0);
    view.setFitsShownRows(true);
    view.fitColumnWidths(1, 1);
    EXPECT_LT(view.columnWidth(0), allRows) << "row 500 is far below the rows shown";
    view.grid().setCell(2, 1, "un texte bien plus long que tous ceux des premières lignes");
    view.fitColumnWidths(1, 1);
    EXPECT_EQ(view.columnWidth(0), allRows);
}

#include "test_gridview.moc"
