#include "recordlist/ExportTable.h"

#include "common/ParamConfig.h"
#include "common/Paths.h"
#include "common/Settings.h"
#include "common/TableCatalogue.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "record/RecordFileLayout.h"
#include "record/RecordLayout.h"
#include "record/SpeciesStore.h"
#include "recordlist/InventoryNumber.h"
#include "recordlist/RecordSections.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <span>
#include <utility>

namespace recordlist {

namespace {

using record::RecordLayout;

// The scheme whose Gadrel identification the export carries.
const QString kScheme = QStringLiteral("SHOC");
const QString kDefaultCpu = QStringLiteral("HA");

namespace file = record::file;
namespace Loc = record::file::LocationColumn;
namespace Ident = record::file::IdentificationColumn;

// Cells of a species row.
constexpr int kClassColumn = file::speciesColumn(record::SpeciesClassColumn);
constexpr int kCodeColumn = file::speciesColumn(record::SpeciesCodeColumn);
constexpr int kNameColumn = file::speciesColumn(record::SpeciesNameColumn);
constexpr int kFirstCountColumn = file::speciesColumn(record::SpeciesFirstCountColumn);
constexpr int kTotalColumn = file::speciesColumn(record::SpeciesTotalColumn);
constexpr int kIndicesColumn = file::speciesColumn(record::SpeciesIndicesColumn);
constexpr int kBehaviourLength = 4;

const QString kTick = QStringLiteral("-1");

const QStringList& distanceTexts()
{
    static const QStringList texts = {QStringLiteral("< 50m"), QStringLiteral("50-200m"),
                                      QStringLiteral("> 200m"), QStringLiteral("En vol")};
    return texts;
}
const QString kUnstatedDistance = QStringLiteral("Non indiquée");

// The habitat description columns of a record, in order, as Gadrel names them.
const QStringList& shareCodes()
{
    static const QStringList codes = {"PA", "SN", "CH", "AC", "MA", "VG", "VI", "XX", "FO",
                                      "AI", "HA", "PE", "HT", "CE", "CM", "RT", "FI", "RC"};
    return codes;
}

// A count as the table writes it: "3", "2.5".
QString numberText(double value) { return QString::number(value, 'g', 15); }

// The network's code: the text before the first "/" of the network cell ("SHOC / Réseau ...").
QString networkCode(const QString& network)
{
    const qsizetype slash = network.indexOf(QLatin1Char('/'));
    return (slash < 0 ? network : network.left(slash)).trimmed();
}

// What the cells of a table row are made from: the record, then the parcel, the species row and
// the count the row is about.
struct RowSource
{
    const ExportSettings& settings;
    const RecordSections& record;
    const grid::Grid& g;
    // The texts of the table so far, each kept once (see appendCells).
    QSet<QString>& texts;
    // What every row of the record shares.
    int identification = -1; // the rows of the sections found by their label
    int weather = -1;
    int shares = 0; // the record's habitat description columns
    QString season{};
    QString date{};
    QString passage{};
    QString habitatType{};
    // The parcel: its number, its row under "Coordonnées", the title row of its species block.
    int parcel = 0;
    int place = -1;
    int title = -1;
    // The species row, and the distance class and count of the table row.
    int species = -1;
    QString distance{};
    double count = 0;

    QString weatherCode(int w) const { return g.cell(weather + parcel, file::WeatherColumn::First + w); }
};

// When a column's cell is made: once a parcel, once a species row of the parcel, once a table row
// (a distance class, or the unstated rest). The table's columns come in that order.
enum class Part { Parcel, Species, Count };
// Columns present only with the locality, or only without it (the coordinates then stand alone).
enum class Shown { Always, WithLocality, WithoutLocality };
// A column that stands for a list: its header is followed by each code in turn, and the index its
// cell is made with is the code's.
enum class Repeat { Once, PerHabitatCode, PerShare };

using Source = const RowSource&;

struct Column
{
    QStringView header;
    Part part;
    QString (*cell)(Source s, int index);
    Shown shown = Shown::Always;
    Repeat repeat = Repeat::Once;
};

// The export table's columns, from column 1 on: each one's header and how its cell is made.
constexpr Column kColumns[] = {
    // The record's identification.
    {u"Organisme", Part::Parcel, [](Source s, int) { return s.settings.organisme; }},
    {u"CPU", Part::Parcel, [](Source s, int) { return s.settings.cpu; }},
    {u"Type", Part::Parcel, [](Source, int) { return QStringLiteral("Observateur"); }},
    {u"Code inventaire", Part::Parcel,
     [](Source s, int) { return QLatin1Char('\'') + fun_Gen_Num_Inventaire_Ravelin(s.record, s.parcel); }},
    {u"Etude", Part::Parcel,
     [](Source s, int) { return networkCode(s.g.cell(file::NetworkRow, file::NetworkColumn)); }},
    {u"Hiver", Part::Parcel, [](Source s, int) { return s.season; }},
    {u"Site", Part::Parcel, [](Source s, int) { return s.g.cell(file::IdentificationRow, Ident::Site); }},
    // The locality.
    {u"Pays", Part::Parcel, [](Source, int) { return QStringLiteral("FR"); }, Shown::WithLocality},
    {u"Département", Part::Parcel,
     [](Source s, int) { return QLatin1Char('\'') + s.g.cell(s.identification, Ident::Department).left(2); },
     Shown::WithLocality},
    {u"Commune", Part::Parcel, [](Source s, int) { return s.g.cell(s.identification, Ident::Commune); },
     Shown::WithLocality},
    {u"Lieudit", Part::Parcel, [](Source s, int) { return s.g.cell(s.identification, Ident::Place); },
     Shown::WithLocality},
    // The visit of the parcel and its location.
    {u"Date", Part::Parcel, [](Source s, int) { return s.date; }},
    {u"Heure", Part::Parcel,
     [](Source s, int) { return s.g.cell(s.title, file::SpeciesTitleColumn::StartTime); }},
    {u"Durée", Part::Parcel,
     [](Source s, int) { return s.g.cell(s.title, file::SpeciesTitleColumn::Duration); }},
    {u"Type échantillon", Part::Parcel, [](Source, int) { return QStringLiteral("IKA"); }},
    {u"N° Passage", Part::Parcel, [](Source s, int) { return s.passage; }},
    {u"Observateur", Part::Parcel,
     [](Source s, int) { return s.g.cell(file::ObserverRow, file::ObserverColumn::Name); }},
    {u"Email", Part::Parcel,
     [](Source s, int) { return s.g.cell(file::ContactRow, file::ContactColumn::Email); }},
    {u"N° Parcelle SHOC", Part::Parcel,
     [](Source s, int) {
         return QStringLiteral("Parcelle SHOC ") + s.date.right(4) + QStringLiteral(" : ") +
                s.g.cell(s.place, Loc::Point);
     }},
    {u"N° Parcelle", Part::Parcel, [](Source s, int) { return s.g.cell(s.place, Loc::Point); }},
    {u"Altitude", Part::Parcel, [](Source s, int) { return s.g.cell(s.place, Loc::Altitude); }},
    {u"Zone UTM", Part::Parcel, [](Source s, int) { return s.g.cell(s.place, Loc::UtmZone); }},
    {u"Maille MGRS", Part::Parcel, [](Source s, int) { return s.g.cell(s.place, Loc::Mgrs); }},
    {u"Longitude", Part::Parcel, [](Source s, int) { return s.g.cell(s.place, Loc::Longitude); }},
    {u"Latitude", Part::Parcel, [](Source s, int) { return s.g.cell(s.place, Loc::Latitude); }},
    {u"Type de coordonnées", Part::Parcel, [](Source s, int) { return s.g.cell(s.place, Loc::CoordType); }},
    {u"Type de coordonnées lambert", Part::Parcel,
     [](Source s, int) {
         return common::leadingNumber(s.g.cell(s.place, Loc::CoordType)) == record::kCoordLambert
                    ? QStringLiteral("2E")
                    : QString();
     }},
    {u"GPS", Part::Parcel, [](Source, int) { return kTick; }, Shown::WithoutLocality},
    // The parcel's weather.
    {u"SHOC-Nuage", Part::Parcel, [](Source s, int) { return s.weatherCode(0); }},
    {u"SHOC-Pluie", Part::Parcel, [](Source s, int) { return s.weatherCode(1); }},
    {u"SHOC-Vent", Part::Parcel, [](Source s, int) { return s.weatherCode(2); }},
    {u"SHOC-Visibilité", Part::Parcel, [](Source s, int) { return s.weatherCode(3); }},
    // The site's habitat type, one tick per code of the habitat table; the parcel's habitat
    // descriptions.
    {u"SHOC-MPP", Part::Parcel,
     [](Source s, int i) { return s.settings.habitatCodes[i] == s.habitatType ? kTick : QString(); },
     Shown::Always, Repeat::PerHabitatCode},
    {u"SHOC-MPA", Part::Parcel,
     [](Source s, int i) {
         return record::isTickedText(s.g.cell(s.place, Loc::FirstHabitat + i)) ? kTick : QString();
     },
     Shown::Always, Repeat::PerShare},
    // The species.
    {u"Classe", Part::Species, [](Source s, int) { return s.g.cell(s.species, kClassColumn).left(1); }},
    {u"Code espèce", Part::Species,
     [](Source s, int) {
         return s.settings.speciesCodes.value(s.g.cell(s.species, kNameColumn),
                                              s.g.cell(s.species, kCodeColumn));
     }},
    {u"Nom espèce", Part::Species, [](Source s, int) { return s.g.cell(s.species, kNameColumn); }},
    {u"Comportement", Part::Species,
     [](Source s, int) {
         const QString indices = s.g.cell(s.species, kIndicesColumn);
         return indices.trimmed().isEmpty() ? QString() : indices.left(kBehaviourLength);
     }},
    // The count.
    {u"Distance de contact", Part::Count, [](Source s, int) { return s.distance; }},
    {u"Nombre", Part::Count, [](Source s, int) { return numberText(s.count); }},
};

constexpr bool partsInOrder()
{
    for (std::size_t i = 1; i < std::size(kColumns); ++i)
        if (kColumns[i].part < kColumns[i - 1].part)
            return false;
    return true;
}
static_assert(partsInOrder(), "a row is made parcel cells first, then species cells, then count cells");

// The columns whose cells are made at one part of the rows.
std::span<const Column> columnsOf(Part part)
{
    const auto first = std::find_if(std::begin(kColumns), std::end(kColumns),
                                    [&](const Column& c) { return c.part >= part; });
    const auto last = std::find_if(first, std::end(kColumns), [&](const Column& c) { return c.part > part; });
    return {first, last};
}

bool isShown(const Column& c, bool withLocality)
{
    return c.shown == Shown::Always || (c.shown == Shown::WithLocality) == withLocality;
}

// How many columns a column stands for.
int repeatCount(const Column& c, const ExportSettings& settings, int shares)
{
    switch (c.repeat) {
    case Repeat::PerHabitatCode:
        return int(settings.habitatCodes.size());
    case Repeat::PerShare:
        return shares;
    case Repeat::Once:
        break;
    }
    return 1;
}

// The text kept for a cell: the one the table already holds when it has held it before. Most
// cells recur from parcel to parcel and from record to record (counts, codes, times, species),
// and a table of millions of cells then keeps each text once.
QString kept(QSet<QString>& texts, QString text)
{
    if (text.isEmpty())
        return text;
    if (const auto found = texts.constFind(text); found != texts.cend())
        return *found;
    texts.insert(text);
    return text;
}

// The cells of one part of a row.
void appendCells(QStringList& row, Part part, const RowSource& s)
{
    for (const Column& c : columnsOf(part))
        if (isShown(c, s.settings.withLocality))
            for (int i = 0, n = repeatCount(c, s.settings, s.shares); i < n; ++i)
                row << kept(s.texts, c.cell(s, i));
}

// The habitat description columns of a record: from the first one while the caption of the
// "Coordonnées" title row is not blank.
int shareColumnCount(const grid::Grid& g, int locations)
{
    int n = 0;
    while (!g.cell(locations, Loc::FirstHabitat + n).trimmed().isEmpty())
        ++n;
    return n;
}

// The rows of a parcel's species block: after its title (and the species grid's header when it is
// there), while column 1 is blank and column 2 holds a class. A parcel stored with its title row
// only has none, whatever follows.
QList<int> speciesRows(const grid::Grid& g, int title)
{
    QList<int> rows;
    int r = title + 1;
    if (r < g.rows() && g.cell(r, file::LabelColumn).trimmed().isEmpty() &&
        g.cell(r, kClassColumn) == record::speciesTitles().value(0))
        ++r;
    for (; r < g.rows(); ++r) {
        if (!g.cell(r, file::LabelColumn).trimmed().isEmpty() || g.cell(r, kClassColumn).trimmed().isEmpty())
            break;
        rows.append(r);
    }
    return rows;
}

} // namespace

QString notConformingText(const QString& recordPath)
{
    return QStringLiteral("Le fichier ") + recordPath + QStringLiteral(" n'est pas conforme.");
}

QStringList habitatCodesOf(const grid::Grid& table)
{
    QStringList codes;
    for (int r = 1; r < table.rows(); ++r) {
        const QString code = table.cell(r, 1);
        if (code.isEmpty())
            break;
        codes.append(code);
    }
    return codes;
}

QHash<QString, QString> speciesCodesOf(const grid::Grid& table)
{
    QHash<QString, QString> codes;
    codes.reserve(table.rows());
    for (int r = 1; r < table.rows(); ++r) {
        const QString name = table.cell(r, 3);
        if (!codes.contains(name))
            codes.insert(name, table.cell(r, 2));
    }
    return codes;
}

ExportSettingsReading readExportSettings(bool withLocality)
{
    ExportSettingsReading out;
    ExportSettings& s = out.settings;
    s.withLocality = withLocality;
    const QString organisation =
        fun_Get_Setting_Str(common::kParametersSection, QStringLiteral("Organisme"), QStringLiteral("?"));
    s.organisme = fun_Get_Setting_Str(common::kParametersSection, common::kOrganisationChoiceValue + kScheme,
                                      organisation);
    s.cpu = fun_Get_Setting_Str(common::kParametersSection, common::kCpuChoiceValue + kScheme, kDefaultCpu);

    grid::Grid table;
    table.setFixedRows(0);
    if (out.result = grid::GridFile::load(table, common::tablePath(common::ParamMode::Habitats),
                                          grid::GridFile::Complete);
        !out.result)
        return out;
    s.habitatCodes = habitatCodesOf(table);

    grid::Grid species;
    species.setFixedRows(0);
    if (out.result = grid::GridFile::load(species, common::tablePath(common::ParamMode::Species),
                                          grid::GridFile::Complete);
        !out.result)
        return out;
    s.speciesCodes = speciesCodesOf(species);
    return out;
}

ExportTable::ExportTable(ExportSettings settings) : m_settings(std::move(settings)) {}

QStringList ExportTable::header(const RecordSections& record) const
{
    const int locations = record.row(RecordLayout::kTitleLocations);
    if (locations < 0)
        return {};
    const int shares = shareColumnCount(record.grid(), locations);
    QStringList h;
    for (const Column& c : kColumns) {
        if (!isShown(c, m_settings.withLocality))
            continue;
        switch (c.repeat) {
        case Repeat::Once:
            h += c.header.toString();
            break;
        case Repeat::PerHabitatCode:
            for (const QString& code : m_settings.habitatCodes)
                h += c.header.toString() + code;
            break;
        case Repeat::PerShare:
            for (int i = 0; i < shares; ++i)
                h += c.header.toString() + shareCodes().value(i);
            break;
        }
    }
    return h;
}

RecordExport ExportTable::build(const grid::Grid& record, const QString& recordPath) const
{
    return build(RecordSections(record), recordPath);
}

RecordExport ExportTable::build(const RecordSections& record, const QString& recordPath) const
{
    RecordExport out = gridRows(record, recordPath);
    // Column 0 off: dropping a list's first item moves its start, nothing is copied.
    for (QStringList& row : out.rows)
        row.removeFirst();
    return out;
}

RecordExport ExportTable::gridRows(const grid::Grid& record, const QString& recordPath) const
{
    return gridRows(RecordSections(record), recordPath);
}

RecordExport ExportTable::gridRows(const RecordSections& record, const QString& recordPath) const
{
    RecordExport out;
    // A refused record keeps none of the rows built before the fault was found.
    const auto refuse = [&] {
        out.rows.clear();
        out.result = platform::Result::failure(notConformingText(recordPath));
        return out;
    };
    const grid::Grid& g = record.grid();
    out.header = header(record);
    const int locations = record.row(RecordLayout::kTitleLocations);
    const int count = record.row(RecordLayout::kTitleParcelCount);
    if (locations < 0 || count < 0)
        return refuse();
    // A count that is no number gives no parcel; one beyond the record's species blocks is refused
    // at the first block missing (no grid holds more blocks than rows).
    const double parcelCount = std::nearbyint(common::leadingNumber(g.cell(count, file::ParcelCountColumn)));
    const int parcels = parcelCount >= 1 ? int(std::min(parcelCount, double(g.rows()) + 1)) : 0;

    // What every row of the record shares.
    RowSource s{m_settings, record, g, m_texts};
    s.identification = record.row(RecordLayout::kTitleIdentification);
    s.weather = record.row(RecordLayout::kTitleWeather);
    s.shares = shareColumnCount(g, locations);
    s.habitatType = g.cell(file::IdentificationRow, Ident::HabitatType).left(2);
    s.season = g.cell(file::SeasonRow, file::SeasonColumn);
    s.season.remove(QStringLiteral("Hiver "));
    const int visit = record.row(RecordLayout::kTitleVisit);
    if (visit >= 0) {
        s.date = g.cell(visit, file::VisitColumn::Date);
        s.passage = numberText(common::leadingNumber(g.cell(visit, file::VisitColumn::Passage)) + 1);
    }

    for (int p = 1; p <= parcels; ++p) {
        const int title = record.speciesTitle(p);
        if (title < 0)
            return refuse();
        const QList<int> species = speciesRows(g, title);
        if (species.isEmpty())
            continue;
        if (s.identification < 0 || visit < 0 || s.weather < 0)
            return refuse();

        s.parcel = p;
        s.place = locations + p;
        s.title = title;
        QStringList parcel;
        appendCells(parcel, Part::Parcel, s);

        for (const int r : species) {
            s.species = r;
            QStringList kind;
            appendCells(kind, Part::Species, s);
            // One row per distance class that has a count; the rest of the total as "Non indiquée".
            // Each row is made in a list of its exact length, column 0 first: the table keeps
            // thousands of them as they are.
            const auto appendRow = [&](const QString& distance, double n) {
                s.distance = distance;
                s.count = n;
                QStringList cells;
                cells.reserve(out.header.size() + 1);
                cells.append(QString());
                cells.append(parcel);
                cells.append(kind);
                appendCells(cells, Part::Count, s);
                out.rows.append(std::move(cells));
            };
            double counted = 0;
            for (int d = 0; d < distanceTexts().size(); ++d) {
                const QString cell = g.cell(r, kFirstCountColumn + d);
                if (cell.trimmed().isEmpty())
                    continue;
                const double n = common::leadingNumber(cell);
                appendRow(distanceTexts()[d], n);
                counted = std::nearbyint(counted + n);
            }
            const double unstated = common::leadingNumber(g.cell(r, kTotalColumn)) - counted;
            if (unstated > 0)
                appendRow(kUnstatedDistance, unstated);
        }
    }
    out.result = platform::Result::success();
    return out;
}

void emptyExportTable(grid::Grid& grid)
{
    grid.setRows(1);
    grid.setCols(1);
    grid.clear();
}

void setExportHeader(grid::Grid& grid, const QStringList& header)
{
    if (grid.rows() < 1)
        grid.setRows(1);
    grid.setFixedRows(1);
    grid.setFixedCols(1);
    if (grid.cols() < header.size() + 1)
        grid.setCols(int(header.size()) + 1);
    for (int c = 1; c < grid.cols(); ++c)
        grid.setCell(0, c, header.value(c - 1));
}

void appendGridRows(grid::Grid& grid, const QList<QStringList>& rows)
{
    if (rows.isEmpty())
        return;
    qsizetype widest = 0;
    for (const QStringList& row : rows)
        widest = std::max(widest, row.size());
    if (grid.cols() < widest)
        grid.setCols(int(widest));
    const int first = grid.rows();
    const bool redraw = grid.redraw();
    grid.setRedraw(false);
    grid.setRows(first + int(rows.size()));
    for (int i = 0; i < rows.size(); ++i)
        grid.setRow(first + i, rows[i]);
    grid.setRedraw(redraw);
}

} // namespace recordlist
