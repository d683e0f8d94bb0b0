#pragma once
// The machine's mail programs. The compose window is the desktop's mail client, reached through
// "xdg-email" found on the search path. Messages sent at once are handed, as Internet messages,
// to the system's sendmail interface ("/usr/sbin/sendmail -t -oi", as msmtp-mta, postfix or exim
// install it), or to the command named by the environment variable MIRELOT_SENDMAIL. Programs are
// started with an argument list, never through a shell.

#include "platform/Mail.h"

#include <QStringList>
#include <chrono>

namespace platform {

class DesktopMail : public Mail
{
public:
    bool signOn(MailTransport needed, QString* why = nullptr) override;
    void signOff() override;
    bool isSignedOn() const override { return m_signedOn; }
    bool send(const MailMessage& message, MailTransport transport, QString& errorText) override;

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
    // counts as handed over.
    std::chrono::milliseconds composeWait{5000};
    // How long the sendmail command may take to accept a message.
    std::chrono::milliseconds sendWait{120000};

private:
    bool compose(const MailMessage& message, QString& errorText);
    bool sendAtOnce(const MailMessage& message, QString& errorText);

    bool m_signedOn = false;
};

} // namespace platform
