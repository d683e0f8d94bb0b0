#pragma once
// The reference tables shipped with the program. Each is kept as UTF-8 tab-separated text
// compiled into the program (header row first, one line per row, the data columns from column 1
// on) and written, once, into the program's own folder in the grid file format its readers load:
// the species, squares, habitats and communes tables in the complete grid format (code 0), the
// networks and both behaviours tables as workbooks (code 6). A table already in the folder is
// never replaced: a survey's coordinators put their own tables there.

#include <QList>
#include <QString>

namespace grid {
class Grid;
}

namespace data {

struct StarterTable
{
    QString resource;           // the compiled-in text
    QString fileName;           // the file name in the program's folder
    int format = 0;             // grid file code the readers load it with
    QList<int> checkBoxColumns; // check-box columns: "1" ticked, "2" or empty unticked
};

// Every shipped table, in the order they are installed.
const QList<StarterTable>& starterTables();

// Builds a grid from a table text: row 0 is the header (a title beginning with "^" centres its
// column), every following line a data row; column 0 is the fixed left column and stays empty.
// The grid ends with one fixed row and one fixed column. Returns an empty text on success, or
// why the text is not a table (the grid is then left as it was).
QString gridFromText(grid::Grid& grille, const QString& texte, const QList<int>& checkBoxColumns = {});

// Builds a shipped table's grid from its compiled-in text.
QString starterGrid(grid::Grid& grille, const StarterTable& table);

enum class InstallState { Installed, AlreadyThere, Failed };

struct TableInstallation
{
    QString fileName;
    InstallState state = InstallState::Failed;
    QString error; // why it failed, in French; empty otherwise
};

// Writes every shipped table that the folder does not hold yet (a file of the same name in any
// letter case counts as present), creating the folder when needed. Each file appears complete
// or not at all, and an existing file is never replaced, even one that appeared meanwhile.
QList<TableInstallation> installStarterTables(const QString& programFolder);

} // namespace data
