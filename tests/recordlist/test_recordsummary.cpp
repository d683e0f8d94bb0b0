#include "grid/Grid.h"
#include "record/RecordFileLayout.h"
#include "record/RecordLayout.h"
#include "recordlist/RecordSummary.h"
#include "tests/samples/ListSamples.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace recordlist;
using list_samples::recordOf;
using list_samples::writeRecord;
using testing_support::readBytes;
using testing_support::writeBytes;

namespace {

class RecordSummaryTest : public ::testing::Test
{
protected:
    testing_support::TestEnvironment env;
    QString path(const QString& name) const { return QDir(env.dataFolder()).filePath(name); }
};

const QString kName =
    QStringLiteral("SHOC-26~Valence~Les Baumes~DUPONT Jean~Hiver 2009-2010~Passage N2.FLX2009");

} // namespace

TEST_F(RecordSummaryTest, TheListedCellsOfARecordWhateverItsNumberOfParcels)
{
    const struct
    {
        const char* name;
        int parcels;
        int passage;
        bool notValidated;
        QString passageShown;
        QString status;
    } cases[] = {
        {"one parcel, first passage", 1, 1, false, "1", ""},
        {"two parcels, not validated", 2, 2, true, "2", "Non Validé"},
        {"thirty parcels, fifth passage: the date row is row 40", 30, 5, false, "5", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeRecord(env.dataFolder(), kName, recordOf(c.passage, "12/01/2010", c.notValidated, c.parcels));
        const SummaryRead read = readRecordSummary(path(kName));
        ASSERT_TRUE(read.result.ok) << read.result.error.toStdString();
        const RecordSummary& s = read.summary;
        EXPECT_EQ(s.fileName, kName);
        EXPECT_EQ(s.siteName, "SHOC-26~Valence~Les Baumes~DUPONT Jean~Hiver 2009-2010");
        EXPECT_EQ(s.passage, c.passageShown);
        EXPECT_EQ(s.date, "12/01/2010");
        EXPECT_EQ(s.observer, "DUPONT Jean");
        EXPECT_EQ(s.contact, "jean.dupont@exemple.example");
        EXPECT_EQ(s.season, "Hiver 2009-2010");
        EXPECT_EQ(s.status, c.status);
        EXPECT_EQ(s.validated(), !c.notValidated);
        EXPECT_EQ(s.version, record::RecordLayout::versionText());
        EXPECT_EQ(s.modified, QFileInfo(path(kName)).lastModified());
    }
}

TEST_F(RecordSummaryTest, TheDateRowIsFoundWhereverItStandsAndItsAbsenceLeavesPassageAndDateEmpty)
{
    const QString visit = record::RecordLayout::kTitleVisit;
    const struct
    {
        const char* name;
        int parcels;
        std::function<void(grid::Grid&)> change;
        QString passage;
        QString date;
    } cases[] = {
        {"no date row", 2, [&](grid::Grid& g) { g.setCell(g.findRow(visit, 0, 1), 1, ""); }, "", ""},
        {"no date row in a record of 30 parcels (the whole file is searched)", 30,
         [&](grid::Grid& g) { g.setCell(g.findRow(visit, 0, 1), 1, ""); }, "", ""},
        {"date row below its place, beyond the first rows", 30,
         [&](grid::Grid& g) {
             for (int i = 0; i < 5; ++i)
                 g.addRow("", g.findRow(visit, 0, 1));
         },
         "3", "12/01/2010"},
        {"passage index that is no number", 2,
         [&](grid::Grid& g) { g.setCell(g.findRow(visit, 0, 1), 3, "x"); }, "1", "12/01/2010"},
        {"number of parcels that is no number", 2, [&](grid::Grid& g) { g.setCell(7, 2, "deux"); }, "3",
         "12/01/2010"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeRecord(env.dataFolder(), kName, recordOf(3, "12/01/2010", false, c.parcels), c.change);
        const SummaryRead read = readRecordSummary(path(kName));
        ASSERT_TRUE(read.result.ok) << read.result.error.toStdString();
        EXPECT_EQ(read.summary.passage, c.passage);
        EXPECT_EQ(read.summary.date, c.date);
        EXPECT_EQ(read.summary.observer, "DUPONT Jean") << "the rest is read all the same";
    }
}

TEST_F(RecordSummaryTest, TheAddressIsTheTelephoneWithoutEMailAndTheSeasonIsFoundWhereverItStands)
{
    enum Season { InPlace, OneRowDown, LastRow, None };
    const struct
    {
        const char* name;
        int parcels;
        QString email;
        Season season;
        QString contact;
        QString seasonRead;
    } cases[] = {
        {"telephone only", 2, " ", InPlace, "04 75 00 00 00", "Hiver 2009-2010"},
        {"season row moved down", 2, "a@exemple.example", OneRowDown, "a@exemple.example", "Hiver 2009-2010"},
        {"season row beyond the first rows", 30, "", LastRow, "04 75 00 00 00", "Hiver 2012-2013"},
        {"no season row", 30, "a@exemple.example", None, "a@exemple.example", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        record::SurveyRecord r = recordOf(1, "12/01/2010", false, c.parcels);
        r.email = c.email;
        writeRecord(env.dataFolder(), kName, r, [&](grid::Grid& g) {
            const int row = g.findRow(record::RecordLayout::kTitleSeason, 0, 1);
            if (c.season == OneRowDown)
                g.addRow("", row);
            if (c.season == LastRow)
                g.addRow("\t" + record::RecordLayout::kTitleSeason + "\tHiver 2012-2013");
            if (c.season == LastRow || c.season == None)
                g.setCell(row, 1, "");
        });
        const SummaryRead read = readRecordSummary(path(kName));
        ASSERT_TRUE(read.result.ok) << read.result.error.toStdString();
        EXPECT_EQ(read.summary.contact, c.contact);
        EXPECT_EQ(read.summary.season, c.seasonRead);
        EXPECT_EQ(read.summary.date, "12/01/2010") << "the rest is read all the same";
    }
}

TEST_F(RecordSummaryTest, AFileThatIsNoRecordIsRefusedNamingItAndLeftAsItIs)
{
    writeRecord(env.dataFolder(), "record", recordOf(1, "12/01/2010"));
    const QByteArray record = readBytes(path("record"));
    const struct
    {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"text", "Ceci n'est pas un relevé\n"},
        {"cut", record.left(record.indexOf("cellules\n") + 200)},
        {"not SHOC", QByteArray(record).replace("\tSHOC\t", "\tEPS\t")},
        {"not UTF-8", QByteArray(record).replace("Valence", "Val\xE9nce")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString p = path(QString("SHOC-x~Passage N1.FLX2009"));
        writeBytes(p, c.bytes);
        const SummaryRead read = readRecordSummary(p);
        EXPECT_FALSE(read.result.ok);
        EXPECT_TRUE(read.result.error.contains(p)) << read.result.error.toStdString();
        EXPECT_EQ(readBytes(p), c.bytes);
    }
    const SummaryRead missing = readRecordSummary(path("absent.FLX2009"));
    EXPECT_FALSE(missing.result.ok);
    EXPECT_TRUE(missing.result.error.contains("absent.FLX2009"));
}

// The list reads every file of the data folder: one larger than a record can be, or declaring more
// rows than a record has, is refused from its size and first lines, naming it.
TEST_F(RecordSummaryTest, FilesBeyondTheBoundsOfARecordAreRefusedBeforeTheyAreRead)
{
    const struct
    {
        long long bytes;
        QString why;
    } cases[] = {
        {record::file::kMaxFileBytes + 1, "il est trop grand pour un relevé"},
        {100'000, "il annonce 99"}, // rows of one byte, after the first ones
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        const QString p = path(kName);
        ASSERT_TRUE(hostile_files::padded(p, hostile_files::recordHead(), c.bytes));
        const SummaryRead read = readRecordSummary(p);
        EXPECT_TRUE(read.result.error.startsWith(
            QStringLiteral("Le fichier « %1 » ne peut pas être lu : %2").arg(p, c.why)))
            << read.result.error.toStdString();
    }
}

TEST_F(RecordSummaryTest, TheCacheReadsAFileAgainOnlyWhenItsSizeOrModificationTimeChanged)
{
    const QString a = "SHOC-A~Passage N1.FLX2009", b = "SHOC-B~Passage N1.FLX2009";
    writeRecord(env.dataFolder(), a, recordOf(1, "01/12/2009"));
    writeRecord(env.dataFolder(), b, recordOf(1, "02/12/2009"));
    const QDateTime when(QDate(2010, 1, 5), QTime(10, 0));
    list_samples::setModified(path(a), when);

    SummaryCache cache;
    EXPECT_EQ(cache.summary(path(a), a).summary.date, "01/12/2009");
    EXPECT_EQ(cache.summary(path(b), b).summary.date, "02/12/2009");
    EXPECT_EQ(cache.reads(), 2);
    cache.dropUnused();
    EXPECT_EQ(cache.summary(path(a), a).summary.date, "01/12/2009");
    EXPECT_EQ(cache.reads(), 2) << "unchanged: kept";

    // Same size, another modification time; then another size, same time.
    writeRecord(env.dataFolder(), a, recordOf(1, "03/12/2009"));
    EXPECT_EQ(cache.summary(path(a), a).summary.date, "03/12/2009");
    const QDateTime kept = QFileInfo(path(a)).lastModified();
    writeRecord(env.dataFolder(), a, recordOf(1, "03/12/2009", true));
    list_samples::setModified(path(a), kept);
    EXPECT_EQ(cache.summary(path(a), a).summary.status, "Non Validé");
    EXPECT_EQ(cache.reads(), 4);

    // b was not asked for since the last drop: forgotten. A file that cannot be read is not kept.
    cache.dropUnused();
    EXPECT_EQ(cache.size(), 1);
    writeBytes(path(a), "abîmé");
    EXPECT_FALSE(cache.summary(path(a), a).result.ok);
    EXPECT_EQ(cache.size(), 0);
}
