#include "record/ParcelCommunes.h"

#include "grid/Grid.h"
#include "record/LocationGrid.h"

#include <algorithm>

namespace record {

int copyCommuneToParcels(grid::Grid& location, int parcels, const QString& department, const QString& commune)
{
    int changed = 0;
    for (int p = 1; p <= std::min(parcels, location.rows() - 1); ++p) {
        if (location.cell(p, LocDepartment) == department && location.cell(p, LocCommune) == commune)
            continue;
        location.setCell(p, LocDepartment, department);
        location.setCell(p, LocCommune, commune);
        location.setCheckState(p, LocValidated, grid::Grid::Unchecked);
        location.setCell(p, LocInformation, QString());
        location.setBackColour({p, LocInformation, p, LocInformation}, 0);
        ++changed;
    }
    return changed;
}

} // namespace record
