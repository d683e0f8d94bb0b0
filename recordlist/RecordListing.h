#pragma once
// The record list as data: one row per record file "SHOC-*.*FLX2009" of the data folder (names
// matched without regard to case, in name order), its columns, its colour by status, the date
// of each file's newest export, the sites for new records, and the user's sort kept over a
// refresh. The window shows it in its grid; nothing here needs a widget.
//
// Each row keeps its file name as item data (the row key of the grid), so that the commands act
// on the file the row was made from whatever its cells show.

#include "grid/Grid.h"
#include "platform/Result.h"
#include "recordlist/RecordSummary.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace recordlist {

// Columns of the list; column 0 is an empty fixed column.
enum ListColumn : int {
    FileColumn = 1,
    SiteColumn = 2,
    PassageColumn = 3,
    DateColumn = 4,
    ObserverColumn = 5,
    StatusColumn = 6,
    ModifiedColumn = 7,
    ExportedColumn = 8,
    VersionColumn = 9,
    ListColumnCount = 10,
};

// The header as one format string; a carriage return puts four titles on two lines.
extern const QString kListHeader;
// The mask of the record files.
extern const QString kRecordMask;
// Dates and times of the modification and export columns, sorted as dates by the grid.
extern const QString kListDateTimeFormat;
// Line colours (red + 256 * green + 65536 * blue): light green for a validated record, light red
// for one saved despite anomalies.
inline constexpr grid::GridColour kValidatedColour = grid::gridRgb(192, 255, 192);
inline constexpr grid::GridColour kNotValidatedColour = grid::gridRgb(255, 192, 192);
// A site of this name marks a line that cannot be opened for modification.
extern const QString kUnassignedSite;

struct ListRow
{
    RecordSummary summary;
    QString exported;  // date and time of the newest export; empty when never exported
    QStringList shown; // the texts of columns 0 to 9 as the listing wrote them; empty: not yet

    // The texts of columns 0 to 9.
    QStringList cells() const;
    grid::GridColour colour() const { return summary.validated() ? kValidatedColour : kNotValidatedColour; }
};

struct UnreadFile
{
    QString fileName;
    QString reason; // in French, naming the file
    bool operator==(const UnreadFile&) const = default;
};

struct Listing
{
    QList<ListRow> rows; // in listing order
    // The sites of the listed records, each once (letter case aside), sorted without regard to
    // case: the site list of the new-record choices.
    QStringList sites;
    // Files of the listing left out, with the reason.
    QList<UnreadFile> unreadable;
    // The export log could not be read: no export date is shown, and the failure says why.
    platform::Result exportLog = platform::Result::success();

    // The row made from that file (the name as listed, letter case aside); null when none.
    const ListRow* find(const QString& fileName) const;
};

// The site a record file's name stands for: the name without "~Passage N", the passage number
// and the extension; empty when the name has no such ending.
QString siteOfFileName(const QString& fileName);

// The date and time of the newest export of each file of the data folder's export log, by the
// file's name in capitals. Fails, naming the log, when the log exists but cannot be read.
platform::ResultOf<QHash<QString, QString>> lastExportDates(const QString& dataFolder);

// Reads the list from the data folder; summaries already in the cache are used again for the
// files that did not change.
Listing readListing(const QString& dataFolder, SummaryCache& cache);
Listing readListing(const QString& dataFolder);
// The same from the record files named, as the folder listing gives them.
Listing readListing(const QString& dataFolder, const QStringList& recordFiles, SummaryCache& cache);
// The same from the record files listed with their stamps: a file whose stamp is the one kept is
// not read again.
Listing readListing(const QString& dataFolder, const QList<platform::FolderFile>& recordFiles,
                    SummaryCache& cache);

// The column and order of the user's last header sort, put back after each refresh. The orders
// are the codes of the grid's header-click sort: 1 ascending, 2 descending.
class ListSort
{
public:
    // The grid reported a header sort.
    void noteHeaderSort(int column, int order);
    int column() const { return m_column; } // 0: never sorted
    int order() const { return m_order; }
    // Sorts the list's data rows again by the noted column and order; nothing when never sorted.
    void apply(grid::Grid& grid) const;

private:
    int m_column = 0;
    int m_order = 0;
};

// Fills the list's grid: header, column types (dates for the visit, modification and export
// columns), one read-only line per row with its colour and its file name as row key, sorted
// again as the user last sorted it, current cell at line 1, column 1.
void fillListGrid(const Listing& listing, grid::Grid& grid, const ListSort& sort);

// A record picked in the list.
struct ListedRecord
{
    QString fileName;
    QString status; // "Non Validé", or empty for a valid record
};

// The rows selected in the list, in the grid's order: exactly the rows the user picked, in
// list-box selection as in a range.
QList<ListedRecord> selectedRecords(const grid::Grid& grid);
// Their file names (row keys).
QStringList selectedFileNames(const grid::Grid& grid);
// Selects the rows of the records named, wherever the list's sort put them; the first one becomes
// the current row. Names no longer listed are passed over.
void selectRecords(grid::Grid& grid, const QStringList& fileNames);

} // namespace recordlist
