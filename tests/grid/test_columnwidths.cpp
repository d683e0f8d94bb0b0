// Column widths that share the width of a grid.

#include "grid/ColumnWidths.h"

#include <gtest/gtest.h>

using grid::fitWidths;

TEST(ColumnWidths, TheWidestNarrowableColumnsGiveWayFirst)
{
    struct Row
    {
        const char* name;
        QList<int> natural;
        QList<int> floors; // -1: kept as it is
        int available;
        QList<int> widths;
    };
    const Row rows[] = {
        {"everything fits", {300, 200, 100}, {50, 50, -1}, 600, {300, 200, 100}},
        {"the widest alone", {300, 200, 100}, {50, 50, -1}, 550, {250, 200, 100}},
        {"both to one width", {300, 200, 100}, {50, 50, -1}, 400, {150, 150, 100}},
        {"not below a floor", {300, 200, 100}, {180, 50, -1}, 380, {180, 100, 100}},
        {"floors when even they do not fit", {300, 200, 100}, {120, 80, -1}, 150, {120, 80, 100}},
        {"a column narrower than its floor", {40, 300, 100}, {60, 50, -1}, 300, {40, 160, 100}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(fitWidths(r.natural, r.floors, r.available), r.widths) << r.name;
}
