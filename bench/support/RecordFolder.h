#pragma once
// Sample records for the record-list benchmarks, a temporary data folder of their files, and the
// record list's refresh of that folder.
// Every record is on the same model (a site in the Drôme, parcels of fields with the same
// species); the benchmark says which site, observer, winter, passage and status each one has.

#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "record/RecordLayout.h"
#include "record/RecordStore.h"
#include "record/Season.h"
#include "record/SiteName.h"
#include "record/SurveyRecord.h"
#include "recordlist/RecordList.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>

namespace bench_support {

// What sets one sample record apart from the others.
struct SampleRecordKey
{
    int site = 0;     // its commune (one of 97) and place name
    int observer = 0; // OBSERVATEUR<n>
    int winter = 0;   // the first year of its winter
    int day = 1;      // of January, in the year after the winter's first
    int passage = 1;
    bool notValidated = false;
    QString email;
    QString telephone;
};

// A record of so many parcels, each with so many species.
inline record::SurveyRecord sampleRecord(const SampleRecordKey& key, int parcels, int speciesPerParcel)
{
    using namespace record;
    SurveyRecord r;
    r.department = "26 - Drôme";
    r.commune = QStringLiteral("Commune %1").arg(key.site % 97);
    r.placeName = QStringLiteral("Lieu-dit %1").arg(key.site);
    r.observerName = QStringLiteral("OBSERVATEUR%1").arg(key.observer);
    r.observerFirstName = "Jean";
    r.season = seasonText(key.winter);
    r.siteName = sub_Build_Nom_Zone(r).text;
    r.habitatType = "CH - Champs";
    r.network = "SHOC / Réseau national";
    r.email = key.email;
    r.telephone = key.telephone;
    r.date = QStringLiteral("%1/01/%2").arg(key.day, 2, 10, QLatin1Char('0')).arg(key.winter + 1);
    r.passage = key.passage;
    r.notValidated = key.notValidated;
    for (int p = 0; p < parcels; ++p) {
        Parcel parcel;
        parcel.location = {"26 - Drôme", r.commune, r.placeName, "31T", "800123", "1987456", "",
                           "600",        "124",     false,       true,  "800123", "1987456", ""};
        parcel.habitats[size_t(p % kHabitatCount)] = true;
        parcel.weather = {"1", "2", "1", "3"};
        parcel.startTime = "08:30";
        parcel.duration = "00:45";
        SpeciesTable species;
        for (int s = 0; s < speciesPerParcel; ++s)
            species.append({"O",
                            QStringLiteral("SP%1").arg(s),
                            QStringLiteral("Espèce numéro %1").arg(s),
                            {"3", "2", "", "1"},
                            "6",
                            "O~NI Nourrissage"});
        parcel.species = species;
        r.parcels.append(parcel);
    }
    return r;
}

// The record list's benchmarks: records of 30 parcels of 8 species, one site a record, over 16
// winters from 2004-2005, five passages; one record in three not validated.
constexpr int kListParcels = 30;
constexpr int kListSpeciesPerParcel = 8;
inline record::SurveyRecord listRecord(int n)
{
    SampleRecordKey key;
    key.site = n;
    key.observer = n % 50;
    key.winter = 2004 + n % 16;
    key.day = 1 + n % 28;
    key.passage = 1 + n % 5;
    key.notValidated = n % 3 == 0;
    key.email = "observateur@exemple.example";
    return sampleRecord(key, kListParcels, kListSpeciesPerParcel);
}

// A temporary folder holding the files of records 0 to count - 1, in their complete form.
struct RecordFolder
{
    QTemporaryDir dir;
    QStringList paths; // in record order
    qint64 bytes = 0;

    RecordFolder(int count, const std::function<record::SurveyRecord(int)>& recordOf)
    {
        for (int n = 0; n < count; ++n) {
            const record::SurveyRecord r = recordOf(n);
            grid::Grid g;
            record::RecordLayout::write(r, g);
            const QString path = dir.filePath(record::RecordStore::fileName(r.siteName, r.passage));
            // Sample data, written directly: the save routine's flush per file would only slow the set-up.
            QFile f(path);
            const QByteArray content = grid::GridFile::toComplete(g);
            if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
                std::abort();
            paths << path;
            bytes += content.size();
        }
    }
};

// The body of a BM_Refresh: a new record list refreshes the whole folder at each iteration, which
// must list every record.
inline void timeRefresh(benchmark::State& state, const RecordFolder& folder)
{
    const QString dir = folder.dir.path();
    recordlist::ToldOnce told;
    for (auto _ : state) {
        recordlist::RecordList list(told);
        grid::Grid grid;
        if (list.refresh(dir, grid).rows.size() != folder.paths.size())
            state.SkipWithError("records missing");
        benchmark::DoNotOptimize(grid.rows());
    }
}

} // namespace bench_support
