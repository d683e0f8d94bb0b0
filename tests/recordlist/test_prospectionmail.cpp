#include "common/Globals.h"
#include "grid/Grid.h"
#include "recordlist/ProspectionMail.h"
#include "recordlist/ProspectionTable.h"
#include "tests/samples/ProspectionSamples.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace recordlist;
using platform::MailTransport;
using prospection_samples::siteOf;

namespace {

const QDate kToday(2010, 6, 15); // the test environment's day: in the winter 2009-2010
const QString kPhone = QStringLiteral("06 12 34 56 78");

// Sites of a data folder with 0 to 3 record files in the current winter 2009-2010, and the
// prospection table made of them.
class ProspectionMailTest : public ::testing::Test
{
protected:
    testing_support::TestEnvironment env;
    grid::Grid table;

    void SetUp() override
    {
        const auto save = [&](const QString& place, int winter, int files, const QString& email,
                              const QString& phone = "04 75 00 00 00") {
            for (int p = 1; p <= files; ++p)
                prospection_samples::save(env.dataFolder(), {place, winter, p, email, phone});
        };
        save("P0", 2008, 2, "p0@exemple.example");
        save("P1", 2008, 2, "p1@exemple.example");
        save("P1", 2009, 1, "p1@exemple.example");
        save("P2", 2009, 2, " p2@exemple.example ");
        save("P3", 2009, 3, "p3@exemple.example");
        save("T0", 2008, 1, "", "");
        save("T1", 2009, 1, "", kPhone);
        SummaryCache cache;
        fillProspectionGrid(readProspection(env.dataFolder(), cache), table);
        ASSERT_EQ(table.rows(), 7);
        table.setSelectionMode(grid::Grid::SelectionMode::ListBox);
    }

    void selectOnly(const QStringList& places)
    {
        for (int r = 1; r < table.rows(); ++r)
            table.setRowSelected(r, places.contains(table.rowKey(r).section('~', 2, 2)));
    }
};

const QString kSkipped = QStringLiteral("Un site n'a pas d'adresse courriel (numéro de téléphone ou adresse "
                                        "invalide) ; aucun courriel ne lui a été envoyé :\n") +
                         siteOf("T1") + " : " + kPhone;

} // namespace

// The five texts, word for word, for one site on 15/06/2010.
TEST(ReminderTexts, TheFiveTextsWordForWord)
{
    const QString S = siteOf("Les Baumes");
    const QString P =
        "Si vous utilisez un micro-ordinateur doté de Windows 95 ou supérieur, je vous rappelle que "
        "vous devez saisir vos données avec le programme Tessilon téléchargeable gratuitement sur " +
        entryProgramPage();
    const QString start = "Mon cher collègue,\nLa saison STOC-EPS 2010 est maintenant terminée.\n";
    const QString ask = "Veuillez me faire parvenir rapidement ";
    const QString end = "\nVotre responsable régional";
    const QString relance = "STOC-EPS " + S + " : relance du 15/06/2010";
    const QString rappel = "STOC-EPS " + S + " : rappel du 15/06/2010";
    const struct
    {
        ReminderText text;
        QString subject;
        QString body;
    } golden[] = {
        {ReminderText::A, relance,
         start + ask + "le fichier du second passage sur le carré >- " + S +
             " -< dont vous avez la responsabilité.\n" + P + "\nCordialement." + end},
        {ReminderText::B, relance,
         start + ask + "le fichier du premier passage sur le carré >- " + S +
             " -< dont vous avez la responsabilité.\nCordialement.\n" + P + end},
        {ReminderText::C, relance,
         start + ask + "les fichiers des deux passages du carré >- " + S +
             " -< dont vous avez la responsabilité.\n" + P + "\nCordialement." + end},
        {ReminderText::D, rappel,
         "Mon cher collègue,\nComme je l'espère, vous avez dû effectuer le premier passage sur le carré >- " +
             S + " -< pour la première période (avant le 8 mai) de la saison STOC-EPS 2010.\n" + ask +
             "le fichier correspondant.\nCordialement.\n" + P + end},
        {ReminderText::E, rappel,
         start + "Comme je l'espère, vous avez dû effectuer vos deux passages sur le carré >- " + S +
             " -<.\n" + ask + "les fichiers correspondants.\nCordialement.\n" + P + end},
    };
    for (const auto& g : golden)
        EXPECT_EQ(reminderMail(g.text, S, kToday), (MailText{g.subject, g.body})) << int(g.text);
    EXPECT_EQ(circularSubject(kToday), "STOC-EPS : circulaire du 15/06/2010");
}

TEST(ReminderTexts, TheTextIsChosenByKindAndByTheFilesOfTheCurrentWinter)
{
    using T = ReminderText;
    const T byFiles[3][4] = {
        {T::C, T::A, T::B, T::None}, {T::D, T::None, T::D, T::None}, {T::E, T::E, T::None, T::None}};
    for (int k = 0; k < 3; ++k)
        for (int files = 0; files < 4; ++files)
            EXPECT_EQ(reminderTextFor(ReminderKind(k), files), byFiles[k][files]) << k << ", " << files;
    EXPECT_EQ(recipientsOf(" a@exemple.example; b@exemple.example"),
              QStringList({"a@exemple.example", "b@exemple.example"}));
    EXPECT_EQ(recipientsOf("a@exemple.example; 0475000000"), QStringList());
}

// On 15/06/2010 the latest winter is 2009-2010, the one the records of this spring belong to.
TEST_F(ProspectionMailTest, RemindersGoToEachSiteWithAnAddressWordedFromTheCurrentWinter)
{
    using T = ReminderText;
    const struct
    {
        QList<std::pair<QString, T>> mails; // place, text, in table order
        bool skipped;                       // the site with a telephone number only
    } cases[] = {
        {{{"P0", T::C}, {"P1", T::A}, {"P2", T::B}}, true},
        {{{"P0", T::D}, {"P2", T::D}}, false},
        {{{"P0", T::E}, {"P1", T::E}}, true},
    };
    for (int k = 0; k < 3; ++k) {
        const auto& c = cases[k];
        env.mail().sent.clear();
        const MailingOutcome o = sendReminders(table, ReminderKind(k));
        ASSERT_EQ(env.mail().sent.size(), c.mails.size()) << k;
        for (int i = 0; i < c.mails.size(); ++i) {
            const auto& [place, text] = c.mails[i];
            const testing_support::RecordingMail::Sent& s = env.mail().sent[i];
            const MailText expected = reminderMail(text, siteOf(place), kToday);
            EXPECT_EQ(s.message.recipients, QStringList{place.toLower() + "@exemple.example"});
            EXPECT_EQ((MailText{s.message.subject, s.message.noteText}), expected);
            EXPECT_EQ(s.transport, MailTransport::SendAtOnce);
        }
        const QString count = QString::number(c.mails.size()) + " courriels de relance ont été envoyés.";
        EXPECT_EQ(o.sent, c.mails.size());
        EXPECT_EQ(o.message, c.skipped ? count + "\n\n" + kSkipped : count);
    }
    EXPECT_EQ(env.mail().signOns, 3);
    EXPECT_FALSE(env.mail().isSignedOn());
    EXPECT_TRUE(env.pointer().shapes().isEmpty());
}

TEST_F(ProspectionMailTest, OnlyAcceptedMailsCountAndAMailServiceThatCannotBeOpenedIsReported)
{
    env.mail().sendError = "le serveur refuse le message";
    MailingOutcome o = sendReminders(table, ReminderKind::FirstPassage);
    EXPECT_EQ(o.sent, 0);
    EXPECT_EQ(o.message,
              "0 courriel de relance ont été envoyés.\n\n"
              "Le courriel à p0@exemple.example n'a pas été envoyé : le serveur refuse le message\n\n"
              "Le courriel à p2@exemple.example n'a pas été envoyé : le serveur refuse le message");
    EXPECT_EQ(o.style, platform::mb::OKOnly | platform::mb::Exclamation);

    env.mail().hasSendAtOnce = env.mail().hasComposeWindow = false;
    o = sendReminders(table, ReminderKind::FirstPassage);
    EXPECT_TRUE(o.connectionFailed);
    EXPECT_TRUE(gbol_Erreur_MAPI);
    EXPECT_EQ(o.message,
              "0 courriel de relance ont été envoyés.\n\nLa messagerie n'a pas pu être ouverte : aucun "
              "courriel n'a été envoyé.\nAucun service d'envoi du courrier : la commande « sendmail » est "
              "introuvable.");
    selectOnly({"P1"});
    o = sendCircular(table);
    EXPECT_EQ(o.message, "La messagerie n'a pas pu être ouverte : aucun courriel n'a été envoyé.\nAucun "
                         "logiciel de messagerie : le programme « xdg-email » est introuvable.");
    EXPECT_TRUE(env.mail().sent.isEmpty());

    grid::Grid empty;
    fillProspectionGrid(buildProspection({}, kToday), empty);
    const int signOns = env.mail().signOns;
    EXPECT_EQ(sendReminders(empty, ReminderKind::SeasonEnd).message,
              "0 courriel de relance ont été envoyés.");
    EXPECT_EQ(env.mail().signOns, signOns) << "nothing to send: the mail service is not opened";
}

TEST_F(ProspectionMailTest, AMailTheUserStopsEndsTheRun)
{
    env.mail().sendsBeforeStop = 1; // P0's goes, P1's is stopped, P2's stays
    const MailingOutcome o = sendReminders(table, ReminderKind::SeasonEnd);
    EXPECT_EQ(o.sent, 1);
    ASSERT_EQ(env.mail().sent.size(), 1);
    EXPECT_EQ(env.mail().sent[0].message.recipients, QStringList{"p0@exemple.example"});
    EXPECT_EQ(o.message, "1 courriel de relance ont été envoyés.\n\n" + kSkipped +
                             "\n\nLe courriel à p1@exemple.example n'a pas été envoyé : L'envoi du message a "
                             "été arrêté.\n\nL'envoi des courriels a été arrêté à votre demande : un "
                             "courriel de plus n'a pas été envoyé.");
    EXPECT_FALSE(env.mail().isSignedOn());
}

TEST_F(ProspectionMailTest, TheCircularOpensOneMailToTheSelectedAddressesInTheComposeWindow)
{
    // A second site with the same address gets it once.
    table.setCell(table.findRowByKey(siteOf("P3")), ProspectionContactColumn, "P0@exemple.example");
    selectOnly({"P0", "P2", "P3", "T0", "T1"});
    MailingOutcome o = sendCircular(table);
    ASSERT_EQ(env.mail().sent.size(), 1);
    const testing_support::RecordingMail::Sent& s = env.mail().sent[0];
    EXPECT_EQ(s.message.recipients, QStringList({"p0@exemple.example", "p2@exemple.example"}));
    EXPECT_EQ(s.message.subject, "STOC-EPS : circulaire du 15/06/2010");
    EXPECT_EQ(s.message.noteText, "");
    EXPECT_EQ(s.transport, MailTransport::ComposeWindow);
    EXPECT_EQ(o.sent, 1);
    EXPECT_EQ(o.message, kSkipped);

    // Without any address among the selected rows nothing is sent; a telephone number is told.
    const std::pair<QStringList, QString> nothing[] = {{{}, ""}, {{"T0"}, ""}, {{"T1"}, kSkipped}};
    for (const auto& [places, message] : nothing) {
        selectOnly(places);
        o = sendCircular(table);
        EXPECT_EQ(o.sent, 0);
        EXPECT_EQ(o.message, message);
    }
    EXPECT_EQ(env.mail().signOns, 1);
}
