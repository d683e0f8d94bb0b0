#pragma once
// What the main window shows of this program: its caption (with the command line and the
// administrator mode) and the captions of the items that depend on the program.

#include <QString>

namespace common {

inline const QString kEpsCaption = QStringLiteral("Gestion des relevés");
inline const QString kShocEntryCaption =
    QStringLiteral("Relevés du programme Mirelot - Suivi hivernal des oiseaux des champs");
inline const QString kPasswordValue = QStringLiteral("PSWD");

// "A propos de Mirelot"
QString aboutItemCaption();

// The administrator mode is on when the stored "PSWD" equals the access code exactly (letter
// case included).
bool isAdministratorMode(const QString& pswd);

// "Mirelot [Suivi hivernal des oiseaux des champs] - Z2010-G"; when the command line, without
// its blanks at both ends, is not empty, "     / " and the command line as given are
// appended; then " - Mode Administrateur" in the administrator mode.
QString mainWindowTitle(const QString& ligneCommande, bool administrateur);

} // namespace common
