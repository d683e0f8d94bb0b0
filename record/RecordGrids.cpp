#include "record/RecordGrids.h"

#include "common/Globals.h"
#include "common/GridWidgets.h"
#include "common/OptionMarks.h"
#include "grid/GridView.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "record/ParcelCommunes.h"
#include "record/SpeciesStore.h"
#include "record/frm_Releve_SHOC.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QPointer>
#include <QRadioButton>

using grid::Grid;
using grid::GridRange;
using grid::GridView;
namespace mb = platform::mb;

namespace record {

namespace {

// Extra width of the species grid's fitted columns, in twips.
constexpr int kSpeciesFitExtraTwips = 240;

bool fitColumns() { return common::isOptionChecked(QStringLiteral("Ajust")); }

QString clipboardText()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->text() : QString();
}

} // namespace

RecordGrids::RecordGrids(frm_Releve_SHOC& window)
    : QObject(&window), m_window(window),
      m_entry(window.references().speciesTable(),
              [&window](const QString& code) { return window.confirmSpecies(code); }),
      m_speciesCommands(window.flx_Espèces->grid(), GridCommands::Rows::Free),
      m_weatherCommands(window.flx_Date_Météo->grid(), GridCommands::Rows::Parcels),
      m_habitatCommands(window.flx_Desc_Parcelles->grid(), GridCommands::Rows::Parcels),
      m_storedCommands(window.flx_EPS->grid(), GridCommands::Rows::Parcels),
      m_locationCommands(window.flx_Coordonnées->grid(), GridCommands::Rows::Parcels)
{
    GridView* species = window.flx_Espèces;
    connect(species, &GridView::beforeEdit, this, &RecordGrids::speciesBeforeEdit);
    connect(species, &GridView::afterEdit, this, &RecordGrids::speciesAfterEdit);
    connect(species, &GridView::keyPressEdit, this, &RecordGrids::speciesKeyPress);
    attach(m_speciesCommands, species);
    m_speciesCommands.changed = [this](GridCommands::Command command, const GridRange& range) {
        speciesCommand(command, range);
    };

    connect(window.flx_Date_Météo, &GridView::afterEdit, this, &RecordGrids::weatherAfterEdit);
    for (GridView* view : {window.flx_Date_Météo, window.flx_Desc_Parcelles}) {
        GridCommands& commands = view == window.flx_Date_Météo ? m_weatherCommands : m_habitatCommands;
        attach(commands, view);
        commands.changed = [this, view](GridCommands::Command command, const GridRange&) {
            parcelCommand(command, view);
        };
    }

    // The location grid keeps its read-only and information cells through a command, and a row
    // the command changed is no longer validated.
    attach(m_locationCommands, window.flx_Coordonnées);
    m_locationCommands.aboutToChange = [this](GridCommands::Command, const GridRange& range) {
        m_locationChange.emplace(m_window.flx_Coordonnées->grid(), range);
    };
    m_locationCommands.changed = [this](GridCommands::Command, const GridRange&) { locationCommand(); };

    // The record in its stored form is only read: of the commands, only the copy does something.
    attach(m_storedCommands, window.flx_EPS);

    connect(window.cbo_Communes, &QComboBox::activated, this, &RecordGrids::communeChosen);
    connect(window.cbo_Dept, &QComboBox::activated, this, &RecordGrids::departmentChosen);
}

void RecordGrids::attach(GridCommands& commands, GridView* view)
{
    commands.clipboardText = clipboardText;
    commands.copySelection = [](Grid& g) { sub_Copier_Grille(g); };
    connect(view, &GridView::keyDown, this, [&commands](int* keyCode, int shift) {
        if (commands.keyDown(*keyCode, shift))
            *keyCode = 0;
    });
}

bool RecordGrids::computedTotals() const { return m_window.opt_Total[0]->isChecked(); }

void RecordGrids::tellUnknown(const SpeciesLookups& lookups) const
{
    if (!lookups.unknown.isEmpty())
        platform::dialogs().ask(unknownSpeciesText(lookups.unknown), mb::OKOnly | mb::Exclamation,
                                common::kProgramName);
}

// ---------------------------------------------------------------- species grid

// "Indices" offers the behaviours of the row's class.
void RecordGrids::speciesBeforeEdit(int row, int col, bool*)
{
    Grid& g = m_window.flx_Espèces->grid();
    if (col == g.cols() - 1)
        g.setColEditList(col, behaviourListForClass(m_window.references().behaviourList(),
                                                    g.cell(row, SpeciesClassColumn)));
}

void RecordGrids::speciesAfterEdit(int row, int col)
{
    GridView* view = m_window.flx_Espèces;
    Grid& g = view->grid();
    const bool computed = computedTotals();
    const SpeciesLookups lookups = m_entry.afterEdit(g, row, col, computed);
    if (fitColumns()) {
        if (col == SpeciesCodeColumn || col == SpeciesNameColumn) {
            const int fitted = col == SpeciesCodeColumn ? SpeciesCodeColumn : SpeciesClassColumn;
            view->fitColumnWidths(fitted, fitted, kSpeciesFitExtraTwips);
        }
        view->fitColumnWidths(col, col, kSpeciesFitExtraTwips);
    }
    SpeciesEntry::addEmptyRow(g, computed);
    SpeciesEntry::paintColumns(g, computed);
    tellUnknown(lookups);
}

// A refused key is told; the cell's editor stays open (it is opened again when the box took it
// away), with the text typed so far.
void RecordGrids::speciesKeyPress(int row, int col, int* key)
{
    if (speciesKeyAllowed(col, *key))
        return;
    *key = 0;
    QPointer<GridView> view = m_window.flx_Espèces;
    const QString typed = view->editText();
    sub_Bing();
    platform::dialogs().ask(speciesKeyMessage(speciesKeyRule(col)), mb::OKOnly, common::kProgramName);
    if (!view || view->isEditing())
        return;
    view->grid().select(row, col);
    if (view->editCell())
        view->setEditText(typed);
}

void RecordGrids::speciesCommand(GridCommands::Command command, const GridRange& range)
{
    GridView* view = m_window.flx_Espèces;
    Grid& g = view->grid();
    const bool computed = computedTotals();
    SpeciesLookups lookups;
    switch (command) {
    case GridCommands::Command::Copy:
        return;
    case GridCommands::Command::Delete:
        SpeciesEntry::endWithEmptyRow(g, computed);
        break;
    case GridCommands::Command::Paste:
    case GridCommands::Command::Fill:
        lookups = m_entry.afterRowsWritten(g, range, computed);
        SpeciesEntry::addEmptyRow(g, computed);
        break;
    }
    SpeciesEntry::paintColumns(g, computed);
    if (fitColumns())
        view->fitColumnWidths(0, -1, kSpeciesFitExtraTwips);
    m_window.sub_Statut();
    tellUnknown(lookups);
}

// ---------------------------------------------------------------- weather and habitat grids

void RecordGrids::weatherAfterEdit(int, int col)
{
    if (fitColumns())
        m_window.flx_Date_Météo->fitColumnWidths(col, col);
}

void RecordGrids::parcelCommand(GridCommands::Command command, GridView* view)
{
    if (command == GridCommands::Command::Copy)
        return;
    if (fitColumns() && view == m_window.flx_Date_Météo)
        view->fitColumnWidths();
    m_window.sub_Statut();
}

void RecordGrids::locationCommand()
{
    if (!m_locationChange)
        return;
    const QList<int> changedRows = m_locationChange->finish();
    m_locationChange.reset();
    if (!changedRows.isEmpty())
        m_window.sub_Statut();
}

// ---------------------------------------------------------------- site choices

// Every parcel lies in the site's commune.
void RecordGrids::communeChosen()
{
    const QString department =
        m_window.cbo_Dept->currentIndex() < 0 ? QString() : m_window.cbo_Dept->currentText();
    const QString commune =
        m_window.cbo_Communes->currentIndex() < 0 ? QString() : m_window.cbo_Communes->currentText();
    copyCommuneToParcels(m_window.flx_Coordonnées->grid(), m_window.parcelCount(), department, commune);
    m_window.sub_Vérif_Si_Sauvegardable();
}

// The communes of the department are offered by the window as soon as it is chosen.
void RecordGrids::departmentChosen() { m_window.sub_Vérif_Si_Sauvegardable(); }

} // namespace record
