#include "record/RecordStore.h"
#include "record/SingleLineValues.h"
#include "tests/samples/RecordSamples.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <functional>
#include <gtest/gtest.h>

using namespace record;

namespace {
const QString kRefusal = QStringLiteral(", qui ne peut pas figurer dans une valeur d'une seule ligne : "
                                        "veuillez le retirer.");
}

// Every value of one line is checked, the comments are not; the reason names the field, the
// parcel and the species row. The record store writes no record that holds one.
TEST(SingleLineValues, EveryValueOfOneLineIsCheckedAndNothingIsWritten)
{
    struct Row
    {
        const char* field;
        std::function<void(SurveyRecord&)> change;
        QString reason; // empty: accepted
    };
    const Row rows[] = {
        {"as it is", [](SurveyRecord&) {}, ""},
        {"comments",
         [](SurveyRecord& r) {
             r.generalComment = "haies\r\nbasses\tet\tvent";
             r.visitComment = "a\nb";
         },
         ""},
        {"commune", [](SurveyRecord& r) { r.commune = "Valence\tSud"; },
         "La commune contient une tabulation (U+0009) après « Valence »"},
        {"telephone", [](SurveyRecord& r) { r.telephone = "04 75\n00"; },
         "Le téléphone contient un saut de ligne (U+000A) après « 04 75 »"},
        {"season", [](SurveyRecord& r) { r.season += QChar(0x85); },
         "La saison contient un caractère de contrôle (U+0085) après « Hiver 2009-2010 »"},
        {"parcel information", [](SurveyRecord& r) { r.parcels[1].location.information = "\tà revoir"; },
         "L'information de la parcelle 2 contient une tabulation (U+0009) au début"},
        {"weather", [](SurveyRecord& r) { r.parcels[0].weather[2] = "\r"; },
         "La météo de la parcelle 1 contient un retour chariot (U+000D) au début"},
        {"species name", [](SurveyRecord& r) { (*r.parcels[0].species)[1].name = "Lièvre\nd'Europe"; },
         "La ligne 2 des espèces de la parcelle 1 contient un saut de ligne (U+000A) après « Lièvre »"},
        {"start time", [](SurveyRecord& r) { r.parcels[1].startTime = "09:20\n"; },
         "L'heure de début de la parcelle 2 contient un saut de ligne (U+000A) après « 09:20 »"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.field);
        testing_support::TestEnvironment env;
        SurveyRecord r = record_samples::twoParcels();
        row.change(r);
        const platform::Result checked = checkSingleLineValues(r);
        EXPECT_EQ(checked.error, row.reason.isEmpty() ? QString() : row.reason + kRefusal);
        const SaveResult saved = RecordStore(env.dataFolder()).save(r);
        EXPECT_EQ(saved.result.ok, row.reason.isEmpty());
        EXPECT_EQ(saved.result.error, checked.error);
        EXPECT_EQ(QDir(env.dataFolder()).entryList(QDir::Files).size(), row.reason.isEmpty() ? 1 : 0);
    }
}
