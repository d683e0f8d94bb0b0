#pragma once
// The site's commune, as the user chooses it, copied into the parcel rows of the location grid.

#include <QString>

namespace grid {
class Grid;
}

namespace record {

// Parcel rows 1 to parcels of the location grid take the department and the commune. A row whose
// department or commune changes loses its coordinates check: its "validated" box is unticked and
// its information cell emptied, colour included. Returns the number of rows that changed.
int copyCommuneToParcels(grid::Grid& location, int parcels, const QString& department,
                         const QString& commune);

} // namespace record
