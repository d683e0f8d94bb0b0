#include "grid/GridModel.h"

#include "grid/GridView.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <algorithm>

namespace grid {

namespace {

QColor toQColor(GridColour c) { return QColor(gridRed(c), gridGreen(c), gridBlue(c)); }

QString shown(QString text)
{
    if (text.contains(u'\r')) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(u'\r', u'\n');
    }
    return text;
}

} // namespace

GridModel::GridModel(GridView* view) : QAbstractTableModel(view), m_view(view) {}

Grid& GridModel::g() const { return *m_view->m_grid; }
int GridModel::rowOff() const { return m_view->rowOffset(); }
int GridModel::colOff() const { return m_view->colOffset(); }

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_view->m_grid ? 0 : std::max(0, g().rows() - rowOff());
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_view->m_grid ? 0 : std::max(0, g().cols() - colOff());
}

QVariant GridModel::data(const QModelIndex& index, int role) const
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
        if (!m_view->m_toolTip.isEmpty())
            return m_view->m_toolTip;
        // A text cut short by its column is read whole in the tip.
        return m_view->isCutShort(index) ? QVariant(shown(grid.displayText(r, c))) : QVariant();
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
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

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const int r = index.row() + rowOff(), c = index.column() + colOff();
    if (m_view->isEditableCell(r, c) && !m_view->isCheckCell(r, c))
        f |= Qt::ItemIsEditable;
    return f;
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    g().setCell(index.row() + rowOff(), index.column() + colOff(), value.toString());
    return true;
}

QVariant GridModel::fontOf(int r, int c) const
{
    const Grid& grid = g();
    QFont f = m_view->font();
    const QString name = grid.fontName(r, c);
    if (!name.isEmpty())
        f.setFamily(name);
    f.setPointSizeF(grid.fontSize(r, c));
    return f;
}

// ---------------------------------------------------------------- grid notifications

void GridModel::beginReset()
{
    if (m_resetting++ == 0)
        beginResetModel();
}

void GridModel::endReset()
{
    if (m_resetting == 0)
        return;
    if (--m_resetting == 0) {
        endResetModel();
        m_view->applyLayout();
    }
}

void GridModel::cellsChanged(int r1, int c1, int r2, int c2)
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

void GridModel::rowsAboutToInsert(int first, int last)
{
    if (!resetting())
        beginInsertRows(QModelIndex(), first - rowOff(), last - rowOff());
}

void GridModel::rowsInsertedDone()
{
    if (!resetting())
        endInsertRows();
}

void GridModel::rowsAboutToRemove(int first, int last)
{
    if (!resetting())
        beginRemoveRows(QModelIndex(), first - rowOff(), last - rowOff());
}

void GridModel::rowsRemovedDone()
{
    if (!resetting())
        endRemoveRows();
}

void GridModel::columnChanged(int col)
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

void GridModel::swapGrid(const std::function<void()>& swap)
{
    beginResetModel();
    swap();
    endResetModel();
    m_view->applyLayout();
}

} // namespace grid
