#pragma once
// The counts of a species row: its total, shared by the species grid (after each edit) and the
// validation (which writes the totals back), and the merge of the rows of one species.

#include "record/SurveyRecord.h"

#include <QString>
#include <array>

namespace record {

// Rounds to the nearest whole number, a half going to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

struct SpeciesSum
{
    double sum = 0;         // a whole number
    bool zeroGiven = false; // some count is exactly "0" (blanks aside): the species was looked for
};

// The four distance-band counts added one by one, the sum rounded after each addition
// (1.4 and 1.4 give 1, then 2). An empty count, or one that is not a finite number, counts 0.
SpeciesSum speciesRowSum(const std::array<QString, kDistanceBands>& counts);

// A sum as the Total cell holds it: the whole number without decimals.
QString speciesTotalText(double sum);

// Merges the rows of the same species: the table is sorted on the species code (equal codes
// keeping their order), then each row whose code (blanks aside, whatever the letter case) is that
// of the row above is added into it and removed. A merged row adds the four distance bands (a
// band empty in both rows stays empty), joins the distinct indices with " ; ", takes a class or
// name it lacks from the row merged into it, and has its total recomputed: from the bands when
// totals are computed, as the sum of both rows' totals when they are typed (a row whose total is
// empty or 0 counting its bands; two rows without a total keep none). Rows without a code are
// never merged. Returns the number of rows removed.
int mergeSameSpecies(SpeciesTable& table, bool totalTypedByHand);

} // namespace record
