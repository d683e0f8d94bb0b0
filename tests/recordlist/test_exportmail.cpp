#include "platform/DesktopMail.h"
#include "platform/Services.h"
#include "recordlist/ExportRun.h"
#include "tests/samples/ExportSamples.h"
#include "tests/support/MailFakes.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

// The record files reach the system's sendmail attached whole, a ";" in a name included.
TEST(ExportMail, RecordFilesReachSendmailWhole)
{
    testing_support::TestEnvironment env;
    const QString sendmail = env.path("programmes/faux sendmail");
    ASSERT_TRUE(testing_support::writeFakeProgram(sendmail));
    const testing_support::ScopedEnv command("MIRELOT_SENDMAIL", ("\"" + sendmail + "\" -t -oi").toUtf8());
    platform::DesktopMail mail;
    platform::services().mail = &mail;

    record::SurveyRecord r = export_samples::oneParcel();
    const QString a = export_samples::writeRecord(env.dataFolder(), r);
    r.siteName = "SHOC-07~Privas~Puy;Haut~MARTIN Anne~Hiver 2009-2010";
    const QString b = export_samples::writeRecord(env.dataFolder(), r);
    recordlist::ExportRequest request;
    request.kind = recordlist::ExportKind::Mail;
    request.records = {a, b};
    request.recipients = {"correspondant@exemple.fr"};
    const recordlist::ExportOutcome o = recordlist::ExportRun(env.dataFolder()).run(request);
    platform::services().mail = &env.mail();

    EXPECT_EQ(o.mailsSent, 1);
    const auto message = testing_support::readMessage(testing_support::fakeInput(sendmail).value_or(""));
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->to, QStringList({"correspondant@exemple.fr"}));
    ASSERT_EQ(message->attachments.size(), 2);
    EXPECT_EQ(message->attachments[1].fileName, b);
    EXPECT_EQ(message->attachments[1].bytes, testing_support::readBytes(env.dataFolder() + "/" + b));
}
