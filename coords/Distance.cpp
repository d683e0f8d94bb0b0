#include "coords/Distance.h"

#include "coords/CoordinateFormats.h"
#include "coords/GeodeticConstants.h"
#include "coords/NumberText.h"

#include <algorithm>
#include <cmath>
#include <optional>

using namespace coords;

namespace {

std::optional<double> radiansOf(const QString& label, const QString& text)
{
    const CoordinateParts p = fun_Verif_Coord_Type(label, text, false, kTypeWgs84Dms);
    if (p.error != 0)
        return std::nullopt;
    const QChar sep = decimalSeparator();
    const NumberReading d = readNumber(p.degrees, sep);
    const NumberReading m = readNumber(p.minutes, sep);
    const NumberReading s = readNumber(p.seconds, sep);
    if (!d.ok() || !m.ok() || !s.ok())
        return std::nullopt;
    double v = (d.value + m.value / 60 + s.value / 3600) * PI / kDegreesPerHalfTurn;
    if (p.hemisphere == u"S" || p.hemisphere == u"W")
        v = -v;
    return v;
}

} // namespace

double fun_Get_Distance_WGS84(const QString& longitude1, const QString& latitude1, const QString& longitude2,
                              const QString& latitude2)
{
    const auto l1 = radiansOf(kLongitudeLabel, longitude1);
    if (!l1)
        return -1;
    const auto p1 = radiansOf(kLatitudeLabel, latitude1);
    if (!p1)
        return -1;
    const auto l2 = radiansOf(kLongitudeLabel, longitude2);
    if (!l2)
        return -1;
    const auto p2 = radiansOf(kLatitudeLabel, latitude2);
    if (!p2)
        return -1;
    // Equal positions, identical texts among them, are 0 once read: blank or unreadable texts
    // are -1 even when they are the same.
    if (*l1 == *l2 && *p1 == *p2)
        return 0;
    const double d = std::cos(*p1) * std::cos(*l1) * std::cos(*p2) * std::cos(*l2) +
                     std::cos(*p1) * std::sin(*l1) * std::cos(*p2) * std::sin(*l2) +
                     std::sin(*p1) * std::sin(*p2);
    // Rounding can take the cosine of nearby points past 1.
    const double theta = std::acos(std::clamp(d, -1.0, 1.0));
    return theta / PI * kArcMinutesPerHalfTurn * kMetresPerArcMinute / 1000;
}
