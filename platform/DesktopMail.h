#pragma once
// The machine's mail programs. The compose window is the desktop's mail client, reached through
// "xdg-email" found on the search path. Messages sent at once are handed, as Internet messages,
// to the system's sendmail interface ("/usr/sbin/sendmail -t -oi", as msmtp-mta, postfix or exim
// install it), or to the command named by the environment variable MIRELOT_SENDMAIL. Programs are
// started with an argument list, never through a shell, each in a session of its own; while the
// program waits for them the event loop runs, and the wait observer (Mail::setWaitObserver) can
// show the wait and stop it. A program stopped or out of time is ended with every process it
// started.

#include "platform/Mail.h"

#include <QStringList>
#include <chrono>

namespace platform {

class DesktopMail : public Mail
{
public:
    Result signOn(MailTransport needed) override;
    void signOff() override;
    bool isSignedOn() const override { return m_signedOn; }
    Result send(const MailMessage& message, MailTransport transport) override;

    // The sendmail command: MIRELOT_SENDMAIL split into words at blanks (double quotes group words
    // with blanks), or
    // the system's sendmail with "-t -oi" when the variable is unset or blank.
    static QStringList sendCommand();
    // The program of a transport as it will be started, with its full path; empty when missing.
    static QString programPath(MailTransport t);
    // The arguments given to "xdg-email" for a message.
    static QStringList composeArguments(const MailMessage& message);

    // How long "xdg-email" may take to hand the message over. Some clients keep it waiting
    // until they are closed: after this delay the client is left running and the message
    // counts as handed over. Stopped by the user before, it is ended.
    std::chrono::milliseconds composeWait{5000};
    // How long the sendmail command may take to accept a message; after this delay it is ended
    // and the send fails.
    std::chrono::milliseconds sendWait{120000};
    // A wait shorter than this is not shown to the wait observer.
    std::chrono::milliseconds showWaitAfter{500};

private:
    Result compose(const MailMessage& message);
    Result sendAtOnce(const MailMessage& message);

    bool m_signedOn = false;
};

} // namespace platform
