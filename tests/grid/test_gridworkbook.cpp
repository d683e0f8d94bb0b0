// Code 6: grids saved as workbooks and read back, the sheet as a spreadsheet reads it, damaged and
// oversized workbooks refused.

#include "grid/GridFile.h"

#include "grid/Grid.h"
#include "grid/GridWorkbook.h"
#include "grid/SheetWriter.h"
#include "tests/grid/GridExpect.h"
#include "tests/grid/GridFileFixture.h"
#include "tests/grid/GridSamples.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/HostileFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <zip.h>

using namespace grid;
using namespace grid_samples;

// ---------------------------------------------------------------- code 6

TEST_F(GridFileTest, WorkbookRoundTripsTextsAndCheckStates)
{
    Grid g;
    fillAwkward(g);
    ASSERT_TRUE(GridFile::save(g, path("t.xlsx"), GridFile::Workbook, true));
    Grid back;
    back.setCols(g.cols());
    back.setFixedRows(g.fixedRows());
    back.setFixedCols(g.fixedCols());
    back.setColDataType(3, Grid::DataType::Boolean);
    const platform::Result r = GridFile::load(back, path("t.xlsx"), GridFile::Workbook);
    ASSERT_TRUE(r) << r.error.toStdString();
    ASSERT_EQ(back.rows(), g.rows());
    ASSERT_EQ(back.cols(), g.cols());
    for (int row = 0; row < g.rows(); ++row)
        for (int col = 0; col < g.cols(); ++col) {
            EXPECT_EQ(back.cell(row, col), g.cell(row, col)) << row << "," << col;
            EXPECT_EQ(back.checkState(row, col), g.checkState(row, col)) << row << "," << col;
        }
}

TEST_F(GridFileTest, WorkbookSheetHoldsTheCellsAsASpreadsheetReadsThem)
{
    Grid g;
    g.setRows(0);
    g.setCols(3);
    g.setFixedRows(0);
    g.setFixedCols(0);
    g.addRow("Code\tNom\tCR");
    g.addRow("ALAARV\tAlouette des champs\tun\rdeux");
    g.setCell(1, 0, "_x0041_"); // a text that looks like an escape stays itself
    g.setCheckState(1, 1, Grid::Checked);
    ASSERT_TRUE(GridFile::save(g, path("s.xlsx"), GridFile::Workbook, true));

    const QByteArray sheet = unzipEntry(path("s.xlsx"), "xl/worksheets/sheet1.xml");
    const QByteArray strings = unzipEntry(path("s.xlsx"), "xl/sharedStrings.xml");
    ASSERT_FALSE(sheet.isEmpty());
    ASSERT_FALSE(strings.isEmpty());
    QStringList shared;
    QXmlStreamReader sx(strings);
    while (!sx.atEnd())
        if (sx.readNext() == QXmlStreamReader::StartElement && sx.name() == u"t")
            shared << sx.readElementText();
    QMap<QString, QString> cells; // reference -> text as a spreadsheet shows it
    QXmlStreamReader x(sheet);
    while (!x.atEnd()) {
        if (x.readNext() != QXmlStreamReader::StartElement || x.name() != u"c")
            continue;
        const QString ref = x.attributes().value("r").toString();
        const QString type = x.attributes().value("t").toString();
        QString v;
        while (!(x.readNext() == QXmlStreamReader::EndElement && x.name() == u"c"))
            if (x.isStartElement() && x.name() == u"v")
                v = x.readElementText();
        cells[ref] =
            type == "s" ? shared.value(v.toInt()) : (type == "b" ? (v == "1" ? "TRUE" : "FALSE") : v);
    }
    EXPECT_EQ(cells["A1"], "Code");
    EXPECT_EQ(cells["C1"], "CR");
    EXPECT_EQ(cells["B2"], "Alouette des champs");
    EXPECT_EQ(cells["A2"], "_x005F_x0041_");
    EXPECT_EQ(cells["C2"], "un_x000D_deux");
    Grid back;
    back.setFixedRows(0);
    back.setFixedCols(0);
    ASSERT_TRUE(GridFile::load(back, path("s.xlsx"), GridFile::Workbook));
    EXPECT_EQ(back.cell(1, 0), "_x0041_");
    EXPECT_EQ(back.cell(1, 2), "un\rdeux");
    EXPECT_EQ(back.checkState(1, 1), Grid::NoCheck) << "a cell with a text is written as its text";
}

TEST_F(GridFileTest, WorkbookWithoutFixedCellsAndWithAnEmptyLastCell)
{
    Grid g;
    g.setRows(4);
    g.setCols(4);
    g.setFixedRows(1);
    g.setFixedCols(1);
    g.setCell(0, 1, "entête");
    g.setCell(1, 0, "n°");
    g.setCell(1, 1, "a");
    g.setCell(2, 2, "b");
    ASSERT_TRUE(GridFile::save(g, path("n.xlsx"), GridFile::Workbook, false));
    Grid back;
    back.setFixedRows(0);
    back.setFixedCols(0);
    ASSERT_TRUE(GridFile::load(back, path("n.xlsx"), GridFile::Workbook));
    EXPECT_EQ(back.rows(), 3) << "the empty last row is kept";
    EXPECT_EQ(back.cols(), 3);
    EXPECT_EQ(back.cell(0, 0), "a");
    EXPECT_EQ(back.cell(1, 1), "b");
}

TEST_F(GridFileTest, FailedWorkbookLoadsLeaveTheGridAsItWas)
{
    Grid sample;
    fillAwkward(sample);
    ASSERT_TRUE(GridFile::save(sample, path("good.xlsx"), GridFile::Workbook, true));
    const QByteArray good = read("good.xlsx");
    const QByteArray complete = GridFile::toComplete(sample);
    struct Row
    {
        const char* name;
        QByteArray bytes;
    };
    const Row rows[] = {
        {"empty", ""},
        {"a complete grid file", complete},
        {"text", "Code\tNom\r\n"},
        {"cut in half", good.left(good.size() / 2)},
        {"cut at the end", good.left(good.size() - 10)},
        {"one byte changed in the middle", QByteArray(good).replace(good.size() / 3, 1, "\xFF")},
        {"a zip without workbook", zipOf({{"hello.txt", "hi"}})},
        {"a sheet that is no XML", workbookOf("<worksheet><sheetData><row r=\"1\"><c r=\"A1\"", {})},
        {"a shared string that does not exist",
         workbookOf("<worksheet><sheetData><row r=\"1\"><c r=\"A1\" "
                    "t=\"s\"><v>3</v></c></row></sheetData></worksheet>",
                    {"zéro"})},
        {"a cell reference beyond the sheet",
         workbookOf("<worksheet><sheetData><row r=\"1\"><c r=\"A99999999\" "
                    "t=\"inlineStr\"><is><t>x</t></is></c></row>"
                    "</sheetData></worksheet>",
                    {})},
        {"a sheet too large for a grid", workbookOf("<worksheet><sheetData><row r=\"1048576\"><c "
                                                    "r=\"XFD1048576\" t=\"inlineStr\"><is><t>x</t></is></c>"
                                                    "</row></sheetData></worksheet>",
                                                    {})},
        {"a row number of zero",
         workbookOf("<worksheet><sheetData><row r=\"0\"/></sheetData></worksheet>", {})},
    };
    for (const Row& r : rows) {
        write("bad.xlsx", r.bytes);
        Grid g;
        fillAwkward(g);
        const QByteArray before = GridFile::toComplete(g);
        const platform::Result res = GridFile::load(g, path("bad.xlsx"), GridFile::Workbook);
        EXPECT_FALSE(res) << r.name;
        EXPECT_FALSE(res.error.isEmpty()) << r.name;
        EXPECT_EQ(GridFile::toComplete(g), before) << r.name << ": the grid changed";
    }
}

// The workbook with the sizes of one part, as its local and central headers announce them,
// replaced by the given size.
QByteArray withAnnouncedSize(QByteArray zip, const QByteArray& part, quint32 size)
{
    const auto put = [&zip](qsizetype at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            zip[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    const auto u16 = [&zip](qsizetype at) { return int(quint8(zip[at])) | int(quint8(zip[at + 1])) << 8; };
    for (qsizetype at = zip.indexOf("PK\x03\x04"); at >= 0; at = zip.indexOf("PK\x03\x04", at + 4))
        if (zip.mid(at + 30, u16(at + 26)) == part)
            put(at + 22, size);
    for (qsizetype at = zip.indexOf("PK\x01\x02"); at >= 0; at = zip.indexOf("PK\x01\x02", at + 4))
        if (zip.mid(at + 46, u16(at + 28)) == part)
            put(at + 24, size);
    return zip;
}

TEST_F(GridFileTest, WorkbookPartsThatExpandTooFarAreRefusedBeforeTheyAreRead)
{
    // Rows that shrink several hundred times: 64 MiB of sheet from a few hundred KB.
    const QByteArray row = "<row><c t=\"inlineStr\"><is><t>x</t></is></c></row>";
    const auto sheetOf = [&row](qsizetype bytes) {
        return "<worksheet><sheetData>" + row.repeated(bytes / row.size()) + "</sheetData></worksheet>";
    };
    const QByteArray bomb = workbookOf(sheetOf(64 << 20), {});
    const QByteArray stringsBomb =
        workbookOf("<worksheet><sheetData/></worksheet>", QStringList(1 << 20, QStringLiteral("x")));
    const QByteArray sheet = "xl/worksheets/sheet1.xml";
    struct Row
    {
        const char* name;
        QByteArray bytes;
        const char* reason;
    };
    const Row rows[] = {
        {"a sheet of 64 MiB from a few hundred KB", bomb,
         "la partie « xl/worksheets/sheet1.xml » du classeur est trop grande une fois décompressée"},
        {"shared texts far beyond their compressed size", stringsBomb,
         "la partie « xl/sharedStrings.xml » du classeur est trop grande une fois décompressée"},
        {"a sheet that announces 200 MiB",
         withAnnouncedSize(workbookOf(sheetOf(4096), {}), sheet, 200u << 20),
         "la partie « xl/worksheets/sheet1.xml » du classeur est trop grande une fois décompressée"},
        {"a sheet that announces less than it holds", withAnnouncedSize(bomb, sheet, 1 << 20),
         "feuille du classeur absente ou illisible"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        write("bomb.xlsx", r.bytes);
        Grid g;
        fillAwkward(g);
        const QByteArray before = GridFile::toComplete(g);
        QElapsedTimer clock;
        clock.start();
        const platform::Result res = GridFile::load(g, path("bomb.xlsx"), GridFile::Workbook);
        EXPECT_LT(clock.elapsed(), 2000) << "the part is not expanded to the end";
        EXPECT_FALSE(res);
        EXPECT_EQ(res.error, QStringLiteral("Le fichier « %1 » ne peut pas être lu : %2.")
                                 .arg(path("bomb.xlsx"), QString::fromUtf8(r.reason)));
        EXPECT_EQ(GridFile::toComplete(g), before) << "the grid changed";
    }

    // Below 1 MiB a part may shrink as far as it likes.
    write("small.xlsx", workbookOf(sheetOf(1000 * 1000), {}));
    Grid g;
    const platform::Result res = GridFile::load(g, path("small.xlsx"), GridFile::Workbook);
    ASSERT_TRUE(res) << res.error.toStdString();
    EXPECT_EQ(g.rows(), 1000 * 1000 / row.size());
    EXPECT_EQ(g.cell(g.rows() - 1, 0), "x");
}

TEST_F(GridFileTest, WorkbooksWrittenByOtherProgramsRead)
{
    // Inline strings, rich text runs, numbers and formulas' results, cells without references.
    const QByteArray sheet =
        "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>"
        "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>Code</t></is></c><c t=\"s\"><v>0</v></c></row>"
        "<row r=\"3\"><c r=\"B3\"><v>12.5</v></c><c r=\"C3\" t=\"str\"><f>A1</f><v>Code</v></c></row>"
        "</sheetData></worksheet>";
    write("o.xlsx",
          workbookOf(sheet, {"<r><t>Alou</t></r><r><rPr/><t>ette</t></r><rPh><t>x</t></rPh>"}, true));
    Grid g;
    g.setFixedRows(0);
    g.setFixedCols(0);
    const platform::Result r = GridFile::load(g, path("o.xlsx"), GridFile::Workbook);
    ASSERT_TRUE(r) << r.error.toStdString();
    EXPECT_EQ(g.rows(), 3);
    EXPECT_EQ(g.cols(), 3);
    EXPECT_EQ(g.cell(0, 0), "Code");
    EXPECT_EQ(g.cell(0, 1), "Alouette");
    EXPECT_EQ(g.cell(2, 1), "12.5");
    EXPECT_EQ(g.cell(2, 2), "Code");
}

TEST(GridWorkbookEscapes, CharactersXmlCannotCarry)
{
    struct Row
    {
        QString text;
        QString escaped;
    };
    const Row rows[] = {
        {"simple", "simple"},
        {"a\rb", "a_x000D_b"},
        {"tab\tand\nline", "tab\tand\nline"},
        {QString(QChar(0)) + "x", "_x0000_x"},
        {"_x0041_", "_x005F_x0041_"},
        {"_x004_", "_x004_"},
        {"__x0041__", "__x005F_x0041__"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(workbookEscape(r.text), r.escaped) << r.text.toStdString();
        EXPECT_EQ(workbookUnescape(r.escaped), r.text) << r.escaped.toStdString();
    }
}
