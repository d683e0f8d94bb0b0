#include "mainwindow/Documentation.h"

#include <QDir>

namespace mainwindow {

QStringList fun_Liste_Documents(const QString& dossier)
{
    if (dossier.isEmpty())
        return {};
    const QDir dir(dossier);
    QStringList names;
    const QStringList entries = dir.entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QString& name : entries) {
        if (name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
            names << name;
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
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
