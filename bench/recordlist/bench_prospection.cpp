// The prospection table over a data folder of 5,000 record files of 30 parcels each: 250 sites
// over the 15 winters 2006-2007 to 2020-2021, one or two passages a winter. Beside it, the record
// list's refresh of the same folder. Goal: the table, filled into its grid from summaries read
// afresh, within 2 times the refresh. After the runs the program prints the figures.
//
// Run from a build with optimisations (the default RelWithDebInfo).

#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "record/RecordLayout.h"
#include "record/RecordStore.h"
#include "record/Season.h"
#include "record/SiteName.h"
#include "recordlist/ProspectionTable.h"
#include "recordlist/RecordList.h"

#include "bench/support/BestTimes.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace recordlist;

namespace {

constexpr int kRecords = 5000;
constexpr int kSites = 250;
constexpr int kWinters = 15;
constexpr int kParcels = 30;
constexpr int kSpeciesPerParcel = 8;
// In the winter 2020-2021: the table's columns run from 2006-2007 to it, 15 winters.
const QDate kToday(2021, 6, 15);

record::SurveyRecord sampleRecord(int n)
{
    using namespace record;
    const int site = n % kSites;
    const int winter = kFirstProspectionWinter + (n / kSites) % kWinters;
    SurveyRecord r;
    r.department = "26 - Drôme";
    r.commune = QStringLiteral("Commune %1").arg(site % 97);
    r.placeName = QStringLiteral("Lieu-dit %1").arg(site);
    r.observerName = QStringLiteral("OBSERVATEUR%1").arg(site % 60);
    r.observerFirstName = "Jean";
    r.season = seasonText(winter);
    r.siteName = sub_Build_Nom_Zone(r).text;
    r.habitatType = "CH - Champs";
    r.network = "SHOC / Réseau national";
    r.email = site % 7 == 0 ? QString() : QStringLiteral("observateur%1@exemple.example").arg(site % 60);
    r.telephone = "04 75 00 00 00";
    r.date = QStringLiteral("%1/01/%2").arg(1 + n % 28, 2, 10, QLatin1Char('0')).arg(winter + 1);
    r.passage = 1 + n / (kSites * kWinters);
    for (int p = 0; p < kParcels; ++p) {
        Parcel parcel;
        parcel.location = {"26 - Drôme", r.commune, r.placeName, "31T", "800123", "1987456", "",
                           "600",        "124",     false,       true,  "800123", "1987456", ""};
        parcel.habitats[size_t(p % kHabitatCount)] = true;
        parcel.weather = {"1", "2", "1", "3"};
        parcel.startTime = "08:30";
        parcel.duration = "00:45";
        SpeciesTable species;
        for (int s = 0; s < kSpeciesPerParcel; ++s)
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

struct Folder
{
    QTemporaryDir dir;
    qint64 bytes = 0;
    Folder()
    {
        for (int n = 0; n < kRecords; ++n) {
            const record::SurveyRecord r = sampleRecord(n);
            grid::Grid g;
            record::RecordLayout::write(r, g);
            // Sample data, written directly: the save routine's flush per file would only slow the set-up.
            QFile f(dir.filePath(record::RecordStore::fileName(r.siteName, r.passage)));
            const QByteArray content = grid::GridFile::toComplete(g);
            if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
                std::abort();
            bytes += content.size();
        }
    }
};

Folder& folder()
{
    static Folder f;
    return f;
}

void BM_Refresh(benchmark::State& state)
{
    const QString dir = folder().dir.path();
    ToldOnce told;
    for (auto _ : state) {
        RecordList list(told);
        grid::Grid grid;
        if (list.refresh(dir, grid).rows.size() != kRecords)
            state.SkipWithError("records missing");
        benchmark::DoNotOptimize(grid.rows());
    }
}

void BM_Prospection(benchmark::State& state)
{
    const QString dir = folder().dir.path();
    for (auto _ : state) {
        SummaryCache cache;
        grid::Grid grid;
        const ProspectionTable table = readProspection(dir, cache, kToday);
        if (table.rows.size() != kSites || table.winterCount() != kWinters)
            state.SkipWithError("sites or winters missing");
        fillProspectionGrid(table, grid);
        benchmark::DoNotOptimize(grid.rows());
    }
}

BENCHMARK(BM_Refresh)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Prospection)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    std::printf("Writing %d record files of %d parcels (%d sites, %d winters)...\n", kRecords, kParcels,
                kSites, kWinters);
    std::printf("  %.1f MB, %.1f kB a file\n", double(folder().bytes) / 1e6,
                double(folder().bytes) / kRecords / 1e3);
    bench_support::BestTimes reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double refresh = reporter["BM_Refresh/real_time"];
    const double prospection = reporter["BM_Prospection/real_time"];
    if (refresh > 0 && prospection > 0) {
        std::printf("\nProspection table, %d records over %d winters\n", kRecords, kWinters);
        std::printf("  record list refresh           %8.1f ms\n", refresh);
        std::printf("  prospection table             %8.1f ms   ratio %.2f (goal 2.00: %s)\n", prospection,
                    prospection / refresh, prospection <= 2 * refresh ? "ok" : "TOO SLOW");
    }
    benchmark::Shutdown();
    return 0;
}
