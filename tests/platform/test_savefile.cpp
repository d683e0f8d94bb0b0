// The one save routine: the old file survives every failure byte for byte, no temporary file is
// left behind, and the reason names the file in French.

#include "platform/SaveFile.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/LimitedFileSystem.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using platform::Result;
using testing_support::FileSizeLimit;
using testing_support::readBytes;
using testing_support::writeBytes;

namespace {

const QByteArray kOld = "ancien contenu";

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

class SaveFileTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString target() const { return dir.filePath(QStringLiteral("Espèces.DOV")); }
};

TEST_F(SaveFileTest, ReplacesTheWholeContent)
{
    writeBytes(target(), kOld);
    ASSERT_TRUE(platform::saveFile(target(), QByteArray("nouveau")).ok);
    EXPECT_EQ(readBytes(target()), "nouveau");
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("Espèces.DOV")});
}

TEST_F(SaveFileTest, FullDiskKeepsTheOldFileAndSaysSo)
{
    writeBytes(target(), kOld);
    const QByteArray big(64 * 1024, 'x');
    struct Case
    {
        const char* name;
        std::function<Result()> save;
    };
    const QString source = dir.filePath(QStringLiteral("source.bin"));
    writeBytes(source, big);
    const Case cases[] = {
        {"bytes", [&] { return platform::saveFile(target(), big); }},
        {"writer",
         [&] {
             return platform::saveFile(target(), [&](QIODevice& out) {
                 for (int i = 0; i < 64; ++i)
                     if (out.write(big.left(1024)) != 1024)
                         return Result::failure(QString());
                 return Result::success();
             });
         }},
        {"copy", [&] { return platform::saveFileFrom(target(), source); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Result r = Result::success();
        {
            FileSizeLimit limit(4096);
            r = c.save();
        }
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.error.contains(QStringLiteral("le disque est plein"))) << r.error.toStdString();
        EXPECT_TRUE(r.error.contains(target())) << r.error.toStdString();
        EXPECT_EQ(readBytes(target()), kOld);
        EXPECT_EQ(entries(dir.path()).size(), 2) << entries(dir.path()).join(u' ').toStdString();
    }
}

TEST_F(SaveFileTest, WriterThatGivesUpKeepsTheOldFileWithItsReason)
{
    writeBytes(target(), kOld);
    const Result r = platform::saveFile(target(), [](QIODevice& out) {
        out.write("partiel");
        return Result::failure(QStringLiteral("la feuille ne peut pas être ajoutée"));
    });
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, QStringLiteral(
                           "Le fichier « %1 » ne peut pas être écrit : la feuille ne peut pas être ajoutée.")
                           .arg(target()));
    EXPECT_EQ(readBytes(target()), kOld);
    EXPECT_EQ(entries(dir.path()).size(), 1);
}

TEST_F(SaveFileTest, MissingFolderIsNamed)
{
    const QString path = dir.filePath(QStringLiteral("absent/fichier.txt"));
    const Result r = platform::saveFile(path, QByteArray("x"));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(
        r.error,
        QStringLiteral("Le fichier « %1 » ne peut pas être écrit : le dossier n'existe pas.").arg(path));
}

TEST_F(SaveFileTest, ReadOnlyFolderKeepsTheFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    writeBytes(target(), kOld);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const Result r = platform::saveFile(target(), QByteArray("nouveau"));
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QStringLiteral("l'accès est refusé"))) << r.error.toStdString();
    EXPECT_EQ(readBytes(target()), kOld);
}

TEST_F(SaveFileTest, NewFileTakesTheUsersUsualPermissions)
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ASSERT_TRUE(platform::saveFile(target(), QByteArray("x")).ok);
    struct stat st
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(target()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask & 0777);
}

TEST_F(SaveFileTest, NewFileAppearsWholeOrNotAtAllAndNeverReplacesAnother)
{
    const QByteArray big(64 * 1024, 'x');
    Result full = Result::success();
    {
        FileSizeLimit limit(4096);
        full = platform::saveNewFile(target(), big);
    }
    EXPECT_FALSE(full.ok);
    EXPECT_EQ(
        full.error,
        QStringLiteral("Le fichier « %1 » ne peut pas être écrit : le disque est plein.").arg(target()));
    EXPECT_TRUE(entries(dir.path()).isEmpty()) << entries(dir.path()).join(u' ').toStdString();

    ASSERT_TRUE(platform::saveNewFile(target(), big).ok);
    EXPECT_EQ(readBytes(target()), big);
    const Result again = platform::saveNewFile(target(), QByteArray("autre"));
    EXPECT_FALSE(again.ok);
    EXPECT_EQ(again.error,
              QStringLiteral("Le fichier « %1 » ne peut pas être écrit : un fichier de ce nom existe déjà.")
                  .arg(target()));
    EXPECT_EQ(readBytes(target()), big);
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("Espèces.DOV")});

    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat st
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(target()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask & 0777);
}

// The temporary file's name does not grow with the target's: every name the file system takes
// is written, and written again; a longer one is refused for what it is.
TEST_F(SaveFileTest, AnyNameTheFileSystemTakesIsWrittenAgainAndAgain)
{
    const struct
    {
        const char* name;
        QString fileName;
        bool taken;
    } rows[] = {
        {"255 bytes", QString(251, QLatin1Char('a')) + ".DOV", true},
        {"255 bytes with accents", QString(125, QChar(0xE9)) + "abcde", true},
        {"248 bytes", QString(244, QLatin1Char('b')) + ".DOV", true},
        {"256 bytes", QString(252, QLatin1Char('c')) + ".DOV", false},
    };
    QTemporaryDir elsewhere;
    const QString copy = elsewhere.filePath(QStringLiteral("copie"));
    writeBytes(copy, "copié");
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const QString path = dir.filePath(r.fileName);
        const Result created = platform::saveNewFile(path, "nouveau");
        const Result copied = platform::saveFileFrom(path, copy);
        const Result replaced = platform::saveFile(path, QByteArray("remplacé"));
        for (const Result& result : {created, copied, replaced}) {
            const QString tooLong =
                QStringLiteral("Le fichier « %1 » ne peut pas être écrit : le nom est trop long.").arg(path);
            EXPECT_EQ(result.error, r.taken ? QString() : tooLong);
        }
        EXPECT_EQ(readBytes(path), r.taken ? "remplacé" : "");
        EXPECT_EQ(entries(dir.path()), r.taken ? QStringList{r.fileName} : QStringList{});
        QFile::remove(path);
    }
}

// The file systems the save routine meets beyond the ordinary one (FUSE passthroughs, CIFS,
// network folders), played on it.
class GuardedSaveTest : public SaveFileTest, public ::testing::WithParamInterface<int>
{
protected:
    const testing_support::LimitedFileSystem limited{GetParam()};
};

// A write over a file, or its removal, made only while the file is the version expected: another
// version (a new file, or the same file grown) is left as it is and its version given back; a
// file gone is said so; nothing else is left in the folder. A file keeps its mode, a name taken is
// never given to another file, and the version given for a file written is the one it bears under
// its name, whatever the file system.
TEST_P(GuardedSaveTest, GuardedWriteAndRemovalTouchOnlyTheVersionExpected)
{
    using platform::GuardedResult;
    writeBytes(target(), kOld);
    ASSERT_TRUE(QFile::setPermissions(target(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ReadGroup));
    const platform::FileVersion read = platform::fileVersion(target());
    ASSERT_TRUE(read.exists());
    EXPECT_FALSE(platform::fileVersion(dir.filePath("absent")).exists());

    // Another program's save (a new file of the same size), then the same file written in place.
    ASSERT_TRUE(platform::saveFile(target(), QByteArray("autre contenu!")).ok);
    EXPECT_EQ(platform::fileMode(target()), 0640);
    const platform::FileVersion other = platform::fileVersion(target());
    EXPECT_NE(other.inode, read.inode);
    for (const auto& attempt :
         {platform::replaceFile(target(), "nouveau", read), platform::removeFile(target(), read)}) {
        EXPECT_EQ(attempt.outcome, GuardedResult::Changed);
        EXPECT_EQ(attempt.version, other) << "put back under its name, the file is the same";
        EXPECT_EQ(readBytes(target()), "autre contenu!");
        EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("Espèces.DOV")});
    }
    {
        QFile inPlace(target());
        ASSERT_TRUE(inPlace.open(QIODevice::Append));
        inPlace.write("+");
    }
    EXPECT_EQ(platform::replaceFile(target(), "nouveau", other).outcome, GuardedResult::Changed);
    EXPECT_EQ(readBytes(target()), "autre contenu!+");

    // The version expected: replaced, and the version written given back.
    const GuardedResult written = platform::replaceFile(target(), "nouveau", platform::fileVersion(target()));
    ASSERT_EQ(written.outcome, GuardedResult::Done) << written.result.error.toStdString();
    EXPECT_EQ(written.version, platform::fileVersion(target()));
    EXPECT_EQ(readBytes(target()), "nouveau");
    EXPECT_EQ(platform::fileMode(target()), 0640);
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("Espèces.DOV")});

    EXPECT_EQ(platform::removeFile(target(), written.version).outcome, GuardedResult::Done);
    EXPECT_TRUE(entries(dir.path()).isEmpty());
    EXPECT_EQ(platform::replaceFile(target(), "nouveau", written.version).outcome, GuardedResult::Gone);
    EXPECT_EQ(platform::removeFile(target(), written.version).outcome, GuardedResult::Gone);
    EXPECT_TRUE(entries(dir.path()).isEmpty());

    // A new file gives its version as it bears its name, with the mode asked for.
    platform::FileVersion created;
    ASSERT_TRUE(platform::saveNewFile(target(), "neuf", &created, 0600).ok);
    EXPECT_EQ(created, platform::fileVersion(target()));
    EXPECT_EQ(platform::fileMode(target()), 0600);
    EXPECT_EQ(platform::replaceFile(target(), "encore", created).outcome, GuardedResult::Done);
    const QString second = dir.filePath(QStringLiteral("espèces.DOV"));
    ASSERT_TRUE(platform::saveNewFile(second, "deuxième").ok);
    EXPECT_EQ(platform::renameWithoutReplacing(second, target()), EEXIST);
    EXPECT_EQ(readBytes(target()), "encore");
    EXPECT_EQ(readBytes(second), "deuxième");
}

INSTANTIATE_TEST_SUITE_P(FileSystems, GuardedSaveTest,
                         ::testing::Values(0, testing_support::NoRenameFlags,
                                           testing_support::NoRenameFlags |
                                               testing_support::LinksTakeNewInodes,
                                           testing_support::NoRenameFlags | testing_support::NoHardLinks));

// A file made after the version expected was removed, with its inode number (a file system gives
// a freed number again at once), its size and its modification time: another version, left as it
// is.
TEST_F(SaveFileTest, FileTakingTheNumberOfARemovedOneIsAnotherVersion)
{
    using platform::GuardedResult;
    writeBytes(target(), "ancien");
    const platform::FileVersion read = platform::fileVersion(target());
    ASSERT_TRUE(QFile::remove(target()));
    writeBytes(target(), "autre!");
    const timespec times[2] = {{0, UTIME_OMIT},
                               {read.modifiedNs / 1'000'000'000, long(read.modifiedNs % 1'000'000'000)}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(target()).constData(), times, 0), 0);
    const platform::FileVersion other = platform::fileVersion(target());
    if (other.inode != read.inode)
        GTEST_SKIP() << "this file system gave the new file another number";
    EXPECT_FALSE(other == read);
    EXPECT_EQ(platform::replaceFile(target(), "nouveau", read).outcome, GuardedResult::Changed);
    EXPECT_EQ(readBytes(target()), "autre!");
    EXPECT_EQ(platform::removeFile(target(), read).outcome, GuardedResult::Changed);
    EXPECT_EQ(readBytes(target()), "autre!");
}

TEST(FileErrorReason, FrenchReasons)
{
    const struct
    {
        int err;
        const char* reason;
    } table[] = {
        {ENOSPC, "le disque est plein"},
        {EDQUOT, "le disque est plein"},
        {EACCES, "l'accès est refusé"},
        {ENOENT, "le dossier n'existe pas"},
        {EROFS, "le système de fichiers est en lecture seule"},
        {EEXIST, "un fichier de ce nom existe déjà"},
        {ENAMETOOLONG, "le nom est trop long"},
        {EIO, "une erreur du système de fichiers s'est produite"},
        {0, "une erreur du système de fichiers s'est produite"},
    };
    for (const auto& row : table)
        EXPECT_EQ(platform::fileErrorReason(row.err), QString::fromUtf8(row.reason)) << row.err;
}

} // namespace
