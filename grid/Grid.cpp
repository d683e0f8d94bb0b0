#include "grid/Grid.h"

#include "grid/GridData.h"
#include "platform/Check.h"

#include <QDate>
#include <algorithm>
#include <numeric>

namespace grid {

namespace {

GridRow emptyRow(int cols)
{
    GridRow r;
    r.cells.resize(cols);
    return r;
}

// Splits a pasted or added text: rows end at CR LF, CR or LF; cells end at tabs.
QList<QStringView> splitRows(QStringView text)
{
    QList<QStringView> out;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = text[i];
        if (ch == u'\r' || ch == u'\n') {
            out.append(text.mid(start, i - start));
            if (ch == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    out.append(text.mid(start));
    return out;
}

// ---- Generic comparison keys

enum Rank : int { Blank = 0, Number = 1, Date = 2, Text = 3 };

struct SortKey
{
    Rank rank = Blank;
    double number = 0;
    qint64 date = 0;
    QString text;
};

// "12", "-3,5", "+1.5e3", " 7 ": a sign, digits with at most one "." or ",", an exponent.
bool readNumber(QStringView s, double* out)
{
    const qsizetype n = s.size();
    qsizetype i = 0;
    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    int digits = 0;
    bool separator = false;
    for (; i < n; ++i) {
        const QChar ch = s[i];
        if (ch.isDigit() && ch.unicode() < 128)
            ++digits;
        else if ((ch == u'.' || ch == u',') && !separator)
            separator = true;
        else
            break;
    }
    if (digits == 0)
        return false;
    if (i < n && (s[i] == u'e' || s[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < n && (s[j] == u'+' || s[j] == u'-'))
            ++j;
        const qsizetype first = j;
        while (j < n && s[j].unicode() >= '0' && s[j].unicode() <= '9')
            ++j;
        if (j == first)
            return false;
        i = j;
    }
    if (i != n)
        return false;
    QString t = s.toString();
    t.replace(u',', u'.');
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok)
        return false;
    *out = v;
    return true;
}

int twoDigits(QStringView s, qsizetype at)
{
    const char16_t a = s[at].unicode(), b = s[at + 1].unicode();
    if (a < '0' || a > '9' || b < '0' || b > '9')
        return -1;
    return (a - '0') * 10 + (b - '0');
}

// "JJ/MM/AAAA", optionally followed by one blank and "HH:MM" or "HH:MM:SS".
bool readDate(QStringView s, qint64* out)
{
    if (s.size() != 10 && s.size() != 16 && s.size() != 19)
        return false;
    if (s[2] != u'/' || s[5] != u'/')
        return false;
    const int day = twoDigits(s, 0), month = twoDigits(s, 3);
    const int century = twoDigits(s, 6), year2 = twoDigits(s, 8);
    if (day < 0 || month < 0 || century < 0 || year2 < 0)
        return false;
    const int year = century * 100 + year2;
    if (!QDate(year, month, day).isValid())
        return false;
    int hour = 0, minute = 0, second = 0;
    if (s.size() >= 16) {
        if (s[10] != u' ' || s[13] != u':')
            return false;
        hour = twoDigits(s, 11);
        minute = twoDigits(s, 14);
        if (hour < 0 || hour > 23 || minute < 0 || minute > 59)
            return false;
        if (s.size() == 19) {
            if (s[16] != u':')
                return false;
            second = twoDigits(s, 17);
            if (second < 0 || second > 59)
                return false;
        }
    }
    *out = ((((qint64(year) * 100 + month) * 100 + day) * 100 + hour) * 100 + minute) * 100 + second;
    return true;
}

SortKey makeKey(const QString& raw, Grid::DataType type)
{
    SortKey k;
    const QStringView s = QStringView(raw).trimmed();
    if (s.isEmpty())
        return k;
    if (type == Grid::DataType::Default && readNumber(s, &k.number)) {
        k.rank = Number;
        return k;
    }
    if ((type == Grid::DataType::Default || type == Grid::DataType::Date) && readDate(s, &k.date)) {
        k.rank = Date;
        return k;
    }
    k.rank = Text;
    k.text = s.toString();
    return k;
}

int compareKeys(const SortKey& a, const SortKey& b)
{
    if (a.rank != b.rank)
        return a.rank < b.rank ? -1 : 1;
    switch (a.rank) {
    case Blank:
        return 0;
    case Number:
        return a.number < b.number ? -1 : (b.number < a.number ? 1 : 0);
    case Date:
        return a.date < b.date ? -1 : (b.date < a.date ? 1 : 0);
    case Text:
        break;
    }
    const int c = QString::compare(a.text, b.text, Qt::CaseInsensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
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

namespace {
void clampSelection(GridData& d)
{
    const int maxRow = std::max(0, d.content.rowCount() - 1);
    const int maxCol = std::max(0, d.content.cols - 1);
    d.row = std::clamp(d.row, 0, maxRow);
    d.rowSel = std::clamp(d.rowSel, 0, maxRow);
    d.col = std::clamp(d.col, 0, maxCol);
    d.colSel = std::clamp(d.colSel, 0, maxCol);
}
} // namespace

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

namespace {
// The range clipped to the grid; empty when nothing of it is inside.
GridRange clip(const GridContent& c, const GridRange& r)
{
    GridRange o{std::max(0, std::min(r.row1, r.row2)), std::max(0, std::min(r.col1, r.col2)),
                std::min(c.rowCount() - 1, std::max(r.row1, r.row2)),
                std::min(c.cols - 1, std::max(r.col1, r.col2))};
    return o;
}

CellFormat& fmtOf(GridContent& c, int row, int col)
{
    GridRow& r = c.rows[size_t(row)];
    if (r.fmt.empty())
        r.fmt.resize(size_t(c.cols));
    return r.fmt[size_t(col)];
}

// Applies a change to the settings of every cell of a range (clipped to the grid); returns the
// clipped range.
template <class Change> GridRange changeFormats(GridContent& c, const GridRange& range, Change change)
{
    const GridRange r = clip(c, range);
    for (int row = r.row1; row <= r.row2; ++row)
        for (int col = r.col1; col <= r.col2; ++col)
            change(fmtOf(c, row, col));
    return r;
}

const CellFormat* fmtIf(const GridContent& c, int row, int col)
{
    if (row < 0 || row >= c.rowCount() || col < 0 || col >= c.cols)
        return nullptr;
    const GridRow& r = c.rows[size_t(row)];
    return r.fmt.empty() ? nullptr : &r.fmt[size_t(col)];
}
} // namespace

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

// ---------------------------------------------------------------- check states and cell settings

int Grid::checkState(int row, int col) const
{
    const GridContent& c = d->content;
    if (row < 0 || row >= c.rowCount() || col < 0 || col >= c.cols)
        return NoCheck;
    const CellFormat* f = fmtIf(c, row, col);
    const int state = f ? int(f->check) : int(NoCheck);
    if (state == NoCheck && row >= c.fixedRows && c.columns[size_t(col)].type == DataType::Boolean)
        return Unchecked;
    return state;
}

void Grid::setCheckState(int row, int col, int state)
{
    if (!MIRELOT_CHECK(row >= 0 && row < rows() && col >= 0 && col < cols()))
        return;
    setCheckState(GridRange{row, col, row, col}, state);
}

void Grid::setCheckState(const GridRange& range, int state)
{
    if (state != NoCheck && state != Checked && state != Unchecked)
        return;
    const GridRange r = changeFormats(d->content, range, [&](CellFormat& f) { f.check = quint8(state); });
    if (!r.isEmpty())
        emitCells(r.row1, r.col1, r.row2, r.col2);
}

GridColour Grid::backColour(int row, int col) const
{
    const CellFormat* f = fmtIf(d->content, row, col);
    return f ? f->back : 0;
}

void Grid::setBackColour(const GridRange& range, GridColour colour)
{
    const GridRange r = changeFormats(d->content, range, [&](CellFormat& f) { f.back = colour; });
    if (!r.isEmpty())
        emitCells(r.row1, r.col1, r.row2, r.col2);
}

QString Grid::fontName(int row, int col) const
{
    const CellFormat* f = fmtIf(d->content, row, col);
    return f && f->font != 0 ? d->content.fontName(f->font) : d->defaultFontName;
}

void Grid::setFontName(const GridRange& range, const QString& name)
{
    GridContent& c = d->content;
    if (clip(c, range).isEmpty())
        return;
    const quint16 font = c.fontNumber(name);
    const GridRange r = changeFormats(c, range, [&](CellFormat& f) { f.font = font; });
    emitCells(r.row1, r.col1, r.row2, r.col2);
}

double Grid::fontSize(int row, int col) const
{
    const CellFormat* f = fmtIf(d->content, row, col);
    return f && f->fontSize > 0 ? f->fontSize : d->defaultFontSize;
}

void Grid::setFontSize(const GridRange& range, double points)
{
    if (!(points > 0) || points > 1000)
        return;
    const GridRange r = changeFormats(d->content, range, [&](CellFormat& f) { f.fontSize = float(points); });
    if (!r.isEmpty())
        emitCells(r.row1, r.col1, r.row2, r.col2);
}

bool Grid::isReadOnly(int row, int col) const
{
    const CellFormat* f = fmtIf(d->content, row, col);
    return f && f->readOnly;
}

void Grid::setReadOnly(const GridRange& range, bool readOnly)
{
    const GridColour back = readOnly ? d->backFixed : 0;
    const GridRange r = changeFormats(d->content, range, [&](CellFormat& f) {
        f.readOnly = readOnly;
        f.back = back;
    });
    if (!r.isEmpty())
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
void Grid::setDefaultFontSize(double points)
{
    if (!(points > 0) || points > 1000)
        return;
    beginReset();
    d->defaultFontSize = points;
    endReset();
}
GridColour Grid::backColourFixed() const { return d->backFixed; }
void Grid::setBackColourFixed(GridColour colour)
{
    beginReset();
    d->backFixed = colour;
    endReset();
}
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

void Grid::setColCentred(int col, bool centred)
{
    if (setColumnField(*d, col, &GridColumn::centred, centred))
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

// ---------------------------------------------------------------- selection

int Grid::row() const { return d->row; }
int Grid::col() const { return d->col; }
int Grid::rowSel() const { return d->rowSel; }
int Grid::colSel() const { return d->colSel; }

void Grid::select(int row, int col) { select(row, col, row, col); }

void Grid::select(int row, int col, int rowSel, int colSel)
{
    GridData& g = *d;
    const int oldRow = g.row, oldCol = g.col, oldRowSel = g.rowSel, oldColSel = g.colSel;
    g.row = row;
    g.col = col;
    g.rowSel = rowSel;
    g.colSel = colSel;
    clampSelection(g);
    bool flagsChanged = false;
    if (g.selectionMode == SelectionMode::ListBox) {
        const int lo = std::min(g.row, g.rowSel), hi = std::max(g.row, g.rowSel);
        for (int r = 0; r < g.content.rowCount(); ++r) {
            const bool sel = r >= lo && r <= hi && g.content.rowCount() > 0;
            if (g.content.rows[size_t(r)].selected != sel) {
                g.content.rows[size_t(r)].selected = sel;
                flagsChanged = true;
            }
        }
    }
    if (flagsChanged || g.row != oldRow || g.col != oldCol || g.rowSel != oldRowSel || g.colSel != oldColSel)
        if (g.redraw)
            Q_EMIT selectionChanged();
}

GridRange Grid::selection() const
{
    if (rows() == 0 || cols() == 0)
        return GridRange{};
    return clip(d->content, GridRange{d->row, d->col, d->rowSel, d->colSel});
}

QString Grid::selectionText() const { return rangeText(selection()); }

void Grid::setSelectionText(const QString& text)
{
    const GridRange sel = selection();
    if (sel.isEmpty())
        return;
    GridContent& c = d->content;
    const QList<QStringView> lines = splitRows(text);
    int lastRow = sel.row1 - 1, lastCol = sel.col1 - 1;
    for (int i = 0; i < lines.size() && sel.row1 + i <= sel.row2; ++i) {
        const int r = sel.row1 + i;
        QList<QString>& cells = c.rows[size_t(r)].cells;
        const QStringView line = lines[i];
        int col = sel.col1;
        qsizetype start = 0;
        for (qsizetype k = 0; k <= line.size() && col <= sel.col2; ++k) {
            if (k == line.size() || line[k] == u'\t') {
                cells[col] = line.mid(start, k - start).toString();
                lastCol = std::max(lastCol, col);
                ++col;
                start = k + 1;
            }
        }
        lastRow = r;
    }
    emitCells(sel.row1, sel.col1, lastRow, lastCol);
}

QString Grid::text() const { return cell(d->row, d->col); }

void Grid::setText(const QString& text)
{
    if (!d->fillRepeat) {
        setCell(d->row, d->col, text);
        return;
    }
    const GridRange sel = selection();
    if (sel.isEmpty())
        return;
    for (int r = sel.row1; r <= sel.row2; ++r)
        for (int c = sel.col1; c <= sel.col2; ++c)
            d->content.rows[size_t(r)].cells[c] = text;
    emitCells(sel.row1, sel.col1, sel.row2, sel.col2);
}

Grid::SelectionMode Grid::selectionMode() const { return d->selectionMode; }

void Grid::setSelectionMode(SelectionMode mode)
{
    if (mode == d->selectionMode)
        return;
    beginReset();
    d->selectionMode = mode;
    for (GridRow& r : d->content.rows)
        r.selected = false;
    endReset();
}

bool Grid::isRowSelected(int row) const
{
    if (row < 0 || row >= rows())
        return false;
    if (d->selectionMode == SelectionMode::ListBox)
        return d->content.rows[size_t(row)].selected;
    const GridRange sel = selection();
    return !sel.isEmpty() && row >= sel.row1 && row <= sel.row2;
}

void Grid::setRowSelected(int row, bool selected)
{
    if (row < 0 || row >= rows() || d->selectionMode != SelectionMode::ListBox)
        return;
    GridRow& r = d->content.rows[size_t(row)];
    if (r.selected == selected)
        return;
    r.selected = selected;
    if (d->redraw)
        Q_EMIT selectionChanged();
}

void Grid::selectFromView(int row, int col, int rowSel, int colSel, const QList<int>& listBoxRows)
{
    d->row = row;
    d->col = col;
    d->rowSel = rowSel;
    d->colSel = colSel;
    clampSelection(*d);
    if (d->selectionMode == SelectionMode::ListBox) {
        for (GridRow& r : d->content.rows)
            r.selected = false;
        for (int r : listBoxRows)
            if (r >= 0 && r < rows())
                d->content.rows[size_t(r)].selected = true;
    }
}

int Grid::selectedRowCount() const
{
    if (d->selectionMode != SelectionMode::ListBox)
        return selection().rowCount();
    return int(std::count_if(d->content.rows.begin(), d->content.rows.end(),
                             [](const GridRow& r) { return r.selected; }));
}

int Grid::selectedRow(int index) const
{
    if (index < 0)
        return -1;
    if (d->selectionMode != SelectionMode::ListBox) {
        const GridRange sel = selection();
        return index < sel.rowCount() ? sel.row1 + index : -1;
    }
    for (int r = 0; r < rows(); ++r)
        if (d->content.rows[size_t(r)].selected && index-- == 0)
            return r;
    return -1;
}

QList<int> Grid::selectedRows() const
{
    QList<int> out;
    for (int r = 0; r < rows(); ++r)
        if (isRowSelected(r))
            out << r;
    return out;
}

// ---------------------------------------------------------------- sort

int Grid::compareGeneric(const QString& a, const QString& b, DataType type)
{
    return compareKeys(makeKey(a, type), makeKey(b, type));
}

void Grid::sort(Sort order) { sortRange(selection(), order); }

void Grid::sortRange(const GridRange& range, Sort order)
{
    GridContent& c = d->content;
    const GridRange r = clip(c, range);
    if (r.isEmpty() || r.rowCount() < 2 || order == Sort::None)
        return;

    struct KeyColumn
    {
        int col;
        bool descending;
        DataType type;
    };
    std::vector<KeyColumn> keyCols;
    for (int col = r.col1; col <= r.col2; ++col) {
        const GridColumn& column = c.columns[size_t(col)];
        Sort s = order;
        if (order == Sort::UseColumnSort)
            s = column.sort;
        if (s != Sort::GenericAscending && s != Sort::GenericDescending)
            continue;
        keyCols.push_back({col, s == Sort::GenericDescending, column.type});
    }
    if (keyCols.empty())
        return;

    const int n = r.rowCount();
    const size_t k = keyCols.size();
    std::vector<SortKey> keys(size_t(n) * k);
    for (int i = 0; i < n; ++i)
        for (size_t j = 0; j < k; ++j)
            keys[size_t(i) * k + j] =
                makeKey(c.rows[size_t(r.row1 + i)].cells[keyCols[j].col], keyCols[j].type);

    std::vector<int> order_(static_cast<size_t>(n));
    std::iota(order_.begin(), order_.end(), 0);
    std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
        for (size_t j = 0; j < k; ++j) {
            const int cmp = compareKeys(keys[size_t(a) * k + j], keys[size_t(b) * k + j]);
            if (cmp != 0)
                return keyCols[j].descending ? cmp > 0 : cmp < 0;
        }
        return false;
    });

    std::vector<GridRow> sorted;
    sorted.reserve(size_t(n));
    for (int i : order_)
        sorted.push_back(std::move(c.rows[size_t(r.row1 + i)]));
    for (int i = 0; i < n; ++i)
        c.rows[size_t(r.row1 + i)] = std::move(sorted[size_t(i)]);

    emitCells(r.row1, 0, r.row2, c.cols - 1);
    if (d->selectionMode == SelectionMode::ListBox && d->redraw)
        Q_EMIT selectionChanged();
}

} // namespace grid
