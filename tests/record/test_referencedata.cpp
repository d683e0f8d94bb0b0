#include "common/GridHelpers.h"
#include "common/Settings.h"
#include "data/StarterTables.h"
#include "platform/Grid.h"
#include "platform/GridFile.h"
#include "record/ReferenceData.h"
#include "tests/record/ReferenceTables.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace record;
using platform::Grid;
using platform::GridFile;

namespace {

QStringList communeNames(const ReferenceData& refs, const QList<CommuneChoice>& choices)
{
    QStringList names;
    for (const CommuneChoice& c : choices) {
        EXPECT_EQ(refs.commune(c.row).name, c.name) << "the row of " << c.name.toStdString();
        names << c.name;
    }
    return names;
}

} // namespace

// The communes' order is the one the table gets from sorting on the name, then on the department,
// with the program's own sort: tried on texts where the generic comparison is not plain text order.
TEST(ReferenceData, CommunesInTheOrderOfTheTwoSorts)
{
    testing_support::TestEnvironment env;
    const QString path = QDir(env.programFolder()).filePath("Communes.DOV");
    record_samples::writeTable(path, GridFile::Complete,
                               "Département\tN° commune\tCommune\tNom du département\n"
                               "26\t001\tValence\tDrôme\n"
                               "07\t010\tPrivas\tArdèche\n"
                               "26\t002\talbon\tDrôme\n"
                               "2A\t004\tAjaccio\tCorse-du-Sud\n"
                               "26\t003\tÉtoile-sur-Rhône\tDrôme\n"
                               "\t\t\t\n"
                               "1\t005\tBourg\tAin\n"
                               "01\t006\tAmbérieu\tAin\n"
                               "26\t004\t Allex\tDrôme\n"
                               "07\t011\t123\tArdèche\n"
                               "07\t012\tALBA\tArdèche\n"
                               "07\t013\talba\tArdèche\n"
                               "07\t014\t12/01/2010\tArdèche\n"
                               "26\t005\tvalence\tDrôme\n"
                               "\t\t\t\n"
                               "\t\t\t\n");
    ReferenceData refs;
    ASSERT_TRUE(refs.sub_Load_Grid_Communes(path));

    Grid g;
    ASSERT_TRUE(GridFile::load(g, path, GridFile::Complete));
    g.setFixedRows(1);
    sub_Tri_Colonne(g, 3, 3);
    sub_Tri_Colonne(g, 1, 1);
    ASSERT_EQ(refs.communeCount(), g.rows() - 1);
    for (int row = 0; row < refs.communeCount(); ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(refs.commune(row).department, g.cell(row + 1, 1));
        EXPECT_EQ(refs.commune(row).number, g.cell(row + 1, 2));
        EXPECT_EQ(refs.commune(row).name, g.cell(row + 1, 3));
    }
    // Spot checks of that order: blanks first, numbers before texts, case and accents.
    EXPECT_EQ(refs.commune(1).name, "Ambérieu");
    EXPECT_EQ(refs.commune(3).name, "123");
    EXPECT_EQ(refs.commune(refs.communeCount() - 1).name, "");
    EXPECT_EQ(refs.sub_Load_Dept("%"),
              QStringList({"01 - Ain", "1 - Ain", "07 - Ardèche", "26 - Drôme", "2A - Corse-du-Sud"}));
}

TEST(ReferenceData, DepartmentsCommunesAndLookups)
{
    testing_support::TestEnvironment env;
    record_samples::writeSmallTables(env.programFolder());
    ReferenceData refs;
    ASSERT_TRUE(refs.load());

    const struct
    {
        QString setting;
        QStringList departments;
    } studies[] = {
        {"%", {"07 - Ardèche", "26 - Drôme", "48 - Lozère", "2A - Corse-du-Sud"}},
        {"26;07", {"07 - Ardèche", "26 - Drôme"}},
        {"%;48", {"48 - Lozère"}},
        {"2A", {"2A - Corse-du-Sud"}},
        {"", {}},
    };
    for (const auto& s : studies)
        EXPECT_EQ(refs.sub_Load_Dept(s.setting), s.departments) << s.setting.toStdString();

    const struct
    {
        QString department;
        QStringList communes;
    } departments[] = {
        {"26 - Drôme", {"Albon", "Sans centre", "Valence", "Valence"}}, // numbers 0 and "abc" left out
        {"07 - Ardèche", {"Privas"}},
        {"48 - Lozère", {}}, // offered, but every row is numbered 0
        {"99 - Nulle part", {}},
        {"", {}},
    };
    for (const auto& d : departments)
        EXPECT_EQ(communeNames(refs, refs.sub_Load_Communes(d.department)), d.communes)
            << d.department.toStdString();

    const int valence = refs.findCommune("26 - Drôme", "Valence");
    ASSERT_GE(valence, 0);
    EXPECT_EQ(refs.commune(valence).number, "001"); // the first of two rows with that key
    EXPECT_EQ(refs.commune(valence).centreX, "800000");
    EXPECT_EQ(refs.commune(valence).centreY, "2000000");
    EXPECT_EQ(refs.findCommune("07 - Ardèche", "Valence"), -1);
    EXPECT_EQ(refs.findCommune("26 - Drôme", "valence"), -1);
    EXPECT_EQ(refs.findCommune("26 - Drôme", "Inconnue"), -1);
    EXPECT_EQ(refs.commune(-1).name, "");
    EXPECT_EQ(refs.commune(refs.communeCount()).name, "");
}

TEST(ReferenceData, NetworksBehavioursHabitatsAndSpecies)
{
    testing_support::TestEnvironment env;
    record_samples::writeSmallTables(env.programFolder());
    ReferenceData refs;
    ASSERT_TRUE(refs.load());

    EXPECT_EQ(refs.networks().items,
              QStringList({"RZO / Autre réseau", " / Sans code", "shoc / Suivi hivernal"}));
    EXPECT_EQ(refs.networks().selected, 2);
    EXPECT_EQ(refs.behaviourList(), " |O~ALIM En alimentation|M~VOL En vol");
    EXPECT_EQ(refs.habitats().items, QStringList({"PA - Prairie", "ch - Céréales d'hiver"}));
    EXPECT_EQ(refs.habitats().selected, 1);
    EXPECT_EQ(refs.speciesNameList(), " |#ALAARV;Alouette des champs|#CAPCAP;Chevreuil|#PICPIC;Pie bavarde");
    EXPECT_EQ(refs.speciesCodeList(), " |#Alouette des champs;ALAARV|#Chevreuil;CAPCAP|#Pie bavarde;PICPIC");
    QStringList codes;
    for (int r = 1; r < refs.speciesTable().rows(); ++r)
        codes << refs.speciesTable().cell(r, 2);
    EXPECT_EQ(codes, QStringList({"", "ALAARV", "CAPCAP", "NOCLAS", "PICPIC"}));
    EXPECT_EQ(refs.habitatTable().cell(2, 1), "ch");
}

TEST(ReferenceData, MissingTablesLeaveEmptyChoices)
{
    testing_support::TestEnvironment env;
    ReferenceData refs;
    const platform::Result r = refs.load();
    EXPECT_FALSE(r);
    EXPECT_EQ(r.error.count(QStringLiteral("\n")), 5) << r.error.toStdString(); // a line per table
    EXPECT_EQ(refs.communeCount(), 0);
    EXPECT_TRUE(refs.sub_Load_Dept("%").isEmpty());
    EXPECT_TRUE(refs.networks().items.isEmpty());
    EXPECT_EQ(refs.networks().selected, -1);
    EXPECT_EQ(refs.habitats().selected, -1);
    EXPECT_EQ(refs.behaviourList(), " ");
    EXPECT_EQ(refs.speciesCodeList(), " ");
    EXPECT_EQ(refs.speciesTable().rows(), 1);
    EXPECT_EQ(refs.speciesTable().formatString(), "|Classe|Espèce|Nom français|Nom scientifique|Saisie");
}

// A new installation: the starter tables of the program's folder, found through the settings'
// defaults; a setting names another file.
TEST(ReferenceData, StarterTablesAndThePathsTheSettingsName)
{
    testing_support::TestEnvironment env;
    for (const InstallationTable& t : sub_Installer_Tables(env.programFolder()))
        ASSERT_EQ(t.etat, EtatInstallation::Installee) << t.erreur.toStdString();
    ReferenceData refs;
    ASSERT_TRUE(refs.load());

    EXPECT_EQ(refs.communeCount(), 34746);
    const QStringList departments = refs.sub_Load_Dept("%");
    EXPECT_EQ(departments.size(), 96);
    EXPECT_EQ(departments.first(), "01 - Ain");
    EXPECT_TRUE(departments.contains("2A - Corse-du-Sud"));
    EXPECT_TRUE(refs.networks().items.value(refs.networks().selected).startsWith("SHOC / "));
    EXPECT_TRUE(refs.habitats().items.value(refs.habitats().selected).startsWith("CH - "));
    EXPECT_TRUE(refs.behaviourList().startsWith(" |O~"));
    EXPECT_TRUE(refs.speciesCodeList().contains("|#Alouette des champs;ALAARV"));

    const QList<CommuneChoice> drome = refs.sub_Load_Communes("26 - Drôme");
    EXPECT_GT(drome.size(), 300);
    for (int i = 1; i < drome.size(); ++i)
        EXPECT_LE(Grid::compareGeneric(drome[i - 1].name, drome[i].name), 0) << drome[i].name.toStdString();
    const int valence = refs.findCommune("26 - Drôme", "Valence");
    ASSERT_GE(valence, 0);
    EXPECT_EQ(refs.commune(valence).department, "26");

    // The setting's path, with its Windows separators, and a file name in another letter case.
    const QString other = QDir(env.dataFolder()).filePath("mes communes.dov");
    record_samples::writeTable(other, GridFile::Complete,
                               "Département\tN° commune\tCommune\n26\t001\tValence\n");
    ASSERT_TRUE(
        sub_Reg_Write_HKLM(gstr_Section_Parametres, "Fichier Communes",
                           QString(other).replace('/', '\\').replace("mes communes", "MES COMMUNES")));
    EXPECT_EQ(ReferencePaths::fromSettings().communes, other);
    EXPECT_EQ(ReferencePaths::fromSettings().species, QDir(env.programFolder()).filePath("Espèces.DOV"));
    ASSERT_TRUE(refs.sub_Load_Grid_Communes(ReferencePaths::fromSettings().communes));
    EXPECT_EQ(refs.communeCount(), 1);
}
