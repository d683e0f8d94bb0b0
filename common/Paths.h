#pragma once
// Folders and file names. Paths are built with "/"; in a folder typed or stored by users of the
// program's Windows ancestry "\" is read as a separator too. A file's name is taken literally,
// never as a path: a name found in a folder (or shown in a list made from one) that holds "\" or
// would lead elsewhere is refused with a reason. File names are matched without regard to case,
// as users of the program expect, and no rename replaces an existing file.

#include "platform/FolderFiles.h"
#include "platform/Result.h"

#include <QString>
#include <QStringList>

namespace common {

// The program's own folder (reference-table defaults, documentation): set at start.
QString programFolder();
void setProgramFolder(const QString& dossier);
// The program's own folder for this user: "Programme" in the folder named by MIRELOT_HOME when
// it is set, otherwise the per-user application data folder. Never the executable's folder:
// cleaning a build or replacing an installation must not take the user's tables with it.
QString defaultProgramFolder();

// "dossier" + separator + "fichier"; accepts "\" or "/" at the end of the folder.
QString joinPath(const QString& dossier, const QString& fichier);
// A path with every "\" read as "/", cleaned (no trailing separator except for the root).
QString normalisePath(const QString& chemin);

// The names (not paths) of the files of a folder matching a Windows-style mask ("*", "?";
// "SHOC-*.*FLX2009"), compared without regard to case, sorted by name without regard to case.
QStringList listFiles(const QString& dossier, const QString& masque);
// The names of a list that match such a mask (without regard to case), in the list's order: to
// pick several kinds of files out of one listing of a folder.
QStringList filterNames(const QStringList& noms, const QString& masque);
// A file's name is one name of the folder: not empty, not "." nor "..", without "/"; without
// "\", which the program's paths read as a separator; and, read from the folder, written in UTF-8
// (platform::folderFiles: another name would stand for it). And the file is one of the folder's
// own: no symbolic link, whatever it leads to, since the data folder's files are never read nor
// written through a link (the folder itself may be reached through one). The reason names the
// file and the folder.
platform::Result checkPlainName(const QString& dossier, const QString& nom);
// The same for a file of a listing of the folder, which tells whether it is a link.
platform::Result checkPlainName(const QString& dossier, const platform::FolderFile& fichier);

// Whether a name matches such a mask, without regard to case.
bool matchesMask(QStringView nom, QStringView masque);
// The files that listFiles names, in its order, each with its size and modification time: one pass
// over the folder, for a caller that looks again at what changed since its last look.
QList<platform::FolderFile> listFileStamps(const QString& dossier, const QString& masque);
// Whether two names are one file's name: equal ignoring case, and whether their accented letters
// are written composed or decomposed ("É" or "E" and a combining accent).
bool sameFileName(const QString& a, const QString& b);
// The path of the existing file of the folder whose name is the given name (sameFileName), or
// empty when there is none (or when the name is not a plain name of the folder).
QString findFile(const QString& dossier, const QString& nom);
// The same for a reader or writer of the data folder's files: refused, with checkPlainName's
// reason, when the name or the file found is not one of the folder's own.
platform::ResultOf<QString> findDataFile(const QString& dossier, const QString& nom);
// The name with " (k)" before its extension (platform/FolderFiles.h).
using platform::numberedName;
// The name itself when the folder has no file of that name (findFile), otherwise the first of
// "nom (2).ext", "nom (3).ext"... that is free.
QString freeName(const QString& dossier, const QString& nom);
// The path to use when writing a file of that name: the existing file whatever its case, or
// the name as given.
QString writePath(const QString& dossier, const QString& nom);
// Renames a file; refuses when a different file of the target name already exists, whatever its
// case, and when either name is not a plain name (checkPlainName). The paths are taken as they
// are: nothing in them is read as a separator but "/". The reason names the file.
platform::Result renameFile(const QString& source, const QString& cible);

// Earlier versions kept their tables in the executable's folder when they could write there.
// Copies each table found there (a ".DOV" file, in any letter case) into the program's folder
// when that folder has no file of the same name in any letter case; nothing is replaced and the
// originals stay. The reason, one line a table, when some could not be copied.
platform::Result takeOverEarlierTables(const QString& executableFolder, const QString& programFolder);
// The same at start into the program's folder, once: a failure is told in one box and tried
// again at the next start.
void takeOverEarlierTablesAtStart(const QString& executableFolder);

} // namespace common
