#include "common/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {
QString g_dossierProgramme;
}

QString fun_Dossier_Programme() { return g_dossierProgramme; }

void sub_Set_Dossier_Programme(const QString& dossier) { g_dossierProgramme = fun_Chemin_Normalise(dossier); }

QString fun_Dossier_Programme_Par_Defaut(const QString& dossierExecutable)
{
    const QFileInfo exe(dossierExecutable);
    if (exe.isDir() && exe.isWritable())
        return fun_Chemin_Normalise(dossierExecutable);
    return fun_Chemin_Normalise(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString fun_Chemin_Normalise(const QString& chemin)
{
    if (chemin.isEmpty())
        return chemin;
    QString p = chemin;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::cleanPath(p);
}

QString fun_Chemin(const QString& dossier, const QString& fichier)
{
    QString d = dossier;
    d.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (d.size() > 1 && d.endsWith(QLatin1Char('/')))
        d.chop(1);
    if (d.isEmpty())
        return fichier;
    if (d == QLatin1String("/"))
        return d + fichier;
    return d + QLatin1Char('/') + fichier;
}

QStringList fun_Lister_Fichiers(const QString& dossier, const QString& masque)
{
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(
                                    masque, QRegularExpression::UnanchoredWildcardConversion),
                                QRegularExpression::CaseInsensitiveOption);
    const QRegularExpression anchored(QRegularExpression::anchoredPattern(re.pattern()),
                                      QRegularExpression::CaseInsensitiveOption);
    QStringList out;
    const QStringList names = QDir(fun_Chemin_Normalise(dossier)).entryList(QDir::Files | QDir::Hidden);
    for (const QString& n : names)
        if (anchored.match(n).hasMatch())
            out << n;
    std::sort(out.begin(), out.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return out;
}

QString fun_Trouver_Fichier(const QString& dossier, const QString& nom)
{
    const QString folder = fun_Chemin_Normalise(dossier);
    const QString exact = fun_Chemin(folder, nom);
    if (QFileInfo(exact).isFile())
        return exact;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString& n : names)
        if (n.compare(nom, Qt::CaseInsensitive) == 0)
            return fun_Chemin(folder, n);
    return QString();
}

QString fun_Chemin_Ecriture(const QString& dossier, const QString& nom)
{
    const QString found = fun_Trouver_Fichier(dossier, nom);
    return found.isEmpty() ? fun_Chemin(fun_Chemin_Normalise(dossier), nom) : found;
}

bool fun_Renommer_Fichier(const QString& source, const QString& cible, QString* erreur)
{
    const QFileInfo target(fun_Chemin_Normalise(cible));
    const QString existing = fun_Trouver_Fichier(target.absolutePath(), target.fileName());
    if (!existing.isEmpty() && QFileInfo(existing).canonicalFilePath() != QFileInfo(source).canonicalFilePath()) {
        if (erreur)
            *erreur = QStringLiteral("Le fichier %1 existe déjà.").arg(existing);
        return false;
    }
    QFile f(fun_Chemin_Normalise(source));
    if (!f.rename(target.filePath())) {
        if (erreur)
            *erreur = f.errorString();
        return false;
    }
    return true;
}
