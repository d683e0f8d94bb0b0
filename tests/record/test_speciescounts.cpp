#include "record/SpeciesCounts.h"

#include <gtest/gtest.h>

using namespace record;

TEST(SpeciesCounts, RowTotalRoundedAfterEachAddition)
{
    const struct
    {
        QString counts; // the four bands, separated by "|"
        QString total;
        bool zeroGiven;
    } cases[] = {
        {"12||3|", "15", false}, {"1.4|1.4||", "2", false}, // 1, then 2: not 3
        {"2.5|||", "2", false},                             // halves to the even number
        {"3.5|||", "4", false},  {"0.5|0.5|0.5|", "0", false}, {"1.5|1||", "3", false}, {"|||", "0", false},
        {"| 0 ||", "0", true},   {"00|||", "0", false},     // only "0" itself says the species was looked for
        {"abc|||", "0", false},  {"1e400|2||", "2", false}, // not a finite number: counts 0
        {"-0|||", "0", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.counts.toStdString());
        std::array<QString, kDistanceBands> counts;
        for (int b = 0; b < kDistanceBands; ++b)
            counts[size_t(b)] = c.counts.section('|', b, b);
        const SpeciesSum s = speciesRowSum(counts);
        EXPECT_EQ(speciesTotalText(s.sum), c.total);
        EXPECT_EQ(s.zeroGiven, c.zeroGiven);
    }
}

TEST(SpeciesCounts, MergeOfTheRowsOfOneSpecies)
{
    const SpeciesTable table{
        {"O", "PICPIC", "Pie bavarde", {"1", "", "2", ""}, "3", "ALIM En alimentation"},
        {"O", "ALAARV", "Alouette", {"3", "", "", ""}, "3", ""},
        {"O", " picpic", "", {"2", "", "", "1"}, "3", "BAND En bande"},
        {"", "", "Inconnue", {"1", "", "", ""}, "1", ""},
        {"", "", "Autre inconnue", {"1", "", "", ""}, "1", ""},
        {"O", "PICPIC", "Pie bavarde", {"", "", "", "1.4"}, "", "ALIM En alimentation"},
    };
    // Sorted on the code, blank codes first and never merged, equal codes in their order; the
    // total from the bands, or from the typed totals (an empty one counting its bands: 3 + 3 + 1).
    const SpeciesTable merged{
        table[3],
        table[4],
        table[1],
        {"O", "PICPIC", "Pie bavarde", {"3", "", "2", "2.4"}, "7", "ALIM En alimentation ; BAND En bande"},
    };
    for (const bool typed : {false, true}) {
        SpeciesTable t = table;
        EXPECT_EQ(mergeSameSpecies(t, typed), 2);
        EXPECT_EQ(t, merged) << typed;
    }

    // Typed totals add up, whatever the bands; a missing class is taken from the row merged in;
    // two rows without a total keep none.
    SpeciesTable hares{{"", "LEPEUR", "", {"1", "", "", ""}, "10", ""},
                       {"M", "LEPEUR", "Lièvre", {"", "", "", ""}, "5", ""}};
    EXPECT_EQ(mergeSameSpecies(hares, true), 1);
    EXPECT_EQ(hares, SpeciesTable({{"M", "LEPEUR", "Lièvre", {"1", "", "", ""}, "15", ""}}));
    SpeciesTable larks{{"O", "ALAARV", "A", {"1", "", "", ""}, "", ""},
                       {"O", "ALAARV", "A", {"2", "", "", ""}, "", ""}};
    EXPECT_EQ(mergeSameSpecies(larks, true), 1);
    EXPECT_EQ(larks[0].total + "/" + larks[0].counts[0], "/3");
}
