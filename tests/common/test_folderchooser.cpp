#include "common/FolderChooser.h"
#include "common/Frm_Selection_dossier.h"
#include "common/Globals.h"
#include "platform/Drives.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

namespace mb = platform::mb;
namespace drive = platform::drive;

TEST(DriveTypes, FileSystemsAndLabels)
{
    struct Row
    {
        const char* fs;
        bool removable;
        int type;
        const char* label;
        bool mayCreate;
    };
    const Row rows[] = {
        {"ext4", false, drive::Fixed, "Disque dur (fixe)", true},
        {"btrfs", false, drive::Fixed, "Disque dur (fixe)", true},
        {"vfat", true, drive::Removable, "Disque extractible", false},
        {"nfs4", false, drive::Remote, "Unité réseau", true},
        {"cifs", false, drive::Remote, "Unité réseau", true},
        {"fuse.sshfs", false, drive::Remote, "Unité réseau", true},
        {"iso9660", true, drive::CdRom, "CD-Rom", false},
        {"udf", false, drive::CdRom, "CD-Rom", false},
        {"tmpfs", false, drive::RamDisk, "Unité virtuelle (RAM)", false},
        {"ramfs", false, drive::RamDisk, "Unité virtuelle (RAM)", false},
        {"", false, drive::Unknown, "Type d'unité inconnu", false},
    };
    for (const Row& r : rows) {
        const int type = platform::driveTypeOf(r.fs, r.removable);
        EXPECT_EQ(type, r.type) << r.fs;
        EXPECT_EQ(common::driveTypeCaption(type, "/media/x"), QString::fromUtf8(r.label)) << r.fs;
    }
    EXPECT_EQ(common::driveTypeCaption(drive::Removable, "a:\\"), "Disquette");
    EXPECT_EQ(common::driveTypeCaption(drive::Removable, "B:\\"), "Disquette");
    EXPECT_EQ(common::driveTypeCaption(drive::Removable, "C:\\"), "Disque extractible");
    EXPECT_EQ(common::driveTypeCaption(drive::NoRoot, "/"), "L'unité n'existe pas");
    EXPECT_EQ(common::driveTypeCaption(9, "/"), "");
    EXPECT_EQ(common::cleanedFolder("  /a/b/../c/ "), "/a/c");
    EXPECT_EQ(common::cleanedFolder("   "), "");
}

TEST(StartingFolder, TheFolderHandedOverThenTheLastChoiceThenTheRoot)
{
    testing_support::TestEnvironment env;
    const QString data = env.dataFolder();
    const QString other = env.programFolder();
    struct Row
    {
        const char* name;
        QString dossier;
        QString dernier;
        QString attendu;
    };
    const Row rows[] = {
        {"the current data folder", data, other, data},
        {"a folder still to be made: its nearest parent", data + "/a/b", "", data},
        {"none handed over: the folder chosen last", "  ", other, other},
        {"no part of it exists: the root", "", "/mirelot-never-made/a/b", QDir::rootPath()},
    };
    for (const Row& r : rows)
        EXPECT_EQ(common::startFolder(r.dossier, r.dernier), r.attendu) << r.name;
}

TEST(DesktopPlace, OnlyADesktopFolderThatExists)
{
    testing_support::TestEnvironment env;
    const QString desktop = env.path("home/Desktop");
    ASSERT_TRUE(QDir().mkpath(desktop));
    struct Row
    {
        const char* name;
        QString location;
        QString attendu;
    };
    const Row rows[] = {
        {"an existing folder", desktop + "/", desktop},
        {"a missing folder", env.path("home/Schreibtisch"), ""},
        {"a file", env.path("home/Desktop/notes.txt"), ""},
        {"none", "", ""},
    };
    testing_support::writeBytes(env.path("home/Desktop/notes.txt"), "notes");
    for (const Row& r : rows)
        EXPECT_EQ(common::desktopFolder(r.location), r.attendu) << r.name;
}

struct ChooserTest : ::testing::Test
{
    testing_support::TestEnvironment env;
    std::unique_ptr<Frm_Selection_dossier> dlg;
    void open()
    {
        dlg = std::make_unique<Frm_Selection_dossier>();
        dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
    }
    void type(const QString& text)
    {
        dlg->txt_Dossier->clear();
        QTest::keyClicks(dlg->txt_Dossier, text);
    }
};

TEST_F(ChooserTest, SelectAnExistingFolderStoresTheCleanedPath)
{
    open();
    type("  " + env.dataFolder() + "/../Donnees/ ");
    QTest::mouseClick(dlg->cmd_Selectionner, Qt::LeftButton);
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(gstr_Dossier_Choisi, env.dataFolder());
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
}

TEST_F(ChooserTest, SelectAMissingFolderAsksAndCreatesEveryLevel)
{
    open();
    const QString deep = env.path("a/b/c");
    type(deep);
    env.dialogs().answer(mb::Cancel);
    QTest::mouseClick(dlg->cmd_Selectionner, Qt::LeftButton);
    EXPECT_TRUE(dlg->isVisible()); // refused: stays open
    EXPECT_FALSE(QDir(deep).exists());
    env.dialogs().answer(mb::OK);
    QTest::mouseClick(dlg->cmd_Selectionner, Qt::LeftButton);
    EXPECT_TRUE(QDir(deep).exists());
    EXPECT_EQ(gstr_Dossier_Choisi, deep);
}

TEST_F(ChooserTest, CancelAndCloseBoxClearThePreviousChoice)
{
    for (const bool closeBox : {false, true}) {
        gstr_Dossier_Choisi = env.dataFolder();
        open();
        EXPECT_EQ(dlg->currentFolder(), env.dataFolder()); // starts at the folder chosen last
        if (closeBox)
            dlg->close();
        else
            QTest::mouseClick(dlg->cmd_Annuler, Qt::LeftButton);
        EXPECT_EQ(dlg->result(), QDialog::Rejected);
        EXPECT_EQ(gstr_Dossier_Choisi, "");
    }
}

TEST_F(ChooserTest, OpensAtTheFolderItIsHanded)
{
    // The settings window hands over the current data folder: the tree opens there.
    QString tree, box;
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* chooser = qobject_cast<Frm_Selection_dossier*>(QApplication::activeModalWidget());
        if (!chooser)
            return;
        shown = true;
        tree = chooser->currentFolder();
        box = chooser->txt_Dossier->text();
        chooser->reject();
    });
    EXPECT_EQ(Frm_Selection_dossier::choose(nullptr, "Mirelot", env.dataFolder()), "");
    ASSERT_TRUE(shown);
    EXPECT_EQ(tree, env.dataFolder());
    EXPECT_EQ(box, env.dataFolder());
}

TEST_F(ChooserTest, NewFolderCreatesLevelsAndSelectsIt)
{
    open();
    // On an existing folder: nothing happens, no question.
    type(env.dataFolder());
    if (dlg->cmd_New->isEnabled())
        QTest::mouseClick(dlg->cmd_New, Qt::LeftButton);
    EXPECT_TRUE(env.dialogs().asked().isEmpty());

    const QString deep = env.path("x/y/z");
    type(deep);
    dlg->cmd_New->setEnabled(true); // the temporary folder may lie on a RAM disk
    env.dialogs().answer(mb::OK);
    QTest::mouseClick(dlg->cmd_New, Qt::LeftButton);
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(env.dialogs().asked()[0].text,
              "Le dossier " + deep + " n'existe pas.\n\nVoulez-vous le créer maintenant ?");
    EXPECT_TRUE(QDir(deep).exists());
    EXPECT_EQ(dlg->currentFolder(), deep);
    EXPECT_EQ(dlg->txt_Dossier->text(), deep);
}

TEST_F(ChooserTest, DesktopPlaceFillsTheDesktopFolder)
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    ASSERT_TRUE(desktop.startsWith(env.path("home")));
    ASSERT_TRUE(QDir().mkpath(desktop)); // the place is offered where there is a desktop
    open();
    QListWidgetItem* bureau = dlg->placesList->item(0);
    ASSERT_EQ(bureau->text(), "Bureau");
    const QRect r = dlg->placesList->visualItemRect(bureau);
    QTest::mouseClick(dlg->placesList->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(dlg->txt_Dossier->text(), QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    // An empty box is refused.
    type("");
    dlg->Fol_Select->setCurrentIndex(QModelIndex());
    QTest::mouseClick(dlg->cmd_Selectionner, Qt::LeftButton);
    EXPECT_TRUE(dlg->isVisible());
}

// Enter chooses the folder shown, with the focus where the chooser puts it and wherever Tab
// takes it; without a desktop folder no desktop place is offered.
TEST_F(ChooserTest, EnterChoosesTheFolderShown)
{
    for (const int tabs : {0, 1, 2}) { // the places, the tree, the folder box
        SCOPED_TRACE(tabs);
        gstr_Dossier_Choisi.clear();
        env.dialogs().clearAsked();
        dlg = std::make_unique<Frm_Selection_dossier>();
        dlg->openAt(env.dataFolder());
        dlg->show();
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
        EXPECT_TRUE(dlg->placesList->findItems("Bureau", Qt::MatchExactly).isEmpty());
        for (int i = 0; i < tabs; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_TRUE(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(dlg->result(), QDialog::Accepted);
        EXPECT_EQ(gstr_Dossier_Choisi, env.dataFolder());
        EXPECT_TRUE(env.dialogs().asked().isEmpty()) << env.dialogs().texts().join('|').toStdString();
    }
}
