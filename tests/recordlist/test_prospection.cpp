#include "grid/Grid.h"
#include "recordlist/ProspectionTable.h"
#include "tests/samples/ProspectionSamples.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace recordlist;
using prospection_samples::siteOf;
using prospection_samples::Visit;

namespace {

const QDate kToday(2010, 6, 15); // in the winter 2009-2010

RecordSummary summary(const QString& site, const QString& season, const QString& passage = "1")
{
    RecordSummary s;
    s.siteName = site + "~" + season;
    s.season = season;
    s.passage = passage;
    s.contact = passage;
    s.observer = "DUPONT Jean";
    return s;
}

} // namespace

// Each site is one row whatever the winters of its records, counted in the winter of each record.
TEST(ProspectionTableTest, OneRowPerSiteWithItsRecordFilesCountedByWinter)
{
    testing_support::TestEnvironment env;
    const QString folder = env.dataFolder();
    const QString old = "ancienne@exemple.example", phone = "06 12 34 56 78";
    const Visit visits[] = {
        {"Les Baumes", 2005}, // before the first winter of the table
        {"Les Baumes", 2008, 1, old},
        {"Les Baumes", 2008, 2, old},
        {"Les Baumes", 2009, 1, "jean.dupont@exemple.example"},
        {"Le Serre", 2007, 1, "", phone, "MARTIN"},
        {"Le Serre", 2010, 1, "", phone, "MARTIN"}, // after the current winter
        {"Les Blaches", 2009, 1, "observateur@exemple.example", "", "dupont"},
        {"Les Blaches", 2009, 2, "observateur@exemple.example", "", "dupont"},
    };
    for (const Visit& v : visits)
        prospection_samples::save(folder, v);
    testing_support::writeBytes(QDir(folder).filePath("SHOC-26~Abîmé~Passage N1.FLX2009"), "pas un relevé");

    SummaryCache cache;
    const ProspectionTable t = readProspection(folder, cache, kToday);
    const QList<ProspectionRow> expected = {
        {siteOf("Le Serre", "MARTIN"), "MARTIN Jean", phone, {0, 1, 0, 0}},
        {siteOf("Les Baumes"), "DUPONT Jean", "jean.dupont@exemple.example", {0, 0, 2, 1}},
        {siteOf("Les Blaches", "dupont"), "dupont Jean", "observateur@exemple.example", {0, 0, 0, 2}},
    };
    EXPECT_EQ(t.rows, expected);
    EXPECT_EQ(t.closingText(), "Il y a 3 sites prospectés par 2 observateurs");
    ASSERT_EQ(t.unreadable.size(), 1);
    EXPECT_TRUE(t.unreadableText().contains("SHOC-26~Abîmé~Passage N1.FLX2009"));

    grid::Grid g;
    fillProspectionGrid(t, g);
    EXPECT_EQ(g.formatString(), "|Site|Observateur|Courriel|^Hiver 2006-2007|^Hiver 2007-2008|^Hiver "
                                "2008-2009|^Hiver 2009-2010");
    EXPECT_EQ(g.rangeText({2, 0, 2, 7}),
              "\t" + siteOf("Les Baumes") + "\tDUPONT Jean\tjean.dupont@exemple.example\t\t\t2\t1");
    const grid::GridColour colours[] = {kNotYetCoveredColour, kNotYetCoveredColour, kSeveralRecordsColour,
                                        kOneRecordColour};
    for (int w = 0; w < 4; ++w)
        EXPECT_EQ(g.backColour(2, FirstWinterColumn + w), colours[w]) << w;
    EXPECT_EQ(g.backColour(1, 6), kMissedColour);
    EXPECT_EQ(prospectionToolTip(g, 7), "Bilan Hiver 2009-2010 : Nbr. sites prospectés=2");
    EXPECT_EQ(prospectionToolTip(g, 3), "");

    // Opened again with nothing changed: only the file that could not be read is read again.
    EXPECT_EQ(cache.reads(), 9);
    EXPECT_EQ(readProspection(folder, cache, kToday).rows, t.rows);
    EXPECT_EQ(cache.reads(), 10);
}

// The order of the listing plays no part; the latest record gives the row its site and address.
TEST(ProspectionTableTest, RecordsOfASiteMeetOnOneRowWhateverTheirOrder)
{
    const QString a = siteOf("A"), b = siteOf("B");
    const ProspectionTable t =
        buildProspection({summary(a, "Hiver 2009-2010", "1"), summary(b, "Hiver 2008-2009"),
                          summary(a, "Hiver 2008-2009", "2"), summary(b, "Hiver 2009-2010"),
                          summary(a.toUpper(), "hiver 2008-2009", "1")},
                         kToday);
    const QList<ProspectionRow> expected = {{a, "DUPONT Jean", "1", {0, 0, 2, 1}},
                                            {b, "DUPONT Jean", "1", {0, 0, 1, 1}}};
    EXPECT_EQ(t.rows, expected);
}

TEST(ProspectionTableTest, TheSiteIsTheSiteNameWithoutItsSeason)
{
    const QString s = siteOf("Les Baumes");
    const QString cases[][2] = {
        {s + "~Hiver 2009-2010", s},
        {s + "~hiver 2012-2013 ", s},
        {s + "_?????", s + "_?????"}, // a record saved without season
        {"SHOC-26~Valence~Hiver 2009-2010~DUPONT Jean", "SHOC-26~Valence~Hiver 2009-2010~DUPONT Jean"},
        {s + "~Hiver 2009-2011", s + "~Hiver 2009-2011"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(siteWithoutSeason(c[0]), c[1]);
}

// A winter runs from October to September: the last column is the winter today belongs to.
TEST(ProspectionTableTest, TheWinterColumnsRunFromTheWinter2006ToTheCurrentWinter)
{
    const std::pair<QDate, int> cases[] = {{QDate(2010, 6, 15), 2009}, {QDate(2010, 9, 30), 2009},
                                           {QDate(2010, 10, 1), 2010}, {QDate(2011, 1, 3), 2010},
                                           {QDate(2006, 10, 1), 2006}, {QDate(2006, 9, 30), 2005}};
    for (const auto& [today, last] : cases) {
        grid::Grid g;
        fillProspectionGrid(buildProspection({summary(siteOf("A"), "Hiver 2006-2007")}, today), g);
        EXPECT_EQ(g.cols(), FirstWinterColumn + last - 2005) << today.toString().toStdString();
        const QString title = QStringLiteral("Hiver %1-%2").arg(last).arg(last + 1);
        EXPECT_EQ(g.cell(0, g.cols() - 1), last >= 2006 ? title : "Courriel");
    }
}

TEST(ProspectionTableTest, EmptyWinterCellsAreMissedOnlyAfterACoveredWinter)
{
    const ProspectionRow row{"", "", "", {0, 0, 1, 0, 2, 3, 0}};
    const grid::GridColour expected[] = {kNotYetCoveredColour, kNotYetCoveredColour,  kOneRecordColour,
                                         kMissedColour,        kSeveralRecordsColour, kSeveralRecordsColour,
                                         kMissedColour};
    for (int w = 0; w < row.counts.size(); ++w)
        EXPECT_EQ(winterColour(row, w), expected[w]) << "winter " << w;
}

// Observers are told apart by their names, letter case and blanks aside.
TEST(ProspectionTableTest, TheClosingCountSaysSitesAndObserversInTheSingularOrPlural)
{
    QList<RecordSummary> records = {summary("A", "Hiver 2008-2009"), summary("B", "Hiver 2008-2009"),
                                    summary("C", "Hiver 2008-2009")};
    records[1].observer = " dupont  jean ";
    records[2].observer = "MARTIN Anne";
    EXPECT_EQ(buildProspection({}, kToday).closingText(), "Il y a 0 site prospecté par 0 observateur");
    EXPECT_EQ(buildProspection(records.mid(0, 1), kToday).closingText(),
              "Il y a 1 site prospecté par 1 observateur");
    EXPECT_EQ(buildProspection(records.mid(0, 2), kToday).closingText(),
              "Il y a 2 sites prospectés par 1 observateur");
    EXPECT_EQ(buildProspection(records, kToday).closingText(),
              "Il y a 3 sites prospectés par 2 observateurs");
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
    g.setSelectionMode(grid::Grid::SelectionMode::ListBox);
    g.select(1, 1, 1, 2);
    g.setRowSelected(1, true);
    g.setRowSelected(3, true);
    EXPECT_EQ(copyTextOfSelection(g), "a1\ta2\nc1\tc2\n");
}
