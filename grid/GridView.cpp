// A grid on screen: the view over its grid, the cells it shows, their layout and widths, the
// header sort and the selection kept in step with the grid's. Its editing, its fixed columns
// and tips, and its keys and mouse are in GridViewEditing.cpp, GridViewFrozen.cpp and
// GridViewInput.cpp.

#include "grid/GridView.h"

#include "grid/GridData.h"
#include "grid/GridDelegate.h"
#include "grid/GridModel.h"

#include <QAbstractButton>
#include <QCursor>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolTip>

#include <algorithm>
#include <climits>

namespace grid {

GridView::GridView(QWidget* parent) : QTableView(parent) { init(nullptr); }

GridView::GridView(Grid* grid, QWidget* parent) : QTableView(parent) { init(grid); }

GridView::~GridView()
{
    // An editor still open goes with the view, its edit dropped without a signal: the window that
    // handles them may be going too.
    dropEditor();
    for (const auto& c : std::as_const(m_connections))
        disconnect(c);
}

void GridView::init(Grid* grid)
{
    m_ownGrid = new Grid(this);
    m_model = new GridModel(this);
    setItemDelegate(new GridDelegate(this));
    m_grid = m_ownGrid;
    setModel(m_model);
    setEditTriggers(DoubleClicked | EditKeyPressed | AnyKeyPressed);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    for (QHeaderView* h : {horizontalHeader(), verticalHeader()}) {
        h->viewport()->installEventFilter(this);
        h->viewport()->setMouseTracking(true);
    }
    // An empty fixed column (row numbers off) keeps the width of two digits, so that its cells
    // and the top-left cell stay within reach of the mouse.
    verticalHeader()->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00")) +
                                      2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this));
    if (auto* corner = findChild<QAbstractButton*>())
        corner->installEventFilter(this);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &GridView::headerClicked);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &GridView::sectionResized);
    connect(verticalScrollBar(), &QScrollBar::sliderMoved, this, [this](int value) {
        if (!m_scrollTips)
            return;
        Q_EMIT scrollTip(value + rowOffset());
        if (!m_scrollTipText.isEmpty())
            QToolTip::showText(QCursor::pos(), m_scrollTipText, this);
    });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &GridView::viewSelectionChanged);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &GridView::viewSelectionChanged);
    setGrid(grid);
}

void GridView::setGrid(Grid* grid)
{
    if (!grid)
        grid = m_ownGrid;
    if (isEditing())
        finishEditing(true);
    for (const auto& c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_model->swapGrid([this, grid] { m_grid = grid; });
    GridModel* m = m_model;
    m_connections << connect(grid, &Grid::cellsChanged, m,
                             [m](int r1, int c1, int r2, int c2) { m->cellsChanged(r1, c1, r2, c2); });
    m_connections << connect(grid, &Grid::rowsAboutToBeInserted, m,
                             [m](int a, int b) { m->rowsAboutToInsert(a, b); });
    m_connections << connect(grid, &Grid::rowsInserted, m, [m](int, int) { m->rowsInsertedDone(); });
    m_connections << connect(grid, &Grid::rowsAboutToBeRemoved, m,
                             [m](int a, int b) { m->rowsAboutToRemove(a, b); });
    m_connections << connect(grid, &Grid::rowsRemoved, m, [m](int, int) { m->rowsRemovedDone(); });
    m_connections << connect(grid, &Grid::aboutToReset, m, [this, m] {
        if (isEditing())
            finishEditing(true);
        m->beginReset();
    });
    m_connections << connect(grid, &Grid::reset, m, [m] { m->endReset(); });
    m_connections << connect(grid, &Grid::selectionChanged, this, &GridView::gridSelectionChanged);
    m_connections << connect(grid, &Grid::columnSettingsChanged, this, [this, m](int col) {
        m->columnChanged(col);
        applyColumn(col);
    });
    m_connections << connect(grid, &QObject::destroyed, this, [this] {
        if (m_grid == m_ownGrid)
            return;
        // The grid goes with its owner, typically a window whose grids go before its child views:
        // the view falls back on its own grid without a signal, which the window would handle
        // half destroyed.
        const QSignalBlocker quiet(this);
        m_model->swapGrid([this] { m_grid = m_ownGrid; });
    });
}

int GridView::rowOffset() const { return m_grid && m_grid->fixedRows() >= 1 ? 1 : 0; }
int GridView::colOffset() const { return m_grid && m_grid->fixedCols() >= 1 ? 1 : 0; }

int GridView::gridRow(const QModelIndex& index) const
{
    return index.isValid() ? index.row() + rowOffset() : -1;
}
int GridView::gridCol(const QModelIndex& index) const
{
    return index.isValid() ? index.column() + colOffset() : -1;
}

QModelIndex GridView::indexOf(int row, int col) const
{
    return m_model->index(row - rowOffset(), col - colOffset());
}

int GridView::rowAtPoint(const QPoint& p) const
{
    const int r = rowAt(p.y());
    return r < 0 ? -1 : r + rowOffset();
}

int GridView::colAtPoint(const QPoint& p) const
{
    const int c = columnAt(p.x());
    return c < 0 ? -1 : c + colOffset();
}

bool GridView::isCheckCell(int row, int col) const
{
    if (row < m_grid->fixedRows())
        return false;
    return m_grid->colDataType(col) == Grid::DataType::Boolean ||
           m_grid->checkState(row, col) != Grid::NoCheck;
}

bool GridView::isEditableCell(int row, int col) const
{
    return m_grid->editable() != Grid::Editable::None && row >= m_grid->fixedRows() &&
           col >= m_grid->fixedCols() && row < m_grid->rows() && col < m_grid->cols() &&
           !m_grid->isReadOnly(row, col) && !m_grid->colHidden(col);
}

// ---------------------------------------------------------------- layout

void GridView::applyLayout()
{
    if (!m_grid)
        return;
    horizontalHeader()->setVisible(rowOffset() == 1);
    verticalHeader()->setVisible(colOffset() == 1 && !m_grid->colHidden(0));
    if (m_grid->selectionMode() == Grid::SelectionMode::ListBox) {
        setSelectionBehavior(SelectRows);
        setSelectionMode(ExtendedSelection);
    } else {
        setSelectionBehavior(SelectItems);
        setSelectionMode(ContiguousSelection);
    }
    for (int c = colOffset(); c < m_grid->cols(); ++c)
        applyColumn(c);
    updateFrozen();
    gridSelectionChanged();
}

void GridView::applyColumn(int col)
{
    if (col == 0 && colOffset() == 1) {
        verticalHeader()->setVisible(!m_grid->colHidden(0));
        return;
    }
    const int mc = col - colOffset();
    if (mc < 0 || mc >= m_model->columnCount())
        return;
    setColumnHidden(mc, m_grid->colHidden(col));
    const int w = m_grid->colWidth(col);
    if (w >= 0 && columnWidth(mc) != w) {
        m_applyingWidths = true;
        setColumnWidth(mc, w);
        m_applyingWidths = false;
    }
    if (mc < frozenCount())
        updateFrozen();
}

void GridView::sectionResized(int section, int, int newSize)
{
    if (section < frozenCount())
        updateFrozen();
    if (m_applyingWidths || !m_grid || isColumnHidden(section) || newSize <= 0)
        return;
    m_grid->setColWidth(section + colOffset(), newSize);
}

// ---------------------------------------------------------------- widths and header sort

void GridView::fitColumnWidths(int firstCol, int lastCol, int extraTwips)
{
    if (lastCol < 0 || lastCol >= m_grid->cols())
        lastCol = m_grid->cols() - 1;
    const int extra = twipsToPixels(std::max(0, extraTwips));
    for (int c = std::max(firstCol, colOffset()); c <= lastCol; ++c) {
        const int mc = c - colOffset();
        if (isColumnHidden(mc))
            continue;
        resizeColumnToContents(mc);
        const int width = std::max(columnWidth(mc) + extra, m_minimumWidths.value(c));
        if (width != columnWidth(mc))
            setColumnWidth(mc, width);
    }
}

void GridView::setMinimumColumnWidth(int col, int pixels)
{
    m_minimumWidths.insert(col, std::max(0, pixels));
    const int mc = col - colOffset();
    if (m_grid && mc >= 0 && mc < m_model->columnCount() && !isColumnHidden(mc) && columnWidth(mc) < pixels)
        setColumnWidth(mc, pixels);
}

namespace {

// The rows that Qt measures to fit a column, unless told otherwise.
constexpr int kQtFitRows = 1000;

// A row shown as one line of text in the grid's font: no line break in its texts, no font or check
// box of its own, no check-box column.
bool isOneLine(const GridRow& row, bool checkColumn)
{
    if (checkColumn)
        return false;
    for (const QString& text : row.cells)
        if (text.contains(u'\r') || text.contains(u'\n'))
            return false;
    for (const CellFormat& f : row.fmt)
        if (f.font != 0 || f.fontSize != 0 || f.check != Grid::NoCheck)
            return false;
    return true;
}

} // namespace

void GridView::setFitsShownRows(bool on)
{
    m_fitsShownRows = on;
    // The rows of one screen, at the smallest height a row is given.
    const QScreen* shownOn = screen();
    const int screenHeight = shownOn ? shownOn->availableGeometry().height() : 1080;
    const int rowHeight = std::max(1, verticalHeader()->minimumSectionSize());
    // The horizontal header's precision is the number of rows a column's width is measured on.
    horizontalHeader()->setResizeContentsPrecision(on ? screenHeight / rowHeight + 1 : kQtFitRows);
}

void GridView::fitRowHeights()
{
    // Measuring a row shapes the text of every cell in it, and a list has thousands of rows. Rows
    // of one line all take the height of the first of them, measured once; the others are measured
    // one by one, or all together when they are many.
    const int rows = m_model->rowCount();
    const GridContent& content = m_grid->content();
    bool checkColumn = false;
    for (int c = colOffset(); c < m_grid->cols(); ++c)
        checkColumn = checkColumn || m_grid->colDataType(c) == Grid::DataType::Boolean;
    QList<int> others;
    int sample = -1;
    for (int r = 0; r < rows; ++r) {
        if (!isOneLine(content.rows[size_t(r + rowOffset())], checkColumn))
            others.append(r);
        else if (sample < 0)
            sample = r;
    }
    if (sample >= 0) {
        // As the header sizes a row to its contents: the larger of the cells' and the header's.
        verticalHeader()->setDefaultSectionSize(
            std::max(sizeHintForRow(sample), verticalHeader()->sectionSizeHint(sample)));
    }
    if (others.size() > 64 && others.size() > rows / 4) {
        resizeRowsToContents();
        return;
    }
    for (int r : std::as_const(others))
        resizeRowToContents(r);
}

void GridView::setHeaderSort(bool on)
{
    m_headerSort = on;
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSortIndicatorShown(on);
}

void GridView::headerClicked(int section)
{
    if (!m_headerSort || !m_grid)
        return;
    const int col = section + colOffset();
    const Grid::Sort order = (m_sortCol == col && m_sortOrder == Grid::Sort::GenericAscending)
                                 ? Grid::Sort::GenericDescending
                                 : Grid::Sort::GenericAscending;
    m_sortCol = col;
    m_sortOrder = order;
    m_grid->sortRange(GridRange{m_grid->fixedRows(), col, m_grid->rows() - 1, col}, order);
    horizontalHeader()->setSortIndicator(
        section, order == Grid::Sort::GenericAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
    Q_EMIT afterSort(col, int(order));
}

// ---------------------------------------------------------------- selection

void GridView::gridSelectionChanged()
{
    if (m_syncing || !m_grid || m_model->resetting())
        return;
    m_syncing = true;
    QItemSelection sel;
    const int ro = rowOffset(), co = colOffset();
    const int lastModelCol = m_model->columnCount() - 1;
    if (m_grid->selectionMode() == Grid::SelectionMode::ListBox) {
        for (int r : m_grid->selectedRows())
            if (r >= ro && lastModelCol >= 0)
                sel.select(m_model->index(r - ro, 0), m_model->index(r - ro, lastModelCol));
    } else {
        const GridRange g = m_grid->selection();
        const int r1 = std::max(g.row1 - ro, 0), r2 = g.row2 - ro;
        const int c1 = std::max(g.col1 - co, 0), c2 = g.col2 - co;
        if (!g.isEmpty() && r1 <= r2 && c1 <= c2)
            sel.select(m_model->index(r1, c1), m_model->index(r2, c2));
    }
    const QModelIndex current = indexOf(m_grid->row(), m_grid->col());
    if (current.isValid())
        selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    selectionModel()->select(sel, QItemSelectionModel::ClearAndSelect);
    m_syncing = false;
    Q_EMIT selChange();
}

void GridView::viewSelectionChanged()
{
    if (m_syncing || !m_grid || m_model->resetting())
        return;
    const QModelIndex cur = currentIndex();
    if (!cur.isValid())
        return;
    const int r = gridRow(cur), c = gridCol(cur);
    int rowSel = r, colSel = c;
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    QList<int> rows;
    if (!selected.isEmpty()) {
        int top = INT_MAX, bottom = -1, left = INT_MAX, right = -1;
        for (const QModelIndex& i : selected) {
            top = std::min(top, i.row());
            bottom = std::max(bottom, i.row());
            left = std::min(left, i.column());
            right = std::max(right, i.column());
        }
        if (cur.row() >= top && cur.row() <= bottom && cur.column() >= left && cur.column() <= right) {
            rowSel = (cur.row() == top ? bottom : top) + rowOffset();
            colSel = (cur.column() == left ? right : left) + colOffset();
        }
    }
    if (m_grid->selectionMode() == Grid::SelectionMode::ListBox) {
        for (const QModelIndex& i : selectionModel()->selectedRows())
            rows << i.row() + rowOffset();
        std::sort(rows.begin(), rows.end());
    }
    m_syncing = true;
    m_grid->selectFromView(r, c, rowSel, colSel, rows);
    m_syncing = false;
    Q_EMIT selChange();
}

} // namespace grid
