#pragma once
// Typed geographic coordinate texts: degrees-minutes-seconds with markers, or decimal degrees,
// with a hemisphere letter or a sign in front, and "," or "." as decimal separator. Recognises
// the shape of a pair, splits one text into hemisphere, degrees, minutes and seconds, and turns
// such parts into signed decimal degrees.
//
// Numbers in the parts are written in the general form with the regional decimal separator.

#include <QChar>
#include <QString>

#include <optional>

namespace coords {

// Labels: which coordinate a text is (they decide what a sign means).
inline const QString kLongitudeLabel = QStringLiteral("LONGITUDE");
inline const QString kLatitudeLabel = QStringLiteral("LATITUDE");

// Type names: degrees-minutes-seconds or decimal degrees, on WGS84 or ED50. Only the DMS/DD
// distinction changes how a text is read.
inline const QString kTypeWgs84Dms = QStringLiteral("WGS84 DMS");
inline const QString kTypeEd50Dms = QStringLiteral("ED50 DMS");
inline const QString kTypeWgs84Dd = QStringLiteral("WGS84 DD");
inline const QString kTypeEd50Dd = QStringLiteral("ED50 DD");

// One text split into its parts, as texts.
struct CoordinateParts
{
    QString hemisphere; // "N", "S", "E" or "W" (letters are upper-cased, "O" becomes "W")
    QString degrees;
    QString minutes;
    QString seconds;
    int error = 0; // 0 read, -1 refused (the parts are then empty)
    // A number too large to be held was met while normalising the parts.
    bool overflow = false;
};

// An angle as whole degrees, whole minutes and seconds, as numbers.
struct DegreesMinutesSeconds
{
    double degrees = 0;
    double minutes = 0;
    double seconds = 0;
};

// The same with its hemisphere letter ("N", "S", "E" or "W").
struct HemisphereDms
{
    QChar hemisphere;
    DegreesMinutesSeconds dms;
};

// Signed decimal degrees from numbers: negative for the letter "W" or "S"; nothing when the
// degrees are not whole or a part is too large to give a finite value.
std::optional<double> dmsToDegrees(QChar hemisphere, double degrees, double minutes, double seconds);

// Seconds that their text (15 significant digits) would give as 60 once read in single
// precision, as the check reads them, become 0 and one more minute; 60 minutes become one more
// degree. Every degrees-minutes-seconds text the program writes goes through this, so that the
// check accepts it. Whole non-negative degrees and minutes, seconds from 0 up to 60.
void carrySixty(double& degrees, double& minutes, double& seconds);

} // namespace coords

// Degrees-minutes-seconds reader: hemisphere, degrees, "°", minutes, "'", seconds, "''" (or the
// double quote). A decimal part with nothing after it is read as it stands: decimal degrees
// ("N48,85°") and decimal minutes ("N48°30,5'") are split into whole degrees, minutes and
// seconds. A decimal part followed by another ("E2°20,5'10''") is left as typed, and the check
// refuses it. A trailing number without marker after the degrees is read as minutes; "''" is
// looked for before "'". A text that goes on after its seconds marker is refused.
coords::CoordinateParts fun_Verif_DMS(const QString& label, const QString& text, const QString& typeName);

// Decimal-degrees reader: an optional hemisphere letter or sign, then a number, optionally ending
// with "°". A leading digit means east or north.
coords::CoordinateParts fun_Verif_DD(const QString& label, const QString& text, const QString& typeName);

// Splits one text with the reader of its type name ("... DD": decimal degrees, anything else:
// degrees-minutes-seconds). With normalise, the whole degrees and minutes of a text that was read
// are written in the "0" pattern (minutes "0" when blank), and blank seconds become "0"; degrees
// or minutes with a decimal part stay as they are.
coords::CoordinateParts fun_Verif_Coord_Type(const QString& label, const QString& text, bool normalise,
                                             const QString& typeName);

// Recognises a pair: "UTM" (longitude, latitude and zone given), "MGRS" (only the reference
// given) or "Degrés" (geographic, with the type name "WGS84 DMS", "WGS84 DD", "ED50 DMS",
// "ED50 DD" chosen by the datum hint). Does nothing unless the category or the type name is empty.
void fun_Verif_Format_Coord(QString& category, QString& typeName, const QString& longitude,
                            const QString& latitude, const QString& zone, const QString& mgrs,
                            const QString& datumHint);

// Signed decimal degrees from parts (see coords::dmsToDegrees). Empty parts count as zero;
// nothing when a part is not a number or the degrees are not whole.
std::optional<double> sub_Parse_DMS_Text(const QString& hemisphere, const QString& degrees,
                                         const QString& minutes, const QString& seconds);
