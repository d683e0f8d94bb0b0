#pragma once
// Bulk update of record files: one new value (the observer's e-mail address, the observer's name
// or the commune's name) written into every record file selected in the record list. Each file
// is read whole, one cell changed, and written back whole; a file that cannot be read, or that
// lacks the cell, is left as it is and named to the user at the end.

#include "platform/Result.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace grid {
class Grid;
}

namespace record {

// The actions of the record list's pop-up menu, by their menu index.
enum class UpdateAction : int { Email = 0, Observer = 1, Commune = 2 };

// The cell an action writes in a record file, by the file's name: a name whose first four
// characters are "EPS-" in any letter case has the older EPS layout, every other name the
// current one.
struct UpdateCell
{
    int row = 0;
    int col = 0;
    bool operator==(const UpdateCell&) const = default;
};
bool hasEpsLayout(const QString& fileName);
UpdateCell cellToUpdate(UpdateAction action, const QString& fileName);

// The record-file names of a grid's selected rows (column 1), in the grid's order. No grid
// gives no name.
QStringList selectedFiles(const grid::Grid* grid);

// A change made to a record file's grid in place; a failure leaves the file as it is.
using RecordChange = std::function<platform::Result(grid::Grid&)>;

// Changes the record file at path: read whole (within the bounds of a record file), changed, and
// written back whole over only the version read, so that another copy of the program saving the
// same record meanwhile loses nothing: its file is read again and the change made to it (at most
// ten times, then a failure saying that another program keeps changing it). A file renamed or
// deleted meanwhile is not written again; the reason says that it no longer exists.
platform::Result updateRecordFile(const QString& path, const RecordChange& change);

struct UpdateFailure
{
    QString fileName;
    QString reason; // in French, for the user
};

struct BulkUpdateResult
{
    bool abandoned = false;        // the user refused or cancelled, or the value was refused: no
                                   // file was touched
    QString refusal;               // why the value was refused (told to the user); empty otherwise
    QString value;                 // the value written
    QStringList updated;           // files written, in the order handled
    QList<UpdateFailure> failures; // files left as they were
};

// The whole action: confirmation, input box, question on an empty value, then each file in turn
// in the data folder (setting "Paramètres"/"Dossier", the program-wide data folder by default).
// Boxes go through the platform's dialogs. A value holding a tab, a line break or another control
// character is refused (common::checkSingleLine) before any file is touched. When some files
// could not be updated, a last box names them. An index outside 0..2 does nothing.
BulkUpdateResult updateRecordFiles(int index, const QStringList& fileNames);

// The click of the pop-up menu's item: the action on the files selected in the record list's
// grid (gobj_Grille_Liste).
BulkUpdateResult updateSelectedRecordFiles(int index);

} // namespace record
