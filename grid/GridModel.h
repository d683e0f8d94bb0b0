#pragma once
// The item model of a GridView over its grid (used by GridView only): the grid's cells below
// and right of the cells shown as headers, and the grid's notifications passed on as the
// model's.

#include <QAbstractTableModel>
#include <functional>

namespace grid {

class Grid;
class GridView;

class GridModel : public QAbstractTableModel
{
public:
    explicit GridModel(GridView* view);

    Grid& g() const;
    int rowOff() const;
    int colOff() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant fontOf(int r, int c) const;

    // ---- grid notifications
    void beginReset();
    void endReset();
    bool resetting() const { return m_resetting > 0; }
    void cellsChanged(int r1, int c1, int r2, int c2);
    void rowsAboutToInsert(int first, int last);
    void rowsInsertedDone();
    void rowsAboutToRemove(int first, int last);
    void rowsRemovedDone();
    void columnChanged(int col);
    void swapGrid(const std::function<void()>& swap);

private:
    GridView* m_view;
    int m_resetting = 0;
};

} // namespace grid
