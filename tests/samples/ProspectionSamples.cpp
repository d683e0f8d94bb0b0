#include "tests/samples/ProspectionSamples.h"

#include "record/RecordStore.h"
#include "record/Season.h"
#include "record/SiteName.h"
#include "tests/samples/RecordSamples.h"

#include <gtest/gtest.h>

namespace prospection_samples {

void save(const QString& dataFolder, const Visit& v)
{
    record::SurveyRecord r = record_samples::twoParcels();
    r.placeName = v.place;
    r.observerName = v.name;
    r.season = record::seasonText(v.winter);
    r.passage = v.passage;
    r.email = v.email;
    r.telephone = v.telephone;
    r.siteName = record::sub_Build_Nom_Zone(r).text;
    const record::SaveResult saved = record::RecordStore(dataFolder).save(r);
    EXPECT_TRUE(saved.result.ok) << saved.result.error.toStdString();
}

QString siteOf(const QString& place, const QString& name)
{
    return "SHOC-26~Valence~" + place + "~" + name + " Jean";
}

} // namespace prospection_samples
