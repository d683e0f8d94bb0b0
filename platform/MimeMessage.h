#pragma once
// Internet messages (MIME) for the mail transport that sends at once. The library that builds
// them pulls in glib, so it stays inside MimeMessage.cpp; this header shows only Qt types.

#include "platform/Mail.h"
#include "platform/Result.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace platform::mime {

// The message with its recipients in "To", the subject and the body in UTF-8 (the body's last
// line ended by a line feed, like every other line), and one base64 part per attachment
// carrying the file's name and bytes; lines ended by line feeds, ready for "sendmail -t". Fails
// when an attachment cannot be read.
ResultOf<QByteArray> build(const MailMessage& message, const QDateTime& date);

} // namespace platform::mime
