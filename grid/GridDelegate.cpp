#include "grid/GridDelegate.h"

#include "grid/GridView.h"
#include "grid/ListEditor.h"

#include <QLineEdit>

namespace grid {

GridDelegate::GridDelegate(GridView* view) : QStyledItemDelegate(view), m_view(view) {}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex& index) const
{
    const int c = m_view->gridCol(index);
    const GridEditList list = Grid::parseEditList(m_view->grid().editListFor(c));
    QWidget* editor = nullptr;
    if (!list.isEmpty()) {
        auto* choice = new ListEditor(list, parent);
        choice->setFrame(false);
        QObject::connect(choice, &ListEditor::itemClicked, choice, [this, choice] {
            if (m_view->m_editor != choice)
                return;
            Q_EMIT const_cast<GridDelegate*>(this)->commitData(choice);
            Q_EMIT const_cast<GridDelegate*>(this)->closeEditor(choice, QAbstractItemDelegate::NoHint);
        });
        editor = choice;
    } else {
        auto* line = new QLineEdit(parent);
        line->setFrame(false);
        editor = line;
    }
    editor->installEventFilter(m_view);
    m_view->editorOpened(editor, index);
    return editor;
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const QString text = index.data(Qt::EditRole).toString();
    if (auto* choice = qobject_cast<ListEditor*>(editor)) {
        if (!choice->isModified()) // the value is shown once, never over what the user typed
            choice->showValue(text);
    } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setText(text);
    }
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    model->setData(index, m_view->editorValue(editor), Qt::EditRole);
}

} // namespace grid
