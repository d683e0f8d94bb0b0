#include "recordlist/RecordList.h"

#include "common/ExportLog.h"
#include "common/Globals.h"
#include "common/Paths.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <algorithm>

namespace recordlist {

namespace {
// Tells what the list leaves out that was not told before in this run of the program.
void tellLeftOut(const Listing& listing, ToldOnce& told)
{
    QList<SkippedFile> files;
    for (const UnreadFile& f : listing.unreadable)
        files.append({f.fileName, f.reason});
    QStringList unreadable;
    for (const SkippedFile& f : told.firstTime(files))
        unreadable << f.reason;
    const QStringList log =
        listing.exportLog.ok ? QStringList() : told.firstTime(QStringList{listing.exportLog.error});
    if (const QString text = unlistedText(unreadable, log.value(0)); !text.isEmpty())
        platform::dialogs().ask(text, platform::mb::OKOnly | platform::mb::Exclamation, common::kProgramName);
}
// One listing of the folder serves the record files, the older ones and the export log.
const QString kAllFiles = QStringLiteral("*");

// The names of the older record files of a listing.
QStringList olderFiles(const QList<platform::FolderFile>& files)
{
    QStringList out;
    for (const platform::FolderFile& f : files)
        if (common::matchesMask(f.name, kOlderMask))
            out << f.name;
    return out;
}

// The record files of a listing.
QList<platform::FolderFile> recordFiles(const QList<platform::FolderFile>& files)
{
    QList<platform::FolderFile> out;
    out.reserve(files.size());
    for (const platform::FolderFile& f : files)
        if (common::matchesMask(f.name, kRecordMask))
            out.append(f);
    return out;
}

// The stamp of the export log among the folder's files, found as the log's reader finds it: by its
// name, or else by its name without regard to case.
platform::FileStamp logStamp(const QList<platform::FolderFile>& files)
{
    const platform::FolderFile* found = nullptr;
    for (const platform::FolderFile& f : files) {
        if (f.name == common::kExportLogFile)
            return f.stamp;
        if (!found && f.name.compare(common::kExportLogFile, Qt::CaseInsensitive) == 0)
            found = &f;
    }
    return found ? found->stamp : platform::FileStamp();
}

bool sameFiles(const QList<platform::FolderFile>& a, const QList<platform::FolderFile>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const auto& x, const auto& y) { return x.stamp == y.stamp && x.name == y.name; });
}

} // namespace

QString unlistedText(const QStringList& unreadable, const QString& exportLogFailure)
{
    QStringList parts;
    if (!unreadable.isEmpty())
        parts << QStringLiteral("Les fichiers suivants ne figurent pas dans la liste des relevés :\n\n") +
                     unreadable.join(QStringLiteral("\n\n"));
    if (!exportLogFailure.isEmpty())
        parts << QStringLiteral("Les dates de dernière exportation ne sont pas affichées.\n\n") +
                     exportLogFailure;
    return parts.join(QStringLiteral("\n\n"));
}

const Listing& RecordList::refresh(const QString& dataFolder, grid::Grid& grid, ConversionObserver* observer)
{
    // One look at the folder gives the names and what tells whether each file changed: the
    // summaries of the files that did not change are not read again.
    QList<platform::FolderFile> files = common::listFileStamps(dataFolder, kAllFiles);
    m_conversion = convertOlderFilesAndTell(dataFolder, olderFiles(files), m_told, observer);
    if (!m_conversion.converted.isEmpty())
        files = common::listFileStamps(dataFolder, kAllFiles);
    QList<platform::FolderFile> records = recordFiles(files);
    const platform::FileStamp log = logStamp(files);
    // A list read whole (every file read, the log too) and nothing changed since: shown again.
    const bool unchanged = dataFolder == m_folder && m_listing.unreadable.isEmpty() && m_listing.exportLog &&
                           log == m_logStamp && sameFiles(records, m_files);
    if (!unchanged) {
        m_listing = readListing(dataFolder, records, m_cache);
        m_folder = dataFolder;
        m_files = std::move(records);
        m_logStamp = log;
    }
    fillListGrid(m_listing, grid, m_sort);
    tellLeftOut(m_listing, m_told);
    return m_listing;
}

} // namespace recordlist
