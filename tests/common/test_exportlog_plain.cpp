// The export log is a plain file of the data folder, or it is not used: under its name a link
// (to a user's file elsewhere, to a device), a FIFO or a folder is neither read, nor compacted,
// nor written through, and nothing waits on it; a log over what its users read is left as it is.
// Its three users are the start-up compaction, the record list's dates of last export and the
// exports.

#include "common/ExportLog.h"
#include "common/Globals.h"
#include "grid/Grid.h"
#include "platform/SaveFile.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/HangGuard.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

using testing_support::readBytes;
using testing_support::writeBytes;

namespace {

const QByteArray kElsewhere = "alias ls='ls --color'\n";

class ExportLogPlainTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gstr_Dossier = env.dataFolder();
        env.clock().set(QDateTime(QDate(2009, 11, 5), QTime(10, 12, 30)));
        writeBytes(elsewhere(), kElsewhere);
    }
    QString logPath() const { return QDir(env.dataFolder()).filePath("LOG_EXPORT.TXT"); }
    QString elsewhere() const { return env.path(".bashrc"); } // outside the data folder

    // The three users of the log, each with what it did.
    struct User
    {
        const char* name;
        std::function<platform::Result()> use;
    };
    std::vector<User> users()
    {
        return {
            {"start-up compaction",
             [this] {
                 grid::Grid work;
                 return sub_Load_Log_Export(env.dataFolder(), work);
             }},
            {"record list", [this] { return common::readExportLog(env.dataFolder()).result; }},
            {"export", [] { return sub_Log_Export("SHOC-07~Privas~Passage N1.FLX2009"); }},
        };
    }
    testing_support::TestEnvironment env;
};

} // namespace

TEST_F(ExportLogPlainTest, ALinkAFifoOrAFolderUnderTheLogsNameIsNeitherReadNorWritten)
{
    const QString link = QStringLiteral("c'est un lien symbolique");
    const struct
    {
        const char* name;
        std::function<bool(const QString&)> make;
        QString reason;
    } forms[] = {
        {"a link to the user's file", [this](const QString& p) { return QFile::link(elsewhere(), p); }, link},
        {"a link to /dev/zero", [](const QString& p) { return QFile::link("/dev/zero", p); }, link},
        {"a FIFO", [](const QString& p) { return ::mkfifo(QFile::encodeName(p).constData(), 0600) == 0; },
         QStringLiteral("ce n'est pas un fichier ordinaire")},
        {"a folder", [](const QString& p) { return QDir().mkpath(p); }, QStringLiteral("c'est un dossier")},
    };
    for (const auto& form : forms) {
        ASSERT_TRUE(form.make(logPath())) << form.name;
        const QFileInfo before(logPath());
        for (const User& user : users()) {
            SCOPED_TRACE(std::string(form.name) + ", " + user.name);
            testing_support::HangGuard guard(10, user.name);
            EXPECT_EQ(user.use().error, platform::readFailureText(logPath(), form.reason));
            EXPECT_EQ(QFileInfo(logPath()).isSymLink(), before.isSymLink());
            EXPECT_EQ(QFileInfo(logPath()).isDir(), before.isDir());
            EXPECT_EQ(readBytes(elsewhere()), kElsewhere) << "the user's file is unchanged";
        }
        QFile::remove(logPath());
        QDir().rmdir(logPath());
    }
}

TEST_F(ExportLogPlainTest, ALogOverItsBoundIsLeftUnreadAndUncompacted)
{
    // Lines that the compaction would merge into one, just over what the writers read (the
    // reader's own bound is lower).
    const QByteArray line = "SHOC-07~Privas~Passage N1.FLX2009\t05/11/2009 10:12:30\r\n";
    QByteArray log = line.repeated(common::kExportLogReadMaxBytes / line.size() + 1);
    ASSERT_GT(log.size(), common::kExportLogReadMaxBytes);
    writeBytes(logPath(), log);
    for (const User& user : users()) {
        SCOPED_TRACE(user.name);
        const qint64 bound = std::string(user.name) == "record list" ? common::kExportLogMaxBytes
                                                                     : common::kExportLogReadMaxBytes;
        EXPECT_EQ(user.use().error,
                  platform::readFailureText(
                      logPath(), QStringLiteral("il est trop grand pour un journal des exportations "
                                                "(%1 octets, %2 au plus)")
                                     .arg(log.size())
                                     .arg(bound)));
        EXPECT_EQ(QFileInfo(logPath()).size(), log.size());
    }
    EXPECT_EQ(readBytes(logPath()), log);

    // Under the bound, the same lines are compacted into one.
    log.resize(line.size() * 1000);
    writeBytes(logPath(), log);
    grid::Grid work;
    ASSERT_TRUE(sub_Load_Log_Export(env.dataFolder(), work));
    EXPECT_EQ(readBytes(logPath()), line);
}

TEST_F(ExportLogPlainTest, ALockThatIsALinkOrAFifoLeavesTheLogAsItIs)
{
    const QByteArray old = "A.xls\t05/11/2009 10:00:00\r\nA.xls\t01/11/2009 10:00:00\r\n";
    writeBytes(logPath(), old);
    const QString lockFile = logPath() + ".lock";
    const struct
    {
        const char* name;
        std::function<bool()> make;
    } forms[] = {
        {"a link", [&] { return QFile::link(elsewhere(), lockFile); }},
        {"a FIFO", [&] { return ::mkfifo(QFile::encodeName(lockFile).constData(), 0600) == 0; }},
    };
    for (const auto& form : forms) {
        ASSERT_TRUE(form.make()) << form.name;
        for (const User& user : users()) {
            if (std::string(user.name) == "record list")
                continue; // a reader alone takes no lock
            SCOPED_TRACE(std::string(form.name) + ", " + user.name);
            testing_support::HangGuard guard(10, user.name);
            EXPECT_TRUE(user.use().error.contains(QStringLiteral("son verrou « %1 »").arg(lockFile)));
            EXPECT_EQ(readBytes(logPath()), old);
            EXPECT_EQ(readBytes(elsewhere()), kElsewhere);
        }
        QFile::remove(lockFile);
    }
}

TEST_F(ExportLogPlainTest, AFullDiskWhileLockingTheLogIsToldAsSuch)
{
    const QByteArray old = "A.xls\t05/11/2009 10:00:00\r\nA.xls\t01/11/2009 10:00:00\r\n";
    writeBytes(logPath(), old);
    for (const User& user : users()) {
        if (std::string(user.name) == "record list")
            continue; // it writes nothing
        SCOPED_TRACE(user.name);
        platform::Result r = platform::Result::success();
        {
            testing_support::FileSizeLimit limit(8); // not even the lock's few lines
            r = user.use();
        }
        EXPECT_EQ(r.error, platform::writeFailureText(logPath(), QStringLiteral("le disque est plein")));
        EXPECT_EQ(readBytes(logPath()), old);
        EXPECT_EQ(QDir(env.dataFolder()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"LOG_EXPORT.TXT"});
    }
}
