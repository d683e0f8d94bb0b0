#pragma once
// The export table of survey records, made to be imported into Gadrel: one row per parcel,
// species and distance class that has a count, plus a row "Non indiquée" for the part of a
// species' total that no distance class holds. A row carries the record's identification, the
// parcel's visit, location and weather, the site's habitat type as one tick per habitat code, the
// parcel's habitat descriptions as ticks, and the species with its behaviour, distance and count.
//
// Tables are lists of cells, column 1 of the workbook first; nothing is joined into one text, so a
// cell may hold any character. Cells meant to stay texts whatever they look like (the department,
// the inventory code) begin with an apostrophe, which the workbook writer drops. Ticks are "-1",
// an unticked box is empty.
//
// A record that lacks one of the sections its rows are taken from is refused whole: it gives no
// row at all.

#include "platform/Result.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace grid {
class Grid;
}

namespace recordlist {

class RecordSections;

struct ExportSettings
{
    // Pays, Département, Commune and Lieudit; otherwise the coordinates only, with a column GPS.
    bool withLocality = true;
    // The Gadrel identification of the organisation and of its computer.
    QString organisme;
    QString cpu;
    // The habitat table's codes, in table order: one "SHOC-MPP" column each.
    QStringList habitatCodes;
    // The species table: the code of each French name (its first row when a name is there twice).
    QHash<QString, QString> speciesCodes;
};

// The codes of the habitat table: column 1 from row 1 on, up to the first empty cell.
QStringList habitatCodesOf(const grid::Grid& habitatTable);
// The species table's codes (column 2) by French name (column 3), rows 1 on.
QHash<QString, QString> speciesCodesOf(const grid::Grid& speciesTable);

struct [[nodiscard]] ExportSettingsReading
{
    platform::Result result;
    ExportSettings settings;
};

// The settings of the export: the Gadrel identification (settings "Indentification de votre
// Gadrel : Organisme SHOC" and "... : CPU SHOC"), the habitat table (setting "Fichier milieux
// SHOC") and the species table (setting "Fichier espèces"). A table that cannot be read fails,
// naming its file: without it the table's columns would not be those Gadrel expects.
ExportSettingsReading readExportSettings(bool withLocality);

// One record's part of the table.
struct [[nodiscard]] RecordExport
{
    // A failure says why the record is refused; it then has no row.
    platform::Result result;
    // The names of the columns, from column 1 on; every row has as many cells.
    QStringList header;
    QList<QStringList> rows;
};

class ExportTable
{
public:
    explicit ExportTable(ExportSettings settings);

    const ExportSettings& settings() const { return m_settings; }

    // The table of a record loaded from recordPath (the path only names the record in a refusal).
    RecordExport build(const grid::Grid& record, const QString& recordPath) const;
    RecordExport build(const RecordSections& record, const QString& recordPath) const;
    // The same rows as a grid holds them (appendGridRows): an empty column 0 first.
    RecordExport gridRows(const grid::Grid& record, const QString& recordPath) const;
    RecordExport gridRows(const RecordSections& record, const QString& recordPath) const;

    // The names of the columns for a record, or an empty list when its "Coordonnées" section,
    // which gives the habitat description columns, is missing.
    QStringList header(const RecordSections& record) const;

private:
    ExportSettings m_settings;
    // The texts of the cells made so far, each kept once: the rows share them.
    mutable QSet<QString> m_texts;
};

// The "Non conforme" text of a refused record.
QString notConformingText(const QString& recordPath);

// The table in a grid, as the workbook writer takes it: one fixed header row, column 0 empty.
// setExportHeader writes the header row (a grid without it gets it first) and keeps the rows
// below; appendGridRows adds rows of ExportTable::gridRows after the last one, each row keeping
// the list it came in (shared, not copied: an export holds millions of cells). The grid is
// widened to the longest of them.
void setExportHeader(grid::Grid& grid, const QStringList& header);
void appendGridRows(grid::Grid& grid, const QList<QStringList>& rows);
// The table back to what it is before any export: one empty cell.
void emptyExportTable(grid::Grid& grid);

} // namespace recordlist
