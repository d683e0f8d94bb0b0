// Files of a folder are plain files of it or are not used: a link under a file's name is neither
// read through, written through nor replaced; a FIFO is never waited on; a file over its bound is
// not read. The lock beside a shared file follows the same rule, and a full disk is told as such.

#include "platform/FileLock.h"
#include "platform/PlainFile.h"
#include "platform/SaveFile.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/HangGuard.h"
#include "tests/support/TestEnvironment.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using platform::Result;
using testing_support::readBytes;
using testing_support::writeBytes;

namespace {

const QByteArray kElsewhere = "# le fichier de l'utilisateur, hors du dossier\n";

class PlainFileTest : public ::testing::Test
{
protected:
    QTemporaryDir outside; // the user's own files
    QTemporaryDir dir;     // the data folder
    QString path(const QString& name) const { return dir.filePath(name); }
    QString elsewhere() const { return outside.filePath(QStringLiteral(".bashrc")); }

    // What can stand under a file's name instead of a plain file, and what the reason says.
    struct Form
    {
        const char* name;
        std::function<bool(const QString&)> make;
        QString reason;
    };
    std::vector<Form> forms() const
    {
        const QString link = QStringLiteral("c'est un lien symbolique");
        return {
            {"a link to a file elsewhere", [this](const QString& p) { return QFile::link(elsewhere(), p); },
             link},
            {"a link to /dev/zero", [](const QString& p) { return QFile::link("/dev/zero", p); }, link},
            {"a link to nothing",
             [this](const QString& p) { return QFile::link(outside.filePath("absent"), p); }, link},
            {"a FIFO", [](const QString& p) { return ::mkfifo(QFile::encodeName(p).constData(), 0600) == 0; },
             QStringLiteral("ce n'est pas un fichier ordinaire")},
            {"a folder", [](const QString& p) { return QDir().mkpath(p); },
             QStringLiteral("c'est un dossier")},
        };
    }
    void SetUp() override { writeBytes(elsewhere(), kElsewhere); }
};

} // namespace

TEST_F(PlainFileTest, OnlyAPlainFileWithinItsBoundIsRead)
{
    const QString file = path(QStringLiteral("journal.txt"));
    const auto read = [&] { return platform::readPlainFile(file, 10, QStringLiteral("un journal")); };
    const auto absent = read();
    EXPECT_TRUE(absent.result.ok && !absent.value) << "whether found or not";
    writeBytes(file, "0123456789");
    const auto atBound = read();
    ASSERT_TRUE(atBound.result.ok);
    EXPECT_EQ(atBound.value, QByteArray("0123456789"));
    writeBytes(file, "0123456789A");
    EXPECT_EQ(read().result.error,
              platform::readFailureText(file, "il est trop grand pour un journal (11 octets, 10 au plus)"));
    QFile::remove(file);
    for (const Form& form : forms()) {
        SCOPED_TRACE(form.name);
        const QString p = path(QString::fromLatin1(form.name).replace('/', '_'));
        ASSERT_TRUE(form.make(p));
        testing_support::HangGuard guard(10, form.name);
        const auto r = platform::readPlainFile(p, 1 << 20, QStringLiteral("un journal"));
        EXPECT_EQ(r.result.error, platform::readFailureText(p, form.reason));
        EXPECT_EQ(platform::notPlainFileReason(p), form.reason);
    }
    EXPECT_EQ(platform::notPlainFileReason(path("absent")), QString());
}

TEST_F(PlainFileTest, TheSaveNeitherWritesThroughALinkNorReplacesIt)
{
    for (const Form& form : forms()) {
        SCOPED_TRACE(form.name);
        const QString p = path(QString::fromLatin1(form.name).replace('/', '_'));
        ASSERT_TRUE(form.make(p));
        const QFileInfo before(p);
        testing_support::HangGuard guard(10, form.name);
        const platform::FileVersion version = platform::fileVersion(p);
        for (const Result& refused :
             {platform::saveFile(p, QByteArray("nouveau")),
              platform::replaceFile(p, "nouveau", version).result, platform::removeFile(p, version).result})
            EXPECT_EQ(refused.error, platform::writeFailureText(p, form.reason));
        EXPECT_EQ(QFileInfo(p).isSymLink(), before.isSymLink()) << "the link stays a link";
        EXPECT_EQ(QFileInfo(p).isDir(), before.isDir());
        EXPECT_FALSE(QFileInfo(p).isFile() && !QFileInfo(p).isSymLink());
    }
    EXPECT_EQ(readBytes(elsewhere()), kElsewhere);
    EXPECT_FALSE(QFileInfo::exists(outside.filePath("absent"))) << "no file made where a link points";
    EXPECT_TRUE(QDir(dir.path()).entryList({".mirelot-*"}, QDir::Files | QDir::Hidden).isEmpty())
        << "no temporary file left";
}

// The user's own files (settings, tables, a workbook he chose) follow their links, as editors do:
// the file named is replaced in its own folder, with its mode, or made there when it is not there
// yet, and the link stays; a link to something else than a plain file is refused.
TEST_F(PlainFileTest, TheUsersOwnLinkIsFollowedToAPlainFile)
{
    const QString link = path(QStringLiteral("registry.json"));
    const QString chained = path(QStringLiteral("lien du lien"));
    ASSERT_TRUE(QFile::link(elsewhere(), link) && QFile::link(link, chained));
    ASSERT_TRUE(QFile::setPermissions(elsewhere(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    ASSERT_TRUE(platform::saveFile(chained, QByteArray("nouveau"), platform::Links::Follow).ok);
    EXPECT_TRUE(QFileInfo(link).isSymLink() && QFileInfo(chained).isSymLink());
    EXPECT_EQ(readBytes(elsewhere()), "nouveau");
    EXPECT_EQ(platform::fileMode(elsewhere()), 0600);
    const QString absent = outside.filePath(QStringLiteral("à venir.json"));
    ASSERT_TRUE(QFile::link(absent, path(QStringLiteral("à venir"))));
    ASSERT_TRUE(
        platform::saveFile(path(QStringLiteral("à venir")), QByteArray("neuf"), platform::Links::Follow).ok);
    EXPECT_EQ(readBytes(absent), "neuf");
    EXPECT_TRUE(QDir(outside.path()).entryList({".mirelot-*"}, QDir::Files | QDir::Hidden).isEmpty());

    for (const Form& form : forms()) {
        if (form.reason == QStringLiteral("c'est un lien symbolique") &&
            QByteArray(form.name) != "a link to /dev/zero")
            continue;
        SCOPED_TRACE(form.name);
        const QString p = path(QString::fromLatin1(form.name).replace('/', '_'));
        const QString named = outside.filePath(QStringLiteral("nommé"));
        ASSERT_TRUE(form.make(named) && QFile::link(named, p));
        testing_support::HangGuard guard(10, form.name);
        const Result saved = platform::saveFile(p, QByteArray("nouveau"), platform::Links::Follow);
        EXPECT_TRUE(
            saved.error.startsWith(platform::writeFailureText(p, "c'est un lien symbolique").chopped(1)))
            << saved.error.toStdString();
        EXPECT_TRUE(QFileInfo(p).isSymLink());
        QFile::remove(named);
        QDir(named).removeRecursively();
    }
}

TEST_F(PlainFileTest, ALockThatIsNoPlainFileIsNeitherFollowedNorWaitedOn)
{
    const QString file = path(QStringLiteral("LOG_EXPORT.TXT"));
    for (const Form& form : forms()) {
        SCOPED_TRACE(form.name);
        const QString lockFile = file + QStringLiteral(".lock");
        ASSERT_TRUE(form.make(lockFile));
        testing_support::HangGuard guard(10, form.name);
        platform::FileLock lock(lockFile, file);
        EXPECT_EQ(
            lock.lock().error,
            platform::writeFailureText(file, QStringLiteral("son verrou « %1 » ne peut pas être utilisé : %2")
                                                 .arg(lockFile, form.reason)));
        EXPECT_FALSE(QFileInfo(lockFile).isFile() && !QFileInfo(lockFile).isSymLink());
        QFile::remove(lockFile);
        QDir().rmdir(lockFile);
    }
    EXPECT_EQ(readBytes(elsewhere()), kElsewhere);

    // A lock file left by a copy that stopped is taken over as before.
    writeBytes(file + QStringLiteral(".lock"),
               "4194303\nMirelot\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    platform::FileLock stale(file + QStringLiteral(".lock"), file);
    EXPECT_TRUE(stale.lock().ok);
}

// A lock that cannot be had is waited for once: the later attempts at it try once and say so in
// short, until one takes it; a new failure after that is waited for again. A lock file of junk is
// taken over only once old; a read-only one, old already, cannot be taken over but by root.
TEST_F(PlainFileTest, ALockThatCannotBeHadIsWaitedForOnceUntilItIsTaken)
{
    for (const bool readOnly : {false, true}) {
        if (readOnly && ::geteuid() == 0)
            continue; // root takes it over
        const QString file =
            path(readOnly ? QStringLiteral("Lecture seule.TXT") : QStringLiteral("LOG_EXPORT.TXT"));
        const QString lockFile = file + QStringLiteral(".lock");
        const auto junk = [&] {
            writeBytes(lockFile, "\x01 pas un verrou");
            QFile f(lockFile);
            if (readOnly && f.open(QIODevice::ReadWrite)) {
                f.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
                f.close();
                f.setPermissions(QFileDevice::ReadOwner);
            }
        };
        platform::LockWaitProbe probe(std::chrono::milliseconds(100));
        junk();
        QStringList reasons;
        for (int i = 0; i < 3; ++i) {
            platform::FileLock lock(lockFile, file);
            reasons << lock.lock().error;
            EXPECT_EQ(lock.failedAsBefore(), i > 0);
        }
        const QString still =
            QStringLiteral("son verrou ne peut toujours pas être pris, pour la raison déjà indiquée");
        EXPECT_EQ(
            reasons,
            QStringList({platform::writeFailureText(file, "une autre copie de Mirelot ne le libère pas"),
                         platform::writeFailureText(file, still), platform::writeFailureText(file, still)}));
        EXPECT_EQ(probe.waitsInVain(), 1);
        ASSERT_TRUE(QFile::remove(lockFile));
        EXPECT_TRUE(platform::FileLock(lockFile, file).lock().ok);
        junk();
        EXPECT_FALSE(platform::FileLock(lockFile, file).lock().ok);
        EXPECT_EQ(probe.waitsInVain(), 2);
        QFile::remove(lockFile);
    }
}

TEST_F(PlainFileTest, AFullDiskWhileTakingALockIsToldAsSuch)
{
    const QString file = path(QStringLiteral("LOG_EXPORT.TXT"));
    platform::FileLock lock(file + QStringLiteral(".lock"), file);
    Result r = Result::success();
    {
        testing_support::FileSizeLimit limit(8); // less than the lock's few lines
        r = lock.lock();
    }
    EXPECT_EQ(r.error, platform::writeFailureText(file, QStringLiteral("le disque est plein")));
    EXPECT_TRUE(
        QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        << "neither the lock nor a trial file is left";
}
