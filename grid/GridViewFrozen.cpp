// The fixed columns of a grid view kept in place when it scrolls sideways, and its tips.

#include "grid/GridView.h"

#include "grid/GridModel.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

namespace grid {

int GridView::frozenCount() const
{
    if (!m_grid)
        return 0;
    return std::clamp(m_grid->fixedCols() - colOffset(), 0, m_model->columnCount());
}

int GridView::frozenWidth() const
{
    int width = 0;
    for (int c = 0; c < frozenCount(); ++c)
        if (!isColumnHidden(c))
            width += columnWidth(c);
    return width;
}

// A view of the same cells over the fixed columns, in front of the grid's own, that does not
// scroll sideways: it follows the grid's rows, column widths, selection and vertical scrolling.
void GridView::updateFrozen()
{
    const int count = frozenCount();
    if (count == 0 && !m_frozen)
        return;
    if (!m_frozen) {
        m_frozen = new QTableView(this);
        m_frozen->setObjectName(QStringLiteral("frozenColumns"));
        m_frozen->setModel(m_model);
        m_frozen->setSelectionModel(selectionModel());
        m_frozen->setFocusPolicy(Qt::NoFocus);
        m_frozen->setEditTriggers(NoEditTriggers);
        m_frozen->setFrameShape(QFrame::NoFrame);
        m_frozen->verticalHeader()->hide();
        m_frozen->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_frozen->setVerticalScrollMode(verticalScrollMode());
        connect(verticalScrollBar(), &QScrollBar::valueChanged, m_frozen->verticalScrollBar(),
                &QScrollBar::setValue);
        connect(m_frozen->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
                &QScrollBar::setValue);
        connect(verticalHeader(), &QHeaderView::sectionResized, m_frozen,
                [this](int row, int, int size) { m_frozen->setRowHeight(row, size); });
        // Sideways the grid moves by pixels, so that no cell hides for long under the kept columns.
        setHorizontalScrollMode(ScrollPerPixel);
    }
    m_frozen->setSelectionBehavior(selectionBehavior());
    m_frozen->setSelectionMode(selectionMode());
    m_frozen->setWordWrap(wordWrap());
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const bool kept = c < count && !isColumnHidden(c);
        m_frozen->setColumnHidden(c, !kept);
        if (kept)
            m_frozen->setColumnWidth(c, columnWidth(c));
    }
    for (int r = 0; r < m_model->rowCount(); ++r)
        if (m_frozen->rowHeight(r) != rowHeight(r))
            m_frozen->setRowHeight(r, rowHeight(r));
    placeFrozen();
}

void GridView::placeFrozen()
{
    if (!m_frozen)
        return;
    const int width = std::min(frozenWidth(), viewport()->width());
    m_frozen->setVisible(frozenCount() > 0 && width > 0);
    if (!m_frozen->isVisibleTo(this))
        return;
    const QRect cells = viewport()->geometry();
    const bool header = horizontalHeader()->isVisibleTo(this);
    m_frozen->horizontalHeader()->setVisible(header);
    if (header)
        m_frozen->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    const int top = header ? horizontalHeader()->geometry().top() : cells.top();
    m_frozen->setGeometry(cells.left(), top, width, cells.bottom() - top + 1);
    m_frozen->verticalScrollBar()->setValue(verticalScrollBar()->value());
    m_frozen->raise();
}

void GridView::updateGeometries()
{
    QTableView::updateGeometries();
    placeFrozen();
}

void GridView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    QTableView::scrollTo(index, hint);
    const int frozen = frozenWidth();
    if (frozen <= 0 || !index.isValid() || index.column() < frozenCount())
        return;
    const int left = visualRect(index).left();
    if (left < frozen)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - (frozen - left));
}

bool GridView::isCutShort(const QModelIndex& index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty())
        return false;
    const QFontMetrics metrics(index.data(Qt::FontRole).value<QFont>());
    int widest = 0;
    for (const QString& line : text.split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    return widest + margin > columnWidth(index.column());
}

// ---------------------------------------------------------------- tips

void GridView::setToolTipText(const QString& text)
{
    m_toolTip = text;
    horizontalHeader()->setToolTip(text);
    verticalHeader()->setToolTip(text);
    if (QToolTip::isVisible() && text.isEmpty())
        QToolTip::hideText();
}

} // namespace grid
