#include "mainwindow/DisplayAdaptation.h"

#include "common/Globals.h"
#include "mainwindow/Editeur.h"

namespace mainwindow {

QString fun_Libelle_A_Propos() { return QStringLiteral("A propos de ") + gstr_Nom_Programme; }

bool fun_Mode_Administrateur(const QString& pswd) { return pswd == gstr_Code_Administrateur; }

QString fun_Titre_Menu(const QString& ligneCommande, bool administrateur)
{
    QString caption = gstr_Nom_Programme + QStringLiteral(" [") + gstr_Titre_Long + QStringLiteral("] - ")
                      + gstr_Version_Programme + QLatin1Char('-') + gstr_Release_Programme;
    if (!ligneCommande.trimmed().isEmpty())
        caption += QStringLiteral("     / ") + ligneCommande;
    if (administrateur)
        caption += QStringLiteral(" - Mode Administrateur");
    return caption;
}

} // namespace mainwindow
