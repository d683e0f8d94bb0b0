// Two copies of the program opening the record list of one data folder at the same moment: each
// older record file is converted, and each sibling file imported, once, by one of them; the
// other tells nothing about it, asks nothing and makes no second backup.

#include "recordlist/OlderFileConversion.h"
#include "recordlist/SiblingImport.h"
#include "tests/samples/ListSamples.h"
#include "tests/samples/SiblingSamples.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TwoCopies.h"

#include <QDir>
#include <gtest/gtest.h>

#include <iostream>

namespace {

constexpr int kTrials = 30;
constexpr int kFiles = 10;

// What one copy printed, line by line; the lines that begin with `what`, without it.
QStringList linesOf(const QString& out, const QString& what)
{
    QStringList found;
    for (const QString& line : out.split(u'\n', Qt::SkipEmptyParts))
        if (line.startsWith(what + u' '))
            found << line.mid(what.size() + 1);
        else if (line == what)
            found << QString();
    return found;
}

// The files of a folder, in the order of their characters' codes.
QStringList filesOf(const QString& folder, const QString& mask = QStringLiteral("*"))
{
    QStringList names = QDir(folder).entryList({mask}, QDir::Files | QDir::Hidden);
    names.sort();
    return names;
}

// The files each copy says it handled: together every file, none twice; besides, only files passed
// over as done by the other copy. Returns the number of other lines (reasons, questions).
int expectEachHandledOnce(const QStringList& out, const QString& done, const QStringList& expected)
{
    QStringList handled;
    int said = 0;
    for (const QString& copy : out) {
        handled += linesOf(copy, done);
        for (const QString& line : copy.split(u'\n', Qt::SkipEmptyParts)) {
            const bool expectedLine = line.startsWith(done + u' ') || line.startsWith("elsewhere ");
            said += expectedLine ? 0 : 1;
            EXPECT_TRUE(expectedLine) << "said: " << line.toStdString();
        }
    }
    handled.sort();
    EXPECT_EQ(handled, expected);
    return said;
}

} // namespace

TEST(TwoCopiesOpeningTheList, ConvertEachOlderFileOnceWithoutFalseReasonsOrExtraBackups)
{
    testing_support::TestEnvironment env;
    int reasons = 0, backups = 0, shared = 0, passedOver = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
        SCOPED_TRACE(trial);
        const QString folder = env.path(QStringLiteral("Essai %1").arg(trial));
        ASSERT_TRUE(QDir().mkpath(folder));
        QStringList older, records, aside;
        for (int i = 0; i < kFiles; ++i) {
            const QString name = QStringLiteral("SHOC-26-SITE%1~PASSAGE N1.FLX").arg(i);
            list_samples::writeRecord(folder, name, list_samples::recordOf(1, "01/12/2008"));
            older << name;
            records << name + "2009";
            aside << QStringLiteral("SHOC@26@SITE%1~PASSAGE N1.@FLX").arg(i);
        }
        const QStringList out = testing_support::runTwoCopies(MIRELOT_CONVERSION_COPY, {"conversion", folder},
                                                              {"conversion", folder});
        SCOPED_TRACE(out.join("|").toStdString());
        reasons += expectEachHandledOnce(out, "converted", older);
        shared += !linesOf(out[0], "converted").isEmpty() && !linesOf(out[1], "converted").isEmpty() ? 1 : 0;
        passedOver += int(linesOf(out[0], "elsewhere").size() + linesOf(out[1], "elsewhere").size());
        EXPECT_EQ(filesOf(folder), QStringList(records + aside));
        const QStringList backedUp = filesOf(folder + "/" + recordlist::kBackupFolder);
        backups += int(backedUp.size());
        EXPECT_EQ(backedUp, older) << "one backup a file";
    }
    std::cout << kTrials << " trials of " << kFiles << " files: " << reasons << " reasons told, " << backups
              << " backups; both copies converted files in " << shared << " trials; " << passedOver
              << " files passed over as done by the other copy" << std::endl;
}

TEST(TwoCopiesOpeningTheList, ImportEachSiblingFileOnceWithoutAQuestion)
{
    testing_support::TestEnvironment env;
    int said = 0, imported = 0, asked = 0, shared = 0, passedOver = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
        SCOPED_TRACE(trial);
        const QString folder = env.path(QStringLiteral("Essai %1").arg(trial));
        ASSERT_TRUE(QDir().mkpath(folder));
        QStringList sources;
        for (int i = 0; i < kFiles; ++i) {
            sibling_samples::Sibling s;
            s.observer = QStringLiteral("lefèvre jean%1").arg(i);
            const QString name = QStringLiteral("Ravelin-%1.RVX").arg(i);
            sibling_samples::write(folder + "/" + name, s);
            sources << name;
        }
        const QStringList out =
            testing_support::runTwoCopies(MIRELOT_CONVERSION_COPY, {"import", folder}, {"import", folder});
        SCOPED_TRACE(out.join("|").toStdString());
        QStringList records;
        for (int i = 0; i < kFiles; ++i)
            records << QStringLiteral("SHOC-26~Valence~Les Baumes~LEFEVRE jean%1~Hiver 2009-2010~Passage "
                                      "N1.FLX2009")
                           .arg(i);
        records.sort();
        said += expectEachHandledOnce(out, "imported", records);
        imported += int(linesOf(out[0], "imported").size() + linesOf(out[1], "imported").size());
        asked += int(linesOf(out[0], "asked").size() + linesOf(out[1], "asked").size());
        shared += !linesOf(out[0], "imported").isEmpty() && !linesOf(out[1], "imported").isEmpty() ? 1 : 0;
        passedOver += int(linesOf(out[0], "elsewhere").size() + linesOf(out[1], "elsewhere").size());
        EXPECT_EQ(filesOf(folder, "SHOC-*"), records);
        EXPECT_EQ(filesOf(folder, "Ravelin@*").size(), kFiles);
        EXPECT_EQ(filesOf(folder).size(), 2 * kFiles) << "nothing else left in the folder";
    }
    std::cout << kTrials << " trials of " << kFiles << " files: " << imported << " imports, " << asked
              << " questions, " << said - asked << " reasons told; both copies imported files in " << shared
              << " trials; " << passedOver << " files passed over as done by the other copy" << std::endl;
}
