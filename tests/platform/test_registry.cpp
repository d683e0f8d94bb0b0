#include "platform/Registry.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestEnvironment.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <gtest/gtest.h>

#include <atomic>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace platform;

namespace {

struct RegistryTest : ::testing::Test
{
    testing_support::TestEnvironment env;
    Registry& reg() { return env.registry(); }
};

TEST_F(RegistryTest, KeysAndValueNamesIgnoreCase)
{
    ASSERT_EQ(reg().createKey(Hive::LocalMachine, "SOFTWARE\\Mirelot\\Paramètres"), reg::Success);
    EXPECT_TRUE(reg().keyExists(Hive::LocalMachine, "software\\MIRELOT\\paramètres"));
    EXPECT_FALSE(reg().keyExists(Hive::CurrentUser, "SOFTWARE\\Mirelot"));
    ASSERT_EQ(reg().setValue(Hive::LocalMachine, "SOFTWARE\\Mirelot\\Paramètres", "Dossier",
                             RegValue::fromText("C:\\Mirelot")),
              reg::Success);
    RegValue v;
    ASSERT_EQ(reg().queryValue(Hive::LocalMachine, "Software\\mirelot\\PARAMÈTRES", "DOSSIER", &v),
              reg::Success);
    EXPECT_EQ(v.text, "C:\\Mirelot");
    // One value, whatever the case used to write it again.
    reg().setValue(Hive::LocalMachine, "SOFTWARE\\Mirelot\\Paramètres", "dossier",
                   RegValue::fromText("D:\\"));
    QString name;
    EXPECT_EQ(reg().enumValue(Hive::LocalMachine, "SOFTWARE\\Mirelot\\Paramètres", 1, &name),
              reg::NoMoreItems);
}

TEST_F(RegistryTest, MissingKeyOrValueIsFileNotFound)
{
    RegValue v;
    EXPECT_EQ(reg().queryValue(Hive::LocalMachine, "SOFTWARE\\Nothing", "x", &v), reg::FileNotFound);
    EXPECT_EQ(reg().setValue(Hive::LocalMachine, "SOFTWARE\\Nothing", "x", RegValue::fromDword(1)),
              reg::FileNotFound);
    EXPECT_FALSE(reg().keyExists(Hive::LocalMachine, "SOFTWARE\\Nothing"));
    reg().createKey(Hive::LocalMachine, "SOFTWARE\\Some");
    EXPECT_EQ(reg().queryValue(Hive::LocalMachine, "SOFTWARE\\Some", "x", &v), reg::FileNotFound);
}

TEST_F(RegistryTest, TypedValuesSurviveARestart)
{
    const QString key = "SOFTWARE\\Pomerel\\Paramètres";
    reg().createKey(Hive::LocalMachine, key);
    const QList<std::pair<QString, RegValue>> values = {
        {"texte", RegValue::fromText("Relevés d'hiver ’ | \t tab")},
        {"nul final", RegValue::fromText(QString("C:\\Mirelot") + QChar(0))},
        {"nombre", RegValue::fromDword(0xFFFFFFFFu)},
        {"binaire", RegValue::fromBytes(RegType::Binary, QByteArray("\x00\x01\xff", 3))},
        {"étendu", {RegType::ExpandSz, "%HOME%\\x", 0, {}}},
        {"multi", {RegType::MultiSz, QString("a") + QChar(0) + "b", 0, {}}},
    };
    for (const auto& [name, v] : values)
        ASSERT_EQ(reg().setValue(Hive::LocalMachine, key, name, v), reg::Success) << name.toStdString();
    env.restartRegistry();
    for (const auto& [name, v] : values) {
        RegValue back;
        ASSERT_EQ(reg().queryValue(Hive::LocalMachine, key, name, &back), reg::Success) << name.toStdString();
        EXPECT_EQ(back, v) << name.toStdString();
    }
}

TEST_F(RegistryTest, EnumerationByIndexWithStatusCodes)
{
    reg().createKey(Hive::CurrentUser, "Root\\Paramètres");
    reg().createKey(Hive::CurrentUser, "Root\\Performances");
    reg().createKey(Hive::CurrentUser, "Root\\" + QString(40, 'x'));
    reg().setValue(Hive::CurrentUser, "Root", "court", RegValue::fromText("1"));
    reg().setValue(Hive::CurrentUser, "Root", QString(30, 'n'), RegValue::fromText("2"));

    struct Row
    {
        bool keys;
        int index;
        int buffer;
        long status;
        QString name;
    };
    const Row rows[] = {
        {true, 0, 2000, reg::Success, "Paramètres"},
        {true, 1, 2000, reg::Success, "Performances"},
        {true, 2, 41, reg::Success, QString(40, 'x')}, // the name and its NUL fit exactly
        {true, 2, 40, reg::MoreData, ""},
        {true, 3, 2000, reg::NoMoreItems, ""},
        {false, 0, 2000, reg::Success, "court"},
        {false, 1, 30, reg::MoreData, ""},
        {false, 1, 31, reg::Success, QString(30, 'n')},
        {false, 2, 2000, reg::NoMoreItems, ""},
    };
    for (const Row& r : rows) {
        QString name;
        const long st = r.keys ? reg().enumKey(Hive::CurrentUser, "Root", r.index, &name, r.buffer)
                               : reg().enumValue(Hive::CurrentUser, "Root", r.index, &name, r.buffer);
        EXPECT_EQ(st, r.status) << r.keys << " " << r.index << " " << r.buffer;
        if (st == reg::Success) {
            EXPECT_EQ(name, r.name);
        }
    }
    QString name;
    EXPECT_EQ(reg().enumKey(Hive::CurrentUser, "Missing", 0, &name), reg::FileNotFound);
}

TEST_F(RegistryTest, DeleteKeyRemovesItsSubtreeButNeverTheRoot)
{
    reg().createKey(Hive::CurrentUser, "Software\\VB and VBA Program Settings\\Pomerel\\Paramètres");
    EXPECT_EQ(reg().deleteKey(Hive::CurrentUser, "software\\vb and vba program settings\\pomerel"),
              reg::Success);
    EXPECT_FALSE(reg().keyExists(Hive::CurrentUser, "Software\\VB and VBA Program Settings\\Pomerel"));
    EXPECT_TRUE(reg().keyExists(Hive::CurrentUser, "Software\\VB and VBA Program Settings"));
    EXPECT_EQ(reg().deleteKey(Hive::CurrentUser, "Software\\VB and VBA Program Settings\\Pomerel"),
              reg::FileNotFound);
    EXPECT_EQ(reg().deleteKey(Hive::CurrentUser, ""), reg::AccessDenied);
}

TEST_F(RegistryTest, UnreadableStoreIsSetAsideAndDefaultsUsed)
{
    reg().createKey(Hive::LocalMachine, "SOFTWARE\\Mirelot");
    const QString file = reg().storeFile();
    for (const QByteArray& bad : {QByteArray("{ not json"), QByteArray("{\"format\":\"other\"}"),
                                  QByteArray("\xff\xfe\x00garbage", 10)}) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bad);
        f.close();
        env.restartRegistry();
        EXPECT_FALSE(reg().keyExists(Hive::LocalMachine, "SOFTWARE\\Mirelot"));
        ASSERT_FALSE(reg().setAsideFile().isEmpty());
        QFile aside(reg().setAsideFile());
        ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
        EXPECT_EQ(aside.readAll(), bad);
        aside.close();
        aside.remove(); // the next round must set its own file aside
        // The store works again and writes a fresh file.
        EXPECT_EQ(reg().createKey(Hive::LocalMachine, "SOFTWARE\\Mirelot"), reg::Success);
        env.restartRegistry();
        EXPECT_TRUE(reg().keyExists(Hive::LocalMachine, "SOFTWARE\\Mirelot"));
    }
}

TEST(RegistryStore, DefaultFileFollowsMirelotHome)
{
    testing_support::TestEnvironment env;
    EXPECT_EQ(Registry::defaultStoreFile(), QDir(env.home()).filePath("registry.json"));
}

// Two copies of the program on one store: each change is made over the store as it is on disk.
struct TwoCopiesTest : ::testing::Test
{
    QTemporaryDir dir;
    QString file() const { return dir.filePath("registry.json"); }
    const QString key = "SOFTWARE\\Mirelot\\Paramètres";

    static QString text(const Registry& r, const QString& key, const QString& name)
    {
        RegValue v;
        return r.queryValue(Hive::LocalMachine, key, name, &v) == reg::Success ? v.text
                                                                               : QStringLiteral("<absent>");
    }
};

TEST_F(TwoCopiesTest, EachCopyKeepsTheOthersChanges)
{
    {
        Registry first(file());
        ASSERT_EQ(first.createKey(Hive::LocalMachine, key), reg::Success);
        ASSERT_EQ(first.setValue(Hive::LocalMachine, key, "Commun", RegValue::fromText("0")), reg::Success);
        ASSERT_EQ(first.setValue(Hive::LocalMachine, key, "Supprimé", RegValue::fromText("x")), reg::Success);
        ASSERT_EQ(first.createKey(Hive::LocalMachine, "SOFTWARE\\Mirelot\\Ancien"), reg::Success);
    }
    Registry a(file());
    Registry b(file());
    ASSERT_EQ(a.setValue(Hive::LocalMachine, key, "Option A", RegValue::fromText("-1")), reg::Success);
    ASSERT_EQ(b.setValue(Hive::LocalMachine, key, "Option B", RegValue::fromText("-1")), reg::Success);
    EXPECT_EQ(text(b, key, "Option A"), "-1"); // B reads the merged store after its write
    ASSERT_EQ(a.deleteValue(Hive::LocalMachine, key, "Supprimé"), reg::Success);
    ASSERT_EQ(a.deleteKey(Hive::LocalMachine, "SOFTWARE\\Mirelot\\Ancien"), reg::Success);
    // B still holds both in memory; its next change must not bring them back.
    ASSERT_EQ(b.setValue(Hive::LocalMachine, key, "Commun", RegValue::fromText("1")), reg::Success);
    EXPECT_EQ(text(b, key, "Supprimé"), "<absent>");
    EXPECT_FALSE(b.keyExists(Hive::LocalMachine, "SOFTWARE\\Mirelot\\Ancien"));
    // A sets the value B changed back to what A last saw: that is A's change, and it is written.
    ASSERT_EQ(a.setValue(Hive::LocalMachine, key, "Commun", RegValue::fromText("0")), reg::Success);

    Registry after(file());
    EXPECT_EQ(text(after, key, "Option A"), "-1");
    EXPECT_EQ(text(after, key, "Option B"), "-1");
    EXPECT_EQ(text(after, key, "Commun"), "0");
    EXPECT_EQ(text(after, key, "Supprimé"), "<absent>");
    EXPECT_FALSE(after.keyExists(Hive::LocalMachine, "SOFTWARE\\Mirelot\\Ancien"));
    EXPECT_FALSE(QFile::exists(file() + ".lock"));
}

TEST_F(TwoCopiesTest, AWriteWaitsForTheOtherCopysLock)
{
    Registry a(file());
    ASSERT_EQ(a.createKey(Hive::LocalMachine, key), reg::Success);
    std::atomic<bool> held{false};
    std::thread other([&] {
        QLockFile lock(file() + ".lock");
        EXPECT_TRUE(lock.lock());
        held = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    });
    while (!held)
        std::this_thread::yield();
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(a.setValue(Hive::LocalMachine, key, "v", RegValue::fromText("1")), reg::Success);
    EXPECT_GE(timer.elapsed(), 250);
    other.join();
}

TEST_F(TwoCopiesTest, AStaleLockDoesNotStopTheWrite)
{
    Registry a(file());
    ASSERT_EQ(a.createKey(Hive::LocalMachine, key), reg::Success);
    const QString lockFile = file() + ".lock";
    struct Case
    {
        const char* name;
        std::function<void()> leave;
    };
    const Case cases[] = {
        {"copy that ended while holding it",
         [&] {
             const pid_t child = ::fork();
             if (child == 0) {
                 QLockFile lock(lockFile);
                 lock.lock();
                 ::_exit(0); // the lock file stays behind
             }
             int status = 0;
             ::waitpid(child, &status, 0);
         }},
        {"old lock of unknown owner",
         [&] {
             testing_support::writeBytes(lockFile, "illisible");
             QFile f(lockFile);
             ASSERT_TRUE(f.open(QIODevice::ReadWrite));
             ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                       QFileDevice::FileModificationTime));
         }},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.leave();
        ASSERT_TRUE(QFile::exists(lockFile));
        QElapsedTimer timer;
        timer.start();
        EXPECT_EQ(a.setValue(Hive::LocalMachine, key, "v", RegValue::fromText(QString::number(++n))),
                  reg::Success);
        EXPECT_LT(timer.elapsed(), 4000);
        EXPECT_EQ(text(Registry(file()), key, "v"), QString::number(n));
    }
}

// A full disk: the old store stays, the change is read from memory and written with the next one.
TEST_F(TwoCopiesTest, FailedWriteKeepsTheValueInMemoryAndTriesAgain)
{
    Registry r(file());
    ASSERT_EQ(r.createKey(Hive::LocalMachine, key), reg::Success);
    ASSERT_EQ(r.setValue(Hive::LocalMachine, key, "ancien", RegValue::fromText("1")), reg::Success);
    const QByteArray before = testing_support::readBytes(file());
    const QString big(8000, 'x');
    {
        testing_support::FileSizeLimit limit(4096);
        EXPECT_EQ(r.setValue(Hive::LocalMachine, key, "long", RegValue::fromText(big)), reg::WriteFault);
        EXPECT_EQ(r.deleteValue(Hive::LocalMachine, key, "ancien"), reg::WriteFault);
    }
    EXPECT_TRUE(r.lastWriteError().contains("le disque est plein")) << r.lastWriteError().toStdString();
    EXPECT_TRUE(r.lastWriteError().contains(file())) << r.lastWriteError().toStdString();
    EXPECT_EQ(testing_support::readBytes(file()), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    EXPECT_EQ(text(r, key, "long"), big);
    EXPECT_EQ(text(r, key, "ancien"), "<absent>");

    ASSERT_EQ(r.setValue(Hive::LocalMachine, key, "suivant", RegValue::fromText("2")), reg::Success);
    EXPECT_TRUE(r.lastWriteError().isEmpty());
    Registry after(file());
    EXPECT_EQ(text(after, key, "long"), big);
    EXPECT_EQ(text(after, key, "ancien"), "<absent>");
    EXPECT_EQ(text(after, key, "suivant"), "2");
}

// A store that can be neither read nor set aside (here its set-aside name would be too long)
// is left as it is; the session works on defaults in memory.
TEST_F(TwoCopiesTest, UnreadableStoreThatCannotBeSetAsideIsNeverReplaced)
{
    const QString longFile = dir.filePath(QString(240, 'r') + ".json");
    const QByteArray garbage = "{ pas un fichier de paramètres";
    testing_support::writeBytes(longFile, garbage);
    Registry r(longFile);
    EXPECT_TRUE(r.setAsideFile().isEmpty());
    EXPECT_TRUE(r.openingProblem().startsWith(
        QStringLiteral("Le fichier « %1 » ne peut pas être lu : ").arg(longFile)))
        << r.openingProblem().toStdString();
    EXPECT_TRUE(r.openingProblem().contains("mis de côté")) << r.openingProblem().toStdString();
    EXPECT_EQ(r.createKey(Hive::LocalMachine, key), reg::WriteFault);
    EXPECT_EQ(r.setValue(Hive::LocalMachine, key, "v", RegValue::fromText("1")), reg::WriteFault);
    EXPECT_TRUE(r.lastWriteError().contains(longFile)) << r.lastWriteError().toStdString();
    EXPECT_EQ(text(r, key, "v"), "1");
    EXPECT_EQ(testing_support::readBytes(longFile), garbage);
}

// A store kept as a link (a dotfile manager's) is the user's file where it lies: read and written
// there, the link kept; unreadable, that file is set aside beside itself and made again.
TEST_F(TwoCopiesTest, AStoreKeptAsALinkIsUsedWhereItLies)
{
    QTemporaryDir dotfiles;
    const QString real = dotfiles.filePath("registry.json");
    {
        Registry first(real);
        ASSERT_EQ(first.createKey(Hive::LocalMachine, key), reg::Success);
        ASSERT_EQ(first.setValue(Hive::LocalMachine, key, "v", RegValue::fromText("1")), reg::Success);
    }
    ASSERT_TRUE(QFile::link(real, file()));
    {
        Registry r(file());
        EXPECT_TRUE(r.openingProblem().isEmpty() && r.setAsideFile().isEmpty())
            << r.openingProblem().toStdString();
        EXPECT_EQ(text(r, key, "v"), "1");
        ASSERT_EQ(r.setValue(Hive::LocalMachine, key, "v", RegValue::fromText("2")), reg::Success)
            << r.lastWriteError().toStdString();
    }
    EXPECT_TRUE(QFileInfo(file()).isSymLink());
    EXPECT_EQ(text(Registry(real), key, "v"), "2");

    testing_support::writeBytes(real, "{ illisible");
    Registry r(file());
    EXPECT_EQ(QFileInfo(r.setAsideFile()).absolutePath(), QFileInfo(real).absolutePath());
    ASSERT_EQ(r.createKey(Hive::LocalMachine, key), reg::Success);
    ASSERT_EQ(r.setValue(Hive::LocalMachine, key, "v", RegValue::fromText("3")), reg::Success);
    EXPECT_TRUE(QFileInfo(file()).isSymLink());
    EXPECT_EQ(text(Registry(real), key, "v"), "3");
}

TEST_F(TwoCopiesTest, NewStoreTakesTheUsersUsualPermissions)
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    Registry r(dir.filePath("nouveau/registry.json"));
    ASSERT_EQ(r.createKey(Hive::LocalMachine, key), reg::Success);
    struct stat st
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(r.storeFile()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask & 0777);
    ASSERT_EQ(::stat(QFile::encodeName(dir.filePath("nouveau")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0777 & ~mask & 0777);
}

} // namespace
