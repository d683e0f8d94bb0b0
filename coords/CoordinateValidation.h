#pragma once
// Checks a typed geographic point (longitude and latitude texts): their shape first, then the
// hemisphere letter, degrees, minutes and seconds one by one. The first fault is told by a short
// French text that always begins with " : "; " : " alone means both texts pass. With normalise,
// texts whose shape passes are rewritten in the degrees-minutes-seconds form.

#include "coords/CoordinateFormats.h"

#include <QString>

namespace coords {

struct CoordinateCheck
{
    int error = 0;   // 0 correct, -1 refused
    QString message; // " : " or " : " followed by the fault
};

// The part checks of one coordinate (hemisphere, degrees, minutes, seconds), in this order;
// the message of the first that fails, or an empty text.
QString checkParts(const CoordinateParts& parts, bool longitude, const QString& typeName);

} // namespace coords

// typeName: "WGS84 DMS", "ED50 DMS", "WGS84 DD" or "ED50 DD" (another name reads degrees-minutes-
// seconds without an upper bound for the seconds).
coords::CoordinateCheck fun_Verif_Coordonnees(QString& longitude, QString& latitude, bool normalise,
                                              const QString& typeName);
