#pragma once
// What the record list and the prospection table show of one record file, read from the file's
// first rows only: the identification rows at the top (with the season) and the visit's date row,
// which stands at most at row 40 (the row after the last of 30 parcels). The rest of the file
// (weather, species) is not read, unless the date row or the season row is not where a record
// puts it: then the file is searched whole for it.
//
// A file of the listing that cannot be read, or that is no record, is left out of the list and
// reported with the reason; it is never changed.

#include "platform/FolderFiles.h"
#include "platform/Result.h"

#include <QDateTime>
#include <QHash>
#include <QString>

namespace recordlist {

struct RecordSummary
{
    QString fileName;   // as the folder listing gives it: the list row's item data
    QString siteName;   // row 2, column 5
    QString passage;    // the date row's passage index plus one, "1" to "5"; empty without a date row
    QString date;       // the date of the visit, "JJ/MM/AAAA"; empty without a date row
    QString observer;   // name, one blank, first name
    QString contact;    // the e-mail address, or the telephone number when the record has none
    QString season;     // "Hiver 2009-2010": the first row titled "Saison"; empty without one
    QString status;     // "Non Validé", or empty for a validated record
    QString version;    // the version stamp of the program that wrote the record
    QDateTime modified; // the file's last modification

    // Empty status, blanks left aside: the record passed the checks when it was saved.
    bool validated() const { return status.trimmed().isEmpty(); }
    bool operator==(const RecordSummary&) const = default;
};

struct [[nodiscard]] SummaryRead
{
    platform::Result result;
    RecordSummary summary;
};

// Reads the summary of the record file at path. Fails, naming the file, when the file cannot be
// read as a grid file or when its first cell is not "SHOC".
SummaryRead readRecordSummary(const QString& path);

// Summaries kept between two refreshes of the list, by file name; an entry is used again only
// while the file keeps the same size and modification time.
class SummaryCache
{
public:
    // The summary of the file at path, read again when the file changed since it was kept.
    // fileName is the name the listing gives (the key). Failures are not kept.
    SummaryRead summary(const QString& path, const QString& fileName);
    // The same for a file of a folder listed with its stamp: the file is only read, and its path
    // only made, when the stamp differs from the one kept.
    SummaryRead summary(const QString& folder, const platform::FolderFile& file);
    // Forgets the files not asked for since the last call (files deleted or renamed).
    void dropUnused();
    void clear() { m_entries.clear(); }

    int size() const { return int(m_entries.size()); }
    // Files read since the cache was made (for the benchmark and the tests).
    int reads() const { return m_reads; }

private:
    struct Entry
    {
        platform::FileStamp stamp;
        RecordSummary summary;
        bool used = false;
    };
    SummaryRead read(const QString& path, const QString& fileName, const platform::FileStamp& stamp);
    QHash<QString, Entry> m_entries;
    int m_reads = 0;
};

} // namespace recordlist
