#include "mainwindow/UpdateCheck.h"

#include "common/Globals.h"
#include "common/Publisher.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "platform/Shell.h"

#include <cmath>

namespace mainwindow {

QString updatePageUrl()
{
    return common::kPublisherSite + QStringLiteral("/index_download.php?Organisme=ALL&Logiciel=") +
           common::kProgramName + QStringLiteral("&Version=") + common::kProgramVersion +
           common::kProgramRelease;
}

bool fun_Connexion_Internet() { return platform::shell().isConnected(); }

void sub_Retreive_Last_Version(bool quiet)
{
    if (fun_Connexion_Internet()) {
        const QString url = updatePageUrl();
        const platform::Result opened = platform::shell().openUrl(url);
        // Asked for by the user, a page that could not be opened is reported, with its address
        // for the user to open by other means; the automatic check at start stays quiet.
        if (!opened && !quiet)
            platform::dialogs().ask(opened.error +
                                        QStringLiteral("\n\nPour rechercher une mise à jour, ouvrez cette "
                                                       "adresse dans un navigateur :\n") +
                                        url,
                                    platform::mb::OKOnly | platform::mb::Exclamation, common::kProgramName);
        return;
    }
    if (!quiet)
        platform::dialogs().ask(kOfflineMessage, platform::mb::OKOnly, common::kProgramName);
}

std::optional<int> startsBetweenChecks(int index)
{
    switch (index) {
    case 0:
        return 1;
    case 1:
        return 5;
    case 2:
        return 10;
    default:
        return std::nullopt;
    }
}

bool isAutoCheckDue(double compteurDemarrages, std::optional<int> frequence, bool jamaisCoche)
{
    if (jamaisCoche || !frequence || *frequence <= 0)
        return false;
    // The counter is taken as a 32-bit integer, a half going to the even neighbour.
    if (!std::isfinite(compteurDemarrages))
        return false;
    const double rounded = std::nearbyint(compteurDemarrages);
    if (rounded < -2147483648.0 || rounded > 2147483647.0)
        return false;
    return qint64(rounded) % *frequence == 0;
}

} // namespace mainwindow
