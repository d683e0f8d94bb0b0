#include "common/Dates.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

struct DatesTest : ::testing::Test
{
    testing_support::TestEnvironment env;
    void today(int y, int m, int d) { env.clock().setToday(QDate(y, m, d)); }
};

TEST_F(DatesTest, FormatDate)
{
    struct Row
    {
        int year;
        const char* typed;
        const char* expected;
    };
    const Row rows[] = {
        {2009, "050309", "05/03/2009"},
        {2009, "5/3/09", "05/03/2009"},
        {2099, "5/3/09", "05/03/2009"},
        {2009, "05/03/2009", "05/03/2009"},
        {2009, "5/3/2009", "05/03/2009"},
        {2010, "5/3/11", "05/03/1911"},
        {2010, "050311", "05/03/1911"},
        {2010, "5/3/10", "05/03/2010"},
        {2010, "5/3/99", "05/03/1999"},
        {2010, "05032010", "05/03/2010"},
        {2010, "31/02/2009", "31/02/2009"}, // no such day: left as typed
        {2010, "20131231", "31/12/2013"},   // read year first
        {2010, "20091231", "20/09/1231"},   // a valid day-first reading stays
        {2010, "5/3/209", "5/3/209"},       // three-digit year
        {2010, "5/3/20091", "5/3/20091"},
        {2010, "5/3", "5/3"},
        {2010, "   ", "   "},
        {2010, "", ""},
        {2010, "abc", "abc"},
        // Pieces that are not day, month and year digits: left as typed, not cut into pieces.
        {2010, "5.3.2009", "5.3.2009"},
        {2010, "5.3.09", "5.3.09"},
        {2010, "5a/3/2009", "5a/3/2009"},
        {2010, "5/3b/2009", "5/3b/2009"},
        {2010, "ab/cd/2009", "ab/cd/2009"},
        {2010, "31/2/2009", "31/02/2009"}, // digits in place: normalised, still no such day
        {2010, "100310", "10/03/2010"},
        {2010, "101231", "10/12/1931"}, // a valid day-first reading wins
        {2026, "5/3/26", "05/03/2026"},
        {2026, "5/3/27", "05/03/1927"},
    };
    for (const Row& r : rows) {
        today(r.year, 6, 1);
        QString date = QString::fromUtf8(r.typed);
        fun_Format_Date("JJ/MM/AAAA", date);
        EXPECT_EQ(date, QString::fromUtf8(r.expected)) << r.typed << " in " << r.year;
    }
    // Another separator.
    QString d = "5-3-2009";
    fun_Format_Date("JJ/MM/AAAA", d, "-");
    EXPECT_EQ(d, "05-03-2009");
}

TEST_F(DatesTest, DateConversionYearFirst)
{
    today(2010, 1, 1);
    EXPECT_EQ(fun_Date_Conversion("20131231", "/"), "31/12/2013");
    EXPECT_EQ(fun_Date_Conversion("131231", "/"), "31/12/1913");
    EXPECT_EQ(fun_Date_Conversion("091231", "-"), "31-12-2009");
    EXPECT_EQ(fun_Date_Conversion("2013", "/"), "");
    EXPECT_EQ(fun_Date_Conversion("  ", "/"), "");
}

TEST_F(DatesTest, TokenScanner)
{
    struct Row
    {
        const char* text;
        const char* seps;
        QStringList tokens;
    };
    const Row rows[] = {
        {"5/3/9", "/", {"5", "3", "9", "", ""}},
        {"5//3", "/", {"5", "", "3", ""}},
        {"/x", "/", {"", "x", ""}},
    };
    for (const Row& r : rows) {
        QStringList got;
        got << fun_Get_Token(r.text, r.seps);
        for (int i = 1; i < r.tokens.size(); ++i)
            got << fun_Get_Token("", r.seps);
        EXPECT_EQ(got, r.tokens) << r.text;
    }
}

TEST_F(DatesTest, VerifDate)
{
    today(2010, 6, 15);
    struct Row
    {
        const char* date;
        bool valid;
        const char* relation;
    };
    const Row rows[] = {
        {"15/06/2010", true, "="}, {"16/06/2010", true, ">"}, {"14/06/2010", true, "<"},
        {"01/01/2011", true, ">"}, {"31/12/1999", true, "<"}, {"2/3/2009", false, ""},
        {"31/02/2009", false, ""}, {"00/00/2009", false, ""}, {"15-06-2010", false, ""},
        {"", false, ""},           {"29/02/2008", true, "<"}, {"15/06/2010 ", false, ""},
        {"ab/cd/efgh", false, ""},
    };
    for (const Row& r : rows) {
        const common::DateCheck v = sub_Vérif_Date(r.date);
        EXPECT_EQ(v.valid, r.valid) << r.date;
        EXPECT_EQ(v.message, r.valid ? "Date correcte." : "Date invalide.") << r.date;
        EXPECT_EQ(v.relation, QString(r.relation)) << r.date;
    }
}

TEST_F(DatesTest, DateKey)
{
    EXPECT_EQ(fun_Date_Clé("00/00/2009"), "2009****");
    EXPECT_EQ(fun_Date_Clé("15/03/2009"), "20090315");
    EXPECT_EQ(fun_Date_Clé("00/03/2009"), "200903**");
    EXPECT_EQ(fun_Date_Clé("15/00/2009"), "2009**15");
    EXPECT_EQ(fun_Date_Clé(""), "");
    // Keys sort as dates.
    EXPECT_LT(fun_Date_Clé("31/12/2009"), fun_Date_Clé("01/01/2010"));
}

TEST_F(DatesTest, FormatHeure)
{
    struct Row
    {
        const char* typed;
        const char* expected;
    };
    const Row rows[] = {
        {"8h", "08:00"}, {"8H30", "08:30"}, {"8:5", "08:05"},  {"0830", "08:30"},  {"830", "08:30"},
        {"8", "00:08"},  {"14", "00:14"},   {"2530", "25:30"}, {"08:30", "08:30"}, {"   ", "   "},
        {"", ""},        {"abc", "ABC"},    {"08", "08"},      {"1:2:3", "01:02"}, {":30", ":30"},
    };
    for (const Row& r : rows) {
        QString t = r.typed;
        fun_Format_Heure(t);
        EXPECT_EQ(t, QString(r.expected)) << r.typed;
    }
}
