// The settings window's logic without its window: the identification grid, Save with a reload in
// the record window's formats, closing, RAZ, the data folder and the starter tables.

#include "tests/mainwindow/ParamTestFixture.h"

#include <QTemporaryDir>

using namespace param_test;

namespace {

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
    // Each table is kept in a folder of its own and linked from the program's folder (a folder
    // that the coordinators share, say): saved where it lies, the link kept.
    QTemporaryDir ailleurs;
    for (const auto& c : cas) {
        const QString chemin = programme(QString::fromUtf8(c.fichier));
        const QString fichier = ailleurs.filePath(QString::fromUtf8(c.fichier));
        writeTable(fichier, QString::fromUtf8(c.tsv), c.format, c.cases);
        ASSERT_TRUE(QFile::link(fichier, chemin));
        ParamEditor& e = charger(QString::fromUtf8(c.mode));
        ASSERT_TRUE(e.saveTable()) << c.mode;
        EXPECT_TRUE(QFileInfo(chemin).isSymLink()) << c.mode;
        EXPECT_EQ(readAsRecordWindow(fichier, c.format, c.cases), c.relu) << c.mode;
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
