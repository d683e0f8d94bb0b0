#pragma once
// The species table's sixth column "Saisie" and the one-time question on the learning mode of
// species-code entry.

#include "platform/Result.h"

#include <QString>

namespace grid {
class Grid;
}

namespace common {

// Widens a five-column species table to six columns with the check-box column "Saisie".
// Returns true when the table was widened.
bool addEntryColumn(grid::Grid& table);

} // namespace common

// Loads the species table into the scratch grid (emptied first), widens it when needed, asks
// whether the learning mode is wanted, ticks every "Saisie" box (No) or clears them all (Yes),
// sets the option SaisieEsp, records the answer in "Validation Espèces" and writes the table
// back. A table that cannot be read is neither changed nor written: only the answer is kept.
// Fails when the table could not be read or written; the user has been told, unless the table
// is missing, and the reason is the text shown.
platform::Result sub_Update_Espèce(grid::Grid& brouillon);
