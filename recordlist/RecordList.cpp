#include "recordlist/RecordList.h"

#include "common/ExportLog.h"
#include "common/Paths.h"

#include <algorithm>

namespace recordlist {

namespace {
// Both the record files and the older ones begin so: one listing of the folder serves both.
const QString kShocMask = QStringLiteral("SHOC-*");

QList<platform::FolderFile> matching(const QList<platform::FolderFile>& files, const QString& mask)
{
    QList<platform::FolderFile> out;
    for (const platform::FolderFile& f : files)
        if (common::matchesMask(f.name, mask))
            out.append(f);
    return out;
}

QStringList namesOf(const QList<platform::FolderFile>& files)
{
    QStringList out;
    for (const platform::FolderFile& f : files)
        out << f.name;
    return out;
}

bool sameFiles(const QList<platform::FolderFile>& a, const QList<platform::FolderFile>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const auto& x, const auto& y) { return x.stamp == y.stamp && x.name == y.name; });
}

} // namespace

const Listing& RecordList::refresh(const QString& dataFolder, grid::Grid& grid, ConversionObserver* observer)
{
    // One look at the folder gives the names and what tells whether each file changed: the
    // summaries of the files that did not change are not read again.
    QList<platform::FolderFile> files = common::listFileStamps(dataFolder, kShocMask);
    m_conversion =
        convertOlderFilesAndTell(dataFolder, namesOf(matching(files, kOlderMask)), m_told, observer);
    if (!m_conversion.converted.isEmpty())
        files = common::listFileStamps(dataFolder, kShocMask);
    QList<platform::FolderFile> records = matching(files, kRecordMask);
    const platform::FileStamp log =
        platform::fileStamp(common::writePath(dataFolder, common::kExportLogFile));
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
    return m_listing;
}

} // namespace recordlist
