#include "common/ExportLog.h"
#include "common/Globals.h"
#include "common/OptionMarks.h"
#include "common/Settings.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "mainwindow/MenuOptions.h"
#include "mainwindow/StartupSequence.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>

using grid::Grid;
using grid::GridFile;
namespace mb = platform::mb;
using mainwindow::StartupSequenceResult;

namespace {

// The main window's part, recorded.
struct FakeWindow : mainwindow::StartupWindow
{
    QStringList calls;
    QString chosenFolder;
    Grid carres;
    Grid work;

    void showIdentificationItems() override { calls << "identification"; }
    void hideItemsNotOffered() override { calls << "non offerts"; }
    void sub_Adapte_Affichage() override { calls << "affichage"; }
    void showWindow() override { calls << "afficher"; }
    void openAddressBook() override { calls << "adresses"; }
    void fillDocumentationMenu(const QString& d) override { calls << "documentation " + d; }
    void startAutoCheck() override
    {
        calls << "verif auto";
        if (onVerif)
            onVerif();
    }
    std::function<void()> onVerif;
    void setHourglass(bool on) override { calls << (on ? "sablier" : "normal"); }
    void sub_Bing() override { calls << "bing"; }
    QString chooseFolder(const QString&, const QString&) override
    {
        calls << "chooser";
        return chosenFolder;
    }
    Grid& Flx_Carrés() override { return carres; }
    Grid& flx_Work() override { return work; }
};

const QString kQuestion2700Start = "Dialogue type : SECURITE    Réf. : #DL2700";

struct StartupTest : ::testing::Test
{
    testing_support::TestEnvironment env;
    FakeWindow window;

    // A machine where the program already started once: no first-start question.
    void seedInstalled(const QString& frequency = "0", const QString& validation = "-1")
    {
        EXPECT_TRUE(sub_Reg_Write_HKLM("Version", "Version", "Z2010"));
        EXPECT_TRUE(sub_Reg_Write_HKLM("Paramètres", "Dossier", env.dataFolder()));
        EXPECT_TRUE(sub_Reg_Write_HKLM("Paramètres", "Validation Espèces", validation));
        EXPECT_TRUE(sub_Reg_Write_HKLM("Options Générales", "Check UPDATE sur Web", frequency));
        writeAddresses({{"coordination@example.org", Grid::Checked}});
    }
    void writeAddresses(const QList<std::pair<QString, int>>& rows)
    {
        Grid g;
        g.setCols(4);
        g.setRows(int(rows.size()) + 1);
        g.setCell(0, 1, "Sélection");
        g.setCell(0, 2, "Adresse");
        g.setColDataType(1, Grid::DataType::Boolean);
        for (int i = 0; i < rows.size(); ++i) {
            g.setCell(i + 1, 2, rows[i].first);
            g.setCheckState(i + 1, 1, rows[i].second);
        }
        ASSERT_TRUE(GridFile::save(g, env.programFolder() + "/email.DOV", GridFile::Complete, true));
    }
    StartupSequenceResult run() { return mainwindow::runStartupSequence(window); }
    QString counter() { return fun_Get_Setting_Str("Options Générales", "Nbr_Demarrage", "?"); }
};

TEST_F(StartupTest, FirstRunEverAsksEachOneTimeQuestionInOrder)
{
    env.dialogs().answer(mb::Yes); // first start: create the proposed folder
    env.dialogs().answer(mb::No);  // learning mode: no
    env.dialogs().answer(mb::Yes); // 2700: yes
    env.dialogs().answer(mb::No);  // no address: define it now? no
    env.dialogs().answer(mb::No);  // ask again next time? no
    const StartupSequenceResult r = run();
    EXPECT_EQ(r.outcome, common::StartOutcome::Continue);
    const auto asked = env.dialogs().asked();
    ASSERT_EQ(asked.size(), 5);
    EXPECT_TRUE(asked[0].text.startsWith("Premier démarrage de Mirelot"));
    EXPECT_EQ(asked[1].title, "SAISIE DES CODES ESPECES");
    EXPECT_TRUE(asked[2].text.startsWith(kQuestion2700Start));
    EXPECT_TRUE(asked[3].text.startsWith("Vous n'avez défini aucune adresse courriel"));
    EXPECT_EQ(asked[4].text, "Voulez-vous que Mirelot vous repose la question au prochain démarrage ?");
    EXPECT_EQ(counter(), "1");
    EXPECT_EQ(fun_Get_Setting_Str("Options Générales", "Check UPDATE sur Web", "?"), "0");
    EXPECT_EQ(fun_Get_Setting_Str("Paramètres", "Validation Espèces", "?"), "0");
    EXPECT_EQ(fun_Get_Setting_Str("Paramètres", "Adresses email Check1", "7"), "6");
    // No automatic check on the run on which 2700 was first answered.
    EXPECT_FALSE(r.autoCheckEnabled);
    EXPECT_FALSE(window.calls.contains("verif auto"));
    // The starter tables were installed, and the species table upgraded with every box ticked.
    Grid species;
    ASSERT_TRUE(GridFile::load(species, env.programFolder() + "/Espèces.DOV", GridFile::Complete));
    EXPECT_EQ(species.cell(0, 5), "Saisie");
    EXPECT_EQ(species.checkState(1, 5), Grid::Checked);
    // The window's steps, in order.
    EXPECT_EQ(window.calls.first(), "identification");
    EXPECT_LT(window.calls.indexOf("non offerts"), window.calls.indexOf("affichage"));
    EXPECT_LT(window.calls.indexOf("affichage"), window.calls.indexOf("afficher"));
    EXPECT_EQ(window.calls.last(), "bing"); // no check on this run: nothing after the beep

    // The next start asks nothing and checks for updates (frequency 1).
    FakeWindow again;
    const StartupSequenceResult r2 = mainwindow::runStartupSequence(again);
    EXPECT_EQ(env.dialogs().asked().size(), 5);
    EXPECT_EQ(counter(), "2");
    EXPECT_TRUE(r2.autoCheckEnabled);
}

TEST_F(StartupTest, CancelledFirstStartEndsTheSequence)
{
    env.dialogs().answer(mb::Cancel);
    const StartupSequenceResult r = run();
    EXPECT_EQ(r.outcome, common::StartOutcome::Quit);
    EXPECT_FALSE(window.calls.contains("afficher"));
    EXPECT_EQ(counter(), "?");
}

TEST_F(StartupTest, FirstStartWithTheChooser)
{
    window.chosenFolder = env.path("Relevés");
    env.dialogs().answer(mb::No);  // choose the folder myself
    env.dialogs().answer(mb::Yes); // learning mode
    env.dialogs().answer(mb::No);  // 2700
    env.dialogs().answer(mb::Yes); // define an address now
    run();
    EXPECT_TRUE(window.calls.contains("chooser"));
    EXPECT_TRUE(window.calls.contains("adresses"));
    EXPECT_EQ(gstr_Dossier, env.path("Relevés"));
    EXPECT_EQ(fun_Get_Setting_Str("Options Générales", "Check UPDATE sur Web", "?"), "3");
    EXPECT_TRUE(common::isOptionChecked("SaisieEsp"));
    EXPECT_TRUE(mainwindow::isFrequencyChecked(3));
}

TEST_F(StartupTest, AutomaticCheckFollowsFrequencyAndCounter)
{
    struct Row
    {
        const char* frequency;
        int previousStarts;
        bool due;
    };
    const Row rows[] = {
        {"0", 0, true},  {"0", 6, true}, {"1", 3, false}, {"1", 4, true},  {"1", 9, true},
        {"2", 4, false}, {"2", 9, true}, {"3", 4, false}, {"3", 9, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "frequency " << r.frequency << ", starts " << r.previousStarts);
        testing_support::TestEnvironment local;
        EXPECT_TRUE(sub_Reg_Write_HKLM("Version", "Version", "Z2010"));
        EXPECT_TRUE(sub_Reg_Write_HKLM("Paramètres", "Dossier", local.dataFolder()));
        EXPECT_TRUE(sub_Reg_Write_HKLM("Paramètres", "Validation Espèces", "0"));
        EXPECT_TRUE(sub_Reg_Write_HKLM("Paramètres", "Adresses email Check1", "6"));
        EXPECT_TRUE(sub_Reg_Write_HKLM("Options Générales", "Check UPDATE sur Web", r.frequency));
        EXPECT_TRUE(
            sub_Reg_Write_HKLM("Options Générales", "Nbr_Demarrage", QString::number(r.previousStarts)));
        FakeWindow w;
        const StartupSequenceResult res = mainwindow::runStartupSequence(w);
        EXPECT_EQ(res.autoCheckEnabled, r.due);
        EXPECT_EQ(w.calls.contains("verif auto"), r.due);
        EXPECT_TRUE(local.dialogs().asked().isEmpty());
    }
}

TEST_F(StartupTest, CounterTooLargeToReadIsLeftAsItIs)
{
    seedInstalled("0"); // a check at every start, unless a step fails
    EXPECT_TRUE(sub_Reg_Write_HKLM("Options Générales", "Nbr_Demarrage", "1e400"));
    const StartupSequenceResult r = run();
    EXPECT_EQ(counter(), "1e400");
    EXPECT_TRUE(r.failed);
    EXPECT_EQ(r.reasons, QStringList{"Le paramètre « Nbr_Demarrage » ne peut pas être lu comme un nombre."});
    EXPECT_FALSE(r.autoCheckEnabled);
}

TEST_F(StartupTest, AutomaticCheckStartsOnlyOnceEveryStartUpBoxIsAnswered)
{
    // A start at which the check is due and the no-address reminder asks two questions: the
    // check's timer must not be running while those boxes are open.
    seedInstalled("0");
    writeAddresses({});
    env.dialogs().answer(mb::No);  // define an address now? no
    env.dialogs().answer(mb::Yes); // ask again next time? yes
    qsizetype boxesBeforeCheck = -1;
    window.onVerif = [&] { boxesBeforeCheck = env.dialogs().asked().size(); };
    const StartupSequenceResult r = run();
    EXPECT_TRUE(r.autoCheckEnabled);
    EXPECT_EQ(boxesBeforeCheck, 2);
    EXPECT_EQ(window.calls.last(), "verif auto");
    EXPECT_LT(window.calls.indexOf("afficher"), window.calls.indexOf("verif auto"));
    EXPECT_EQ(window.calls.count("verif auto"), 1);
}

TEST_F(StartupTest, UnknownStoredFrequencyAsksAgain)
{
    seedInstalled("7");
    env.dialogs().answer(mb::Yes);
    run();
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_TRUE(env.dialogs().asked()[0].text.startsWith(kQuestion2700Start));
}

TEST_F(StartupTest, AddressReminders)
{
    struct Row
    {
        const char* name;
        QList<std::pair<QString, int>> addresses;
        const char* check1;
        const char* check2;
        QList<int> answers;
        const char* firstText; // empty: no reminder
        bool editorOpened;
    };
    const Row rows[] = {
        {"none, reminded", {}, "7", "7", {mb::Yes}, "Vous n'avez défini aucune adresse courriel", true},
        {"none, not reminded", {}, "6", "7", {}, "", false},
        {"none selected",
         {{"a@b.fr", Grid::Unchecked}, {" ", Grid::Checked}},
         "6",
         "7",
         {mb::No, mb::Yes},
         "Vous n'avez pas sélectionné l'adresse courriel",
         false},
        {"none selected, not reminded", {{"a@b.fr", Grid::Unchecked}}, "7", "6", {}, "", false},
        {"one selected", {{"a@b.fr", Grid::Unchecked}, {"c@d.fr", Grid::Checked}}, "7", "7", {}, "", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        testing_support::TestEnvironment local;
        EXPECT_TRUE(sub_Reg_Write_HKLM("Version", "Version", "Z2010"));
        EXPECT_TRUE(sub_Reg_Write_HKLM("Paramètres", "Dossier", local.dataFolder()));
        EXPECT_TRUE(sub_Reg_Write_HKLM("Paramètres", "Validation Espèces", "0"));
        EXPECT_TRUE(sub_Reg_Write_HKLM("Options Générales", "Check UPDATE sur Web", "3"));
        EXPECT_TRUE(sub_Reg_Write_HKLM("Paramètres", "Adresses email Check1", r.check1));
        EXPECT_TRUE(sub_Reg_Write_HKLM("Paramètres", "Adresses email Check2", r.check2));
        if (!r.addresses.isEmpty()) {
            Grid g;
            g.setCols(3);
            g.setRows(int(r.addresses.size()) + 1);
            for (int i = 0; i < r.addresses.size(); ++i) {
                g.setCell(i + 1, 2, r.addresses[i].first);
                g.setCheckState(i + 1, 1, r.addresses[i].second);
            }
            ASSERT_TRUE(GridFile::save(g, local.programFolder() + "/email.DOV", GridFile::Complete, true));
        }
        for (int a : r.answers)
            local.dialogs().answer(a);
        FakeWindow w;
        mainwindow::runStartupSequence(w);
        const QString first(r.firstText);
        if (first.isEmpty()) {
            EXPECT_TRUE(local.dialogs().asked().isEmpty());
        } else {
            ASSERT_FALSE(local.dialogs().asked().isEmpty());
            EXPECT_TRUE(local.dialogs().asked()[0].text.startsWith(first));
            EXPECT_EQ(local.dialogs().asked()[0].style, 52);
        }
        EXPECT_EQ(w.calls.contains("adresses"), r.editorOpened);
    }
}

TEST_F(StartupTest, HiddenGridsHoldTheSquaresTableAndTheCompactedLog)
{
    seedInstalled("3");
    // An export log with two lines for one file.
    QFile log(env.dataFolder() + "/LOG_EXPORT.TXT");
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write("SHOC-A.xlsx\t02/01/2010 10:00:00\r\nSHOC-A.xlsx\t05/01/2010 "
              "10:00:00\r\nSHOC-B.xlsx\t03/01/2010 10:00:00\r\n");
    log.close();
    // The squares table, named with another letter case than the setting's default.
    Grid squares;
    squares.setCols(3);
    squares.setRows(3);
    squares.setCell(0, 1, "Carré");
    squares.setCell(1, 1, "001");
    squares.setCell(2, 1, "002");
    QFile::remove(env.programFolder() + "/Carrés.DOV");
    ASSERT_TRUE(GridFile::save(squares, env.programFolder() + "/CARRÉS.dov", GridFile::Complete, true));
    run();
    EXPECT_EQ(window.carres.rows(), 3);
    EXPECT_EQ(window.carres.cell(2, 1), "002");
    ASSERT_EQ(window.work.rows(), 3);
    const auto lines = common::readExportLog(env.dataFolder());
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines.value.size(), 2);
    EXPECT_TRUE(window.calls.contains("documentation " + env.programFolder()));
}

TEST_F(StartupTest, AFullDiskKeepsTheFilesItCannotWriteAndNamesThemWithTheReason)
{
    seedInstalled("3");
    const QString logPath = env.dataFolder() + "/LOG_EXPORT.TXT";
    QByteArray log; // a few KB whose compaction drops lines
    for (int i = 0; i < 100; ++i)
        log += QStringLiteral("SHOC-%1.xlsx\t0%2/01/2010 10:00:00\r\n").arg(i / 2).arg(1 + i % 2).toUtf8();
    testing_support::writeBytes(logPath, log);
    env.dialogs().setResponder([](const testing_support::ScriptedDialogs::Asked& a) {
        return testing_support::ScriptedDialogs::Answer(mb::defaultAnswer(a.style));
    });
    {
        testing_support::FileSizeLimit limit(1024);
        run();
    }
    const QString full = QStringLiteral(" ne peut pas être écrit : le disque est plein.");
    const QString species = env.programFolder() + "/Espèces.DOV";
    const QStringList texts = env.dialogs().texts();
    const auto tables = std::find_if(texts.begin(), texts.end(), [](const QString& t) {
        return t.startsWith("Les tables de référence suivantes n'ont pas pu être installées");
    });
    ASSERT_NE(tables, texts.end()) << texts.join("\n---\n").toStdString();
    EXPECT_TRUE(tables->contains("Espèces.DOV : Le fichier « " + species + " »" + full))
        << tables->toStdString();
    EXPECT_TRUE(texts.contains("Le journal des exportations n'a pas pu être mis à jour.\n\nLe fichier « " +
                               logPath + " »" + full))
        << texts.join("\n---\n").toStdString();
    EXPECT_EQ(testing_support::readBytes(logPath), log);
    EXPECT_FALSE(QFile::exists(species));
}

TEST_F(StartupTest, AnExportLogThatCannotBeReadIsNamedWithTheReadersReason)
{
    seedInstalled("3");
    const QString logPath = env.dataFolder() + "/LOG_EXPORT.TXT";
    const QByteArray notText("SHOC-A.xlsx\t02/01/2010 10:00:00\r\n\xff\xfe\r\n");
    testing_support::writeBytes(logPath, notText);
    env.dialogs().answer(mb::OK);
    const StartupSequenceResult r = run();
    // The reader's own reason, naming the log, reaches the box unchanged; the log stays.
    ASSERT_EQ(env.dialogs().asked().size(), 1) << env.dialogs().texts().join("\n---\n").toStdString();
    EXPECT_EQ(env.dialogs().asked()[0].text,
              "Le journal des exportations n'a pas pu être mis à jour.\n\nLe fichier « " + logPath +
                  " » ne peut pas être lu : ce n'est pas un texte UTF-8.");
    EXPECT_EQ(env.dialogs().asked()[0].style, mb::OKOnly | mb::Exclamation);
    EXPECT_TRUE(r.failed);
    EXPECT_EQ(r.reasons.value(0),
              "Le fichier « " + logPath + " » ne peut pas être lu : ce n'est pas un texte UTF-8.");
    EXPECT_EQ(testing_support::readBytes(logPath), notText);
}

TEST_F(StartupTest, MissingSquaresTableLeavesTheScratchGridEmpty)
{
    seedInstalled("3");
    EXPECT_TRUE(sub_Reg_Write_HKLM("Paramètres", "Fichier carrés", env.path("absent.DOV")));
    window.carres.setRows(5);
    window.carres.setCell(4, 0, "restes");
    const StartupSequenceResult r = run();
    EXPECT_EQ(window.carres.rows(), 0);
    EXPECT_TRUE(r.failed);
    ASSERT_FALSE(r.reasons.isEmpty());
    EXPECT_TRUE(r.reasons.last().contains(env.path("absent.DOV"))) << r.reasons.last().toStdString();
}

TEST_F(StartupTest, ExcelStateAndWriterDefaults)
{
    seedInstalled("3");
    gstr_Police_Excel = "Autre";
    run();
    EXPECT_EQ(gstr_Police_Excel, "MS Sans Serif");
    EXPECT_EQ(glng_Taille_Police_Excel, 8);
    EXPECT_TRUE(gbol_Excel_Disponible);
    EXPECT_EQ(gstr_Version_Excel, "14.0");
    EXPECT_EQ(glng_Lignes_Par_Feuille, 65000);
}

} // namespace
