#pragma once
// A grid on screen: a QTableView over a Grid that gives the windows the events they handle.
// Row 0 of a grid with fixed rows is shown as the column headers, column 0 of a grid with fixed
// columns as the row headers; further fixed rows and columns are shown as cells in the fixed
// colour that cannot be edited. A read-only cell without a colour of its own is shown in the
// fixed colour too. The fixed columns beyond the first stay in place when the grid is scrolled
// sideways, beside the first one (the row headers). A cell whose text its column cuts short
// shows the whole text in its tip, unless the view has a tip of its own (setToolTipText).
//
// Events (signals) carry grid rows and columns. Handlers that may refuse get a pointer to a
// flag or to the key, which they change in place:
//  - beforeEdit: before an editor opens on a cell or a check box is toggled; *cancel refuses.
//  - validateEdit: when the user leaves an editor with its text (editText()); *cancel refuses,
//    the editor then stays open with the typed text.
//  - afterEdit: after an edit the user made (typed text, chosen item, toggled check box) was
//    written into the grid, even when the text is unchanged. Never for writes made by code.
//  - keyDown: every key pressed on the grid (not in an editor), with the Windows key code
//    (46 Delete, 45 Insert, 65-90 letters...) and the shift state (1 Shift, 2 Ctrl, 4 Alt);
//    setting *keyCode to 0 stops the key.
//  - keyPress: a character typed on the grid; keyPressEdit: a character typed in the editor.
//    The handler may change *key to another character, or to 0 to drop the key.
//  - selChange, click, dblClick, mouseDown, mouseMove (button: 1 left, 2 right, 4 middle;
//    mouseRow() and mouseCol() give the cell under the mouse, headers included),
//    afterSort (header-click sort: column and order, 1 ascending, 2 descending),
//    scrollTip (while the vertical scroll bar is dragged with scroll tips on: the top row).
//
// Reached by Tab or Shift+Tab, a grid whose current cell takes no typing (a fixed, read-only or
// hidden column) puts its cursor on the first cell that does: the first of the current row from
// the left, else of the next row that has one; the keys typed then go into that cell.
//
// Check-box cells (cells of a Boolean column, cells with a check state) are toggled by a click
// or the space bar. A read-only cell, a fixed cell or a grid that is not editable opens no
// editor. A cell with an edit list opens a ListEditor ("#code;label" items store the code):
// typing narrows the items offered, and the item highlighted is stored on Enter, Tab or leaving
// the cell, or the item clicked at once.
//
// An edit open when its window goes: the window asked to close (its own close, or that of a
// window holding it) has the edit stored first, as leaving the cell would, so that the window's
// closing steps see it; a value the validation refuses keeps the window open on the editor. A
// window destroyed (or the view itself) drops the edit, and no edit event reaches the window
// whose destructor has begun.

#include "grid/Grid.h"

#include <QAbstractItemDelegate>
#include <QHash>
#include <QPointer>
#include <QTableView>

namespace grid {

class GridModel;
class GridDelegate;

class GridView : public QTableView
{
    Q_OBJECT

public:
    // A view over a grid of its own.
    explicit GridView(QWidget* parent = nullptr);
    // A view over a grid owned elsewhere (it must outlive the view, or be replaced first).
    explicit GridView(Grid* grid, QWidget* parent = nullptr);
    ~GridView() override;

    Grid& grid() const { return *m_grid; }
    // Shows another grid; nullptr goes back to the view's own grid.
    void setGrid(Grid* grid);

    // ---- Editing
    bool isEditing() const { return m_editor != nullptr; }
    int editRow() const { return m_editRow; }
    int editCol() const { return m_editCol; }
    // The text in the open editor (for a list, the text typed or the label shown), or empty.
    QString editText() const;
    // Puts a text in the open editor as if typed (a list narrows to it).
    void setEditText(const QString& text);
    // Opens the editor on the current cell, as the user would (before-edit runs). False when
    // no editor opened.
    bool editCell();
    // Closes the open editor: keeping its text (validate and after edit run as for the user),
    // or with cancel dropping it.
    void finishEditing(bool cancel = false);

    // ---- Mouse: the grid cell under the mouse at the last mouse event (-1 outside the cells).
    int mouseRow() const { return m_mouseRow; }
    int mouseCol() const { return m_mouseCol; }

    // ---- Display
    // Fits the widths of grid columns first..last (-1: the last column) to their contents plus
    // extra space in twips (15 twips to a pixel); the widths are kept in the grid's columns.
    void fitColumnWidths(int firstCol = 0, int lastCol = -1, int extraTwips = 0);
    // The least width in pixels that the fits leave a grid column (0: none).
    void setMinimumColumnWidth(int col, int pixels);
    // Widths fitted to the rows a screen shows (those in sight, then those around them), not to a
    // thousand rows: for a long list, whose rows would otherwise take long to measure. Applies to
    // fitColumnWidths and to a double click on a column's edge.
    bool fitsShownRows() const { return m_fitsShownRows; }
    void setFitsShownRows(bool on);
    // Fits the heights of the rows to their contents.
    void fitRowHeights();
    void setHeaderSort(bool on);
    QString toolTipText() const { return m_toolTip; }
    void setToolTipText(const QString& text);
    void setScrollTips(bool on) { m_scrollTips = on; }
    QString scrollTipText() const { return m_scrollTipText; }
    void setScrollTipText(const QString& text) { m_scrollTipText = text; }
    // The view over the fixed columns kept in place beside the row headers; null while the grid
    // has none.
    QTableView* frozenColumnsView() const { return m_frozen; }
    // Scrolls a cell into sight, clear of the fixed columns kept in place.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

    // Grid cell of a view index and back (invalid index for cells shown as headers).
    int gridRow(const QModelIndex& index) const;
    int gridCol(const QModelIndex& index) const;
    QModelIndex indexOf(int row, int col) const;
    // Grid cell at a point of the viewport; -1 outside.
    int rowAtPoint(const QPoint& viewportPos) const;
    int colAtPoint(const QPoint& viewportPos) const;

    static int twipsToPixels(int twips) { return (twips + 7) / 15; }
    // Windows key code of a key, 0 for a key without one.
    static int keyCode(int qtKey);
    static int shiftState(Qt::KeyboardModifiers modifiers);

Q_SIGNALS:
    void beforeEdit(int row, int col, bool* cancel);
    void validateEdit(int row, int col, bool* cancel);
    void afterEdit(int row, int col);
    void keyDown(int* keyCode, int shift);
    void keyPress(int* key);
    void keyPressEdit(int row, int col, int* key);
    void selChange();
    void click();
    void dblClick();
    void mouseDown(int button, int shift, int x, int y);
    void mouseMove(int button, int shift, int x, int y);
    void afterSort(int col, int order);
    void scrollTip(int row);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void updateGeometries() override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

protected Q_SLOTS:
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    friend class GridModel;
    friend class GridDelegate;

    void init(Grid* grid);
    int rowOffset() const;
    int colOffset() const;
    bool isCheckCell(int row, int col) const;
    bool isEditableCell(int row, int col) const;
    // The cursor put on a cell that takes typing, unless it is on one.
    void goToEditableCell();
    void toggleCheck(int row, int col);
    void editorOpened(QWidget* editor, const QModelIndex& index);
    // Stored value of an editor: the code of a chosen "#code;label" item, or the text.
    QString editorValue(QWidget* editor) const;
    void applyLayout();
    void applyColumn(int col);
    void gridSelectionChanged();
    void viewSelectionChanged();
    void headerClicked(int section);
    void sectionResized(int section, int oldSize, int newSize);
    void reportMouse(QEvent* event, int row, int col, bool press);
    // The fixed columns kept in place: how many of the view's columns, their width on screen, and
    // the view over them laid out again (columns, rows, place).
    int frozenCount() const;
    int frozenWidth() const;
    void updateFrozen();
    void placeFrozen();
    // True when the cell's text is wider than its column shows.
    bool isCutShort(const QModelIndex& index) const;
    // The widgets that hold the view while an editor is open: their close stores the edit.
    void watchHolders();
    void unwatchHolders();
    bool holderClosing(QObject* watched, QEvent* event);
    // A holder is going: deleted, or its destructor begun (it is no longer of its own class).
    bool holderGoing() const;
    void dropEditor();

    Grid* m_grid = nullptr;
    Grid* m_ownGrid = nullptr;
    GridModel* m_model = nullptr;
    QList<QMetaObject::Connection> m_connections;

    QPointer<QWidget> m_editor;
    struct Holder
    {
        QPointer<QWidget> widget;
        const QMetaObject* type = nullptr; // its class when the editor opened
    };
    QList<Holder> m_holders;
    int m_editRow = -1;
    int m_editCol = -1;
    bool m_validating = false;
    bool m_refused = false;
    bool m_committed = false;
    bool m_reinjecting = false;

    bool m_syncing = false;
    bool m_applyingWidths = false;
    int m_mouseRow = -1;
    int m_mouseCol = -1;
    QModelIndex m_pressIndex;
    bool m_headerSort = false;
    bool m_fitsShownRows = false;
    int m_sortCol = -1;
    Grid::Sort m_sortOrder = Grid::Sort::None;
    QString m_toolTip;
    bool m_scrollTips = false;
    QString m_scrollTipText;
    QTableView* m_frozen = nullptr;
    QHash<int, int> m_minimumWidths; // grid column -> pixels
};

} // namespace grid
