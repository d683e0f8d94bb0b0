#pragma once
// One call turns a point given in any of the five coordinate types into all the others. A point
// is a coordinate set: three arrays of five slots, slot k for coordinate type k:
//
//   k  type               first (X)              second (Y)            third (Z)
//   0  NTF geographic     longitude, grads       latitude, grads       -
//   1  Lambert            X, metres              Y, metres             -
//   2  WGS84 text         longitude text         latitude text         -
//   3  UTM                easting, metres        northing, metres (*)  zone
//   4  MGRS               -                      -                     reference text
//
// (*) South of the equator the usual northing (with the false northing 10000000 m) with a minus
// sign in front, whichever source the slot was written from; a northing of 0 or more is northern.
//
// NTF is the hub: every source is brought to NTF; Lambert (II étendu) and the WGS84 texts are
// derived from NTF, UTM from the WGS84 texts, and MGRS from UTM.

#include "coords/Utm.h"

#include <QString>
#include <QVariant>

#include <array>
#include <optional>

namespace coords {

using CoordinateSlots = std::array<QVariant, 5>;

enum CoordinateType : int { TYPE_NTF = 0, TYPE_LAMBERT = 1, TYPE_WGS84 = 2, TYPE_UTM = 3, TYPE_MGRS = 4 };

struct ConversionResult
{
    int error = 0;   // 0 converted, -1 refused
    QString message; // type 2: the validation's text (" : " when both texts pass); else empty
};

// A slot's value as the program shows it: texts as they are, numbers in the general form with
// the regional separator, nothing as "".
QString slotText(const QVariant& value);

// The UTM position of a WGS84 point and the MGRS reference built from it, as the dispatcher
// writes them into the UTM and MGRS slots.
struct UtmReference
{
    UtmPosition utm;
    QString mgrs; // the 20-character MGRS reference
};

// From the parts of the point's two texts. Nothing when the UTM position or the reference cannot
// be made (a zone outside 1 to 60, degrees that are not whole, a negative easting).
std::optional<UtmReference> utmWithMgrs(const HemisphereDms& longitude, const HemisphereDms& latitude);
// From the two texts (read as sub_Geo_To_UTM reads them).
std::optional<UtmReference> utmWithMgrs(const QString& longitude, const QString& latitude);

} // namespace coords

// Fills the slots of every type other than Type_Coord from the slots of Type_Coord.
// Zone_Lambert: for a Lambert source, "*" (Lambert II étendu) or a text whose last blank-separated
// word is the zone ("2E", "LAMBERT 1"); the other types ignore it. An empty or unreadable source,
// an empty or unknown zone, or a step that cannot convert the point gives -1 and writes no slot;
// only the validation may rewrite the texts of a type-2 source in their normal form. A type
// outside 0 to 4 gives -1 too, with an empty message, and writes nothing.
coords::ConversionResult sub_Convertir_Coordonnees(coords::CoordinateSlots& Coord_X,
                                                   coords::CoordinateSlots& Coord_Y,
                                                   coords::CoordinateSlots& Coord_Z, int Type_Coord,
                                                   const QString& Zone_Lambert);
