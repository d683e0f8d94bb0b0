#include "platform/Dialogs.h"
#include "tests/support/ScriptedDialogs.h"

#include <gtest/gtest.h>

using namespace platform;
using testing_support::ScriptedDialogs;

TEST(MessageBoxStyles, DefaultAndEscapeAnswers)
{
    struct Row
    {
        int style;
        QList<int> answers;
        int def;
        int esc;
    };
    const Row rows[] = {
        {0, {mb::OK}, mb::OK, mb::OK},
        {48, {mb::OK}, mb::OK, mb::OK},
        {1, {mb::OK, mb::Cancel}, mb::OK, mb::Cancel},
        {36, {mb::Yes, mb::No}, mb::Yes, 0},
        {308, {mb::Yes, mb::No}, mb::No, 0},
        {291, {mb::Yes, mb::No, mb::Cancel}, mb::No, mb::Cancel},
        {3 + 512, {mb::Yes, mb::No, mb::Cancel}, mb::Cancel, mb::Cancel},
        {21, {mb::Retry, mb::Cancel}, mb::Retry, mb::Cancel},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(mb::answersOf(r.style), r.answers) << r.style;
        EXPECT_EQ(mb::defaultAnswer(r.style), r.def) << r.style;
        EXPECT_EQ(mb::escapeAnswer(r.style), r.esc) << r.style;
    }
}

TEST(ScriptedDialogs, AnswersInOrderAndReportsWhatIsUnexpected)
{
    ScriptedDialogs d;
    QStringList failures;
    d.setFailureHandler([&](const QString& why) { failures << why; });
    d.answer(mb::Yes);
    d.answerText(QString("Dupont"));
    EXPECT_EQ(d.ask("Continuer ?", 36, "Mirelot"), mb::Yes);
    EXPECT_EQ(d.inputBox("Nom ?", "Mirelot", ""), std::optional<QString>("Dupont"));
    EXPECT_TRUE(failures.isEmpty());
    // Nothing queued: reported, and the default button answers.
    EXPECT_EQ(d.ask("Encore ?", 308, "Mirelot"), mb::No);
    EXPECT_EQ(failures.size(), 1);
    // A button the box does not have.
    d.answer(mb::Cancel);
    d.ask("Oui ou non ?", 4, "Mirelot");
    EXPECT_EQ(failures.size(), 2);
    ASSERT_EQ(d.asked().size(), 4);
    EXPECT_EQ(d.asked()[0].style, 36);
    EXPECT_EQ(d.asked()[1].kind, ScriptedDialogs::Kind::Input);
}
