#include "grid/Grid.h"
#include "recordlist/ProspectionTable.h"
#include "tests/recordlist/ProspectionSamples.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace recordlist;
using prospection_samples::Visit;

namespace {

const QDate kToday(2010, 6, 15); // in the winter 2009-2010

RecordSummary summary(const QString& site, const QString& season, const QString& contact = QString(),
                      const QString& passage = "1")
{
    RecordSummary s;
    s.siteName = site + (season.isEmpty() ? QString() : "~" + season);
    s.season = season;
    s.contact = contact;
    s.passage = passage;
    s.observer = "DUPONT Jean";
    return s;
}

} // namespace

// Records of three sites over five winters, listed by name: each site is one row whatever the
// winters of its records, counted in the winter of each record.
TEST(ProspectionTableTest, OneRowPerSiteWithItsRecordFilesCountedByWinter)
{
    testing_support::TestEnvironment env;
    const QString folder = env.dataFolder();
    const Visit a{"Valence", "Les Baumes", "DUPONT", "Jean"};
    Visit a05 = a, a08a = a, a08b = a, a09 = a;
    a05.winter = 2005; // before the first winter of the table
    a08a.winter = a08b.winter = 2008;
    a08b.passage = 2;
    a08a.email = a08b.email = "ancienne.adresse@exemple.example";
    a09.email = "jean.dupont@exemple.example";
    Visit b07{"Privas", "Le Serre", "MARTIN", "Anne", 2007, 1, "", "06 12 34 56 78"};
    Visit b10 = b07;
    b10.winter = 2010; // after the current winter
    // The same observer as site A, typed in another case.
    Visit c09a{"Crest", "Les Blaches", "dupont", "Jean", 2009, 1};
    Visit c09b = c09a;
    c09b.passage = 2;
    for (const Visit& v : {a05, a08a, a08b, a09, b07, b10, c09a, c09b})
        prospection_samples::save(folder, v);
    testing_support::writeBytes(QDir(folder).filePath("SHOC-26~Abîmé~Passage N1.FLX2009"), "pas un relevé");

    SummaryCache cache;
    const ProspectionTable t = readProspection(folder, cache, kToday);

    ASSERT_EQ(t.winterCount(), 4);
    EXPECT_EQ(t.winterTitle(0), "Hiver 2006-2007");
    EXPECT_EQ(t.winterTitle(3), "Hiver 2009-2010");
    const QList<ProspectionRow> expected = {
        {"SHOC-26~Crest~Les Blaches~dupont Jean", "dupont Jean", "observateur@exemple.example", {0, 0, 0, 2}},
        {"SHOC-26~Privas~Le Serre~MARTIN Anne", "MARTIN Anne", "06 12 34 56 78", {0, 1, 0, 0}},
        {"SHOC-26~Valence~Les Baumes~DUPONT Jean",
         "DUPONT Jean",
         "jean.dupont@exemple.example",
         {0, 0, 2, 1}},
    };
    ASSERT_EQ(t.rows.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(t.rows[i].site, expected[i].site);
        EXPECT_EQ(t.rows[i].observer, expected[i].observer);
        EXPECT_EQ(t.rows[i].contact, expected[i].contact) << "the address of the site's latest record";
        EXPECT_EQ(t.rows[i].counts, expected[i].counts);
    }
    EXPECT_EQ(t.observers, 2);
    EXPECT_EQ(t.closingText(), "Il y a 3 sites prospectés par 2 observateurs");
    EXPECT_EQ(t.summaryText(2), "Bilan Hiver 2008-2009 : Nbr. sites prospectés=1");
    EXPECT_EQ(t.summaryText(3), "Bilan Hiver 2009-2010 : Nbr. sites prospectés=2");
    ASSERT_EQ(t.unreadable.size(), 1);
    EXPECT_TRUE(t.unreadableText().contains("SHOC-26~Abîmé~Passage N1.FLX2009"));
    EXPECT_EQ(cache.reads(), 9);

    grid::Grid g;
    fillProspectionGrid(t, g);
    ASSERT_EQ(g.rows(), 4);
    ASSERT_EQ(g.cols(), 8);
    EXPECT_EQ(g.formatString(), "|Site|Observateur|Courriel|^Hiver 2006-2007|^Hiver 2007-2008|^Hiver "
                                "2008-2009|^Hiver 2009-2010");
    EXPECT_EQ(g.rangeText({3, 0, 3, 7}),
              "\tSHOC-26~Valence~Les Baumes~DUPONT Jean\tDUPONT Jean\tjean.dupont@exemple.example\t\t\t2\t1");
    EXPECT_EQ(g.rowKey(2), "SHOC-26~Privas~Le Serre~MARTIN Anne");
    EXPECT_EQ(g.backColour(3, 4), kNotYetCoveredColour);
    EXPECT_EQ(g.backColour(3, 6), kSeveralRecordsColour);
    EXPECT_EQ(g.backColour(3, 7), kOneRecordColour);
    EXPECT_EQ(g.backColour(2, 6), kMissedColour);
    EXPECT_EQ(prospectionToolTip(g, 7), "Bilan Hiver 2009-2010 : Nbr. sites prospectés=2");
    EXPECT_EQ(prospectionToolTip(g, 3), "");
    EXPECT_EQ(g.editable(), grid::Grid::Editable::None);

    // Opened again with nothing changed: only the file that could not be read is read again.
    EXPECT_EQ(readProspection(folder, cache, kToday).rows, t.rows);
    EXPECT_EQ(cache.reads(), 10);
}

// The listing's order plays no part: records of a site met apart, in any order, make one row.
TEST(ProspectionTableTest, RecordsOfASiteMeetOnOneRowWhateverTheirOrder)
{
    const QString a = "SHOC-26~Valence~Les Baumes~DUPONT Jean", b = "SHOC-26~Crest~Les Blaches~DUPONT Jean";
    const QList<RecordSummary> records = {
        summary(a, "Hiver 2009-2010", "nouvelle@exemple.example", "1"),
        summary(b, "Hiver 2008-2009"),
        summary(a, "Hiver 2008-2009", "ancienne@exemple.example", "2"),
        summary(b, "Hiver 2009-2010"),
        summary(a.toUpper(), "hiver 2008-2009", "ancienne@exemple.example", "1"),
    };
    const ProspectionTable t = buildProspection(records, kToday);
    ASSERT_EQ(t.rows.size(), 2);
    EXPECT_EQ(t.rows[0].site, b);
    EXPECT_EQ(t.rows[0].counts, QList<int>({0, 0, 1, 1}));
    EXPECT_EQ(t.rows[1].site, a);
    EXPECT_EQ(t.rows[1].counts, QList<int>({0, 0, 2, 1}));
    EXPECT_EQ(t.rows[1].contact, "nouvelle@exemple.example");
    EXPECT_EQ(t.observers, 1);
}

TEST(ProspectionTableTest, TheSiteIsTheSiteNameWithoutItsSeason)
{
    const struct
    {
        QString siteName;
        QString site;
        int winter;
    } cases[] = {
        {"SHOC-26~Valence~Les Baumes~DUPONT Jean~Hiver 2009-2010", "SHOC-26~Valence~Les Baumes~DUPONT Jean",
         2009},
        {"SHOC-26~Valence~Les Baumes~DUPONT Jean~hiver 2012-2013 ", "SHOC-26~Valence~Les Baumes~DUPONT Jean",
         2012},
        {"SHOC-26~Valence~Les Baumes~DUPONT Jean_?????", "SHOC-26~Valence~Les Baumes~DUPONT Jean_?????", -1},
        {"SHOC-26~Valence~Hiver 2009-2010~DUPONT Jean", "SHOC-26~Valence~Hiver 2009-2010~DUPONT Jean", -1},
        {"SHOC-26~Valence~Les Baumes~Hiver 2009-2011", "SHOC-26~Valence~Les Baumes~Hiver 2009-2011", -1},
        {"Hiver 2009-2010", "Hiver 2009-2010", 2009},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.siteName.toStdString());
        EXPECT_EQ(siteWithoutSeason(c.siteName), c.site);
        EXPECT_EQ(winterOfSeason(c.siteName.section('~', -1)), c.winter);
    }
}

// A winter runs from October to September: the last column is the winter today belongs to.
TEST(ProspectionTableTest, TheWinterColumnsRunFromTheWinter2006ToTheCurrentWinter)
{
    const struct
    {
        QDate today;
        int columns;
        QString last;
    } cases[] = {
        {QDate(2010, 6, 15), 4, "Hiver 2009-2010"}, {QDate(2010, 9, 30), 4, "Hiver 2009-2010"},
        {QDate(2010, 10, 1), 5, "Hiver 2010-2011"}, {QDate(2011, 1, 3), 5, "Hiver 2010-2011"},
        {QDate(2006, 10, 1), 1, "Hiver 2006-2007"}, {QDate(2006, 9, 30), 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.today.toString().toStdString());
        const ProspectionTable t = buildProspection({summary("SHOC-26~A", "Hiver 2006-2007")}, c.today);
        EXPECT_EQ(t.winterCount(), c.columns);
        EXPECT_EQ(t.rows.value(0).counts.size(), c.columns);
        grid::Grid g;
        fillProspectionGrid(t, g);
        EXPECT_EQ(g.cols(), FirstWinterColumn + c.columns);
        EXPECT_EQ(g.cell(0, g.cols() - 1), c.columns ? c.last : "Courriel");
    }
}

TEST(ProspectionTableTest, WinterCellsAreColouredByCountAndByTheWintersBefore)
{
    ProspectionRow row;
    row.counts = {0, 0, 1, 0, 2, 3, 0};
    const grid::GridColour expected[] = {kNotYetCoveredColour, kNotYetCoveredColour,  kOneRecordColour,
                                         kMissedColour,        kSeveralRecordsColour, kSeveralRecordsColour,
                                         kMissedColour};
    for (int w = 0; w < row.counts.size(); ++w)
        EXPECT_EQ(winterColour(row, w), expected[w]) << "winter " << w;
    EXPECT_EQ(kNotYetCoveredColour, grid::gridRgb(255, 224, 192));
    EXPECT_EQ(kMissedColour, grid::gridRgb(255, 128, 128));
    EXPECT_EQ(kOneRecordColour, grid::gridRgb(255, 192, 128));
    EXPECT_EQ(kSeveralRecordsColour, grid::gridRgb(128, 255, 128));
}

TEST(ProspectionTableTest, TheClosingCountSaysSitesAndObserversInTheSingularOrPlural)
{
    const struct
    {
        QList<RecordSummary> records;
        QString text;
    } cases[] = {
        {{}, "Il y a 0 site prospecté par 0 observateur"},
        {{summary("SHOC-26~A", "Hiver 2008-2009")}, "Il y a 1 site prospecté par 1 observateur"},
        {{summary("SHOC-26~A", "Hiver 2008-2009"), summary("SHOC-26~B", "")},
         "Il y a 2 sites prospectés par 1 observateur"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(buildProspection(c.records, kToday).closingText(), c.text);
    // Observers are told apart by their names, letter case and blanks aside.
    QList<RecordSummary> three = {summary("SHOC-26~A", "Hiver 2008-2009"), summary("SHOC-26~B", ""),
                                  summary("SHOC-26~C", "")};
    three[1].observer = " dupont  jean ";
    three[2].observer = "MARTIN Anne";
    EXPECT_EQ(buildProspection(three, kToday).closingText(), "Il y a 3 sites prospectés par 2 observateurs");
}

// Each copied row ends with a line feed, the last one too.
TEST(ProspectionTableTest, TheCopyOfSelectedCellsEndsEachRowWithALineFeed)
{
    grid::Grid g;
    g.setFormatString("|Site|Observateur|Courriel|^Hiver 2009-2010");
    g.setRows(4);
    for (int r = 1; r < 4; ++r)
        for (int c = 1; c < 5; ++c)
            g.setCell(r, c, QStringLiteral("%1%2").arg(QChar('a' + r - 1)).arg(c));
    g.select(1, 2, 2, 4);
    EXPECT_EQ(copyTextOfSelection(g), "a2\ta3\ta4\nb2\tb3\tb4\n");
    g.select(3, 1);
    EXPECT_EQ(copyTextOfSelection(g), "c1\n");

    g.setSelectionMode(grid::Grid::SelectionMode::ListBox);
    g.select(1, 1, 1, 4);
    g.setRowSelected(1, true);
    g.setRowSelected(3, true);
    EXPECT_EQ(copyTextOfSelection(g), "a1\ta2\ta3\ta4\nc1\tc2\tc3\tc4\n");
}
