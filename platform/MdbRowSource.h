#pragma once
// Rows of a table of a Jet database file (.mdb), read with the mdbtools library.

#include "platform/RowSource.h"

namespace platform {

class MdbRowSource : public RowSource
{
public:
    RowSourceResult readTable(const QString& databasePath, const QString& table,
                              const QStringList& fields) override;
};

} // namespace platform
