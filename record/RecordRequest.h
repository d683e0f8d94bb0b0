#pragma once
// What the record window is asked to open: the mode, and the record file or the site it works
// on. The record list builds it from the user's choice; the main window hands it to the record
// window, which reads nothing else of the list.

#include "record/SurveyRecord.h"

#include <QString>

namespace record {

struct RecordRequest
{
    RecordMode mode = RecordMode::New;
    QString fileName; // UPDATE: the record file to open
    QString site;     // NEW RELEVE, NEW RELEVE A-1: the site chosen in the site list
    bool operator==(const RecordRequest&) const = default;
};

} // namespace record
