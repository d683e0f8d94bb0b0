// The keys and the mouse of a grid view: the Windows key codes and shift states its events
// carry, keys typed on the grid and in its editor, the cell a grid reached by Tab starts on, and
// the mouse over its cells and headers.

#include "grid/GridView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

#include <algorithm>

namespace grid {

namespace {

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

void GridView::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        goToEditableCell();
}

void GridView::goToEditableCell()
{
    if (!m_grid || isEditing() || m_grid->editable() == Grid::Editable::None)
        return;
    const int current = m_grid->row();
    if (isEditableCell(current, m_grid->col()))
        return;
    const int first = m_grid->fixedRows(), rows = m_grid->rows();
    // The current row first, then the rows below it, then those above.
    for (int i = 0; i < rows - first; ++i) {
        const int r = first + (std::max(current - first, 0) + i) % (rows - first);
        for (int c = m_grid->fixedCols(); c < m_grid->cols(); ++c) {
            if (isEditableCell(r, c)) {
                m_grid->select(r, c);
                scrollTo(indexOf(r, c));
                return;
            }
        }
    }
}

bool GridView::eventFilter(QObject* watched, QEvent* event)
{
    // A window holding the view asked to close while a cell is being typed.
    if (event->type() == QEvent::Close && holderClosing(watched, event))
        return true;
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
            // A handler that refuses the key may say why in a box, which takes the focus for a
            // moment: the edit goes on with what was typed, as it does through a validation's box.
            m_validating = true;
            Q_EMIT keyPressEdit(m_editRow, m_editCol, &ch);
            m_validating = false;
            if (editor != m_editor || !editor)
                return true; // the handler closed the editor
            if (QWidget* focus = QApplication::focusWidget(); focus != editor && !editor->isAncestorOf(focus))
                editor->setFocus();
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
