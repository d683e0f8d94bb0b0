#include "tests/samples/SiblingSamples.h"

#include "grid/Grid.h"
#include "grid/GridFile.h"

#include <gtest/gtest.h>

namespace sibling_samples {

void Sibling::fill(grid::Grid& g) const
{
    QList<Cells> rows = {{""},
                         {"Ravelin", "V3.1"},
                         {"Désignation et localisation", "26 - Drôme", "Valence", "Lieu", "20", "Pomerel"},
                         {"Nom du réseau", "Pomerel"},
                         {"Commentaire général", comment},
                         {"Nom et prénom", observer},
                         {"Courriel", contact},
                         {"Nbr points", count.isEmpty() ? QString::number(points.size()) : count},
                         {"Saison", "Hiver 2009-2010"}};
    if (withLocations)
        rows << Cells{"Coordonnées"} << points;
    const Cells visit = {"Date, N° Passage et commentaire relevé", "5/1/10", passage, "Beau"};
    if (visitFirst)
        rows.insert(2, visit);
    else
        rows << visit;
    rows << Cells{"Météo"};
    for (int p = 1; p <= points.size(); ++p) {
        if (withoutSpeciesBlock.contains(p))
            continue;
        rows << Cells{"Espèces Parcelle N°" + QString::number(p), "08:00", "01:15"};
        if (speciesHeader)
            rows << Cells{"", "Code", "Nom", "0-50m", "Au-delà", "Total", "Vol", "Autre", "Indices"};
        for (const Cells& s : species.value(p - 1))
            rows << (Cells{""} << s);
    }
    g.setCols(40);
    g.setRows(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            g.setCell(r, 1 + c, rows[r][c]);
    g.setFixedRows(1);
    g.setFixedCols(1);
}

void write(const QString& path, const Sibling& sibling)
{
    grid::Grid g;
    sibling.fill(g);
    ASSERT_TRUE(grid::GridFile::save(g, path, grid::GridFile::Complete, true).ok) << path.toStdString();
}

} // namespace sibling_samples
