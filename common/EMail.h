#pragma once
// The program's e-mail service: open a mail session, send messages in it, close it. The
// record list mails export files, circulars and reminders through it; the about box opens a
// message to the contact address. Nothing here shows a box: failures come back to the caller.

#include "platform/Mail.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace grid {
class Grid;
}

namespace common::email {

// The address book of the correspondents: its path is the setting "Adresses email", by default
// "email.DOV" in the program's folder, found as every reference table is (common::tablePath).
QString addressBookPath();
// A correspondent of the address book: the address (column 2) and whether its "Sélection" box
// (column 1) is ticked, that is whether the records go to it.
struct Correspondent
{
    QString address;
    bool ticked = false;
};
// The rows of a loaded address book whose address is not blank, in order.
QList<Correspondent> correspondentsOf(const grid::Grid& book);

// Recipients: every blank removed, split at ";", empty parts dropped.
QStringList recipientList(const QString& recipients);
// Attachments: split at ";", blanks kept (they belong to the paths), empty parts dropped.
QStringList attachmentList(const QString& attachments);

// One message as the service sends it: the recipients, the subject, the note text followed by
// one blank per attachment, each attachment standing on its own blank after the text, in order.
platform::MailMessage composeMessage(const QString& recipients, const QString& subject,
                                     const QString& noteText, const QString& attachments);
// The same with the attachments as a list of paths, taken whole: a path may hold a ";".
platform::MailMessage composeMessage(const QString& recipients, const QString& subject,
                                     const QString& noteText, const QStringList& attachments);

} // namespace common::email

// Opens the mail session that the following sends share. Fails when it cannot be opened, saying
// why (the mail program or command that is missing, by its name); nothing is shown. The
// hourglass shows while the session opens, as it does while a message is sent.
// `showDialog` names the transport the following sends use: False (sent at once, as the export
// mailing and the reminders do) or True (the compose window, as the circular does).
[[nodiscard]] platform::Result sub_Envoi_EMail_Open(bool showDialog = false);

// Sends one message. With `sessionOpen` False a session is opened for this message and closed
// after it. The recipients and attachments are checked before anything is handed to the mail
// transport: on any fault nothing is sent. A failure, including a session that cannot be opened,
// sets `failed` to True and `errorText` to its description; success leaves both untouched.
// `messageOption` is accepted for the callers, which all pass False; it changes nothing.
void sub_Envoi_EMail(bool sessionOpen, const QString& recipients, const QString& subject,
                     const QString& noteText, const QString& attachments, bool showDialog, bool& failed,
                     QString& errorText, bool messageOption = false);
// The same with the attachments as a list of paths, taken whole: a path may hold a ";".
void sub_Envoi_EMail(bool sessionOpen, const QString& recipients, const QString& subject,
                     const QString& noteText, const QStringList& attachments, bool showDialog, bool& failed,
                     QString& errorText, bool messageOption = false);

// Closes the session. The pointer is left as it shows: the hourglass of a caller that mails
// several messages is taken back by that caller.
void sub_Envoi_EMail_Close();

namespace common::email {
// True while the session opened by sub_Envoi_EMail_Open is open. A send that the user stopped
// (the wait window's "Arrêter") ends the session: a caller mailing several messages ends its run
// there.
bool sessionOpen();
} // namespace common::email
