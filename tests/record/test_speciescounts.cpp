#include "record/SpeciesCounts.h"

#include <gtest/gtest.h>

using namespace record;

TEST(SpeciesCounts, RowTotalRoundedAfterEachAddition)
{
    const struct
    {
        std::array<QString, kDistanceBands> counts;
        QString total;
        bool zeroGiven;
    } cases[] = {
        {{"12", "", "3", ""}, "15", false},
        {{"1.4", "1.4", "", ""}, "2", false}, // 1, then 2: not 3
        {{"2.5", "", "", ""}, "2", false},    // halves to the even number
        {{"3.5", "", "", ""}, "4", false},
        {{"0.5", "0.5", "0.5", ""}, "0", false},
        {{"1.5", "1", "", ""}, "3", false}, // 2, then 3
        {{"", "", "", ""}, "0", false},
        {{"", " 0 ", "", ""}, "0", true},
        {{"00", "", "", ""}, "0", false}, // only "0" itself says the species was looked for
        {{"abc", "", "", ""}, "0", false},
        {{"1e400", "2", "", ""}, "2", false}, // not a finite number: counts 0
        {{"-0", "", "", ""}, "0", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringList(c.counts.begin(), c.counts.end()).join('|').toStdString());
        const SpeciesSum s = speciesRowSum(c.counts);
        EXPECT_EQ(speciesTotalText(s.sum), c.total);
        EXPECT_EQ(s.zeroGiven, c.zeroGiven);
    }
}

TEST(SpeciesCounts, MergeOfTheRowsOfOneSpecies)
{
    const SpeciesTable table{
        {"O", "PICPIC", "Pie bavarde", {"1", "", "2", ""}, "3", "ALIM En alimentation"},
        {"O", "ALAARV", "Alouette des champs", {"3", "", "", ""}, "3", ""},
        {"O", " picpic", "", {"2", "", "", "1"}, "3", "BAND En bande"},
        {"", "", "Inconnue", {"1", "", "", ""}, "1", ""},
        {"", "", "Autre inconnue", {"1", "", "", ""}, "1", ""},
        {"O", "PICPIC", "Pie bavarde", {"", "", "", "1.4"}, "", "ALIM En alimentation"},
    };
    const struct
    {
        const char* what;
        bool typed;
        QString pieTotal;
    } cases[] = {
        {"totals computed from the bands", false, "7"},
        {"totals typed (an empty total counts its bands: 3 + 3 + 1)", true, "7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SpeciesTable t = table;
        EXPECT_EQ(mergeSameSpecies(t, c.typed), 2);
        // Sorted on the code, blank codes first and never merged, equal codes in their order.
        const SpeciesTable expected{
            {"", "", "Inconnue", {"1", "", "", ""}, "1", ""},
            {"", "", "Autre inconnue", {"1", "", "", ""}, "1", ""},
            {"O", "ALAARV", "Alouette des champs", {"3", "", "", ""}, "3", ""},
            {"O",
             "PICPIC",
             "Pie bavarde",
             {"3", "", "2", "2.4"},
             c.pieTotal,
             "ALIM En alimentation ; BAND En bande"},
        };
        EXPECT_EQ(t, expected);
    }

    // A typed total larger than the bands stays the sum of the typed totals; a missing class is
    // taken from the merged row.
    SpeciesTable typed{{"", "LEPEUR", "", {"1", "", "", ""}, "10", ""},
                       {"M", "LEPEUR", "Lièvre d'Europe", {"", "", "", ""}, "5", ""}};
    EXPECT_EQ(mergeSameSpecies(typed, true), 1);
    EXPECT_EQ(typed, SpeciesTable({{"M", "LEPEUR", "Lièvre d'Europe", {"1", "", "", ""}, "15", ""}}));
    SpeciesTable noTotals{{"O", "ALAARV", "A", {"1", "", "", ""}, "", ""},
                          {"O", "ALAARV", "A", {"2", "", "", ""}, "", ""}};
    EXPECT_EQ(mergeSameSpecies(noTotals, true), 1);
    EXPECT_EQ(noTotals[0].total, "");
    EXPECT_EQ(noTotals[0].counts[0], "3");
}
