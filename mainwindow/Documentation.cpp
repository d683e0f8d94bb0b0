#include "mainwindow/Documentation.h"

#include "common/Paths.h"

namespace mainwindow {

QStringList listDocuments(const QString& dossier)
{
    if (dossier.isEmpty())
        return {};
    QStringList names = common::listFiles(dossier, QStringLiteral("*.PDF"));
    if (names.size() > kMaxDocuments)
        names.erase(names.begin() + kMaxDocuments, names.end());
    return names;
}

QString documentMenuCaption(const QString& nomFichier)
{
    QString caption = nomFichier;
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return caption;
}

} // namespace mainwindow
