#include "recordlist/ExportTable.h"

#include "common/ParamConfig.h"
#include "common/Paths.h"
#include "common/Settings.h"
#include "common/SpeciesUpgrade.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "record/RecordFileLayout.h"
#include "record/RecordLayout.h"
#include "record/SpeciesStore.h"
#include "recordlist/InventoryNumber.h"
#include "recordlist/RecordSections.h"

#include <cmath>
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

const QStringList& identificationNames()
{
    static const QStringList names = {QStringLiteral("Organisme"), QStringLiteral("CPU"),
                                      QStringLiteral("Type"),      QStringLiteral("Code inventaire"),
                                      QStringLiteral("Etude"),     QStringLiteral("Hiver"),
                                      QStringLiteral("Site")};
    return names;
}
const QStringList& localityNames()
{
    static const QStringList names = {QStringLiteral("Pays"), QStringLiteral("Département"),
                                      QStringLiteral("Commune"), QStringLiteral("Lieudit")};
    return names;
}
const QStringList& visitNames()
{
    static const QStringList names = {QStringLiteral("Date"),
                                      QStringLiteral("Heure"),
                                      QStringLiteral("Durée"),
                                      QStringLiteral("Type échantillon"),
                                      QStringLiteral("N° Passage"),
                                      QStringLiteral("Observateur"),
                                      QStringLiteral("Email"),
                                      QStringLiteral("N° Parcelle SHOC"),
                                      QStringLiteral("N° Parcelle"),
                                      QStringLiteral("Altitude"),
                                      QStringLiteral("Zone UTM"),
                                      QStringLiteral("Maille MGRS"),
                                      QStringLiteral("Longitude"),
                                      QStringLiteral("Latitude"),
                                      QStringLiteral("Type de coordonnées"),
                                      QStringLiteral("Type de coordonnées lambert")};
    return names;
}
const QStringList& weatherNames()
{
    static const QStringList names = {QStringLiteral("SHOC-Nuage"), QStringLiteral("SHOC-Pluie"),
                                      QStringLiteral("SHOC-Vent"), QStringLiteral("SHOC-Visibilité")};
    return names;
}
const QStringList& speciesNames()
{
    static const QStringList names = {
        QStringLiteral("Classe"),       QStringLiteral("Code espèce"),         QStringLiteral("Nom espèce"),
        QStringLiteral("Comportement"), QStringLiteral("Distance de contact"), QStringLiteral("Nombre")};
    return names;
}

// A count as the table writes it: "3", "2.5".
QString numberText(double value) { return QString::number(value, 'g', 15); }

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

// The network's code: the text before the first "/" of the network cell ("SHOC / Réseau ...").
QString networkCode(const QString& network)
{
    const qsizetype slash = network.indexOf(QLatin1Char('/'));
    return (slash < 0 ? network : network.left(slash)).trimmed();
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

    const QString habitatPath =
        fun_Get_Setting_Str(common::kParametersSection, QStringLiteral("Fichier milieux SHOC"),
                            common::joinPath(common::programFolder(), QStringLiteral("Milieux_SHOC.DOV")));
    grid::Grid table;
    table.setFixedRows(0);
    if (out.result = grid::GridFile::load(table, habitatPath, grid::GridFile::Complete); !out.result)
        return out;
    s.habitatCodes = habitatCodesOf(table);

    grid::Grid species;
    species.setFixedRows(0);
    if (out.result = grid::GridFile::load(species, common::speciesFile(), grid::GridFile::Complete);
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
    QStringList h = identificationNames();
    if (m_settings.withLocality)
        h += localityNames();
    h += visitNames();
    if (!m_settings.withLocality)
        h += QStringLiteral("GPS");
    h += weatherNames();
    for (const QString& code : m_settings.habitatCodes)
        h += QStringLiteral("SHOC-MPP") + code;
    const int shares = shareColumnCount(record.grid(), locations);
    for (int i = 0; i < shares; ++i)
        h += QStringLiteral("SHOC-MPA") + shareCodes().value(i);
    h += speciesNames();
    return h;
}

RecordExport ExportTable::build(const grid::Grid& record, const QString& recordPath) const
{
    return build(RecordSections(record), recordPath);
}

RecordExport ExportTable::build(const RecordSections& record, const QString& recordPath) const
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

    const int identification = record.row(RecordLayout::kTitleIdentification);
    const int visit = record.row(RecordLayout::kTitleVisit);
    const int weather = record.row(RecordLayout::kTitleWeather);
    const int shares = shareColumnCount(g, locations);

    // What every row of the record shares.
    const QString habitatType = g.cell(file::IdentificationRow, Ident::HabitatType).left(2);
    QStringList habitatTicks;
    for (const QString& code : m_settings.habitatCodes)
        habitatTicks += code == habitatType ? kTick : QString();
    QString season = g.cell(file::SeasonRow, file::SeasonColumn);
    season.remove(QStringLiteral("Hiver "));
    const QString date = visit < 0 ? QString() : g.cell(visit, file::VisitColumn::Date);
    const QString passage =
        visit < 0 ? QString()
                  : numberText(common::leadingNumber(g.cell(visit, file::VisitColumn::Passage)) + 1);

    for (int p = 1; p <= parcels; ++p) {
        const int title = record.speciesTitle(p);
        if (title < 0)
            return refuse();
        const QList<int> species = speciesRows(g, title);
        if (species.isEmpty())
            continue;
        if (identification < 0 || visit < 0 || weather < 0)
            return refuse();

        // The cells of the parcel, up to its habitat descriptions.
        const int place = locations + p;
        QStringList parcel;
        parcel.reserve(out.header.size());
        parcel << m_settings.organisme << m_settings.cpu << QStringLiteral("Observateur")
               << QLatin1Char('\'') + fun_Gen_Num_Inventaire_Ravelin(record, p)
               << networkCode(g.cell(file::NetworkRow, file::NetworkColumn)) << season
               << g.cell(file::IdentificationRow, Ident::Site);
        if (m_settings.withLocality)
            parcel << QStringLiteral("FR")
                   << QLatin1Char('\'') + g.cell(identification, Ident::Department).left(2)
                   << g.cell(identification, Ident::Commune) << g.cell(identification, Ident::Place);
        parcel << date << g.cell(title, file::SpeciesTitleColumn::StartTime)
               << g.cell(title, file::SpeciesTitleColumn::Duration) << QStringLiteral("IKA") << passage
               << g.cell(file::ObserverRow, file::ObserverColumn::Name)
               << g.cell(file::ContactRow, file::ContactColumn::Email)
               << QStringLiteral("Parcelle SHOC ") + date.right(4) + QStringLiteral(" : ") +
                      g.cell(place, Loc::Point)
               << g.cell(place, Loc::Point) << g.cell(place, Loc::Altitude) << g.cell(place, Loc::UtmZone)
               << g.cell(place, Loc::Mgrs) << g.cell(place, Loc::Longitude) << g.cell(place, Loc::Latitude)
               << g.cell(place, Loc::CoordType)
               << (common::leadingNumber(g.cell(place, Loc::CoordType)) == record::kCoordLambert
                       ? QStringLiteral("2E")
                       : QString());
        if (!m_settings.withLocality)
            parcel << kTick;
        for (int w = 0; w < record::kWeatherCount; ++w)
            parcel << g.cell(weather + p, file::WeatherColumn::First + w);
        parcel += habitatTicks;
        for (int i = 0; i < shares; ++i)
            parcel << (record::isTickedText(g.cell(place, Loc::FirstHabitat + i)) ? kTick : QString());

        for (const int r : species) {
            QStringList row = parcel;
            const QString name = g.cell(r, kNameColumn);
            const QString indices = g.cell(r, kIndicesColumn);
            row << g.cell(r, kClassColumn).left(1)
                << m_settings.speciesCodes.value(name, g.cell(r, kCodeColumn)) << name
                << (indices.trimmed().isEmpty() ? QString() : indices.left(kBehaviourLength));
            // One row per distance class that has a count; the rest of the total as "Non indiquée".
            double counted = 0;
            for (int d = 0; d < distanceTexts().size(); ++d) {
                const QString cell = g.cell(r, kFirstCountColumn + d);
                if (cell.trimmed().isEmpty())
                    continue;
                const double n = common::leadingNumber(cell);
                out.rows.append(row + QStringList{distanceTexts()[d], numberText(n)});
                counted = std::nearbyint(counted + n);
            }
            const double unstated = common::leadingNumber(g.cell(r, kTotalColumn)) - counted;
            if (unstated > 0)
                out.rows.append(row + QStringList{kUnstatedDistance, numberText(unstated)});
        }
    }
    out.result = platform::Result::success();
    return out;
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

void appendExportRows(grid::Grid& grid, const QList<QStringList>& rows)
{
    if (rows.isEmpty())
        return;
    qsizetype widest = 0;
    for (const QStringList& row : rows)
        widest = std::max(widest, row.size());
    if (grid.cols() < widest + 1)
        grid.setCols(int(widest) + 1);
    const int first = grid.rows();
    const bool redraw = grid.redraw();
    grid.setRedraw(false);
    grid.setRows(first + int(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        const QStringList& row = rows[i];
        for (int c = 0; c < row.size(); ++c)
            grid.setCell(first + i, c + 1, row[c]);
    }
    grid.setRedraw(redraw);
}

} // namespace recordlist
