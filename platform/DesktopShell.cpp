#include "platform/DesktopShell.h"

#include "platform/ChildProcess.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QNetworkInterface>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform {

namespace {

const QString kOpener = QStringLiteral("xdg-open");

// What the opener's exit code means (its manual page: 1 bad arguments, 2 missing file, 3 no
// program found, 4 the program failed).
QString openerFailure(const QProcess& process, bool page)
{
    if (process.exitStatus() == QProcess::NormalExit) {
        switch (process.exitCode()) {
        case 2:
            return QStringLiteral("il est introuvable");
        case 3:
            return page ? QStringLiteral("aucun navigateur n'est installé")
                        : QStringLiteral("aucun programme n'est installé pour ouvrir ce type de fichier");
        case 4:
            return page ? QStringLiteral("le navigateur n'a pas pu l'ouvrir")
                        : QStringLiteral("le programme prévu pour ce type de fichier n'a pas pu l'ouvrir");
        default:
            break;
        }
    }
    return QStringLiteral("le programme « %1 » a échoué (code %2)").arg(kOpener).arg(process.exitCode());
}

} // namespace

Result DesktopShell::openUrl(const QString& url)
{
    const QUrl u(url.trimmed(), QUrl::TolerantMode);
    if (url.trimmed().isEmpty() || !u.isValid() || u.scheme().isEmpty())
        return Result::failure(QStringLiteral("L'adresse « %1 » n'est pas valide.").arg(url));
    return open(QString::fromLatin1(u.toEncoded()), u, true,
                [&](const QString& why) { return shelltext::pageNotOpened(url, why); });
}

Result DesktopShell::openFile(const QString& path)
{
    const QFileInfo f(path);
    if (!f.exists())
        return Result::failure(QStringLiteral("Le fichier « %1 » est introuvable.").arg(path));
    return open(f.absoluteFilePath(), QUrl::fromLocalFile(f.absoluteFilePath()), false,
                [&](const QString& why) { return shelltext::fileNotOpened(path, why); });
}

Result DesktopShell::open(const QString& argument, const QUrl& url, bool page,
                          const std::function<QString(const QString& why)>& failure)
{
    const QString opener = QStandardPaths::findExecutable(kOpener);
    if (opener.isEmpty()) {
        if (QDesktopServices::openUrl(url))
            return Result::success();
        return Result::failure(failure(page
                                           ? QStringLiteral("aucun navigateur n'a été trouvé")
                                           : QStringLiteral("aucun programme n'a été trouvé pour l'ouvrir")));
    }

    // Not parented: an opener that runs as long as the browser outlives this call.
    auto* process = new QProcess;
    startInOwnSession(*process);
    process->setProgram(opener);
    process->setArguments({argument});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted(int(openWait.count()))) {
        delete process;
        return Result::failure(
            failure(QStringLiteral("le programme « %1 » n'a pas pu être lancé").arg(kOpener)));
    }
    ProcessWait wait;
    wait.limit = openWait;
    if (waitForProcess(*process, wait) != WaitOutcome::Finished) {
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        return Result::success();
    }
    const bool ok = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    const Result result = ok ? Result::success() : Result::failure(failure(openerFailure(*process, page)));
    delete process;
    return result;
}

bool DesktopShell::isConnected()
{
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& i : interfaces) {
        const auto f = i.flags();
        if ((f & QNetworkInterface::IsUp) && (f & QNetworkInterface::IsRunning) &&
            !(f & QNetworkInterface::IsLoopBack) && !i.addressEntries().isEmpty())
            return true;
    }
    return false;
}

} // namespace platform
