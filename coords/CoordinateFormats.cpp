#include "coords/CoordinateFormats.h"

#include "coords/NumberText.h"

#include <cmath>

using namespace coords;

namespace {

const QChar kDegreeSign(u'\u00B0');
const QChar APOSTROPHE(u'\'');
const QChar kDoubleQuote(u'"');

bool isLongitude(const QString& label) { return label == kLongitudeLabel; }

bool isDecimalDegreesType(const QString& typeName)
{
    return typeName == kTypeWgs84Dd || typeName == kTypeEd50Dd;
}

// The hemisphere given by a first character: letters (either case, "O" for west) and signs.
// Empty for any other character.
QString hemisphereOf(QChar c, const QString& label)
{
    switch (c.toUpper().unicode()) {
    case u'N':
        return QStringLiteral("N");
    case u'S':
        return QStringLiteral("S");
    case u'E':
        return QStringLiteral("E");
    case u'W':
    case u'O':
        return QStringLiteral("W");
    case u'+':
        return isLongitude(label) ? QStringLiteral("E") : QStringLiteral("N");
    case u'-':
        return isLongitude(label) ? QStringLiteral("W") : QStringLiteral("S");
    default:
        return QString();
    }
}

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Seconds from a fraction of a minute: written with nine decimals and read back.
double secondsOfFraction(double fractionMinute) { return roundDecimals(fractionMinute * 60, 9); }

// A non-negative number of degrees as whole degrees, whole minutes and seconds with nine
// decimals, 60 seconds carried.
DegreesMinutesSeconds splitDecimal(double v)
{
    DegreesMinutesSeconds r;
    r.degrees = std::floor(v);
    const double minutes = (v - r.degrees) * 60;
    r.minutes = std::floor(minutes);
    r.seconds = secondsOfFraction(minutes - r.minutes);
    carrySixty(r.degrees, r.minutes, r.seconds);
    return r;
}

} // namespace

namespace {

// Where the markers stand in a text of degrees, minutes and seconds without its hemisphere
// letter; -1 for a marker that is not there.
struct Markers
{
    qsizetype degrees = -1;
    qsizetype minutes = -1;
    qsizetype seconds = -1;
};

// Finds the minutes and seconds markers after the degree sign at degreeSign. A number after the
// minutes without its marker is seconds, and one after the degrees is minutes: the missing marker
// is added at the end of the text.
Markers findMarkers(QString& t, qsizetype degreeSign)
{
    Markers m;
    m.degrees = degreeSign;
    // The seconds marker first, so that its two apostrophes are not taken for the minutes marker.
    m.seconds = t.indexOf(QStringLiteral("''"));
    if (m.seconds < 0)
        m.seconds = t.indexOf(kDoubleQuote);
    const bool doubleApostrophe = m.seconds >= 0 && t.at(m.seconds) == APOSTROPHE;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t.at(i) != APOSTROPHE)
            continue;
        if (doubleApostrophe && (i == m.seconds || i == m.seconds + 1))
            continue;
        m.minutes = i;
        break;
    }
    if (m.seconds < 0) {
        if (m.minutes >= 0 && t.size() > m.minutes + 1) {
            // Seconds without their marker: the marker goes at the end.
            m.seconds = t.size();
            t += QStringLiteral("''");
        } else if (m.minutes < 0 && t.size() > m.degrees + 1) {
            // A number without marker after the degrees: minutes.
            m.minutes = t.size();
            t += APOSTROPHE;
        }
    }
    return m;
}

// Degrees, then minutes, then seconds.
bool inOrder(const Markers& m)
{
    return !((m.minutes >= 0 && m.minutes < m.degrees) ||
             (m.seconds >= 0 && (m.seconds < m.degrees || (m.minutes >= 0 && m.seconds < m.minutes))));
}

// Decimal degrees with neither minutes nor seconds, read as whole degrees, minutes and seconds;
// false when they are not a non-negative number (the parts stay as typed).
bool spreadDecimalDegrees(CoordinateParts& p, QChar sep)
{
    const NumberReading d = readNumber(p.degrees, sep);
    if (!d.ok() || d.value < 0)
        return false;
    const DegreesMinutesSeconds x = splitDecimal(d.value);
    p.degrees = generalText(x.degrees, sep);
    p.minutes = generalText(x.minutes, sep);
    p.seconds = generalText(x.seconds, sep);
    return true;
}

// Decimal minutes without seconds, read as whole minutes and seconds; left as typed when they
// are not a number.
void spreadDecimalMinutes(CoordinateParts& p, QChar sep)
{
    const NumberReading m = readNumber(p.minutes, sep);
    if (!m.ok())
        return;
    double minutes = std::floor(m.value);
    double seconds = secondsOfFraction(m.value - minutes);
    // 60 seconds go into the minutes, and 60 minutes into the degrees when they are a number
    // (otherwise the check names the degrees first).
    double degrees = 0;
    carrySixty(degrees, minutes, seconds);
    const NumberReading d = readNumber(p.degrees, sep);
    if (degrees > 0 && d.ok())
        p.degrees = generalText(d.value + degrees, sep);
    else
        minutes += degrees * 60;
    p.minutes = generalText(minutes, sep);
    p.seconds = generalText(seconds, sep);
}

} // namespace

CoordinateParts fun_Verif_DMS(const QString& label, const QString& text, const QString& /*typeName*/)
{
    CoordinateParts p;
    const CoordinateParts refused{QString(), QString(), QString(), QString(), -1, false};
    QString t = trimBlanks(text).toString();
    if (t.isEmpty())
        return refused;
    const QString hemisphere = hemisphereOf(t.at(0), label);
    if (hemisphere.isEmpty())
        return refused;
    t.remove(0, 1);

    const qsizetype degreeSign = t.indexOf(kDegreeSign);
    if (degreeSign < 0)
        return refused;
    const Markers m = findMarkers(t, degreeSign);
    if (!inOrder(m)) {
        CoordinateParts r = refused;
        r.hemisphere = hemisphere;
        return r;
    }
    // Nothing may follow the seconds marker ("E2°20'15''7" is no text of seconds).
    if (m.seconds >= 0 && t.size() > m.seconds + (t.at(m.seconds) == APOSTROPHE ? 2 : 1))
        return refused;
    const QChar sep = decimalSeparator();
    t = withSeparator(t, sep);

    p.hemisphere = hemisphere;
    p.degrees = t.left(m.degrees);
    // The minutes and seconds as typed, empty when absent.
    if (m.minutes >= 0)
        p.minutes = t.mid(m.degrees + 1, m.minutes - m.degrees - 1);
    const qsizetype secondsStart = (m.minutes >= 0 ? m.minutes : m.degrees) + 1;
    if (m.seconds >= 0)
        p.seconds = t.mid(secondsStart, m.seconds - secondsStart);
    const bool noMinutes = trimBlanks(p.minutes).isEmpty();
    const bool noSeconds = trimBlanks(p.seconds).isEmpty();
    // A decimal part with nothing after it is read as it stands: decimal degrees become whole
    // degrees, minutes and seconds. A decimal part followed by another is left as typed, for the
    // check to refuse: it is never rounded away.
    if (p.degrees.contains(sep) && noMinutes && noSeconds && spreadDecimalDegrees(p, sep))
        return p;
    if (m.minutes < 0)
        p.minutes = QStringLiteral("0");
    if (p.minutes.contains(sep) && noSeconds) {
        spreadDecimalMinutes(p, sep);
    } else if (noSeconds) {
        p.seconds = QStringLiteral("0");
    } else {
        const NumberReading s = readNumber(p.seconds, sep);
        if (s.ok())
            p.seconds = generalText(s.value, sep);
    }
    return p;
}

CoordinateParts fun_Verif_DD(const QString& label, const QString& text, const QString& /*typeName*/)
{
    const CoordinateParts refused{QString(), QString(), QString(), QString(), -1, false};
    if (text.isEmpty())
        return refused;
    QString t = text;
    const QChar first = t.at(0);
    QString hemisphere;
    if (isDigit(first)) {
        hemisphere = isLongitude(label) ? QStringLiteral("E") : QStringLiteral("N");
    } else {
        hemisphere = hemisphereOf(first, label);
        if (hemisphere.isEmpty())
            return refused;
        t.remove(0, 1);
    }
    if (t.endsWith(kDegreeSign))
        t.remove(kDegreeSign);
    const QChar sep = decimalSeparator();
    t = withSeparator(t, sep);
    const NumberReading v = readNumber(t, sep);
    if (!v.ok())
        return refused;
    const DegreesMinutesSeconds x = splitDecimal(v.value);
    CoordinateParts p;
    p.hemisphere = hemisphere;
    p.degrees = generalText(x.degrees, sep);
    p.minutes = generalText(x.minutes, sep);
    p.seconds = generalText(x.seconds, sep);
    return p;
}

CoordinateParts fun_Verif_Coord_Type(const QString& label, const QString& text, bool normalise,
                                     const QString& typeName)
{
    CoordinateParts p = isDecimalDegreesType(typeName) ? fun_Verif_DD(label, text, typeName)
                                                       : fun_Verif_DMS(label, text, typeName);
    if (!normalise || p.error != 0)
        return p;
    const QChar sep = decimalSeparator();
    // Whole numbers in the "0" pattern. A decimal part (followed by another: the readers split a
    // last one) is never rounded away: it stays as typed, for the check to refuse; so does a
    // text that is no number.
    auto wholeNumber = [&](QString& part) {
        const NumberReading l = readNumber(part, sep);
        if (l.ok() && l.value == std::trunc(l.value))
            part = fixedText(l.value, 0, sep);
        else if (l.state == NumberReading::OutOfRange)
            p.overflow = true;
    };
    wholeNumber(p.degrees);
    if (trimBlanks(p.minutes).isEmpty())
        p.minutes = QStringLiteral("0");
    else
        wholeNumber(p.minutes);
    if (trimBlanks(p.seconds).isEmpty())
        p.seconds = QStringLiteral("0");
    return p;
}

void fun_Verif_Format_Coord(QString& category, QString& typeName, const QString& longitude,
                            const QString& latitude, const QString& zone, const QString& mgrs,
                            const QString& datumHint)
{
    if (!category.isEmpty() && !typeName.isEmpty())
        return;
    if (!longitude.isEmpty() && !latitude.isEmpty() && !zone.isEmpty()) {
        category = QStringLiteral("UTM");
        typeName = QString();
        return;
    }
    if (longitude.isEmpty() && latitude.isEmpty() && zone.isEmpty() && !mgrs.isEmpty()) {
        category = QStringLiteral("MGRS");
        typeName = QString();
        return;
    }
    if (longitude.isEmpty() || latitude.isEmpty() || !zone.isEmpty() || !mgrs.isEmpty())
        return;
    // The type name of the datum hint: its WGS84 or ED50 form, or none.
    auto typeOfHint = [&](const QString& wgs84, const QString& ed50) {
        if (datumHint.startsWith(u"WGS84"))
            return wgs84;
        if (datumHint.startsWith(u"ED50"))
            return ed50;
        return QString();
    };
    if (fun_Verif_Coord_Type(kLongitudeLabel, longitude, true, kTypeWgs84Dms).error == 0) {
        if (fun_Verif_Coord_Type(kLatitudeLabel, latitude, true, kTypeWgs84Dms).error == 0) {
            category = QStringLiteral("Degrés");
            typeName = typeOfHint(kTypeWgs84Dms, kTypeEd50Dms);
        }
        return;
    }
    if (fun_Verif_Coord_Type(kLongitudeLabel, longitude, true, kTypeWgs84Dd).error == 0) {
        if (fun_Verif_Coord_Type(kLatitudeLabel, latitude, true, kTypeWgs84Dd).error == 0) {
            category = QStringLiteral("Degrés");
            typeName = typeOfHint(kTypeWgs84Dd, kTypeEd50Dd);
        }
        return;
    }
    if (longitude.contains(kDegreeSign) || latitude.contains(kDegreeSign))
        category = QStringLiteral("Degrés");
}

std::optional<double> sub_Parse_DMS_Text(const QString& hemisphere, const QString& degrees,
                                         const QString& minutes, const QString& seconds)
{
    const QChar sep = decimalSeparator();
    auto value = [&](const QString& t) -> std::optional<double> {
        if (trimBlanks(t).isEmpty())
            return 0.0;
        const NumberReading l = readNumber(t, sep);
        if (!l.ok())
            return std::nullopt;
        return l.value;
    };
    const auto d = value(degrees);
    const auto m = value(minutes);
    const auto s = value(seconds);
    if (!d || !m || !s)
        return std::nullopt;
    const QChar h = hemisphere.size() == 1 ? hemisphere.at(0) : QChar();
    return dmsToDegrees(h, *d, *m, *s);
}

std::optional<double> coords::dmsToDegrees(QChar hemisphere, double d, double m, double s)
{
    if (!std::isfinite(d) || d != std::trunc(d))
        return std::nullopt;
    const double sign = (hemisphere == u'W' || hemisphere == u'S') ? -1 : 1;
    // Hundredths of a degree, the seconds' share rounded to nine decimals.
    const double h = m * 100 / 60 + roundDecimals(s * 100 / 3600, 9);
    // Minutes or seconds too large for a double make h infinite: no value (and no endless
    // search for its number of places below).
    if (!(h >= 0) || !std::isfinite(h))
        return std::nullopt;
    // The value is read from the degrees, the separator and the hundredths' digits: the
    // hundredths take at least two places.
    double places = 100;
    while (std::floor(h) >= places)
        places *= 10;
    const double fraction = h / places;
    return sign * (d >= 0 ? d + fraction : d - fraction);
}

void coords::carrySixty(double& degrees, double& minutes, double& seconds)
{
    if (float(round15Significant(seconds)) >= 60.0f) {
        seconds = 0;
        minutes += 1;
    }
    if (minutes >= 60) {
        minutes -= 60;
        degrees += 1;
    }
}
