// The export table of a large survey written as a workbook: 65,000 data rows of 40 columns
// under their header, so two sheets at 65,000 rows a sheet. sub_Export_Excel (conversion of
// every cell text, formats, temporary file replaced at the end) is measured beside
// libxlsxwriter writing the same cells, already converted, in a plain loop; the goal is a ratio
// of at most 1.5, for the first run in a fresh process and for the median of the later runs.
//
//   build/bench/common/bench_excelwriter

#include "common/ExcelWriter.h"
#include "common/Globals.h"
#include "grid/Grid.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "bench/support/PlainWorkbook.h"
#include "bench/support/RunTimes.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kDataRows = 65'000;
constexpr int kColumns = 40;

const QStringList kHeader = {"Organisme",
                             "CPU",
                             "Type",
                             "Code inventaire",
                             "Etude",
                             "Hiver",
                             "Site",
                             "Pays",
                             "Département",
                             "Commune",
                             "Lieudit",
                             "Date",
                             "Heure",
                             "Durée",
                             "Type échantillon",
                             "N° Passage",
                             "Observateur",
                             "Email",
                             "N° Parcelle SHOC",
                             "N° Parcelle",
                             "Altitude",
                             "Zone UTM",
                             "Maille MGRS",
                             "Longitude",
                             "Latitude",
                             "Type de coordonnées",
                             "Type de coordonnées lambert",
                             "SHOC-Nuage",
                             "SHOC-Pluie",
                             "SHOC-Vent",
                             "SHOC-Visibilité",
                             "SHOC-MPP-PA",
                             "SHOC-MPA-PA",
                             "SHOC-MPA-SN",
                             "Classe",
                             "Code espèce",
                             "Nom espèce",
                             "Comportement",
                             "Distance de contact",
                             "Nombre"};

const QStringList kSpecies = {"Pie bavarde",   "Alouette des champs", "Bruant jaune",     "Perdrix grise",
                              "Vanneau huppé", "Étourneau sansonnet", "Pinson des arbres"};
const QStringList kDistances = {"< 50m", "50-200m", "> 200m", "En vol", "Non indiquée"};

// The export table as the record list builds it: column 0 empty, header in row 0.
grid::Grid* tableExport()
{
    static grid::Grid* g = [] {
        auto* t = new grid::Grid;
        t->setCols(kColumns + 1);
        t->setRows(kDataRows + 1);
        t->setFixedRows(1);
        t->setFixedCols(1);
        for (int c = 0; c < kColumns; ++c)
            t->setCell(0, c + 1, kHeader[c]);
        for (int r = 1; r <= kDataRows; ++r) {
            const int site = r / 40, parcelle = r % 10 + 1;
            const QStringList cells = {"LPO",
                                       "A1B2C3",
                                       "Observateur",
                                       QStringLiteral("'%1").arg(1000000 + r),
                                       "SHOC",
                                       "2009-2010",
                                       QStringLiteral("SHOC-%1-Les Grands Champs").arg(site),
                                       "FR",
                                       QStringLiteral("'%1").arg(site % 95 + 1, 2, 10, QLatin1Char('0')),
                                       "Saint-Martin-des-Prés",
                                       "La Croix Blanche",
                                       QStringLiteral("%1/11/2009").arg(r % 28 + 1, 2, 10, QLatin1Char('0')),
                                       QStringLiteral("%1:%2")
                                           .arg(7 + r % 10, 2, 10, QLatin1Char('0'))
                                           .arg(r % 60, 2, 10, QLatin1Char('0')),
                                       "00:45",
                                       "Parcelle",
                                       QString::number(r % 5 + 1),
                                       "Dupont",
                                       "jean.dupont@exemple.fr",
                                       QStringLiteral("Parcelle SHOC 2009 : %1").arg(parcelle),
                                       QString::number(parcelle),
                                       QString::number(100 + r % 300),
                                       "31T",
                                       "DJ4512",
                                       QStringLiteral("2,%1").arg(100000 + r),
                                       QStringLiteral("48,%1").arg(200000 + r),
                                       "1",
                                       r % 3 ? "" : "2E",
                                       QString::number(r % 4),
                                       QString::number(r % 3),
                                       QString::number(r % 5),
                                       QString::number(r % 4 + 1),
                                       r % 2 ? "-1" : "",
                                       QStringLiteral("%1%").arg(r % 100),
                                       QStringLiteral("%1,5").arg(r % 50),
                                       "O",
                                       "PICPIC",
                                       kSpecies[r % kSpecies.size()],
                                       r % 7 ? "" : "ALIM",
                                       kDistances[r % kDistances.size()],
                                       QString::number(r % 12 + 1)};
            for (int c = 0; c < kColumns; ++c)
                t->setCell(r, c + 1, cells[c]);
        }
        return t;
    }();
    return g;
}

void reglagesClasseur()
{
    Sub_Test_Version_Excel(gbol_Excel_Disponible, gstr_Version_Excel, glng_Lignes_Par_Feuille);
}

void BM_SubExportExcel(benchmark::State& state)
{
    reglagesClasseur();
    const grid::Grid& g = *tableExport();
    QTemporaryDir dir;
    const QString path = dir.filePath("export.xlsx");
    for (auto _ : state) {
        int feuilles = 0;
        const platform::Result r =
            sub_Export_Excel(false, g, path, QString(), "SHOC", false, 0, g.rows() - 1, feuilles);
        if (!r.ok || feuilles != 2)
            state.SkipWithError(r.ok ? "not two sheets" : r.error.toUtf8().constData());
    }
    state.counters["cellules"] = double(kDataRows + 2) * kColumns;
}

// The same cells, converted beforehand, in the library's own terms.
const bench_support::PlainWorkbook& contenuBrut()
{
    static const bench_support::PlainWorkbook contenu = [] {
        reglagesClasseur();
        const grid::Grid& g = *tableExport();
        QStringList entete;
        for (int c = 0; c < kColumns; ++c)
            entete << g.cell(0, c + 1);
        QList<QStringList> lignes;
        for (int r = 1; r <= kDataRows; ++r) {
            QStringList ligne;
            for (int c = 0; c < kColumns; ++c)
                ligne << g.cell(r, c + 1);
            lignes << ligne;
        }
        return bench_support::plainWorkbook(entete, lignes);
    }();
    return contenu;
}

void BM_LibxlsxwriterLoop(benchmark::State& state)
{
    bench_support::timePlainWorkbook(state, contenuBrut(), "SHOC");
}

// Each measure is one export.
BENCHMARK(BM_SubExportExcel)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(BM_LibxlsxwriterLoop)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

} // namespace

int main(int argc, char** argv)
{
    return bench_support::runEachFresh(argc, argv, [](const bench_support::Runs& runs) {
        std::printf("Workbook of %d rows against libxlsxwriter alone writing the same cells\n", kDataRows);
        bench_support::printTimes("libxlsxwriter loop", runs["BM_LibxlsxwriterLoop"]);
        bench_support::printAgainstFloor("sub_Export_Excel", runs["BM_SubExportExcel"],
                                         runs["BM_LibxlsxwriterLoop"], 1.5);
    });
}
