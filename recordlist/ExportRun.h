#pragma once
// The export of the records chosen in the record list, without the window: one workbook per
// record, one workbook holding every record, or the record files mailed to the ticked
// correspondents. The window hands over its choices, shows the boxes the outcome lists, refreshes
// the list and selects the same records again.
//
// Only what was written or sent counts: a record that is refused, a workbook that cannot be
// written or a mail that does not leave is a failure with its reason, is neither counted nor
// logged, and is never announced as created. The export log gets the lines of a run in one
// atomic write at its end. Workbooks are .xlsx files, never written over a record file.
//
// There is no "local" table in text form: the workbook of all the records is the table to use
// locally, and its columns are the ones Gadrel imports.

#include "platform/Dialogs.h"
#include "platform/Result.h"
#include "recordlist/RecordListing.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace grid {
class Grid;
}

namespace recordlist {

// ---- Before the run: what the selection allows, and the questions the window asks.

struct ExportSelection
{
    // The valid records among the selected ones, in list order: the ones to export.
    QStringList records;
    int notValid = 0;
    // Yes/No, exclamation: asked when some selected records are not valid ("No" ends).
    QString notValidQuestion;
    // Yes/No: the confirmation, naming the one record exported or the number of records; empty
    // when no record can be exported (the window then shows kNoRecordText).
    QString confirmation;
    // Several records: the captions of the one-workbook box and of the mail button.
    QString oneWorkbookCaption;
    QString mailCaption;
};
ExportSelection selectForExport(const QList<ListedRecord>& selected);

// Critical: no valid record among the selected ones.
inline const QString kNoRecordText = QStringLiteral("Veuillez sélectionner au moins un fichier.");
// The title of the questions above.
QString exportQuestionTitle();
// OK/Cancel, exclamation, before a mail run ("Cancel" ends).
QString mailWarningText();
QString mailWarningTitle();

// The save dialog of the one workbook: workbooks only, starting in the data folder.
platform::FileRequest combinedWorkbookRequest(const QString& dataFolder);

// ---- Target files.

// The workbook of one record in a folder: the record's name with its extension (".FLX2009" in
// any case, or any other) replaced by ".xlsx".
QString recordWorkbookPath(const QString& folder, const QString& recordFileName);
// The one workbook the user named: ".xlsx" kept, ".xls", ".txt" and ".csv" replaced by it, any
// other name given it; a relative name lies in the data folder.
QString combinedWorkbookPath(const QString& dataFolder, const QString& typed);

// ---- The run.

enum class ExportKind {
    WorkbookPerRecord, // one workbook per record, sheet "SHOC", in a chosen folder
    CombinedWorkbook,  // the records' rows one after the other in one workbook, sheet "STOC-EPS"
    Mail,              // the record files attached to one mail per ticked correspondent
};

struct ExportRequest
{
    ExportKind kind = ExportKind::WorkbookPerRecord;
    // The file names of the records to export (in the data folder), in list order.
    QStringList records;
    // Pays, Département, Commune and Lieudit; otherwise the coordinates only.
    bool withLocality = true;
    // One workbook per record: the folder chosen.
    QString targetFolder;
    // The one workbook: the file named by the user.
    QString combinedFile;
    // Mail: the ticked correspondents' addresses, in list order.
    QStringList recipients;
};

struct ExportFailure
{
    QString name;   // the record's file name, or the correspondent's address for a mail
    QString reason; // what the user is told
    bool operator==(const ExportFailure&) const = default;
};

// A box the window shows after the run, titled with the program's name.
struct ExportNotice
{
    QString text;
    int style = platform::mb::OKOnly;
    bool operator==(const ExportNotice&) const = default;
};

struct [[nodiscard]] ExportOutcome
{
    // A failure: the run did nothing at all (no target, a table or the mail session missing).
    platform::Result started = platform::Result::success();
    // The records written into a workbook or mailed, in list order.
    QStringList exported;
    // The workbooks written.
    QStringList files;
    // The sheets of the one workbook (rows beyond a sheet's limit go on further sheets).
    int sheets = 0;
    // Mails that left, one per correspondent.
    int mailsSent = 0;
    QList<ExportFailure> failures;
    // The export log's write; a failure leaves the log as it was.
    platform::Result log = platform::Result::success();
    // The list shows the dates of the log: read it again.
    bool refreshList = false;
    // The records the list selects again after its refresh, by file name.
    QStringList selectAgain;
    // The boxes to show, in order.
    QList<ExportNotice> notices;
};

class ExportRun
{
public:
    explicit ExportRun(const QString& dataFolder);
    // The run of the data folder the settings name.
    static ExportRun fromSettings();

    // The table is emptied, then holds the rows of the workbooks written, in order, under the
    // last record's column names (the window shows it); nothing for a mail. The one workbook is
    // written from it: its rows are not kept twice.
    ExportOutcome run(const ExportRequest& request, grid::Grid& table) const;
    // The same, the table left out.
    ExportOutcome run(const ExportRequest& request) const;

private:
    ExportOutcome runWorkbooks(const ExportRequest& request, grid::Grid& all) const;
    ExportOutcome runMail(const ExportRequest& request) const;

    QString m_folder;
};

} // namespace recordlist
