#include "common/EMail.h"
#include "common/Globals.h"
#include "mainwindow/ProgramWaitWindow.h"
#include "mainwindow/frm_Wait.h"
#include "platform/DesktopMail.h"
#include "platform/MousePointer.h"
#include "platform/OverrideCursorPointer.h"
#include "tests/support/MailFakes.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>

using platform::MailTransport;

namespace {

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

} // namespace

TEST(EMailComposing, RecipientsLoseTheirBlanksAndEmptyParts)
{
    struct Row
    {
        const char* text;
        QStringList recipients;
    };
    const Row rows[] = {
        {"a@exemple.fr ; b@exemple.fr", {"a@exemple.fr", "b@exemple.fr"}},
        {"a@exemple.fr", {"a@exemple.fr"}},
        {"  a@exemple.fr  ", {"a@exemple.fr"}},
        {"a @ exemple . fr", {"a@exemple.fr"}},
        {"", {}},
        {"   ", {}},
        {"a@exemple.fr;", {"a@exemple.fr"}}, // a trailing ";" adds no empty recipient
        {";a@exemple.fr;;b@exemple.fr; ;", {"a@exemple.fr", "b@exemple.fr"}},
        {";", {}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(common::email::recipientList(r.text), r.recipients) << r.text;
}

TEST(EMailComposing, AttachmentsKeepTheirBlanks)
{
    struct Row
    {
        const char* text;
        QStringList paths;
    };
    const Row rows[] = {
        {"", {}},
        {"/home/jean/Mirelot/Relevé 1.FLX2009", {"/home/jean/Mirelot/Relevé 1.FLX2009"}},
        {"/d/a b.FLX2009;/d/c.FLX2009", {"/d/a b.FLX2009", "/d/c.FLX2009"}},
        {"/d/a.FLX2009; /d/b.FLX2009", {"/d/a.FLX2009", " /d/b.FLX2009"}},
        {"/d/a.FLX2009;", {"/d/a.FLX2009"}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(common::email::attachmentList(QString::fromUtf8(r.text)), r.paths) << r.text;
}

TEST(EMailComposing, AttachmentsStandOnBlanksAfterTheNoteText)
{
    struct Row
    {
        const char* note;
        const char* attachments;
        const char* noteText;
        QList<platform::MailAttachment> placed;
    };
    const Row rows[] = {
        {"Fichier(s) EPS",
         "/d/a.FLX2009;/d/b c.FLX2009",
         "Fichier(s) EPS  ",
         {{"/d/a.FLX2009", 14}, {"/d/b c.FLX2009", 15}}},
        {"Fichier(s) EPS", "", "Fichier(s) EPS", {}},
        {"", "/d/a.FLX2009", " ", {{"/d/a.FLX2009", 0}}},
        {"Été", "/d/a;/d/b;/d/c", "Été   ", {{"/d/a", 3}, {"/d/b", 4}, {"/d/c", 5}}},
    };
    for (const Row& r : rows) {
        const platform::MailMessage m = common::email::composeMessage(
            " x@exemple.fr ", "Sujet", QString::fromUtf8(r.note), QString::fromUtf8(r.attachments));
        EXPECT_EQ(m.noteText, QString::fromUtf8(r.noteText)) << r.note;
        EXPECT_EQ(m.attachments, r.placed) << r.note;
        EXPECT_EQ(m.recipients, QStringList({"x@exemple.fr"}));
        EXPECT_EQ(m.subject, "Sujet");
        EXPECT_EQ(m.bodyText(), QString::fromUtf8(r.note));
    }
}

class EMailService : public ::testing::Test
{
protected:
    testing_support::TestEnvironment env;
    testing_support::RecordingMail& mail = env.mail();
    QString eps1 = writeFile(env.path("Données/Relevé Ferme.FLX2009"), "1");
    QString eps2 = writeFile(env.path("Données/SHOC-01-002.FLX2009"), "2");
};

TEST_F(EMailService, OpenSaysWhichMailProgramIsMissing)
{
    const char* noSendmail = "Aucun service d'envoi du courrier : la commande « sendmail » est introuvable.";
    const char* noClient = "Aucun logiciel de messagerie : le programme « xdg-email » est introuvable.";
    struct Row
    {
        bool hasCompose;
        bool hasSend;
        bool showDialog;
        const char* failure; // empty: opened
    };
    const Row rows[] = {
        {true, true, false, ""}, {false, true, false, ""},      {true, false, false, noSendmail},
        {true, false, true, ""}, {false, true, true, noClient}, {false, false, false, noSendmail},
    };
    for (const Row& r : rows) {
        mail.hasComposeWindow = r.hasCompose;
        mail.hasSendAtOnce = r.hasSend;
        const platform::Result opened = sub_Envoi_EMail_Open(r.showDialog);
        const bool failed = *r.failure != '\0';
        EXPECT_EQ(opened.ok, !failed) << r.hasCompose << r.hasSend << r.showDialog;
        EXPECT_EQ(opened.error, QString::fromUtf8(r.failure));
        EXPECT_EQ(mail.isSignedOn(), !failed);
        sub_Envoi_EMail_Close();
        EXPECT_FALSE(mail.isSignedOn());
    }
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
}

TEST_F(EMailService, OneMessageInItsOwnSessionOrInTheCallersSession)
{
    // The record list's mailing: its own session, messages sent at once.
    ASSERT_TRUE(sub_Envoi_EMail_Open().ok);
    bool failed = false;
    QString errorText;
    const QString files = eps1 + ";" + eps2;
    sub_Envoi_EMail(true, "correspondant@exemple.fr", "Mirelot : Fichier EPS", "Fichier(s) EPS", files, false,
                    failed, errorText, false);
    sub_Envoi_EMail(true, "autre@exemple.fr", "Mirelot : Fichier EPS", "Fichier(s) EPS", files, false, failed,
                    errorText, false);
    EXPECT_FALSE(failed) << errorText.toStdString();
    EXPECT_TRUE(mail.isSignedOn()); // the caller closes its session
    sub_Envoi_EMail_Close();
    EXPECT_EQ(mail.signOns, 1);
    EXPECT_EQ(mail.signOffs, 1);
    ASSERT_EQ(mail.sent.size(), 2);
    EXPECT_EQ(mail.sent[0].transport, MailTransport::SendAtOnce);
    EXPECT_EQ(mail.sent[0].message.recipients, QStringList({"correspondant@exemple.fr"}));
    EXPECT_EQ(mail.sent[0].message.noteText, "Fichier(s) EPS  ");
    EXPECT_EQ(mail.sent[0].message.attachments, QList<platform::MailAttachment>({{eps1, 14}, {eps2, 15}}));

    // The about box's contact label: a session of its own, the compose window.
    mail.sent.clear();
    sub_Envoi_EMail(false, "contact@exemple.fr", "", "", "", true, failed, errorText, false);
    EXPECT_FALSE(failed);
    EXPECT_FALSE(mail.isSignedOn());
    EXPECT_EQ(mail.signOns, 2);
    EXPECT_EQ(mail.signOffs, 2);
    ASSERT_EQ(mail.sent.size(), 1);
    EXPECT_EQ(mail.sent[0].transport, MailTransport::ComposeWindow);
    EXPECT_EQ(mail.sent[0].message.recipients, QStringList({"contact@exemple.fr"}));
    EXPECT_EQ(mail.sent[0].message.noteText, "");
}

TEST_F(EMailService, FailuresSetTheFlagAndSendNothing)
{
    const QString missing = env.path("Données/absent.FLX2009");
    struct Row
    {
        const char* name;
        bool sessionOpen;
        bool openFirst;    // the caller opened a session before
        bool hasTransport; // the transport the message needs is on the machine
        QString recipients;
        QString attachments;
        bool showDialog;
        QString error; // the start of the error text; empty: sent
        int sent;
    };
    const Row rows[] = {
        {"sound, own session", false, false, true, "a@exemple.fr", eps1, false, "", 1},
        {"own session cannot be opened", false, false, false, "a@exemple.fr", eps1, false,
         "Aucun service d'envoi du courrier", 0},
        {"own session for the compose window cannot be opened", false, false, false, "a@exemple.fr", "", true,
         "Aucun logiciel de messagerie", 0},
        {"session said open but none is", true, false, true, "a@exemple.fr", eps1, false,
         "Aucune session de messagerie", 0},
        {"missing second attachment", true, true, true, "a@exemple.fr", eps1 + ";" + missing, false,
         "Pièce jointe introuvable : « " + missing, 0},
        {"attachment path whose blank was taken for a separator", true, true, true, "a@exemple.fr",
         eps1 + "; " + eps2, false, "Pièce jointe introuvable : «  " + eps2, 0},
        {"second recipient is a telephone number", true, true, true, "a@exemple.fr;06 12 34 56 78", "", false,
         "Adresse de destinataire invalide : « 0612345678 »", 0},
        {"no recipient for a message sent at once", false, false, true, " ; ", eps1, false,
         "Le message n'a aucun destinataire", 0},
        {"no recipient in the compose window: the user writes one", false, false, true, "", "", true, "", 1},
        {"trailing separator", true, true, true, "a@exemple.fr;", eps1, false, "", 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        mail.sent.clear();
        mail.hasComposeWindow = mail.hasSendAtOnce = true;
        if (r.openFirst) {
            ASSERT_TRUE(sub_Envoi_EMail_Open(r.showDialog).ok);
        }
        if (!r.hasTransport)
            (r.showDialog ? mail.hasComposeWindow : mail.hasSendAtOnce) = false;

        bool failed = false;
        QString errorText = "avant";
        sub_Envoi_EMail(r.sessionOpen, r.recipients, "Mirelot : Fichier EPS", "Fichier(s) EPS", r.attachments,
                        r.showDialog, failed, errorText, false);
        EXPECT_EQ(failed, !r.error.isEmpty());
        if (r.error.isEmpty()) {
            EXPECT_EQ(errorText, "avant"); // success leaves the outputs alone
        } else {
            EXPECT_TRUE(errorText.startsWith(r.error)) << errorText.toStdString();
        }
        EXPECT_EQ(mail.sent.size(), r.sent);
        // A session this call opened is closed; the caller's stays open.
        EXPECT_EQ(mail.isSignedOn(), r.openFirst);
        sub_Envoi_EMail_Close();
    }
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
}

TEST_F(EMailService, TheFailedFlagIsNeverCleared)
{
    bool failed = true;
    QString errorText = "erreur précédente";
    sub_Envoi_EMail(false, "a@exemple.fr", "s", "t", eps1, false, failed, errorText, false);
    EXPECT_EQ(mail.sent.size(), 1);
    EXPECT_TRUE(failed);
    EXPECT_EQ(errorText, "erreur précédente");
}

TEST_F(EMailService, TheHourglassShowsWhileTheSessionOpensAndEachMessageLeaves)
{
    testing_support::RecordingPointer& pointer = env.pointer();
    bool failed = false;
    QString errorText;
    const platform::PointerGuard callers(platform::PointerShape::Arrow); // a pointer of the caller's
    const QStringList hourglassThenBack = {"arrow", "hourglass", "pop"};

    ASSERT_TRUE(sub_Envoi_EMail_Open().ok);
    EXPECT_EQ(pointer.calls, hourglassThenBack);
    sub_Envoi_EMail(true, "a@exemple.fr", "s", "t", "", false, failed, errorText);
    EXPECT_EQ(pointer.calls, hourglassThenBack + QStringList({"hourglass", "pop"}));
    // Closing leaves the pointer alone: the caller's shows on.
    sub_Envoi_EMail_Close();
    EXPECT_EQ(pointer.calls.size(), 5);

    // Own session, which cannot be opened: the caller's pointer is back all the same.
    pointer.calls.clear();
    mail.hasSendAtOnce = false;
    sub_Envoi_EMail(false, "a@exemple.fr", "s", "t", "", false, failed, errorText);
    EXPECT_TRUE(failed);
    EXPECT_EQ(pointer.calls, QStringList({"hourglass", "pop"}));
    EXPECT_EQ(pointer.shapes(), QList<platform::PointerShape>({platform::PointerShape::Arrow}));
}

TEST_F(EMailService, AMessageSentUnderTheCallersHourglassLeavesTheScreenPointerAsItWas)
{
    platform::OverrideCursorPointer screen;
    env.usePointer(&screen);
    {
        const platform::PointerGuard callers;
        bool failed = false;
        QString errorText;
        ASSERT_TRUE(sub_Envoi_EMail_Open().ok);
        sub_Envoi_EMail(true, "a@exemple.fr", "s", "t", "", false, failed, errorText);
        sub_Envoi_EMail_Close();
        sub_Envoi_EMail(false, "b@exemple.fr", "s", "t", "", false, failed, errorText);
        EXPECT_FALSE(failed) << errorText.toStdString();
        EXPECT_EQ(mail.sent.size(), 2);
        EXPECT_EQ(screen.shown(), platform::PointerShape::Hourglass) << "the caller's hourglass shows on";
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "no hourglass left over";
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    env.usePointer(nullptr);
}

// The whole road: the procedures, the real transports and fake programs in their place.
class EMailThroughTheMachine : public ::testing::Test
{
protected:
    testing_support::TestEnvironment env;
    QString bin = env.path("programmes");
    QString sendmail = bin + "/sendmail";
    QString xdgEmail = bin + "/xdg-email";
    testing_support::ScopedEnv path{"PATH", bin.toUtf8()};
    testing_support::ScopedEnv command{"MIRELOT_SENDMAIL", (sendmail + " -t -oi").toUtf8()};
    platform::DesktopMail desktop;

    void SetUp() override { platform::services().mail = &desktop; }
};

TEST_F(EMailThroughTheMachine, ExportFilesMailedToTheCorrespondent)
{
    ASSERT_TRUE(testing_support::writeFakeProgram(sendmail));
    QByteArray record("SHOC\tÉté\r\n");
    record.append('\0');
    record.append("\xff\xfe", 2);
    const QString eps1 = writeFile(env.path("Données à envoyer/Relevé de l'hiver 2010.FLX2009"), record);
    const QString eps2 = writeFile(env.path("Données à envoyer/SHOC-01-002.FLX2009"), "deuxième");

    ASSERT_TRUE(sub_Envoi_EMail_Open().ok);
    bool failed = false;
    QString errorText;
    sub_Envoi_EMail(true, " correspondant@exemple.fr ; adjoint@exemple.org ",
                    common::kProgramName + " : Fichier EPS", "Fichier(s) EPS", eps1 + ";" + eps2, false,
                    failed, errorText, false);
    sub_Envoi_EMail_Close();
    ASSERT_FALSE(failed) << errorText.toStdString();

    const auto input = testing_support::fakeInput(sendmail);
    ASSERT_TRUE(input.has_value());
    const auto read = testing_support::readMessage(*input);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->to, QStringList({"correspondant@exemple.fr", "adjoint@exemple.org"}));
    EXPECT_EQ(read->subject, "Mirelot : Fichier EPS");
    EXPECT_EQ(read->body, "Fichier(s) EPS\n");
    ASSERT_EQ(read->attachments.size(), 2);
    EXPECT_EQ(read->attachments[0].fileName, "Relevé de l'hiver 2010.FLX2009");
    EXPECT_EQ(read->attachments[0].bytes, record);
    EXPECT_EQ(read->attachments[1].fileName, "SHOC-01-002.FLX2009");
    EXPECT_EQ(read->attachments[1].bytes, QByteArray("deuxième"));
}

TEST_F(EMailThroughTheMachine, SendmailThatHangsIsStoppedFromTheWaitWindow)
{
    ASSERT_TRUE(testing_support::writeFakeProgram(sendmail, {0, "", 30, true}));
    mainwindow::ProgramWaitWindow waitWindow;
    desktop.setWaitObserver(&waitWindow);
    desktop.showWaitAfter = std::chrono::milliseconds(100);

    // The user presses "Arrêter" as soon as the wait window shows.
    bool seen = false;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, &user, [&] {
        frm_Wait* w = waitWindow.window();
        if (!w || !w->isVisible() || seen)
            return;
        seen = true;
        QTest::mouseClick(w->stopButton, Qt::LeftButton);
    });
    user.start(20);
    QElapsedTimer t;
    t.start();
    bool failed = false;
    QString errorText;
    sub_Envoi_EMail(false, "correspondant@exemple.fr", "Mirelot : Fichier EPS", "Fichier(s) EPS", "", false,
                    failed, errorText, false);
    user.stop();

    EXPECT_TRUE(seen);
    EXPECT_LT(t.elapsed(), 10000); // not the two minutes of the time limit
    EXPECT_TRUE(failed);
    EXPECT_TRUE(errorText.startsWith("L'envoi du message a été arrêté")) << errorText.toStdString();
    EXPECT_TRUE(errorText.contains("« " + sendmail + " »")) << errorText.toStdString();
    EXPECT_EQ(waitWindow.window(), nullptr);
    const std::optional<qint64> child = testing_support::fakeChildPid(sendmail);
    ASSERT_TRUE(child.has_value());
    EXPECT_TRUE(testing_support::processGone(*child));
    desktop.setWaitObserver(nullptr);
}
