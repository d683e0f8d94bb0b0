#pragma once
// A record for the record tests, and how a failing comparison shows records and grids.

#include "record/SurveyRecord.h"

#include <QString>
#include <ostream>

namespace grid {
class Grid;
}

namespace record_samples {

// A complete record of two parcels as the record window would hand it over: every kind of field
// filled, check boxes ticked and not, a comment on two lines, parcel 2 with an empty species grid.
record::SurveyRecord twoParcels();

// The cells that hold text, one line per row: "row: col=text | col=text", "\r" shown as "\\r".
QString gridDump(const grid::Grid& grid);

} // namespace record_samples

namespace record {
// A record shows in a failing comparison as its file's grid.
void PrintTo(const SurveyRecord& record, std::ostream* os);
} // namespace record
