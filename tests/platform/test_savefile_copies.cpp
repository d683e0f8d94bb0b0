// Two running copies of the program writing the same file with platform::replaceFile as fast as
// they can, each agreeing to replace the other's version: every write said done is in the file at
// the end or was replaced by a write that expected it; nothing else is left in the folder. The same
// on a file system without renameat2's flags nor hard links, where the folder lock does not reach
// the other copy (two machines on one shared folder).
#include "platform/SaveFile.h"
#include "tests/support/LimitedFileSystem.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TwoCopies.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

#include <iostream>

namespace {

QString idOf(const platform::FileVersion& v)
{
    return QStringLiteral("%1:%2:%3:%4").arg(v.inode).arg(v.generation).arg(v.size).arg(v.modifiedNs);
}

} // namespace

// The file system of both copies (testing_support::FileSystemLimit), given them through their
// environment.
class SaveFileCopiesTest : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        qputenv(testing_support::LimitedFileSystem::kEnvironmentVariable, QByteArray::number(GetParam()));
    }
    void TearDown() override { qunsetenv(testing_support::LimitedFileSystem::kEnvironmentVariable); }
};

TEST_P(SaveFileCopiesTest, TwoCopiesReplacingOneFileLoseNoWriteSaidDone)
{
    testing_support::TestEnvironment env;
    constexpr int kTrials = 30;
    constexpr int kWrites = 100;
    int lost = 0;
    int done = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
        SCOPED_TRACE(trial);
        const QString folder = env.path(QStringLiteral("Essai %1").arg(trial));
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString file = QDir(folder).filePath(QStringLiteral("Relevé.FLX2009"));
        ASSERT_TRUE(platform::saveFile(file, QByteArray("départ")).ok);
        const QStringList out =
            testing_support::runTwoCopies(MIRELOT_REPLACE_COPY, {file, "copie-1", QString::number(kWrites)},
                                          {file, "copie-2", QString::number(kWrites)});

        QStringList written, replaced;
        for (const QString& copy : out)
            for (const QString& line : copy.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
                EXPECT_TRUE(line.startsWith(QLatin1String("done ")) || line == QLatin1String("changed"))
                    << line.toStdString();
                if (line.startsWith(QLatin1String("done "))) {
                    written << line.section(QLatin1Char(' '), 1, 1);
                    replaced << line.section(QLatin1Char(' '), 3, 3);
                }
            }
        done += int(written.size());
        const QString final = idOf(platform::fileVersion(file));
        const QSet<QString> replacedSet(replaced.begin(), replaced.end());
        QStringList missing;
        for (const QString& w : written)
            if (w != final && !replacedSet.contains(w))
                missing << w;
        EXPECT_TRUE(missing.isEmpty()) << "lost: " << missing.join(' ').toStdString()
                                       << "\nfile: " << QFile(file).exists() << " " << final.toStdString();
        // The file is the last write of one copy.
        EXPECT_TRUE(written.contains(final)) << final.toStdString();
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System),
                  QStringList{QStringLiteral("Relevé.FLX2009")});
        lost += !missing.isEmpty() || !written.contains(final);
    }
    std::cout << "file system " << GetParam() << ": two copies replacing one file " << kWrites
              << " times each: a write lost in " << lost << " of " << kTrials << " trials; " << done
              << " writes done" << std::endl;
}

INSTANTIATE_TEST_SUITE_P(FileSystems, SaveFileCopiesTest,
                         ::testing::Values(0, testing_support::NoRenameFlags | testing_support::NoHardLinks |
                                                  testing_support::NoFolderLock));
