#include "common/Globals.h"
#include "grid/Grid.h"
#include "recordlist/ProspectionMail.h"
#include "recordlist/ProspectionTable.h"
#include "tests/recordlist/ProspectionSamples.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace recordlist;
using platform::MailTransport;
using prospection_samples::Visit;

namespace {

const QString kSite = QStringLiteral("SHOC-26~Valence~Les Baumes~DUPONT Jean");
const QDate kToday(2010, 6, 15); // the test environment's day: in the winter 2009-2010

// The paragraph on the entry program, and the sign-off lines around it.
QString programParagraph()
{
    return "Si vous utilisez un micro-ordinateur doté de Windows 95 ou supérieur, je vous rappelle que vous "
           "devez saisir vos données avec le programme Tessilon téléchargeable gratuitement sur " +
           entryProgramPage();
}

// Sites of the data folder on 15/06/2010, with their files in the current winter 2009-2010.
class ProspectionMailTest : public ::testing::Test
{
protected:
    testing_support::TestEnvironment env;
    grid::Grid table;

    static Visit site(const QString& place, const QString& email, const QString& telephone = "04 75 00 00 00")
    {
        return Visit{"Valence", place, "DUPONT", "Jean", 2009, 1, email, telephone};
    }
    static QString siteOf(const QString& place) { return "SHOC-26~Valence~" + place + "~DUPONT Jean"; }

    void SetUp() override
    {
        const QString folder = env.dataFolder();
        const auto save = [&](Visit v, int winter, int passages) {
            v.winter = winter;
            for (int p = 1; p <= passages; ++p) {
                v.passage = p;
                prospection_samples::save(folder, v);
            }
        };
        // Two winters for every site: the one before, and the current one with 0 to 3 files.
        save(site("P0 aucun", "p0@exemple.example"), 2008, 2);
        save(site("P1 un", "p1@exemple.example"), 2008, 2);
        save(site("P1 un", "p1@exemple.example"), 2009, 1);
        save(site("P2 deux", " p2@exemple.example "), 2009, 2);
        save(site("P3 trois", "p3@exemple.example"), 2009, 3);
        save(site("T1 téléphone", "", "06 12 34 56 78"), 2009, 1);
        save(site("T0 sans adresse", "", ""), 2008, 1);
        SummaryCache cache;
        fillProspectionGrid(readProspection(folder, cache), table);
        ASSERT_EQ(table.rows(), 7);
        ASSERT_EQ(table.cell(0, table.cols() - 1), "Hiver 2009-2010");
    }

    int rowOf(const QString& place) const { return table.findRowByKey(siteOf(place)); }
};

} // namespace

// The five texts, word for word, for one site on 15/06/2010.
TEST(ReminderTexts, TheFiveTextsWordForWord)
{
    const QString P = programParagraph();
    const struct
    {
        ReminderText text;
        QString subject;
        QString body;
    } golden[] = {
        {ReminderText::A, "STOC-EPS " + kSite + " : relance du 15/06/2010",
         "Mon cher collègue,\nLa saison STOC-EPS 2010 est maintenant terminée.\nVeuillez me faire parvenir "
         "rapidement le fichier du second passage sur le carré >- " +
             kSite + " -< dont vous avez la responsabilité.\n" + P +
             "\nCordialement.\nVotre responsable régional"},
        {ReminderText::B, "STOC-EPS " + kSite + " : relance du 15/06/2010",
         "Mon cher collègue,\nLa saison STOC-EPS 2010 est maintenant terminée.\nVeuillez me faire parvenir "
         "rapidement le fichier du premier passage sur le carré >- " +
             kSite + " -< dont vous avez la responsabilité.\nCordialement.\n" + P +
             "\nVotre responsable régional"},
        {ReminderText::C, "STOC-EPS " + kSite + " : relance du 15/06/2010",
         "Mon cher collègue,\nLa saison STOC-EPS 2010 est maintenant terminée.\nVeuillez me faire parvenir "
         "rapidement les fichiers des deux passages du carré >- " +
             kSite + " -< dont vous avez la responsabilité.\n" + P +
             "\nCordialement.\nVotre responsable régional"},
        {ReminderText::D, "STOC-EPS " + kSite + " : rappel du 15/06/2010",
         "Mon cher collègue,\nComme je l'espère, vous avez dû effectuer le premier passage sur le carré >- " +
             kSite +
             " -< pour la première période (avant le 8 mai) de la saison STOC-EPS 2010.\nVeuillez me faire "
             "parvenir rapidement le fichier correspondant.\nCordialement.\n" +
             P + "\nVotre responsable régional"},
        {ReminderText::E, "STOC-EPS " + kSite + " : rappel du 15/06/2010",
         "Mon cher collègue,\nLa saison STOC-EPS 2010 est maintenant terminée.\nComme je l'espère, vous avez "
         "dû effectuer vos deux passages sur le carré >- " +
             kSite +
             " -<.\nVeuillez me faire parvenir rapidement les fichiers correspondants.\nCordialement.\n" + P +
             "\nVotre responsable régional"},
    };
    for (const auto& g : golden) {
        SCOPED_TRACE(int(g.text));
        const MailText m = reminderMail(g.text, kSite, kToday);
        EXPECT_EQ(m.subject, g.subject);
        EXPECT_EQ(m.body, g.body);
    }
    EXPECT_EQ(reminderMail(ReminderText::None, kSite, kToday), MailText{});
    EXPECT_EQ(circularSubject(kToday), "STOC-EPS : circulaire du 15/06/2010");
    EXPECT_TRUE(entryProgramPage().startsWith("http")) << entryProgramPage().toStdString();
}

TEST(ReminderTexts, TheTextIsChosenByKindAndByTheFilesOfTheCurrentWinter)
{
    using T = ReminderText;
    const struct
    {
        ReminderKind kind;
        T byFiles[4]; // none, one, two, three
    } rows[] = {
        {ReminderKind::SeasonEnd, {T::C, T::A, T::B, T::None}},
        {ReminderKind::FirstPassage, {T::D, T::None, T::D, T::None}},
        {ReminderKind::TwoPassages, {T::E, T::E, T::None, T::None}},
    };
    for (const auto& r : rows)
        for (int files = 0; files < 4; ++files)
            EXPECT_EQ(reminderTextFor(r.kind, files), r.byFiles[files])
                << "kind " << int(r.kind) << ", " << files << " files";
    EXPECT_EQ(reminderTextFor(ReminderKind::SeasonEnd, -1), T::None) << "a cell that is no number";
    EXPECT_EQ(reminderCaption(ReminderKind::TwoPassages), "Courriels relance 2ème passage");
}

TEST(ReminderTexts, OnlyEMailAddressesAreRecipients)
{
    const struct
    {
        QString cell;
        QStringList recipients;
    } cases[] = {
        {"jean.dupont@exemple.example", {"jean.dupont@exemple.example"}},
        {" jean.dupont@exemple.example ", {"jean.dupont@exemple.example"}},
        {"a@exemple.example; b@exemple.example", {"a@exemple.example", "b@exemple.example"}},
        {"04 75 00 00 00", {}},
        {"0475000000", {}},
        {"a@exemple.example; 04 75 00 00 00", {}},
        {"jean.dupont@", {}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(recipientsOf(c.cell), c.recipients) << c.cell.toStdString();
}

// On 15/06/2010 the latest winter is 2009-2010, the one the records of this spring belong to.
TEST_F(ProspectionMailTest, RemindersGoToEachSiteWithAnAddressWordedFromTheCurrentWinter)
{
    using T = ReminderText;
    const struct
    {
        ReminderKind kind;
        QList<std::pair<QString, T>> mails; // place, text, in table order
        int skipped;                        // the site with a telephone number only
    } cases[] = {
        {ReminderKind::SeasonEnd, {{"P0 aucun", T::C}, {"P1 un", T::A}, {"P2 deux", T::B}}, 1},
        {ReminderKind::FirstPassage, {{"P0 aucun", T::D}, {"P2 deux", T::D}}, 0},
        {ReminderKind::TwoPassages, {{"P0 aucun", T::E}, {"P1 un", T::E}}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.kind));
        env.mail().sent.clear();
        const int signOns = env.mail().signOns;
        const MailingOutcome o = sendReminders(table, c.kind);

        ASSERT_EQ(env.mail().sent.size(), c.mails.size());
        for (int i = 0; i < c.mails.size(); ++i) {
            const auto& [place, text] = c.mails[i];
            const platform::RecordingMail::Sent& s = env.mail().sent[i];
            const MailText expected = reminderMail(text, siteOf(place), kToday);
            EXPECT_EQ(s.message.recipients, QStringList{place.left(2).toLower() + "@exemple.example"});
            EXPECT_EQ(s.message.subject, expected.subject);
            EXPECT_EQ(s.message.noteText, expected.body);
            EXPECT_TRUE(s.message.attachments.isEmpty());
            EXPECT_EQ(s.transport, MailTransport::SendAtOnce);
        }
        EXPECT_EQ(o.sent, c.mails.size());
        EXPECT_EQ(env.mail().signOns, signOns + 1);
        EXPECT_FALSE(env.mail().isSignedOn());
        EXPECT_FALSE(o.connectionFailed);
        EXPECT_EQ(o.skipped.size(), c.skipped);
        const QString count = QString::number(c.mails.size()) + " courriels de relance ont été envoyés.";
        if (c.skipped) {
            EXPECT_EQ(o.skipped, QStringList{siteOf("T1 téléphone") + " : 06 12 34 56 78"});
            EXPECT_TRUE(o.message.startsWith(count + "\n\nUn site n'a pas d'adresse courriel"))
                << o.message.toStdString();
            EXPECT_TRUE(o.message.endsWith(siteOf("T1 téléphone") + " : 06 12 34 56 78"));
        } else {
            EXPECT_EQ(o.message, count);
            EXPECT_EQ(o.style, platform::mb::OKOnly);
        }
    }
    EXPECT_TRUE(env.pointer().shapes().isEmpty());
}

TEST_F(ProspectionMailTest, OnlyTheMailsTheServiceAcceptedAreCounted)
{
    env.mail().sendError = "le serveur refuse le message";
    const MailingOutcome o = sendReminders(table, ReminderKind::SeasonEnd);
    EXPECT_EQ(o.sent, 0);
    ASSERT_EQ(o.failures.size(), 3);
    EXPECT_EQ(o.failures[1].address, "p1@exemple.example");
    EXPECT_TRUE(o.message.startsWith("0 courriel de relance ont été envoyés.\n\n"));
    EXPECT_TRUE(o.message.contains(
        "Le courriel à p1@exemple.example n'a pas été envoyé : le serveur refuse le message"));
    EXPECT_EQ(o.style, platform::mb::OKOnly | platform::mb::Exclamation);
    EXPECT_FALSE(env.mail().isSignedOn());
}

TEST_F(ProspectionMailTest, AMailServiceThatCannotBeOpenedIsReportedAndNothingIsSent)
{
    env.mail().hasSendAtOnce = false;
    env.mail().hasComposeWindow = false;
    gbol_Erreur_MAPI = false;
    const MailingOutcome reminders = sendReminders(table, ReminderKind::SeasonEnd);
    EXPECT_TRUE(reminders.connectionFailed);
    EXPECT_TRUE(gbol_Erreur_MAPI);
    EXPECT_EQ(reminders.sent, 0);
    EXPECT_TRUE(reminders.failures.isEmpty());
    EXPECT_TRUE(
        reminders.message.startsWith("0 courriel de relance ont été envoyés.\n\nLa messagerie n'a pas "
                                     "pu être ouverte : aucun courriel n'a été envoyé."))
        << reminders.message.toStdString();

    table.setSelectionMode(grid::Grid::SelectionMode::ListBox);
    table.setRowSelected(rowOf("P1 un"), true);
    const MailingOutcome circular = sendCircular(table);
    EXPECT_TRUE(circular.connectionFailed);
    EXPECT_EQ(circular.message, "La messagerie n'a pas pu être ouverte : aucun courriel n'a été envoyé.");
    EXPECT_TRUE(env.mail().sent.isEmpty());
}

TEST_F(ProspectionMailTest, AnEmptyTableOpensNoMailServiceAndCountsNoMail)
{
    grid::Grid empty;
    fillProspectionGrid(buildProspection({}, kToday), empty);
    const MailingOutcome o = sendReminders(empty, ReminderKind::SeasonEnd);
    EXPECT_EQ(o.message, "0 courriel de relance ont été envoyés.");
    EXPECT_EQ(env.mail().signOns, 0);
}

TEST_F(ProspectionMailTest, TheCircularOpensOneMailToTheSelectedAddressesInTheComposeWindow)
{
    table.setSelectionMode(grid::Grid::SelectionMode::ListBox);
    for (const char* place : {"P0 aucun", "P2 deux", "T1 téléphone", "T0 sans adresse"})
        table.setRowSelected(rowOf(place), true);
    // A second site of the same observer's address gets it once.
    table.setCell(rowOf("P3 trois"), ProspectionContactColumn, "P0@exemple.example");
    table.setRowSelected(rowOf("P3 trois"), true);

    const MailingOutcome o = sendCircular(table);
    ASSERT_EQ(env.mail().sent.size(), 1);
    const platform::RecordingMail::Sent& s = env.mail().sent[0];
    EXPECT_EQ(s.message.recipients, QStringList({"p0@exemple.example", "p2@exemple.example"}));
    EXPECT_EQ(s.message.subject, "STOC-EPS : circulaire du 15/06/2010");
    EXPECT_EQ(s.message.noteText, "");
    EXPECT_EQ(s.transport, MailTransport::ComposeWindow);
    EXPECT_EQ(o.sent, 1);
    EXPECT_EQ(o.skipped, QStringList{siteOf("T1 téléphone") + " : 06 12 34 56 78"});
    EXPECT_TRUE(o.message.startsWith("Un site n'a pas d'adresse courriel")) << o.message.toStdString();
    EXPECT_FALSE(env.mail().isSignedOn());
}

TEST_F(ProspectionMailTest, ACircularWithoutAnySelectedAddressSendsNothing)
{
    const struct
    {
        const char* name;
        QStringList places;
        QString message;
    } cases[] = {
        {"nothing selected", {}, ""},
        {"a site without address", {"T0 sans adresse"}, ""},
        {"a telephone number only", {"T1 téléphone"}, "Un site n'a pas d'adresse courriel"},
    };
    table.setSelectionMode(grid::Grid::SelectionMode::ListBox);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (int r = 1; r < table.rows(); ++r)
            table.setRowSelected(r, c.places.contains(table.rowKey(r).section('~', 2, 2)));
        const MailingOutcome o = sendCircular(table);
        EXPECT_EQ(o.sent, 0);
        if (c.message.isEmpty())
            EXPECT_TRUE(o.message.isEmpty()) << o.message.toStdString();
        else
            EXPECT_TRUE(o.message.startsWith(c.message)) << o.message.toStdString();
    }
    EXPECT_EQ(env.mail().signOns, 0);
    EXPECT_TRUE(env.mail().sent.isEmpty());
}
