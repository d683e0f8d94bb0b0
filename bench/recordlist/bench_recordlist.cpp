// The record list's refresh over a data folder of 5,000 record files of 30 parcels each, beside
// the floor of reading the same files' bytes once (QFile::readAll of each), and a second refresh
// that finds no file changed and uses the summaries it kept. Goals: the refresh within 4 times
// the floor and under 0.5 s; the refresh with no file changed within half the floor. Each for the
// first run in a fresh process and for the median of the later runs. After the runs the program
// prints the figures.
//
// Run from a build with optimisations (the default RelWithDebInfo).

#include "common/Paths.h"
#include "grid/Grid.h"
#include "recordlist/RecordList.h"

#include "bench/support/RecordFolder.h"
#include "bench/support/RunTimes.h"

#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace recordlist;

namespace {

constexpr int kRecords = 5000;
// The record files, and the export log of a folder where records have been exported: one line in
// ten, newest first.
struct Folder : bench_support::RecordFolder
{
    Folder() : RecordFolder(kRecords, bench_support::listRecord)
    {
        QByteArray log;
        for (int n = kRecords - 1; n >= 0; n -= 10)
            log += (QFileInfo(paths[n]).fileName() + "\t15/02/2010 10:00:00\r\n").toUtf8();
        QFile logFile(dir.filePath("LOG_EXPORT.TXT"));
        if (!logFile.open(QIODevice::WriteOnly) || logFile.write(log) != log.size())
            std::abort();
    }
};

Folder& folder()
{
    static Folder f;
    return f;
}

void BM_ReadBytesOnce(benchmark::State& state)
{
    const QStringList& paths = folder().paths;
    for (auto _ : state) {
        qint64 total = 0;
        for (const QString& p : paths) {
            QFile f(p);
            if (!f.open(QIODevice::ReadOnly))
                state.SkipWithError("open failed");
            total += f.readAll().size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.counters["files"] = double(paths.size());
    state.counters["MB"] = double(folder().bytes) / 1e6;
}

void BM_Refresh(benchmark::State& state) { bench_support::timeRefresh(state, folder()); }

// The list of a window kept open: refreshed once whole before the first repetition, then again
// at each, with no file changed.
void BM_RefreshUnchanged(benchmark::State& state)
{
    const QString dir = folder().dir.path();
    static ToldOnce told;
    static RecordList list(told);
    static grid::Grid grid;
    if (list.listing().rows.isEmpty())
        list.refresh(dir, grid);
    const int readsBefore = list.cache().reads();
    for (auto _ : state) {
        if (list.refresh(dir, grid).rows.size() != kRecords)
            state.SkipWithError("records missing");
        benchmark::DoNotOptimize(grid.rows());
    }
    state.counters["files read"] = double(list.cache().reads() - readsBefore);
}

// The parts of a refresh: the listing alone (names, then one stat per file) and the summaries.
void BM_ListingOnly(benchmark::State& state)
{
    const QString dir = folder().dir.path();
    for (auto _ : state)
        benchmark::DoNotOptimize(common::listFiles(dir, kRecordMask).size());
}

BENCHMARK(BM_ReadBytesOnce)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(10);
BENCHMARK(BM_Refresh)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(10);
BENCHMARK(BM_RefreshUnchanged)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(10);
BENCHMARK(BM_ListingOnly)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(10);

} // namespace

int main(int argc, char** argv)
{
    return bench_support::runEachFresh(argc, argv, [](const bench_support::Runs& runs) {
        const bench_support::RunTimes& floor = runs["BM_ReadBytesOnce"];
        std::printf("Record list refresh, %d records of %d parcels (%.1f MB)\n", kRecords,
                    bench_support::kListParcels, floor.counters.count("MB") ? floor.counters.at("MB") : 0.0);
        bench_support::printTimes("floor (readAll of each file)", floor);
        bench_support::printAgainstFloor("refresh", runs["BM_Refresh"], floor, 4.0);
        bench_support::printAgainstLimit("refresh", runs["BM_Refresh"], 500);
        bench_support::printAgainstFloor("refresh, no file changed", runs["BM_RefreshUnchanged"], floor, 0.5);
        bench_support::printTimes("listing alone (names, one stat each)", runs["BM_ListingOnly"]);
    });
}
