#include "common/Settings.h"
#include "mainwindow/StudyDepartmentsPrompt.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using mainwindow::StudyDepartmentsOutcome;

TEST(StudyDepartmentsNormalisation, Table)
{
    struct Row
    {
        const char* typed;
        const char* saved;
        const char* wrong;
    };
    const Row rows[] = {
        {"26; 7;38;26", "07;26;38", nullptr},
        {"%", "%", nullptr},
        {"26;%", "%;26", nullptr}, // "%" sorts before the digits
        {" % ;26", "%;26", nullptr},
        {"5", "05", nullptr},
        {"5 ", "05", nullptr},
        {" 7", "07", nullptr},
        {"5;5;05", "05", nullptr},
        {"07;;26;", "07;26", nullptr},
        {"99;01", "01;99", nullptr},
        // Corsica keeps its letters, in capitals, and sorts between 20 and 30
        {"2A", "2A", nullptr},
        {"2b;2A;20;30;2a", "20;2A;2B;30", nullptr},
        {"2B;2B", "2B", nullptr},
        // wrong items, named as typed; the first one stops the check
        {"260", nullptr, "260"},
        {"AB", nullptr, "AB"},
        {" 05", nullptr, " 05"},
        {"0", nullptr, "0"},
        {"00", nullptr, "00"},
        {"-1", nullptr, "-1"},
        {".5", nullptr, ".5"},
        {"+5", nullptr, "+5"},
        {"1e", nullptr, "1e"},
        {"2C", nullptr, "2C"},
        {"A2", nullptr, "A2"},
        {"2 ", "02", nullptr},
        {"07;x;abc", nullptr, "x"},
        {"07;2A5", nullptr, "2A5"},
        {"\u0663", nullptr, "\u0663"}, // a digit of another script is no department
        {"%%", nullptr, "%%"},
    };
    for (const Row& r : rows) {
        const auto result = mainwindow::normaliseDepartments(QString::fromUtf8(r.typed));
        if (r.saved) {
            EXPECT_TRUE(result.valid) << r.typed;
            EXPECT_EQ(result.list, QString::fromUtf8(r.saved)) << r.typed;
        } else {
            EXPECT_FALSE(result.valid) << r.typed;
            EXPECT_EQ(result.wrongItem, QString::fromUtf8(r.wrong)) << r.typed;
        }
    }
}

TEST(StudyDepartmentsNormalisation, BlankItemsOnlyGiveAnEmptyList)
{
    for (const char* typed : {";", " ", ";;", " ; "}) {
        const auto result = mainwindow::normaliseDepartments(QString::fromUtf8(typed));
        EXPECT_TRUE(result.valid) << typed;
        EXPECT_TRUE(result.list.isEmpty()) << typed;
    }
}

struct StudyDepartmentsTest : ::testing::Test
{
    testing_support::TestEnvironment env;
    QString stored()
    {
        return fun_Get_Setting_Str(common::kParametersSection, "Départements d'étude", "<absent>");
    }
};

TEST_F(StudyDepartmentsTest, ProposesTheStoredListAndSavesTheNormalOne)
{
    env.dialogs().answerText(QString("26; 7;38;26"));
    EXPECT_EQ(mainwindow::askStudyDepartments(), StudyDepartmentsOutcome::Saved);
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    const auto& box = env.dialogs().asked()[0];
    EXPECT_EQ(box.kind, testing_support::ScriptedDialogs::Kind::Input);
    EXPECT_EQ(box.title, "Sélection des départements d'étude");
    EXPECT_EQ(box.text,
              "Veuillez indiquer les codes des départements composant votre aire d'étude en les séparant "
              "par des point-virgules (;)\n\nNota : pour sélectionner tous les départements, tapez %");
    EXPECT_EQ(box.defaultText, "%"); // nothing stored yet
    EXPECT_EQ(stored(), "07;26;38");

    env.dialogs().clearAsked();
    env.dialogs().answerText(QString("2a"));
    mainwindow::askStudyDepartments();
    EXPECT_EQ(env.dialogs().asked()[0].defaultText, "07;26;38");
    EXPECT_EQ(stored(), "2A");
}

TEST_F(StudyDepartmentsTest, WrongItemIsNamedAndTheTypedAnswerProposedAgain)
{
    env.dialogs().answerText(QString("07;260"));
    env.dialogs().answer(platform::mb::OK);
    env.dialogs().answerText(QString("-1;26"));
    env.dialogs().answer(platform::mb::OK);
    env.dialogs().answerText(QString("07;26"));
    EXPECT_EQ(mainwindow::askStudyDepartments(), StudyDepartmentsOutcome::Saved);
    const auto& asked = env.dialogs().asked();
    ASSERT_EQ(asked.size(), 5);
    EXPECT_EQ(asked[1].text, "Le code département  N°260 semble erroné ; corrigez");
    EXPECT_EQ(asked[1].style, platform::mb::Exclamation);
    EXPECT_EQ(asked[1].title, "Mirelot");
    EXPECT_EQ(asked[2].defaultText, "07;260");
    EXPECT_EQ(asked[3].text, "Le code département  N°-1 semble erroné ; corrigez");
    EXPECT_EQ(asked[4].defaultText, "-1;26");
    EXPECT_EQ(stored(), "07;26");
}

TEST_F(StudyDepartmentsTest, CancelEmptyOrBlankAnswersLeaveTheListUnchanged)
{
    EXPECT_TRUE(sub_Reg_Write_HKLM(common::kParametersSection, "Départements d'étude", "07;26"));
    struct Row
    {
        std::optional<QString> answer;
        StudyDepartmentsOutcome result;
    };
    const Row rows[] = {{std::nullopt, StudyDepartmentsOutcome::Cancelled},
                        {QString(""), StudyDepartmentsOutcome::Cancelled},
                        {QString(" ; "), StudyDepartmentsOutcome::Empty}};
    for (const Row& r : rows) {
        env.dialogs().answerText(r.answer);
        EXPECT_EQ(mainwindow::askStudyDepartments(), r.result);
        EXPECT_EQ(stored(), "07;26");
    }
}

TEST_F(StudyDepartmentsTest, CancelAfterAWrongItemSavesNothing)
{
    env.dialogs().answerText(QString("AB"));
    env.dialogs().answer(platform::mb::OK);
    env.dialogs().answerText(std::nullopt);
    EXPECT_EQ(mainwindow::askStudyDepartments(), StudyDepartmentsOutcome::Cancelled);
    EXPECT_EQ(stored(), "<absent>");
}
