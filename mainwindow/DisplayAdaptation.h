#pragma once
// What the main window shows of this program: its caption (with the command line and the
// administrator mode) and the captions of the items that depend on the program.

#include <QString>

namespace mainwindow {

inline const QString gstr_Libelle_EPS = QStringLiteral("Gestion des relevés");
inline const QString gstr_Libelle_Saisie_SHOC =
    QStringLiteral("Relevés du programme Mirelot - Suivi hivernal des oiseaux des champs");
inline const QString gstr_Valeur_PSWD = QStringLiteral("PSWD");

// "A propos de Mirelot"
QString fun_Libelle_A_Propos();

// The administrator mode is on when the stored "PSWD" equals the access code exactly (letter
// case included).
bool fun_Mode_Administrateur(const QString& pswd);

// "Mirelot [Suivi hivernal des oiseaux des champs] - Z2010-G"; when the command line, without
// its blanks at both ends, is not empty, "     / " and the command line as given are
// appended; then " - Mode Administrateur" in the administrator mode.
QString fun_Titre_Menu(const QString& ligneCommande, bool administrateur);

} // namespace mainwindow
