// Species entry without the window: the lookup of a code or a name, the first-use question of the
// learning mode, what an edit, a paste or a fill writes into a species row, the editors' keys.

#include "common/Options.h"
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

// A species grid: header, ten empty rows.
void fillSpeciesGrid(Grid& g)
{
    g.setRows(1);
    g.setFormatString(kSpeciesHeaderFormat);
    g.setFixedRows(1);
    g.setFixedCols(1);
    g.setRows(11);
}

QString row(const Grid& g, int r)
{
    return g.rangeText({r, 1, r, SpeciesIndicesColumn});
}

class SpeciesEntryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        sub_Reset_Options();
        fillTable(table);
        fillSpeciesGrid(species);
    }
    void TearDown() override { sub_Reset_Options(); }

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

TEST_F(SpeciesEntryTest, AnEditLooksTheSpeciesUpAndTotalsTheRow)
{
    species.setCell(1, 4, "12");
    species.setCell(1, 6, "3");
    species.setCell(1, SpeciesCodeColumn, "PICPIC");
    SpeciesLookups l = entry.afterEdit(species, 1, SpeciesCodeColumn, true);
    EXPECT_TRUE(l.lookedUp);
    EXPECT_TRUE(l.unknown.isEmpty());
    EXPECT_EQ(row(species, 1), "O\tPICPIC\tPie bavarde\t12\t\t3\t\t15\t");

    // A name chosen in the name column (its list stores the code) finds it as well.
    species.setCell(2, SpeciesNameColumn, "LEPEUR");
    entry.afterEdit(species, 2, SpeciesNameColumn, true);
    EXPECT_EQ(row(species, 2), "M\tLEPEUR\tLièvre d'Europe\t\t\t\t\t0\t");

    // A count edited: no lookup; four empty counts make 0.
    species.setCell(1, 7, "5");
    l = entry.afterEdit(species, 1, 7, true);
    EXPECT_FALSE(l.lookedUp);
    EXPECT_EQ(species.cell(1, SpeciesTotalColumn), "20");

    // Typed totals stay as typed.
    species.setCell(1, SpeciesTotalColumn, "40");
    species.setCell(1, 4, "1");
    entry.afterEdit(species, 1, 4, false);
    EXPECT_EQ(species.cell(1, SpeciesTotalColumn), "40");
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
}

// A text that names no species: the class and code go, the typed name stays, the total is left
// as it was, and the text is reported as unknown.
TEST_F(SpeciesEntryTest, AFailedLookupClearsTheClassAndCodeAndKeepsTheName)
{
    species.addRow("\tO\tPICPIC\tMa pie\t2\t\t\t\t7\t");
    const int r = species.rows() - 1;
    species.setCell(r, SpeciesCodeColumn, "XXXYYY");
    SpeciesLookups l = entry.afterEdit(species, r, SpeciesCodeColumn, true);
    EXPECT_EQ(l.unknown, QStringList{"XXXYYY"});
    EXPECT_EQ(row(species, r), "\t\tMa pie\t2\t\t\t\t7\t");

    species.setCell(r, SpeciesNameColumn, " Pie muette ");
    l = entry.afterEdit(species, r, SpeciesNameColumn, true);
    EXPECT_EQ(l.unknown, QStringList{"Pie muette"});
    EXPECT_EQ(species.cell(r, SpeciesNameColumn), " Pie muette ");

    EXPECT_EQ(unknownSpeciesText({"XXXYYY"}),
              "L'espèce « XXXYYY » est inconnue : ce n'est ni un code ni un nom de la table des espèces.\n\n"
              "Sa classe et son code sont effacés.");
    EXPECT_EQ(
        unknownSpeciesText({"A", "B"}),
        "Ces espèces sont inconnues : « A », « B ». Ce ne sont ni des codes ni des noms de la table des "
        "espèces.\n\nLeur classe et leur code sont effacés.");
}

// With the learning mode, a species not yet confirmed asks; No refuses it (and asks again next
// time); Yes ticks its box, and it never asks again.
TEST_F(SpeciesEntryTest, LearningModeAsksOncePerSpecies)
{
    sub_Cocher_Option("SaisieEsp", true);
    env.dialogs().answer(mb::No);
    species.setCell(1, SpeciesCodeColumn, "PICPIC");
    species.setCell(1, SpeciesClassColumn, "O");
    SpeciesLookups l = entry.afterEdit(species, 1, SpeciesCodeColumn, true);
    EXPECT_TRUE(l.unknown.isEmpty()) << "refused, not unknown";
    EXPECT_EQ(row(species, 1), "\t\t\t\t\t\t\t\t");
    EXPECT_TRUE(confirmed.isEmpty());
    EXPECT_EQ(table.checkState(3, kSpeciesTableEntered), Grid::Unchecked);
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(env.dialogs().asked()[0].text,
              "ATTENTION !!!\n\n\nVous venez de choisir pour la première fois l'espèce PICPIC/Pie bavarde\n\n"
              "Veuillez confirmer votre intention ; conserver cette nouvelle espèce ?\n\n\n"
              "PS : si vous confirmez, ce message ne s'affichera plus pour cette espèce.");
    EXPECT_EQ(env.dialogs().asked()[0].style, mb::YesNo | mb::Exclamation | mb::DefaultButton2);
    EXPECT_EQ(env.dialogs().asked()[0].title, "SAISIE ESPECE");

    env.dialogs().answer(mb::Yes);
    EXPECT_EQ(entry.sub_Vérif_Espèce("Pie bavarde", kSpeciesTableName).found, SpeciesFound::Found);
    EXPECT_EQ(confirmed, QStringList{"PICPIC"});
    EXPECT_EQ(table.checkState(3, kSpeciesTableEntered), Grid::Checked);
    EXPECT_TRUE(confirmations.codes().contains("PICPIC")) << "kept for the write-back";
    const SpeciesMatch again = entry.sub_Vérif_Espèce("PICPIC", kSpeciesTableCode);
    EXPECT_EQ(again.found, SpeciesFound::Found);
    EXPECT_EQ(again.row, 3);
    EXPECT_EQ(env.dialogs().asked().size(), 2);

    // Without the learning mode nothing is asked and nothing ticked.
    sub_Cocher_Option("SaisieEsp", false);
    EXPECT_EQ(entry.sub_Vérif_Espèce("ALAARV", kSpeciesTableCode).found, SpeciesFound::Found);
    EXPECT_EQ(table.checkState(1, kSpeciesTableEntered), Grid::Unchecked);
    EXPECT_EQ(env.dialogs().asked().size(), 2);
}

// A paste or a fill: each row holding a species is looked up (by the code written, else its
// name) and totalled; a species refused once is not asked again in the same paste; empty rows
// stay empty.
TEST_F(SpeciesEntryTest, RowsWrittenByAPasteAreLookedUpAndTotalled)
{
    sub_Cocher_Option("SaisieEsp", true);
    const QStringList pasted{
        "ALAARV\t\t1\t2", "\tPie bavarde\t\t\t4", "XXXYYY\tInconnue\t1",
        "\t\t\t\t",       "pieBAV\t\t1",          "PICPIC\t\t\t1",
    };
    for (int i = 0; i < pasted.size(); ++i) {
        const QStringList cells = pasted[i].split('\t');
        for (int c = 0; c < cells.size(); ++c)
            species.setCell(1 + i, SpeciesCodeColumn + c, cells[c]);
    }
    species.setCell(4, SpeciesClassColumn, "");
    env.dialogs().answer(mb::Yes); // ALAARV
    env.dialogs().answer(mb::No);  // Pie bavarde, once for two rows
    const SpeciesLookups l = entry.afterRowsWritten(species, {1, 2, 6, 6}, true);
    EXPECT_EQ(env.dialogs().asked().size(), 2);
    EXPECT_EQ(l.unknown, (QStringList{"XXXYYY", "pieBAV"}));
    EXPECT_EQ(row(species, 1), "O\tALAARV\tAlouette des champs\t1\t2\t\t\t3\t");
    EXPECT_EQ(row(species, 2), "\t\tPie bavarde\t\t\t4\t\t\t") << "refused";
    EXPECT_EQ(row(species, 3), "\t\tInconnue\t1\t\t\t\t\t");
    EXPECT_EQ(row(species, 4), "\t\t\t\t\t\t\t\t");
    EXPECT_EQ(row(species, 5), "\t\t\t1\t\t\t\t\t");
    EXPECT_EQ(row(species, 6), "\t\t\t\t1\t\t\t\t");

    // Counts alone pasted over a known species: no lookup, the total follows.
    species.setCell(1, 4, "10");
    EXPECT_FALSE(entry.afterRowsWritten(species, {1, 4, 1, 5}, true).lookedUp);
    EXPECT_EQ(species.cell(1, SpeciesTotalColumn), "12");
    // A name pasted over a row with a code: the name decides.
    species.setCell(1, SpeciesNameColumn, "Lièvre d'Europe");
    env.dialogs().answer(mb::Yes);
    entry.afterRowsWritten(species, {1, 3, 1, 3}, true);
    EXPECT_EQ(species.cell(1, SpeciesCodeColumn), "LEPEUR");
}

// Counts and total take digits only (no sign, no decimal separator), "Indices" letters.
TEST(SpeciesKeys, CountsTakeDigitsAndIndicesLetters)
{
    const struct
    {
        int column;
        QString keys;
        QString kept;
    } cases[] = {
        {4, "0123456789-+,.a ", "0123456789"}, {8, "12-,", "12"},     {7, "5e", "5"},
        {9, "abcZéÉ 1-,", "abcZéÉ "},          {2, "A1-,é", "A1-,é"}, {3, "Pie 2", "Pie 2"},
    };
    for (const auto& c : cases) {
        QString kept;
        for (QChar ch : c.keys)
            if (speciesKeyAllowed(c.column, ch.unicode()))
                kept += ch;
        EXPECT_EQ(kept, c.kept) << c.column;
        EXPECT_TRUE(speciesKeyAllowed(c.column, 8)) << "backspace";
    }
    EXPECT_EQ(speciesKeyMessage(speciesKeyRule(5)), "Veuillez saisir uniquement des chiffres");
    EXPECT_EQ(speciesKeyMessage(speciesKeyRule(9)), "Veuillez saisir uniquement des lettres");
}

TEST(SpeciesBehaviours, TheBehavioursOfTheRowsClass)
{
    const QString list = " |O~ALIM En alimentation|O~POSE Posé, au repos|M~TRAC Traces| ~XXXX Sans classe";
    EXPECT_EQ(behaviourListForClass(list, "O"), " |ALIM En alimentation|POSE Posé, au repos|");
    EXPECT_EQ(behaviourListForClass(list, "Mammifère"), " |TRAC Traces|");
    EXPECT_EQ(behaviourListForClass(list, ""), " |");
    EXPECT_EQ(behaviourListForClass(list, "R"), " |");
}

TEST(SpeciesRows, NewRowsAreReadOnlyWhereTheGridIs)
{
    Grid g;
    fillSpeciesGrid(g);
    SpeciesEntry::addEmptyRow(g, true);
    const int last = g.rows() - 1;
    EXPECT_TRUE(g.isReadOnly(last, SpeciesClassColumn));
    EXPECT_TRUE(g.isReadOnly(last, SpeciesTotalColumn));
    EXPECT_FALSE(g.isReadOnly(last, SpeciesCodeColumn));

    // A grid already ending with an empty row keeps it alone; one ending with a species gets one.
    SpeciesEntry::endWithEmptyRow(g, false);
    EXPECT_EQ(g.rows(), last + 1);
    g.setCell(last, SpeciesIndicesColumn, "ALIM");
    SpeciesEntry::endWithEmptyRow(g, false);
    EXPECT_EQ(g.rows(), last + 2);
    EXPECT_FALSE(g.isReadOnly(last + 1, SpeciesTotalColumn));

    SpeciesEntry::paintColumns(g, true);
    EXPECT_TRUE(g.isReadOnly(1, SpeciesTotalColumn) && g.isReadOnly(last + 1, SpeciesTotalColumn));
    SpeciesEntry::paintColumns(g, false);
    EXPECT_FALSE(g.isReadOnly(1, SpeciesTotalColumn));
    EXPECT_TRUE(g.isReadOnly(1, SpeciesClassColumn));
}
