// The storage of a grid: its cells, rows and columns, counts, header and settings. Its cell
// settings, selection and sort are in GridFormats.cpp, GridSelection.cpp and GridSort.cpp.

#include "grid/Grid.h"

#include "grid/GridClip.h"
#include "grid/GridData.h"
#include "platform/Check.h"

#include <algorithm>

namespace grid {

namespace {

GridRow emptyRow(int cols)
{
    GridRow r;
    r.cells.resize(cols);
    return r;
}

} // namespace

// ---------------------------------------------------------------- construction

Grid::Grid(QObject* parent) : QObject(parent), d(std::make_unique<GridData>())
{
    // An empty grid with its header row: one row, one column, both fixed.
    d->content.cols = 1;
    d->content.columns.resize(1);
    d->content.rows.push_back(emptyRow(1));
    d->content.fixedRows = 1;
    d->content.fixedCols = 1;
}

Grid::~Grid() = default;

void Grid::copyFrom(const Grid& other)
{
    if (&other == this)
        return;
    beginReset();
    const bool redrawOn = d->redraw;
    *d = *other.d;
    d->redraw = redrawOn;
    d->labelCache.clear();
    endReset();
}

void Grid::emitCells(int r1, int c1, int r2, int c2)
{
    if (d->redraw && r1 <= r2 && c1 <= c2)
        Q_EMIT cellsChanged(r1, c1, r2, c2);
}

void Grid::beginReset()
{
    if (d->redraw)
        Q_EMIT aboutToReset();
}

void Grid::endReset()
{
    if (d->redraw)
        Q_EMIT reset();
}

const GridContent& Grid::content() const { return d->content; }

void Grid::replaceContent(GridContent&& content)
{
    beginReset();
    d->content = std::move(content);
    d->labelCache.clear();
    d->row = d->rowSel = d->content.fixedRows;
    d->col = d->colSel = d->content.fixedCols;
    clampSelection(*d);
    endReset();
}

// ---------------------------------------------------------------- size

int Grid::rows() const { return d->content.rowCount(); }
int Grid::cols() const { return d->content.cols; }
int Grid::fixedRows() const { return d->content.fixedRows; }
int Grid::fixedCols() const { return d->content.fixedCols; }

void Grid::setRows(int rows)
{
    rows = std::max(0, rows);
    GridContent& c = d->content;
    const int old = c.rowCount();
    if (rows == old)
        return;
    if (rows > old) {
        if (d->redraw)
            Q_EMIT rowsAboutToBeInserted(old, rows - 1);
        // Rows are often added a block at a time (one record's rows after another's): the room
        // at least doubles, so that rows added that way are moved twice on average, not once
        // per block.
        if (size_t(rows) > c.rows.capacity())
            c.rows.reserve(std::max(size_t(rows), 2 * c.rows.capacity()));
        for (int i = old; i < rows; ++i)
            c.rows.push_back(emptyRow(c.cols));
        if (d->redraw)
            Q_EMIT rowsInserted(old, rows - 1);
        return;
    }
    if (rows < c.fixedRows) {
        beginReset();
        c.rows.resize(size_t(rows));
        c.fixedRows = rows;
        clampSelection(*d);
        endReset();
        return;
    }
    if (d->redraw)
        Q_EMIT rowsAboutToBeRemoved(rows, old - 1);
    c.rows.resize(size_t(rows));
    clampSelection(*d);
    if (d->redraw)
        Q_EMIT rowsRemoved(rows, old - 1);
}

void Grid::setCols(int cols)
{
    cols = std::clamp(cols, 0, kGridMaxCols);
    GridContent& c = d->content;
    if (cols == c.cols)
        return;
    beginReset();
    for (GridRow& r : c.rows)
        r.resize(cols);
    c.columns.resize(size_t(cols));
    c.cols = cols;
    c.fixedCols = std::min(c.fixedCols, cols);
    d->labelCache.clear();
    clampSelection(*d);
    endReset();
}

void Grid::setFixedRows(int fixedRows)
{
    fixedRows = std::max(0, fixedRows);
    if (fixedRows == d->content.fixedRows)
        return;
    if (fixedRows > rows())
        setRows(fixedRows);
    beginReset();
    d->content.fixedRows = fixedRows;
    endReset();
}

void Grid::setFixedCols(int fixedCols)
{
    fixedCols = std::clamp(fixedCols, 0, kGridMaxCols);
    if (fixedCols == d->content.fixedCols)
        return;
    if (fixedCols > cols())
        setCols(fixedCols);
    beginReset();
    d->content.fixedCols = fixedCols;
    endReset();
}

// ---------------------------------------------------------------- format string

void Grid::setFormatString(const QString& format)
{
    QList<QStringView> titles;
    qsizetype start = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] == u'|' || format[i] == u'\t') {
            titles.append(QStringView(format).mid(start, i - start));
            start = i + 1;
        }
    }
    titles.append(QStringView(format).mid(start));

    const bool redrawOn = d->redraw;
    beginReset();
    d->redraw = false;
    setCols(int(titles.size()));
    if (rows() == 0)
        setRows(1);
    d->redraw = redrawOn;
    GridContent& c = d->content;
    for (int i = 0; i < c.cols; ++i) {
        QStringView t = titles[i];
        const bool centred = t.startsWith(u'^');
        if (centred)
            t = t.mid(1);
        c.rows[0].cells[i] = t.toString();
        c.columns[size_t(i)].centred = centred;
    }
    endReset();
}

QString Grid::formatString() const
{
    QStringList titles;
    const GridContent& c = d->content;
    for (int i = 0; i < c.cols; ++i) {
        QString t = c.rows.empty() ? QString() : c.rows[0].cells[i];
        if (c.columns[size_t(i)].centred)
            t.prepend(u'^');
        titles << t;
    }
    return titles.join(u'|');
}

// ---------------------------------------------------------------- cells

QString Grid::cell(int row, int col) const
{
    const GridContent& c = d->content;
    if (row < 0 || row >= c.rowCount() || col < 0 || col >= c.cols)
        return QString();
    return c.rows[size_t(row)].cells[col];
}

void Grid::setCell(int row, int col, const QString& text)
{
    GridContent& c = d->content;
    if (!MIRELOT_CHECK(row >= 0 && row < c.rowCount() && col >= 0 && col < c.cols))
        return;
    c.rows[size_t(row)].cells[col] = text;
    emitCells(row, col, row, col);
}

GridEditList Grid::parseEditList(const QString& list)
{
    GridEditList out;
    if (list.isEmpty())
        return out;
    QStringList items = list.split(u'|');
    if (list.startsWith(u'|')) {
        out.typingAllowed = true;
        items.removeFirst();
    }
    if (!items.isEmpty() && items.last().isEmpty())
        items.removeLast();
    for (const QString& item : std::as_const(items)) {
        if (item.startsWith(u'#')) {
            const qsizetype semi = item.indexOf(u';');
            if (semi < 0)
                out.items.append({item.mid(1), item.mid(1)});
            else
                out.items.append({item.mid(1, semi - 1), item.mid(semi + 1)});
        } else {
            out.items.append({item, item});
        }
    }
    return out;
}

QString Grid::displayText(int row, int col) const
{
    const GridContent& c = d->content;
    if (row < 0 || row >= c.rowCount() || col < 0 || col >= c.cols)
        return QString();
    const GridColumn& column = c.columns[size_t(col)];
    if (row >= c.fixedRows && column.type == DataType::Boolean)
        return QString();
    const QString& text = c.rows[size_t(row)].cells[col];
    if (row < c.fixedRows || !column.editList.contains(u'#'))
        return text;
    auto it = d->labelCache.find(col);
    if (it == d->labelCache.end()) {
        QHash<QString, QString> labels;
        const GridEditList list = parseEditList(column.editList);
        for (const GridEditItem& item : list.items)
            if (!labels.contains(item.code))
                labels.insert(item.code, item.label);
        it = d->labelCache.insert(col, labels);
    }
    return it->value(text, text);
}

QString Grid::rangeText(const GridRange& range) const
{
    const GridContent& c = d->content;
    const int r1 = std::max(0, range.row1), r2 = std::min(c.rowCount() - 1, range.row2);
    const int c1 = std::max(0, range.col1), c2 = std::min(c.cols - 1, range.col2);
    QString out;
    if (r1 > r2 || c1 > c2)
        return out;
    for (int r = r1; r <= r2; ++r) {
        if (r > r1)
            out += u'\r';
        const QList<QString>& cells = c.rows[size_t(r)].cells;
        for (int col = c1; col <= c2; ++col) {
            if (col > c1)
                out += u'\t';
            out += cells[col];
        }
    }
    return out;
}

void Grid::clear()
{
    GridContent& c = d->content;
    for (GridRow& r : c.rows) {
        for (QString& s : r.cells)
            s = QString();
        r.fmt.clear();
        r.key.clear();
    }
    emitCells(0, 0, c.rowCount() - 1, c.cols - 1);
}

void Grid::clearRange(const GridRange& range)
{
    GridContent& c = d->content;
    const GridRange r = clip(c, range);
    if (r.isEmpty())
        return;
    for (int row = r.row1; row <= r.row2; ++row) {
        GridRow& gr = c.rows[size_t(row)];
        for (int col = r.col1; col <= r.col2; ++col) {
            gr.cells[col] = QString();
            if (!gr.fmt.empty())
                gr.fmt[size_t(col)] = CellFormat();
        }
    }
    emitCells(r.row1, r.col1, r.row2, r.col2);
}

// ---------------------------------------------------------------- grid-wide settings

QString Grid::defaultFontName() const { return d->defaultFontName; }
void Grid::setDefaultFontName(const QString& name)
{
    beginReset();
    d->defaultFontName = name;
    endReset();
}
double Grid::defaultFontSize() const { return d->defaultFontSize; }
GridColour Grid::backColourFixed() const { return d->backFixed; }
GridColour Grid::backColourAlternate() const { return d->backAlternate; }
void Grid::setBackColourAlternate(GridColour colour)
{
    if (colour == d->backAlternate)
        return;
    beginReset();
    d->backAlternate = colour;
    endReset();
}
Grid::Editable Grid::editable() const { return d->editable; }
void Grid::setEditable(Editable editable)
{
    beginReset();
    d->editable = editable;
    endReset();
}
bool Grid::fillRepeat() const { return d->fillRepeat; }
void Grid::setFillRepeat(bool on) { d->fillRepeat = on; }
QString Grid::tag() const { return d->tag; }
void Grid::setTag(const QString& tag) { d->tag = tag; }
QString Grid::textCellSeparator() const { return d->textCellSeparator; }
QString Grid::textRowSeparator() const { return d->textRowSeparator; }
void Grid::setTextSeparators(const QString& betweenCells, const QString& betweenRows)
{
    if (betweenCells.isEmpty() || betweenRows.isEmpty() || betweenCells == betweenRows)
        return;
    d->textCellSeparator = betweenCells;
    d->textRowSeparator = betweenRows;
}

bool Grid::redraw() const { return d->redraw; }
void Grid::setRedraw(bool on)
{
    if (on == d->redraw)
        return;
    if (!on) {
        // Views stop reading the grid until redraw is on again.
        Q_EMIT aboutToReset();
        d->redraw = false;
    } else {
        d->redraw = true;
        Q_EMIT reset();
    }
}

// ---------------------------------------------------------------- column settings

namespace {

const GridColumn kDefaultColumn;

const GridColumn& columnOf(const GridData& d, int col)
{
    return col >= 0 && col < d.content.cols ? d.content.columns[size_t(col)] : kDefaultColumn;
}

// Sets one setting of a column; true when it changed.
template <typename T> bool setColumnField(GridData& d, int col, T GridColumn::*field, const T& value)
{
    if (!MIRELOT_CHECK(col >= 0 && col < d.content.cols))
        return false;
    T& current = d.content.columns[size_t(col)].*field;
    if (current == value)
        return false;
    current = value;
    return true;
}

} // namespace

bool Grid::colHidden(int col) const { return columnOf(*d, col).hidden; }
Grid::DataType Grid::colDataType(int col) const { return columnOf(*d, col).type; }
QString Grid::colEditList(int col) const { return columnOf(*d, col).editList; }
Grid::Sort Grid::colSort(int col) const { return columnOf(*d, col).sort; }
bool Grid::colCentred(int col) const { return columnOf(*d, col).centred; }
int Grid::colWidth(int col) const { return columnOf(*d, col).width; }
QString Grid::colData(int col) const { return columnOf(*d, col).data; }

void Grid::columnChanged(int col)
{
    if (d->redraw)
        Q_EMIT columnSettingsChanged(col);
}

void Grid::setColHidden(int col, bool hidden)
{
    if (setColumnField(*d, col, &GridColumn::hidden, hidden))
        columnChanged(col);
}

void Grid::setColDataType(int col, DataType type)
{
    if (setColumnField(*d, col, &GridColumn::type, type))
        columnChanged(col);
}

void Grid::setColEditList(int col, const QString& list)
{
    d->labelCache.remove(col);
    if (setColumnField(*d, col, &GridColumn::editList, list))
        columnChanged(col);
}

void Grid::setColSort(int col, Sort sort)
{
    if (sort != Sort::UseColumnSort && setColumnField(*d, col, &GridColumn::sort, sort))
        columnChanged(col);
}

void Grid::setColWidth(int col, int pixels)
{
    if (setColumnField(*d, col, &GridColumn::width, std::max(-1, pixels)))
        columnChanged(col);
}

void Grid::setColData(int col, const QString& data)
{
    if (setColumnField(*d, col, &GridColumn::data, data))
        columnChanged(col);
}

QString Grid::editList() const { return d->editList; }
void Grid::setEditList(const QString& list) { d->editList = list; }
QString Grid::editListFor(int col) const { return d->editList.isEmpty() ? colEditList(col) : d->editList; }

// ---------------------------------------------------------------- rows

int Grid::addRow(const QString& tabText, int position)
{
    GridContent& c = d->content;
    if (position < 0 || position > c.rowCount())
        position = c.rowCount();
    GridRow row = emptyRow(c.cols);
    if (!tabText.isEmpty()) {
        int col = 0;
        qsizetype start = 0;
        for (qsizetype i = 0; i <= tabText.size() && col < c.cols; ++i) {
            if (i == tabText.size() || tabText[i] == u'\t') {
                row.cells[col++] = tabText.mid(start, i - start);
                start = i + 1;
            }
        }
    }
    const bool inFixed = position < c.fixedRows;
    if (inFixed)
        beginReset();
    else if (d->redraw)
        Q_EMIT rowsAboutToBeInserted(position, position);
    c.rows.insert(c.rows.begin() + position, std::move(row));
    if (inFixed)
        endReset();
    else if (d->redraw)
        Q_EMIT rowsInserted(position, position);
    return position;
}

void Grid::removeRow(int row)
{
    GridContent& c = d->content;
    if (row < 0 || row >= c.rowCount())
        return;
    if (row < c.fixedRows) {
        beginReset();
        c.rows.erase(c.rows.begin() + row);
        c.fixedRows -= 1;
        clampSelection(*d);
        endReset();
        return;
    }
    if (d->redraw)
        Q_EMIT rowsAboutToBeRemoved(row, row);
    c.rows.erase(c.rows.begin() + row);
    clampSelection(*d);
    if (d->redraw)
        Q_EMIT rowsRemoved(row, row);
}

QString Grid::rowKey(int row) const
{
    if (row < 0 || row >= rows())
        return QString();
    return d->content.rows[size_t(row)].key;
}

void Grid::setRow(int row, const QStringList& texts)
{
    GridContent& c = d->content;
    if (!MIRELOT_CHECK(row >= 0 && row < c.rowCount()))
        return;
    GridRow& r = c.rows[size_t(row)];
    r.cells = texts;
    if (r.cells.size() != c.cols)
        r.cells.resize(c.cols);
    r.fmt.clear();
    emitCells(row, 0, row, c.cols - 1);
}

void Grid::setRowKey(int row, const QString& key)
{
    if (!MIRELOT_CHECK(row >= 0 && row < rows()))
        return;
    d->content.rows[size_t(row)].key = key;
}

int Grid::findRow(const QString& text, int startRow, int col, bool caseSensitive, bool wholeCell) const
{
    const GridContent& c = d->content;
    if (col < 0 || col >= c.cols)
        return -1;
    if (startRow < 0)
        startRow = c.fixedRows;
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (int r = startRow; r < c.rowCount(); ++r) {
        const QString& cellText = c.rows[size_t(r)].cells[col];
        if (wholeCell ? cellText.compare(text, cs) == 0 : cellText.startsWith(text, cs))
            return r;
    }
    return -1;
}

int Grid::findRowByKey(const QString& key, int startRow) const
{
    const GridContent& c = d->content;
    if (startRow < 0)
        startRow = c.fixedRows;
    for (int r = startRow; r < c.rowCount(); ++r)
        if (c.rows[size_t(r)].key == key)
            return r;
    return -1;
}

} // namespace grid
