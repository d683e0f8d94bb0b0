#include "common/OptionMarks.h"
#include "common/Settings.h"
#include "mainwindow/MenuOptions.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace mainwindow;

namespace {
void ecrire(const QString& name, const QString& value)
{
    EXPECT_TRUE(sub_Reg_Write_HKLM(common::kParametersSection, name, value));
}
} // namespace

struct OptionsTest : ::testing::Test
{
    testing_support::TestEnvironment env;
    OptionsTest() { resetMenuOptions(); }
};

TEST_F(OptionsTest, EachItemHasItsValueNameAndCreationMark)
{
    struct Row
    {
        Option option;
        const char* item;
        const char* valueName;
        bool checked;
    };
    const Row rows[] = {
        {Option::RenumGrid, "RenumGrid", "Grilles numérotées", false},
        {Option::AltColor, "AltColor", "Couleur alternée", false},
        {Option::Ajust, "Ajust", "Largeur automatique", true},
        {Option::Regroup, "Regroup", "Regroupement espèce", true},
        {Option::SaisieEsp, "SaisieEsp", "Validation Espèces", true},
        {Option::Saisie_Mammiferes, "Saisie_Mammiferes", "Saisie mammiferes", false},
        {Option::Atlas_STOC_EPS, "Atlas_STOC_EPS", "Atlas STOC-EPS", false},
        {Option::Saisie_Commentaires, "Saisie_Commentaires", "Saisie commentaires", false},
        {Option::TabCell, "TabCell", "TabCell", true},
        {Option::bing, "bing", "Bing", false},
        {Option::Réorg, "Réorg", "", true},
    };
    ASSERT_EQ(std::size(rows), std::size_t(kOptionCount));
    for (const Row& r : rows) {
        EXPECT_EQ(optionName(r.option), QString::fromUtf8(r.item));
        EXPECT_EQ(optionValueName(r.option), QString::fromUtf8(r.valueName)) << r.item;
        EXPECT_EQ(isOptionOn(r.option), r.checked) << r.item;
        // other windows read the same mark by the item's name
        EXPECT_EQ(common::isOptionChecked(QString::fromUtf8(r.item)), r.checked) << r.item;
    }
    for (int i = 0; i < kFrequencyCount; ++i)
        EXPECT_FALSE(isFrequencyChecked(i)) << i;
}

TEST_F(OptionsTest, CreationPutsEveryMarkBack)
{
    common::setOptionChecked("Ajust", false);
    common::setOptionChecked("AltColor", true);
    common::setOptionChecked("auto_maj_Internet_Freq(2)", true);
    resetMenuOptions();
    EXPECT_TRUE(isOptionOn(Option::Ajust));
    EXPECT_FALSE(isOptionOn(Option::AltColor));
    EXPECT_FALSE(isFrequencyChecked(2));
}

TEST_F(OptionsTest, ReorgIsNotSaved)
{
    EXPECT_TRUE(clickOption(Option::Réorg));
    EXPECT_FALSE(isOptionOn(Option::Réorg));
    QString name;
    EXPECT_NE(env.registry().enumValue(platform::Hive::LocalMachine,
                                       common::machineKey(common::kParametersSection, "Mirelot"), 0, &name),
              platform::reg::Success)
        << name.toStdString();
    resetMenuOptions();
    EXPECT_TRUE(isOptionOn(Option::Réorg)); // every start begins with automatic arrangement
}

TEST_F(OptionsTest, ObserverSeesClicksAndCodeChanges)
{
    QStringList seen;
    common::observeOptions([&seen](const QString& item, bool on) { seen << item + (on ? "+" : "-"); });
    setOption(Option::Ajust, true); // already checked: no change
    static_cast<void>(clickOption(Option::bing));
    static_cast<void>(clickFrequency(1));
    EXPECT_EQ(seen, QStringList({"bing+", "auto_maj_Internet_Freq(1)+"}));
    common::observeOptions(nullptr);
}

TEST_F(OptionsTest, RestoreAtStartReadsEachSettingAsAnInteger)
{
    struct Row
    {
        Option option;
        const char* stored;
        bool checked;
    };
    const Row rows[] = {
        // absent settings take the defaults: AltColor 0, RenumGrid 0, Ajust -1, Regroup -1, bing -1, TabCell
        // 0
        {Option::AltColor, nullptr, false}, {Option::RenumGrid, nullptr, false},
        {Option::Ajust, nullptr, true},     {Option::Regroup, nullptr, true},
        {Option::bing, nullptr, true},      {Option::TabCell, nullptr, false},
        {Option::AltColor, "-1", true},     {Option::RenumGrid, "1", true},
        {Option::Ajust, "0", false},        {Option::Regroup, "0", false},
        {Option::bing, "0", false},         {Option::TabCell, "-1", true},
        {Option::TabCell, "abc", false},    {Option::Ajust, "0.4", false},
        {Option::Ajust, "0.6", true},       {Option::AltColor, "", false},
        {Option::bing, " 7", true},
    };
    for (const Row& r : rows) {
        testing_support::TestEnvironment fresh;
        if (r.stored)
            ecrire(optionValueName(r.option), QString::fromUtf8(r.stored));
        setOption(r.option, !r.checked);
        EXPECT_TRUE(loadOptions());
        EXPECT_EQ(isOptionOn(r.option), r.checked)
            << optionName(r.option).toStdString() << " = " << (r.stored ? r.stored : "absent");
    }
}

TEST_F(OptionsTest, RestoreUnchecksAtlasAndLeavesUnreadableValues)
{
    ecrire("Atlas STOC-EPS", "-1");
    ecrire("Bing", "40000"); // not a 16-bit integer
    setOption(Option::Atlas_STOC_EPS, true);
    setOption(Option::bing, false);
    setOption(Option::SaisieEsp, false);
    const platform::Result r = loadOptions();
    EXPECT_FALSE(r);
    EXPECT_TRUE(r.error.endsWith("« Bing »")) << r.error.toStdString();
    EXPECT_FALSE(isOptionOn(Option::Atlas_STOC_EPS));
    EXPECT_FALSE(isOptionOn(Option::bing));      // left as it was
    EXPECT_TRUE(isOptionOn(Option::Ajust));      // the others still restored
    EXPECT_FALSE(isOptionOn(Option::SaisieEsp)); // the learning mode is the start-up's own step
}

TEST_F(OptionsTest, FrequencyClickChecksOneItemAndSavesItsIndex)
{
    setFrequency(0, true);
    setFrequency(2, true); // the start-up only ever checks; a click clears the others
    for (int i : {3, 1, 0, 2}) {
        EXPECT_TRUE(clickFrequency(i));
        for (int j = 0; j < kFrequencyCount; ++j)
            EXPECT_EQ(isFrequencyChecked(j), i == j) << i << " " << j;
        EXPECT_EQ(fun_Get_Setting_Str(common::kOptionsSection, "Check UPDATE sur Web", "?"),
                  QString::number(i));
    }
    EXPECT_FALSE(clickFrequency(4));
    EXPECT_FALSE(clickFrequency(-1));
    EXPECT_TRUE(isFrequencyChecked(2));
    setFrequency(4, true);
    EXPECT_FALSE(isFrequencyChecked(4));
}

TEST_F(OptionsTest, FailedSaveKeepsTheMarkForThisRun)
{
    // A store that cannot be written: its folder is a plain file.
    QFile plain(env.path("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    platform::Registry store(env.path("plain/registry.json"));
    platform::services().registry = &store;
    env.dialogs().answer(platform::mb::OK);
    const platform::Result click = clickOption(Option::AltColor);
    EXPECT_FALSE(click);
    EXPECT_TRUE(click.error.contains(store.storeFile())) << click.error.toStdString();
    EXPECT_TRUE(isOptionOn(Option::AltColor));
    EXPECT_FALSE(clickFrequency(1));
    EXPECT_TRUE(isFrequencyChecked(1));
    // Told once, with the file; the clicks are read back for the rest of the run.
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_TRUE(env.dialogs().asked().front().text.contains(store.storeFile()));
    EXPECT_EQ(fun_Get_Setting_Str(common::kParametersSection, optionValueName(Option::AltColor), "?"), "-1");
    platform::services().registry = &env.registry();
}
