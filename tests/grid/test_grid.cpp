#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "tests/support/CheckFailures.h"

#include "tests/support/TestEnvironment.h"

#include <QSignalSpy>
#include <functional>
#include <gtest/gtest.h>

using namespace grid;

namespace {

// Builds a grid from rows of tab-separated texts; the first row is the header.
void fill(Grid& g, const QStringList& rows, int fixedRows = 1, int fixedCols = 0)
{
    int cols = 0;
    for (const QString& r : rows)
        cols = std::max<int>(cols, int(r.split(u'\t').size()));
    g.setRows(0);
    g.setCols(cols);
    for (const QString& r : rows)
        g.addRow(r);
    g.setFixedRows(fixedRows);
    g.setFixedCols(fixedCols);
}

QStringList column(const Grid& g, int col, int from = 0)
{
    QStringList out;
    for (int r = from; r < g.rows(); ++r)
        out << g.cell(r, col);
    return out;
}

QStringList rowsOf(const Grid& g)
{
    QStringList out;
    for (int r = 0; r < g.rows(); ++r)
        out << g.rangeText({r, 0, r, g.cols() - 1});
    return out;
}

} // namespace

// ---------------------------------------------------------------- size and header

TEST(GridSize, SettingCountsKeepsTheRemainingCells)
{
    Grid g;
    g.setCols(3);
    g.setRows(3);
    g.setCell(1, 1, "b");
    g.setCell(2, 2, "c");
    g.setRows(2); // drops row 2
    g.setCols(5);
    EXPECT_EQ(g.cell(1, 1), "b");
    g.setRows(3);
    EXPECT_EQ(g.cell(2, 2), "") << "a dropped row comes back empty";
    g.setCols(2);
    EXPECT_EQ(g.cell(1, 1), "b");
    EXPECT_EQ(g.cols(), 2);
    EXPECT_EQ(g.cell(5, 0), "") << "outside the grid";
    EXPECT_EQ(g.rows(), 3);
}

TEST(GridSize, AWriteOutsideTheGridFailsTheCheckAndChangesNothing)
{
    struct Row
    {
        const char* name;
        std::function<void(Grid&)> write;
    };
    const Row rows[] = {
        {"cell below the last row", [](Grid& g) { g.setCell(3, 0, "x"); }},
        {"cell right of the last column", [](Grid& g) { g.setCell(0, 2, "x"); }},
        {"cell of row -1", [](Grid& g) { g.setCell(-1, 0, "x"); }},
        {"check state", [](Grid& g) { g.setCheckState(1, 5, Grid::Checked); }},
        {"row key", [](Grid& g) { g.setRowKey(7, "k"); }},
        {"column setting", [](Grid& g) { g.setColDataType(2, Grid::DataType::Boolean); }},
        {"column -1", [](Grid& g) { g.setColWidth(-1, 40); }},
    };
    for (const Row& r : rows) {
        Grid g;
        g.setCols(2);
        g.setRows(3);
        g.setCell(1, 1, "b");
        const QByteArray before = GridFile::toComplete(g);
        const QStringList checks = testing_support::failedChecks([&] { r.write(g); });
        EXPECT_EQ(checks.size(), 1) << r.name;
        EXPECT_EQ(GridFile::toComplete(g), before) << r.name;
    }
}

TEST(GridSize, FixedCountsStayWithinTheCounts)
{
    struct Row
    {
        const char* name;
        int rows, cols, fixedRows, fixedCols;
        int expRows, expCols, expFixedRows, expFixedCols;
    };
    const Row rows[] = {
        {"plain", 5, 4, 1, 1, 5, 4, 1, 1},
        {"fixed rows above the rows grow the grid", 0, 4, 2, 1, 2, 4, 2, 1},
        {"fixed columns above the columns grow the grid", 3, 1, 1, 3, 3, 3, 1, 3},
        {"no fixed cells", 3, 3, 0, 0, 3, 3, 0, 0},
    };
    for (const Row& r : rows) {
        Grid g;
        g.setRows(r.rows);
        g.setCols(r.cols);
        g.setFixedRows(r.fixedRows);
        g.setFixedCols(r.fixedCols);
        EXPECT_EQ(g.rows(), r.expRows) << r.name;
        EXPECT_EQ(g.cols(), r.expCols) << r.name;
        EXPECT_EQ(g.fixedRows(), r.expFixedRows) << r.name;
        EXPECT_EQ(g.fixedCols(), r.expFixedCols) << r.name;
    }
    Grid g;
    g.setRows(4);
    g.setFixedRows(3);
    g.setRows(2);
    EXPECT_EQ(g.fixedRows(), 2) << "shrinking the grid lowers the fixed count";
}

TEST(GridFormatString, TitlesColumnsAndCentring)
{
    struct Row
    {
        const char* name;
        QString format;
        QStringList titles;
        QList<int> centred;
    };
    const Row rows[] = {
        {"address book", "|Sélection|Adresse", {"", "Sélection", "Adresse"}, {}},
        {"habitats, centred code", "|^Code|Libellé", {"", "Code", "Libellé"}, {1}},
        {"weather: tabs end titles too",
         "|Parcelle|^Couverture nuageuse\t^Pluie\t^Vent\t^Visibilité",
         {"", "Parcelle", "Couverture nuageuse", "Pluie", "Vent", "Visibilité"},
         {2, 3, 4, 5}},
        {"record list: a carriage return breaks a title",
         "|Nom du fichier|Nom du site|^N°\rPassage|Date\rPassage",
         {"", "Nom du fichier", "Nom du site", "N°\rPassage", "Date\rPassage"},
         {3}},
        {"a trailing bar gives an empty last title", "|A|B|", {"", "A", "B", ""}, {}},
        {"empty", "", {""}, {}},
    };
    for (const Row& r : rows) {
        Grid g;
        g.setRows(0);
        g.setFormatString(r.format);
        EXPECT_EQ(g.cols(), r.titles.size()) << r.name;
        EXPECT_GE(g.rows(), 1) << r.name;
        for (int c = 0; c < g.cols(); ++c) {
            EXPECT_EQ(g.cell(0, c), r.titles.value(c)) << r.name << " col " << c;
            EXPECT_EQ(g.colCentred(c), r.centred.contains(c)) << r.name << " col " << c;
        }
    }
}

TEST(GridFormatString, HabitatHeaderThenColumnCountDropsTheEmptyLastTitle)
{
    Grid g;
    // Titles joined by carriage returns, as the habitat grid builds its header.
    const QString header = QStringList{"||Parcelle enherbée", "(prairie, jachères)|Sol nu|Culture de",
                                       "céréales d’hiver|Chaume|Réserve", "de chasse|"}
                               .join(u'\r');
    g.setFormatString(header);
    ASSERT_EQ(g.cols(), 8);
    EXPECT_EQ(g.cell(0, 2), "Parcelle enherbée\r(prairie, jachères)");
    EXPECT_EQ(g.cell(0, 4), "Culture de\rcéréales d’hiver");
    EXPECT_EQ(g.cell(0, 7), "");
    g.setCols(7);
    EXPECT_EQ(g.cell(0, 6), "Réserve\rde chasse");
    EXPECT_EQ(g.formatString(),
              "||Parcelle enherbée\r(prairie, jachères)|Sol nu|Culture de\rcéréales d’hiver|Chaume|"
              "Réserve\rde chasse");
}

// ---------------------------------------------------------------- rows, find

TEST(GridRows, AddRowFromTabText)
{
    struct Row
    {
        const char* name;
        QString text;
        int position;
        QStringList expected; // whole grid, one tab text per row
    };
    const Row rows[] = {
        {"appended", "a\tb\tc", -1, {"H0\tH1\tH2", "1\t2\t3", "a\tb\tc"}},
        {"inserted at 1", "a\tb", 1, {"H0\tH1\tH2", "a\tb\t", "1\t2\t3"}},
        {"past the end appends", "z", 9, {"H0\tH1\tH2", "1\t2\t3", "z\t\t"}},
        {"extra texts dropped", "a\tb\tc\td\te", -1, {"H0\tH1\tH2", "1\t2\t3", "a\tb\tc"}},
        {"leading tabs leave column 0 empty", "\t\tx", -1, {"H0\tH1\tH2", "1\t2\t3", "\t\tx"}},
        {"empty text", "", -1, {"H0\tH1\tH2", "1\t2\t3", "\t\t"}},
    };
    for (const Row& r : rows) {
        Grid g;
        fill(g, {"H0\tH1\tH2", "1\t2\t3"});
        g.addRow(r.text, r.position);
        EXPECT_EQ(rowsOf(g), r.expected) << r.name;
    }
}

TEST(GridRows, SetRowWritesTheWholeRowAnewKeepingItsKey)
{
    const struct
    {
        const char* name;
        QStringList texts;
        QString expected;
    } cases[] = {
        {"as many texts as columns", {"a", "b", "c"}, "a\tb\tc"},
        {"fewer: the others empty", {"a"}, "a\t\t"},
        {"more: the extra ones dropped", {"a", "b", "c", "d"}, "a\tb\tc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Grid g;
        fill(g, {"H0\tH1\tH2", "1\t2\t3"});
        g.setRowKey(1, "k");
        g.setBackColour({1, 0, 1, 2}, gridRgb(1, 2, 3));
        g.setCheckState(1, 2, Grid::Checked);
        g.setRow(1, c.texts);
        EXPECT_EQ(rowsOf(g), QStringList({"H0\tH1\tH2", c.expected}));
        EXPECT_EQ(g.rowKey(1), "k");
        EXPECT_EQ(g.backColour(1, 1), 0);
        EXPECT_EQ(g.checkState(1, 2), Grid::NoCheck);
    }
}

TEST(GridRows, RemovingAFixedRowLowersTheFixedCount)
{
    Grid g;
    fill(g, {"H", "a", "b"}, 2);
    g.removeRow(0);
    EXPECT_EQ(g.fixedRows(), 1);
    EXPECT_EQ(column(g, 0), (QStringList{"a", "b"}));
    g.removeRow(5); // nothing
    g.removeRow(-1);
    EXPECT_EQ(g.rows(), 2);
}

TEST(GridFind, FindRowAndFindByKey)
{
    Grid g;
    fill(g, {"Code\tNom", "ALA\tAlouette", "alx\tAlouette lulu", "BUS\tBuse", "ALA\tAlouette bis"});
    g.setRowKey(3, "05-Gap");
    struct Row
    {
        const char* name;
        QString text;
        int start, col;
        bool caseSensitive, whole;
        int expected;
    };
    const Row rows[] = {
        {"whole cell, from the first data row", "ALA", -1, 0, true, true, 1},
        {"from a start row", "ALA", 2, 0, true, true, 4},
        {"the header row is searched when asked", "Code", 0, 0, true, true, 0},
        {"the header row is not searched by default", "Code", -1, 0, true, true, -1},
        {"case matters by default", "ala", -1, 0, true, true, -1},
        {"case ignored", "ALX", -1, 0, false, true, 2},
        {"whole cell: a prefix does not match", "Alouette", -1, 1, true, true, 1},
        {"whole cell: no prefix match", "Alou", -1, 1, true, true, -1},
        {"prefix", "Alouette l", -1, 1, true, false, 2},
        {"missing", "XYZ", -1, 0, true, true, -1},
        {"column outside", "ALA", -1, 7, true, true, -1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(g.findRow(r.text, r.start, r.col, r.caseSensitive, r.whole), r.expected) << r.name;
    EXPECT_EQ(g.findRowByKey("05-Gap"), 3);
    EXPECT_EQ(g.findRowByKey("05-gap"), -1);
    EXPECT_EQ(g.findRowByKey("05-Gap", 4), -1);
}

// ---------------------------------------------------------------- selection text and paste

TEST(GridSelection, TextHasTabsBetweenCellsAndCarriageReturnsBetweenRows)
{
    Grid g;
    fill(g, {"a\tb\tc", "d\te\tf", "g\th\ti"});
    struct Row
    {
        const char* name;
        int r1, c1, r2, c2;
        QString expected;
    };
    const Row rows[] = {
        {"one cell", 1, 1, 1, 1, "e"},
        {"block, no line end after the last row", 0, 0, 1, 1, "a\tb\rd\te"},
        {"selected from the far corner", 2, 2, 1, 1, "e\tf\rh\ti"},
        {"clipped to the grid", 1, 1, 9, 9, "e\tf\rh\ti"},
        {"empty cells keep their tabs", 0, 0, 0, 2, "a\tb\tc"},
    };
    for (const Row& r : rows) {
        g.select(r.r1, r.c1, r.r2, r.c2);
        EXPECT_EQ(g.selectionText(), r.expected) << r.name;
    }
    g.setCell(1, 1, "");
    g.select(1, 0, 1, 2);
    EXPECT_EQ(g.selectionText(), "d\t\tf");
}

TEST(GridSelection, WritingTheTextPastesFromTheTopLeftInsideTheSelection)
{
    struct Row
    {
        const char* name;
        GridRange sel;
        QString text;
        QStringList expected;
    };
    const QStringList start{"a\tb\tc", "d\te\tf", "g\th\ti"};
    const Row rows[] = {
        {"one cell", {1, 1, 1, 1}, "X", {"a\tb\tc", "d\tX\tf", "g\th\ti"}},
        {"block", {0, 1, 1, 2}, "1\t2\r3\t4", {"a\t1\t2", "d\t3\t4", "g\th\ti"}},
        {"from the top-left whatever the anchor",
         {2, 2, 1, 1},
         "1\t2\r3\t4",
         {"a\tb\tc", "d\t1\t2", "g\t3\t4"}},
        {"more text than selection: clipped to it",
         {0, 0, 0, 0},
         "1\t2\r3\t4",
         {"1\tb\tc", "d\te\tf", "g\th\ti"}},
        {"clipped to the grid", {2, 2, 5, 5}, "1\t2\r3\t4", {"a\tb\tc", "d\te\tf", "g\th\t1"}},
        {"short rows leave the other cells", {0, 0, 1, 2}, "1\r2\t3", {"1\tb\tc", "2\t3\tf", "g\th\ti"}},
        {"CR LF and LF end rows too", {0, 0, 2, 0}, "1\r\n2\n3", {"1\tb\tc", "2\te\tf", "3\th\ti"}},
        {"a final carriage return is one more, empty, row",
         {0, 0, 2, 0},
         "1\r2\r",
         {"1\tb\tc", "2\te\tf", "\th\ti"}},
        {"empty text empties the first cell", {1, 1, 2, 2}, "", {"a\tb\tc", "d\t\tf", "g\th\ti"}},
    };
    for (const Row& r : rows) {
        Grid g;
        fill(g, start, 0);
        g.select(r.sel.row1, r.sel.col1, r.sel.row2, r.sel.col2);
        g.setSelectionText(r.text);
        EXPECT_EQ(rowsOf(g), r.expected) << r.name;
    }
}

TEST(GridSelection, CopyAndPasteBetweenGridsKeepsEveryCell)
{
    // The record writer's step: one row of a work grid pasted into a record row shifted by one.
    Grid work, record;
    fill(work, {"\tOiseaux\tALAARV\tAlouette des champs\t3\t\t1\t\t4\tM,F"}, 0);
    record.setRows(2);
    record.setCols(12);
    work.select(0, 0, 0, work.cols() - 1);
    record.select(1, 1, 1, work.cols());
    record.setSelectionText(work.selectionText());
    EXPECT_EQ(record.cell(1, 0), "");
    EXPECT_EQ(record.cell(1, 3), "ALAARV");
    EXPECT_EQ(record.cell(1, 10), "M,F");
    EXPECT_EQ(record.cell(1, 11), "");
}

TEST(GridSelection, FillModeWritesTheTextIntoEverySelectedCell)
{
    Grid g;
    fill(g, {"a\tb", "c\td", "e\tf"}, 0);
    g.select(0, 1, 2, 1);
    g.setText("X");
    EXPECT_EQ(column(g, 1), (QStringList{"X", "d", "f"})) << "fill mode off: the current cell only";
    g.setFillRepeat(true);
    g.setText("Y");
    EXPECT_EQ(column(g, 1), (QStringList{"Y", "Y", "Y"}));
    EXPECT_EQ(column(g, 0), (QStringList{"a", "c", "e"}));
    g.setCell(1, 0, "Z"); // cell writes are never repeated
    EXPECT_EQ(column(g, 0), (QStringList{"a", "Z", "e"}));
}

TEST(GridSelection, SelectedRowsInFreeAndListBoxModes)
{
    Grid g;
    fill(g, {"H", "1", "2", "3", "4", "5"});
    g.select(4, 0, 2, 0);
    EXPECT_EQ(g.selectedRowCount(), 3);
    EXPECT_EQ(g.selectedRows(), (QList<int>{2, 3, 4}));
    EXPECT_EQ(g.selectedRow(0), 2);
    EXPECT_EQ(g.selectedRow(3), -1);

    g.setSelectionMode(Grid::SelectionMode::ListBox);
    EXPECT_EQ(g.selectedRowCount(), 0) << "changing the mode clears the flags";
    g.setRowSelected(5, true);
    g.setRowSelected(1, true);
    g.setRowSelected(3, true);
    g.setRowSelected(3, false);
    EXPECT_EQ(g.selectedRows(), (QList<int>{1, 5})) << "in grid order";
    EXPECT_EQ(g.selectedRow(1), 5);
    EXPECT_TRUE(g.isRowSelected(5));
    EXPECT_FALSE(g.isRowSelected(3));
    g.select(2, 0); // selecting by code selects that row only
    EXPECT_EQ(g.selectedRows(), (QList<int>{2}));
}

// ---------------------------------------------------------------- cell settings

TEST(GridCells, CheckStates)
{
    Grid g;
    fill(g, {"\tSélection\tAdresse", "\t\ta@b.fr", "\t\tc@d.fr"});
    EXPECT_EQ(g.checkState(1, 1), Grid::NoCheck);
    g.setColDataType(1, Grid::DataType::Boolean);
    EXPECT_EQ(g.checkState(1, 1), Grid::Unchecked) << "a Boolean column reads unchecked";
    EXPECT_EQ(g.checkState(0, 1), Grid::NoCheck) << "not in its fixed rows";
    g.setCheckState(2, 1, Grid::Checked);
    EXPECT_EQ(g.checkState(2, 1), Grid::Checked);
    g.setCheckState(2, 1, 7); // not a state
    EXPECT_EQ(g.checkState(2, 1), Grid::Checked);
    g.setCheckState({1, 1, 2, 1}, Grid::Unchecked);
    EXPECT_EQ(g.checkState(2, 1), Grid::Unchecked);
    g.setCheckState(1, 2, Grid::Checked); // any cell may hold a state
    EXPECT_EQ(g.checkState(1, 2), Grid::Checked);
    EXPECT_EQ(g.displayText(1, 1), "") << "a Boolean column shows no text";
    EXPECT_EQ(g.displayText(0, 1), "Sélection");
}

TEST(GridCells, SettingsOverARangeAndReadOnlyCells)
{
    Grid g;
    g.setRows(4);
    g.setCols(4);
    g.setBackColour({1, 1, 2, 2}, gridRgb(255, 0, 0));
    EXPECT_EQ(g.backColour(2, 2), 255);
    EXPECT_EQ(g.backColour(3, 3), 0);
    g.setBackColour({1, 1, 1, 1}, 0);
    EXPECT_EQ(g.backColour(1, 1), 0) << "0 removes a cell's own colour";
    EXPECT_DOUBLE_EQ(g.fontSize(0, 0), 8.25);
    g.setFontSize({0, 0, 3, 3}, 12);
    g.setFontName({0, 0, 0, 0}, "Arial");
    EXPECT_DOUBLE_EQ(g.fontSize(3, 3), 12);
    EXPECT_EQ(g.fontName(0, 0), "Arial");
    EXPECT_EQ(g.fontName(1, 0), "");
    g.setFontSize({0, 0, 0, 0}, -5); // refused
    EXPECT_DOUBLE_EQ(g.fontSize(0, 0), 12);

    g.setReadOnly({0, 3, 3, 3}, true);
    EXPECT_TRUE(g.isReadOnly(2, 3));
    EXPECT_EQ(g.backColour(2, 3), g.backColourFixed()) << "read-only cells show the fixed colour";
    g.setReadOnly({2, 3, 2, 3}, false);
    EXPECT_FALSE(g.isReadOnly(2, 3));
    EXPECT_EQ(g.backColour(2, 3), 0);
    g.clearRange({0, 3, 1, 3});
    EXPECT_FALSE(g.isReadOnly(0, 3));
    EXPECT_TRUE(g.isReadOnly(3, 3));
}

TEST(GridCells, ClearEmptiesCellsButKeepsCountsAndColumns)
{
    Grid g;
    fill(g, {"H\tI", "a\tb"});
    g.setColHidden(1, true);
    g.setCheckState(1, 0, Grid::Checked);
    g.setRowKey(1, "k");
    g.clear();
    EXPECT_EQ(g.rows(), 2);
    EXPECT_EQ(g.cols(), 2);
    EXPECT_EQ(g.cell(0, 0), "");
    EXPECT_EQ(g.checkState(1, 0), Grid::NoCheck);
    EXPECT_EQ(g.rowKey(1), "");
    EXPECT_TRUE(g.colHidden(1));
}

TEST(GridEditLists, ItemsCodesAndTyping)
{
    struct Row
    {
        const char* name;
        QString list;
        bool typing;
        QList<GridEditItem> items;
    };
    const Row rows[] = {
        {"weather list",
         " |#1;1 - Absente|#2;2 - Bruine",
         false,
         {{" ", " "}, {"1", "1 - Absente"}, {"2", "2 - Bruine"}}},
        {"leading bar allows typing",
         "| |05 - Hautes-Alpes|38 - Isère",
         true,
         {{" ", " "}, {"05 - Hautes-Alpes", "05 - Hautes-Alpes"}, {"38 - Isère", "38 - Isère"}}},
        {"trailing bar adds no item",
         " |Chant|Cri|",
         false,
         {{" ", " "}, {"Chant", "Chant"}, {"Cri", "Cri"}}},
        {"code without label", "#7|#8;huit", false, {{"7", "7"}, {"8", "huit"}}},
        {"empty", "", false, {}},
    };
    for (const Row& r : rows) {
        const GridEditList l = Grid::parseEditList(r.list);
        EXPECT_EQ(l.typingAllowed, r.typing) << r.name;
        EXPECT_EQ(l.items, r.items) << r.name;
    }
}

TEST(GridEditLists, CodesShowTheirLabels)
{
    Grid g;
    fill(g, {"\tParcelle\tPluie", "\tParcelle N°01\t2", "\tParcelle N°02\t9"});
    g.setColEditList(2, " |#1;1 - Absente|#2;2 - Bruine|#3;3 - Averses");
    EXPECT_EQ(g.cell(1, 2), "2");
    EXPECT_EQ(g.displayText(1, 2), "2 - Bruine");
    EXPECT_EQ(g.displayText(2, 2), "9") << "a code outside the list shows itself";
    EXPECT_EQ(g.displayText(0, 2), "Pluie");
    g.setColEditList(2, "#2;deux");
    EXPECT_EQ(g.displayText(1, 2), "deux") << "a new list is read again";
    g.setEditList("#x;y");
    EXPECT_EQ(g.editListFor(2), "#x;y") << "the editor's own list wins";
    g.setEditList("");
    EXPECT_EQ(g.editListFor(2), "#2;deux");
}

// ---------------------------------------------------------------- generic comparison and sort

TEST(GridCompare, GenericComparisonDefinedOnce)
{
    using T = Grid::DataType;
    struct Row
    {
        const char* a;
        const char* b;
        T type;
        int sign;
    };
    const Row rows[] = {
        {"9", "10", T::Default, -1},     // numbers as numbers
        {"-3,5", "2", T::Default, -1},   // decimal comma
        {"1.5e3", "200", T::Default, 1}, // exponent
        {" 12 ", "12", T::Default, 0},   // trimmed
        {"0012", "12", T::Default, 0},
        {"05/11/2009", "12/01/2009", T::Default, 1}, // dates as dates, not as text
        {"31/12/2009", "01/01/2010", T::Default, -1},
        {"01/01/2010 08:30", "01/01/2010 18:00", T::Default, -1},
        {"01/01/2010 18:00:05", "01/01/2010 18:00", T::Default, 1},
        {"31/02/2010", "01/01/2010", T::Default, 1}, // no real day: text, after dates
        {"alouette", "Buse", T::Default, -1},        // case ignored
        {"ALOUETTE", "alouette", T::Default, 0},
        {"Élanion", "élanion", T::Default, 0},
        {"", "0", T::Default, -1}, // blanks first
        {"   ", "a", T::Default, -1},
        {"99", "a", T::Default, -1},          // numbers before texts
        {"01/01/2000", "zz", T::Default, -1}, // dates before texts
        {"5", "01/01/2000", T::Default, -1},  // numbers before dates
        {"12 bis", "12", T::Default, 1},      // not a number
        {"9", "10", T::String, 1},            // a String column compares as text
        {"05/11/2009", "12/01/2009", T::String, -1},
        {"9", "10", T::Date, 1}, // a Date column: no numbers
        {"05/11/2009", "12/01/2009", T::Date, 1},
    };
    for (const Row& r : rows) {
        const int c = Grid::compareGeneric(r.a, r.b, r.type);
        EXPECT_EQ((c > 0) - (c < 0), r.sign) << r.a << " vs " << r.b << " type " << int(r.type);
        const int back = Grid::compareGeneric(r.b, r.a, r.type);
        EXPECT_EQ((back > 0) - (back < 0), -r.sign) << "antisymmetric: " << r.a << " vs " << r.b;
    }
}

TEST(GridSort, StableGenericSortOfARange)
{
    struct Row
    {
        const char* name;
        Grid::Sort order;
        GridRange range;
        QStringList expected; // column 1 then column 2 of every row, after the sort
    };
    // Rows: header, then (name, number, tag).
    const QStringList start{"H\tNom\tN",   "x1\tbuse\t10",    "x2\tAlouette\t9",
                            "x3\tbuse\t2", "x4\talouette\t9", "x5\t\t"};
    const Row rows[] = {
        {"ascending on one column, ties keep their order",
         Grid::Sort::GenericAscending,
         {1, 1, 4, 1},
         {"x2", "x4", "x1", "x3", "x5"}},
        {"descending, ties keep their order",
         Grid::Sort::GenericDescending,
         {1, 1, 4, 1},
         {"x1", "x3", "x2", "x4", "x5"}},
        {"two key columns from left to right",
         Grid::Sort::GenericAscending,
         {1, 1, 4, 2},
         {"x2", "x4", "x3", "x1", "x5"}}, // the second key puts 2 before 10
        {"numbers as numbers", Grid::Sort::GenericAscending, {1, 2, 4, 2}, {"x3", "x2", "x4", "x1", "x5"}},
        {"rows outside the range stay",
         Grid::Sort::GenericAscending,
         {2, 1, 3, 1},
         {"x1", "x2", "x3", "x4", "x5"}},
        {"blank first when included",
         Grid::Sort::GenericAscending,
         {1, 1, 5, 1},
         {"x5", "x2", "x4", "x1", "x3"}},
    };
    for (const Row& r : rows) {
        Grid g;
        fill(g, start);
        g.select(r.range.row1, r.range.col1, r.range.row2, r.range.col2);
        g.sort(r.order);
        EXPECT_EQ(column(g, 0, 1), r.expected) << r.name;
        EXPECT_EQ(g.cell(0, 1), "Nom") << r.name;
    }
}

TEST(GridSort, WholeRowsMoveWithTheirSettingsAndKeys)
{
    Grid g;
    fill(g, {"H\tK\tOther", "r1\tb\tone", "r2\ta\ttwo"});
    g.setCheckState(1, 2, Grid::Checked);
    g.setBackColour({2, 0, 2, 0}, 255);
    g.setRowKey(1, "key-b");
    g.sortRange({1, 1, 2, 1}, Grid::Sort::GenericAscending);
    EXPECT_EQ(g.cell(1, 0), "r2");
    EXPECT_EQ(g.cell(1, 2), "two") << "columns outside the keys move too";
    EXPECT_EQ(g.backColour(1, 0), 255);
    EXPECT_EQ(g.checkState(2, 2), Grid::Checked);
    EXPECT_EQ(g.rowKey(2), "key-b");
    EXPECT_EQ(g.findRowByKey("key-b"), 2);
}

TEST(GridSort, ColumnSortSettings)
{
    Grid g;
    fill(g, {"H\tA\tB", "r1\t1\tx", "r2\t2\ty", "r3\t1\tz"});
    g.setColSort(1, Grid::Sort::GenericDescending);
    // column 2 has no sort setting: it is no key
    g.sortRange({1, 1, 3, 2}, Grid::Sort::UseColumnSort);
    EXPECT_EQ(column(g, 0, 1), (QStringList{"r2", "r1", "r3"}));
    g.setColSort(1, Grid::Sort::None);
    g.sortRange({1, 1, 3, 2}, Grid::Sort::UseColumnSort);
    EXPECT_EQ(column(g, 0, 1), (QStringList{"r2", "r1", "r3"})) << "no key column: nothing moves";
}

TEST(GridSort, DateColumnsSortChronologically)
{
    Grid g;
    fill(g, {"\tFichier\tDate", "\tA\t05/11/2009 10:00:00", "\tB\t12/01/2010 09:00:00",
             "\tC\t06/11/2009 08:00:00"});
    g.setColDataType(2, Grid::DataType::Date);
    g.sortRange({1, 2, 3, 2}, Grid::Sort::GenericDescending);
    EXPECT_EQ(column(g, 1, 1), (QStringList{"B", "C", "A"}));
}

// ---------------------------------------------------------------- notifications

TEST(GridSignals, ChangesAreAnnouncedAndRedrawOffHoldsThemBack)
{
    Grid g;
    g.setRows(3);
    g.setCols(3);
    QSignalSpy cells(&g, &Grid::cellsChanged);
    QSignalSpy inserted(&g, &Grid::rowsInserted);
    QSignalSpy resets(&g, &Grid::reset);
    g.setCell(1, 1, "a");
    ASSERT_EQ(cells.size(), 1);
    EXPECT_EQ(cells[0], (QList<QVariant>{1, 1, 1, 1}));
    g.addRow("x");
    EXPECT_EQ(inserted.size(), 1);
    g.setRedraw(false);
    g.setCell(2, 2, "b");
    g.addRow("y");
    g.setCols(5);
    EXPECT_EQ(cells.size(), 1);
    EXPECT_EQ(inserted.size(), 1);
    g.setRedraw(true);
    EXPECT_EQ(resets.size(), 1) << "redraw on: one reset";
}

TEST(GridCopy, CopyFromTakesCellsSettingsAndCounts)
{
    Grid a, b;
    fill(a, {"H\tI", "x\ty"});
    a.setCheckState(1, 1, Grid::Checked);
    a.setColHidden(1, true);
    a.setRowKey(1, "k");
    a.select(1, 1);
    b.setRows(9);
    b.copyFrom(a);
    EXPECT_EQ(b.rows(), 2);
    EXPECT_EQ(b.cell(1, 1), "y");
    EXPECT_EQ(b.checkState(1, 1), Grid::Checked);
    EXPECT_TRUE(b.colHidden(1));
    EXPECT_EQ(b.rowKey(1), "k");
    EXPECT_EQ(b.row(), 1);
    a.setCell(1, 1, "changed");
    EXPECT_EQ(b.cell(1, 1), "y") << "a copy, not a view";
}
