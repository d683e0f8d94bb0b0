#pragma once
// Keys typed into grids as the user types them: key clicks sent where the focus is, the events
// processed after each key (an editor opens on the first key and closes through queued calls).

#include <QString>
#include <Qt>

namespace grid {
class GridView;
}

namespace testing_support {

// Characters typed where the focus is (Latin-1); on a grid, the first one opens the current
// cell's editor and the others go to it.
void typeKeys(const QString& text);
// One key pressed where the focus is.
void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// A cell typed as the user types it: the cell made current, the grid given the focus, the keys
// typed (the first opens the editor), then the key that leaves the editor (Enter by default,
// Tab; Qt::Key_unknown leaves it open). False when no editor opened, or when the key given did
// not close it (a text refused, a list item not found).
bool typeCell(grid::GridView* view, int row, int col, const QString& text, Qt::Key leave = Qt::Key_Return);
// The grid reached by the keyboard: the focus given to the control before it in the tab order
// (after it, for Shift+Tab), then Tab (Shift+Tab) pressed. False when the grid did not get the
// focus.
bool tabInto(grid::GridView* view, bool backwards = false);

} // namespace testing_support
