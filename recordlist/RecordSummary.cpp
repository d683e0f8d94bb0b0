#include "recordlist/RecordSummary.h"

#include "common/Settings.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "platform/SaveFile.h"
#include "record/RecordLayout.h"
#include "record/SurveyRecord.h"

#include <QFileInfo>
#include <cmath>

namespace recordlist {

namespace {

using record::RecordLayout;

constexpr int kLabel = 1;
constexpr int kShocRow = 1;
constexpr int kIdentificationRow = 2;
constexpr int kObserverRow = 5;
constexpr int kParcelCountRow = 7;
constexpr int kLocationsRow = 9;
// Rows 0 to 40: the date row of a record of 30 parcels is row 10 + 30.
constexpr int kHeadRows = 11 + record::kMaxParcels;

QString cellOf(const QList<QStringList>& rows, int row, int col)
{
    return row < rows.size() ? rows[row].value(col) : QString();
}

// Where a record puts its date row: one row after its last parcel; -1 when the number of parcels
// cannot be read.
int expectedVisitRow(const QList<QStringList>& rows)
{
    bool ok = false;
    const int parcels = cellOf(rows, kParcelCountRow, 2).trimmed().toInt(&ok);
    return ok && parcels >= 0 ? kLocationsRow + 1 + parcels : -1;
}

// The texts read of each row: the label of every row (to find the date row as a reader of the
// whole file would), and the cells the list shows.
class ColumnsWanted
{
public:
    int operator()(int row, const QList<QStringList>& before)
    {
        switch (row) {
        case kShocRow:
            return 4; // label, version, status
        case kIdentificationRow:
            return 6; // ... site name in column 5
        case kObserverRow:
            return 4; // name, first name
        case kParcelCountRow:
            return 3;
        case kParcelCountRow + 1:
            m_visit = expectedVisitRow(before);
            break;
        default:
            break;
        }
        return row == m_visit ? 4 : 2; // the date row: label, date, passage index
    }

private:
    int m_visit = -1;
};

SummaryRead readSummary(const QString& path, const QString& fileName, const QDateTime& modified)
{
    SummaryRead out;
    const platform::ResultOf<QList<QStringList>> read =
        grid::GridFile::readHead(path, kHeadRows, ColumnsWanted());
    if (out.result = read.result; !out.result.ok)
        return out;
    const QList<QStringList>& head = read.value;
    if (cellOf(head, kShocRow, kLabel) != RecordLayout::kTitleShoc) {
        out.result = platform::Result::failure(
            platform::readFailureText(path, QStringLiteral("ce n'est pas un relevé SHOC")));
        return out;
    }
    int visit = -1;
    for (int r = 0; r < head.size() && visit < 0; ++r)
        if (head[r].value(kLabel) == RecordLayout::kTitleVisit)
            visit = r;
    QString date, passageIndex;
    if (visit >= 0 && visit == expectedVisitRow(head)) {
        // Read whole by the head reader.
        date = cellOf(head, visit, 2);
        passageIndex = cellOf(head, visit, 3);
    } else if (visit >= 0 || head.size() >= kHeadRows) {
        // Not where a record puts it: read the whole file, as the record window would.
        grid::Grid g;
        if (out.result = grid::GridFile::load(g, path, grid::GridFile::Complete); !out.result.ok)
            return out;
        visit = g.findRow(RecordLayout::kTitleVisit, 0, kLabel);
        date = g.cell(visit, 2);
        passageIndex = g.cell(visit, 3);
    }

    RecordSummary& s = out.summary;
    s.fileName = fileName;
    s.version = cellOf(head, kShocRow, 2);
    s.status = cellOf(head, kShocRow, 3);
    s.siteName = cellOf(head, kIdentificationRow, 5);
    s.observer = cellOf(head, kObserverRow, 2) + QLatin1Char(' ') + cellOf(head, kObserverRow, 3);
    if (visit >= 0) {
        s.date = date;
        const double index = fun_Val(passageIndex);
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
    const QFileInfo info(path);
    const qint64 size = info.size();
    const QDateTime modified = info.lastModified();
    const auto it = m_entries.find(fileName);
    if (it != m_entries.end() && it->size == size && it->modified == modified) {
        it->used = true;
        return {platform::Result::success(), it->summary};
    }
    ++m_reads;
    SummaryRead read = readSummary(path, fileName, modified);
    if (read.result.ok)
        m_entries.insert(fileName, Entry{size, modified, read.summary, true});
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
