#include "common/Globals.h"

QString gstr_Dossier;
QString gstr_Dossier_Choisi;
qint16 gint_Réponse_Dialogue = 0;
grid::Grid* gobj_Grille_Liste = nullptr;
bool gbol_Erreur_MAPI = false;

bool gbol_Excel_Disponible = false;
QString gstr_Version_Excel = QStringLiteral("?");
qint32 glng_Lignes_Par_Feuille = 32000;
QString gstr_Police_Excel = QStringLiteral("MS Sans Serif");
qint32 glng_Taille_Police_Excel = 8;
bool gbol_Gras_Excel = false;
bool gbol_Italique_Excel = false;

void common::resetGlobals()
{
    gstr_Dossier.clear();
    gstr_Dossier_Choisi.clear();
    gint_Réponse_Dialogue = 0;
    gobj_Grille_Liste = nullptr;
    gbol_Erreur_MAPI = false;
    gbol_Excel_Disponible = false;
    gstr_Version_Excel = QStringLiteral("?");
    glng_Lignes_Par_Feuille = 32000;
    gstr_Police_Excel = QStringLiteral("MS Sans Serif");
    glng_Taille_Police_Excel = 8;
    gbol_Gras_Excel = false;
    gbol_Italique_Excel = false;
}
