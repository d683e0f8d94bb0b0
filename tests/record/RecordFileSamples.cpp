#include "tests/record/RecordFileSamples.h"

#include "grid/GridFile.h"

using grid::Grid;

namespace testing_support {

namespace {

void row(Grid& g, int r, const QStringList& cells)
{
    if (g.rows() <= r)
        g.setRows(r + 1);
    for (int i = 0; i < cells.size(); ++i)
        g.setCell(r, i + 1, cells.at(i));
}

} // namespace

void fillRecordGrid(Grid& g, const RecordSample& r)
{
    g.setFixedRows(0);
    g.setFixedCols(0);
    g.setRows(9);
    g.setCols(72);
    g.clear();
    const int n = r.parcelles;
    row(g, 1, {"SHOC", "V1.0.0", ""});
    row(g, 2, {"Désignation et localisation", r.departement, r.commune, r.lieuDit, r.site, r.milieu});
    row(g, 3, {"Nom du réseau", r.reseau});
    row(g, 4, {"Commentaire général", "Gel@vbCrLf@Brouillard le matin"});
    row(g, 5, {"Nom et prénom", r.nom, r.prenom});
    row(g, 6, {"Courriel et téléphone", r.courriel, r.telephone});
    row(g, 7, {"Nbr points", QString::number(n)});
    row(g, 8, {"Saison", r.saison});
    row(g, 9,
        {"Coordonnées", "N°Point", "Dept", "Commune", "Lieudit", "Zone UTM", "Longitude", "Latitude",
         "Maille MGRS", "Longueur trajet", "Altitude", "Réserve de chasse", "Vérifié", "Type Coord",
         "Longitude Lambert", "Latitude Lambert", "Informations"});
    for (int p = 1; p <= n; ++p) {
        row(g, 9 + p,
            {"", QString::number(p), r.departement.left(2), r.commune, r.lieuDit, "", "", "", "", "500",
             "180", "2", "1", "1", QString::number(850000 + p * 100), QString::number(1970000 + p * 100),
             ""});
        g.setCell(9 + p, 20, QStringLiteral("%1").arg(p, 2, 10, QLatin1Char('0')));
        g.setCell(9 + p, 23, QStringLiteral("1"));
    }
    row(g, 10 + n, {"Date, N° Passage et commentaire relevé", r.date, QString::number(r.passage - 1), ""});
    row(g, 11 + n, {"Météo", "N°Point", "Couverture nuageuse", "Pluie", "Vent", "Visibilité"});
    for (int p = 1; p <= n; ++p)
        row(g, 11 + n + p, {"", QString::number(p), "2", "1", "1", "3"});
    row(g, 12 + 2 * n, {"Paramètres saisies", "0", "1"});
    int next = 13 + 2 * n;
    for (int p = 1; p <= n; ++p) {
        row(g, next++, {"Espèces Parcelle N°" + QString::number(p), "09:30", "00:30", "0", "1"});
        row(g, next++,
            {"", "Classe", "Espèce", "Nom", "Observés entre 0 et 50m", "Observés entre 50 et 200m",
             "Observés à plus de 200m", "En survol", "Total", "Indices"});
        row(g, next++,
            {"", "O", "ALAARV", "Alouette des champs", "3", "12", "", "", "15", "ALIM En alimentation"});
        row(g, next++, {"", "O", "TURMER", "Merle noir", "1", "", "", "", "1", ""});
    }
    g.setRows(next + 2); // the empty rows a record saved again keeps
    g.setFixedRows(1);
    g.setFixedCols(1);
}

void fillEpsRecordGrid(Grid& g, const RecordSample& r)
{
    g.setFixedRows(0);
    g.setFixedCols(0);
    g.setRows(12);
    g.setCols(30);
    g.clear();
    row(g, 1, {"EPS", "V2.0", "Relevé EPS"});
    row(g, 2, {"Site", r.departement, r.lieuDit, r.commune, r.site});
    row(g, 3, {"Observateur", r.nom, r.courriel, r.prenom, r.telephone});
    row(g, 4, {"Date", r.date, QString::number(r.passage)});
    row(g, 5, {"Points", "1", "2", "3", "4", "5"});
    for (int i = 6; i < 12; ++i)
        row(g, i, {"", "O", "PASDOM", "Moineau domestique", QString::number(i)});
    g.setFixedRows(1);
    g.setFixedCols(1);
}

bool writeRecordFile(const Grid& grille, const QString& chemin)
{
    return grid::GridFile::save(grille, chemin, grid::GridFile::Complete, true).ok;
}

QStringList cellTexts(const Grid& g)
{
    QStringList out;
    out << QStringLiteral("size=%1x%2 fixed=%3x%4")
               .arg(g.rows())
               .arg(g.cols())
               .arg(g.fixedRows())
               .arg(g.fixedCols());
    for (int r = 0; r < g.rows(); ++r)
        for (int c = 0; c < g.cols(); ++c)
            if (!g.cell(r, c).isEmpty())
                out << QStringLiteral("%1,%2=%3").arg(r).arg(c).arg(g.cell(r, c));
    return out;
}

} // namespace testing_support
