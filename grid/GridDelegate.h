#pragma once
// The editors of a GridView (used by GridView only): a ListEditor for a cell with an edit list,
// a line editor otherwise.

#include <QStyledItemDelegate>

namespace grid {

class GridView;

class GridDelegate : public QStyledItemDelegate
{
public:
    explicit GridDelegate(GridView* view);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    GridView* m_view;
};

} // namespace grid
