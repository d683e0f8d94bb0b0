// The grids' keyboard commands without a window, on a parcel grid (row p is parcel p: a label in
// a read-only column, texts, a check box) and on a grid of free rows; and the commune copied into
// the parcel rows of the location grid.

#include "grid/Grid.h"
#include "record/GridCommands.h"
#include "record/LocationGrid.h"
#include "record/ParcelCommunes.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace record;
using grid::Grid;
using grid::GridRange;
namespace mb = platform::mb;
using Command = GridCommands::Command;

namespace {

// Six parcels: column 1 the label (read-only), columns 2 and 3 texts, column 4 hidden, column 5
// a check box.
void fillParcels(Grid& g)
{
    g.setRows(0);
    g.setFormatString("|Parcelle|A|B|Caché|Coché");
    g.setFixedRows(1);
    g.setFixedCols(1);
    for (int p = 1; p <= 6; ++p)
        g.addRow(QStringLiteral("\tP%1\ta%1\tb%1\th%1").arg(p));
    g.setReadOnly({1, 1, 6, 1}, true);
    g.setColHidden(4, true);
    g.setColDataType(5, Grid::DataType::Boolean);
    g.setCheckState(6, 5, Grid::Checked);
    g.setEditable(Grid::Editable::KeyboardMouse);
}

QString rows(const Grid& g)
{
    QStringList out;
    for (int r = 1; r < g.rows(); ++r)
        out << g.rangeText({r, 1, r, 4}) + (g.checkState(r, 5) == Grid::Checked ? "\tX" : "\t-");
    return out.join('|');
}

class GridCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fillParcels(parcels);
        fillParcels(free);
        for (GridCommands* c : {&parcelCommands, &freeCommands}) {
            c->aboutToChange = [this](Command command, const GridRange& range) {
                EXPECT_EQ(announced.size(), seen.size()) << "announced once, before the change";
                announced << Change{command, range};
            };
            c->changed = [this](Command command, const GridRange& range) { seen << Change{command, range}; };
        }
    }

    struct Change
    {
        Command command;
        GridRange range;
        bool operator==(const Change&) const = default;
    };
    testing_support::TestEnvironment env;
    Grid parcels;
    Grid free;
    GridCommands parcelCommands{parcels, GridCommands::Rows::Parcels};
    GridCommands freeCommands{free, GridCommands::Rows::Free};
    QList<Change> seen;
    QList<Change> announced;
};

} // namespace

// Spreadsheet rows, whatever their line ends; a line end after the last row adds none; read-only,
// hidden and check-box cells are not written; a parcel grid never grows, free rows do.
TEST_F(GridCommandsTest, PasteOfSpreadsheetRows)
{
    for (const QString end : {"\n", "\r\n", "\r"}) {
        fillParcels(parcels);
        seen.clear();
        announced.clear();
        parcels.select(4, 1);
        const QString text = "L\tx\ty\tz\t1" + end + "L\tx2" + end + "L\tx3\ty3\tz3\tw3\tv3" + end;
        EXPECT_EQ(parcelCommands.paste(text), (GridRange{4, 1, 6, 5}));
        EXPECT_EQ(rows(parcels).section('|', 2), "P3\ta3\tb3\th3\t-|P4\tx\ty\th4\t-|P5\tx2\tb5\th5\t-|"
                                                 "P6\tx3\ty3\th6\tX");
        EXPECT_EQ(seen, (QList<Change>{{Command::Paste, {4, 1, 6, 5}}}));
        EXPECT_EQ(announced, seen);
    }
    free.select(6, 2);
    EXPECT_EQ(freeCommands.paste("m\r\nn\r\no\r\n"), (GridRange{6, 2, 8, 2}));
    EXPECT_EQ(free.cell(8, 2), "o");
    EXPECT_TRUE(free.isReadOnly(8, 1)) << "new rows painted as the last one";
    EXPECT_TRUE(parcelCommands.paste("\r\n").isEmpty());
}

// Rows 3 to 6 selected from row 6 up: the question shows 4 rows and row 6's values; Yes writes
// them into rows 3 to 5 (the label stays, the check box follows); the current cell ends on the
// first row, last column.
TEST_F(GridCommandsTest, FillFromRow6UpToRow3)
{
    parcels.select(6, 1, 3, 5);
    env.dialogs().answer(mb::Yes);
    EXPECT_TRUE(parcelCommands.fill());
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(env.dialogs().asked()[0].text, "4 lignes sélectionnées par la valeur \nP6\ta6\tb6\th6\tOui");
    EXPECT_EQ(env.dialogs().asked()[0].style, mb::YesNo | mb::Question);
    EXPECT_EQ(env.dialogs().asked()[0].title, "Mirelot");
    EXPECT_EQ(rows(parcels), "P1\ta1\tb1\th1\t-|P2\ta2\tb2\th2\t-|P3\ta6\tb6\th3\tX|P4\ta6\tb6\th4\tX|"
                             "P5\ta6\tb6\th5\tX|P6\ta6\tb6\th6\tX");
    EXPECT_EQ(parcels.row(), 3);
    EXPECT_EQ(parcels.col(), 5);
    EXPECT_EQ(seen, (QList<Change>{{Command::Fill, {3, 1, 6, 5}}}));
    EXPECT_EQ(announced, seen);

    // No: nothing changes. One row selected: nothing asked.
    fillParcels(parcels);
    parcels.select(2, 2, 4, 3);
    env.dialogs().answer(mb::No);
    EXPECT_FALSE(parcelCommands.fill());
    EXPECT_EQ(parcels.cell(4, 2), "a4");
    parcels.select(2, 2, 2, 5);
    EXPECT_FALSE(parcelCommands.fill());
    EXPECT_EQ(env.dialogs().asked().size(), 2);
}

// Delete: a parcel grid keeps its rows and empties what the user may edit; a grid of free rows
// loses the selected rows.
TEST_F(GridCommandsTest, DeleteEmptiesParcelsAndRemovesFreeRows)
{
    parcels.select(5, 1, 6, 5);
    parcelCommands.deleteSelection();
    EXPECT_EQ(parcels.rows(), 7);
    EXPECT_EQ(rows(parcels).section('|', 4), "P5\t\t\th5\t-|P6\t\t\th6\t-");
    EXPECT_EQ(rows(parcels).section('|', 3, 3), "P4\ta4\tb4\th4\t-");

    free.select(4, 3, 2, 3);
    freeCommands.deleteSelection();
    EXPECT_EQ(free.rows(), 4);
    EXPECT_EQ(rows(free), "P1\ta1\tb1\th1\t-|P5\ta5\tb5\th5\t-|P6\ta6\tb6\th6\tX");
    EXPECT_EQ(seen, (QList<Change>{{Command::Delete, {5, 1, 6, 5}}, {Command::Delete, {2, 3, 4, 3}}}));
    EXPECT_EQ(announced, seen);

    // A grid the user may not edit is left as it is, and nothing is asked.
    free.setEditable(Grid::Editable::None);
    free.select(1, 2, 3, 3);
    freeCommands.deleteSelection();
    EXPECT_FALSE(freeCommands.fill());
    EXPECT_TRUE(freeCommands.paste("x").isEmpty());
    EXPECT_EQ(rows(free), "P1\ta1\tb1\th1\t-|P5\ta5\tb5\th5\t-|P6\ta6\tb6\th6\tX");
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
}

// Choosing the site's commune puts it into every parcel row; a row whose commune changed loses
// its "validated" tick and its information, the others keep theirs.
TEST(ParcelCommunes, TheCommuneGoesIntoEveryParcelRow)
{
    Grid loc;
    loc.setRows(5);
    loc.setCols(LocColumns);
    for (int p = 1; p <= 4; ++p) {
        loc.addRow(QStringLiteral("\t\t26 - Drôme\t%1").arg(p == 2 ? "Montélimar" : "Valence"), p);
        loc.setCheckState(p, LocValidated, Grid::Checked);
        loc.setCell(p, LocInformation, "Possible erreur");
        loc.setBackColour({p, LocInformation, p, LocInformation}, grid::gridRgb(255, 192, 192));
    }
    EXPECT_EQ(copyCommuneToParcels(loc, 3, "26 - Drôme", "Valence"), 1);
    const auto state = [&](int p) {
        return loc.rangeText({p, LocDepartment, p, LocCommune}) +
               (loc.checkState(p, LocValidated) == Grid::Checked ? " X " : " - ") +
               loc.cell(p, LocInformation) + (loc.backColour(p, LocInformation) ? " rouge" : "");
    };
    EXPECT_EQ(state(1), "26 - Drôme\tValence X Possible erreur rouge");
    EXPECT_EQ(state(2), "26 - Drôme\tValence - ");
    EXPECT_EQ(state(4), "26 - Drôme\tValence X Possible erreur rouge") << "past the last parcel";
    EXPECT_EQ(copyCommuneToParcels(loc, 3, "07 - Ardèche", "Valence"), 3);
    EXPECT_EQ(state(3), "07 - Ardèche\tValence - ");
}
