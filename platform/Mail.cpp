#include "platform/Mail.h"

#include <QFileInfo>
#include <QSet>

namespace platform {

QString MailMessage::bodyText() const
{
    QSet<int> placeholders;
    for (const MailAttachment& a : attachments)
        placeholders.insert(a.position);
    QString body;
    body.reserve(noteText.size());
    for (int i = 0; i < noteText.size(); ++i) {
        if (!placeholders.contains(i))
            body.append(noteText.at(i));
    }
    return body;
}

bool isMailAddress(const QString& text)
{
    static const QString separators = QStringLiteral("<>()[],;:\"\\");
    const qsizetype at = text.indexOf(QLatin1Char('@'));
    if (at <= 0 || at != text.lastIndexOf(QLatin1Char('@')) || at == text.size() - 1)
        return false;
    for (const QChar c : text) {
        if (c.isSpace() || c.category() == QChar::Other_Control || separators.contains(c))
            return false;
    }
    const QString domain = text.mid(at + 1);
    return !domain.startsWith(QLatin1Char('.')) && !domain.endsWith(QLatin1Char('.')) &&
           !domain.contains(QStringLiteral(".."));
}

Result checkMessage(const MailMessage& message, MailTransport transport)
{
    for (const QString& r : message.recipients) {
        if (!isMailAddress(r))
            return Result::failure(QStringLiteral("Adresse de destinataire invalide : « %1 ».").arg(r));
    }
    if (transport == MailTransport::SendAtOnce && message.recipients.isEmpty())
        return Result::failure(QStringLiteral("Le message n'a aucun destinataire."));
    for (const MailAttachment& a : message.attachments) {
        const QFileInfo f(a.path);
        if (!f.exists())
            return Result::failure(QStringLiteral("Pièce jointe introuvable : « %1 ».").arg(a.path));
        if (!f.isFile())
            return Result::failure(
                QStringLiteral("La pièce jointe « %1 » n'est pas un fichier.").arg(a.path));
        if (!f.isReadable())
            return Result::failure(QStringLiteral("Pièce jointe illisible : « %1 ».").arg(a.path));
    }
    return Result::success();
}

namespace mailtext {
QString notSignedOn() { return QStringLiteral("Aucune session de messagerie n'est ouverte."); }

QString transportMissing(MailTransport t, const QString& program)
{
    if (t == MailTransport::ComposeWindow)
        return QStringLiteral("Aucun logiciel de messagerie : le programme « %1 » est introuvable.")
            .arg(program);
    return QStringLiteral("Aucun service d'envoi du courrier : la commande « %1 » est introuvable.")
        .arg(program);
}

QString noMailClient(const QString& opener)
{
    return QStringLiteral("Aucun logiciel de messagerie : le programme « %1 » n'en trouve aucun sur cet "
                          "ordinateur.")
        .arg(opener);
}
} // namespace mailtext

} // namespace platform
