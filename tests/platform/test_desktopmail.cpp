#include "platform/ChildProcess.h"
#include "platform/DesktopMail.h"
#include "tests/support/MailFakes.h"
#include "tests/support/TestEnvironment.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>

using platform::DesktopMail;
using platform::MailMessage;
using platform::MailTransport;
using testing_support::FakeProgram;
using testing_support::ScopedEnv;

namespace {

QByteArray allBytes()
{
    QByteArray b;
    for (int i = 0; i < 256; ++i)
        b.append(char(i));
    return b;
}

class DesktopMailTest : public ::testing::Test
{
protected:
    testing_support::TestEnvironment env;
    // Programs live in a folder whose name has blanks and accents.
    QString bin = env.path("programmes à tester");
    QString sendmail = bin + "/faux sendmail";
    QString xdgEmail = bin + "/xdg-email";
    // The search path holds only the fake programs' folder.
    ScopedEnv path{"PATH", bin.toUtf8()};
    ScopedEnv command{"MIRELOT_SENDMAIL", ("\"" + sendmail + "\" -t -oi").toUtf8()};
    DesktopMail mail;

    QString writeFile(const QString& relative, const QByteArray& bytes)
    {
        const QString p = env.path(relative);
        QDir().mkpath(QFileInfo(p).absolutePath());
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return p;
    }

    static MailMessage message(const QStringList& to, const QString& subject, const QString& note,
                               const QStringList& files)
    {
        MailMessage m;
        m.recipients = to;
        m.subject = subject;
        m.noteText = note + QString(files.size(), QLatin1Char(' '));
        for (int i = 0; i < files.size(); ++i)
            m.attachments.append({files[i], int(note.size()) + i});
        return m;
    }
};

} // namespace

TEST(DesktopMailCommand, SendmailCommandFromTheEnvironment)
{
    struct Row
    {
        std::optional<QByteArray> env;
        QStringList command;
    };
    const Row rows[] = {
        {std::nullopt, {"/usr/sbin/sendmail", "-t", "-oi"}},
        {QByteArray("  "), {"/usr/sbin/sendmail", "-t", "-oi"}},
        {QByteArray("/usr/bin/msmtp -t"), {"/usr/bin/msmtp", "-t"}},
        {QByteArray("\"/opt/mes programmes/envoi\" -t -oi"), {"/opt/mes programmes/envoi", "-t", "-oi"}},
        {QByteArray("/opt/mes programmes/envoi"), {"/opt/mes", "programmes/envoi"}},
        {QByteArray("\"/opt/d\xc3\xa9p\xc3\xb4t/envoi\""), {"/opt/dépôt/envoi"}},
    };
    for (const Row& r : rows) {
        ScopedEnv e("MIRELOT_SENDMAIL", r.env);
        EXPECT_EQ(DesktopMail::sendCommand(), r.command) << (r.env ? r.env->constData() : "(unset)");
    }
}

TEST_F(DesktopMailTest, SentAtOnceTheMessageReadsBackWhole)
{
    ASSERT_TRUE(testing_support::writeFakeProgram(sendmail));
    const QString eps1 = writeFile("dossier à blancs/Relevé Ferme 2010.FLX2009", allBytes());
    const QString eps2 =
        writeFile("dossier à blancs/SHOC-01-002.FLX2009", QByteArray("ligne 1\r\nligne 2\n"));
    const QString empty = writeFile("vide.txt", QByteArray());

    struct Row
    {
        const char* name;
        MailMessage message;
        QStringList names;
        QList<QByteArray> bytes;
    };
    const Row rows[] = {
        {"export file to one correspondent",
         message({"correspondant@exemple.fr"}, "Mirelot : Fichier EPS", "Fichier(s) EPS", {eps1}),
         {"Relevé Ferme 2010.FLX2009"},
         {allBytes()}},
        {"two files to two recipients",
         message({"a@exemple.fr", "b@exemple.org"}, "Mirelot : Fichier EPS", "Fichier(s) EPS", {eps1, eps2}),
         {"Relevé Ferme 2010.FLX2009", "SHOC-01-002.FLX2009"},
         {allBytes(), "ligne 1\r\nligne 2\n"}},
        {"accented subject and body, no attachment",
         message({"observateur@exemple.fr"}, "STOC-EPS Étang-Salé : relance du 15/06/2010",
                 "Mon cher collègue,\nLa saison STOC-EPS 2010 est maintenant terminée.", {}),
         {},
         {}},
        {"empty attachment", message({"a@exemple.fr"}, "Vide", "", {empty}), {"vide.txt"}, {QByteArray()}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ASSERT_TRUE(mail.signOn(MailTransport::SendAtOnce));
        const platform::Result sent = mail.send(r.message, MailTransport::SendAtOnce);
        ASSERT_TRUE(sent) << sent.error.toStdString();
        EXPECT_EQ(testing_support::fakeArguments(sendmail), QStringList({"-t", "-oi"}));
        const std::optional<QByteArray> input = testing_support::fakeInput(sendmail);
        ASSERT_TRUE(input.has_value());
        // Nothing but 7-bit text goes to the transport.
        for (char c : *input)
            ASSERT_EQ(c & 0x80, 0);
        const auto read = testing_support::readMessage(*input);
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(read->to, r.message.recipients);
        EXPECT_EQ(read->subject, r.message.subject);
        const bool ascii = r.message.subject.toLatin1() == r.message.subject.toUtf8();
        EXPECT_EQ(read->rawSubject.contains("=?UTF-8?", Qt::CaseInsensitive), !ascii)
            << read->rawSubject.toStdString();
        EXPECT_TRUE(input->contains("Content-Type: text/plain; charset=utf-8"));
        // The last line of the body is ended like the others.
        const QString body = r.message.bodyText();
        EXPECT_EQ(read->body, body.isEmpty() ? body : body + "\n");
        ASSERT_EQ(read->attachments.size(), r.names.size());
        for (int i = 0; i < r.names.size(); ++i) {
            EXPECT_EQ(read->attachments[i].fileName, r.names[i]);
            EXPECT_TRUE(read->attachments[i].base64);
            EXPECT_EQ(read->attachments[i].bytes, r.bytes[i]);
        }
        mail.signOff();
    }
}

TEST_F(DesktopMailTest, NothingReachesSendmailWhenTheMessageOrTheSessionIsAmiss)
{
    ASSERT_TRUE(testing_support::writeFakeProgram(sendmail));
    const QString eps = writeFile("Relevé.FLX2009", "x");
    struct Row
    {
        const char* name;
        bool signOn;
        MailMessage message;
        QString error;
    };
    const Row rows[] = {
        {"no session", false, message({"a@exemple.fr"}, "s", "t", {eps}), "Aucune session de messagerie"},
        {"missing attachment", true, message({"a@exemple.fr"}, "s", "t", {eps, env.path("absent")}),
         "Pièce jointe introuvable"},
        {"recipient that is no address", true, message({"a@exemple.fr", "0612345678"}, "s", "t", {}),
         "Adresse de destinataire invalide"},
        {"no recipient", true, message({}, "s", "t", {}), "Le message n'a aucun destinataire"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        if (r.signOn) {
            ASSERT_TRUE(mail.signOn(MailTransport::SendAtOnce));
        }
        const platform::Result sent = mail.send(r.message, MailTransport::SendAtOnce);
        EXPECT_FALSE(sent);
        EXPECT_TRUE(sent.error.startsWith(r.error)) << sent.error.toStdString();
        EXPECT_FALSE(testing_support::fakeArguments(sendmail).has_value());
        mail.signOff();
    }
}

TEST_F(DesktopMailTest, SendmailFailureComesBackWithWhatItSaid)
{
    ASSERT_TRUE(testing_support::writeFakeProgram(sendmail, {75, "relais smtp injoignable", 0}));
    ASSERT_TRUE(mail.signOn(MailTransport::SendAtOnce));
    const platform::Result sent =
        mail.send(message({"a@exemple.fr"}, "s", "t", {}), MailTransport::SendAtOnce);
    EXPECT_FALSE(sent);
    EXPECT_TRUE(sent.error.contains("75")) << sent.error.toStdString();
    EXPECT_TRUE(sent.error.contains("relais smtp injoignable")) << sent.error.toStdString();
}

TEST_F(DesktopMailTest, SignOnFailsWhereTheTransportIsMissing)
{
    struct Row
    {
        const char* name;
        bool fakeSendmail;
        bool fakeXdgEmail;
        std::optional<QByteArray> command;
        bool sendAtOnce;
        bool composeWindow;
    };
    const QByteArray absent = env.path("nulle part/sendmail").toUtf8();
    const Row rows[] = {
        {"both present", true, true, std::nullopt, true, true},
        {"no mail client", true, false, std::nullopt, true, false},
        {"no sendmail", false, true, std::nullopt, false, true},
        {"sendmail command names a missing program", true, true, absent, false, true},
        {"sendmail command names a folder", true, true, env.dataFolder().toUtf8(), false, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        QDir(bin).removeRecursively();
        if (r.fakeSendmail) {
            ASSERT_TRUE(testing_support::writeFakeProgram(sendmail));
        }
        if (r.fakeXdgEmail) {
            ASSERT_TRUE(testing_support::writeFakeProgram(xdgEmail));
        }
        std::optional<ScopedEnv> other;
        if (r.command)
            other.emplace("MIRELOT_SENDMAIL", r.command);

        platform::Result signedOn = mail.signOn(MailTransport::SendAtOnce);
        EXPECT_EQ(signedOn.ok, r.sendAtOnce);
        if (!r.sendAtOnce) {
            EXPECT_TRUE(signedOn.error.startsWith("Aucun service d'envoi du courrier"))
                << signedOn.error.toStdString();
            EXPECT_FALSE(mail.isSignedOn());
        } else if (!r.composeWindow) {
            // Signed on for messages sent at once; one for the compose window still fails.
            const platform::Result sent =
                mail.send(message({"a@exemple.fr"}, "s", "t", {}), MailTransport::ComposeWindow);
            EXPECT_FALSE(sent);
            EXPECT_TRUE(sent.error.contains("« xdg-email » est introuvable")) << sent.error.toStdString();
        }
        mail.signOff();
        signedOn = mail.signOn(MailTransport::ComposeWindow);
        EXPECT_EQ(signedOn.ok, r.composeWindow);
        if (!r.composeWindow) {
            EXPECT_TRUE(signedOn.error.contains("« xdg-email » est introuvable"))
                << signedOn.error.toStdString();
        }
        mail.signOff();
    }
}

TEST_F(DesktopMailTest, ComposeWindowGetsTheMessageAsAnArgumentList)
{
    ASSERT_TRUE(testing_support::writeFakeProgram(xdgEmail));
    const QString eps1 = writeFile("Données à envoyer/Relevé d'hiver n°1.FLX2009", "a");
    const QString eps2 = writeFile("Données à envoyer/$HOME `x`; rm.FLX2009", "b");

    struct Row
    {
        const char* name;
        MailMessage message;
        QStringList arguments;
    };
    const Row rows[] = {
        {"contact label: address only",
         message({"contact@exemple.fr"}, "", "", {}),
         {"--utf8", "contact@exemple.fr"}},
        {"circular: several recipients, subject, no body",
         message({"a@exemple.fr", "b@exemple.fr"}, "STOC-EPS : circulaire du 15/06/2010", "", {}),
         {"--utf8", "--subject", "STOC-EPS : circulaire du 15/06/2010", "a@exemple.fr", "b@exemple.fr"}},
        {"attachments with blanks, accents and shell characters",
         message({"c@exemple.fr"}, "Mirelot : Fichier EPS", "Fichier(s) EPS", {eps1, eps2}),
         {"--utf8", "--subject", "Mirelot : Fichier EPS", "--body", "Fichier(s) EPS", "--attach", eps1,
          "--attach", eps2, "c@exemple.fr"}},
        {"no recipient: the user chooses one",
         message({}, "Sujet", "Ligne 1\nLigne 2", {}),
         {"--utf8", "--subject", "Sujet", "--body", "Ligne 1\nLigne 2"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(DesktopMail::composeArguments(r.message), r.arguments);
        ASSERT_TRUE(mail.signOn(MailTransport::ComposeWindow));
        const platform::Result sent = mail.send(r.message, MailTransport::ComposeWindow);
        ASSERT_TRUE(sent) << sent.error.toStdString();
        EXPECT_EQ(testing_support::fakeArguments(xdgEmail), r.arguments);
        mail.signOff();
    }
}

TEST_F(DesktopMailTest, ComposeWindowFailureAndClientThatStaysOpen)
{
    // No mail client on the machine: xdg-email names every opener it tried, then gives up with its
    // code 3. The reason is one line that says so.
    QString tried;
    for (int i = 0; i < 40; ++i)
        tried += QStringLiteral("/usr/bin/xdg-email: 786: lecteur%1: not found\n").arg(i);
    ASSERT_TRUE(testing_support::writeFakeProgram(
        xdgEmail, {3, tried + "xdg-email: no method available for opening 'mailto:a@exemple.fr'", 0}));
    ASSERT_TRUE(mail.signOn(MailTransport::ComposeWindow));
    platform::Result sent = mail.send(message({"a@exemple.fr"}, "s", "t", {}), MailTransport::ComposeWindow);
    EXPECT_FALSE(sent);
    EXPECT_EQ(sent.error,
              "Aucun logiciel de messagerie : le programme « xdg-email » n'en trouve aucun sur cet "
              "ordinateur.");
    // Another failure: its code and the tool's conclusion, its last line.
    ASSERT_TRUE(
        testing_support::writeFakeProgram(xdgEmail, {4, tried + "xdg-email: l'ouverture a échoué", 0}));
    sent = mail.send(message({"a@exemple.fr"}, "s", "t", {}), MailTransport::ComposeWindow);
    EXPECT_EQ(sent.error, "L'ouverture du message dans le logiciel de messagerie a échoué (code 4) : "
                          "xdg-email: l'ouverture a échoué");

    // A client that keeps xdg-email waiting until it is closed: the call returns after the wait.
    ASSERT_TRUE(testing_support::writeFakeProgram(xdgEmail, {0, "", 3}));
    mail.composeWait = std::chrono::milliseconds(300);
    QElapsedTimer t;
    t.start();
    sent = mail.send(message({"a@exemple.fr"}, "s", "t", {}), MailTransport::ComposeWindow);
    EXPECT_TRUE(sent) << sent.error.toStdString();
    EXPECT_LT(t.elapsed(), 2500);
    EXPECT_EQ(testing_support::fakeArguments(xdgEmail),
              QStringList({"--utf8", "--subject", "s", "--body", "t", "a@exemple.fr"}));
}

namespace {

// Stands for the wait window: records what it is shown and, when told to, presses its stop
// button a little after the wait is shown.
struct WaitWindowStandIn : platform::WaitObserver
{
    std::optional<int> stopAfterMs;
    QStringList shown;
    int ends = 0;

    WaitWindowStandIn()
    {
        m_press.setSingleShot(true);
        QObject::connect(&m_press, &QTimer::timeout, &m_press, [this] { m_stop(); });
    }
    void waitBegins(const QString& what, const std::function<void()>& stop) override
    {
        shown << what;
        m_stop = stop;
        if (stopAfterMs)
            m_press.start(*stopAfterMs);
    }
    void waitEnds() override
    {
        ++ends;
        m_press.stop();
        m_stop = nullptr;
    }

private:
    QTimer m_press;
    std::function<void()> m_stop;
};

bool goneSoon(qint64 pid)
{
    const QDeadlineTimer deadline(2000);
    while (!testing_support::processGone(pid) && !deadline.hasExpired())
        QThread::msleep(20);
    return testing_support::processGone(pid);
}

} // namespace

TEST_F(DesktopMailTest, MailProgramThatHangsIsEndedWithWhatItStartedWhileWindowsRepaint)
{
    struct Row
    {
        const char* name;
        MailTransport transport;
        int sleepSeconds;
        int limitMs;
        std::optional<int> stopAfterMs;
        const char* said;  // empty when the send succeeds
        bool sessionStays; // a stop by the user ends the mailing, and the session with it
    };
    const Row rows[] = {
        {"sendmail out of time", MailTransport::SendAtOnce, 30, 700, std::nullopt,
         "n'a pas répondu en 0,7 seconde : elle a été arrêtée", true},
        {"sendmail stopped by the user", MailTransport::SendAtOnce, 30, 20000, 100,
         "L'envoi du message a été arrêté : la commande d'envoi du courrier", false},
        {"mail client stopped by the user", MailTransport::ComposeWindow, 30, 20000, 100,
         "L'ouverture du message a été arrêtée : le programme", false},
        {"quick sendmail: the wait is not shown", MailTransport::SendAtOnce, 0, 20000, 0, "", true},
    };
    WaitWindowStandIn window;
    mail.setWaitObserver(&window);
    mail.showWaitAfter = std::chrono::milliseconds(300);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const QString program = r.transport == MailTransport::SendAtOnce ? sendmail : xdgEmail;
        ASSERT_TRUE(testing_support::writeFakeProgram(program, {0, "", r.sleepSeconds, true}));
        mail.sendWait = mail.composeWait = std::chrono::milliseconds(r.limitMs);
        window.stopAfterMs = r.stopAfterMs;
        window.shown.clear();
        window.ends = 0;
        ASSERT_TRUE(mail.signOn(r.transport));

        // Counts the turns of the event loop during the send.
        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, &ticker, [&] { ++ticks; });
        ticker.start(20);
        QElapsedTimer t;
        t.start();
        const platform::Result sent = mail.send(message({"a@exemple.fr"}, "s", "t", {}), r.transport);
        const QString& error = sent.error;
        ticker.stop();
        EXPECT_EQ(mail.isSignedOn(), r.sessionStays);
        mail.signOff();

        const QString said = QString::fromUtf8(r.said);
        EXPECT_EQ(sent.ok, said.isEmpty()) << error.toStdString();
        EXPECT_LT(t.elapsed(), 6000);
        const std::optional<qint64> pid = testing_support::fakePid(program);
        const std::optional<qint64> child = testing_support::fakeChildPid(program);
        ASSERT_TRUE(pid && child);
        if (said.isEmpty()) {
            EXPECT_TRUE(window.shown.isEmpty());
            EXPECT_EQ(window.ends, 0);
            ::kill(pid_t(*child), SIGKILL);
            continue;
        }
        EXPECT_TRUE(error.contains(said)) << error.toStdString();
        EXPECT_TRUE(error.contains("« " + program + " »")) << error.toStdString();
        EXPECT_GT(ticks, 5);
        ASSERT_EQ(window.shown.size(), 1);
        EXPECT_TRUE(window.shown[0].contains("« " + program + " »")) << window.shown[0].toStdString();
        EXPECT_EQ(window.ends, 1);
        // The program and the child that ignored the request to end are both gone.
        EXPECT_TRUE(goneSoon(*pid));
        EXPECT_TRUE(goneSoon(*child));
    }
}

TEST(WaitDuration, ReadsInFrench)
{
    struct Row
    {
        int ms;
        const char* text;
    };
    const Row rows[] = {{120000, "120 secondes"},
                        {700, "0,7 seconde"},
                        {1000, "1 seconde"},
                        {1500, "1,5 seconde"},
                        {2000, "2 secondes"}};
    for (const Row& r : rows)
        EXPECT_EQ(platform::durationText(std::chrono::milliseconds(r.ms)), QString::fromUtf8(r.text));
}
