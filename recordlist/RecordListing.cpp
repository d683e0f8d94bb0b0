#include "recordlist/RecordListing.h"

#include "common/ExportLog.h"
#include "common/GridHelpers.h"
#include "common/Paths.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace recordlist {

const QString kListHeader =
    QStringLiteral("|Nom du fichier|Nom du site|^N°\rPassage|Date\rPassage|Observateur|"
                   "Statut|Date de la\rdernière modification|Date de la\rdernière "
                   "exportation|Version Mirelot");
const QString kRecordMask = QStringLiteral("SHOC-*.*FLX2009");
const QString kListDateTimeFormat = QStringLiteral("dd/MM/yyyy HH:mm:ss");
const QString kUnassignedSite = QStringLiteral("NON ATTRIBUE");

namespace {

// The sites of the files, each once: names that differ only by the case of their letters are one
// site (so are their files), the first met standing for it; sorted without regard to case.
class SiteList
{
public:
    void add(const QString& fileName)
    {
        if (QString site = siteOfFileName(fileName); !site.isEmpty())
            m_sites.emplace_back(site.toCaseFolded(), std::move(site));
    }
    QStringList sorted()
    {
        std::stable_sort(m_sites.begin(), m_sites.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        QStringList out;
        out.reserve(qsizetype(m_sites.size()));
        for (size_t i = 0; i < m_sites.size(); ++i)
            if (i == 0 || m_sites[i].first != m_sites[i - 1].first)
                out << std::move(m_sites[i].second);
        return out;
    }

private:
    std::vector<std::pair<QString, QString>> m_sites; // folded, as written
};

// A date and time as kListDateTimeFormat writes it, "dd/MM/yyyy HH:mm:ss", built from its numbers:
// a list of thousands of records writes one per record at each refresh.
QString listDateTimeText(const QDateTime& when)
{
    const QDate date = when.date();
    const QTime time = when.time();
    if (date.year() < 1000 || date.year() > 9999)
        return when.toString(kListDateTimeFormat);
    QString out(19, Qt::Uninitialized);
    QChar* c = out.data();
    const auto put = [&c](int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            c[i] = QChar(u'0' + value % 10);
        c += digits;
    };
    const auto sep = [&c](char16_t ch) { *c++ = QChar(ch); };
    put(date.day(), 2);
    sep(u'/');
    put(date.month(), 2);
    sep(u'/');
    put(date.year(), 4);
    sep(u' ');
    put(time.hour(), 2);
    sep(u':');
    put(time.minute(), 2);
    sep(u':');
    put(time.second(), 2);
    return out;
}

} // namespace

namespace {

// Each cell of a row of the list, with its column.
template <typename Put> void putCells(const ListRow& row, Put put)
{
    const RecordSummary& s = row.summary;
    put(FileColumn, s.fileName);
    put(SiteColumn, s.siteName);
    put(PassageColumn, s.passage);
    put(DateColumn, s.date);
    put(ObserverColumn, s.observer);
    put(StatusColumn, s.status);
    put(ModifiedColumn, s.modified.isValid() ? listDateTimeText(s.modified) : QString());
    put(ExportedColumn, row.exported);
    put(VersionColumn, s.version);
}

} // namespace

QStringList ListRow::cells() const
{
    if (!shown.isEmpty())
        return shown;
    QStringList out(ListColumnCount);
    putCells(*this, [&out](int column, const QString& text) { out[column] = text; });
    return out;
}

const ListRow* Listing::find(const QString& fileName) const
{
    for (const ListRow& r : rows)
        if (r.summary.fileName.compare(fileName, Qt::CaseInsensitive) == 0)
            return &r;
    return nullptr;
}

QString siteOfFileName(const QString& fileName)
{
    // The name ends with "~Passage N", digits, a dot and an extension without a dot; the site is
    // what stands before the last "~Passage N" so followed.
    static const QString passage = QStringLiteral("~Passage N");
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot < 0)
        return QString();
    qsizetype digits = dot;
    while (digits > 0 && fileName[digits - 1].isDigit())
        --digits;
    if (digits == dot || digits < passage.size() ||
        QStringView(fileName)
                .sliced(digits - passage.size(), passage.size())
                .compare(passage, Qt::CaseInsensitive) != 0)
        return QString();
    return fileName.left(digits - passage.size());
}

platform::ResultOf<QHash<QString, QString>> lastExportDates(const QString& dataFolder)
{
    using Dates = platform::ResultOf<QHash<QString, QString>>;
    const platform::ResultOf<QList<common::ExportLogLine>> lines = common::readExportLog(dataFolder);
    if (!lines)
        return Dates::failure(lines.result);
    QHash<QString, QString> dates;
    dates.reserve(lines.value.size());
    // Newest line first: the first line naming a file gives its last export.
    for (const common::ExportLogLine& line : lines.value) {
        const QString key = line.fichier.toUpper();
        if (!dates.contains(key))
            dates.insert(key, line.date);
    }
    return Dates::success(std::move(dates));
}

Listing readListing(const QString& dataFolder, SummaryCache& cache)
{
    return readListing(dataFolder, common::listFileStamps(dataFolder, kRecordMask), cache);
}

namespace {

// The rows of the files whose summaries could be read, the sites, the export dates.
template <typename Files, typename NameOf, typename Read>
Listing listingOf(const QString& dataFolder, const Files& files, NameOf nameOf, Read summaryOf,
                  SummaryCache& cache)
{
    Listing out;
    out.rows.reserve(files.size());
    SiteList sites;
    for (const auto& file : files) {
        // A file of the listing tells whether it is a link; a name alone is asked about.
        if (const platform::Result plain = common::checkPlainName(dataFolder, file); !plain.ok) {
            out.unreadable.append({nameOf(file), plain.error});
            continue;
        }
        SummaryRead read = summaryOf(file);
        if (!read.result.ok) {
            out.unreadable.append({nameOf(file), read.result.error});
            continue;
        }
        sites.add(nameOf(file));
        out.rows.append({std::move(read.summary), QString(), QStringList()});
    }
    cache.dropUnused();
    out.sites = sites.sorted();

    const platform::ResultOf<QHash<QString, QString>> dates = lastExportDates(dataFolder);
    out.exportLog = dates.result;
    if (!dates.value.isEmpty())
        for (ListRow& r : out.rows)
            r.exported = dates.value.value(r.summary.fileName.toUpper());
    // Written once here, shown at each refresh while nothing changes.
    for (ListRow& r : out.rows)
        r.shown = r.cells();
    return out;
}

} // namespace

Listing readListing(const QString& dataFolder, const QStringList& names, SummaryCache& cache)
{
    return listingOf(
        dataFolder, names, [](const QString& name) -> const QString& { return name; },
        [&](const QString& name) { return cache.summary(common::joinPath(dataFolder, name), name); }, cache);
}

Listing readListing(const QString& dataFolder, const QList<platform::FolderFile>& files, SummaryCache& cache)
{
    return listingOf(
        dataFolder, files, [](const platform::FolderFile& file) -> const QString& { return file.name; },
        [&](const platform::FolderFile& file) { return cache.summary(dataFolder, file); }, cache);
}

Listing readListing(const QString& dataFolder)
{
    SummaryCache once;
    return readListing(dataFolder, once);
}

void ListSort::noteHeaderSort(int column, int order)
{
    m_column = column;
    m_order = order;
}

void ListSort::apply(grid::Grid& grid) const
{
    if (m_column <= 0 || m_column >= grid.cols())
        return;
    const bool descending = m_order == int(grid::Grid::Sort::GenericDescending);
    sub_Tri_Colonne(grid, m_column, m_column,
                    descending ? common::SortOrder::Descending : common::SortOrder::Ascending);
}

void fillListGrid(const Listing& listing, grid::Grid& grid, const ListSort& sort)
{
    using grid::Grid;
    const bool redraw = grid.redraw();
    grid.setRedraw(false);
    // Every row is written anew whole: nothing of the list before remains.
    grid.clearRange({0, 0, 0, grid.cols() - 1});
    grid.setFormatString(kListHeader);
    grid.setCols(ListColumnCount);
    grid.setFixedRows(1);
    grid.setFixedCols(1);
    for (int c = 0; c < ListColumnCount; ++c) {
        const bool date = c == DateColumn || c == ModifiedColumn || c == ExportedColumn;
        grid.setColDataType(c, date ? Grid::DataType::Date : Grid::DataType::Default);
    }
    grid.setEditable(Grid::Editable::None);
    grid.setRows(1 + int(listing.rows.size()));
    for (int i = 0; i < listing.rows.size(); ++i) {
        const ListRow& row = listing.rows[i];
        const int r = 1 + i;
        grid.setRow(r, row.cells());
        grid.setRowKey(r, row.summary.fileName);
        grid.setBackColour({r, FileColumn, r, ListColumnCount - 1}, row.colour());
    }
    sort.apply(grid);
    grid.select(1, FileColumn);
    grid.setRedraw(redraw);
}

QList<ListedRecord> selectedRecords(const grid::Grid& grid)
{
    QList<ListedRecord> out;
    for (const int r : grid.selectedRows())
        if (r >= grid.fixedRows() && !grid.rowKey(r).isEmpty())
            out.append({grid.rowKey(r), grid.cell(r, StatusColumn)});
    return out;
}

QStringList selectedFileNames(const grid::Grid& grid)
{
    QStringList out;
    for (const ListedRecord& r : selectedRecords(grid))
        out << r.fileName;
    return out;
}

void selectRecords(grid::Grid& grid, const QStringList& fileNames)
{
    bool first = true;
    for (const QString& name : fileNames) {
        const int r = grid.findRowByKey(name);
        if (r < 0)
            continue;
        if (first)
            grid.select(r, FileColumn);
        else
            grid.setRowSelected(r, true);
        first = false;
    }
}

} // namespace recordlist
