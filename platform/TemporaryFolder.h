#pragma once
// The program's own temporary folders (a workbook put together before it is copied into place),
// in the system's temporary folder (TMPDIR). Each is named "mirelot-provisoire-" and six random
// characters, and holds the lock file ".en-cours", locked while the folder is in use: the
// system releases the lock when the program ends, however it ends. A folder left behind by a
// copy that was killed is removed at the next start, and only such a folder: one whose lock no
// running copy holds.

#include <QString>
#include <chrono>

namespace platform {

class TemporaryFolder
{
public:
    // A new folder in the system's temporary folder, or in `parent`.
    TemporaryFolder();
    explicit TemporaryFolder(const QString& parent);
    // Removes the folder and everything in it.
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    // False when the folder could not be made; errorString() says why.
    bool isValid() const { return !m_path.isEmpty(); }
    QString errorString() const { return m_error; }
    QString path() const { return m_path; }
    QString filePath(const QString& name) const;

private:
    QString m_path;
    QString m_error;
    int m_lock = -1;
};

// The beginning of the names of the program's temporary folders.
inline const QString kTemporaryFolderPrefix = QStringLiteral("mirelot-provisoire-");

// Removes the program's temporary folders that no running copy uses, from the system's temporary
// folder or from `parent`: those whose lock is free. A folder changed less than `settling` ago is
// left, as a copy starting at that moment may not have locked it yet. Other files and folders are
// never touched. Returns the number of folders removed.
int removeLeftoverTemporaryFolders();
int removeLeftoverTemporaryFolders(const QString& parent,
                                   std::chrono::seconds settling = std::chrono::seconds(60));

} // namespace platform
