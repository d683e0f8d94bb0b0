#pragma once

#include "platform/Shell.h"

namespace platform {

// Opens pages, files and mail links with the desktop's programs (QDesktopServices).
class DesktopShell : public Shell
{
public:
    bool openUrl(const QString& url) override;
    bool openFile(const QString& path) override;
    bool isConnected() override;
};

} // namespace platform
