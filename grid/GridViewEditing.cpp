// Editing in a grid view: the editor opened on a cell, its text validated and stored, check
// boxes toggled, and an edit open when the window holding the view closes or goes.

#include "grid/GridView.h"

#include "grid/ListEditor.h"

#include <QEvent>
#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>

namespace grid {

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
    watchHolders();
}

void GridView::watchHolders()
{
    unwatchHolders();
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        w->installEventFilter(this);
        m_holders.append(Holder{w, w->metaObject()});
    }
}

void GridView::unwatchHolders()
{
    for (const Holder& h : std::as_const(m_holders))
        if (h.widget)
            h.widget->removeEventFilter(this);
    m_holders.clear();
}

bool GridView::holderGoing() const
{
    // While a class's destructor runs, the object is of its base class: a window whose destructor
    // has begun no longer inherits the class it had, its members already gone.
    return std::any_of(m_holders.cbegin(), m_holders.cend(), [](const Holder& h) {
        return !h.widget || !h.widget->metaObject()->inherits(h.type);
    });
}

bool GridView::holderClosing(QObject* watched, QEvent* event)
{
    const bool holder = std::any_of(m_holders.cbegin(), m_holders.cend(),
                                    [watched](const Holder& h) { return h.widget == watched; });
    if (!holder || !m_editor)
        return false;
    // The text typed is stored before the window's closing steps, as leaving the cell stores it.
    if (!m_validating)
        finishEditing();
    if (!isEditing())
        return false;
    // Refused (the editor stays open on the text typed), or its question still open: the window
    // stays open.
    event->ignore();
    return true;
}

void GridView::dropEditor()
{
    QWidget* editor = m_editor;
    if (!editor)
        return;
    const QSignalBlocker quiet(this);
    m_editor = nullptr;
    m_committed = false;
    m_refused = false;
    unwatchHolders();
    QTableView::closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
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
    if (auto* line = qobject_cast<QLineEdit*>(m_editor.data()))
        return line->text();
    return QString();
}

void GridView::setEditText(const QString& text)
{
    if (auto* choice = qobject_cast<ListEditor*>(m_editor.data()))
        choice->setTypedText(text);
    else if (auto* line = qobject_cast<QLineEdit*>(m_editor.data())) {
        line->setText(text);
    }
}

QString GridView::editorValue(QWidget* editor) const
{
    if (auto* choice = qobject_cast<ListEditor*>(editor))
        return choice->value();
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
    if (holderGoing())
        return; // the window is being destroyed (its focus goes): the edit is dropped
    if (auto* choice = qobject_cast<ListEditor*>(editor); choice && !choice->hasValue())
        return; // nothing chosen in the list: the cell keeps its value
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
    const bool going = holderGoing();
    const int r = m_editRow, c = m_editCol;
    m_editor = nullptr;
    m_committed = false;
    unwatchHolders();
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (going)
        return;
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

} // namespace grid
