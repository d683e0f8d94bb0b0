#include "grid/Grid.h"
#include "record/SpeciesStore.h"

#include <gtest/gtest.h>

using namespace record;

namespace {

// A species grid as the window shows it: 50 rows, species typed in some of them.
void showSpecies(grid::Grid& g, const QList<QStringList>& rows, double fontSize = 8.25)
{
    fillSpeciesGrid(g, {});
    g.setRows(50);
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            g.setCell(r + 1, c + 1, rows[r][c]);
    g.setFontSize({0, 0, g.rows() - 1, g.cols() - 1}, fontSize);
}

} // namespace

TEST(SpeciesStore, EachParcelKeepsItsOwnGridPerStore)
{
    SpeciesStore store;
    grid::Grid shown;
    showSpecies(shown, {{"O", "ALAARV", "Alouette des champs", "3", "", "", "", "3"}});
    store.sub_Flx_Grid_to_File(shown, 1);
    showSpecies(shown, {{"O", "PICPIC", "Pie bavarde", "1", "", "", "", "1"}});
    store.sub_Flx_Grid_to_File(shown, 12);

    store.sub_Flx_File_to_Grid(shown, 1);
    EXPECT_EQ(shown.cell(1, 2), "ALAARV");
    EXPECT_EQ(shown.rows(), 50);
    EXPECT_EQ(shown.cell(0, 1), "Classe");

    // A parcel never stored shows empty cells, not the previous parcel's species.
    store.sub_Flx_File_to_Grid(shown, 2);
    EXPECT_EQ(shown.cell(1, 2), "");
    EXPECT_EQ(store.parcels(), QList<int>({1, 12}));

    // Another window's store knows nothing of these grids.
    SpeciesStore other;
    EXPECT_FALSE(other.contains(1));

    store.sub_Flx_Kill_WRK();
    EXPECT_TRUE(store.parcels().isEmpty());
    EXPECT_EQ(store.table(12), std::nullopt);
}

// A grid stored at a larger size than the one noted when the window opened comes back at the
// noted size; a smaller one keeps its size.
TEST(SpeciesStore, FontSizeNoted)
{
    SpeciesStore store;
    store.setNotedFontSize(8.25);
    for (const auto& [stored, back] : {std::pair{12.0, 8.25}, {6.5, 6.5}}) {
        grid::Grid g;
        showSpecies(g, {{"O", "ALAARV"}}, stored);
        store.sub_Flx_Grid_to_File(g, 3);
        store.sub_Flx_File_to_Grid(g, 3);
        EXPECT_DOUBLE_EQ(g.fontSize(0, 0), back);
        EXPECT_DOUBLE_EQ(g.fontSize(49, 9), back);
    }
}

// The rows that count as species: anything from the class to the total; not the indices alone.
TEST(SpeciesStore, TablesOfTheGridsRows)
{
    grid::Grid g;
    showSpecies(g, {{"O", "ALAARV", "Alouette", "3", "", "", "", "3", "O~NI"},
                    {},
                    {"", "", "", "", "", "", "", "", "O~NI"},
                    {"", "", "Pipit ?", "", "2", "", "", "2"},
                    {"", "", "", "", "", "", "", "4"}});
    g.setCell(2, 0, "2"); // row numbers of the fixed column are no data
    const SpeciesTable expected = {{"O", "ALAARV", "Alouette", {"3", "", "", ""}, "3", "O~NI"},
                                   {"", "", "Pipit ?", {"", "2", "", ""}, "2", ""},
                                   {"", "", "", {"", "", "", ""}, "4", ""}};
    EXPECT_EQ(speciesTableOf(g), expected);

    SpeciesStore store;
    store.setTable(4, expected);
    EXPECT_EQ(store.table(4), expected);
    store.setTable(5, {});
    ASSERT_TRUE(store.table(5).has_value());
    EXPECT_TRUE(store.table(5)->isEmpty());
    EXPECT_EQ(store.table(6), std::nullopt);
}
