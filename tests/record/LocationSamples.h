#pragma once
// A location grid laid out as the record window lays it out, for the tests of its rules.

#include "grid/Grid.h"

#include <QStringList>
#include <memory>

namespace record_samples {

// Header row, parcel rows 1 to parcels, the two fixed columns, the check-box columns, and the
// validated box and the Lambert columns read-only.
std::unique_ptr<grid::Grid> locationGrid(int parcels);

// Cells 2 to 8 of a row (department, commune, place, zone, longitude, latitude, square), "|"
// between them.
void setPosition(grid::Grid& grid, int row, const QString& cells);
// Cells first..last of a row, "|" between them.
QString rowText(const grid::Grid& grid, int row, int first, int last);

} // namespace record_samples
