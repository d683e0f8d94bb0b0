#pragma once
// The columns of the record window's parcel location grid flx_Coordonnées: one row per parcel
// (row p is parcel p), the parcel label in the fixed column 1.

namespace record {

enum LocationColumn : int {
    LocParcel = 1,
    LocDepartment = 2,
    LocCommune = 3,
    LocPlace = 4,
    LocUtmZone = 5,
    LocLongitude = 6,
    LocLatitude = 7,
    LocMgrs = 8,
    LocWalk = 9,
    LocAltitude = 10,
    LocReserve = 11,
    LocValidated = 12,
    LocLambertX = 13,
    LocLambertY = 14,
    LocInformation = 15,
    LocColumns = 16,
};

} // namespace record
