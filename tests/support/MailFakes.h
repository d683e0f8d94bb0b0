#pragma once
// Stand-ins for the machine's mail programs and the desktop's opener, and a reader of the
// messages the mail programs receive.
// A fake program is a shell script that stores its arguments in "<script>.args" (each ended by
// a NUL character) and its standard input in "<script>.input", writes a text on its error
// output and ends with a chosen exit code.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace testing_support {

struct FakeProgram
{
    int exitCode = 0;
    QString errorOutput;
    int sleepSeconds = 0; // stays running this long after storing what it received
    // Before sleeping, starts a child that ignores the request to end (SIGTERM) and sleeps for a
    // minute; the program's own process id goes to "<script>.pid", the child's to
    // "<script>.child".
    bool startsChild = false;
};

// Writes the script at `path` (its folder is created) and makes it executable.
bool writeFakeProgram(const QString& path, const FakeProgram& behaviour = {});
// What the program stored; nullopt when it never ran.
std::optional<QStringList> fakeArguments(const QString& path);
std::optional<QByteArray> fakeInput(const QString& path);
// The process ids the program wrote (startsChild); nullopt when it did not.
std::optional<qint64> fakePid(const QString& path);
std::optional<qint64> fakeChildPid(const QString& path);
// True when no process has this id any more, or only its remains (a zombie) wait to be reaped.
bool processGone(qint64 pid);

// An Internet message read back with the MIME library.
struct ReadMessage
{
    struct Attachment
    {
        QString fileName;
        QString contentType;
        bool base64 = false;
        QByteArray bytes; // decoded
    };
    QStringList to;
    QString subject;    // decoded
    QString rawSubject; // as it stands in the header
    QString body;       // the text part, decoded
    QList<Attachment> attachments;
};
std::optional<ReadMessage> readMessage(const QByteArray& bytes);

// Sets an environment variable for the lifetime of the object, then puts the old value back.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const std::optional<QByteArray>& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    QByteArray m_name;
    std::optional<QByteArray> m_previous;
};

} // namespace testing_support
