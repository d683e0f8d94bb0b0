#include "tests/record/LocationSamples.h"

#include "record/LocationGrid.h"

using grid::Grid;
using namespace record;

namespace record_samples {

std::unique_ptr<Grid> locationGrid(int parcels)
{
    auto g = std::make_unique<Grid>();
    g->setCols(LocColumns);
    g->setRows(parcels + 1);
    g->setFixedRows(1);
    g->setFixedCols(2);
    g->setColDataType(LocReserve, Grid::DataType::Boolean);
    g->setColDataType(LocValidated, Grid::DataType::Boolean);
    for (int p = 1; p <= parcels; ++p) {
        g->setCell(p, LocParcel, QStringLiteral("Parcelle N°%1").arg(p, 2, 10, QLatin1Char('0')));
        g->setCheckState(p, LocValidated, Grid::Checked);
    }
    g->setReadOnly({0, LocValidated, parcels, LocLambertY}, true);
    return g;
}

void setPosition(Grid& g, int row, const QString& cells)
{
    const QStringList texts = cells.split(QLatin1Char('|'));
    for (int i = 0; i < texts.size(); ++i)
        g.setCell(row, LocDepartment + i, texts[i]);
}

QString rowText(const Grid& g, int row, int first, int last)
{
    QStringList texts;
    for (int c = first; c <= last; ++c)
        texts << g.cell(row, c);
    return texts.join(QLatin1Char('|'));
}

} // namespace record_samples
