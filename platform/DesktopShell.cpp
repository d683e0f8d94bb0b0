#include "platform/DesktopShell.h"

#include <QDesktopServices>
#include <QNetworkInterface>
#include <QUrl>

namespace platform {

bool DesktopShell::openUrl(const QString& url)
{
    const QUrl u(url, QUrl::TolerantMode);
    return u.isValid() && QDesktopServices::openUrl(u);
}

bool DesktopShell::openFile(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool DesktopShell::isConnected()
{
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& i : interfaces) {
        const auto f = i.flags();
        if ((f & QNetworkInterface::IsUp) && (f & QNetworkInterface::IsRunning)
            && !(f & QNetworkInterface::IsLoopBack) && !i.addressEntries().isEmpty())
            return true;
    }
    return false;
}

} // namespace platform
