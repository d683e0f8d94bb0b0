#include "common/FolderChooser.h"

#include "common/Paths.h"
#include "platform/Drives.h"

#include <QDir>
#include <QFileInfo>

QString common::driveTypeCaption(int type, const QString& racine)
{
    namespace d = platform::drive;
    switch (type) {
    case d::Unknown:
        return QStringLiteral("Type d'unité inconnu");
    case d::NoRoot:
        return QStringLiteral("L'unité n'existe pas");
    case d::Removable: {
        const QString lettre = racine.left(1).toUpper();
        if (racine.mid(1, 1) == QLatin1String(":") &&
            (lettre == QLatin1String("A") || lettre == QLatin1String("B")))
            return QStringLiteral("Disquette");
        return QStringLiteral("Disque extractible");
    }
    case d::Fixed:
        return QStringLiteral("Disque dur (fixe)");
    case d::Remote:
        return QStringLiteral("Unité réseau");
    case d::CdRom:
        return QStringLiteral("CD-Rom");
    case d::RamDisk:
        return QStringLiteral("Unité virtuelle (RAM)");
    default:
        return QString();
    }
}

QString fun_Get_Drive_Type(const QString& chemin)
{
    return common::driveTypeCaption(platform::driveType(common::normalisePath(chemin)), chemin);
}

bool common::canCreateFolderIn(const QString& chemin)
{
    const QString label = fun_Get_Drive_Type(chemin);
    return label == QLatin1String("Disque dur (fixe)") || label == QLatin1String("Unité réseau");
}

QString common::cleanedFolder(const QString& saisi)
{
    const QString t = saisi.trimmed();
    if (t.isEmpty())
        return t;
    return QDir::cleanPath(QFileInfo(common::normalisePath(t)).absoluteFilePath());
}

QString common::startFolder(const QString& dossier, const QString& dernierChoix)
{
    QString chemin = dossier.trimmed();
    if (chemin.isEmpty())
        chemin = dernierChoix.trimmed();
    if (chemin.isEmpty())
        return QDir::rootPath();
    chemin = QDir::cleanPath(QFileInfo(common::normalisePath(chemin)).absoluteFilePath());
    while (!QFileInfo(chemin).isDir()) {
        const QString parent = QFileInfo(chemin).path();
        if (parent == chemin)
            return QDir::rootPath();
        chemin = parent;
    }
    return chemin;
}

QString common::desktopFolder(const QString& location)
{
    if (location.trimmed().isEmpty() || !QFileInfo(location).isDir())
        return QString();
    return cleanedFolder(location);
}
