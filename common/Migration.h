#pragma once
// Copy of the sibling program's settings into the program's own, at start-up: its per-user
// application settings (then deleted at the source) and, once per machine, its machine-wide
// settings (left at the source).

#include <QString>

namespace common {

// The sibling program whose settings are taken over.
inline const QString kSiblingProgram = QStringLiteral("Pomerel");
// Value of the program's "Version" section that records when the machine-wide copy was made.
// While it is present the machine-wide settings are not copied again, so a data folder moved or
// changed since then is never brought back.
inline const QString kMigrationMarker = QStringLiteral("Migration Pomerel");

} // namespace common

void sub_Migration_Registre();
