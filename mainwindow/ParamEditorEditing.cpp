// The settings window's editing rules: locked cells, the keys each column takes, the squares'
// number formats, Delete, paste and the load of a tab-separated file.
#include "mainwindow/ParamEditor.h"

#include "common/DisplayAdaptation.h"
#include "common/Globals.h"
#include "common/KeyFilters.h"
#include "common/ParamConfig.h"
#include "common/Paths.h"
#include "grid/GridFile.h"
#include "mainwindow/ParamEditorColumns.h"

#include <algorithm>
#include <cmath>
#include <optional>

using common::ParamMode;
using grid::Grid;
using grid::GridFile;
using grid::GridRange;

namespace mainwindow {

using namespace paramcolumns;

namespace {

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

} // namespace mainwindow
