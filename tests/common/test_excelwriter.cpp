#include "common/ExcelWriter.h"

#include "common/Dates.h"
#include "common/Globals.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/WorkbookContents.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <functional>
#include <optional>

using common::excel::CellKind;
using grid::Grid;
using grid::GridFile;
using testing_support::readWorkbookContents;
using testing_support::WorkbookContents;
using Type = testing_support::WorkbookCell::Type;

namespace {

// A grid as the record list builds its export table: row 0 the header, column 0 fixed and
// empty; each row a tab-separated text from column 1 on.
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

// One column headed "N°" with the data rows "1", "2", ... "n".
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

// Column 0 of the first sheet, below the header.
QStringList firstColumn(const WorkbookContents& book)
{
    QStringList out;
    for (int r = 1; r < book.sheets.value(0).rowCount; ++r)
        out << book.sheets[0].value(r, 0);
    return out;
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
    platform::Result exportGrid(const Grid& g, const QString& path,
                                const QString& sheet = QStringLiteral("SHOC"), int first = 0, int last = -1,
                                bool addSheet = false)
    {
        return sub_Export_Excel(false, g, path, QString(), sheet, addSheet, first,
                                last < 0 ? g.rows() - 1 : last, sheets);
    }

    testing_support::TestEnvironment env;
    int sheets = 0;
};

} // namespace

// ---------------------------------------------------------------- small procedures

TEST(VerifHeure, HoursColonMinutesOrBlank)
{
    const QStringList accepted = {"08:30", "00:00", "23:59", "", "     ", " 8:30"};
    const QStringList refused = {"24:00", "12:60", "-1:30", "8:30", "08:300", "08h30", "ab:30", "08:3x"};
    for (const QString& t : accepted)
        EXPECT_TRUE(fun_Verif_Heure(t)) << t.toStdString();
    for (const QString& t : refused)
        EXPECT_FALSE(fun_Verif_Heure(t)) << t.toStdString();
}

TEST(VersionExcel, PresenceTestVersionAndRowsPerSheet)
{
    bool present = false;
    QString version = "?";
    qint32 rows = 32000;
    Sub_Test_Version_Excel(present, version, rows);
    EXPECT_TRUE(present);
    EXPECT_EQ(version, "14.0");
    EXPECT_EQ(rows, 65000);
    EXPECT_EQ(&glng_Lignes_Max_Feuille, &glng_Lignes_Par_Feuille) << "one variable under two names";

    const QList<std::tuple<QString, QString, qint32>> table = {{"9.0", "9.00", 32000},
                                                               {"10.0", "10.0", 65000},
                                                               {"12.0", "12.0", 65000},
                                                               {"14.0", "14.0", 65000},
                                                               {"15.0", "15.0", 32000}};
    for (const auto& [found, stored, perSheet] : table) {
        EXPECT_EQ(common::storedExcelVersion(found), stored);
        EXPECT_EQ(common::rowsPerSheet(stored), perSheet) << found.toStdString();
    }
}

// ---------------------------------------------------------------- cell conversion

TEST(ConvertCell, TheFirstRuleThatAppliesWins)
{
    testing_support::TestEnvironment env;
    struct Row
    {
        const char* header;
        const char* text;
        CellKind kind;
        double number;
        const char* written; // the text written, for texts
    };
    const Row rows[] = {
        {"Date", "05/11/2009", CellKind::Date, 40122, ""},
        {"Date", "01/03/1900", CellKind::Date, 61, ""},
        {"Date", "28/02/1900", CellKind::Text, 0, "28/02/1900"}, // a workbook reads earlier days wrongly
        {"Date", "31/02/2009", CellKind::Text, 0, "31/02/2009"},
        {"Heure", "08:30", CellKind::Time, 510.0 / 1440, ""},
        {"Heure", "25:00", CellKind::Text, 0, "25:00"},
        {"Nombre", "12,5", CellKind::Number, 12.5, ""},
        {"Nombre", "-3.25", CellKind::Number, -3.25, ""},
        {"Nombre", "+5", CellKind::Number, 5, ""},
        {"Nombre", "1,5E-2", CellKind::Number, 0.015, ""},
        {"Nombre", "0123", CellKind::Number, 123, ""},
        {"Nombre", "1.2.3", CellKind::Text, 0, "1.2.3"},
        {"Nombre", "1 000", CellKind::Text, 0, "1 000"},
        {"Nombre", "1e400", CellKind::Text, 0, "1e400"},
        {"Nombre", "inf", CellKind::Text, 0, "inf"},
        {"Part", "15%", CellKind::Percent, 0.15, ""},
        {"Part", "12,5 %", CellKind::Percent, 0.125, ""},
        {"Part", "%", CellKind::Text, 0, "%"},
        {"Part", "50% bois", CellKind::Text, 0, "50% bois"},
        {"Code", "-abc", CellKind::Text, 0, "-abc"},
        {"Code", "=A1", CellKind::Text, 0, "=A1"},
        {"Code", "12 bis", CellKind::Text, 0, "12 bis"},
        {"Code", "  Pie  ", CellKind::Text, 0, "Pie"},
        {"Code", "a\r\nb", CellKind::Text, 0, "a\nb"},
        {"Code", "a\r\n\r\nb", CellKind::Text, 0, "a\n\nb"},
        {"Code", "'07", CellKind::Text, 0, "07"}, // the apostrophe only says "keep as text"
        {"Code", "'05/11/2009", CellKind::Text, 0, "05/11/2009"},
        {"Code", "''x", CellKind::Text, 0, "'x"},
        {"Code", "", CellKind::Empty, 0, ""},
        {"Code", "   ", CellKind::Empty, 0, ""},
        {"Code", "'", CellKind::Empty, 0, ""},
        {"N° bague", "0123", CellKind::Text, 0, "0123"},
        {"BAGUE", " AB 12 ", CellKind::Text, 0, " AB 12 "},
        {"Bague", "05/11/2009", CellKind::Text, 0, "05/11/2009"},
        {"Bagueur", "0123", CellKind::Text, 0, "0123"},
        {"Département", "01", CellKind::Text, 0, "01"},
        {"Département", "'07", CellKind::Text, 0, "07"},
        {"Département", " 75 ", CellKind::Text, 0, "75"},
        {"DEPT.", "2A", CellKind::Text, 0, "2A"},
        {"Departement", "08:30", CellKind::Text, 0, "08:30"},
    };
    for (const Row& r : rows) {
        const common::excel::Cell c = common::excel::convertCell(
            QString::fromUtf8(r.text), common::excel::columnRule(QString::fromUtf8(r.header)));
        const std::string name = std::string(r.header) + ": " + r.text;
        EXPECT_EQ(int(c.kind), int(r.kind)) << name;
        EXPECT_NEAR(c.number, r.number, 1e-12) << name;
        EXPECT_EQ(c.text, QString::fromUtf8(r.written)) << name;
    }
    EXPECT_TRUE(common::excel::columnRule("Département").text);
    EXPECT_FALSE(common::excel::columnRule("Commune").text);
}

TEST(ConvertCell, DatesAreTheDaysTheDateCheckAccepts)
{
    testing_support::TestEnvironment env;
    const QStringList texts = {"05/11/2009",  "29/02/2008", "29/02/2009", "31/04/2010", "00/01/2010",
                               "01/13/2010",  "31/12/9999", "01/01/0000", "1/11/2009",  "05-11-2009",
                               "05/11/2009 ", "O5/11/2009", "٠٥/١١/٢٠٠٩", "+5/11/2009", "05/+1/2009"};
    for (const QString& t : texts)
        EXPECT_EQ(common::excel::convertCell(t, {}).kind == CellKind::Date, sub_Vérif_Date(t).valid)
            << t.toStdString();
}

// ---------------------------------------------------------------- the workbook read back

TEST_F(ExcelWriterTest, ValuesTypesAndFormatsReadBack)
{
    Grid g;
    fill(g, {"Date\tHeure\tNombre\tPart\tDépartement\tN° bague\tBagueur\tObservateur",
             "05/11/2009\t08:30\t12,5\t15%\t01\t0123\t0456\tL'Hôte\r\nJean",
             "06/11/2009\t14:05\t-3\t2,5%\t'07\t 0789\t'0999\t=1+1",
             QStringLiteral("\t\t\t\t2A\t\t\ta\x01z fichier_x0041_b Œuf 𝄞 <&>")});
    const platform::Result r = exportGrid(g, target());
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_TRUE(r.error.isEmpty());
    EXPECT_EQ(sheets, 1);

    Grid back; // the grid's own workbook reader: texts, and numbers as stored
    ASSERT_TRUE(GridFile::load(back, target(), GridFile::Workbook).ok);
    EXPECT_EQ(back.cols(), 8) << "column 0 of the grid is not written";
    const WorkbookContents book = readWorkbookContents(target()); // stored types and formats
    ASSERT_TRUE(book.ok) << book.error.toStdString();
    const auto& sheet = book.sheets.value(0);

    struct Expect
    {
        int row, col;
        Type type;
        const char* value;
    };
    const Expect cells[] = {
        {0, 4, Type::Text, "Département"},
        {1, 0, Type::Number, "40122"},
        {2, 0, Type::Number, "40123"},
        {1, 2, Type::Number, "12.5"},
        {2, 2, Type::Number, "-3"},
        {1, 3, Type::Number, "0.15"},
        {2, 3, Type::Number, "0.025"},
        {1, 4, Type::Text, "01"},
        {2, 4, Type::Text, "07"},
        {3, 4, Type::Text, "2A"},
        {1, 5, Type::Text, "0123"},
        {2, 5, Type::Text, " 0789"},
        {1, 6, Type::Text, "0456"},
        {2, 6, Type::Text, "0999"},
        {1, 7, Type::Text, "L'Hôte\nJean"},
        {2, 7, Type::Text, "=1+1"},
        {3, 7, Type::Text, "a\x01z fichier_x0041_b Œuf 𝄞 <&>"},
    };
    for (const Expect& e : cells) {
        const QString where = QStringLiteral("(%1, %2)").arg(e.row).arg(e.col);
        ASSERT_NE(sheet.cell(e.row, e.col), nullptr) << where.toStdString();
        EXPECT_EQ(int(sheet.cell(e.row, e.col)->type), int(e.type)) << where.toStdString();
        if (e.type == Type::Text) {
            EXPECT_EQ(back.cell(e.row, e.col), QString::fromUtf8(e.value)) << where.toStdString();
        } else {
            EXPECT_DOUBLE_EQ(back.cell(e.row, e.col).toDouble(), QString(e.value).toDouble())
                << where.toStdString();
        }
    }
    EXPECT_NEAR(sheet.cell(1, 1)->number(), 510.0 / 1440, 1e-12);

    // Number formats: by what the column holds, then by its header; header cells and the whole
    // column get them too.
    const QStringList formats = {"dd/mm/yyyy", "hh:mm", "General", "0.00%", "@", "@", "@", "General"};
    for (int k = 0; k < formats.size(); ++k) {
        EXPECT_EQ(book.cellStyle(0, 1, k).numberFormat, formats[k]) << "column " << k;
        EXPECT_EQ(book.cellStyle(0, 0, k).numberFormat, formats[k]) << "header of column " << k;
    }
    EXPECT_EQ(book.columnStyle(0, 0).numberFormat, "dd/mm/yyyy");
    EXPECT_EQ(book.columnStyle(0, 4).numberFormat, "@");
}

TEST_F(ExcelWriterTest, CellsSharingTheirTextAreWrittenLikeAnyOther)
{
    // Cells of a column holding one text (the same characters, shared), then an equal text of
    // its own, another, the first again; in a text column and in a general one.
    const QString nombre = "12,5";
    const QString code = "'07";
    const QString mots[] = {nombre, nombre, "12,5", "3", nombre, " x ", " x ", "", nombre};
    const QString codes[] = {code, code, "'07", "2A", code, "", "", code, code};
    Grid g;
    g.setCols(3);
    g.setRows(1 + int(std::size(mots)));
    g.setCell(0, 1, "Nombre");
    g.setCell(0, 2, "Département");
    for (int i = 0; i < int(std::size(mots)); ++i) {
        g.setCell(i + 1, 1, mots[i]);
        g.setCell(i + 1, 2, codes[i]);
    }
    ASSERT_TRUE(exportGrid(g, target()).ok);
    const WorkbookContents book = readWorkbookContents(target());
    ASSERT_TRUE(book.ok) << book.error.toStdString();
    const auto& sheet = book.sheets.value(0);
    const QStringList valeurs = {"12.5", "12.5", "12.5", "3", "12.5", "x", "x", "", "12.5"};
    for (int i = 0; i < valeurs.size(); ++i) {
        EXPECT_EQ(sheet.value(i + 1, 0), valeurs[i]) << i;
        EXPECT_EQ(sheet.value(i + 1, 1), codes[i].isEmpty() ? "" : codes[i].sliced(codes[i].startsWith('\'')))
            << i;
    }
}

TEST_F(ExcelWriterTest, FontsBordersAndBoldHeader)
{
    Grid g;
    fill(g, {"Espèce\tNombre", "Pie bavarde\t3", "\t"});
    ASSERT_TRUE(exportGrid(g, target()).ok);
    WorkbookContents book = readWorkbookContents(target());
    const auto header = book.cellStyle(0, 0, 1);
    const auto body = book.cellStyle(0, 1, 0);
    EXPECT_EQ(QStringList({header.fontName, QString::number(header.fontSize), body.fontName,
                           QString::number(body.fontSize)}),
              QStringList({"MS Sans Serif", "9", "MS Sans Serif", "8"}));
    EXPECT_TRUE(header.bold && header.solidFill);
    EXPECT_FALSE(body.bold || body.italic || body.solidFill);
    EXPECT_EQ(header.borders, "thin,thin,thin,thin");
    EXPECT_EQ(body.borders, "thin,thin,thin,thin");
    EXPECT_EQ(book.cellStyle(0, 2, 1).borders, "thin,thin,thin,thin") << "empty cells of the body too";
    EXPECT_EQ(body.verticalAlign, "center");
    EXPECT_GT(book.sheets[0].columnWidths.value(0), book.sheets[0].columnWidths.value(1)) << "widths fitted";

    // The font settings are read at each export.
    gstr_Police_Excel = "Arial";
    glng_Taille_Police_Excel = 10;
    gbol_Gras_Excel = gbol_Italique_Excel = true;
    ASSERT_TRUE(exportGrid(g, target()).ok);
    book = readWorkbookContents(target());
    const auto body2 = book.cellStyle(0, 1, 0);
    EXPECT_EQ(body2.fontName, "Arial");
    EXPECT_EQ(body2.fontSize, 10);
    EXPECT_TRUE(body2.bold && body2.italic);
    EXPECT_EQ(book.cellStyle(0, 0, 0).fontSize, 11);
}

TEST_F(ExcelWriterTest, RowsAreSplitAtTheRowLimitUnderTheHeader)
{
    struct Row
    {
        qint32 rowsPerSheet;
        int dataRows;
        QList<int> perSheet;
    };
    const Row rows[] = {
        {5, 3, {3}},
        {5, 4, {4}},
        {5, 5, {4, 1}},
        {5, 12, {4, 4, 4}},
        {3, 5, {2, 2, 1}},
        {65000, 64999, {64999}},
        {65000, 65000, {64999, 1}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(
            QStringLiteral("%1 rows a sheet, %2 rows").arg(r.rowsPerSheet).arg(r.dataRows).toStdString());
        glng_Lignes_Par_Feuille = r.rowsPerSheet;
        Grid g;
        numbered(g, r.dataRows);
        sheets = 0;
        ASSERT_TRUE(exportGrid(g, target()).ok);
        EXPECT_EQ(sheets, r.perSheet.size());
        const WorkbookContents book = readWorkbookContents(target());
        ASSERT_EQ(book.sheets.size(), r.perSheet.size());
        int next = 1;
        for (int s = 0; s < book.sheets.size(); ++s) {
            const auto& sheet = book.sheets[s];
            EXPECT_EQ(sheet.value(0, 0), "N°") << "the header again";
            EXPECT_EQ(sheet.rowCount, r.perSheet[s] + 1);
            for (int i = 1; i < sheet.rowCount; ++i)
                ASSERT_EQ(sheet.value(i, 0).toInt(), next++) << "every row once, in order";
        }
    }
}

TEST_F(ExcelWriterTest, SheetNamesAndTheActiveSheet)
{
    const QList<QPair<QString, QStringList>> rows = {
        {"SHOC", {"SHOC", "SHOC-001", "SHOC-002"}},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", // last 31, then last 26 characters
         {"FGHIJKLMNOPQRSTUVWXYZ0123456789", "KLMNOPQRSTUVWXYZ0123456789-001",
          "KLMNOPQRSTUVWXYZ0123456789-002"}},
        {"STOC/EPS", {"Feuil1", "Feuil2", "Feuil3"}}, // names a workbook refuses
        {"", {"Feuil1", "-001", "-002"}},
        {"SHOC'", {"Feuil1", "SHOC'-001", "SHOC'-002"}},
        {"history", {"Feuil1", "history-001", "history-002"}},
    };
    glng_Lignes_Par_Feuille = 3;
    for (const auto& [name, expected] : rows) {
        Grid g;
        numbered(g, 5);
        ASSERT_TRUE(exportGrid(g, target(), name).ok);
        const WorkbookContents book = readWorkbookContents(target());
        EXPECT_EQ(book.sheetNames(), expected);
        EXPECT_EQ(book.activeSheet, 0);
        ASSERT_EQ(book.sheets.size(), 3);
        EXPECT_TRUE(book.sheets[0].tabSelected && !book.sheets[2].tabSelected) << "the first sheet shows";
    }
}

TEST_F(ExcelWriterTest, RowsAndColumnsWritten)
{
    struct Row
    {
        const char* name;
        std::function<void(Grid&)> change;
        int first, last;
        QStringList header;
        QStringList firstColumn;
    };
    const Row rows[] = {
        {"whole grid", {}, 0, 4, {"A", "B", "C"}, {"1", "2", "3", "4"}},
        {"last below 1: the last row", {}, 0, 0, {"A", "B", "C"}, {"1", "2", "3", "4"}},
        {"last past the end", {}, 0, 99, {"A", "B", "C"}, {"1", "2", "3", "4"}},
        {"first and last inside", {}, 2, 3, {"A", "B", "C"}, {"2", "3"}},
        {"hidden column skipped",
         [](Grid& g) { g.setColHidden(1, true); },
         0,
         4,
         {"B", "C"},
         {"x", "x", "x", "x"}},
        {"column of width 0 skipped",
         [](Grid& g) { g.setColWidth(2, 0); },
         0,
         4,
         {"A", "C"},
         {"1", "2", "3", "4"}},
        {"no data rows: the header alone", [](Grid& g) { g.setRows(1); }, 0, 0, {"A", "B", "C"}, {}},
    };
    for (const Row& r : rows) {
        Grid g;
        fill(g, {"A\tB\tC", "1\tx\ty", "2\tx\ty", "3\tx\ty", "4\tx\ty"});
        if (r.change)
            r.change(g);
        sheets = 0;
        ASSERT_TRUE(exportGrid(g, target(), "SHOC", r.first, r.last).ok) << r.name;
        const WorkbookContents book = readWorkbookContents(target());
        ASSERT_EQ(book.sheets.size(), 1) << r.name;
        EXPECT_EQ(sheets, 1) << r.name;
        QStringList header;
        for (int c = 0; c < book.sheets[0].colCount; ++c)
            header << book.sheets[0].value(0, c);
        EXPECT_EQ(header, r.header) << r.name;
        EXPECT_EQ(firstColumn(book), r.firstColumn) << r.name;
    }
}

TEST_F(ExcelWriterTest, TheExistingFileIsReplacedWhateverTheCaseOfItsName)
{
    ASSERT_TRUE(writeFile(target("EXPORT.XLSX"), "ancien"));
    Grid g;
    numbered(g, 2);
    ASSERT_TRUE(exportGrid(g, target("export.xlsx")).ok);
    EXPECT_EQ(QDir(env.dataFolder()).entryList(QDir::Files), QStringList{"EXPORT.XLSX"});
    EXPECT_TRUE(readWorkbookContents(target("EXPORT.XLSX")).ok);
}

namespace {

// Makes a folder refuse new files: without write permission, and for root (whom permissions do
// not stop) with the immutable attribute.
class LockedFolder
{
public:
    explicit LockedFolder(const QString& path) : m_path(path)
    {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
        if (canCreate())
            m_immutable = QProcess::execute("chattr", {"+i", path}) == 0;
    }
    ~LockedFolder()
    {
        if (m_immutable)
            QProcess::execute("chattr", {"-i", m_path});
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool canCreate() const
    {
        QFile probe(QDir(m_path).filePath("essai"));
        return probe.open(QIODevice::WriteOnly) && probe.remove();
    }

private:
    QString m_path;
    bool m_immutable = false;
};

} // namespace

TEST_F(ExcelWriterTest, AFailedWriteLeavesTheOldFileAndSaysWhy)
{
    const QByteArray old = "ancien classeur";
    struct Row
    {
        const char* name;
        std::function<void(Grid&)> change;
        bool addSheet;
        bool lockFolder;
    };
    const Row rows[] = {
        {"cell text too long", [](Grid& g) { g.setCell(2, 1, QString(40000, u'x')); }, false, false},
        {"sheets added to an existing workbook", {}, true, false},
        {"folder that takes no new file", {}, false, true},
    };
    for (const Row& r : rows) {
        ASSERT_TRUE(writeFile(target(), old));
        Grid g;
        numbered(g, 3);
        if (r.change)
            r.change(g);
        sheets = 7;
        platform::Result result;
        {
            std::optional<LockedFolder> lock;
            if (r.lockFolder) {
                lock.emplace(env.dataFolder());
                if (lock->canCreate()) {
                    ADD_FAILURE() << "no way to lock a folder here; case not run";
                    continue;
                }
            }
            result = exportGrid(g, target(), "SHOC", 0, -1, r.addSheet);
        }
        EXPECT_FALSE(result.ok) << r.name;
        EXPECT_TRUE(result.error.startsWith("Le fichier « " + QDir::toNativeSeparators(target()) + " »"))
            << r.name << ": " << result.error.toStdString();
        EXPECT_EQ(bytesOf(target()), old) << r.name;
        EXPECT_EQ(sheets, 7) << r.name << ": the counter is left alone";
        EXPECT_EQ(QDir(env.dataFolder()).entryList(QDir::Files), QStringList{"export.xlsx"}) << r.name;
    }
}

TEST_F(ExcelWriterTest, AFullDiskLeavesTheOldFileAndSaysSo)
{
    const QByteArray old = "ancien classeur";
    for (const char* version : {"14.0", "?"}) { // the writer, and the grid's own workbook
        SCOPED_TRACE(version);
        gstr_Version_Excel = version;
        ASSERT_TRUE(writeFile(target(), old));
        Grid g;
        numbered(g, 200);
        sheets = 7;
        platform::Result result;
        {
            testing_support::FileSizeLimit limit(1024);
            result = exportGrid(g, target());
        }
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, "Le fichier « " + QDir::toNativeSeparators(target()) +
                                    " » ne peut pas être écrit : le disque est plein.");
        EXPECT_EQ(bytesOf(target()), old);
        EXPECT_EQ(sheets, 7);
        EXPECT_EQ(QDir(env.dataFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{"export.xlsx"});
    }
}

TEST_F(ExcelWriterTest, WithoutTheWriterTheGridSavesItselfAsAWorkbook)
{
    gstr_Version_Excel = "?";
    glng_Lignes_Par_Feuille = 3;
    Grid g;
    fill(g, {"Département\tNombre", "'07\t12,5", "01\t3", "02\t4", "03\t5"});
    g.setCell(1, 0, "fixe");
    ASSERT_TRUE(exportGrid(g, target()).ok);
    EXPECT_EQ(sheets, 0) << "the grid's workbook leaves the counter alone";
    EXPECT_EQ(readWorkbookContents(target()).sheets.size(), 1);
    Grid back;
    ASSERT_TRUE(GridFile::load(back, target(), GridFile::Workbook).ok);
    EXPECT_EQ(back.rangeText({0, 0, 5, 2}), g.rangeText({0, 0, 5, 2})) << "every cell as the grid holds it";

    const platform::Result bad = exportGrid(g, QDir(env.dataFolder()).filePath("absent/export.xlsx"));
    EXPECT_FALSE(bad.ok);
    EXPECT_FALSE(bad.error.isEmpty());
}

TEST_F(ExcelWriterTest, TheHourglassShowsWhileTheWorkbookIsWritten)
{
    const QStringList& calls = env.pointer().calls;
    Grid g;
    numbered(g, 2);
    ASSERT_TRUE(exportGrid(g, target()).ok);
    g.setCell(1, 1, QString(40000, u'x'));
    EXPECT_FALSE(exportGrid(g, target()).ok);
    EXPECT_EQ(calls, QStringList({"hourglass", "pop", "hourglass", "pop"}));

    env.pointer().calls.clear();
    g.setCell(1, 1, "1");
    gstr_Version_Excel = "?";
    ASSERT_TRUE(exportGrid(g, target()).ok);
    EXPECT_TRUE(calls.isEmpty()) << "the grid's own save changes no pointer";
}
