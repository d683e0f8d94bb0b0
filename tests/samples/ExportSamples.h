#pragma once
// A record and reference tables for the export tests.

#include "record/SurveyRecord.h"
#include "recordlist/ExportTable.h"

#include <QString>
#include <QStringList>

namespace export_samples {

// One parcel, dated 14/01/2010, first passage, Lambert coordinates, habitat type "CH", habitat
// descriptions 1 and 5 ticked; three species: 3 near and 2 far of a total of 7, a bird that the
// species table names by another code, one whose counts exceed its total.
record::SurveyRecord oneParcel(int parcels = 1);
// The eighteen habitat codes.
const QStringList& habitatCodes();
// Organisme "LPO Ardèche", CPU "HA", the habitat codes, the lark and the magpie.
recordlist::ExportSettings settings(bool withLocality = true);

// The same tables written into the program's folder, where the export reads them.
void writeTables();
// A record's grid written into the folder under the name given, or its own name; returns it.
QString writeRecord(const QString& folder, const record::SurveyRecord& r, const QString& name = QString(),
                    const QString& blankedLabel = QString());

} // namespace export_samples
