#include "recordlist/RecordListing.h"

#include "common/ExportLog.h"
#include "common/GridHelpers.h"
#include "common/Paths.h"

#include <QRegularExpression>
#include <set>

namespace recordlist {

const QString kListHeader =
    QStringLiteral("|Nom du fichier|Nom du site|^N°\rPassage|Date\rPassage|Observateur|"
                   "Statut|Date de la\rdernière modification|Date de la\rdernière "
                   "exportation|Version Mirelot");
const QString kRecordMask = QStringLiteral("SHOC-*.*FLX2009");
const QString kListDateTimeFormat = QStringLiteral("dd/MM/yyyy HH:mm:ss");
const QString kUnassignedSite = QStringLiteral("NON ATTRIBUE");

namespace {

// Site names that differ only by the case of their letters are one site (so are their files).
struct SameLetters
{
    bool operator()(const QString& a, const QString& b) const
    {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    }
};

} // namespace

QStringList ListRow::cells() const
{
    const RecordSummary& s = summary;
    QStringList out(ListColumnCount);
    out[FileColumn] = s.fileName;
    out[SiteColumn] = s.siteName;
    out[PassageColumn] = s.passage;
    out[DateColumn] = s.date;
    out[ObserverColumn] = s.observer;
    out[StatusColumn] = s.status;
    out[ModifiedColumn] = s.modified.isValid() ? s.modified.toString(kListDateTimeFormat) : QString();
    out[ExportedColumn] = exported;
    out[VersionColumn] = s.version;
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
    static const QRegularExpression ending(QStringLiteral("^(.*)~Passage N\\d+\\.[^.]*$"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = ending.match(fileName);
    return m.hasMatch() ? m.captured(1) : QString();
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
    return readListing(dataFolder, common::listFiles(dataFolder, kRecordMask), cache);
}

Listing readListing(const QString& dataFolder, const QStringList& names, SummaryCache& cache)
{
    Listing out;
    out.rows.reserve(names.size());
    std::set<QString, SameLetters> sites;
    for (const QString& name : names) {
        if (const platform::Result plain = common::checkPlainName(dataFolder, name); !plain.ok) {
            out.unreadable.append({name, plain.error});
            continue;
        }
        SummaryRead read = cache.summary(common::joinPath(dataFolder, name), name);
        if (!read.result.ok) {
            out.unreadable.append({name, read.result.error});
            continue;
        }
        if (const QString site = siteOfFileName(name); !site.isEmpty())
            sites.insert(site);
        out.rows.append({std::move(read.summary), QString()});
    }
    cache.dropUnused();
    out.sites = QStringList(sites.begin(), sites.end());

    const platform::ResultOf<QHash<QString, QString>> dates = lastExportDates(dataFolder);
    out.exportLog = dates.result;
    if (!dates.value.isEmpty())
        for (ListRow& r : out.rows)
            r.exported = dates.value.value(r.summary.fileName.toUpper());
    return out;
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
    grid.setRows(1);
    grid.clear();
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
        const QStringList cells = row.cells();
        for (int c = FileColumn; c < ListColumnCount; ++c)
            grid.setCell(r, c, cells[c]);
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
