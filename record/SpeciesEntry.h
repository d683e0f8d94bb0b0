#pragma once
// Entry of a parcel's species grid, without the window: the lookup of a typed species code or
// name in the species table (with the one-time question of the learning mode), what an edit of a
// cell writes into its row (the species' class, code and name, the row total), the keys the
// cell editors take and the behaviours offered for a row's class.
//
// A code is looked for in the code column and a name in the name column, each then in the other
// column: the code column's list stores the species' name and the name column's list its code,
// and a pasted code or name lands in either column.

#include "grid/Grid.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

namespace record {

// Columns of the species table (flx_Codes_Espèces): class, code, name; its "Saisie" box is
// kSpeciesTableEntered (SpeciesConfirmations.h).
inline constexpr int kSpeciesTableClass = 1;
inline constexpr int kSpeciesTableName = 3;

// The row of the species table whose cell in the column (the code or the name column) is the
// text, then the row whose cell in the other column is; texts compared without their outer
// blanks and without regard to case. -1 when none is, or when the text is blank.
int findSpecies(const grid::Grid& table, const QString& text, int column);

enum class SpeciesFound {
    Found,   // the row of the species
    Unknown, // neither a code nor a name of the table
    Refused, // the user did not confirm its first use
};

struct SpeciesMatch
{
    SpeciesFound found = SpeciesFound::Unknown;
    int row = -1; // the species table's row when found
};

// What the lookups of one edit (a cell typed, a paste, a fill) met.
struct SpeciesLookups
{
    QStringList unknown; // the texts that name no species, in the order met, each once
    bool lookedUp = false;
};

// The key rule of the species grid's cell editors: the counts and the total (columns 4 to 8) take
// digits only, "Indices" takes letters (and the blank that opens its list); the other columns
// take every key. Control keys always pass.
enum class SpeciesKeyRule { Any, Digits, Letters };
SpeciesKeyRule speciesKeyRule(int column);
bool speciesKeyAllowed(int column, int key);
// "Veuillez saisir uniquement des chiffres" or "... des lettres".
QString speciesKeyMessage(SpeciesKeyRule rule);

// The edit list of the "Indices" column for a row's class: a blank first choice, then the
// behaviours of that class (the behaviour list's items "class~code label" whose class is the
// first letter of the row's class), without their key: " |ALIM En alimentation|...|".
QString behaviourListForClass(const QString& behaviours, const QString& speciesClass);

// "L'espèce « X » est inconnue..." for one text, the list of them for several.
QString unknownSpeciesText(const QStringList& texts);

class SpeciesEntry
{
public:
    // Confirms a species' first use: ticks its "Saisie" box in the table and keeps it for the
    // write-back; false when the table has no such code.
    using Confirm = std::function<bool(const QString& code)>;

    // The species table (code order, header in row 0) as the window holds it.
    SpeciesEntry(const grid::Grid& speciesTable, Confirm confirm);

    // sub_Vérif_Espèce: the species of a typed text, looked for first in the column given (the
    // code or the name column of the species table). With the learning mode of species-code
    // entry (option SaisieEsp), a species whose "Saisie" box is not ticked is accepted only when
    // the user confirms it ("SAISIE ESPECE"); Yes ticks the box, and it is not asked again.
    // A species refused once in the same edit (a paste, a fill) is not asked again for it.
    SpeciesMatch sub_Vérif_Espèce(const QString& text, int column);

    // After the user edited the cell (row, col) of the species grid: a code or a name typed or
    // chosen is looked up and the species' name, code and class are copied into the row; a text
    // that finds no species (or a refused species) empties the class and the code and keeps the
    // name. With computed totals the row's total is the sum of its counts (only when the lookup
    // did not fail). No row is added here.
    SpeciesLookups afterEdit(grid::Grid& speciesGrid, int row, int col, bool computedTotals);

    // After a paste or a fill wrote the range: each row that holds a species gets the lookup
    // (when the range covers the code or the name column: by its code, else by its name) and its
    // total, as if the user had typed it. Rows holding nothing are left alone.
    SpeciesLookups afterRowsWritten(grid::Grid& speciesGrid, const grid::GridRange& range,
                                    bool computedTotals);

    // One empty row at the end of the species grid, with the class column and (with computed
    // totals) the total column read-only.
    static void addEmptyRow(grid::Grid& speciesGrid, bool computedTotals);
    // The same, unless the grid already ends with a row holding nothing.
    static void endWithEmptyRow(grid::Grid& speciesGrid, bool computedTotals);
    // The class column read-only; the total column read-only with computed totals, typed (and in
    // the grid's own colour) otherwise.
    static void paintColumns(grid::Grid& speciesGrid, bool computedTotals);

private:
    // Looks the text up and writes the row; false when the lookup failed.
    bool lookUpRow(grid::Grid& g, int row, const QString& text, int column, SpeciesLookups& lookups);

    const grid::Grid& m_table;
    Confirm m_confirm;
    QSet<int>* m_refusedInEdit = nullptr; // table rows refused during the current edit
};

} // namespace record
