// The mdbtools headers bring glib; they are kept to this file.
#include "platform/MdbRowSource.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <memory>
#include <vector>

extern "C" {
#include <mdbtools.h>
}

namespace platform {

namespace {

RowSourceResult failure(const QString& why) { return {Result::failure(why), {}}; }

struct HandleCloser
{
    void operator()(MdbHandle* h) const { mdb_close(h); }
};
struct TableFreer
{
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};

MdbCatalogEntry* findTable(MdbHandle* mdb, const QString& name)
{
    GPtrArray* catalog = mdb->catalog;
    for (guint i = 0; catalog && i < catalog->len; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(catalog, i));
        if (entry && entry->object_type == MDB_TABLE &&
            QString::fromUtf8(entry->object_name).compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return nullptr;
}

} // namespace

RowSourceResult MdbRowSource::readTable(const QString& databasePath, const QString& table,
                                        const QStringList& fields)
{
    const QFileInfo info(databasePath);
    if (databasePath.isEmpty() || !info.exists())
        return failure(QStringLiteral("La base « %1 » n'existe pas.").arg(databasePath));
    if (!info.isFile() || !info.isReadable())
        return failure(QStringLiteral("La base « %1 » ne peut pas être ouverte.").arg(databasePath));

    const QByteArray encoded = QFile::encodeName(databasePath);
    std::unique_ptr<MdbHandle, HandleCloser> mdb(mdb_open(encoded.constData(), MDB_NOFLAGS));
    if (!mdb)
        return failure(
            QStringLiteral("La base « %1 » est illisible : ce n'est pas une base Jet.").arg(databasePath));
    if (!mdb_read_catalog(mdb.get(), MDB_TABLE))
        return failure(QStringLiteral("La base « %1 » est illisible : son catalogue ne peut pas être lu.")
                           .arg(databasePath));
    MdbCatalogEntry* entry = findTable(mdb.get(), table);
    if (!entry)
        return failure(QStringLiteral("La base « %1 » n'a pas de table %2.").arg(databasePath, table));
    std::unique_ptr<MdbTableDef, TableFreer> def(mdb_read_table(entry));
    if (!def || !mdb_read_columns(def.get()))
        return failure(QStringLiteral("La base « %1 » est illisible : sa table %2 ne peut pas être lue.")
                           .arg(databasePath, table));

    // One buffer per field asked, bound to its column.
    const size_t bindSize = MDB_BIND_SIZE;
    mdb_set_bind_size(mdb.get(), bindSize);
    std::vector<std::vector<char>> buffers(size_t(fields.size()), std::vector<char>(bindSize + 1, '\0'));
    std::vector<int> lengths(size_t(fields.size()), 0);
    for (qsizetype f = 0; f < fields.size(); ++f) {
        int number = -1;
        for (guint c = 0; c < def->num_cols && def->columns && c < def->columns->len; ++c) {
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(def->columns, c));
            if (col && QString::fromUtf8(col->name).compare(fields[f], Qt::CaseInsensitive) == 0) {
                number = int(c) + 1;
                break;
            }
        }
        if (number < 0)
            return failure(QStringLiteral("La table %1 de la base « %2 » n'a pas de champ %3.")
                               .arg(table, databasePath, fields[f]));
        if (mdb_bind_column(def.get(), number, buffers[size_t(f)].data(), &lengths[size_t(f)]) != 0)
            return failure(
                QStringLiteral("Le champ %1 de la table %2 ne peut pas être lu.").arg(fields[f], table));
    }

    RowSourceResult result{Result::success(), {}};
    mdb_rewind_table(def.get());
    while (mdb_fetch_row(def.get())) {
        QStringList row;
        row.reserve(fields.size());
        for (size_t f = 0; f < buffers.size(); ++f) {
            const int len = std::clamp(lengths[f], 0, int(bindSize));
            row << QString::fromUtf8(buffers[f].data(), len);
        }
        result.rows << row;
    }
    return result;
}

} // namespace platform
