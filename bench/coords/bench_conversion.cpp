// The conversion dispatcher over 100,000 points per source type, spread over mainland France
// and Corsica. Each iteration converts all of them; items/s is points per second.

#include "coords/Conversion.h"
#include "coords/TexteNombre.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

constexpr int POINTS = 100000;

struct Jeu
{
    SlotsCoord X, Y, Z;
};

// Every slot of each point, computed once from NTF grads; the benchmarks then feed one type's
// slots back as texts, as a window holds them.
const std::vector<Jeu>& points()
{
    static const std::vector<Jeu> tous = [] {
        coords::definirSeparateurDecimal(QLatin1Char('.'));
        std::mt19937 alea(42);
        std::uniform_real_distribution<double> lambda(-6.0, 9.0), phi(46.0, 57.0);
        std::vector<Jeu> v;
        v.reserve(POINTS);
        while (int(v.size()) < POINTS) {
            Jeu j;
            j.X[0] = coords::arrondiDecimales(lambda(alea), 4);
            j.Y[0] = coords::arrondiDecimales(phi(alea), 4);
            if (sub_Convertir_Coordonnees(j.X, j.Y, j.Z, gint_NTF, "*").erreur == 0)
                v.push_back(j);
        }
        return v;
    }();
    return tous;
}

void convertir(benchmark::State& state, int type, const QString& zone)
{
    coords::definirSeparateurDecimal(QLatin1Char('.'));
    std::vector<Jeu> sources;
    sources.reserve(POINTS);
    for (const Jeu& p : points()) {
        Jeu j;
        j.X[type] = fun_Texte_Coord(p.X[type]);
        j.Y[type] = fun_Texte_Coord(p.Y[type]);
        j.Z[type] = fun_Texte_Coord(p.Z[type]);
        sources.push_back(j);
    }
    for (auto _ : state) {
        int erreurs = 0;
        for (Jeu j : sources)
            erreurs += sub_Convertir_Coordonnees(j.X, j.Y, j.Z, type, zone).erreur != 0;
        benchmark::DoNotOptimize(erreurs);
        if (erreurs != 0)
            state.SkipWithError("a point was refused");
    }
    state.SetItemsProcessed(state.iterations() * POINTS);
}

void BM_Dispatcher_NTF(benchmark::State& s) { convertir(s, gint_NTF, "*"); }
void BM_Dispatcher_Lambert2E(benchmark::State& s) { convertir(s, gint_Lambert, "2E"); }
void BM_Dispatcher_WGS84(benchmark::State& s) { convertir(s, gint_WGS84, "WGS84"); }
void BM_Dispatcher_UTM(benchmark::State& s) { convertir(s, gint_UTM, "WGS84"); }
void BM_Dispatcher_MGRS(benchmark::State& s) { convertir(s, gint_MGRS, "WGS84"); }

} // namespace

BENCHMARK(BM_Dispatcher_NTF)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dispatcher_Lambert2E)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dispatcher_WGS84)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dispatcher_UTM)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dispatcher_MGRS)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
