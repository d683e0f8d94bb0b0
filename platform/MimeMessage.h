#pragma once
// Internet messages (MIME) for the mail transport that sends at once. The library that builds
// them pulls in glib, so it stays inside MimeMessage.cpp; this header shows only Qt types.

#include "platform/Mail.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace platform::mime {

struct Built
{
    QByteArray bytes; // the message, lines ended by line feeds, ready for "sendmail -t"
    QString error;    // why no message could be built; empty on success
};

// The message with its recipients in "To", the subject and the body in UTF-8 (the body's last
// line ended by a line feed, like every other line), and one base64 part per attachment
// carrying the file's name and bytes. Fails when an attachment cannot be read.
Built build(const MailMessage& message, const QDateTime& date);

} // namespace platform::mime
