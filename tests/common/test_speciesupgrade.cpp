#include "common/OptionMarks.h"
#include "common/Settings.h"
#include "common/SpeciesUpgrade.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

using grid::Grid;
using grid::GridFile;
namespace mb = platform::mb;

namespace {

struct SpeciesTest : ::testing::Test
{
    testing_support::TestEnvironment env;
    QString file() const { return env.programFolder() + "/Espèces.DOV"; }

    void writeTable(int cols, int dataRows, int initialState = Grid::Checked)
    {
        Grid g;
        g.setCols(cols);
        g.setRows(dataRows + 1);
        g.setFixedRows(1);
        g.setFixedCols(1);
        const QStringList header = {"", "Classe", "Espèce", "Nom français", "Nom scientifique", "Saisie"};
        for (int c = 0; c < cols; ++c)
            g.setCell(0, c, header.value(c));
        for (int r = 1; r <= dataRows; ++r) {
            g.setCell(r, 1, "O");
            g.setCell(r, 2, QString("ESP%1").arg(r));
            g.setCell(r, 3, QString("Espèce %1").arg(r));
        }
        if (cols == 6) {
            g.setColDataType(5, Grid::DataType::Boolean);
            for (int r = 1; r <= dataRows; ++r)
                g.setCheckState(r, 5, initialState);
        }
        ASSERT_TRUE(GridFile::save(g, file(), GridFile::Complete, true));
    }
    std::unique_ptr<Grid> readBack()
    {
        auto g = std::make_unique<Grid>();
        EXPECT_TRUE(GridFile::load(*g, file(), GridFile::Complete));
        return g;
    }
};

TEST_F(SpeciesTest, AnswerSetsEveryBoxTheOptionAndTheSetting)
{
    struct Row
    {
        int cols;
        int answer;
        int state;
        bool saisieEsp;
        const char* setting;
    };
    const Row rows[] = {
        {5, mb::Yes, Grid::Unchecked, true, "-1"},
        {5, mb::No, Grid::Checked, false, "0"},
        {6, mb::Yes, Grid::Unchecked, true, "-1"}, // boxes already ticked are cleared too
        {6, mb::No, Grid::Checked, false, "0"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.cols << " columns, answer " << r.answer);
        writeTable(r.cols, 3, Grid::Checked);
        env.dialogs().answer(r.answer);
        Grid scratch;
        scratch.setRows(7); // what the scratch grid held before must not leak into the table
        scratch.setCols(9);
        scratch.setCell(6, 8, "ancien");
        EXPECT_TRUE(sub_Update_Espèce(scratch));
        const auto& box = env.dialogs().asked().last();
        EXPECT_EQ(box.title, "SAISIE DES CODES ESPECES");
        EXPECT_EQ(box.style, 52);
        EXPECT_TRUE(box.text.startsWith(
            "Souhaitez-vous activer la saisie par apprentissage des codes espèces ?\n\n"));
        EXPECT_TRUE(
            box.text.endsWith("\n\n\nPS : si vous n'activez pas cette option tout de suite, vous pourrez "
                              "intervenir sur la liste des codes espèces via le menu paramètres"));
        EXPECT_EQ(common::isOptionChecked("SaisieEsp"), r.saisieEsp);
        EXPECT_EQ(fun_Get_Setting_Str("Paramètres", "Validation Espèces", "2"), r.setting);
        const std::unique_ptr<Grid> back = readBack();
        const Grid& g = *back;
        ASSERT_EQ(g.cols(), 6);
        ASSERT_EQ(g.rows(), 4);
        EXPECT_EQ(g.cell(0, 5), "Saisie");
        EXPECT_EQ(g.colDataType(5), Grid::DataType::Boolean);
        for (int row = 1; row < 4; ++row) {
            EXPECT_EQ(g.checkState(row, 5), r.state) << row;
            EXPECT_EQ(g.cell(row, 2), QString("ESP%1").arg(row));
        }
    }
}

TEST_F(SpeciesTest, HeaderOnlyTableIsWrittenBackAndTheAnswerKept)
{
    writeTable(5, 0);
    env.dialogs().answer(mb::No);
    Grid scratch;
    EXPECT_TRUE(sub_Update_Espèce(scratch));
    EXPECT_EQ(fun_Get_Setting_Str("Paramètres", "Validation Espèces", "2"), "0");
    const std::unique_ptr<Grid> back = readBack();
    const Grid& g = *back;
    EXPECT_EQ(g.rows(), 1);
    EXPECT_EQ(g.cols(), 6);
}

TEST_F(SpeciesTest, UnreadableTableIsLeftAloneAndOnlyTheAnswerKept)
{
    const QByteArray garbage = "ceci n'est pas une table\n\x01\x02";
    QFile f(file());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(garbage);
    f.close();
    env.dialogs().answer(mb::Yes);
    env.dialogs().answer(mb::OK); // the report
    Grid scratch;
    const platform::Result r = sub_Update_Espèce(scratch);
    EXPECT_FALSE(r);
    EXPECT_TRUE(env.dialogs().asked().last().text.startsWith("La table des espèces n'a pas pu être lue"));
    EXPECT_EQ(r.error, env.dialogs().asked().last().text) << "the reason is the text shown";
    EXPECT_EQ(fun_Get_Setting_Str("Paramètres", "Validation Espèces", "2"), "-1");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), garbage);
}

TEST_F(SpeciesTest, MissingTableAsksButWritesNothing)
{
    env.dialogs().answer(mb::Yes);
    Grid scratch;
    EXPECT_FALSE(sub_Update_Espèce(scratch));
    EXPECT_TRUE(common::isOptionChecked("SaisieEsp"));
    EXPECT_FALSE(QFile::exists(file()));
    EXPECT_EQ(scratch.rows(), 0);
}

TEST_F(SpeciesTest, TableIsFoundWhateverTheCaseOfItsName)
{
    // A table copied from elsewhere keeps its own spelling: it is upgraded and written in place.
    struct Row
    {
        const char* name;
    };
    const Row rows[] = {{"ESPÈCES.DOV"}, {"espèces.dov"}, {"Espèces.dov"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        testing_support::TestEnvironment local;
        const QString own = local.programFolder() + "/" + QString::fromUtf8(r.name);
        {
            Grid g;
            g.setCols(5);
            g.setRows(3);
            g.setFixedRows(1);
            g.setCell(1, 2, "ALAARV");
            g.setCell(2, 2, "PERPER");
            ASSERT_TRUE(GridFile::save(g, own, GridFile::Complete, true));
        }
        local.dialogs().answer(mb::No);
        Grid scratch;
        EXPECT_TRUE(sub_Update_Espèce(scratch));
        EXPECT_FALSE(QFile::exists(local.programFolder() + "/Espèces.DOV")) << "no second table beside it";
        Grid back;
        ASSERT_TRUE(GridFile::load(back, own, GridFile::Complete));
        ASSERT_EQ(back.cols(), 6);
        EXPECT_EQ(back.cell(0, 5), "Saisie");
        EXPECT_EQ(back.cell(2, 2), "PERPER");
        EXPECT_EQ(back.checkState(2, 5), Grid::Checked);
    }
}

} // namespace
