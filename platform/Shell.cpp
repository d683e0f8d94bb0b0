#include "platform/Shell.h"

namespace platform {

bool RecordingShell::openUrl(const QString& url)
{
    calls.append({Call::Url, url});
    return succeed;
}

bool RecordingShell::openFile(const QString& path)
{
    calls.append({Call::File, path});
    return succeed;
}

} // namespace platform
