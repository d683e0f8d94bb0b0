// The reference data of the record window built from the starter tables of a new installation
// (all communes of metropolitan France), with the lookups of one record, beside the time that
// GridFile takes to load the same five table files alone. After the runs the program prints both
// times and their ratio (goal: 1.3 at most), for the first run in a fresh process and for the
// median of the later runs.

#include "data/StarterTables.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "record/ReferenceData.h"

#include "bench/support/RunTimes.h"
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace grid;
using namespace platform;

namespace {

struct Tables
{
    QTemporaryDir dir;
    record::ReferencePaths paths;
    Tables()
    {
        for (const data::TableInstallation& t : data::installStarterTables(dir.path()))
            if (t.state != data::InstallState::Installed)
                std::abort();
        paths = record::ReferencePaths::inFolder(dir.path());
    }
};

Tables& tables()
{
    static Tables t;
    return t;
}

void BM_GridFilesAlone(benchmark::State& state)
{
    const record::ReferencePaths& p = tables().paths;
    const std::pair<QString, int> files[] = {{p.communes, GridFile::Complete},
                                             {p.networks, GridFile::Workbook},
                                             {p.behaviours, GridFile::Workbook},
                                             {p.habitats, GridFile::Complete},
                                             {p.species, GridFile::Complete}};
    for (auto _ : state)
        for (const auto& [path, code] : files) {
            Grid g;
            if (!GridFile::load(g, path, code))
                state.SkipWithError("load failed");
            benchmark::DoNotOptimize(g.rows());
        }
}

void BM_ReferenceData(benchmark::State& state)
{
    const record::ReferencePaths& paths = tables().paths;
    qsizetype communes = 0;
    for (auto _ : state) {
        record::ReferenceData refs;
        if (!refs.load(paths))
            state.SkipWithError("load failed");
        // What one record asks: the departments, the communes of its department, its commune's
        // row, and each parcel's commune.
        const QStringList departments = refs.sub_Load_Dept(QStringLiteral("%"));
        const QList<record::CommuneChoice> choices = refs.sub_Load_Communes(QStringLiteral("26 - Drôme"));
        int found = 0;
        for (int parcel = 0; parcel < 30; ++parcel)
            found += refs.findCommune(QStringLiteral("26 - Drôme"), QStringLiteral("Valence")) >= 0;
        benchmark::DoNotOptimize(departments.size() + choices.size() + found);
        communes = refs.communeCount();
    }
    state.counters["communes"] = double(communes);
}

BENCHMARK(BM_GridFilesAlone)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(10);
BENCHMARK(BM_ReferenceData)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(10);

} // namespace

int main(int argc, char** argv)
{
    return bench_support::runEachFresh(argc, argv, [](const bench_support::Runs& runs) {
        std::printf("Reference data from the starter tables against GridFile loading the same files\n");
        bench_support::printTimes("grid files alone", runs["BM_GridFilesAlone"]);
        bench_support::printAgainstFloor("reference data", runs["BM_ReferenceData"],
                                         runs["BM_GridFilesAlone"], 1.3);
    });
}
