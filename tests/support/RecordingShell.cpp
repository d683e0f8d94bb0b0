#include "tests/support/RecordingShell.h"

namespace testing_support {

using platform::Result;
namespace shelltext = platform::shelltext;

Result RecordingShell::openUrl(const QString& url)
{
    calls.append({Call::Url, url});
    if (!succeed)
        return Result::failure(
            shelltext::pageNotOpened(url, QStringLiteral("aucun navigateur n'est installé")));
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

} // namespace testing_support
