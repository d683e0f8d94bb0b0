#include "grid/Grid.h"
#include "platform/DesktopMail.h"
#include "platform/Services.h"
#include "recordlist/ProspectionMail.h"
#include "recordlist/ProspectionTable.h"
#include "tests/recordlist/ProspectionSamples.h"
#include "tests/support/MailFakes.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace recordlist;
using prospection_samples::Visit;

namespace {

// The machine's mail programs, with what each of their runs received kept: the fake programs
// keep their last run only.
class KeptRuns : public platform::Mail
{
public:
    KeptRuns(platform::Mail& inner, QString sendmail, QString xdgEmail)
        : m_inner(inner), m_sendmail(std::move(sendmail)), m_xdgEmail(std::move(xdgEmail))
    {
    }
    bool signOn(platform::MailTransport needed, QString* why) override { return m_inner.signOn(needed, why); }
    void signOff() override { m_inner.signOff(); }
    bool isSignedOn() const override { return m_inner.isSignedOn(); }
    bool send(const platform::MailMessage& m, platform::MailTransport t, QString& errorText) override
    {
        for (const QString& fake : {m_sendmail, m_xdgEmail}) {
            QFile::remove(fake + ".input");
            QFile::remove(fake + ".args");
        }
        const bool ok = m_inner.send(m, t, errorText);
        if (const auto input = testing_support::fakeInput(m_sendmail))
            sendmailInputs << *input;
        if (const auto args = testing_support::fakeArguments(m_xdgEmail))
            composeArguments << *args;
        return ok;
    }

    QList<QByteArray> sendmailInputs;
    QList<QStringList> composeArguments;

private:
    platform::Mail& m_inner;
    QString m_sendmail;
    QString m_xdgEmail;
};

class ProspectionMailMachineTest : public ::testing::Test
{
protected:
    testing_support::TestEnvironment env;
    QString bin = env.path("programmes");
    QString sendmail = bin + "/sendmail";
    QString xdgEmail = bin + "/xdg-email";
    testing_support::ScopedEnv path{"PATH", bin.toUtf8()};
    testing_support::ScopedEnv command{"MIRELOT_SENDMAIL", (sendmail + " -t -oi").toUtf8()};
    platform::DesktopMail desktop;
    KeptRuns kept{desktop, sendmail, xdgEmail};
    grid::Grid table;

    static QString siteOf(const QString& place) { return "SHOC-26~Valence~" + place + "~DUPONT Jean"; }

    void SetUp() override
    {
        platform::services().mail = &kept;
        Visit v{"Valence", "Les Baumes", "DUPONT", "Jean", 2009, 1, "jean.dupont@exemple.example"};
        prospection_samples::save(env.dataFolder(), v);
        v.place = "Le Serre";
        v.email = "serre@exemple.example";
        v.winter = 2008;
        prospection_samples::save(env.dataFolder(), v);
        v.place = "Les Blaches";
        v.email = "";
        prospection_samples::save(env.dataFolder(), v);
        SummaryCache cache;
        fillProspectionGrid(readProspection(env.dataFolder(), cache), table);
        ASSERT_EQ(table.rows(), 4);
    }
    void TearDown() override { platform::services().mail = &env.mail(); }
};

} // namespace

TEST_F(ProspectionMailMachineTest, EachReminderReachesSendmailAsItsOwnMessage)
{
    ASSERT_TRUE(testing_support::writeFakeProgram(sendmail));
    const MailingOutcome o = sendReminders(table, ReminderKind::SeasonEnd);
    EXPECT_EQ(o.sent, 2);
    EXPECT_EQ(o.skipped.size(), 1);
    ASSERT_EQ(kept.sendmailInputs.size(), 2);
    const struct
    {
        QString to;
        ReminderText text;
        QString place;
    } expected[] = {
        {"serre@exemple.example", ReminderText::C, "Le Serre"},
        {"jean.dupont@exemple.example", ReminderText::A, "Les Baumes"},
    };
    for (int i = 0; i < 2; ++i) {
        const auto m = testing_support::readMessage(kept.sendmailInputs[i]);
        ASSERT_TRUE(m.has_value());
        const MailText text = reminderMail(expected[i].text, siteOf(expected[i].place), QDate(2010, 6, 15));
        EXPECT_EQ(m->to, QStringList{expected[i].to});
        EXPECT_EQ(m->subject, text.subject);
        EXPECT_EQ(m->body.trimmed(), text.body);
    }
}

TEST_F(ProspectionMailMachineTest, ASendmailThatRefusesCountsNoMailAndGivesItsReason)
{
    ASSERT_TRUE(testing_support::writeFakeProgram(sendmail, {75, "relais indisponible"}));
    const MailingOutcome o = sendReminders(table, ReminderKind::SeasonEnd);
    EXPECT_EQ(kept.sendmailInputs.size(), 2) << "both were handed over";
    EXPECT_EQ(o.sent, 0);
    ASSERT_EQ(o.failures.size(), 2);
    EXPECT_TRUE(o.failures[0].reason.contains("relais indisponible")) << o.failures[0].reason.toStdString();
    EXPECT_TRUE(o.message.startsWith("0 courriel de relance ont été envoyés."));
}

TEST_F(ProspectionMailMachineTest, TheCircularOpensInTheDesktopMailClient)
{
    ASSERT_TRUE(testing_support::writeFakeProgram(xdgEmail));
    for (int r = 1; r < table.rows(); ++r)
        table.setRowSelected(r, true);
    table.select(1, 1, table.rows() - 1, 3);
    const MailingOutcome o = sendCircular(table);
    EXPECT_EQ(o.sent, 1);
    ASSERT_EQ(kept.composeArguments.size(), 1);
    EXPECT_EQ(kept.composeArguments[0],
              QStringList({"--utf8", "--subject", "STOC-EPS : circulaire du 15/06/2010",
                           "serre@exemple.example", "jean.dupont@exemple.example"}));
    EXPECT_TRUE(kept.sendmailInputs.isEmpty());
}
