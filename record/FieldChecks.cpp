#include "record/FieldChecks.h"

#include "common/Dates.h"
#include "common/Messages.h"

namespace record {

namespace {

// Two characters that are both decimal digits, and their value.
bool twoDigits(QStringView text, int* value)
{
    if (text.size() != 2 || !text[0].isDigit() || !text[1].isDigit() || text[0].unicode() > 127 ||
        text[1].unicode() > 127)
        return false;
    *value = (text[0].unicode() - '0') * 10 + (text[1].unicode() - '0');
    return true;
}

} // namespace

int timeMessageNumber(const QString& value)
{
    if (value.trimmed().isEmpty())
        return 0;
    if (value.size() != 5)
        return kMessageHourRange;
    if (value[2] != QLatin1Char(':'))
        return kMessageTimeFormat;
    // Digits only: a time such as " 9:30" would pass as a number and then sort before "08:00".
    int hours = 0;
    if (!twoDigits(QStringView(value).left(2), &hours) || hours > 23)
        return kMessageHourRange;
    int minutes = 0;
    if (!twoDigits(QStringView(value).right(2), &minutes) || minutes > 59)
        return kMessageMinuteRange;
    return 0;
}

bool sub_Heure_Vérifier(const QString& value, bool show)
{
    const int message = timeMessageNumber(value);
    if (message != 0 && show)
        sub_Message(qint16(message), 0, QString(), QString());
    return message != 0;
}

bool isDateInSeason(const QString& date, const QString& season)
{
    const QString key = fun_Date_Clé(date);
    const QString first = season.mid(6, 4) + QStringLiteral("1101");
    const QString last = season.mid(11, 4) + QStringLiteral("0229");
    return !(key < first) && !(key > last);
}

QString outOfSeasonMessage(const QString& season)
{
    return QStringLiteral("Date de passage hors période par rapport à la saison d'observation ") + season;
}

VisitDateCheck checkVisitDate(const QString& typed, const QString& season)
{
    VisitDateCheck check{typed, QString()};
    if (typed.isEmpty())
        return check;
    fun_Format_Date(common::kDateMask, check.date);
    const VerifDate verdict = sub_Vérif_Date(check.date);
    if (!verdict.valide)
        check.message = QStringLiteral("Date invalide");
    else if (verdict.relation == QLatin1String(">"))
        check.message = QStringLiteral("La date est supérieure à la date du jour");
    else if (!isDateInSeason(check.date, season))
        check.message = outOfSeasonMessage(season);
    return check;
}

} // namespace record
