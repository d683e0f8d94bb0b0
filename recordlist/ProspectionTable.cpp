#include "recordlist/ProspectionTable.h"

#include "common/Paths.h"
#include "record/RecordStore.h"
#include "record/Season.h"

#include <QRegularExpression>
#include <QSet>
#include <map>
#include <tuple>

namespace recordlist {

namespace {

const QChar kSiteSeparator = QLatin1Char('~');
const QChar kLineFeed = QLatin1Char('\n');
// Files named in the box of the files left out; the others are counted.
constexpr int kUnreadableNamed = 10;

// Sites that differ only by the case of their letters are one site.
struct SameLetters
{
    bool operator()(const QString& a, const QString& b) const
    {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    }
};

// The file number of a record ("1" to "5"); 0 without one.
int passageOf(const RecordSummary& r)
{
    bool ok = false;
    const int p = r.passage.toInt(&ok);
    return ok ? p : 0;
}

// Which of a site's records gives the row its observer and address: the latest winter, then the
// highest passage, then the newest file.
using Rank = std::tuple<int, int, QDateTime>;
Rank rankOf(const RecordSummary& r) { return {winterOfSeason(r.season), passageOf(r), r.modified}; }

struct SiteRows
{
    ProspectionRow row;
    Rank rank;
};

QString plural(int n) { return n >= 2 ? QStringLiteral("s") : QString(); }

} // namespace

QString siteWithoutSeason(const QString& siteName)
{
    const qsizetype cut = siteName.lastIndexOf(kSiteSeparator);
    if (cut < 0 || winterOfSeason(siteName.mid(cut + 1)) < 0)
        return siteName;
    return siteName.left(cut);
}

int winterOfSeason(const QString& season)
{
    static const QRegularExpression shape(QStringLiteral("^\\s*hiver (\\d{4})-(\\d{4})\\s*$"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = shape.match(season);
    if (!m.hasMatch())
        return -1;
    const int first = m.captured(1).toInt();
    return m.captured(2).toInt() == first + 1 ? first : -1;
}

QString ProspectionTable::winterTitle(int winter) const { return record::seasonText(firstWinter + winter); }

int ProspectionTable::sitesCovered(int winter) const
{
    int n = 0;
    for (const ProspectionRow& r : rows)
        if (r.counts.value(winter) > 0)
            ++n;
    return n;
}

QString ProspectionTable::summaryText(int winter) const
{
    return QStringLiteral("Bilan ") + winterTitle(winter) + QStringLiteral(" : Nbr. sites prospectés=") +
           QString::number(sitesCovered(winter));
}

QString ProspectionTable::closingText() const
{
    const int n = int(rows.size());
    return QStringLiteral("Il y a ") + QString::number(n) + QStringLiteral(" site") + plural(n) +
           QStringLiteral(" prospecté") + plural(n) + QStringLiteral(" par ") + QString::number(observers) +
           QStringLiteral(" observateur") + plural(observers);
}

QString ProspectionTable::unreadableText() const
{
    if (unreadable.isEmpty())
        return QString();
    const int n = int(unreadable.size());
    QString text = n == 1 ? QStringLiteral("Un fichier n'a pas pu être lu ; il n'est pas compté dans le "
                                           "tableau de prospection :")
                          : QString::number(n) + QStringLiteral(" fichiers n'ont pas pu être lus ; ils ne "
                                                                "sont pas comptés dans le tableau de "
                                                                "prospection :");
    for (int i = 0; i < n && i < kUnreadableNamed; ++i)
        text += kLineFeed + unreadable[i].reason;
    if (n > kUnreadableNamed)
        text += kLineFeed + QStringLiteral("...");
    return text;
}

ProspectionTable buildProspection(const QList<RecordSummary>& records, const QDate& today)
{
    ProspectionTable table;
    table.lastWinter = record::winterOf(today);
    const int winters = table.winterCount();

    std::map<QString, SiteRows, SameLetters> sites;
    for (const RecordSummary& r : records) {
        const QString site = siteWithoutSeason(r.siteName);
        auto [it, added] = sites.try_emplace(site);
        SiteRows& s = it->second;
        const Rank rank = rankOf(r);
        if (added || rank > s.rank) {
            s.rank = rank;
            s.row.site = site;
            s.row.observer = r.observer;
            s.row.contact = r.contact;
        }
        if (added)
            s.row.counts = QList<int>(winters, 0);
        const int winter = winterOfSeason(r.season) - table.firstWinter;
        if (winter >= 0 && winter < winters)
            ++s.row.counts[winter];
    }

    QSet<QString> observers;
    table.rows.reserve(qsizetype(sites.size()));
    for (auto& [site, s] : sites) {
        const QString observer = s.row.observer.simplified().toUpper();
        if (!observer.isEmpty())
            observers.insert(observer);
        table.rows.append(std::move(s.row));
    }
    table.observers = int(observers.size());
    return table;
}

ProspectionTable readProspection(const QString& dataFolder, SummaryCache& cache, const QDate& today)
{
    const QList<platform::FolderFile> files = common::listFileStamps(dataFolder, kRecordMask);
    QList<RecordSummary> records;
    records.reserve(files.size());
    QList<UnreadFile> unreadable;
    for (const platform::FolderFile& file : files) {
        if (const platform::Result plain = common::checkPlainName(dataFolder, file); !plain.ok) {
            unreadable.append({file.name, plain.error});
            continue;
        }
        SummaryRead read = cache.summary(dataFolder, file);
        if (read.result.ok)
            records.append(std::move(read.summary));
        else
            unreadable.append({file.name, read.result.error});
    }
    cache.dropUnused();
    ProspectionTable table = buildProspection(records, today);
    table.unreadable = std::move(unreadable);
    return table;
}

grid::GridColour winterColour(const ProspectionRow& row, int winter)
{
    const int n = row.counts.value(winter);
    if (n == 1)
        return kOneRecordColour;
    if (n > 1)
        return kSeveralRecordsColour;
    for (int w = 0; w < winter; ++w)
        if (row.counts.value(w) > 0)
            return kMissedColour;
    return kNotYetCoveredColour;
}

void fillProspectionGrid(const ProspectionTable& table, grid::Grid& grid)
{
    using grid::Grid;
    const int winters = table.winterCount();
    const bool redraw = grid.redraw();
    grid.setRedraw(false);
    grid.setRows(1);
    grid.clear();
    QString format = QStringLiteral("|Site|Observateur|Courriel");
    for (int w = 0; w < winters; ++w)
        format += QStringLiteral("|^") + table.winterTitle(w);
    grid.setFormatString(format);
    grid.setCols(FirstWinterColumn + winters);
    grid.setFixedRows(1);
    grid.setFixedCols(1);
    grid.setEditable(Grid::Editable::None);
    for (int w = 0; w < winters; ++w)
        grid.setColData(FirstWinterColumn + w, table.summaryText(w));
    grid.setRows(1 + int(table.rows.size()));
    for (int i = 0; i < table.rows.size(); ++i) {
        const ProspectionRow& row = table.rows[i];
        const int r = 1 + i;
        grid.setCell(r, ProspectionSiteColumn, row.site);
        grid.setCell(r, ProspectionObserverColumn, row.observer);
        grid.setCell(r, ProspectionContactColumn, row.contact);
        grid.setRowKey(r, row.site);
        for (int w = 0; w < winters; ++w) {
            const int c = FirstWinterColumn + w;
            const int n = row.counts.value(w);
            if (n > 0)
                grid.setCell(r, c, QString::number(n));
            grid.setBackColour({r, c, r, c}, winterColour(row, w));
        }
    }
    grid.select(grid.rows() > 1 ? 1 : 0, ProspectionSiteColumn);
    grid.setRedraw(redraw);
}

QString prospectionToolTip(const grid::Grid& grid, int col)
{
    return col >= FirstWinterColumn ? grid.colData(col) : QString();
}

QString copyTextOfSelection(const grid::Grid& grid)
{
    const grid::GridRange sel = grid.selection();
    if (sel.isEmpty())
        return QString();
    QList<int> rows;
    if (grid.selectionMode() == grid::Grid::SelectionMode::ListBox) {
        rows = grid.selectedRows();
    } else {
        for (int r = sel.row1; r <= sel.row2; ++r)
            rows.append(r);
    }
    QString text;
    for (const int r : rows)
        text += grid.rangeText({r, sel.col1, r, sel.col2}) + kLineFeed;
    return text;
}

} // namespace recordlist
