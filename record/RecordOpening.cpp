#include "record/RecordOpening.h"

#include "common/Paths.h"
#include "grid/Grid.h"
#include "platform/SaveFile.h"
#include "record/RecordFileLayout.h"
#include "record/RecordStore.h"
#include "record/ReferenceData.h"
#include "record/Season.h"
#include "record/SiteName.h"

namespace record {

namespace {

const QString kCaptionUpdate = QStringLiteral("EPS : modification du relevé ");
const QString kCaptionKnownSite = QStringLiteral("SHOC : nouveau relevé dans le site ");
const QString kCaptionNewSite = QStringLiteral("SHOC : nouveau relevé dans un nouveau site");

// The rows and columns of the stored form that a new record of a known site empties.
constexpr grid::GridRange kClearedForNewRecord{5, 3, 14, 16};

// An empty record grid: the rows the writer expects before its sections.
void emptyRecordGrid(grid::Grid& g)
{
    g.clear();
    g.setFixedRows(0);
    g.setFixedCols(0);
    g.setRows(9);
    g.setCols(file::ColumnCount);
    g.setFixedRows(1);
    g.setFixedCols(1);
    g.setEditable(grid::Grid::Editable::None);
}

QString itemOrEmpty(const ChoiceList& list)
{
    return list.selected >= 0 ? list.items.value(list.selected) : QString();
}

// The department item of a code ("26" gives "26 - Drôme"), among every department of the table.
QString departmentItem(const ReferenceData& references, const QString& code)
{
    for (const QString& item : references.sub_Load_Dept(QStringLiteral("%")))
        if (item.startsWith(code + QStringLiteral(" - ")))
            return item;
    return QString();
}

// A new record for a known site whose files cannot be used: the fields its name holds.
RecordOpening newRecordForSite(const RecordRequest& request, const ReferenceData& references,
                               const QStringList& seasons, const QDate& today, RecordOpening out,
                               const QString& why)
{
    SurveyRecord rec = newRecord(references, seasons, today);
    if (const std::optional<SiteFields> f = siteFieldsOf(request.site)) {
        rec.department = departmentItem(references, f->departmentCode);
        if (rec.department.isEmpty())
            rec.department = f->departmentCode;
        rec.commune = f->commune;
        rec.placeName = f->placeName;
        rec.observerName = f->observerName;
        rec.observerFirstName = f->observerFirstName;
        const qsizetype i = seasons.indexOf(f->season);
        if (request.mode == RecordMode::NextWinter && i >= 0 && i + 1 < seasons.size())
            rec.season = seasons[i + 1];
        else if (request.mode != RecordMode::NextWinter && i >= 0)
            rec.season = seasons[i];
    }
    out.result = platform::Result::success();
    out.mode = RecordMode::New;
    out.reading = RecordReading();
    out.reading.record = rec;
    out.fileName.clear();
    out.caption = kCaptionKnownSite + request.site;
    out.notices << why + QStringLiteral(" Un nouveau relevé est ouvert pour ce site.");
    return out;
}

} // namespace

SurveyRecord newRecord(const ReferenceData& references, const QStringList& seasons, const QDate& today)
{
    SurveyRecord rec;
    rec.parcels.resize(kNewRecordParcels);
    rec.network = itemOrEmpty(references.networks());
    rec.habitatType = itemOrEmpty(references.habitats());
    rec.season = sub_Locate_Saison(QString(), seasons, today);
    return rec;
}

RecordOpening openRecord(const RecordRequest& request, const RecordStore& store,
                         const ReferenceData& references, const QStringList& seasons, grid::Grid& stored,
                         const QDate& today)
{
    RecordOpening out;
    out.mode = request.mode;
    emptyRecordGrid(stored);

    if (request.mode == RecordMode::New) {
        out.result = platform::Result::success();
        out.reading.record = newRecord(references, seasons, today);
        out.caption = kCaptionNewSite;
        return out;
    }

    ReadOptions options;
    options.mode = request.mode;
    options.seasons = seasons;

    if (request.mode == RecordMode::Update) {
        if (out.result = store.load(request.fileName, stored); !out.result.ok)
            return out;
        RecordReadResult read = RecordLayout::read(stored, options);
        if (!read.result.ok) {
            out.result = platform::Result::failure(platform::readFailureText(
                common::joinPath(store.folder(), request.fileName), read.result.error));
            emptyRecordGrid(stored);
            return out;
        }
        out.reading = read.reading;
        out.notices = read.reading.notices;
        out.fileName = request.fileName;
        out.caption = kCaptionUpdate + request.fileName;
        return out;
    }

    // A known site: the passages of its files, then its latest file.
    const QString latest = store.latestFile(request.site);
    if (latest.isEmpty())
        return newRecordForSite(
            request, references, seasons, today, out,
            QStringLiteral("Aucun relevé du site « %1 » n'a été trouvé dans le dossier des données « %2 ».")
                .arg(request.site, store.folder()));
    const StoredPassages passages = store.storedPassages(request.site);
    out.notices << passages.unreadable;
    options.storedPassages = passages.passages;

    RecordReadResult read;
    if (const platform::Result loaded = store.load(latest, stored); !loaded.ok) {
        read.result = loaded;
    } else {
        read = RecordLayout::read(stored, options);
        if (!read.result.ok)
            read.result.error =
                platform::readFailureText(common::joinPath(store.folder(), latest), read.result.error);
    }
    if (!read.result.ok) {
        emptyRecordGrid(stored);
        return newRecordForSite(request, references, seasons, today, out,
                                read.result.error + QStringLiteral(" C'est le dernier relevé du site."));
    }
    stored.clearRange(kClearedForNewRecord);
    out.result = platform::Result::success();
    out.reading = read.reading;
    out.notices << read.reading.notices;
    out.fileName = latest;
    out.caption = kCaptionKnownSite + out.reading.record.siteName;
    return out;
}

} // namespace record
