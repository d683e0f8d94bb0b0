#include "grid/GridView.h"

#include "grid/GridData.h"

#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolTip>

#include <algorithm>
#include <functional>

namespace grid {

namespace {

// The rows that Qt measures to fit a column, unless told otherwise.
constexpr int kQtFitRows = 1000;

QColor toQColor(GridColour c) { return QColor(gridRed(c), gridGreen(c), gridBlue(c)); }

QString shown(QString text)
{
    if (text.contains(u'\r')) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(u'\r', u'\n');
    }
    return text;
}

int buttonOf(Qt::MouseButtons b)
{
    int v = 0;
    if (b & Qt::LeftButton)
        v |= 1;
    if (b & Qt::RightButton)
        v |= 2;
    if (b & Qt::MiddleButton)
        v |= 4;
    return v;
}

} // namespace

// ================================================================ model

class GridModel : public QAbstractTableModel
{
public:
    explicit GridModel(GridView* view) : QAbstractTableModel(view), m_view(view) {}

    Grid& g() const { return *m_view->m_grid; }
    int rowOff() const { return m_view->rowOffset(); }
    int colOff() const { return m_view->colOffset(); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() || !m_view->m_grid ? 0 : std::max(0, g().rows() - rowOff());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() || !m_view->m_grid ? 0 : std::max(0, g().cols() - colOff());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        const int r = index.row() + rowOff(), c = index.column() + colOff();
        const Grid& grid = g();
        switch (role) {
        case Qt::DisplayRole: {
            const QString t = grid.displayText(r, c);
            return t.isEmpty() ? QVariant() : QVariant(shown(t));
        }
        case Qt::EditRole:
            return grid.cell(r, c);
        case Qt::CheckStateRole: {
            const int s = grid.checkState(r, c);
            if (s == Grid::Checked)
                return int(Qt::Checked);
            if (s == Grid::Unchecked)
                return int(Qt::Unchecked);
            return {};
        }
        case Qt::BackgroundRole: {
            if (const GridColour own = grid.backColour(r, c))
                return QBrush(toQColor(own));
            // Fixed cells, and read-only cells without a colour of their own (cleared since the
            // flag was set, or read from a file), look fixed: nothing shows them editable.
            if (r < grid.fixedRows() || c < grid.fixedCols() || grid.isReadOnly(r, c))
                return QBrush(toQColor(grid.backColourFixed()));
            if (grid.backColourAlternate() != 0 && (r - grid.fixedRows()) % 2 == 1)
                return QBrush(toQColor(grid.backColourAlternate()));
            return {};
        }
        case Qt::FontRole:
            return fontOf(r, c);
        case Qt::TextAlignmentRole:
            return grid.colCentred(c) ? int(Qt::AlignCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::ToolTipRole:
            return m_view->m_toolTip.isEmpty() ? QVariant() : QVariant(m_view->m_toolTip);
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (!m_view->m_grid)
            return {};
        const Grid& grid = g();
        const bool horizontal = orientation == Qt::Horizontal;
        if ((horizontal && rowOff() == 0) || (!horizontal && colOff() == 0))
            return {};
        const int r = horizontal ? 0 : section + rowOff();
        const int c = horizontal ? section + colOff() : 0;
        switch (role) {
        case Qt::DisplayRole:
            return shown(grid.cell(r, c));
        case Qt::TextAlignmentRole:
            return horizontal && grid.colCentred(c) ? int(Qt::AlignCenter)
                                                    : int(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::FontRole:
            return fontOf(r, c);
        case Qt::ToolTipRole:
            return m_view->m_toolTip.isEmpty() ? QVariant() : QVariant(m_view->m_toolTip);
        default:
            return {};
        }
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        const int r = index.row() + rowOff(), c = index.column() + colOff();
        if (m_view->isEditableCell(r, c) && !m_view->isCheckCell(r, c))
            f |= Qt::ItemIsEditable;
        return f;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (!index.isValid() || role != Qt::EditRole)
            return false;
        g().setCell(index.row() + rowOff(), index.column() + colOff(), value.toString());
        return true;
    }

    QVariant fontOf(int r, int c) const
    {
        const Grid& grid = g();
        QFont f = m_view->font();
        const QString name = grid.fontName(r, c);
        if (!name.isEmpty())
            f.setFamily(name);
        f.setPointSizeF(grid.fontSize(r, c));
        return f;
    }

    // ---- grid notifications
    void beginReset()
    {
        if (m_resetting++ == 0)
            beginResetModel();
    }
    void endReset()
    {
        if (m_resetting == 0)
            return;
        if (--m_resetting == 0) {
            endResetModel();
            m_view->applyLayout();
        }
    }
    bool resetting() const { return m_resetting > 0; }

    void cellsChanged(int r1, int c1, int r2, int c2)
    {
        if (resetting())
            return;
        if (r1 < rowOff())
            Q_EMIT headerDataChanged(Qt::Horizontal, 0, std::max(0, columnCount() - 1));
        if (c1 < colOff())
            Q_EMIT headerDataChanged(Qt::Vertical, std::max(0, r1 - rowOff()), std::max(0, r2 - rowOff()));
        const int mr1 = std::max(0, r1 - rowOff()), mr2 = std::min(rowCount() - 1, r2 - rowOff());
        const int mc1 = std::max(0, c1 - colOff()), mc2 = std::min(columnCount() - 1, c2 - colOff());
        if (mr1 <= mr2 && mc1 <= mc2)
            Q_EMIT dataChanged(index(mr1, mc1), index(mr2, mc2));
    }
    void rowsAboutToInsert(int first, int last)
    {
        if (!resetting())
            beginInsertRows(QModelIndex(), first - rowOff(), last - rowOff());
    }
    void rowsInsertedDone()
    {
        if (!resetting())
            endInsertRows();
    }
    void rowsAboutToRemove(int first, int last)
    {
        if (!resetting())
            beginRemoveRows(QModelIndex(), first - rowOff(), last - rowOff());
    }
    void rowsRemovedDone()
    {
        if (!resetting())
            endRemoveRows();
    }
    void columnChanged(int col)
    {
        if (resetting())
            return;
        const int mc = col - colOff();
        if (mc >= 0 && mc < columnCount()) {
            Q_EMIT headerDataChanged(Qt::Horizontal, mc, mc);
            if (rowCount() > 0)
                Q_EMIT dataChanged(index(0, mc), index(rowCount() - 1, mc));
        }
    }
    void swapGrid(const std::function<void()>& swap)
    {
        beginResetModel();
        swap();
        endResetModel();
        m_view->applyLayout();
    }

private:
    GridView* m_view;
    int m_resetting = 0;
};

// ================================================================ delegate

class GridDelegate : public QStyledItemDelegate
{
public:
    explicit GridDelegate(GridView* view) : QStyledItemDelegate(view), m_view(view) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override
    {
        const int c = m_view->gridCol(index);
        const GridEditList list = Grid::parseEditList(m_view->grid().editListFor(c));
        QWidget* editor = nullptr;
        if (!list.isEmpty()) {
            auto* combo = new QComboBox(parent);
            combo->setEditable(list.typingAllowed);
            combo->setInsertPolicy(QComboBox::NoInsert);
            for (const GridEditItem& item : list.items)
                combo->addItem(item.label, item.code);
            QObject::connect(combo, &QComboBox::activated, combo, [this, combo](int) {
                if (m_view->m_editor != combo)
                    return;
                Q_EMIT const_cast<GridDelegate*>(this)->commitData(combo);
                Q_EMIT const_cast<GridDelegate*>(this)->closeEditor(combo, QAbstractItemDelegate::NoHint);
            });
            if (combo->lineEdit())
                combo->lineEdit()->installEventFilter(m_view);
            editor = combo;
        } else {
            auto* line = new QLineEdit(parent);
            line->setFrame(false);
            editor = line;
        }
        editor->installEventFilter(m_view);
        m_view->editorOpened(editor, index);
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        const QString text = index.data(Qt::EditRole).toString();
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            const int i = combo->findData(text);
            if (i >= 0)
                combo->setCurrentIndex(i);
            else if (combo->isEditable())
                combo->setEditText(text);
            else
                combo->setCurrentIndex(-1);
        } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setText(text);
        }
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        model->setData(index, m_view->editorValue(editor), Qt::EditRole);
    }

private:
    GridView* m_view;
};

// ================================================================ view

GridView::GridView(QWidget* parent) : QTableView(parent) { init(nullptr); }

GridView::GridView(Grid* grid, QWidget* parent) : QTableView(parent) { init(grid); }

GridView::~GridView()
{
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
}

void GridView::sectionResized(int section, int, int newSize)
{
    if (m_applyingWidths || !m_grid || isColumnHidden(section) || newSize <= 0)
        return;
    m_grid->setColWidth(section + colOffset(), newSize);
}

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
        if (extra > 0)
            setColumnWidth(mc, columnWidth(mc) + extra);
    }
}

namespace {

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

void GridView::setToolTipText(const QString& text)
{
    m_toolTip = text;
    horizontalHeader()->setToolTip(text);
    verticalHeader()->setToolTip(text);
    if (QToolTip::isVisible() && text.isEmpty())
        QToolTip::hideText();
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

// ---------------------------------------------------------------- editing

bool GridView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    const bool opens = trigger == AllEditTriggers || (editTriggers() & trigger);
    if (!index.isValid() || !opens || isEditing())
        return QTableView::edit(index, trigger, event);
    const int r = gridRow(index), c = gridCol(index);
    if (isCheckCell(r, c) || !isEditableCell(r, c))
        return false;
    bool cancel = false;
    Q_EMIT beforeEdit(r, c, &cancel);
    if (cancel || !isEditableCell(r, c))
        return false;
    const QModelIndex again = indexOf(r, c); // a handler may have changed the grid
    if (!again.isValid())
        return false;
    return QTableView::edit(again, trigger, event);
}

void GridView::editorOpened(QWidget* editor, const QModelIndex& index)
{
    m_editor = editor;
    m_editRow = gridRow(index);
    m_editCol = gridCol(index);
    m_refused = false;
    m_committed = false;
}

bool GridView::editCell()
{
    const QModelIndex index = indexOf(m_grid->row(), m_grid->col());
    if (!index.isValid())
        return false;
    setCurrentIndex(index);
    return edit(index, AllEditTriggers, nullptr) && isEditing();
}

QString GridView::editText() const
{
    if (auto* combo = qobject_cast<QComboBox*>(m_editor.data()))
        return combo->currentText();
    if (auto* line = qobject_cast<QLineEdit*>(m_editor.data()))
        return line->text();
    return QString();
}

void GridView::setEditText(const QString& text)
{
    if (auto* combo = qobject_cast<QComboBox*>(m_editor.data())) {
        if (combo->isEditable())
            combo->setEditText(text);
        else
            combo->setCurrentIndex(combo->findText(text));
    } else if (auto* line = qobject_cast<QLineEdit*>(m_editor.data())) {
        line->setText(text);
    }
}

QString GridView::editorValue(QWidget* editor) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        const QString typed = combo->currentText();
        const int i = combo->currentIndex();
        if (i >= 0 && combo->itemText(i) == typed && combo->itemData(i).isValid())
            return combo->itemData(i).toString();
        const int byLabel = combo->findText(typed);
        if (byLabel >= 0 && combo->itemData(byLabel).isValid())
            return combo->itemData(byLabel).toString();
        return combo->isEditable() ? typed : QString();
    }
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        return line->text();
    return QString();
}

void GridView::finishEditing(bool cancel)
{
    QWidget* editor = m_editor;
    if (!editor)
        return;
    if (cancel) {
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
        return;
    }
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void GridView::commitData(QWidget* editor)
{
    if (editor != m_editor || m_validating)
        return; // a stale editor, or focus lost to a box opened during the validation
    bool cancel = false;
    m_validating = true;
    Q_EMIT validateEdit(m_editRow, m_editCol, &cancel);
    m_validating = false;
    if (editor != m_editor)
        return; // the handler closed the editor
    if (cancel) {
        m_refused = true;
        return;
    }
    QTableView::commitData(editor);
    m_committed = true;
}

void GridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editor != m_editor) {
        QTableView::closeEditor(editor, hint);
        return;
    }
    if (m_validating)
        return;
    if (m_refused) {
        m_refused = false;
        editor->setFocus();
        return;
    }
    const bool committed = m_committed;
    const int r = m_editRow, c = m_editCol;
    m_editor = nullptr;
    m_committed = false;
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (committed)
        Q_EMIT afterEdit(r, c);
    if (hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem) {
        const QModelIndex next =
            moveCursor(hint == QAbstractItemDelegate::EditNextItem ? MoveNext : MovePrevious, Qt::NoModifier);
        if (next.isValid()) {
            setCurrentIndex(next);
            if (next.flags() & Qt::ItemIsEditable)
                edit(next, AllEditTriggers, nullptr);
        }
    }
}

void GridView::toggleCheck(int row, int col)
{
    if (!isEditableCell(row, col) || !isCheckCell(row, col))
        return;
    bool cancel = false;
    Q_EMIT beforeEdit(row, col, &cancel);
    if (cancel || !isEditableCell(row, col))
        return;
    m_grid->setCheckState(row, col,
                          m_grid->checkState(row, col) == Grid::Checked ? Grid::Unchecked : Grid::Checked);
    Q_EMIT afterEdit(row, col);
}

// ---------------------------------------------------------------- keys

int GridView::keyCode(int k)
{
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return k; // 65-90
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return k; // 48-57
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
        return 112 + (k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return 0;
    }
}

int GridView::shiftState(Qt::KeyboardModifiers m)
{
    return ((m & Qt::ShiftModifier) ? 1 : 0) | ((m & Qt::ControlModifier) ? 2 : 0) |
           ((m & Qt::AltModifier) ? 4 : 0);
}

void GridView::keyPressEvent(QKeyEvent* event)
{
    int key = keyCode(event->key());
    if (key != 0) {
        Q_EMIT keyDown(&key, shiftState(event->modifiers()));
        if (key == 0) {
            event->accept();
            return;
        }
    }
    const QString text = event->text();
    const bool control = !text.isEmpty() && (text[0].unicode() < 0x20 || text[0].unicode() == 0x7F);
    if (!text.isEmpty() && !isEditing()) {
        int ch = text[0].unicode();
        const int typed = ch;
        Q_EMIT keyPress(&ch);
        if (ch == 0) {
            event->accept();
            return;
        }
        if (ch != typed && !control) {
            QKeyEvent replaced(QEvent::KeyPress, Qt::Key_unknown, event->modifiers(),
                               QString(QChar(char16_t(ch))));
            QTableView::keyPressEvent(&replaced);
            event->accept();
            return;
        }
    }
    // Copying is the windows' own business (their key-down handlers).
    if (event->matches(QKeySequence::Copy)) {
        event->accept();
        return;
    }
    const QModelIndex cur = currentIndex();
    if (event->key() == Qt::Key_Space && cur.isValid() && isCheckCell(gridRow(cur), gridCol(cur))) {
        toggleCheck(gridRow(cur), gridCol(cur));
        event->accept();
        return;
    }
    // Other control characters (Delete, Ctrl+letters) never start an editor.
    const int k = event->key();
    if (control && k != Qt::Key_Return && k != Qt::Key_Enter && k != Qt::Key_Tab && k != Qt::Key_Backtab &&
        k != Qt::Key_Escape) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

bool GridView::eventFilter(QObject* watched, QEvent* event)
{
    // Characters typed in the editor.
    if (m_editor && event->type() == QEvent::KeyPress && !m_reinjecting &&
        (watched == m_editor ||
         (qobject_cast<QWidget*>(watched) && m_editor->isAncestorOf(static_cast<QWidget*>(watched))))) {
        auto* ke = static_cast<QKeyEvent*>(event);
        const QString text = ke->text();
        const int k = ke->key();
        if (!text.isEmpty() && k != Qt::Key_Return && k != Qt::Key_Enter && k != Qt::Key_Escape &&
            k != Qt::Key_Tab && k != Qt::Key_Backtab) {
            int ch = text[0].unicode();
            const int typed = ch;
            QPointer<QWidget> editor = m_editor;
            Q_EMIT keyPressEdit(m_editRow, m_editCol, &ch);
            if (editor != m_editor || !editor)
                return true; // the handler closed the editor
            if (ch == 0)
                return true;
            if (ch != typed) {
                QKeyEvent replaced(QEvent::KeyPress, Qt::Key_unknown, ke->modifiers(),
                                   QString(QChar(char16_t(ch))));
                m_reinjecting = true;
                QCoreApplication::sendEvent(watched, &replaced);
                m_reinjecting = false;
                return true;
            }
        }
        return false;
    }
    // Mouse over the headers and the corner: row 0 and column 0 of the grid.
    if (m_grid && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove)) {
        auto* me = static_cast<QMouseEvent*>(event);
        const QPoint p = me->position().toPoint();
        int row = -2, col = -2;
        if (watched == horizontalHeader()->viewport()) {
            const int s = horizontalHeader()->logicalIndexAt(p);
            row = 0;
            col = s < 0 ? -1 : s + colOffset();
        } else if (watched == verticalHeader()->viewport()) {
            const int s = verticalHeader()->logicalIndexAt(p);
            row = s < 0 ? -1 : s + rowOffset();
            col = 0;
        } else if (qobject_cast<QAbstractButton*>(watched) && watched->parent() == this) {
            row = 0;
            col = 0;
        }
        if (row != -2)
            reportMouse(event, row, col, event->type() == QEvent::MouseButtonPress);
    }
    return QTableView::eventFilter(watched, event);
}

// ---------------------------------------------------------------- mouse

void GridView::reportMouse(QEvent* event, int row, int col, bool press)
{
    auto* me = static_cast<QMouseEvent*>(event);
    m_mouseRow = row;
    m_mouseCol = col;
    const QPoint p = mapFromGlobal(me->globalPosition().toPoint());
    const int shift = shiftState(me->modifiers());
    if (press)
        Q_EMIT mouseDown(buttonOf(me->button()), shift, p.x(), p.y());
    else
        Q_EMIT mouseMove(buttonOf(me->buttons()), shift, p.x(), p.y());
}

void GridView::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    reportMouse(event, rowAtPoint(p), colAtPoint(p), true);
    m_pressIndex = indexAt(p);
    QTableView::mousePressEvent(event);
}

void GridView::mouseReleaseEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && index.isValid() && index == m_pressIndex) {
        const int r = gridRow(index), c = gridCol(index);
        if (isCheckCell(r, c))
            toggleCheck(r, c);
    }
    m_pressIndex = QModelIndex();
    Q_EMIT click();
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    m_mouseRow = rowAtPoint(p);
    m_mouseCol = colAtPoint(p);
    m_pressIndex = indexAt(p);
    Q_EMIT dblClick();
    QTableView::mouseDoubleClickEvent(event);
}

void GridView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    reportMouse(event, rowAtPoint(p), colAtPoint(p), false);
    QTableView::mouseMoveEvent(event);
}

} // namespace grid
