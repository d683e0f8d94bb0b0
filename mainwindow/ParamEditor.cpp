// The settings window's logic: loading each mode's table (with the address book's fix-ups), the
// empty rows, and the question asked on closing with changes not saved. Its identification mode,
// editing rules and buttons are in the ParamEditor*.cpp files beside it.
#include "mainwindow/ParamEditor.h"

#include "common/DisplayAdaptation.h"
#include "common/Globals.h"
#include "common/KeyFilters.h"
#include "common/ParamConfig.h"
#include "common/Paths.h"
#include "common/Settings.h"
#include "grid/GridFile.h"
#include "mainwindow/ParamEditorColumns.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QFileInfo>

using grid::Grid;
using grid::GridFile;
using grid::GridRange;
namespace mb = platform::mb;
using common::ParamMode;
using common::ReferenceTable;

namespace mainwindow {

using namespace paramcolumns;

int paramcolumns::quietDigitsFilter(int key)
{
    const QString point = QLocale().decimalPoint();
    return common::filterDigitKey(key, QString(), point.isEmpty() ? QChar(u'.') : point[0], true, QString())
        .key;
}

QString paramWindowTitle(const QString& mode, const QString& scheme)
{
    QString title = common::kProgramName + QStringLiteral(" - ") + mode;
    if (!scheme.isEmpty())
        title += QStringLiteral(" [") + scheme + QLatin1Char(']');
    return title;
}

// ================================================================ editor

ParamEditor::ParamEditor(Grid& table, platform::RowSource& database)
    : m_grid(table), m_database(database), m_digitsFilter(quietDigitsFilter)
{
}

void ParamEditor::setDigitsFilter(KeyFilter filter)
{
    m_digitsFilter = filter ? std::move(filter) : KeyFilter(quietDigitsFilter);
}

bool ParamEditor::isAdministrator() const { return common::isAdministratorMode(m_grid.tag()); }

void ParamEditor::tell(const QString& text) const
{
    platform::dialogs().ask(text, mb::OKOnly | mb::Exclamation, common::kProgramName);
}

// ---------------------------------------------------------------- load

void ParamEditor::loadMode(const QString& mode, const QString& scheme)
{
    m_modeText = mode;
    m_scheme = scheme;
    m_mode = common::modeFromText(mode);
    m_display = Display();
    m_state = TableState::NoFile;
    m_mustClose = false;
    m_modified = false;
    m_path.clear();
    m_databaseError.clear();
    m_grid.setTag(fun_Get_Setting_Str(common::kAdminSection, common::kPasswordValue, QString()));
    m_folder = fun_Get_Setting_Str(common::kParametersSection, common::kFolderValue, gstr_Dossier);

    if (const ReferenceTable* table = common::paramTable(m_mode)) {
        loadTable(*table);
    } else if (m_mode == ParamMode::Identification) {
        loadIdentification();
        if (m_mustClose)
            return;
    } else if (m_mode == ParamMode::Folder) {
        m_display.grid = false;
        m_display.cmdExit = false;
        m_display.cmdCopier = false;
        m_display.cmdSave = false;
    }

    if (m_mode != ParamMode::Squares)
        removeEmptyRows();
    if (m_mode != ParamMode::Identification)
        m_grid.addRow();
    // Fix-ups whose save failed stay to be saved: the reference is then the file as read.
    if (!m_modified)
        m_fingerprint = fingerprint();
}

QStringList ParamEditor::fingerprint() const
{
    const Grid& g = m_grid;
    QStringList lignes;
    for (int r = g.fixedRows(); r < g.rows(); ++r) {
        if (isEmptyRow(r))
            continue;
        QString ligne;
        for (int c = g.fixedCols(); c < g.cols(); ++c)
            ligne += g.cell(r, c) + u'\x1f' + QString::number(g.checkState(r, c)) + u'\t';
        lignes << ligne;
    }
    return lignes;
}

bool ParamEditor::isModified() const
{
    return m_display.cmdSave && m_state != TableState::Unreadable && fingerprint() != m_fingerprint;
}

bool ParamEditor::canClose()
{
    if (!isModified())
        return true;
    const QString question =
        QStringLiteral("Les modifications de « %1 » n'ont pas été enregistrées.").arg(m_modeText) +
        QStringLiteral("\n\nVoulez-vous les enregistrer avant de fermer la fenêtre ?");
    switch (platform::dialogs().ask(question, mb::YesNoCancel | mb::Exclamation, common::kProgramName)) {
    case mb::Yes:
        return saveTable().ok; // a failed save has said why; the window stays open
    case mb::No:
        return true;
    default:
        return false;
    }
}

void ParamEditor::loadTable(const ReferenceTable& table)
{
    m_display.txtFile = false;
    m_display.cmdParcourir = false;
    m_display.cmdAnnulEsp = m_mode == ParamMode::Species;
    m_path = common::tablePath(m_mode);

    Grid& g = m_grid;
    g.setFixedRows(0);
    g.setRows(0);
    const platform::Result lu = GridFile::load(g, m_path, table.loadFormat);
    if (lu) {
        m_state = TableState::Loaded;
    } else {
        // Only a missing file is an empty table; a file that is there but cannot be read is left
        // alone, and no Save is offered that would replace it with an empty table.
        m_state = QFileInfo::exists(m_path) ? TableState::Unreadable : TableState::Missing;
        g.setFixedRows(0);
        g.setRows(0);
        g.setFormatString(table.header);
        for (int c : table.checkBoxColumns)
            g.setColDataType(c, Grid::DataType::Boolean);
        if (m_state == TableState::Unreadable)
            tell(
                QStringLiteral("La table « %1 » ne peut pas être lue : elle est affichée vide et ne peut pas "
                               "être enregistrée depuis cette fenêtre. Le fichier n'a pas été modifié.")
                    .arg(m_modeText) +
                QStringLiteral("\n\n") + lu.error);
    }

    if (m_mode == ParamMode::Networks)
        g.setCols(kNetworkColumnCount);
    if (m_mode == ParamMode::Behaviours && g.rows() > 1) {
        const GridRange donnees{1, 0, g.rows() - 1, g.cols() - 1};
        g.setReadOnly(donnees, false);
        g.setBackColour(donnees, 0);
    }
    if (m_mode == ParamMode::Addresses && m_state == TableState::Missing) {
        const int r = g.addRow(QString(), 1);
        g.setCell(r, kAddressColumn, common::kShocCoordinationAddress);
        g.setCheckState(r, kAddressBoxColumn, Grid::Checked);
    }
    g.setFixedRows(1);
    if (g.cols() > 0)
        g.setFixedCols(1);

    const bool modifiable =
        m_state != TableState::Unreadable &&
        (m_mode == ParamMode::Species || m_mode == ParamMode::Addresses || isAdministrator());
    g.setEditable(modifiable ? Grid::Editable::KeyboardMouse : Grid::Editable::None);
    m_display.cmdSave = modifiable;
    if (m_state == TableState::Unreadable)
        m_display.cmdAnnulEsp = false;

    if (m_mode == ParamMode::Addresses && m_state == TableState::Loaded)
        fixAddresses();
}

void ParamEditor::fixAddresses()
{
    Grid& g = m_grid;
    m_fingerprint = fingerprint(); // the book as read, before its fix-ups
    int ligneSHOC = g.findRow(common::kShocCoordinationAddress, 1, kAddressColumn);
    if (ligneSHOC < 0) {
        ligneSHOC = g.addRow(QString(), 1);
        g.setCell(ligneSHOC, kAddressColumn, common::kShocCoordinationAddress);
        g.setCheckState(ligneSHOC, kAddressBoxColumn, Grid::Unchecked);
        m_modified = true;
    }
    const int ligneSTOC = g.findRow(common::kStocEpsCoordinationAddress, 1, kAddressColumn);
    if (ligneSTOC >= 0 && g.checkState(ligneSTOC, kAddressBoxColumn) == Grid::Checked) {
        g.setCheckState(ligneSTOC, kAddressBoxColumn, Grid::Unchecked);
        g.setCheckState(ligneSHOC, kAddressBoxColumn, Grid::Checked);
        m_modified = true;
    }
    if (m_modified && saveTable())
        m_modified = false;
}

bool ParamEditor::isEmptyRow(int row) const
{
    for (int c = m_grid.fixedCols(); c < m_grid.cols(); ++c)
        if (!m_grid.cell(row, c).trimmed().isEmpty() || m_grid.checkState(row, c) == Grid::Checked)
            return false;
    return true;
}

void ParamEditor::removeEmptyRows()
{
    for (int r = m_grid.rows() - 1; r >= 1 && r >= m_grid.fixedRows(); --r)
        if (isEmptyRow(r))
            m_grid.removeRow(r);
}

} // namespace mainwindow
