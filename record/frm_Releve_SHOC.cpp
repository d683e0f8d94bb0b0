#include "record/frm_Releve_SHOC.h"

#include "common/Globals.h"
#include "common/GridWidgets.h"
#include "common/KeyFilters.h"
#include "common/OptionMarks.h"
#include "common/Settings.h"
#include "grid/GridView.h"
#include "mainwindow/DisplayAdaptation.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "record/CoordinateSwitch.h"
#include "record/LocationGrid.h"
#include "record/PageOrder.h"
#include "record/RecordGrids.h"
#include "record/RecordLayout.h"
#include "record/RecordOpening.h"
#include "record/RecordStore.h"
#include "record/RecordValidator.h"
#include "record/SaveFlow.h"
#include "record/Season.h"
#include "record/SiteName.h"
#include "record/StudyDepartments.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

using grid::Grid;
using grid::GridRange;
using grid::GridView;
using enum record::LocationColumn;
namespace mb = platform::mb;

namespace {

const QString kCaption = QStringLiteral(
    "Mirelot [Suivi hivernal des oiseaux des champs]  - Saisie des données relatives aux parcelles");

// The pages of ogl_Divers: caption, and the index of the frame fra_Divers that holds the page.
struct PageOf
{
    QString caption;
    int frame;
};
const PageOf kPages[5] = {
    {QStringLiteral("Localisation et caractéristiques de la zone d'étude"), 0},
    {QStringLiteral("Localisation et caractéristiques des parcelles"), 4},
    {QStringLiteral("Description du relevé"), 1},
    {QStringLiteral("Liste des espèces contactées"), 2},
    {QStringLiteral("Fichier sauvegardé"), 3},
};
constexpr int kSpeciesPage = 3;
constexpr int kStoredPage = 4;

// flx_Coordonnées: a carriage return breaks a title over two lines.
const QString kLocationHeader = QStringLiteral(
    "|Parcelle|Dept|Commune|Lieu-dit|Zone\rUTM|Longitude|Latitude|Maille\rMGRS|Longeur du trajet\r(en m)"
    "|Altitude\r(en m)|Réserve de chasse\rou assimilé|Coordonnées\rvalidées|Longitude Lambert|Latitude "
    "Lambert"
    "|Informations");
constexpr int kLocationHidden[] = {LocDepartment, LocCommune, LocPlace, LocWalk, LocLambertX, LocLambertY};

// flx_Desc_Parcelles: the parcel label, then one check box per habitat.
constexpr int kFirstHabitatColumn = 2;
constexpr int kHabitatColumns = 20;

// flx_Date_Météo: the parcel label, then the four weather codes with their lists.
const QString kWeatherHeader = QStringLiteral("|Parcelle|^Couverture nuageuse\t^Pluie\t^Vent\t^Visibilité");
constexpr int kFirstWeatherColumn = 2;
const QString kWeatherLists[record::kWeatherCount] = {
    QStringLiteral(" |#1;1 - 0 - 33 %|#2;2 - 33 - 66 %|#3;3 - 66 - 100 %"),
    QStringLiteral(" |#1;1 - Absente|#2;2 - Bruine|#3;3 - Averses"),
    QStringLiteral(" |#1;1 - Absent|#2;2 - Faible|#3;3 - Moyen à fort"),
    QStringLiteral(" |#1;1 - Bonne|#2;2 - Modérée|#3;3 - Faible"),
};

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
// Extra width of the fitted columns, in twips.
constexpr int kFitExtraTwips = 240;
// The species grid's rows when it has fewer than kSpeciesMinRows.
constexpr int kSpeciesMinRows = 10;
constexpr int kSpeciesRows = 50;

const QString kUnlockCaption =
    QStringLiteral("Débloquer la protection \"Type de milieu\" et \"Nombre de parcelles\"");
const QString kUnlockedCaption =
    QStringLiteral("Protéger les champs 'Type de milieu' et 'Nombre de parcelles'");
const QString kLockedCaption =
    QStringLiteral("Débloquer la protection 'Type de milieu' et 'Nombre de parcelles'");

QString indexed(const QString& name, int index) { return QStringLiteral("%1(%2)").arg(name).arg(index); }

QString comboText(const QComboBox* combo)
{
    return combo->currentIndex() < 0 ? QString() : combo->currentText();
}

QStringList itemsOf(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

bool ticked(const Grid& g, int row, int col) { return g.checkState(row, col) == Grid::Checked; }
int checkState(bool on) { return on ? Grid::Checked : Grid::Unchecked; }

// The hourglass for as long as it lives.
class Hourglass
{
public:
    Hourglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Hourglass() { QApplication::restoreOverrideCursor(); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
};

QGroupBox* frame(const QString& name, const QString& caption)
{
    auto* box = new QGroupBox(caption);
    box->setObjectName(name);
    return box;
}

template <class W> W* named(W* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

// A page of a tab control: its frame inside a scroll area, so that every control stays
// reachable when the window is small. The focus goes through the page's controls, not the area.
QScrollArea* scrolled(QWidget* content)
{
    auto* area = new QScrollArea;
    area->setFocusPolicy(Qt::NoFocus);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(content);
    return area;
}

GridView* gridView(const QString& name)
{
    auto* view = new GridView;
    view->setObjectName(name);
    view->grid().setObjectName(name);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return view;
}

} // namespace

// ================================================================ opening

frm_Releve_SHOC* frm_Releve_SHOC::openWindow(const record::RecordRequest& request, QWidget* parent)
{
    auto* window = new frm_Releve_SHOC(parent);
    if (const platform::Result loaded = window->load(request); !loaded.ok) {
        delete window;
        platform::dialogs().ask(QStringLiteral("Le relevé ne peut pas être ouvert.\n\n") + loaded.error,
                                mb::OKOnly | mb::Exclamation, common::kProgramName);
        return nullptr;
    }
    window->showNotices();
    return window;
}

frm_Releve_SHOC::frm_Releve_SHOC(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frm_Relevé_SHOC"));
    flx_Work.setObjectName(QStringLiteral("flx_Work"));
    buildPages();
    connectEdits();
    new record::RecordGrids(*this);
    connectFieldChecks();
    connectPageKeys();
}

frm_Releve_SHOC::~frm_Releve_SHOC() = default;

QSize frm_Releve_SHOC::sizeHint() const { return QSize(1280, 720); }

QString frm_Releve_SHOC::speciesFontFamily()
{
    static const QString family = [] {
        const QString arial = QStringLiteral("Arial");
        if (QFontDatabase::families().contains(arial, Qt::CaseInsensitive))
            return arial;
        QFont sans;
        sans.setStyleHint(QFont::SansSerif);
        sans.setFamily(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
        return QFontInfo(sans).family();
    }();
    return family;
}

// ================================================================ pages

void frm_Releve_SHOC::buildPages()
{
    fra_Générale = frame(QStringLiteral("fra_Générale"), QString());
    ogl_Divers = named(new QTabWidget, QStringLiteral("ogl_Divers"));
    QWidget* pages[5] = {buildIdentificationPage(), buildParcelsPage(), buildVisitPage(), buildSpeciesPage(),
                         nullptr};
    flx_EPS = gridView(QStringLiteral("flx_EPS"));
    auto* stored = new QWidget;
    auto* storedLayout = new QVBoxLayout(stored);
    storedLayout->addWidget(flx_EPS);
    pages[kStoredPage] = stored;
    for (int i = 0; i < 5; ++i) {
        pages[i]->setObjectName(indexed(QStringLiteral("fra_Divers"), kPages[i].frame));
        fra_Divers[size_t(kPages[i].frame)] = pages[i];
        ogl_Divers->addTab(scrolled(pages[i]), kPages[i].caption);
    }

    txt_Statut = named(new QLabel, QStringLiteral("txt_Statut"));
    txt_Statut->setWordWrap(true);
    txt_Statut->setTextFormat(Qt::PlainText);
    txt_Statut->setMargin(4);
    cmd_Save = named(new QPushButton(QStringLiteral("Sauvegarder")), QStringLiteral("cmd_Save"));
    cmd_exit = named(new QPushButton(QStringLiteral("Enregistrer\net fermer")), QStringLiteral("cmd_exit"));
    connect(cmd_exit, &QPushButton::clicked, this, &frm_Releve_SHOC::closeFrame);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(txt_Statut, 1);
    bottom->addWidget(cmd_Save);
    bottom->addWidget(cmd_exit);
    auto* general = new QVBoxLayout(fra_Générale);
    general->addWidget(ogl_Divers, 1);
    general->addLayout(bottom);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->addWidget(fra_Générale);
}

QWidget* frm_Releve_SHOC::buildIdentificationPage()
{
    auto* page = new QWidget;
    fra_Identification = frame(QStringLiteral("fra_Identification"),
                               QStringLiteral("Identification du site et de l'observateur"));
    cbo_Dept = named(new QComboBox, QStringLiteral("cbo_Dept"));
    cbo_Communes = named(new QComboBox, QStringLiteral("cbo_Communes"));
    txt_Lieudit = named(new QLineEdit, QStringLiteral("txt_Lieudit"));
    cbo_Milieu = named(new QComboBox, QStringLiteral("cbo_Milieu"));
    cbo_Réseau = named(new QComboBox, QStringLiteral("cbo_Réseau"));
    cbo_Saison = named(new QComboBox, QStringLiteral("cbo_Saison"));
    Txt_Nom_Observateur = named(new QLineEdit, QStringLiteral("Txt_Nom_Observateur"));
    txt_Prénom_Observateur = named(new QLineEdit, QStringLiteral("txt_Prénom_Observateur"));
    txt_Email = named(new QLineEdit, QStringLiteral("txt_Email"));
    txt_Téléphone = named(new QLineEdit, QStringLiteral("txt_Téléphone"));
    txt_Nbr_Relevés = named(new QLineEdit, QStringLiteral("txt_Nbr_Relevés"));
    txt_Nbr_Relevés->setMaxLength(2);
    txt_Nbr_Relevés->setMaximumWidth(
        txt_Nbr_Relevés->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
    cmd_Free_Nbr_Points = named(new QPushButton(kUnlockCaption), QStringLiteral("cmd_Free_Nbr_Points"));
    connect(cmd_Free_Nbr_Points, &QPushButton::clicked, this, &frm_Releve_SHOC::freeBaseFields);
    txt_Nom_Site = named(new QLineEdit, QStringLiteral("txt_Nom_Site"));
    txt_Nom_Site->setReadOnly(true);
    for (QComboBox* combo : {cbo_Dept, cbo_Communes, cbo_Milieu, cbo_Réseau, cbo_Saison}) {
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(20);
        combo->setMaxVisibleItems(20);
    }

    auto* grid = new QGridLayout(fra_Identification);
    auto add = [&](int row, int col, const QString& label, QWidget* field, int span = 1) {
        grid->addWidget(new QLabel(label), row, col * 2);
        grid->addWidget(field, row, col * 2 + 1, 1, span);
    };
    add(0, 0, QStringLiteral("Département"), cbo_Dept);
    add(0, 1, QStringLiteral("Commune"), cbo_Communes);
    add(1, 0, QStringLiteral("Lieu-dit"), txt_Lieudit);
    add(1, 1, QStringLiteral("Type de milieu"), cbo_Milieu);
    add(2, 0, QStringLiteral("Nom de l'observateur"), Txt_Nom_Observateur);
    add(2, 1, QStringLiteral("Prénom de l'observateur"), txt_Prénom_Observateur);
    add(3, 0, QStringLiteral("Courriel"), txt_Email);
    add(3, 1, QStringLiteral("Téléphone"), txt_Téléphone);
    add(4, 0, QStringLiteral("Réseau"), cbo_Réseau);
    add(4, 1, QStringLiteral("Saison"), cbo_Saison);
    auto* count = new QHBoxLayout;
    count->addWidget(txt_Nbr_Relevés);
    count->addStretch(1);
    count->addWidget(cmd_Free_Nbr_Points);
    grid->addWidget(new QLabel(QStringLiteral("Nombre de parcelles")), 5, 0);
    grid->addLayout(count, 5, 1, 1, 3);
    add(6, 0, QStringLiteral("Nom du site"), txt_Nom_Site, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    fra_Commentaire = frame(QStringLiteral("fra_Commentaire"), QStringLiteral("Commentaire général"));
    Txt_Commentaires = named(new QPlainTextEdit, QStringLiteral("Txt_Commentaires"));
    auto* comment = new QVBoxLayout(fra_Commentaire);
    comment->addWidget(Txt_Commentaires);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(fra_Identification);
    layout->addWidget(fra_Commentaire, 1);
    return page;
}

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

QWidget* frm_Releve_SHOC::buildVisitPage()
{
    auto* page = new QWidget;
    fra_date = frame(QStringLiteral("fra_date"), QStringLiteral("Date et N° de passage"));
    txt_Date = named(new QLineEdit, QStringLiteral("txt_Date"));
    txt_Date->setMaxLength(10);
    txt_Date->setPlaceholderText(QStringLiteral("JJ/MM/AAAA"));
    txt_Date->setMaximumWidth(txt_Date->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
    m_passages = new QButtonGroup(this);
    const QString captions[record::kPassageCount] = {
        QStringLiteral("1er passage"), QStringLiteral("2ème passage"), QStringLiteral("3ème passage"),
        QStringLiteral("4ème passage"), QStringLiteral("5ème passage")};
    auto* date = new QHBoxLayout(fra_date);
    date->addWidget(new QLabel(QStringLiteral("Date du relevé")));
    date->addWidget(txt_Date);
    date->addSpacing(24);
    date->addWidget(new QLabel(QStringLiteral("N° de passage :")));
    for (int i = 0; i < record::kPassageCount; ++i) {
        opt_Passage[size_t(i)] =
            named(new QRadioButton(captions[i]), indexed(QStringLiteral("opt_Passage"), i));
        m_passages->addButton(opt_Passage[size_t(i)], i);
        date->addWidget(opt_Passage[size_t(i)]);
    }
    date->addStretch(1);

    fra_Points_Météo =
        frame(QStringLiteral("fra_Points_Météo"), QStringLiteral("Conditions météorologiques"));
    flx_Date_Météo = gridView(QStringLiteral("flx_Date_Météo"));
    auto* weather = new QVBoxLayout(fra_Points_Météo);
    weather->addWidget(flx_Date_Météo);

    fra_Commentaire_Relevé =
        frame(QStringLiteral("fra_Commentaire_Relevé"), QStringLiteral("Commentaire sur le relevé"));
    txt_Commentaire_Relevé = named(new QPlainTextEdit, QStringLiteral("txt_Commentaire_Relevé"));
    auto* comment = new QVBoxLayout(fra_Commentaire_Relevé);
    comment->addWidget(txt_Commentaire_Relevé);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(fra_date);
    layout->addWidget(fra_Points_Météo);
    layout->addWidget(fra_Commentaire_Relevé, 1);
    return page;
}

QWidget* frm_Releve_SHOC::buildSpeciesPage()
{
    auto* page = new QWidget;
    Tab_Relevé = named(new QTabBar, QStringLiteral("Tab_Relevé"));
    Tab_Relevé->setExpanding(false);
    Tab_Relevé->setUsesScrollButtons(true);

    fra_Point_Espèces = frame(QStringLiteral("fra_Point_Espèces"), QStringLiteral("Espèces contactées"));
    txt_Heure = named(new QLineEdit, QStringLiteral("txt_Heure"));
    txt_Durée = named(new QLineEdit, QStringLiteral("txt_Durée"));
    for (QLineEdit* time : {txt_Heure, txt_Durée}) {
        time->setMaxLength(5);
        time->setPlaceholderText(QStringLiteral("HH:MM"));
        time->setMaximumWidth(time->fontMetrics().horizontalAdvance(QStringLiteral("00:000")) + 16);
    }
    const QString hunting[2] = {QStringLiteral("Chasse sur la parcelle"),
                                QStringLiteral("Chasse à proximité de la parcelle")};
    for (int i = 0; i < 2; ++i)
        chk_Chasse[size_t(i)] = named(new QCheckBox(hunting[i]), indexed(QStringLiteral("chk_Chasse"), i));
    flx_Espèces = gridView(QStringLiteral("flx_Espèces"));

    auto* values = new QHBoxLayout;
    values->addWidget(new QLabel(QStringLiteral("Heure de début")));
    values->addWidget(txt_Heure);
    values->addSpacing(16);
    values->addWidget(new QLabel(QStringLiteral("Parcourt effectué en ")));
    values->addWidget(txt_Durée);
    values->addSpacing(16);
    values->addWidget(chk_Chasse[0]);
    values->addWidget(chk_Chasse[1]);
    values->addStretch(1);
    auto* parcel = new QVBoxLayout(fra_Point_Espèces);
    parcel->addLayout(values);
    parcel->addWidget(flx_Espèces, 1);

    auto* totals = new QButtonGroup(this);
    opt_Total[0] = named(new QRadioButton(QStringLiteral("Calcul automatique du total")),
                         indexed(QStringLiteral("opt_Total"), 0));
    opt_Total[1] =
        named(new QRadioButton(QStringLiteral(
                  "Possibilité d'indiquer manuellement le total (calcul automatique si non renseigné)")),
              indexed(QStringLiteral("opt_Total"), 1));
    totals->addButton(opt_Total[0], 0);
    totals->addButton(opt_Total[1], 1);
    opt_Total[0]->setChecked(true);
    chk_Merge_Espèces =
        named(new QCheckBox(QStringLiteral("Regroupement espèce")), QStringLiteral("chk_Merge_Espèces"));
    cmd_Mask_Col[2] =
        named(new QPushButton(QStringLiteral("Zoom -5%")), indexed(QStringLiteral("cmd_Mask_Col"), 2));
    cmd_Mask_Col[3] =
        named(new QPushButton(QStringLiteral("Zoom 100%")), indexed(QStringLiteral("cmd_Mask_Col"), 3));
    for (int i : {2, 3})
        connect(cmd_Mask_Col[size_t(i)], &QPushButton::clicked, this, [this, i] { zoomSpecies(i); });

    auto* options = new QHBoxLayout;
    auto* entry = new QVBoxLayout;
    entry->addWidget(opt_Total[0]);
    entry->addWidget(opt_Total[1]);
    options->addLayout(entry);
    options->addSpacing(16);
    options->addWidget(chk_Merge_Espèces);
    options->addStretch(1);
    options->addWidget(cmd_Mask_Col[2]);
    options->addWidget(cmd_Mask_Col[3]);

    auto* layout = new QVBoxLayout(page);
    layout->setSpacing(0);
    layout->addWidget(Tab_Relevé);
    layout->addWidget(fra_Point_Espèces, 1);
    layout->addSpacing(6);
    layout->addLayout(options);
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

void frm_Releve_SHOC::setUpWeatherGrid()
{
    Grid& g = flx_Date_Météo->grid();
    g.setRows(1);
    g.setFormatString(kWeatherHeader);
    g.setFixedRows(1);
    g.setFixedCols(1);
    for (int w = 0; w < record::kWeatherCount; ++w)
        g.setColEditList(kFirstWeatherColumn + w, kWeatherLists[w]);
    g.setEditable(Grid::Editable::KeyboardMouse);
}

// Every change the user makes marks the record modified; changes made by the load do not.
void frm_Releve_SHOC::connectEdits()
{
    const auto mark = [this] {
        if (!m_loading)
            sub_Statut();
    };
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        connect(edit, &QLineEdit::textEdited, this, mark);
    for (QPlainTextEdit* edit : findChildren<QPlainTextEdit*>())
        connect(edit, &QPlainTextEdit::textChanged, this, mark);
    for (QComboBox* combo : findChildren<QComboBox*>())
        connect(combo, &QComboBox::activated, this, mark);
    for (QAbstractButton* button : findChildren<QAbstractButton*>())
        if (button->isCheckable())
            connect(button, &QAbstractButton::clicked, this, mark);
    for (GridView* view : findChildren<GridView*>())
        if (view != flx_EPS)
            connect(view, &GridView::afterEdit, this, mark);

    // The department chosen decides the communes offered (whoever chooses it: the user, or the
    // load before it chooses the record's commune).
    connect(cbo_Dept, &QComboBox::currentIndexChanged, this, &frm_Releve_SHOC::sub_Load_Communes);
    // An item the user chooses replaces the record's text that no item was.
    for (QComboBox* combo : {cbo_Dept, cbo_Communes, cbo_Milieu, cbo_Réseau})
        connect(combo, &QComboBox::activated, this, [this, combo] { m_keptListTexts.remove(combo); });
}

// ================================================================ load

platform::Result frm_Releve_SHOC::load(const record::RecordRequest& request)
{
    const Hourglass hourglass;
    m_loading = true;
    m_mode = request.mode;
    cmd_Save->setEnabled(false);

    // The species grid's font: its size as the window opens, kept for the zoom and the parcels'
    // grids; its family for every cell.
    Grid& species = flx_Espèces->grid();
    m_notedFontSize = species.defaultFontSize();
    m_species.setNotedFontSize(m_notedFontSize);
    species.setDefaultFontName(speciesFontFamily());
    m_species.sub_Flx_Kill_WRK();

    // Reference tables, and the lists built from them.
    const record::ReferencePaths paths = record::ReferencePaths::fromSettings();
    m_speciesTablePath = paths.species;
    if (const platform::Result read = m_references.load(paths); !read.ok)
        m_notices << read.error;
    const QStringList seasons = record::sub_Load_Cbo_Saison();
    cbo_Saison->addItems(seasons);
    cbo_Saison->setCurrentIndex(-1);
    cbo_Réseau->addItems(m_references.networks().items);
    cbo_Réseau->setCurrentIndex(m_references.networks().selected);
    sub_Load_Dept();

    setWindowTitle(kCaption);

    // Only the administrator sees the record in its stored form. For anyone else its page leaves
    // the tabs: a hidden tab at the end of the bar would keep the bar's arrows from scrolling.
    const bool administrator = mainwindow::isAdministratorMode(
        fun_Get_Setting_Str(common::kAdminSection, mainwindow::kPasswordValue, QString()));
    if (!administrator)
        ogl_Divers->removeTab(kStoredPage);

    setUpLocationGrid();
    setUpHabitatGrid();
    setUpWeatherGrid();

    cbo_Quid_Coord->setEnabled(false);
    for (const CoordinateItem& item : kCoordinateItems)
        cbo_Quid_Coord->addItem(item.text, item.type);
    cbo_Quid_Coord->setCurrentIndex(cbo_Quid_Coord->findData(record::kCoordLambert));

    cbo_Milieu->addItems(m_references.habitats().items);
    cbo_Milieu->setCurrentIndex(m_references.habitats().selected);
    cbo_Milieu->setEnabled(false);
    txt_Nbr_Relevés->setEnabled(false);

    // A new record starts with 5 parcels, each with an empty species grid.
    sub_Init_Flx_Espèces();
    applyParcelCount(record::kNewRecordParcels);
    for (int p = 1; p <= m_parcelCount; ++p)
        m_species.sub_Flx_Grid_to_File(species, p);

    // What the mode opens.
    const record::RecordStore store = record::RecordStore::fromSettings();
    const record::RecordOpening opening =
        record::openRecord(request, store, m_references, seasons, flx_EPS->grid());
    if (!opening.result.ok) {
        m_loading = false;
        return opening.result;
    }
    m_mode = opening.mode;
    m_fileName = opening.fileName;
    m_storedFile = m_mode == record::RecordMode::Update ? m_fileName : QString();
    m_notices << opening.notices;
    fra_Générale->setTitle(opening.caption);
    applyRecord(opening.reading.record, opening.reading);
    flx_EPS->grid().setEditable(Grid::Editable::None);
    flx_EPS->fitColumnWidths(0, -1, kFitExtraTwips);
    flx_EPS->fitRowHeights();

    chk_Merge_Espèces->setChecked(false);
    sub_Init_Grilles(this);
    cmd_Save->setEnabled(sub_Vérif_Si_Sauvegardable());
    m_modified = false;
    m_loading = false;
    return platform::Result::success();
}

void frm_Releve_SHOC::sub_Load_Dept()
{
    const QSignalBlocker blocker(cbo_Dept);
    cbo_Dept->clear();
    cbo_Dept->addItems(m_references.sub_Load_Dept(fun_Get_Setting_Str(
        common::kParametersSection, record::kStudyDepartmentsSetting, QStringLiteral("%"))));
    cbo_Dept->setCurrentIndex(-1);
    sub_Load_Communes();
}

void frm_Releve_SHOC::sub_Load_Communes()
{
    const Hourglass hourglass;
    cbo_Communes->clear();
    m_keptListTexts.remove(cbo_Communes); // a commune of the department before
    if (cbo_Dept->currentIndex() < 0)
        return;
    for (const record::CommuneChoice& c : m_references.sub_Load_Communes(cbo_Dept->currentText()))
        cbo_Communes->addItem(c.name, c.row);
    cbo_Communes->setCurrentIndex(-1);
}

// The department of a record: when the study departments do not offer it, its code is added to
// them and the list built again.
void frm_Releve_SHOC::restoreDepartment(const QString& department)
{
    if (common::findItemIgnoringCase(itemsOf(cbo_Dept), department) < 0 && !department.trimmed().isEmpty()) {
        if (const platform::Result added = record::addStudyDepartment(department); !added.ok)
            m_notices << added.error;
        sub_Load_Dept();
    }
    if (restoreListText(cbo_Dept, department) < 0 && !department.isEmpty())
        m_notices << QStringLiteral("Le département « %1 » du relevé n'est pas dans la table des communes : "
                                    "le relevé le garde tant qu'aucun autre n'est choisi.")
                         .arg(department);
}

int frm_Releve_SHOC::restoreListText(QComboBox* combo, const QString& text)
{
    const int index = common::findItemIgnoringCase(itemsOf(combo), text);
    combo->setCurrentIndex(index);
    if (index < 0 && !text.isEmpty())
        m_keptListTexts.insert(combo, text);
    else
        m_keptListTexts.remove(combo);
    return index;
}

QString frm_Releve_SHOC::listText(const QComboBox* combo) const
{
    return combo->currentIndex() < 0 ? m_keptListTexts.value(combo) : combo->currentText();
}

void frm_Releve_SHOC::applyRecord(const record::SurveyRecord& rec, const record::RecordReading& reading)
{
    const int count = int(rec.parcels.size());
    applyParcelCount(count);

    // Identification. A list takes the item that is the record's text, letter case and blanks
    // aside; a text that no item is stays in the record, and the user is told.
    auto restore = [this](QComboBox* combo, const QString& text, const QString& notice) {
        if (restoreListText(combo, text) < 0 && !text.isEmpty())
            m_notices << notice.arg(text);
    };
    restoreDepartment(rec.department);
    restore(cbo_Communes, rec.commune,
            QStringLiteral("La commune « %1 » du relevé n'est pas parmi les communes de son département : "
                           "le relevé la garde tant qu'aucune autre n'est choisie."));
    txt_Lieudit->setText(rec.placeName);
    txt_Nom_Site->setText(rec.siteName);
    restore(cbo_Milieu, rec.habitatType,
            QStringLiteral("Le type de milieu « %1 » du relevé n'est pas dans la table des milieux : "
                           "le relevé le garde tant qu'aucun autre n'est choisi."));
    restore(cbo_Réseau, rec.network,
            QStringLiteral("Le réseau « %1 » du relevé n'est pas dans la table des réseaux : "
                           "le relevé le garde tant qu'aucun autre n'est choisi."));
    Txt_Nom_Observateur->setText(rec.observerName);
    txt_Prénom_Observateur->setText(rec.observerFirstName);
    txt_Email->setText(rec.email);
    txt_Téléphone->setText(rec.telephone);
    Txt_Commentaires->setPlainText(rec.generalComment);
    // The season is the list's own (the record's is one of its items, or none).
    cbo_Saison->setCurrentIndex(common::findItemIgnoringCase(itemsOf(cbo_Saison), rec.season));
    if (cbo_Saison->currentIndex() < 0 && !rec.season.isEmpty())
        m_notices << QStringLiteral("La saison « %1 » du relevé n'est pas dans la liste des saisons : "
                                    "aucune saison n'est choisie.")
                         .arg(rec.season);

    // The parcels' location and habitats, in the coordinate system they were stored in.
    if (reading.locationsRead) {
        Grid& loc = flx_Coordonnées->grid();
        Grid& hab = flx_Desc_Parcelles->grid();
        for (int p = 1; p <= count; ++p) {
            const record::Parcel& parcel = rec.parcels[p - 1];
            const record::ParcelLocation& l = parcel.location;
            const QString texts[] = {l.department, l.commune,    l.placeName,  l.utmZone, l.longitude,
                                     l.latitude,   l.mgrsSquare, l.walkLength, l.altitude};
            for (int i = 0; i < int(std::size(texts)); ++i)
                loc.setCell(p, LocDepartment + i, texts[i]);
            loc.setCheckState(p, LocReserve, checkState(l.huntingReserve));
            loc.setCheckState(p, LocValidated, checkState(l.validated));
            loc.setCell(p, LocLambertX, l.lambertX);
            loc.setCell(p, LocLambertY, l.lambertY);
            loc.setCell(p, LocInformation, l.information);
            hab.setCell(p, LocParcel, loc.cell(p, LocParcel));
            for (int h = 0; h < record::kHabitatCount; ++h)
                hab.setCheckState(p, kFirstHabitatColumn + h, checkState(parcel.habitats[size_t(h)]));
        }
        cbo_Quid_Coord->setCurrentIndex(cbo_Quid_Coord->findData(rec.coordinateType));
    }

    // The visit and its passage buttons.
    txt_Date->setText(rec.date);
    m_passages->setExclusive(false); // so that no passage may be chosen
    for (int i = 0; i < record::kPassageCount; ++i) {
        opt_Passage[size_t(i)]->setEnabled(reading.passageEnabled[size_t(i)]);
        opt_Passage[size_t(i)]->setChecked(rec.passage == i + 1);
    }
    m_passages->setExclusive(true);
    txt_Commentaire_Relevé->setPlainText(rec.visitComment);
    Grid& weather = flx_Date_Météo->grid();
    for (int p = 1; p <= count; ++p)
        for (int w = 0; w < record::kWeatherCount; ++w)
            weather.setCell(p, kFirstWeatherColumn + w, rec.parcels[p - 1].weather[size_t(w)]);

    // The entry options, then each parcel's kept values and species grid.
    opt_Total[rec.totalTypedByHand ? 1 : 0]->setChecked(true);
    chk_Merge_Espèces->setChecked(false);
    m_parcelTabs.clear();
    for (int p = 1; p <= count; ++p) {
        const record::Parcel& parcel = rec.parcels[p - 1];
        m_parcelTabs.store(p, {parcel.startTime, parcel.duration, parcel.huntingOn, parcel.huntingNear});
        // Every parcel of the record has a species grid, an empty one when it has no species block
        // (the first parcels already have the one the window starts with).
        if (parcel.species)
            m_species.setTable(p, *parcel.species);
        else if (!m_species.contains(p))
            m_species.setTable(p, record::SpeciesTable{});
    }
    enterParcel(1);
    greyParcelGrids();
    fitParcelGridHeights();
}

// ================================================================ parcels

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

void frm_Releve_SHOC::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Sizes as the window's style and fonts give them once it is shown.
    fitParcelGridHeights();
}

void frm_Releve_SHOC::sub_Init_Flx_Espèces()
{
    Grid& g = flx_Espèces->grid();
    g.setCols(record::SpeciesColumnCount);
    if (g.rows() < kSpeciesMinRows)
        g.setRows(kSpeciesRows);
    g.setFormatString(record::kSpeciesHeaderFormat);
    g.setFixedRows(1);
    g.setFixedCols(1);
    const int last = g.rows() - 1;
    const bool computedTotals = opt_Total[0]->isChecked();
    g.setReadOnly({0, record::SpeciesTotalColumn, last, record::SpeciesTotalColumn}, computedTotals);
    if (!computedTotals)
        g.setBackColour({0, record::SpeciesTotalColumn, last, record::SpeciesTotalColumn}, 0);
    g.setReadOnly({0, record::SpeciesClassColumn, last, record::SpeciesClassColumn}, true);
    g.setColEditList(record::SpeciesCodeColumn, m_references.speciesCodeList());
    g.setColEditList(record::SpeciesNameColumn, m_references.speciesNameList());
    g.setDefaultFontName(speciesFontFamily());
    g.setEditable(Grid::Editable::KeyboardMouse);
    fitSpeciesColumns();
    flx_Espèces->fitRowHeights();
}

// The columns fitted to their contents; the name column shows every name of the species table
// whole, in its cells and in its list, whatever names the parcel holds, and keeps that width
// through the later fits.
void frm_Releve_SHOC::fitSpeciesColumns()
{
    Grid& g = flx_Espèces->grid();
    constexpr int col = record::SpeciesNameColumn;
    const int row = std::min(g.fixedRows(), g.rows() - 1);
    if (row >= 0 && col < g.cols()) {
        QFont font = flx_Espèces->font();
        if (const QString family = g.fontName(row, col); !family.isEmpty())
            font.setFamily(family);
        font.setPointSizeF(g.fontSize(row, col));
        const QFontMetrics metrics(font);
        int widest = 0;
        for (const grid::GridEditItem& item : Grid::parseEditList(m_references.speciesNameList()).items)
            widest = std::max(widest, metrics.horizontalAdvance(item.label));
        QStyleOptionComboBox list;
        list.initFrom(flx_Espèces);
        list.editable = true;
        flx_Espèces->setMinimumColumnWidth(
            col,
            flx_Espèces->style()
                ->sizeFromContents(QStyle::CT_ComboBox, &list, QSize(widest, metrics.height()), flx_Espèces)
                .width());
    }
    flx_Espèces->fitColumnWidths();
}

void frm_Releve_SHOC::storeShownParcel()
{
    const int p = m_shownParcel;
    if (p < 1)
        return;
    m_parcelTabs.store(
        p, {txt_Heure->text(), txt_Durée->text(), chk_Chasse[0]->isChecked(), chk_Chasse[1]->isChecked()});
    m_species.sub_Flx_Grid_to_File(flx_Espèces->grid(), p);
}

void frm_Releve_SHOC::enterParcel(int p)
{
    const bool loading = m_loading;
    m_loading = true;
    const record::ParcelValues shown = m_parcelTabs.values(p);
    txt_Heure->setText(shown.startTime);
    txt_Durée->setText(shown.duration);
    chk_Chasse[0]->setChecked(shown.huntingOn);
    chk_Chasse[1]->setChecked(shown.huntingNear);
    m_species.sub_Flx_File_to_Grid(flx_Espèces->grid(), p);
    sub_Init_Flx_Espèces();
    m_shownParcel = p;
    selectParcelTab(p);
    m_loading = loading;
}

void frm_Releve_SHOC::showParcel(int parcel)
{
    if (parcel == m_shownParcel)
        return;
    storeShownParcel();
    enterParcel(parcel);
}

void frm_Releve_SHOC::freeBaseFields()
{
    if (!m_baseFieldsFree) {
        const QString question = QStringLiteral(
            "Veuillez confirmer votre intention de débloquer la protection des champs 'Type de "
            "milieu' et 'Nombre de parcelles'.\n\nDébloquer maintenant ?\n\nNota : veuillez noter "
            "que les modifications que vous allez peut-être apporter dans les paramètres de base "
            "de ce relévé, pourront avoir des conséquences graves sur les données des relevés "
            "déjà enregistrées pour le même site.");
        if (platform::dialogs().ask(question, mb::YesNo | mb::Question | mb::DefaultButton2,
                                    common::kProgramName) != mb::Yes)
            return;
    }
    m_baseFieldsFree = !m_baseFieldsFree;
    txt_Nbr_Relevés->setEnabled(m_baseFieldsFree);
    cbo_Milieu->setEnabled(m_baseFieldsFree);
    cmd_Free_Nbr_Points->setText(m_baseFieldsFree ? kUnlockedCaption : kLockedCaption);
}

void frm_Releve_SHOC::zoomSpecies(int index)
{
    Grid& g = flx_Espèces->grid();
    if (g.rows() < 1 || g.cols() < 1)
        return;
    const double size = g.fontSize(0, 0);
    double next = m_notedFontSize;
    if (index == 2) {
        if (size <= 1)
            return;
        next = size - 0.5;
    } else if (index != 3) {
        return;
    }
    const Hourglass hourglass;
    g.setFontSize({0, 0, g.rows() - 1, g.cols() - 1}, next);
    if (common::isOptionChecked(QStringLiteral("Ajust")))
        fitSpeciesColumns();
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

// ================================================================ the record shown

record::SurveyRecord frm_Releve_SHOC::currentRecord() const
{
    record::SurveyRecord rec;
    rec.department = listText(cbo_Dept);
    rec.commune = listText(cbo_Communes);
    rec.placeName = txt_Lieudit->text();
    rec.siteName = txt_Nom_Site->text();
    rec.habitatType = listText(cbo_Milieu);
    rec.network = listText(cbo_Réseau);
    rec.generalComment = Txt_Commentaires->toPlainText();
    rec.observerName = Txt_Nom_Observateur->text();
    rec.observerFirstName = txt_Prénom_Observateur->text();
    rec.email = txt_Email->text();
    rec.telephone = txt_Téléphone->text();
    rec.season = comboText(cbo_Saison);
    rec.date = txt_Date->text();
    for (int i = 0; i < record::kPassageCount; ++i)
        if (opt_Passage[size_t(i)]->isChecked())
            rec.passage = i + 1;
    rec.visitComment = txt_Commentaire_Relevé->toPlainText();
    rec.totalTypedByHand = opt_Total[1]->isChecked();
    rec.mergeSpecies = chk_Merge_Espèces->isChecked();
    rec.coordinateType = cbo_Quid_Coord->currentData().isValid() ? cbo_Quid_Coord->currentData().toInt()
                                                                 : record::kCoordLambert;

    const Grid& loc = flx_Coordonnées->grid();
    const Grid& hab = flx_Desc_Parcelles->grid();
    const Grid& weather = flx_Date_Météo->grid();
    rec.parcels.resize(m_parcelCount);
    for (int p = 1; p <= m_parcelCount; ++p) {
        record::Parcel& parcel = rec.parcels[p - 1];
        record::ParcelLocation& l = parcel.location;
        QString* texts[] = {&l.department, &l.commune,    &l.placeName,  &l.utmZone, &l.longitude,
                            &l.latitude,   &l.mgrsSquare, &l.walkLength, &l.altitude};
        for (int i = 0; i < int(std::size(texts)); ++i)
            *texts[i] = loc.cell(p, LocDepartment + i);
        l.huntingReserve = ticked(loc, p, LocReserve);
        l.validated = ticked(loc, p, LocValidated);
        l.lambertX = loc.cell(p, LocLambertX);
        l.lambertY = loc.cell(p, LocLambertY);
        l.information = loc.cell(p, LocInformation);
        for (int h = 0; h < record::kHabitatCount; ++h)
            parcel.habitats[size_t(h)] = ticked(hab, p, kFirstHabitatColumn + h);
        for (int w = 0; w < record::kWeatherCount; ++w)
            parcel.weather[size_t(w)] = weather.cell(p, kFirstWeatherColumn + w);
        if (p == m_shownParcel) {
            parcel.startTime = txt_Heure->text();
            parcel.duration = txt_Durée->text();
            parcel.huntingOn = chk_Chasse[0]->isChecked();
            parcel.huntingNear = chk_Chasse[1]->isChecked();
            parcel.species = record::speciesTableOf(flx_Espèces->grid());
        } else {
            const record::ParcelValues v = m_parcelTabs.values(p);
            parcel.startTime = v.startTime;
            parcel.duration = v.duration;
            parcel.huntingOn = v.huntingOn;
            parcel.huntingNear = v.huntingNear;
            parcel.species = m_species.table(p);
        }
    }
    return rec;
}

bool frm_Releve_SHOC::sub_Vérif_Si_Sauvegardable()
{
    const record::SiteName site = record::sub_Build_Nom_Zone(identification());
    txt_Nom_Site->setText(site.text);
    ogl_Divers->setTabEnabled(1, true);
    ogl_Divers->setTabEnabled(2, true);
    ogl_Divers->setTabEnabled(kSpeciesPage, site.complete());
    ogl_Divers->setTabEnabled(kStoredPage, site.complete());

    txt_Statut->setText(record::saveStatusText(site));
    txt_Statut->setStyleSheet(site.complete()
                                  ? QStringLiteral("background-color: rgb(192, 255, 192); color: black;")
                                  : QStringLiteral("background-color: rgb(255, 192, 192); color: black;"));
    txt_Statut->setEnabled(true);
    return site.complete();
}

// ================================================================ species table

bool frm_Releve_SHOC::confirmSpecies(const QString& code)
{
    return m_confirmations.confirm(m_references.speciesTable(), code);
}

// ================================================================ closing

void frm_Releve_SHOC::closeFrame()
{
    if (!checkBoxLeft())
        return;
    if (sub_Sauvegarder_Relevé() == SaveOutcome::Failed)
        return; // the record stays on screen, still to be saved
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

frm_Releve_SHOC::SaveOutcome frm_Releve_SHOC::sub_Sauvegarder_Relevé()
{
    // Text still in a cell's editor is part of the record.
    for (GridView* view : findChildren<GridView*>())
        if (view->isEditing())
            view->finishEditing();
    storeShownParcel();
    if (!sub_Vérif_Si_Sauvegardable()) {
        platform::dialogs().ask(
            record::fun_Message_Non_Sauvegardable(record::sub_Build_Nom_Zone(identification())), mb::OKOnly,
            common::kProgramName);
        return SaveOutcome::NotSaved;
    }

    record::SaveChoice choice = record::SaveChoice::NotSaved;
    {
        const Hourglass hourglass;
        m_validating = true;
        const auto done = qScopeGuard([this] { m_validating = false; });
        m_checked = currentRecord();
        choice = record::chooseSave(*m_validator);
    }
    if (choice == record::SaveChoice::NotSaved)
        return SaveOutcome::NotSaved;

    // What the steps wrote back (positions, totals) is shown: the record is taken from the window.
    storeShownParcel();
    record::SurveyRecord rec = currentRecord();
    rec.notValidated = choice == record::SaveChoice::NotValidated;
    grid::Grid written;
    const record::SaveResult saved = record::RecordStore::fromSettings().save(rec, m_storedFile, &written);
    if (saved.declined)
        return SaveOutcome::NotSaved;
    if (!saved.result.ok) {
        platform::dialogs().ask(saved.result.error, mb::OKOnly | mb::Critical, common::kProgramName);
        return SaveOutcome::Failed;
    }
    if (!saved.notice.isEmpty())
        platform::dialogs().ask(saved.notice, mb::OKOnly | mb::Exclamation, common::kProgramName);
    m_modified = false;
    m_storedFile = saved.fileName; // a later save writes this file again, or renames it
    // The stored page shows the record as written, read only.
    flx_EPS->grid().copyFrom(written);
    flx_EPS->grid().setEditable(Grid::Editable::None);
    flx_EPS->fitColumnWidths(0, -1, kFitExtraTwips);
    Q_EMIT recordSaved(saved.fileName);
    return SaveOutcome::Saved;
}

void frm_Releve_SHOC::closeEvent(QCloseEvent* event)
{
    if (m_closing) {
        event->ignore(); // a second close while the question is open waits for its answer
        return;
    }
    if (!m_closed) {
        // Text still in a cell's editor was stored by its grid before this close (its after-edit
        // marks the record changed).
        if (m_modified) {
            m_closing = true;
            const int answer = platform::dialogs().ask(
                QStringLiteral("ATTENTION !\n\nVous fermez la fenêtre sans avoir sauvegardé les données "
                               "modifiées.\n\nEst-ce normal ?"),
                mb::YesNo | mb::Question | mb::DefaultButton2, common::kProgramName);
            m_closing = false;
            if (answer != mb::Yes) {
                event->ignore();
                return;
            }
        }
        m_closed = true;
        m_species.sub_Flx_Kill_WRK();
        if (const platform::Result written = m_confirmations.writeBack(m_speciesTablePath); !written.ok)
            platform::dialogs().ask(QStringLiteral("Les espèces confirmées dans ce relevé n'ont pas pu être "
                                                   "enregistrées dans la table des espèces : leur première "
                                                   "saisie sera de nouveau demandée.\n\n") +
                                        written.error,
                                    mb::OKOnly | mb::Exclamation, common::kProgramName);
        Q_EMIT closed();
    }
    QWidget::closeEvent(event);
}

void frm_Releve_SHOC::showNotices()
{
    if (m_notices.isEmpty())
        return;
    platform::dialogs().ask(m_notices.join(QStringLiteral("\n\n")), mb::OKOnly | mb::Information,
                            common::kProgramName);
}

// ================================================================ field checks

// What the validation asks of the window: its pages, parcel tabs and fields, and the parcels'
// locations and species that a step changed in the record it checked.
class frm_Releve_SHOC::ValidationView : public record::RecordView
{
public:
    explicit ValidationView(frm_Releve_SHOC& window) : w(window) {}

    int currentPage() const override { return w.ogl_Divers->currentIndex(); }
    void showPage(int page) override { w.ogl_Divers->setCurrentIndex(page); }
    void showParcel(int parcel) override { w.showParcel(parcel); }
    void focusField(record::RecordField field) override
    {
        QWidget* widgets[] = {
            w.Txt_Nom_Observateur, w.txt_Prénom_Observateur, w.txt_Email,      w.cbo_Saison, w.cbo_Dept,
            w.cbo_Communes,        w.txt_Nom_Site,           w.txt_Nbr_Relevés};
        widgets[int(field)]->setFocus(Qt::OtherFocusReason);
    }
    void selectSpeciesRow(int parcel, int row) override
    {
        if (parcel != w.m_shownParcel)
            return;
        const QList<int> rows = record::speciesGridRows(w.flx_Espèces->grid());
        if (row >= 0 && row < rows.size())
            w.flx_Espèces->grid().select(rows[row], record::SpeciesClassColumn);
    }
    void hideCheckColumns() override
    {
        for (int c : {int(LocWalk), int(LocValidated), int(LocLambertX), int(LocLambertY)})
            w.flx_Coordonnées->grid().setColHidden(c, true);
    }
    void setInformationColour(int parcel, grid::GridColour colour) override
    {
        w.flx_Coordonnées->grid().setBackColour({parcel, LocInformation, parcel, LocInformation}, colour);
    }
    void locationChanged(int parcel) override { w.showLocation(parcel); }
    void speciesChanged(int parcel) override { w.showCheckedSpecies(parcel); }
    void setSaveEnabled(bool) override { w.cmd_Save->setEnabled(w.sub_Vérif_Si_Sauvegardable()); }

private:
    frm_Releve_SHOC& w;
};

void frm_Releve_SHOC::connectFieldChecks()
{
    using record::RecordBox;
    m_boxes = {
        {txt_Date, RecordBox::Date},
        {txt_Heure, RecordBox::StartTime},
        {txt_Durée, RecordBox::Duration},
        {txt_Email, RecordBox::Email},
        {txt_Téléphone, RecordBox::Telephone},
        {txt_Lieudit, RecordBox::PlaceName},
        {txt_Nbr_Relevés, RecordBox::ParcelCount},
        {Txt_Nom_Observateur, RecordBox::ObserverName},
        {txt_Prénom_Observateur, RecordBox::ObserverFirstName},
    };
    for (auto it = m_boxes.cbegin(); it != m_boxes.cend(); ++it) {
        QLineEdit* box = it.key();
        box->installEventFilter(this);
        // A box changed after its check is checked again when it is left.
        connect(box, &QLineEdit::textEdited, this, [this, box] { m_boxEntered = box; });
    }

    m_validationView = std::make_unique<ValidationView>(*this);
    m_validator = std::make_unique<record::RecordValidator>(m_checked, m_references, *m_validationView);

    connect(Tab_Relevé, &QTabBar::currentChanged, this, &frm_Releve_SHOC::parcelTabChanged);
    connect(ogl_Divers, &QTabWidget::currentChanged, this, &frm_Releve_SHOC::pageChanged);
    // "Sauvegarder" saves as "Enregistrer et fermer" does, and the window stays open.
    connect(cmd_Save, &QPushButton::clicked, this, [this] {
        if (checkBoxLeft())
            sub_Sauvegarder_Relevé();
    });
    for (int i = 0; i < 2; ++i)
        connect(opt_Total[size_t(i)], &QRadioButton::clicked, this, [this, i] { totalEntryChosen(i); });
    connect(m_passages, &QButtonGroup::idClicked, this,
            [this] { cmd_Save->setEnabled(sub_Vérif_Si_Sauvegardable()); });
    // The status follows the season and the commune chosen.
    for (QComboBox* combo : {cbo_Saison, cbo_Communes})
        connect(combo, &QComboBox::currentIndexChanged, this, [this] {
            if (!m_loading)
                sub_Vérif_Si_Sauvegardable();
        });
    // An edit of the species shown has them examined again by the next check.
    connect(flx_Espèces, &GridView::afterEdit, this,
            [this] { m_validator->setSpeciesChecked(m_shownParcel, false); });
}

bool frm_Releve_SHOC::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    const auto it = box ? m_boxes.constFind(box) : m_boxes.constEnd();
    if (it != m_boxes.constEnd()) {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (filterKey(box, it.value(), static_cast<QKeyEvent*>(event)))
                return true;
            break;
        case QEvent::InputMethod: { // a character composed (dead keys, compose key)
            auto* composed = static_cast<QInputMethodEvent*>(event);
            if (composed->commitString().isEmpty())
                break;
            QString kept;
            if (!filterText(it.value(), composed->commitString(), &kept))
                return true;
            composed->setCommitString(kept, composed->replacementStart(), composed->replacementLength());
            break;
        }
        case QEvent::FocusIn:
            m_boxEntered = box;
            break;
        case QEvent::FocusOut:
            boxFocusOut(box, static_cast<QFocusEvent*>(event)->reason());
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Typed text through the box's key filter: false when a key is refused (the user is told),
// otherwise the text to type.
bool frm_Releve_SHOC::filterText(record::RecordBox kind, const QString& typed, QString* kept)
{
    kept->clear();
    for (const QChar c : typed) {
        const record::KeyVerdict verdict = record::fun_Filtre_Touche(kind, c.unicode());
        if (verdict.key == 0) {
            sub_Bing();
            m_checking = true;
            platform::dialogs().ask(verdict.message, mb::OKOnly, common::kProgramName);
            m_checking = false;
            return false;
        }
        *kept += QChar(char16_t(verdict.key));
    }
    return true;
}

// A typed key: dropped, or typed as the box's filter gives it.
bool frm_Releve_SHOC::filterKey(QLineEdit* box, record::RecordBox kind, QKeyEvent* event)
{
    QString kept;
    if (!filterText(kind, event->text(), &kept))
        return true;
    if (kept == event->text())
        return false;
    QKeyEvent changed(event->type(), event->key(), event->modifiers(), kept, event->isAutoRepeat(),
                      ushort(event->count()));
    QCoreApplication::sendEvent(box, &changed);
    return true;
}

// The focus leaves a box: its check runs once the focus has settled, unless a page change, a tab
// change or a button runs it first. Focus moves made by the window itself (a refused box taking
// the focus back, the validation showing a field) and moves to another window or a pop-up are
// not the user leaving the box.
void frm_Releve_SHOC::boxFocusOut(QLineEdit* box, Qt::FocusReason reason)
{
    if (m_boxEntered != box)
        return;
    m_boxEntered = nullptr;
    // The widget the focus goes to (already the application's focus widget).
    const QWidget* next = QApplication::focusWidget();
    const bool otherWindow = next && next != this && !isAncestorOf(next);
    if (m_refocusing || m_validating || m_checking || otherWindow || reason == Qt::ActiveWindowFocusReason ||
        reason == Qt::PopupFocusReason) {
        if (!m_refocusing && !m_validating)
            m_boxEntered = box; // still the box to leave
        return;
    }
    m_boxesLeft << box;
    QTimer::singleShot(0, this, &frm_Releve_SHOC::checkLaterBoxLeft);
}

void frm_Releve_SHOC::checkLaterBoxLeft()
{
    if (m_boxesLeft.isEmpty() || !isVisible())
        return;
    if (m_checking || m_validating) { // a box is open: after it
        QTimer::singleShot(50, this, &frm_Releve_SHOC::checkLaterBoxLeft);
        return;
    }
    checkBoxLeft();
}

bool frm_Releve_SHOC::checkBoxLeft()
{
    if (m_checking || m_loading)
        return true;
    // The boxes left, in order; when none is, the box that has the focus is the one being left.
    QList<QPointer<QLineEdit>> boxes;
    boxes.swap(m_boxesLeft);
    if (boxes.isEmpty() && m_boxEntered) {
        boxes << m_boxEntered;
        m_boxEntered = nullptr;
    }
    for (const QPointer<QLineEdit>& box : boxes) {
        if (!box)
            continue;
        if (box == m_boxEntered)
            m_boxEntered = nullptr;
        if (!checkBox(box)) {
            refocus(box);
            return false;
        }
    }
    return true;
}

// The check of one box, and what its accepted value calls for.
bool frm_Releve_SHOC::checkBox(QLineEdit* box)
{
    using record::RecordBox;
    const RecordBox kind = m_boxes.value(box);
    record::BoxContext context{comboText(cbo_Saison), m_parcelCount, {}};
    if (kind == RecordBox::ParcelCount)
        context.filledParcels = record::parcelsHoldingData(currentRecord());
    record::BoxVerdict verdict;
    {
        m_checking = true;
        const auto done = qScopeGuard([this] { m_checking = false; });
        verdict = record::fun_Verifier_Case(kind, box->text(), context);
    }
    if (box->text() != verdict.text)
        box->setText(verdict.text);
    if (!verdict.accepted)
        return false;
    switch (kind) {
    case RecordBox::Date:
        cmd_Save->setEnabled(sub_Vérif_Si_Sauvegardable());
        break;
    case RecordBox::PlaceName:
    case RecordBox::ObserverName:
    case RecordBox::ObserverFirstName:
        sub_Vérif_Si_Sauvegardable();
        break;
    case RecordBox::ParcelCount:
        if (verdict.parcelCount != m_parcelCount)
            applyParcelCount(verdict.parcelCount);
        break;
    default:
        break;
    }
    return true;
}

void frm_Releve_SHOC::refocus(QLineEdit* box)
{
    m_refocusing = true;
    box->setFocus(Qt::OtherFocusReason);
    m_refocusing = false;
    m_boxEntered = box;
}

// ================================================================ parcel tabs

// Another parcel's tab: the box being left and the parcel left are checked first; a refusal keeps
// the parcel left shown, its values kept.
void frm_Releve_SHOC::parcelTabChanged(int index)
{
    const int next = index >= 0 ? Tab_Relevé->tabData(index).toInt() : 0;
    if (next < 1 || next == m_shownParcel)
        return;
    const int left = m_shownParcel;
    if (!checkBoxLeft() || !leaveParcel(left)) {
        selectParcelTab(left);
        if (m_boxEntered)
            refocus(m_boxEntered);
        return;
    }
    enterParcel(next);
}

// Leaving a parcel: its values and species kept, then its times and species checked (steps 3 and
// 4), then its rows of one species merged when the record asks for it (step 5). False when a
// check failed.
bool frm_Releve_SHOC::leaveParcel(int parcel)
{
    const Hourglass hourglass;
    storeShownParcel();
    m_validating = true;
    const auto done = qScopeGuard([this] { m_validating = false; });
    m_checked = currentRecord();
    const record::VerifOptions options{
        .askPartial = false, .firstParcel = parcel, .lastParcel = parcel, .showPage = true};
    for (int step : {3, 4})
        if (m_validator->Sub_Vérif_Data(step, options).error)
            return false;
    m_validator->Sub_Vérif_Data(5, options);
    return true;
}

void frm_Releve_SHOC::selectParcelTab(int parcel)
{
    const QSignalBlocker blocker(Tab_Relevé);
    for (int i = 0; i < Tab_Relevé->count(); ++i)
        if (Tab_Relevé->tabData(i).toInt() == parcel)
            Tab_Relevé->setCurrentIndex(i);
}

// The entry of totals: typed totals only when the user confirms it (nothing is asked while a
// record is being loaded); then the Total column opens or closes.
void frm_Releve_SHOC::totalEntryChosen(int index)
{
    if (index == 1 && isVisible() && !m_loading) {
        const int answer = platform::dialogs().ask(
            QStringLiteral(
                "Choisir cette option risque d'introduire des erreurs et incohrences.\n\nConfirmez-vous "
                "votre intention ?"),
            mb::YesNo | mb::Question | mb::DefaultButton2, common::kProgramName);
        if (answer != mb::Yes) {
            opt_Total[0]->setChecked(true);
            index = 0;
        } else {
            sub_Statut();
        }
    }
    paintTotalColumn();
}

void frm_Releve_SHOC::paintTotalColumn()
{
    Grid& g = flx_Espèces->grid();
    const GridRange total{0, record::SpeciesTotalColumn, g.rows() - 1, record::SpeciesTotalColumn};
    const bool computed = opt_Total[0]->isChecked();
    g.setReadOnly(total, computed);
    if (!computed)
        g.setBackColour(total, 0);
}

// ================================================================ the page-change gate

// Another page: the box being left is checked first (a refusal shows its page again), then the
// page left is validated (Sub_Vérif_Data of its step), the locations get the department and
// commune they lack, and the species page waits for a record that can be saved.
void frm_Releve_SHOC::pageChanged(int index)
{
    const int left = m_pageShown;
    m_pageShown = index;
    if (m_loading || m_validating)
        return; // a page the validation shows itself
    if (!checkBoxLeft()) {
        {
            const QSignalBlocker blocker(ogl_Divers);
            ogl_Divers->setCurrentIndex(left);
        }
        m_pageShown = left;
        if (m_boxEntered)
            refocus(m_boxEntered);
        return;
    }
    {
        m_validating = true;
        const auto done = qScopeGuard([this] { m_validating = false; });
        m_checked = currentRecord();
        m_validator->pageChanged(left);
    }
    m_pageShown = ogl_Divers->currentIndex();
    switch (m_pageShown) {
    case 1:
        flx_Coordonnées->fitColumnWidths();
        break;
    case 2:
        flx_Date_Météo->fitColumnWidths(0, -1, kFitExtraTwips);
        break;
    case kSpeciesPage:
        flx_Espèces->fitColumnWidths();
        break;
    default:
        break;
    }
}

// The keyboard's way through the pages, wherever the focus is in the window; before the main
// window, which would take Ctrl+Tab to go to its next child window.
void frm_Releve_SHOC::connectPageKeys()
{
    const auto pageKey = [this](const QKeySequence& keys, int step) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step] { stepPage(step); });
    };
    pageKey(QKeySequence(Qt::CTRL | Qt::Key_Tab), 1);
    pageKey(QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1);
    pageKey(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1); // also when it comes as Backtab
    pageKey(QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1);
}

// The next or the previous page that can be shown, as a click on its tab shows it (the gate runs).
void frm_Releve_SHOC::stepPage(int step)
{
    QList<bool> reachable;
    for (int i = 0; i < ogl_Divers->count(); ++i)
        reachable << (ogl_Divers->isTabVisible(i) && ogl_Divers->isTabEnabled(i));
    const int page = record::nextReachablePage(reachable, ogl_Divers->currentIndex(), step);
    if (page >= 0 && page != ogl_Divers->currentIndex())
        ogl_Divers->setCurrentIndex(page);
}

// A parcel's location as the validation left it in the record it checked.
void frm_Releve_SHOC::showLocation(int parcel)
{
    if (parcel < 1 || parcel > m_checked.parcels.size())
        return;
    const record::ParcelLocation& l = m_checked.parcels[parcel - 1].location;
    Grid& loc = flx_Coordonnées->grid();
    loc.setCell(parcel, LocDepartment, l.department);
    loc.setCell(parcel, LocCommune, l.commune);
    loc.setCheckState(parcel, LocValidated, checkState(l.validated));
    loc.setCell(parcel, LocLambertX, l.lambertX);
    loc.setCell(parcel, LocLambertY, l.lambertY);
    loc.setCell(parcel, LocInformation, l.information);
}

// A parcel's species as the validation left them (totals written, rows merged): kept, and shown
// again when the parcel is shown.
void frm_Releve_SHOC::showCheckedSpecies(int parcel)
{
    if (parcel < 1 || parcel > m_checked.parcels.size() || !m_checked.parcels[parcel - 1].species)
        return;
    const record::SpeciesTable& table = *m_checked.parcels[parcel - 1].species;
    if (parcel == m_shownParcel) {
        record::applySpeciesTable(flx_Espèces->grid(), table);
        m_species.sub_Flx_Grid_to_File(flx_Espèces->grid(), parcel);
        sub_Init_Flx_Espèces();
        return;
    }
    Grid work;
    m_species.sub_Flx_File_to_Grid(work, parcel);
    record::applySpeciesTable(work, table);
    m_species.sub_Flx_Grid_to_File(work, parcel);
}

// The fields that the site name and the saveable test read.
record::SurveyRecord frm_Releve_SHOC::identification() const
{
    record::SurveyRecord rec;
    rec.department = listText(cbo_Dept);
    rec.commune = listText(cbo_Communes);
    rec.placeName = txt_Lieudit->text();
    rec.observerName = Txt_Nom_Observateur->text();
    rec.observerFirstName = txt_Prénom_Observateur->text();
    rec.season = comboText(cbo_Saison);
    rec.date = txt_Date->text();
    for (int i = 0; i < record::kPassageCount; ++i)
        if (opt_Passage[size_t(i)]->isChecked())
            rec.passage = i + 1;
    return rec;
}
