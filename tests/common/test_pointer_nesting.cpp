// The workbook export called by a caller that already shows the hourglass, on the screen's real
// pointer (the application's override cursor, offscreen): the export takes back its own
// hourglass, and once the caller's ends no hourglass is left on screen.

#include "common/ExcelWriter.h"
#include "common/Globals.h"
#include "grid/Grid.h"
#include "platform/MousePointer.h"
#include "platform/OverrideCursorPointer.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <gtest/gtest.h>

using grid::Grid;

namespace {

class NestedHourglassTest : public ::testing::Test
{
protected:
    NestedHourglassTest()
    {
        env.usePointer(&screen);
        Sub_Test_Version_Excel(gbol_Excel_Disponible, gstr_Version_Excel, glng_Lignes_Par_Feuille);
        grid.setRows(3);
        grid.setCols(2);
        grid.setFixedRows(1);
        grid.setFixedCols(1);
        grid.setCell(0, 1, "N°");
        grid.setCell(1, 1, "1");
        grid.setCell(2, 1, "2");
    }
    ~NestedHourglassTest() override
    {
        env.usePointer(nullptr);
        while (QApplication::overrideCursor()) // a failed case leaves no pointer to the next
            QApplication::restoreOverrideCursor();
    }
    platform::Result exportTo(const QString& path)
    {
        int sheets = 0;
        return sub_Export_Excel(false, grid, path, QString(), "SHOC", false, 0, grid.rows() - 1, sheets);
    }
    static bool hourglassShows()
    {
        return QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    }

    platform::OverrideCursorPointer screen;
    testing_support::TestEnvironment env;
    Grid grid;
};

} // namespace

TEST_F(NestedHourglassTest, TheExportLeavesOnlyTheCallersHourglass)
{
    {
        const platform::PointerGuard callers;
        const platform::Result written = exportTo(QDir(env.dataFolder()).filePath("export.xlsx"));
        EXPECT_TRUE(written.ok) << written.error.toStdString();
        EXPECT_TRUE(hourglassShows()) << "the caller's work goes on";
        EXPECT_FALSE(exportTo(env.path("absent/export.xlsx")).ok);
        EXPECT_TRUE(hourglassShows());
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "an hourglass is left on for good";
}
