#pragma once
// Sending e-mail through the machine's mail programs: a session is opened (sign on), messages are
// sent in it, either through the desktop's compose window for the user to finish, or at once,
// and the session is closed (sign off). Every failure comes back with its reason, nothing is shown.

#include "platform/Result.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace platform {

class WaitObserver;

// How a message leaves the program.
enum class MailTransport {
    ComposeWindow, // the desktop's mail client opens the message for the user to finish and send
    SendAtOnce,    // the message is handed to the system's mail transport without a window
};

struct MailAttachment
{
    QString path;
    // The character of the note text on which the attachment stands (a placeholder blank).
    int position = -1;

    bool operator==(const MailAttachment&) const = default;
};

struct MailMessage
{
    QStringList recipients; // addresses, in order
    QString subject;
    QString noteText; // the body, with one placeholder character per attachment
    QList<MailAttachment> attachments;

    // The body as the recipient reads it: the note text without the characters on which the
    // attachments stand.
    QString bodyText() const;

    bool operator==(const MailMessage&) const = default;
};

// True when the text has the shape of an e-mail address: one "@" between a non-empty local part
// and a domain, no blank, no control character and none of the characters that separate or
// quote addresses in a header.
bool isMailAddress(const QString& text);

// The faults that would make a transport refuse the message, checked before anything is handed
// on: a recipient that is no address, no recipient for a message sent at once, an attachment
// that is missing, not a file or unreadable. Fails with the first fault's description.
Result checkMessage(const MailMessage& message, MailTransport transport);

class Mail
{
public:
    virtual ~Mail() = default;
    // Opens the session, for messages that will leave through the given transport. Fails when
    // that transport is missing on this machine. Signing on again while signed on keeps the one
    // session.
    virtual Result signOn(MailTransport needed) = 0;
    virtual void signOff() = 0;
    virtual bool isSignedOn() const = 0;
    // Sends one message in the open session. A message with a fault (see checkMessage) is not
    // handed on at all. A send that the user stops through the wait observer fails and ends the
    // session: the user stopped the mailing, not only this message.
    virtual Result send(const MailMessage& message, MailTransport transport) = 0;

    // Shows a send that keeps the program waiting for a mail program, and lets the user stop it
    // (platform/ChildProcess.h); none by default. The observer must outlive the service's use.
    void setWaitObserver(WaitObserver* observer) { m_waitObserver = observer; }
    WaitObserver* waitObserver() const { return m_waitObserver; }

private:
    WaitObserver* m_waitObserver = nullptr;
};

// Descriptions shared by the transports.
namespace mailtext {
QString notSignedOn();
QString transportMissing(MailTransport t, const QString& program);
// The desktop's opener found no mail program to give the message to.
QString noMailClient(const QString& opener);
} // namespace mailtext

} // namespace platform
