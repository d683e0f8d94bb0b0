#include "common/GridHelpers.h"
#include "common/Settings.h"
#include "data/StarterTables.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "record/ReferenceData.h"
#include "tests/record/ReferenceTables.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace record;
using grid::Grid;
using grid::GridFile;

// The communes' order is the one the table gets from the program's sort on the name, then on the
// department: tried where the generic comparison is not the order of the texts (numbers, dates,
// case, accents, blanks, codes equal as numbers, empty rows at the bottom).
TEST(ReferenceData, CommunesInTheOrderOfTheTwoSorts)
{
    testing_support::TestEnvironment env;
    const QString path = QDir(env.programFolder()).filePath("Communes.DOV");
    record_samples::writeTable(
        path, GridFile::Complete,
        "Dép\tN°\tCommune\tNom\n26\t001\tValence\tDrôme\n07\t010\tPrivas\tArdèche\n"
        "26\t002\talbon\tDrôme\n2A\t004\tAjaccio\tCorse\n26\t003\tÉtoile\tDrôme\n\t\t\t\n"
        "1\t005\tBourg\tAin\n01\t006\tAmbérieu\tAin\n26\t004\t Allex\tDrôme\n"
        "07\t011\t123\tArdèche\n07\t012\tALBA\tArdèche\n07\t013\talba\tArdèche\n"
        "07\t014\t12/01/2010\tArdèche\n26\t005\tvalence\tDrôme\n\t\t\t\n\t\t\t\n");
    ReferenceData refs;
    ASSERT_TRUE(refs.sub_Load_Grid_Communes(path));
    Grid g;
    ASSERT_TRUE(GridFile::load(g, path, GridFile::Complete));
    sub_Tri_Colonne(g, 3, 3);
    sub_Tri_Colonne(g, 1, 1);
    ASSERT_EQ(refs.communeCount(), g.rows() - 1);
    for (int row = 0; row < refs.communeCount(); ++row) {
        EXPECT_EQ(refs.commune(row).department, g.cell(row + 1, 1)) << row;
        EXPECT_EQ(refs.commune(row).number, g.cell(row + 1, 2)) << row;
        EXPECT_EQ(refs.commune(row).name, g.cell(row + 1, 3)) << row;
    }
    EXPECT_EQ(refs.commune(3).name, "123"); // a blank row, the two Ain rows, then numbers first
    EXPECT_EQ(refs.sub_Load_Dept("%"),
              QStringList({"01 - Ain", "1 - Ain", "07 - Ardèche", "26 - Drôme", "2A - Corse"}));
}

// A department takes the name its first commune in name order gives it, whatever the order of the
// table and however its other rows name it.
TEST(ReferenceData, ADepartmentIsNamedByItsFirstCommune)
{
    testing_support::TestEnvironment env;
    const QString path = QDir(env.programFolder()).filePath("Communes.DOV");
    const struct
    {
        const char* name;
        const char* table;
        QString department;
    } cases[] = {
        {"rows named alike", "Dép\tN°\tCommune\tNom\n26\t001\tValence\tDrôme\n26\t002\tAlbon\tDrôme\n",
         "26 - Drôme"},
        {"rows named otherwise", "Dép\tN°\tCommune\tNom\n26\t001\tValence\tDrôme\n26\t002\tAlbon\tDROME\n",
         "26 - DROME"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        record_samples::writeTable(path, GridFile::Complete, QString::fromUtf8(c.table));
        ReferenceData refs;
        ASSERT_TRUE(refs.sub_Load_Grid_Communes(path));
        EXPECT_EQ(refs.sub_Load_Dept("%"), QStringList({c.department}));
        EXPECT_EQ(refs.commune(0).name, "Albon");
    }
}

TEST(ReferenceData, ListsAndLookups)
{
    testing_support::TestEnvironment env;
    record_samples::writeSmallTables(env.programFolder());
    ReferenceData refs;
    ASSERT_TRUE(refs.load());

    // Departments offered by the study setting: "%" alone means all, otherwise contained codes.
    EXPECT_EQ(refs.sub_Load_Dept("%"),
              QStringList({"07 - Ardèche", "26 - Drôme", "48 - Lozère", "2A - Corse-du-Sud"}));
    EXPECT_EQ(refs.sub_Load_Dept("26;07"), QStringList({"07 - Ardèche", "26 - Drôme"}));
    EXPECT_EQ(refs.sub_Load_Dept("%;48"), QStringList({"48 - Lozère"}));
    EXPECT_EQ(refs.sub_Load_Dept(""), QStringList());
    // A department's communes, numbers 0 and "abc" left out; each choice's row names it.
    const struct
    {
        QString department;
        QStringList communes;
    } departments[] = {{"26 - Drôme", {"Albon", "Sans centre", "Valence", "Valence"}},
                       {"07", {"Privas"}},
                       {"48 - Lozère", {}},
                       {"99 - Nulle part", {}}};
    for (const auto& d : departments) {
        QStringList names;
        for (const CommuneChoice& c : refs.sub_Load_Communes(d.department)) {
            EXPECT_EQ(refs.commune(c.row).name, c.name);
            names << c.name;
        }
        EXPECT_EQ(names, d.communes) << d.department.toStdString();
    }
    const int valence = refs.findCommune("26 - Drôme", "Valence");
    EXPECT_EQ(refs.commune(valence).number, "001"); // the first of two rows with that key
    EXPECT_EQ(refs.commune(valence).centreX + " " + refs.commune(valence).centreY, "800000 2000000");
    EXPECT_EQ(refs.findCommune("07 - Ardèche", "Valence"), -1);
    EXPECT_EQ(refs.findCommune("26 - Drôme", "valence"), -1);

    EXPECT_EQ(refs.networks().items,
              QStringList({"RZO / Autre réseau", " / Sans code", "shoc / Suivi hivernal"}));
    EXPECT_EQ(refs.networks().selected, 2);
    EXPECT_EQ(refs.behaviourList(), " |O~ALIM En alimentation|M~VOL En vol");
    EXPECT_EQ(refs.habitats().items, QStringList({"PA - Prairie", "ch - Céréales"}));
    EXPECT_EQ(refs.habitats().selected, 1);
    EXPECT_EQ(refs.speciesNameList(), " |#ALAARV;Alouette des champs|#CAPCAP;Chevreuil|#PICPIC;Pie bavarde");
    EXPECT_EQ(refs.speciesCodeList(), " |#Alouette des champs;ALAARV|#Chevreuil;CAPCAP|#Pie bavarde;PICPIC");
    EXPECT_EQ(refs.speciesTable().cell(2, 2), "ALAARV"); // the table in code order, the blank code first
}

TEST(ReferenceData, MissingTablesLeaveEmptyChoices)
{
    testing_support::TestEnvironment env;
    ReferenceData refs;
    const platform::Result r = refs.load();
    EXPECT_EQ(r.error.count('\n'), 5) << r.error.toStdString(); // a line for each table
    EXPECT_EQ(refs.communeCount() + refs.networks().items.size() + refs.habitats().items.size(), 0);
    EXPECT_EQ(refs.networks().selected + refs.habitats().selected, -2);
    EXPECT_EQ(refs.behaviourList() + refs.speciesCodeList(), "  ");
    EXPECT_EQ(refs.speciesTable().formatString(), "|Classe|Espèce|Nom français|Nom scientifique|Saisie");
}

// A new installation: the starter tables of the program's folder; a setting names another file.
TEST(ReferenceData, StarterTablesAndThePathsTheSettingsName)
{
    testing_support::TestEnvironment env;
    for (const data::TableInstallation& t : data::installStarterTables(env.programFolder()))
        ASSERT_EQ(t.state, data::InstallState::Installed) << t.error.toStdString();
    ReferenceData refs;
    ASSERT_TRUE(refs.load());
    EXPECT_EQ(refs.communeCount(), 34746);
    const QStringList departments = refs.sub_Load_Dept("%");
    EXPECT_EQ(departments.size(), 96);
    EXPECT_EQ(departments.first(), "01 - Ain");
    EXPECT_TRUE(refs.networks().items.value(refs.networks().selected).startsWith("SHOC / "));
    EXPECT_TRUE(refs.habitats().items.value(refs.habitats().selected).startsWith("CH - "));
    const QList<CommuneChoice> drome = refs.sub_Load_Communes("26 - Drôme");
    EXPECT_GT(drome.size(), 300);
    for (int i = 1; i < drome.size(); ++i)
        EXPECT_LE(Grid::compareGeneric(drome[i - 1].name, drome[i].name), 0) << drome[i].name.toStdString();
    EXPECT_EQ(refs.commune(refs.findCommune("26 - Drôme", "Valence")).department, "26");
    // The species names in French order: an accented letter sorts with its plain letter.
    QStringList names;
    for (const QString& item : refs.speciesNameList().split('|').mid(1))
        names << item.section(';', 1);
    EXPECT_EQ(names.filter(QRegularExpression("^B")),
              QStringList({"Bécasse des bois", "Bécassine des marais", "Bergeronnette des ruisseaux",
                           "Bergeronnette grise", "Bouscarle de Cetti", "Bouvreuil pivoine",
                           "Bruant des roseaux", "Bruant jaune", "Bruant proyer", "Bruant zizi",
                           "Busard Saint-Martin", "Buse variable"}));

    // The setting's path, with its Windows separators and another letter case.
    const QString other = QDir(env.dataFolder()).filePath("mes communes.dov");
    record_samples::writeTable(other, GridFile::Complete, "Dép\tN°\tCommune\n26\t001\tValence\n");
    ASSERT_TRUE(
        sub_Reg_Write_HKLM(common::kParametersSection, "Fichier Communes",
                           QString(other).replace('/', '\\').replace("mes communes", "MES COMMUNES")));
    EXPECT_EQ(ReferencePaths::fromSettings().communes, other);
    EXPECT_EQ(ReferencePaths::fromSettings().species, QDir(env.programFolder()).filePath("Espèces.DOV"));
}
