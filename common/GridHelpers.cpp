#include "common/GridHelpers.h"

#include "common/OptionMarks.h"

using grid::Grid;

namespace {
// A cell written only when its text changes: each write is a notice to the views, and a list has
// thousands of rows.
void setIfChanged(Grid& grille, int row, const QString& text)
{
    if (grille.cell(row, 0) != text)
        grille.setCell(row, 0, text);
}
} // namespace

void sub_Renum_Grid(Grid& grille)
{
    if (grille.fixedCols() < 1)
        return;
    if (common::isOptionChecked(QStringLiteral("RenumGrid"))) {
        int compteur = 1;
        for (int r = grille.fixedRows(); r < grille.rows(); ++r) {
            const QString t = grille.cell(r, 0);
            if (t == u"PG" || t == u"LG")
                continue;
            setIfChanged(grille, r, QString::number(compteur++));
        }
    } else {
        for (int r = 0; r < grille.rows(); ++r)
            setIfChanged(grille, r, QString());
    }
}

void sub_Tri_Colonne(Grid& grille, int premiere, int derniere, common::SortOrder ordre)
{
    if (premiere < 0)
        premiere = grille.fixedCols();
    if (derniere < 0)
        derniere = grille.cols() - 1;
    const int premiereLigne = grille.fixedRows();
    int derniereLigne = -1;
    for (int r = grille.rows() - 1; r > premiereLigne && derniereLigne < 0; --r)
        for (int c = grille.fixedCols(); c < grille.cols(); ++c)
            if (grille.colDataType(c) != Grid::DataType::Boolean && !grille.cell(r, c).trimmed().isEmpty()) {
                derniereLigne = r;
                break;
            }
    if (derniereLigne < 0)
        return;
    grille.select(premiereLigne, premiere, derniereLigne, derniere);
    switch (ordre) {
    case common::SortOrder::Descending:
        grille.sort(Grid::Sort::GenericDescending);
        break;
    case common::SortOrder::ByColumn:
        grille.sort(Grid::Sort::UseColumnSort);
        break;
    case common::SortOrder::Ascending:
        grille.sort(Grid::Sort::GenericAscending);
        break;
    }
}
