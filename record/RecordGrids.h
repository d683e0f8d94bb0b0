#pragma once
// The record window's grids as the user edits them: the species grid (lookup of a code or a name,
// the row total, a new row after each edit, the behaviours of the row's class, the keys its
// editors take), the weather and habitat grids, the keyboard commands of those and of the location
// grid (GridCommands), and the site's commune and department choices, which the location grid
// follows. It lives as a child of the window and acts only on the user's edits, keys and choices.

#include "grid/Grid.h"
#include "record/GridCommands.h"
#include "record/LocationGrid.h"
#include "record/SpeciesEntry.h"

#include <QObject>
#include <optional>

class frm_Releve_SHOC;
namespace grid {
class GridView;
}

namespace record {

class RecordGrids : public QObject
{
    Q_OBJECT
public:
    explicit RecordGrids(frm_Releve_SHOC& window);

private:
    void speciesBeforeEdit(int row, int col, bool* cancel);
    void speciesAfterEdit(int row, int col);
    void speciesKeyPress(int row, int col, int* key);
    void speciesCommand(GridCommands::Command command, const grid::GridRange& range);
    void weatherAfterEdit(int row, int col);
    void parcelCommand(GridCommands::Command command, grid::GridView* view);
    void locationCommand();
    void communeChosen();
    void departmentChosen();

    bool computedTotals() const;
    void tellUnknown(const SpeciesLookups& lookups) const;
    void attach(GridCommands& commands, grid::GridView* view);

    frm_Releve_SHOC& m_window;
    SpeciesEntry m_entry;
    GridCommands m_speciesCommands;
    GridCommands m_weatherCommands;
    GridCommands m_habitatCommands;
    GridCommands m_storedCommands;
    GridCommands m_locationCommands;
    // The location grid as it was before the command being run wrote it.
    std::optional<LocationGridChange> m_locationChange;
};

} // namespace record
