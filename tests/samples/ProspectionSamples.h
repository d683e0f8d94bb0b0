#pragma once
// Record files of several sites over several winters for the prospection tests.

#include <QString>

namespace prospection_samples {

struct Visit
{
    QString place;
    int winter = 2009; // the season's first year
    int passage = 1;
    QString email = QStringLiteral("observateur@exemple.example");
    QString telephone = QStringLiteral("04 75 00 00 00");
    QString name = QStringLiteral("DUPONT");
};

// Saves the record of a visit at Valence in the data folder, its site name built from its fields
// (the season last), as the record window saves it. The test fails when it cannot be saved.
void save(const QString& dataFolder, const Visit& visit);
// The table's site of a place: "SHOC-26~Valence~" place "~DUPONT Jean".
QString siteOf(const QString& place, const QString& name = QStringLiteral("DUPONT"));

} // namespace prospection_samples
