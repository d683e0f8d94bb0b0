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
#include <optional>

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

// The status line of the record window: the record may be saved, or the items still missing,
// each page's items on a line of their own under the sentence.
QString saveStatusText(const SiteName& site);

// The box of a save refused because identifying items are missing: one line for each item that
// is missing, in the order of their weights; empty when nothing is.
QString fun_Message_Non_Sauvegardable(const SiteName& site);

// The identifying fields of a complete site name ("SHOC-26~Valence~Les Plantes~DUPONT Jean
// Marc~Hiver 2009-2010"). The observer's name is typed in capitals: the first name begins at
// the first word that is not all capitals, or is the last word when every word is. A name that
// is not made of the five parts (a part missing, a "~" typed in a field) gives nothing.
struct SiteFields
{
    QString departmentCode;
    QString commune;
    QString placeName;
    QString observerName;
    QString observerFirstName;
    QString season;
    bool operator==(const SiteFields&) const = default;
};
std::optional<SiteFields> siteFieldsOf(const QString& siteName);

} // namespace record
