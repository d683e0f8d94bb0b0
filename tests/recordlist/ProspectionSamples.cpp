#include "tests/recordlist/ProspectionSamples.h"

#include "record/RecordStore.h"
#include "record/Season.h"
#include "record/SiteName.h"
#include "tests/record/RecordSamples.h"

#include <gtest/gtest.h>

namespace prospection_samples {

record::SurveyRecord recordOf(const Visit& v)
{
    record::SurveyRecord r = record_samples::twoParcels();
    r.commune = v.commune;
    r.placeName = v.place;
    r.observerName = v.name;
    r.observerFirstName = v.firstName;
    r.season = record::seasonText(v.winter);
    r.passage = v.passage;
    r.date = QStringLiteral("15/01/%1").arg(v.winter + 1);
    r.email = v.email;
    r.telephone = v.telephone;
    r.siteName = record::sub_Build_Nom_Zone(r).text;
    return r;
}

QString save(const QString& dataFolder, const Visit& visit)
{
    const record::SaveResult saved = record::RecordStore(dataFolder).save(recordOf(visit));
    EXPECT_TRUE(saved.result.ok) << saved.result.error.toStdString();
    return saved.fileName;
}

} // namespace prospection_samples
