#include "common/ExportLog.h"
#include "common/Paths.h"
#include "grid/Grid.h"
#include "platform/Dialogs.h"
#include "record/RecordLayout.h"
#include "record/RecordStore.h"
#include "recordlist/RecordList.h"
#include "recordlist/RecordListing.h"
#include "tests/samples/ListSamples.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <functional>

using namespace recordlist;
using grid::Grid;
using list_samples::recordOf;
using list_samples::writeRecord;
using testing_support::readBytes;
using testing_support::writeBytes;

namespace {

const QString kA1 = QStringLiteral("SHOC-A~Passage N1.FLX2009");
const QString kA2 = QStringLiteral("shoc-a~Passage N2.flx2009"); // the same site, another spelling
const QString kB1 = QStringLiteral("SHOC-B~Passage N1.FLX2009");

class RecordListingTest : public ::testing::Test
{
protected:
    testing_support::TestEnvironment env;
    QString path(const QString& name) const { return QDir(env.dataFolder()).filePath(name); }
    void write(const QString& name, const QString& date, bool notValidated = false)
    {
        writeRecord(env.dataFolder(), name, recordOf(1, date, notValidated));
    }
    // The file names of the list's lines, top to bottom.
    static QStringList column(const Grid& g, int col)
    {
        QStringList out;
        for (int r = 1; r < g.rows(); ++r)
            out << g.cell(r, col);
        return out;
    }
};

} // namespace

TEST_F(RecordListingTest, OneLinePerRecordFileWithItsColumnsAndColour)
{
    write(kB1, "03/12/2009", true);
    write(kA1, "01/12/2009");
    write(kA2, "02/12/2009");
    write("SHOC@C~Passage N1.FLX2009", "04/12/2009"); // set aside
    write("SHOC-D-E~PASSAGE N1.@FLX", "04/12/2009");  // an older file set aside
    writeBytes(path("SHOC-broken~Passage N1.FLX2009"), "abîmé");
    const QDateTime modified(QDate(2010, 2, 3), QTime(4, 5, 6));
    list_samples::setModified(path(kB1), modified);

    const Listing l = readListing(env.dataFolder());
    ASSERT_EQ(l.rows.size(), 3);
    EXPECT_EQ(l.rows[0].summary.fileName, kA1);
    EXPECT_EQ(l.rows[1].summary.fileName, kA2);
    EXPECT_EQ(l.sites, QStringList({"SHOC-A", "SHOC-B"})) << "two spellings of one site give one entry";
    ASSERT_EQ(l.unreadable.size(), 1);
    EXPECT_EQ(l.unreadable[0].fileName, "SHOC-broken~Passage N1.FLX2009");
    EXPECT_TRUE(l.unreadable[0].reason.contains("SHOC-broken~Passage N1.FLX2009"));
    EXPECT_EQ(readBytes(path("SHOC-broken~Passage N1.FLX2009")), "abîmé");

    const ListRow& b = l.rows[2];
    EXPECT_EQ(b.cells(), QStringList({"", kB1, "SHOC-26~Valence~Les Baumes~DUPONT Jean~Hiver 2009-2010", "1",
                                      "03/12/2009", "DUPONT Jean", "Non Validé", "03/02/2010 04:05:06", "",
                                      record::RecordLayout::versionText()}));
    EXPECT_EQ(b.colour(), grid::gridRgb(255, 192, 192));
    EXPECT_EQ(l.rows[0].colour(), grid::gridRgb(192, 255, 192));
    EXPECT_EQ(l.find("SHOC-b~PASSAGE N1.flx2009"), &l.rows[2]);
    EXPECT_EQ(l.find("SHOC-Z~Passage N1.FLX2009"), nullptr);

    // The sites are a sorted set whatever the order of the files.
    SummaryCache cache;
    EXPECT_EQ(readListing(env.dataFolder(), {kA1, kB1, kA2}, cache).sites, QStringList({"SHOC-A", "SHOC-B"}));
    EXPECT_EQ(siteOfFileName("SHOC-26~Valence~X~Passage N12.FLX2009"), "SHOC-26~Valence~X");
    EXPECT_EQ(siteOfFileName("SHOC-26~Valence~X.FLX2009"), "");
}

TEST_F(RecordListingTest, EachRecordShowsItsNewestExportFromTheLog)
{
    write(kA1, "01/12/2009");
    write(kA2, "02/12/2009");
    write(kB1, "03/12/2009");
    writeBytes(path(common::kExportLogFile), QString("SHOC-a~PASSAGE N1.FLX2009\t05/03/2010 10:00:00\r\n"
                                                     "une ligne sans tabulation\r\n"
                                                     "SHOC-Z~Passage N1.FLX2009\t04/03/2010 10:00:00\r\n"
                                                     "SHOC-A~Passage N1.FLX2009\t01/03/2010 09:00:00\r\n"
                                                     "SHOC-B~Passage N1.FLX2009\t02/03/2010 08:00:00\r\n")
                                                 .toUtf8());
    Listing l = readListing(env.dataFolder());
    EXPECT_TRUE(l.exportLog.ok);
    EXPECT_EQ(l.rows[0].exported, "05/03/2010 10:00:00") << "the first line naming a file, whatever its case";
    EXPECT_EQ(l.rows[1].exported, "");
    EXPECT_EQ(l.rows[2].exported, "02/03/2010 08:00:00");

    writeBytes(path(common::kExportLogFile), "SHOC-A~Passage N1.FLX2009\t\xFF\r\n");
    l = readListing(env.dataFolder());
    EXPECT_FALSE(l.exportLog.ok);
    EXPECT_TRUE(l.exportLog.error.contains(path(common::kExportLogFile))) << l.exportLog.error.toStdString();
    EXPECT_EQ(l.rows.size(), 3);
    EXPECT_EQ(l.rows[0].exported, "");
}

TEST_F(RecordListingTest, TheListGridIsReadOnlyAndKeepsEachFileNameAsItemData)
{
    write(kA1, "01/12/2009");
    write(kB1, "03/12/2009", true);
    Grid g;
    g.setRows(7); // what a previous list left
    g.setCols(3);
    fillListGrid(readListing(env.dataFolder()), g, ListSort());

    EXPECT_EQ(g.rows(), 3);
    EXPECT_EQ(g.cols(), 10);
    EXPECT_EQ(g.fixedRows(), 1);
    EXPECT_EQ(g.fixedCols(), 1);
    EXPECT_EQ(g.formatString(),
              "|Nom du fichier|Nom du site|^N°\rPassage|Date\rPassage|Observateur|Statut|"
              "Date de la\rdernière modification|Date de la\rdernière exportation|Version Mirelot");
    EXPECT_EQ(g.editable(), Grid::Editable::None);
    for (int c = 0; c < 10; ++c)
        EXPECT_EQ(g.colDataType(c),
                  c == 4 || c == 7 || c == 8 ? Grid::DataType::Date : Grid::DataType::Default)
            << c;
    EXPECT_EQ(column(g, 1), QStringList({kA1, kB1}));
    EXPECT_EQ(g.backColour(1, 0), 0);
    EXPECT_EQ(g.backColour(1, 9), kValidatedColour);
    EXPECT_EQ(g.backColour(2, 1), kNotValidatedColour);
    EXPECT_EQ(g.row(), 1);
    EXPECT_EQ(g.col(), 1);

    // A cell changed under the list (pasted into) changes nothing of the files the rows stand for.
    g.setSelectionMode(Grid::SelectionMode::ListBox);
    g.setCell(2, 1, kA1);
    g.setRowSelected(2, true);
    EXPECT_EQ(selectedFileNames(g), QStringList({kB1}));
}

TEST_F(RecordListingTest, TheUsersSortIsKeptOverARefreshWithDatesSortedAsDates)
{
    // Dates whose order as texts is neither their order in time nor its reverse.
    const struct
    {
        QString name;
        QDateTime modified;
        QString visit;
    } files[] = {
        {"SHOC-A~Passage N1.FLX2009", {QDate(2009, 3, 5), QTime(8, 0)}, "20/01/2010"},
        {"SHOC-B~Passage N1.FLX2009", {QDate(2010, 12, 20), QTime(8, 0)}, "05/12/2009"},
        {"SHOC-C~Passage N1.FLX2009", {QDate(2008, 1, 10), QTime(8, 0)}, "01/02/2010"},
    };
    for (const auto& f : files) {
        writeRecord(env.dataFolder(), f.name, recordOf(1, f.visit));
        list_samples::setModified(path(f.name), f.modified);
    }
    const struct
    {
        const char* name;
        int column;
        int order; // as the grid reports a header sort
        QStringList sites;
    } cases[] = {
        {"never sorted: the listing's order", 0, 0, {"SHOC-A", "SHOC-B", "SHOC-C"}},
        {"modification, ascending", 7, 1, {"SHOC-C", "SHOC-A", "SHOC-B"}},
        {"modification, descending", 7, 2, {"SHOC-B", "SHOC-A", "SHOC-C"}},
        {"visit date, ascending", 4, 1, {"SHOC-B", "SHOC-A", "SHOC-C"}},
        {"visit date, descending", 4, 2, {"SHOC-C", "SHOC-A", "SHOC-B"}},
        {"file name, descending", 1, 2, {"SHOC-C", "SHOC-B", "SHOC-A"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ToldOnce told;
        RecordList list(told);
        Grid g;
        list.refresh(env.dataFolder(), g);
        if (c.column > 0) {
            // What the grid's header click does, then reports.
            g.sortRange({1, c.column, g.rows() - 1, c.column}, Grid::Sort(c.order));
            list.noteHeaderSort(c.column, c.order);
        }
        list.refresh(env.dataFolder(), g);
        QStringList sites;
        for (const QString& name : column(g, 1))
            sites << siteOfFileName(name);
        EXPECT_EQ(sites, c.sites);
        for (int r = 1; r < g.rows(); ++r)
            EXPECT_EQ(g.rowKey(r), g.cell(r, 1)) << "item data moves with its row";
    }
}

TEST_F(RecordListingTest, ARefreshConvertsOlderFilesFirstAndListsThem)
{
    write(kB1, "03/12/2009");
    writeRecord(env.dataFolder(), "SHOC-A-X~PASSAGE N1.FLX", recordOf(1, "01/12/2009"));
    ToldOnce told;
    RecordList list(told);
    Grid g;
    const Listing& l = list.refresh(env.dataFolder(), g);
    EXPECT_EQ(list.lastConversion().converted, QStringList({"SHOC-A-X~PASSAGE N1.FLX"}));
    EXPECT_EQ(column(g, 1), QStringList({"SHOC-A-X~PASSAGE N1.FLX2009", kB1}));
    EXPECT_EQ(l.sites, QStringList({"SHOC-A-X", "SHOC-B"}));
}

// The record files left out of the list and an export log that cannot be read are told, with
// their reasons, once in a run of the program: not at the next refresh, nor in the next window.
TEST_F(RecordListingTest, FilesLeftOutAndAnUnreadableLogAreToldOnce)
{
    write(kA1, "01/12/2009");
    writeBytes(path("SHOC-broken~Passage N1.FLX2009"), "abîmé");
    writeBytes(path(common::kExportLogFile), "SHOC-A~Passage N1.FLX2009\t\xFF\r\n");
    ToldOnce told;
    Grid g;
    env.dialogs().answer(platform::mb::OK);
    RecordList list(told);
    const Listing& l = list.refresh(env.dataFolder(), g);
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    const auto& box = env.dialogs().asked()[0];
    EXPECT_EQ(box.text, unlistedText({l.unreadable[0].reason}, l.exportLog.error));
    EXPECT_TRUE(box.text.contains(path("SHOC-broken~Passage N1.FLX2009"))) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains(path(common::kExportLogFile)));
    EXPECT_EQ(box.style, platform::mb::OKOnly | platform::mb::Exclamation);

    RecordList again(told);
    again.refresh(env.dataFolder(), g);
    again.refresh(env.dataFolder(), g);
    EXPECT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(column(g, 1), QStringList{kA1});
}

// A record file that is a symbolic link is left out of the list with its reason, and no record
// is opened through it.
TEST_F(RecordListingTest, ALinkIsLeftOutWithItsReasonAndNoRecordOpensThroughIt)
{
    write(kA1, "01/12/2009");
    writeRecord(env.home(), kB1, recordOf(1, "02/12/2009"));
    ASSERT_TRUE(QFile::link(QDir(env.home()).filePath(kB1), path(kB1)));
    const QString reason = common::checkPlainName(env.dataFolder(), kB1).error;
    ToldOnce told;
    RecordList list(told);
    Grid g;
    env.dialogs().answer(platform::mb::OK);
    EXPECT_EQ(list.refresh(env.dataFolder(), g).unreadable, QList<UnreadFile>({{kB1, reason}}));
    EXPECT_EQ(column(g, 1), QStringList{kA1});
    EXPECT_EQ(record::RecordStore(env.dataFolder()).open(kB1, {}).result.error, reason);
}

TEST_F(RecordListingTest, ARefreshReadsAgainOnlyWhatChangedAndShowsWhatAWholeReadingShows)
{
    write(kA1, "01/12/2009");
    write(kB1, "03/12/2009");
    const QDateTime earlier(QDate(2010, 1, 5), QTime(10, 0));
    list_samples::setModified(path(kA1), earlier);
    ToldOnce told;
    RecordList list(told);
    Grid g;
    list.refresh(env.dataFolder(), g);
    ASSERT_EQ(list.cache().reads(), 2);

    const struct
    {
        const char* change;
        std::function<void()> make;
        int reads; // files read by the refresh that follows
    } cases[] = {
        {"nothing", [] {}, 0},
        {"a cell of the list typed over on screen", [&] { g.setCell(1, DateColumn, "x"); }, 0},
        {"an export logged",
         [&] { writeBytes(path(common::kExportLogFile), (kB1 + "\t05/03/2010 10:00:00\r\n").toUtf8()); }, 0},
        {"a record written again at another time, same size",
         [&] {
             write(kA1, "02/12/2009");
             list_samples::setModified(path(kA1), earlier.addSecs(60));
         },
         1},
        {"a record added", [&] { write(kA2, "04/12/2009", true); }, 1},
        {"a record deleted", [&] { QFile::remove(path(kB1)); }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        c.make();
        const int before = list.cache().reads();
        const Listing& shown = list.refresh(env.dataFolder(), g);
        EXPECT_EQ(list.cache().reads() - before, c.reads);
        Grid whole;
        const Listing read = readListing(env.dataFolder());
        fillListGrid(read, whole, ListSort());
        EXPECT_EQ(shown.sites, read.sites);
        ASSERT_EQ(g.rows(), whole.rows());
        for (int r = 0; r < g.rows(); ++r)
            EXPECT_EQ(g.rangeText({r, 0, r, ListColumnCount - 1}),
                      whole.rangeText({r, 0, r, ListColumnCount - 1}));
    }
}
