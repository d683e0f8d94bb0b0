#pragma once
// The one way the program writes a file: the content goes whole to a temporary file beside the
// target, is flushed and checked, and only then replaces the target by a rename. On any failure
// the old file stays byte for byte, no temporary file is left, and the reason names the file and
// says in French what went wrong (full disk, permission denied, missing folder, read-only file
// system, a name too long, or a general case).
//
// The temporary file has a short hidden name of its own (".mirelot-" and six characters), never
// one made from the target's: a name of the longest length the file system takes can be written
// again and again. It is locked while the save writes it; one that a copy killed midway left is
// removed at the next start (removeLeftoverSaveFiles). The content is flushed, checked and synced before the
// rename (QSaveFile's commit() on Qt 6.4 reports success after a failed write, and needs seven bytes more
// than the target's name).

#include "platform/Result.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>

class QIODevice;

namespace platform {

// What a save does with a symbolic link under the name it writes.
enum class Links {
    // A file of the data folder, which is shared ground: a link there is no file of the folder,
    // never written through (its file may be anywhere) nor replaced by a file.
    Refuse,
    // A file of the user's own outside the data folder (the settings store, a reference table, a
    // workbook he chose): a link to a plain file is followed, as desktop editors do; the file it
    // names is replaced through the same save, in its own folder, and the link stays.
    Follow,
};

// The file that a save following links writes for path: path itself, or the file its symbolic
// link names, through a chain of links (it may not exist yet: the save then makes it). A link to a
// folder, a FIFO or a device, or a loop of links, is refused with what stands there.
ResultOf<QString> followedPath(const QString& path);

// Writes bytes as the whole content of the file at path. A folder, a FIFO or a device at path is
// refused, and so is a link unless links are followed: the reason says what stands there. The file
// written keeps the mode of the file it replaces.
Result saveFile(const QString& path, const QByteArray& bytes, Links links = Links::Refuse);

// Lets writer write the whole content into the device; a failure abandons the save (the old file
// stays). Its reason is a fragment ("la feuille ne peut pas être ajoutée") that the save's
// reason takes after the file's name; a failure without one is a failed write, said from the
// system's error.
using ContentWriter = std::function<Result(QIODevice& out)>;
Result saveFile(const QString& path, const ContentWriter& writer, Links links = Links::Refuse);

// Copies a finished file (say a workbook built in a temporary folder) over the target.
Result saveFileFrom(const QString& path, const QString& source, Links links = Links::Refuse);

// What tells one version of a file from another: every save makes a new file (a new inode, whose
// generation tells it from a removed file whose number it took again), and a file written in
// place changes its size or its modification time (to the file system's tick). Taken without
// following a link; empty (exists() false) when there is no file.
struct FileVersion
{
    quint64 device = 0;
    quint64 inode = 0;
    quint64 generation = 0;
    qint64 size = -1;
    qint64 modifiedNs = 0;

    bool exists() const { return size >= 0; }
    bool operator==(const FileVersion&) const = default;
};
FileVersion fileVersion(const QString& path);

// The version of a file that a rename has just given the name path, from its version before: the
// same when the name holds the same file; the file under that name, on a file system that gives a
// renamed file a new inode number (a hard link on some FUSE folders), when it has the same size and
// time; before itself otherwise (another program was quicker), which no later check takes for the
// file there.
FileVersion versionAfterRename(const FileVersion& before, const QString& path);

// The permission bits of the plain file at path (a link not followed); -1 when there is none.
int fileMode(const QString& path);

// The outcome of a write or removal made only while the file is still the version expected.
struct [[nodiscard]] GuardedResult
{
    enum Outcome { Done, Changed, Gone, Failed };
    Outcome outcome = Failed;
    Result result;       // ok when done; the reason when failed
    FileVersion version; // done: the file written; changed: the file found
};

// Writes bytes over the file at path only while it is the version expected. The content goes
// whole to a temporary file, which then trades names with the target in one step of the file
// system; the file so taken out is checked, and when it is another version (written meanwhile by
// another program) the trade is undone at once: nothing is written (Changed, with the version
// found). The undoing trade is checked too: until the file it brings back is this save's own, the
// other program's file it brought is given back; a file is removed only once checked (the version
// expected, or this save's own). The trades and checks of copies of this program are made under a
// lock on the folder, so that they never interleave; where it cannot be had within a second they go
// on without it. No file at path: nothing is written (Gone). A link, a folder, a FIFO or a device
// at path is not replaced (Failed). The new file keeps the mode of the file it replaces.
//
// A file system that cannot trade names (FUSE passthroughs, CIFS, network folders) never has the
// file checked and then replaced by name: the file is first taken out of its name by a rename,
// which one copy alone can make, checked there, and the new content put under the name only where
// none is there; another version taken out goes back under its name. So two copies on two machines
// of one shared folder, which no folder lock reaches, never replace each other's save unasked.
// The version given for the file written is taken once it bears its name.
GuardedResult replaceFile(const QString& path, const QByteArray& bytes, const FileVersion& expected);

// Removes the file at path only when it is the version expected: it is first given a hidden name
// of its own in one step, checked there, and put back under its name when it is another version
// (Changed). Made under the folder's lock, as replaceFile. No file at path: nothing done (Gone); a
// link, a folder, a FIFO or a device is not removed (Failed).
GuardedResult removeFile(const QString& path, const FileVersion& expected);

// Writes bytes as a new file at path, never over another: the file appears complete or not at
// all, and a file that is at path, or comes there before the new one is complete, is kept (the
// save then fails, saying that a file of that name exists). written receives the new file's
// version, taken once it bears its name. mode: the permission bits of the file it takes the place
// of (a record renamed by its save, say); -1 gives the user's usual ones.
Result saveNewFile(const QString& path, const QByteArray& bytes, FileVersion* written = nullptr,
                   int mode = -1);

// Gives the file at from the name to, never replacing a file of that name. 0, or the system error
// number (EEXIST when a file has the name). A file system without renameat2's flags gives the
// name through a hard link; without hard links either, the name is checked free and taken under
// the folder's lock.
int renameWithoutReplacing(const QString& from, const QString& to);

// Removes the temporary files of saves that a copy killed midway left in the folder: the plain
// files named ".mirelot-" and six letters or digits, this user's, whose lock no running save holds
// and that have not changed for `settling` (a save making one at that moment may not have locked
// it yet). Other files, links and folders are never touched. Returns the number removed. A file
// that a copy stopped midway had taken out of its name to replace or remove it (".mirelot-", six
// letters or digits, "~" and its name), still this user's a `settling` after it was taken out, is
// never removed: it goes back under its name, or beside it (" (2)"...) when the name was taken.
int removeLeftoverSaveFiles(const QString& folder, std::chrono::seconds settling = std::chrono::seconds(60));

// The reason, in French, for a system error number (errno); a general text for others.
QString fileErrorReason(int errorNumber);

// "Le fichier « path » ne peut pas être écrit : reason."
QString writeFailureText(const QString& path, const QString& reason);
// "Le fichier « path » ne peut pas être lu : reason."
QString readFailureText(const QString& path, const QString& reason);

} // namespace platform
