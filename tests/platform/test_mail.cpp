#include "platform/Mail.h"
#include "platform/Services.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using platform::MailAttachment;
using platform::MailMessage;
using platform::MailTransport;

TEST(MailAddress, ShapeOfAnAddress)
{
    struct Row
    {
        const char* text;
        bool ok;
    };
    const Row rows[] = {
        {"jean.dupont@exemple.fr", true},
        {"a@b", true},
        {"hélène@exemple.fr", true},
        {"contact+shoc@exemple.org", true},
        {"", false},
        {"exemple.fr", false},
        {"0612345678", false}, // a telephone number kept in the e-mail column
        {"@exemple.fr", false},
        {"jean@", false},
        {"jean@@exemple.fr", false},
        {"jean@ex@emple.fr", false},
        {"jean dupont@exemple.fr", false},
        {"jean@exemple..fr", false},
        {"jean@.exemple.fr", false},
        {"jean@exemple.fr.", false},
        {"<jean@exemple.fr>", false},
        {"Jean Dupont <jean@exemple.fr>", false},
        {"jean@exemple.fr,paul@exemple.fr", false},
        {"jean@exemple.fr;", false},
        {"jean@exemple.fr\n", false},
        {"\"jean\"@exemple.fr", false},
    };
    for (const Row& r : rows)
        EXPECT_EQ(platform::isMailAddress(QString::fromUtf8(r.text)), r.ok) << r.text;
}

TEST(MailMessageText, AttachmentsTakeTheirPlaceholdersOutOfTheBody)
{
    struct Row
    {
        const char* note;
        QList<int> positions;
        const char* body;
    };
    const Row rows[] = {
        {"Fichier(s) EPS", {}, "Fichier(s) EPS"},
        {"Fichier(s) EPS  ", {14, 15}, "Fichier(s) EPS"},
        {"Voir  ici", {4}, "Voir ici"},
        {" ", {0}, ""},
        {"", {}, ""},
        {"Texte", {99}, "Texte"}, // a position outside the text takes nothing away
    };
    for (const Row& r : rows) {
        MailMessage m;
        m.noteText = QString::fromUtf8(r.note);
        for (int p : r.positions)
            m.attachments.append({QStringLiteral("/tmp/x"), p});
        EXPECT_EQ(m.bodyText(), QString::fromUtf8(r.body)) << r.note;
    }
}

TEST(MailMessageCheck, FaultsFoundBeforeAnythingLeaves)
{
    testing_support::TestEnvironment env;
    const QString file = env.path("Relevé 1.FLX2009");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    const QString missing = env.path("absent.FLX2009");
    const QString folder = env.dataFolder();

    struct Row
    {
        const char* name;
        QStringList recipients;
        QStringList attachments;
        MailTransport transport;
        QString fault; // the start of the description, empty when the message is sound
    };
    const MailTransport now = MailTransport::SendAtOnce;
    const MailTransport window = MailTransport::ComposeWindow;
    const Row rows[] = {
        {"sound", {"a@b.fr"}, {file}, now, ""},
        {"sound, two recipients, no attachment", {"a@b.fr", "c@d.fr"}, {}, now, ""},
        {"no recipient, sent at once", {}, {}, now, "Le message n'a aucun destinataire."},
        {"no recipient, compose window", {}, {}, window, ""},
        {"telephone number",
         {"a@b.fr", "0612345678"},
         {},
         now,
         "Adresse de destinataire invalide : « 0612345678 »"},
        {"bad recipient in the compose window too", {"x"}, {}, window, "Adresse de destinataire invalide"},
        {"missing attachment", {"a@b.fr"}, {file, missing}, now, "Pièce jointe introuvable : « " + missing},
        {"folder as attachment", {"a@b.fr"}, {folder}, window, "La pièce jointe « " + folder},
        {"empty path", {"a@b.fr"}, {""}, now, "Pièce jointe introuvable"},
    };
    for (const Row& r : rows) {
        MailMessage m;
        m.recipients = r.recipients;
        for (const QString& a : r.attachments)
            m.attachments.append({a, 0});
        const QString fault = platform::checkMessage(m, r.transport).error;
        if (r.fault.isEmpty()) {
            EXPECT_EQ(fault, QString()) << r.name;
        } else {
            EXPECT_TRUE(fault.startsWith(r.fault)) << r.name << ": " << fault.toStdString();
        }
    }
}

namespace {
QString g_why;
bool signOnWithoutService(MailTransport t)
{
    const platform::Result signedOn = platform::mail().signOn(t);
    g_why = signedOn.error;
    return signedOn.ok;
}
} // namespace

TEST(MailService, WithoutAnInstalledServiceNothingCanBeSent)
{
    // A wiring fault, which the check reports; the stand-in has no transport.
    const platform::Services previous = platform::installServices({});
    EXPECT_NONFATAL_FAILURE(EXPECT_FALSE(signOnWithoutService(MailTransport::ComposeWindow)), "mail");
    EXPECT_NONFATAL_FAILURE(EXPECT_FALSE(signOnWithoutService(MailTransport::SendAtOnce)), "mail");
    EXPECT_FALSE(g_why.isEmpty());
    platform::installServices(previous);
}
