#include "mainwindow/AboutTexts.h"

#include "common/Globals.h"
#include "mainwindow/Editeur.h"

namespace mainwindow {

QString fun_Texte_Version()
{
    return QStringLiteral("Version : ") + gstr_Version_Programme + QLatin1Char('-') + gstr_Release_Programme
           + QStringLiteral("   Révision : ") + QString::number(gint_Version_Révision);
}

QString fun_Texte_Pub()
{
    return gstr_Nom_Programme + QStringLiteral(" - ") + gstr_Titre_Long + QStringLiteral(" -\n")
           + QStringLiteral("est un module complémentaire à\n") + gstr_Famille_Produit + QStringLiteral(" -,\n")
           + QStringLiteral("logiciel dédié à la gestion des données naturalistes.");
}

QString fun_Texte_Credit()
{
    return QStringLiteral("Créé à l'origine pour ") + gstr_Association + QStringLiteral("\npar ")
           + gstr_Nom_Editeur + QStringLiteral("\n\n") + gstr_Nom_Editeur + QLatin1Char('\n')
           + gstr_Adresse_Editeur + QLatin1Char('\n') + gstr_Telephone_Editeur + QLatin1Char('\n')
           + gstr_Courriel_Editeur;
}

QString fun_Titre_Wait()
{
    return gstr_Nom_Programme + QLatin1Char(' ') + QString::number(gint_Version_Majeure) + QLatin1Char('.')
           + QString::number(gint_Version_Mineure) + QLatin1Char('.') + QString::number(gint_Version_Révision);
}

QString fun_Texte_Wait()
{
    const QChar cr(13);
    return QStringLiteral("Transformation des fichiers FLX") + cr + QStringLiteral("au format FLX2009 compatible")
           + cr + QStringLiteral("avec ") + gstr_Nom_Programme + QStringLiteral("  V2009") + cr + cr
           + QStringLiteral("VEUILLEZ PATIENTER");
}

} // namespace mainwindow
