#include "record/CoordinateSwitch.h"

#include "record/LocationGrid.h"
#include "record/SurveyRecord.h"

#include <optional>

using grid::Grid;

namespace record {

namespace {

// The cells a type writes, in the order zone, longitude, latitude, square.
struct PositionCells
{
    QString utmZone, longitude, latitude, mgrsSquare;
};

// The converted position as the new type writes it; nothing when the dispatcher left a slot of
// that type empty.
std::optional<PositionCells> cellsOf(const ConvertedPosition& p, int type)
{
    const auto text = [](const QVariant& slot) { return coords::slotText(slot); };
    const auto blank = [](const QString& s) { return s.trimmed().isEmpty(); };
    PositionCells cells;
    switch (type) {
    case kCoordMgrs:
        cells.mgrsSquare = text(p.z[type]);
        if (blank(cells.mgrsSquare))
            return std::nullopt;
        return cells;
    case kCoordUtm:
        cells.utmZone = text(p.z[type]);
        if (blank(cells.utmZone))
            return std::nullopt;
        [[fallthrough]];
    default:
        cells.longitude = text(p.x[type]);
        cells.latitude = text(p.y[type]);
        if (blank(cells.longitude) || blank(cells.latitude))
            return std::nullopt;
        return cells;
    }
}

} // namespace

PositionColumns positionColumnsShown(int coordinateType)
{
    switch (coordinateType) {
    case kCoordUtm:
        return {.utmZone = true, .longitude = true, .latitude = true, .mgrsSquare = false};
    case kCoordMgrs:
        return {.utmZone = false, .longitude = false, .latitude = false, .mgrsSquare = true};
    default:
        return {};
    }
}

int switchCoordinateSystem(Grid& rows, int count, int oldType, int newType, const ConvertFunction& convert)
{
    if (oldType == newType || newType < kCoordNtfGrads || newType > kCoordMgrs)
        return 0;
    const CoordinateServices services{.convert = convert, .distance = {}};
    // The dispatcher's zone: the default Lambert zone for NTF and Lambert sources, the WGS84 datum
    // for the others.
    const QString zone =
        oldType == kCoordNtfGrads || oldType == kCoordLambert ? QStringLiteral("*") : QStringLiteral("WGS84");
    int converted = 0;
    for (int row = 1; row <= count && row < rows.rows(); ++row) {
        const auto position = convertPosition(oldType, typedPositionOf(rows, row), services, zone);
        if (!position)
            continue;
        const auto cells = cellsOf(*position, newType);
        if (!cells)
            continue;
        rows.setCell(row, LocUtmZone, cells->utmZone);
        rows.setCell(row, LocLongitude, cells->longitude);
        rows.setCell(row, LocLatitude, cells->latitude);
        rows.setCell(row, LocMgrs, cells->mgrsSquare);
        rows.setCell(row, LocLambertX, position->lambertX);
        rows.setCell(row, LocLambertY, position->lambertY);
        ++converted;
    }
    return converted;
}

} // namespace record
