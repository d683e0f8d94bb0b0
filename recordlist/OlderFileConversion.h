#pragma once
// Record files of the earlier release, "SHOC-*-*.FLX" (letter case aside), turned into current
// ones ".FLX2009" at each refresh of the record list. Their content is a complete grid file of
// the same layout: only the name changes. For an older file N (its real name), with M its name in
// capitals:
//   - the backup:   "Save V2008/" + M, a copy of N's bytes;
//   - the record:   M + "2009", the grid read from N saved whole;
//   - N set aside:  M with every "-" turned into "@" and ".FLX" into ".@FLX", so that no listing
//                   matches it any more.
// Each file is read on its own; one that cannot be read, or whose record already exists, is left
// as it is and named in one box at the end. Nothing is ever replaced: a backup or set-aside name
// already taken gets " (2)", " (3)"... before its extension, and an existing record is kept. An
// existing record that holds the older file's very cells is this conversion's own, cut off before
// the older file was set aside: the older file is then backed up (unless it already is) and set
// aside.
//
// Two copies of the program may open the record list of one data folder at the same moment: each
// file is converted (or, for the sibling's files, imported) under a lock of the data folder, by
// one copy; the other, finding the file gone once it has the lock, passes over it. A lock that
// cannot be had (platform/FileLock.h: waited for once in a run of the program) is told once, and
// the files are converted and imported without it: both write under names found free (a record, a
// backup, a set-aside name) and set files aside by renames that replace nothing, so that a copy
// meeting the other on the same file at worst writes the same cells again, or names a file that
// the other has just set aside. Nothing is lost, where skipping the files would leave them to wait
// for the lock again at every refresh.

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace recordlist {

inline const QString kOlderMask = QStringLiteral("SHOC-*-*.FLX");
inline const QString kBackupFolder = QStringLiteral("Save V2008");
// The lock of the data folder held while one file is converted or imported.
inline const QString kConversionLockFile = QStringLiteral("Mirelot-conversion.lock");

// What the conversion shows while it works (the wait window). Called only when there is at least
// one older file.
class ConversionObserver
{
public:
    virtual ~ConversionObserver() = default;
    virtual void conversionBegins(int fileCount) = 0;
    // Before each file, index from 0.
    virtual void converting(int index, const QString& fileName) = 0;
    virtual void conversionEnds() = 0;
};

struct SkippedFile
{
    QString fileName; // the older file, as listed
    QString reason;   // in French, naming the file
    bool operator==(const SkippedFile&) const = default;
};

struct ConversionReport
{
    QStringList converted; // the older files converted, as listed
    QList<SkippedFile> skipped;
    // Converted, but the older file could not be set aside: it stays beside its record (and is
    // skipped at the next refresh, its record existing).
    QList<SkippedFile> notSetAside;
    // Gone when their turn came: another copy of the program converted them meanwhile. Nothing to
    // tell.
    QStringList doneElsewhere;
    // The data folder's lock could not be had, for a reason not told before: the sentence to tell.
    QString lockProblem;
};

// Converts the older files of the data folder: all of them, or those named (as the folder
// listing gives them).
ConversionReport convertOlderFiles(const QString& dataFolder, ConversionObserver* observer = nullptr);
ConversionReport convertOlderFiles(const QString& dataFolder, const QStringList& olderFiles,
                                   ConversionObserver* observer = nullptr);

// Remembers what the user was told, so that a file left unconverted, a record that the list
// cannot read or a sibling file that cannot be imported is named once, not at every refresh or
// opening of the list. The window keeps one for the run of the program.
class ToldOnce
{
public:
    // The files not told yet (same file, same reason), now taken as told.
    QList<SkippedFile> firstTime(const QList<SkippedFile>& files);
    // The same for reasons that name their file themselves.
    QStringList firstTime(const QStringList& reasons);

private:
    QSet<QString> m_told;
};

// The one box naming the files left unconverted.
QString unconvertedText(const QList<SkippedFile>& files);

// The refresh's step: converts the older files named, then tells in one box the files not told
// before and a lock that could not be had.
ConversionReport convertOlderFilesAndTell(const QString& dataFolder, const QStringList& olderFiles,
                                          ToldOnce& told, ConversionObserver* observer = nullptr);

} // namespace recordlist
