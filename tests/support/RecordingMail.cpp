#include "tests/support/RecordingMail.h"

namespace testing_support {

namespace {
QString transportProgram(platform::MailTransport t)
{
    return t == platform::MailTransport::ComposeWindow ? QStringLiteral("xdg-email") : QStringLiteral("sendmail");
}
} // namespace

bool RecordingMail::available(platform::MailTransport t) const
{
    return t == platform::MailTransport::ComposeWindow ? hasComposeWindow : hasSendAtOnce;
}

bool RecordingMail::signOn(platform::MailTransport needed, QString* why)
{
    ++signOns;
    if (!available(needed)) {
        if (why)
            *why = platform::mailtext::transportMissing(needed, transportProgram(needed));
        return false;
    }
    m_signedOn = true;
    return true;
}

void RecordingMail::signOff()
{
    ++signOffs;
    m_signedOn = false;
}

bool RecordingMail::send(const platform::MailMessage& message, platform::MailTransport transport, QString& errorText)
{
    if (!m_signedOn) {
        errorText = platform::mailtext::notSignedOn();
        return false;
    }
    if (!available(transport)) {
        errorText = platform::mailtext::transportMissing(transport, transportProgram(transport));
        return false;
    }
    const QString fault = platform::checkMessage(message, transport);
    if (!fault.isEmpty()) {
        errorText = fault;
        return false;
    }
    if (!sendError.isEmpty()) {
        errorText = sendError;
        return false;
    }
    sent.append({message, transport});
    return true;
}

} // namespace testing_support
