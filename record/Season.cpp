#include "record/Season.h"

#include <algorithm>

namespace record {

QString seasonText(int firstYear) { return QStringLiteral("Hiver %1-%2").arg(firstYear).arg(firstYear + 1); }

int winterOf(const QDate& day) { return day.month() >= 10 ? day.year() : day.year() - 1; }

QStringList sub_Load_Cbo_Saison(const QDate& today)
{
    QStringList seasons;
    const int last = std::max(kLastListedWinter, today.isValid() ? winterOf(today) : kLastListedWinter);
    for (int y = kFirstWinter; y <= last; ++y)
        seasons << seasonText(y);
    return seasons;
}

QString sub_Locate_Saison(const QString& chosen, const QStringList& seasons, const QDate& today)
{
    if (!chosen.isEmpty())
        return chosen;
    const QString current = seasonText(winterOf(today));
    return seasons.contains(current) ? current : QString();
}

} // namespace record
