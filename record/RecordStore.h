#pragma once
// The record files of the data folder: one file per record, named from the site name, "~Passage N",
// the passage number and ".FLX2009". File names are matched without regard to case. Every write
// goes through the program's save routine, so a failed write leaves the old file byte for byte;
// nothing is deleted before its replacement is written, and no file of another record is
// replaced without the user's consent.

#include "grid/GridFile.h"
#include "platform/Result.h"
#include "platform/SaveFile.h"
#include "record/RecordLayout.h"
#include "record/SurveyRecord.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace grid {
class Grid;
}

namespace record {

inline const QString kRecordExtension = QStringLiteral(".FLX2009");
// The longest file name the file systems take, in bytes (UTF-8).
inline constexpr int kMaxFileNameBytes = 255;

struct [[nodiscard]] SaveResult
{
    platform::Result result;
    // The user chose to keep the existing file of that name: nothing was written.
    bool declined = false;
    // The name the record was written under.
    QString fileName;
    // A file name appeared or went away: the record list must be read again.
    bool listChanged = false;
    // Written, but the user must be told something (the former file could not be removed).
    QString notice;
};

struct [[nodiscard]] SetAsideResult
{
    platform::Result result;
    QString fileName; // the name the file now bears
};

struct StoredPassages
{
    QList<int> passages;    // the passage index (0 to 4) of each file of the site, in listing order
    QStringList unreadable; // why a file of the site could not be read, one text per file
};

class RecordStore
{
public:
    explicit RecordStore(const QString& dataFolder);
    // The store of the data folder the settings name (setting "Dossier", the program-wide data
    // folder by default).
    static RecordStore fromSettings();

    const QString& folder() const { return m_folder; }

    // Site name + "~Passage N" + passage number + ".FLX2009".
    static QString fileName(const QString& siteName, int passage);
    // The passage number a record file's name ends with ("~Passage N3.FLX2009" gives 3, whatever
    // the case of its letters); 0 when it has none.
    static int passageOfFileName(const QString& fileName);
    // A record file name built from free text may be written only when it holds none of
    // / \ : * ? < > | " nor "..", no control character (C0, DEL, C1), line or paragraph
    // separator or direction mark, is not longer than 255 bytes and stays inside the data folder.
    // The reason names what is refused.
    platform::Result checkFileName(const QString& fileName) const;

    // The record files of a site: the names that begin with the site name (taken literally,
    // ignoring case) and end with ".FLX2009", sorted by name ignoring case.
    QStringList siteFiles(const QString& siteName) const;
    // The site's file of the highest passage; empty when the site has none.
    QString latestFile(const QString& siteName) const;
    // The passages the site's files hold (read from their date rows).
    StoredPassages storedPassages(const QString& siteName) const;

    // What a record file may hold at most (record/RecordFileLayout.h), for every reader of
    // record files and of the sibling's files.
    static grid::GridFile::Bounds fileBounds();

    // Loads a record file whole into the grid. A file that cannot be read, that is beyond the
    // bounds of a record file or is no file of the data folder (a link: common::checkPlainName)
    // leaves the grid as it was and the file untouched; the reason names the file. The store
    // remembers the version of the file read (taken before it is read).
    platform::Result load(const QString& fileName, grid::Grid& grid) const;
    // Loads and reads a record file.
    RecordReadResult open(const QString& fileName, const ReadOptions& options) const;

    // Writes the record under the name of its site and passage. openedFileName is the name of the
    // file the record was opened from (captured when it was opened; empty for a new record):
    // when the record's name has changed, the user is told that the file is renamed, the record
    // is written under its new name and only then the former file is removed. A file of the
    // target name that is not the record being modified is replaced only when the user says so.
    // A record beyond the bounds of a record file (checkFileBounds) is refused before anything is
    // asked or written. The grid written is left in *written when given.
    //
    // Two copies of the program may have the same record open. The store remembers the stamp of
    // each file it read or wrote (platform::FileVersion: inode, size, modification time to the
    // nanosecond); before the opened file is written over or renamed, its stamp is compared with
    // the remembered one: another copy's save in between
    // brings a question ("Oui" replaces that save, "Non" writes nothing), and an opened file that
    // is gone (renamed or set aside by another copy) is told, the record being saved as a new
    // record (with the question of any existing name). The write itself replaces only the version
    // checked (platform::replaceFile, platform::removeFile).
    SaveResult save(const SurveyRecord& record, const QString& openedFileName = QString(),
                    grid::Grid* written = nullptr) const;
    // The question asked when the opened file was changed by another copy since it was read or
    // written; and the message told when it is gone.
    static QString changedQuestion(const QString& fileName);
    static QString goneMessage(const QString& fileName, const QString& newName);

    // Sets a record file aside instead of deleting it: every "-" of its name becomes "@" (and
    // ".FLX" becomes ".@FLX"), so that no listing of records matches it any more. When a file of
    // that name is already there, " (2)", " (3)"... is added before the extension: nothing is
    // replaced. A name that is not a plain name of the data folder, or a link
    // (common::checkPlainName), is refused.
    SetAsideResult setAside(const QString& fileName) const;
    // The name setAside gives a file before it is made unique.
    static QString asideName(const QString& fileName);

    // For the tests: a step taken by save() between finding the file the record was opened from
    // and taking its version, where another copy of the program may remove or change it.
    void setBeforeOpenedFileCheck(std::function<void()> step) { m_beforeOpenedFileCheck = std::move(step); }

private:
    // Whether a record's grid, written, stays within fileBounds(), so that every reader takes it
    // again (complete: the grid saved whole, as it is to be written); the reason says that the
    // record is not saved and names the bound passed.
    static platform::Result checkFileBounds(const grid::Grid& written, const QByteArray& complete);
    // The version remembered for a file that this store read or wrote; an empty one when none.
    platform::FileVersion rememberedVersion(const QString& fileName) const;
    QString pathOf(const QString& fileName) const;
    void remember(const QString& fileName, const platform::FileVersion& version) const;

    QString m_folder;
    // The version of each file read or written, by its name in one letter case.
    mutable QHash<QString, platform::FileVersion> m_versions;
    std::function<void()> m_beforeOpenedFileCheck;
};

} // namespace record
