// GMime (and glib with it) comes first, before any Qt header.
#include <gmime/gmime.h>

#include "platform/MimeMessage.h"
#include "platform/SaveFile.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <cerrno>
#include <memory>
#include <mutex>

namespace platform::mime {

namespace {

void initOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

struct Unref
{
    void operator()(gpointer p) const
    {
        if (p)
            g_object_unref(p);
    }
};
template <typename T> using Ref = std::unique_ptr<T, Unref>;

// A part holding the file's bytes, base64-encoded, named after the file.
ResultOf<Ref<GMimePart>> attachmentPart(const QString& path)
{
    using Part = ResultOf<Ref<GMimePart>>;
    QFile file(path);
    const auto unreadable = [&](int err) {
        const QString why =
            QFileInfo::exists(path) ? fileErrorReason(err) : QStringLiteral("le fichier n'existe pas");
        return Part::failure(QStringLiteral("Pièce jointe illisible : « %1 » (%2).").arg(path, why));
    };
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(errno);
    errno = 0;
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return unreadable(errno);

    const QString mimeName = QMimeDatabase().mimeTypeForFile(path).name();
    const qsizetype slash = mimeName.indexOf(QLatin1Char('/'));
    const QByteArray type = slash > 0 ? mimeName.left(slash).toUtf8() : QByteArray("application");
    const QByteArray subtype = slash > 0 ? mimeName.mid(slash + 1).toUtf8() : QByteArray("octet-stream");

    Ref<GMimePart> part(g_mime_part_new_with_type(type.constData(), subtype.constData()));
    Ref<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(data.constData(), size_t(data.size())));
    Ref<GMimeDataWrapper> content(
        g_mime_data_wrapper_new_with_stream(stream.get(), GMIME_CONTENT_ENCODING_DEFAULT));
    g_mime_part_set_content(part.get(), content.get());
    g_mime_object_set_disposition(GMIME_OBJECT(part.get()), GMIME_DISPOSITION_ATTACHMENT);
    g_mime_part_set_filename(part.get(), QFileInfo(path).fileName().toUtf8().constData());
    g_mime_part_set_content_encoding(part.get(), GMIME_CONTENT_ENCODING_BASE64);
    return Part::success(std::move(part));
}

// The body in UTF-8, its last line ended like the others.
GMimePart* textPart(const QString& text)
{
    QByteArray utf8 = text.toUtf8();
    if (!utf8.isEmpty() && !utf8.endsWith('\n'))
        utf8.append('\n');
    GMimePart* part = g_mime_part_new_with_type("text", "plain");
    g_mime_object_set_content_type_parameter(GMIME_OBJECT(part), "charset", "utf-8");
    Ref<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(utf8.constData(), size_t(utf8.size())));
    Ref<GMimeDataWrapper> content(
        g_mime_data_wrapper_new_with_stream(stream.get(), GMIME_CONTENT_ENCODING_DEFAULT));
    g_mime_part_set_content(part, content.get());
    return part;
}

} // namespace

ResultOf<QByteArray> build(const MailMessage& message, const QDateTime& date)
{
    initOnce();

    Ref<GMimeMessage> msg(g_mime_message_new(TRUE));
    for (const QString& r : message.recipients)
        g_mime_message_add_mailbox(msg.get(), GMIME_ADDRESS_TYPE_TO, nullptr, r.toUtf8().constData());
    g_mime_message_set_subject(msg.get(), message.subject.toUtf8().constData(), "utf-8");
    if (date.isValid()) {
        GDateTime* when = g_date_time_new_from_unix_local(date.toSecsSinceEpoch());
        g_mime_message_set_date(msg.get(), when);
        g_date_time_unref(when);
    }

    Ref<GMimePart> body(textPart(message.bodyText()));

    if (message.attachments.isEmpty()) {
        g_mime_message_set_mime_part(msg.get(), GMIME_OBJECT(body.get()));
    } else {
        Ref<GMimeMultipart> mixed(g_mime_multipart_new_with_subtype("mixed"));
        g_mime_multipart_add(mixed.get(), GMIME_OBJECT(body.get()));
        for (const MailAttachment& a : message.attachments) {
            ResultOf<Ref<GMimePart>> part = attachmentPart(a.path);
            if (!part)
                return ResultOf<QByteArray>::failure(std::move(part.result));
            g_mime_multipart_add(mixed.get(), GMIME_OBJECT(part.value.get()));
        }
        g_mime_message_set_mime_part(msg.get(), GMIME_OBJECT(mixed.get()));
    }
    // Every part made safe for a 7-bit transport: quoted-printable or base64 where needed.
    g_mime_object_encode(GMIME_OBJECT(msg.get()), GMIME_ENCODING_CONSTRAINT_7BIT);

    Ref<GMimeStream> out(g_mime_stream_mem_new());
    if (g_mime_object_write_to_stream(GMIME_OBJECT(msg.get()), nullptr, out.get()) < 0)
        return ResultOf<QByteArray>::failure(QStringLiteral("Le message n'a pas pu être composé."));
    GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(out.get()));
    return ResultOf<QByteArray>::success(
        QByteArray(reinterpret_cast<const char*>(bytes->data), qsizetype(bytes->len)));
}

} // namespace platform::mime
