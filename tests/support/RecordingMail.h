#pragma once
// The Mail service of the tests: records the messages it is asked to send and sends nothing.
// The transports it lacks make sign-on fail, as a machine without them would.

#include "platform/Mail.h"

#include <QList>
#include <QString>
#include <optional>

namespace testing_support {

class RecordingMail : public platform::Mail
{
public:
    struct Sent
    {
        platform::MailMessage message;
        platform::MailTransport transport;
    };

    platform::Result signOn(platform::MailTransport needed) override;
    void signOff() override;
    bool isSignedOn() const override { return m_signedOn; }
    platform::Result send(const platform::MailMessage& message, platform::MailTransport transport) override;

    bool hasComposeWindow = true;
    bool hasSendAtOnce = true;
    // When not empty, every send that passes the checks fails with this text.
    QString sendError;
    // When set, that many more sends pass the checks and go on as usual; the user stops the next
    // one: it fails and the session ends, as with a mail program stopped in the wait window.
    std::optional<int> sendsBeforeStop;

    QList<Sent> sent;
    int signOns = 0;
    int signOffs = 0;

private:
    bool available(platform::MailTransport t) const;

    bool m_signedOn = false;
};

} // namespace testing_support
