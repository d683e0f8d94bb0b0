#pragma once
// Dates are typed and shown as "JJ/MM/AAAA" and compared through "yyyymmdd" keys; times of day
// and durations are typed and shown as "HH:MM". "Today" comes from the platform clock.

#include <QString>

namespace common {

inline const QString kDateMask = QStringLiteral("JJ/MM/AAAA");

// A two-digit year widened with the century of today: not above today's two-digit year gives
// today's century, above it the previous one.
QString yearWithCentury(int annee2);

} // namespace common

// Normalises a typed date in place to day, separator, month, separator, four-digit year.
// Digits are taken by position (DDMMYYYY, DDMMYY) or, when separators were typed, by token;
// a two-digit year gets the century of the century rule. A day-first text that is no valid
// date is read year first (YYYYMMDD, YYMMDD). A text that fits no shape, or whose pieces are
// not day, month and year digits ("5.3.2009", "5a/3/2009"), is left as typed.
void fun_Format_Date(const QString& masque, QString& date, const QString& separateur = QStringLiteral("/"));

// A date typed year first (YYYYMMDD or YYMMDD) as day, separator, month, separator, year;
// empty for any other length.
QString fun_Date_Conversion(const QString& date, const QString& separateur);

// Token scanner over one program-wide text: a non-empty text restarts the scan; an empty text
// continues it. Every character of separateurs is a separator.
QString fun_Get_Token(const QString& texte, const QString& separateurs);

namespace common {
struct DateCheck
{
    QString message; // "Date correcte." or "Date invalide."
    bool valid = false;
    QString relation; // ">", "<" or "=" against today; empty for an invalid date
};
} // namespace common
// A date is valid when it is written exactly as DD/MM/YYYY and names a real day.
common::DateCheck sub_Vérif_Date(const QString& date);

// "DD/MM/YYYY" -> "YYYYMMDD"; a day or month "00" is written "**".
QString fun_Date_Clé(const QString& date);

// Normalises a typed time or duration in place to "HH:MM" (8h -> 08:00, 830 -> 08:30).
// No range check.
void fun_Format_Heure(QString& heure);
