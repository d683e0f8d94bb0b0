#include "tests/record/ReferenceTables.h"

#include "data/StarterTables.h"
#include "platform/Grid.h"
#include "platform/GridFile.h"

#include <QDir>
#include <gtest/gtest.h>

namespace record_samples {

void writeTable(const QString& path, int code, const QString& tsv)
{
    platform::Grid g;
    ASSERT_EQ(fun_Grille_Depuis_Texte(g, tsv), QString());
    ASSERT_TRUE(platform::GridFile::save(g, path, code, true)) << path.toStdString();
}

void writeSmallTables(const QString& folder)
{
    using platform::GridFile;
    const QDir d(folder);
    writeTable(d.filePath("Communes.DOV"), GridFile::Complete,
               "Département\tN° commune\tCommune\tNom du département\tX centre\tY centre\n"
               "26\t001\tValence\tDrôme\t800000\t2000000\n"
               "07\t010\tPrivas\tArdèche\n"
               "26\t002\tAlbon\tDrôme\n"
               "2A\t004\tAjaccio\tCorse-du-Sud\n"
               "26\t000\tDrôme\tDrôme\n"
               "26\tabc\tZzz\tDrôme\n"
               "48\t000\tLozère\tLozère\n"
               "26\t005\tValence\tDrôme\n"
               "26\t006\tSans centre\tDrôme\n");
    writeTable(d.filePath("Réseaux.DOV"), GridFile::Workbook,
               "Code\tNom\t5mn\n"
               "RZO\tAutre réseau\n"
               "\t\n"
               "\tSans code\n"
               "shoc\tSuivi hivernal\n");
    writeTable(d.filePath("Comportements_SHOC.dov"), GridFile::Workbook,
               "Classe\tCode\tDéfaut\tListe_Restreinte\tLibellé\n"
               "O\tALIM\t\t\tEn alimentation\n"
               " \tXXXX\t\t\tSans classe\n"
               "M\tVOL\t\t\tEn vol\n");
    writeTable(d.filePath("Milieux_SHOC.DOV"), GridFile::Complete,
               "^Code\tLibellé\n"
               "PA\tPrairie\n"
               "ch\tCéréales d'hiver\n");
    writeTable(d.filePath("Espèces.DOV"), GridFile::Complete,
               "Classe\tEspèce\tNom français\tNom scientifique\tSaisie\n"
               "O\tPICPIC\tPie bavarde\tPica pica\t2\n"
               "O\tALAARV\tAlouette des champs\tAlauda arvensis\t2\n"
               "\tNOCLAS\tSans classe\tx\t2\n"
               "O\t\tSans code\tx\t2\n"
               "M\tCAPCAP\tChevreuil\tCapreolus capreolus\t2\n");
}

} // namespace record_samples
