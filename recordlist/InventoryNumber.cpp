#include "recordlist/InventoryNumber.h"

#include "common/ExcelWriter.h"
#include "grid/Grid.h"
#include "record/RecordFileLayout.h"
#include "record/RecordLayout.h"
#include "recordlist/RecordSections.h"

#include <cmath>

namespace recordlist {

namespace {

namespace file = record::file;
namespace Loc = record::file::LocationColumn;

// Coordinates are in metres; the code holds them in hectometres.
constexpr double kMetresPerPiece = 100.0;
constexpr int kCoordinateDigits = 5;

// A coordinate in whole hectometres, truncated toward zero and without its sign, on at least five
// digits; empty when the cell is not a number.
QString coordinatePiece(const QString& cell)
{
    double metres = 0;
    if (!common::excel::parseNumber(cell, &metres))
        return QString();
    const double hectometres = std::fabs(std::trunc(metres / kMetresPerPiece));
    return QString::number(hectometres, 'f', 0).rightJustified(kCoordinateDigits, QLatin1Char('0'));
}

QString departmentPiece(const QString& cell)
{
    QString d = cell;
    d.replace(QLatin1Char('A'), QLatin1Char('0'));
    d.replace(QLatin1Char('B'), QLatin1Char('0'));
    return d.left(2);
}

} // namespace

QString fun_Gen_Num_Inventaire_Ravelin(const RecordSections& record, int parcel)
{
    const grid::Grid& g = record.grid();
    const int visit = record.row(record::RecordLayout::kTitleVisit);
    if (visit < 0)
        return kUnknownInventoryNumber;
    const int locations = record.row(record::RecordLayout::kTitleLocations);
    if (locations < 0)
        return kUnknownInventoryNumber;
    const int row = locations + parcel;
    return g.cell(visit, file::VisitColumn::Date).right(2) + g.cell(visit, file::VisitColumn::Passage) +
           departmentPiece(g.cell(row, Loc::Department)) + coordinatePiece(g.cell(row, Loc::Longitude)) +
           coordinatePiece(g.cell(row, Loc::Latitude)) +
           QStringLiteral("%1").arg(parcel, 2, 10, QLatin1Char('0'));
}

QString fun_Gen_Num_Inventaire_Ravelin(const grid::Grid& record, int parcel)
{
    return fun_Gen_Num_Inventaire_Ravelin(RecordSections(record), parcel);
}

} // namespace recordlist
