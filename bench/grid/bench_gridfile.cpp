// Complete grid files (code 0): save and load of a record-shaped grid (72 columns, 400 rows of
// short French texts) and of a 20,000-row reference table, beside the floor of any text
// format: the same bytes read with QFile::readAll, decoded from UTF-8 and split at tabs and
// line ends. Also the first 40 rows of a record file, as the record list reads them.
// After the runs the program prints the load times beside the floor and their ratio (goal: 2.0 at
// most), for the first run in a fresh process and for the median of the later runs.

#include "grid/GridFile.h"

#include "grid/Grid.h"
#include "tests/grid/GridSamples.h"

#include "bench/support/RunTimes.h"
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdlib>

#include <cstdio>
#include <string>

using namespace grid;

namespace {

struct Files
{
    QTemporaryDir dir;
    QString record, reference, bigRecord;
    Files()
    {
        Grid r, t, big;
        grid_samples::fillRecord(r, 400);
        grid_samples::fillReference(t, 20000);
        grid_samples::fillRecord(big, 4000);
        record = dir.filePath("record.FLX2009");
        reference = dir.filePath("Espèces.DOV");
        bigRecord = dir.filePath("big.FLX2009");
        if (!GridFile::save(r, record, GridFile::Complete))
            std::abort();
        if (!GridFile::save(t, reference, GridFile::Complete))
            std::abort();
        if (!GridFile::save(big, bigRecord, GridFile::Complete))
            std::abort();
    }
};

Files& files()
{
    static Files f;
    return f;
}

const QString& pathOf(int which) { return which == 0 ? files().record : files().reference; }

// The floor: read, decode, split into cells.
void BM_Floor(benchmark::State& state)
{
    const QString& path = pathOf(int(state.range(0)));
    qsizetype cells = 0;
    for (auto _ : state) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        const QString text = QString::fromUtf8(f.readAll());
        cells = 0;
        for (QStringView line : QStringView(text).split(u'\n')) {
            const QList<QStringView> parts = line.split(u'\t');
            for (QStringView p : parts) {
                QString cell = p.toString();
                benchmark::DoNotOptimize(cell);
                ++cells;
            }
        }
    }
    state.counters["cells"] = double(cells);
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}

void BM_Load(benchmark::State& state)
{
    const QString& path = pathOf(int(state.range(0)));
    for (auto _ : state) {
        Grid g;
        if (!GridFile::load(g, path, GridFile::Complete))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(g.rows());
    }
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}

void BM_Save(benchmark::State& state)
{
    const QString& path = pathOf(int(state.range(0)));
    Grid g;
    if (!GridFile::load(g, path, GridFile::Complete))
        std::abort();
    const QString out = files().dir.filePath("out");
    for (auto _ : state)
        if (!GridFile::save(g, out, GridFile::Complete))
            state.SkipWithError("save failed");
}

// The first 40 rows of a record file of 400 rows and of 4,000 rows: the time must not grow
// with the file.
void BM_LoadHead(benchmark::State& state)
{
    const QString& path = state.range(0) == 0 ? files().record : files().bigRecord;
    for (auto _ : state) {
        Grid g;
        if (!GridFile::loadHead(g, path, 40))
            state.SkipWithError("head failed");
        benchmark::DoNotOptimize(g.rows());
    }
}

// Both files of a benchmark, one run a repetition: the first is the one a user waits for.
template <const char* Name> void bothFiles(benchmark::internal::Benchmark* b)
{
    b->Arg(0)->Arg(1)->ArgName(Name)->Unit(benchmark::kMicrosecond)->Iterations(1)->Repetitions(20);
}
constexpr char kReference[] = "reference";
constexpr char kBig[] = "big";

BENCHMARK(BM_Floor)->Apply(bothFiles<kReference>);
BENCHMARK(BM_Load)->Apply(bothFiles<kReference>);
BENCHMARK(BM_Save)->Apply(bothFiles<kReference>);
BENCHMARK(BM_LoadHead)->Apply(bothFiles<kBig>);

} // namespace

int main(int argc, char** argv)
{
    return bench_support::runEachFresh(argc, argv, [](const bench_support::Runs& runs) {
        std::printf("Code-0 load against the floor (readAll + UTF-8 + split)\n");
        const char* names[] = {"record (72 x 400)", "reference table (20,000 rows)"};
        for (int i = 0; i < 2; ++i) {
            const std::string arg = "/reference:" + std::to_string(i);
            bench_support::printTimes((std::string("floor, ") + names[i]).c_str(), runs["BM_Floor" + arg]);
            bench_support::printAgainstFloor((std::string("load, ") + names[i]).c_str(),
                                             runs["BM_Load" + arg], runs["BM_Floor" + arg], 2.0);
        }
        std::printf("The first 40 rows, whatever the length of the file:\n");
        bench_support::printTimes("of a 400-row file", runs["BM_LoadHead/big:0"]);
        bench_support::printTimes("of a 4,000-row file", runs["BM_LoadHead/big:1"]);
    });
}
