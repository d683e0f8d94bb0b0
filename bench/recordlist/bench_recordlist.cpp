// The record list's refresh over a data folder of 5,000 record files of 30 parcels each, beside
// the floor of reading the same files' bytes once (QFile::readAll of each), and a second refresh
// that finds no file changed and uses the summaries it kept. Goals: the first refresh within 4
// times the floor and under 0.5 s. After the runs the program prints the figures.
//
// Run from a build with optimisations (the default RelWithDebInfo).

#include "common/Paths.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "record/RecordLayout.h"
#include "record/RecordStore.h"
#include "recordlist/RecordList.h"

#include "bench/support/BestTimes.h"
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace recordlist;

namespace {

constexpr int kRecords = 5000;
constexpr int kParcels = 30;
constexpr int kSpeciesPerParcel = 8;

record::SurveyRecord sampleRecord(int n)
{
    using namespace record;
    SurveyRecord r;
    r.department = "26 - Drôme";
    r.commune = QStringLiteral("Commune %1").arg(n % 97);
    r.placeName = QStringLiteral("Lieu-dit %1").arg(n);
    r.observerName = QStringLiteral("OBSERVATEUR%1").arg(n % 50);
    r.observerFirstName = "Jean";
    r.season = QStringLiteral("Hiver %1-%2").arg(2004 + n % 16).arg(2005 + n % 16);
    r.siteName =
        QStringLiteral("SHOC-26~%1~%2~%3 Jean~%4").arg(r.commune, r.placeName, r.observerName, r.season);
    r.habitatType = "CH - Champs";
    r.network = "SHOC / Réseau national";
    r.email = "observateur@exemple.example";
    r.date = QStringLiteral("%1/01/%2").arg(1 + n % 28, 2, 10, QLatin1Char('0')).arg(2005 + n % 16);
    r.passage = 1 + n % 5;
    r.notValidated = n % 3 == 0;
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
    QStringList paths;
    qint64 bytes = 0;
    Folder()
    {
        for (int n = 0; n < kRecords; ++n) {
            const record::SurveyRecord r = sampleRecord(n);
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
        // The export log of a folder where records have been exported: one line in ten, newest first.
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

void BM_RefreshUnchanged(benchmark::State& state)
{
    const QString dir = folder().dir.path();
    ToldOnce told;
    RecordList list(told);
    grid::Grid grid;
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

BENCHMARK(BM_ReadBytesOnce)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Refresh)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RefreshUnchanged)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ListingOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    std::printf("Writing %d record files of %d parcels...\n", kRecords, kParcels);
    std::printf("  %.1f MB, %.1f kB a file\n", double(folder().bytes) / 1e6,
                double(folder().bytes) / kRecords / 1e3);
    bench_support::BestTimes reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto find = [&](const char* name) { return reporter[std::string(name) + "/real_time"]; };
    const double floor = find("BM_ReadBytesOnce");
    const double refresh = find("BM_Refresh");
    const double unchanged = find("BM_RefreshUnchanged");
    if (floor > 0 && refresh > 0) {
        std::printf("\nRecord list refresh, %d records of %d parcels\n", kRecords, kParcels);
        std::printf("  floor (readAll of each file)  %8.1f ms\n", floor);
        std::printf(
            "  refresh                       %8.1f ms   ratio %.2f (goal 4.00: %s), goal 500 ms: %s\n",
            refresh, refresh / floor, refresh <= 4 * floor ? "ok" : "TOO SLOW",
            refresh <= 500 ? "ok" : "TOO SLOW");
    }
    if (unchanged > 0)
        std::printf("  refresh, no file changed      %8.1f ms   (summaries kept by name, size and "
                    "modification time)\n",
                    unchanged);
    benchmark::Shutdown();
    return 0;
}
