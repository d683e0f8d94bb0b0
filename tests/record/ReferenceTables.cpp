#include "tests/record/ReferenceTables.h"

#include "record/ReferenceData.h"

#include "data/StarterTables.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace record_samples {

void writeTable(const QString& path, int code, const QString& tsv)
{
    grid::Grid g;
    ASSERT_EQ(data::gridFromText(g, tsv), QString());
    ASSERT_TRUE(grid::GridFile::save(g, path, code, true)) << path.toStdString();
}

void writeSmallTables(const QString& folder)
{
    using grid::GridFile;
    const QDir d(folder);
    writeTable(
        d.filePath("Communes.DOV"), GridFile::Complete,
        "Dép\tN°\tCommune\tNom du département\tX\tY\n26\t001\tValence\tDrôme\t800000\t2000000\n"
        "07\t010\tPrivas\tArdèche\n26\t002\tAlbon\tDrôme\n2A\t004\tAjaccio\tCorse-du-Sud\n"
        "26\t000\tDrôme\tDrôme\n26\tabc\tZzz\tDrôme\n48\t000\tLozère\tLozère\n26\t005\tValence\tDrôme\n"
        "26\t006\tSans centre\tDrôme\n");
    writeTable(d.filePath("Réseaux.DOV"), GridFile::Workbook,
               "Code\tNom\nRZO\tAutre réseau\n\t\n\tSans code\nshoc\tSuivi hivernal\n");
    writeTable(d.filePath("Comportements_SHOC.dov"), GridFile::Workbook,
               "Classe\tCode\t\t\tLibellé\nO\tALIM\t\t\tEn alimentation\n \tXXXX\t\t\tSans classe\n"
               "M\tVOL\t\t\tEn vol\n");
    writeTable(d.filePath("Milieux_SHOC.DOV"), GridFile::Complete,
               "Code\tLibellé\nPA\tPrairie\nch\tCéréales\n");
    writeTable(d.filePath("Espèces.DOV"), GridFile::Complete,
               "Classe\tEspèce\tNom\nO\tPICPIC\tPie bavarde\nO\tALAARV\tAlouette des champs\n"
               "\tNOCLAS\tSans classe\nO\t\tSans code\nM\tCAPCAP\tChevreuil\n");
}

const record::ReferenceData& smallReferences()
{
    static QTemporaryDir dir;
    static record::ReferenceData refs;
    static const bool loaded = [] {
        writeSmallTables(dir.path());
        return bool(refs.load(record::ReferencePaths::inFolder(dir.path())));
    }();
    EXPECT_TRUE(loaded);
    return refs;
}

} // namespace record_samples
