#include "common/Messages.h"
#include "common/Settings.h"
#include "tests/support/TestEnvironment.h"

#include <QSet>
#include <gtest/gtest.h>

namespace mb = platform::mb;

namespace {

QString u8(const char* s) { return QString::fromUtf8(s); }

const char* const text4008 =
    "Vous ne disposez pas assez de mémoire pour effectuer une copie presse-papiers en une seule fois.\n\n"
    "SOLUTION : Tronçonnez votre copie en limitant de nombres de colonnes sélectionnées en même temps ou "
    "créez un fichier .CSV ou .TXT.";

// Every number that has an entry, builder by builder.
QList<qint16> allNumbers()
{
    QList<qint16> all;
    for (auto b :
         {common::MessageBuilder::Logic, common::MessageBuilder::Input, common::MessageBuilder::Security,
          common::MessageBuilder::Information, common::MessageBuilder::ProcessingError})
        all << common::messageNumbers(b);
    return all;
}

QString build(qint16 number, QString& complement, const QString& description = QString())
{
    if (number < 1000)
        return fun_Msg_Logique(number, 0, description, complement);
    if (number < 2000)
        return fun_Msg_Saisie(number, 0, description, complement);
    if (number < 3000)
        return fun_Msg_Securite(number, 0, description, complement);
    if (number < 4000)
        return fun_Msg_Information(number, 0, description, complement);
    return fun_Msg_Erreur_Traitement(number, 0, description, complement);
}

} // namespace

struct MessagesTest : ::testing::Test
{
    testing_support::TestEnvironment env;
};

// The whole prompt, byte for byte: headers, error blocks, line feeds and complements.
TEST_F(MessagesTest, PromptsExactBytes)
{
    struct Row
    {
        const char* name;
        qint16 number;
        qint32 error;
        const char* description;
        const char* complement;
        const char* prompt;
        int style;
    };
    const Row rows[] = {
        {"1050 plain", 1050, 0, "", "",
         "Message type : SAISIE    Réf. : #MB1050\n\n\nChamp heure invalide : 00 à 23.", 48},
        {"1051 plain", 1051, 0, "", "",
         "Message type : SAISIE    Réf. : #MB1051\n\n\nChamp minute invalide : 00 à 59.", 48},
        {"1109 plain", 1109, 0, "", "",
         "Message type : SAISIE    Réf. : #MB1109\n\n\nLe format de l'heure est invalide (ex : HH:MM).", 48},
        {"4008 with error block", 4008, 7, "Mémoire insuffisante", "",
         "Message type : ERREUR DE TRAITEMENT    Réf. : #MB4008\n\nErreur #7\nMémoire insuffisante\n\n\n",
         16},
        {"4008 described without an error number", 4008, 0, "Le presse-papiers n'a pas accepté le texte.", "",
         "Message type : ERREUR DE TRAITEMENT    Réf. : #MB4008\n\nLe presse-papiers n'a pas accepté le "
         "texte.\n\n\n",
         16},
        {"error without description", 1050, 53, "", "",
         "Message type : SAISIE    Réf. : #MB1050\n\nErreur #53 \n\n\nChamp heure invalide : 00 à 23.", 48},
        {"negative error number", 1051, -2147467259, "Échec", "",
         "Message type : SAISIE    Réf. : #MB1051\n\nErreur #-2147467259\nÉchec\n\n\nChamp minute invalide : "
         "00 à 59.",
         48},
        {"1131 shows the complement alone", 1131, 0, "", "jean.dupont@",
         "Message type : SAISIE    Réf. : #MB1131\n\n\njean.dupont@", 48},
        {"blank complement not appended", 1050, 0, "", "   ",
         "Message type : SAISIE    Réf. : #MB1050\n\n\nChamp heure invalide : 00 à 23.", 48},
        {"complement appended with its blanks", 1050, 0, "", "  x  ",
         "Message type : SAISIE    Réf. : #MB1050\n\n\nChamp heure invalide : 00 à 23.  x  ", 48},
        {"only blanks are trimmed", 1131, 0, "", "\t", "Message type : SAISIE    Réf. : #MB1131\n\n\n\t", 48},
        {"4006 splices the trimmed complement once", 4006, 0, "", "  C:\\f.txt  ",
         "Message type : ERREUR DE TRAITEMENT    Réf. : #MB4006\n\n\nUne erreur grave s'est produite lors de "
         "l'accès au fichier C:\\f.txt.\nVérifiez que ce fichier existe et qu'aucun autre logiciel ne "
         "l'utilise.",
         16},
        {"22 splices the field name", 22, 0, "", "Commune",
         "Message type : LOGIQUE    Réf. : #MB22\n\n\nLe champ Commune doit être renseigné.", 48},
        {"number 0", 0, 0, "", "abc", "ERREUR    Réf. : #MB0\n\n\nabc", 32},
        {"negative number", -5, 0, "", "abc", "ERREUR    Réf. : #MB-5\n\n\nabc", 32},
        {"lowest number", -32768, 0, "", "", "ERREUR    Réf. : #MB-32768\n\n\n", 32},
        {"5000", 5000, 0, "", "", "ERREUR    Réf. : #MB5000\n\n\nMessage non défini.\n\n", 32},
        {"5000 still appends", 32767, 0, "", "x", "ERREUR    Réf. : #MB32767\n\n\nMessage non défini.\n\nx",
         32},
        {"999 has no entry", 999, 0, "", "", "Message type : LOGIQUE    Réf. : #MB999\n\n\n", 48},
        {"1 keeps its blank and line feed", 1, 0, "", "fichier.txt",
         "Message type : LOGIQUE    Réf. : #MB1\n\n\nSUPPRESSION REFUSEE. \nfichier.txt", 48},
        {"29 drops the complement", 29, 0, "", "x", "Message type : LOGIQUE    Réf. : #MB29\n\n\n", 48},
        {"2998 title then complement", 2998, 0, "", "Base Espèces",
         "Message type : SECURITE    Réf. : #MB2998\n\n\nCONFLIT D'ACCES SUR UNE BASE DE DONNEES\n\nBase "
         "Espèces",
         16},
        {"3008 is the complement", 3008, 0, "", "Bonjour",
         "Message type : INFORMATION    Réf. : #MB3008\n\n\nBonjour", 64},
        {"4023 splices complement and description", 4023, 3022, "Clé en double", "Fiche 12",
         "Message type : ERREUR DE TRAITEMENT    Réf. : #MB4023\n\nErreur #3022\nClé en double\n\n\n"
         "ERREUR IMPREVUE LORS DE MISE A JOUR D'UN ENREGISTREMENT.\n\n"
         "L'enregistrement n'a pas pu être mis à jour : Fiche 12\nClé en double",
         16},
        {"markers in a complement stay as typed", 4023, 0, "{C}", "{E}{PM}",
         "Message type : ERREUR DE TRAITEMENT    Réf. : #MB4023\n\n{C}\n\n\n"
         "ERREUR IMPREVUE LORS DE MISE A JOUR D'UN ENREGISTREMENT.\n\n"
         "L'enregistrement n'a pas pu être mis à jour : {E}{PM}\n{C}",
         16},
        {"4025", 4025, 0, "", "Détail",
         "Message type : ERREUR DE TRAITEMENT    Réf. : #MB4025\n\n\n\n\nDétail", 16},
        {"1000 boundary", 1000, 0, "", "",
         "Message type : SAISIE    Réf. : #MB1000\n\n\nLa sélection est trop importante pour l'option de "
         "mise à "
         "jour.\nSélectionnez une seule ligne.",
         48},
        {"1999 no entry", 1999, 0, "", "", "Message type : SAISIE    Réf. : #MB1999\n\n\n", 48},
        {"2999 no entry", 2999, 0, "", "", "Message type : SECURITE    Réf. : #MB2999\n\n\n", 16},
        {"3999 no entry", 3999, 0, "", "", "Message type : INFORMATION    Réf. : #MB3999\n\n\n", 64},
        {"4999 no entry", 4999, 0, "", "", "Message type : ERREUR DE TRAITEMENT    Réf. : #MB4999\n\n\n", 16},
    };
    for (const Row& r : rows) {
        const common::PreparedBox box =
            common::buildMessageBox(r.number, r.error, u8(r.description), u8(r.complement));
        QString expected = u8(r.prompt);
        if (r.number == 4008)
            expected += u8(text4008);
        EXPECT_EQ(box.text, expected) << r.name;
        EXPECT_EQ(box.style, r.style) << r.name;
        EXPECT_EQ(box.title, " [Gestion des messages]") << r.name;
    }
}

TEST_F(MessagesTest, ShownOnceWithOkOnlyAndCallerComplementUntouched)
{
    const QString complement = "  adresse@  ";
    env.dialogs().answer(mb::OK);
    sub_Message(1131, 0, "", complement);
    EXPECT_EQ(complement, "  adresse@  ");
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    const auto& asked = env.dialogs().asked()[0];
    EXPECT_EQ(asked.text, "Message type : SAISIE    Réf. : #MB1131\n\n\n  adresse@  ");
    EXPECT_EQ(asked.style, mb::Exclamation);
    EXPECT_EQ(mb::buttons(asked.style), mb::OKOnly);
    EXPECT_EQ(asked.title, " [Gestion des messages]");

    env.dialogs().answer(mb::OK);
    sub_Message(4008, 5, "Presse-papiers occupé", "");
    ASSERT_EQ(env.dialogs().asked().size(), 2);
    EXPECT_EQ(
        env.dialogs().asked()[1].text,
        "Message type : ERREUR DE TRAITEMENT    Réf. : #MB4008\n\nErreur #5\nPresse-papiers occupé\n\n\n" +
            u8(text4008));
    EXPECT_EQ(env.dialogs().asked()[1].style, mb::Critical);
}

TEST(MessageCatalogue, CountsPerBuilder)
{
    const auto range = [](int from, int to, QList<int> without = {}, QList<int> plus = {}) {
        QList<qint16> out;
        for (int n = from; n <= to; ++n)
            if (!without.contains(n))
                out << qint16(n);
        for (int n : plus)
            out << qint16(n);
        return out;
    };
    struct Row
    {
        common::MessageBuilder builder;
        qsizetype count;
        QList<qint16> numbers;
    };
    const Row rows[] = {
        {common::MessageBuilder::Logic, 38, range(0, 38, {31})},
        {common::MessageBuilder::Input, 104, range(1000, 1109, {1032, 1100, 1101, 1103, 1104, 1105})},
        {common::MessageBuilder::Security, 26, range(2000, 2023, {}, {2501, 2998})},
        {common::MessageBuilder::Information, 65, range(3000, 3066, {3018, 3060})},
        {common::MessageBuilder::ProcessingError, 38, range(4000, 4037, {4029}, {4500})},
    };
    qsizetype total = 0;
    for (const Row& r : rows) {
        const QList<qint16> got = common::messageNumbers(r.builder);
        EXPECT_EQ(got.size(), r.count) << int(r.builder);
        EXPECT_EQ(got, r.numbers) << int(r.builder);
        total += got.size();
    }
    EXPECT_EQ(total, 271);
    const QList<qint16> all = allNumbers();
    EXPECT_EQ(QSet<qint16>(all.begin(), all.end()).size(), 271) << "a number listed twice";
}

TEST_F(MessagesTest, TitlesAndTheirLineFeeds)
{
    // Entries with a title line: the title, then two line feeds (one in the six short ones).
    struct Row
    {
        QList<int> numbers;
        const char* title;
    };
    const Row rows[] = {
        {{30}, "AJOUT D'UNE BAGUE"},
        {{32, 34}, "CARTOGRAPHIE"},
        {{33}, "AJOUT DE FICHES INVENTAIRES"},
        {{36}, "BASE LOCALITES : GESTION DES RACCOURIS"},
        {{37}, "PARAMETRE INVALIDE"},
        {{1058, 1059, 1060}, "DEFINITION D'UN CARROYAGE STANDARD"},
        {{1063}, "CHOIX D'UN FICHIER PHYSIQUE"},
        {{1065}, "VERIFICATION DES FICHIERS PHYSIQUES"},
        {{1068}, "AJOUT D'INVENTAIRE REFUSE"},
        {{1071}, "MISE EN GARDE"},
        {{1073, 1075, 1078, 1079, 1080, 1085, 1086, 1087}, "SAISIE D'UNE DONNEE DE BAGUAGE"},
        {{1074, 1076, 1092}, "SAISIE D'UNE DONNEE DE BAGUAGE, D'UN CONTROLE OU D'UNE REPRISE DE BAGUE"},
        {{1077}, "SAISIE D'UNE FICHE OBSERVATEUR"},
        {{1081}, "SAISIE D'UN SCENARIO"},
        {{1082}, "ENREGISTREMENT D'UNE REQUÊTE ACCESS"},
        {{1084, 1091}, "ESPECES COMMUNES ABSENTES"},
        {{1088, 1089}, "MODIFICATION GLOBALE DE NUMEROS DE BAGUES"},
        {{1093}, "ERREUR LORS DE L'AJOUT D'UNE DONNEE DE BAGUAGE, D'UN CONTROLE OU D'UNE REPRISE DE BAGUE"},
        {{1094}, "ERREUR DE SAISIE"},
        {{1095, 1096, 1097, 1099}, "ENRICHISSEMENT DES FONDS DE CARTE"},
        {{1102}, "SAISIE D'UNE CITATION"},
        {{1106}, "AJOUT D'UNE MARQUE COLOREE"},
        {{1107}, "BASE ESPECE"},
        {{1108}, "CREATION D'UN RACCOURCI LOCALITE"},
        {{2000, 2001, 2002}, "SECURITE"},
        {{2003}, "CARTOGRAPHIE DES DONNEES NATURALISTES"},
        {{2004}, "SAUVEGARDE ANNULEE"},
        {{2005, 2008, 2017, 2018}, "MODIFICATION REFUSEE"},
        {{2006}, "EFFACEMENT REFUSE"},
        {{2007}, "CHOIX D'ESPECE INVALIDE"},
        {{2009}, "DISQUETTE REFUSEE"},
        {{2010, 2011}, "ATTENTION !"},
        {{2012, 2014}, "CONFLIT D'ACCES LORS D'UNE MISE A JOUR DE BASE DE DONNEES"},
        {{2013}, "ERREUR DE VALIDATION DU CODE CARROYAGE"},
        {{2015}, "CONFLIT D'ACCES !"},
        {{2016}, "SAISIE DANS UNE GRILLE"},
        {{2019, 2022}, "SUPPRESSION REFUSEE"},
        {{2020}, "COMPACTAGE IMPOSSIBLE CAR CONFLIT D'ACCES !"},
        {{2021}, "UTILISATION DES REQUETES SQL DE MISE A JOUR"},
        {{2023}, "MODIFICATION DES DESCRIPTEURS DE LOCALITES"},
        {{2998}, "CONFLIT D'ACCES SUR UNE BASE DE DONNEES"},
        {{3025, 3026}, "DEFINITION D'UN CARROYAGE STANDARD"},
        {{3032}, "SYNTHESE DES ESPECES PRESENTES DANS UNE MAILLE"},
        {{3033}, "VERIFICATION ET REPARATION LOGIQUE DES BASES DE DONNEES"},
        {{3039}, "AIDE SUR LE MENU CONTEXTUEL CARTOGRAPHIQUE."},
        {{3041}, "AIDE SUR LE MENU CONTEXTUEL LOCALITES."},
        {{3042}, "EXPORTATION FILTREE."},
        {{3043}, "MISE EN GARDE"},
        {{3044, 3052}, "SAISIE D'UN CONTROLE OU D'UNE REPRISE"},
        {{3045}, "BILAN DE L'IMPORTATION"},
        {{3046}, "RAFRAICHISSEMENT DES DONNEES BIOMETRIQUES"},
        {{3047}, "RAFRAICHISSEMENT DES DONNEES DE REPRISE"},
        {{3049}, "SYNTHESE DES ESPECES ABSENTES DANS UNE MAILLE"},
        {{3050}, "AJOUT DE FICHES INVENTAIRES"},
        {{3051}, "RAFRAICHISSEMENT DES CODES COMPORTEMENTAUX"},
        {{3053, 3054}, "A QUI APPARTIENT CETTE BAGUE ?"},
        {{3055}, "BASE ESPECES"},
        {{3056, 4028}, "PREMIER LANCEMENT DE MIRELOT"},
        {{3057}, "RECREATION A l'IDENTIQUE D'UNE BASE DE DONNEES"},
        {{3058}, "CARTOGRAPHIE"},
        {{3059}, "ENRICHISSEMENT DES FONDS DE CARTE"},
        {{3062}, "COMPACTAGE D'UNE BASE DE DONNEES"},
        {{3063}, "ENVOI D'UN MESSAGE SUR INTERNET"},
        {{4009, 4022}, "MONTEE DE NIVEAU IMPOSSIBLE."},
        {{4011, 4012, 4015}, "DEPASSEMENT DE CAPACITE !"},
        {{4013, 4014}, "MAUVAISE LOCALISATION !"},
        {{4016}, "COPIER"},
        {{4017, 4020}, "CHOIX D'UN JEU DE FICHIERS"},
        {{4018}, "ERREUR LORS D'UNE REQUETE SQL"},
        {{4019}, "PROBLEME DE JOINTURE ENTRE DES TABLES DE BASES DE DONNEES"},
        {{4021}, "IMPOSSIBILITE DE RENOMMER UNE BASE DE DONNEES !"},
        {{4023}, "ERREUR IMPREVUE LORS DE MISE A JOUR D'UN ENREGISTREMENT."},
        {{4024}, "ERREUR DE CHARGEMENT D'UN FICHIER GéoFLA."},
        {{4026, 4027}, "CHARGEMENT D'UN OBJET CARTOGRAPHIQUE."},
        {{4030}, "CREATION D'UN FICHIER EXCEL"},
        {{4031}, "APERCU AVANT IMPRESSION"},
        {{4033, 4034}, "ERREUR DE LECTURE/ECRITURE"},
        {{4035}, "GESTION DES GLOSSAIRES"},
        {{4036}, "ENVOI D'UN MESSAGE SUR INTERNET"},
        {{4037}, "CHOIX DU DOSSIER D'INSTALLATION"},
        {{4500}, "ERREUR D'ACCES A UNE BASE DE DONNEES"},
    };
    const QList<int> oneLineFeed = {2004, 2005, 2006, 4011, 4012, 4015};
    for (const Row& r : rows) {
        for (int n : r.numbers) {
            QString complement;
            const QString text = build(qint16(n), complement);
            const QString title = u8(r.title);
            const QString separator = oneLineFeed.contains(n) ? "\n" : "\n\n";
            EXPECT_TRUE(text.startsWith(title + separator)) << n << ": " << text.toStdString();
            // Exactly that many line feeds, then the body (2998's body is the complement).
            if (n != 2998) {
                EXPECT_NE(text.mid(title.size() + separator.size(), 1), "\n") << n;
            }
        }
    }
    // Titles that continue on their line with a name.
    QString none;
    EXPECT_TRUE(build(2501, none).startsWith("ERREUR D'INSTALLATION DE MIRELOT\n\n"));
    QString program = "tableur";
    EXPECT_TRUE(build(4010, program).startsWith("IMPOSSIBILITE DE LANCER tableur\n\n"));
}

TEST_F(MessagesTest, EveryEntryUsesLeavesOrDropsTheComplement)
{
    // With a complement that cannot occur in any text: an entry that shows it has emptied it
    // (spliced), one that does not show it has left it for the manager, except 29 which drops
    // it and 4006 which splices it and keeps it.
    const QString marker = "«complément»";
    for (qint16 n : allNumbers()) {
        QString complement = marker;
        const QString text = build(n, complement);
        const bool shown = text.contains(marker);
        if (n == 29) {
            EXPECT_FALSE(shown);
            EXPECT_TRUE(complement.isEmpty());
        } else if (n == 4006) {
            EXPECT_TRUE(shown);
            EXPECT_EQ(complement, marker);
        } else {
            EXPECT_EQ(complement.isEmpty(), shown) << n;
        }
        EXPECT_EQ(text.count(marker), shown ? 1 : 0) << n;
        // Through the manager the complement appears exactly once, or never for 29.
        const common::PreparedBox box = common::buildMessageBox(n, 0, "", marker);
        EXPECT_EQ(box.text.count(marker), n == 29 ? 0 : 1) << n;
    }
}

TEST_F(MessagesTest, CatalogueTextsUseLineFeedsOnly)
{
    for (qint16 n : allNumbers()) {
        QString complement;
        const QString text = build(n, complement, "");
        EXPECT_FALSE(text.contains('\r')) << n;
        EXPECT_FALSE(text.contains('{')) << n << " keeps a marker";
    }
}

TEST_F(MessagesTest, OnlyErrorTreatmentReadsTheDescription)
{
    QString complement;
    EXPECT_EQ(fun_Msg_Erreur_Traitement(4023, 0, "Disque plein", complement).right(13), "\nDisque plein");
    // Other builders never show it, whatever the entry.
    for (qint16 n : allNumbers()) {
        if (n >= 4000)
            continue;
        QString c;
        EXPECT_FALSE(build(n, c, "«description»").contains("«description»")) << n;
    }
    // Numbers outside a builder's range have no entry there.
    QString c = "x";
    EXPECT_EQ(fun_Msg_Saisie(22, 0, "", c), "");
    EXPECT_EQ(fun_Msg_Logique(1050, 0, "", c), "");
    EXPECT_EQ(c, "x");
}

TEST_F(MessagesTest, EntriesReadTheSystemWhenBuilt)
{
    EXPECT_TRUE(sub_Reg_Write_HKLM("Options Générales", "Nbr_de_démarrages", "42"));
    EXPECT_TRUE(sub_Reg_Write_HKLM("Options Générales", "Temps_d_utilisation", "17 h"));
    QString c;
    const QString summary = fun_Msg_Information(3016, 0, "", c);
    EXPECT_TRUE(summary.contains("Nombre d'utilisations : 42\n")) << summary.toStdString();
    EXPECT_TRUE(summary.contains("Temps d'utilisation : 17 h")) << summary.toStdString();
    EXPECT_TRUE(summary.contains("Mirelot"));
    EXPECT_TRUE(sub_Reg_Write_HKLM("Options Générales", "Nbr_de_démarrages", "43"));
    EXPECT_TRUE(fun_Msg_Information(3016, 0, "", c).contains("Nombre d'utilisations : 43\n"));
    EXPECT_TRUE(fun_Msg_Information(3000, 0, "", c).endsWith("Bienvenue dans Mirelot."));
}
