#include "grid/Grid.h"
#include "platform/DesktopMail.h"
#include "platform/Services.h"
#include "recordlist/ProspectionMail.h"
#include "recordlist/ProspectionTable.h"
#include "tests/samples/ProspectionSamples.h"
#include "tests/support/MailFakes.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace recordlist;
using prospection_samples::siteOf;

namespace {

// The machine's mail programs, keeping what each of their runs received (a fake program keeps
// its last run only).
class KeptRuns : public platform::DesktopMail
{
public:
    KeptRuns(QString sendmail, QString xdgEmail) : m_fakes{std::move(sendmail), std::move(xdgEmail)} {}
    platform::Result send(const platform::MailMessage& m, platform::MailTransport t) override
    {
        for (const QString& fake : m_fakes)
            QFile::remove(fake + ".input");
        platform::Result ok = DesktopMail::send(m, t);
        if (const auto input = testing_support::fakeInput(m_fakes[0]))
            sendmailInputs << *input;
        if (const auto args = testing_support::fakeArguments(m_fakes[1]))
            composeArguments << *args;
        return ok;
    }

    QList<QByteArray> sendmailInputs;
    QList<QStringList> composeArguments;

private:
    QString m_fakes[2];
};

} // namespace

TEST(ProspectionMailMachine, EachReminderReachesSendmailAndTheCircularTheDesktopMailClient)
{
    testing_support::TestEnvironment env;
    const QString sendmail = env.path("programmes/sendmail"), xdgEmail = env.path("programmes/xdg-email");
    const testing_support::ScopedEnv path{"PATH", env.path("programmes").toUtf8()};
    const testing_support::ScopedEnv command{"MIRELOT_SENDMAIL", (sendmail + " -t -oi").toUtf8()};
    ASSERT_TRUE(testing_support::writeFakeProgram(sendmail));
    ASSERT_TRUE(testing_support::writeFakeProgram(xdgEmail));
    KeptRuns mail(sendmail, xdgEmail);
    platform::services().mail = &mail;

    prospection_samples::save(env.dataFolder(), {"Le Serre", 2008, 1, "serre@exemple.example"});
    prospection_samples::save(env.dataFolder(), {"Les Baumes", 2009, 1, "baumes@exemple.example"});
    prospection_samples::save(env.dataFolder(), {"Les Blaches", 2009, 1, ""});
    grid::Grid table;
    SummaryCache cache;
    fillProspectionGrid(readProspection(env.dataFolder(), cache), table);
    const MailingOutcome reminders = sendReminders(table, ReminderKind::SeasonEnd);
    table.select(1, 1, table.rows() - 1, 3);
    const MailingOutcome circular = sendCircular(table);
    platform::services().mail = &env.mail();

    EXPECT_EQ(reminders.sent, 2);
    EXPECT_EQ(reminders.skipped.size(), 1);
    ASSERT_EQ(mail.sendmailInputs.size(), 2);
    const std::pair<QString, ReminderText> expected[] = {{"Le Serre", ReminderText::C},
                                                         {"Les Baumes", ReminderText::A}};
    for (int i = 0; i < 2; ++i) {
        const auto m = testing_support::readMessage(mail.sendmailInputs[i]);
        ASSERT_TRUE(m.has_value());
        const auto& [place, text] = expected[i];
        const MailText wanted = reminderMail(text, siteOf(place), QDate(2010, 6, 15));
        EXPECT_EQ(m->to, QStringList{place.section(' ', -1).toLower() + "@exemple.example"});
        EXPECT_EQ(m->subject, wanted.subject);
        EXPECT_EQ(m->body.trimmed(), wanted.body);
    }
    EXPECT_EQ(circular.sent, 1);
    ASSERT_EQ(mail.composeArguments.size(), 1);
    EXPECT_EQ(mail.composeArguments[0],
              QStringList({"--utf8", "--subject", "STOC-EPS : circulaire du 15/06/2010",
                           "serre@exemple.example", "baumes@exemple.example"}));
}

// No mail client installed: xdg-email names every opener it tried (some forty lines) and gives up.
// The circular's box says so in one line.
TEST(ProspectionMailMachine, WithoutAMailClientTheCircularsBoxSaysSoInOneLine)
{
    testing_support::TestEnvironment env;
    const QString xdgEmail = env.path("programmes/xdg-email");
    const testing_support::ScopedEnv path{"PATH", env.path("programmes").toUtf8()};
    QString tried;
    for (int i = 0; i < 40; ++i)
        tried += QStringLiteral("/usr/bin/xdg-open: 882: lecteur%1: not found\n").arg(i);
    ASSERT_TRUE(testing_support::writeFakeProgram(
        xdgEmail, {3, tried + "xdg-email: no method available for opening 'mailto:serre@exemple.example'"}));
    platform::DesktopMail mail;
    platform::services().mail = &mail;

    prospection_samples::save(env.dataFolder(), {"Le Serre", 2008, 1, "serre@exemple.example"});
    grid::Grid table;
    SummaryCache cache;
    fillProspectionGrid(readProspection(env.dataFolder(), cache), table);
    table.select(1, 1, table.rows() - 1, 3);
    const MailingOutcome circular = sendCircular(table);
    platform::services().mail = &env.mail();

    EXPECT_EQ(circular.sent, 0);
    EXPECT_EQ(circular.message,
              "Le courriel à serre@exemple.example n'a pas été envoyé : Aucun logiciel de "
              "messagerie : le programme « xdg-email » n'en trouve aucun sur cet ordinateur.");
}
