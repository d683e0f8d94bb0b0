#pragma once
// Records for the record tests, and how a failing comparison shows them.

#include "record/SurveyRecord.h"

#include <QString>
#include <ostream>

namespace platform {
class Grid;
}

namespace record_samples {

// A complete record of two parcels as the record window would hand it over: every field filled,
// check boxes ticked and not, species with a comment on several lines, nothing blank.
record::SurveyRecord twoParcels();

// The cells of a grid that hold text, one line per row: "row: col=text | col=text", carriage
// returns shown as "\r".
QString gridDump(const platform::Grid& grid);

} // namespace record_samples

namespace record {
// The record as its file's grid.
void PrintTo(const SurveyRecord& record, std::ostream* os);
} // namespace record
