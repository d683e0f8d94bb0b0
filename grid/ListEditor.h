#pragma once
// The editor of a grid cell that has an edit list: a line where the user types and, under the
// cell, the items that the typed text picks out (ListMatcher), the first of them highlighted.
// Up and Down (Page Up, Page Down) move the highlight. Typing stores nothing: the view stores
// the highlighted item when the user presses Enter or Tab or leaves the cell, and at once when
// the user clicks an item; Escape drops the edit.
//
// With nothing highlighted (nothing typed yet, or a text that matches nothing), a list that
// takes no typed text has nothing to store: the cell keeps its value. Enter and Tab then leave the
// editor when nothing was typed (a value of no item, an old code kept in a record, is left as it
// is), and keep it open on a typed text that matches nothing, which shows as such while it is
// typed: in red, the list saying that no item matches. A list that takes typing ("|" first)
// stores the text typed when no item is highlighted.

#include "grid/Grid.h"
#include "grid/ListMatcher.h"

#include <QColor>
#include <QLineEdit>
#include <QPointer>

class QListWidget;

namespace grid {

class ListEditor : public QLineEdit
{
    Q_OBJECT

public:
    // The items are shown in a list that belongs to the parent's window, so that it may reach
    // beyond the grid.
    ListEditor(const GridEditList& list, QWidget* parent);
    ~ListEditor() override;

    // Shows a cell's value: the label of its item (the item of that code, else of that label),
    // highlighted in the whole list; a value of no item as it is, nothing highlighted.
    void showValue(const QString& value);
    // A text put in as if typed: the list narrows to it.
    void setTypedText(const QString& text);

    // There is something to store: an item is highlighted, or the list takes typing.
    bool hasValue() const;
    // The text shown was typed (or put in as typed), not the cell's value.
    bool isTyped() const { return m_typed; }
    // What the cell stores: the highlighted item's code; else the text typed where the list
    // takes typing; else nothing.
    QString value() const;

    // The labels offered, in the order shown, and the one highlighted (-1: none).
    QStringList offeredLabels() const;
    int highlighted() const { return m_current; }
    // The list of the items offered (for a click).
    QListWidget* choices() const;

Q_SIGNALS:
    // The user clicked an item: it is highlighted, to be stored at once.
    void itemClicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void typed(const QString& text);
    void offer(const QList<int>& items, int current);
    void highlight(int row);
    void placeChoices();
    void showMatchesNothing(bool nothing);

    GridEditList m_list;
    ListMatcher m_matcher;
    QList<int> m_offered; // indexes of the items offered, in the order shown
    int m_current = -1;   // the highlighted row of m_offered
    bool m_typed = false;
    bool m_matchesNothing = false;
    QColor m_textColour; // of the text, when it matches
    QPointer<QListWidget> m_choices;
};

} // namespace grid
