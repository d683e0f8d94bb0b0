#pragma once
// Pages and files are opened by the desktop's opener "xdg-open" found on the search path, started
// in a session of its own and awaited a moment, so that an opener that finds no program to open
// them is reported; without "xdg-open", by Qt's own choice of program (QDesktopServices).

#include "platform/Shell.h"

#include <chrono>
#include <functional>

class QUrl;

namespace platform {

class DesktopShell : public Shell
{
public:
    Result openUrl(const QString& url) override;
    Result openFile(const QString& path) override;
    bool isConnected() override;

    // How long the opener may take to say whether it found a program. Some openers run as long
    // as the browser they started: after this delay the page counts as opened and the opener is
    // left running.
    std::chrono::milliseconds openWait{3000};

private:
    // Opens `argument` (the page's address or the file's path), or `url` without "xdg-open";
    // `failure` words the reason.
    Result open(const QString& argument, const QUrl& url, bool page,
                const std::function<QString(const QString& why)>& failure);
};

} // namespace platform
