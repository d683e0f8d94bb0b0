// The settings window's buttons: Save (to the table's file, the species table through the
// workbook form), RAZ of the species table, and the data folder chosen with Parcourir.
#include "mainwindow/ParamEditor.h"

#include "common/DisplayAdaptation.h"
#include "common/Globals.h"
#include "common/GridHelpers.h"
#include "common/ParamConfig.h"
#include "common/Settings.h"
#include "grid/GridFile.h"
#include "mainwindow/ParamEditorColumns.h"

using common::ParamMode;
using common::ReferenceTable;
using grid::Grid;
using grid::GridFile;
using grid::GridRange;

namespace mainwindow {

using namespace paramcolumns;

// ---------------------------------------------------------------- buttons

void ParamEditor::clearRowNumbers()
{
    if (m_grid.fixedCols() < 1)
        return;
    for (int r = 0; r < m_grid.rows(); ++r)
        m_grid.setCell(r, 0, QString());
}

platform::Result ParamEditor::saveTable()
{
    if (!m_display.cmdSave || m_state == TableState::Unreadable)
        return platform::Result::failure(
            QStringLiteral("La table « %1 » ne peut pas être enregistrée depuis cette fenêtre.")
                .arg(m_modeText));
    clearRowNumbers();
    platform::Result fait = platform::Result::success();
    if (const ReferenceTable* table = common::paramTable(m_mode))
        fait = m_mode == ParamMode::Species ? saveSpecies(*table) : saveToFile(*table);
    else if (m_mode == ParamMode::Identification)
        fait = saveIdentification();
    if (fait)
        m_fingerprint = fingerprint();
    return fait;
}

platform::Result ParamEditor::saveToFile(const ReferenceTable& table)
{
    sub_Tri_Colonne(m_grid);
    const platform::Result ecrit =
        GridFile::save(m_grid, m_path, table.saveFormat, true, platform::Links::Follow);
    if (!ecrit)
        return notSaved(ecrit.error);
    return ecrit;
}

platform::Result ParamEditor::notSaved(const QString& reason) const
{
    const QString pourquoi =
        QStringLiteral("La table « %1 » n'a pas été enregistrée.\n\n").arg(m_modeText) + reason;
    tell(pourquoi);
    return platform::Result::failure(pourquoi);
}

platform::Result ParamEditor::saveSpecies(const ReferenceTable& table)
{
    Grid& g = m_grid;
    sub_Tri_Colonne(g);
    // The table passes once through the workbook form, in memory: the table's own file is
    // written once, complete, at the end.
    const platform::ResultOf<QByteArray> classeur = GridFile::toWorkbook(g, true, m_path);
    platform::Result r = classeur.result;
    if (r)
        r = GridFile::fromWorkbook(g, classeur.value, m_path);
    QString pourquoi = r.error;
    bool ok = r.ok;
    if (ok) {
        if (g.cols() > kFindCodeColumn)
            g.setCell(0, kFindCodeColumn, QStringLiteral("FIndRowCode"));
        if (g.cols() > kFindNameColumn)
            g.setCell(0, kFindNameColumn, QStringLiteral("FIndRowNomF"));
        const platform::Result ecrit =
            GridFile::save(g, m_path, table.saveFormat, true, platform::Links::Follow);
        ok = ecrit.ok;
        pourquoi = ecrit.error;
    }
    if (g.rows() > 0 && g.cols() > 0) {
        const GridRange tout{0, 0, g.rows() - 1, g.cols() - 1};
        g.setBackColour(tout, 0);
        g.setFontSize(tout, kSpeciesFontSize);
    }
    if (!ok)
        return notSaved(pourquoi);
    return platform::Result::success();
}

void ParamEditor::resetTable()
{
    if (m_mode != ParamMode::Species || !m_display.cmdAnnulEsp)
        return;
    Grid& g = m_grid;
    if (g.rows() > 1)
        g.setCheckState(GridRange{1, kEntryColumn, g.rows() - 1, kEntryColumn}, Grid::Unchecked);
    for (int r = g.rows() - 1; r >= 1; --r) {
        bool vide = true;
        for (int c = kFirstSpeciesColumn; c <= kLastSpeciesColumn && vide; ++c)
            vide = g.cell(r, c).isEmpty();
        if (vide)
            g.removeRow(r);
    }
    g.addRow();
}

platform::Result ParamEditor::folderChosen(const QString& folder)
{
    if (folder.isEmpty())
        return platform::Result::failure(
            QStringLiteral("Aucun dossier n'a été choisi : le dossier de travail reste « %1 ».")
                .arg(m_folder));
    m_folder = folder;
    return sub_Reg_Write_HKLM(common::kParametersSection, common::kFolderValue, folder);
}

} // namespace mainwindow
