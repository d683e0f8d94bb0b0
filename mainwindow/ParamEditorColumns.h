#pragma once
// What the settings window's logic shares between its files: the columns of its tables and the
// quiet digits filter. Private to ParamEditor's sources.

#include "common/ParamConfig.h"

namespace mainwindow::paramcolumns {

// The species table's "Saisie" column: the only one an ordinary user may change.
constexpr int kEntryColumn = common::kSpeciesEntryColumn;
// The species table's descriptive columns, which RAZ reads to find empty rows.
constexpr int kFirstSpeciesColumn = 1;
constexpr int kLastSpeciesColumn = 4;
// The species table's further header texts, written by Save where the table has the columns.
constexpr int kFindCodeColumn = 6;
constexpr int kFindNameColumn = 7;
// The squares table: the square number, then the coordinates.
constexpr int kSquareNumberColumn = 2;
constexpr int kLongitudeColumn = 3;
// The networks table: the code (capitals) and the five-minute count (digits).
constexpr int kNetworkCodeColumn = 1;
constexpr int kFiveMinutesColumn = 3;
constexpr int kNetworkColumnCount = 4;
// The species code, typed in capitals.
constexpr int kSpeciesCodeColumn = 2;
// The identification grid: the box, then the information columns.
constexpr int kSelectionColumn = 1;
constexpr int kOrganisationColumn = 2;
constexpr int kCpuColumn = 3;
constexpr int kComputerNameColumn = 4;
// The address book: the box, then the address.
constexpr int kAddressBoxColumn = common::kAddressBoxColumn;
constexpr int kAddressColumn = 2;

// The digits filter of a grid cell, which says nothing: the key to keep, 0 to drop it.
int quietDigitsFilter(int key);

} // namespace mainwindow::paramcolumns
