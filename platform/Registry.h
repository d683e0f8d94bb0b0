#pragma once
// A small hierarchical settings store with the shape of the Windows registry: two hives, keys
// and values whose names compare without regard to case, typed values, enumeration by index
// and key deletion. The whole store lives in one file, written through the one save routine
// after every change, so a value written reads back unchanged after a restart.
//
// Two running copies of the program may share the file. A change takes a lock file beside the
// store, reads the store again from disk, makes only this copy's own change there and writes the
// result back; this copy then reads the merged store. A change that could not be written stays
// in memory, is read back for the rest of the session, and is written with the next change.

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <memory>

namespace platform {

enum class Hive { LocalMachine, CurrentUser };

// Value types, numbered as the registry numbers them.
enum class RegType : int { None = 0, Sz = 1, ExpandSz = 2, Binary = 3, Dword = 4, MultiSz = 7 };

// Status codes, numbered as the registry numbers them.
namespace reg {
inline constexpr long Success = 0;
inline constexpr long FileNotFound = 2;
inline constexpr long AccessDenied = 5;
inline constexpr long InvalidParameter = 87;
inline constexpr long MoreData = 234;
inline constexpr long NoMoreItems = 259;
inline constexpr long WriteFault = 29;
} // namespace reg

struct RegValue
{
    RegType type = RegType::None;
    QString text;      // Sz, ExpandSz, MultiSz (MultiSz parts separated by NUL characters)
    quint32 dword = 0; // Dword
    QByteArray bytes;  // Binary and any other type

    static RegValue fromText(const QString& t) { return {RegType::Sz, t, 0, {}}; }
    static RegValue fromDword(quint32 v) { return {RegType::Dword, {}, v, {}}; }
    static RegValue fromBytes(RegType type, const QByteArray& b) { return {type, {}, 0, b}; }
    bool operator==(const RegValue&) const = default;
};

class Registry
{
public:
    // Opens the store kept in the given file. A missing file gives an empty store; a file that
    // cannot be read or parsed is renamed aside (never replaced by an empty store) and the
    // store starts empty. An empty path gives a store that lives in memory only.
    // Changes return WriteFault when the file could not be written (see lastWriteError()).
    explicit Registry(const QString& storeFile);
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // The store file for this user: $MIRELOT_HOME/registry.json when MIRELOT_HOME is set,
    // otherwise registry.json in the application's configuration folder.
    static QString defaultStoreFile();

    QString storeFile() const;
    // Where an unreadable store file was put aside at opening, or empty.
    QString setAsideFile() const;
    // Why the store file could be neither read nor put aside at opening (French, naming the
    // file), or empty. The file is then left untouched and no change of this session is kept.
    QString openingProblem() const;
    // Why the last change could not be written (French, naming the file); empty once a change
    // is written again.
    QString lastWriteError() const;
    // Whether the user has been told during this session that changes are not kept.
    bool failureReported() const;
    void setFailureReported();

    // Keys are paths whose parts are separated by backslashes ("SOFTWARE\Mirelot\Paramètres").
    bool keyExists(Hive hive, const QString& path) const;
    long createKey(Hive hive, const QString& path);
    // Deletes the key and everything below it. The hive's root cannot be deleted.
    long deleteKey(Hive hive, const QString& path);

    // FileNotFound when the key or the value is missing.
    long queryValue(Hive hive, const QString& path, const QString& name, RegValue* out) const;
    // FileNotFound when the key is missing (the key is not created).
    long setValue(Hive hive, const QString& path, const QString& name, const RegValue& value);
    long deleteValue(Hive hive, const QString& path, const QString& name);

    // Enumeration in creation order. NoMoreItems past the end, FileNotFound for a missing key,
    // MoreData when the name does not fit a buffer of bufferSize characters (its terminating
    // NUL included); the name is then not delivered.
    long enumKey(Hive hive, const QString& path, int index, QString* name, int bufferSize = 2000) const;
    long enumValue(Hive hive, const QString& path, int index, QString* name, int bufferSize = 2000) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace platform
