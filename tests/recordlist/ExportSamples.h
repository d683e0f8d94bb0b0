#pragma once
// Records and reference tables for the export tests.

#include "record/SurveyRecord.h"
#include "recordlist/ExportTable.h"

#include <QString>
#include <QStringList>

namespace platform {
class Grid;
}

namespace export_samples {

// One parcel, dated 14/01/2010, first passage, Lambert coordinates, habitat type "CH", two habitat
// descriptions ticked; three species: 3 near and 2 far of a total of 7, one bird that the species
// table names by another code, one whose counts exceed its total.
record::SurveyRecord oneParcel();
// The record's file grid.
void writeGrid(const record::SurveyRecord& r, platform::Grid& grid);

// Organisme "LPO Ardèche", CPU "HA", the eighteen habitat codes, two species.
recordlist::ExportSettings settings(bool withLocality = true);
const QStringList& habitatCodes();

// The cells of the named columns of each row, "|" between cells (for reading failures).
QStringList columns(const recordlist::RecordExport& table, const QStringList& names);

// The habitat and species tables written into the program's folder, as the settings find them.
void writeTables();
// The record written as a file of the folder under its own name, which is returned.
QString writeRecord(const QString& folder, const record::SurveyRecord& r);
// A record's grid written as a file of the folder under the given name.
void writeRecordGrid(const QString& folder, const QString& name, const platform::Grid& grid);

} // namespace export_samples
