// The conversion dispatcher over 100,000 points per source type, spread over mainland France
// and Corsica. Each run converts all of them. No goal: the figures are compared with PROJ's
// cs2cs by compare_cs2cs.sh.

#include "coords/Conversion.h"
#include "coords/NumberText.h"

#include "bench/support/RunTimes.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

using namespace coords;

namespace {

constexpr int POINTS = 100000;

struct CoordinateSet
{
    CoordinateSlots X, Y, Z;
};

// Every slot of each point, computed once from NTF grads; the benchmarks then feed one type's
// slots back as texts, as a window holds them.
const std::vector<CoordinateSet>& points()
{
    static const std::vector<CoordinateSet> all = [] {
        coords::setDecimalSeparator(QLatin1Char('.'));
        std::mt19937 generator(42);
        std::uniform_real_distribution<double> lambda(-6.0, 9.0), phi(46.0, 57.0);
        std::vector<CoordinateSet> v;
        v.reserve(POINTS);
        while (int(v.size()) < POINTS) {
            CoordinateSet j;
            j.X[0] = coords::roundDecimals(lambda(generator), 4);
            j.Y[0] = coords::roundDecimals(phi(generator), 4);
            if (sub_Convertir_Coordonnees(j.X, j.Y, j.Z, TYPE_NTF, "*").error == 0)
                v.push_back(j);
        }
        return v;
    }();
    return all;
}

void convertAll(benchmark::State& state, int type, const QString& zone)
{
    coords::setDecimalSeparator(QLatin1Char('.'));
    std::vector<CoordinateSet> sources;
    sources.reserve(POINTS);
    for (const CoordinateSet& p : points()) {
        CoordinateSet j;
        j.X[type] = slotText(p.X[type]);
        j.Y[type] = slotText(p.Y[type]);
        j.Z[type] = slotText(p.Z[type]);
        sources.push_back(j);
    }
    for (auto _ : state) {
        int errors = 0;
        for (CoordinateSet j : sources)
            errors += sub_Convertir_Coordonnees(j.X, j.Y, j.Z, type, zone).error != 0;
        benchmark::DoNotOptimize(errors);
        if (errors != 0)
            state.SkipWithError("a point was refused");
    }
    state.SetItemsProcessed(state.iterations() * POINTS);
}

void BM_Dispatcher_NTF(benchmark::State& s) { convertAll(s, TYPE_NTF, "*"); }
void BM_Dispatcher_Lambert2E(benchmark::State& s) { convertAll(s, TYPE_LAMBERT, "2E"); }
void BM_Dispatcher_WGS84(benchmark::State& s) { convertAll(s, TYPE_WGS84, "WGS84"); }
void BM_Dispatcher_UTM(benchmark::State& s) { convertAll(s, TYPE_UTM, "WGS84"); }
void BM_Dispatcher_MGRS(benchmark::State& s) { convertAll(s, TYPE_MGRS, "WGS84"); }

} // namespace

BENCHMARK(BM_Dispatcher_NTF)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(BM_Dispatcher_Lambert2E)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(BM_Dispatcher_WGS84)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(BM_Dispatcher_UTM)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(BM_Dispatcher_MGRS)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

int main(int argc, char** argv)
{
    return bench_support::runEachFresh(argc, argv, [](const bench_support::Runs&) {
        std::printf("No goal of their own: compare_cs2cs.sh sets the dispatcher beside cs2cs.\n");
    });
}
