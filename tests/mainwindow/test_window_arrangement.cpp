#include "mainwindow/WindowArrangement.h"

#include <gtest/gtest.h>

using mainwindow::cascadeLayout;
using mainwindow::centredPosition;
using mainwindow::horizontalTileLayout;
using mainwindow::iconLayout;
using mainwindow::openingSize;

TEST(WindowArrangement, CascadeStepsAndFitsEachWindow)
{
    struct Row
    {
        QSize area;
        QList<QSize> sizes;
        int step;
        QList<QRect> rects;
    };
    const QList<Row> rows = {
        {{800, 600}, {}, 20, {}},
        {{800, 600}, {{300, 200}}, 20, {{0, 0, 300, 200}}},
        {{800, 600},
         {{300, 200}, {300, 200}, {300, 200}},
         20,
         {{0, 0, 300, 200}, {20, 20, 300, 200}, {40, 40, 300, 200}}},
        // too large for the area: reduced to what fits from its corner
        {{800, 600}, {{1000, 900}, {1000, 900}}, 30, {{0, 0, 800, 600}, {30, 30, 770, 570}}},
        // a run starts again once less than 160 x 100 would stay inside
        {{400, 300},
         {{100, 80}, {100, 80}, {100, 80}, {100, 80}},
         100,
         {{0, 0, 100, 80}, {100, 100, 100, 80}, {200, 200, 100, 80}, {0, 0, 100, 80}}},
        {{300, 150}, {{50, 50}, {50, 50}}, 60, {{0, 0, 50, 50}, {0, 0, 50, 50}}},
        // a step below 1 is taken as 1
        {{800, 600}, {{10, 10}, {10, 10}}, 0, {{0, 0, 10, 10}, {1, 1, 10, 10}}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(cascadeLayout(r.area, r.sizes, r.step), r.rects) << r.sizes.size() << " windows";
}

TEST(WindowArrangement, HorizontalTilesShareTheHeight)
{
    struct Row
    {
        QSize area;
        int n;
        QList<QRect> rects;
    };
    const QList<Row> rows = {
        {{800, 600}, 0, {}},
        {{800, 600}, 1, {{0, 0, 800, 600}}},
        {{800, 600}, 2, {{0, 0, 800, 300}, {0, 300, 800, 300}}},
        {{800, 601}, 3, {{0, 0, 800, 200}, {0, 200, 800, 200}, {0, 400, 800, 201}}},
        {{800, 2}, 3, {{0, 0, 800, 1}, {0, 1, 800, 1}, {0, 1, 800, 1}}}, // more windows than pixel rows
    };
    for (const Row& r : rows) {
        const QList<QRect> rects = horizontalTileLayout(r.area, r.n);
        EXPECT_EQ(rects, r.rects) << r.n;
        for (const QRect& rect : rects)
            EXPECT_TRUE(QRect(QPoint(0, 0), r.area).contains(rect)) << r.n;
    }
}

TEST(WindowArrangement, IconsLineUpFromTheBottomLeft)
{
    struct Row
    {
        QSize area;
        QList<QSize> sizes;
        QList<QPoint> points;
    };
    const QList<Row> rows = {
        {{500, 400}, {}, {}},
        {{500, 400}, {{160, 30}, {160, 30}}, {{0, 370}, {160, 370}}},
        {{500, 400},
         {{160, 30}, {160, 30}, {160, 30}, {160, 30}},
         {{0, 370}, {160, 370}, {320, 370}, {0, 340}}},
        {{100, 400}, {{160, 30}, {160, 30}}, {{0, 370}, {0, 340}}}, // wider than the area: one per row
        {{500, 400}, {{160, 30}, {160, 40}, {300, 30}}, {{0, 370}, {160, 360}, {0, 330}}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(iconLayout(r.area, r.sizes), r.points) << r.sizes.size();
}

TEST(WindowArrangement, CentreTheLogo)
{
    struct Row
    {
        QSize area;
        QSize size;
        QPoint corner;
    };
    const Row rows[] = {
        {{800, 600}, {400, 200}, {200, 200}},
        {{801, 601}, {400, 200}, {201, 201}}, // 200.5 rounds up
        {{300, 200}, {400, 260}, {-50, -30}},
        {{400, 260}, {400, 260}, {0, 0}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(centredPosition(r.area, r.size), r.corner);
}

TEST(WindowArrangement, OpeningSizeFitsTheArea)
{
    struct Row
    {
        QSize wanted;
        QSize area;
        QSize size;
    };
    const QList<Row> rows = {
        {{700, 500}, {1000, 680}, {700, 500}},
        {{1400, 500}, {1000, 680}, {1000, 500}}, // too wide: as wide as the area
        {{-1, -1}, {1000, 680}, {160, 100}},     // no wish at all: the cascade's minimum
        {{700, 500}, {120, 80}, {120, 80}},      // an area smaller than the minimum
    };
    for (const Row& r : rows)
        EXPECT_EQ(openingSize(r.wanted, r.area), r.size) << r.wanted.width() << "x" << r.wanted.height();
}

TEST(WindowArrangement, MainWindowPlaceKeptAsText)
{
    using mainwindow::MainWindowPlace;
    struct Row
    {
        QString text;
        std::optional<MainWindowPlace> place;
    };
    const QList<Row> rows = {
        {"10,20,900,600,0", MainWindowPlace{{10, 20, 900, 600}, false}},
        {"-1366,0,800,500,1", MainWindowPlace{{-1366, 0, 800, 500}, true}}, // a screen on the left
        {"", std::nullopt},
        {"10,20,900,600", std::nullopt},
        {"10,vingt,900,600,0", std::nullopt},
        {"10,20,0,600,0", std::nullopt},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(mainwindow::readPlace(r.text), r.place) << r.text.toStdString();
        if (r.place) {
            EXPECT_EQ(mainwindow::placeText(*r.place), r.text);
        }
    }
}

TEST(WindowArrangement, MainWindowOpensWhereItWasLeftWithinTheScreensFreeArea)
{
    using mainwindow::MainWindowPlace;
    const QRect area(0, 0, 1366, 738); // a 1366x768 screen less a panel at the bottom
    struct Row
    {
        const char* name;
        std::optional<MainWindowPlace> kept;
        MainWindowPlace place;
    };
    const QList<Row> rows = {
        {"first start: the whole area, maximised", std::nullopt, {area, true}},
        {"kept as left", MainWindowPlace{{100, 50, 900, 600}, false}, {{100, 50, 900, 600}, false}},
        {"larger than the area", MainWindowPlace{{0, 0, 1920, 1080}, false}, {area, false}},
        {"partly beyond the right and bottom",
         MainWindowPlace{{1000, 500, 900, 600}, false},
         {{466, 138, 900, 600}, false}},
        {"on a screen no longer there",
         MainWindowPlace{{-1500, -200, 800, 500}, false},
         {{0, 0, 800, 500}, false}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(mainwindow::openingPlace(r.kept, area), r.place) << r.name;
}
