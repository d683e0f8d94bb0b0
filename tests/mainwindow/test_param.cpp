// The settings window's logic without its window: loading each mode, the fix-ups, the editing
// rules, Save with a reload in the record window's formats, RAZ, the identification grid.

#include "common/Globals.h"
#include "common/OptionMarks.h"
#include "common/ParamConfig.h"
#include "common/Settings.h"
#include "data/StarterTables.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "mainwindow/ParamEditor.h"
#include "tests/mainwindow/ParamSupport.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using grid::Grid;
using grid::GridFile;
using grid::GridRange;
using mainwindow::Display;
using mainwindow::TableState;
using Mode = common::ParamMode;
using mainwindow::ParamEditor;
using param_support::dump;
using param_support::readAsRecordWindow;
using param_support::writeTable;
namespace mb = platform::mb;

namespace {

const QString kSHOC = common::kShocCoordinationAddress;
const QString kSTOC = common::kStocEpsCoordinationAddress;

const QString kEspecesTsv = QStringLiteral("Classe\tEspèce\tNom français\tNom scientifique\tSaisie\n"
                                           "O\tSTUVUL\tÉtourneau sansonnet\tSturnus vulgaris\t1\n"
                                           "O\tALAARV\tAlouette des champs\tAlauda arvensis\t2\n"
                                           "M\tLEPEUR\tLièvre d'Europe\tLepus europaeus\t2\n");

class ParamTest : public testing::Test
{
protected:
    testing_support::TestEnvironment env;
    param_support::FakeRowSource source;
    Grid grille;
    std::unique_ptr<ParamEditor> ed;

    ParamTest() { QLocale::setDefault(QLocale::c()); }

    ParamEditor& charger(const QString& mode, const QString& protocole = QStringLiteral("SHOC"))
    {
        ed = std::make_unique<ParamEditor>(grille, source);
        ed->loadMode(mode, protocole);
        return *ed;
    }
    void administrateur(const QString& code = QStringLiteral("KORVEL-ADM"))
    {
        ASSERT_TRUE(sub_Reg_Write_HKLM(common::kAdminSection, QStringLiteral("PSWD"), code));
    }
    QString programme(const QString& nom) const { return env.programFolder() + QLatin1Char('/') + nom; }
    QString parametre(const QString& nom) const
    {
        return fun_Get_Setting_Str(common::kParametersSection, nom, QStringLiteral("<absent>"));
    }
};

// ================================================================ modes and captions

TEST(ParamModes, TextsAreComparedExactly)
{
    const struct
    {
        const char* texte;
        Mode mode;
    } cas[] = {
        {"Codes espèces", Mode::Species},
        {"Codes carrés", Mode::Squares},
        {"Codes réseaux", Mode::Networks},
        {"Codes milieux", Mode::Habitats},
        {"Codes comportementaux", Mode::Behaviours},
        {"Adresses courriel de votre correspondant", Mode::Addresses},
        {"Indentification de votre Gadrel", Mode::Identification},
        {"Dossier de travail", Mode::Folder},
        // The menu captions and near misses open nothing.
        {"Code comportementaux", Mode::Unknown},
        {"Identification de votre Gadrel", Mode::Unknown},
        {"Codes Espèces", Mode::Unknown},
        {"Codes espèces ", Mode::Unknown},
        {"Adresses courriel de vos correspondants", Mode::Unknown},
        {"", Mode::Unknown},
    };
    for (const auto& c : cas)
        EXPECT_EQ(common::modeFromText(QString::fromUtf8(c.texte)), c.mode) << c.texte;
}

TEST(ParamModes, CaptionNamesModeAndScheme)
{
    const struct
    {
        const char* mode;
        const char* protocole;
        const char* titre;
    } cas[] = {
        {"Indentification de votre Gadrel", "SHOC", "Mirelot - Indentification de votre Gadrel [SHOC]"},
        {"Codes espèces", "EPS-SITES", "Mirelot - Codes espèces [EPS-SITES]"},
        {"Codes milieux", "", "Mirelot - Codes milieux"},
    };
    for (const auto& c : cas)
        EXPECT_EQ(mainwindow::paramWindowTitle(QString::fromUtf8(c.mode), QString::fromUtf8(c.protocole)),
                  QString::fromUtf8(c.titre));
}

TEST(ParamFormats, SquareNumbersAndCoordinates)
{
    const QLocale c = QLocale::c();
    const QLocale fr(QLocale::French, QLocale::France);
    const struct
    {
        const char* texte;
        const QLocale* locale;
        const char* numero;
        const char* coordonnee;
    } cas[] = {
        {"12", &c, "0012", "12.000"},
        {"7", &fr, "0007", "7,000"},
        {"12345", &c, "12345", "12345.000"},
        {"2.5", &c, "0003", "2.500"},   // halves away from zero
        {"2,25", &fr, "0002", "2,250"}, // the locale's separator
        {"2.25", &fr, "0002", "2,250"}, // a point is read too
        {"-3.4", &c, "-0003", "-3.400"},
        {" 45 ", &c, "0045", "45.000"},
        {"1234567.8912", &fr, "1234568", "1234567,891"}, // no group separator
        {"abc", &c, "abc", "abc"},                       // not a number: unchanged
        {"12a", &c, "12a", "12a"},
        {"", &c, "", ""},
        {"inf", &c, "inf", "inf"},
    };
    for (const auto& k : cas) {
        const QString t = QString::fromUtf8(k.texte);
        EXPECT_EQ(mainwindow::formatSquareNumber(t, *k.locale), QString::fromUtf8(k.numero)) << k.texte;
        EXPECT_EQ(mainwindow::formatCoordinate(t, *k.locale), QString::fromUtf8(k.coordonnee)) << k.texte;
    }
}

TEST(ParamIdentification, ComputersSortByOrganisationThenCodeIgnoringCase)
{
    QList<mainwindow::Computer> o = {
        {"lpo", "B2", "x"}, {"Atlas", "z1", "y"}, {"LPO", "a1", "z"}, {"atlas", "Z1", "w"}, {"", "9", "v"},
    };
    mainwindow::sortComputers(o);
    const QList<mainwindow::Computer> attendu = {
        {"", "9", "v"}, {"Atlas", "z1", "y"}, {"atlas", "Z1", "w"}, {"LPO", "a1", "z"}, {"lpo", "B2", "x"},
    };
    EXPECT_EQ(o, attendu);
}

// ================================================================ loading a table

struct CasTable
{
    const char* nom;
    const char* mode;
    const char* fichier;
    int format;
    QList<int> cases;
    const char* tsv;     // the file's content
    QStringList charge;  // the grid once loaded (rows after the header, then the empty row)
    const char* entete;  // the header when the file cannot be loaded
    QStringList absente; // the grid when the file is missing
};

QList<CasTable> casTables()
{
    return {
        {"especes",
         "Codes espèces",
         "Espèces.DOV",
         GridFile::Complete,
         {5},
         "Classe\tEspèce\tNom français\tNom scientifique\tSaisie\nO\tALAARV\tAlouette des champs\tAlauda "
         "arvensis\t1\n",
         {"Classe|Espèce|Nom français|Nom scientifique|Saisie",
          "O|ALAARV|Alouette des champs|Alauda arvensis|+", "||||-"},
         "|Classe|Espèce|Nom français|Nom scientifique|Saisie",
         {"Classe|Espèce|Nom français|Nom scientifique|Saisie", "||||-"}},
        {"carres",
         "Codes carrés",
         "Carrés.DOV",
         GridFile::Complete,
         {},
         "Département\tN° carré\tLongitude\tLatitude\n26\t0012\t4.900\t44.930\n",
         {"Département|N° carré|Longitude|Latitude", "26|0012|4.900|44.930", "|||"},
         "|Département|N° carré|Longitude|Latitude",
         {"Département|N° carré|Longitude|Latitude", "|||"}},
        {"reseaux",
         "Codes réseaux",
         "Réseaux.DOV",
         GridFile::Workbook,
         {},
         "Code\tNom\t5mn\nSHOC\tSuivi hivernal\t\n",
         {"Code|Nom|5mn", "SHOC|Suivi hivernal|", "||"},
         "|Code|Nom|5mn",
         {"Code|Nom|5mn", "||"}},
        {"milieux",
         "Codes milieux",
         "Milieux_SHOC.DOV",
         GridFile::Complete,
         {},
         "^Code\tLibellé\nCH\tCéréales\n",
         {"Code|Libellé", "CH|Céréales", "|"},
         "|^Code|Libellé",
         {"Code|Libellé", "|"}},
        {"comportements",
         "Codes comportementaux",
         "Comportements.dov",
         GridFile::Workbook,
         {},
         "Classe\tCode\tDéfaut\tListe_Restreinte\tLibellé\tAssurément_Nicheur\tNiveau\tAge\tSexe\tSFF\tNbr_"
         "Utilisation\n"
         "O\tALIM\t\t\tEn alimentation\t\t\t\t\t\t\n",
         {"Classe|Code|Défaut|Liste_Restreinte|Libellé|Assurément_Nicheur|Niveau|Age|Sexe|SFF|Nbr_"
          "Utilisation",
          "O|ALIM|||En alimentation||||||", "||||||||||"},
         "|Classe|Code|Défaut|Liste_Restreinte|Libellé|Assurément_Nicheur|Niveau|Age|Sexe|SFF|Nbr_"
         "Utilisation",
         {"Classe|Code|Défaut|Liste_Restreinte|Libellé|Assurément_Nicheur|Niveau|Age|Sexe|SFF|Nbr_"
          "Utilisation",
          "||||||||||"}},
        {"adresses",
         "Adresses courriel de votre correspondant",
         "email.DOV",
         GridFile::Complete,
         {1},
         nullptr, // written by the test: it holds the coordination address
         {},
         "|Sélection|Adresse",
         {"Sélection|Adresse", "+|" + common::kShocCoordinationAddress, "-|"}},
    };
}

class ParamChargement : public ParamTest, public testing::WithParamInterface<CasTable>
{
protected:
    void SetUp() override { administrateur(); }
};

TEST_P(ParamChargement, PresentFileLoadsAsStoredWithOneEmptyRow)
{
    const CasTable& k = GetParam();
    QString tsv =
        k.tsv ? QString::fromUtf8(k.tsv)
              : QStringLiteral("Sélection\tAdresse\n1\t") + kSHOC + QStringLiteral("\n2\tmoi@exemple.fr\n");
    QStringList attendu = k.charge;
    if (!k.tsv)
        attendu = {"Sélection|Adresse", "+|" + kSHOC, "-|moi@exemple.fr", "-|"};
    writeTable(programme(QString::fromUtf8(k.fichier)), tsv, k.format, k.cases);
    const QByteArray avant = testing_support::readBytes(programme(QString::fromUtf8(k.fichier)));

    ParamEditor& e = charger(QString::fromUtf8(k.mode));
    EXPECT_EQ(e.state(), TableState::Loaded);
    EXPECT_EQ(dump(grille), attendu);
    EXPECT_EQ(grille.fixedRows(), 1);
    EXPECT_EQ(grille.fixedCols(), 1);
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
    EXPECT_EQ(testing_support::readBytes(programme(QString::fromUtf8(k.fichier))), avant)
        << "loading writes nothing";
}

TEST_P(ParamChargement, MissingFileGivesTheHeaderOnlyAndCanBeSaved)
{
    const CasTable& k = GetParam();
    ParamEditor& e = charger(QString::fromUtf8(k.mode));
    EXPECT_EQ(e.state(), TableState::Missing);
    EXPECT_EQ(grille.formatString(), QString::fromUtf8(k.entete));
    EXPECT_EQ(dump(grille), k.absente);
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(programme(QString::fromUtf8(k.fichier)))) << "nothing written at load";
    EXPECT_TRUE(e.display().cmdSave);
    EXPECT_TRUE(e.saveTable());
    EXPECT_TRUE(QFileInfo::exists(programme(QString::fromUtf8(k.fichier))));
}

TEST_P(ParamChargement, UnreadableFileIsSaidAndNeverSavedOver)
{
    const CasTable& k = GetParam();
    const QString chemin = programme(QString::fromUtf8(k.fichier));
    const QByteArray abime("MIRELOT-GRILLE\t1\ntaille\tdeux\n");
    testing_support::writeBytes(chemin, abime);
    env.dialogs().answer(mb::OK);

    ParamEditor& e = charger(QString::fromUtf8(k.mode));
    EXPECT_EQ(e.state(), TableState::Unreadable);
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    const auto& boite = env.dialogs().asked().first();
    EXPECT_TRUE(boite.text.contains(QStringLiteral("ne peut pas être lue"))) << boite.text.toStdString();
    EXPECT_TRUE(boite.text.contains(chemin)) << boite.text.toStdString();
    EXPECT_EQ(boite.title, "Mirelot");
    EXPECT_EQ(grille.formatString(), QString::fromUtf8(k.entete));
    // Nothing to save and nothing to edit: the real file stays as it is.
    EXPECT_FALSE(e.display().cmdSave);
    EXPECT_FALSE(e.display().cmdAnnulEsp);
    EXPECT_EQ(grille.editable(), Grid::Editable::None);
    EXPECT_FALSE(e.saveTable());
    EXPECT_FALSE(e.canLoadText());
    EXPECT_EQ(testing_support::readBytes(chemin), abime);
}

INSTANTIATE_TEST_SUITE_P(Tables, ParamChargement, testing::ValuesIn(casTables()),
                         [](const testing::TestParamInfo<CasTable>& i) { return std::string(i.param.nom); });

TEST_F(ParamTest, AFolderInPlaceOfTheFileIsUnreadable)
{
    ASSERT_TRUE(QDir(env.programFolder()).mkpath(QStringLiteral("Espèces.DOV")));
    env.dialogs().answer(mb::OK);
    EXPECT_EQ(charger(common::kModeSpecies).state(), TableState::Unreadable);
}

TEST_F(ParamTest, PathComesFromTheSettingWithBackslashesAndAnyLetterCase)
{
    const QString dossier = env.path(QStringLiteral("Tables"));
    ASSERT_TRUE(QDir().mkpath(dossier));
    writeTable(dossier + QStringLiteral("/MILIEUX.dov"), QStringLiteral("^Code\tLibellé\nPA\tPrairie\n"),
               GridFile::Complete);
    ASSERT_TRUE(sub_Reg_Write_HKLM(common::kParametersSection, QStringLiteral("Fichier milieux SHOC"),
                                   QString(dossier).replace(u'/', u'\\') + QStringLiteral("\\Milieux.DOV")));
    ParamEditor& e = charger(common::kModeHabitats);
    EXPECT_EQ(e.state(), TableState::Loaded);
    EXPECT_EQ(e.path(), dossier + QStringLiteral("/MILIEUX.dov"));
    EXPECT_EQ(grille.cell(1, 2), "Prairie");
}

// ================================================================ rights and buttons

TEST_F(ParamTest, RightsAndButtonsPerModeForAnOrdinaryUserAndTheAdministrator)
{
    struct Cas
    {
        const char* mode;
        const char* pswd;
        bool editable;
        Display affichage;
    };
    //                 grille txtFile parcourir save  copier raz   exit
    const Display table{true, false, false, true, true, false, true};
    const Display lecture{true, false, false, false, true, false, true};
    const Display especes{true, false, false, true, true, true, true};
    const Display dossier{false, true, true, false, false, false, false};
    const Cas cas[] = {
        {"Codes espèces", "", true, especes},
        {"Codes espèces", "KORVEL-ADM", true, especes},
        {"Codes carrés", "", false, lecture},
        {"Codes carrés", "KORVEL-ADM", true, table},
        {"Codes réseaux", "korvel-adm", false, lecture}, // letter case counts
        {"Codes réseaux", "KORVEL-ADM", true, table},
        {"Codes milieux", "", false, lecture},
        {"Codes milieux", "KORVEL-ADM", true, table},
        {"Codes comportementaux", "KORVEL-ADM ", false, lecture},
        {"Codes comportementaux", "KORVEL-ADM", true, table},
        {"Adresses courriel de votre correspondant", "", true, table},
        {"Dossier de travail", "", false, dossier},
    };
    for (const Cas& c : cas) {
        administrateur(QString::fromUtf8(c.pswd));
        grille.setEditable(Grid::Editable::None);
        ParamEditor& e = charger(QString::fromUtf8(c.mode));
        EXPECT_EQ(e.display(), c.affichage) << c.mode << " / " << c.pswd;
        EXPECT_EQ(grille.tag(), QString::fromUtf8(c.pswd)) << c.mode;
        if (QString::fromUtf8(c.mode) != common::kModeFolder) {
            EXPECT_EQ(grille.editable() == Grid::Editable::KeyboardMouse, c.editable)
                << c.mode << " / " << c.pswd;
        }
    }
}

// ================================================================ table fix-ups

TEST_F(ParamTest, NetworksAlwaysHaveFourColumns)
{
    administrateur();
    const struct
    {
        const char* tsv;
        QStringList attendu;
    } cas[] = {
        {"Code\tNom\nSHOC\tSuivi\n", {"Code|Nom|", "SHOC|Suivi|", "||"}},
        {"Code\tNom\t5mn\tA\tB\nSHOC\tSuivi\t5\ta\tb\n", {"Code|Nom|5mn", "SHOC|Suivi|5", "||"}},
    };
    for (const auto& c : cas) {
        writeTable(programme(QStringLiteral("Réseaux.DOV")), QString::fromUtf8(c.tsv), GridFile::Workbook);
        charger(common::kModeNetworks);
        EXPECT_EQ(grille.cols(), 4);
        EXPECT_EQ(dump(grille), c.attendu);
    }
}

TEST_F(ParamTest, EmptyRowsAreRemovedExceptInTheSquaresTable)
{
    administrateur();
    const struct
    {
        const char* mode;
        const char* fichier;
        int format;
        QList<int> cases;
        const char* tsv;
        QStringList attendu;
    } cas[] = {
        {"Codes milieux",
         "Milieux_SHOC.DOV",
         GridFile::Complete,
         {},
         "^Code\tLibellé\n\t\nCH\tCéréales\n  \t \n\t\n",
         {"Code|Libellé", "CH|Céréales", "|"}},
        {"Codes carrés",
         "Carrés.DOV",
         GridFile::Complete,
         {},
         "Département\tN° carré\tLongitude\tLatitude\n\t\t\t\n26\t0001\t\t\n",
         {"Département|N° carré|Longitude|Latitude", "|||", "26|0001||", "|||"}},
        // An unticked box alone is an empty row; a ticked one is kept.
        {"Adresses courriel de votre correspondant",
         "email.DOV",
         GridFile::Complete,
         {1},
         "Sélection\tAdresse\n2\t\n1\t\n1\tcoordination.shoc@mirelot.example\n2\t\n",
         {"Sélection|Adresse", "+|", "+|coordination.shoc@mirelot.example", "-|"}},
        {"Codes espèces",
         "Espèces.DOV",
         GridFile::Complete,
         {5},
         "Classe\tEspèce\tNom français\tNom scientifique\tSaisie\n\t\t\t\t2\nO\tALAARV\t\t\t2\n\t\t\t\t1\n",
         {"Classe|Espèce|Nom français|Nom scientifique|Saisie", "O|ALAARV|||-", "||||+", "||||-"}},
    };
    for (const auto& c : cas) {
        writeTable(programme(QString::fromUtf8(c.fichier)), QString::fromUtf8(c.tsv), c.format, c.cases);
        charger(QString::fromUtf8(c.mode));
        EXPECT_EQ(dump(grille), c.attendu) << c.mode;
    }
}

TEST_F(ParamTest, MissingAddressBookStartsWithTheCoordinationTickedAndUnsaved)
{
    ParamEditor& e = charger(common::kModeAddresses);
    EXPECT_EQ(e.state(), TableState::Missing);
    EXPECT_EQ(dump(grille), QStringList({"Sélection|Adresse", "+|" + kSHOC, "-|"}));
    EXPECT_EQ(grille.colDataType(1), Grid::DataType::Boolean);
    EXPECT_FALSE(QFileInfo::exists(programme(QStringLiteral("email.DOV"))));
}

TEST_F(ParamTest, AddressBookFixUpsAreSavedAtOnce)
{
    const QString f = programme(QStringLiteral("email.DOV"));
    const struct
    {
        const char* nom;
        QString tsv;
        QStringList affiche;
        QStringList fichier; // the file afterwards, as the record list reads it; empty: unchanged
    } cas[] = {
        {"sans adresse SHOC: inserted as second row, unticked",
         "Sélection\tAdresse\n1\tzoe@exemple.fr\n2\tabel@exemple.fr\n",
         {"Sélection|Adresse", "-|abel@exemple.fr", "-|" + kSHOC, "+|zoe@exemple.fr", "-|"},
         {"Sélection|Adresse", "-|abel@exemple.fr", "-|" + kSHOC, "+|zoe@exemple.fr"}},
        {"STOC-EPS ticked: switched to SHOC and saved",
         "Sélection\tAdresse\n2\t" + kSHOC + "\n1\t" + kSTOC + "\n1\tzoe@exemple.fr\n",
         {"Sélection|Adresse", "+|" + kSHOC, "-|" + kSTOC, "+|zoe@exemple.fr", "-|"},
         {"Sélection|Adresse", "+|" + kSHOC, "-|" + kSTOC, "+|zoe@exemple.fr"}},
        {"STOC-EPS unticked: nothing to save",
         "Sélection\tAdresse\n2\t" + kSTOC + "\n1\t" + kSHOC + "\n",
         {"Sélection|Adresse", "-|" + kSTOC, "+|" + kSHOC, "-|"},
         {}},
    };
    for (const auto& c : cas) {
        writeTable(f, c.tsv, GridFile::Complete, {1});
        const QByteArray avant = testing_support::readBytes(f);
        charger(common::kModeAddresses);
        EXPECT_EQ(dump(grille), c.affiche) << c.nom;
        if (c.fichier.isEmpty())
            EXPECT_EQ(testing_support::readBytes(f), avant) << c.nom;
        else
            EXPECT_EQ(readAsRecordWindow(f, GridFile::Complete, {1}), c.fichier) << c.nom;
        // Opened again, the table needs no more fix-up.
        const QByteArray apres = testing_support::readBytes(f);
        charger(common::kModeAddresses);
        EXPECT_EQ(testing_support::readBytes(f), apres) << c.nom;
    }
}

// ================================================================ editing rules

TEST_F(ParamTest, SpeciesOrdinaryUserMayChangeOnlySaisie)
{
    writeTable(programme(QStringLiteral("Espèces.DOV")), kEspecesTsv, GridFile::Complete, {5});
    for (const bool admin : {false, true}) {
        administrateur(admin ? QStringLiteral("KORVEL-ADM") : QString());
        ParamEditor& e = charger(common::kModeSpecies);
        for (int c = 1; c <= 5; ++c) {
            EXPECT_EQ(e.canEdit(1, c), admin || c == 5) << "admin " << admin << " col " << c;
            EXPECT_EQ(e.isCellEditable(1, c), admin || c == 5) << "admin " << admin << " col " << c;
        }
        // Header row and fixed column are never data cells.
        EXPECT_FALSE(e.isCellEditable(0, 5));
        EXPECT_FALSE(e.isCellEditable(1, 0));
        EXPECT_FALSE(e.isCellEditable(grille.rows(), 5));
    }
}

TEST_F(ParamTest, CellsInTheReadOnlyColourAreLockedInEveryMode)
{
    administrateur();
    for (const QString& mode : {common::kModeHabitats, common::kModeAddresses, common::kModeSpecies}) {
        ParamEditor& e = charger(mode);
        grille.addRow();
        const int r = grille.rows() - 1;
        EXPECT_TRUE(e.canEdit(r, 2)) << mode.toStdString();
        grille.setBackColour(GridRange{r, 2, r, 2}, grille.backColourFixed());
        EXPECT_TRUE(e.isLocked(r, 2));
        EXPECT_FALSE(e.canEdit(r, 2)) << mode.toStdString();
        grille.setBackColour(GridRange{r, 2, r, 2}, grid::gridRgb(1, 2, 3));
        EXPECT_TRUE(e.canEdit(r, 2)) << mode.toStdString();
    }
}

TEST_F(ParamTest, TypedKeysPerModeAndColumn)
{
    administrateur();
    const struct
    {
        const char* mode;
        int col;
        char16_t cle;
        char16_t garde;
    } cas[] = {
        {"Codes carrés", 2, u'7', u'7'},
        {"Codes carrés", 2, u'a', 0},
        {"Codes carrés", 3, u'a', u'a'},
        {"Codes carrés", 4, u'x', 0},
        {"Codes carrés", 4, u'.', u'.'},
        {"Codes carrés", 1, u'z', u'z'},
        {"Codes réseaux", 1, u'a', u'A'},
        {"Codes réseaux", 1, u'é', u'É'},
        {"Codes réseaux", 3, u'b', 0},
        {"Codes réseaux", 3, u'5', u'5'},
        {"Codes réseaux", 2, u'b', u'b'},
        {"Codes espèces", 2, u'a', u'A'},
        {"Codes espèces", 3, u'a', u'a'},
        {"Codes milieux", 1, u'a', u'a'},
        {"Adresses courriel de votre correspondant", 2, u'x', u'x'},
    };
    for (const auto& c : cas) {
        ParamEditor& e = charger(QString::fromUtf8(c.mode));
        EXPECT_EQ(e.filterKey(c.col, c.cle), int(c.garde)) << c.mode << " col " << c.col;
    }
    // The window's filter is the one used where digits are asked for.
    ParamEditor& e = charger(common::kModeSquares);
    QList<int> vus;
    e.setDigitsFilter([&vus](int cle) {
        vus << cle;
        return 0;
    });
    EXPECT_EQ(e.filterKey(2, u'1'), 0);
    EXPECT_EQ(e.filterKey(3, u'1'), int(u'1'));
    EXPECT_EQ(vus, QList<int>({int(u'1')}));
}

TEST_F(ParamTest, AfterEditFormatsSquaresAndAppendsOneEmptyRowEachTime)
{
    administrateur();
    writeTable(programme(QStringLiteral("Carrés.DOV")),
               QStringLiteral("Département\tN° carré\tLongitude\tLatitude\n26\t1\t4.9\t44.93\n07\t2\t\t\n"),
               GridFile::Complete);
    ParamEditor& e = charger(common::kModeSquares);
    const int lignes = grille.rows();
    grille.setCell(1, 2, QStringLiteral("12"));
    e.afterEdit(1, 2);
    grille.setCell(1, 3, QStringLiteral("4.9"));
    e.afterEdit(1, 3);
    grille.setCell(2, 4, QStringLiteral("N44"));
    e.afterEdit(2, 4);
    grille.setCell(2, 1, QStringLiteral("7"));
    e.afterEdit(2, 1);
    EXPECT_EQ(grille.cell(1, 2), "0012");
    EXPECT_EQ(grille.cell(1, 3), "4.900");
    EXPECT_EQ(grille.cell(2, 4), "N44");
    EXPECT_EQ(grille.cell(2, 1), "7");
    EXPECT_EQ(grille.rows(), lignes + 4) << "one empty row per edit, wherever the edited row was";
}

TEST_F(ParamTest, DeleteClearsOnlyWhatTheRulesLetTheUserChange)
{
    writeTable(programme(QStringLiteral("Espèces.DOV")), kEspecesTsv, GridFile::Complete, {5});
    const struct
    {
        const char* pswd;
        QString ligne1;
    } cas[] = {
        {"", "O|STUVUL|Étourneau sansonnet|Sturnus vulgaris|-"}, // the codes stay, the box is cleared
        {"KORVEL-ADM", "||||-"},
    };
    for (const auto& c : cas) {
        administrateur(QString::fromUtf8(c.pswd));
        ParamEditor& e = charger(common::kModeSpecies);
        const int r = grille.findRow(QStringLiteral("STUVUL"), 1, 2);
        grille.select(r, 0, r, 5);
        e.clearSelection();
        EXPECT_EQ(dump(grille).value(r), c.ligne1) << c.pswd;
    }
    // A read-only table keeps its cells.
    administrateur(QString());
    writeTable(programme(QStringLiteral("Milieux_SHOC.DOV")),
               QStringLiteral("^Code\tLibellé\nCH\tCéréales\n"), GridFile::Complete);
    ParamEditor& e = charger(common::kModeHabitats);
    grille.select(1, 1, 1, 2);
    e.clearSelection();
    EXPECT_EQ(dump(grille).value(1), "CH|Céréales");
}

TEST_F(ParamTest, PasteFollowsTheRulesOfTypingAndNamesTheCellsItLeaves)
{
    administrateur();
    writeTable(programme(QStringLiteral("Carrés.DOV")),
               QStringLiteral("Département\tN° carré\tLongitude\tLatitude\n26\t0001\t4.900\t44.930\n"),
               GridFile::Complete);
    writeTable(programme(QStringLiteral("Réseaux.DOV")), QStringLiteral("Code\tNom\t5mn\nAB\tRéseau\t5\n"),
               GridFile::Workbook);
    const struct
    {
        const char* mode;
        int col;
        const char* colle;
        const char* attendu; // row 1 afterwards
        const char* refus;   // in the message; empty: no message
    } cas[] = {
        {"Codes réseaux", 1, "cd\r\n", "CD|Réseau|5", ""}, // capitals; a spreadsheet's line end dropped
        {"Codes réseaux", 3, "dix", "AB|Réseau|5",
         "ligne 1, colonne « 5mn » (caractères refusés dans cette colonne) : « dix »"},
        {"Codes carrés", 2, "12", "26|0012|4.900|44.930", ""},
        // A block fills cell by cell; what breaks a rule or falls outside the table is named.
        {"Codes carrés", 1, "38\tx12\t5.1\t45.2\textra", "38|0001|5.100|45.200",
         "- ligne 1, colonne « N° carré » (caractères refusés dans cette colonne) : « x12 »\n"
         "- ligne 1, colonne 5 (hors de la table) : « extra »"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << c.mode << " / " << c.colle);
        ParamEditor& e = charger(QString::fromUtf8(c.mode));
        grille.select(1, c.col);
        env.dialogs().clearAsked();
        const bool refuse = *c.refus != 0;
        if (refuse)
            env.dialogs().answer(mb::OK);
        EXPECT_EQ(e.pasteText(QString::fromUtf8(c.colle)).ok, !refuse);
        EXPECT_EQ(dump(grille).value(1), QString::fromUtf8(c.attendu));
        ASSERT_EQ(env.dialogs().asked().size(), refuse ? 1 : 0);
        if (refuse) {
            EXPECT_TRUE(env.dialogs().asked()[0].text.endsWith(QString::fromUtf8(c.refus)));
        }
    }
    // Rows pasted below the last one extend the table, as typing does.
    ParamEditor& e = charger(common::kModeNetworks);
    grille.select(2, 1);
    EXPECT_TRUE(e.pasteText(QStringLiteral("ef\tNord\t3\ngh\tSud\t4")));
    EXPECT_EQ(dump(grille).mid(2), QStringList({"EF|Nord|3", "GH|Sud|4"}));
}

TEST_F(ParamTest, TextFileLoadKeepsTheTableLayoutAndFollowsTheRules)
{
    const QString texte = env.path(QStringLiteral("import.txt"));
    testing_support::writeBytes(
        texte, "O\tPICPIC\tPie bavarde\t\tTRUE\r\nO\tCORCOR\tCorneille noire\tCorvus corone\t\tx\ty\r\n");
    writeTable(programme(QStringLiteral("Espèces.DOV")), kEspecesTsv, GridFile::Complete, {5});

    // An ordinary user may change only "Saisie": the whole-table load is not offered.
    ParamEditor& ordinaire = charger(common::kModeSpecies);
    const QStringList avant = dump(grille);
    EXPECT_FALSE(ordinaire.canLoadText());
    EXPECT_FALSE(ordinaire.loadText(texte));
    EXPECT_EQ(dump(grille), avant);

    administrateur();
    ParamEditor& e = charger(common::kModeSpecies);
    EXPECT_TRUE(e.canLoadText());
    EXPECT_TRUE(e.loadText(texte));
    EXPECT_EQ(dump(grille),
              QStringList({"Classe|Espèce|Nom français|Nom scientifique|Saisie", "O|PICPIC|Pie bavarde||+",
                           "O|CORCOR|Corneille noire|Corvus corone|-"}));
    EXPECT_EQ(grille.cols(), 6);

    // A file that cannot be read leaves the table and says so.
    env.dialogs().answer(mb::OK);
    EXPECT_FALSE(e.loadText(env.path(QStringLiteral("absent.txt"))));
    EXPECT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(grille.rows(), 3);
}

TEST(ParamTextLayout, HeaderAndFixedColumnOfATabSeparatedFile)
{
    const QStringList milieux = {"", "Code", "Libellé"};
    const QStringList carres = {"", "Département", "N° carré", "Longitude", "Latitude"};
    const struct
    {
        const char* nom;
        QStringList table;
        QList<QStringList> lignes;
        bool entete, fixes;
    } cas[] = {
        {"numbered header cell, titles in capitals",
         milieux,
         {{"N°", "CODE ", "LIBELLÉ"}, {"1", "CH", "x"}},
         true,
         true},
        {"header without fixed cells", milieux, {{"Code", "Libellé"}, {"CH", "Céréales"}}, true, false},
        {"one title only is no header", carres, {{"", "Département", "12", "4.9", "44.9"}}, false, true},
        {"numbered rows, no header",
         carres,
         {{"1", "26", "0001", "4.9", "44.9"}, {"2", "07", "2", "4", "4"}},
         false,
         true},
        // Departments are data, not row numbers, even in a line one cell too wide.
        {"the table's own numbers",
         carres,
         {{"26", "0001", "4.9", "44.9", "x"}, {"07", "2", "4", "4", ""}},
         false,
         false},
    };
    for (const auto& c : cas) {
        const mainwindow::TextLayout d = mainwindow::textLayout(c.lignes, c.table, 1);
        EXPECT_EQ(d.header, c.entete) << c.nom;
        EXPECT_EQ(d.fixedColumns, c.fixes) << c.nom;
    }
}

TEST_F(ParamTest, TextFileSavedByTheProgramLoadsBackIntoTheSameTable)
{
    administrateur();
    writeTable(programme(QStringLiteral("Milieux_SHOC.DOV")),
               QStringLiteral("^Code\tLibellé\nCH\tCéréales\nPA\tPrairie\n"), GridFile::Complete);
    writeTable(programme(QStringLiteral("email.DOV")),
               QStringLiteral("Sélection\tAdresse\n1\t") + kSHOC + QStringLiteral("\n2\ta@b.fr\n"),
               GridFile::Complete, {1});
    // Saved with its fixed cells, the same with its header line removed, saved without them.
    for (const QString& mode : {common::kModeHabitats, common::kModeAddresses}) {
        for (const int forme : {0, 1, 2}) {
            SCOPED_TRACE(testing::Message() << mode.toStdString() << ", layout " << forme);
            ParamEditor& e = charger(mode);
            const QStringList table = dump(grille);
            const QString fichier = env.path(QStringLiteral("table.txt"));
            ASSERT_TRUE(GridFile::save(grille, fichier, GridFile::TabText, forme < 2));
            if (forme == 1) {
                QByteArray octets = testing_support::readBytes(fichier);
                testing_support::writeBytes(fichier, octets.mid(octets.indexOf('\n') + 1));
            }
            grille.setCell(1, 2, QStringLiteral("changé"));
            EXPECT_TRUE(e.loadText(fichier));
            EXPECT_EQ(dump(grille), table);
        }
    }
}

// ================================================================ identification

class ParamIdentificationTest : public ParamTest
{
protected:
    void installer(const QString& base = QStringLiteral("C:\\Gadrel\\Gadrel.mdb"))
    {
        ASSERT_TRUE(sub_Reg_Write_HKLM(common::kGadrelSection, QStringLiteral("Moteur"),
                                       QStringLiteral("Jet"), QStringLiteral("Gadrel")));
        ASSERT_TRUE(sub_Reg_Write_HKLM(common::kGadrelSection, QStringLiteral("Base"), base,
                                       QStringLiteral("Gadrel")));
    }
    void choix(const QString& protocole, const QString& organisme, const QString& cpu)
    {
        ASSERT_TRUE(sub_Reg_Write_HKLM(common::kParametersSection,
                                       QStringLiteral("Indentification de votre Gadrel : CPU ") + protocole,
                                       cpu));
        ASSERT_TRUE(sub_Reg_Write_HKLM(
            common::kParametersSection,
            QStringLiteral("Indentification de votre Gadrel : Organisme ") + protocole, organisme));
    }
    void lignes(const QList<QStringList>& rows, bool ok = true)
    {
        source.result.rows = rows;
        source.result.result = ok ? platform::Result::success()
                                  : platform::Result::failure(QStringLiteral("lecture interrompue"));
    }
};

TEST_F(ParamIdentificationTest, SiblingProductNotInstalledClosesTheWindow)
{
    for (const char* moteur : {"", "Fin"}) {
        if (*moteur) {
            ASSERT_TRUE(sub_Reg_Write_HKLM(common::kGadrelSection, QStringLiteral("Moteur"),
                                           QString::fromUtf8(moteur), QStringLiteral("Gadrel")));
        }
        env.dialogs().clearAsked();
        env.dialogs().answer(mb::OK);
        ParamEditor& e = charger(common::kModeIdentification);
        EXPECT_TRUE(e.mustClose()) << moteur;
        ASSERT_EQ(env.dialogs().asked().size(), 1);
        EXPECT_EQ(env.dialogs().asked().first().text,
                  "Le logiciel Gadrel n'est pas installé sur votre ordinateur");
        EXPECT_EQ(env.dialogs().asked().first().style, mb::OKOnly);
        EXPECT_EQ(env.dialogs().asked().first().title, "Mirelot");
        EXPECT_EQ(source.calls, 0);
    }
}

TEST_F(ParamIdentificationTest, GridFromTheDatabaseSortedWithTheSavedChoiceTicked)
{
    installer();
    lignes({{"LPO Drôme", "12", "Bureau"},
            {"atlas", "7", "Portable"},
            {"Atlas", "12", "Fixe"},
            {"lpo drôme", "03", "Salle"}});
    const struct
    {
        const char* nom;
        const char* organisme;
        const char* cpu;
        int cochee; // row ticked, -1: none
    } cas[] = {
        {"organisation and code", "LPO Drôme", "12", 4},
        {"same code, other organisation", "Atlas", "12", 1},
        {"organisation differs in case", "atlas", "12", -1},
        {"no saved choice", "", "", -1},
    };
    for (const auto& c : cas) {
        choix(QStringLiteral("SHOC"), QString::fromUtf8(c.organisme), QString::fromUtf8(c.cpu));
        ParamEditor& e = charger(common::kModeIdentification, QStringLiteral("SHOC"));
        EXPECT_FALSE(e.mustClose());
        EXPECT_EQ(source.lastPath, "C:/Gadrel/Gadrel.mdb");
        EXPECT_EQ(source.lastTable, "TPOrdinateurs");
        EXPECT_EQ(source.lastFields, QStringList({"Organisme", "CPU", "Ordinateur"}));
        EXPECT_EQ(grille.formatString(), mainwindow::kIdentificationHeader);
        QStringList attendu = {"Sélection|Organisme|Code ordinateur|Nom ordinateur", "-|Atlas|12|Fixe",
                               "-|atlas|7|Portable", "-|lpo drôme|03|Salle", "-|LPO Drôme|12|Bureau"};
        if (c.cochee > 0)
            attendu[c.cochee].replace(0, 1, QStringLiteral("+"));
        EXPECT_EQ(dump(grille), attendu) << c.nom << " (no empty row is appended)";
        // The information columns are locked, the box is not.
        for (int r = 1; r < grille.rows(); ++r) {
            EXPECT_TRUE(e.canEdit(r, 1));
            for (int col = 2; col <= 4; ++col)
                EXPECT_FALSE(e.canEdit(r, col)) << r << "," << col;
        }
        EXPECT_EQ(e.display(), (Display{true, false, false, true, false, false, true}));
    }
}

TEST_F(ParamIdentificationTest, ChoiceOfOneSchemeDoesNotTickAnother)
{
    installer();
    lignes({{"LPO", "12", "Bureau"}});
    choix(QStringLiteral("STOC-EPS"), QStringLiteral("LPO"), QStringLiteral("12"));
    charger(common::kModeIdentification, QStringLiteral("SHOC"));
    EXPECT_EQ(dump(grille).value(1), "-|LPO|12|Bureau");
    charger(common::kModeIdentification, QStringLiteral("STOC-EPS"));
    EXPECT_EQ(dump(grille).value(1), "+|LPO|12|Bureau");
}

TEST_F(ParamIdentificationTest, AnUnreadableDatabaseShowsTheRowsReadBeforeTheFailureAndSaysWhy)
{
    installer();
    lignes({{"B", "2", "b"}, {"A", "1", "a"}}, false);
    env.dialogs().answer(mb::OK);
    ParamEditor& e = charger(common::kModeIdentification);
    EXPECT_EQ(e.databaseError(), "lecture interrompue");
    EXPECT_EQ(dump(grille),
              QStringList({"Sélection|Organisme|Code ordinateur|Nom ordinateur", "-|A|1|a", "-|B|2|b"}));
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(env.dialogs().asked()[0].text,
              "La liste des ordinateurs de Gadrel n'a pas pu être lue en entier : seuls les 2 premiers "
              "ordinateurs sont affichés.\n\nlecture interrompue");
    EXPECT_EQ(env.dialogs().asked()[0].style, mb::OKOnly | mb::Exclamation);

    lignes({}, false);
    env.dialogs().answer(mb::OK);
    charger(common::kModeIdentification);
    EXPECT_EQ(grille.rows(), 1);
    ASSERT_EQ(env.dialogs().asked().size(), 2);
    EXPECT_EQ(
        env.dialogs().asked()[1].text,
        "La liste des ordinateurs de Gadrel n'a pas pu être lue : elle reste vide.\n\nlecture interrompue");

    // A database read whole says nothing, even without a row.
    lignes({});
    charger(common::kModeIdentification);
    EXPECT_EQ(env.dialogs().asked().size(), 2);
}

TEST_F(ParamIdentificationTest, TickingARowUnticksTheOthersAndSaveWritesItForTheSchemeOnly)
{
    installer();
    lignes({{"A", "1", "a"}, {"B", "1", "b"}, {"C", "3", "c"}});
    ParamEditor& e = charger(common::kModeIdentification, QStringLiteral("EPS-SITES"));
    EXPECT_TRUE(e.saveTable()) << "no ticked row: nothing to write";
    EXPECT_EQ(parametre(QStringLiteral("Indentification de votre Gadrel : CPU EPS-SITES")), "<absent>");

    // The view toggles the box, then the after-edit step runs.
    grille.setCheckState(2, 1, Grid::Checked);
    e.afterEdit(2, 1);
    grille.setCheckState(3, 1, Grid::Checked);
    e.afterEdit(3, 1);
    EXPECT_EQ(dump(grille), QStringList({"Sélection|Organisme|Code ordinateur|Nom ordinateur", "-|A|1|a",
                                         "-|B|1|b", "+|C|3|c"}));
    // Clicking the ticked box leaves it ticked.
    grille.setCheckState(3, 1, Grid::Unchecked);
    e.afterEdit(3, 1);
    EXPECT_EQ(grille.checkState(3, 1), Grid::Checked);
    EXPECT_EQ(grille.rows(), 4) << "no row appended in this mode";

    grille.setCheckState(GridRange{1, 1, 3, 1}, Grid::Unchecked);
    grille.setCheckState(2, 1, Grid::Checked);
    EXPECT_TRUE(e.saveTable());
    EXPECT_EQ(parametre(QStringLiteral("Indentification de votre Gadrel : CPU EPS-SITES")), "1");
    EXPECT_EQ(parametre(QStringLiteral("Indentification de votre Gadrel : Organisme EPS-SITES")), "B");
    EXPECT_EQ(parametre(QStringLiteral("Indentification de votre Gadrel : CPU SHOC")), "<absent>");
    // Reopened, the same row (and only it) is ticked.
    charger(common::kModeIdentification, QStringLiteral("EPS-SITES"));
    EXPECT_EQ(dump(grille), QStringList({"Sélection|Organisme|Code ordinateur|Nom ordinateur", "-|A|1|a",
                                         "+|B|1|b", "-|C|3|c"}));
}

TEST_F(ParamIdentificationTest, LockedColumnsResistDeletePasteAndTheFileLoad)
{
    installer();
    lignes({{"A", "1", "a"}, {"B", "2", "b"}});
    ParamEditor& e = charger(common::kModeIdentification);
    grille.select(1, 1, 2, 4);
    e.clearSelection();
    EXPECT_EQ(dump(grille),
              QStringList({"Sélection|Organisme|Code ordinateur|Nom ordinateur", "-|A|1|a", "-|B|2|b"}));
    for (int r = 1; r <= 2; ++r)
        for (int c = 2; c <= 4; ++c)
            EXPECT_TRUE(e.isLocked(r, c)) << "the lock stays on " << r << "," << c;
    grille.select(1, 3);
    env.dialogs().answer(mb::OK);
    EXPECT_FALSE(e.pasteText(QStringLiteral("99")));
    EXPECT_EQ(grille.cell(1, 3), "1");
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_TRUE(
        env.dialogs().asked()[0].text.contains("colonne « Code ordinateur » (cellule non modifiable)"));
    EXPECT_FALSE(e.canLoadText());
    const QString texte = env.path(QStringLiteral("pc.txt"));
    testing_support::writeBytes(texte, "\tX\t99\tz\r\n");
    EXPECT_FALSE(e.loadText(texte));
    EXPECT_EQ(grille.cell(1, 3), "1");
}

// ================================================================ save, with a reload

TEST_F(ParamTest, SaveWritesEachTableInItsFormatAndTheRecordWindowReadsItBack)
{
    administrateur();
    const struct
    {
        const char* mode;
        const char* fichier;
        int format;
        QList<int> cases;
        const char* tsv;
        QStringList relu; // as the record window reads the file after Save (rows sorted)
    } cas[] = {
        {"Codes carrés",
         "Carrés.DOV",
         GridFile::Complete,
         {},
         "Département\tN° carré\tLongitude\tLatitude\n26\t0012\t4.900\t44.930\n07\t0003\t\t\n",
         {"Département|N° carré|Longitude|Latitude", "07|0003||", "26|0012|4.900|44.930", "|||"}},
        {"Codes réseaux",
         "Réseaux.DOV",
         GridFile::Workbook,
         {},
         "Code\tNom\t5mn\nSTOC\tPrintemps\t\nSHOC\tHiver\t5\n",
         {"Code|Nom|5mn", "SHOC|Hiver|5", "STOC|Printemps|", "||"}},
        {"Codes milieux",
         "Milieux_SHOC.DOV",
         GridFile::Complete,
         {},
         "^Code\tLibellé\nSN\tSol nu\nCH\tCéréales\n",
         {"Code|Libellé", "CH|Céréales", "SN|Sol nu", "|"}},
        {"Codes comportementaux",
         "Comportements.dov",
         GridFile::Workbook,
         {},
         "Classe\tCode\tDéfaut\tListe_Restreinte\tLibellé\nO\tPOSE\t\t\tPosé\nO\tALIM\t\t\tEn alimentation\n",
         {"Classe|Code|Défaut|Liste_Restreinte|Libellé", "O|ALIM|||En alimentation", "O|POSE|||Posé",
          "||||"}},
        {"Adresses courriel de votre correspondant",
         "email.DOV",
         GridFile::Complete,
         {1},
         "Sélection\tAdresse\n1\tzoe@exemple.fr\n2\tcoordination.shoc@mirelot.example\n",
         {"Sélection|Adresse", "-|coordination.shoc@mirelot.example", "+|zoe@exemple.fr", "-|"}},
    };
    for (const auto& c : cas) {
        const QString chemin = programme(QString::fromUtf8(c.fichier));
        writeTable(chemin, QString::fromUtf8(c.tsv), c.format, c.cases);
        ParamEditor& e = charger(QString::fromUtf8(c.mode));
        ASSERT_TRUE(e.saveTable()) << c.mode;
        EXPECT_EQ(readAsRecordWindow(chemin, c.format, c.cases), c.relu) << c.mode;
        // Opened again, the editor shows what was saved.
        charger(QString::fromUtf8(c.mode));
        QStringList attendu = c.relu;
        if (QString::fromUtf8(c.mode) == common::kModeSquares)
            attendu << QStringLiteral("|||"); // its empty rows stay, and one more comes
        EXPECT_EQ(dump(grille), attendu) << c.mode;
    }
}

TEST_F(ParamTest, SpeciesSaveSortsPassesThroughTheWorkbookAndWritesTheFileOnce)
{
    const QString chemin = programme(QStringLiteral("Espèces.DOV"));
    writeTable(chemin, kEspecesTsv, GridFile::Complete, {5});
    ParamEditor& e = charger(common::kModeSpecies);
    grille.setCell(1, 0, QStringLiteral("1"));
    grille.setBackColour(GridRange{1, 1, 1, 3}, grid::gridRgb(200, 10, 10));
    grille.setFontSize(GridRange{1, 1, 1, 1}, 14);
    grille.setRowKey(1, QStringLiteral("clé"));

    param_support::WriteWatch watch(env.programFolder());
    ASSERT_TRUE(e.saveTable());
    EXPECT_EQ(watch.writesOf(QStringLiteral("Espèces.DOV")), 1) << "the table's file is written once";
    EXPECT_EQ(QDir(env.programFolder()).entryList(QDir::Files), QStringList({"Espèces.DOV"}))
        << "no file left over";

    // Sorted on class then code, boxes kept, as the record window reads it.
    EXPECT_EQ(readAsRecordWindow(chemin, GridFile::Complete, {5}),
              QStringList({"Classe|Espèce|Nom français|Nom scientifique|Saisie",
                           "M|LEPEUR|Lièvre d'Europe|Lepus europaeus|-",
                           "O|ALAARV|Alouette des champs|Alauda arvensis|-",
                           "O|STUVUL|Étourneau sansonnet|Sturnus vulgaris|+", "||||-"}));
    Grid fichier;
    ASSERT_TRUE(GridFile::load(fichier, chemin, GridFile::Complete));
    for (int r = 0; r < fichier.rows(); ++r) {
        EXPECT_TRUE(fichier.cell(r, 0).isEmpty()) << "no row number stored, row " << r;
        EXPECT_TRUE(fichier.rowKey(r).isEmpty()) << "the workbook form keeps no key, row " << r;
        for (int c = 0; c < fichier.cols(); ++c)
            EXPECT_EQ(fichier.backColour(r, c), 0);
    }
    // On screen: default colours, 8.25 points everywhere.
    for (int r = 0; r < grille.rows(); ++r)
        for (int c = 0; c < grille.cols(); ++c) {
            EXPECT_EQ(grille.backColour(r, c), 0);
            EXPECT_DOUBLE_EQ(grille.fontSize(r, c), 8.25);
        }
}

TEST_F(ParamTest, SpeciesSaveNamesTheSearchColumnsWhereTheTableHasThem)
{
    const QString chemin = programme(QStringLiteral("Espèces.DOV"));
    writeTable(
        chemin,
        QStringLiteral(
            "Classe\tEspèce\tNom français\tNom scientifique\tSaisie\tA\tB\nO\tALAARV\tAlouette\t\t1\tx\ty\n"),
        GridFile::Complete, {5});
    ASSERT_TRUE(charger(common::kModeSpecies).saveTable());
    EXPECT_EQ(readAsRecordWindow(chemin, GridFile::Complete, {5}).value(0),
              "Classe|Espèce|Nom français|Nom scientifique|Saisie|FIndRowCode|FIndRowNomF");
}

TEST_F(ParamTest, NothingIsSavedWhereSaveIsNotOffered)
{
    const QString chemin = programme(QStringLiteral("Milieux_SHOC.DOV"));
    writeTable(chemin, QStringLiteral("^Code\tLibellé\nSN\tSol nu\nCH\tCéréales\n"), GridFile::Complete);
    const QByteArray avant = testing_support::readBytes(chemin);
    ParamEditor& e = charger(common::kModeHabitats);
    EXPECT_FALSE(e.saveTable());
    EXPECT_EQ(testing_support::readBytes(chemin), avant);
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
}

TEST_F(ParamTest, AFailedSaveIsReportedAndTheGridKept)
{
    for (const QString& mode : {common::kModeSpecies, common::kModeAddresses}) {
        const QString valeur = mode == common::kModeSpecies ? QStringLiteral("Fichier espèces")
                                                            : QStringLiteral("Adresses email");
        ASSERT_TRUE(sub_Reg_Write_HKLM(common::kParametersSection, valeur,
                                       env.path(QStringLiteral("pas/de/dossier/table.DOV"))));
        ParamEditor& e = charger(mode);
        grille.setCell(1, 2, QStringLiteral("quelque chose"));
        env.dialogs().clearAsked();
        env.dialogs().answer(mb::OK);
        EXPECT_FALSE(e.saveTable()) << mode.toStdString();
        ASSERT_EQ(env.dialogs().asked().size(), 1);
        EXPECT_TRUE(env.dialogs().asked().first().text.contains(QStringLiteral("n'a pas été enregistrée")));
        EXPECT_TRUE(env.dialogs().asked().first().text.contains(QStringLiteral("pas/de/dossier/table.DOV")));
        EXPECT_EQ(grille.findRow(QStringLiteral("quelque chose"), 1, 2) > 0, true);
    }
}

TEST_F(ParamTest, EachFailureCarriesTheTextTheUserIsShown)
{
    ASSERT_TRUE(sub_Reg_Write_HKLM(common::kParametersSection, QStringLiteral("Adresses email"),
                                   env.path(QStringLiteral("pas/de/dossier/email.DOV"))));
    ParamEditor& e = charger(common::kModeAddresses);
    struct Cas
    {
        const char* name;
        std::function<platform::Result()> action;
    };
    const Cas cas[] = {
        {"save",
         [&] {
             grille.setCell(1, 2, QStringLiteral("autre@example.org"));
             return e.saveTable();
         }},
        {"paste",
         [&] {
             grille.select(1, 1);
             return e.pasteText(QStringLiteral("x"));
         }},
        {"load", [&] { return e.loadText(env.path(QStringLiteral("absent.txt"))); }},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.name);
        env.dialogs().clearAsked();
        env.dialogs().answer(mb::OK);
        const platform::Result r = c.action();
        EXPECT_FALSE(r);
        ASSERT_EQ(env.dialogs().asked().size(), 1);
        EXPECT_EQ(r.error, env.dialogs().asked().first().text);
    }
    // No folder chosen: nothing changes and nothing is shown, but the failure says why.
    charger(common::kModeFolder);
    env.dialogs().clearAsked();
    const platform::Result none = ed->folderChosen(QString());
    EXPECT_FALSE(none);
    EXPECT_FALSE(none.error.isEmpty());
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
}

TEST_F(ParamTest, AFullDiskKeepsTheTableByteForByteAndSaysWhy)
{
    struct Cas
    {
        QString mode;
        const char* fichier;
        QString tsv;
        QList<int> cases;
    };
    QString especes = QStringLiteral("Classe\tEspèce\tNom français\tNom scientifique\tSaisie\n");
    QString adresses = QStringLiteral("Sélection\tAdresse\n");
    for (int i = 0; i < 60; ++i) { // a few KB: more than the disk takes
        especes +=
            QStringLiteral("O\tESP%1\tEspèce n° %1\tAvis numerus\t1\n").arg(i, 3, 10, QLatin1Char('0'));
        adresses += QStringLiteral("2\tcorrespondant%1@example.org\n").arg(i);
    }
    const Cas cas[] = {
        {common::kModeSpecies, "Espèces.DOV", especes, {5}},
        {common::kModeAddresses, "email.DOV", adresses, {1}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.mode.toStdString());
        const QString chemin = programme(QString::fromUtf8(c.fichier));
        writeTable(chemin, c.tsv, GridFile::Complete, c.cases);
        ParamEditor& e = charger(c.mode);
        const QByteArray avant = testing_support::readBytes(chemin); // after the address book's fix-ups
        grille.setCell(1, 2, QStringLiteral("changé"));
        env.dialogs().clearAsked();
        env.dialogs().answer(mb::OK);
        {
            testing_support::FileSizeLimit limite(1024);
            EXPECT_FALSE(e.saveTable());
        }
        ASSERT_EQ(env.dialogs().asked().size(), 1);
        EXPECT_EQ(env.dialogs().asked().first().text,
                  QStringLiteral("La table « %1 » n'a pas été enregistrée.\n\n"
                                 "Le fichier « %2 » ne peut pas être écrit : le disque est plein.")
                      .arg(c.mode, chemin));
        EXPECT_EQ(testing_support::readBytes(chemin), avant);
        EXPECT_EQ(QDir(env.programFolder()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QString::fromUtf8(c.fichier)});
        QFile::remove(chemin);
    }
}

// ================================================================ closing

TEST_F(ParamTest, ClosingAsksOnlyAboutChangesThatSaveCouldStore)
{
    const QString milieux = programme(QStringLiteral("Milieux_SHOC.DOV"));
    auto change = [](ParamEditor& e, Grid& g) {
        g.setCell(1, 2, QStringLiteral("Chaumes"));
        e.afterEdit(1, 2); // one more empty row: it does not count
    };
    const struct
    {
        const char* nom;
        bool admin;
        std::function<void(ParamEditor&, Grid&)> action;
        int reponse;       // 0: no question expected
        bool fermee;       // the window may close
        const char* ligne; // row 1 of the file afterwards
    } cas[] = {
        {"nothing changed", true, [](ParamEditor&, Grid&) {}, 0, true, "CH|Céréales"},
        {"read-only table: nothing to save", false, change, 0, true, "CH|Céréales"},
        {"changed, Annuler", true, change, mb::Cancel, false, "CH|Céréales"},
        {"changed, Non", true, change, mb::No, true, "CH|Céréales"},
        {"changed, Oui", true, change, mb::Yes, true, "CH|Chaumes"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        writeTable(milieux, QStringLiteral("^Code\tLibellé\nCH\tCéréales\n"), GridFile::Complete);
        administrateur(c.admin ? QStringLiteral("KORVEL-ADM") : QString());
        ParamEditor& e = charger(common::kModeHabitats);
        c.action(e, grille);
        env.dialogs().clearAsked();
        if (c.reponse)
            env.dialogs().answer(c.reponse);
        EXPECT_EQ(e.canClose(), c.fermee);
        ASSERT_EQ(env.dialogs().asked().size(), c.reponse ? 1 : 0);
        if (c.reponse) {
            EXPECT_EQ(env.dialogs().asked()[0].text,
                      "Les modifications de « Codes milieux » n'ont pas été enregistrées.\n\n"
                      "Voulez-vous les enregistrer avant de fermer la fenêtre ?");
            EXPECT_EQ(env.dialogs().asked()[0].style, mb::YesNoCancel | mb::Exclamation);
        }
        EXPECT_EQ(readAsRecordWindow(milieux, GridFile::Complete).value(1), QString::fromUtf8(c.ligne));
    }

    // Oui with a save that fails: the save says why and the window stays open.
    ASSERT_TRUE(sub_Reg_Write_HKLM(common::kParametersSection, QStringLiteral("Adresses email"),
                                   env.path(QStringLiteral("pas/de/dossier/email.DOV"))));
    ParamEditor& adresses = charger(common::kModeAddresses);
    grille.setCell(1, 2, QStringLiteral("a@b.fr"));
    env.dialogs().clearAsked();
    env.dialogs().answer(mb::Yes);
    env.dialogs().answer(mb::OK);
    EXPECT_FALSE(adresses.canClose());
    ASSERT_EQ(env.dialogs().asked().size(), 2);
    EXPECT_TRUE(env.dialogs().asked()[1].text.contains(QStringLiteral("n'a pas été enregistrée")));
}

// ================================================================ RAZ

TEST_F(ParamTest, RAZUnticksEveryBoxRemovesEmptyDescriptionsAndSavesNothing)
{
    const QString chemin = programme(QStringLiteral("Espèces.DOV"));
    writeTable(chemin,
               QStringLiteral("Classe\tEspèce\tNom français\tNom scientifique\tSaisie\n"
                              "O\tALAARV\tAlouette\t\t1\n\t\t\t\t1\nO\tSTUVUL\tÉtourneau\t\t1\n"),
               GridFile::Complete, {5});
    const QByteArray avant = testing_support::readBytes(chemin);
    ParamEditor& e = charger(common::kModeSpecies);
    grille.addRow();
    grille.setCell(grille.addRow(), 1, QStringLiteral(" "));
    e.resetTable();
    // The row holding a blank in its class is not empty: only rows whose four cells are empty go.
    EXPECT_EQ(dump(grille),
              QStringList({"Classe|Espèce|Nom français|Nom scientifique|Saisie", "O|ALAARV|Alouette||-",
                           "O|STUVUL|Étourneau||-", " ||||-", "||||-"}));
    EXPECT_EQ(testing_support::readBytes(chemin), avant);

    // Only the species mode has it.
    writeTable(programme(QStringLiteral("Carrés.DOV")),
               QStringLiteral("Département\tN° carré\tLongitude\tLatitude\n"), GridFile::Complete);
    administrateur();
    ParamEditor& carres = charger(common::kModeSquares);
    const int lignes = grille.rows();
    carres.resetTable();
    EXPECT_EQ(grille.rows(), lignes);
}

// ================================================================ data folder

TEST_F(ParamTest, DataFolderShowsTheSettingAndStoresTheChosenFolder)
{
    gstr_Dossier = QStringLiteral("/donnees/par/defaut");
    ParamEditor& e = charger(common::kModeFolder);
    EXPECT_EQ(e.folder(), "/donnees/par/defaut");
    ASSERT_TRUE(sub_Reg_Write_HKLM(common::kParametersSection, QStringLiteral("Dossier"),
                                   QStringLiteral("/ailleurs")));
    charger(common::kModeFolder);
    EXPECT_EQ(ed->folder(), "/ailleurs");

    EXPECT_FALSE(ed->folderChosen(QString()));
    EXPECT_EQ(parametre(QStringLiteral("Dossier")), "/ailleurs");
    EXPECT_TRUE(ed->folderChosen(QStringLiteral("/nouveau")));
    EXPECT_EQ(parametre(QStringLiteral("Dossier")), "/nouveau");
    EXPECT_EQ(ed->folder(), "/nouveau");
    EXPECT_EQ(gstr_Dossier, "/donnees/par/defaut") << "the running program's folder is not changed";
    EXPECT_FALSE(ed->saveTable()) << "Save is not offered here";
    EXPECT_EQ(parametre(QStringLiteral("Dossier")), "/nouveau");
}

// ================================================================ starter tables

TEST_F(ParamTest, StarterTablesOpenAndSaveInTheLayoutsTheRecordWindowReads)
{
    administrateur();
    for (const data::TableInstallation& t : data::installStarterTables(env.programFolder()))
        ASSERT_EQ(t.state, data::InstallState::Installed) << t.fileName.toStdString();
    const struct
    {
        const char* mode;
        const char* fichier;
    } cas[] = {
        {"Codes espèces", "Espèces.DOV"},
        {"Codes carrés", "Carrés.DOV"},
        {"Codes réseaux", "Réseaux.DOV"},
        {"Codes milieux", "Milieux_SHOC.DOV"},
        {"Codes comportementaux", "Comportements.dov"},
    };
    for (const auto& c : cas) {
        const data::StarterTable* depart = nullptr;
        for (const data::StarterTable& t : data::starterTables())
            if (t.fileName == QString::fromUtf8(c.fichier))
                depart = &t;
        ASSERT_TRUE(depart) << c.fichier;
        Grid attendu;
        ASSERT_TRUE(data::starterGrid(attendu, *depart).isEmpty());

        ParamEditor& e = charger(QString::fromUtf8(c.mode));
        EXPECT_EQ(e.state(), TableState::Loaded) << c.mode;
        ASSERT_TRUE(e.saveTable()) << c.mode;
        // Sorted by the editor; the same rows, in the same columns.
        QStringList relu = readAsRecordWindow(programme(QString::fromUtf8(c.fichier)), depart->format,
                                              depart->checkBoxColumns);
        QStringList rangees = dump(attendu);
        ASSERT_FALSE(relu.isEmpty()) << c.mode;
        EXPECT_EQ(relu.takeFirst(), rangees.takeFirst()) << c.mode;
        const auto vide = [](const QString& rangee) {
            return QString(rangee).remove(u'|').remove(u'-').isEmpty();
        };
        relu.removeIf(vide);
        rangees.removeIf(vide);
        relu.sort();
        rangees.sort();
        EXPECT_EQ(relu, rangees) << c.mode;
        EXPECT_FALSE(relu.isEmpty() && QString::fromUtf8(c.fichier) != QStringLiteral("Carrés.DOV"))
            << c.mode;
    }
}

} // namespace
