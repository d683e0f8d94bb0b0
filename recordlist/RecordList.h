#pragma once
// The record list between two refreshes, without its window: the summaries kept from the last
// refresh, the user's sort, and the list last shown. A refresh converts the older files of the
// data folder first (telling a file left unconverted once), then reads the list and fills the
// window's grid. The record files left out of the list and an export log that cannot be read are
// told once in the run of the program, with the reason. When no record file and not the export log
// changed since the last refresh (same names, sizes and modification times), the list last read is
// shown again without reading anything: a refresh then costs one look at the folder.

#include "recordlist/OlderFileConversion.h"
#include "recordlist/RecordListing.h"
#include "recordlist/RecordSummary.h"

namespace grid {
class Grid;
}

namespace recordlist {

// The box naming the record files left out of the list and the export log that could not be read;
// empty when there is nothing to tell.
QString unlistedText(const QStringList& unreadable, const QString& exportLogFailure);

class RecordList
{
public:
    // told must live as long as the program runs, so that a file is named once per run even
    // when the list window is closed and opened again.
    explicit RecordList(ToldOnce& told) : m_told(told) {}

    // Rebuilds the list from the data folder into the grid.
    const Listing& refresh(const QString& dataFolder, grid::Grid& grid,
                           ConversionObserver* observer = nullptr);

    // The grid reported a header sort (column, 1 ascending or 2 descending).
    void noteHeaderSort(int column, int order) { m_sort.noteHeaderSort(column, order); }
    const ListSort& sort() const { return m_sort; }
    const Listing& listing() const { return m_listing; }
    const ConversionReport& lastConversion() const { return m_conversion; }
    SummaryCache& cache() { return m_cache; }

private:
    ToldOnce& m_told;
    SummaryCache m_cache;
    ListSort m_sort;
    Listing m_listing;
    ConversionReport m_conversion;
    // What the list last read was read from.
    QString m_folder;
    QList<platform::FolderFile> m_files;
    platform::FileStamp m_logStamp;
};

} // namespace recordlist
