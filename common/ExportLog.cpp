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

#include <QStringDecoder>
#include <optional>

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
// (a link, a FIFO, a device, a folder), or one over the bound, is neither read nor written: the
// reason says why, naming the log.
platform::ResultOf<std::optional<QByteArray>> lireOctets(const QString& chemin)
{
    return platform::readPlainFile(chemin, common::kExportLogMaxBytes,
                                   QStringLiteral("un journal des exportations"));
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
    const platform::ResultOf<std::optional<QByteArray>> octets = lireOctets(chemin);
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
    const platform::ResultOf<std::optional<QByteArray>> anciennes = lireOctets(chemin);
    if (!anciennes)
        return anciennes.result;
    const QString date = platform::clock().now().toString(common::kExportLogDateFormat);
    QByteArray contenu;
    for (auto nom = nomsFichiers.crbegin(); nom != nomsFichiers.crend(); ++nom)
        contenu += (*nom + u'\t' + date + QStringLiteral("\r\n")).toUtf8();
    return platform::saveFile(chemin, contenu + anciennes.value.value_or(QByteArray()));
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
    const platform::ResultOf<std::optional<QByteArray>> octets = lireOctets(chemin);
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
    for (int r = derniere; r > travail.fixedRows(); --r)
        if (travail.cell(r, 1) == travail.cell(r - 1, 1))
            travail.removeRow(r);
    if (!locked)
        return locked;
    return GridFile::save(travail, chemin, GridFile::TabText);
}
