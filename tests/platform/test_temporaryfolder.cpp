// The program's temporary folders and the temporary files of its saves: named as its own, locked
// while in use, and what a killed copy left behind removed at the next start, nothing else.

#include "platform/SaveFile.h"
#include "platform/TemporaryFolder.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// Gives a folder the last change of an hour ago.
void makeOld(const QString& folder)
{
    const timeval anHourAgo{::time(nullptr) - 3600, 0};
    const timeval times[2] = {anHourAgo, anHourAgo};
    ASSERT_EQ(::lutimes(QFile::encodeName(folder).constData(), times), 0);
}

QStringList entries(const QString& folder)
{
    QStringList names =
        QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
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

// A save killed midway leaves its hidden temporary file beside the target. At the next start it
// goes, once a minute old; a save still writing its own (locked) is never disturbed, and a file,
// folder, link or pipe that only looks like one is kept.
TEST(TemporaryFolder, TheSaveFilesAKilledCopyLeftGoAtTheNextStartAndNothingElse)
{
    QTemporaryDir parent;
    const QString p = parent.path();
    const auto file = [&](const QString& name, bool old) {
        testing_support::writeBytes(p + "/" + name, "un relevé à moitié écrit");
        if (old)
            makeOld(p + "/" + name);
    };
    file(".mirelot-Ab12Cd", true);
    file(".mirelot-xyzXYZ", true);
    file(".mirelot-Ef34Gh", false); // a save making it at this moment
    for (const char* notOurs : {".mirelot-abc", ".mirelot-Ab12Cd7", ".mirelot-Ab-2Cd", ".Mirelot-Ab12Cd",
                                "mirelot-Ab12Cd", ".mirelot-Ab12C\u00e9"})
        file(notOurs, true);
    ASSERT_TRUE(QDir().mkpath(p + "/.mirelot-Ij56Kl"));
    makeOld(p + "/.mirelot-Ij56Kl");
    QTemporaryDir elsewhere;
    testing_support::writeBytes(elsewhere.path() + "/cible", "un fichier d'ailleurs");
    makeOld(elsewhere.path() + "/cible");
    ASSERT_TRUE(QFile::link(elsewhere.path() + "/cible", p + "/.mirelot-Mn78Op"));
    makeOld(p + "/.mirelot-Mn78Op");
    ASSERT_EQ(::mkfifo(QFile::encodeName(p + "/.mirelot-Qr90St").constData(), 0600), 0);
    makeOld(p + "/.mirelot-Qr90St");
    const QStringList before = entries(p);

    // A save under way: its temporary file is locked, whatever its age. (Named here, as on a file
    // system that cannot make a file without a name until it is renamed into place.)
    int removedMeanwhile = -1;
    QStringList whileWriting;
    const platform::Result saved = platform::saveFile(p + "/relevé.FLX2009", [&](QIODevice& out) {
        auto* file = qobject_cast<QFile*>(&out);
        if (!file || file->fileName().isEmpty())
            return platform::Result::failure(QStringLiteral("pas de fichier provisoire"));
        whileWriting = entries(p);
        removedMeanwhile = platform::removeLeftoverSaveFiles(p, std::chrono::seconds(0));
        return out.write("écrit") == qint64(qstrlen("écrit")) ? platform::Result::success()
                                                              : platform::Result::failure(QString());
    });
    ASSERT_TRUE(saved.ok) << saved.error.toStdString();
    EXPECT_EQ(testing_support::readBytes(p + "/relevé.FLX2009"), "écrit");
    // Removed by the call of the save's writer: the two old ones and the fresh one (no settling).
    EXPECT_EQ(removedMeanwhile, 3);
    ASSERT_EQ(whileWriting.size(), before.size() + 1);

    QStringList expected = before;
    expected.removeAll(".mirelot-Ab12Cd");
    expected.removeAll(".mirelot-xyzXYZ");
    expected.removeAll(".mirelot-Ef34Gh");
    expected << "relevé.FLX2009";
    expected.sort();
    EXPECT_EQ(entries(p), expected);
    EXPECT_TRUE(QFileInfo::exists(elsewhere.path() + "/cible"));
    EXPECT_EQ(platform::removeLeftoverSaveFiles(p), 0);

    // At a start, the one-minute settling keeps a fresh one.
    file(".mirelot-Uv12Wx", false);
    file(".mirelot-Yz34Ab", true);
    EXPECT_EQ(platform::removeLeftoverSaveFiles(p), 1);
    EXPECT_TRUE(QFileInfo::exists(p + "/.mirelot-Uv12Wx"));
    EXPECT_FALSE(QFileInfo::exists(p + "/.mirelot-Yz34Ab"));
}

// A file that a copy stopped midway had taken out of its name, to replace or remove it, is never
// removed at the next start: it goes back under its name, or beside it when the name was taken
// since; a fresh one (a copy at work) is left as it is.
TEST(TemporaryFolder, AFileTakenOutOfItsNameGoesBackAtTheNextStart)
{
    QTemporaryDir parent;
    const QString p = parent.path();
    testing_support::writeBytes(p + "/.mirelot-Ab12Cd~SHOC-A~Passage N1.FLX2009", "relevé 1");
    testing_support::writeBytes(p + "/.mirelot-Ef34Gh~SHOC-B~Passage N2.FLX2009", "relevé 2 retiré");
    testing_support::writeBytes(p + "/SHOC-B~Passage N2.FLX2009", "relevé 2 enregistré depuis");
    EXPECT_EQ(platform::removeLeftoverSaveFiles(p, std::chrono::seconds(0)), 0);
    EXPECT_EQ(entries(p), QStringList({"SHOC-A~Passage N1.FLX2009", "SHOC-B~Passage N2 (2).FLX2009",
                                       "SHOC-B~Passage N2.FLX2009"}));
    EXPECT_EQ(testing_support::readBytes(p + "/SHOC-B~Passage N2 (2).FLX2009"), "relevé 2 retiré");

    testing_support::writeBytes(p + "/.mirelot-Ij56Kl~SHOC-C~Passage N1.FLX2009", "relevé 3");
    EXPECT_EQ(platform::removeLeftoverSaveFiles(p), 0);
    EXPECT_TRUE(QFileInfo::exists(p + "/.mirelot-Ij56Kl~SHOC-C~Passage N1.FLX2009"));
}

// A copy starts while another saves: the starting copy's cleaning, run again and again in a
// process of its own, never takes the file that the other is writing, in 40 saves (their
// temporary files named, as on a file system that cannot make a file without a name).
TEST(TemporaryFolder, ACopyStartingWhileAnotherSavesLeavesItsTemporaryFileAlone)
{
    QTemporaryDir parent;
    const QString p = parent.path();
    const QString target = p + "/relevé.FLX2009";
    const pid_t starting = ::fork();
    ASSERT_GE(starting, 0);
    if (starting == 0)
        for (;;)
            static_cast<void>(platform::removeLeftoverSaveFiles(p, std::chrono::seconds(0)));
    constexpr int kSaves = 40;
    int saved = 0;
    QStringList failures;
    for (int i = 0; i < kSaves; ++i) {
        const QByteArray content = "sauvegarde numéro " + QByteArray::number(i);
        const platform::Result r = platform::saveFile(target, [&](QIODevice& out) {
            auto* file = qobject_cast<QFile*>(&out);
            if (!file || file->fileName().isEmpty())
                return platform::Result::failure(QStringLiteral("pas de fichier provisoire"));
            // The name stands in the folder for a few milliseconds before the content is complete.
            for (const char ch : content) {
                if (!file->putChar(ch) || !file->flush())
                    return platform::Result::failure(QString());
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
            return platform::Result::success();
        });
        if (r.ok && testing_support::readBytes(target) == content)
            ++saved;
        else
            failures << r.error;
    }
    ::kill(starting, SIGKILL);
    ::waitpid(starting, nullptr, 0);
    EXPECT_EQ(saved, kSaves) << failures.join("\n").toStdString();
    EXPECT_EQ(entries(p), QStringList{"relevé.FLX2009"});
}
