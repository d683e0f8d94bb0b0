#include "common/ExcelWriter.h"

#include "common/Dates.h"
#include "common/Globals.h"
#include "common/MousePointer.h"
#include "platform/Grid.h"
#include "platform/GridFile.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/WorkbookContents.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <functional>

using excel::Cell;
using excel::CellKind;
using platform::Grid;
using platform::GridFile;
using testing_support::readWorkbookContents;
using testing_support::WorkbookCell;
using testing_support::WorkbookContents;

namespace {

// A grid as the record list builds its export table: row 0 the header, column 0 empty and
// fixed; rows are tab-separated texts from column 1 on.
void fill(Grid& g, const QStringList& rows)
{
    int cols = 0;
    for (const QString& r : rows)
        cols = std::max<int>(cols, int(r.split(u'\t').size()) + 1);
    g.setRows(0);
    g.setCols(cols);
    for (const QString& r : rows)
        g.addRow(u'\t' + r);
    g.setFixedRows(1);
    g.setFixedCols(1);
}

// A grid of one column and n data rows "1", "2", ... under the header "N°".
void numbered(Grid& g, int n)
{
    g.setRows(n + 1);
    g.setCols(2);
    g.setFixedRows(1);
    g.setFixedCols(1);
    g.setCell(0, 1, "N°");
    for (int r = 1; r <= n; ++r)
        g.setCell(r, 1, QString::number(r));
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

class ExcelWriterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Sub_Test_Version_Excel(gbol_Excel_Disponible, gstr_Version_Excel, glng_Lignes_Par_Feuille);
    }
    QString target(const QString& name = QStringLiteral("export.xlsx")) const
    {
        return QDir(env.dataFolder()).filePath(name);
    }
    ExcelExportResult exportGrid(const Grid& g, const QString& path, const QString& sheet = QStringLiteral("SHOC"))
    {
        return sub_Export_Excel(false, g, path, QString(), sheet, false, 0, g.rows() - 1, sheets);
    }

    testing_support::TestEnvironment env;
    int sheets = 0;
};

} // namespace

// ---------------------------------------------------------------- small procedures

TEST(VerifHeure, AcceptsHoursAndMinutesWithAColon)
{
    struct Row
    {
        const char* text;
        bool accepted;
    };
    const Row rows[] = {
        {"08:30", true},  {"00:00", true}, {"23:59", true}, {"", true},       {"     ", true},
        {" 8:30", true},  {"24:00", false}, {"12:60", false}, {"-1:30", false}, {"8:30", false},
        {"08:300", false}, {"08h30", false}, {"ab:30", false}, {"08:3x", false}, {"25:00", false},
    };
    for (const Row& r : rows)
        EXPECT_EQ(fun_Verif_Heure(r.text), r.accepted) << r.text;
}

TEST(ParseNumber, DecimalPointOrCommaSignAndExponentOnly)
{
    struct Row
    {
        const char* text;
        bool ok;
        double value;
    };
    const Row rows[] = {
        {"12", true, 12},        {"12,5", true, 12.5},  {"-3.25", true, -3.25}, {"+5", true, 5},
        {" 7 ", true, 7},        {"1e3", true, 1000},   {"1,5E-2", true, 0.015}, {".5", true, 0.5},
        {"5.", true, 5},         {"0123", true, 123},   {"12 bis", false, 0},   {"1.2.3", false, 0},
        {"1 000", false, 0},     {"", false, 0},        {"-", false, 0},        {"inf", false, 0},
        {"nan", false, 0},       {"0x10", false, 0},    {"1e400", false, 0},    {"1e", false, 0},
        {"1,234.5", false, 0},   {"--1", false, 0},
    };
    for (const Row& r : rows) {
        double v = -99;
        EXPECT_EQ(excel::parseNumber(QString::fromUtf8(r.text), &v), r.ok) << r.text;
        if (r.ok) {
            EXPECT_DOUBLE_EQ(v, r.value) << r.text;
        }
    }
}

TEST(VersionExcel, VersionTextAndRowsPerSheet)
{
    struct Row
    {
        const char* found;
        const char* stored;
        qint32 rows;
    };
    const Row rows[] = {
        {"9.0", "9.00", 32000},  {"10.0", "10.0", 65000}, {"12.0", "12.0", 65000},
        {"14.0", "14.0", 65000}, {"15.0", "15.0", 32000}, {"8.0", "8.00", 32000},
    };
    for (const Row& r : rows) {
        const QString stored = fun_Version_Excel(r.found);
        EXPECT_EQ(stored, QString(r.stored)) << r.found;
        EXPECT_EQ(fun_Lignes_Par_Feuille(stored), r.rows) << r.found;
    }
}

TEST(VersionExcel, ThePresenceTestFindsTheWriter)
{
    bool disponible = false;
    QString version = QStringLiteral("?");
    qint32 lignes = 32000;
    Sub_Test_Version_Excel(disponible, version, lignes);
    EXPECT_TRUE(disponible);
    EXPECT_EQ(version, QStringLiteral("14.0"));
    EXPECT_EQ(lignes, 65000);
    EXPECT_EQ(&glng_Lignes_Max_Feuille, &glng_Lignes_Par_Feuille) << "one variable under two names";
}

// ---------------------------------------------------------------- cell conversion

TEST(ColumnRule, RingAndDepartmentHeadersGiveTextColumns)
{
    struct Row
    {
        const char* header;
        bool text;
        bool keepAsTyped;
    };
    const Row rows[] = {
        {"N° bague", true, true},   {"BAGUE", true, true},         {"Bagueur", true, false},
        {"Département", true, false}, {"DEPT.", true, false},       {"Dept", true, false},
        {"Departement", true, false}, {"Commune", false, false},   {"Nombre", false, false},
        {"", false, false},
    };
    for (const Row& r : rows) {
        const excel::ColumnRule rule = excel::columnRule(QString::fromUtf8(r.header));
        EXPECT_EQ(rule.text, r.text) << r.header;
        EXPECT_EQ(rule.keepAsTyped, r.keepAsTyped) << r.header;
    }
}

TEST(ConvertCell, TheFirstRuleThatAppliesWins)
{
    testing_support::TestEnvironment env;
    const excel::ColumnRule plain;
    const excel::ColumnRule ring = excel::columnRule("Bague");
    const excel::ColumnRule ringer = excel::columnRule("Bagueur");
    const excel::ColumnRule dept = excel::columnRule("Département");
    struct Row
    {
        const char* name;
        excel::ColumnRule rule;
        const char* text;
        Cell expected;
    };
    const Row rows[] = {
        {"date", plain, "05/11/2009", {CellKind::Date, 40122, {}}},
        {"first date a workbook reads alike", plain, "01/03/1900", {CellKind::Date, 61, {}}},
        {"earlier date stays text", plain, "28/02/1900", {CellKind::Text, 0, "28/02/1900"}},
        {"no such day", plain, "31/02/2009", {CellKind::Text, 0, "31/02/2009"}},
        {"date not written JJ/MM/AAAA", plain, "5/11/2009", {CellKind::Text, 0, "5/11/2009"}},
        {"time", plain, "08:30", {CellKind::Time, 510.0 / 1440, {}}},
        {"time refused", plain, "25:00", {CellKind::Text, 0, "25:00"}},
        {"decimal comma", plain, "12,5", {CellKind::Number, 12.5, {}}},
        {"negative number", plain, "-4", {CellKind::Number, -4, {}}},
        {"leading zeros in a plain column", plain, "0123", {CellKind::Number, 123, {}}},
        {"percentage", plain, "15%", {CellKind::Percent, 0.15, {}}},
        {"percentage with comma", plain, "12,5 %", {CellKind::Percent, 0.125, {}}},
        {"percent sign alone", plain, "%", {CellKind::Text, 0, "%"}},
        {"percent sign in a text", plain, "50% bois", {CellKind::Text, 0, "50% bois"}},
        {"minus text", plain, "-abc", {CellKind::Text, 0, "-abc"}},
        {"formula-like text", plain, "=A1", {CellKind::Text, 0, "=A1"}},
        {"plus text", plain, "+33 1 23", {CellKind::Text, 0, "+33 1 23"}},
        {"digit then text", plain, "12 bis", {CellKind::Text, 0, "12 bis"}},
        {"blanks trimmed", plain, "  Pie  ", {CellKind::Text, 0, "Pie"}},
        {"CR LF to LF", plain, "a\r\nb", {CellKind::Text, 0, "a\nb"}},
        {"blank line kept once", plain, "a\r\n\r\nb", {CellKind::Text, 0, "a\n\nb"}},
        {"apostrophe marker", plain, "'07", {CellKind::Text, 0, "07"}},
        {"apostrophe before a date", plain, "'05/11/2009", {CellKind::Text, 0, "05/11/2009"}},
        {"only one apostrophe removed", plain, "''x", {CellKind::Text, 0, "'x"}},
        {"empty", plain, "", {}},
        {"blank", plain, "     ", {}},
        {"apostrophe alone", plain, "'", {}},
        {"ring keeps leading zeros", ring, "0123", {CellKind::Text, 0, "0123"}},
        {"ring kept as typed", ring, " AB 12 ", {CellKind::Text, 0, " AB 12 "}},
        {"ring date stays text", ring, "05/11/2009", {CellKind::Text, 0, "05/11/2009"}},
        {"ringer column is a text column", ringer, "0123", {CellKind::Text, 0, "0123"}},
        {"department 01 stays text", dept, "01", {CellKind::Text, 0, "01"}},
        {"department with marker", dept, "'07", {CellKind::Text, 0, "07"}},
        {"Corsica", dept, "2A", {CellKind::Text, 0, "2A"}},
        {"department trimmed", dept, " 75 ", {CellKind::Text, 0, "75"}},
        {"department time-like", dept, "08:30", {CellKind::Text, 0, "08:30"}},
    };
    for (const Row& r : rows) {
        const Cell c = excel::convertCell(QString::fromUtf8(r.text), r.rule);
        EXPECT_EQ(int(c.kind), int(r.expected.kind)) << r.name;
        EXPECT_NEAR(c.number, r.expected.number, 1e-12) << r.name;
        EXPECT_EQ(c.text, r.expected.text) << r.name;
    }
}

TEST(ConvertCell, DatesAreTheDaysTheDateCheckAccepts)
{
    testing_support::TestEnvironment env;
    const char* texts[] = {"05/11/2009", "29/02/2008", "29/02/2009", "31/04/2010", "00/01/2010", "01/13/2010",
                           "01/00/2010", "31/12/9999", "01/01/0000", "1/11/2009",  "05-11-2009", "05/11/09",
                           "05/11/2009 ", " 5/11/2009", "O5/11/2009", "05/11/2OO9", "٠٥/١١/٢٠٠٩", "+5/11/2009",
                           "05/+1/2009", "05/11/+009"};
    for (const char* t : texts) {
        const QString text = QString::fromUtf8(t);
        const bool date = excel::convertCell(text, {}).kind == CellKind::Date;
        EXPECT_EQ(date, sub_Vérif_Date(text).valide) << t;
    }
}

// ---------------------------------------------------------------- the workbook read back

TEST_F(ExcelWriterTest, ValuesAndTypesReadBack)
{
    Grid g;
    fill(g, {"Date\tHeure\tNombre\tPart\tDépartement\tN° bague\tBagueur\tObservateur\tCode",
             "05/11/2009\t08:30\t12,5\t15%\t01\t0123\t0456\tDupont\t-abc",
             "06/11/2009\t14:05\t-3\t2,5%\t'07\t 0789\t'0999\tL'Hôte\r\nJean\t=1+1",
             "\t\t\t\t2A\t\t\t12 bis\t25:00"});
    const ExcelExportResult r = exportGrid(g, target());
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_TRUE(r.error.isEmpty());
    EXPECT_EQ(sheets, 1);

    // The grid's own workbook reader: texts as written, numbers as stored.
    Grid back;
    const platform::GridFileResult loaded = GridFile::load(back, target(), GridFile::Workbook);
    ASSERT_TRUE(loaded.ok) << loaded.error.toStdString();
    EXPECT_EQ(back.cols(), 9) << "column 0 of the grid is not written";
    EXPECT_EQ(back.rows(), 4);
    EXPECT_EQ(back.cell(0, 4), "Département");
    EXPECT_EQ(back.cell(1, 4), "01");
    EXPECT_EQ(back.cell(2, 4), "07");
    EXPECT_EQ(back.cell(3, 4), "2A");
    EXPECT_EQ(back.cell(1, 5), "0123");
    EXPECT_EQ(back.cell(2, 5), " 0789");
    EXPECT_EQ(back.cell(1, 6), "0456");
    EXPECT_EQ(back.cell(2, 6), "0999");
    EXPECT_EQ(back.cell(1, 7), "Dupont");
    EXPECT_EQ(back.cell(2, 7), "L'Hôte\nJean");
    EXPECT_EQ(back.cell(3, 7), "12 bis");
    EXPECT_EQ(back.cell(1, 8), "-abc");
    EXPECT_EQ(back.cell(2, 8), "=1+1");
    EXPECT_EQ(back.cell(3, 8), "25:00");
    EXPECT_DOUBLE_EQ(back.cell(1, 0).toDouble(), 40122);
    EXPECT_DOUBLE_EQ(back.cell(1, 2).toDouble(), 12.5);
    EXPECT_DOUBLE_EQ(back.cell(1, 3).toDouble(), 0.15);

    // Stored types and formats.
    const WorkbookContents book = readWorkbookContents(target());
    ASSERT_TRUE(book.ok) << book.error.toStdString();
    ASSERT_EQ(book.sheets.size(), 1);
    const auto& sheet = book.sheets[0];
    struct Expect
    {
        int row, col;
        WorkbookCell::Type type;
        double number;
    };
    const Expect cells[] = {
        {1, 0, WorkbookCell::Type::Number, 40122},        {2, 0, WorkbookCell::Type::Number, 40123},
        {1, 1, WorkbookCell::Type::Number, 510.0 / 1440}, {2, 1, WorkbookCell::Type::Number, 845.0 / 1440},
        {1, 2, WorkbookCell::Type::Number, 12.5},         {2, 2, WorkbookCell::Type::Number, -3},
        {1, 3, WorkbookCell::Type::Number, 0.15},         {2, 3, WorkbookCell::Type::Number, 0.025},
        {1, 4, WorkbookCell::Type::Text, 0},              {2, 4, WorkbookCell::Type::Text, 0},
        {1, 5, WorkbookCell::Type::Text, 0},              {1, 6, WorkbookCell::Type::Text, 0},
        {1, 8, WorkbookCell::Type::Text, 0},              {3, 8, WorkbookCell::Type::Text, 0},
        {0, 2, WorkbookCell::Type::Text, 0},
    };
    for (const Expect& e : cells) {
        const WorkbookCell* c = sheet.cell(e.row, e.col);
        ASSERT_NE(c, nullptr) << e.row << "," << e.col;
        EXPECT_EQ(int(c->type), int(e.type)) << e.row << "," << e.col << " holds " << c->value.toStdString();
        if (e.type == WorkbookCell::Type::Number) {
            EXPECT_NEAR(c->number(), e.number, 1e-12) << e.row << "," << e.col;
        }
    }

    // Column formats, by what the columns hold and by their headers.
    const char* formats[] = {"dd/mm/yyyy", "hh:mm", "General", "0.00%", "@", "@", "@", "General", "General"};
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(book.cellStyle(0, 1, k).numberFormat, QString(formats[k])) << "column " << k;
        EXPECT_EQ(book.cellStyle(0, 0, k).numberFormat, QString(formats[k])) << "header of column " << k;
    }
    EXPECT_EQ(book.columnStyle(0, 0).numberFormat, "dd/mm/yyyy") << "the whole column gets it";
    EXPECT_EQ(book.columnStyle(0, 4).numberFormat, "@");
}

TEST_F(ExcelWriterTest, FontsBordersAndBoldHeader)
{
    Grid g;
    fill(g, {"Espèce\tNombre", "Pie bavarde\t3", "\t"});
    ASSERT_TRUE(exportGrid(g, target()).ok);
    const WorkbookContents book = readWorkbookContents(target());
    ASSERT_TRUE(book.ok);

    const auto header = book.cellStyle(0, 0, 1);
    EXPECT_EQ(header.fontName, "MS Sans Serif");
    EXPECT_EQ(header.fontSize, 9);
    EXPECT_TRUE(header.bold);
    EXPECT_TRUE(header.solidFill);
    EXPECT_EQ(header.borders, "thin,thin,thin,thin");

    const auto body = book.cellStyle(0, 1, 0);
    EXPECT_EQ(body.fontName, "MS Sans Serif");
    EXPECT_EQ(body.fontSize, 8);
    EXPECT_FALSE(body.bold);
    EXPECT_FALSE(body.italic);
    EXPECT_FALSE(body.solidFill);
    EXPECT_EQ(body.borders, "thin,thin,thin,thin");
    EXPECT_EQ(body.verticalAlign, "center");
    // Empty cells of the body carry the borders too.
    ASSERT_NE(book.sheets[0].cell(2, 1), nullptr);
    EXPECT_EQ(book.cellStyle(0, 2, 1).borders, "thin,thin,thin,thin");

    // Widths fitted to the contents: the longer texts give the wider column.
    EXPECT_GT(book.sheets[0].columnWidths.value(0), book.sheets[0].columnWidths.value(1));

    // The font settings are read at each export.
    gstr_Police_Excel = "Arial";
    glng_Taille_Police_Excel = 10;
    gbol_Gras_Excel = true;
    gbol_Italique_Excel = true;
    ASSERT_TRUE(exportGrid(g, target()).ok);
    const WorkbookContents again = readWorkbookContents(target());
    const auto body2 = again.cellStyle(0, 1, 0);
    EXPECT_EQ(body2.fontName, "Arial");
    EXPECT_EQ(body2.fontSize, 10);
    EXPECT_TRUE(body2.bold);
    EXPECT_TRUE(body2.italic);
    EXPECT_EQ(again.cellStyle(0, 0, 0).fontSize, 11);
}

TEST_F(ExcelWriterTest, RowsAreSplitAtTheRowLimit)
{
    struct Row
    {
        const char* name;
        qint32 rowsPerSheet;
        int dataRows;
        QList<int> dataRowsPerSheet;
    };
    const Row rows[] = {
        {"fewer rows than the limit", 5, 3, {3}},
        {"exactly the limit, header included", 5, 4, {4}},
        {"one more row gives a second sheet", 5, 5, {4, 1}},
        {"three full sheets", 5, 12, {4, 4, 4}},
        {"two rows per sheet", 3, 5, {2, 2, 1}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        glng_Lignes_Par_Feuille = r.rowsPerSheet;
        Grid g;
        numbered(g, r.dataRows);
        sheets = 0;
        ASSERT_TRUE(exportGrid(g, target()).ok);
        EXPECT_EQ(sheets, r.dataRowsPerSheet.size());
        const WorkbookContents book = readWorkbookContents(target());
        ASSERT_TRUE(book.ok);
        ASSERT_EQ(book.sheets.size(), r.dataRowsPerSheet.size());
        int next = 1;
        for (int s = 0; s < book.sheets.size(); ++s) {
            const auto& sheet = book.sheets[s];
            EXPECT_EQ(sheet.value(0, 0), "N°") << "the header again on sheet " << s;
            EXPECT_EQ(sheet.rowCount, r.dataRowsPerSheet[s] + 1) << "sheet " << s;
            EXPECT_LE(sheet.rowCount, r.rowsPerSheet);
            for (int i = 1; i < sheet.rowCount; ++i, ++next)
                EXPECT_EQ(sheet.value(i, 0).toInt(), next) << "sheet " << s << " row " << i;
        }
        EXPECT_EQ(next, r.dataRows + 1) << "every row written once, in order";
    }
}

TEST_F(ExcelWriterTest, SixtyFiveThousandRowsPerSheet)
{
    struct Row
    {
        int dataRows;
        int sheets;
        int lastSheetRows;
    };
    for (const Row r : {Row{64999, 1, 65000}, Row{65000, 2, 2}}) {
        Grid g;
        numbered(g, r.dataRows);
        sheets = 0;
        ASSERT_TRUE(exportGrid(g, target()).ok);
        EXPECT_EQ(sheets, r.sheets);
        const WorkbookContents book = readWorkbookContents(target());
        ASSERT_EQ(book.sheets.size(), r.sheets);
        EXPECT_EQ(book.sheets[0].rowCount, 65000);
        EXPECT_EQ(book.sheets.last().rowCount, r.lastSheetRows);
        EXPECT_EQ(book.sheets.last().value(r.lastSheetRows - 1, 0).toInt(), r.dataRows);
    }
}

TEST_F(ExcelWriterTest, SheetNames)
{
    struct Row
    {
        const char* name;
        const char* sheetName;
        QStringList expected;
    };
    const Row rows[] = {
        {"short name", "SHOC", {"SHOC", "SHOC-001", "SHOC-002"}},
        {"long name (36 characters): last 31, then last 26", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789",
         {"FGHIJKLMNOPQRSTUVWXYZ0123456789", "KLMNOPQRSTUVWXYZ0123456789-001",
          "KLMNOPQRSTUVWXYZ0123456789-002"}},
        {"refused name", "STOC/EPS", {"Feuil1", "Feuil2", "Feuil3"}},
        {"empty name", "", {"Feuil1", "-001", "-002"}},
        {"apostrophe at the end", "SHOC'", {"Feuil1", "SHOC'-001", "SHOC'-002"}},
        {"reserved name", "history", {"Feuil1", "history-001", "history-002"}},
    };
    glng_Lignes_Par_Feuille = 3;
    for (const Row& r : rows) {
        Grid g;
        numbered(g, 5);
        ASSERT_TRUE(exportGrid(g, target(), QString::fromUtf8(r.sheetName)).ok) << r.name;
        const WorkbookContents book = readWorkbookContents(target());
        EXPECT_EQ(book.sheetNames(), r.expected) << r.name;
        EXPECT_EQ(book.activeSheet, 0) << r.name;
        ASSERT_EQ(book.sheets.size(), 3);
        EXPECT_TRUE(book.sheets[0].tabSelected) << "the first sheet is shown when the file opens";
        EXPECT_FALSE(book.sheets[2].tabSelected);
    }
}

TEST_F(ExcelWriterTest, HiddenAndZeroWidthColumnsAreSkipped)
{
    Grid g;
    fill(g, {"A\tB\tC\tD", "a\tb\tc\td"});
    g.setColHidden(2, true); // B
    g.setColWidth(3, 0);     // C
    ASSERT_TRUE(exportGrid(g, target()).ok);
    Grid back;
    ASSERT_TRUE(GridFile::load(back, target(), GridFile::Workbook).ok);
    EXPECT_EQ(back.cols(), 2);
    EXPECT_EQ(back.rangeText({0, 0, 1, 1}), "A\tD\ra\td");
}

TEST_F(ExcelWriterTest, RowsFromTheFirstToTheLastAskedFor)
{
    struct Row
    {
        const char* name;
        int first, last;
        QStringList expected;
    };
    const Row rows[] = {
        {"whole grid", 0, 5, {"1", "2", "3", "4", "5"}},
        {"last below 1: the grid's last row", 0, 0, {"1", "2", "3", "4", "5"}},
        {"last past the end", 0, 99, {"1", "2", "3", "4", "5"}},
        {"first and last inside", 2, 4, {"2", "3", "4"}},
    };
    for (const Row& r : rows) {
        Grid g;
        numbered(g, 5);
        ASSERT_TRUE(sub_Export_Excel(false, g, target(), QString(), "SHOC", false, r.first, r.last, sheets).ok);
        const WorkbookContents book = readWorkbookContents(target());
        QStringList got;
        for (int i = 1; i < book.sheets[0].rowCount; ++i)
            got << book.sheets[0].value(i, 0);
        EXPECT_EQ(got, r.expected) << r.name;
        EXPECT_EQ(book.sheets[0].value(0, 0), "N°") << r.name;
    }
}

TEST_F(ExcelWriterTest, AGridWithoutRowsGivesTheHeaderAlone)
{
    Grid g;
    numbered(g, 0);
    ASSERT_TRUE(exportGrid(g, target()).ok);
    EXPECT_EQ(sheets, 1);
    const WorkbookContents book = readWorkbookContents(target());
    ASSERT_EQ(book.sheets.size(), 1);
    EXPECT_EQ(book.sheets[0].rowCount, 1);
    EXPECT_EQ(book.sheets[0].value(0, 0), "N°");
}

TEST_F(ExcelWriterTest, TextsTheWorkbookCannotCarryRoundTrip)
{
    Grid g;
    fill(g, {"Texte", QStringLiteral("a\x01z"), "fichier_x0041_b", "Œuf ☃ 𝄞", "<&>\"", "a\tb"});
    ASSERT_TRUE(exportGrid(g, target()).ok);
    Grid back;
    ASSERT_TRUE(GridFile::load(back, target(), GridFile::Workbook).ok);
    for (int r = 1; r < g.rows(); ++r)
        EXPECT_EQ(back.cell(r, 0), g.cell(r, 1)) << r;
}

TEST_F(ExcelWriterTest, TheExistingFileIsReplacedWhateverTheCaseOfItsName)
{
    const QString old = target("EXPORT.XLSX");
    ASSERT_TRUE(writeFile(old, "ancien"));
    Grid g;
    numbered(g, 2);
    ASSERT_TRUE(exportGrid(g, target("export.xlsx")).ok);
    const QStringList files = QDir(env.dataFolder()).entryList(QDir::Files);
    EXPECT_EQ(files, QStringList{"EXPORT.XLSX"}) << "no second file beside the old one";
    EXPECT_TRUE(readWorkbookContents(old).ok);
}

TEST_F(ExcelWriterTest, AFailedWriteLeavesTheOldFileAndSaysWhy)
{
    const QByteArray oldBytes = "ancien classeur";
    struct Row
    {
        const char* name;
        std::function<void(Grid&)> grid;
        bool addSheet;
    };
    const Row rows[] = {
        {"cell text too long", [](Grid& g) { g.setCell(2, 1, QString(40000, u'x')); }, false},
        {"sheets added to an existing workbook", [](Grid&) {}, true},
    };
    for (const Row& r : rows) {
        ASSERT_TRUE(writeFile(target(), oldBytes));
        Grid g;
        numbered(g, 3);
        r.grid(g);
        sheets = 7;
        const ExcelExportResult result =
            sub_Export_Excel(false, g, target(), QString(), "SHOC", r.addSheet, 0, g.rows() - 1, sheets);
        EXPECT_FALSE(result.ok) << r.name;
        EXPECT_TRUE(result.error.contains("export.xlsx")) << r.name << ": " << result.error.toStdString();
        EXPECT_EQ(bytesOf(target()), oldBytes) << r.name;
        EXPECT_EQ(sheets, 7) << r.name << ": the counter is left alone";
        EXPECT_EQ(QDir(env.dataFolder()).entryList(QDir::Files), QStringList{"export.xlsx"})
            << r.name << ": no temporary file left";
    }
}

namespace {

// A folder in which no file can be created, even by root (immutable attribute), or the reason
// why none could be made here.
class LockedFolder
{
public:
    explicit LockedFolder(const QString& path) : m_path(path)
    {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
        if (!canCreate())
            return;
        m_immutable = QProcess::execute("chattr", {"+i", path}) == 0;
    }
    ~LockedFolder()
    {
        if (m_immutable)
            QProcess::execute("chattr", {"-i", m_path});
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool locked() const { return !canCreate(); }

private:
    bool canCreate() const
    {
        QFile probe(QDir(m_path).filePath("essai"));
        const bool ok = probe.open(QIODevice::WriteOnly);
        if (ok)
            probe.remove();
        return ok;
    }
    QString m_path;
    bool m_immutable = false;
};

} // namespace

TEST_F(ExcelWriterTest, AnUnwritableFolderLeavesTheOldFile)
{
    const QByteArray oldBytes = "ancien classeur";
    ASSERT_TRUE(writeFile(target(), oldBytes));
    Grid g;
    numbered(g, 3);
    ExcelExportResult result;
    {
        LockedFolder lock(env.dataFolder());
        if (!lock.locked())
            GTEST_SKIP() << "no way to lock a folder here";
        result = exportGrid(g, target());
    }
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.startsWith("Le fichier « ")) << result.error.toStdString();
    EXPECT_TRUE(result.error.contains(QDir::toNativeSeparators(target()))) << result.error.toStdString();
    EXPECT_EQ(bytesOf(target()), oldBytes);
    EXPECT_EQ(sheets, 0);
    // The same export once the folder is writable again replaces the file.
    ASSERT_TRUE(exportGrid(g, target()).ok);
    EXPECT_TRUE(readWorkbookContents(target()).ok);
}

TEST_F(ExcelWriterTest, WithoutTheWriterTheGridSavesItselfAsAWorkbook)
{
    gstr_Version_Excel = "?";
    glng_Lignes_Par_Feuille = 3;
    Grid g;
    fill(g, {"Département\tNombre", "'07\t12,5", "01\t3", "02\t4", "03\t5"});
    g.setCell(1, 0, "fixe");
    sheets = 0;
    const ExcelExportResult r = exportGrid(g, target());
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(sheets, 0) << "the grid's workbook leaves the counter alone";
    const WorkbookContents book = readWorkbookContents(target());
    ASSERT_TRUE(book.ok);
    ASSERT_EQ(book.sheets.size(), 1) << "one sheet, whatever the rows per sheet";
    // Fixed cells included, every cell the grid's text.
    Grid back;
    ASSERT_TRUE(GridFile::load(back, target(), GridFile::Workbook).ok);
    EXPECT_EQ(back.rangeText({0, 0, 5, 2}), g.rangeText({0, 0, 5, 2}));

    // A failure of that save is reported too.
    const ExcelExportResult bad = exportGrid(g, QDir(env.dataFolder()).filePath("absent/export.xlsx"));
    EXPECT_FALSE(bad.ok);
    EXPECT_FALSE(bad.error.isEmpty());
}

TEST_F(ExcelWriterTest, TheHourglassShowsWhileTheWorkbookIsWritten)
{
    QList<int> changes;
    int current = 99;
    pointer::installMousePointer({[&] { return current; }, [&](int v) {
                                      changes << v;
                                      current = v;
                                  }});
    Grid g;
    numbered(g, 2);
    ASSERT_TRUE(exportGrid(g, target()).ok);
    EXPECT_EQ(changes, QList<int>({pointer::vbHourglass, 99}));

    // Put back after a failed write too.
    changes.clear();
    g.setCell(1, 1, QString(40000, u'x'));
    EXPECT_FALSE(exportGrid(g, target()).ok);
    EXPECT_EQ(changes, QList<int>({pointer::vbHourglass, 99}));

    changes.clear();
    g.setCell(1, 1, "1");
    gstr_Version_Excel = "?";
    ASSERT_TRUE(exportGrid(g, target()).ok);
    EXPECT_TRUE(changes.isEmpty()) << "the grid's own save changes no pointer";
    pointer::installMousePointer({});
}
