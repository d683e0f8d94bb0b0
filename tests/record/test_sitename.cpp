#include "common/Settings.h"
#include "record/Season.h"
#include "record/SiteName.h"
#include "record/StudyDepartments.h"
#include "tests/samples/RecordSamples.h"
#include "tests/support/TestEnvironment.h"

#include <functional>
#include <gtest/gtest.h>

using namespace record;

namespace {
const QString kFirst =
    QStringLiteral("\r\n\t- Onglet [Localisation et caractéristiques de la zone d'étude] : ");
const QString kVisit = QStringLiteral("- Onglet [Description du relevé] : ");
} // namespace

TEST(SiteName, NameMaskAndMissingItems)
{
    const struct
    {
        const char* what;
        std::function<void(SurveyRecord&)> change;
        QString name;
        int mask;
        QString missing;
    } cases[] = {
        {"all given", [](SurveyRecord&) {}, "SHOC-26~Valence~Les Baumes~DUPONT Jean~Hiver 2009-2010", 127,
         ""},
        {"nothing given", [](SurveyRecord& r) { r = SurveyRecord(); }, "?????_?????_?????_?????", 0,
         kFirst + "Commune, Lieu-dit, Nom observateur, Prénom observateur, Saison\r\n\t" + kVisit +
             "Date du relevé, N° de passage"},
        {"date missing", [](SurveyRecord& r) { r.date.clear(); },
         "SHOC-26~Valence~Les Baumes~DUPONT Jean~Hiver 2009-2010", 95, kVisit + "Date du relevé"},
        {"commune missing", [](SurveyRecord& r) { r.commune.clear(); },
         "?????~Les Baumes~DUPONT Jean~Hiver 2009-2010", 126, kFirst + "Commune"},
        {"place name missing", [](SurveyRecord& r) { r.placeName.clear(); },
         "?????~DUPONT Jean~Hiver 2009-2010", 125, kFirst + "Lieu-dit"},
        {"place name of blanks", [](SurveyRecord& r) { r.placeName = "   "; },
         "SHOC-26~Valence~~DUPONT Jean~Hiver 2009-2010", 127, ""},
        {"names trimmed, first name missing",
         [](SurveyRecord& r) {
             r.observerName = " DUPONT ";
             r.observerFirstName = "  ";
         },
         "SHOC-26~Valence~Les Baumes~DUPONT_?????~Hiver 2009-2010", 119, kFirst + "Prénom observateur"},
        {"name and season missing",
         [](SurveyRecord& r) {
             r.observerName.clear();
             r.season.clear();
         },
         "SHOC-26~Valence~Les Baumes_????? Jean_?????", 107, kFirst + "Nom observateur, Saison"},
        {"fifth passage", [](SurveyRecord& r) { r.passage = 5; },
         "SHOC-26~Valence~Les Baumes~DUPONT Jean~Hiver 2009-2010", 127, ""},
        {"no passage", [](SurveyRecord& r) { r.passage = 0; },
         "SHOC-26~Valence~Les Baumes~DUPONT Jean~Hiver 2009-2010", 63, kVisit + "N° de passage"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SurveyRecord r = record_samples::twoParcels();
        c.change(r);
        const SiteName s = sub_Build_Nom_Zone(r);
        EXPECT_EQ(s.text, c.name);
        EXPECT_EQ(s.mask, c.mask);
        EXPECT_EQ(s.complete(), c.mask == 127);
        EXPECT_EQ(s.missing, c.missing);
    }
}

// The status line: the sentence, then each page's missing items on a line of their own, also
// when only the visit's page lists something.
TEST(SiteName, StatusTextPutsEachPageOnItsOwnLine)
{
    const QString incomplete =
        "Un ou plusieurs éléments essentiels pour la sauvegarde de votre saisie ne sont pas renseignés : "
        "valorisez ces éléments pour pouvoir sauvegarder votre saisie.";
    const struct
    {
        const char* what;
        std::function<void(SurveyRecord&)> change;
        QString status;
    } cases[] = {
        {"all given", [](SurveyRecord&) {},
         "Toutes les conditions nécessaires pour effectués la sauvegarde de votre relevé sont remplies."},
        {"visit's page only", [](SurveyRecord& r) { r.passage = 0; },
         incomplete + "\n    " + kVisit + "N° de passage"},
        {"both pages",
         [](SurveyRecord& r) {
             r.commune.clear();
             r.date.clear();
         },
         incomplete + "\n    " + kFirst.mid(3) + "Commune\n    " + kVisit + "Date du relevé"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SurveyRecord r = record_samples::twoParcels();
        c.change(r);
        EXPECT_EQ(saveStatusText(sub_Build_Nom_Zone(r)), c.status);
    }
}

TEST(Season, CurrentWinterAndTheListOffered)
{
    const struct
    {
        QDate today;
        QString located;
        QString last;
    } cases[] = {
        {QDate(2010, 9, 30), "Hiver 2009-2010", "Hiver 2020-2021"},
        {QDate(2010, 10, 1), "Hiver 2010-2011", "Hiver 2020-2021"},
        {QDate(2021, 1, 15), "Hiver 2020-2021", "Hiver 2020-2021"},
        {QDate(2021, 10, 1), "Hiver 2021-2022", "Hiver 2021-2022"},
        {QDate(2025, 3, 2), "Hiver 2024-2025", "Hiver 2024-2025"},
        {QDate(2003, 12, 1), "", "Hiver 2020-2021"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.today.toString(Qt::ISODate).toStdString());
        const QStringList seasons = sub_Load_Cbo_Saison(c.today);
        EXPECT_EQ(seasons.first(), "Hiver 2004-2005");
        EXPECT_EQ(seasons.last(), c.last);
        EXPECT_EQ(sub_Locate_Saison("", seasons, c.today), c.located);
        EXPECT_EQ(sub_Locate_Saison("Hiver 2005-2006", seasons, c.today), "Hiver 2005-2006");
    }
    EXPECT_EQ(sub_Load_Cbo_Saison(QDate(2010, 1, 1)).size(), 17);

    // Without a date given, "today" is the platform clock's.
    testing_support::TestEnvironment env;
    env.clock().setToday(QDate(2030, 11, 5));
    EXPECT_EQ(sub_Load_Cbo_Saison().last(), "Hiver 2030-2031");
    EXPECT_EQ(sub_Locate_Saison("", sub_Load_Cbo_Saison()), "Hiver 2030-2031");
}

TEST(StudyDepartments, CodeAddedOnlyWhenItChangesTheSetting)
{
    const struct
    {
        QString setting;
        QString department;
        QString result;
    } cases[] = {
        {"07", "26 - Drôme", "07;26"},
        {"%", "26 - Drôme", "%"},
        {"07;26", "26 - Drôme", "07;26"},
        {"26", "26 - Drôme", "26"},
        {"", "26 - Drôme", "26"},
        {"07;126", "12 - Aveyron", "07;126;12"},
        {"07", "", "07"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(studyDepartmentsWith(c.setting, c.department), c.result) << c.setting.toStdString();

    testing_support::TestEnvironment env;
    ASSERT_TRUE(sub_Reg_Write_HKLM(common::kParametersSection, kStudyDepartmentsSetting, "07"));
    EXPECT_TRUE(addStudyDepartment("26 - Drôme").ok);
    EXPECT_TRUE(addStudyDepartment("26 - Drôme").ok);
    EXPECT_EQ(fun_Get_Setting_Str(common::kParametersSection, kStudyDepartmentsSetting, "%"), "07;26");
}
