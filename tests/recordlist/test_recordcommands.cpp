#include "common/Globals.h"
#include "common/Paths.h"
#include "grid/Grid.h"
#include "platform/Dialogs.h"
#include "recordlist/RecordCommands.h"
#include "recordlist/RecordListing.h"
#include "tests/samples/ListSamples.h"
#include "tests/support/RawNames.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace recordlist;
using record::RecordMode;
namespace mb = platform::mb;

namespace {

class RecordCommandsTest : public ::testing::Test
{
protected:
    testing_support::TestEnvironment env;
    QStringList files() const { return QDir(env.dataFolder()).entryList(QDir::Files, QDir::Name); }
};

const QString kNota =
    QStringLiteral("\n\nNota : la suppression consiste en fait au changement de nom du fichier "
                   "qui sera renommé selon la règle suivante : les tirets inclus dans le nom "
                   "du fichier seront remplacés par des @");

} // namespace

TEST_F(RecordCommandsTest, NewRecordChoicesAskAndGiveTheRecordWindowItsRequest)
{
    const QString confirmSite = "Confirmez votre intention d'ajouter un relevé dans le site SHOC-A";
    const struct
    {
        const char* name;
        NewRecordChoice choice;
        QString site;
        int answer; // 0: no box answered
        QString box;
        int style;
        std::optional<RecordRequest> request;
        bool siteMissing;
    } cases[] = {
        {"new site, yes", NewRecordChoice::NewSite, "SHOC-A", mb::Yes,
         "Confirmez votre intention de créer un nouveau site", mb::YesNo | mb::Exclamation,
         RecordRequest{RecordMode::New, "", ""}, false},
        {"new site, no", NewRecordChoice::NewSite, "", mb::No,
         "Confirmez votre intention de créer un nouveau site", mb::YesNo | mb::Exclamation, std::nullopt,
         false},
        {"new passage, yes", NewRecordChoice::NewPassage, "SHOC-A", mb::Yes, confirmSite, mb::YesNo,
         RecordRequest{RecordMode::NewPassage, "", "SHOC-A"}, false},
        {"next winter, yes", NewRecordChoice::NextWinter, "SHOC-A", mb::Yes, confirmSite, mb::YesNo,
         RecordRequest{RecordMode::NextWinter, "", "SHOC-A"}, false},
        {"next winter, no", NewRecordChoice::NextWinter, "SHOC-A", mb::No, confirmSite, mb::YesNo,
         std::nullopt, false},
        {"new passage without a site", NewRecordChoice::NewPassage, "", mb::OK, "Veuillez choisir un carré",
         mb::OKOnly, std::nullopt, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        env.dialogs().clearAsked();
        env.dialogs().answer(c.answer);
        const NewRecordAnswer a = confirmNewRecord(c.choice, c.site);
        EXPECT_EQ(a.request, c.request);
        EXPECT_EQ(a.siteMissing, c.siteMissing);
        ASSERT_EQ(env.dialogs().asked().size(), 1);
        EXPECT_EQ(env.dialogs().asked()[0].text, c.box);
        EXPECT_EQ(env.dialogs().asked()[0].style, c.style);
        EXPECT_EQ(env.dialogs().asked()[0].title, common::kProgramName);
    }
}

TEST_F(RecordCommandsTest, ModifyOpensTheLinesFileAfterConfirmation)
{
    const QString name = "SHOC-A~Passage N1.FLX2009";
    EXPECT_EQ(confirmModify("", "SHOC-A"), std::nullopt);
    EXPECT_EQ(confirmModify(name, "NON ATTRIBUE"), std::nullopt);
    EXPECT_TRUE(env.dialogs().asked().isEmpty()) << "nothing asked for those lines";

    env.dialogs().answer(mb::No);
    EXPECT_EQ(confirmModify(name, "SHOC-A"), std::nullopt);
    env.dialogs().answer(mb::Yes);
    EXPECT_EQ(confirmModify(name, "SHOC-A"), (RecordRequest{RecordMode::Update, name, "SHOC-A"}));
    EXPECT_EQ(env.dialogs().texts(), QStringList(2, "Confirmez votre intention de modifier l'EPS " + name));
}

TEST_F(RecordCommandsTest, DeletionSetsAsideExactlyTheRowsSelected)
{
    const QStringList names = {"SHOC-A~Passage N1.FLX2009", "SHOC-B~Passage N1.FLX2009",
                               "SHOC-C~Passage N1.FLX2009", "SHOC-D~Passage N1.FLX2009"};
    for (const QString& n : names)
        list_samples::writeRecord(env.dataFolder(), n, list_samples::recordOf(1, "01/12/2009"));
    grid::Grid g;
    fillListGrid(readListing(env.dataFolder()), g, ListSort());
    g.setSelectionMode(grid::Grid::SelectionMode::ListBox);
    g.setRowSelected(1, true);
    g.setRowSelected(3, true); // Ctrl-click: B (row 2) is not selected
    const QStringList selected = selectedFileNames(g);
    ASSERT_EQ(selected, QStringList({names[0], names[2]}));

    const record::RecordStore store(env.dataFolder());
    env.dialogs().answer(mb::No);
    EXPECT_FALSE(deleteRecords(store, selected).confirmed);
    EXPECT_EQ(files(), names);

    env.dialogs().clearAsked();
    env.dialogs().answer(mb::Yes);
    env.dialogs().answer(mb::OK);
    const DeletionOutcome out = deleteRecords(store, selected);
    EXPECT_TRUE(out.listChanged());
    EXPECT_EQ(out.setAside, selected);
    EXPECT_EQ(files(), QStringList({"SHOC-B~Passage N1.FLX2009", "SHOC-D~Passage N1.FLX2009",
                                    "SHOC@A~Passage N1.FLX2009", "SHOC@C~Passage N1.FLX2009"}));
    ASSERT_EQ(env.dialogs().asked().size(), 2);
    EXPECT_EQ(env.dialogs().asked()[0].text, "Confirmez votre intention de supprimer 2 relevés SHOC" + kNota);
    EXPECT_EQ(env.dialogs().asked()[0].style, mb::YesNo | mb::Question);
    EXPECT_EQ(env.dialogs().asked()[0].title, "SHOC - Suppression d'un relevé");
    EXPECT_EQ(env.dialogs().asked()[1].text, "Suppression effectuée");
    EXPECT_EQ(env.dialogs().asked()[1].style, mb::OKOnly | mb::Information);
}

TEST_F(RecordCommandsTest, DeletionOfOneFileNamesItAndAFailureIsToldWithItsReason)
{
    const QString b = "SHOC-B~Passage N1.FLX2009";
    list_samples::writeRecord(env.dataFolder(), b, list_samples::recordOf(1, "01/12/2009"));
    EXPECT_EQ(deletionQuestion({b}), "Confirmez votre intention de supprimer le relevé SHOC " + b + kNota);

    // One file gone meanwhile: the other is set aside all the same, the box says why.
    const record::RecordStore store(env.dataFolder());
    env.dialogs().answer(mb::Yes);
    env.dialogs().answer(mb::OK);
    const DeletionOutcome out = deleteRecords(store, {"SHOC-A~Passage N1.FLX2009", b});
    EXPECT_EQ(out.setAside, QStringList({b}));
    ASSERT_EQ(out.failures.size(), 1);
    EXPECT_EQ(files(), QStringList({"SHOC@B~Passage N1.FLX2009"}));
    const auto& told = env.dialogs().asked().last();
    EXPECT_EQ(told.text, "Erreur de suppression : " + out.failures[0]);
    EXPECT_TRUE(told.text.contains("SHOC-A~Passage N1.FLX2009"));
    EXPECT_EQ(told.style, mb::OKOnly | mb::Critical);

    EXPECT_FALSE(deleteRecords(store, {}).confirmed) << "no selection, no question";
}

// A file of the data folder whose name holds "\\" is taken by its name, never as a path: it is
// not listed, and deleting it is refused; nothing outside the data folder changes.
TEST_F(RecordCommandsTest, ANameThatWouldLeadOutOfTheDataFolderIsRefusedWithItsReason)
{
    const QString leading = "SHOC-x\\..\\..\\victime-fichier.FLX2009";
    const QString kept = "SHOC-A~Passage N1.FLX2009";
    for (const QString& n : {leading, kept})
        list_samples::writeRecord(env.dataFolder(), n, list_samples::recordOf(1, "01/12/2009"));
    testing_support::writeBytes(env.path("victime-fichier.FLX2009"), "à garder tel quel");
    const auto outside = env.filesOutsideDataFolder();

    const Listing listing = readListing(env.dataFolder());
    env.dialogs().answer(mb::Yes);
    env.dialogs().answer(mb::OK);
    const DeletionOutcome out = deleteRecords(record::RecordStore(env.dataFolder()), {leading});
    EXPECT_EQ(env.filesOutsideDataFolder(), outside);
    EXPECT_EQ(files(), QStringList({kept, leading}));

    const QString reason = common::checkPlainName(env.dataFolder(), leading).error;
    ASSERT_EQ(listing.rows.size(), 1);
    EXPECT_EQ(listing.rows[0].summary.fileName, kept);
    EXPECT_EQ(listing.unreadable, QList<UnreadFile>({{leading, reason}}));
    EXPECT_EQ(out.failures, QStringList{reason});
    EXPECT_EQ(env.dialogs().asked().last().text, "Erreur de suppression : " + reason);
}

// A record file whose name is in Latin-1 (an older system's "É") is not listed, the reason told,
// and deleting it is refused: the file whose UTF-8 name shows "\uFFFD" in the same place is never
// taken for it.
TEST_F(RecordCommandsTest, ANameThatIsNotUtf8IsLeftOutOfTheListAndNeverTakenForAnother)
{
    const QString d = env.dataFolder();
    list_samples::writeRecord(d, "latin", list_samples::recordOf(1, "01/12/2009"));
    const testing_support::BytesNamedFile latin1(d + "/latin", d, "SHOC-26~\xC9tang~Passage N1.FLX2009");
    const QString latin = QString("SHOC-26~") + QChar(0xDCC9) + "tang~Passage N1.FLX2009";
    const QString replacement = QString("SHOC-26~") + QChar::ReplacementCharacter + "tang~Passage N1.FLX2009";
    list_samples::writeRecord(d, replacement, list_samples::recordOf(1, "02/12/2009"));
    const QList<QByteArray> before = testing_support::namesAsBytes(d);

    const Listing listing = readListing(d);
    ASSERT_EQ(listing.rows.size(), 1);
    EXPECT_EQ(listing.rows[0].summary.fileName, replacement);
    EXPECT_EQ(listing.rows[0].summary.date, "02/12/2009");
    const QString reason = common::checkPlainName(d, latin).error;
    EXPECT_TRUE(reason.contains("n'est pas écrit en UTF-8")) << reason.toStdString();
    EXPECT_EQ(listing.unreadable, QList<UnreadFile>({{latin, reason}}));

    const record::RecordStore store(d);
    env.dialogs().answer(mb::Yes);
    env.dialogs().answer(mb::OK);
    const DeletionOutcome refused = deleteRecords(store, {latin});
    EXPECT_EQ(refused.failures, QStringList{reason});
    EXPECT_EQ(testing_support::namesAsBytes(d), before);

    // The other file is itself, and goes alone.
    env.dialogs().answer(mb::Yes);
    env.dialogs().answer(mb::OK);
    EXPECT_EQ(deleteRecords(store, {replacement}).setAside, QStringList{replacement});
    EXPECT_EQ(testing_support::namesAsBytes(d),
              QList<QByteArray>({"SHOC-26~\xC9tang~Passage N1.FLX2009",
                                 QString("SHOC@26~\uFFFDtang~Passage N1.FLX2009").toUtf8()}));
}
