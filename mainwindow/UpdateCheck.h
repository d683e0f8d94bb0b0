#pragma once
// Looking for a newer version: the program opens its maker's download page in the browser,
// with its name, version and release in the query. It downloads and compares nothing itself.
// The check runs from the "?" menu, and automatically once per start at the frequency the user
// chose (every start, every 5 or 10 starts, never).

#include <QString>
#include <optional>

namespace mainwindow {

// The download page: the maker's site, "/index_download.php?Organisme=ALL&Logiciel=Mirelot
// &Version=" and the version and release joined ("Z2010G"), sent as they stand.
QString updatePageUrl();

// True when the machine reports a network connection; false when the test itself fails.
bool fun_Connexion_Internet();

inline const QString kOfflineMessage =
    QStringLiteral("Votre connexion Internet n'est pas active. Impossible d'accèder à l'information");

// Opens the download page when connected. Offline, or when the page cannot be opened (no
// browser), tells the user unless quiet; the second message gives the page's address.
void sub_Retreive_Last_Version(bool quiet);

// The number of starts between two automatic checks for a stored frequency index: 0 -> 1,
// 1 -> 5, 2 -> 10; nullopt for 3 (never) and for any other value (the user was never asked).
std::optional<int> startsBetweenChecks(int index);

// Whether the automatic check is due at this start: the start counter (after its increment,
// taken as a 32-bit integer) is a multiple of the frequency, the "Jamais" item is not checked
// and the frequency is known. An unknown frequency (the run on which the user first answered
// the question) or a counter out of the 32-bit range gives no check.
bool isAutoCheckDue(double compteurDemarrages, std::optional<int> frequence, bool jamaisCoche);

} // namespace mainwindow
