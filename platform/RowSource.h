#pragma once
// Rows of a table of a database file, read as texts. The identification of the sibling product
// reads its computers through this interface; tests give it rows of their own.

#include "platform/Result.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace platform {

struct RowSourceResult
{
    // Success when every row of the table was read; else why the database or the table could
    // not be read, in French.
    Result result;
    // The rows read, in the database's order: one text per field asked, in the order asked (an
    // empty text for a null value). When reading stopped on a failure, the rows read before it.
    QList<QStringList> rows;
};

class RowSource
{
public:
    virtual ~RowSource() = default;
    // Reads the fields of every row of a table (table and field names compared without regard
    // to letter case). A missing field is a failure: no row is returned.
    virtual RowSourceResult readTable(const QString& databasePath, const QString& table,
                                      const QStringList& fields) = 0;
};

} // namespace platform
