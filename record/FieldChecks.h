#pragma once
// Checks of the record window's time and date fields, without the window: the time check that
// the start time and duration boxes and the validation share, and the visit date's checks
// (a real date, not after today, inside the season's winter). The window shows the messages in
// its boxes.

#include <QString>

namespace record {

// Catalogue messages of the time check.
inline constexpr int kMessageHourRange = 1050;   // "Champ heure invalide : 00 à 23."
inline constexpr int kMessageMinuteRange = 1051; // "Champ minute invalide : 00 à 59."
inline constexpr int kMessageTimeFormat = 1109;  // "Le format de l'heure est invalide (ex : HH:MM)."

// The catalogue message a time or duration text fails with, or 0 when it is accepted. Blanks
// alone are accepted (nothing typed). Otherwise the text must be five characters, the third
// ":" (1109), then two digits from 00 to 23 (1050, which also answers a text of another length)
// and two digits from 00 to 59 (1051).
int timeMessageNumber(const QString& value);

// The time check: true when the text is refused. With show, the refusal's catalogue message is
// shown (its box through the dialog service).
bool sub_Heure_Vérifier(const QString& value, bool show);

// The season's winter for a visit: from 1 November of its first year to 29 February of its
// second year, both included, compared through "yyyymmdd" keys ("Hiver 2009-2010": 20091101 to
// 20100229, in leap and other years alike). With no season, the bounds are "1101" and "0229"
// alone and no date is inside.
bool isDateInSeason(const QString& date, const QString& season);

// "Date de passage hors période par rapport à la saison d'observation " and the season.
QString outOfSeasonMessage(const QString& season);

// The visit date as the user leaves its box: normalised ("5/1/2010" -> "05/01/2010"), then
// refused when it is no date, when it is after today, or when it lies outside the season's winter,
// in that order. An empty box is accepted.
struct VisitDateCheck
{
    QString date;    // the text to put back into the box
    QString message; // why it is refused; empty when accepted
    bool accepted() const { return message.isEmpty(); }
};
VisitDateCheck checkVisitDate(const QString& typed, const QString& season);

} // namespace record
