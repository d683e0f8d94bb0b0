#pragma once
// The prospection table: which sites were surveyed in which winter. One row per site with its
// observer and his address, and one column per winter from the winter 2006-2007 to the current
// winter (the record core's season rule: a winter runs from October to September), each cell
// holding how many record files of the site exist for that winter. Built from the record
// summaries of the data folder, never from whole files.
//
// A record's site name ends with its season ("...~DUPONT Jean~Hiver 2009-2010"): the table's site
// is the site name without that last part, so that the records of one site over the winters meet
// on one row whatever the order in which the folder lists them. Sites that differ only by the
// case of their letters are one site, as their files are.
//
// The view shows the table in its grid; nothing here needs a widget.

#include "grid/Grid.h"
#include "platform/Clock.h"
#include "platform/Services.h"
#include "recordlist/RecordListing.h"
#include "recordlist/RecordSummary.h"

#include <QDate>
#include <QList>
#include <QString>

namespace recordlist {

// The first winter of the table: Hiver 2006-2007.
inline constexpr int kFirstProspectionWinter = 2006;

// Columns of the table; column 0 is an empty fixed column, then one column per winter.
enum ProspectionColumn : int {
    ProspectionSiteColumn = 1,
    ProspectionObserverColumn = 2,
    ProspectionContactColumn = 3,
    FirstWinterColumn = 4,
};

// Background of the winter cells (red + 256 * green + 65536 * blue): light peach for an empty
// cell with no covered winter before it, light red for an empty cell after one, light orange for
// one record file, light green for two and more.
inline constexpr grid::GridColour kNotYetCoveredColour = grid::gridRgb(0xFF, 0xE0, 0xC0);
inline constexpr grid::GridColour kMissedColour = grid::gridRgb(0xFF, 0x80, 0x80);
inline constexpr grid::GridColour kOneRecordColour = grid::gridRgb(0xFF, 0xC0, 0x80);
inline constexpr grid::GridColour kSeveralRecordsColour = grid::gridRgb(0x80, 0xFF, 0x80);

// The site a record belongs to over the winters: its site name without the last "~" part when
// that part is a season ("Hiver " and two following years); otherwise the site name whole.
QString siteWithoutSeason(const QString& siteName);
// The first year of a season text ("Hiver 2009-2010" gives 2009, blanks around and letter case
// aside); -1 when the text is no season.
int winterOfSeason(const QString& season);

struct ProspectionRow
{
    QString site;     // the site name without its season
    QString observer; // name, one blank, first name
    QString contact;  // e-mail address, or telephone number when the record has none
    // The number of record files of the site in each winter, the first winter first.
    QList<int> counts;

    bool operator==(const ProspectionRow&) const = default;
};

struct ProspectionTable
{
    int firstWinter = kFirstProspectionWinter;
    int lastWinter = kFirstProspectionWinter - 1; // the current winter; no column before 2006
    // One row per site, sorted by site without regard to case. Observer and address are those of
    // the site's latest record (latest winter, then highest passage, then newest file).
    QList<ProspectionRow> rows;
    // Distinct observers of the rows (name and first name, letter case and blanks aside).
    int observers = 0;
    // Files of the listing left out, with the reason.
    QList<UnreadFile> unreadable;

    int winterCount() const { return lastWinter >= firstWinter ? lastWinter - firstWinter + 1 : 0; }
    // "Hiver 2006-2007" for the first column.
    QString winterTitle(int winter) const;
    // The number of sites with at least one record file in that winter.
    int sitesCovered(int winter) const;
    // "Bilan Hiver 2006-2007 : Nbr. sites prospectés=12": the winter column's tool-tip.
    QString summaryText(int winter) const;
    // "Il y a 3 sites prospectés par 2 observateurs".
    QString closingText() const;
    // The files left out, one reason a line; empty when every file was read.
    QString unreadableText() const;
};

// The table of the records given (in any order), with the winters up to today's.
ProspectionTable buildProspection(const QList<RecordSummary>& records, const QDate& today);
// The table of the record files of the data folder (the files the record list lists); the
// summaries already kept in the cache serve again for the files that did not change.
ProspectionTable readProspection(const QString& dataFolder, SummaryCache& cache,
                                 const QDate& today = platform::clock().today());

// The colour of a row's winter cell.
grid::GridColour winterColour(const ProspectionRow& row, int winter);

// Fills the view's grid: header (winter columns centred), each winter's summary text as its
// column data, one read-only row per site with the site as row key, the winter cells coloured.
void fillProspectionGrid(const ProspectionTable& table, grid::Grid& grid);
// The tool-tip over a column of the filled grid: the winter's summary, empty over the others.
QString prospectionToolTip(const grid::Grid& grid, int col);

// The text of the selected cells for the clipboard: cells joined by tabs, each row ended by a
// line feed, the last one included, so that a paste ends the last row as it ends the others.
// In list-box selection, the selected rows over the selection's columns.
QString copyTextOfSelection(const grid::Grid& grid);

} // namespace recordlist
