// The prospection table over a data folder of 5,000 record files of 30 parcels each: 250 sites
// over the 15 winters 2006-2007 to 2020-2021, one or two passages a winter. Beside it, the record
// list's refresh of the same folder. Goal: the table, filled into its grid from summaries read
// afresh, within 2 times the refresh, for the first run in a fresh process and for the median of
// the later runs. After the runs the program prints the figures.
//
// Run from a build with optimisations (the default RelWithDebInfo).

#include "grid/Grid.h"
#include "recordlist/ProspectionTable.h"
#include "recordlist/RecordList.h"

#include "bench/support/RecordFolder.h"
#include "bench/support/RunTimes.h"

#include <benchmark/benchmark.h>

#include <cstdio>

using namespace recordlist;

namespace {

constexpr int kRecords = 5000;
constexpr int kSites = 250;
constexpr int kWinters = 15;
constexpr int kParcels = 30;
constexpr int kSpeciesPerParcel = 8;
// In the winter 2020-2021: the table's columns run from 2006-2007 to it, 15 winters.
const QDate kToday(2021, 6, 15);

// Site by site, then winter by winter; a second passage once every site has its winters. One
// site in seven has no e-mail address, only a telephone number.
record::SurveyRecord sampleRecord(int n)
{
    bench_support::SampleRecordKey key;
    key.site = n % kSites;
    key.observer = key.site % 60;
    key.winter = kFirstProspectionWinter + (n / kSites) % kWinters;
    key.day = 1 + n % 28;
    key.passage = 1 + n / (kSites * kWinters);
    if (key.site % 7 != 0)
        key.email = QStringLiteral("observateur%1@exemple.example").arg(key.observer);
    key.telephone = "04 75 00 00 00";
    return bench_support::sampleRecord(key, kParcels, kSpeciesPerParcel);
}

bench_support::RecordFolder& folder()
{
    static bench_support::RecordFolder f(kRecords, sampleRecord);
    return f;
}

void BM_Refresh(benchmark::State& state) { bench_support::timeRefresh(state, folder()); }

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

BENCHMARK(BM_Refresh)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(10);
BENCHMARK(BM_Prospection)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(10);

} // namespace

int main(int argc, char** argv)
{
    return bench_support::runEachFresh(argc, argv, [](const bench_support::Runs& runs) {
        std::printf("Prospection table, %d records of %d parcels (%d sites, %d winters)\n", kRecords,
                    kParcels, kSites, kWinters);
        bench_support::printTimes("record list refresh", runs["BM_Refresh"]);
        bench_support::printAgainstFloor("prospection table", runs["BM_Prospection"], runs["BM_Refresh"],
                                         2.0);
    });
}
