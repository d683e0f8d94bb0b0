#pragma once
// Record files of several sites over several winters for the prospection tests, saved as the
// record window saves them.

#include "record/SurveyRecord.h"

#include <QString>

namespace prospection_samples {

struct Visit
{
    QString commune;
    QString place;
    QString name;
    QString firstName;
    int winter = 2009; // the season's first year
    int passage = 1;
    QString email = QStringLiteral("observateur@exemple.example");
    QString telephone = QStringLiteral("04 75 00 00 00");
};

// The record of a visit, its site name built from its fields (the season last).
record::SurveyRecord recordOf(const Visit& visit);
// Saves the record of a visit in the data folder; returns its file name. The test fails when it
// cannot be saved.
QString save(const QString& dataFolder, const Visit& visit);

} // namespace prospection_samples
