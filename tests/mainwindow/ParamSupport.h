#pragma once
// What the settings-window tests share: a row source that hands over rows of its own, tables
// written from tab-separated texts, the grid read back as the record window reads its tables,
// and a watch on a folder that counts the writes of a file.

#include "grid/Grid.h"
#include "platform/RowSource.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace param_support {

// A database that holds the given rows; it records what it was asked.
class FakeRowSource : public platform::RowSource
{
public:
    platform::RowSourceResult result{platform::Result::success(), {}};
    int calls = 0;
    QString lastPath;
    QString lastTable;
    QStringList lastFields;

    platform::RowSourceResult readTable(const QString& databasePath, const QString& table,
                                        const QStringList& fields) override
    {
        ++calls;
        lastPath = databasePath;
        lastTable = table;
        lastFields = fields;
        return result;
    }
};

// Writes a table given as tab-separated text (header first; "1"/"2" in check-box columns) as a
// grid file of the given code, with its fixed cells.
void writeTable(const QString& path, const QString& tsv, int code, const QList<int>& checkColumns = {});

// Every row of a grid from column 1 on, cells joined by "|"; a check-box cell below row 0 reads
// "+" (ticked) or "-" in front of its text.
QStringList dump(const grid::Grid& grid);

// The file read as the record window reads its tables: fixed rows 0, then a whole-grid load;
// empty when it cannot be read.
QStringList readAsRecordWindow(const QString& path, int code, const QList<int>& checkColumns = {});

// Counts the completed writes of one file name in a folder (a rename into place or a file
// closed after writing), from the watch's creation on.
class WriteWatch
{
public:
    explicit WriteWatch(const QString& folder);
    ~WriteWatch();
    WriteWatch(const WriteWatch&) = delete;
    WriteWatch& operator=(const WriteWatch&) = delete;
    int writesOf(const QString& fileName);

private:
    int m_fd = -1;
    QStringList m_seen;
};

} // namespace param_support
