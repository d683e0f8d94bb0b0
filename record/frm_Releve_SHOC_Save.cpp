// The record window's save: the saveable test and its status, the validation (through the window's
// view of it), the write, and what the validation changed shown again.
#include "record/frm_Releve_SHOC_Parts.h"

#include "common/Globals.h"
#include "platform/Dialogs.h"
#include "platform/MousePointer.h"
#include "platform/Services.h"
#include "record/LocationGrid.h"
#include "record/RecordStore.h"
#include "record/SaveFlow.h"
#include "record/SingleLineValues.h"
#include "record/SiteName.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>

using grid::Grid;
using grid::GridView;
using namespace record::window;
using enum record::LocationColumn;
namespace mb = platform::mb;

// ================================================================ the save

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
    // A tab or a line break pasted into a box or a cell is refused before the validation asks
    // anything.
    if (const platform::Result plain = record::checkSingleLineValues(currentRecord()); !plain) {
        platform::dialogs().ask(plain.error, mb::OKOnly | mb::Exclamation, common::kProgramName);
        return SaveOutcome::NotSaved;
    }

    record::SaveChoice choice = record::SaveChoice::NotSaved;
    {
        const platform::PointerGuard hourglass;
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
    // The data folder of the settings; the store that opened the record while it is the same.
    if (record::RecordStore store = record::RecordStore::fromSettings();
        !m_store || store.folder() != m_store->folder())
        m_store = std::make_unique<record::RecordStore>(store);
    const record::SaveResult saved = m_store->save(rec, m_storedFile, &written);
    if (saved.declined)
        return SaveOutcome::Failed;
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

// ================================================================ the validation's view of the window

int frm_Releve_SHOC::ValidationView::currentPage() const { return w.ogl_Divers->currentIndex(); }

void frm_Releve_SHOC::ValidationView::showPage(int page) { w.ogl_Divers->setCurrentIndex(page); }

void frm_Releve_SHOC::ValidationView::showParcel(int parcel) { w.showParcel(parcel); }

void frm_Releve_SHOC::ValidationView::focusField(record::RecordField field)
{
    QWidget* widgets[] = {
        w.Txt_Nom_Observateur, w.txt_Prénom_Observateur, w.txt_Email,      w.cbo_Saison, w.cbo_Dept,
        w.cbo_Communes,        w.txt_Nom_Site,           w.txt_Nbr_Relevés};
    widgets[int(field)]->setFocus(Qt::OtherFocusReason);
}

void frm_Releve_SHOC::ValidationView::selectSpeciesRow(int parcel, int row)
{
    if (parcel != w.m_shownParcel)
        return;
    const QList<int> rows = record::speciesGridRows(w.flx_Espèces->grid());
    if (row >= 0 && row < rows.size())
        w.flx_Espèces->grid().select(rows[row], record::SpeciesClassColumn);
}

void frm_Releve_SHOC::ValidationView::hideCheckColumns()
{
    for (int c : {int(LocWalk), int(LocValidated), int(LocLambertX), int(LocLambertY)})
        w.flx_Coordonnées->grid().setColHidden(c, true);
}

void frm_Releve_SHOC::ValidationView::setInformationColour(int parcel, grid::GridColour colour)
{
    w.flx_Coordonnées->grid().setBackColour({parcel, LocInformation, parcel, LocInformation}, colour);
}

void frm_Releve_SHOC::ValidationView::locationChanged(int parcel) { w.showLocation(parcel); }

void frm_Releve_SHOC::ValidationView::speciesChanged(int parcel) { w.showCheckedSpecies(parcel); }

void frm_Releve_SHOC::ValidationView::setSaveEnabled(bool)
{
    w.cmd_Save->setEnabled(w.sub_Vérif_Si_Sauvegardable());
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
