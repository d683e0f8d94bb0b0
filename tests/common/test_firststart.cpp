#include "common/FirstStart.h"
#include "common/Globals.h"
#include "common/Settings.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace mb = platform::mb;
using testing_support::readBytes;
using testing_support::writeBytes;

TEST(SplitPath, Table)
{
    struct Row
    {
        const char* in;
        common::PathParts out;
    };
    const Row rows[] = {
        {"C:\\Mirelot", {"C:", "", "Mirelot", ""}},
        {"D:\\Data\\rel.FLX2009", {"D:", "\\Data", "rel", "FLX2009"}},
        {"C:\\", {"C:", "", "\\", ""}},
        {"C:\\Mirelot\\", {"C:", "", "Mirelot\\", ""}},
        {"archive.tar.gz", {"", "", "archive.tar", "gz"}},
        {"C:\\dir.x\\file", {"C:", "\\dir.x", "file", ""}},
        {"name.", {"", "", "name", ""}},
        {"", {"", "", "", ""}},
        {"   ", {"", "", "", ""}},
        {"  D:\\Data\\rel.FLX2009  ", {"D:", "\\Data", "rel", "FLX2009"}},
        // The same rules with "/".
        {"/home/u/Mirelot", {"", "/home/u", "Mirelot", ""}},
        {"/home/u/Relevés/SHOC-X~Passage 1.FLX2009", {"", "/home/u/Relevés", "SHOC-X~Passage 1", "FLX2009"}},
        {"/Mirelot", {"", "", "Mirelot", ""}},
        {"/", {"", "", "/", ""}},
        {"/home/dir.x/file", {"", "/home/dir.x", "file", ""}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(sub_Split_Path(QString::fromUtf8(r.in)), r.out) << r.in;
    // A name of 256 characters is too long for a separator to count.
    const common::PathParts longName = sub_Split_Path("/d/" + QString(256, 'n'));
    EXPECT_EQ(longName.folder, "");
    EXPECT_EQ(sub_Split_Path("/d/" + QString(255, 'n')).name, QString(255, 'n'));
}

struct FolderTest : ::testing::Test
{
    testing_support::TestEnvironment env;
};

TEST_F(FolderTest, VerifDossier)
{
    // Bare roots: refused without a question.
    EXPECT_EQ(sub_Vérif_Dossier("/"), -1);
    EXPECT_EQ(sub_Vérif_Dossier("C:\\"), -1);
    EXPECT_EQ(sub_Vérif_Dossier("  "), -1);
    // Existing folder: accepted without a question, current folder unchanged.
    const QString cwd = QDir::currentPath();
    EXPECT_EQ(sub_Vérif_Dossier(env.dataFolder()), 0);
    EXPECT_EQ(QDir::currentPath(), cwd);
    // Missing folder, OK: every level created.
    const QString deep = env.path("A/B/C");
    env.dialogs().answer(mb::OK);
    EXPECT_EQ(sub_Vérif_Dossier(deep), 0);
    EXPECT_TRUE(QDir(deep).exists());
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(env.dialogs().asked()[0].text,
              "Le dossier " + deep + " n'existe pas.\n\nVoulez-vous le créer maintenant ?");
    EXPECT_EQ(env.dialogs().asked()[0].style, 1);
    // Missing folder, Cancel: nothing created.
    env.dialogs().answer(mb::Cancel);
    EXPECT_EQ(sub_Vérif_Dossier(env.path("X/Y")), -1);
    EXPECT_FALSE(QDir(env.path("X")).exists());
    // A file where a folder is expected.
    QFile f(env.path("fichier"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    env.dialogs().answer(mb::OK);
    EXPECT_EQ(sub_Vérif_Dossier(env.path("fichier")), -1);
    EXPECT_EQ(env.dialogs().asked().last().text, "Problème sur le dossier " + env.path("fichier"));
}

TEST_F(FolderTest, ProbeCreatesEveryLevelAndLeavesTheUsersFilesAlone)
{
    struct Row
    {
        const char* name;
        const char* folder;
        const char* existing; // a probe-named file already there, or nullptr
        bool ok;
    };
    const Row rows[] = {
        {"missing levels are created", "a/b/c", nullptr, true},
        {"existing empty folder", "vide", nullptr, true},
        {"a file of the probe's name is the user's", "avec", "notes de terrain", true},
        {"a file where the folder should be", "bloque/x", nullptr, false},
    };
    writeBytes(env.path("bloque"), "pas un dossier");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const QString folder = env.path(QString::fromUtf8(r.folder));
        const QString probe = folder + "/textbellorin.txt";
        if (r.existing) {
            QDir().mkpath(folder);
            writeBytes(probe, r.existing);
        }
        const platform::Result probed = common::probeFolder(folder);
        EXPECT_EQ(probed.ok, r.ok);
        EXPECT_EQ(probed.error.isEmpty(), r.ok);
        EXPECT_EQ(QDir(folder).exists(), r.ok);
        if (r.existing) {
            EXPECT_EQ(readBytes(probe), QByteArray(r.existing));
        }
        if (r.ok) {
            EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
                      r.existing ? QStringList{"textbellorin.txt"} : QStringList())
                << "the probe stays behind";
        }
    }
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
}

TEST_F(FolderTest, ProbeOnAFullDiskSaysSoAndLeavesNothing)
{
    const QString folder = env.path("plein");
    platform::Result probe = platform::Result::success();
    {
        testing_support::FileSizeLimit limit(0);
        probe = common::probeFolder(folder);
    }
    EXPECT_FALSE(probe);
    EXPECT_EQ(probe.error,
              "Aucun fichier ne peut être écrit dans le dossier « " + folder + " » : le disque est plein.");
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

struct InitTest : FolderTest
{
    QString proposed() const { return env.userHome() + "/Mirelot"; }
    QString folderSetting() { return fun_Get_Setting_Str("Paramètres", "Dossier", "????????"); }
    void expectStamp()
    {
        EXPECT_EQ(fun_Get_Setting_Str("Version", "Version", "?"), "Z2010");
        EXPECT_EQ(fun_Get_Setting_Str("Version", "Release", "?"), "G");
    }
    common::FolderChoice chooser(const QString& answer)
    {
        return [this, answer](const QString& caption, const QString& folder) {
            captions << caption << folder;
            return answer;
        };
    }
    QStringList captions;
};

TEST_F(InitTest, FirstStartYesCreatesTheProposedFolder)
{
    env.dialogs().answer(mb::Yes);
    EXPECT_EQ(sub_Init_Version_Dossier(nullptr), common::StartOutcome::Continue);
    EXPECT_EQ(gstr_Dossier, proposed());
    EXPECT_EQ(folderSetting(), proposed());
    EXPECT_TRUE(QDir(proposed()).exists());
    EXPECT_FALSE(QFile::exists(proposed() + "/textbellorin.txt"));
    expectStamp();
    const auto& box = env.dialogs().asked().at(0);
    EXPECT_EQ(box.style, 35);
    EXPECT_EQ(box.title, "Mirelot");
    EXPECT_TRUE(box.text.startsWith("Premier démarrage de Mirelot\n\nDésignation du dossier"));
    EXPECT_TRUE(
        box.text.contains("nous vous proposons de le nommer " + proposed() + ".\n\n\nSouhaitez-vous"));
    // The next start asks nothing.
    EXPECT_EQ(sub_Init_Version_Dossier(nullptr), common::StartOutcome::Continue);
    EXPECT_EQ(env.dialogs().asked().size(), 1);
}

TEST_F(InitTest, FirstStartNoUsesTheChooser)
{
    const QString chosen = env.path("Mes relevés/2026");
    env.dialogs().answer(mb::No);
    EXPECT_EQ(sub_Init_Version_Dossier(chooser("  " + chosen + "/  ")), common::StartOutcome::Continue);
    EXPECT_EQ(captions, QStringList({"Mirelot - Sélection du dossier dédié à Mirelot", proposed()}));
    EXPECT_EQ(gstr_Dossier, chosen);
    EXPECT_EQ(folderSetting(), chosen);
}

TEST_F(InitTest, CancelOrEmptyChooserEndsAndTheNextStartAsksAgain)
{
    env.dialogs().answer(mb::Cancel);
    EXPECT_EQ(sub_Init_Version_Dossier(nullptr), common::StartOutcome::Quit);
    env.dialogs().answer(mb::No);
    EXPECT_EQ(sub_Init_Version_Dossier(chooser("")), common::StartOutcome::Quit);
    EXPECT_EQ(gstr_Dossier_Choisi, "");
    EXPECT_EQ(folderSetting(), "????????");
    // The version is stamped, yet the next start still asks: no folder is recorded.
    env.dialogs().answer(mb::Yes);
    EXPECT_EQ(sub_Init_Version_Dossier(nullptr), common::StartOutcome::Continue);
    EXPECT_EQ(folderSetting(), proposed());
}

TEST_F(InitTest, UnwritableFolderIsReportedAndAskedAgain)
{
    // The proposed folder's place is taken by a file: it cannot be created.
    QFile blocker(proposed());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString chosen = env.path("ailleurs");
    env.dialogs().answer(mb::Yes); // proposed folder: fails
    env.dialogs().answer(mb::OK);  // the report
    env.dialogs().answer(mb::No);  // asked again: choose
    EXPECT_EQ(sub_Init_Version_Dossier(chooser(chosen)), common::StartOutcome::Continue);
    EXPECT_EQ(folderSetting(), chosen);
    EXPECT_TRUE(
        env.dialogs().asked()[1].text.startsWith("Le dossier " + proposed() + " ne peut pas être créé"));
}

TEST_F(InitTest, RecordedFolderRenameProposal)
{
    struct Row
    {
        const char* name;
        int answer;
        bool blockTarget;
        bool moved;
    };
    const Row rows[] = {{"accepted", mb::Yes, false, true},
                        {"refused", mb::No, false, false},
                        {"rename fails", mb::Yes, true, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        testing_support::TestEnvironment local;
        const QString old = local.path("Data");
        const QString standard = local.userHome() + "/Mirelot";
        QDir().mkpath(old);
        QFile rec(old + "/SHOC-X~Passage 1.FLX2009");
        ASSERT_TRUE(rec.open(QIODevice::WriteOnly));
        rec.close();
        if (r.blockTarget)
            QDir().mkpath(standard + "/occupé");
        EXPECT_TRUE(sub_Reg_Write_HKLM("Paramètres", "Dossier", old));
        local.dialogs().answer(r.answer);
        if (r.blockTarget)
            local.dialogs().answer(mb::OK);
        EXPECT_EQ(sub_Init_Version_Dossier(nullptr), common::StartOutcome::Continue);
        const QString expected = r.moved ? standard : old;
        EXPECT_EQ(gstr_Dossier, expected);
        EXPECT_EQ(fun_Get_Setting_Str("Paramètres", "Dossier", "?"), expected);
        EXPECT_TRUE(QFile::exists(expected + "/SHOC-X~Passage 1.FLX2009"));
        const auto& box = local.dialogs().asked().at(0);
        EXPECT_EQ(box.style, 36);
        EXPECT_EQ(box.title, "Nouvelle version de Tessilon");
        EXPECT_TRUE(box.text.endsWith("EPS \n" + old + " en le nommant " + standard +
                                      "\n\nAcceptez-vous cette modificaition ?"));
        if (r.blockTarget) {
            EXPECT_TRUE(local.dialogs().asked().at(1).text.contains("n'a pas pu être renommé"));
        }
    }
}

TEST_F(InitTest, StandardFolderAlreadyRecordedAsksNothing)
{
    EXPECT_TRUE(sub_Reg_Write_HKLM("Paramètres", "Dossier", proposed()));
    EXPECT_EQ(sub_Init_Version_Dossier(nullptr), common::StartOutcome::Continue);
    EXPECT_EQ(gstr_Dossier, proposed());
    expectStamp();
}
