#pragma once
// The sample record of the tests, its file written as the record window writes it, and how a
// failing comparison shows records and grids. The samples of the other suites are made from these.

#include "record/SurveyRecord.h"

#include <QString>
#include <functional>
#include <ostream>

namespace grid {
class Grid;
}

namespace record_samples {

// A complete record of two parcels as the record window would hand it over: every kind of field
// filled, check boxes ticked and not, a comment on two lines, parcel 2 with an empty species grid.
record::SurveyRecord twoParcels();

// Writes a record's file at the path given: its grid in the record file's layout
// (record::RecordLayout::write), saved whole. change, when given, edits the grid before it is
// saved. The test fails when the file cannot be written.
void writeRecord(const QString& path, const record::SurveyRecord& record,
                 const std::function<void(grid::Grid&)>& change = {});

// The cells that hold text, one line per row: "row: col=text | col=text", "\r" shown as "\\r".
QString gridDump(const grid::Grid& grid);

} // namespace record_samples

namespace record {
// A record shows in a failing comparison as its file's grid.
void PrintTo(const SurveyRecord& record, std::ostream* os);
} // namespace record
