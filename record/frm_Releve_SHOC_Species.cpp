// The record window's species page: one parcel shown at a time under its tab (its values and its
// species grid kept when another is shown), the entry of totals and the zoom of the grid.
#include "record/frm_Releve_SHOC_Parts.h"

#include "common/Globals.h"
#include "common/OptionMarks.h"
#include "platform/Dialogs.h"
#include "platform/MousePointer.h"
#include "platform/Services.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QVBoxLayout>

using grid::Grid;
using grid::GridRange;
using namespace record::window;
namespace mb = platform::mb;

namespace {

// The species grid's rows when it has fewer than kSpeciesMinRows.
constexpr int kSpeciesMinRows = 10;
constexpr int kSpeciesRows = 50;

} // namespace

// ================================================================ the page

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
    const platform::PointerGuard hourglass;
    g.setFontSize({0, 0, g.rows() - 1, g.cols() - 1}, next);
    if (common::isOptionChecked(QStringLiteral("Ajust")))
        fitSpeciesColumns();
}

// ================================================================ parcel tabs

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
    const platform::PointerGuard hourglass;
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

// ================================================================ entry of totals

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
