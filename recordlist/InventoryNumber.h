#pragma once
// The inventory code of one parcel of one passage of a record, as the export tables carry it:
// the year's last two digits, the passage cell as stored, the parcel's department on two
// characters (Corsica's "2A" and "2B" as "20"), its longitude and its latitude in hectometres
// on five digits each, and the parcel number on two digits, joined without separator.
//
//   10 2 20 00084 00193 03  ->  "10220000840019303"   (2010, passage cell 2, 2A, 8451 m, 19345 m, p 3)
//
// A record without its date row or its "Coordonnées" section gives "????????". A coordinate that
// is not a number (an empty cell, degrees written with their signs) leaves its piece empty.

#include <QString>

namespace grid {
class Grid;
}

namespace recordlist {

class RecordSections;

inline const QString kUnknownInventoryNumber = QStringLiteral("????????");

QString fun_Gen_Num_Inventaire_Ravelin(const RecordSections& record, int parcel);
// The same on a record grid not yet indexed.
QString fun_Gen_Num_Inventaire_Ravelin(const grid::Grid& record, int parcel);

} // namespace recordlist
