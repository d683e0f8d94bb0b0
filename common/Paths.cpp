#include "common/Paths.h"

#include "common/Globals.h"
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
QString g_programFolder;
}

QString common::programFolder() { return g_programFolder; }

void common::setProgramFolder(const QString& dossier) { g_programFolder = common::normalisePath(dossier); }

QString common::defaultProgramFolder()
{
    const QString home = qEnvironmentVariable("MIRELOT_HOME");
    if (!home.isEmpty())
        return common::joinPath(common::normalisePath(home), QStringLiteral("Programme"));
    return common::normalisePath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString common::normalisePath(const QString& chemin)
{
    if (chemin.isEmpty())
        return chemin;
    QString p = chemin;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::cleanPath(p);
}

QString common::joinPath(const QString& dossier, const QString& fichier)
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
QStringList fileNames(const QString& dossier)
{
    QStringList out;
    QDirIterator it(common::normalisePath(dossier), QDir::Files | QDir::Hidden);
    while (it.hasNext()) {
        it.next();
        out << it.fileName();
    }
    return out;
}

// A name that stands for no file of the folder, or for another folder's.
bool leadsElsewhere(const QString& nom)
{
    return nom.isEmpty() || nom == QLatin1String(".") || nom == QLatin1String("..") ||
           nom.contains(QLatin1Char('/'));
}
} // namespace

QStringList common::filterNames(const QStringList& noms, const QString& masque)
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

QStringList common::listFiles(const QString& dossier, const QString& masque)
{
    // Sorted by name ignoring case, then by name: each name folded once rather than at each
    // comparison.
    std::vector<std::pair<QString, QString>> found;
    for (QString& n : common::filterNames(fileNames(dossier), masque))
        found.emplace_back(n.toCaseFolded(), std::move(n));
    std::sort(found.begin(), found.end());
    QStringList out;
    out.reserve(qsizetype(found.size()));
    for (auto& f : found)
        out << std::move(f.second);
    return out;
}

platform::Result common::checkPlainName(const QString& dossier, const QString& nom)
{
    const QString folder = QDir::toNativeSeparators(common::normalisePath(dossier));
    if (nom.contains(QLatin1Char('\\')))
        return platform::Result::failure(
            QStringLiteral("Le fichier « %1 » du dossier « %2 » est laissé de côté : son nom contient "
                           "« \\ », que %3 lit comme un séparateur de dossiers. Renommez-le sans ce "
                           "caractère.")
                .arg(nom, folder, common::kProgramName));
    if (leadsElsewhere(nom))
        return platform::Result::failure(
            QStringLiteral("Le nom « %1 » ne désigne pas un fichier du dossier « %2 ».").arg(nom, folder));
    return platform::Result::success();
}

QString common::findFile(const QString& dossier, const QString& nom)
{
    if (leadsElsewhere(nom))
        return QString();
    const QString folder = common::normalisePath(dossier);
    const QString exact = common::joinPath(folder, nom);
    if (QFileInfo(exact).isFile())
        return exact;
    for (const QString& n : fileNames(folder))
        if (n.compare(nom, Qt::CaseInsensitive) == 0)
            return common::joinPath(folder, n);
    return QString();
}

QString common::writePath(const QString& dossier, const QString& nom)
{
    const QString found = common::findFile(dossier, nom);
    return found.isEmpty() ? common::joinPath(common::normalisePath(dossier), nom) : found;
}

platform::Result common::renameFile(const QString& source, const QString& cible)
{
    const QFileInfo from(source);
    const QFileInfo target(cible);
    for (const QFileInfo& f : {from, target})
        if (platform::Result plain = checkPlainName(f.path(), f.fileName()); !plain)
            return plain;
    const QString existing = common::findFile(target.path(), target.fileName());
    if (!existing.isEmpty() && QFileInfo(existing).canonicalFilePath() != from.canonicalFilePath())
        return platform::Result::failure(QStringLiteral("Le fichier %1 existe déjà.").arg(existing));
    if (const int err = platform::renameWithoutReplacing(source, cible); err != 0)
        return platform::Result::failure(
            QStringLiteral("Le fichier « %1 » ne peut pas être renommé : %2.")
                .arg(QDir::toNativeSeparators(source), platform::fileErrorReason(err)));
    return platform::Result::success();
}

namespace common {

platform::Result takeOverEarlierTables(const QString& executableFolder, const QString& programFolder)
{
    const QString from = common::normalisePath(executableFolder);
    const QString to = common::normalisePath(programFolder);
    if (from.isEmpty() || to.isEmpty() ||
        QFileInfo(from).canonicalFilePath() == QFileInfo(to).canonicalFilePath())
        return platform::Result::success();
    QStringList failures;
    for (const QString& name : common::listFiles(from, QStringLiteral("*.DOV"))) {
        if (!common::findFile(to, name).isEmpty())
            continue;
        QDir().mkpath(to);
        const platform::Result copied =
            platform::saveFileFrom(common::joinPath(to, name), common::joinPath(from, name));
        if (!copied)
            failures << copied.error;
    }
    return failures.isEmpty() ? platform::Result::success() : platform::Result::failure(failures.join(u'\n'));
}

void takeOverEarlierTablesAtStart(const QString& executableFolder)
{
    const QString marker = QStringLiteral("Tables reprises");
    if (fun_Get_Setting_Str(common::kVersionSection, marker, QString()) == QLatin1String("-1"))
        return;
    const platform::Result r = takeOverEarlierTables(executableFolder, common::programFolder());
    if (r) {
        static_cast<void>(sub_Reg_Write_HKLM(common::kVersionSection, marker, QStringLiteral("-1")));
        return;
    }
    platform::dialogs().ask(
        QStringLiteral(
            "Les tables laissées par une version précédente dans le dossier %1 n'ont pas toutes pu être "
            "reprises dans le dossier %2 :\n\n%3\n\nElles restent à leur place ; %4 essaiera de nouveau "
            "au prochain démarrage.")
            .arg(QDir::toNativeSeparators(common::normalisePath(executableFolder)),
                 QDir::toNativeSeparators(common::programFolder()), r.error, common::kProgramName),
        platform::mb::OKOnly | platform::mb::Exclamation, common::kProgramName);
}

} // namespace common
