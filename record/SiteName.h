#pragma once
// The name a survey site is known by, built from the record's identifying fields; it begins the
// record file's name. "SHOC-", the department code (two characters), "~" commune, "~" place name,
// "~" observer's name, a blank, first name, "~" season. A missing commune or place name replaces
// everything built so far by "?????"; a missing name, first name or season appends "_?????".
//
// The identifying items weigh: commune 1, place name 2, name 4, first name 8, season 16, date 32,
// passage 64; the record may be saved when all are given (127). The missing ones are listed by
// the page that holds them.

#include "record/SurveyRecord.h"

#include <QString>

namespace record {

struct SiteName
{
    static constexpr int kComplete = 127;

    QString text;
    int mask = 0;
    // "\r\n\t- Onglet [...] : Commune, Lieu-dit, ..." ; empty when nothing is missing.
    QString missing;

    bool complete() const { return mask == kComplete; }
};

SiteName sub_Build_Nom_Zone(const SurveyRecord& record);

} // namespace record
