#pragma once
// The settings window's logic, without widgets: its eight modes; the reference tables' files,
// formats and layouts; loading (a missing file gives an empty table, an unreadable one is left
// alone on disk and cannot be saved over); the fix-ups of some tables; the identification grid
// read from the sibling product's database; the editing rules of every mode, applied to typing,
// Delete, paste and the load of a text file alike; and saving to the table's file or to the
// settings. The window (frm_Param) shows the grid and forwards its events here.

#include "common/TableCatalogue.h"
#include "grid/Grid.h"
#include "platform/Result.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace platform {
class RowSource;
}

namespace mainwindow {

// Extra width given to every column fitted to its contents, in twips.
inline constexpr int kColumnMarginTwips = 240;
// Rows of the table a settings window shows when it opens: all of them between these bounds.
inline constexpr int kMinOpeningRows = 8;
inline constexpr int kMaxOpeningRows = 20;
// Font size of every cell after a save of the species table, in points.
inline constexpr double kSpeciesFontSize = 8.25;

// "Mirelot - " + mode text, then " [" + scheme + "]" when there is a scheme.
QString paramWindowTitle(const QString& mode, const QString& scheme);

// The header of the identification grid.
inline const QString kIdentificationHeader =
    QStringLiteral("|Sélection|Organisme|Code ordinateur|Nom ordinateur");

// After an edit of the squares table: the square number shown with at least four digits
// ("0000"), the coordinates with three decimals and the locale's separator ("#0.000"). A text
// that is not a number is returned unchanged.
QString formatSquareNumber(const QString& text, const QLocale& locale = QLocale());
QString formatCoordinate(const QString& text, const QLocale& locale = QLocale());

// One computer of the sibling product's database.
struct Computer
{
    QString organisation;
    QString cpu;
    QString name;
    bool operator==(const Computer&) const = default;
};
// Ordered by organisation, then computer code, without regard to letter case; rows that compare
// equal keep their order.
void sortComputers(QList<Computer>& ordinateurs);

// How a tab-separated file lays a table out: whether its first line is the table's header, and
// whether each line begins with the table's fixed columns (the program's own tab-separated save
// with its fixed cells). Lines are the file's cells, every line as wide as the widest; the
// header is the table's row 0, fixed columns included.
struct TextLayout
{
    bool header = false;
    bool fixedColumns = false;
    bool operator==(const TextLayout&) const = default;
};
// The first line is the header when its cells under the titled columns hold their titles (letter
// case and outer blanks aside), or nothing, and at least two titles (one for a table of one
// titled column) are there; read both with and without the fixed columns in front. Without a
// header, the lines begin with the fixed columns when they are exactly as wide as the table and
// the fixed cells are all empty or numbered 1, 2, 3... as the program numbers its rows.
TextLayout textLayout(const QList<QStringList>& lignes, const QStringList& entete, int colonnesFixes);

// What became of the table's file at load.
enum class TableState {
    NoFile,    // the mode has no table file
    Loaded,    // read
    Missing,   // no file: an empty table that Save creates
    Unreadable // a file that cannot be read: shown empty, never saved over
};

// The controls the window shows once loaded.
struct Display
{
    bool grid = true;
    bool txtFile = true;
    bool cmdParcourir = true;
    bool cmdSave = true;
    bool cmdCopier = true;
    bool cmdAnnulEsp = false;
    bool cmdExit = true;
    bool operator==(const Display&) const = default;
};

class ParamEditor
{
public:
    // Filter of a typed key for the numeric columns: returns the key to keep, 0 to drop it.
    using KeyFilter = std::function<int(int key)>;

    // The grid is the window's; the row source reads the sibling product's database. Both must
    // outlive the editor.
    ParamEditor(grid::Grid& table, platform::RowSource& database);

    // The numeric filter (by default the digits filter of a grid cell, which says nothing).
    void setDigitsFilter(KeyFilter filter);

    // ---- Load. Copies the mode and scheme texts, reads the administrator setting into the
    // grid's tag and the data folder, then loads the mode's table or grid, with its fix-ups,
    // removes empty rows (not in the squares table) and appends one empty row (not in the
    // identification grid). An unreadable table file is reported. When the sibling product is
    // not installed, says so and asks the window to close (mustClose()).
    void loadMode(const QString& mode, const QString& scheme);

    common::ParamMode mode() const { return m_mode; }
    QString modeText() const { return m_modeText; }
    QString scheme() const { return m_scheme; }
    QString title() const { return paramWindowTitle(m_modeText, m_scheme); }
    TableState state() const { return m_state; }
    const Display& display() const { return m_display; }
    // The window closes at once: the sibling product is not installed.
    bool mustClose() const { return m_mustClose; }
    // Column widths are fitted to their contents (every mode but the squares table).
    bool fitColumns() const { return m_mode != common::ParamMode::Squares; }
    // The text of the data-folder box.
    QString folder() const { return m_folder; }
    // The table's file (empty for the modes without one).
    QString path() const { return m_path; }
    // The grid's tag holds the administrator access code.
    bool isAdministrator() const;
    // Why the identification's database could not be read whole (empty when it was read); the
    // load says it to the user.
    QString databaseError() const { return m_databaseError; }

    // ---- Editing rules.
    // A cell painted with the read-only colour (the grid's fixed-cell colour) or marked
    // read-only is locked.
    bool isLocked(int row, int col) const;
    // Before an edit: refused on a locked cell, and in the species table, for an ordinary
    // user, in every column but "Saisie".
    bool canEdit(int row, int col) const;
    // A data cell of an editable grid that the rule above lets the user change: what Delete,
    // paste and the file load may touch.
    bool isCellEditable(int row, int col) const;
    // A key typed while editing: the key to keep (0 drops it).
    int filterKey(int col, int key) const;
    // After an edit: number formats of the squares table, the single ticked row of the
    // identification grid, one empty row appended (not in the identification grid).
    void afterEdit(int row, int col);
    // Delete: clears the selected cells that may be changed (text and formatting); locked
    // cells keep their text and their lock.
    void clearSelection();
    // Paste: the text goes into the current cell or, when it holds tabs or line ends (one line
    // end at its end apart), cell by cell from the current cell; below the last row the table
    // grows as it does when typed (not the identification grid). Each cell follows the rules of
    // typing: a cell the user may change, no check box, every character accepted by the
    // column's key filter (capitals where typing gives capitals), the squares' number formats.
    // A cell that breaks them is not changed, and one message names every such cell; that message
    // is the failure's reason.
    platform::Result pasteText(const QString& text);
    // The load of a tab-separated file replaces every data cell: it is offered only on an
    // editable grid whose every cell the user may change.
    bool canLoadText() const;
    // Loads a tab-separated file into the data rows, keeping the table's header and columns. A
    // file the program saved, with or without its fixed cells, with or without its header line,
    // comes back into the same table (textLayout). A file that cannot be read is
    // reported and leaves the table as it was; the report is the failure's reason. A table that
    // cannot take a file fails without a message (the window does not offer the load).
    platform::Result loadText(const QString& path);

    // ---- Closing.
    // The table (or the identification choice) differs from what was loaded or last saved, and
    // Save could store it. Empty rows do not count.
    bool isModified() const;
    // Whether the window may close: with changes not saved, asks whether to save them (Oui: saved,
    // and the window stays open when the save fails; Non: they are dropped; Annuler: the window
    // stays open).
    bool canClose();

    // ---- Buttons.
    // Save: the table to its file (the species table passes once through the workbook form on
    // the way, in a temporary file, and its file is written once), the identification choice to
    // the settings. Nothing is written where Save is not offered (an unreadable file, a
    // read-only table): that fails without a message, as the window does not offer Save. A
    // failure to write is reported, and the report is the failure's reason; a failure to write the
    // identification choice is told by the settings layer.
    platform::Result saveTable();
    // RAZ (species): unticks every "Saisie", removes the rows whose four descriptive cells are
    // empty and appends one empty row. Nothing is saved.
    void resetTable();
    // The folder chosen with Parcourir: shown and stored as the data folder's setting (an empty
    // choice changes nothing and fails). Fails when the setting could not be written (it holds
    // for the session; the settings layer tells the user).
    platform::Result folderChosen(const QString& folder);

private:
    void loadTable(const common::ReferenceTable& table);
    void fixAddresses();
    void loadIdentification();
    void removeEmptyRows();
    bool isEmptyRow(int row) const;
    platform::Result saveToFile(const common::ReferenceTable& table);
    platform::Result saveSpecies(const common::ReferenceTable& table);
    platform::Result saveIdentification();
    void clearRowNumbers();
    void tell(const QString& text) const;
    // Tells why the table was not saved; the same text is the failure's reason.
    platform::Result notSaved(const QString& reason) const;
    // The data rows that are not empty: their texts and check states, one text a row.
    QStringList fingerprint() const;
    int keyFor(int col, int key, const KeyFilter& digitsFilter) const;
    // The text a cell would hold had it been typed: nullopt when a character would be refused.
    std::optional<QString> typedText(int col, const QString& text) const;
    // The squares' number formats, applied when a cell is left.
    QString formatAfterEdit(int col, const QString& text) const;

    grid::Grid& m_grid;
    platform::RowSource& m_database;
    KeyFilter m_digitsFilter;
    common::ParamMode m_mode = common::ParamMode::Unknown;
    QString m_modeText;
    QString m_scheme;
    QString m_folder;
    QString m_path;
    QString m_databaseError;
    TableState m_state = TableState::NoFile;
    Display m_display;
    bool m_mustClose = false;
    bool m_modified = false;
    // The table as loaded or last saved.
    QStringList m_fingerprint;
};

} // namespace mainwindow
