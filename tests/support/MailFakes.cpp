// GMime (and glib with it) comes first, before any Qt header.
#include <gmime/gmime.h>

#include "tests/support/MailFakes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <memory>
#include <mutex>

namespace testing_support {

namespace {
QString shellQuoted(const QString& text)
{
    QString q = text;
    q.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

std::optional<QByteArray> readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.readAll();
}
} // namespace

bool writeFakeProgram(const QString& path, const FakeProgram& behaviour)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QFile::remove(path + QStringLiteral(".args"));
    QFile::remove(path + QStringLiteral(".input"));
    QFile::remove(path + QStringLiteral(".pid"));
    QFile::remove(path + QStringLiteral(".child"));
    QString script = QStringLiteral("#!/bin/sh\n"
                                    "PATH=/usr/bin:/bin\n"
                                    "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$0.args.tmp\"\n"
                                    "cat > \"$0.input.tmp\"\n"
                                    "mv \"$0.input.tmp\" \"$0.input\"\n"
                                    "mv \"$0.args.tmp\" \"$0.args\"\n");
    if (behaviour.startsChild)
        // An ignored signal stays ignored across exec: the sleeping child does not end on SIGTERM.
        script += QStringLiteral("(trap '' TERM; exec sleep 60) &\n"
                                 "echo $! > \"$0.child.tmp\"\n"
                                 "mv \"$0.child.tmp\" \"$0.child\"\n"
                                 "echo $$ > \"$0.pid.tmp\"\n"
                                 "mv \"$0.pid.tmp\" \"$0.pid\"\n");
    if (!behaviour.errorOutput.isEmpty())
        script += QStringLiteral("printf '%s' %1 >&2\n").arg(shellQuoted(behaviour.errorOutput));
    if (behaviour.sleepSeconds > 0)
        script += QStringLiteral("sleep %1\n").arg(behaviour.sleepSeconds);
    script += QStringLiteral("exit %1\n").arg(behaviour.exitCode);

    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(script.toUtf8()) < 0)
        return false;
    f.close();
    return f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

std::optional<QStringList> fakeArguments(const QString& path)
{
    const std::optional<QByteArray> raw = readAll(path + QStringLiteral(".args"));
    if (!raw)
        return std::nullopt;
    QStringList args;
    for (const QByteArray& a : raw->split('\0'))
        args << QString::fromUtf8(a);
    args.removeLast(); // after the last NUL
    return args;
}

std::optional<QByteArray> fakeInput(const QString& path) { return readAll(path + QStringLiteral(".input")); }

namespace {
std::optional<qint64> pidIn(const QString& file)
{
    const std::optional<QByteArray> raw = readAll(file);
    bool ok = false;
    const qint64 pid = raw ? raw->trimmed().toLongLong(&ok) : 0;
    if (!ok || pid <= 0)
        return std::nullopt;
    return pid;
}
} // namespace

std::optional<qint64> fakePid(const QString& path) { return pidIn(path + QStringLiteral(".pid")); }
std::optional<qint64> fakeChildPid(const QString& path) { return pidIn(path + QStringLiteral(".child")); }

bool processGone(qint64 pid)
{
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
        return true;
    // A process whose parent ended is reaped by the system's first process, when that one does.
    // "/proc/<pid>/stat" reads "pid (name) state ..."; the name may hold blanks and brackets.
    const std::optional<QByteArray> stat = readAll(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat)
        return true;
    const qsizetype end = stat->lastIndexOf(')');
    return end >= 0 && stat->mid(end + 2, 1) == "Z";
}

namespace {
struct Unref
{
    void operator()(gpointer p) const
    {
        if (p)
            g_object_unref(p);
    }
};
template <typename T> using Ref = std::unique_ptr<T, Unref>;

QString takeText(char* text)
{
    const QString s = QString::fromUtf8(text);
    g_free(text);
    return s;
}

void collect(GMimeObject* parent, GMimeObject* part, gpointer data)
{
    auto* m = static_cast<ReadMessage*>(data);
    if (!GMIME_IS_PART(part))
        return;
    GMimePart* p = GMIME_PART(part);
    if (g_mime_part_is_attachment(p)) {
        ReadMessage::Attachment a;
        a.fileName = QString::fromUtf8(g_mime_part_get_filename(p));
        a.contentType = takeText(g_mime_content_type_get_mime_type(g_mime_object_get_content_type(part)));
        a.base64 = g_mime_part_get_content_encoding(p) == GMIME_CONTENT_ENCODING_BASE64;
        Ref<GMimeStream> out(g_mime_stream_mem_new());
        g_mime_data_wrapper_write_to_stream(g_mime_part_get_content(p), out.get());
        GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(out.get()));
        a.bytes = QByteArray(reinterpret_cast<const char*>(bytes->data), qsizetype(bytes->len));
        m->attachments.append(a);
    } else if (GMIME_IS_TEXT_PART(part) && m->body.isNull()) {
        m->body = takeText(g_mime_text_part_get_text(GMIME_TEXT_PART(part)));
    }
}
} // namespace

std::optional<ReadMessage> readMessage(const QByteArray& bytes)
{
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });

    Ref<GMimeStream> in(g_mime_stream_mem_new_with_buffer(bytes.constData(), size_t(bytes.size())));
    Ref<GMimeParser> parser(g_mime_parser_new_with_stream(in.get()));
    Ref<GMimeMessage> msg(g_mime_parser_construct_message(parser.get(), nullptr));
    if (!msg)
        return std::nullopt;

    ReadMessage m;
    InternetAddressList* to = g_mime_message_get_addresses(msg.get(), GMIME_ADDRESS_TYPE_TO);
    for (int i = 0; i < internet_address_list_length(to); ++i) {
        InternetAddress* a = internet_address_list_get_address(to, i);
        if (INTERNET_ADDRESS_IS_MAILBOX(a))
            m.to << QString::fromUtf8(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(a)));
    }
    m.subject = QString::fromUtf8(g_mime_message_get_subject(msg.get()));
    GMimeHeader* h =
        g_mime_header_list_get_header(g_mime_object_get_header_list(GMIME_OBJECT(msg.get())), "Subject");
    if (h)
        m.rawSubject = QString::fromUtf8(g_mime_header_get_raw_value(h)).trimmed();
    g_mime_message_foreach(msg.get(), collect, &m);
    return m;
}

ScopedEnv::ScopedEnv(const char* name, const std::optional<QByteArray>& value) : m_name(name)
{
    if (qEnvironmentVariableIsSet(name))
        m_previous = qgetenv(name);
    if (value)
        qputenv(name, *value);
    else
        qunsetenv(name);
}

ScopedEnv::~ScopedEnv()
{
    if (m_previous)
        qputenv(m_name.constData(), *m_previous);
    else
        qunsetenv(m_name.constData());
}

} // namespace testing_support
