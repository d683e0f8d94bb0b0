#include "common/Settings.h"
#include "mainwindow/Options.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

using mainwindow::Option;
using mainwindow::Options;

namespace {
QString parametre(const QString& name) { return fun_Get_Setting_Str(gstr_Section_Parametres, name, "<absent>"); }
void ecrire(const QString& name, const QString& value) { sub_Reg_Write_HKLM(gstr_Section_Parametres, name, value); }
} // namespace

struct OptionsTest : ::testing::Test
{
    testing_support::TestEnvironment env;
};

TEST_F(OptionsTest, EachItemHasItsValueNameAndCreationMark)
{
    struct Row { Option option; const char* item; const char* valueName; bool checked; };
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
    ASSERT_EQ(std::size(rows), std::size_t(mainwindow::gint_Nbr_Options));
    Options options;
    for (const Row& r : rows) {
        EXPECT_EQ(mainwindow::fun_Nom_Option(r.option), QString::fromUtf8(r.item));
        EXPECT_EQ(mainwindow::fun_Valeur_Option(r.option), QString::fromUtf8(r.valueName)) << r.item;
        EXPECT_EQ(options.checked(r.option), r.checked) << r.item;
    }
    for (int i = 0; i < mainwindow::gint_Nbr_Frequences; ++i)
        EXPECT_FALSE(options.frequencyChecked(i)) << i;
}

TEST_F(OptionsTest, ClickInvertsAndSavesAtOnceTwiceRestores)
{
    for (int i = 0; i < int(Option::Réorg); ++i) {
        const Option option = Option(i);
        Options options;
        const bool before = options.checked(option);
        const QString name = mainwindow::fun_Valeur_Option(option);
        EXPECT_TRUE(options.click(option));
        EXPECT_EQ(options.checked(option), !before) << name.toStdString();
        EXPECT_EQ(parametre(name), before ? "0" : "-1") << name.toStdString();
        EXPECT_TRUE(options.click(option));
        EXPECT_EQ(options.checked(option), before);
        EXPECT_EQ(parametre(name), before ? "-1" : "0") << name.toStdString();
    }
}

TEST_F(OptionsTest, ReorgIsNotSaved)
{
    Options options;
    EXPECT_TRUE(options.click(Option::Réorg));
    EXPECT_FALSE(options.checked(Option::Réorg));
    // Nothing written anywhere in the program's settings.
    QString name;
    EXPECT_NE(env.registry().enumValue(platform::Hive::LocalMachine, fun_Cle_HKLM(gstr_Section_Parametres, "Mirelot"),
                                       0, &name),
              platform::reg::Success);
    EXPECT_TRUE(Options().checked(Option::Réorg)); // every start begins with automatic arrangement
}

TEST_F(OptionsTest, SignalsFollowChangesOnly)
{
    Options options;
    QSignalSpy spy(&options, &Options::optionChanged);
    options.setChecked(Option::Ajust, true); // already checked
    EXPECT_EQ(spy.count(), 0);
    options.setChecked(Option::Ajust, false);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), int(Option::Ajust));
    EXPECT_FALSE(spy.at(0).at(1).toBool());
    options.click(Option::bing);
    EXPECT_EQ(spy.count(), 2);
}

TEST_F(OptionsTest, RestoreAtStartReadsEachSettingAsAnInteger)
{
    struct Row { Option option; const char* stored; bool checked; };
    const Row rows[] = {
        // absent settings take the defaults: AltColor 0, RenumGrid 0, Ajust -1, Regroup -1, bing -1, TabCell 0
        {Option::AltColor, nullptr, false}, {Option::RenumGrid, nullptr, false}, {Option::Ajust, nullptr, true},
        {Option::Regroup, nullptr, true},   {Option::bing, nullptr, true},       {Option::TabCell, nullptr, false},
        {Option::AltColor, "-1", true},     {Option::RenumGrid, "1", true},      {Option::Ajust, "0", false},
        {Option::Regroup, "0", false},      {Option::bing, "0", false},          {Option::TabCell, "-1", true},
        {Option::TabCell, "abc", false},    {Option::Ajust, "0.4", false},       {Option::Ajust, "0.6", true},
        {Option::AltColor, "", false},      {Option::bing, " 7", true},
    };
    for (const Row& r : rows) {
        testing_support::TestEnvironment fresh;
        if (r.stored)
            ecrire(mainwindow::fun_Valeur_Option(r.option), QString::fromUtf8(r.stored));
        Options options;
        options.setChecked(r.option, !r.checked);
        EXPECT_TRUE(options.sub_Charger_Options());
        EXPECT_EQ(options.checked(r.option), r.checked)
            << mainwindow::fun_Nom_Option(r.option).toStdString() << " = " << (r.stored ? r.stored : "absent");
    }
}

TEST_F(OptionsTest, RestoreUnchecksAtlasAndLeavesUnreadableValues)
{
    ecrire("Atlas STOC-EPS", "-1");
    ecrire("Bing", "40000"); // not a 16-bit integer
    Options options;
    options.setChecked(Option::Atlas_STOC_EPS, true);
    options.setChecked(Option::bing, false);
    EXPECT_FALSE(options.sub_Charger_Options());
    EXPECT_FALSE(options.checked(Option::Atlas_STOC_EPS));
    EXPECT_FALSE(options.checked(Option::bing)); // left as it was
    EXPECT_TRUE(options.checked(Option::Ajust)); // the others still restored
}

TEST_F(OptionsTest, ClickedOptionSurvivesARestart)
{
    {
        Options options;
        options.click(Option::AltColor); // -> checked
        options.click(Option::Ajust);    // -> unchecked
    }
    env.restartRegistry();
    Options options;
    options.sub_Charger_Options();
    EXPECT_TRUE(options.checked(Option::AltColor));
    EXPECT_FALSE(options.checked(Option::Ajust));
}

TEST_F(OptionsTest, FrequencyClickChecksOneItemAndSavesItsIndex)
{
    Options options;
    options.setFrequencyChecked(0, true);
    options.setFrequencyChecked(2, true); // the start-up only ever checks; a click clears the others
    for (int i : {3, 1, 0, 2}) {
        EXPECT_TRUE(options.clickFrequency(i));
        for (int j = 0; j < mainwindow::gint_Nbr_Frequences; ++j)
            EXPECT_EQ(options.frequencyChecked(j), i == j) << i << " " << j;
        EXPECT_EQ(fun_Get_Setting_Str(gstr_Section_Options, "Check UPDATE sur Web", "?"), QString::number(i));
    }
    EXPECT_FALSE(options.clickFrequency(4));
    EXPECT_FALSE(options.clickFrequency(-1));
    EXPECT_TRUE(options.frequencyChecked(2));
    EXPECT_FALSE(options.frequencyChecked(4));
}

TEST_F(OptionsTest, FailedSaveKeepsTheMarkForThisRun)
{
    // A store that cannot be written: its folder is a plain file.
    QFile plain(env.path("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    platform::Registry store(env.path("plain/registry.json"));
    platform::services().registry = &store;
    Options options;
    EXPECT_FALSE(options.click(Option::AltColor));
    EXPECT_TRUE(options.checked(Option::AltColor));
    EXPECT_FALSE(options.clickFrequency(1));
    EXPECT_TRUE(options.frequencyChecked(1));
    platform::services().registry = &env.registry();
}

TEST_F(OptionsTest, ProgramWideServiceIsTheInstalledOne)
{
    Options installed;
    gobj_Options = &installed;
    installed.setChecked(Option::TabCell, false);
    EXPECT_EQ(&mainwindow::options(), &installed);
    EXPECT_FALSE(mainwindow::options().checked(Option::TabCell));
    gobj_Options = nullptr;
    EXPECT_NE(&mainwindow::options(), &installed);
    EXPECT_TRUE(mainwindow::options().checked(Option::TabCell));
}
