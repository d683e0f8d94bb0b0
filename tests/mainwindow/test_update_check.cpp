#include "common/Publisher.h"
#include "mainwindow/UpdateCheck.h"
#include "tests/support/TestEnvironment.h"

#include <QUrl>
#include <QUrlQuery>
#include <gtest/gtest.h>

using testing_support::RecordingShell;

struct UpdateCheckTest : ::testing::Test
{
    testing_support::TestEnvironment env;
};

TEST_F(UpdateCheckTest, PageAddressIsBuiltExactly)
{
    const QString url = mainwindow::updatePageUrl();
    EXPECT_EQ(url,
              common::kPublisherSite + "/index_download.php?Organisme=ALL&Logiciel=Mirelot&Version=Z2010G");
    EXPECT_TRUE(url.startsWith("http://")); // the page is not asked for over https
    const QUrl parsed(url);
    ASSERT_TRUE(parsed.isValid());
    EXPECT_EQ(parsed.path(), "/index_download.php");
    const QUrlQuery query(parsed);
    EXPECT_EQ(query.queryItemValue("Organisme"), "ALL");
    EXPECT_EQ(query.queryItemValue("Logiciel"), "Mirelot");
    EXPECT_EQ(query.queryItemValue("Version"), "Z2010G");
}

TEST_F(UpdateCheckTest, PageAddressIgnoresTheStoredVersion)
{
    env.registry().createKey(platform::Hive::LocalMachine, "SOFTWARE\\Mirelot\\Version");
    env.registry().setValue(platform::Hive::LocalMachine, "SOFTWARE\\Mirelot\\Version", "Version",
                            platform::RegValue::fromText("Z1999"));
    EXPECT_TRUE(mainwindow::updatePageUrl().endsWith("&Version=Z2010G"));
}

TEST_F(UpdateCheckTest, ConnectedOpensThePageQuietOrNot)
{
    for (bool quiet : {false, true}) {
        env.shell().calls.clear();
        env.shell().connected = true;
        mainwindow::sub_Retreive_Last_Version(quiet);
        ASSERT_EQ(env.shell().calls.size(), 1);
        EXPECT_EQ(env.shell().calls[0].kind, RecordingShell::Call::Url);
        EXPECT_EQ(env.shell().calls[0].target, mainwindow::updatePageUrl());
    }
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
}

TEST_F(UpdateCheckTest, PageThatCannotOpenIsReportedWithItsAddressUnlessQuiet)
{
    env.shell().succeed = false;
    const QString url = mainwindow::updatePageUrl();
    env.dialogs().answer(platform::mb::OK);
    mainwindow::sub_Retreive_Last_Version(false);
    EXPECT_EQ(env.shell().calls.size(), 1);
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    const auto& box = env.dialogs().asked()[0];
    // The shell's reason as it stands, then the address on a line of its own.
    EXPECT_EQ(box.text, "La page « " + url +
                            " » n'a pas pu être ouverte : aucun navigateur n'est installé.\n\n"
                            "Pour rechercher une mise à jour, ouvrez cette adresse dans un navigateur :\n" +
                            url);
    EXPECT_EQ(box.style, platform::mb::OKOnly | platform::mb::Exclamation);
    EXPECT_EQ(box.title, "Mirelot");

    // The automatic check at start says nothing.
    mainwindow::sub_Retreive_Last_Version(true);
    EXPECT_EQ(env.shell().calls.size(), 2);
    EXPECT_EQ(env.dialogs().asked().size(), 1);
}

TEST_F(UpdateCheckTest, OfflineExplicitCheckTellsOnceQuietCheckSaysNothing)
{
    env.shell().connected = false;
    env.dialogs().answer(platform::mb::OK);
    mainwindow::sub_Retreive_Last_Version(false);
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    const auto& box = env.dialogs().asked()[0];
    EXPECT_EQ(box.text, "Votre connexion Internet n'est pas active. Impossible d'accèder à l'information");
    EXPECT_EQ(box.style, 0); // OK only, no icon
    EXPECT_EQ(box.title, "Mirelot");
    mainwindow::sub_Retreive_Last_Version(true);
    EXPECT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_TRUE(env.shell().calls.isEmpty());
}

TEST(UpdateFrequency, StoredIndexGivesTheFrequency)
{
    struct Row
    {
        int index;
        std::optional<int> frequency;
    };
    const Row rows[] = {{0, 1},
                        {1, 5},
                        {2, 10},
                        {3, std::nullopt},
                        {999, std::nullopt},
                        {7, std::nullopt},
                        {-1, std::nullopt},
                        {4, std::nullopt}};
    for (const Row& r : rows)
        EXPECT_EQ(mainwindow::startsBetweenChecks(r.index), r.frequency) << r.index;
}

TEST(UpdateFrequency, AutomaticCheckFollowsTheCounterAndTheFrequency)
{
    struct Row
    {
        int index;
        double counter;
        bool never;
        bool due;
    };
    const Row rows[] = {
        {0, 1, false, true},
        {0, 2, false, true},
        {0, 37, false, true},
        {1, 4, false, false},
        {1, 5, false, true},
        {1, 6, false, false},
        {1, 10, false, true},
        {1, 15, false, true},
        {2, 5, false, false},
        {2, 10, false, true},
        {2, 20, false, true},
        {2, 25, false, false},
        {3, 10, true, false},
        {3, 1, true, false},
        // the run on which the question was first answered Yes: item 0 checked, frequency unknown
        {999, 1, false, false},
        {999, 5, false, false},
        {0, 5, true, false}, // "Jamais" checked wins
        // the counter is taken as a 32-bit integer, a half to the even neighbour
        {1, 4.5, false, false},
        {1, 5.4, false, true},
        {1, 5.5, false, false},
        {1, 9.5, false, true},
        {0, 3e10, false, false}, // beyond 32 bits: no check
        {1, 2147483645.0, false, true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(mainwindow::isAutoCheckDue(r.counter, mainwindow::startsBetweenChecks(r.index), r.never),
                  r.due)
            << "index " << r.index << " counter " << r.counter;
}
