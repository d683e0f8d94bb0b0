#include "recordlist/RecordSummary.h"

#include "common/Paths.h"
#include "common/Settings.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "platform/SaveFile.h"
#include "record/RecordFileLayout.h"
#include "record/RecordLayout.h"
#include "record/RecordStore.h"
#include "record/SurveyRecord.h"

#include <QFileInfo>
#include <cmath>

namespace recordlist {

namespace {

using record::RecordLayout;

namespace file = record::file;
static_assert(file::SeasonRow == file::ParcelCountRow + 1, "the number of parcels is read before the season");

// Rows 0 to 40: the date row of a record of 30 parcels is row 10 + 30.
constexpr int kHeadRows = file::visitRow(record::kMaxParcels) + 1;

QString cellOf(const QList<QStringList>& rows, int row, int col)
{
    return row < rows.size() ? rows[row].value(col) : QString();
}

// Where a record puts its date row: one row after its last parcel; -1 when the number of parcels
// cannot be read.
int expectedVisitRow(const QList<QStringList>& rows)
{
    bool ok = false;
    const int parcels = cellOf(rows, file::ParcelCountRow, file::ParcelCountColumn).trimmed().toInt(&ok);
    return ok && parcels >= 0 ? file::visitRow(parcels) : -1;
}

// The texts read of each row: the label of every row (to find the date row as a reader of the
// whole file would), and the cells the list shows.
class ColumnsWanted
{
public:
    int operator()(int row, const QList<QStringList>& before)
    {
        switch (row) {
        case file::ShocRow:
            return file::ShocColumn::Status + 1; // label, version, status
        case file::IdentificationRow:
            return file::IdentificationColumn::Site + 1;
        case file::ObserverRow:
            return file::ObserverColumn::FirstName + 1; // name, first name
        case file::ContactRow:
            return file::ContactColumn::Telephone + 1; // e-mail address, telephone
        case file::ParcelCountRow:
            return file::ParcelCountColumn + 1;
        case file::SeasonRow: // the row after the number of parcels
            m_visit = expectedVisitRow(before);
            return 3; // season
        default:
            break;
        }
        // The date row: label, date, passage index; any other row: its label.
        return row == m_visit ? file::VisitColumn::Passage + 1 : file::LabelColumn + 1;
    }

private:
    int m_visit = -1;
};

SummaryRead readSummary(const QString& path, const QString& fileName, const QDateTime& modified)
{
    SummaryRead out;
    const platform::ResultOf<QList<QStringList>> read =
        grid::GridFile::readHead(path, kHeadRows, ColumnsWanted(), record::RecordStore::fileBounds());
    if (out.result = read.result; !out.result.ok)
        return out;
    const QList<QStringList>& head = read.value;
    if (cellOf(head, file::ShocRow, file::LabelColumn) != RecordLayout::kTitleShoc) {
        out.result = platform::Result::failure(
            platform::readFailureText(path, QStringLiteral("ce n'est pas un relevé SHOC")));
        return out;
    }
    const auto titled = [&head](const QString& title) {
        for (int r = 0; r < head.size(); ++r)
            if (head[r].value(file::LabelColumn) == title)
                return r;
        return -1;
    };
    int visit = titled(RecordLayout::kTitleVisit);
    int season = titled(RecordLayout::kTitleSeason);
    const bool headComplete = head.size() >= kHeadRows;
    // The head reader reads whole only the rows where a record puts the date and the season.
    const bool visitRead = visit >= 0 && visit == expectedVisitRow(head);
    const bool seasonRead = season == file::SeasonRow;
    QString date, passageIndex, seasonText;
    if (visitRead) {
        date = cellOf(head, visit, file::VisitColumn::Date);
        passageIndex = cellOf(head, visit, file::VisitColumn::Passage);
    }
    if (seasonRead)
        seasonText = cellOf(head, season, file::SeasonColumn);
    if ((!visitRead && (visit >= 0 || headComplete)) || (!seasonRead && (season >= 0 || headComplete))) {
        // Not where a record puts them: read the whole file, as the record window would.
        grid::Grid g;
        if (out.result =
                grid::GridFile::load(g, path, grid::GridFile::Complete, record::RecordStore::fileBounds());
            !out.result.ok)
            return out;
        visit = g.findRow(RecordLayout::kTitleVisit, 0, file::LabelColumn);
        date = g.cell(visit, file::VisitColumn::Date);
        passageIndex = g.cell(visit, file::VisitColumn::Passage);
        season = g.findRow(RecordLayout::kTitleSeason, 0, file::LabelColumn);
        seasonText = g.cell(season, file::SeasonColumn);
    }

    RecordSummary& s = out.summary;
    s.fileName = fileName;
    s.version = cellOf(head, file::ShocRow, file::ShocColumn::Version);
    s.status = cellOf(head, file::ShocRow, file::ShocColumn::Status);
    s.siteName = cellOf(head, file::IdentificationRow, file::IdentificationColumn::Site);
    s.observer = cellOf(head, file::ObserverRow, file::ObserverColumn::Name) + QLatin1Char(' ') +
                 cellOf(head, file::ObserverRow, file::ObserverColumn::FirstName);
    const QString email = cellOf(head, file::ContactRow, file::ContactColumn::Email);
    s.contact =
        email.trimmed().isEmpty() ? cellOf(head, file::ContactRow, file::ContactColumn::Telephone) : email;
    s.season = seasonText;
    if (visit >= 0) {
        s.date = date;
        const double index = common::leadingNumber(passageIndex);
        s.passage = std::isfinite(index) ? QString::number(qint64(std::trunc(index)) + 1) : QString();
    }
    s.modified = modified;
    out.result = platform::Result::success();
    return out;
}

} // namespace

SummaryRead readRecordSummary(const QString& path)
{
    const QFileInfo info(path);
    return readSummary(path, info.fileName(), info.lastModified());
}

SummaryRead SummaryCache::summary(const QString& path, const QString& fileName)
{
    const platform::FileStamp stamp = platform::fileStamp(path);
    const auto it = m_entries.find(fileName);
    if (it != m_entries.end() && it->stamp == stamp) {
        it->used = true;
        return {platform::Result::success(), it->summary};
    }
    return read(path, fileName, stamp);
}

SummaryRead SummaryCache::summary(const QString& folder, const platform::FolderFile& file)
{
    const auto it = m_entries.find(file.name);
    if (it != m_entries.end() && it->stamp == file.stamp) {
        it->used = true;
        return {platform::Result::success(), it->summary};
    }
    return read(common::joinPath(folder, file.name), file.name, file.stamp);
}

SummaryRead SummaryCache::read(const QString& path, const QString& fileName, const platform::FileStamp& stamp)
{
    ++m_reads;
    SummaryRead read = readSummary(path, fileName, QDateTime::fromMSecsSinceEpoch(stamp.modifiedMSecs()));
    if (read.result.ok)
        m_entries.insert(fileName, Entry{stamp, read.summary, true});
    else
        m_entries.remove(fileName);
    return read;
}

void SummaryCache::dropUnused()
{
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (!it->used) {
            it = m_entries.erase(it);
        } else {
            it->used = false;
            ++it;
        }
    }
}

} // namespace recordlist
