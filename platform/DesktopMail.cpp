#include "platform/DesktopMail.h"

#include "platform/ChildProcess.h"
#include "platform/Clock.h"
#include "platform/MimeMessage.h"
#include "platform/Services.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace platform {

namespace {

const QString kComposeProgram = QStringLiteral("xdg-email");
const QString kSendmail = QStringLiteral("/usr/sbin/sendmail");

QString findProgram(const QString& program)
{
    if (program.isEmpty())
        return QString();
    if (program.contains(QLatin1Char('/'))) {
        const QFileInfo f(program);
        return f.isFile() && f.isExecutable() ? f.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(program);
}

QString commandName(MailTransport t)
{
    if (t == MailTransport::ComposeWindow)
        return kComposeProgram;
    const QStringList command = DesktopMail::sendCommand();
    return command.isEmpty() ? QString() : command.first();
}

// "xdg-email" ends with this code when no program can open the message: no mail client is
// installed.
constexpr int kComposeToolMissing = 3;

// What a finished program said about its failure: its error output (only its last line when
// lastLine: the desktop's tools tell every program they tried before their conclusion), or its
// exit code.
QString failureText(const QString& what, QProcess& process, bool lastLine = false)
{
    if (process.exitStatus() == QProcess::CrashExit)
        return QStringLiteral("%1 s'est arrêté anormalement.").arg(what);
    QString said = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    if (lastLine)
        said = said.mid(said.lastIndexOf(QLatin1Char('\n')) + 1).trimmed();
    if (said.isEmpty())
        return QStringLiteral("%1 a échoué (code %2).").arg(what).arg(process.exitCode());
    return QStringLiteral("%1 a échoué (code %2) : %3").arg(what).arg(process.exitCode()).arg(said);
}

int waitMs(std::chrono::milliseconds d) { return int(d.count()); }

} // namespace

QStringList DesktopMail::sendCommand()
{
    const QString configured = qEnvironmentVariable("MIRELOT_SENDMAIL").trimmed();
    if (!configured.isEmpty())
        return QProcess::splitCommand(configured);
    return {kSendmail, QStringLiteral("-t"), QStringLiteral("-oi")};
}

QString DesktopMail::programPath(MailTransport t) { return findProgram(commandName(t)); }

QStringList DesktopMail::composeArguments(const MailMessage& message)
{
    // The texts are UTF-8 whatever the user's locale.
    QStringList args{QStringLiteral("--utf8")};
    if (!message.subject.isEmpty())
        args << QStringLiteral("--subject") << message.subject;
    const QString body = message.bodyText();
    if (!body.isEmpty())
        args << QStringLiteral("--body") << body;
    for (const MailAttachment& a : message.attachments)
        args << QStringLiteral("--attach") << a.path;
    args << message.recipients;
    return args;
}

Result DesktopMail::signOn(MailTransport needed)
{
    if (programPath(needed).isEmpty())
        return Result::failure(mailtext::transportMissing(needed, commandName(needed)));
    m_signedOn = true;
    return Result::success();
}

void DesktopMail::signOff() { m_signedOn = false; }

Result DesktopMail::send(const MailMessage& message, MailTransport transport)
{
    if (!m_signedOn)
        return Result::failure(mailtext::notSignedOn());
    if (Result fault = checkMessage(message, transport); !fault)
        return fault;
    return transport == MailTransport::ComposeWindow ? compose(message) : sendAtOnce(message);
}

Result DesktopMail::compose(const MailMessage& message)
{
    const QString program = programPath(MailTransport::ComposeWindow);
    if (program.isEmpty())
        return Result::failure(mailtext::transportMissing(MailTransport::ComposeWindow, kComposeProgram));
    // Not parented and not deleted while it runs: a client that keeps "xdg-email" waiting must
    // outlive this call, and the program's exit must not close the user's message.
    auto* process = new QProcess;
    startInOwnSession(*process);
    process->setProgram(program);
    process->setArguments(composeArguments(message));
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted(waitMs(composeWait))) {
        const QString why = process->errorString();
        delete process;
        return Result::failure(
            QStringLiteral("Le logiciel de messagerie n'a pas pu être lancé : %1").arg(why));
    }
    const qint64 group = process->processId();
    const WaitOutcome waited = waitForProcess(
        *process,
        {composeWait, waitObserver(),
         QStringLiteral("Ouverture du message dans le logiciel de messagerie (« %1 »)").arg(program),
         showWaitAfter});
    if (waited == WaitOutcome::TimedOut) {
        // The client holds the message window open; the process object goes when it ends.
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        return Result::success();
    }
    if (waited == WaitOutcome::Stopped) {
        endProcessGroup(*process, group);
        delete process;
        m_signedOn = false;
        return Result::failure(QStringLiteral("L'ouverture du message a été arrêtée : le programme « %1 » et "
                                              "ceux qu'il avait lancés ont été arrêtés.")
                                   .arg(program));
    }
    Result opened = Result::success();
    if (process->exitStatus() == QProcess::NormalExit && process->exitCode() == kComposeToolMissing)
        opened = Result::failure(mailtext::noMailClient(kComposeProgram));
    else if (process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0)
        opened = Result::failure(failureText(
            QStringLiteral("L'ouverture du message dans le logiciel de messagerie"), *process, true));
    delete process;
    return opened;
}

Result DesktopMail::sendAtOnce(const MailMessage& message)
{
    const QStringList command = sendCommand();
    const QString program = programPath(MailTransport::SendAtOnce);
    if (program.isEmpty())
        return Result::failure(
            mailtext::transportMissing(MailTransport::SendAtOnce, commandName(MailTransport::SendAtOnce)));
    const ResultOf<QByteArray> built = mime::build(message, platform::clock().now());
    if (!built)
        return built.result;

    QProcess process;
    startInOwnSession(process);
    process.setProgram(program);
    process.setArguments(command.mid(1));
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(waitMs(sendWait)))
        return Result::failure(QStringLiteral("La commande d'envoi du courrier n'a pas pu être lancée : %1")
                                   .arg(process.errorString()));
    const qint64 group = process.processId();
    process.write(built.value);
    process.closeWriteChannel();
    const WaitOutcome waited = waitForProcess(
        process, {sendWait, waitObserver(),
                  QStringLiteral("Envoi du message par la commande « %1 »").arg(program), showWaitAfter});
    if (waited != WaitOutcome::Finished) {
        endProcessGroup(process, group);
        if (waited == WaitOutcome::Stopped)
            m_signedOn = false;
        return Result::failure(
            waited == WaitOutcome::TimedOut
                ? QStringLiteral("La commande d'envoi du courrier « %1 » n'a pas répondu en %2 : "
                                 "elle a été arrêtée, avec les programmes qu'elle avait lancés.")
                      .arg(program, durationText(sendWait))
                : QStringLiteral("L'envoi du message a été arrêté : la commande d'envoi du courrier "
                                 "« %1 » et les programmes qu'elle avait lancés ont été arrêtés.")
                      .arg(program));
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return Result::failure(failureText(QStringLiteral("L'envoi du message"), process));
    return Result::success();
}

} // namespace platform
