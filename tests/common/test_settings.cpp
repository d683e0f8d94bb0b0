#include "common/Settings.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestEnvironment.h"

#include <cmath>
#include <gtest/gtest.h>

using platform::Hive;
using platform::RegType;
using platform::RegValue;

TEST(NumberReading, ValIsLocaleIndependent)
{
    struct Row
    {
        const char* text;
        double value;
    };
    const Row rows[] = {
        {"12,5", 12},
        {"3.25", 3.25},
        {"", 0},
        {"abc", 0},
        {"12abc", 12},
        {"1 0", 10},
        {" \t\n42", 42},
        {"-7.5", -7.5},
        {"+3", 3},
        {".5", 0.5},
        {"1.", 1},
        {"1.2.3", 1.2},
        {"1E3", 1000},
        {"2e-2", 0.02},
        {"5E", 5},
        {"-", 0},
        {"3,75", 3},
        {"1e999", INFINITY},
        {"-1e400", -INFINITY},
        {"1e-400", 0}, // too large: an overflow; too small: 0
        {"٣", 0},      // digits of other scripts are not digits here
    };
    for (const Row& r : rows)
        EXPECT_DOUBLE_EQ(common::leadingNumber(QString::fromUtf8(r.text)), r.value) << r.text;
}

TEST(NumberReading, CIntRoundsHalfToEvenAndRefusesOverflow)
{
    struct Row
    {
        double in;
        std::optional<qint16> out;
    };
    const Row rows[] = {
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {0.5, 0},
        {1.5, 2},
        {2.4999, 2},
        {32767, 32767},
        {32767.5, std::nullopt},
        {-32768, -32768},
        {-32768.5, -32768},
        {-32769, std::nullopt},
        {40000, std::nullopt},
        {NAN, std::nullopt},
        {INFINITY, std::nullopt},
    };
    for (const Row& r : rows)
        EXPECT_EQ(common::roundToInt16(r.in), r.out) << r.in;
}

struct SettingsTest : ::testing::Test
{
    testing_support::TestEnvironment env;
    void putRaw(const QString& section, const QString& name, const RegValue& v,
                const QString& prog = "Mirelot")
    {
        env.registry().createKey(Hive::LocalMachine, common::machineKey(section, prog));
        env.registry().setValue(Hive::LocalMachine, common::machineKey(section, prog), name, v);
    }
};

TEST_F(SettingsTest, ReadersOverStoredValues)
{
    putRaw("Paramètres", "texte", RegValue::fromText("C:\\Mirelot"));
    putRaw("Paramètres", "nul", RegValue::fromText(QString("C:\\Mirelot") + QChar(0)));
    putRaw("Paramètres", "dword", RegValue::fromDword(1234));
    putRaw("Paramètres", "négatif", RegValue::fromDword(0xFFFFFFFFu));
    putRaw("Paramètres", "vide", RegValue::fromText(""));
    putRaw("Paramètres", "3.5", RegValue::fromText("3.5"));
    putRaw("Paramètres", "2.5", RegValue::fromText("2.5"));
    putRaw("Paramètres", "12abc", RegValue::fromText("12abc"));
    putRaw("Paramètres", "40000", RegValue::fromText("40000"));
    putRaw("Paramètres", "3,75", RegValue::fromText("3,75"));
    putRaw("Paramètres", "abc", RegValue::fromText("abc"));
    putRaw("Paramètres", "binaire", RegValue::fromBytes(RegType::Binary, "\x01\x02"));
    putRaw("Paramètres", "étendu", {RegType::ExpandSz, "x", 0, {}});
    putRaw("Paramètres", "multi", {RegType::MultiSz, "x", 0, {}});
    putRaw("Paramètres", "1e10", RegValue::fromText("1e10"));
    putRaw("Paramètres", "1e400", RegValue::fromText("1e400"));
    putRaw("Paramètres", "-1e400", RegValue::fromText("-1e400"));
    putRaw("Paramètres", "1e-400", RegValue::fromText("1e-400"));

    struct Row
    {
        const char* name;
        const char* def;
        QString str;
        std::optional<qint16> i;
        std::optional<double> d;
    };
    const Row rows[] = {
        {"texte", "?", "C:\\Mirelot", 0, 0},
        {"nul", "?", "C:\\Mirelot", 0, 0},
        {"dword", "?", "1234", 1234, 1234},
        {"négatif", "?", "-1", -1, -1},
        {"vide", "?", "", 0, 0},
        {"3.5", "?", "3.5", 4, 3.5},
        {"2.5", "?", "2.5", 2, 2.5},
        {"12abc", "?", "12abc", 12, 12},
        {"40000", "?", "40000", std::nullopt, 40000},
        {"3,75", "?", "3,75", 3, 3},
        {"abc", "999", "abc", 0, 0}, // a text that is no number gives 0, not the default
        {"binaire", "999", "999", 999, 999},
        {"étendu", "999", "999", 999, 999},
        {"multi", "999", "999", 999, 999},
        {"absent", "999", "999", 999, 999},
        {"absent", "?", "?", 0, 0},
        // Overflows give no value to either reader, so that the caller keeps its own.
        {"1e10", "?", "1e10", std::nullopt, 1e10},
        {"1e400", "?", "1e400", std::nullopt, std::nullopt},
        {"-1e400", "?", "-1e400", std::nullopt, std::nullopt},
        {"absent", "1e400", "1e400", std::nullopt, std::nullopt},
        {"1e-400", "?", "1e-400", 0, 0},
    };
    for (const Row& r : rows) {
        const QString name = QString::fromUtf8(r.name);
        const QString def = QString::fromUtf8(r.def);
        EXPECT_EQ(fun_Get_Setting_Str("Paramètres", name, def), r.str) << r.name;
        EXPECT_EQ(fun_Get_Setting_Int("Paramètres", name, def), r.i) << r.name;
        EXPECT_EQ(fun_Get_Setting_Dbl("Paramètres", name, def), r.d) << r.name;
    }
    EXPECT_EQ(fun_Get_Setting_Str("Version", "Version", "?"), "?");
    EXPECT_EQ(fun_Get_Setting_Str("Section absente", "x", "défaut"), "défaut");
}

TEST_F(SettingsTest, QueryValueReportsTypes)
{
    putRaw("S", "t", RegValue::fromText("a"));
    putRaw("S", "n", RegValue::fromDword(7));
    putRaw("S", "b", RegValue::fromBytes(RegType::Binary, "z"));
    QVariant result = QStringLiteral("untouched");
    const QString key = common::machineKey("S", "Mirelot");
    EXPECT_EQ(fun_Query_Value(Hive::LocalMachine, key, "b", result), -1);
    EXPECT_EQ(result.toString(), "untouched");
    EXPECT_EQ(fun_Query_Value(Hive::LocalMachine, key, "absent", result), platform::reg::FileNotFound);
    EXPECT_EQ(result.toString(), "untouched");
    EXPECT_EQ(fun_Query_Value(Hive::LocalMachine, key, "n", result), 0);
    EXPECT_EQ(result, QVariant(qint32(7)));
    EXPECT_EQ(fun_Query_Value(Hive::LocalMachine, key, "t", result), 0);
    EXPECT_EQ(result, QVariant(QString("a")));
}

TEST_F(SettingsTest, WriterCreatesTheSectionAndSurvivesARestart)
{
    EXPECT_FALSE(env.registry().keyExists(Hive::LocalMachine, "SOFTWARE\\Mirelot\\Options Générales"));
    EXPECT_TRUE(sub_Reg_Write_HKLM("Options Générales", "Nbr_Demarrage", "3"));
    EXPECT_TRUE(sub_Reg_Write_HKLM("Paramètres", "Dossier", "/home/u/Relevés d’hiver"));
    env.restartRegistry();
    EXPECT_EQ(fun_Get_Setting_Int("Options Générales", "Nbr_Demarrage", "0"), 3);
    EXPECT_EQ(fun_Get_Setting_Str("Paramètres", "Dossier", "????????"), "/home/u/Relevés d’hiver");
    RegValue v;
    env.registry().queryValue(Hive::LocalMachine, "SOFTWARE\\Mirelot\\Paramètres", "Dossier", &v);
    EXPECT_EQ(v.type, RegType::Sz);
}

TEST_F(SettingsTest, PerUserSettingsAndTheirDeletion)
{
    EXPECT_EQ(fun_Get_Setting_VB("Paramètres", "Dossier", "NotFnd", "Pomerel"), "NotFnd");
    EXPECT_TRUE(sub_Save_Setting("Paramètres", "Dossier", "D:\\Relevés", "Pomerel"));
    EXPECT_TRUE(sub_Save_Setting("Performances", "x", "1", "Pomerel"));
    EXPECT_EQ(fun_Get_Setting_VB("Paramètres", "Dossier", "NotFnd", "Pomerel"), "D:\\Relevés");
    EXPECT_TRUE(env.registry().keyExists(Hive::CurrentUser,
                                         "Software\\VB and VBA Program Settings\\Pomerel\\Paramètres"));

    EXPECT_TRUE(sub_Reg_Delete_Settings("Paramètres", "Pomerel"));
    EXPECT_EQ(fun_Get_Setting_VB("Paramètres", "Dossier", "NotFnd", "Pomerel"), "NotFnd");
    EXPECT_EQ(fun_Get_Setting_VB("Performances", "x", "NotFnd", "Pomerel"), "1");
    // A blank section names the program's whole key.
    EXPECT_TRUE(sub_Reg_Delete_Settings("   ", "Pomerel"));
    EXPECT_FALSE(
        env.registry().keyExists(Hive::CurrentUser, "Software\\VB and VBA Program Settings\\Pomerel"));
    EXPECT_FALSE(sub_Reg_Delete_Settings("", "Pomerel"));
}

// A full disk under the store: the user hears of it once a session, the session goes on with the
// values in memory, and the next change that can be written takes them all to disk.
TEST_F(SettingsTest, FailedWritesAreToldOnceASessionAndKeptInMemory)
{
    ASSERT_TRUE(sub_Reg_Write_HKLM("Paramètres", "Dossier", "/home/u/Relevés"));
    const QString store = env.registry().storeFile();
    const QByteArray before = testing_support::readBytes(store);
    const QString big(8000, u'é');
    env.dialogs().answer(platform::mb::OK);
    {
        testing_support::FileSizeLimit limit(4096);
        EXPECT_FALSE(sub_Reg_Write_HKLM("Paramètres", "Long", big));
        // Each failure says why, naming the store, though only the first is told.
        const platform::Result counter = sub_Reg_Write_HKLM("Options Générales", "Nbr_Demarrage", "4");
        EXPECT_FALSE(counter);
        EXPECT_TRUE(counter.error.contains(store)) << counter.error.toStdString();
        EXPECT_TRUE(counter.error.contains("le disque est plein")) << counter.error.toStdString();
        EXPECT_FALSE(sub_Save_Setting("Paramètres", "Dossier", "D:\\Relevés", "Pomerel"));
        EXPECT_FALSE(sub_Reg_Delete_Settings("Paramètres", "Pomerel"));
    }
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    const QString box = env.dialogs().asked().front().text;
    EXPECT_TRUE(box.contains(store)) << box.toStdString();
    EXPECT_TRUE(box.contains("le disque est plein")) << box.toStdString();
    EXPECT_EQ(testing_support::readBytes(store), before);
    EXPECT_EQ(fun_Get_Setting_Str("Paramètres", "Long", "?"), big);
    EXPECT_EQ(fun_Get_Setting_Int("Options Générales", "Nbr_Demarrage", "0"), 4);
    EXPECT_EQ(fun_Get_Setting_VB("Paramètres", "Dossier", "NotFnd", "Pomerel"), "NotFnd");

    EXPECT_TRUE(sub_Reg_Write_HKLM("Paramètres", "Dossier", "/home/u/Autre"));
    EXPECT_TRUE(env.registry().lastWriteError().isEmpty());
    env.restartRegistry();
    EXPECT_EQ(fun_Get_Setting_Str("Paramètres", "Long", "?"), big);
    EXPECT_EQ(fun_Get_Setting_Int("Options Générales", "Nbr_Demarrage", "0"), 4);
    EXPECT_EQ(fun_Get_Setting_Str("Paramètres", "Dossier", "?"), "/home/u/Autre");

    // The next session tells it again.
    env.dialogs().answer(platform::mb::OK);
    {
        testing_support::FileSizeLimit limit(4096);
        EXPECT_FALSE(sub_Reg_Write_HKLM("Paramètres", "Dossier", "/home/u/Encore"));
    }
    EXPECT_EQ(env.dialogs().asked().size(), 2);
}

// The boxes at start about the store file itself.
TEST_F(SettingsTest, StartTellsOfAStoreSetAsideOrOneThatCannotBeReplaced)
{
    const QString garbage = "{ illisible";
    struct Case
    {
        const char* name;
        QString file;
        bool bad;
        QStringList expected; // pieces of the one box, or none
    };
    const QString longFile = env.path(QString(240, 'r') + ".json");
    const Case cases[] = {
        {"readable", env.path("bon.json"), false, {}},
        {"set aside",
         env.path("illisible.json"),
         true,
         {"mis de côté sous le nom", "illisible.json.illisible-"}},
        {"cannot be set aside",
         longFile,
         true,
         {QStringLiteral("Le fichier « %1 » ne peut pas être lu").arg(longFile),
          "Rien de ce que vous choisirez ou répondrez ne pourra être gardé"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.bad)
            testing_support::writeBytes(c.file, garbage.toUtf8());
        platform::Registry store(c.file);
        platform::Registry* previous = platform::services().registry;
        platform::services().registry = &store;
        env.dialogs().clearAsked();
        if (!c.expected.isEmpty())
            env.dialogs().answer(platform::mb::OK);
        common::reportSettingsStoreAtStart();
        // The changes of the session that follow give no further box.
        static_cast<void>(sub_Reg_Write_HKLM("Paramètres", "Dossier", "/home/u/Relevés"));
        EXPECT_EQ(fun_Get_Setting_Str("Paramètres", "Dossier", "?"), "/home/u/Relevés");
        platform::services().registry = previous;

        ASSERT_EQ(env.dialogs().asked().size(), c.expected.isEmpty() ? 0 : 1);
        for (const QString& piece : c.expected)
            EXPECT_TRUE(env.dialogs().asked().front().text.contains(piece))
                << env.dialogs().asked().front().text.toStdString();
    }
    EXPECT_EQ(testing_support::readBytes(longFile), garbage.toUtf8());
}
