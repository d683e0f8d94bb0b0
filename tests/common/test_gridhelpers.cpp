#include "common/ExportLog.h"
#include "common/GridHelpers.h"
#include "common/KeyFilters.h"
#include "common/OptionMarks.h"
#include "common/Settings.h"
#include "grid/GridFile.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TwoCopies.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QSet>
#include <gtest/gtest.h>

#include <utility>

using grid::Grid;

using testing_support::readBytes;
using testing_support::writeBytes;

namespace {

void fill(Grid& g, const QStringList& rows, int fixedRows = 1, int fixedCols = 1)
{
    int cols = 0;
    for (const QString& r : rows)
        cols = std::max<int>(cols, int(r.split(u'\t').size()));
    g.setFixedRows(0);
    g.setFixedCols(0);
    g.setRows(0);
    g.setCols(cols);
    for (const QString& r : rows)
        g.addRow(r);
    g.setFixedRows(fixedRows);
    g.setFixedCols(fixedCols);
}

QStringList column(const Grid& g, int col)
{
    QStringList out;
    for (int r = 0; r < g.rows(); ++r)
        out << g.cell(r, col);
    return out;
}

} // namespace

// ---------------------------------------------------------------- numbering

TEST(RenumGrid, NumbersDataRowsSkippingPgAndLg)
{
    testing_support::TestEnvironment env;
    struct Row
    {
        const char* name;
        bool option;
        int fixedCols;
        QStringList before; // column 0, header first
        QStringList after;
    };
    const Row rows[] = {
        {"numbered", true, 1, {"H", "7", "PG", "", "LG", ""}, {"H", "1", "PG", "2", "LG", "3"}},
        {"not numbered: column 0 emptied, header included",
         false,
         1,
         {"H", "7", "PG", "x"},
         {"", "", "", ""}},
        {"no fixed column: left alone", true, 0, {"H", "7", "PG"}, {"H", "7", "PG"}},
        {"no fixed column, option off: left alone", false, 0, {"H", "7"}, {"H", "7"}},
        {"pg in lower case is numbered", true, 1, {"H", "pg", "LG"}, {"H", "1", "LG"}},
    };
    for (const Row& r : rows) {
        common::setOptionChecked("RenumGrid", r.option);
        Grid g;
        QStringList lines;
        for (const QString& c : r.before)
            lines << c + "\tdonnée";
        fill(g, lines, 1, r.fixedCols);
        sub_Renum_Grid(g);
        EXPECT_EQ(column(g, 0), r.after) << r.name;
        EXPECT_EQ(g.cell(1, 1), "donnée") << r.name;
    }
}

// ---------------------------------------------------------------- column sort

TEST(TriColonne, EmptyRowsStayAtTheBottom)
{
    struct Row
    {
        const char* name;
        QStringList rows;
        int first, last;
        common::SortOrder order;
        QStringList expected; // column 1, header first
    };
    const Row rows[] = {
        {"filled rows sorted, empty rows stay below",
         {"\tNom\tN", "\tbuse\t1", "\tAlouette\t2", "\tcaille\t3", "\t\t", "\t\t"},
         -1,
         -1,
         common::SortOrder::Ascending,
         {"Nom", "Alouette", "buse", "caille", "", ""}},
        {"descending",
         {"\tNom\tN", "\tbuse\t1", "\tAlouette\t2", "\tcaille\t3", "\t\t"},
         -1,
         -1,
         common::SortOrder::Descending,
         {"Nom", "caille", "buse", "Alouette", ""}},
        {"text in the first data row only: nothing sorted",
         {"\tNom\tN", "\tzz\t", "\t\t", "\t\t"},
         -1,
         -1,
         common::SortOrder::Ascending,
         {"Nom", "zz", "", ""}},
        {"an empty row between filled rows is sorted with them (blank first)",
         {"\tNom\tN", "\tbuse\t", "\t\t", "\tAlouette\t"},
         -1,
         -1,
         common::SortOrder::Ascending,
         {"Nom", "", "Alouette", "buse"}},
        {"a text outside the sorted columns still counts for the last row",
         {"\tNom\tN", "\tbuse\t", "\tAlouette\t", "\t\tx"},
         1,
         1,
         common::SortOrder::Ascending,
         {"Nom", "", "Alouette", "buse"}},
        {"sorted on the second column only",
         {"\tNom\tN", "\tbuse\t10", "\tAlouette\t9", "\tcaille\t"},
         2,
         2,
         common::SortOrder::Ascending,
         {"Nom", "caille", "Alouette", "buse"}},
    };
    for (const Row& r : rows) {
        Grid g;
        fill(g, r.rows);
        sub_Tri_Colonne(g, r.first, r.last, r.order);
        EXPECT_EQ(column(g, 1), r.expected) << r.name;
    }
}

TEST(TriColonne, CheckBoxColumnsDoNotMakeARowFilled)
{
    Grid g;
    fill(g, {"\tNom\tSaisie", "\tbuse\t", "\tAlouette\t", "\t\t"});
    g.setColDataType(2, Grid::DataType::Boolean);
    g.setCheckState(3, 2, Grid::Checked);
    g.setCell(3, 2, "x"); // a text in a check-box column is not looked at
    sub_Tri_Colonne(g);
    EXPECT_EQ(column(g, 1), (QStringList{"Nom", "Alouette", "buse", ""}));
    EXPECT_EQ(g.checkState(3, 2), Grid::Checked) << "the empty row stayed at the bottom";
}

TEST(TriColonne, ColumnSortSettings)
{
    Grid g;
    fill(g, {"\tA\tB", "\t1\tb", "\t1\ta", "\t2\tc"});
    g.setColSort(1, Grid::Sort::GenericDescending);
    g.setColSort(2, Grid::Sort::GenericAscending);
    sub_Tri_Colonne(g, -1, -1, common::SortOrder::ByColumn);
    EXPECT_EQ(column(g, 2), (QStringList{"B", "c", "a", "b"}));
}

// ---------------------------------------------------------------- key filters

TEST(KeyFilters, CharactersInRanges)
{
    struct Row
    {
        int key;
        QString allowed;
        int expected;
    };
    const Row rows[] = {
        {91, "", 91}, // "[" lies in 87-122
        {33, "", 0},  // "!"
        {32, "", 0},  // space
        {45, "", 45}, // "-"
        {44, "", 0},  // ","
        {'0', "", '0'}, {'Z', "", 'Z'},   {'z', "", 'z'},     {123, "", 0},    {8, "", 8},     {13, "", 13},
        {127, "", 127}, {159, "", 159},   {160, "", 0},       {191, "", 0},    {192, "", 192}, {255, "", 255},
        {256, "", 0},   {'A', "0123", 0}, {'3', "0123", '3'}, {' ', " ", ' '},
    };
    for (const Row& r : rows)
        EXPECT_EQ(fun_Car_Dans_Plages(r.key, r.allowed), r.expected)
            << r.key << " " << r.allowed.toStdString();
}

TEST(KeyFilters, CapitalsWithoutAccents)
{
    struct Row
    {
        QString text;
        QString expected;
    };
    const Row rows[] = {
        {"àäâéèêëïîôöûüùç", "AAAEEEEIIOOUUUC"},
        {"Élève", "ÉLEVE"}, // a capital accented letter keeps its accent
        {"Saint-Étienne", "SAINT-ÉTIENNE"},
        {"Noël à l'île", "NOEL A L'ILE"},
        {"Ñandú œuf", "ÑANDÚ ŒUF"}, // letters outside the list are only put in capitals
        {"", ""},
    };
    for (const Row& r : rows)
        EXPECT_EQ(fun_Majuscule_Sans_Accent(r.text), r.expected) << r.text.toStdString();
    EXPECT_EQ(fun_Majuscule_Sans_Accent(int('a')), int('A'));
    EXPECT_EQ(fun_Majuscule_Sans_Accent(int(u'é')), int(u'É')) << "a key keeps its accent";
    EXPECT_EQ(fun_Majuscule_Sans_Accent(int('5')), int('5'));
    EXPECT_EQ(fun_Majuscule_Sans_Accent(int(u'ß')), int(u'ß')) << "no one-letter capital";
}

TEST(KeyFilters, DigitsFilterDecisions)
{
    struct Row
    {
        const char* name;
        int key;
        QString allowed;
        bool cell;
        QString text;
        int expected;
        bool caretToStart;
    };
    const QChar comma(u',');
    const Row rows[] = {
        {"digit", '7', "", false, "", '7', false},
        {"letter refused", 'a', "", false, "", 0, false},
        {"allowed character", '/', "/", false, "12/", '/', false},
        {"allowed character, in a cell", ':', ":", true, "", ':', false},
        {"backspace", 8, "", false, "12", 8, false},
        {"control code 127", 127, "", false, "", 127, false},
        {"a point is no separator here", '.', "", false, "12", 0, false},
        {"first comma in a field", ',', "", false, "12", ',', false},
        {"second comma in a field refused", ',', "", false, "12,5", 0, false},
        {"comma in a cell always passes", ',', "", true, "12,5", ',', false},
        {"minus in a field goes in front", '-', "", false, "12", '-', true},
        {"minus when a minus is there", '-', "", false, "-12", 0, false},
        {"plus when a minus is there", '+', "", false, "-12", 0, false},
        {"minus when a plus is there", '-', "", false, "+12", 0, false},
        {"plus in an empty field", '+', "", false, "", '+', true},
        {"minus in a cell", '-', "", true, "-12", '-', false},
        {"space refused", ' ', "", false, "", 0, false},
    };
    for (const Row& r : rows) {
        const common::DigitsDecision f = common::filterDigitKey(r.key, r.allowed, comma, r.cell, r.text);
        EXPECT_EQ(f.key, r.expected) << r.name;
        EXPECT_EQ(f.caretToStart, r.caretToStart) << r.name;
    }
    EXPECT_EQ(common::digitsOnlyMessage(""), "Veuillez saisir uniquement des chiffres");
    EXPECT_EQ(common::digitsOnlyMessage("/"), "Veuillez saisir uniquement des chiffres et /");
}

TEST(KeyFilters, FirstItemBeginningWithAText)
{
    const QStringList items{"CH - Champ", "Chaume", "PR - Prairie", "ch"};
    struct Row
    {
        QString text;
        int expected;
    };
    const Row rows[] = {{"CH", 0}, {"cha", 1}, {"pr - p", 2}, {"PRAIRIE", -1}, {"", 0}, {"Chaumes", -1}};
    for (const Row& r : rows)
        EXPECT_EQ(common::findItemStartingWith(items, r.text), r.expected) << r.text.toStdString();
    EXPECT_EQ(common::findItemStartingWith({}, "x"), -1);
}

// A stored list text finds its item whatever the case of its letters and the blanks around it,
// never an item that merely begins with it.
TEST(KeyFilters, TheItemThatIsATextLetterCaseAside)
{
    const QStringList items{"shoc / Suivi hivernal", "ch - Céréales", "Val", "Valence "};
    struct Row
    {
        QString text;
        int expected;
    };
    const Row rows[] = {{"SHOC / SUIVI HIVERNAL", 0},
                        {"CH - Céréales", 1},
                        {"CH - CÉRÉALES", 1},
                        {" VALENCE", 3},
                        {"val", 2},
                        {"Vale", -1},
                        {"shoc", -1},
                        {"", -1},
                        {"  ", -1}};
    for (const Row& r : rows)
        EXPECT_EQ(common::findItemIgnoringCase(items, r.text), r.expected) << r.text.toStdString();
}

// ---------------------------------------------------------------- export log

class ExportLogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gstr_Dossier = env.dataFolder();
        env.clock().set(QDateTime(QDate(2009, 11, 5), QTime(10, 12, 30)));
    }
    QString logPath() const { return QDir(env.dataFolder()).filePath("LOG_EXPORT.TXT"); }
    testing_support::TestEnvironment env;
};

TEST_F(ExportLogTest, WriterPutsTheNewestLineFirst)
{
    ASSERT_TRUE(sub_Log_Export("SHOC-A~Passage N1.FLX2009"));
    env.clock().set(QDateTime(QDate(2010, 1, 12), QTime(8, 0, 5)));
    ASSERT_TRUE(sub_Log_Export("SHOC-B~Passage N2.FLX2009"));
    EXPECT_EQ(readBytes(logPath()), QByteArray("SHOC-B~Passage N2.FLX2009\t12/01/2010 08:00:05\r\n"
                                               "SHOC-A~Passage N1.FLX2009\t05/11/2009 10:12:30\r\n"));
    const auto lines = common::readExportLog(env.dataFolder());
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines.value.size(), 2);
    EXPECT_EQ(lines.value.at(0), (common::ExportLogLine{"SHOC-B~Passage N2.FLX2009", "12/01/2010 08:00:05"}));
    EXPECT_EQ(common::exportLogDate(lines.value.at(1).date), QDateTime(QDate(2009, 11, 5), QTime(10, 12, 30)))
        << "the reader reads the writer's dates";
}

TEST_F(ExportLogTest, WriterUsesTheDataFolderSettingAndAnyCaseOfTheName)
{
    const QString other = env.path("Autre");
    QDir().mkpath(other);
    EXPECT_TRUE(sub_Reg_Write_HKLM(common::kParametersSection, "Dossier", other));
    writeBytes(QDir(other).filePath("log_export.txt"), "ancien\t01/01/2009 00:00:00\r\n");
    ASSERT_TRUE(sub_Log_Export("X.xls"));
    EXPECT_EQ(readBytes(QDir(other).filePath("log_export.txt")),
              QByteArray("X.xls\t05/11/2009 10:12:30\r\nancien\t01/01/2009 00:00:00\r\n"));
    EXPECT_FALSE(QFile::exists(QDir(other).filePath("LOG_EXPORT.TXT")));
    EXPECT_FALSE(QFile::exists(logPath()));
}

TEST_F(ExportLogTest, WriterKeepsOldLinesByteForByte)
{
    // Lines of any form (no tab, another encoding) are copied unchanged.
    const QByteArray old = "sans tabulation\r\nR\xe9seau.xls\t01/02/2009 10:00:00\r\n";
    writeBytes(logPath(), old);
    ASSERT_TRUE(sub_Log_Export("N.xls"));
    EXPECT_EQ(readBytes(logPath()), "N.xls\t05/11/2009 10:12:30\r\n" + old);
}

TEST_F(ExportLogTest, AnUnreadableLogIsNeverReplaced)
{
    QDir().mkpath(logPath()); // a folder where the log should be: it exists and cannot be read
    const QString why =
        QStringLiteral("Le fichier « %1 » ne peut pas être lu : c'est un dossier.").arg(logPath());
    EXPECT_EQ(sub_Log_Export("N.xls").error, why);
    EXPECT_TRUE(QFileInfo(logPath()).isDir());
    EXPECT_EQ(common::readExportLog(env.dataFolder()).result.error, why);
    Grid work;
    EXPECT_EQ(sub_Load_Log_Export(env.dataFolder(), work).error, why);
    EXPECT_TRUE(QFileInfo(logPath()).isDir());
}

TEST_F(ExportLogTest, AFullDiskKeepsTheLogByteForByteAndSaysWhy)
{
    QByteArray old; // a few KB, more than the disk takes
    for (int i = 0; i < 100; ++i)
        old +=
            QStringLiteral("SHOC-%1.xls\t01/02/2009 10:00:00\r\n").arg(i, 3, 10, QLatin1Char('0')).toUtf8();
    Grid work;
    const struct
    {
        const char* name;
        std::function<platform::Result()> write;
    } writers[] = {
        {"a new line", [] { return sub_Log_Export("N.xls"); }},
        {"the start-up compaction", [&] { return sub_Load_Log_Export(env.dataFolder(), work); }},
    };
    for (const auto& w : writers) {
        SCOPED_TRACE(w.name);
        writeBytes(logPath(), old);
        platform::Result r = platform::Result::success();
        {
            testing_support::FileSizeLimit limit(1024);
            r = w.write();
        }
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(
            r.error,
            QStringLiteral("Le fichier « %1 » ne peut pas être écrit : le disque est plein.").arg(logPath()));
        EXPECT_EQ(readBytes(logPath()), old);
        EXPECT_EQ(QDir(env.dataFolder()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"LOG_EXPORT.TXT"});
    }
}

// Two copies of the program log 300 exports each at the same moment; then one copy compacts the
// log, as at its start, while the other logs 100 more: no line is lost.
TEST_F(ExportLogTest, TwoCopiesWritingAtOnceKeepEveryLine)
{
    const QString folder = env.dataFolder();
    const QStringList out =
        testing_support::runTwoCopies(MIRELOT_LOG_COPY, {folder, "A", "300"}, {folder, "B", "300"});
    EXPECT_EQ(out, QStringList({"", ""}));
    const auto lines = common::readExportLog(folder);
    ASSERT_TRUE(lines);
    QSet<QString> names;
    for (const common::ExportLogLine& line : lines.value)
        names.insert(line.fichier);
    EXPECT_EQ(lines.value.size(), 600);
    for (const QString prefix : {"A", "B"})
        for (int i = 0; i < 300; ++i)
            EXPECT_TRUE(names.contains(prefix + "-" + QString::number(i))) << prefix.toStdString() << i;

    const QStringList more =
        testing_support::runTwoCopies(MIRELOT_LOG_COPY, {folder, "C", "100"}, {folder, "compaction", "50"});
    EXPECT_EQ(more, QStringList({"", ""}));
    const auto after = common::readExportLog(folder);
    ASSERT_TRUE(after);
    EXPECT_EQ(after.value.size(), 700);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"LOG_EXPORT.TXT"})
        << "no lock left behind";
}

TEST_F(ExportLogTest, ReaderSkipsLinesWithoutTab)
{
    writeBytes(logPath(),
               "a.xls\t05/11/2009 10:00:00\r\nsans tab\r\n\r\nb.xls\t06/11/2009 10:00:00\textra\nc.xls\t");
    const auto lines = common::readExportLog(env.dataFolder());
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines.value,
              (QList<common::ExportLogLine>{
                  {"a.xls", "05/11/2009 10:00:00"}, {"b.xls", "06/11/2009 10:00:00"}, {"c.xls", ""}}));
    QFile::remove(logPath());
    const auto none = common::readExportLog(env.dataFolder());
    EXPECT_TRUE(none && none.value.isEmpty()) << "no log, no line";
    writeBytes(logPath(), "\xff\xfe\x00");
    EXPECT_EQ(common::readExportLog(env.dataFolder()).result.error,
              QStringLiteral("Le fichier « %1 » ne peut pas être lu : ce n'est pas un texte UTF-8.")
                  .arg(logPath()));
    EXPECT_FALSE(common::exportLogDate("05/11/2009").isValid());
    EXPECT_FALSE(common::exportLogDate("32/11/2009 10:00:00").isValid());
}

TEST_F(ExportLogTest, CompactionKeepsTheLatestLineOfEachFile)
{
    writeBytes(logPath(), "A.xls\t05/11/2009 10:00:00\r\n"
                          "B.xls\t01/12/2009 09:00:00\r\n"
                          "A.xls\t12/01/2010 08:00:00\r\n" // latest of A, though not first
                          "A.xls\t06/11/2009 10:00:00\r\n"
                          "a.xls\t01/01/2008 00:00:00\r\n"); // another name (case counts)
    Grid work;
    ASSERT_TRUE(sub_Load_Log_Export(env.dataFolder(), work));
    EXPECT_EQ(work.fixedRows(), 1);
    EXPECT_EQ(work.fixedCols(), 1);
    ASSERT_EQ(work.rows(), 4);
    EXPECT_EQ(work.findRow("B.xls", 1, 1), 1) << "sorted on the names, descending";
    const int a = work.findRow("A.xls", 1, 1);
    ASSERT_GT(a, 0);
    EXPECT_EQ(work.cell(a, 2), "12/01/2010 08:00:00");
    EXPECT_EQ(work.findRow("A.xls", a + 1, 1), -1);
    EXPECT_GT(work.findRow("a.xls", 1, 1), 0);
    const auto lines = common::readExportLog(env.dataFolder());
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines.value.size(), 3);
    EXPECT_TRUE(lines.value.contains(common::ExportLogLine{"A.xls", "12/01/2010 08:00:00"}));
    EXPECT_TRUE(readBytes(logPath()).endsWith("\r\n"));
}

// Both writers keep the log within its bound, read back whole: each file keeps its newest line,
// then the oldest lines go; an export's lines are all kept. The start takes back under the bound a
// log that an earlier release left over it.
TEST_F(ExportLogTest, BothWritersKeepTheLogWithinItsBound)
{
    // Files F00000, F00001... in 1 KB lines a day apart from 1990, then A twice (the newest
    // second) and B.
    const auto file = [](int i) {
        return QStringLiteral("F%1~").arg(i, 5, 10, QLatin1Char('0')) + QString(1000, u'x');
    };
    const auto old = [&](int files) {
        QByteArray log;
        for (int i = 0; i < files; ++i)
            log += (file(i) + QDate(1990, 1, 1).addDays(i).toString("\tdd/MM/yyyy 00:00:00\r\n")).toUtf8();
        return log +
               "A.xls\t05/11/2009 10:00:00\r\nA.xls\t12/01/2010 08:00:00\r\nB.xls\t01/01/2011 00:00:00\r\n";
    };
    QStringList exported;
    for (int i = 0; i < 200; ++i)
        exported << QStringLiteral("SHOC-26~Val~Site %1~Passage N1.FLX2009").arg(i);
    Grid work;
    const int atBound = int(common::kExportLogMaxBytes / 1029);
    for (const bool start : {false, true}) {
        const int files = start ? atBound + 100 : atBound - 2;
        writeBytes(logPath(), old(files));
        ASSERT_TRUE(start ? sub_Load_Log_Export(env.dataFolder(), work)
                          : common::logExports(env.dataFolder(), exported));
        EXPECT_LE(QFileInfo(logPath()).size(), common::kExportLogMaxBytes);
        const auto lines = common::readExportLog(env.dataFolder());
        ASSERT_TRUE(lines);
        QMap<QString, QString> dates;
        for (const common::ExportLogLine& line : lines.value)
            EXPECT_FALSE(std::exchange(dates[line.fichier], line.date).size()) << "one line a file";
        EXPECT_EQ(dates.value("A.xls"), "12/01/2010 08:00:00");
        const int first = files - int(dates.size() - (start ? 0 : exported.size()) - 2);
        EXPECT_GT(first, 0) << "the oldest files went, the newest stayed";
        EXPECT_FALSE(dates.contains(file(first - 1)));
        const QStringList kept =
            (start ? QStringList() : exported) + QStringList{"B.xls", file(first), file(files - 1)};
        for (const QString& name : kept)
            EXPECT_TRUE(dates.contains(name)) << name.left(40).toStdString();
    }
    EXPECT_EQ(work.rows() - 1, common::readExportLog(env.dataFolder()).value.size())
        << "the grid holds the log";
}

TEST_F(ExportLogTest, CompactionOfAMissingOrUnreadableLog)
{
    Grid work;
    work.setCols(3);
    work.setRows(5);
    work.setCell(3, 1, "ancien contenu");
    ASSERT_TRUE(sub_Load_Log_Export(env.dataFolder(), work));
    EXPECT_EQ(work.rows(), 1) << "an empty grid with its header row";
    EXPECT_TRUE(QFile::exists(logPath())) << "and an empty log";
    EXPECT_EQ(readBytes(logPath()), QByteArray());

    // A log that is no text: the read fails, the grid is empty, the file is kept as it was.
    const QByteArray binary("\x89PNG\r\n\x1a\n\xff\xff", 10);
    writeBytes(logPath(), binary);
    EXPECT_FALSE(sub_Load_Log_Export(env.dataFolder(), work));
    EXPECT_EQ(work.rows(), 1);
    EXPECT_EQ(readBytes(logPath()), binary);
}
