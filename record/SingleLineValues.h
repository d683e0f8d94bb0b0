#pragma once
// The record's values that hold on one line (every value but the two comments): none may hold a
// tab, a line break or another control character (common::checkSingleLine), which would go into
// the record file's cell as it is and from there into the file's name, the workbooks and the
// list.

#include "platform/Result.h"
#include "record/SurveyRecord.h"

namespace record {

// The first such value refused, its reason naming the field (and the parcel, the species row),
// the character and where it stands; success when there is none.
platform::Result checkSingleLineValues(const SurveyRecord& record);

} // namespace record
