#include "common/Paths.h"

#include "common/Settings.h"
#include "platform/Dialogs.h"
#include "platform/SaveFile.h"
#include "platform/Services.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {
QString g_dossierProgramme;
}

QString fun_Dossier_Programme() { return g_dossierProgramme; }

void sub_Set_Dossier_Programme(const QString& dossier) { g_dossierProgramme = fun_Chemin_Normalise(dossier); }

QString fun_Dossier_Programme_Par_Defaut()
{
    const QString home = qEnvironmentVariable("MIRELOT_HOME");
    if (!home.isEmpty())
        return fun_Chemin(fun_Chemin_Normalise(home), QStringLiteral("Programme"));
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

namespace {
// The names of the files of a folder (hidden ones included), in no order. A folder of thousands
// of records is read at every refresh of the record list: the names are read without sorting and
// without asking the system about each file more than its kind.
QStringList nomsFichiers(const QString& dossier)
{
    QStringList out;
    QDirIterator it(fun_Chemin_Normalise(dossier), QDir::Files | QDir::Hidden);
    while (it.hasNext()) {
        it.next();
        out << it.fileName();
    }
    return out;
}
} // namespace

QStringList fun_Filtrer_Noms(const QStringList& noms, const QString& masque)
{
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(
                                    masque, QRegularExpression::UnanchoredWildcardConversion),
                                QRegularExpression::CaseInsensitiveOption);
    const QRegularExpression anchored(QRegularExpression::anchoredPattern(re.pattern()),
                                      QRegularExpression::CaseInsensitiveOption);
    QStringList out;
    for (const QString& n : noms)
        if (anchored.match(n).hasMatch())
            out << n;
    return out;
}

QStringList fun_Lister_Fichiers(const QString& dossier, const QString& masque)
{
    // Sorted by name ignoring case, then by name: each name folded once rather than at each
    // comparison.
    std::vector<std::pair<QString, QString>> found;
    for (QString& n : fun_Filtrer_Noms(nomsFichiers(dossier), masque))
        found.emplace_back(n.toCaseFolded(), std::move(n));
    std::sort(found.begin(), found.end());
    QStringList out;
    out.reserve(qsizetype(found.size()));
    for (auto& f : found)
        out << std::move(f.second);
    return out;
}

QString fun_Trouver_Fichier(const QString& dossier, const QString& nom)
{
    const QString folder = fun_Chemin_Normalise(dossier);
    const QString exact = fun_Chemin(folder, nom);
    if (QFileInfo(exact).isFile())
        return exact;
    for (const QString& n : nomsFichiers(folder))
        if (n.compare(nom, Qt::CaseInsensitive) == 0)
            return fun_Chemin(folder, n);
    return QString();
}

QString fun_Chemin_Ecriture(const QString& dossier, const QString& nom)
{
    const QString found = fun_Trouver_Fichier(dossier, nom);
    return found.isEmpty() ? fun_Chemin(fun_Chemin_Normalise(dossier), nom) : found;
}

platform::Result fun_Renommer_Fichier(const QString& source, const QString& cible)
{
    const QFileInfo target(fun_Chemin_Normalise(cible));
    const QString existing = fun_Trouver_Fichier(target.absolutePath(), target.fileName());
    if (!existing.isEmpty() && QFileInfo(existing).canonicalFilePath() != QFileInfo(source).canonicalFilePath())
        return platform::Result::failure(QStringLiteral("Le fichier %1 existe déjà.").arg(existing));
    const QString from = fun_Chemin_Normalise(source);
    if (const int err = platform::renameWithoutReplacing(from, target.filePath()); err != 0)
        return platform::Result::failure(
            QStringLiteral("Le fichier « %1 » ne peut pas être renommé : %2.")
                .arg(QDir::toNativeSeparators(from), platform::fileErrorReason(err)));
    return platform::Result::success();
}

namespace common {

platform::Result takeOverEarlierTables(const QString& executableFolder, const QString& programFolder)
{
    const QString from = fun_Chemin_Normalise(executableFolder);
    const QString to = fun_Chemin_Normalise(programFolder);
    if (from.isEmpty() || to.isEmpty() ||
        QFileInfo(from).canonicalFilePath() == QFileInfo(to).canonicalFilePath())
        return platform::Result::success();
    QStringList failures;
    for (const QString& name : fun_Lister_Fichiers(from, QStringLiteral("*.DOV"))) {
        if (!fun_Trouver_Fichier(to, name).isEmpty())
            continue;
        QDir().mkpath(to);
        const platform::Result copied = platform::saveFileFrom(fun_Chemin(to, name), fun_Chemin(from, name));
        if (!copied)
            failures << copied.error;
    }
    return failures.isEmpty() ? platform::Result::success() : platform::Result::failure(failures.join(u'\n'));
}

void takeOverEarlierTablesAtStart(const QString& executableFolder)
{
    const QString marker = QStringLiteral("Tables reprises");
    if (fun_Get_Setting_Str(gstr_Section_Version, marker, QString()) == QLatin1String("-1"))
        return;
    const platform::Result r = takeOverEarlierTables(executableFolder, fun_Dossier_Programme());
    if (r) {
        static_cast<void>(sub_Reg_Write_HKLM(gstr_Section_Version, marker, QStringLiteral("-1")));
        return;
    }
    platform::dialogs().ask(
        QStringLiteral(
            "Les tables laissées par une version précédente dans le dossier %1 n'ont pas toutes pu être "
            "reprises dans le dossier %2 :\n\n%3\n\nElles restent à leur place ; %4 essaiera de nouveau "
            "au prochain démarrage.")
            .arg(QDir::toNativeSeparators(fun_Chemin_Normalise(executableFolder)),
                 QDir::toNativeSeparators(fun_Dossier_Programme()), r.error, gstr_Nom_Programme),
        platform::mb::OKOnly | platform::mb::Exclamation, gstr_Nom_Programme);
}

} // namespace common
