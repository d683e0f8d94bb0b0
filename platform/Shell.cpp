#include "platform/Shell.h"

namespace platform {

namespace shelltext {
QString pageNotOpened(const QString& url, const QString& why)
{
    return QStringLiteral("La page « %1 » n'a pas pu être ouverte : %2.").arg(url, why);
}

QString fileNotOpened(const QString& path, const QString& why)
{
    return QStringLiteral("Le fichier « %1 » n'a pas pu être ouvert : %2.").arg(path, why);
}
} // namespace shelltext

Result RecordingShell::openUrl(const QString& url)
{
    calls.append({Call::Url, url});
    if (!succeed)
        return Result::failure(shelltext::pageNotOpened(url, QStringLiteral("aucun navigateur n'est installé")));
    return Result::success();
}

Result RecordingShell::openFile(const QString& path)
{
    calls.append({Call::File, path});
    if (!succeed)
        return Result::failure(shelltext::fileNotOpened(
            path, QStringLiteral("aucun programme n'est installé pour ouvrir ce type de fichier")));
    return Result::success();
}

} // namespace platform
