#include "recordlist/OlderFileConversion.h"

#include "common/Globals.h"
#include "common/Paths.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "platform/Dialogs.h"
#include "platform/FileLock.h"
#include "platform/PlainFile.h"
#include "platform/SaveFile.h"
#include "platform/Services.h"
#include "record/RecordStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace recordlist {

namespace {

QString notConverted(const QString& fileName, const QString& why)
{
    return QStringLiteral("Le fichier « %1 » n'est pas converti : %2").arg(fileName, why);
}

bool sameCells(const grid::Grid& a, const grid::Grid& b)
{
    if (a.rows() != b.rows() || a.cols() != b.cols())
        return false;
    for (int r = 0; r < a.rows(); ++r)
        for (int c = 0; c < a.cols(); ++c)
            if (a.cell(r, c) != b.cell(r, c))
                return false;
    return true;
}

// Whether the record at `record` holds the older file's cells: a conversion cut off before the
// older file was set aside. Both files are read within the bounds of a record; the reason when the
// older file cannot be read so. A record that cannot be read holds nothing of it.
platform::ResultOf<bool> alreadyConverted(const QString& older, const QString& record)
{
    grid::Grid was, now;
    if (platform::Result r =
            grid::GridFile::load(was, older, grid::GridFile::Complete, record::RecordStore::fileBounds());
        !r)
        return platform::ResultOf<bool>::failure(std::move(r));
    return platform::ResultOf<bool>::success(
        grid::GridFile::load(now, record, grid::GridFile::Complete, record::RecordStore::fileBounds()).ok &&
        sameCells(was, now));
}

// A copy of the older file's bytes under a name of its own, never over another file.
platform::Result copyAsNew(const QString& source, const QString& copy)
{
    const grid::GridFile::Bounds bounds = record::RecordStore::fileBounds();
    const platform::ResultOf<std::optional<QByteArray>> bytes =
        platform::readPlainFile(source, bounds.bytes, bounds.kind);
    if (!bytes)
        return bytes.result;
    if (!bytes.value)
        return platform::Result::failure(
            platform::readFailureText(source, QStringLiteral("il n'existe pas")));
    return platform::saveNewFile(copy, *bytes.value);
}

// The backup folder holds a copy of the file's bytes under its name in capitals.
bool backedUp(const QString& backupFolder, const QString& capitals, const QString& source)
{
    const QString backup = common::findFile(backupFolder, capitals);
    if (backup.isEmpty())
        return false;
    QFile a(backup), b(source);
    return a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly) && a.size() == b.size() &&
           a.readAll() == b.readAll();
}

} // namespace

ConversionReport convertOlderFiles(const QString& dataFolder, ConversionObserver* observer)
{
    return convertOlderFiles(dataFolder, common::listFiles(dataFolder, kOlderMask), observer);
}

ConversionReport convertOlderFiles(const QString& dataFolder, const QStringList& names,
                                   ConversionObserver* observer)
{
    ConversionReport out;
    if (names.isEmpty())
        return out;
    if (observer)
        observer->conversionBegins(int(names.size()));
    const QString backupFolder = common::joinPath(dataFolder, kBackupFolder);
    QDir().mkpath(backupFolder);
    const QString lockFile = common::joinPath(dataFolder, kConversionLockFile);

    for (int i = 0; i < names.size(); ++i) {
        const QString& name = names[i];
        if (observer)
            observer->converting(i, name);
        const QString source = common::joinPath(dataFolder, name);
        const QString capitals = name.toUpper();
        const QString target = capitals + QStringLiteral("2009");
        auto skip = [&](const QString& why) { out.skipped.append({name, why}); };
        if (const platform::Result plain = common::checkPlainName(dataFolder, name); !plain) {
            skip(plain.error);
            continue;
        }
        platform::FileLock lock(lockFile, lockFile);
        if (const platform::Result locked = lock.lock(); !locked && !lock.failedAsBefore())
            out.lockProblem =
                QStringLiteral("Les fichiers de relevés de l'ancien format (FLX) sont convertis "
                               "sans le verrou du dossier des données, qui ne peut pas être "
                               "pris.\n") +
                locked.error;
        if (!QFileInfo::exists(source)) {
            out.doneElsewhere << name;
            continue;
        }
        auto backUp = [&]() {
            const QString backup = common::joinPath(backupFolder, common::freeName(backupFolder, capitals));
            const platform::Result r = copyAsNew(source, backup);
            if (!r)
                skip(notConverted(name, QStringLiteral("sa copie de sauvegarde n'a pas pu être faite.\n") +
                                            r.error));
            return r.ok;
        };

        // A record of that name, written by another copy of the program, is kept as it is.
        auto keep = [&](const QString& existing) {
            skip(notConverted(name, QStringLiteral("le relevé « %1 » existe déjà et reste tel quel.")
                                        .arg(QFileInfo(existing).fileName())));
        };
        if (const QString existing = common::findFile(dataFolder, target); !existing.isEmpty()) {
            // Cut off after writing the record: the older file is only left to set aside.
            const platform::ResultOf<bool> converted = alreadyConverted(source, existing);
            if (!converted) {
                skip(converted.result.error);
                continue;
            }
            if (!converted.value) {
                keep(existing);
                continue;
            }
            if (!backedUp(backupFolder, capitals, source) && !backUp())
                continue;
        } else {
            grid::Grid grid;
            if (const platform::Result r = grid::GridFile::load(grid, source, grid::GridFile::Complete,
                                                                record::RecordStore::fileBounds());
                !r) {
                skip(r.error);
                continue;
            }
            if (!backUp())
                continue;
            // Written only where no file is: a record that another copy saved under that name
            // meanwhile stays.
            if (const platform::Result r = grid::GridFile::saveNew(grid, common::joinPath(dataFolder, target),
                                                                   grid::GridFile::Complete, true);
                !r) {
                if (const QString existing = common::findFile(dataFolder, target); !existing.isEmpty())
                    keep(existing);
                else
                    skip(QStringLiteral("Le fichier « %1 » n'est pas converti.\n").arg(name) + r.error);
                continue;
            }
        }
        out.converted << name;

        const QString aside = common::freeName(dataFolder, record::RecordStore::asideName(capitals));
        if (const platform::Result renamed = common::renameFile(source, common::joinPath(dataFolder, aside));
            !renamed)
            out.notSetAside.append(
                {name, QStringLiteral("Le fichier « %1 » est converti en « %2 », mais il ne "
                                      "peut pas être mis de côté sous le nom « %3 » : %4")
                           .arg(name, target, aside, renamed.error)});
    }
    if (observer)
        observer->conversionEnds();
    return out;
}

QList<SkippedFile> ToldOnce::firstTime(const QList<SkippedFile>& files)
{
    QList<SkippedFile> out;
    for (const SkippedFile& f : files) {
        const QString key = f.fileName + QLatin1Char('\n') + f.reason;
        if (!m_told.contains(key)) {
            m_told.insert(key);
            out.append(f);
        }
    }
    return out;
}

QStringList ToldOnce::firstTime(const QStringList& reasons)
{
    QStringList out;
    for (const QString& reason : reasons)
        if (!m_told.contains(reason)) {
            m_told.insert(reason);
            out << reason;
        }
    return out;
}

QString unconvertedText(const QList<SkippedFile>& files)
{
    QStringList reasons;
    for (const SkippedFile& f : files)
        reasons << f.reason;
    return QStringLiteral(
               "La conversion des fichiers de relevés de l'ancien format (FLX) n'a pas abouti pour "
               "les fichiers suivants, qui restent à leur place :\n\n") +
           reasons.join(QStringLiteral("\n\n"));
}

ConversionReport convertOlderFilesAndTell(const QString& dataFolder, const QStringList& olderFiles,
                                          ToldOnce& told, ConversionObserver* observer)
{
    ConversionReport report = convertOlderFiles(dataFolder, olderFiles, observer);
    const QList<SkippedFile> fresh = told.firstTime(report.skipped + report.notSetAside);
    QStringList text;
    if (!fresh.isEmpty())
        text << unconvertedText(fresh);
    if (!report.lockProblem.isEmpty())
        text << report.lockProblem;
    if (!text.isEmpty())
        platform::dialogs().ask(text.join(QStringLiteral("\n\n")),
                                platform::mb::OKOnly | platform::mb::Exclamation, common::kProgramName);
    return report;
}

} // namespace recordlist
