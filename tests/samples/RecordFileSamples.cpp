#include "tests/samples/RecordFileSamples.h"

#include "grid/GridFile.h"
#include "record/RecordLayout.h"
#include "tests/samples/RecordSamples.h"

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
    record::SurveyRecord rec = record_samples::twoParcels();
    rec.department = r.departement;
    rec.commune = r.commune;
    rec.placeName = r.lieuDit;
    rec.siteName = r.site;
    rec.habitatType = r.milieu;
    rec.network = r.reseau;
    rec.observerName = r.nom;
    rec.observerFirstName = r.prenom;
    rec.email = r.courriel;
    rec.telephone = r.telephone;
    rec.season = r.saison;
    rec.date = r.date;
    rec.passage = r.passage;
    rec.parcels = QList<record::Parcel>(r.parcelles, rec.parcels.first());
    record::RecordLayout::write(rec, g);
    g.setRows(g.rows() + 2);
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
