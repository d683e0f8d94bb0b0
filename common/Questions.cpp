#include "common/Questions.h"

#include "common/Globals.h"
#include "common/Messages.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <algorithm>

namespace {

const QChar kLineFeed(u'\n');

// A catalogue entry: the question (UTF-8) and its style, 0 for the default of its range.
// Markers replaced when the box is built: {C} the complement (spliced, then emptied), {P} the
// program's name, {PM} the same in capitals.
struct Entry
{
    qint16 number;
    int style;
    const char* text;
};

// Styles used by the catalogue (buttons + icon + 256 for the second button by default).
constexpr int kRetryCancelStop = 21;
constexpr int kYesNoQuestion = 36;
constexpr int kOkCancelWarning = 49;
constexpr int kYesNoCancelWarning = 51;
constexpr int kYesNoWarning = 52;
constexpr int kRetryCancelWarning = 53;
constexpr int kYesNoCancelStopNo = 275;
constexpr int kYesNoStopNo = 276;
constexpr int kYesNoQuestionNo = 292;
constexpr int kYesNoCancelWarningNo = 307;
constexpr int kYesNoWarningNo = 308;

const Entry catalogue[] = {
    {0, 0, ""},
    {1, 0, "Confirmez l'annulation de cette opération d'ajout de fiche d'inventaire."},
    {2, 0,
     "Les dates admises de nidification pour cette espèce ne sont pas les mêmes que celles qui sont "
     "affichées. Voulez-vous les changer ?"},
    {3, kYesNoWarning, "Voulez-vous formater une base de donnée vierge du type {C} ?"},
    {4, 0, "Une session de {P} est déjà ouverte sur cet ordinateur.\nVoulez-vous en ouvrir une autre ?"},
    {5, kYesNoWarning,
     "VALIDATION DE LA BASE LOCALITES.\n\nVoulez-vous valider les modifications de la base "
     "localités ?"},
    {6, 0, "RAFRAICHISSEMENT DES DONNEES BIOMETRIQUES.\n\nVoulez-vous rafraîchir les données biométriques ?"},
    {7, 0, "CREATION DE L'ENVIRONNEMENT DE TRAVAIL.\n\nVoulez-vous créer l'environnement de travail ?"},
    {8, 0, "PREMIER LANCEMENT DE {PM}\n\nVoulez-vous créer les dossiers de travail du logiciel ?"},
    {9, 0, "PREMIER LANCEMENT DU FICHIER D'AIDE \n\nVoulez-vous consulter l'aide du logiciel ?"},
    {10, 0, "PARAMETRAGE D'UNE CARTOGRAPHIE\n\nVoulez-vous enregistrer ce paramétrage ?"},
    {11, kYesNoWarning, "La base de donnée {C} n'existe pas.\nVoulez-vous la créer ?"},
    {12, kYesNoWarning,
     "SYNTHESE DESCRIPTEUR DE LOCALITE\n\nVoulez-vous inclure les localités sans descripteur ?"},
    {13, kYesNoWarning, "SAISIE D'UNE CITATION\n\nVoulez-vous enregistrer cette citation ?"},
    {14, kYesNoWarning, "REQUETE SQL\n\nVoulez-vous exécuter cette requête ?"},

    {1000, 0, "Attention : souhaitez-vous réellement créer une nouvelle fiche localité de type :\n{C}"},
    {1001, kYesNoCancelWarning,
     "CHOIX DU TYPE DE SYNTHESE\n\nOui : synthèse par espèce.\nNon : synthèse par "
     "localité."},
    {1002, kYesNoWarning,
     "STATUT DE REPRODUCTION\n\nVoulez-vous appliquer ce statut à toutes les observations "
     "de l'espèce ?"},
    {1003, kYesNoCancelWarning,
     "CHOIX DU TYPE DE SYNTHESE\n\nOui : synthèse annuelle.\nNon : synthèse mensuelle."},
    {1004, kYesNoWarning, "CHOIX DU TYPE D'IMPRESSION\n\nVoulez-vous imprimer la fiche complète ?"},
    {1005, kYesNoWarning,
     "CHOIX DU TYPE D'IMPRESSION\n\nVoulez-vous imprimer la liste en orientation paysage ?"},
    {1006, 0,
     "ERREUR LORS DU CHOIX D'UN DOSSIER\n\nCe dossier est inaccessible. Voulez-vous en choisir un "
     "autre ?"},
    {1007, kYesNoWarning, "VALIDATION INTERROMPUE\n\nVoulez-vous corriger la saisie avant de poursuivre ?"},
    {1008, kYesNoWarningNo, "DEMANDE DE CONFIRMATION\n\nVoulez-vous vraiment supprimer cette observation ?"},
    {1009, kYesNoWarning, "DEMANDE DE CONFIRMATION\n\nVoulez-vous vraiment supprimer ce profil ?"},
    {1010, kYesNoWarning,
     "DEMANDE DE CONFIRMATION\n\nVoulez-vous vraiment supprimer cette fiche inventaire ?"},
    {1011, kYesNoWarning, "DEMANDE DE CONFIRMATION\n\nVoulez-vous remplacer les valeurs existantes ?"},
    {1012, kYesNoWarning,
     "INTERPRETATION DE FICHIERS IMPORTABLES\n\nVoulez-vous interpréter les fichiers "
     "trouvés ?"},
    {1013, kYesNoQuestionNo,
     "SAISIE DE DONNEES BIOMETRIQUES\n\nCette mesure sort des limites habituelles pour "
     "l'espèce. Voulez-vous la conserver ?"},
    {1014, kYesNoQuestionNo,
     "SAISIE D'UN CONTROLE OU D'UNE REPRISE DE BAGUE\n\nCette bague est inconnue. "
     "Voulez-vous enregistrer ce contrôle ?"},
    {1015, kYesNoWarning, "DEMANDE DE CONFIRMATION\n\nVoulez-vous vraiment supprimer cette localité ?"},
    {1016, kYesNoWarning, "DEMANDE DE CONFIRMATION\n\nVoulez-vous vraiment supprimer cet observateur ?"},
    {1017, kYesNoWarningNo,
     "CHOIX DE SAUVEGARDE\n\nVoulez-vous enregistrer vos modifications avant de "
     "quitter ?"},
    {1018, kYesNoWarning, "DEMANDE DE CONFIRMATION\n\nVoulez-vous vraiment supprimer ce critère ?"},
    {1019, kYesNoWarning, "DEMANDE DE CONFIRMATION\n\nVoulez-vous vraiment annuler la saisie en cours ?"},
    {1020, kYesNoWarning, "DEMANDE DE CONFIRMATION\n\nVoulez-vous vraiment vider la grille ?"},
    {1021, kYesNoWarning, "ENRICHISSEMENT DES FONDS DE CARTE\n\nVoulez-vous ajouter ce fond de carte ?"},
    {1022, kYesNoWarningNo,
     "ENRICHISSEMENT DES FONDS DE CARTE\n\nVoulez-vous remplacer le fond de carte "
     "existant ?"},
    {1023, kYesNoCancelWarning,
     "CREATION D'UNE FICHE OBSERVATEUR\n\nCet observateur est inconnu. Voulez-vous "
     "créer sa fiche ?"},
    {1024, kYesNoCancelWarning,
     "COPIER/COLLER\n\nVoulez-vous copier les en-têtes de colonnes avec les "
     "données ?"},
    {1025, kYesNoQuestion,
     "AJOUT D'UN CONTROLE DE MARQUE COLOREE\n\nVoulez-vous ajouter ce contrôle de marque "
     "colorée ?"},
    {1026, kYesNoQuestion, "CREATION D'UN RACCOURCI\n\nVoulez-vous créer un raccourci pour cette localité ?"},

    {2000, 0, "Confirmez la suppression de l'utilisateur."},
    {2001, 0, "Confirmez la suppression de :\n{C}"},
    {2002, 0, "Confirmez la suppression de cet enregistrement."},
    {2003, 0, "Confirmez votre demande de formatage de la {C}."},
    {2004, kYesNoQuestion, "Confirmez votre demande de compression de la {C}."},
    {2005, 0, "Confirmez votre demande de réparation de la {C}."},
    {2006, 0, "Confirmez votre demande de chargement de la {C}."},
    {2007, 0, "Confirmez votre demande de modification de la {C}."},
    {2008, 0,
     "Vous allez quitter une autre application de la gamme.\n"
     "Les mises à jour en attente seront perdues. Voulez-vous continuer ?"},
    {2009, kYesNoQuestion, ""},
    {2010, kYesNoWarningNo,
     "MODIFICATION D'UN CODE ESPECE\n\nVoulez-vous reporter ce nouveau code sur toutes "
     "les observations ?"},
    {2011, kYesNoCancelWarningNo, "Annulation de l'impression demandée.\nVoulez-vous arrêter l'impression ?"},
    {2012, kYesNoWarning, "Exportation terminée correctement.\nVoulez-vous ouvrir le fichier exporté ?"},
    {2013, kYesNoCancelWarning,
     "Demande d'autorisation de remplacement d'une fiche inventaire lors d'une "
     "importation.\nVoulez-vous remplacer la fiche {C} ?"},
    {2014, kYesNoWarningNo, "Annulation du traitement demandé.\nVoulez-vous arrêter le traitement ?"},
    {2015, kYesNoWarningNo, "Attention !\nVoulez-vous vraiment quitter sans enregistrer ?"},
    {2016, kYesNoWarning,
     "Attention !\nCette opération peut durer plusieurs minutes. Voulez-vous continuer ?"},
    {2017, kYesNoWarning,
     "Exportation terminée correctement.\nVoulez-vous envoyer le fichier exporté par "
     "courrier électronique ?"},
    {2018, 0, "Attention : souhaitez-vous réellement changer le code de cette localité ?"},
    {2019, 0,
     "MODIFICATION SUSPENDUE\n\nCe code espèce est utilisé. Voulez-vous poursuivre la modification ?"},
    {2020, 0,
     "MODIFICATION SUSPENDUE\n\nCe code localité est utilisé. Voulez-vous poursuivre la "
     "modification ?"},
    {2021, 0,
     "MODIFICATION SUSPENDUE\n\nCe code observateur est utilisé. Voulez-vous poursuivre la "
     "modification ?"},
    {2022, 0,
     "MODIFICATION SUSPENDUE\n\nCe code milieu est utilisé. Voulez-vous poursuivre la modification ?"},
    {2023, 0,
     "MODIFICATION SUSPENDUE\n\nCe code comportement est utilisé. Voulez-vous poursuivre la "
     "modification ?"},
    {2024, 0, "MODIFICATION SUSPENDUE\n\nCette fiche a été transmise. Voulez-vous la modifier quand même ?"},
    {2025, 0,
     "MODIFICATION SUSPENDUE\n\nCette fiche a été créée sur un autre ordinateur. Voulez-vous la "
     "modifier quand même ?"},
    {2026, 0,
     "MODIFICATION SUSPENDUE\n\nCette bague a déjà été contrôlée. Voulez-vous la modifier quand "
     "même ?"},
    {2027, 0, "MODIFICATION SUSPENDUE\n\nCe carroyage est utilisé. Voulez-vous poursuivre la modification ?"},
    {2028, 0,
     "Vous venez d'indiquer un nouveau nom physique pour la base de données {C}.\n"
     "Voulez-vous l'enregistrer ?"},
    {2029, 0, "EFFACEMENT SUSPENDU\n\nVoulez-vous vraiment effacer ces données ?"},
    {2030, kYesNoCancelWarning,
     "Demande d'autorisation de création d'une fiche localité lors d'une "
     "importation.\nVoulez-vous créer la localité {C} ?"},
    {2031, 0,
     "DEMANDE DE VERIFICATION OPTIONNELLE\n\nVoulez-vous vérifier les données avant de poursuivre ?"},
    {2032, kYesNoCancelWarning,
     "Demande d'autorisation de création d'une fiche observateur lors d'une "
     "importation.\nVoulez-vous créer l'observateur {C} ?"},
    {2033, kYesNoWarning, "Voulez-vous recalculer les statistiques de la base de données centrale ?"},
    {2034, kYesNoWarning,
     "CHARGEMENT DE LA BASE DE DONNEES LOCALITES\n\nVoulez-vous charger la base de données "
     "localités ?"},
    {2035, 0, "ATTENTION !\n\nCette opération ne pourra pas être annulée. Voulez-vous continuer ?"},
    {2036, 0,
     "ATTENTION !\n\nD'autres utilisateurs travaillent sur cette base de données. Voulez-vous "
     "continuer ?"},
    {2037, 0, "ATTENTION !\n\nLes données non enregistrées seront perdues. Voulez-vous continuer ?"},
    {2038, 0, "EXPORTATION DE DONNEES\n\nVoulez-vous exporter les données sélectionnées ?"},
    {2039, 0,
     "CONTROLE DES COORDONNEES\n\nLes coordonnées sont en dehors de la commune. Voulez-vous les "
     "conserver ?"},
    {2040, kYesNoQuestion, "IMPORTATION DE DONNEES\n\nVoulez-vous importer les données de ce fichier ?"},
    {2041, 0,
     "CHOIX D'UNE NOUVELLE BASE DE DONNEES\n\nVoulez-vous travailler sur cette nouvelle base de "
     "données ?"},
    {2042, 0,
     "CONTROLE DE L'ALTITUDE\n\nL'altitude semble incohérente avec les coordonnées. Voulez-vous la "
     "conserver ?"},
    {2043, kYesNoQuestion, "TABLE DES MAILLES\n\nVoulez-vous reconstruire la table des mailles ?"},
    {2044, kYesNoQuestion,
     "MONTEE DE NIVEAU D'UNE BASE DE DONNEES\n\nVoulez-vous mettre cette base de données "
     "au niveau de la version actuelle ?"},
    {2045, kYesNoQuestion,
     "Confirmez votre demande de rafraîchissement du nombre d'utilisation des codes "
     "comportementaux."},
    {2046, kYesNoCancelWarning,
     "IMPORTATION SUSPENDUE : ESPECE INCONNUE\n\nL'espèce {C} est inconnue. "
     "Voulez-vous l'ajouter à la base des espèces ?"},
    {2047, kYesNoStopNo,
     "DEMANDE DE CONFIRMATION\n\nVoulez-vous vraiment supprimer définitivement ces "
     "données ?"},
    {2049, 0, "COPIE D'UN TEXTE MIS EN FORME\n\nVoulez-vous conserver la mise en forme du texte copié ?"},
    {2050, kYesNoCancelWarning,
     "VERIFICATION DE L'ALTITUDE\n\nVoulez-vous calculer l'altitude à partir des "
     "coordonnées ?"},
    {2051, 0, "IMPORTATION\n\nVoulez-vous lancer l'importation ?"},
    {2052, kYesNoQuestion,
     "SAISIE DANS UNE GRILLE\n\nVoulez-vous recopier cette valeur dans toute la colonne ?"},
    {2053, 0,
     "INTERPRETATION ET VALIDATION D'UNE IMPORTATION\n\nDes erreurs ont été détectées. Voulez-vous "
     "poursuivre l'importation ?"},
    {2054, kYesNoQuestion,
     "INTERPRETATION ET VALIDATION D'UNE IMPORTATION\n\nAucune erreur n'a été détectée. "
     "Voulez-vous valider l'importation ?"},
    {2055, kYesNoCancelWarning,
     "IMPORTATION DE DONNEES DE BAGUAGE\n\nVoulez-vous importer les données de "
     "baguage de ce fichier ?"},
    {2056, kYesNoWarningNo,
     "RAFRAICHISSEMENT DES DONNEES DE REPRISE\n\nVoulez-vous rafraîchir les données de "
     "reprise ?"},
    {2057, kYesNoWarning, "IMPRESSION DE FICHES REPRISES\n\nVoulez-vous imprimer les fiches reprises ?"},
    {2058, kYesNoWarning, "SAISIE D'UNE CITATION\n\nVoulez-vous abandonner la saisie de cette citation ?"},
    {2059, kYesNoWarning, "IMPORTATION\n\nVoulez-vous remplacer les données déjà importées ?"},
    {2060, kYesNoWarningNo, "DEMANDE DE CONFIRMATION\n\nVoulez-vous vraiment transférer ces données ?"},
    {2061, 0, "IMPRESSION DE FICHES DE REPRISE\n\nVoulez-vous imprimer une fiche par reprise ?"},
    {2062, kYesNoQuestion,
     "TRANSFERT DE LOCALITE\n\nVoulez-vous transférer les observations vers cette "
     "localité ?"},
    {2063, kYesNoQuestion,
     "TRANSFERT DE LOCALITE AMBIGU !!!\n\nPlusieurs localités portent ce nom. Voulez-vous "
     "poursuivre le transfert ?"},
    {2064, kYesNoQuestionNo,
     "DEMANDE DE VERIFICATION OPTIONNELLE\n\nVoulez-vous rechercher les doublons avant "
     "de poursuivre ?"},
    {2065, kYesNoWarningNo,
     "RAFRAICHISSEMENT DE LA NOTION DE 'BAGUE EN STOCK'\n\nVoulez-vous rafraîchir le "
     "stock de bagues ?"},
    {2066, kYesNoWarningNo, "DEMANDE DE CONFIRMATION\n\nVoulez-vous vraiment vider la corbeille ?"},
    {2067, 0,
     "ATTENTION !\n\nCette base de données est utilisée par une autre version du logiciel. Voulez-vous "
     "continuer ?"},
    {2068, 0, "Confirmez votre demande de réparation par copie de la {C}."},
    {2069, kYesNoQuestion, "GESTION DES TABLES MULTI-LANGUES\n\nVoulez-vous ajouter cette langue ?"},
    {2071, 0, "Confirmez votre demande d'annulation de {C}."},
    {2072, kYesNoQuestion, "APERCU AVANT IMPRESSION\n\nVoulez-vous afficher l'aperçu avant impression ?"},
    {2073, kYesNoQuestion, "APERCU AVANT IMPRESSION\n\nVoulez-vous imprimer le document affiché ?"},
    {2074, kYesNoQuestion, "APERCU AVANT IMPRESSION\n\nVoulez-vous enregistrer le document affiché ?"},
    {2075, kYesNoQuestion,
     "GESTION DES CODES ORDINATEURS\n\nVoulez-vous attribuer ce code ordinateur à ce "
     "poste ?"},
    {2076, kYesNoQuestion, "APERCU AVANT IMPRESSION\n\nVoulez-vous fermer l'aperçu avant impression ?"},
    {2077, kYesNoWarning,
     "EXPORTATION DE DONNEES DE BAGUAGE\n\nVoulez-vous exporter les données de baguage ?"},
    {2078, kYesNoWarningNo,
     "MISE A JOUR IMPOSSIBLE EN MODE TRANSACTIONNEL\n\nVoulez-vous faire la mise à jour "
     "sans transaction ?"},
    {2079, kYesNoWarningNo, "EXPORTATION ABANDONNEE.\n\nVoulez-vous supprimer le fichier incomplet ?"},
    {2080, kYesNoWarningNo,
     "MODIFICATION SUSPENDUE\n\nCette donnée est verrouillée. Voulez-vous la "
     "déverrouiller ?"},
    {2081, 0, "VERIFICATION DES BASES DE DONNEES\n\nVoulez-vous vérifier les bases de données ?"},
    {2082, kYesNoWarning,
     "IMPORTATION SUSPENDUE : ESPECE INCONNUE\n\nVoulez-vous ignorer les observations de "
     "l'espèce {C} ?"},
    {2083, kYesNoWarning,
     "CHANGEMENT DE VERSION DE {PM}\n\nVoulez-vous mettre à jour vos fichiers pour la "
     "nouvelle version ?"},
    {2084, kYesNoWarning,
     "MISE AU NORMES {PM} DES NOMS DES BASES DE DONNEES\n\nVoulez-vous renommer les bases "
     "de données ?"},
    {2085, kYesNoWarning,
     "TENTATIVE D'ECRASEMENT D'UN FICHIER EN LECTURE SEULE\n\nLe fichier {C} est en lecture "
     "seule. Voulez-vous le remplacer quand même ?"},
    {2086, kYesNoWarning,
     "PARAMETRAGE IMPORTATION\n\nVoulez-vous enregistrer ce paramétrage d'importation ?"},
    {2087, kYesNoWarning, "RECHERCHE GENERIQUE\n\nVoulez-vous étendre la recherche à tous les champs ?"},
    {2088, kYesNoWarning,
     "SUPPRESSION D'UN DESCRIPTEUR DE BASE DE DONNEES\n\nVoulez-vous supprimer ce "
     "descripteur ?"},
    {2089, kYesNoWarning,
     "CREATION D'UN CD-ROM D'INSTALLATION\n\nVoulez-vous créer l'image du CD-ROM "
     "d'installation ?"},
    {2090, kYesNoWarningNo,
     "MODIFICATION D'UN CODE ESPECE\n\nVoulez-vous enregistrer ce nouveau code espèce ?"},
    {2500, kYesNoCancelStopNo,
     "DEMANDE D'EXECUTION DE {P} EN MODE {C}\n\nVoulez-vous lancer {P} dans ce mode ?"},
    {2700, kYesNoQuestion,
     "NOUVEAU !!!\n\nAutorisez-vous {P} à se connecter sur Internet pour vérifier la présence d'éventuelles "
     "mises à jour ?\n\nNOTA : Si vous l'autorisez, cette opération aura lieu automatiquement au démarrage "
     "du "
     "logiciel et selon une fréquence que vous pourrez fixer dans vos options de travail.\nPar contre, vous "
     "pourrez à tout moment vérifier la présence de mises à jour via le menu '?' et modifier le comportement "
     "de {P} via la fenêtre gérant les options de travail."},
    {2995, kRetryCancelStop,
     "CONFLIT D'ACCES LORS D'UNE MISE A JOUR DE BASE DE DONNEE\n\nUn autre utilisateur "
     "modifie cet enregistrement. Voulez-vous réessayer ?"},
    {2996, 0, "SORTIE DU LOGICIEL REFUSEE\n\nDes traitements sont en cours. Voulez-vous forcer la sortie ?"},

    {3000, 0,
     "Le résultat de votre requête excède le nombre maximum de lignes admissibles dans la grille de "
     "synthèse.\nVoulez-vous afficher les premières lignes seulement ?"},
    {3001, kOkCancelWarning,
     "Il reste moins de 4096 octets de libres sur la disquette d'exportation.\n"
     "Insérez une nouvelle disquette puis cliquez sur OK."},
    {3002, kRetryCancelWarning,
     "Impossible d'accèder au fichier {C}.\nVérifiez le support puis cliquez sur "
     "Réessayer."},
    {3003, kRetryCancelWarning,
     "Le fichier d'importation n'est pas un fichier compatible avec le logiciel {P}.\n"
     "Choisissez un autre fichier puis cliquez sur Réessayer."},
    {3004, kRetryCancelWarning,
     "Le fichier d'importation a été créé avec un logiciel {C}.\n"
     "Choisissez un autre fichier puis cliquez sur Réessayer."},
    {3005, kRetryCancelWarning,
     "Erreur de séquence dans vos disquettes d'importation. Cette disquette est la "
     "numéro {C}.\nInsérez la disquette suivante puis cliquez sur Réessayer."},
    {3006, kYesNoWarning,
     "CHOIX D'IMPRESSION D'UNE GRILLE DE DONNEES.\n\nVoulez-vous imprimer toute la grille ?"},
    {3007, kYesNoWarning, "IMPRESSION D'UN GRAPHIQUE\n\nVoulez-vous imprimer le graphique en couleur ?"},
    {3008, kYesNoWarning, "Voulez-vous visualiser le fichier journal de cette session  ?"},

    {4000, kYesNoWarning, "PREMIER DEMARRAGE\n\nVoulez-vous créer les fichiers de travail ?"},
    {4001, 0, "Le dossier {C} n'existe pas.\nVoulez-vous le créer ?"},
    {4002, 0, "ARRET PREVENTIF !\n\nUne erreur grave s'est produite. Voulez-vous quitter le logiciel ?"},
    {4003, 0,
     "IMPOSSIBILITE DE LIRE UNE BASE DE DONNEES !\n\nVoulez-vous tenter de réparer la base de "
     "données ?"},
    {4004, 0,
     "ACCES EXCLUSIF A UNE BASE DE DONNEES REQUIS !\n\nFermez les autres sessions ouvertes sur cette "
     "base. Voulez-vous réessayer ?"},
    {4005, kOkCancelWarning, "{C}"},
    {4006, kYesNoWarning, "ERREUR DE SYNCHRONISATION\n\nVoulez-vous resynchroniser les données ?"},
};

// The entry's text with its markers replaced in one pass; empties the complement when spliced.
QString expand(const char* text, QString& complement)
{
    bool spliced = false;
    const QString out = common::fillTemplate(QString::fromUtf8(text), complement, QString(), &spliced);
    if (spliced)
        complement.clear();
    return out;
}

} // namespace

QString common::questionTitle() { return common::kProgramName + QStringLiteral(" [Gestion des messages]"); }

common::PreparedBox common::buildQuestionBox(qint16 number, QString complement)
{
    QString header;
    int style = kYesNoWarningNo;
    bool typed = true;
    if (number >= 1 && number <= 999) {
        header = QStringLiteral("Dialogue type : LOGIQUE    Réf. : #DL");
    } else if (number >= 1000 && number <= 1999) {
        header = QStringLiteral("Dialogue type : SAISIE    Réf. : #DL");
    } else if (number >= 2000 && number <= 2999) {
        header = QStringLiteral("Dialogue type : SECURITE    Réf. : #DL");
        style = kYesNoQuestionNo;
    } else if (number >= 3000 && number <= 3999) {
        header = QStringLiteral("Dialogue type : INFORMATION    Réf. : #DL");
    } else if (number >= 4000 && number <= 4999) {
        header = QStringLiteral("Dialogue type : ERREUR DE TRAITEMENT    Réf. : #DL");
    } else {
        header = QStringLiteral("ERREUR    Réf. : #DL");
        typed = false;
    }
    header += QString::number(number) + kLineFeed;
    if (typed)
        header += QStringLiteral(" ") + kLineFeed;

    QString body;
    const auto it = std::find_if(std::begin(catalogue), std::end(catalogue),
                                 [&](const Entry& e) { return e.number == number; });
    if (it != std::end(catalogue)) {
        body = expand(it->text, complement);
        if (it->style != 0)
            style = it->style;
    }
    return {header + kLineFeed + body + QStringLiteral(" ") + complement, style, common::questionTitle()};
}

qint16 fun_Dialogue(qint16 number, QString complement)
{
    const common::PreparedBox box = common::buildQuestionBox(number, std::move(complement));
    return qint16(platform::dialogs().ask(box.text, box.style, box.title));
}

void fun_Dialogue(qint16 number, qint16& answer, QString complement)
{
    answer = fun_Dialogue(number, std::move(complement));
}

QList<qint16> common::questionNumbers()
{
    QList<qint16> numbers;
    for (const Entry& e : catalogue)
        numbers << e.number;
    return numbers;
}
