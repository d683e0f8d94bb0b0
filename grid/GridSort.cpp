// The sort of a grid's rows and the one generic comparison of the program.

#include "grid/Grid.h"

#include "grid/GridClip.h"
#include "grid/GridData.h"

#include <QDate>
#include <algorithm>
#include <numeric>
#include <vector>

namespace grid {

namespace {

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
