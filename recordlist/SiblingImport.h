#pragma once
// The import of the records of the sibling program Pomerel. It keeps its records in the same data
// folder, as grid files named "Ravelin-*.*X" of the same sectioned kind as our record files, marked
// "Ravelin" in cell (1, 1) and with its own columns and codes. Each one becomes a record file
// (marks, date, habitat, site name, coordinates in Lambert II étendu, parcels, observer, e-mail or
// telephone, species table), written under the record's own name; only then is the source set
// aside, so that it is not imported twice.
//
// Nothing is lost on the way: a source that cannot be read or converted, whose record name is
// refused, or whose record cannot be written keeps its name and is offered again at the next
// import. A record already stored under the same name is replaced only when the user says so, and
// only as it was when he was asked (the former one is then set aside, never deleted); a point
// whose coordinates cannot be converted keeps the ones it came with. Two copies of the program
// importing at the same moment import each file once (see OlderFileConversion.h).

#include "platform/Result.h"
#include "recordlist/OlderFileConversion.h"

#include <QString>
#include <QStringList>

namespace grid {
class Grid;
}

namespace recordlist {

// The sibling's record files in the data folder (matched without regard to case), and the mark
// of cell (1, 1) that makes one a source.
inline const QString kSiblingMask = QStringLiteral("Ravelin-*.*X");
inline const QString kSiblingMark = QStringLiteral("Ravelin");

// What the record list's wait window follows. Nothing is called for a data folder without
// sibling files.
class ImportProgress
{
public:
    virtual ~ImportProgress() = default;
    // Before the first file: the number of files named like sibling records.
    virtual void importBegins(int fileCount) = 0;
    // After each file, whatever became of it.
    virtual void fileDone(int done, int fileCount, const QString& fileName) = 0;
    virtual void importEnds() = 0;
};

struct [[nodiscard]] SiblingConversion
{
    // Failure: why the grid holds no record (a row it needs is missing, a value cannot be read).
    platform::Result result;
    QString siteName; // "SHOC-" department "~" commune "~" place "~" name first name "~" season
    int passage = 0;  // 1 to 5

    // The record's file name: site name, "~Passage N", passage, ".FLX2009".
    QString fileName() const;
};

// Rewrites the grid of a sibling record file, marked "Ravelin", in place as a survey record.
SiblingConversion convertSiblingGrid(grid::Grid& grid);

struct ImportReport
{
    QStringList imported; // the record files written, in the order of the sources
    QStringList kept;     // records of the same name the user kept: their sources stay
    QStringList problems; // why a source was not imported, or was imported but not set aside
    // Gone when their turn came: another copy of the program imported them meanwhile. Nothing to
    // tell.
    QStringList doneElsewhere;
};

// Imports every sibling record file of the data folder, in the order of their names.
ImportReport sub_Migration_Pomerel_Mirelot(const QString& dataFolder, ImportProgress* progress = nullptr);
// The same in the data folder of the settings (setting "Dossier", the program-wide folder by
// default).
ImportReport sub_Migration_Pomerel_Mirelot(ImportProgress* progress = nullptr);

// The import of the record list's opening: the problems not told before in this run of the
// program are told in one box; a file that stays as it was is not named again at each opening.
ImportReport importAndTell(ToldOnce& told, ImportProgress* progress = nullptr);

} // namespace recordlist
