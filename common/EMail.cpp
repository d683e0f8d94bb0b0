#include "common/EMail.h"

#include "common/Paths.h"
#include "common/Settings.h"
#include "common/TableCatalogue.h"
#include "grid/Grid.h"

#include "platform/MousePointer.h"
#include "platform/Services.h"

namespace common::email {

namespace {
QStringList nonEmptyParts(const QString& text) { return text.split(QLatin1Char(';'), Qt::SkipEmptyParts); }

platform::MailTransport transportFor(bool showDialog)
{
    return showDialog ? platform::MailTransport::ComposeWindow : platform::MailTransport::SendAtOnce;
}
} // namespace

QString addressBookPath() { return common::tablePath(common::ParamMode::Addresses); }

QList<Correspondent> correspondentsOf(const grid::Grid& book)
{
    QList<Correspondent> out;
    for (int r = 1; r < book.rows(); ++r)
        if (!book.cell(r, 2).trimmed().isEmpty())
            out.append({book.cell(r, 2), book.checkState(r, 1) == grid::Grid::Checked});
    return out;
}

QStringList recipientList(const QString& recipients)
{
    QString joined = recipients;
    joined.remove(QLatin1Char(' '));
    return nonEmptyParts(joined);
}

QStringList attachmentList(const QString& attachments) { return nonEmptyParts(attachments); }

platform::MailMessage composeMessage(const QString& recipients, const QString& subject,
                                     const QString& noteText, const QString& attachments)
{
    return composeMessage(recipients, subject, noteText, attachmentList(attachments));
}

platform::MailMessage composeMessage(const QString& recipients, const QString& subject,
                                     const QString& noteText, const QStringList& paths)
{
    platform::MailMessage m;
    m.recipients = recipientList(recipients);
    m.subject = subject;
    m.noteText = noteText + QString(paths.size(), QLatin1Char(' '));
    for (int i = 0; i < paths.size(); ++i)
        m.attachments.append({paths.at(i), int(noteText.size()) + i});
    return m;
}

} // namespace common::email

platform::Result sub_Envoi_EMail_Open(bool showDialog)
{
    const platform::PointerGuard hourglass;
    return platform::mail().signOn(common::email::transportFor(showDialog));
}

void sub_Envoi_EMail(bool sessionOpen, const QString& recipients, const QString& subject,
                     const QString& noteText, const QString& attachments, bool showDialog, bool& failed,
                     QString& errorText, bool messageOption)
{
    sub_Envoi_EMail(sessionOpen, recipients, subject, noteText, common::email::attachmentList(attachments),
                    showDialog, failed, errorText, messageOption);
}

void sub_Envoi_EMail(bool sessionOpen, const QString& recipients, const QString& subject,
                     const QString& noteText, const QStringList& attachments, bool showDialog, bool& failed,
                     QString& errorText, [[maybe_unused]] bool messageOption)
{
    const platform::PointerGuard hourglass;

    platform::Mail& mail = platform::mail();
    const platform::MailTransport transport = common::email::transportFor(showDialog);
    platform::Result sent = sessionOpen ? platform::Result::success() : mail.signOn(transport);
    if (sent) {
        // Everything is checked before the message leaves: a fault sends nothing at all.
        const platform::MailMessage message =
            common::email::composeMessage(recipients, subject, noteText, attachments);
        sent = platform::checkMessage(message, transport);
        if (sent)
            sent = mail.send(message, transport);
    }
    if (!sent) {
        failed = true;
        errorText = sent.error.isEmpty() ? QStringLiteral("Le message n'a pas pu être envoyé.") : sent.error;
    }

    if (!sessionOpen)
        sub_Envoi_EMail_Close();
}

void sub_Envoi_EMail_Close() { platform::mail().signOff(); }

bool common::email::sessionOpen() { return platform::mail().isSignedOn(); }
