#pragma once
// The workbook writer: a grid written as an .xlsx workbook, its rows spread over as many sheets
// as the rows-per-sheet limit asks, each sheet with the header rows again. Cell texts become
// dates, times, numbers, percentages or texts by the rules of common::excel::convertCell; columns get
// their number format from what they hold and from their header. The writer is part of the
// program (libxlsxwriter), so it is always present; when the start-up found no writer
// (gstr_Version_Excel "?"), the grid saves itself as a workbook instead.
//
// Nothing here shows a box: the caller learns from the result whether the file was written and,
// if not, why. The target file is replaced only once the new workbook is complete.

#include "common/Globals.h"
#include "platform/Result.h"

#include <QString>

namespace grid {
class Grid;
}

// The progress hook that long operations call with a French progress text. It shows nothing
// and records nothing.
void sub_Status_Message(const QString& texte, const QString& complement1 = QString(),
                        const QString& complement2 = QString());

// True when the text is accepted as a time "HH:MM" (hours 00 to 23, minutes 00 to 59, a colon
// between them), or is blank. Shows nothing.
bool fun_Verif_Heure(const QString& texte);

namespace common {

// The version the start-up stores for a writer's version text: below 10 a "0" is appended
// ("9.0" becomes "9.00").
QString storedExcelVersion(const QString& version);
// Rows on one sheet for a writer's version: 65000 for "10.0" to "14.0", 32000 for any other.
qint32 rowsPerSheet(const QString& version);

} // namespace common

// The start-up's presence test of the workbook writer: it is present with version "14.0", so
// the flag becomes true, the version "14.0" and the rows per sheet 65000. The start-up passes
// gbol_Excel_Disponible, gstr_Version_Excel and glng_Lignes_Par_Feuille.
void Sub_Test_Version_Excel(bool& disponible, QString& version, qint32& lignesParFeuille);

// Writes the grid as a workbook at chemin, replacing the file there only when the new workbook
// is complete (an existing file of that name in another case is the one replaced). A failure
// says why, naming the file.
//  - excelConnecte: accepted for the callers; the writer needs no connection.
//  - formatFichier: accepted for the callers; workbooks are always .xlsx.
//  - nomFeuille: the first sheet is named its last 31 characters, the next ones its last 26
//    characters, "-" and a number from "001". A name the workbook refuses gives "FeuilN".
//  - ajoutFeuille: true would add sheets to an existing workbook, which is refused (failure,
//    nothing written), so that no workbook loses its sheets.
//  - premiereLigne, derniereLigne: the grid rows to write below the fixed rows; a first row
//    inside the fixed rows means the first row below them, a last row below 1 or past the end
//    the grid's last row. The fixed rows are the header of every sheet; column 0 is never
//    written, nor hidden columns and columns of width 0.
//  - nombreFeuilles: increased by the number of sheets written, when the workbook was written.
// At most glng_Lignes_Par_Feuille rows, header included, go on one sheet. A grid without rows
// to write gives one sheet holding the header. The first sheet is the active one.
platform::Result sub_Export_Excel(bool excelConnecte, const grid::Grid& grille, const QString& chemin,
                                  const QString& formatFichier, const QString& nomFeuille, bool ajoutFeuille,
                                  qint32 premiereLigne, qint32 derniereLigne, int& nombreFeuilles);

namespace common::excel {

// What a column's header makes of its cells. A header holding "BAGUE" (ring numbers),
// "DEPT", "DÉPARTEMENT" or "DEPARTEMENT" (department codes such as "01" or "2A"), in any case,
// gives a text column: every cell is written as text and the column gets the text format. In
// a "BAGUE" column that is no "BAGUEUR" column the cell text is kept exactly as typed.
struct ColumnRule
{
    bool text = false;
    bool keepAsTyped = false;
};
ColumnRule columnRule(const QString& header);

enum class CellKind : quint8 { Empty, Text, Number, Date, Time, Percent };

struct Cell
{
    CellKind kind = CellKind::Empty;
    // Number; Percent (0.15 for "15%"); Date (days since 30/12/1899); Time (fraction of a day).
    double number = 0;
    QString text; // Text
    bool operator==(const Cell&) const = default;
};

// One data cell, the first rule that applies winning:
//  1. in a text column, the text (see ColumnRule);
//  2. a date "JJ/MM/AAAA" from 01/03/1900 on: its serial number (earlier dates, which a
//     workbook cannot show, stay texts);
//  3. a time accepted by fun_Verif_Heure: its fraction of a day;
//  4. otherwise, with blanks trimmed and every carriage return and pair of line feeds made one
//     line feed: a number (decimal point or comma, sign, exponent), a percentage ("15%"), or
//     the text.
// A text that begins with an apostrophe is written without it: the apostrophe only says "keep
// this as text", as in "'07".
Cell convertCell(const QString& text, const ColumnRule& rule);

// A number as the writer reads one: blanks around it, a sign, digits with one decimal point or
// comma, an exponent. Nothing else (no thousands separators, no "inf").
bool parseNumber(QStringView text, double* value);

} // namespace common::excel
