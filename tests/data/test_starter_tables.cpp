#include "data/StarterTables.h"

#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

using grid::Grid;
using grid::GridFile;

using testing_support::readBytes;
using testing_support::writeBytes;

namespace {

QStringList headerTexts(const Grid& g)
{
    QStringList out;
    for (int c = 1; c < g.cols(); ++c)
        out << g.cell(0, c);
    return out;
}

// The table as a reader of the program loads it: fixed rows 0, whole-grid load in the table's
// format, then the header row fixed.
bool loadLikeReaders(Grid& g, const QString& path, int code)
{
    g.setFixedRows(0);
    const platform::Result r = GridFile::load(g, path, code);
    EXPECT_TRUE(r.ok) << r.error.toStdString();
    g.setFixedRows(1);
    return r.ok;
}

QStringList installedNames()
{
    return {"Espèces.DOV",      "Carrés.DOV",        "Réseaux.DOV",
            "Milieux_SHOC.DOV", "Comportements.dov", "Comportements_SHOC.dov",
            "Communes.DOV"};
}

} // namespace

// ---------------------------------------------------------------- table texts into grids

TEST(StarterTableText, ReadsHeaderRowsAndCheckBoxes)
{
    struct Row
    {
        const char* name;
        const char* text;
        QList<int> checkColumns;
        int rows;
        int cols;
        QStringList header;
        QStringList row1;      // columns 1.. of row 1
        QList<int> row1Checks; // check state of each check column in row 1
    };
    const Row rows[] = {
        {"header only", "A\tB\n", {}, 1, 3, {"A", "B"}, {}, {}},
        {"no line end after the last row", "A\tB\nx\ty", {}, 2, 3, {"A", "B"}, {"x", "y"}, {}},
        {"carriage returns are not part of the cells",
         "A\tB\r\nx\ty\r\n",
         {},
         2,
         3,
         {"A", "B"},
         {"x", "y"},
         {}},
        {"a short row gets empty cells", "A\tB\tC\nx\n", {}, 2, 4, {"A", "B", "C"}, {"x", "", ""}, {}},
        {"empty cells in the middle stay empty",
         "A\tB\tC\n\t\tz\n",
         {},
         2,
         4,
         {"A", "B", "C"},
         {"", "", "z"},
         {}},
        {"centred title",
         "^Code\tLibellé\nCH\tCéréales\n",
         {},
         2,
         3,
         {"Code", "Libellé"},
         {"CH", "Céréales"},
         {}},
        {"ticked box",
         "Code\tSaisie\nALAARV\t1\n",
         {2},
         2,
         3,
         {"Code", "Saisie"},
         {"ALAARV", ""},
         {Grid::Checked}},
        {"unticked box",
         "Code\tSaisie\nALAARV\t2\n",
         {2},
         2,
         3,
         {"Code", "Saisie"},
         {"ALAARV", ""},
         {Grid::Unchecked}},
        {"empty box cell is unticked",
         "Code\tSaisie\nALAARV\t\n",
         {2},
         2,
         3,
         {"Code", "Saisie"},
         {"ALAARV", ""},
         {Grid::Unchecked}},
        {"missing box cell is unticked",
         "Code\tSaisie\nALAARV\n",
         {2},
         2,
         3,
         {"Code", "Saisie"},
         {"ALAARV", ""},
         {Grid::Unchecked}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Grid g;
        ASSERT_EQ(data::gridFromText(g, QString::fromUtf8(row.text), row.checkColumns), "");
        EXPECT_EQ(g.rows(), row.rows);
        EXPECT_EQ(g.cols(), row.cols);
        EXPECT_EQ(g.fixedRows(), 1);
        EXPECT_EQ(g.fixedCols(), 1);
        EXPECT_EQ(headerTexts(g), row.header);
        EXPECT_EQ(g.cell(0, 0), "");
        for (int c = 0; c < row.row1.size(); ++c)
            EXPECT_EQ(g.cell(1, c + 1), row.row1.at(c)) << "column " << c + 1;
        for (int i = 0; i < row.row1Checks.size(); ++i) {
            const int c = row.checkColumns.at(i);
            EXPECT_EQ(g.colDataType(c), Grid::DataType::Boolean);
            EXPECT_EQ(g.checkState(1, c), row.row1Checks.at(i));
        }
    }
}

TEST(StarterTableText, RefusesWhatIsNoTableAndLeavesTheGrid)
{
    struct Row
    {
        const char* name;
        const char* text;
        QList<int> checkColumns;
    };
    const Row rows[] = {
        {"empty text", "", {}},
        {"blank header", "\nx\ty\n", {}},
        {"row wider than the header", "A\tB\nx\ty\tz\n", {}},
        {"check-box column past the last column", "A\tB\nx\ty\n", {3}},
        {"check-box column on the fixed column", "A\tB\nx\ty\n", {0}},
        {"check-box cell that is no state", "A\tSaisie\nx\toui\n", {2}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Grid g;
        g.setFormatString("|keep");
        g.setRows(2);
        g.setCell(1, 1, "kept");
        EXPECT_NE(data::gridFromText(g, QString::fromUtf8(row.text), row.checkColumns), "");
        EXPECT_EQ(g.rows(), 2);
        EXPECT_EQ(g.cols(), 2);
        EXPECT_EQ(g.cell(0, 1), "keep");
        EXPECT_EQ(g.cell(1, 1), "kept");
    }
}

// ---------------------------------------------------------------- the shipped tables themselves

// ---------------------------------------------------------------- installation

TEST(StarterTables, InstallsEveryTableIntoANewFolderWithNothingElse)
{
    testing_support::TestEnvironment env;
    const QString folder = env.path("Programme/neuf/dossier");
    const QList<data::TableInstallation> result = data::installStarterTables(folder);
    ASSERT_EQ(result.size(), installedNames().size());
    for (int i = 0; i < result.size(); ++i) {
        EXPECT_EQ(result.at(i).fileName, installedNames().at(i));
        EXPECT_EQ(result.at(i).state, data::InstallState::Installed) << result.at(i).error.toStdString();
        EXPECT_EQ(result.at(i).error, "");
    }
    QStringList onDisk = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    QStringList expected = installedNames();
    onDisk.sort();
    expected.sort();
    EXPECT_EQ(onDisk, expected) << "no temporary file may stay behind";
}

TEST(StarterTables, InstalledTablesLoadInTheirReadersFormats)
{
    testing_support::TestEnvironment env;
    const QString folder = env.programFolder();
    data::installStarterTables(folder);

    struct Row
    {
        const char* file;
        int code;
        QStringList header;
        std::function<void(const Grid&)> check;
    };
    const Row rows[] = {
        {"Espèces.DOV",
         GridFile::Complete,
         {"Classe", "Espèce", "Nom français", "Nom scientifique", "Saisie"},
         [](const Grid& g) {
             EXPECT_EQ(g.colDataType(5), Grid::DataType::Boolean);
             EXPECT_GE(g.rows(), 60);
             const QRegularExpression code("^[A-Z]{6}$");
             const QRegularExpression binomial("^[A-Z][a-z]+ [a-z]+$");
             QSet<QString> codes, names;
             for (int r = 1; r < g.rows(); ++r) {
                 SCOPED_TRACE(g.cell(r, 2).toStdString());
                 EXPECT_EQ(g.cell(r, 1), "O");
                 EXPECT_TRUE(code.match(g.cell(r, 2)).hasMatch());
                 EXPECT_TRUE(binomial.match(g.cell(r, 4)).hasMatch());
                 EXPECT_FALSE(g.cell(r, 3).trimmed().isEmpty());
                 EXPECT_EQ(g.checkState(r, 5), Grid::Unchecked);
                 codes.insert(g.cell(r, 2));
                 names.insert(g.cell(r, 3));
             }
             EXPECT_EQ(codes.size(), g.rows() - 1) << "a species code twice";
             EXPECT_EQ(names.size(), g.rows() - 1) << "a species name twice";
             const int r = g.findRow("TURMER", 1, 2);
             ASSERT_GE(r, 1);
             EXPECT_EQ(g.rangeText({r, 1, r, 4}), "O\tTURMER\tMerle noir\tTurdus merula");
         }},
        {"Carrés.DOV",
         GridFile::Complete,
         {"Département", "N° carré", "Longitude", "Latitude"},
         [](const Grid& g) { EXPECT_EQ(g.rows(), 1); }},
        {"Réseaux.DOV",
         GridFile::Workbook,
         {"Code", "Nom", "5mn"},
         [](const Grid& g) {
             // The record window preselects the first network beginning with "SHOC".
             ASSERT_GE(g.rows(), 2);
             EXPECT_EQ(g.cell(1, 1), "SHOC");
             EXPECT_EQ(g.cell(1, 1) + " / " + g.cell(1, 2), "SHOC / Suivi hivernal des oiseaux communs");
         }},
        {"Milieux_SHOC.DOV",
         GridFile::Complete,
         {"Code", "Libellé"},
         [](const Grid& g) {
             EXPECT_TRUE(g.colCentred(1));
             QStringList codes;
             for (int r = 1; r < g.rows() && !g.cell(r, 1).isEmpty(); ++r)
                 codes << g.cell(r, 1);
             EXPECT_EQ(codes, QStringList({"PA", "SN", "CH", "AC", "MA", "VG", "VI", "XX", "FO", "AI", "HA",
                                           "PE", "HT", "CE", "CM", "RT", "FI", "RC"}));
         }},
        {"Comportements.dov",
         GridFile::Workbook,
         {"Classe", "Code", "Défaut", "Liste_Restreinte", "Libellé", "Assurément_Nicheur", "Niveau", "Age",
          "Sexe", "SFF", "Nbr_Utilisation"},
         [](const Grid& g) { EXPECT_GE(g.rows(), 2); }},
        {"Comportements_SHOC.dov",
         GridFile::Workbook,
         {"Classe", "Code", "Défaut", "Liste_Restreinte", "Libellé", "Assurément_Nicheur", "Niveau", "Age",
          "Sexe", "SFF", "Nbr_Utilisation"},
         [](const Grid& g) {
             // Every behaviour offers itself to the birds' class, and its code is what the export
             // keeps (the first four characters of the chosen item).
             ASSERT_GE(g.rows(), 2);
             for (int r = 1; r < g.rows(); ++r) {
                 EXPECT_EQ(g.cell(r, 1), "O");
                 EXPECT_EQ(g.cell(r, 2).size(), 4) << g.cell(r, 2).toStdString();
                 EXPECT_FALSE(g.cell(r, 5).isEmpty());
             }
         }},
        {"Communes.DOV",
         GridFile::Complete,
         {"Département", "N° commune", "Commune", "Nom du département", "X centre", "Y centre"},
         [](const Grid& g) {
             QSet<QString> departments, keys;
             const QRegularExpression deptCode("^([0-9]{2}|2A|2B)$");
             for (int r = 1; r < g.rows(); ++r) {
                 const QString d = g.cell(r, 1);
                 if (!deptCode.match(d).hasMatch() || g.cell(r, 2).toInt() == 0 || g.cell(r, 3).isEmpty() ||
                     g.cell(r, 4).isEmpty() || !g.cell(r, 5).isEmpty() || !g.cell(r, 6).isEmpty()) {
                     ADD_FAILURE() << "row " << r << ": " << g.rangeText({r, 1, r, 6}).toStdString();
                     return;
                 }
                 departments.insert(d);
                 keys.insert(d + "-" + g.cell(r, 2));
             }
             EXPECT_EQ(departments.size(), 96);
             EXPECT_TRUE(departments.contains("2A"));
             EXPECT_TRUE(departments.contains("2B"));
             EXPECT_FALSE(departments.contains("20"));
             EXPECT_EQ(keys.size(), g.rows() - 1) << "a commune number twice in one department";
             EXPECT_GT(g.rows(), 30000);
             const int crest = g.findRow("Crest", 1, 3);
             ASSERT_GE(crest, 1);
             EXPECT_EQ(g.rangeText({crest, 1, crest, 4}), "26\t108\tCrest\tDrôme");
             const int ajaccio = g.findRow("Ajaccio", 1, 3);
             ASSERT_GE(ajaccio, 1);
             EXPECT_EQ(g.rangeText({ajaccio, 1, ajaccio, 4}), "2A\t004\tAjaccio\tCorse-du-Sud");
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        Grid g;
        ASSERT_TRUE(loadLikeReaders(g, folder + "/" + QString::fromUtf8(row.file), row.code));
        EXPECT_EQ(headerTexts(g), row.header);
        EXPECT_EQ(g.cell(0, 0), "");
        row.check(g);
    }
}

TEST(StarterTables, NeverReplacesATableAlreadyThereWhateverItsLetterCase)
{
    testing_support::TestEnvironment env;
    const QString folder = env.programFolder();
    // A coordinators' squares table under the other spelling, and a species file the program
    // could not even read: both belong to the user.
    writeBytes(folder + "/carrés.DOV", "squares of the survey");
    writeBytes(folder + "/Espèces.DOV", "not a grid file");

    const QList<data::TableInstallation> result = data::installStarterTables(folder);
    for (const data::TableInstallation& t : result) {
        SCOPED_TRACE(t.fileName.toStdString());
        const bool present = t.fileName == "Espèces.DOV" || t.fileName == "Carrés.DOV";
        EXPECT_EQ(t.state, present ? data::InstallState::AlreadyThere : data::InstallState::Installed);
    }
    EXPECT_EQ(readBytes(folder + "/carrés.DOV"), "squares of the survey");
    EXPECT_EQ(readBytes(folder + "/Espèces.DOV"), "not a grid file");
    EXPECT_FALSE(QFile::exists(folder + "/Carrés.DOV"));
}

TEST(StarterTables, ASecondRunWritesNothing)
{
    testing_support::TestEnvironment env;
    const QString folder = env.programFolder();
    data::installStarterTables(folder);
    QList<QByteArray> before;
    for (const QString& name : installedNames())
        before << readBytes(folder + "/" + name);
    for (const data::TableInstallation& t : data::installStarterTables(folder))
        EXPECT_EQ(t.state, data::InstallState::AlreadyThere) << t.fileName.toStdString();
    for (int i = 0; i < installedNames().size(); ++i)
        EXPECT_EQ(readBytes(folder + "/" + installedNames().at(i)), before.at(i));
}

TEST(StarterTables, AFolderThatCannotBeMadeIsReportedForEveryTable)
{
    testing_support::TestEnvironment env;
    writeBytes(env.path("fichier"), "a file, not a folder");
    const QString cases[] = {env.path("fichier/Programme"), QString()};
    for (const QString& folder : cases) {
        SCOPED_TRACE(folder.toStdString());
        const QList<data::TableInstallation> result = data::installStarterTables(folder);
        ASSERT_EQ(result.size(), installedNames().size());
        for (const data::TableInstallation& t : result) {
            EXPECT_EQ(t.state, data::InstallState::Failed);
            EXPECT_FALSE(t.error.isEmpty());
        }
    }
}

TEST(StarterTables, AFullDiskLeavesNoTableButAWholeOneAndSaysWhich)
{
    testing_support::TestEnvironment env;
    const QString folder = env.programFolder();
    QList<data::TableInstallation> result;
    {
        testing_support::FileSizeLimit limit(1024); // the squares table fits, not the species table
        result = data::installStarterTables(folder);
    }
    ASSERT_EQ(result.size(), data::starterTables().size());
    QStringList failed;
    for (int i = 0; i < result.size(); ++i) {
        const data::TableInstallation& t = result.at(i);
        SCOPED_TRACE(t.fileName.toStdString());
        const QString path = folder + "/" + t.fileName;
        if (t.state == data::InstallState::Installed) {
            Grid g;
            EXPECT_TRUE(loadLikeReaders(g, path, data::starterTables().at(i).format));
            continue;
        }
        failed << t.fileName;
        EXPECT_EQ(t.state, data::InstallState::Failed);
        EXPECT_EQ(
            t.error,
            QStringLiteral("Le fichier « %1 » ne peut pas être écrit : le disque est plein.").arg(path));
        EXPECT_FALSE(QFile::exists(path));
    }
    EXPECT_TRUE(failed.contains("Espèces.DOV"));
    EXPECT_TRUE(failed.contains("Communes.DOV"));
    EXPECT_FALSE(failed.contains("Carrés.DOV"));
    QStringList onDisk = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : failed)
        EXPECT_FALSE(onDisk.contains(name));
    EXPECT_EQ(onDisk.size(), result.size() - failed.size()) << "no temporary file may stay behind";

    // The next start installs what is missing.
    for (const data::TableInstallation& t : data::installStarterTables(folder))
        EXPECT_EQ(t.state, failed.contains(t.fileName) ? data::InstallState::Installed
                                                       : data::InstallState::AlreadyThere)
            << t.fileName.toStdString();
}
