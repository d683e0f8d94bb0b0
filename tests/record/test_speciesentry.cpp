// Species entry without the window: the lookup of a code or a name, the first-use question of the
// learning mode, what an edit, a paste or a fill writes into a species row, the editors' keys.

#include "common/OptionMarks.h"
#include "grid/Grid.h"
#include "record/SpeciesConfirmations.h"
#include "record/SpeciesEntry.h"
#include "record/SpeciesStore.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace record;
using grid::Grid;
namespace mb = platform::mb;

namespace {

// The species table as the window holds it (code order, header in row 0, "Saisie" in column 5).
void fillTable(Grid& t)
{
    t.setRows(0);
    t.setFormatString("|Classe|Espèce|Nom français|Nom scientifique|Saisie");
    t.setFixedRows(1);
    t.setFixedCols(1);
    t.addRow("\tO\tALAARV\tAlouette des champs\tAlauda arvensis");
    t.addRow("\tM\tLEPEUR\tLièvre d'Europe\tLepus europaeus");
    t.addRow("\tO\tPICPIC\tPie bavarde\tPica pica");
    for (int r = 1; r < t.rows(); ++r)
        t.setCheckState(r, kSpeciesTableEntered, Grid::Unchecked);
}

// A species grid: header, two empty rows.
void fillSpeciesGrid(Grid& g)
{
    g.setFormatString(kSpeciesHeaderFormat);
    g.setRows(3);
}

QString row(const Grid& g, int r) { return g.rangeText({r, 1, r, SpeciesIndicesColumn}); }
QString gridText(const Grid& g, int rows)
{
    return g.rangeText({1, 1, rows, SpeciesIndicesColumn}).replace('\r', '|');
}

class SpeciesEntryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        common::resetOptions();
        fillTable(table);
        fillSpeciesGrid(species);
    }
    void TearDown() override { common::resetOptions(); }

    testing_support::TestEnvironment env;
    Grid table;
    Grid species;
    SpeciesConfirmations confirmations;
    QStringList confirmed;
    SpeciesEntry entry{table, [this](const QString& code) {
                           confirmed << code;
                           return confirmations.confirm(table, code);
                       }};
};

} // namespace

// Codes are looked for in the code column, names in the name column, each then in the other: a
// code typed in the code column used to be looked for among the names only.
TEST(SpeciesLookup, CodeAndNameEachInTheirColumnThenInTheOther)
{
    Grid t;
    fillTable(t);
    const struct
    {
        QString text;
        int column;
        int row;
    } cases[] = {
        {"ALAARV", kSpeciesTableCode, 1},      {"Pie bavarde", kSpeciesTableName, 3},
        {"Pie bavarde", kSpeciesTableCode, 3}, // the code column's list stores the name
        {"LEPEUR", kSpeciesTableName, 2},      // the name column's list stores the code
        {" picpic ", kSpeciesTableCode, 3},    // blanks and letter case aside
        {"pie BAVARDE", kSpeciesTableName, 3}, {"Alouette", kSpeciesTableName, -1}, // whole cells only
        {"ALA", kSpeciesTableCode, -1},        {"", kSpeciesTableCode, -1},
        {"Classe", kSpeciesTableClass, -1}, // the header is no species
    };
    for (const auto& c : cases)
        EXPECT_EQ(findSpecies(t, c.text, c.column), c.row) << c.text.toStdString() << " " << c.column;
}

// An edit of the code or name looks the species up; a text that names none empties the class and
// the code, keeps the name and leaves the total alone. Totals follow the counts unless typed.
TEST_F(SpeciesEntryTest, AnEditLooksTheSpeciesUpAndTotalsTheRow)
{
    species.setCell(1, 4, "12");
    species.setCell(1, 6, "3");
    species.setCell(1, SpeciesNameColumn, "PICPIC"); // the name column's list stores the code
    EXPECT_TRUE(entry.afterEdit(species, 1, SpeciesNameColumn, true).unknown.isEmpty());
    EXPECT_EQ(row(species, 1), "O\tPICPIC\tPie bavarde\t12\t\t3\t\t15\t");

    species.setCell(1, SpeciesCodeColumn, "XXXYYY");
    EXPECT_EQ(entry.afterEdit(species, 1, SpeciesCodeColumn, true).unknown, QStringList{"XXXYYY"});
    species.setCell(1, 4, "1");
    EXPECT_FALSE(entry.afterEdit(species, 1, 4, false).lookedUp);
    EXPECT_EQ(row(species, 1), "\t\tPie bavarde\t1\t\t3\t\t15\t");
    entry.afterEdit(species, 1, 7, true);
    EXPECT_EQ(species.cell(1, SpeciesTotalColumn), "4");
    EXPECT_EQ(
        unknownSpeciesText({"A", "B"}),
        "Ces espèces sont inconnues : « A », « B ». Ce ne sont ni des codes ni des noms de la table des "
        "espèces.\n\nLeur classe et leur code sont effacés.");
}

// With the learning mode, a species not yet confirmed asks; No refuses it and asks again next
// time; Yes ticks its box for good. Without the mode nothing is asked.
TEST_F(SpeciesEntryTest, LearningModeAsksOncePerSpecies)
{
    common::setOptionChecked("SaisieEsp", true);
    env.dialogs().answer(mb::No);
    EXPECT_EQ(entry.sub_Vérif_Espèce("PICPIC", kSpeciesTableCode).found, SpeciesFound::Refused);
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(env.dialogs().asked()[0].text,
              "ATTENTION !!!\n\n\nVous venez de choisir pour la première fois l'espèce PICPIC/Pie bavarde\n\n"
              "Veuillez confirmer votre intention ; conserver cette nouvelle espèce ?\n\n\n"
              "PS : si vous confirmez, ce message ne s'affichera plus pour cette espèce.");
    EXPECT_EQ(env.dialogs().asked()[0].style, mb::YesNo | mb::Exclamation | mb::DefaultButton2);
    EXPECT_EQ(env.dialogs().asked()[0].title, "SAISIE ESPECE");
    EXPECT_TRUE(confirmed.isEmpty());

    env.dialogs().answer(mb::Yes);
    EXPECT_EQ(entry.sub_Vérif_Espèce("Pie bavarde", kSpeciesTableName).row, 3);
    EXPECT_EQ(entry.sub_Vérif_Espèce("PICPIC", kSpeciesTableCode).row, 3);
    EXPECT_EQ(confirmed, QStringList{"PICPIC"});
    EXPECT_EQ(table.checkState(3, kSpeciesTableEntered), Grid::Checked);

    common::setOptionChecked("SaisieEsp", false);
    EXPECT_EQ(entry.sub_Vérif_Espèce("ALAARV", kSpeciesTableCode).found, SpeciesFound::Found);
    EXPECT_EQ(table.checkState(1, kSpeciesTableEntered), Grid::Unchecked);
    EXPECT_EQ(env.dialogs().asked().size(), 2);
}

// Rows written by a paste or a fill: each row holding a species is looked up (by the code
// written, else its name) and totalled; a species refused once is not asked again in the same
// paste; empty rows stay empty.
TEST_F(SpeciesEntryTest, RowsWrittenByAPasteAreLookedUpAndTotalled)
{
    common::setOptionChecked("SaisieEsp", true);
    const QStringList pasted{"ALAARV\t\t1\t2", "\tPie bavarde\t\t\t4", "XXXYYY\tInconnue\t1", "",
                             "PICPIC\t\t\t1"};
    for (int i = 0; i < pasted.size(); ++i)
        species.addRow("\t\t" + pasted[i], 1 + i);
    env.dialogs().answer(mb::Yes); // ALAARV
    env.dialogs().answer(mb::No);  // Pie bavarde, once for two rows
    const SpeciesLookups l = entry.afterRowsWritten(species, {1, 2, 5, 6}, true);
    EXPECT_EQ(env.dialogs().asked().size(), 2);
    EXPECT_EQ(l.unknown, QStringList{"XXXYYY"});
    EXPECT_EQ(gridText(species, 5), "O\tALAARV\tAlouette des champs\t1\t2\t\t\t3\t|"
                                    "\t\tPie bavarde\t\t\t4\t\t\t|\t\tInconnue\t1\t\t\t\t\t|"
                                    "\t\t\t\t\t\t\t\t|\t\t\t\t1\t\t\t\t");

    // A name pasted over a row with a code: the name decides. Counts alone: no lookup.
    species.setCell(1, SpeciesNameColumn, "Pie bavarde");
    env.dialogs().answer(mb::Yes);
    entry.afterRowsWritten(species, {1, 3, 1, 3}, true);
    EXPECT_EQ(species.cell(1, SpeciesCodeColumn), "PICPIC");
    species.setCell(1, 4, "10");
    EXPECT_FALSE(entry.afterRowsWritten(species, {1, 4, 1, 5}, true).lookedUp);
    EXPECT_EQ(species.cell(1, SpeciesTotalColumn), "12");
}

// Counts and total take digits only (no sign, no decimal separator), "Indices" letters; and
// "Indices" offers the behaviours of the row's class.
TEST(SpeciesKeys, CountsTakeDigitsAndIndicesLetters)
{
    const struct
    {
        int column;
        QString keys;
        QString kept;
    } cases[] = {
        {4, "0123456789-+,.a \b", "0123456789\b"},
        {8, "12-,", "12"},
        {9, "abcZéÉ 1-,\b", "abcZéÉ \b"},
        {2, "A1-,é", "A1-,é"},
    };
    for (const auto& c : cases) {
        QString kept;
        for (QChar ch : c.keys)
            if (speciesKeyAllowed(c.column, ch.unicode()))
                kept += ch;
        EXPECT_EQ(kept, c.kept) << c.column;
    }
    EXPECT_EQ(speciesKeyMessage(speciesKeyRule(9)), "Veuillez saisir uniquement des lettres");

    const QString list = " |O~ALIM En alimentation|O~POSE Posé, au repos|M~TRAC Traces";
    EXPECT_EQ(behaviourListForClass(list, "O"), " |ALIM En alimentation|POSE Posé, au repos|");
    EXPECT_EQ(behaviourListForClass(list, "Mammifère"), " |TRAC Traces|");
    EXPECT_EQ(behaviourListForClass(list, ""), " |");
}
