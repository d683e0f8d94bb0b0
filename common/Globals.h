#pragma once
// The program-wide variables, all in one place. Each is set by the window or step named beside
// it and read by the others.

#include <QString>

namespace grid {
class Grid;
}

namespace common {

// The program's name: settings key, box titles, file names.
inline const QString kProgramName = QStringLiteral("Mirelot");
// Version and release stamped at every start.
inline const QString kProgramVersion = QStringLiteral("Z2010");
inline const QString kProgramRelease = QStringLiteral("G");
// The program's version numbers, shown by the about box and the wait window.
inline constexpr int kVersionMajor = 2010;
inline constexpr int kVersionMinor = 2;
inline constexpr int kVersionRevision = 181;

// Puts every variable back to its value at program start (used by tests).
void resetGlobals();

} // namespace common

// The data folder, without a trailing separator (start-up, settings window).
extern QString gstr_Dossier;
// The folder accepted in the data-folder chooser, "" when the user cancelled; written by the
// chooser, whose next opening starts there. Callers take the folder the chooser returns.
extern QString gstr_Dossier_Choisi;
// The answer the main window gives the question box.
extern qint16 gint_Réponse_Dialogue;
// The record list's grid, for the bulk update of the main window's pop-up menu.
extern grid::Grid* gobj_Grille_Liste;
// The e-mail session's failure flag.
extern bool gbol_Erreur_MAPI;

// Workbook writer state, set once at start-up and read at each export.
extern bool gbol_Excel_Disponible;
extern QString gstr_Version_Excel;
// Rows on one sheet; glng_Lignes_Max_Feuille is the same variable under its other name.
extern qint32 glng_Lignes_Par_Feuille;
inline qint32& glng_Lignes_Max_Feuille = glng_Lignes_Par_Feuille;
extern QString gstr_Police_Excel;
extern qint32 glng_Taille_Police_Excel;
extern bool gbol_Gras_Excel;
extern bool gbol_Italique_Excel;
