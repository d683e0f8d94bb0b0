#include "common/Messages.h"

#include "common/Globals.h"
#include "common/Settings.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QSysInfo>
#include <algorithm>
#include <span>

namespace {

const QChar kLineFeed(u'\n');

// A catalogue entry. The text is UTF-8 and may hold these markers, replaced when the message is
// built:
//   {C}  the complement (the entry splices it, so the builder empties it afterwards)
//   {Ct} the complement without its leading and trailing blanks (spliced, left in place)
//   {E}  the error description
//   {P}  the program's name, {PM} the same in capitals
// `dropsComplement` empties the complement without showing it. `build` replaces the text for
// entries that read settings when they are shown.
struct Entry
{
    qint16 number;
    const char* text;
    bool dropsComplement = false;
    QString (*build)() = nullptr;
};

QString installationSummary();

// fun_Msg_Logique: 0 to 38.
const Entry logique[] = {
    {0, ""},
    {1, "SUPPRESSION REFUSEE. \n"},
    {2, "Aucun élément ne correspond à votre recherche."},
    {3, "Cette cellule est gérée par le système : elle ne peut pas être modifiée."},
    {4, "Vous devez choisir un code ordinateur avant de travailler dans la base naturaliste partagée."},
    {5, "Aucun code ordinateur n'est attribué à ce poste.\n"
        "Attribuez-en un avant de travailler dans la base naturaliste partagée."},
    {6, "Le code ordinateur de ce poste doit être attribué par votre coordinateur avant tout travail "
        "dans la base naturaliste partagée."},
    {7, "Sortie non standard de la fenêtre de la base naturaliste partagée.\n"
        "Vos dernières modifications n'ont peut-être pas été enregistrées."},
    {8, "La cotisation de cet observateur n'est pas à jour."},
    {9, ""},
    {10, "Cet enregistrement existe déjà : il n'a pas été ajouté."},
    {11, "Doublon détecté : cette fiche n'a pas été ajoutée."},
    {12, "Aucun code espèce n'a été saisi."},
    {13, "Aucune classe n'a été saisie."},
    {14, "Vous n'avez rien sélectionné : {C}."},
    {15, "La base de données ne peut pas être ouverte."},
    {16, "La valeur de la classe est invalide."},
    {17, "Le code de cet ordinateur ne figure pas dans la base naturaliste partagée."},
    {18, "Suppression refusée : ce code espèce est utilisé."},
    {19, "Les départements à analyser n'ont pas été indiqués."},
    {20, "Suppression refusée : ce code localité est utilisé."},
    {21, "Un relevé subdivisé ne peut pas être supprimé directement.\nSupprimez d'abord ses subdivisions."},
    {22, "Le champ {C} doit être renseigné."},
    {23, "Le dossier {C} n'existe pas."},
    {24, "Aucune période n'a été indiquée."},
    {25, "La table des mailles est vide."},
    {26, "Aucun carroyage standard n'a été choisi."},
    {27, "Les classes à sélectionner n'ont pas été indiquées."},
    {28, "Les statuts de reproduction à sélectionner n'ont pas été indiqués."},
    {29, "", true},
    {30, "AJOUT D'UNE BAGUE\n\nCette bague existe déjà : elle ne peut pas être ajoutée."},
    {32, "CARTOGRAPHIE\n\nAucune donnée ne correspond aux critères de la carte."},
    {33, "AJOUT DE FICHES INVENTAIRES\n\nAucune fiche inventaire n'a été ajoutée."},
    {34, "CARTOGRAPHIE\n\nLe fond de carte choisi est introuvable."},
    {35, "L'emplacement des glossaires n'a pas été indiqué."},
    {36, "BASE LOCALITES : GESTION DES RACCOURIS\n\nLe raccourci {C} existe déjà."},
    {37, "PARAMETRE INVALIDE\n\nLa valeur de ce paramètre n'est pas admise."},
    {38, "Vous devez renseigner le champ : {C}"},
};

// fun_Msg_Saisie: 1000 to 1109.
const Entry saisie[] = {
    {1000, "La sélection est trop importante pour l'option de mise à jour.\nSélectionnez une seule ligne."},
    {1001, "Sélectionnez une cellule de la ligne de l'observation à modifier."},
    {1002, "Sélectionnez la ligne du profil."},
    {1003, "Choisissez le relevé à supprimer."},
    {1004, "Ce lieu-dit n'est pas répertorié pour cette commune."},
    {1005, "Ce code commune n'appartient pas à ce département."},
    {1006, "Ce code observateur n'existe pas."},
    {1007, "Date invalide."},
    {1008, "Ce code espèce n'existe pas."},
    {1009, "Aucun lieu-dit, section ou parcelle n'est sélectionné pour en afficher le détail."},
    {1010, "La sélection ne correspond pas à une observation valide."},
    {1011, "Aucune fiche inventaire pour ce code."},
    {1012, "Aucune fiche inventaire pour cet observateur."},
    {1013, "Aucune fiche inventaire pour cette localité."},
    {1014, "Aucune fiche inventaire à cette date."},
    {1015, "Ce code comportement n'existe pas."},
    {1016, "La sélection est trop importante pour l'option de suppression.\nSélectionnez une seule ligne."},
    {1017, "Sélectionnez une cellule de la ligne de l'observation à supprimer."},
    {1018, "Un code espèce est nécessaire pour l'ajout."},
    {1019, "Ce champ n'admet que les valeurs E, B ou L."},
    {1020, "L'échelle s'exprime en huitièmes (0 à 8)."},
    {1021, "Type de localité invalide."},
    {1022, "Les coordonnées sont invalides : le numéro de la carte ne peut pas être calculé."},
    {1023, "La date de début est postérieure à la date de fin."},
    {1024, "La date est postérieure à la date du jour."},
    {1025,
     "Trop de colonnes à imprimer.\nRéduisez le nombre de colonnes ou choisissez l'orientation paysage."},
    {1026, "Ce critère de tri a déjà été choisi."},
    {1027, "Ce code milieu n'existe pas."},
    {1028, "Le premier code espèce est obligatoire."},
    {1029, "Les espèces ne sont pas dans l'ordre systématique."},
    {1030, "Un critère de saut de page a déjà été choisi."},
    {1031, "Un critère de saut de ligne a déjà été choisi."},
    {1033, "Le nombre de classes doit être compris entre 1 et 7."},
    {1034, "Cliquez sur un critère avant de le déplacer."},
    {1035, "Ce format de fichier n'est pas pris en charge."},
    {1036, "Aucun filtre n'a été indiqué pour cet état."},
    {1037, "Le filtre sur les localités est choisi mais aucun code n'a été indiqué."},
    {1038, "Choisissez au moins un code ordinateur dont les relevés seront transférés."},
    {1039, "Le filtre sur les codes d'étude est choisi mais aucun code n'a été indiqué."},
    {1040, "Le filtre sur les observateurs est choisi mais aucun code n'a été indiqué."},
    {1041, "Le filtre sur les classes animales est choisi mais aucun code n'a été indiqué."},
    {1042, "Le filtre sur les statuts de reproduction est choisi mais aucun code n'a été indiqué."},
    {1043, "Le filtre sur les sites est choisi mais aucun code n'a été indiqué."},
    {1044, "Le filtre sur les cartes est choisi mais aucun code n'a été indiqué."},
    {1045, "Le filtre sur les commentaires qualitatifs est choisi mais aucun code n'a été indiqué."},
    {1046, "Aucun historique pour cet observateur ou adhérent."},
    {1047, "Cette zone de texte admet trois lignes au plus."},
    {1048, "La période doit couvrir au moins deux années."},
    {1049, "La période ne peut pas dépasser 99 années."},
    {1050, "Champ heure invalide : 00 à 23."},
    {1051, "Champ minute invalide : 00 à 59."},
    {1052, "La période générale ne convient pas à une analyse par partie d'année :\n"
           "elle doit aller du 1er janvier au 31 décembre."},
    {1053, "La période générale ne convient pas à une analyse par partie d'année :\n"
           "une période à cheval sur deux années demande une période générale de plus d'une année."},
    {1054, "Aucun lieu-dit, section ou parcelle n'est sélectionné pour la suppression."},
    {1055, "Aucun point d'insertion n'est sélectionné."},
    {1056, "Un numéro de parcelle n'est pas un point d'insertion valide."},
    {1057, "Ce code nom est déjà attribué à {C}."},
    {1058, "DEFINITION D'UN CARROYAGE STANDARD\n\nLe nom du carroyage est obligatoire."},
    {1059, "DEFINITION D'UN CARROYAGE STANDARD\n\nLe pas du carroyage doit être un nombre positif."},
    {1060, "DEFINITION D'UN CARROYAGE STANDARD\n\nL'origine du carroyage est invalide."},
    {1061, "Sélectionnez la ligne de la grille à calculer."},
    {1062, "La largeur d'impression dépasse celle de l'imprimante."},
    {1063, "CHOIX D'UN FICHIER PHYSIQUE\n\nAucun fichier n'a été choisi."},
    {1064, "Aucun critère de tri n'a été indiqué."},
    {1065, "VERIFICATION DES FICHIERS PHYSIQUES\n\nUn ou plusieurs fichiers sont introuvables."},
    {1066, "Choisissez au moins un fichier à décentraliser."},
    {1067, "Aucune contribution naturaliste pour cet observateur ou adhérent."},
    {1068, "AJOUT D'INVENTAIRE REFUSE\n\nUne fiche inventaire existe déjà pour ce lieu et cette date."},
    {1069, "Aucune cellule n'est sélectionnée : la copie ne sera pas faite."},
    {1070, "Ce type de statut existe déjà pour cette espèce."},
    {1071, "MISE EN GARDE\n\nCette modification s'appliquera à toutes les fiches concernées."},
    {1072, "La syntaxe de la requête est invalide."},
    {1073, "SAISIE D'UNE DONNEE DE BAGUAGE\n\nLe numéro de bague est obligatoire."},
    {1074, "SAISIE D'UNE DONNEE DE BAGUAGE, D'UN CONTROLE OU D'UNE REPRISE DE BAGUE\n\n"
           "La date de l'observation est obligatoire."},
    {1075, "SAISIE D'UNE DONNEE DE BAGUAGE\n\nCe numéro de bague a déjà été posé."},
    {1076, "SAISIE D'UNE DONNEE DE BAGUAGE, D'UN CONTROLE OU D'UNE REPRISE DE BAGUE\n\n"
           "Le lieu de l'observation est obligatoire."},
    {1077, "SAISIE D'UNE FICHE OBSERVATEUR\n\nLe nom de l'observateur est obligatoire."},
    {1078, "SAISIE D'UNE DONNEE DE BAGUAGE\n\nL'âge de l'oiseau est invalide."},
    {1079, "SAISIE D'UNE DONNEE DE BAGUAGE\n\nLe sexe de l'oiseau est invalide."},
    {1080, "SAISIE D'UNE DONNEE DE BAGUAGE\n\nLa longueur de l'aile est hors limites pour cette espèce."},
    {1081, "SAISIE D'UN SCENARIO\n\nLe nom du scénario est obligatoire."},
    {1082, "ENREGISTREMENT D'UNE REQUÊTE ACCESS\n\nLe nom de la requête est obligatoire."},
    {1083, "MISE A JOUR DE LA BASE NATURALISTE PARTAGEE\n\n"
           "Une date comportant un caractère générique est invalide."},
    {1084, "ESPECES COMMUNES ABSENTES\n\nAucune espèce commune n'a été saisie sur cette fiche."},
    {1085, "SAISIE D'UNE DONNEE DE BAGUAGE\n\nLe poids de l'oiseau est hors limites pour cette espèce."},
    {1086, "SAISIE D'UNE DONNEE DE BAGUAGE\n\nLe code du bagueur est obligatoire."},
    {1087, "SAISIE D'UNE DONNEE DE BAGUAGE\n\nCette bague n'appartient pas au stock du bagueur."},
    {1088, "MODIFICATION GLOBALE DE NUMEROS DE BAGUES\n\nL'ancien numéro de bague est introuvable."},
    {1089, "MODIFICATION GLOBALE DE NUMEROS DE BAGUES\n\nLe nouveau numéro de bague est déjà utilisé."},
    {1090, "Les champs heure et minute sont hors limites : heure de 00 à 23 et minute de 00 à 59."},
    {1091, "ESPECES COMMUNES ABSENTES\n\nVérifiez la liste des espèces communes avant de valider."},
    {1092, "SAISIE D'UNE DONNEE DE BAGUAGE, D'UN CONTROLE OU D'UNE REPRISE DE BAGUE\n\n"
           "L'espèce ne correspond pas à celle du baguage."},
    {1093, "ERREUR LORS DE L'AJOUT D'UNE DONNEE DE BAGUAGE, D'UN CONTROLE OU D'UNE REPRISE DE BAGUE\n\n"
           "La donnée n'a pas été ajoutée."},
    {1094, "ERREUR DE SAISIE\n\nLa valeur saisie est invalide."},
    {1095, "ENRICHISSEMENT DES FONDS DE CARTE\n\nAucun fond de carte n'a été choisi."},
    {1096, "ENRICHISSEMENT DES FONDS DE CARTE\n\nLe fichier choisi n'est pas un fond de carte."},
    {1097, "ENRICHISSEMENT DES FONDS DE CARTE\n\nCe fond de carte existe déjà."},
    {1098, "Ce code informateur appartient à la fiche d'un bagueur : {C}."},
    {1099, "ENRICHISSEMENT DES FONDS DE CARTE\n\nLes coordonnées du fond de carte sont invalides."},
    {1102, "SAISIE D'UNE CITATION\n\nLe texte de la citation est vide."},
    {1106, "AJOUT D'UNE MARQUE COLOREE\n\nCette combinaison de marques existe déjà."},
    {1107, "BASE ESPECE\n\nCette espèce existe déjà dans la base."},
    {1108, "CREATION D'UN RACCOURCI LOCALITE\n\nCe raccourci est déjà utilisé."},
    {1109, "Le format de l'heure est invalide (ex : HH:MM)."},
};

// fun_Msg_Securite: 2000 to 2998.
const Entry securite[] = {
    {2000, "SECURITE\n\nVotre code utilisateur n'est pas défini."},
    {2001, "SECURITE\n\nMot de passe invalide."},
    {2002, "SECURITE\n\nLa confirmation du nouveau mot de passe ne correspond pas."},
    {2003, "CARTOGRAPHIE DES DONNEES NATURALISTES\n\n"
           "Vous n'avez pas les droits nécessaires pour cartographier ces données."},
    {2004, "SAUVEGARDE ANNULEE\nLa sauvegarde a été interrompue : aucun fichier n'a été remplacé."},
    {2005, "MODIFICATION REFUSEE\nVous n'avez pas les droits nécessaires pour modifier cette fiche."},
    {2006, "EFFACEMENT REFUSE\nVous n'avez pas les droits nécessaires pour effacer cette fiche."},
    {2007, "CHOIX D'ESPECE INVALIDE\n\nCette espèce n'est pas admise pour ce protocole."},
    {2008, "MODIFICATION REFUSEE\n\nCette fiche a été créée sur un autre ordinateur."},
    {2009, "DISQUETTE REFUSEE\n\nCette disquette ne contient pas de fichier d'importation reconnu."},
    {2010, "ATTENTION !\n\nCette opération ne pourra pas être annulée."},
    {2011, "ATTENTION !\n\nD'autres utilisateurs travaillent sur cette base de données."},
    {2012, "CONFLIT D'ACCES LORS D'UNE MISE A JOUR DE BASE DE DONNEES\n\n"
           "Cet enregistrement est en cours de modification par un autre utilisateur."},
    {2013,
     "ERREUR DE VALIDATION DU CODE CARROYAGE\n\nCe code de maille n'existe pas dans le carroyage choisi."},
    {2014, "CONFLIT D'ACCES LORS D'UNE MISE A JOUR DE BASE DE DONNEES\n\n"
           "Cet enregistrement a été supprimé par un autre utilisateur."},
    {2015, "CONFLIT D'ACCES !\n\nLa base de données est ouverte en mode exclusif par un autre utilisateur."},
    {2016, "SAISIE DANS UNE GRILLE\n\nCette colonne ne peut pas être modifiée."},
    {2017, "MODIFICATION REFUSEE\n\nCette fiche a déjà été transmise."},
    {2018, "MODIFICATION REFUSEE\n\nCette donnée est verrouillée par l'administrateur."},
    {2019, "SUPPRESSION REFUSEE\n\nCet enregistrement est utilisé par d'autres fiches."},
    {2020, "COMPACTAGE IMPOSSIBLE CAR CONFLIT D'ACCES !\n\n"
           "Fermez les autres sessions ouvertes sur cette base de données puis recommencez."},
    {2021, "UTILISATION DES REQUETES SQL DE MISE A JOUR\n\n"
           "Les requêtes de mise à jour sont réservées à l'administrateur."},
    {2022,
     "SUPPRESSION REFUSEE\n\nVous n'avez pas les droits nécessaires pour supprimer cet enregistrement."},
    {2023, "MODIFICATION DES DESCRIPTEURS DE LOCALITES\n\n"
           "Les descripteurs de localités sont réservés à l'administrateur."},
    {2501, "ERREUR D'INSTALLATION DE {PM}\n\n"
           "Un composant du logiciel est absent ou mal enregistré. Réinstallez le logiciel.\n"},
    {2998, "CONFLIT D'ACCES SUR UNE BASE DE DONNEES\n\n{C}"},
};

// fun_Msg_Information: 3000 to 3066.
const Entry information[] = {
    {3000, "Accès autorisé.\nBienvenue dans {P}."},
    {3001, "Accès autorisé : votre nouveau mot de passe est accepté.\nBienvenue dans {P}."},
    {3002, "Bienvenue dans cette base de données.\nPour ajouter une fiche, cliquez sur le bouton Ajouter."},
    {3003, "Raccourcis clavier :\nF2 : modifier la cellule\nF3 : rechercher\nCtrl+C : copier\n"
           "Ctrl+V : coller\nSuppr : effacer la sélection"},
    {3004, "N'oubliez pas d'enregistrer cette nouvelle fiche après l'avoir modifiée."},
    {3005, "Bienvenue dans cette base de données : elle ne contient encore aucune fiche.\n"
           "Pour ajouter une fiche, cliquez sur le bouton Ajouter."},
    {3006, "Aucune fiche ne correspond à votre requête."},
    {3007, "Aucun nom de localité pour les types de localités choisis."},
    {3008, "{C}"},
    {3009, "Exportation terminée."},
    {3010, "Importation abandonnée."},
    {3011, "Importation terminée."},
    {3012, "Copie de sauvegarde terminée."},
    {3013, "La copie de sauvegarde a échoué."},
    {3014, "Fin de la disquette d'importation."},
    {3015, "Attention ! L'impression peut durer plusieurs minutes."},
    {3016, nullptr, false, installationSummary},
    {3017,
     "Vous avez démarré ce logiciel {C} fois.\nPensez à faire une copie de sauvegarde de vos fichiers."},
    {3019, "Attention ! Le mélange des couleurs peut rendre la carte illisible."},
    {3020, "Attention ! Le filtre sur les codes de nidification est utilisé seul."},
    {3021, "La requête a été exécutée."},
    {3022, "Le séparateur choisi ne doit figurer dans aucune des données exportées : "
           "vérifiez le fichier obtenu."},
    {3023, "{C}"},
    {3024, "{C}"},
    {3025, "DEFINITION D'UN CARROYAGE STANDARD\n\nLe carroyage a été enregistré."},
    {3026, "DEFINITION D'UN CARROYAGE STANDARD\n\nLe carroyage a été supprimé."},
    {3027, "{C}\nAucune fiche ne correspond à votre requête."},
    {3028, "Les paramètres de l'application ont été enregistrés."},
    {3029, "Bienvenue dans la base des observateurs : elle ne contient encore aucune fiche à votre nom.\n"
           "Pour ajouter une fiche, cliquez sur le bouton Ajouter."},
    {3030, "La requête a été exécutée : les fiches concernées sont mises à jour."},
    {3031, "La requête a été exécutée : les fiches concernées sont supprimées."},
    {3032,
     "SYNTHESE DES ESPECES PRESENTES DANS UNE MAILLE\n\nAucune espèce n'a été observée dans cette maille."},
    {3033, "VERIFICATION ET REPARATION LOGIQUE DES BASES DE DONNEES\n\nLa vérification est terminée."},
    {3034, "Les paramètres endommagés ont été sauvegardés avant d'être reconstruits."},
    {3035, "Les paramètres ont été restaurés."},
    {3036, "Mise en garde ! Vous avez choisi l'ancien format de destination : "
           "certaines données ne seront pas reprises."},
    {3037, "Les copies ont été effectuées."},
    {3038, "Cette option prendra effet au prochain démarrage."},
    {3039, "AIDE SUR LE MENU CONTEXTUEL CARTOGRAPHIQUE.\n\n"
           "Cliquez sur la carte avec le bouton droit pour afficher les commandes de la maille."},
    {3040, "Attention ! N'oubliez pas la mention du bureau de poste dans l'adresse."},
    {3041, "AIDE SUR LE MENU CONTEXTUEL LOCALITES.\n\n"
           "Cliquez sur une localité avec le bouton droit pour afficher ses commandes."},
    {3042, "EXPORTATION FILTREE.\n\nSeules les fiches affichées seront exportées."},
    {3043, "MISE EN GARDE\n\nVérifiez vos données avant de les transmettre."},
    {3044, "SAISIE D'UN CONTROLE OU D'UNE REPRISE\n\nLe contrôle a été enregistré."},
    {3045, "BILAN DE L'IMPORTATION\n\nL'importation est terminée.\n"},
    {3046, "RAFRAICHISSEMENT DES DONNEES BIOMETRIQUES\n\n"
           "Le rafraîchissement des données biométriques est terminé."},
    {3047,
     "RAFRAICHISSEMENT DES DONNEES DE REPRISE\n\nLe rafraîchissement des données de reprise est terminé."},
    {3048, "BASE NATURALISTE PARTAGEE : DATES D'OBSERVATION\n\n"
           "Une date incomplète est enregistrée avec le caractère générique \"*\"."},
    {3049, "SYNTHESE DES ESPECES ABSENTES DANS UNE MAILLE\n\n"
           "Toutes les espèces de la liste ont été observées dans cette maille."},
    {3050, "AJOUT DE FICHES INVENTAIRES\n\nLes fiches inventaires ont été ajoutées."},
    {3051, "RAFRAICHISSEMENT DES CODES COMPORTEMENTAUX\n\n"
           "Le rafraîchissement des codes comportementaux est terminé."},
    {3052, "SAISIE D'UN CONTROLE OU D'UNE REPRISE\n\nLa reprise a été enregistrée."},
    {3053, "A QUI APPARTIENT CETTE BAGUE ?\n\nCette bague n'appartient à aucun bagueur connu."},
    {3054, "A QUI APPARTIENT CETTE BAGUE ?\n\nCette bague appartient au bagueur suivant :\n"},
    {3055, "BASE ESPECES\n\nLa base des espèces a été mise à jour."},
    {3056, "PREMIER LANCEMENT DE {PM}\n\nLa mise en place du logiciel est terminée."},
    {3057, "RECREATION A l'IDENTIQUE D'UNE BASE DE DONNEES\n\nLa base de données a été recréée."},
    {3058, "CARTOGRAPHIE\n\nLa carte a été enregistrée."},
    {3059, "ENRICHISSEMENT DES FONDS DE CARTE\n\nLe fond de carte a été enrichi."},
    {3061, "La requête a été exécutée : les fiches concernées sont ajoutées."},
    {3062, "COMPACTAGE D'UNE BASE DE DONNEES\n\nLe compactage est terminé."},
    {3063, "ENVOI D'UN MESSAGE SUR INTERNET\n\nVotre message a été transmis à votre logiciel de messagerie."},
    {3064, "STATISTIQUES DE LA BASE NATURALISTE PARTAGEE\n\nLes statistiques ont été recalculées."},
    {3065, "STATISTIQUES DE LA BASE NATURALISTE PARTAGEE\n\nLes statistiques sont à jour."},
    {3066, "L'image du CD-ROM d'installation est créée."},
};

// fun_Msg_Erreur_Traitement: 4000 to 4500.
const Entry erreurTraitement[] = {
    {4000, "La base de données ne peut pas être ouverte."},
    {4001, "La mise à jour est impossible."},
    {4002, "Le fichier {C} est introuvable.\nRéinstallez le logiciel."},
    {4003, "Une table de la base de données ne peut pas être ouverte."},
    {4004, "Un index de la base de données ne peut pas être positionné."},
    {4005, "Debug"},
    {4006, "Une erreur grave s'est produite lors de l'accès au fichier {Ct}.\n"
           "Vérifiez que ce fichier existe et qu'aucun autre logiciel ne l'utilise."},
    {4007, "Le dossier suivant ne peut pas être créé : "},
    {4008,
     "Vous ne disposez pas assez de mémoire pour effectuer une copie presse-papiers en une seule fois.\n\n"
     "SOLUTION : Tronçonnez votre copie en limitant de nombres de colonnes sélectionnées en même temps "
     "ou créez un fichier .CSV ou .TXT."},
    {4009, "MONTEE DE NIVEAU IMPOSSIBLE.\n\nLa base de données est ouverte par un autre utilisateur."},
    {4010, "IMPOSSIBILITE DE LANCER {C}\n\nLe programme est introuvable ou ne peut pas démarrer."},
    {4011, "DEPASSEMENT DE CAPACITE !\nLe nombre de lignes dépasse la capacité de la grille."},
    {4012, "DEPASSEMENT DE CAPACITE !\nLe nombre de colonnes dépasse la capacité de la grille."},
    {4013, "MAUVAISE LOCALISATION !\n\nLes coordonnées sont en dehors de la commune."},
    {4014, "MAUVAISE LOCALISATION !\n\nLes coordonnées sont en dehors du département."},
    {4015, "DEPASSEMENT DE CAPACITE !\nLa valeur calculée est trop grande."},
    {4016, "COPIER\n\nLa copie a échoué."},
    {4017, "CHOIX D'UN JEU DE FICHIERS\n\nCe jeu de fichiers est introuvable."},
    {4018, "ERREUR LORS D'UNE REQUETE SQL\n\nLa requête n'a pas pu être exécutée."},
    {4019, "PROBLEME DE JOINTURE ENTRE DES TABLES DE BASES DE DONNEES\n\n"
           "Des enregistrements liés sont introuvables."},
    {4020, "CHOIX D'UN JEU DE FICHIERS\n\nCe jeu de fichiers est incomplet."},
    {4021, "IMPOSSIBILITE DE RENOMMER UNE BASE DE DONNEES !\n\n"
           "La base de données est ouverte ou un fichier du même nom existe déjà."},
    {4022, "MONTEE DE NIVEAU IMPOSSIBLE.\n\nLa version de la base de données n'est pas reconnue."},
    {4023, "ERREUR IMPREVUE LORS DE MISE A JOUR D'UN ENREGISTREMENT.\n\n"
           "L'enregistrement n'a pas pu être mis à jour : {C}\n{E}"},
    {4024, "ERREUR DE CHARGEMENT D'UN FICHIER GéoFLA.\n\nCe fichier ne peut pas être lu."},
    {4025, "\n\n{C}"},
    {4026, "CHARGEMENT D'UN OBJET CARTOGRAPHIQUE.\n\nL'objet cartographique est introuvable."},
    {4027, "CHARGEMENT D'UN OBJET CARTOGRAPHIQUE.\n\nL'objet cartographique ne peut pas être lu."},
    {4028, "PREMIER LANCEMENT DE {PM}\n\nLa création d'un dossier pour la nouvelle version est abandonnée."},
    {4030, "CREATION D'UN FICHIER EXCEL\n\nLe fichier Excel n'a pas pu être créé."},
    {4031, "APERCU AVANT IMPRESSION\n\nL'aperçu avant impression ne peut pas être affiché."},
    {4032, "Ce type de fichier ({C}) ne permet pas d'enregistrer directement le résultat d'une requête."},
    {4033, "ERREUR DE LECTURE/ECRITURE\n\nLe fichier ne peut pas être lu."},
    {4034, "ERREUR DE LECTURE/ECRITURE\n\nLe fichier ne peut pas être écrit."},
    {4035, "GESTION DES GLOSSAIRES\n\nLes glossaires sont introuvables."},
    {4036, "ENVOI D'UN MESSAGE SUR INTERNET\n\nLe message n'a pas pu être envoyé."},
    {4037, "CHOIX DU DOSSIER D'INSTALLATION\n\nCe dossier ne peut pas recevoir l'installation."},
    {4500, "ERREUR D'ACCES A UNE BASE DE DONNEES\n\nLa base de données est inaccessible."},
};

// Blanks only, as the program has always trimmed: tabs and line feeds stay.
QString trimBlanks(const QString& s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s[begin] == u' ')
        ++begin;
    while (end > begin && s[end - 1] == u' ')
        --end;
    return s.mid(begin, end - begin);
}

QString installationSummary()
{
    const QString nombre = fun_Get_Setting_Str(common::kOptionsSection, QStringLiteral("Nbr_de_démarrages"),
                                               QStringLiteral("0"));
    const QString temps = fun_Get_Setting_Str(common::kOptionsSection, QStringLiteral("Temps_d_utilisation"),
                                              QStringLiteral("0"));
    const QString organisme =
        fun_Get_Setting_Str(common::kParametersSection, QStringLiteral("Organisme"), QStringLiteral("?"));
    const QString jeu = fun_Get_Setting_Str(common::kParametersSection, QStringLiteral("Jeu de fichiers"),
                                            QStringLiteral("?"));
    QString utilisateur = qEnvironmentVariable("USER");
    if (utilisateur.isEmpty())
        utilisateur = qEnvironmentVariable("USERNAME");
    return QStringLiteral("Logiciel : ") + common::kProgramName + kLineFeed +
           QStringLiteral("Ordinateur : ") + QSysInfo::machineHostName() + kLineFeed +
           QStringLiteral("Version : ") + common::kProgramVersion + QStringLiteral("    Révision : ") +
           common::kProgramRelease + kLineFeed + QStringLiteral("Organisme : ") + organisme + kLineFeed +
           QStringLiteral("Utilisateur : ") + utilisateur + kLineFeed +
           QStringLiteral("Dossier de travail : ") + gstr_Dossier + kLineFeed +
           QStringLiteral("Nombre d'utilisations : ") + nombre + kLineFeed +
           QStringLiteral("Temps d'utilisation : ") + temps + kLineFeed +
           QStringLiteral("Jeu de fichiers : ") + jeu;
}

// The text of an entry, markers replaced in one pass, so that a complement or a description
// holding marker-like text is shown as it is.
QString expand(const Entry& e, const QString& errorDescription, QString& complement)
{
    if (e.build)
        return e.build();
    bool spliced = false;
    const QString out =
        common::fillTemplate(QString::fromUtf8(e.text), complement, errorDescription, &spliced);
    if (spliced || e.dropsComplement)
        complement.clear();
    return out;
}

QString lookUp(std::span<const Entry> table, qint16 number, const QString& errorDescription,
               QString& complement)
{
    const auto it =
        std::find_if(table.begin(), table.end(), [&](const Entry& e) { return e.number == number; });
    if (it == table.end())
        return {};
    return expand(*it, errorDescription, complement);
}

std::span<const Entry> tableOf(common::MessageBuilder c)
{
    switch (c) {
    case common::MessageBuilder::Logic:
        return logique;
    case common::MessageBuilder::Input:
        return saisie;
    case common::MessageBuilder::Security:
        return securite;
    case common::MessageBuilder::Information:
        return information;
    case common::MessageBuilder::ProcessingError:
        return erreurTraitement;
    }
    return {};
}

} // namespace

QString fun_Msg_Logique(qint16 number, qint32, const QString&, QString& complement)
{
    return lookUp(logique, number, QString(), complement);
}

QString fun_Msg_Saisie(qint16 number, qint32, const QString&, QString& complement)
{
    return lookUp(saisie, number, QString(), complement);
}

QString fun_Msg_Securite(qint16 number, qint32, const QString&, QString& complement)
{
    return lookUp(securite, number, QString(), complement);
}

QString fun_Msg_Information(qint16 number, qint32, const QString&, QString& complement)
{
    return lookUp(information, number, QString(), complement);
}

QString fun_Msg_Erreur_Traitement(qint16 number, qint32, const QString& errorDescription, QString& complement)
{
    return lookUp(erreurTraitement, number, errorDescription, complement);
}

common::PreparedBox common::buildMessageBox(qint16 number, qint32 errorNumber,
                                            const QString& errorDescription, QString complement)
{
    namespace mb = platform::mb;
    QString header;
    int icon = mb::Question;
    if (number >= 1 && number <= 999) {
        header = QStringLiteral("Message type : LOGIQUE    Réf. : #MB");
        icon = mb::Exclamation;
    } else if (number >= 1000 && number <= 1999) {
        header = QStringLiteral("Message type : SAISIE    Réf. : #MB");
        icon = mb::Exclamation;
    } else if (number >= 2000 && number <= 2999) {
        header = QStringLiteral("Message type : SECURITE    Réf. : #MB");
        icon = mb::Critical;
    } else if (number >= 3000 && number <= 3999) {
        header = QStringLiteral("Message type : INFORMATION    Réf. : #MB");
        icon = mb::Information;
    } else if (number >= 4000 && number <= 4999) {
        header = QStringLiteral("Message type : ERREUR DE TRAITEMENT    Réf. : #MB");
        icon = mb::Critical;
    } else {
        header = QStringLiteral("ERREUR    Réf. : #MB");
    }
    header += QString::number(number) + kLineFeed + kLineFeed;

    if (errorNumber != 0) {
        header += QStringLiteral("Erreur #") + QString::number(errorNumber);
        if (!errorDescription.isEmpty())
            header += kLineFeed + errorDescription + kLineFeed + kLineFeed;
        else
            header += QStringLiteral(" ") + kLineFeed + kLineFeed;
    } else if (!errorDescription.isEmpty()) {
        // A failure known by its description alone is still described to the user.
        header += errorDescription + kLineFeed + kLineFeed;
    }

    QString text;
    if (number < 1000)
        text = fun_Msg_Logique(number, errorNumber, errorDescription, complement);
    else if (number < 2000)
        text = fun_Msg_Saisie(number, errorNumber, errorDescription, complement);
    else if (number < 3000)
        text = fun_Msg_Securite(number, errorNumber, errorDescription, complement);
    else if (number < 4000)
        text = fun_Msg_Information(number, errorNumber, errorDescription, complement);
    else if (number < 5000)
        text = fun_Msg_Erreur_Traitement(number, errorNumber, errorDescription, complement);
    else
        text = QStringLiteral("Message non défini.") + kLineFeed + kLineFeed;

    // 4006 has already put the complement inside its first sentence.
    if (number != 4006 && !trimBlanks(complement).isEmpty())
        text += complement;

    return {header + kLineFeed + text, icon, common::kMessagesTitle};
}

void sub_Message(qint16 number, qint32 errorNumber, const QString& errorDescription, QString complement)
{
    const common::PreparedBox box =
        common::buildMessageBox(number, errorNumber, errorDescription, std::move(complement));
    platform::dialogs().ask(box.text, box.style, box.title);
}

QList<qint16> common::messageNumbers(common::MessageBuilder constructeur)
{
    QList<qint16> numbers;
    for (const Entry& e : tableOf(constructeur))
        numbers << e.number;
    return numbers;
}

QString common::fillTemplate(const QString& modele, const QString& complement,
                             const QString& descriptionErreur, bool* complementUtilise)
{
    QString out;
    qsizetype i = 0;
    while (i < modele.size()) {
        const auto marker = [&](QLatin1StringView m) { return QStringView(modele).sliced(i).startsWith(m); };
        if (marker(QLatin1StringView("{Ct}"))) {
            out += trimBlanks(complement);
            i += 4;
        } else if (marker(QLatin1StringView("{C}"))) {
            out += complement;
            if (complementUtilise)
                *complementUtilise = true;
            i += 3;
        } else if (marker(QLatin1StringView("{E}"))) {
            out += descriptionErreur;
            i += 3;
        } else if (marker(QLatin1StringView("{PM}"))) {
            out += common::kProgramName.toUpper();
            i += 4;
        } else if (marker(QLatin1StringView("{P}"))) {
            out += common::kProgramName;
            i += 3;
        } else {
            out += modele[i++];
        }
    }
    return out;
}
