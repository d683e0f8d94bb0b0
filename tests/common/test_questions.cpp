#include "common/Globals.h"
#include "common/Questions.h"
#include "tests/support/TestEnvironment.h"

#include <QMap>
#include <gtest/gtest.h>

namespace mb = platform::mb;

namespace {

QString u8(const char* s) { return QString::fromUtf8(s); }

const char* const body2700 =
    "NOUVEAU !!!\n\nAutorisez-vous Mirelot à se connecter sur Internet pour vérifier la présence "
    "d'éventuelles "
    "mises à jour ?\n\nNOTA : Si vous l'autorisez, cette opération aura lieu automatiquement au démarrage du "
    "logiciel et selon une fréquence que vous pourrez fixer dans vos options de travail.\nPar contre, vous "
    "pourrez à tout moment vérifier la présence de mises à jour via le menu '?' et modifier le comportement "
    "de Mirelot via la fenêtre gérant les options de travail.";

// The header of a number's range, as the prompt begins.
QString headerOf(int n)
{
    const QString number = QString::number(n);
    if (n >= 1 && n <= 999)
        return "Dialogue type : LOGIQUE    Réf. : #DL" + number + "\n \n";
    if (n >= 1000 && n <= 1999)
        return "Dialogue type : SAISIE    Réf. : #DL" + number + "\n \n";
    if (n >= 2000 && n <= 2999)
        return "Dialogue type : SECURITE    Réf. : #DL" + number + "\n \n";
    if (n >= 3000 && n <= 3999)
        return "Dialogue type : INFORMATION    Réf. : #DL" + number + "\n \n";
    if (n >= 4000 && n <= 4999)
        return "Dialogue type : ERREUR DE TRAITEMENT    Réf. : #DL" + number + "\n \n";
    return "ERREUR    Réf. : #DL" + number + "\n";
}

// The body of an entry: what follows the header and its line feed, without the final blank.
QString bodyOf(int n, const QString& complement = QString())
{
    const QString prompt = common::buildQuestionBox(qint16(n), complement).text;
    const QString head = headerOf(n) + "\n";
    EXPECT_TRUE(prompt.startsWith(head)) << n;
    EXPECT_TRUE(prompt.endsWith(" " + complement)) << n;
    return prompt.mid(head.size(), prompt.size() - head.size() - 1 - complement.size());
}

} // namespace

struct QuestionsTest : ::testing::Test
{
    testing_support::TestEnvironment env;
};

TEST_F(QuestionsTest, PromptsExactBytes)
{
    struct Row
    {
        const char* name;
        qint16 number;
        const char* complement;
        QString prompt;
        int style;
    };
    const Row rows[] = {
        {"2700, the question the program asks", 2700, "",
         "Dialogue type : SECURITE    Réf. : #DL2700\n \n\n" + u8(body2700) + " ", 36},
        {"no entry in the 1000s", 1500, "", "Dialogue type : SAISIE    Réf. : #DL1500\n \n\n ", 308},
        {"no entry, complement after a blank", 1500, "x", "Dialogue type : SAISIE    Réf. : #DL1500\n \n\n x",
         308},
        {"number 0", 0, "", "ERREUR    Réf. : #DL0\n\n ", 308},
        {"negative number", -1, "", "ERREUR    Réf. : #DL-1\n\n ", 308},
        {"5000", 5000, "", "ERREUR    Réf. : #DL5000\n\n ", 308},
        {"no entry in the 1s", 500, "", "Dialogue type : LOGIQUE    Réf. : #DL500\n \n\n ", 308},
        {"no entry in the 2000s", 2600, "", "Dialogue type : SECURITE    Réf. : #DL2600\n \n\n ", 292},
        {"no entry in the 3000s", 3500, "", "Dialogue type : INFORMATION    Réf. : #DL3500\n \n\n ", 308},
        {"no entry in the 4000s", 4500, "", "Dialogue type : ERREUR DE TRAITEMENT    Réf. : #DL4500\n \n\n ",
         308},
        {"complement not used by the entry", 2002, "Fiche 3",
         "Dialogue type : SECURITE    Réf. : #DL2002\n \n\nConfirmez la suppression de cet enregistrement. "
         "Fiche 3",
         292},
        {"complement spliced", 2001, "Espèces.DOV",
         "Dialogue type : SECURITE    Réf. : #DL2001\n \n\nConfirmez la suppression de :\nEspèces.DOV ", 292},
        {"program name and mode", 2500, "ADMINISTRATEUR",
         "Dialogue type : SECURITE    Réf. : #DL2500\n \n\nDEMANDE D'EXECUTION DE Mirelot EN MODE "
         "ADMINISTRATEUR\n\n"
         "Voulez-vous lancer Mirelot dans ce mode ? ",
         275},
        {"the complement alone", 4005, "Texte libre",
         "Dialogue type : ERREUR DE TRAITEMENT    Réf. : #DL4005\n \n\nTexte libre ", 49},
        {"empty entry keeps the complement", 2009, "abc",
         "Dialogue type : SECURITE    Réf. : #DL2009\n \n\n abc", 36},
        {"markers in a complement stay as typed", 3002, "{P}{C}",
         "Dialogue type : INFORMATION    Réf. : #DL3002\n \n\nImpossible d'accèder au fichier {P}{C}.\n"
         "Vérifiez le support puis cliquez sur Réessayer. ",
         53},
    };
    for (const Row& r : rows) {
        const common::PreparedBox box = common::buildQuestionBox(r.number, u8(r.complement));
        EXPECT_EQ(box.text, r.prompt) << r.name;
        EXPECT_EQ(box.style, r.style) << r.name;
        EXPECT_EQ(box.title, "Mirelot [Gestion des messages]") << r.name;
    }
}

TEST_F(QuestionsTest, AnswerIsTheButtonPressed)
{
    struct Row
    {
        qint16 number;
        int button;
    };
    const Row rows[] = {
        {2700, mb::Yes},    {2700, mb::No}, {2995, mb::Retry},
        {2995, mb::Cancel}, {3001, mb::OK}, {2011, mb::Cancel},
    };
    for (const Row& r : rows) {
        env.dialogs().clearAsked();
        env.dialogs().answer(r.button);
        EXPECT_EQ(fun_Dialogue(r.number), r.button) << r.number;
        ASSERT_EQ(env.dialogs().asked().size(), 1);
        EXPECT_EQ(env.dialogs().asked()[0].text, common::buildQuestionBox(r.number).text);
        EXPECT_EQ(env.dialogs().asked()[0].style, common::buildQuestionBox(r.number).style);
        EXPECT_EQ(env.dialogs().asked()[0].title, "Mirelot [Gestion des messages]");
    }
    // Stored into the main window's answer variable.
    for (int button : {mb::Yes, mb::No}) {
        gint_Réponse_Dialogue = 0;
        env.dialogs().answer(button);
        fun_Dialogue(2700, gint_Réponse_Dialogue, QString());
        EXPECT_EQ(gint_Réponse_Dialogue, button);
    }
    // The caller's complement is never changed, even by an entry that splices it.
    const QString complement = "Base";
    env.dialogs().answer(mb::No);
    fun_Dialogue(2003, complement);
    EXPECT_EQ(complement, "Base");
}

TEST(QuestionCatalogue, NumbersAndCount)
{
    QList<qint16> expected;
    const auto add = [&](int from, int to) {
        for (int n = from; n <= to; ++n)
            if (n != 2048 && n != 2070)
                expected << qint16(n);
    };
    add(0, 14);
    add(1000, 1026);
    add(2000, 2090);
    add(2500, 2500);
    add(2700, 2700);
    add(2995, 2996);
    add(3000, 3008);
    add(4000, 4006);
    EXPECT_EQ(common::questionNumbers(), expected);
    EXPECT_EQ(common::questionNumbers().size(), 151);
}

TEST(QuestionCatalogue, Styles)
{
    const QMap<int, QList<int>> styles = {
        {21, {2995}},
        {36,
         {1025, 1026, 2004, 2009, 2040, 2043, 2044, 2045, 2052, 2054, 2062, 2063, 2069, 2072, 2073, 2074,
          2075, 2076, 2700}},
        {49, {3001, 4005}},
        {51, {1001, 1003, 1023, 1024, 2013, 2030, 2032, 2046, 2050, 2055}},
        {52, {3,    5,    11,   12,   13,   14,   1002, 1004, 1005, 1007, 1009, 1010, 1011, 1012,
              1015, 1016, 1018, 1019, 1020, 1021, 2012, 2016, 2017, 2033, 2034, 2057, 2058, 2059,
              2077, 2082, 2083, 2084, 2085, 2086, 2087, 2088, 2089, 3006, 3007, 3008, 4000, 4006}},
        {53, {3002, 3003, 3004, 3005}},
        {275, {2500}},
        {276, {2047}},
        {292, {1013, 1014, 2064}},
        {307, {2011}},
        {308, {1008, 1017, 1022, 2010, 2014, 2015, 2056, 2060, 2065, 2066, 2078, 2079, 2080, 2090}},
    };
    for (qint16 n : common::questionNumbers()) {
        int expected = (n >= 2000 && n <= 2999) ? 292 : 308;
        for (auto it = styles.cbegin(); it != styles.cend(); ++it)
            if (it.value().contains(n))
                expected = it.key();
        EXPECT_EQ(common::buildQuestionBox(n).style, expected) << n;
    }
}

TEST_F(QuestionsTest, FirstLines)
{
    // Each entry's text begins with these bytes; a title (capitals) is followed by two line feeds.
    const QMap<int, const char*> first = {
        {0, ""},
        {1, "Confirmez l'annulation de cette opération d'ajout de fiche d'inventaire."},
        {2, "Les dates admises de nidification pour cette espèce ne sont pas les mêmes que celles qui sont "
            "affichées. Voulez-vous les changer ?"},
        {3, "Voulez-vous formater une base de donnée vierge du type"},
        {4, "Une session de Mirelot"},
        {5, "VALIDATION DE LA BASE LOCALITES."},
        {6, "RAFRAICHISSEMENT DES DONNEES BIOMETRIQUES."},
        {7, "CREATION DE L'ENVIRONNEMENT DE TRAVAIL."},
        {8, "PREMIER LANCEMENT DE MIRELOT"},
        {9, "PREMIER LANCEMENT DU FICHIER D'AIDE "},
        {10, "PARAMETRAGE D'UNE CARTOGRAPHIE"},
        {11, "La base de donnée"},
        {12, "SYNTHESE DESCRIPTEUR DE LOCALITE"},
        {13, "SAISIE D'UNE CITATION"},
        {14, "REQUETE SQL"},
        {1000, "Attention : souhaitez-vous réellement créer une nouvelle fiche localité de type :"},
        {1001, "CHOIX DU TYPE DE SYNTHESE"},
        {1002, "STATUT DE REPRODUCTION"},
        {1003, "CHOIX DU TYPE DE SYNTHESE"},
        {1004, "CHOIX DU TYPE D'IMPRESSION"},
        {1005, "CHOIX DU TYPE D'IMPRESSION"},
        {1006, "ERREUR LORS DU CHOIX D'UN DOSSIER"},
        {1007, "VALIDATION INTERROMPUE"},
        {1008, "DEMANDE DE CONFIRMATION"},
        {1009, "DEMANDE DE CONFIRMATION"},
        {1010, "DEMANDE DE CONFIRMATION"},
        {1011, "DEMANDE DE CONFIRMATION"},
        {1012, "INTERPRETATION DE FICHIERS IMPORTABLES"},
        {1013, "SAISIE DE DONNEES BIOMETRIQUES"},
        {1014, "SAISIE D'UN CONTROLE OU D'UNE REPRISE DE BAGUE"},
        {1015, "DEMANDE DE CONFIRMATION"},
        {1016, "DEMANDE DE CONFIRMATION"},
        {1017, "CHOIX DE SAUVEGARDE"},
        {1018, "DEMANDE DE CONFIRMATION"},
        {1019, "DEMANDE DE CONFIRMATION"},
        {1020, "DEMANDE DE CONFIRMATION"},
        {1021, "ENRICHISSEMENT DES FONDS DE CARTE"},
        {1022, "ENRICHISSEMENT DES FONDS DE CARTE"},
        {1023, "CREATION D'UNE FICHE OBSERVATEUR"},
        {1024, "COPIER/COLLER"},
        {1025, "AJOUT D'UN CONTROLE DE MARQUE COLOREE"},
        {1026, "CREATION D'UN RACCOURCI"},
        {2000, "Confirmez la suppression de l'utilisateur."},
        {2001, "Confirmez la suppression de :"},
        {2002, "Confirmez la suppression de cet enregistrement."},
        {2003, "Confirmez votre demande de formatage de la "},
        {2004, "Confirmez votre demande de compression de la "},
        {2005, "Confirmez votre demande de réparation de la "},
        {2006, "Confirmez votre demande de chargement de la "},
        {2007, "Confirmez votre demande de modification de la "},
        {2008, ""},
        {2009, ""},
        {2010, "MODIFICATION D'UN CODE ESPECE"},
        {2011, "Annulation de l'impression demandée."},
        {2012, "Exportation terminée correctement."},
        {2013, "Demande d'autorisation de remplacement d'une fiche inventaire lors d'une importation."},
        {2014, "Annulation du traitement demandé."},
        {2015, "Attention !"},
        {2016, "Attention !"},
        {2017, "Exportation terminée correctement."},
        {2018, "Attention : souhaitez-vous réellement changer le code de cette localité ?"},
        {2019, "MODIFICATION SUSPENDUE"},
        {2020, "MODIFICATION SUSPENDUE"},
        {2021, "MODIFICATION SUSPENDUE"},
        {2022, "MODIFICATION SUSPENDUE"},
        {2023, "MODIFICATION SUSPENDUE"},
        {2024, "MODIFICATION SUSPENDUE"},
        {2025, "MODIFICATION SUSPENDUE"},
        {2026, "MODIFICATION SUSPENDUE"},
        {2027, "MODIFICATION SUSPENDUE"},
        {2028, "Vous venez d'indiquer un nouveau nom physique pour la base de données "},
        {2029, "EFFACEMENT SUSPENDU"},
        {2030, "Demande d'autorisation de création d'une fiche localité lors d'une importation."},
        {2031, "DEMANDE DE VERIFICATION OPTIONNELLE"},
        {2032, "Demande d'autorisation de création d'une fiche observateur lors d'une importation."},
        {2033, ""},
        {2034, "CHARGEMENT DE LA BASE DE DONNEES LOCALITES"},
        {2035, "ATTENTION !"},
        {2036, "ATTENTION !"},
        {2037, "ATTENTION !"},
        {2038, "EXPORTATION DE DONNEES"},
        {2039, "CONTROLE DES COORDONNEES"},
        {2040, "IMPORTATION DE DONNEES"},
        {2041, "CHOIX D'UNE NOUVELLE BASE DE DONNEES"},
        {2042, "CONTROLE DE L'ALTITUDE"},
        {2043, "TABLE DES MAILLES"},
        {2044, "MONTEE DE NIVEAU D'UNE BASE DE DONNEES"},
        {2045,
         "Confirmez votre demande de rafraîchissement du nombre d'utilisation des codes comportementaux"},
        {2046, "IMPORTATION SUSPENDUE : ESPECE INCONNUE"},
        {2047, "DEMANDE DE CONFIRMATION"},
        {2049, "COPIE D'UN TEXTE MIS EN FORME"},
        {2050, "VERIFICATION DE L'ALTITUDE"},
        {2051, "IMPORTATION"},
        {2052, "SAISIE DANS UNE GRILLE"},
        {2053, "INTERPRETATION ET VALIDATION D'UNE IMPORTATION"},
        {2054, "INTERPRETATION ET VALIDATION D'UNE IMPORTATION"},
        {2055, "IMPORTATION DE DONNEES DE BAGUAGE"},
        {2056, "RAFRAICHISSEMENT DES DONNEES DE REPRISE"},
        {2057, "IMPRESSION DE FICHES REPRISES"},
        {2058, "SAISIE D'UNE CITATION"},
        {2059, "IMPORTATION"},
        {2060, "DEMANDE DE CONFIRMATION"},
        {2061, "IMPRESSION DE FICHES DE REPRISE"},
        {2062, "TRANSFERT DE LOCALITE"},
        {2063, "TRANSFERT DE LOCALITE AMBIGU !!!"},
        {2064, "DEMANDE DE VERIFICATION OPTIONNELLE"},
        {2065, "RAFRAICHISSEMENT DE LA NOTION DE 'BAGUE EN STOCK'"},
        {2066, "DEMANDE DE CONFIRMATION"},
        {2067, "ATTENTION !"},
        {2068, "Confirmez votre demande de réparation par copie de la "},
        {2069, "GESTION DES TABLES MULTI-LANGUES"},
        {2071, "Confirmez votre demande d'annulation de"},
        {2072, "APERCU AVANT IMPRESSION"},
        {2073, "APERCU AVANT IMPRESSION"},
        {2074, "APERCU AVANT IMPRESSION"},
        {2075, "GESTION DES CODES ORDINATEURS"},
        {2076, "APERCU AVANT IMPRESSION"},
        {2077, "EXPORTATION DE DONNEES DE BAGUAGE"},
        {2078, "MISE A JOUR IMPOSSIBLE EN MODE TRANSACTIONNEL"},
        {2079, "EXPORTATION ABANDONNEE."},
        {2080, "MODIFICATION SUSPENDUE"},
        {2081, "VERIFICATION DES BASES DE DONNEES"},
        {2082, "IMPORTATION SUSPENDUE : ESPECE INCONNUE"},
        {2083, "CHANGEMENT DE VERSION DE MIRELOT"},
        {2084, "MISE AU NORMES MIRELOT DES NOMS DES BASES DE DONNEES"},
        {2085, "TENTATIVE D'ECRASEMENT D'UN FICHIER EN LECTURE SEULE"},
        {2086, "PARAMETRAGE IMPORTATION"},
        {2087, "RECHERCHE GENERIQUE"},
        {2088, "SUPPRESSION D'UN DESCRIPTEUR DE BASE DE DONNEES"},
        {2089, "CREATION D'UN CD-ROM D'INSTALLATION"},
        {2090, "MODIFICATION D'UN CODE ESPECE"},
        {2500, "DEMANDE D'EXECUTION DE Mirelot EN MODE "},
        {2700, "NOUVEAU !!!"},
        {2995, "CONFLIT D'ACCES LORS D'UNE MISE A JOUR DE BASE DE DONNEE"},
        {2996, "SORTIE DU LOGICIEL REFUSEE"},
        {3000,
         "Le résultat de votre requête excède le nombre maximum de lignes admissibles dans la grille de "
         "synthèse."},
        {3001, "Il reste moins de 4096 octets de libres sur la disquette d'exportation."},
        {3002, "Impossible d'accèder au fichier "},
        {3003, "Le fichier d'importation n'est pas un fichier compatible avec le logiciel "},
        {3004, "Le fichier d'importation a été créé avec un logiciel "},
        {3005, "Erreur de séquence dans vos disquettes d'importation. Cette disquette est la numéro "},
        {3006, "CHOIX D'IMPRESSION D'UNE GRILLE DE DONNEES."},
        {3007, "IMPRESSION D'UN GRAPHIQUE"},
        {3008, "Voulez-vous visualiser le fichier journal de cette session  ?"},
        {4000, "PREMIER DEMARRAGE"},
        {4001, "Le dossier "},
        {4002, "ARRET PREVENTIF !"},
        {4003, "IMPOSSIBILITE DE LIRE UNE BASE DE DONNEES !"},
        {4004, "ACCES EXCLUSIF A UNE BASE DE DONNEES REQUIS !"},
        {4005, ""},
        {4006, "ERREUR DE SYNCHRONISATION"},
    };
    EXPECT_EQ(first.size(), 151);
    for (qint16 n : common::questionNumbers()) {
        ASSERT_TRUE(first.contains(n)) << n;
        const QString line = u8(first.value(n));
        const QString body = bodyOf(n);
        EXPECT_TRUE(body.startsWith(line)) << n << ": " << body.toStdString();
        EXPECT_FALSE(body.contains('\r')) << n;
        const bool title = !line.isEmpty() && line == line.toUpper() && !line.contains("Mirelot");
        if (title) {
            EXPECT_EQ(body.mid(line.size(), 2), "\n\n") << n;
            EXPECT_NE(body.mid(line.size() + 2, 1), "\n") << n;
        }
        // A title is followed by a question; only 0, 2009 and 4005 are empty.
        if (n == 0 || n == 2009 || n == 4005) {
            EXPECT_TRUE(body.isEmpty()) << n;
        } else {
            EXPECT_FALSE(body.isEmpty()) << n;
            if (title) {
                EXPECT_GT(body.size(), line.size() + 2) << n;
            }
        }
    }
    // The two entries without a first line of their own.
    EXPECT_TRUE(bodyOf(2008).contains("quitter"));
    EXPECT_TRUE(bodyOf(2033).contains("statistiques"));
}

TEST_F(QuestionsTest, SplicedComplementAppearsOnce)
{
    // An entry either splices the complement into its question or leaves it to end the prompt:
    // either way it shows exactly once, and the prompt always ends with a blank and the rest.
    const QString marker = "«complément»";
    for (qint16 n : common::questionNumbers()) {
        const QString prompt = common::buildQuestionBox(n, marker).text;
        EXPECT_EQ(prompt.count(marker), 1) << n;
        EXPECT_TRUE(prompt.startsWith(headerOf(n) + "\n")) << n;
        if (!prompt.endsWith(" " + marker)) {
            EXPECT_TRUE(prompt.endsWith(' ')) << n;
        }
    }
}
