#pragma once
// The data folder: established at the first start, stamped with the program's version at every
// start, and the path and folder helpers that go with it.

#include "platform/Result.h"

#include <QString>
#include <functional>

namespace common {
struct PathParts
{
    QString drive;     // "C:" or empty
    QString folder;    // the directories between drive and name, no trailing separator
    QString name;      // the last component without its extension
    QString extension; // without the dot
    bool operator==(const PathParts&) const = default;
};
} // namespace common

// Cuts a path at its last separator ("\" or "/") and its name's last dot.
common::PathParts sub_Split_Path(const QString& chemin);

// 0 when the folder exists or has been created (after the user's OK, every level), -1 otherwise.
// A bare root is refused without a question. The process's current folder is not changed.
qint16 sub_Vérif_Dossier(const QString& chemin);

namespace common {

// The folder proposed at a first start: the user's home folder and the program's name.
QString proposedDataFolder();

// Creates every level of the folder and checks that a file can be written in it (a probe file
// of a name no other file has, created, written and removed at once). Fails, saying why, when
// it cannot.
platform::Result probeFolder(const QString& dossier);

} // namespace common

// Shows the data-folder chooser with the given caption and folder; returns the folder chosen,
// or "" when the user left it without a choice.
namespace common {
using FolderChoice = std::function<QString(const QString& title, const QString& proposedFolder)>;

enum class StartOutcome { Continue, Quit };
} // namespace common

// Stamps the version, and on a first start (no version, or no folder recorded) asks where the
// data folder goes; proposes to move a recorded folder to the standard one. Sets gstr_Dossier.
// Quit when the user cancelled: the program must end.
common::StartOutcome sub_Init_Version_Dossier(const common::FolderChoice& choisir);
