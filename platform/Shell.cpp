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

} // namespace platform
