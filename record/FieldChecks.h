#pragma once
// Checks of the record window's text boxes, without the window: the keys each box takes, and
// what each box does with its value when the user leaves it (normalised, accepted, or refused
// after a message or a question). The time check is shared with the validation. Messages and
// questions are asked through the dialog service; the window puts the text back into the box,
// keeps the focus there when the value is refused, and does what an accepted value calls for.

#include <QList>
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
// 20100229, in leap and other years alike). With no season there is no period: every date is
// inside.
bool isDateInSeason(const QString& date, const QString& season);

// "Date de passage hors période par rapport à la saison d'observation " and the season.
QString outOfSeasonMessage(const QString& season);

// The visit date as the user leaves its box: normalised ("5/1/2010" -> "05/01/2010"), then
// refused when it is no date, when it is after today, or when it lies outside the season's winter
// (when a season is chosen), in that order. An empty box is accepted.
struct VisitDateCheck
{
    QString date;    // the text to put back into the box
    QString message; // why it is refused; empty when accepted
    bool accepted() const { return message.isEmpty(); }
};
VisitDateCheck checkVisitDate(const QString& typed, const QString& season);

// The text boxes that check keys and values.
enum class RecordBox {
    Date,
    StartTime,
    Duration,
    Email,
    Telephone,
    PlaceName,
    ParcelCount,
    ObserverName,
    ObserverFirstName,
};

// A typed key: the key to keep (0 when dropped) and, for a dropped key, what the user is told.
// The date takes digits and "/", the time and duration digits and ":", the number of parcels
// digits only (no decimal separator and no sign); control keys always pass. The observer's name
// takes every key in capitals. The other boxes take every key as it is.
struct KeyVerdict
{
    int key = 0;
    QString message;
};
KeyVerdict fun_Filtre_Touche(RecordBox box, int key);

// What the window knows that a check needs.
struct BoxContext
{
    QString season;           // the season chosen; empty when none is
    int parcelCount = 0;      // the window's number of parcels
    QList<int> filledParcels; // the parcels (numbers from 1) that hold something typed
};

struct BoxVerdict
{
    QString text;         // what the box shows after the check
    bool accepted = true; // false: the focus stays in the box
    int parcelCount = 0;  // the number of parcels box: the number after the check
};

// The check of a box as the user leaves it. Every box's text is checked as typed:
//  - date: checkVisitDate; a refusal in an OK box with the exclamation icon;
//  - start time: as "HH:MM" (fun_Format_Heure), the time check with its catalogue message, then
//    before 08:00 or after 16:00 the user confirms it;
//  - duration: the same, then beyond 00:30 the user confirms it;
//  - e-mail, telephone: empty, the user is advised to give one of them; answering Yes keeps the
//    focus in the box to fill it in;
//  - first name: its first character in capitals (a leading blank stays one), then the
//    surrounding blanks removed;
//  - number of parcels: a whole number from 1 to 30, else refused with the number kept; fewer
//    parcels than before while a parcel to drop holds something typed asks first, and No puts
//    the former number back;
//  - place name, observer's name: nothing to check.
// Every box is titled with the program's name, except the catalogue messages of the time check.
BoxVerdict fun_Verifier_Case(RecordBox box, const QString& typed, const BoxContext& context = BoxContext());

// The e-mail address typed: every address is accepted.
bool Fun_Validation_Adresse_Courriel(const QString& address);

} // namespace record
