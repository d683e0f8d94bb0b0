#pragma once
// What the data-folder chooser decides without its window.

#include <QString>

namespace common {

// The label of a drive type: "Disque dur (fixe)", "Unité réseau", ... ; empty for a number
// that has none. A removable drive is a "Disquette" on drive A: or B:.
QString driveTypeCaption(int type, const QString& racine);

// A new folder can be made only on a fixed disk or a network drive.
bool canCreateFolderIn(const QString& chemin);
// The folder as the chooser hands it over: trimmed, absolute, cleaned.
QString cleanedFolder(const QString& saisi);
// The folder the tree opens at: the folder handed over (the current data folder), otherwise
// the folder chosen last; when that folder does not exist (yet), its nearest existing parent;
// the root of the file system when neither gives one.
QString startFolder(const QString& dossier, const QString& dernierChoix);

// The folder of the desktop place: the desktop directory where it exists, cleaned; "" when there
// is none, so that the chooser never offers a folder that the user did not pick.
QString desktopFolder(const QString& location);

} // namespace common

// The label of the storage that holds a folder.
QString fun_Get_Drive_Type(const QString& chemin);
