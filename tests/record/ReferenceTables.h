#pragma once
// Small reference tables for the record tests, written as the program's table files.

#include <QString>

namespace record {
class ReferenceData;
}

namespace record_samples {

// Writes a table given as tab-separated text (header first) as a grid file of the given code.
void writeTable(const QString& path, int code, const QString& tsv);

// Small communes, networks, behaviours, habitats and species tables in a folder, under their
// default file names. "Valence" of "26" has its centre at Lambert X 800000, Y 2000000; "Sans
// centre" of "26" has none.
void writeSmallTables(const QString& folder);

// The small tables above, written once in a folder of their own and loaded.
const record::ReferenceData& smallReferences();

} // namespace record_samples
