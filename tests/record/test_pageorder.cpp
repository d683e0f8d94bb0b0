// The keyboard's way through the record window's pages.

#include "record/PageOrder.h"

#include <gtest/gtest.h>

using record::nextReachablePage;

TEST(PageOrder, NextReachablePageGoesRoundAndPassesOverThePagesThatCannotBeShown)
{
    struct Row
    {
        const char* name;
        QList<bool> reachable;
        int current;
        int step;
        int page;
    };
    const QList<bool> all{true, true, true, true, true};
    const QList<bool> speciesClosed{true, true, true, false, true};
    const Row rows[] = {
        {"forward", all, 1, 1, 2},
        {"backward", all, 2, -1, 1},
        {"last to first", all, 4, 1, 0},
        {"first to last", all, 0, -1, 4},
        {"over a page not open", speciesClosed, 2, 1, 4},
        {"back over a page not open", speciesClosed, 4, -1, 2},
        {"alone", {true, false, false}, 0, 1, 0},
        {"no page", {}, 0, 1, -1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(nextReachablePage(r.reachable, r.current, r.step), r.page) << r.name;
}
