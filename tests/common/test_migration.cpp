#include "common/Migration.h"
#include "common/Settings.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using platform::Hive;
using platform::RegType;
using platform::RegValue;

namespace {
const QString siblingUser = "Software\\VB and VBA Program Settings\\Pomerel";
const QString programUser = "Software\\VB and VBA Program Settings\\Mirelot";
const QString siblingMachine = "SOFTWARE\\Pomerel";
} // namespace

struct MigrationTest : ::testing::Test
{
    testing_support::TestEnvironment env;

    void put(Hive hive, const QString& key, const QString& name, const RegValue& v)
    {
        ASSERT_EQ(env.registry().createKey(hive, key), platform::reg::Success);
        ASSERT_EQ(env.registry().setValue(hive, key, name, v), platform::reg::Success);
    }
    void putUser(const QString& section, const QString& name, const RegValue& v)
    {
        put(Hive::CurrentUser, siblingUser + "\\" + section, name, v);
    }
    void putMachine(const QString& section, const QString& name, const RegValue& v)
    {
        put(Hive::LocalMachine, siblingMachine + "\\" + section, name, v);
    }
    QString userSetting(const QString& section, const QString& name)
    {
        return fun_Get_Setting_VB(section, name, "<absent>", "Mirelot");
    }
    QString machineSetting(const QString& section, const QString& name)
    {
        return fun_Get_Setting_Str(section, name, "<absent>");
    }
};

TEST_F(MigrationTest, PerUserSettingsCopiedThenDeletedPerformancesSkipped)
{
    // "Performances" is skipped whatever its case; a section whose name only begins with it is not.
    struct Row
    {
        const char* section;
        bool copied;
    };
    const Row rows[] = {
        {"Paramètres", true},
        {"performances", false},
        {"Fenêtres", true},
        {"Performances2", true},
    };
    for (const Row& r : rows)
        putUser(r.section, "Valeur", RegValue::fromText(QString("de ") + r.section));
    putUser("Paramètres", "Nombre", RegValue::fromDword(15));
    putUser("Paramètres", "Octets", RegValue::fromBytes(RegType::Binary, "\x01\x02"));

    sub_Migration_Registre();

    for (const Row& r : rows) {
        EXPECT_EQ(userSetting(r.section, "Valeur"), r.copied ? QString("de ") + r.section : "<absent>")
            << r.section;
        EXPECT_EQ(env.registry().keyExists(Hive::CurrentUser, programUser + "\\" + r.section), r.copied)
            << r.section;
    }
    EXPECT_EQ(userSetting("Paramètres", "Nombre"), "15");
    EXPECT_EQ(userSetting("Paramètres", "Octets"), "NotFnd");
    EXPECT_FALSE(env.registry().keyExists(Hive::CurrentUser, siblingUser));
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
}

TEST_F(MigrationTest, PerformancesSkippedInAnyCase)
{
    for (const char* name : {"PERFORMANCES", "Performances", "PerFormances", "performances"}) {
        putUser(name, "Mesure", RegValue::fromText("1"));
        sub_Migration_Registre();
        EXPECT_FALSE(env.registry().keyExists(Hive::CurrentUser, programUser + "\\Performances")) << name;
        EXPECT_FALSE(env.registry().keyExists(Hive::CurrentUser, siblingUser)) << name;
    }
}

TEST_F(MigrationTest, MachineWideValuesCopiedAsText)
{
    EXPECT_TRUE(sub_Reg_Write_HKLM("Paramètres", "Dossier", "C:\\Mirelot"));
    EXPECT_TRUE(sub_Reg_Write_HKLM("Paramètres", "Propre", "gardé"));
    putMachine("Paramètres", "Dossier", RegValue::fromText("D:\\Relevés"));
    putMachine("Paramètres", "Nombre", RegValue::fromDword(15));
    putMachine("Paramètres", "Octets", RegValue::fromBytes(RegType::Binary, "\x01"));
    putMachine("Paramètres", "Étendu", {RegType::ExpandSz, "%HOME%", 0, {}});
    putMachine("Paramètres", "Avec NUL", RegValue::fromText(QString("x") + QChar(0)));
    putMachine("Version", "Version", RegValue::fromText("Z2009"));
    put(Hive::LocalMachine, siblingMachine + "\\Vide", "", RegValue::fromText(""));
    env.registry().deleteValue(Hive::LocalMachine, siblingMachine + "\\Vide", "");

    sub_Migration_Registre();

    struct Row
    {
        const char* section;
        const char* name;
        const char* value;
    };
    const Row rows[] = {
        {"Paramètres", "Dossier", "D:\\Relevés"}, // replaces the program's own folder on the first copy
        {"Paramètres", "Propre", "gardé"},        // values under other names are left alone
        {"Paramètres", "Nombre", "15"},           {"Paramètres", "Octets", "NotFnd"},
        {"Paramètres", "Étendu", "NotFnd"},       {"Paramètres", "Avec NUL", "x"},
        {"Version", "Version", "Z2009"}, // so the first-start set-up finds a version
    };
    for (const Row& r : rows)
        EXPECT_EQ(machineSetting(r.section, r.name), QString::fromUtf8(r.value)) << r.name;
    RegValue stored;
    ASSERT_EQ(
        env.registry().queryValue(Hive::LocalMachine, "SOFTWARE\\Mirelot\\Paramètres", "Nombre", &stored), 0);
    EXPECT_EQ(stored.type, RegType::Sz);
    // An empty section is read but not created in the program's settings.
    EXPECT_FALSE(env.registry().keyExists(Hive::LocalMachine, "SOFTWARE\\Mirelot\\Vide"));
    // The sibling's machine-wide settings stay in place.
    EXPECT_EQ(fun_Get_Setting_Str("Paramètres", "Dossier", "", "Pomerel"), "D:\\Relevés");
}

TEST_F(MigrationTest, UnreadableValuesNeverReplaceTheProgramsOwn)
{
    // The program already has a data folder and a per-user value; the sibling's values of the
    // same names cannot be read as text or number.
    EXPECT_TRUE(sub_Reg_Write_HKLM("Paramètres", "Dossier", "C:\\Mirelot"));
    EXPECT_TRUE(sub_Save_Setting("Fenêtres", "Position", "10,20", "Mirelot"));
    putMachine("Paramètres", "Dossier", RegValue::fromBytes(RegType::Binary, "\x01"));
    putMachine("Paramètres", "Liste", {RegType::MultiSz, "a", 0, {}});
    putUser("Fenêtres", "Position", RegValue::fromBytes(RegType::Binary, "\x02"));
    putUser("Fenêtres", "Taille", RegValue::fromBytes(RegType::Binary, "\x03"));

    sub_Migration_Registre();

    EXPECT_EQ(machineSetting("Paramètres", "Dossier"), "C:\\Mirelot");
    EXPECT_EQ(userSetting("Fenêtres", "Position"), "10,20");
    // Where the program has no value, the unreadable one is still recorded as such.
    EXPECT_EQ(machineSetting("Paramètres", "Liste"), "NotFnd");
    EXPECT_EQ(userSetting("Fenêtres", "Taille"), "NotFnd");
    // The copy counts as made: a later start does not try again.
    EXPECT_NE(machineSetting("Version", "Migration Pomerel"), "<absent>");
}

TEST_F(MigrationTest, NamesTooLongForTheEnumeration)
{
    const QString longName(2000, 'n'); // with its terminating NUL it does not fit 2000 characters
    const QString fitting(1999, 'f');
    putMachine("Paramètres", longName, RegValue::fromText("trop long"));
    putMachine("Paramètres", fitting, RegValue::fromText("tient"));
    putMachine("Paramètres", "Après", RegValue::fromText("copié"));
    // Per user the enumeration of a section stops at such a name.
    putUser("Options", longName, RegValue::fromText("trop long"));
    putUser("Options", "Après", RegValue::fromText("non copié"));
    putUser("Autres", "Valeur", RegValue::fromText("copié"));

    sub_Migration_Registre();

    EXPECT_EQ(machineSetting("Paramètres", longName), "<absent>");
    EXPECT_EQ(machineSetting("Paramètres", fitting), "tient");
    EXPECT_EQ(machineSetting("Paramètres", "Après"), "copié");
    EXPECT_EQ(userSetting("Options", "Après"), "<absent>");
    EXPECT_EQ(userSetting("Autres", "Valeur"), "copié");
}

TEST_F(MigrationTest, MachineWideCopyRunsOncePerMachine)
{
    putMachine("Paramètres", "Dossier", RegValue::fromText("D:\\Relevés"));
    env.clock().set(QDateTime(QDate(2010, 11, 3), QTime(9, 30)));

    sub_Migration_Registre();
    EXPECT_EQ(machineSetting("Paramètres", "Dossier"), "D:\\Relevés");
    EXPECT_EQ(machineSetting("Version", "Migration Pomerel"), "2010-11-03T09:30:00");

    // The user moves the data folder; the sibling's settings are still there and change too.
    EXPECT_TRUE(sub_Reg_Write_HKLM("Paramètres", "Dossier", "E:\\Nouveau"));
    putMachine("Paramètres", "Dossier", RegValue::fromText("F:\\Autre"));
    putMachine("Paramètres", "Nouvelle", RegValue::fromText("x"));

    // Next start, and a start after the store was read back from its file.
    sub_Migration_Registre();
    EXPECT_EQ(machineSetting("Paramètres", "Dossier"), "E:\\Nouveau");
    env.restartRegistry();
    sub_Migration_Registre();
    EXPECT_EQ(machineSetting("Paramètres", "Dossier"), "E:\\Nouveau");
    EXPECT_EQ(machineSetting("Paramètres", "Nouvelle"), "<absent>");
    EXPECT_EQ(machineSetting("Version", "Migration Pomerel"), "2010-11-03T09:30:00");
}

TEST_F(MigrationTest, PerUserCopyStillRunsAfterTheMachineWideOne)
{
    putMachine("Paramètres", "Dossier", RegValue::fromText("D:\\Relevés"));
    sub_Migration_Registre();
    // Per-user settings that appear later are taken over and removed at the source.
    putUser("Paramètres", "Tardive", RegValue::fromText("oui"));
    sub_Migration_Registre();
    EXPECT_EQ(userSetting("Paramètres", "Tardive"), "oui");
    EXPECT_FALSE(env.registry().keyExists(Hive::CurrentUser, siblingUser));
}

TEST_F(MigrationTest, SiblingAbsentWritesNothingAndIsCopiedWhenItAppears)
{
    sub_Migration_Registre();
    EXPECT_FALSE(env.registry().keyExists(Hive::LocalMachine, "SOFTWARE\\Mirelot"));
    EXPECT_FALSE(env.registry().keyExists(Hive::CurrentUser, programUser));
    // The program still reads as never started.
    EXPECT_EQ(fun_Get_Setting_Str("Version", "Version", "?"), "?");

    putMachine("Paramètres", "Dossier", RegValue::fromText("D:\\Relevés"));
    sub_Migration_Registre();
    EXPECT_EQ(machineSetting("Paramètres", "Dossier"), "D:\\Relevés");
    EXPECT_NE(machineSetting("Version", "Migration Pomerel"), "<absent>");
}

TEST_F(MigrationTest, SiblingKeyWithoutSectionsIsMarkedDone)
{
    ASSERT_EQ(env.registry().createKey(Hive::LocalMachine, siblingMachine), 0);
    sub_Migration_Registre();
    EXPECT_NE(machineSetting("Version", "Migration Pomerel"), "<absent>");
    putMachine("Paramètres", "Dossier", RegValue::fromText("D:\\Relevés"));
    sub_Migration_Registre();
    EXPECT_EQ(machineSetting("Paramètres", "Dossier"), "<absent>");
}
