#include "coords/Conversion.h"

#include "coords/CoordinateFormats.h"
#include "coords/CoordinateValidation.h"
#include "coords/Lambert.h"
#include "coords/Mgrs.h"
#include "coords/Ntf.h"
#include "coords/NumberText.h"
#include "coords/Utm.h"

#include <optional>

using namespace coords;

namespace {

bool isBlank(const QVariant& v) { return trimBlanks(slotText(v)).isEmpty(); }

std::optional<double> numberOf(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
        return v.toDouble();
    case QMetaType::QString: {
        const NumberReading l = readNumberAnySeparator(v.toString());
        if (l.ok())
            return l.value;
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

// What the chains write, kept aside until every step has succeeded.
struct PendingWrites
{
    std::optional<std::pair<QVariant, QVariant>> ntf, lambert, wgs84;
    std::optional<std::array<QVariant, 3>> utm; // easting, northing, zone
    std::optional<QVariant> mgrs;

    void setUtm(const UtmPosition& u)
    {
        utm = std::array<QVariant, 3>{QVariant(u.easting), QVariant(signedNorthing(u)), QVariant(u.zone)};
    }

    void apply(CoordinateSlots& X, CoordinateSlots& Y, CoordinateSlots& Z) const
    {
        auto pair = [&](int k, const std::optional<std::pair<QVariant, QVariant>>& v) {
            if (v) {
                X[k] = v->first;
                Y[k] = v->second;
            }
        };
        pair(TYPE_NTF, ntf);
        pair(TYPE_LAMBERT, lambert);
        pair(TYPE_WGS84, wgs84);
        if (utm) {
            X[TYPE_UTM] = (*utm)[0];
            Y[TYPE_UTM] = (*utm)[1];
            Z[TYPE_UTM] = (*utm)[2];
        }
        if (mgrs)
            Z[TYPE_MGRS] = *mgrs;
    }
};

// NTF grads to Lambert II étendu (full precision), then, from the grads narrowed to single
// precision, to WGS84 texts, UTM and MGRS.
bool fromNtf(double lambda, double phi, PendingWrites& w)
{
    const auto l = sub_NTF_To_Lambert(lambda, phi);
    const auto t = ntfToDms(float(lambda), float(phi), Datum::WGS84);
    if (!l || !t)
        return false;
    // The parts of the texts, without writing and reading them again.
    const auto u = utmWithMgrs(t->longitudeParts, t->latitudeParts);
    if (!u)
        return false;
    w.lambert = {QVariant(l->X), QVariant(l->Y)};
    w.wgs84 = {QVariant(t->longitude), QVariant(t->latitude)};
    w.setUtm(u->utm);
    w.mgrs = QVariant(u->mgrs);
    return true;
}

// WGS84 texts to NTF numbers and Lambert II étendu.
bool ntfAndLambertFromTexts(const QString& lon, const QString& lat, Datum datum, PendingWrites& w)
{
    const auto n = dmsToNtf(lon, lat, datum);
    if (!n)
        return false;
    const auto l = sub_NTF_To_Lambert(n->lambda, n->phi);
    if (!l)
        return false;
    w.ntf = {QVariant(n->lambda), QVariant(n->phi)};
    w.lambert = {QVariant(l->X), QVariant(l->Y)};
    return true;
}

} // namespace

std::optional<UtmReference> coords::utmWithMgrs(const HemisphereDms& longitude, const HemisphereDms& latitude)
{
    const auto u = utmFromParts(longitude, latitude);
    if (!u)
        return std::nullopt;
    // The band letter comes from the latitude in degrees.
    const DegreesMinutesSeconds& lat = latitude.dms;
    const auto degrees = dmsToDegrees(latitude.hemisphere, lat.degrees, lat.minutes, lat.seconds);
    if (!degrees)
        return std::nullopt;
    const auto mgrs = sub_UTM_To_MGRS(*degrees, u->easting, u->northing, u->zone);
    if (!mgrs)
        return std::nullopt;
    return UtmReference{*u, *mgrs};
}

std::optional<UtmReference> coords::utmWithMgrs(const QString& longitude, const QString& latitude)
{
    const auto lon = readUtmText(kLongitudeLabel, longitude);
    const auto lat = readUtmText(kLatitudeLabel, latitude);
    if (!lon || !lat)
        return std::nullopt;
    return utmWithMgrs(*lon, *lat);
}

QString coords::slotText(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Double:
        return generalText(v.toDouble());
    case QMetaType::Float:
        return generalText(double(v.toFloat()));
    case QMetaType::UnknownType:
        return QString();
    default:
        return v.toString();
    }
}

namespace {

// The chain from each source type: reads its slots, fills the writes of the other types; false
// (or an error) when the source cannot be converted.

bool convertFromNtf(const CoordinateSlots& Coord_X, const CoordinateSlots& Coord_Y, PendingWrites& w)
{
    if (isBlank(Coord_X[0]) || isBlank(Coord_Y[0]))
        return false;
    const auto lambda = numberOf(Coord_X[0]);
    const auto phi = numberOf(Coord_Y[0]);
    return lambda && phi && fromNtf(*lambda, *phi, w);
}

bool convertFromLambert(const CoordinateSlots& Coord_X, const CoordinateSlots& Coord_Y,
                        const QString& Zone_Lambert, PendingWrites& w)
{
    if (isBlank(Coord_X[1]) || isBlank(Coord_Y[1]))
        return false;
    const QString zone = Zone_Lambert == u"*" ? Zone_Lambert : Zone_Lambert.split(QLatin1Char(' ')).last();
    const auto x = numberOf(Coord_X[1]);
    const auto y = numberOf(Coord_Y[1]);
    if (!x || !y)
        return false;
    const auto n = sub_Lambert_To_NTF(*x, *y, zone);
    if (!n || !fromNtf(n->lambdaValue, n->phiValue, w))
        return false;
    // The NTF slots take the five-decimal texts; the Lambert slots keep the typed point.
    w.ntf = {QVariant(n->lambda), QVariant(n->phi)};
    w.lambert = {QVariant(*x), QVariant(*y)};
    return true;
}

// The texts are validated first; the validation's message is kept whatever follows.
ConversionResult convertFromWgs84(CoordinateSlots& Coord_X, CoordinateSlots& Coord_Y, PendingWrites& w)
{
    ConversionResult r;
    if (isBlank(Coord_X[2]) || isBlank(Coord_Y[2]))
        return {-1, QString()};
    QString lon = slotText(Coord_X[2]);
    QString lat = slotText(Coord_Y[2]);
    QString category;
    QString typeName;
    fun_Verif_Format_Coord(category, typeName, lon, lat, QString(), QString(), kCodeWgs84);
    const CoordinateCheck v = fun_Verif_Coordonnees(lon, lat, true, typeName);
    // The validation may have brought the texts to their normal form.
    Coord_X[2] = lon;
    Coord_Y[2] = lat;
    r.message = v.message;
    if (v.error != 0) {
        r.error = v.error;
        return r;
    }
    const auto datum = datumFromCode(typeName.section(QLatin1Char(' '), 0, 0));
    if (!datum || !ntfAndLambertFromTexts(lon, lat, *datum, w))
        return {-1, r.message};
    const auto u = utmWithMgrs(lon, lat);
    if (!u)
        return {-1, r.message};
    w.setUtm(u->utm);
    w.mgrs = QVariant(u->mgrs);
    return r;
}

bool convertFromUtm(const CoordinateSlots& Coord_X, const CoordinateSlots& Coord_Y,
                    const CoordinateSlots& Coord_Z, PendingWrites& w)
{
    if (isBlank(Coord_X[3]) || isBlank(Coord_Y[3]) || isBlank(Coord_Z[3]))
        return false;
    const auto easting = numberOf(Coord_X[3]);
    const auto northing = numberOf(Coord_Y[3]);
    const auto zone = numberOf(Coord_Z[3]);
    if (!easting || !northing || !zone)
        return false;
    const auto g = sub_UTM_To_Geo(*zone, *easting, *northing, kCodeWgs84);
    if (!g || !ntfAndLambertFromTexts(g->longitude, g->latitude, Datum::WGS84, w))
        return false;
    // Only the MGRS reference is refreshed; the typed UTM values stay.
    const auto u = utmWithMgrs(g->longitude, g->latitude);
    if (!u)
        return false;
    w.wgs84 = {QVariant(g->longitude), QVariant(g->latitude)};
    w.mgrs = QVariant(u->mgrs);
    return true;
}

bool convertFromMgrs(const CoordinateSlots& Coord_Z, PendingWrites& w)
{
    if (isBlank(Coord_Z[4]))
        return false;
    const MgrsToGeoResult m = sub_MGRS_To_Geo(slotText(Coord_Z[4]));
    if (m.error != 0 || !ntfAndLambertFromTexts(m.longitude, m.latitude, Datum::WGS84, w))
        return false;
    w.wgs84 = {QVariant(m.longitude), QVariant(m.latitude)};
    w.utm = std::array<QVariant, 3>{QVariant(m.utm.easting), QVariant(m.utm.northing), QVariant(m.utm.zone)};
    return true;
}

} // namespace

ConversionResult sub_Convertir_Coordonnees(CoordinateSlots& Coord_X, CoordinateSlots& Coord_Y,
                                           CoordinateSlots& Coord_Z, int Type_Coord,
                                           const QString& Zone_Lambert)
{
    ConversionResult r;
    const ConversionResult refused{-1, QString()};
    if (Type_Coord == TYPE_LAMBERT && Zone_Lambert.isEmpty())
        return refused;
    // No chain for an unknown type: an error, like any source that cannot be converted.
    if (Type_Coord < TYPE_NTF || Type_Coord > TYPE_MGRS)
        return refused;

    PendingWrites w;
    bool converted = true;
    switch (Type_Coord) {
    case TYPE_NTF:
        converted = convertFromNtf(Coord_X, Coord_Y, w);
        break;
    case TYPE_LAMBERT:
        converted = convertFromLambert(Coord_X, Coord_Y, Zone_Lambert, w);
        break;
    case TYPE_WGS84:
        r = convertFromWgs84(Coord_X, Coord_Y, w);
        if (r.error != 0)
            return r;
        break;
    case TYPE_UTM:
        converted = convertFromUtm(Coord_X, Coord_Y, Coord_Z, w);
        break;
    case TYPE_MGRS:
        converted = convertFromMgrs(Coord_Z, w);
        break;
    }
    if (!converted)
        return refused;
    w.apply(Coord_X, Coord_Y, Coord_Z);
    return r;
}
