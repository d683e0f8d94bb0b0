#pragma once
// The export log "LOG_EXPORT.TXT" of the data folder: one line per export, the exported file's
// name, a tab and the date and time of the export written "JJ/MM/AAAA HH:MM:SS", lines ending
// with a carriage return and a line feed, newest first. Its writer (the record list's exports),
// its reader (the record list's dates of last export) and its compaction at start-up.

#include "grid/Grid.h"
#include "platform/Result.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace common {

inline const QString kExportLogFile = QStringLiteral("LOG_EXPORT.TXT");
// The largest log: some 43,000 lines of about 100 bytes, when the start keeps one line per
// exported file (0.5 MB for a folder of 5,000 records) and each export adds one per record. Read
// and compacted in about 0.1 s and 60 MB. Its writers keep it within this bound; its reader leaves
// a log over it unread.
inline constexpr qint64 kExportLogMaxBytes = 4LL << 20;
// The largest log its writers (an export's lines, the start-up compaction) read, to bring it back
// within kExportLogMaxBytes: they only ever shrink a log over the bound. An earlier release added
// an export run's lines to a log of up to the bound without counting, and refused to read it
// after, so that what it left is the bound and one run's lines at most: twice the bound takes a
// run of some 40,000 records. Compacted in about twice the time and memory of a log at the bound
// (90 MB), within what a reader may cost at start; four times would take over 150 MB. A log over
// it is left as it is, unread, and no line is added to it.
inline constexpr qint64 kExportLogReadMaxBytes = 2 * kExportLogMaxBytes;
// The one date format of the log, written and read.
inline const QString kExportLogDateFormat = QStringLiteral("dd/MM/yyyy HH:mm:ss");

struct ExportLogLine
{
    QString fichier;
    QString date; // as written
    bool operator==(const ExportLogLine&) const = default;
};

// The date and time of a log line; invalid for a text that is no such date.
QDateTime exportLogDate(const QString& texte);

// The log is used only when it is a plain file of the data folder within the bound its user reads
// (kExportLogMaxBytes, kExportLogReadMaxBytes for its writers): under its name, a symbolic link (to
// a file elsewhere or a device), a FIFO, a device or a folder is never opened to be read nor
// written through, nor is a log over that bound; its readers and writers fail, the reason saying
// why and naming the log.
//
// Both writers keep the log within kExportLogMaxBytes. When the log they would write passes it,
// each file name keeps one line, its newest (the latest date; names compared exactly, as the
// compaction compares them), then the lines of the oldest dates go while the log is still over;
// the lines of an export are always kept. The lines kept stay in their order, byte for byte.

// The lines of the data folder's log in file order (newest first). A missing log gives no
// line; a log that cannot be read (or is no UTF-8 text) fails, the reason naming the log. Lines
// without a tab are left out.
platform::ResultOf<QList<ExportLogLine>> readExportLog(const QString& dossier);

// The lines of one export run, in one write: one line per exported file first in the log of the
// folder, all dated now, the last file of the list first (as if each had been logged in turn);
// the older lines follow unchanged, as many as the bound keeps. The log is replaced atomically, so
// a failure leaves it byte for byte; a log that exists but cannot be read is left untouched and
// nothing is written. An empty list writes nothing. The reason names the log.
platform::Result logExports(const QString& dossier, const QStringList& nomsFichiers);

} // namespace common

// Puts a line for the exported file first in the log of the data folder (the setting
// "Paramètres"/"Dossier", default gstr_Dossier), dated now; the older lines follow unchanged.
// The log is replaced atomically. A log that exists but cannot be read is left untouched and
// nothing is written, so that its history is never lost; the failure says why, naming the log.
platform::Result sub_Log_Export(const QString& nomFichier);

// Start-up compaction, on the main window's work grid: loads the folder's log as tab text into
// the grid (column 1 the file name, column 2 the date), keeps for each file name the line with
// the latest date, and writes the log back within its bound (the grid then holds the lines
// written). A missing log gives an empty grid and an empty log; a log that cannot be read leaves
// the grid empty and the file untouched. A failure says why, naming the log.
platform::Result sub_Load_Log_Export(const QString& dossier, grid::Grid& travail);
