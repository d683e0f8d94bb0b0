#include "tests/support/RecordingMail.h"

namespace testing_support {

namespace {
QString transportProgram(platform::MailTransport t)
{
    return t == platform::MailTransport::ComposeWindow ? QStringLiteral("xdg-email")
                                                       : QStringLiteral("sendmail");
}
} // namespace

bool RecordingMail::available(platform::MailTransport t) const
{
    return t == platform::MailTransport::ComposeWindow ? hasComposeWindow : hasSendAtOnce;
}

platform::Result RecordingMail::signOn(platform::MailTransport needed)
{
    ++signOns;
    if (!available(needed))
        return platform::Result::failure(
            platform::mailtext::transportMissing(needed, transportProgram(needed)));
    m_signedOn = true;
    return platform::Result::success();
}

void RecordingMail::signOff()
{
    ++signOffs;
    m_signedOn = false;
}

platform::Result RecordingMail::send(const platform::MailMessage& message, platform::MailTransport transport)
{
    using platform::Result;
    if (!m_signedOn)
        return Result::failure(platform::mailtext::notSignedOn());
    if (!available(transport))
        return Result::failure(platform::mailtext::transportMissing(transport, transportProgram(transport)));
    if (Result fault = platform::checkMessage(message, transport); !fault)
        return fault;
    if (sendsBeforeStop && (*sendsBeforeStop)-- == 0) {
        sendsBeforeStop.reset();
        m_signedOn = false;
        return Result::failure(QStringLiteral("L'envoi du message a été arrêté."));
    }
    if (!sendError.isEmpty())
        return Result::failure(sendError);
    sent.append({message, transport});
    return Result::success();
}

} // namespace testing_support
