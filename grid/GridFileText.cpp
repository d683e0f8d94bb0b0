#include "grid/GridFileText.h"

#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "grid/GridFileReading.h"

#include <QStringList>
#include <algorithm>

namespace grid::gridfile {

using platform::ResultOf;

namespace {

bool needsQuotes(const QString& cell, const QString& cellSep, const QString& rowSep)
{
    if (cell.isEmpty())
        return false;
    return cell.startsWith(u'"') || cell.contains(u'\r') || cell.contains(u'\n') || cell.contains(cellSep) ||
           cell.contains(rowSep);
}

// Splits separated text into rows of cells. A cell that begins with a double quote and ends
// with one, the closing quote followed by a separator, a row end or the end of the text, is
// quoted: it may hold separators and line ends, and a doubled quote inside stands for one. Any
// other cell is its text as it stands, quotes included ("Pie" bavarde, or a quote never closed).
// With a line-end row separator, CR LF, CR and LF all end a row.
QList<QStringList> parseText(QStringView text, const QString& cellSep, const QString& rowSep)
{
    const bool anyLineEnd = rowSep == u"\r\n" || rowSep == u"\r" || rowSep == u"\n";
    const qsizetype n = text.size();
    const auto cellSepAt = [&](qsizetype i) { return text.sliced(i).startsWith(cellSep); };
    // The length of the row end standing at i, 0 when there is none.
    const auto rowEndAt = [&](qsizetype i) -> qsizetype {
        if (!anyLineEnd)
            return text.sliced(i).startsWith(rowSep) ? rowSep.size() : 0;
        if (text[i] == u'\r')
            return i + 1 < n && text[i + 1] == u'\n' ? 2 : 1;
        return text[i] == u'\n' ? 1 : 0;
    };
    const auto cellEndsAt = [&](qsizetype i) { return i >= n || cellSepAt(i) || rowEndAt(i) > 0; };
    // Reads the quoted cell whose opening quote is at i; false when it is not one.
    const auto quotedCell = [&](qsizetype i, QString* cell, qsizetype* after) {
        QString out;
        for (++i; i < n;) {
            if (text[i] != u'"') {
                out += text[i++];
                continue;
            }
            if (i + 1 < n && text[i + 1] == u'"') {
                out += u'"';
                i += 2;
                continue;
            }
            if (!cellEndsAt(i + 1))
                return false; // a lone quote inside: the cell is not quoted
            *cell = std::move(out);
            *after = i + 1;
            return true;
        }
        return false; // never closed
    };

    QList<QStringList> rows;
    QStringList row;
    qsizetype i = 0;
    while (i < n) {
        QString cell;
        qsizetype after = 0;
        if (text[i] == u'"' && quotedCell(i, &cell, &after)) {
            i = after;
        } else {
            const qsizetype start = i;
            while (!cellEndsAt(i))
                ++i;
            cell = text.sliced(start, i - start).toString();
        }
        row << cell;
        if (i >= n)
            break;
        if (cellSepAt(i)) {
            i += cellSep.size();
            if (i >= n)
                row << QString(); // the last cell of the text is empty
            continue;
        }
        i += rowEndAt(i);
        rows.append(row);
        row.clear();
    }
    if (!row.isEmpty())
        rows.append(row);
    return rows;
}

// The check state a text names in a check-box column: TRUE, VRAI, OUI, X, 1 or -1 tick the box;
// FALSE, FAUX, NON, 0, 2 or nothing leave it unticked; any other text is no state.
int checkStateOfText(const QString& text)
{
    const QString t = text.trimmed().toUpper();
    static const QStringList ticked = {QStringLiteral("TRUE"), QStringLiteral("VRAI"), QStringLiteral("OUI"),
                                       QStringLiteral("X"),    QStringLiteral("1"),    QStringLiteral("-1")};
    static const QStringList unticked = {
        QString(),           QStringLiteral("FALSE"), QStringLiteral("FAUX"), QStringLiteral("NON"),
        QStringLiteral("0"), QStringLiteral("2")};
    if (ticked.contains(t))
        return Grid::Checked;
    if (unticked.contains(t))
        return Grid::Unchecked;
    return Grid::NoCheck;
}

} // namespace

QByteArray toText(const GridContent& c, bool withFixed, const QString& cellSep, const QString& rowSep)
{
    const int r0 = withFixed ? 0 : c.fixedRows;
    const int c0 = withFixed ? 0 : c.fixedCols;
    QString out;
    for (int r = r0; r < c.rowCount(); ++r) {
        const QList<QString>& cells = c.rows[size_t(r)].cells;
        for (int col = c0; col < c.cols; ++col) {
            if (col > c0)
                out += cellSep;
            const QString& cell = cells[col];
            if (cell.isEmpty() && r >= c.fixedRows &&
                c.columns[size_t(col)].type == Grid::DataType::Boolean) {
                // A check box is written as the word a spreadsheet reads as a truth value.
                const GridRow& row = c.rows[size_t(r)];
                const bool checked = !row.fmt.empty() && row.fmt[size_t(col)].check == Grid::Checked;
                out += checked ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
                continue;
            }
            if (needsQuotes(cell, cellSep, rowSep)) {
                out += u'"';
                out += QString(cell).replace(QStringLiteral("\""), QStringLiteral("\"\""));
                out += u'"';
            } else {
                out += cell;
            }
        }
        out += rowSep;
    }
    return out.toUtf8();
}

ResultOf<GridContent> textContent(const GridContent& current, const QByteArray& bytes, const QString& path,
                                  const QString& cellSep, const QString& rowSep)
{
    QString text;
    if (!decodeUtf8(bytes, &text) || text.contains(QChar(0)))
        return ResultOf<GridContent>::failure(fail(path, QStringLiteral("ce n'est pas un texte UTF-8")));
    const QList<QStringList> lines = parseText(text, cellSep, rowSep);

    GridContent c;
    c.fixedRows = current.fixedRows;
    c.fixedCols = current.fixedCols;
    qint64 widest = 0;
    for (const QStringList& l : std::as_const(lines))
        widest = std::max<qint64>(widest, l.size());
    const qint64 cols = lines.isEmpty() ? current.cols : std::max<qint64>(current.fixedCols + widest, 1);
    const qint64 rows = c.fixedRows + lines.size();
    if (cols > kGridMaxCols || rows * cols > kGridMaxCells)
        return ResultOf<GridContent>::failure(fail(path, QStringLiteral("grille trop grande")));
    c.cols = int(cols);
    c.columns = current.columns;
    c.columns.resize(size_t(c.cols));
    c.fixedCols = std::min(c.fixedCols, c.cols);
    c.rows.reserve(size_t(rows));
    for (int r = 0; r < c.fixedRows; ++r) {
        GridRow row;
        row.cells = r < current.rowCount() ? current.rows[size_t(r)].cells : QList<QString>();
        row.cells.resize(c.cols);
        c.rows.push_back(std::move(row));
    }
    for (const QStringList& l : std::as_const(lines)) {
        GridRow row;
        row.cells.resize(c.cols);
        for (int k = 0; k < l.size(); ++k)
            row.cells[c.fixedCols + k] = l[k];
        // In a check-box column, a truth value becomes the box's state.
        for (int col = c.fixedCols; col < c.cols; ++col) {
            if (c.columns[size_t(col)].type != Grid::DataType::Boolean)
                continue;
            const int state = checkStateOfText(row.cells[col]);
            if (state == Grid::NoCheck)
                continue;
            row.fmt.resize(size_t(c.cols));
            row.fmt[size_t(col)].check = quint8(state);
            row.cells[col].clear();
        }
        c.rows.push_back(std::move(row));
    }
    return ResultOf<GridContent>::success(std::move(c));
}

} // namespace grid::gridfile

namespace grid {

platform::Result GridFile::fromText(Grid& grid, const QByteArray& bytes, int code, const QString& name)
{
    const QString cellSep = code == TabText ? QStringLiteral("\t") : grid.textCellSeparator();
    const QString rowSep = code == TabText ? QStringLiteral("\r\n") : grid.textRowSeparator();
    platform::ResultOf<GridContent> c = gridfile::textContent(grid.content(), bytes, name, cellSep, rowSep);
    if (!c)
        return c.result;
    grid.replaceContent(std::move(c.value));
    return platform::Result::success();
}

} // namespace grid
