#include "record/ParcelPosition.h"

#include "record/ReferenceData.h"
#include "record/SurveyRecord.h"

#include <cmath>

namespace record {

namespace {

bool blank(const QString& text) { return text.trimmed().isEmpty(); }

} // namespace

bool positionComplete(int type, const TypedPosition& p)
{
    switch (type) {
    case kCoordNtfGrads:
    case kCoordLambert:
    case kCoordWgs84:
        return !blank(p.longitude) && !blank(p.latitude);
    case kCoordUtm:
        return !blank(p.utmZone) && !blank(p.longitude) && !blank(p.latitude);
    case kCoordMgrs:
        return !blank(p.mgrsSquare);
    default:
        return false;
    }
}

std::optional<ConvertedPosition> convertPosition(int type, const TypedPosition& p,
                                                 const CoordinateServices& services, const QString& zone)
{
    if (!positionComplete(type, p))
        return std::nullopt;
    ConvertedPosition c;
    if (type == kCoordMgrs) {
        c.x[type] = QString();
        c.y[type] = QString();
        c.z[type] = p.mgrsSquare.trimmed();
    } else {
        c.x[type] = p.longitude.trimmed();
        c.y[type] = p.latitude.trimmed();
        c.z[type] = type == kCoordUtm ? p.utmZone.trimmed() : QStringLiteral("0");
    }
    if (services.convert(c.x, c.y, c.z, type, zone).error != 0)
        return std::nullopt;
    const auto x = wholeMetres(c.x[kCoordLambert]);
    const auto y = wholeMetres(c.y[kCoordLambert]);
    if (!x || !y)
        return std::nullopt;
    c.lambertX = *x;
    c.lambertY = *y;
    return c;
}

std::optional<QString> wholeMetres(const QVariant& slot)
{
    bool ok = false;
    const double v = slot.toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) >= 1e15)
        return std::nullopt;
    return QString::number(qint64(std::trunc(v)));
}

CommuneName parcelCommune(const QString& rowDepartment, const QString& rowCommune,
                          const QString& siteDepartment, const QString& siteCommune)
{
    return {blank(rowDepartment) ? siteDepartment : rowDepartment,
            blank(rowCommune) ? siteCommune : rowCommune};
}

std::optional<double> distanceToCentre(const ReferenceData& references, const CommuneName& name,
                                       const ConvertedPosition& position, const CoordinateServices& services)
{
    const int row = references.findCommune(name.department, name.commune);
    if (row < 0)
        return std::nullopt;
    const Commune commune = references.commune(row);
    const TypedPosition centre{
        .utmZone = {}, .longitude = commune.centreX, .latitude = commune.centreY, .mgrsSquare = {}};
    const auto converted = convertPosition(kCoordLambert, centre, services);
    if (!converted)
        return std::nullopt;
    const double km = services.distance(
        coords::slotText(converted->x[kCoordWgs84]), coords::slotText(converted->y[kCoordWgs84]),
        coords::slotText(position.x[kCoordWgs84]), coords::slotText(position.y[kCoordWgs84]));
    if (!(km >= 0) || !std::isfinite(km))
        return std::nullopt;
    return km;
}

} // namespace record
