#include "coords/Ntf.h"

#include "coords/CoordinateFormats.h"
#include "coords/GeodeticConstants.h"
#include "coords/NumberText.h"

#include <cmath>

using namespace coords;

namespace {

bool isDmsDatum(Datum d) { return d == Datum::WGS84 || d == Datum::ED50; }

std::optional<double> signedDegrees(const QString& label, const QString& text, const QChar sep)
{
    const CoordinateParts p = fun_Verif_Coord_Type(label, text, true, kTypeWgs84Dms);
    if (p.error != 0)
        return std::nullopt;
    const NumberReading d = readNumber(p.degrees, sep);
    const NumberReading m = readNumber(p.minutes, sep);
    const NumberReading s = readNumber(p.seconds, sep);
    if (!d.ok() || !m.ok() || !s.ok())
        return std::nullopt;
    const double sign = (p.hemisphere == u"W" || p.hemisphere == u"S") ? -1 : 1;
    const double fraction = truncateDecimals(m.value / 60 + roundDecimals(s.value / 3600, 10), 8);
    return sign * (d.value + fraction);
}

} // namespace

bool coords::ntfInRange(double lambda, double phi)
{
    return std::abs(lambda) <= kGradsPerHalfTurn && std::abs(phi) <= kGradsPerHalfTurn / 2;
}

DegreesMinutesSeconds coords::splitDegrees(double v)
{
    DegreesMinutesSeconds r;
    r.degrees = std::trunc(v);
    const double f = (v - r.degrees) * 100;
    r.minutes = std::trunc(f * 60 / 100);
    r.seconds = ((f - (r.minutes / 60) * 100) * 100 * 60 / 100) * 60 / 100;
    // On a whole minute the subtraction can leave a tiny negative remainder (-5e-13).
    if (r.seconds < 0)
        r.seconds = 0;
    // Just under a whole minute the seconds would be written as 60.
    carrySixty(r.degrees, r.minutes, r.seconds);
    return r;
}

QString fun_Format_DMS(const QString& hemisphere, const QString& degrees, const QString& minutes,
                       const QString& seconds)
{
    return hemisphere + degrees + QChar(u'\u00B0') + minutes + QLatin1Char('\'') + seconds +
           QStringLiteral("''");
}

QString fun_Format_DMS(const QString& hemisphere, double degrees, double minutes, double seconds)
{
    // Written in one buffer: this runs for every point converted.
    const char16_t sep = decimalSeparator().unicode();
    char16_t buf[3 * kGeneralTextSize + 8];
    int n = 0;
    for (QChar c : hemisphere)
        if (n < 4)
            buf[n++] = c.unicode();
    n += writeGeneral(degrees, sep, buf + n);
    buf[n++] = u'\u00B0';
    n += writeGeneral(minutes, sep, buf + n);
    buf[n++] = u'\'';
    n += writeGeneral(seconds, sep, buf + n);
    buf[n++] = u'\'';
    buf[n++] = u'\'';
    return QString(reinterpret_cast<const QChar*>(buf), n);
}

std::optional<DmsTexts> coords::ntfToDms(float lambda, float phi, Datum target)
{
    if (!isDmsDatum(target) || !ntfInRange(lambda, phi))
        return std::nullopt;
    const double lambdaG = double(lambda) + kParisMeridianGrads;
    const auto xyz = geoToCart(lambdaG, double(phi), Datum::NTF);
    if (!xyz)
        return std::nullopt;
    const auto g = cartToGeo(Datum::NTF, target, *xyz);
    if (!g)
        return std::nullopt;
    DmsTexts r;
    const DegreesMinutesSeconds lon = splitDegrees(std::abs(g->geo.lambda));
    r.longitude = fun_Format_DMS(g->geo.lambda < 0 ? QStringLiteral("W") : QStringLiteral("E"), lon.degrees,
                                 lon.minutes, lon.seconds);
    const DegreesMinutesSeconds lat = splitDegrees(std::abs(g->geo.phi));
    r.latitude = fun_Format_DMS(g->geo.phi < 0 ? QStringLiteral("S") : QStringLiteral("N"), lat.degrees,
                                lat.minutes, lat.seconds);
    r.longitudeParts = {r.longitude.at(0), {lon.degrees, lon.minutes, round15Significant(lon.seconds)}};
    r.latitudeParts = {r.latitude.at(0), {lat.degrees, lat.minutes, round15Significant(lat.seconds)}};
    r.xyz = g->xyz;
    return r;
}

std::optional<DmsTexts> sub_NTF_To_DMS(float lambda, float phi, const QString& targetDatum)
{
    const auto d = datumFromCode(targetDatum);
    if (!d)
        return std::nullopt;
    return ntfToDms(lambda, phi, *d);
}

std::optional<NtfGrads> coords::dmsToNtf(const QString& longitude, const QString& latitude, Datum source)
{
    if (!isDmsDatum(source))
        return std::nullopt;
    const QChar sep = decimalSeparator();
    const auto lambda = signedDegrees(kLongitudeLabel, longitude, sep);
    const auto phi = signedDegrees(kLatitudeLabel, latitude, sep);
    if (!lambda || !phi)
        return std::nullopt;
    const auto xyz = geoToCart(*lambda, *phi, source);
    if (!xyz)
        return std::nullopt;
    const auto g = cartToGeo(source, Datum::NTF, *xyz);
    if (!g)
        return std::nullopt;
    return NtfGrads{roundDecimals(g->geo.lambda - kParisMeridianGrads, 4), roundDecimals(g->geo.phi, 4),
                    g->xyz};
}

std::optional<NtfGrads> sub_DMS_To_NTF(const QString& longitude, const QString& latitude,
                                       const QString& sourceDatum)
{
    const auto d = datumFromCode(sourceDatum);
    if (!d)
        return std::nullopt;
    return dmsToNtf(longitude, latitude, *d);
}
