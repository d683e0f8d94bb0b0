#include "coords/CoordinateValidation.h"

#include "coords/CoordinateFormats.h"
#include "coords/Ntf.h"
#include "coords/NumberText.h"

#include <cmath>
#include <limits>

using namespace coords;

namespace {

const QString kMessagePassed = QStringLiteral(" : ");

// Numbers are read in single precision; this marker left in place means "not a number".
constexpr float kNotRead = -361;

float readSingle(const QString& text)
{
    const NumberReading l = readNumber(text);
    if (!l.ok() || std::abs(l.value) > double(std::numeric_limits<float>::max()))
        return kNotRead;
    return float(l.value);
}

} // namespace

QString coords::checkParts(const CoordinateParts& p, bool longitude, const QString& typeName)
{
    const QString x = longitude ? QStringLiteral("longitude") : QStringLiteral("latitude");
    const QString h = trimBlanks(p.hemisphere).toString();
    if (longitude) {
        if (h.size() != 1)
            return QStringLiteral(" : E ou W invalide");
        if (!QStringLiteral("EWew").contains(h))
            return QStringLiteral(" : E ou W non précisé");
    } else {
        if (h.size() != 1)
            return QStringLiteral(" : N ou S invalide");
        if (!QStringLiteral("NSns").contains(h))
            return QStringLiteral(" : N ou S non précisé");
    }
    if (trimBlanks(p.degrees).isEmpty())
        return QStringLiteral(" : dégré de ") + x + QStringLiteral(" non indiqué");
    const float d = readSingle(p.degrees);
    if (d == kNotRead)
        return QStringLiteral(" : degrés de ") + x + QStringLiteral(" invalides");
    if (d < 0)
        return QStringLiteral(" : degrés de ") + x + QStringLiteral(" < 0°");
    // A longitude goes up to 180 degrees, a latitude up to 90.
    if (longitude && d > 180)
        return QStringLiteral(" : degrés de ") + x + QStringLiteral(" > 180°");
    if (!longitude && d > 90)
        return QStringLiteral(" : degrés de ") + x + QStringLiteral(" > 90°");
    // The readers split a decimal part that ends the text; one followed by minutes or seconds
    // would have to be rounded or guessed at.
    if (d != std::trunc(d))
        return QStringLiteral(" : degrés de ") + x + QStringLiteral(" non entiers");
    if (trimBlanks(p.minutes).isEmpty())
        return QStringLiteral(" : minutes de ") + x + QStringLiteral(" invalides");
    const float m = readSingle(p.minutes);
    if (m == kNotRead)
        return QStringLiteral(" : minutes de ") + x + QStringLiteral(" invalides");
    if (m < 0)
        return QStringLiteral(" : minutes de ") + x + QStringLiteral(" <0");
    if (m > 59)
        return QStringLiteral(" : minutes de ") + x + QStringLiteral(" > 59");
    if (m != std::trunc(m))
        return QStringLiteral(" : minutes de ") + x + QStringLiteral(" non entières");
    const float s = readSingle(p.seconds);
    if (s == kNotRead)
        return QStringLiteral(" : secondes de ") + x + QStringLiteral(" invalides");
    if (s < 0)
        return QStringLiteral(" : secondes de ") + x + QStringLiteral(" <0");
    if ((typeName == kTypeWgs84Dms || typeName == kTypeEd50Dms) && s >= 60)
        return QStringLiteral(" : secondes de ") + x + QStringLiteral(" >= 60");
    if ((typeName == kTypeWgs84Dd || typeName == kTypeEd50Dd) && s > 9999)
        return QStringLiteral(" : secondes de ") + x + QStringLiteral(" > 9999");
    // The whole angle keeps to the same bounds as its degrees: N90°30' is no latitude.
    const double angle = double(d) + double(m) / 60 + double(s) / 3600;
    if (longitude && angle > 180)
        return QStringLiteral(" : degrés de ") + x + QStringLiteral(" > 180°");
    if (!longitude && angle > 90)
        return QStringLiteral(" : degrés de ") + x + QStringLiteral(" > 90°");
    return QString();
}

CoordinateCheck fun_Verif_Coordonnees(QString& longitude, QString& latitude, bool normalise,
                                      const QString& typeName)
{
    CoordinateCheck r;
    r.message = kMessagePassed;
    const CoordinateParts lon = fun_Verif_Coord_Type(kLongitudeLabel, longitude, normalise, typeName);
    if (lon.error != 0)
        r.message = QStringLiteral(" : longitude non conforme");
    const CoordinateParts lat = fun_Verif_Coord_Type(kLatitudeLabel, latitude, normalise, typeName);
    if (lat.error != 0)
        r.message = r.message != kMessagePassed ? QStringLiteral(" : longitude et latitude non conformes")
                                                : QStringLiteral(" : latitude non conforme");
    if (r.message != kMessagePassed) {
        r.error = -1;
        return r;
    }
    // A number too large to be held while the parts were normalised.
    if (lon.overflow || lat.overflow) {
        r.error = -1;
        r.message = QStringLiteral(" : coordonnées invalides");
        return r;
    }
    if (normalise) {
        longitude = fun_Format_DMS(lon.hemisphere, lon.degrees, lon.minutes, lon.seconds);
        latitude = fun_Format_DMS(lat.hemisphere, lat.degrees, lat.minutes, lat.seconds);
    }
    QString fault = checkParts(lon, true, typeName);
    if (fault.isEmpty())
        fault = checkParts(lat, false, typeName);
    if (!fault.isEmpty()) {
        r.error = -1;
        r.message = fault;
    }
    return r;
}
