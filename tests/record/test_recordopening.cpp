#include "common/Globals.h"
#include "data/StarterTables.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "record/RecordFileLayout.h"
#include "record/RecordOpening.h"
#include "record/RecordStore.h"
#include "record/ReferenceData.h"
#include "record/Season.h"
#include "record/SiteName.h"
#include "record/SpeciesConfirmations.h"
#include "tests/record/ReferenceTables.h"
#include "tests/samples/RecordSamples.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace record;
using grid::Grid;
using grid::GridFile;
using testing_support::readBytes;
using testing_support::writeBytes;

namespace {

const QString kSite = QStringLiteral("SHOC-26~Valence~Les Baumes~DUPONT Jean~Hiver 2009-2010");

// A species table whose column 5 holds check boxes ("1" ticked, "2" not).
void writeSpeciesTable(const QString& path, const QString& tsv)
{
    Grid g;
    ASSERT_EQ(data::gridFromText(g, tsv, {5}), QString());
    ASSERT_TRUE(GridFile::save(g, path, GridFile::Complete, true).ok);
}

} // namespace

TEST(SiteFields, ReadBackFromACompleteSiteName)
{
    const struct
    {
        const char* name;
        std::optional<SiteFields> fields;
    } cases[] = {
        {"SHOC-26~Valence~Les Baumes~DUPONT Jean~Hiver 2009-2010",
         SiteFields{"26", "Valence", "Les Baumes", "DUPONT", "Jean", "Hiver 2009-2010"}},
        {"SHOC-2A~Ajaccio~Le Col~DE LA TOUR Marie Claire~Hiver 2010-2011",
         SiteFields{"2A", "Ajaccio", "Le Col", "DE LA TOUR", "Marie Claire", "Hiver 2010-2011"}},
        {"SHOC-07~Privas~Bois~MARTIN JEAN~Hiver 2009-2010",
         SiteFields{"07", "Privas", "Bois", "MARTIN", "JEAN", "Hiver 2009-2010"}},
        {"SHOC-07~Privas~~MARTIN Jean~Hiver 2009-2010", std::nullopt},
        {"SHOC-07~Privas~Bois~Martin~Hiver 2009-2010",
         SiteFields{"07", "Privas", "Bois", "Martin", "", "Hiver 2009-2010"}},
        {"?????~Les Baumes~DUPONT Jean~Hiver 2009-2010", std::nullopt},
        {"SHOC-26~Valence~Les Baumes~DUPONT_?????~Hiver 2009-2010", std::nullopt},
        {"SHOC-26~Valence~Les~Baumes~DUPONT Jean~Hiver 2009-2010", std::nullopt},
        {"STOC-26~Valence~Les Baumes~DUPONT Jean~Hiver 2009-2010", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(siteFieldsOf(QString::fromUtf8(c.name)), c.fields) << c.name;
}

class RecordOpeningTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        record_samples::writeSmallTables(env.programFolder());
        ASSERT_TRUE(refs.load(ReferencePaths::inFolder(env.programFolder())).ok);
    }

    // A record of the site written under its name, holding the passage and season given.
    QString writeRecord(int passage, const QString& season = QStringLiteral("Hiver 2009-2010"))
    {
        SurveyRecord r = record_samples::twoParcels();
        r.passage = passage;
        r.season = season;
        const QString name = RecordStore::fileName(kSite, passage);
        record_samples::writeRecord(QDir(env.dataFolder()).filePath(name), r);
        return name;
    }
    RecordOpening open(RecordMode mode, const QString& file = QString(), const QString& site = QString())
    {
        return openRecord(RecordRequest{mode, file, site}, store, refs, seasons, stored, today);
    }

    testing_support::TestEnvironment env;
    RecordStore store{env.dataFolder()};
    ReferenceData refs;
    const QDate today{2010, 6, 15};
    const QStringList seasons = sub_Load_Cbo_Saison(today);
    Grid stored;
};

TEST_F(RecordOpeningTest, NewSiteStartsTheDefaultRecord)
{
    const RecordOpening o = open(RecordMode::New);
    ASSERT_TRUE(o.result.ok);
    EXPECT_EQ(o.mode, RecordMode::New);
    EXPECT_EQ(o.caption, "SHOC : nouveau relevé dans un nouveau site");
    SurveyRecord expected;
    expected.parcels.resize(5);
    expected.network = "shoc / Suivi hivernal";
    expected.habitatType = "ch - Céréales";
    expected.season = "Hiver 2009-2010";
    EXPECT_EQ(o.reading.record, expected);
    EXPECT_TRUE(o.notices.isEmpty());
    EXPECT_EQ(stored.rows(), 9);
    EXPECT_EQ(stored.cols(), file::ColumnCount);
}

TEST_F(RecordOpeningTest, UpdateOpensTheFileOrNothing)
{
    const QString name = writeRecord(2);
    const RecordOpening o = open(RecordMode::Update, name);
    ASSERT_TRUE(o.result.ok) << o.result.error.toStdString();
    EXPECT_EQ(o.caption, "EPS : modification du relevé " + name);
    EXPECT_EQ(o.fileName, name);
    SurveyRecord expected = record_samples::twoParcels();
    EXPECT_EQ(o.reading.record, expected);
    EXPECT_EQ(stored.cell(5, 2), "DUPONT"); // the stored form as read, nothing emptied

    // A file that is missing, or whose parcels cannot be counted, opens nothing.
    EXPECT_FALSE(open(RecordMode::Update, "absent.FLX2009").result.ok);
    record_samples::writeRecord(QDir(env.dataFolder()).filePath("bad.FLX2009"), record_samples::twoParcels(),
                                [](Grid& bad) { bad.setCell(7, 2, "31"); });
    const RecordOpening refused = open(RecordMode::Update, "bad.FLX2009");
    EXPECT_FALSE(refused.result.ok);
    EXPECT_TRUE(refused.result.error.contains("bad.FLX2009")) << refused.result.error.toStdString();
    EXPECT_TRUE(refused.result.error.contains("« 31 »")) << refused.result.error.toStdString();
}

TEST_F(RecordOpeningTest, KnownSiteFromItsLatestFile)
{
    writeRecord(1);
    const QString latest = writeRecord(3);
    const RecordOpening o = open(RecordMode::NewPassage, QString(), kSite);
    ASSERT_TRUE(o.result.ok);
    EXPECT_EQ(o.mode, RecordMode::NewPassage);
    EXPECT_EQ(o.fileName, latest);
    EXPECT_EQ(o.caption, "SHOC : nouveau relevé dans le site " + kSite);
    EXPECT_EQ(o.reading.record.season, "Hiver 2009-2010");
    EXPECT_TRUE(o.reading.locationsRead);
    EXPECT_EQ(o.reading.passageEnabled, (std::array<bool, 5>{false, true, false, true, false}));
    // The stored form: rows 5 to 14, columns 3 to 16 emptied; the rest as read.
    EXPECT_EQ(stored.cell(5, 2), "DUPONT");
    EXPECT_EQ(stored.cell(5, 3), "");
    EXPECT_EQ(stored.cell(10, 7), "");
    EXPECT_EQ(stored.cell(10, 17), "Possible erreur de coordonnées");

    const RecordOpening next = open(RecordMode::NextWinter, QString(), kSite);
    EXPECT_EQ(next.reading.record.season, "Hiver 2010-2011");
    EXPECT_FALSE(next.reading.locationsRead);
}

// A known site without a readable file: a new record for that site, and the user is told why.
TEST_F(RecordOpeningTest, KnownSiteWithoutAFileOpensANewRecordForTheSite)
{
    for (RecordMode mode : {RecordMode::NewPassage, RecordMode::NextWinter}) {
        const RecordOpening o = open(mode, QString(), kSite);
        ASSERT_TRUE(o.result.ok);
        EXPECT_EQ(o.mode, RecordMode::New);
        EXPECT_EQ(o.caption, "SHOC : nouveau relevé dans le site " + kSite);
        ASSERT_EQ(o.notices.size(), 1);
        EXPECT_TRUE(o.notices[0].startsWith("Aucun relevé du site « " + kSite + " »"))
            << o.notices[0].toStdString();
        EXPECT_TRUE(o.notices[0].endsWith("Un nouveau relevé est ouvert pour ce site."));
        const SurveyRecord& r = o.reading.record;
        EXPECT_EQ(r.department, "26 - Drôme");
        EXPECT_EQ(r.commune, "Valence");
        EXPECT_EQ(r.placeName, "Les Baumes");
        EXPECT_EQ(r.observerName, "DUPONT");
        EXPECT_EQ(r.observerFirstName, "Jean");
        EXPECT_EQ(r.season, mode == RecordMode::NextWinter ? "Hiver 2010-2011" : "Hiver 2009-2010");
        EXPECT_EQ(r.network, "shoc / Suivi hivernal");
        EXPECT_EQ(r.parcels.size(), kNewRecordParcels);
        EXPECT_EQ(r.passage, 0);
    }

    // The latest file cannot be read: the same, naming the file.
    const QString name = RecordStore::fileName(kSite, 2);
    writeBytes(QDir(env.dataFolder()).filePath(name), "pas une grille");
    const RecordOpening o = open(RecordMode::NewPassage, QString(), kSite);
    EXPECT_EQ(o.mode, RecordMode::New);
    EXPECT_TRUE(o.notices.join("\n").contains(name)) << o.notices.join("\n").toStdString();
    EXPECT_EQ(o.reading.record.commune, "Valence");
    EXPECT_EQ(readBytes(QDir(env.dataFolder()).filePath(name)), "pas une grille");
}

// Only this window's confirmations reach the file, read again first; a table that cannot be
// read is left as it is.
TEST(SpeciesConfirmations, WrittenBackIntoTheFileAsItIsNow)
{
    testing_support::TestEnvironment env;
    const QString path = QDir(env.programFolder()).filePath("Espèces.DOV");
    writeSpeciesTable(path, "Classe\tEspèce\tNom\tScientifique\tSaisie\nO\tPICPIC\tPie\tPica\t2\n"
                            "O\tALAARV\tAlouette\tAlauda\t2\n");
    Grid table;
    ASSERT_TRUE(GridFile::load(table, path, GridFile::Complete));

    SpeciesConfirmations confirmations;
    const QByteArray before = readBytes(path);
    EXPECT_TRUE(confirmations.writeBack(path).ok);
    EXPECT_EQ(readBytes(path), before) << "nothing confirmed: nothing written";
    EXPECT_FALSE(confirmations.confirm(table, "ABSENT"));
    EXPECT_TRUE(confirmations.isEmpty());
    ASSERT_TRUE(confirmations.confirm(table, "ALAARV"));
    EXPECT_EQ(table.checkState(2, 5), Grid::Checked);

    // Meanwhile the settings window added a species and confirmed the magpie.
    writeSpeciesTable(path, "Classe\tEspèce\tNom\tScientifique\tSaisie\nO\tPICPIC\tPie\tPica\t1\n"
                            "O\tBUTBUT\tBuse\tButeo\t2\nO\tALAARV\tAlouette\tAlauda\t2\n");
    ASSERT_TRUE(confirmations.writeBack(path).ok);
    Grid written;
    ASSERT_TRUE(GridFile::load(written, path, GridFile::Complete));
    ASSERT_EQ(written.rows(), 4);
    EXPECT_EQ(written.cell(2, 2), "BUTBUT");
    EXPECT_EQ(written.checkState(1, 5), Grid::Checked);
    EXPECT_EQ(written.checkState(2, 5), Grid::Unchecked);
    EXPECT_EQ(written.checkState(3, 5), Grid::Checked);

    writeBytes(path, "illisible");
    const platform::Result unreadable = confirmations.writeBack(path);
    EXPECT_FALSE(unreadable.ok);
    EXPECT_TRUE(unreadable.error.contains("Espèces.DOV")) << unreadable.error.toStdString();
    EXPECT_EQ(readBytes(path), "illisible");
}
