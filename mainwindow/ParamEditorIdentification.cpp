// The settings window's identification mode: the computers of the sibling product's database,
// the saved choice ticked at load, and the choice written back to the settings.
#include "mainwindow/ParamEditor.h"

#include "common/DisplayAdaptation.h"
#include "common/Globals.h"
#include "common/ParamConfig.h"
#include "common/Paths.h"
#include "common/Settings.h"
#include "mainwindow/ParamEditorColumns.h"
#include "platform/Dialogs.h"
#include "platform/RowSource.h"
#include "platform/Services.h"

#include <algorithm>

using grid::Grid;
using grid::GridRange;
namespace mb = platform::mb;

namespace mainwindow {

using namespace paramcolumns;

void sortComputers(QList<Computer>& ordinateurs)
{
    std::stable_sort(ordinateurs.begin(), ordinateurs.end(), [](const Computer& a, const Computer& b) {
        if (const int c = a.organisation.compare(b.organisation, Qt::CaseInsensitive); c != 0)
            return c < 0;
        return a.cpu.compare(b.cpu, Qt::CaseInsensitive) < 0;
    });
}

void ParamEditor::loadIdentification()
{
    const QString moteur = fun_Get_Setting_Str(common::kGadrelSection, common::kEngineValue,
                                               common::kNoEngine, common::kGadrelProgram);
    if (moteur == common::kNoEngine) {
        platform::dialogs().ask(QStringLiteral("Le logiciel Gadrel n'est pas installé sur votre ordinateur"),
                                mb::OKOnly, common::kProgramName);
        m_mustClose = true;
        return;
    }
    const QString database = common::normalisePath(fun_Get_Setting_Str(
        common::kGadrelSection, common::kDatabaseValue, common::kNoDatabase, common::kGadrelProgram));
    const QString choixCPU =
        fun_Get_Setting_Str(common::kParametersSection, common::kCpuChoiceValue + m_scheme, QString());
    const QString choixOrganisme = fun_Get_Setting_Str(
        common::kParametersSection, common::kOrganisationChoiceValue + m_scheme, QString());

    const platform::RowSourceResult lu =
        m_database.readTable(database, common::kComputersTable,
                             {common::kOrganisationField, common::kCpuField, common::kComputerField});
    m_databaseError = lu.result.error;
    if (!lu.result) {
        // The grid shows what was read; the user is told why it is empty or short.
        const QString state =
            lu.rows.isEmpty()
                ? QStringLiteral("La liste des ordinateurs de Gadrel n'a pas pu être lue : elle reste vide.")
                : QStringLiteral("La liste des ordinateurs de Gadrel n'a pas pu être lue en entier : seuls "
                                 "les %1 premiers ordinateurs sont affichés.")
                      .arg(lu.rows.size());
        tell(state + QStringLiteral("\n\n") + lu.result.error);
    }
    QList<Computer> ordinateurs;
    for (const QStringList& row : lu.rows)
        ordinateurs << Computer{row.value(0), row.value(1), row.value(2)};
    sortComputers(ordinateurs);

    Grid& g = m_grid;
    g.setFixedRows(0);
    g.setRows(0);
    g.setFormatString(kIdentificationHeader);
    g.setColDataType(kSelectionColumn, Grid::DataType::Boolean);
    // The row of the saved choice: its organisation and its code, never the code alone, which two
    // organisations may share.
    bool coche = false;
    for (const Computer& o : std::as_const(ordinateurs)) {
        const int r = g.addRow();
        g.setCell(r, kOrganisationColumn, o.organisation);
        g.setCell(r, kCpuColumn, o.cpu);
        g.setCell(r, kComputerNameColumn, o.name);
        const bool choisi =
            !coche && !choixCPU.isEmpty() && o.cpu == choixCPU && o.organisation == choixOrganisme;
        g.setCheckState(r, kSelectionColumn, choisi ? Grid::Checked : Grid::Unchecked);
        coche = coche || choisi;
    }

    m_display.txtFile = false;
    m_display.cmdParcourir = false;
    g.setFixedRows(1);
    g.setFixedCols(1);
    if (g.rows() > 1)
        g.setReadOnly(GridRange{1, kOrganisationColumn, g.rows() - 1, kComputerNameColumn}, true);
    g.setEditable(Grid::Editable::KeyboardMouse);
    m_display.cmdSave = true;
    m_display.cmdCopier = false;
}

platform::Result ParamEditor::saveIdentification()
{
    const Grid& g = m_grid;
    for (int r = 1; r < g.rows(); ++r) {
        if (g.checkState(r, kSelectionColumn) != Grid::Checked)
            continue;
        // A failed write is told by the settings layer, once a session; the choice stays in memory.
        // Both values are written whatever becomes of the first.
        const platform::Result cpu = sub_Reg_Write_HKLM(
            common::kParametersSection, common::kCpuChoiceValue + m_scheme, g.cell(r, kCpuColumn));
        const platform::Result organisme =
            sub_Reg_Write_HKLM(common::kParametersSection, common::kOrganisationChoiceValue + m_scheme,
                               g.cell(r, kOrganisationColumn));
        return cpu ? organisme : cpu;
    }
    return platform::Result::success();
}

} // namespace mainwindow
