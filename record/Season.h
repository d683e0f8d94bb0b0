#pragma once
// Winters of the survey. A season is "Hiver ", the winter's first year, "-" and its second year;
// a winter runs from October to September. The seasons offered start with the survey's first
// winter and run up to the current winter, never ending before the winter 2020-2021.

#include "platform/Clock.h"
#include "platform/Services.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace record {

inline constexpr int kFirstWinter = 2004;      // Hiver 2004-2005
inline constexpr int kLastListedWinter = 2020; // the list reaches at least Hiver 2020-2021

// "Hiver 2009-2010" for 2009.
QString seasonText(int firstYear);
// The first year of the winter a day belongs to: October to December give their year, January
// to September the year before.
int winterOf(const QDate& day);

// The seasons offered, in ascending order.
QStringList sub_Load_Cbo_Saison(const QDate& today = platform::clock().today());

// The season to preselect for a new record: the one already chosen when there is one, otherwise
// the current winter when it is offered, otherwise none (empty).
QString sub_Locate_Saison(const QString& chosen, const QStringList& seasons,
                          const QDate& today = platform::clock().today());

} // namespace record
