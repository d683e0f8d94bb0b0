#include "mainwindow/ParamEditor.h"

#include "common/DisplayAdaptation.h"
#include "common/Globals.h"
#include "common/GridHelpers.h"
#include "common/KeyFilters.h"
#include "common/ParamConfig.h"
#include "common/Paths.h"
#include "common/Settings.h"
#include "grid/GridFile.h"
#include "platform/Dialogs.h"
#include "platform/RowSource.h"
#include "platform/Services.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <optional>

using grid::Grid;
using grid::GridFile;
using grid::GridRange;
namespace mb = platform::mb;
using common::ParamMode;
using common::ReferenceTable;

namespace mainwindow {

namespace {

// The species table's "Saisie" column: the only one an ordinary user may change.
constexpr int kEntryColumn = common::kSpeciesEntryColumn;
// The species table's descriptive columns, which RAZ reads to find empty rows.
constexpr int kFirstSpeciesColumn = 1;
constexpr int kLastSpeciesColumn = 4;
// The species table's further header texts, written by Save where the table has the columns.
constexpr int kFindCodeColumn = 6;
constexpr int kFindNameColumn = 7;
// The squares table: the square number, then the coordinates.
constexpr int kSquareNumberColumn = 2;
constexpr int kLongitudeColumn = 3;
// The networks table: the code (capitals) and the five-minute count (digits).
constexpr int kNetworkCodeColumn = 1;
constexpr int kFiveMinutesColumn = 3;
constexpr int kNetworkColumnCount = 4;
// The species code, typed in capitals.
constexpr int kSpeciesCodeColumn = 2;
// The identification grid: the box, then the information columns.
constexpr int kSelectionColumn = 1;
constexpr int kOrganisationColumn = 2;
constexpr int kCpuColumn = 3;
constexpr int kComputerNameColumn = 4;
// The address book: the box, then the address.
constexpr int kAddressBoxColumn = common::kAddressBoxColumn;
constexpr int kAddressColumn = 2;

// A number typed in a cell: the locale's form, or the form with a point.
bool readNumber(const QString& text, const QLocale& locale, double* valeur)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    double v = locale.toDouble(t, &ok);
    if (!ok)
        v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return false;
    *valeur = v;
    return true;
}

int quietDigitsFilter(int key)
{
    const QString point = QLocale().decimalPoint();
    return common::filterDigitKey(key, QString(), point.isEmpty() ? QChar(u'.') : point[0], true, QString())
        .key;
}

} // namespace

TextLayout textLayout(const QList<QStringList>& lignes, const QStringList& entete, int colonnesFixes)
{
    TextLayout d;
    if (lignes.isEmpty())
        return d;
    colonnesFixes = std::clamp(colonnesFixes, 0, int(entete.size()));
    const QStringList titres = entete.mid(colonnesFixes);
    int titresNonVides = 0;
    for (const QString& t : titres)
        titresNonVides += t.trimmed().isEmpty() ? 0 : 1;
    auto estEntete = [&](const QStringList& ligne, int decalage) {
        int egaux = 0;
        for (int k = 0; k < titres.size(); ++k) {
            const QString title = titres[k].trimmed();
            const QString cellule = ligne.value(decalage + k).trimmed();
            if (title.isEmpty() || cellule.isEmpty())
                continue;
            if (cellule.compare(title, Qt::CaseInsensitive) != 0)
                return false;
            ++egaux;
        }
        return titresNonVides > 0 && egaux >= std::min(2, titresNonVides);
    };
    if (colonnesFixes > 0 && estEntete(lignes.first(), colonnesFixes)) {
        d.header = true;
        d.fixedColumns = true;
        return d;
    }
    if (estEntete(lignes.first(), 0)) {
        d.header = true;
        return d;
    }
    if (colonnesFixes == 0 || lignes.first().size() != entete.size())
        return d;
    // The fixed cells of the program's rows: all empty, or the row numbers.
    bool vides = true, numerotees = true;
    for (int i = 0; i < lignes.size(); ++i) {
        for (int c = 0; c < colonnesFixes; ++c) {
            const QString cellule = lignes[i].value(c).trimmed();
            vides = vides && cellule.isEmpty();
            numerotees = numerotees && (c > 0 ? cellule.isEmpty() : cellule == QString::number(i + 1));
        }
    }
    d.fixedColumns = vides || numerotees;
    return d;
}

QString paramWindowTitle(const QString& mode, const QString& scheme)
{
    QString title = common::kProgramName + QStringLiteral(" - ") + mode;
    if (!scheme.isEmpty())
        title += QStringLiteral(" [") + scheme + QLatin1Char(']');
    return title;
}

QString formatSquareNumber(const QString& text, const QLocale& locale)
{
    double v = 0;
    if (!readNumber(text, locale, &v))
        return text;
    const double arrondi = std::round(v); // halves away from zero
    if (std::fabs(arrondi) >= 1e15)
        return QString::number(arrondi, 'f', 0);
    const qint64 n = qint64(arrondi);
    const QString chiffres = QString::number(n < 0 ? -n : n).rightJustified(4, QLatin1Char('0'));
    return n < 0 ? QLatin1Char('-') + chiffres : chiffres;
}

QString formatCoordinate(const QString& text, const QLocale& locale)
{
    double v = 0;
    if (!readNumber(text, locale, &v))
        return text;
    QLocale sansGroupes = locale;
    sansGroupes.setNumberOptions(QLocale::OmitGroupSeparator);
    return sansGroupes.toString(v, 'f', 3);
}

void sortComputers(QList<Computer>& ordinateurs)
{
    std::stable_sort(ordinateurs.begin(), ordinateurs.end(), [](const Computer& a, const Computer& b) {
        if (const int c = a.organisation.compare(b.organisation, Qt::CaseInsensitive); c != 0)
            return c < 0;
        return a.cpu.compare(b.cpu, Qt::CaseInsensitive) < 0;
    });
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

// ---------------------------------------------------------------- editing rules

bool ParamEditor::isLocked(int row, int col) const
{
    if (m_grid.isReadOnly(row, col))
        return true;
    const grid::GridColour couleur = m_grid.backColour(row, col);
    return couleur != 0 && couleur == m_grid.backColourFixed();
}

bool ParamEditor::canEdit(int row, int col) const
{
    if (isLocked(row, col))
        return false;
    if (m_mode == ParamMode::Species && !isAdministrator() && col != kEntryColumn)
        return false;
    return true;
}

bool ParamEditor::isCellEditable(int row, int col) const
{
    const Grid& g = m_grid;
    return g.editable() != Grid::Editable::None && row >= g.fixedRows() && col >= g.fixedCols() &&
           row < g.rows() && col < g.cols() && !g.colHidden(col) && canEdit(row, col);
}

int ParamEditor::filterKey(int col, int key) const { return keyFor(col, key, m_digitsFilter); }

int ParamEditor::keyFor(int col, int key, const KeyFilter& digitsFilter) const
{
    switch (m_mode) {
    case ParamMode::Squares:
        if (col == kSquareNumberColumn || col > kLongitudeColumn)
            return digitsFilter(key);
        break;
    case ParamMode::Networks:
        if (col == kFiveMinutesColumn)
            return digitsFilter(key);
        if (col == kNetworkCodeColumn)
            return fun_Majuscule_Sans_Accent(key);
        break;
    case ParamMode::Species:
        if (col == kSpeciesCodeColumn)
            return fun_Majuscule_Sans_Accent(key);
        break;
    default:
        break;
    }
    return key;
}

QString ParamEditor::formatAfterEdit(int col, const QString& text) const
{
    if (m_mode == ParamMode::Squares) {
        if (col == kSquareNumberColumn)
            return formatSquareNumber(text);
        if (col > kSquareNumberColumn)
            return formatCoordinate(text);
    }
    return text;
}

void ParamEditor::afterEdit(int row, int col)
{
    Grid& g = m_grid;
    if (m_mode == ParamMode::Squares && col >= kSquareNumberColumn)
        g.setCell(row, col, formatAfterEdit(col, g.cell(row, col)));
    if (m_mode == ParamMode::Identification) {
        if (row >= 1 && row < g.rows()) {
            g.setCheckState(GridRange{1, kSelectionColumn, g.rows() - 1, kSelectionColumn}, Grid::Unchecked);
            g.setCheckState(row, kSelectionColumn, Grid::Checked);
        }
        return;
    }
    g.addRow();
}

void ParamEditor::clearSelection()
{
    const GridRange s = m_grid.selection();
    if (s.isEmpty())
        return;
    for (int r = s.row1; r <= s.row2; ++r)
        for (int c = s.col1; c <= s.col2; ++c)
            if (isCellEditable(r, c))
                m_grid.clearRange(GridRange{r, c, r, c});
}

std::optional<QString> ParamEditor::typedText(int col, const QString& text) const
{
    // Each character as if typed in the cell's editor; the numeric filter says nothing here, the
    // paste's own message names the cell. Tabs and line ends cannot be typed into a cell.
    QString saisi;
    saisi.reserve(text.size());
    for (const QChar ch : text) {
        if (ch.unicode() < 0x20)
            return std::nullopt;
        const int key = keyFor(col, ch.unicode(), quietDigitsFilter);
        if (key == 0)
            return std::nullopt;
        saisi += QChar(char16_t(key));
    }
    return formatAfterEdit(col, saisi);
}

platform::Result ParamEditor::pasteText(const QString& text)
{
    Grid& g = m_grid;
    // One line end at the end is the spreadsheet's, not a further row.
    QString bloc = text;
    if (bloc.endsWith(QLatin1String("\r\n")))
        bloc.chop(2);
    else if (bloc.endsWith(u'\n') || bloc.endsWith(u'\r'))
        bloc.chop(1);
    bloc.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    bloc.replace(u'\r', u'\n');
    const QStringList lignes = bloc.split(u'\n');

    // A table that grows row by row as it is typed also grows for the rows pasted below it.
    const int r0 = g.row(), c0 = g.col();
    const bool grandit = m_mode != ParamMode::Identification && isCellEditable(r0, c0);
    struct Refus
    {
        int row, col;
        QString pourquoi, text;
    };
    QList<Refus> refus;
    for (int i = 0; i < lignes.size(); ++i) {
        const int r = r0 + i;
        if (grandit && r >= g.rows())
            g.addRow();
        const QStringList cellules = lignes[i].split(u'\t');
        for (int j = 0; j < cellules.size(); ++j) {
            const int c = c0 + j;
            const QString& colle = cellules[j];
            if (r >= g.rows() || c >= g.cols()) {
                refus << Refus{r, c, QStringLiteral("hors de la table"), colle};
                continue;
            }
            if (g.colDataType(c) == Grid::DataType::Boolean && r >= g.fixedRows()) {
                // A box is ticked by a click, not by a text; an empty text leaves it as it is.
                if (!colle.isEmpty())
                    refus << Refus{r, c, QStringLiteral("case à cocher"), colle};
                continue;
            }
            const std::optional<QString> saisi = typedText(c, colle);
            if (saisi && *saisi == g.cell(r, c))
                continue; // nothing to change
            if (!isCellEditable(r, c)) {
                refus << Refus{r, c, QStringLiteral("cellule non modifiable"), colle};
                continue;
            }
            if (!saisi) {
                refus << Refus{r, c, QStringLiteral("caractères refusés dans cette colonne"), colle};
                continue;
            }
            g.setCell(r, c, *saisi);
        }
    }
    if (refus.isEmpty())
        return platform::Result::success();

    constexpr int kNamedCells = 10;
    QStringList noms;
    for (const Refus& f : std::as_const(refus).first(std::min<qsizetype>(refus.size(), kNamedCells))) {
        const QString title = f.col < g.cols() ? g.cell(0, f.col).trimmed() : QString();
        noms << QStringLiteral("- ligne %1, colonne %2 (%3) : « %4 »")
                    .arg(f.row)
                    .arg(title.isEmpty() ? QString::number(f.col) : QStringLiteral("« %1 »").arg(title),
                         f.pourquoi, f.text);
    }
    if (refus.size() > kNamedCells)
        noms << QStringLiteral("- et %1 autres cellules").arg(refus.size() - kNamedCells);
    const QString pourquoi =
        QStringLiteral("Le texte collé n'a pas été repris dans ces cellules, qui n'ont pas changé :\n\n") +
        noms.join(u'\n');
    tell(pourquoi);
    return platform::Result::failure(pourquoi);
}

bool ParamEditor::canLoadText() const
{
    const Grid& g = m_grid;
    if (g.editable() != Grid::Editable::KeyboardMouse || m_state == TableState::Unreadable)
        return false;
    // Every cell of a new row, and every cell already there, must be open to the user.
    for (int c = g.fixedCols(); c < g.cols(); ++c)
        if (m_mode == ParamMode::Species && !isAdministrator() && c != kEntryColumn)
            return false;
    for (int r = g.fixedRows(); r < g.rows(); ++r)
        for (int c = g.fixedCols(); c < g.cols(); ++c)
            if (isLocked(r, c))
                return false;
    return true;
}

platform::Result ParamEditor::loadText(const QString& path)
{
    if (!canLoadText())
        return platform::Result::failure(
            QStringLiteral("La table « %1 » ne peut pas être remplacée par un fichier.").arg(m_modeText));
    Grid& g = m_grid;
    const QString fichier = common::normalisePath(path);
    auto echec = [this](const platform::Result& r) {
        const QString pourquoi =
            QStringLiteral("Le fichier n'a pas pu être chargé : la table n'a pas changé.\n\n") + r.error;
        tell(pourquoi);
        return platform::Result::failure(pourquoi);
    };
    // First the file as it stands, every line from its first cell, to see how it is laid out.
    Grid brut;
    brut.setFixedRows(0);
    brut.setFixedCols(0);
    brut.setRows(0);
    if (const platform::Result r = GridFile::load(brut, fichier, GridFile::TabText); !r)
        return echec(r);
    QList<QStringList> lignes;
    for (int r = 0; r < brut.rows(); ++r) {
        QStringList ligne;
        for (int c = 0; c < brut.cols(); ++c)
            ligne << brut.cell(r, c);
        lignes << ligne;
    }
    QStringList entete;
    for (int c = 0; c < g.cols(); ++c)
        entete << g.cell(0, c);
    const TextLayout disposition = textLayout(lignes, entete, g.fixedCols());

    // Then read in the table's layout, so that its check-box columns read truth values: the
    // file's fixed cells, when it has them, fall in the table's fixed columns.
    Grid lu;
    lu.setCols(g.cols());
    for (int c = 0; c < g.cols(); ++c)
        lu.setColDataType(c, g.colDataType(c));
    lu.setFixedRows(0);
    lu.setFixedCols(disposition.fixedColumns ? 0 : g.fixedCols());
    lu.setRows(0);
    if (const platform::Result r = GridFile::load(lu, fichier, GridFile::TabText); !r)
        return echec(r);
    // The table keeps its header and its columns: cells beyond its last column are dropped.
    g.setRows(g.fixedRows());
    const int colonnes = std::min(g.cols(), lu.cols());
    for (int i = disposition.header ? 1 : 0; i < lu.rows(); ++i) {
        const int row = g.addRow();
        for (int c = g.fixedCols(); c < colonnes; ++c) {
            g.setCell(row, c, lu.cell(i, c));
            if (g.colDataType(c) == Grid::DataType::Boolean)
                g.setCheckState(row, c, lu.checkState(i, c));
        }
    }
    return platform::Result::success();
}

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
    const platform::Result ecrit = GridFile::save(m_grid, m_path, table.saveFormat, true);
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
        const platform::Result ecrit = GridFile::save(g, m_path, table.saveFormat, true);
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
