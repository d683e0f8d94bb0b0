#pragma once
// Record files for the record list tests, written as the record window writes them.

#include "record/SurveyRecord.h"

#include <QDateTime>
#include <QString>
#include <functional>

namespace grid {
class Grid;
}

namespace list_samples {

// The two-parcel sample record with the given passage (1 to 5), date and status, its parcels
// repeated up to the given count.
record::SurveyRecord recordOf(int passage, const QString& date, bool notValidated = false, int parcels = 2);

// Writes the record's file under the given name in the folder; change, when given, edits the
// file's grid before it is written. The test fails when the file cannot be written.
void writeRecord(const QString& folder, const QString& name, const record::SurveyRecord& record,
                 const std::function<void(grid::Grid&)>& change = {});

// Sets a file's modification time.
void setModified(const QString& path, const QDateTime& when);

} // namespace list_samples
