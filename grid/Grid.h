#pragma once
// The table behind every grid of the program, on screen or hidden, and behind every data file:
// text cells by row and column (numbered from 0), fixed rows at the top and fixed columns on
// the left, cell settings (check state, back colour, font, read-only flag), column settings
// (hidden, data type, edit list, sort, centring, width, column data), a key beside each row,
// the selection, find and sort. It needs no widget: GridView shows it, GridFile saves and loads
// it.
//
// Nothing here throws or asserts on bad input: a row or column outside the grid reads as an
// empty cell. Writing one cell, row key or column setting outside the grid is a programming
// error (platform/Check.h): it is ignored, and fails the test that does it. Writes to a range
// are clipped to the grid.

#include <QList>
#include <QObject>
#include <QString>
#include <memory>

namespace grid {

struct GridData;
struct GridContent;

// One item of an edit list: the text stored in the cell and the text shown for it.
struct GridEditItem
{
    QString code;
    QString label;
    bool operator==(const GridEditItem&) const = default;
};

struct GridEditList
{
    QList<GridEditItem> items;
    bool typingAllowed = false; // the list began with "|"
    bool isEmpty() const { return items.isEmpty(); }
};

// Colours as the program writes them: red + 256 * green + 65536 * blue. 0 is "no colour of
// its own" (the cell shows the grid's colour).
using GridColour = qint32;
constexpr GridColour gridRgb(int red, int green, int blue) { return red | (green << 8) | (blue << 16); }
constexpr int gridRed(GridColour c) { return c & 0xFF; }
constexpr int gridGreen(GridColour c) { return (c >> 8) & 0xFF; }
constexpr int gridBlue(GridColour c) { return (c >> 16) & 0xFF; }

// A rectangle of cells, inclusive on both ends.
struct GridRange
{
    int row1 = 0;
    int col1 = 0;
    int row2 = -1;
    int col2 = -1;

    bool isEmpty() const { return row2 < row1 || col2 < col1; }
    int rowCount() const { return isEmpty() ? 0 : row2 - row1 + 1; }
    int colCount() const { return isEmpty() ? 0 : col2 - col1 + 1; }
    bool contains(int r, int c) const { return r >= row1 && r <= row2 && c >= col1 && c <= col2; }
    bool operator==(const GridRange&) const = default;
};

class Grid : public QObject
{
    Q_OBJECT

public:
    // Check state of a cell.
    enum CheckState : int { NoCheck = 0, Checked = 1, Unchecked = 2 };

    // Column data types. A Boolean column shows a check box in every cell below the fixed
    // rows; a Date column sorts its "JJ/MM/AAAA" texts (optionally followed by a time) as
    // dates; a String column sorts as text only. Default sorts generically.
    enum class DataType : int { Default = 0, Date = 7, String = 8, Boolean = 11 };

    // Sort orders. The numbers are those of the column sort setting and of the order the view
    // reports after a header click.
    enum class Sort : int { None = 0, GenericAscending = 1, GenericDescending = 2, UseColumnSort = 10 };

    enum class Editable : int { None = 0, Keyboard = 1, KeyboardMouse = 2 };

    // Free: one rectangular selection. ListBox: each row has a selected flag; the user picks
    // rows with Ctrl and Shift clicks.
    enum class SelectionMode : int { Free = 0, ListBox = 3 };

    // A new grid has one row and one column, both fixed: an empty header.
    explicit Grid(QObject* parent = nullptr);
    ~Grid() override;
    Grid(const Grid&) = delete;
    Grid& operator=(const Grid&) = delete;

    // Copies every cell, setting and count of another grid (not its connections).
    void copyFrom(const Grid& other);

    // ---- Size. Growing adds empty rows or columns at the end, shrinking drops the last ones;
    // the remaining cells are kept. Fixed counts never exceed the counts (setting a fixed count
    // above the count grows the grid; shrinking the grid lowers the fixed count).
    int rows() const;
    void setRows(int rows);
    int cols() const;
    void setCols(int cols);
    int fixedRows() const;
    void setFixedRows(int fixedRows);
    int fixedCols() const;
    void setFixedCols(int fixedCols);

    // ---- Header format string: "|" or a tab ends a column title, so n separators give n + 1
    // columns; "^" in front of a title centres its column; a carriage return inside a title
    // breaks it onto a second line (it stays in the cell text). Setting it sets the column
    // count, the texts of row 0 (adding row 0 when the grid has no row) and the centring of
    // every column. Reading it gives the same form back, "|" between titles.
    void setFormatString(const QString& format);
    QString formatString() const;

    // ---- Cells.
    QString cell(int row, int col) const;
    void setCell(int row, int col, const QString& text);
    // The text as the cell shows it: in a column whose edit list has "#code;label" items, the
    // label of the code the cell holds; in a Boolean column, nothing; otherwise the text.
    QString displayText(int row, int col) const;
    // The texts of a range, tabs between cells and carriage returns between rows, no line end
    // after the last row. The range is clipped to the grid.
    QString rangeText(const GridRange& range) const;
    // Empties every cell: texts, check states, cell settings and row keys. Counts, column
    // settings and the selection stay.
    void clear();
    // Empties the texts and cell settings of a range.
    void clearRange(const GridRange& range);

    // ---- Check states (Checked, Unchecked, NoCheck). In a Boolean column a cell below the
    // fixed rows without a state of its own reads Unchecked.
    int checkState(int row, int col) const;
    void setCheckState(int row, int col, int state);
    void setCheckState(const GridRange& range, int state);

    // ---- Cell settings over a range. Readers give the value of one cell: its own, or the
    // grid's when it has none.
    GridColour backColour(int row, int col) const; // 0: no colour of its own
    void setBackColour(const GridRange& range, GridColour colour);
    QString fontName(int row, int col) const;
    void setFontName(const GridRange& range, const QString& name);
    double fontSize(int row, int col) const;
    void setFontSize(const GridRange& range, double points);
    // A read-only cell is never opened for editing, whatever the window's handlers say. Setting
    // the flag paints the cells with the fixed-cell colour; clearing it removes their colour.
    bool isReadOnly(int row, int col) const;
    void setReadOnly(const GridRange& range, bool readOnly);

    // ---- Grid-wide settings.
    QString defaultFontName() const; // empty: the desktop's font
    void setDefaultFontName(const QString& name);
    double defaultFontSize() const;         // 8.25 points
    GridColour backColourFixed() const;     // colour of fixed cells and of read-only cells
    GridColour backColourAlternate() const; // every second data row; 0: none
    void setBackColourAlternate(GridColour colour);
    Editable editable() const;
    void setEditable(Editable editable);
    // Fill mode: while on, setText writes into every cell of the selection.
    bool fillRepeat() const;
    void setFillRepeat(bool on);
    // A free text the windows keep with the grid.
    QString tag() const;
    void setTag(const QString& tag);
    // Separators of the text file with chosen separators (file code 5): between cells and
    // between rows. Default: a tab, and a carriage return with a line feed.
    QString textCellSeparator() const;
    QString textRowSeparator() const;
    void setTextSeparators(const QString& betweenCells, const QString& betweenRows);

    // Redraw off: changes are not shown until redraw is switched on again.
    bool redraw() const;
    void setRedraw(bool on);

    // ---- Column settings. Columns outside the grid read as defaults.
    bool colHidden(int col) const;
    void setColHidden(int col, bool hidden);
    DataType colDataType(int col) const;
    void setColDataType(int col, DataType type);
    // Items separated by "|"; an item "#code;label" shows the label and stores the code; a
    // list beginning with "|" also lets the user type a text of his own.
    QString colEditList(int col) const;
    void setColEditList(int col, const QString& list);
    Sort colSort(int col) const;
    void setColSort(int col, Sort sort);
    bool colCentred(int col) const;
    int colWidth(int col) const; // pixels; -1: the view decides
    void setColWidth(int col, int pixels);
    QString colData(int col) const;
    void setColData(int col, const QString& data);
    // The list offered by the next editor, whatever the column's list; set by before-edit
    // handlers, kept until changed. Empty: the column's list (or free text).
    QString editList() const;
    void setEditList(const QString& list);
    // The list the editor of a cell offers: editList() when set, otherwise the column's list.
    QString editListFor(int col) const;
    // Reads a list: items between "|" ("#code;label" stores code and shows label; another item
    // stores and shows itself); a leading "|" allows typing and a trailing "|" adds no item.
    static GridEditList parseEditList(const QString& list);

    // ---- Rows.
    // Inserts a row at position (at the end when position is -1 or past the end) holding the
    // tab-separated text from column 0 on (extra texts beyond the last column are dropped).
    // Returns the new row's number.
    int addRow(const QString& tabText = QString(), int position = -1);
    // Puts the texts in a row from column 0 (missing ones empty, those beyond the last column
    // dropped) and empties its cell settings: the row as if added anew, its key and selection kept.
    // The list is shared, not copied, so that a list of thousands of rows is filled quickly.
    void setRow(int row, const QStringList& texts);
    void removeRow(int row);
    QString rowKey(int row) const;
    void setRowKey(int row, const QString& key);
    // The first row at or after startRow (-1: the first row below the fixed rows) whose cell in
    // col equals text (or, with wholeCell false, begins with it); -1 when none.
    int findRow(const QString& text, int startRow = -1, int col = 0, bool caseSensitive = true,
                bool wholeCell = true) const;
    // The first row at or after startRow (-1: the first row below the fixed rows) whose key
    // equals key exactly; -1 when none.
    int findRowByKey(const QString& key, int startRow = -1) const;

    // ---- Selection: the current cell (row(), col()) is the anchor, (rowSel(), colSel()) the
    // opposite corner.
    int row() const;
    int col() const;
    int rowSel() const;
    int colSel() const;
    void select(int row, int col);
    void select(int row, int col, int rowSel, int colSel);
    // The selection with its ends ordered and clipped to the grid.
    GridRange selection() const;
    // The text of the selection (as rangeText). Writing it pastes the text's cells from the
    // selection's top-left cell, inside the selection and the grid; a carriage return, a line
    // feed or both end a row.
    QString selectionText() const;
    void setSelectionText(const QString& text);
    // The current cell's text. Writing it with fill mode on writes every cell of the selection.
    QString text() const;
    void setText(const QString& text);

    SelectionMode selectionMode() const;
    void setSelectionMode(SelectionMode mode);
    // List-box mode: the selected flag of each row. In free mode a row is selected when it lies
    // in the selection.
    bool isRowSelected(int row) const;
    void setRowSelected(int row, bool selected);
    int selectedRowCount() const;
    // The grid row of the i-th selected row (i from 0, in grid order); -1 past the end.
    int selectedRow(int index) const;
    QList<int> selectedRows() const;

    // ---- Sort. Sorts the selected rows on the selected columns, taken from left to right as
    // keys; whole rows move (every column, their cell settings and keys); rows that compare
    // equal keep their order. UseColumnSort sorts each key column by its own sort setting
    // (columns whose setting is None are not keys).
    void sort(Sort order);
    void sortRange(const GridRange& range, Sort order);
    // The one generic comparison of the program: blank texts first, then numbers ("12", "-3,5",
    // "1.5e3") compared as numbers, then dates "JJ/MM/AAAA" (optionally followed by a time
    // "HH:MM" or "HH:MM:SS") compared as dates, then other texts compared without regard to
    // case. A String column compares everything as text; a Date column treats what is no date
    // as text. Texts are trimmed first. Result below, equal to or above 0.
    static int compareGeneric(const QString& a, const QString& b, DataType type = DataType::Default);

Q_SIGNALS:
    // Texts or cell settings of a range changed.
    void cellsChanged(int row1, int col1, int row2, int col2);
    // Rows about to be inserted at first..last, and inserted.
    void rowsAboutToBeInserted(int first, int last);
    void rowsInserted(int first, int last);
    void rowsAboutToBeRemoved(int first, int last);
    void rowsRemoved(int first, int last);
    // Anything else changed (counts, column settings, sort, load): everything must be read again.
    void aboutToReset();
    void reset();
    // The selection or the current cell changed (by code or by the view).
    void selectionChanged();
    // A column's settings (hidden, data type, edit list, sort, centring, width, data) changed.
    void columnSettingsChanged(int col);

private:
    friend class GridFile;
    void emitCells(int r1, int c1, int r2, int c2);
    void columnChanged(int col);
    void beginReset();
    void endReset();
    void replaceContent(GridContent&& content);
    const GridContent& content() const;
    // The selection the user made in a view (no echo to the views).
    void selectFromView(int row, int col, int rowSel, int colSel, const QList<int>& listBoxRows);
    friend class GridView;

    std::unique_ptr<GridData> d;
};

} // namespace grid
