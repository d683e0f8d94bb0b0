#include "record/GridCommands.h"

#include "common/Globals.h"
#include "platform/Dialogs.h"
#include "platform/KeyCodes.h"
#include "platform/Services.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

using grid::Grid;
using grid::GridRange;
namespace mb = platform::mb;

namespace record {

namespace {

// The rows of a spreadsheet's text: a line end after the last row adds no row.
QStringList textRows(QString text)
{
    if (text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    else if (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    if (text.isEmpty())
        return {};
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    return text.split(lineEnd);
}

} // namespace

GridCommands::GridCommands(Grid& grid, Rows rows) : m_grid(grid), m_rows(rows) {}

bool GridCommands::isWritable(const Grid& g, int row, int col)
{
    return row >= g.fixedRows() && row < g.rows() && col >= g.fixedCols() && col < g.cols() &&
           !g.colHidden(col) && !g.isReadOnly(row, col);
}

bool GridCommands::isCheckCell(int row, int col) const
{
    return m_grid.colDataType(col) == Grid::DataType::Boolean || m_grid.checkState(row, col) != Grid::NoCheck;
}

GridRange GridCommands::dataSelection() const
{
    if (m_grid.editable() == Grid::Editable::None)
        return {};
    GridRange s = m_grid.selection();
    s.row1 = std::max(s.row1, m_grid.fixedRows());
    s.col1 = std::max(s.col1, m_grid.fixedCols());
    return s;
}

void GridCommands::announce(Command command, const GridRange& range) const
{
    if (aboutToChange && !range.isEmpty())
        aboutToChange(command, range);
}

void GridCommands::report(Command command, const GridRange& range) const
{
    if (changed && !range.isEmpty())
        changed(command, range);
}

bool GridCommands::keyDown(int keyCode, int shift)
{
    const bool ctrl = (shift & platform::kCtrlMask) != 0;
    if (keyCode == platform::kKeyDelete) {
        deleteSelection();
        return true;
    }
    if ((keyCode == platform::kKeyV && ctrl) ||
        (keyCode == platform::kKeyInsert && (shift & platform::kShiftMask) != 0)) {
        paste(clipboardText ? clipboardText() : QString());
        return true;
    }
    if (keyCode == platform::kKeyC && ctrl) {
        if (copySelection)
            copySelection(m_grid);
        return true;
    }
    if (keyCode == platform::kKeyB && ctrl) {
        fill();
        return true;
    }
    return false;
}

void GridCommands::deleteSelection()
{
    const GridRange s = dataSelection();
    if (s.isEmpty())
        return;
    announce(Command::Delete, s);
    if (m_rows == Rows::Free) {
        for (int r = s.row2; r >= s.row1; --r)
            m_grid.removeRow(r);
        m_grid.select(std::min(s.row1, m_grid.rows() - 1), s.col1);
        report(Command::Delete, s);
        return;
    }
    for (int r = s.row1; r <= s.row2; ++r)
        for (int c = s.col1; c <= s.col2; ++c) {
            if (!isWritable(m_grid, r, c))
                continue;
            if (isCheckCell(r, c))
                m_grid.setCheckState(r, c, Grid::Unchecked);
            else
                m_grid.setCell(r, c, QString());
        }
    report(Command::Delete, s);
}

GridRange GridCommands::paste(const QString& text)
{
    const QStringList rows = textRows(text);
    if (rows.isEmpty() || m_grid.editable() == Grid::Editable::None)
        return {};
    const int top = std::max(m_grid.row(), m_grid.fixedRows());
    const int left = std::max(m_grid.col(), m_grid.fixedCols());
    if (top >= m_grid.rows() || left >= m_grid.cols())
        return {};
    int bottom = top + int(rows.size()) - 1;
    if (m_rows == Rows::Free && bottom >= m_grid.rows()) {
        const int added = m_grid.rows();
        m_grid.setRows(bottom + 1);
        // New rows are painted as the row above them.
        for (int r = added; r <= bottom; ++r)
            for (int c = 0; c < m_grid.cols(); ++c)
                if (m_grid.isReadOnly(added - 1, c))
                    m_grid.setReadOnly({r, c, r, c}, true);
    }
    bottom = std::min(bottom, m_grid.rows() - 1);
    const int right =
        std::min(left + int(rows.first().split(QLatin1Char('\t')).size()) - 1, m_grid.cols() - 1);
    const GridRange pasted{top, left, bottom, right};
    announce(Command::Paste, pasted);
    for (int r = top; r <= bottom; ++r) {
        const QStringList cells = rows[r - top].split(QLatin1Char('\t'));
        for (int c = left; c <= right && c - left < cells.size(); ++c)
            if (isWritable(m_grid, r, c) && !isCheckCell(r, c))
                m_grid.setCell(r, c, cells[c - left]);
    }
    m_grid.select(top, left, bottom, right);
    report(Command::Paste, pasted);
    return pasted;
}

bool GridCommands::fill()
{
    const int current = m_grid.row();
    if (current == m_grid.rowSel())
        return false;
    const GridRange s = dataSelection();
    if (s.isEmpty() || current < s.row1 || current > s.row2)
        return false;
    QStringList values;
    for (int c = s.col1; c <= s.col2; ++c)
        values << (isCheckCell(current, c)
                       ? (m_grid.checkState(current, c) == Grid::Checked ? QStringLiteral("Oui")
                                                                         : QStringLiteral("Non"))
                       : m_grid.cell(current, c));
    const QString question = QString::number(s.rowCount()) +
                             QStringLiteral(" lignes sélectionnées par la valeur \n") +
                             values.join(QLatin1Char('\t'));
    if (platform::dialogs().ask(question, mb::YesNo | mb::Question, common::kProgramName) != mb::Yes)
        return false;
    announce(Command::Fill, s);
    for (int c = s.col1; c <= s.col2; ++c) {
        const bool check = isCheckCell(current, c);
        const QString text = m_grid.cell(current, c);
        const int state = m_grid.checkState(current, c);
        for (int r = s.row1; r <= s.row2; ++r) {
            if (r == current || !isWritable(m_grid, r, c))
                continue;
            if (check)
                m_grid.setCheckState(r, c, state);
            else
                m_grid.setCell(r, c, text);
        }
    }
    m_grid.select(s.row1, s.col2);
    report(Command::Fill, s);
    return true;
}

} // namespace record
