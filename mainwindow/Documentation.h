#pragma once
// The documentation menu lists the PDF documents that lie in the program's own folder.

#include <QString>
#include <QStringList>

namespace mainwindow {

// The menu has room for this many documents.
inline constexpr int kMaxDocuments = 20;

// The names (without folder) of the files of the folder whose extension is ".pdf" in any
// letter case, sorted by name without regard to case; at most kMaxDocuments of them.
// A missing folder gives an empty list.
QStringList listDocuments(const QString& dossier);

// A file name as a menu caption: "&" shows as itself instead of marking a shortcut letter.
QString documentMenuCaption(const QString& nomFichier);

} // namespace mainwindow
