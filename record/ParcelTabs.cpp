#include "record/ParcelTabs.h"

#include "grid/Grid.h"
#include "record/RecordLayout.h"
#include "record/SpeciesStore.h"

#include <algorithm>

namespace record {

namespace {

bool given(const QString& text) { return !text.trimmed().isEmpty(); }

bool holdsData(const Parcel& p)
{
    const ParcelLocation& l = p.location;
    for (const QString* text : {&l.placeName, &l.utmZone, &l.longitude, &l.latitude, &l.mgrsSquare,
                                &l.walkLength, &l.altitude, &p.startTime, &p.duration})
        if (given(*text))
            return true;
    if (l.huntingReserve || p.huntingOn || p.huntingNear)
        return true;
    if (std::any_of(p.habitats.begin(), p.habitats.end(), [](bool h) { return h; }))
        return true;
    if (std::any_of(p.weather.begin(), p.weather.end(), given))
        return true;
    return p.species && !p.species->isEmpty();
}

} // namespace

QString ParcelTabs::caption(int parcel) { return QStringLiteral("Parcelle N°") + QString::number(parcel); }

ParcelValues ParcelTabs::values(int parcel) const
{
    return parcel >= 1 && parcel < kKeptParcels ? m_values[size_t(parcel)] : ParcelValues();
}

void ParcelTabs::store(int parcel, const ParcelValues& values)
{
    if (parcel >= 1 && parcel < kKeptParcels)
        m_values[size_t(parcel)] = values;
}

void ParcelTabs::clear() { m_values.fill(ParcelValues()); }

void setParcelRows(grid::Grid& grid, int count, int checkColumn)
{
    const int kept = std::clamp(grid.rows() - 1, 0, std::max(count, 0));
    grid.setRows(std::max(1, kept + 1));
    for (int p = kept + 1; p <= count; ++p) {
        const int row = grid.addRow(QLatin1Char('\t') + RecordLayout::parcelLabel(p));
        if (checkColumn >= 0)
            grid.setCheckState(row, checkColumn, grid::Grid::Unchecked);
    }
}

QList<int> speciesGridRows(const grid::Grid& grid)
{
    QList<int> rows;
    for (int r = 1; r < grid.rows(); ++r)
        if (!speciesRowOf(grid, r).isBlank())
            rows << r;
    return rows;
}

void applySpeciesTable(grid::Grid& grid, const SpeciesTable& table)
{
    const QList<int> rows = speciesGridRows(grid);
    if (rows.size() != table.size()) {
        fillSpeciesGrid(grid, table);
        return;
    }
    for (int i = 0; i < rows.size(); ++i)
        setSpeciesRow(grid, rows[i], table[i]);
}

QList<int> parcelsHoldingData(const SurveyRecord& record)
{
    QList<int> out;
    for (int i = 0; i < record.parcels.size(); ++i)
        if (holdsData(record.parcels[i]))
            out << i + 1;
    return out;
}

} // namespace record
