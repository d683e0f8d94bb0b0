#include "mainwindow/Documentation.h"

#include "common/Paths.h"

namespace mainwindow {

QStringList fun_Liste_Documents(const QString& dossier)
{
    if (dossier.isEmpty())
        return {};
    QStringList names = fun_Lister_Fichiers(dossier, QStringLiteral("*.PDF"));
    if (names.size() > gint_Nbr_Documents_Max)
        names.erase(names.begin() + gint_Nbr_Documents_Max, names.end());
    return names;
}

QString fun_Libelle_Menu(const QString& nomFichier)
{
    QString caption = nomFichier;
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return caption;
}

} // namespace mainwindow
