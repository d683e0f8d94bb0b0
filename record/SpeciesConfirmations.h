#pragma once
// The species the user confirmed in one record window, while the learning mode of species-code
// entry asks once per species: their "Saisie" box in the species table is ticked, so that the
// question is not asked again. When the window closes, only these ticks are written back to the
// table file, re-read first: what another window or the settings window changed meanwhile stays.

#include "platform/Result.h"

#include <QSet>
#include <QString>

namespace grid {
class Grid;
}

namespace record {

// The species table's columns of the code and of the "Saisie" box.
inline constexpr int kSpeciesTableCode = 2;
inline constexpr int kSpeciesTableEntered = 5;

class SpeciesConfirmations
{
public:
    // Ticks the species' "Saisie" box in the table (every row of that code) and keeps the code;
    // false when the table has no row of that code.
    bool confirm(grid::Grid& speciesTable, const QString& code);

    bool isEmpty() const { return m_codes.isEmpty(); }
    const QSet<QString>& codes() const { return m_codes; }

    // Re-reads the table file, ticks the confirmed species' boxes and writes it back through the
    // save routine, only when a box changed. A table that cannot be read is neither changed nor
    // written; the reason names the file.
    platform::Result writeBack(const QString& path) const;

private:
    QSet<QString> m_codes;
};

} // namespace record
