#pragma once
// Configuration of the settings window: the national coordination mailboxes that the address
// book always holds, and where the sibling product Gadrel keeps what the identification reads.
// Change these lines, and only these, when a survey's coordination or the sibling product moves.

#include <QString>
#include <QStringList>

namespace param {

// The national coordinators' mailboxes of the SHOC and STOC-EPS schemes. The address book always
// holds the SHOC one; a ticked STOC-EPS one is switched to the SHOC one.
inline const QString gstr_Adresse_Coordination_SHOC =
    QStringLiteral("coordination.shoc@mirelot.example");
inline const QString gstr_Adresse_Coordination_STOC_EPS =
    QStringLiteral("coordination.stoc-eps@mirelot.example");

// The sibling product's settings: its program name in the settings store, the section of its
// first database, the values read and their defaults ("Fin": the product is not installed).
inline const QString gstr_Programme_Gadrel = QStringLiteral("Gadrel");
inline const QString gstr_Section_Gadrel = QStringLiteral("Références fichiers\\#1");
inline const QString gstr_Valeur_Moteur = QStringLiteral("Moteur");
inline const QString gstr_Moteur_Absent = QStringLiteral("Fin");
inline const QString gstr_Valeur_Base = QStringLiteral("Base");
inline const QString gstr_Base_Absente = QStringLiteral("Non applicable");

// The sibling product's table of computers and the fields read from it.
inline const QString gstr_Table_Ordinateurs = QStringLiteral("TPOrdinateurs");
inline const QString gstr_Champ_Organisme = QStringLiteral("Organisme");
inline const QString gstr_Champ_CPU = QStringLiteral("CPU");
inline const QString gstr_Champ_Ordinateur = QStringLiteral("Ordinateur");

// The choice of computer is kept in "Paramètres" under these names followed by the scheme.
inline const QString gstr_Valeur_Choix_CPU = QStringLiteral("Indentification de votre Gadrel : CPU ");
inline const QString gstr_Valeur_Choix_Organisme =
    QStringLiteral("Indentification de votre Gadrel : Organisme ");

// The data folder's setting in "Paramètres".
inline const QString gstr_Valeur_Dossier = QStringLiteral("Dossier");

// Extra width given to every column fitted to its contents, in twips.
inline constexpr int gint_Marge_Colonnes_Twips = 240;
// Rows of the table a settings window shows when it opens: all of them between these bounds.
inline constexpr int gint_Lignes_Ouverture_Min = 8;
inline constexpr int gint_Lignes_Ouverture_Max = 20;
// Font size of every cell after a save of the species table, in points.
inline constexpr double gdbl_Taille_Police_Especes = 8.25;

} // namespace param
