// The record window's parcels page: the location grid and its coordinate system, the habitat
// grid, and the number of parcels that gives the parcel grids their rows.
#include "record/frm_Releve_SHOC_Parts.h"

#include "common/GridWidgets.h"
#include "common/OptionMarks.h"
#include "record/CoordinateSwitch.h"
#include "record/LocationGrid.h"
#include "record/RecordLayout.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

using grid::Grid;
using grid::GridView;
using namespace record::window;
using enum record::LocationColumn;

namespace {

// flx_Coordonnées: a carriage return breaks a title over two lines.
const QString kLocationHeader = QStringLiteral(
    "|Parcelle|Dept|Commune|Lieu-dit|Zone\rUTM|Longitude|Latitude|Maille\rMGRS|Longeur du trajet\r(en m)"
    "|Altitude\r(en m)|Réserve de chasse\rou assimilé|Coordonnées\rvalidées|Longitude Lambert|Latitude "
    "Lambert"
    "|Informations");
constexpr int kLocationHidden[] = {LocDepartment, LocCommune, LocPlace, LocWalk, LocLambertX, LocLambertY};

// flx_Desc_Parcelles: the habitat check boxes end before this column.
constexpr int kHabitatColumns = 20;

// cbo_Quid_Coord: the coordinate systems in list order, with their coordinate type.
struct CoordinateItem
{
    QString text;
    int type;
};
const CoordinateItem kCoordinateItems[] = {
    {QStringLiteral("Grades Paris"), record::kCoordNtfGrads},
    {QStringLiteral("Degrés WGS84"), record::kCoordWgs84},
    {QStringLiteral("Lamberts ") + QStringLiteral("2E"), record::kCoordLambert},
    {QStringLiteral("UTM WGS84"), record::kCoordUtm},
    {QStringLiteral("MGRS"), record::kCoordMgrs},
};

// Rows below the parcel rows that the parcel grids keep free.
constexpr int kLocationMarginRows = 1;
constexpr int kHabitatMarginRows = 2;
constexpr int kWeatherMarginRows = 1;

} // namespace

// ================================================================ the page

QWidget* frm_Releve_SHOC::buildParcelsPage()
{
    auto* page = new QWidget;
    ogl_Parcelles = named(new QTabWidget, QStringLiteral("ogl_Parcelles"));

    auto* locations = new QWidget;
    cbo_Quid_Coord = named(new QComboBox, QStringLiteral("cbo_Quid_Coord"));
    flx_Coordonnées = gridView(QStringLiteral("flx_Coordonnées"));
    auto* system = new QHBoxLayout;
    system->addWidget(new QLabel(QStringLiteral("Système de coordonnées")));
    system->addWidget(cbo_Quid_Coord);
    system->addStretch(1);
    auto* locationLayout = new QVBoxLayout(locations);
    locationLayout->addLayout(system);
    locationLayout->addWidget(flx_Coordonnées);
    locationLayout->addStretch(1);

    auto* habitats = new QWidget;
    flx_Desc_Parcelles = gridView(QStringLiteral("flx_Desc_Parcelles"));
    auto* habitatLayout = new QVBoxLayout(habitats);
    habitatLayout->addWidget(flx_Desc_Parcelles);
    habitatLayout->addStretch(1);

    fra_Parcelles = {locations, habitats};
    const QString captions[2] = {QStringLiteral("Localisation des parcelles"),
                                 QStringLiteral("Description des parcelles adjacentes")};
    for (int i = 0; i < 2; ++i) {
        fra_Parcelles[size_t(i)]->setObjectName(indexed(QStringLiteral("fra_Parcelles"), i));
        ogl_Parcelles->addTab(fra_Parcelles[size_t(i)], captions[i]);
    }
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(ogl_Parcelles);
    return page;
}

void frm_Releve_SHOC::setUpLocationGrid()
{
    Grid& g = flx_Coordonnées->grid();
    g.setEditable(Grid::Editable::KeyboardMouse);
    g.setFormatString(kLocationHeader);
    g.setRows(1);
    g.setFixedRows(1);
    g.setFixedCols(2);
    g.setCols(LocColumns);
    for (int c : kLocationHidden)
        g.setColHidden(c, true);
    g.setColDataType(LocReserve, Grid::DataType::Boolean);
    g.setColDataType(LocValidated, Grid::DataType::Boolean);

    connect(cbo_Quid_Coord, &QComboBox::currentIndexChanged, this, &frm_Releve_SHOC::coordinateSystemChanged);
    connect(flx_Coordonnées, &GridView::beforeEdit, this, &frm_Releve_SHOC::locationBeforeEdit);
    connect(flx_Coordonnées, &GridView::keyPressEdit, this, &frm_Releve_SHOC::locationKeyPressEdit);
    connect(flx_Coordonnées, &GridView::validateEdit, this, &frm_Releve_SHOC::locationValidateEdit);
    connect(flx_Coordonnées, &GridView::afterEdit, this, &frm_Releve_SHOC::locationAfterEdit);
}

void frm_Releve_SHOC::setUpHabitatGrid()
{
    Grid& g = flx_Desc_Parcelles->grid();
    g.setEditable(Grid::Editable::KeyboardMouse);
    // Two empty titles (the fixed column and the parcel), the habitats, and a last "|" that
    // gives one column too many.
    g.setFormatString(QStringLiteral("||") + record::RecordLayout::habitatTitles().join(QLatin1Char('|')) +
                      QLatin1Char('|'));
    g.setRows(1);
    g.setFixedRows(1);
    g.setFixedCols(2);
    g.setCols(kHabitatColumns);
    for (int c = kFirstHabitatColumn; c < kHabitatColumns; ++c)
        g.setColDataType(c, Grid::DataType::Boolean);
}

// The coordinate systems offered, Lambert II étendu chosen first.
void frm_Releve_SHOC::setUpCoordinateSystems()
{
    cbo_Quid_Coord->setEnabled(false);
    for (const CoordinateItem& item : kCoordinateItems)
        cbo_Quid_Coord->addItem(item.text, item.type);
    cbo_Quid_Coord->setCurrentIndex(cbo_Quid_Coord->findData(record::kCoordLambert));
}

// ================================================================ the number of parcels

void frm_Releve_SHOC::applyParcelCount(int count)
{
    count = std::clamp(count, 1, record::kMaxParcels);
    // The parcel shown is kept before anything changes.
    storeShownParcel();
    const int shown = m_shownParcel >= 1 && m_shownParcel <= count ? m_shownParcel : 1;
    {
        const QSignalBlocker blocker(Tab_Relevé);
        while (Tab_Relevé->count() > 0)
            Tab_Relevé->removeTab(0);
        record::setParcelRows(flx_Desc_Parcelles->grid(), count);
        record::setParcelRows(flx_Date_Météo->grid(), count);
        record::setParcelRows(flx_Coordonnées->grid(), count, LocValidated);
        for (int p = 1; p <= count; ++p) {
            const int tab = Tab_Relevé->addTab(record::ParcelTabs::caption(p));
            Tab_Relevé->setTabData(tab, p);
        }
    }
    // The tab bar tells its new size itself only while it is shown.
    Tab_Relevé->updateGeometry();
    m_parcelCount = count;
    txt_Nbr_Relevés->setText(QString::number(count));
    m_shownParcel = 0;
    enterParcel(shown);
    // New rows get the read-only cells of the others.
    greyParcelGrids();
    fitParcelGridHeights();
}

// The cells of the parcel grids that the user does not type: the parcel labels, the checked
// coordinates and their Lambert position; the weather grid's labels.
void frm_Releve_SHOC::greyParcelGrids()
{
    Grid& loc = flx_Coordonnées->grid();
    const int last = loc.rows() - 1;
    loc.setReadOnly({0, LocParcel, last, LocParcel}, true);
    loc.setReadOnly({0, LocValidated, last, LocLambertY}, true);
    Grid& weather = flx_Date_Météo->grid();
    weather.setReadOnly({0, 0, weather.rows() - 1, 1}, true);

    flx_Coordonnées->fitColumnWidths();
    flx_Desc_Parcelles->fitColumnWidths();
    flx_Date_Météo->fitColumnWidths(0, -1, kFitExtraTwips);
    for (GridView* view : {flx_Coordonnées, flx_Desc_Parcelles, flx_Date_Météo})
        view->fitRowHeights();
}

// The parcel grids are exactly as tall as their header and parcel rows, with a margin of free
// rows and room for a horizontal scroll bar; a page that is then taller than the window scrolls.
void frm_Releve_SHOC::fitParcelGridHeights()
{
    const auto fit = [](GridView* view, int marginRows) {
        const QHeaderView* rows = view->verticalHeader();
        const int rowHeight = rows->count() > 0 ? rows->sectionSize(0) : rows->defaultSectionSize();
        view->setFixedHeight(2 * view->frameWidth() + view->horizontalHeader()->sizeHint().height() +
                             rows->length() + marginRows * rowHeight +
                             view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view));
    };
    fit(flx_Coordonnées, kLocationMarginRows);
    fit(flx_Desc_Parcelles, kHabitatMarginRows);
    fit(flx_Date_Météo, kWeatherMarginRows);
}

// ================================================================ the parcel location grid

int frm_Releve_SHOC::shownCoordinateType() const
{
    const QVariant type = cbo_Quid_Coord->currentData();
    return type.isValid() ? type.toInt() : record::kCoordLambert;
}

// Another coordinate system chosen: its position columns are shown, and every parcel's position
// is converted from the system shown before. The first choice, and the choices made while a
// record is loaded (its rows are already in the system chosen), only record the system.
void frm_Releve_SHOC::coordinateSystemChanged(int index)
{
    if (index < 0)
        return;
    const int type = cbo_Quid_Coord->itemData(index).toInt();
    if (flx_Coordonnées->isEditing())
        flx_Coordonnées->finishEditing();
    Grid& g = flx_Coordonnées->grid();
    const record::PositionColumns shown = record::positionColumnsShown(type);
    g.setColHidden(LocUtmZone, !shown.utmZone);
    g.setColHidden(LocLongitude, !shown.longitude);
    g.setColHidden(LocLatitude, !shown.latitude);
    g.setColHidden(LocMgrs, !shown.mgrsSquare);
    if (m_coordinateTag >= 0 && !m_loading)
        record::switchCoordinateSystem(g, m_parcelCount, m_coordinateTag, type, m_coordinates.convert);
    m_coordinateTag = type;
}

void frm_Releve_SHOC::locationBeforeEdit(int row, int col, bool* cancel)
{
    if (!record::prepareLocationEdit(flx_Coordonnées->grid(), row, col, m_references))
        *cancel = true;
}

void frm_Releve_SHOC::locationKeyPressEdit(int row, int col, int* key)
{
    *key = record::filterLocationKey(flx_Coordonnées->grid(), row, col, shownCoordinateType(), *key,
                                     [](int k) { return fun_KeyPress_Chiffres(k); });
}

void frm_Releve_SHOC::locationValidateEdit(int /*row*/, int col, bool* cancel)
{
    if (!record::acceptLocationEdit(col, shownCoordinateType(), flx_Coordonnées->editText()))
        *cancel = true;
}

// After an edit the parcel is checked against its commune's centre; a distant parcel that the user
// confirms brings back the page shown before the question.
void frm_Releve_SHOC::locationAfterEdit(int row, int col)
{
    const bool fit = common::isOptionChecked(QStringLiteral("Ajust"));
    if (fit)
        flx_Coordonnées->fitColumnWidths(col, col);
    const int page = ogl_Divers->currentIndex();
    const record::LocationCheckContext context{.coordinateType = shownCoordinateType(),
                                               .siteDepartment = listText(cbo_Dept),
                                               .siteCommune = listText(cbo_Communes),
                                               .references = &m_references,
                                               .coordinates = m_coordinates};
    const record::LocationCheck check = record::checkLocationRow(flx_Coordonnées->grid(), row, col, context);
    const bool far =
        check == record::LocationCheck::FarConfirmed || check == record::LocationCheck::FarDenied;
    if (fit && far)
        flx_Coordonnées->fitColumnWidths(LocInformation, LocInformation);
    if (check == record::LocationCheck::FarConfirmed)
        ogl_Divers->setCurrentIndex(page);
}
