// The settings window's logic without its window: the modes and their captions, loading each
// table, the rights and buttons, the fix-ups and the editing rules.

#include "tests/mainwindow/ParamTestFixture.h"

using namespace param_test;

namespace {

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

} // namespace
