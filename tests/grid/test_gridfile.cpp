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

// ---------------------------------------------------------------- code 0

TEST_F(GridFileTest, CompleteFileRoundTripsEverything)
{
    Grid g;
    fillAwkward(g);
    ASSERT_TRUE(GridFile::save(g, path("a.FLX2009"), GridFile::Complete, true));
    Grid back;
    back.setFixedRows(0);
    const platform::Result r = GridFile::load(back, path("a.FLX2009"), GridFile::Complete);
    ASSERT_TRUE(r) << r.error.toStdString();
    expectSameGrid(g, back);
    // Saved again, byte for byte the same file.
    ASSERT_TRUE(GridFile::save(back, path("b.FLX2009"), GridFile::Complete));
    EXPECT_EQ(read("a.FLX2009"), read("b.FLX2009"));
}

// Many cells of a file hold the same short texts; each reads back as it was written, and stays a
// cell of its own: texts repeated or not, of six characters and of seven, escaped, beyond 16 bits,
// a file beginning with a byte order mark and a row beginning with that character.
TEST_F(GridFileTest, EveryCellReadsBackAsWrittenAndStaysACellOfItsOwn)
{
    const QStringList texts = {"0", "x", "abcdef", "abcdefg", "é", "\U0001F426", "a\tb", "\\", "\uFEFFdébut"};
    Grid g;
    g.setRows(3000);
    g.setCols(8);
    for (int r = 0; r < g.rows(); ++r)
        for (int c = 0; c < g.cols(); ++c)
            g.setCell(r, c, c < 4 ? texts[(r + c) % texts.size()] : QString::number((r * 7 + c) % 5000));
    const QByteArray bytes = GridFile::toComplete(g);
    for (const QByteArray& file : {bytes, "\xEF\xBB\xBF" + bytes}) {
        Grid back;
        back.setFixedRows(0);
        const platform::Result r = GridFile::fromComplete(back, file);
        ASSERT_TRUE(r) << r.error.toStdString();
        expectSameGrid(g, back);
        back.setCell(1, 0, "changé");
        EXPECT_EQ(back.cell(1, 0), "changé");
        EXPECT_EQ(back.cell(0, 1), "x");
        EXPECT_EQ(back.cell(10, 0), "x");
    }
    // The rows a file can hold are counted in characters, not in bytes.
    Grid h;
    const platform::Result r =
        GridFile::fromComplete(h, "MIRELOT-GRILLE\t1\ntaille\t13\t1\t0\t0\ncellules\n€€€€\nfin\t13\n");
    EXPECT_TRUE(r.error.endsWith("il annonce 13 lignes et n'en contient pas autant."))
        << r.error.toStdString();
}

TEST_F(GridFileTest, CompleteFileShapes)
{
    struct Row
    {
        const char* name;
        int rows, cols, fixedRows, fixedCols;
    };
    const Row rows[] = {
        {"no row", 0, 3, 0, 0},
        {"no column", 4, 0, 0, 0},
        {"header only", 1, 10, 1, 1},
        {"record shape", 60, 72, 0, 0},
        {"two fixed rows and columns", 5, 5, 2, 2},
    };
    for (const Row& r : rows) {
        Grid g;
        g.setRows(r.rows);
        g.setCols(r.cols);
        g.setFixedRows(r.fixedRows);
        g.setFixedCols(r.fixedCols);
        if (r.rows > 2 && r.cols > 2)
            g.setCell(r.rows - 2, r.cols - 2, "x"); // empty cells after it in the row and below it
        ASSERT_TRUE(GridFile::save(g, path("s"), GridFile::Complete)) << r.name;
        Grid back;
        ASSERT_TRUE(GridFile::load(back, path("s"), GridFile::Complete)) << r.name;
        expectSameGrid(g, back);
    }
}

TEST_F(GridFileTest, FailedCompleteLoadsLeaveTheGridAsItWas)
{
    Grid sample;
    fillAwkward(sample);
    const QByteArray good = GridFile::toComplete(sample);
    const QByteArray header = QByteArray("MIRELOT-GRILLE\t1\ntaille\t2\t2\t1\t0\ncellules\n");
    struct Row
    {
        const char* name;
        QByteArray bytes;
    };
    const Row rows[] = {
        {"empty file", ""},
        {"another format", "SHOC\tDésignation\r\n"},
        {"a workbook", QByteArray("PK\x03\x04", 4) + QByteArray(40, 'x')},
        {"newer version", "MIRELOT-GRILLE\t2\ntaille\t1\t1\t0\t0\ncellules\n\nfin\t1\n"},
        {"cut before the end line", good.left(good.lastIndexOf("fin\t"))},
        {"cut inside the end line", good.left(good.size() - 2)},
        {"last line without its line feed", good.left(good.size() - 1)},
        {"row count of the end line differs", header + "a\n\nfin\t3\n"},
        {"fewer rows than announced", header + "a\nfin\t2\n"},
        {"more cells than columns", header + "a\tb\tc\n\nfin\t2\n"},
        {"unknown escape", header + "a\\q\n\nfin\t2\n"},
        {"backslash at the end of a cell", header + "a\\\n\nfin\t2\n"},
        {"text after the end line", header + "a\n\nfin\t2\nx\n"},
        {"huge announced size", "MIRELOT-GRILLE\t1\ntaille\t999999999\t72\t0\t0\ncellules\n"},
        {"too many cells", "MIRELOT-GRILLE\t1\ntaille\t5000000\t16000\t0\t0\ncellules\n"},
        {"fixed rows above rows", "MIRELOT-GRILLE\t1\ntaille\t1\t1\t2\t0\ncellules\n\nfin\t1\n"},
        {"negative count", "MIRELOT-GRILLE\t1\ntaille\t-1\t1\t0\t0\ncellules\nfin\t-1\n"},
        {"cell setting outside the grid", header + "a\n\ncellule\t9\t0\t1\t0\t0\t0\t\nfin\t2\n"},
        {"check state out of range", header + "a\n\ncellule\t1\t0\t3\t0\t0\t0\t\nfin\t2\n"},
        {"column setting outside the grid",
         "MIRELOT-GRILLE\t1\ntaille\t0\t1\t0\t0\ncolonne\t5\t0\t0\t0\t0\t-1\t\t\ncellules\nfin\t0\n"},
        {"unknown data type",
         "MIRELOT-GRILLE\t1\ntaille\t0\t1\t0\t0\ncolonne\t0\t0\t3\t0\t0\t-1\t\t\ncellules\nfin\t0\n"},
        {"invalid UTF-8", header + "\xC3\x28\n\nfin\t2\n"},
        {"unknown trailer line", header + "a\n\nbizarre\nfin\t2\n"},
    };
    for (const Row& r : rows) {
        write("bad", r.bytes);
        Grid g;
        fillAwkward(g);
        const QByteArray before = GridFile::toComplete(g);
        const platform::Result res = GridFile::load(g, path("bad"), GridFile::Complete);
        EXPECT_FALSE(res) << r.name;
        EXPECT_FALSE(res.error.isEmpty()) << r.name;
        EXPECT_EQ(GridFile::toComplete(g), before) << r.name << ": the grid changed";
    }
    Grid g;
    const platform::Result missing = GridFile::load(g, path("absent"), GridFile::Complete);
    EXPECT_FALSE(missing);
    EXPECT_TRUE(missing.error.contains("absent"));
}

TEST_F(GridFileTest, EveryTruncationOfACompleteFileIsRefused)
{
    Grid sample;
    fillAwkward(sample);
    const QByteArray good = GridFile::toComplete(sample);
    for (qsizetype n = 0; n < good.size(); ++n) {
        Grid g;
        g.setCell(0, 0, "avant");
        EXPECT_FALSE(GridFile::fromComplete(g, good.left(n))) << "cut at " << n;
        EXPECT_EQ(g.cell(0, 0), "avant");
    }
}

// A size that the file cannot hold, or beyond what the reader takes of such a file, is refused
// from the file's first bytes, before a row is made: by the whole load and by the head reader.
TEST_F(GridFileTest, SizesAFileCannotHoldOrBeyondTheBoundsAreRefusedBeforeAnyRowIsMade)
{
    ASSERT_TRUE(hostile_files::declaredRows(path("huge"), 10'000'000, 1));
    ASSERT_EQ(read("huge").size(), 48);
    ASSERT_TRUE(hostile_files::withoutLineFeed(path("no line feed"), 1 << 20));
    Grid small;
    small.setRows(3);
    small.setCols(2);
    small.setCell(2, 1, "fin");
    ASSERT_TRUE(GridFile::save(small, path("small"), GridFile::Complete));
    const qint64 smallBytes = read("small").size();

    GridFile::Bounds record;
    record.kind = "un relevé";
    GridFile::Bounds bytes = record, rows = record, cells = record;
    bytes.bytes = smallBytes - 1;
    rows.rows = 2;
    cells.cells = 5;
    const struct
    {
        const char* file;
        GridFile::Bounds bounds;
        QString why; // empty: read
    } cases[] = {
        {"huge", {}, "il annonce 10000000 lignes et n'en contient pas autant"},
        {"no line feed", {}, "ce n'est pas un fichier de grille"},
        {"small", record, ""},
        {"small", bytes,
         QString("il est trop grand pour un relevé (%1 octets, %2 au plus)")
             .arg(smallBytes)
             .arg(smallBytes - 1)},
        {"small", rows, "il annonce 3 lignes de 2 colonnes, plus que n'en compte un relevé (2 lignes et "},
        {"small", cells, "cellules au plus)"},
    };
    const auto all = [](int, const QList<QStringList>&) { return 2; };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.why.toStdString());
        Grid g;
        g.setCell(0, 0, "avant");
        const platform::Result loaded = GridFile::load(g, path(c.file), GridFile::Complete, c.bounds);
        const platform::ResultOf<QList<QStringList>> head =
            GridFile::readHead(path(c.file), 40, all, c.bounds);
        if (c.why.isEmpty()) {
            EXPECT_TRUE(loaded) << loaded.error.toStdString();
            EXPECT_TRUE(head) << head.result.error.toStdString();
            continue;
        }
        const QString named = QStringLiteral("Le fichier « %1 » ne peut pas être lu : ").arg(path(c.file));
        for (const QString& error : {loaded.error, head.result.error}) {
            EXPECT_TRUE(error.startsWith(named)) << error.toStdString();
            EXPECT_TRUE(error.contains(c.why)) << error.toStdString();
        }
        EXPECT_EQ(g.rows(), 1);
        EXPECT_EQ(g.cell(0, 0), "avant");
    }
    Grid g;
    EXPECT_EQ(
        GridFile::fromComplete(g, read("huge"), "huge").error,
        "Le fichier « huge » ne peut pas être lu : il annonce 10000000 lignes et n'en contient pas autant.");
}

TEST_F(GridFileTest, HeadOfACompleteFileReadsOnlyTheFirstRows)
{
    Grid g;
    fillRecord(g, 400);
    ASSERT_TRUE(GridFile::save(g, path("r"), GridFile::Complete));
    QByteArray bytes = read("r");

    // Rows after the head are damaged and the end is missing: the whole load fails, the head
    // reads, so the rest of the file was not parsed.
    const qsizetype rowsStart = bytes.indexOf("cellules\n") + 9;
    qsizetype pos = rowsStart;
    for (int i = 0; i < 45; ++i)
        pos = bytes.indexOf('\n', pos) + 1;
    QByteArray damaged = bytes.left(pos) + "\\q\\q\tbroken\n";
    write("damaged", damaged);

    Grid full;
    EXPECT_FALSE(GridFile::load(full, path("damaged"), GridFile::Complete));
    Grid head;
    const platform::Result r = GridFile::loadHead(head, path("damaged"), 41);
    ASSERT_TRUE(r) << r.error.toStdString();
    EXPECT_EQ(head.rows(), 41);
    EXPECT_EQ(head.cols(), 72);
    for (int row = 0; row < 41; ++row)
        for (int col = 0; col < 72; ++col)
            ASSERT_EQ(head.cell(row, col), g.cell(row, col)) << row << "," << col;

    // Asking for more rows than the file has gives them all.
    Grid small;
    small.setRows(3);
    small.setCols(2);
    small.setCell(2, 1, "fin");
    ASSERT_TRUE(GridFile::save(small, path("small"), GridFile::Complete));
    ASSERT_TRUE(GridFile::loadHead(head, path("small"), 40));
    EXPECT_EQ(head.rows(), 3);
    EXPECT_EQ(head.cell(2, 1), "fin");

    // A head cut short, or another format, is refused and the grid kept.
    write("cut", bytes.left(rowsStart + 20));
    EXPECT_FALSE(GridFile::loadHead(head, path("cut"), 40));
    EXPECT_EQ(head.cell(2, 1), "fin");
    write("other", "SHOC\tx\n");
    EXPECT_FALSE(GridFile::loadHead(head, path("other"), 40));
    EXPECT_FALSE(GridFile::loadHead(head, path("absent"), 40));
    EXPECT_EQ(head.rows(), 3);
}

TEST_F(GridFileTest, HeadTextsReadOnlyTheColumnsAskedForOfTheFirstRows)
{
    // Awkward texts (escapes, line ends, characters outside the basic plane) come back as written.
    Grid awkward;
    fillAwkward(awkward);
    ASSERT_TRUE(GridFile::save(awkward, path("a"), GridFile::Complete));
    const auto all = [](int, const QList<QStringList>&) { return 99; };
    platform::ResultOf<QList<QStringList>> head = GridFile::readHead(path("a"), 100, all);
    ASSERT_TRUE(head);
    QList<QStringList> rows = head.value;
    ASSERT_EQ(rows.size(), awkward.rows());
    for (int r = 0; r < awkward.rows(); ++r)
        for (int c = 0; c < awkward.cols(); ++c)
            EXPECT_EQ(rows[r].value(c), awkward.cell(r, c)) << r << "," << c;

    // A record of 400 rows whose rows after the head are damaged: the head spans several blocks
    // of the file, each row gives the columns asked for (knowing the rows before it) and no more.
    Grid g;
    fillRecord(g, 400);
    ASSERT_TRUE(GridFile::save(g, path("r"), GridFile::Complete));
    QByteArray bytes = read("r");
    qsizetype pos = bytes.indexOf("cellules\n") + 9;
    for (int i = 0; i < 300; ++i)
        pos = bytes.indexOf('\n', pos) + 1;
    write("damaged", bytes.left(pos) + "\\q\\q\tbroken\n");
    const auto wanted = [](int row, const QList<QStringList>& before) {
        EXPECT_EQ(before.size(), row);
        return row % 7;
    };
    head = GridFile::readHead(path("damaged"), 300, wanted);
    ASSERT_TRUE(head) << head.result.error.toStdString();
    rows = head.value;
    ASSERT_EQ(rows.size(), 300);
    for (int row = 0; row < 300; ++row)
        for (int col = 0; col < 72; ++col)
            ASSERT_EQ(rows[row].value(col), col < row % 7 ? g.cell(row, col) : QString())
                << row << "," << col;

    // Fewer rows in the file than asked for: all of them. A head cut short, another format or no
    // file is refused, naming the file, with no row.
    Grid small;
    small.setRows(3);
    small.setCols(2);
    small.setCell(2, 1, "fin");
    ASSERT_TRUE(GridFile::save(small, path("small"), GridFile::Complete));
    const auto two = [](int, const QList<QStringList>&) { return 2; };
    head = GridFile::readHead(path("small"), 40, two);
    ASSERT_TRUE(head);
    EXPECT_EQ(head.value, (QList<QStringList>{{}, {}, {"", "fin"}}));
    write("cut", bytes.left(bytes.indexOf("cellules\n") + 300));
    write("other", "SHOC\tx\n");
    for (const char* name : {"cut", "other", "absent"}) {
        const platform::ResultOf<QList<QStringList>> refused = GridFile::readHead(path(name), 40, two);
        EXPECT_FALSE(refused) << name;
        EXPECT_TRUE(refused.result.error.contains(path(name))) << refused.result.error.toStdString();
        EXPECT_TRUE(refused.value.isEmpty()) << name;
    }
}

// ---------------------------------------------------------------- codes 4 and 5

TEST_F(GridFileTest, TabTextRoundTripsTheCellsBelowAndRightOfTheFixedCells)
{
    Grid g;
    g.setRows(1);
    g.setCols(3);
    g.setFixedRows(1);
    g.setFixedCols(1);
    g.setCell(0, 1, "Fichier");
    g.addRow("\tSHOC-38-Vif~Passage N1.FLX2009\t05/11/2009 10:12:00");
    g.addRow("\tavec\ttabulation\tici");
    g.setCell(2, 2, "ligne 1\r\nligne 2");
    g.addRow("\t\"entre guillemets\"\t");
    ASSERT_TRUE(GridFile::save(g, path("log.txt"), GridFile::TabText));
    EXPECT_EQ(read("log.txt"), QByteArray("SHOC-38-Vif~Passage N1.FLX2009\t05/11/2009 10:12:00\r\n"
                                          "avec\t\"ligne 1\r\nligne 2\"\r\n"
                                          "\"\"\"entre guillemets\"\"\"\t\r\n"));
    Grid back;
    back.setRows(1);
    back.setCols(3);
    back.setFixedRows(1);
    back.setFixedCols(1);
    back.setCell(0, 1, "Fichier");
    ASSERT_TRUE(GridFile::load(back, path("log.txt"), GridFile::TabText));
    EXPECT_EQ(back.rows(), 4);
    EXPECT_EQ(back.cols(), 3);
    EXPECT_EQ(back.cell(0, 1), "Fichier") << "fixed cells stay";
    for (int r = 1; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(back.cell(r, c), g.cell(r, c)) << r << "," << c;
}

TEST_F(GridFileTest, TabTextReading)
{
    struct Row
    {
        const char* name;
        QByteArray bytes;
        QStringList rows; // data rows, cells from column 1
        int cols;
    };
    const Row rows[] = {
        {"CR LF lines", "a\tb\r\nc\td\r\n", {"a\tb", "c\td"}, 3},
        {"LF lines, no final line end", "a\tb\nc", {"a\tb", "c\t"}, 3},
        {"widest line decides the columns", "a\nb\tc\td\n", {"a\t\t", "b\tc\td"}, 4},
        {"empty file: no data row", "", {}, 4},
        {"empty lines are empty rows", "a\r\n\r\nb\r\n", {"a", "", "b"}, 2},
        {"accents in UTF-8", "Élanion\tcéréales d’hiver\r\n", {"Élanion\tcéréales d’hiver"}, 3},
    };
    for (const Row& r : rows) {
        write("t.txt", r.bytes);
        Grid g;
        g.setRows(1);
        g.setCols(4);
        g.setFixedRows(1);
        g.setFixedCols(1);
        ASSERT_TRUE(GridFile::load(g, path("t.txt"), GridFile::TabText)) << r.name;
        EXPECT_EQ(g.rows(), 1 + r.rows.size()) << r.name;
        EXPECT_EQ(g.cols(), r.cols) << r.name;
        for (int i = 0; i < r.rows.size(); ++i)
            EXPECT_EQ(g.rangeText({1 + i, 1, 1 + i, g.cols() - 1}), r.rows[i]) << r.name;
    }
}

TEST_F(GridFileTest, TabTextQuotesDelimitOnlyACellTheyBeginAndEnd)
{
    struct Row
    {
        const char* name;
        QByteArray bytes;
        QList<QStringList> rows; // data rows, cells from column 1
    };
    const Row rows[] = {
        {"quoted word inside the text", "\"Pie\" bavarde\tb\r\n", {{"\"Pie\" bavarde", "b"}}},
        {"quote never closed", "\"jamais fermé\tb\r\n", {{"\"jamais fermé", "b"}}},
        {"quote never closed, later lines", "\"ouvert\r\nsuite\tx\r\n", {{"\"ouvert"}, {"suite", "x"}}},
        {"text after the closing quote", "\"x\"y\tb\r\n", {{"\"x\"y", "b"}}},
        {"blank after the closing quote", "\"x\" \tb\r\n", {{"\"x\" ", "b"}}},
        {"quote not at the start", "a\"b\"\tc\r\n", {{"a\"b\"", "c"}}},
        {"a lone quote", "\"\tb\r\n", {{"\"", "b"}}},
        {"quoted tab and line end", "\"a\tb\"\t\"l1\r\nl2\"\r\n", {{"a\tb", "l1\r\nl2"}}},
        {"doubled quotes",
         "\"dit \"\"oui\"\"\"\t\"\"\"Pie\"\" bavarde\"\r\n",
         {{"dit \"oui\"", "\"Pie\" bavarde"}}},
        {"empty quoted cell", "\"\"\tb\r\n", {{"", "b"}}},
        {"quoted cell at the end of the file", "a\t\"fin\"", {{"a", "fin"}}},
    };
    for (const Row& r : rows) {
        write("t.txt", r.bytes);
        Grid g;
        g.setRows(1);
        g.setCols(2);
        g.setFixedRows(1);
        g.setFixedCols(1);
        ASSERT_TRUE(GridFile::load(g, path("t.txt"), GridFile::TabText)) << r.name;
        ASSERT_EQ(g.rows(), 1 + r.rows.size()) << r.name;
        for (int i = 0; i < r.rows.size(); ++i)
            for (int k = 0; k < g.cols() - 1; ++k)
                EXPECT_EQ(g.cell(1 + i, 1 + k), k < r.rows[i].size() ? r.rows[i][k] : QString()) << r.name;
    }

    // Whatever quotes a cell holds, what is written reads back the same.
    const QStringList awkward = {"\"",     "\"\"",     "\"a",  "a\"", "\"a\"", "\"Pie\" bavarde",
                                 "\"\t\"", "\"\r\n\"", "\" \""};
    Grid out;
    out.setRows(0);
    out.setCols(2);
    out.setFixedRows(0);
    out.setFixedCols(0);
    for (const QString& cell : awkward) {
        out.addRow(QString());
        out.setCell(out.rows() - 1, 0, cell);
        out.setCell(out.rows() - 1, 1, "b");
    }
    ASSERT_TRUE(GridFile::save(out, path("q.txt"), GridFile::TabText));
    Grid back;
    back.setFixedRows(0);
    back.setFixedCols(0);
    ASSERT_TRUE(GridFile::load(back, path("q.txt"), GridFile::TabText));
    ASSERT_EQ(back.rows(), awkward.size());
    for (int i = 0; i < awkward.size(); ++i) {
        EXPECT_EQ(back.cell(i, 0), awkward[i]) << i;
        EXPECT_EQ(back.cell(i, 1), "b") << i;
    }
}

TEST_F(GridFileTest, TabTextCarriesCheckBoxesAsTruthValues)
{
    // An address book: "Sélection" is a check-box column, "Adresse" text.
    Grid g;
    g.setCols(3);
    g.setRows(4);
    g.setFixedRows(1);
    g.setFixedCols(1);
    g.setColDataType(1, Grid::DataType::Boolean);
    g.setCell(0, 1, "Sélection");
    g.setCell(0, 2, "Adresse");
    g.setCell(1, 2, "a@b.fr");
    g.setCheckState(1, 1, Grid::Checked);
    g.setCell(2, 2, "c@d.fr");
    g.setCheckState(2, 1, Grid::Unchecked);
    g.setCell(3, 2, "e@f.fr");
    ASSERT_TRUE(GridFile::save(g, path("t.txt"), GridFile::TabText));
    EXPECT_EQ(read("t.txt"), "TRUE\ta@b.fr\r\nFALSE\tc@d.fr\r\nFALSE\te@f.fr\r\n");

    // Read back into the same layout, with the truth values a spreadsheet or a user may write.
    write("t.txt",
          "TRUE\ta\r\nfalse\tb\r\nvrai\tc\r\n1\td\r\n-1\te\r\n2\tf\r\n\tg\r\nNon\th\r\npeut-être\ti\r\n");
    ASSERT_TRUE(GridFile::load(g, path("t.txt"), GridFile::TabText));
    const int expected[] = {Grid::Checked, Grid::Unchecked, Grid::Checked,   Grid::Checked,
                            Grid::Checked, Grid::Unchecked, Grid::Unchecked, Grid::Unchecked};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(g.checkState(1 + i, 1), expected[i]) << i;
        EXPECT_EQ(g.cell(1 + i, 1), "") << i;
    }
    EXPECT_EQ(g.cell(9, 1), "peut-être"); // no truth value: kept as typed
    EXPECT_EQ(g.cell(9, 2), "i");
}

TEST_F(GridFileTest, FailedTextLoadsLeaveTheGridAsItWas)
{
    const QByteArray bad[] = {QByteArray("\xC3\x28\tb\r\n"), QByteArray("a\0b\r\n", 5)};
    for (const QByteArray& b : bad) {
        write("bad.txt", b);
        Grid g;
        fillAwkward(g);
        const QByteArray before = GridFile::toComplete(g);
        EXPECT_FALSE(GridFile::load(g, path("bad.txt"), GridFile::TabText)) << b.toStdString();
        EXPECT_EQ(GridFile::toComplete(g), before);
    }
    Grid g;
    EXPECT_FALSE(GridFile::load(g, path("absent.txt"), GridFile::TabText));
}

TEST_F(GridFileTest, SeparatedTextUsesTheGridsSeparators)
{
    Grid g;
    g.setRows(0);
    g.setCols(3);
    g.setFixedRows(0);
    g.setFixedCols(0);
    g.addRow("Espèce\tNombre\tNote");
    g.addRow("Alouette\t12\tvu; entendu");
    g.setTextSeparators(";", "\r");
    ASSERT_TRUE(GridFile::save(g, path("e.csv"), GridFile::SeparatedText, true));
    EXPECT_EQ(read("e.csv"), QByteArray("Espèce;Nombre;Note\rAlouette;12;\"vu; entendu\"\r"));
    Grid back;
    back.setFixedRows(0);
    back.setFixedCols(0);
    back.setTextSeparators(";", "\r");
    ASSERT_TRUE(GridFile::load(back, path("e.csv"), GridFile::SeparatedText));
    EXPECT_EQ(back.rows(), 2);
    EXPECT_EQ(back.cell(1, 2), "vu; entendu");
    EXPECT_EQ(back.cell(0, 0), "Espèce");
}

// ---------------------------------------------------------------- saving

TEST_F(GridFileTest, SavesReplaceFilesWholeOrNotAtAll)
{
    Grid g;
    fillAwkward(g);
    write("keep.FLX2009", "ancien contenu");
    QDir(m_dir.path()).mkdir("dossier");
    for (int code : {0, 4, 5, 6}) {
        // A folder in the way: the save fails and says so.
        const platform::Result r = GridFile::save(g, path("dossier"), code, true);
        EXPECT_FALSE(r) << code;
        EXPECT_FALSE(r.error.isEmpty()) << code;
        EXPECT_FALSE(GridFile::save(g, path("absent/x"), code, true)) << code;
    }
    EXPECT_FALSE(GridFile::save(g, path("x"), 3));
    EXPECT_EQ(read("keep.FLX2009"), "ancien contenu");
    ASSERT_TRUE(GridFile::save(g, path("keep.FLX2009"), GridFile::Complete));
    EXPECT_TRUE(read("keep.FLX2009").startsWith("MIRELOT-GRILLE"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files).size(), 1) << "no temporary file is left behind";
}

TEST_F(GridFileTest, AFullDiskKeepsTheOldFileByteForByteAndSaysWhy)
{
    // A few KB in every code: small enough to wait in a write buffer until the file is closed.
    Grid g;
    fillReference(g, 40);
    for (int code : {0, 4, 5, 6}) {
        SCOPED_TRACE(code);
        write("keep.FLX2009", "ancien contenu");
        platform::Result r = platform::Result::success();
        {
            testing_support::FileSizeLimit limit(1024);
            r = GridFile::save(g, path("keep.FLX2009"), code, true);
        }
        EXPECT_FALSE(r);
        EXPECT_EQ(r.error, QStringLiteral("Le fichier « %1 » ne peut pas être écrit : le disque est plein.")
                               .arg(path("keep.FLX2009")));
        EXPECT_EQ(read("keep.FLX2009"), "ancien contenu");
        EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.FLX2009"});
    }
}

TEST_F(GridFileTest, ReadFailuresGiveTheirReasonInFrench)
{
    QDir(m_dir.path()).mkdir("dossier.DOV");
    Grid g;
    for (int code : {0, 4, 6}) {
        SCOPED_TRACE(code);
        const platform::Result r = GridFile::load(g, path("dossier.DOV"), code);
        EXPECT_EQ(r.error, QStringLiteral("Le fichier « %1 » ne peut pas être lu : c'est un dossier.")
                               .arg(path("dossier.DOV")));
        EXPECT_EQ(GridFile::load(g, path("absent.DOV"), code).error,
                  QStringLiteral("Le fichier « %1 » n'existe pas.").arg(path("absent.DOV")));
    }
}

// A workbook is put together in a temporary folder of the program's own (the start removes those
// a killed copy left).
TEST(SheetWriterFolder, OneOfTheProgramsTemporaryFoldersGoneWithTheWriter)
{
    auto writer = std::make_unique<SheetWriter>();
    const QFileInfo folder(QFileInfo(writer->path()).absolutePath());
    EXPECT_TRUE(folder.fileName().startsWith(platform::kTemporaryFolderPrefix));
    writer.reset();
    EXPECT_FALSE(QFileInfo::exists(folder.filePath()));
}
