#include "record/LocationGrid.h"

#include "common/Globals.h"
#include "common/KeyFilters.h"
#include "coords/NumberText.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "record/RecordValidator.h"
#include "record/ReferenceData.h"
#include "record/SurveyRecord.h"

#include <algorithm>
#include <cmath>

using grid::Grid;
namespace mb = platform::mb;

namespace record {

namespace {

const QString kUtmZoneQuestion =
    QStringLiteral("Pour la France métropolitaine et la Corse, les numéros de zone UTM se situent entre des "
                   "numéros 30 à 32 compris !\n\nConfirmez-vous votre choix ?");
constexpr double kFirstFrenchUtmZone = 30;
constexpr double kLastFrenchUtmZone = 32;

// Beyond this distance the information cell and the question give whole kilometres.
constexpr double kWholeKmBeyond = 20.0;

QString farInformation(const QString& km)
{
    return QStringLiteral("Possible erreur de coordonnées : parcelle située à plus de ") + km +
           QStringLiteral(" km du barycentre de sa commune d'appartenance.");
}
QString farQuestion(int parcel, const QString& km)
{
    return QStringLiteral("Le Parcelle N°") + QString::number(parcel) +
           QStringLiteral(" est situé à plus de ") + km +
           QStringLiteral(" km du barycentre de sa commune d'appartenance.\n\nCela  vous parait-il exacte ?");
}
// What the information cell says when the distance cannot be measured.
const QString kUnreadablePosition =
    QStringLiteral("Distance inconnue : les coordonnées de la parcelle ne peuvent pas être converties.");
const QString kUnknownCentre = QStringLiteral(
    "Distance inconnue : le barycentre de la commune d'appartenance de la parcelle n'est pas connu.");

void setValidated(Grid& g, int row, bool validated)
{
    g.setCheckState(row, LocValidated, validated ? Grid::Checked : Grid::Unchecked);
}

void setInformation(Grid& g, int row, const QString& text, grid::GridColour colour)
{
    g.setCell(row, LocInformation, text);
    g.setBackColour({row, LocInformation, row, LocInformation}, colour);
}

void setLambert(Grid& g, int row, const QString& x, const QString& y)
{
    g.setCell(row, LocLambertX, x);
    g.setCell(row, LocLambertY, y);
}

} // namespace

TypedPosition typedPositionOf(const Grid& g, int row)
{
    return {.utmZone = g.cell(row, LocUtmZone),
            .longitude = g.cell(row, LocLongitude),
            .latitude = g.cell(row, LocLatitude),
            .mgrsSquare = g.cell(row, LocMgrs)};
}

// ---------------------------------------------------------------- before edit

QString departmentEditList(const ReferenceData& references)
{
    QString list = QStringLiteral("| ");
    for (const QString& item : references.sub_Load_Dept(QStringLiteral("%")))
        list += QLatin1Char('|') + item;
    return list;
}

QString communeEditList(const ReferenceData& references, const QString& departmentCell)
{
    QString list;
    for (const CommuneChoice& c : references.sub_Load_Communes(departmentCell))
        list += QLatin1Char('|') + c.name;
    return list;
}

bool prepareLocationEdit(Grid& g, int row, int col, const ReferenceData& references)
{
    if (col == LocInformation || g.isReadOnly(row, col))
        return false;
    switch (col) {
    case LocDepartment:
        if (g.colEditList(LocDepartment).isEmpty())
            g.setColEditList(LocDepartment, departmentEditList(references));
        g.setEditList(QString());
        break;
    case LocCommune: {
        const QString department = g.cell(row, LocDepartment);
        g.setEditList(department.trimmed().isEmpty() ? QString() : communeEditList(references, department));
        break;
    }
    default:
        g.setEditList(QString());
        break;
    }
    return true;
}

// ---------------------------------------------------------------- keys

int filterLocationKey(Grid& g, int row, int col, int coordinateType, int key,
                      const std::function<int(int)>& digitsFilter)
{
    setValidated(g, row, false);
    if (col < LocUtmZone)
        return key;
    if (coordinateType == kCoordMgrs) {
        const int kept = fun_Car_Dans_Plages(key);
        return kept == 0 ? 0 : fun_Majuscule_Sans_Accent(kept);
    }
    return digitsFilter ? digitsFilter(key) : key;
}

bool acceptLocationEdit(int col, int coordinateType, const QString& text)
{
    if (col != LocUtmZone || coordinateType != kCoordUtm || text.trimmed().isEmpty())
        return true;
    const coords::NumberReading zone = coords::readNumberAnySeparator(text);
    if (zone.ok() && zone.value >= kFirstFrenchUtmZone && zone.value <= kLastFrenchUtmZone)
        return true;
    return platform::dialogs().ask(kUtmZoneQuestion, mb::YesNo | mb::Exclamation, common::kProgramName) ==
           mb::Yes;
}

// ---------------------------------------------------------------- after edit

QString informationDistance(double km)
{
    return km > kWholeKmBeyond ? coords::generalText(std::trunc(km)) : coords::fixedText(km, 2);
}

QString questionDistance(double km) { return coords::generalText(km > kWholeKmBeyond ? std::trunc(km) : km); }

LocationCheck checkLocationRow(Grid& g, int row, int col, const LocationCheckContext& context)
{
    if (col == LocDepartment || col == LocCommune)
        setValidated(g, row, false);

    // Until something proves the parcel near (or the user confirms it), it is not validated.
    const int type = context.coordinateType;
    const TypedPosition typed = typedPositionOf(g, row);
    if (!positionComplete(type, typed)) {
        setValidated(g, row, false);
        setLambert(g, row, QString(), QString());
        setInformation(g, row, QString(), 0);
        return LocationCheck::NoPosition;
    }
    const auto position = convertPosition(type, typed, context.coordinates);
    if (!position) {
        setValidated(g, row, false);
        setLambert(g, row, QString(), QString());
        setInformation(g, row, kUnreadablePosition, 0);
        return LocationCheck::Unreadable;
    }
    setLambert(g, row, position->lambertX, position->lambertY);

    const CommuneName commune = parcelCommune(g.cell(row, LocDepartment), g.cell(row, LocCommune),
                                              context.siteDepartment, context.siteCommune);
    const auto km = context.references
                        ? distanceToCentre(*context.references, commune, *position, context.coordinates)
                        : std::nullopt;
    if (!km) {
        setValidated(g, row, false);
        setInformation(g, row, kUnknownCentre, 0);
        return LocationCheck::UnknownCentre;
    }
    if (*km <= kNearParcelKm) {
        setValidated(g, row, true);
        setInformation(g, row, QString(), 0);
        return LocationCheck::Near;
    }

    setValidated(g, row, false);
    setInformation(g, row, farInformation(informationDistance(*km)), kFarParcelColour);
    const int answer = platform::dialogs().ask(farQuestion(row, questionDistance(*km)),
                                               mb::YesNo | mb::Question, validationTitle());
    if (answer != mb::Yes)
        return LocationCheck::FarDenied;
    g.setBackColour({row, LocInformation, row, LocInformation}, kConfirmedParcelColour);
    setValidated(g, row, true);
    return LocationCheck::FarConfirmed;
}

// ---------------------------------------------------------------- paste and fill

bool locationCellWritable(const Grid& g, int row, int col)
{
    return row >= g.fixedRows() && row < g.rows() && col >= g.fixedCols() && col < g.cols() &&
           col != LocInformation && !g.isReadOnly(row, col);
}

LocationGridChange::LocationGridChange(Grid& g, const grid::GridRange& range) : m_grid(g)
{
    m_range = {std::max(range.row1, 0), std::max(range.col1, 0), std::min(range.row2, g.rows() - 1),
               std::min(range.col2, g.cols() - 1)};
    if (m_range.isEmpty())
        return;
    m_before.reserve(size_t(m_range.rowCount()) * size_t(m_range.colCount()));
    for (int r = m_range.row1; r <= m_range.row2; ++r)
        for (int c = m_range.col1; c <= m_range.col2; ++c)
            m_before.push_back({g.cell(r, c), g.checkState(r, c)});
}

QList<int> LocationGridChange::finish()
{
    QList<int> changed;
    if (m_range.isEmpty())
        return changed;
    size_t i = 0;
    for (int r = m_range.row1; r <= m_range.row2; ++r) {
        bool rowChanged = false;
        for (int c = m_range.col1; c <= m_range.col2; ++c, ++i) {
            const Cell& before = m_before[i];
            const bool textChanged = m_grid.cell(r, c) != before.text;
            const bool checkChanged = m_grid.checkState(r, c) != before.check;
            if (!textChanged && !checkChanged)
                continue;
            if (locationCellWritable(m_grid, r, c)) {
                rowChanged = true;
                continue;
            }
            if (textChanged)
                m_grid.setCell(r, c, before.text);
            if (checkChanged)
                m_grid.setCheckState(r, c, before.check);
        }
        if (rowChanged) {
            setValidated(m_grid, r, false);
            changed << r;
        }
    }
    return changed;
}

} // namespace record
