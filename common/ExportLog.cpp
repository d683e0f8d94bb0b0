#include "common/ExportLog.h"

#include "common/Globals.h"
#include "common/Paths.h"
#include "common/Settings.h"
#include "grid/GridFile.h"
#include "platform/Clock.h"
#include "platform/FileLock.h"
#include "platform/PlainFile.h"
#include "platform/SaveFile.h"
#include "platform/Services.h"

#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <optional>
#include <vector>

using grid::Grid;
using grid::GridFile;

namespace {

// The log of a folder: the existing file whatever the case of its name, or the name as given.
QString cheminLog(const QString& dossier) { return common::writePath(dossier, common::kExportLogFile); }

// The lock two copies of the program take before they rewrite the log of a folder: one name
// whatever the case of the log's, so that both take the same.
QString logLockPath(const QString& dossier)
{
    return common::joinPath(common::normalisePath(dossier), common::kExportLogFile + QStringLiteral(".lock"));
}

// The bytes of the log, nothing when there is no log. A log that is no plain file of the folder
// (a link, a FIFO, a device, a folder), or one over the bound given, is neither read nor written:
// the reason says why, naming the log.
platform::ResultOf<std::optional<QByteArray>> lireOctets(const QString& chemin, qint64 borne)
{
    return platform::readPlainFile(chemin, borne, QStringLiteral("un journal des exportations"));
}

// The date of a log line as a number that orders as the dates do (yyyyMMddHHmmss), 0 for a text
// that is no date of the log's format (kExportLogDateFormat, "dd/MM/yyyy HH:mm:ss"): the dates
// exportLogDate reads, without the cost of making each a date of the local time zone (tens of
// microseconds, seconds for a log of some 100,000 lines).
qint64 cleDate(QByteArrayView texte)
{
    texte = texte.trimmed();
    if (texte.size() != 19)
        return 0;
    for (qsizetype i = 0; i < texte.size(); ++i) {
        const char c = texte[i];
        const char attendu = i == 2 || i == 5 ? '/' : i == 10 ? ' ' : i == 13 || i == 16 ? ':' : '0';
        if (attendu != '0' ? c != attendu : c < '0' || c > '9')
            return 0;
    }
    auto nombre = [&](qsizetype debut, qsizetype taille) {
        int n = 0;
        for (qsizetype i = debut; i < debut + taille; ++i)
            n = n * 10 + (texte[i] - '0');
        return n;
    };
    const int jour = nombre(0, 2), mois = nombre(3, 2), annee = nombre(6, 4);
    const int heure = nombre(11, 2), minute = nombre(14, 2), seconde = nombre(17, 2);
    if (!QDate::isValid(annee, mois, jour) || !QTime::isValid(heure, minute, seconde))
        return 0;
    qint64 cle = 0;
    for (const int n : {annee, mois, jour, heure, minute, seconde})
        cle = cle * 100 + n;
    return cle;
}

// A line of the log as its writers trim it: its bytes with its line end, its file name and its
// date (cleDate: 0 when it cannot be read, so that it counts as the oldest).
struct Ligne
{
    qsizetype debut = 0;
    qsizetype taille = 0;
    QString nom;
    qint64 date = 0;
};

QList<Ligne> decouper(const QByteArray& contenu)
{
    QList<Ligne> lignes;
    for (qsizetype debut = 0; debut < contenu.size();) {
        const qsizetype lf = contenu.indexOf('\n', debut);
        const qsizetype fin = lf < 0 ? contenu.size() : lf + 1;
        QByteArrayView texte(contenu.constData() + debut, fin - debut);
        while (texte.endsWith('\n') || texte.endsWith('\r'))
            texte.chop(1);
        const qsizetype tab = texte.indexOf('\t');
        QByteArrayView date = tab < 0 ? QByteArrayView() : texte.sliced(tab + 1);
        if (const qsizetype autre = date.indexOf('\t'); autre >= 0)
            date.truncate(autre);
        lignes.append(
            {debut, fin - debut, QString::fromUtf8(tab < 0 ? texte : texte.first(tab)), cleDate(date)});
        debut = fin;
    }
    return lignes;
}

// The log made of an export's lines (nouvelles, kept whatever) and of the older lines, within
// the bound, as the header says: when both pass it, one line per file name, then the oldest lines
// go. Among lines of one name and date, the first in the log is kept; among lines of one date, the
// last goes first. The reason names the log when the export's lines alone pass the bound.
platform::ResultOf<QByteArray> dansLaBorne(const QByteArray& nouvelles, const QByteArray& anciennes,
                                           const QString& chemin)
{
    using Contenu = platform::ResultOf<QByteArray>;
    const qint64 borne = common::kExportLogMaxBytes;
    if (nouvelles.size() + anciennes.size() <= borne)
        return Contenu::success(nouvelles + anciennes);
    if (nouvelles.size() > borne)
        return Contenu::failure(platform::writeFailureText(
            chemin, QStringLiteral("les lignes de cette exportation dépassent à elles seules la taille "
                                   "permise au journal (%1 octets, %2 au plus)")
                        .arg(nouvelles.size())
                        .arg(borne)));
    QHash<QString, qsizetype> plusRecente; // of each name, its newest line
    for (const Ligne& l : decouper(nouvelles))
        plusRecente.insert(l.nom, -1); // the export's own
    const QList<Ligne> lignes = decouper(anciennes);
    for (qsizetype i = 0; i < lignes.size(); ++i) {
        const auto vue = plusRecente.constFind(lignes[i].nom);
        if (vue == plusRecente.cend())
            plusRecente.insert(lignes[i].nom, i);
        else if (*vue >= 0 && lignes[i].date > lignes[*vue].date)
            plusRecente[lignes[i].nom] = i;
    }
    std::vector<qsizetype> gardees;
    qint64 taille = nouvelles.size();
    for (const qsizetype i : std::as_const(plusRecente))
        if (i >= 0) {
            gardees.push_back(i);
            taille += lignes[i].taille;
        }
    // The oldest first; among lines of one date, the last of the log first.
    std::sort(gardees.begin(), gardees.end(), [&](qsizetype a, qsizetype b) {
        return lignes[a].date != lignes[b].date ? lignes[a].date < lignes[b].date : a > b;
    });
    auto reste = gardees.begin();
    for (; reste != gardees.end() && taille > borne; ++reste)
        taille -= lignes[*reste].taille;
    std::vector<qsizetype> dansLOrdre(reste, gardees.end());
    std::sort(dansLOrdre.begin(), dansLOrdre.end());
    QByteArray contenu;
    contenu.reserve(taille);
    contenu += nouvelles;
    for (const qsizetype i : dansLOrdre)
        contenu += QByteArrayView(anciennes.constData() + lignes[i].debut, lignes[i].taille);
    return Contenu::success(std::move(contenu));
}

} // namespace

QDateTime common::exportLogDate(const QString& texte)
{
    return QDateTime::fromString(texte.trimmed(), common::kExportLogDateFormat);
}

platform::ResultOf<QList<common::ExportLogLine>> common::readExportLog(const QString& dossier)
{
    using Lignes = platform::ResultOf<QList<common::ExportLogLine>>;
    const QString chemin = cheminLog(dossier);
    const platform::ResultOf<std::optional<QByteArray>> octets =
        lireOctets(chemin, common::kExportLogMaxBytes);
    if (!octets)
        return Lignes::failure(octets.result);
    if (!octets.value)
        return Lignes::success({});
    QStringDecoder dec(QStringDecoder::Utf8);
    const QString texte = dec.decode(*octets.value);
    if (dec.hasError())
        return Lignes::failure(
            platform::readFailureText(chemin, QStringLiteral("ce n'est pas un texte UTF-8")));
    QList<common::ExportLogLine> lignes;
    for (QStringView ligne : QStringView(texte).split(u'\n')) {
        if (ligne.endsWith(u'\r'))
            ligne.chop(1);
        const qsizetype tab = ligne.indexOf(u'\t');
        if (tab < 0)
            continue;
        QStringView date = ligne.mid(tab + 1);
        const qsizetype autre = date.indexOf(u'\t');
        if (autre >= 0)
            date = date.left(autre);
        lignes.append({ligne.left(tab).toString(), date.toString()});
    }
    return Lignes::success(std::move(lignes));
}

namespace common {

platform::Result logExports(const QString& dossier, const QStringList& nomsFichiers)
{
    if (nomsFichiers.isEmpty())
        return platform::Result::success();
    // Under the lock, the log as it is now (another copy may have written it since) gets this
    // run's lines and nothing else.
    platform::FileLock lock(logLockPath(dossier), cheminLog(dossier));
    if (platform::Result locked = lock.lock(); !locked)
        return locked;
    const QString chemin = cheminLog(dossier);
    const platform::ResultOf<std::optional<QByteArray>> anciennes =
        lireOctets(chemin, common::kExportLogReadMaxBytes);
    if (!anciennes)
        return anciennes.result;
    const QString date = platform::clock().now().toString(common::kExportLogDateFormat);
    QByteArray nouvelles;
    for (auto nom = nomsFichiers.crbegin(); nom != nomsFichiers.crend(); ++nom)
        nouvelles += (*nom + u'\t' + date + QStringLiteral("\r\n")).toUtf8();
    const platform::ResultOf<QByteArray> contenu =
        dansLaBorne(nouvelles, anciennes.value.value_or(QByteArray()), chemin);
    if (!contenu)
        return contenu.result;
    return platform::saveFile(chemin, contenu.value);
}

} // namespace common

platform::Result sub_Log_Export(const QString& nomFichier)
{
    const QString dossier =
        fun_Get_Setting_Str(common::kParametersSection, QStringLiteral("Dossier"), gstr_Dossier);
    return common::logExports(dossier, {nomFichier});
}

platform::Result sub_Load_Log_Export(const QString& dossier, Grid& travail)
{
    travail.setRedraw(false);
    travail.clear();
    travail.setFixedRows(0);
    travail.setFixedCols(0);
    travail.setRows(1);
    travail.setCols(3);
    travail.setFixedRows(1);
    travail.setFixedCols(1);
    travail.setRedraw(true);

    // Under the lock, the log as it is now is read and compacted; without the lock the grid is
    // still filled, and the log is left as it is.
    platform::FileLock lock(logLockPath(dossier), cheminLog(dossier));
    const platform::Result locked = lock.lock();
    const QString chemin = cheminLog(dossier);
    const platform::ResultOf<std::optional<QByteArray>> octets =
        lireOctets(chemin, common::kExportLogReadMaxBytes);
    if (!octets)
        return octets.result;
    if (octets.value) {
        if (platform::Result lu = GridFile::fromText(travail, *octets.value, GridFile::TabText, chemin); !lu)
            return lu;
    }
    if (travail.cols() < 3)
        travail.setCols(3);
    travail.setColDataType(1, Grid::DataType::String);
    travail.setColDataType(2, Grid::DataType::Date);
    const int derniere = travail.rows() - 1;
    if (derniere > travail.fixedRows()) {
        travail.select(travail.fixedRows(), 0, derniere, 2);
        travail.sort(Grid::Sort::GenericDescending);
    }
    // Of the rows of one name, now together, the first is kept: the rows kept move up in one pass
    // (a row removed at a time would move all those below it, each time).
    travail.setRedraw(false);
    int gardees = travail.fixedRows() + 1;
    for (int r = gardees; r <= derniere; ++r)
        if (travail.cell(r, 1) != travail.cell(gardees - 1, 1)) {
            for (int c = 0; r != gardees && c < travail.cols(); ++c)
                travail.setCell(gardees, c, travail.cell(r, c));
            ++gardees;
        }
    travail.setRows(std::min(gardees, travail.rows()));
    travail.setRedraw(true);
    if (!locked)
        return locked;
    const platform::ResultOf<QByteArray> texte = GridFile::encode(travail, chemin, GridFile::TabText);
    if (!texte)
        return texte.result;
    const platform::ResultOf<QByteArray> contenu = dansLaBorne({}, texte.value, chemin);
    if (!contenu)
        return contenu.result;
    if (contenu.value.size() < texte.value.size()) { // lines gone: the grid holds those written
        travail.setRows(travail.fixedRows());
        if (platform::Result relu = GridFile::fromText(travail, contenu.value, GridFile::TabText, chemin);
            !relu)
            return relu;
    }
    return platform::saveFile(chemin, contenu.value);
}
