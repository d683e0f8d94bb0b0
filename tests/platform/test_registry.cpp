#include "platform/Registry.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

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
    ASSERT_EQ(reg().queryValue(Hive::LocalMachine, "Software\\mirelot\\PARAMÈTRES", "DOSSIER", &v), reg::Success);
    EXPECT_EQ(v.text, "C:\\Mirelot");
    // One value, whatever the case used to write it again.
    reg().setValue(Hive::LocalMachine, "SOFTWARE\\Mirelot\\Paramètres", "dossier", RegValue::fromText("D:\\"));
    QString name;
    EXPECT_EQ(reg().enumValue(Hive::LocalMachine, "SOFTWARE\\Mirelot\\Paramètres", 1, &name), reg::NoMoreItems);
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

    struct Row { bool keys; int index; int buffer; long status; QString name; };
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
    EXPECT_EQ(reg().deleteKey(Hive::CurrentUser, "software\\vb and vba program settings\\pomerel"), reg::Success);
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

} // namespace
