// The program's temporary folders: named as its own, locked while in use, and what a killed copy
// left behind removed at the next start, nothing else.

#include "platform/TemporaryFolder.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/time.h>

namespace {

// Gives a folder the last change of an hour ago.
void makeOld(const QString& folder)
{
    const timeval anHourAgo{::time(nullptr) - 3600, 0};
    const timeval times[2] = {anHourAgo, anHourAgo};
    ASSERT_EQ(::utimes(QFile::encodeName(folder).constData(), times), 0);
}

QStringList entries(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

} // namespace

TEST(TemporaryFolder, WhatAKilledCopyLeftGoesAtTheNextStartAndNothingElse)
{
    QTemporaryDir parent;
    const QString p = parent.path();
    // A copy killed midway leaves its folder and its lock file, which no process holds any more.
    const auto leftover = [&](const QString& name, bool withLock, bool old) {
        const QString folder = p + "/" + name;
        EXPECT_TRUE(QDir().mkpath(folder + "/sous-dossier"));
        testing_support::writeBytes(folder + "/sous-dossier/classeur.xlsx", "à moitié écrit");
        if (withLock)
            testing_support::writeBytes(folder + "/.en-cours", "");
        if (old)
            makeOld(folder);
    };
    leftover("mirelot-provisoire-Ab12Cd", true, true);
    leftover("mirelot-provisoire-Ef34Gh", false, true); // killed before its lock was made
    leftover("mirelot-provisoire-Ij56Kl", true, false); // a copy making it at this moment
    leftover("Mirelot-Mn78Op", true, true);             // not a name of the program's
    leftover("mirelot-provisoire-trop-long", true, true);
    testing_support::writeBytes(p + "/mirelot-provisoire-Qr90St", "un fichier");
    platform::TemporaryFolder inUse(p);
    ASSERT_TRUE(inUse.isValid());
    makeOld(inUse.path());

    EXPECT_EQ(platform::removeLeftoverTemporaryFolders(p), 2);
    QStringList expected = {"Mirelot-Mn78Op", "mirelot-provisoire-Ij56Kl", "mirelot-provisoire-Qr90St",
                            "mirelot-provisoire-trop-long", QFileInfo(inUse.path()).fileName()};
    expected.sort();
    EXPECT_EQ(entries(p), expected);
    EXPECT_EQ(entries(inUse.path()), QStringList{".en-cours"});
}
