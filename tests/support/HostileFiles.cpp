#include "tests/support/HostileFiles.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <unistd.h>

namespace hostile_files {

namespace {

constexpr long long kGridMaxCells = 10'000'000; // what the grid reader takes at most

QByteArray headerOf(long long rows, int cols)
{
    return QStringLiteral("MIRELOT-GRILLE\t1\ntaille\t%1\t%2\t0\t0\ncellules\n").arg(rows).arg(cols).toUtf8();
}

bool write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace

bool declaredRows(const QString& path, long long rows, int cols) { return write(path, headerOf(rows, cols)); }

QStringList recordHead()
{
    return {QString(),
            QStringLiteral("\tSHOC"),
            QStringLiteral("\tDésignation et localisation"),
            QStringLiteral("\tNom du réseau"),
            QStringLiteral("\tCommentaire général"),
            QStringLiteral("\tNom et prénom"),
            QStringLiteral("\tCourriel et téléphone"),
            QStringLiteral("\tNbr points"),
            QStringLiteral("\tSaison"),
            QStringLiteral("\tCoordonnées"),
            QString(),
            QStringLiteral("\tDate, N° Passage et commentaire relevé")};
}

QStringList siblingHead()
{
    QStringList rows = recordHead();
    rows[1] = QStringLiteral("\tRavelin");
    return rows;
}

bool padded(const QString& path, const QStringList& firstRows, long long bytes)
{
    QByteArray rowsText;
    for (const QString& row : firstRows)
        rowsText += row.toUtf8() + '\n';
    // Empty rows of one byte each after the first rows, as many as make the size with the header
    // and the end line (whose lengths change with the number of rows).
    const auto columnsFor = [](long long rows) {
        return int(std::clamp(kGridMaxCells / std::max(rows, 1LL), 2LL, 72LL));
    };
    const auto sizeOf = [&](long long rows) {
        return headerOf(rows, columnsFor(rows)).size() + rowsText.size() + (rows - firstRows.size()) +
               QStringLiteral("fin\t%1\n").arg(rows).size();
    };
    long long rows = firstRows.size();
    for (int i = 0; i < 4 && sizeOf(rows) != bytes; ++i)
        rows = std::max<long long>(firstRows.size(), rows + bytes - sizeOf(rows));
    const int cols = columnsFor(rows);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    if (f.write(headerOf(rows, cols)) < 0 || f.write(rowsText) < 0)
        return false;
    const QByteArray block(1 << 20, '\n');
    for (long long left = rows - firstRows.size(); left > 0; left -= block.size())
        if (f.write(block.constData(), std::min<long long>(left, block.size())) < 0)
            return false;
    return f.write(QStringLiteral("fin\t%1\n").arg(rows).toUtf8()) > 0;
}

bool sparse(const QString& path, long long bytes)
{
    QByteArray head = headerOf(1000, 2);
    for (const QString& row : siblingHead())
        head += row.toUtf8() + '\n';
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(head) == head.size() &&
           ::ftruncate(f.handle(), off_t(bytes)) == 0;
}

bool withoutLineFeed(const QString& path, long long bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray block(1 << 20, 'x');
    for (long long left = bytes; left > 0; left -= block.size())
        if (f.write(block.constData(), std::min<long long>(left, block.size())) < 0)
            return false;
    return true;
}

bool dense(const QString& path, const QString& mark, int rows, long long bytes)
{
    constexpr int cols = 72;
    QByteArray full = "\t" + mark.toUtf8();
    for (int c = 2; c < cols; ++c)
        full += "\tx";
    full += '\n';
    const QByteArray header = headerOf(rows, cols);
    const QByteArray end = QStringLiteral("fin\t%1\n").arg(rows).toUtf8();
    // Filled rows, then empty ones (one byte each), within the size.
    const long long room = bytes - header.size() - end.size() - rows;
    const long long filled = std::clamp<long long>(room / (full.size() - 1), 0, rows);
    QByteArray text = header;
    text.reserve(qsizetype(bytes));
    for (long long r = 0; r < rows; ++r)
        text += r < filled ? full : QByteArray("\n");
    return write(path, text + end);
}

bool distinct(const QString& path, const QString& mark, int rows, long long bytes)
{
    constexpr int cols = 72;
    const QByteArray header = headerOf(rows, cols);
    QByteArray settings;
    for (int r = 0; r < rows; ++r)
        settings += QStringLiteral("cellule\t%1\t0\t1\t0\t0\t0\t\n").arg(r).toUtf8();
    const QByteArray end = settings + QStringLiteral("fin\t%1\n").arg(rows).toUtf8();
    // Three characters of the 90 after the blank that need no escape, as a number in base 90.
    const auto textOf = [](long long n) {
        QByteArray t(3, ' ');
        for (int i = 2; i >= 0; --i, n /= 90) {
            const char ch = char('!' + n % 90);
            t[i] = ch == '\\' ? '{' : ch;
        }
        return t;
    };
    QByteArray text = header;
    text.reserve(qsizetype(bytes));
    long long n = 0;
    for (int r = 0; r < rows; ++r) {
        // Room for this row, the empty rows after it and the end.
        const long long left = bytes - text.size() - end.size() - (rows - r);
        QByteArray row = "\t" + mark.toUtf8();
        for (int c = 2; c < cols && row.size() + 4 < left; ++c)
            row += '\t' + textOf(n++);
        text += (row.size() < left ? row : QByteArray()) + '\n';
    }
    return write(path, text + end);
}

bool formattedRows(const QString& path, int rows, long long bytes)
{
    constexpr int cols = 72;
    QByteArray full = "x\tSHOC";
    for (int c = 2; c < cols; ++c)
        full += "\tx";
    full += '\n';
    const QByteArray header = headerOf(rows, cols);
    const QByteArray end = QStringLiteral("fin\t%1\n").arg(rows).toUtf8();
    const auto settingOf = [](int r) {
        return QStringLiteral("cellule\t%1\t1\t1\t16777215\t0\t0\t\n").arg(r).toUtf8();
    };
    const auto keyOf = [](int r, long long length) {
        return QStringLiteral("cle\t%1\t").arg(r).toUtf8() + QByteArray(qsizetype(length), 'k') + '\n';
    };
    long long fixed = header.size() + end.size() + (long long)rows * full.size();
    for (int r = 0; r < rows; ++r)
        fixed += settingOf(r).size() + keyOf(r, 0).size();
    const long long keyLength = std::max<long long>(1, (bytes - fixed) / std::max(rows, 1));
    QByteArray text = header;
    text.reserve(qsizetype(bytes));
    for (int r = 0; r < rows; ++r)
        text += full;
    for (int r = 0; r < rows; ++r)
        text += settingOf(r) + keyOf(r, keyLength);
    return write(path, text + end);
}

bool cellFormats(const QString& path, int count)
{
    constexpr int cols = 72;
    const int rows = (count + cols - 1) / cols;
    QByteArray text = headerOf(rows, cols);
    text += QByteArray(rows, '\n');
    for (int k = 0; k < count; ++k)
        text += QStringLiteral("cellule\t%1\t%2\t0\t0\t0\t9\tPolice %3\n")
                    .arg(k / cols)
                    .arg(k % cols)
                    .arg(k)
                    .toUtf8();
    text += QStringLiteral("fin\t%1\n").arg(rows).toUtf8();
    return write(path, text);
}

} // namespace hostile_files
