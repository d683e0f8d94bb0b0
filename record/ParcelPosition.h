#pragma once
// A parcel's position in the coordinate system the record shows, converted through the conversion
// dispatcher, and its distance to the centre of its commune. The record's validation, the check
// of the location grid after an edit and the switch of coordinate system share these, so that they
// decide alike: a position is converted only when every cell its type reads is filled and the
// dispatcher accepts it; a distance is known only when the commune is in the table, its centre is
// given and converts, and the distance service can read both points.

#include "coords/Conversion.h"
#include "coords/Distance.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

namespace record {

class ReferenceData;

using ConvertFunction = std::function<coords::ConversionResult(
    coords::CoordinateSlots&, coords::CoordinateSlots&, coords::CoordinateSlots&, int, const QString&)>;
using DistanceFunction =
    std::function<double(const QString&, const QString&, const QString&, const QString&)>;

// The conversion dispatcher and the distance, replaceable for tests.
struct CoordinateServices
{
    ConvertFunction convert = sub_Convertir_Coordonnees;
    // Kilometres; negative when unknown.
    DistanceFunction distance = fun_Get_Distance_WGS84;
};

// A position as typed in the cells of the coordinate type shown.
struct TypedPosition
{
    QString utmZone;
    QString longitude; // or X, or easting
    QString latitude;  // or Y, or northing
    QString mgrsSquare;
};

// Every cell the type reads holds something besides blanks: longitude and latitude (types 0 to
// 2), and the zone (type 3), or the square (type 4). False for an unknown type.
bool positionComplete(int type, const TypedPosition& position);

// A position converted to every coordinate type, and its Lambert II étendu position in whole
// metres.
struct ConvertedPosition
{
    coords::CoordinateSlots x, y, z;
    QString lambertX;
    QString lambertY;
};

// Converts from the given type with fresh slots, so that nothing converted for another parcel can
// stand in for this one. The zone text is the dispatcher's ("2E", "*", "WGS84"). Nothing when the
// position is not complete, when the dispatcher refuses it or when its Lambert position is no
// finite number.
std::optional<ConvertedPosition> convertPosition(int type, const TypedPosition& position,
                                                 const CoordinateServices& services,
                                                 const QString& zone = QStringLiteral("2E"));

// A converted position in whole metres, truncated towards zero; nothing when the slot holds no
// finite number.
std::optional<QString> wholeMetres(const QVariant& slot);

// The commune a parcel row belongs to: the row's department and commune, each taken from the site
// when the row's is blank.
struct CommuneName
{
    QString department; // the department item ("26 - Drôme") or its code
    QString commune;
};
CommuneName parcelCommune(const QString& rowDepartment, const QString& rowCommune,
                          const QString& siteDepartment, const QString& siteCommune);

// Kilometres between the commune's centre and the position; nothing when it cannot be known.
std::optional<double> distanceToCentre(const ReferenceData& references, const CommuneName& commune,
                                       const ConvertedPosition& position, const CoordinateServices& services);

} // namespace record
