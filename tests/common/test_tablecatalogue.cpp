#include "common/Paths.h"
#include "common/Settings.h"
#include "common/TableCatalogue.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <gtest/gtest.h>

using common::ParamMode;

namespace {

// Every mode that has a table: the one place where a reader or a writer finds its file.
const ParamMode kTableModes[] = {ParamMode::Species,  ParamMode::Squares,    ParamMode::Networks,
                                 ParamMode::Habitats, ParamMode::Behaviours, ParamMode::Addresses};

TEST(TableCatalogue, EveryTableIsFoundHoweverItsSettingAndNameAreWritten)
{
    testing_support::TestEnvironment env;
    for (const ParamMode mode : kTableModes) {
        const common::ReferenceTable& table = *common::paramTable(mode);
        SCOPED_TRACE(table.fileName.toStdString());
        const QString own = QDir(env.programFolder()).filePath(table.fileName);

        // No setting: the program's folder and the file name, whether the file is there or not.
        EXPECT_EQ(common::tablePath(mode), own);

        // A name whose letter case differs is the file used, by default and through the setting.
        const QString upper = QDir(env.programFolder()).filePath(table.fileName.toUpper());
        testing_support::writeBytes(upper, "x");
        EXPECT_EQ(common::tablePath(mode), upper);
        QString windowsStyle = own;
        windowsStyle.replace('/', '\\');
        ASSERT_TRUE(sub_Reg_Write_HKLM(common::kParametersSection, table.setting, windowsStyle));
        EXPECT_EQ(common::tablePath(mode), upper) << "\"\\\" is a separator in the setting";

        // A setting that names another folder is followed there; an empty one names no file.
        const QString elsewhere = QDir(env.dataFolder()).filePath("mes tables " + table.fileName);
        ASSERT_TRUE(sub_Reg_Write_HKLM(common::kParametersSection, table.setting, elsewhere));
        EXPECT_EQ(common::tablePath(mode), elsewhere);
        ASSERT_TRUE(sub_Reg_Write_HKLM(common::kParametersSection, table.setting, QString()));
        EXPECT_EQ(common::tablePath(mode), QString());
    }
    EXPECT_EQ(common::tablePath(ParamMode::Folder), QString()) << "a mode without a table names no file";
}

} // namespace
