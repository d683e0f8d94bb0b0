#pragma once
// Where each cell of a record file stands. A record file is a grid of 72 columns saved whole
// (code 0, fixed cells included); row 0 and column 0 stay empty, every cell holds text and N is the
// number of parcels (1 to 30):
//
//   1        "SHOC", the program's version, "Non Validé" when saved despite anomalies
//   2-8      identification: department, commune, place name, site name, habitat type; network;
//            general comment; observer's names; e-mail and telephone; number of parcels; season
//   9        "Coordonnées" and its captions, then N parcel rows, parcel p on row 9 + p (location,
//            check boxes, the coordinate type, the Lambert position, information, the parcel label
//            and the 18 habitat check boxes in columns 20-38)
//   10+N     the date, the passage index (0 to 4) and the comment on the visit
//   11+N     "Météo" and its captions, then N parcel rows (four weather codes)
//   12+2N    "Paramètres saisies": total typed by hand, species merge
//   13+2N    one species block per parcel: its title "Espèces Parcelle N°p" with the start time,
//            the duration and the two hunting boxes; then, when the parcel's species grid was
//            stored, its header row and its species rows (species grid column k in column k+1)
//
// The rows after the fixed ones move with N; readers find them by their label in column 1. The
// parcel rows of "Coordonnées" and "Météo" follow their title directly, parcel p on the title's row
// + p; a row labelled as a section or a species block is never one of them.

namespace record::file {

inline constexpr int ColumnCount = 72; // columns 0 to 71

// Column 1 of a row holds its label (a section title, "Espèces Parcelle N°p"); it is empty on the
// parcel rows of a section and inside a species block.
inline constexpr int LabelColumn = 1;

// Fixed rows.
inline constexpr int ShocRow = 1;           // "SHOC"
inline constexpr int IdentificationRow = 2; // "Désignation et localisation"
inline constexpr int NetworkRow = 3;        // "Nom du réseau"
inline constexpr int CommentRow = 4;        // "Commentaire général"
inline constexpr int ObserverRow = 5;       // "Nom et prénom"
inline constexpr int ContactRow = 6;        // "Courriel et téléphone"
inline constexpr int ParcelCountRow = 7;    // "Nbr points"
inline constexpr int SeasonRow = 8;         // "Saison"
inline constexpr int LocationsRow = 9;      // "Coordonnées": its captions; parcel p on row 9 + p

// Rows placed by the number of parcels.
// "Date, N° Passage et commentaire relevé".
constexpr int visitRow(int parcels) { return LocationsRow + parcels + 1; }
// "Météo": its captions; parcel p on the row + p.
constexpr int weatherRow(int parcels) { return visitRow(parcels) + 1; }
// "Paramètres saisies".
constexpr int optionsRow(int parcels) { return weatherRow(parcels) + parcels + 1; }
// The first parcel's species title row; each block follows the previous one.
constexpr int firstSpeciesRow(int parcels) { return optionsRow(parcels) + 1; }

// The "SHOC" row.
namespace ShocColumn {
inline constexpr int Version = 2; // "V" major "." minor "." revision
inline constexpr int Status = 3;  // "Non Validé", or empty
} // namespace ShocColumn

// The identification row.
namespace IdentificationColumn {
inline constexpr int Department = 2; // an item: code, " - ", name
inline constexpr int Commune = 3;
inline constexpr int Place = 4;       // place name
inline constexpr int Site = 5;        // site name
inline constexpr int HabitatType = 6; // an item: code, " - ", label
} // namespace IdentificationColumn

inline constexpr int NetworkColumn = 2;     // an item: code, " / ", name
inline constexpr int CommentColumn = 2;     // line breaks as "@vbCrLf@"
inline constexpr int ParcelCountColumn = 2; // N as a whole number
inline constexpr int SeasonColumn = 2;      // "Hiver 2009-2010"

namespace ObserverColumn {
inline constexpr int Name = 2;
inline constexpr int FirstName = 3;
} // namespace ObserverColumn

namespace ContactColumn {
inline constexpr int Email = 2;
inline constexpr int Telephone = 3;
} // namespace ContactColumn

// The title row of "Coordonnées" holds the captions; a parcel row, the parcel's values.
namespace LocationColumn {
inline constexpr int Point = 2;      // the parcel number p
inline constexpr int Department = 3; // department to altitude: the parcel's location texts
inline constexpr int Commune = 4;
inline constexpr int Place = 5;
inline constexpr int UtmZone = 6;
inline constexpr int Longitude = 7; // in the system of the coordinate type
inline constexpr int Latitude = 8;
inline constexpr int Mgrs = 9;            // MGRS square
inline constexpr int Walk = 10;           // length of the walk, metres
inline constexpr int Altitude = 11;       // metres
inline constexpr int HuntingReserve = 12; // check state
inline constexpr int Validated = 13;      // check state: the coordinates were checked
inline constexpr int CoordType = 14;      // the coordinate system (kCoordNtfGrads ... kCoordMgrs)
inline constexpr int LambertX = 15;
inline constexpr int LambertY = 16;
inline constexpr int Information = 17;
inline constexpr int ParcelLabel = 20;  // "Parcelle N°" and p on two digits
inline constexpr int FirstHabitat = 21; // the 18 habitat check states, columns 21 to 38
} // namespace LocationColumn

// The date row.
namespace VisitColumn {
inline constexpr int Date = 2;    // "JJ/MM/AAAA"
inline constexpr int Passage = 3; // the passage index, 0 to 4
inline constexpr int Comment = 4; // line breaks as "@vbCrLf@"
} // namespace VisitColumn

// The title row of "Météo" holds the captions; a parcel row, the parcel's weather codes.
namespace WeatherColumn {
inline constexpr int Point = 2; // the parcel number p
inline constexpr int First = 3; // cloud cover, rain, wind, visibility: columns 3 to 6
} // namespace WeatherColumn

// The row "Paramètres saisies".
namespace OptionsColumn {
inline constexpr int TotalByHand = 2;  // "1" when the total may be typed, "0" when computed
inline constexpr int MergeSpecies = 3; // "1" ticked, "0" not
} // namespace OptionsColumn

// The title row of a species block.
namespace SpeciesTitleColumn {
inline constexpr int StartTime = 2;   // "HH:MM"
inline constexpr int Duration = 3;    // "HH:MM"
inline constexpr int HuntingOn = 4;   // "1" ticked, "0" not
inline constexpr int HuntingNear = 5; // "1" ticked, "0" not
} // namespace SpeciesTitleColumn

// The header and species rows of a species block: the parcel's species grid (SpeciesColumn),
// column k in column k + 1.
constexpr int speciesColumn(int speciesGridColumn) { return speciesGridColumn + 1; }

// The largest record file the readers take; beyond these bounds a file holds no record and is
// refused before it is read whole (the record list reads every file of the data folder, the import
// every sibling file). The largest real record has 30 parcels, each listing every species of a
// species table of 600 (the whole bird list of France has fewer): the 73 rows before the species
// blocks, then per parcel a title row, a header row and 600 species rows, 18,133 rows in all.
// Written with long texts everywhere (species names of 40 characters, counts of four digits,
// behaviour indices of 40 characters, comments of 2,000 characters), its file takes 2.2 MB
// (2,226,418 bytes): the bounds leave room for nearly twice that.
// The writers keep the same bounds (RecordStore::checkFileBounds, the bulk update, the import):
// a record beyond them is never written, so that every record written opens again.
inline constexpr long long kMaxFileRows = 20'000;
inline constexpr long long kMaxFileCells = kMaxFileRows * ColumnCount;
inline constexpr long long kMaxFileBytes = 4 * 1024 * 1024;
// The species a parcel of that largest record lists.
inline constexpr int kLargestSpeciesTable = 600;

} // namespace record::file
